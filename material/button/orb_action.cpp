#include "orb_action_p.h"

#include <tessera/kit/registry.h>

#include <QPainter>
#include <QShowEvent>
#include <QStyleOptionButton>
#include <QVariantAnimation>

namespace tessera {

namespace {

// One full turn of the icon, in milliseconds.
constexpr int TurnDuration = 1000;

Button::Options baseOptions(const OrbAction::Options &options)
{
    option::forbid(options.kwargs, QStringLiteral("startIcon"),
                   QStringLiteral("an OrbAction sets its start icon from its icon option"));
    option::forbid(options.kwargs, QStringLiteral("componentType"),
                   QStringLiteral("an OrbAction is always of component type \"OrbAction\""));
    for (const char *own : {"icon", "animate", "sx"})
        option::forbid(options.kwargs, QString::fromLatin1(own),
                       QStringLiteral("an option of OrbAction itself, not of Button; give it in its own field"));
    Button::Options out;
    out.args = options.args;
    out.startIcon = options.icon;
    out.componentType = QStringLiteral("OrbAction");
    out.kwargs = options.kwargs;
    return out;
}

// \a source turned by \a angle degrees around its centre, on a canvas of the same size.
QPixmap turned(const QPixmap &source, qreal angle)
{
    QPixmap out(source.size());
    out.setDevicePixelRatio(source.devicePixelRatio());
    out.fill(Qt::transparent);
    QPainter painter(&out);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::Antialiasing);
    const QSizeF size = source.deviceIndependentSize();
    painter.translate(size.width() / 2, size.height() / 2);
    painter.rotate(angle);
    painter.translate(-size.width() / 2, -size.height() / 2);
    painter.drawPixmap(QPointF(0, 0), source);
    return out;
}

} // namespace

OrbAction::OrbAction(QWidget *parent) : OrbAction(Options{}, parent) {}

OrbAction::OrbAction(const Options &options, QWidget *parent)
    : Button(baseOptions(options), parent), d(std::make_unique<OrbActionPrivate>(this))
{
    setSx(options.sx);
    d->_kwargs = options.kwargs;
    d->_animate = options.animate;

    if (State *animate = d->_animate.state()) {
        d->animateConnection = connect(animate, &State::valueChanged, this, [this] { d->updateAnimation(); });
        d->subscriptions << d->animateConnection;
    }
    // Button shows a followed icon State's changes; the property notifies them.
    d->notifiedIcon = iconSource();
    if (State *icon = options.icon.state()) {
        d->iconConnection = connect(icon, &State::valueChanged, this, [this] { d->notifyIconSource(); });
        d->subscriptions << d->iconConnection;
    }
}

QString OrbAction::iconSource() const
{
    return startIcon().current().toString();
}

void OrbAction::setIconSource(const QString &icon)
{
    if (startIcon().isPlain() && *startIcon().plain() == icon)
        return;
    // A plain text replaces the State the icon followed.
    disconnect(d->iconConnection);
    d->iconConnection = {};
    setStartIcon(icon);
    d->notifyIconSource();
}

void OrbActionPrivate::notifyIconSource()
{
    const QString icon = q->iconSource();
    if (icon == notifiedIcon)
        return;
    notifiedIcon = icon;
    Q_EMIT q->iconSourceChanged(icon);
}

bool OrbAction::animate() const
{
    return d->_animate.current().toBool();
}

void OrbAction::setAnimate(bool animate)
{
    // A plain flag replaces the State the option followed.
    disconnect(d->animateConnection);
    d->animateConnection = {};
    const bool before = this->animate();
    d->_animate = animate;
    d->updateAnimation();
    if (animate != before)
        Q_EMIT animateChanged(animate);
}

OrbAction::~OrbAction()
{
    // Stops the turning and the following of animate before the rotation, a
    // child, is destroyed with the others (one of which may set animate).
    d->subscriptions.release();
}

qreal OrbAction::iconAngle() const
{
    return d->angle;
}

bool OrbAction::isAnimating() const
{
    return d->_rotation && d->_rotation->state() == QAbstractAnimation::Running;
}

QVariantAnimation *OrbActionPrivate::rotation()
{
    if (_rotation)
        return _rotation;
    _rotation = new QVariantAnimation(q);
    _rotation->setStartValue(0.0);
    _rotation->setEndValue(360.0);
    _rotation->setDuration(TurnDuration);
    _rotation->setLoopCount(-1);
    subscriptions.add(_rotation);
    subscriptions << QObject::connect(_rotation, &QVariantAnimation::valueChanged, q, [this](const QVariant &value) {
        angle = value.toReal();
        q->update();
    });
    return _rotation;
}

void OrbActionPrivate::updateAnimation()
{
    const bool wanted = shown && _animate.current().toBool();
    if (wanted) {
        if (rotation()->state() != QAbstractAnimation::Running)
            _rotation->start();
        return;
    }
    if (_rotation && _rotation->state() != QAbstractAnimation::Stopped)
        _rotation->stop();
    if (angle != 0) {
        angle = 0;
        q->update();
    }
}

void OrbAction::showEvent(QShowEvent *event)
{
    Button::showEvent(event);
    d->shown = true;
    d->updateAnimation();
}

void OrbAction::hideEvent(QHideEvent *event)
{
    Button::hideEvent(event);
    d->shown = false;
    d->updateAnimation();
}

void OrbAction::initStyleOption(QStyleOptionButton *option) const
{
    Button::initStyleOption(option);
    if (d->angle == 0 || option->icon.isNull() || option->iconSize.isEmpty())
        return;
    // The icon is drawn turned in the place and size the style gives it, so
    // nothing else about the button moves.
    const qreal dpr = devicePixelRatioF();
    QIcon icon;
    for (const QIcon::Mode mode : {QIcon::Normal, QIcon::Active, QIcon::Disabled}) {
        const QPixmap source = option->icon.pixmap(option->iconSize, dpr, mode);
        if (!source.isNull())
            icon.addPixmap(turned(source, d->angle), mode);
    }
    option->icon = icon;
}

} // namespace tessera

namespace {

QWidget *createOrbAction(const QVariantMap &options)
{
    using namespace tessera;
    OrbAction::Options o;
    o.icon = option::textOrState(options, QStringLiteral("icon"));
    o.animate = option::flagOrState(options, QStringLiteral("animate"));
    o.sx = option::sx(options);
    const QVariant args = options.value(QStringLiteral("args"));
    if (args.typeId() == QMetaType::QVariantList)
        o.args = args.toList();
    else if (args.isValid() && !args.isNull())
        throw OptionError(QStringLiteral("args"), QStringLiteral("expected a list of positional arguments"));
    o.kwargs = option::rest(options, {QStringLiteral("icon"), QStringLiteral("animate"), QStringLiteral("sx"),
                                      QStringLiteral("args")});
    return new OrbAction(o);
}

} // namespace

TESSERA_REGISTER_MODULE("tessera.material.button.orb_action", OrbAction, createOrbAction)
