#include "button.h"

#include "accessible.h"
#include "i18n.h"
#include "qss.h"
#include "restyle_p.h"
#include "subscriptions.h"
#include "svg_icon_p.h"
#include "theme.h"

#include <QDesktopServices>
#include <QEvent>
#include <QHash>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QTimer>
#include <QUrl>

namespace tessera {

namespace {

// Option names: literals, so that loading the library runs no constructor for them.
constexpr QLatin1String kText("text");
constexpr QLatin1String kChildren("children");
constexpr QLatin1String kClasses("classes");
constexpr QLatin1String kColor("color");
constexpr QLatin1String kComponent("component");
constexpr QLatin1String kDisabled("disabled");
constexpr QLatin1String kDisableFocusRipple("disableFocusRipple");
constexpr QLatin1String kDisableRipple("disableRipple");
constexpr QLatin1String kHref("href");
constexpr QLatin1String kSize("size");
constexpr QLatin1String kVariant("variant");
constexpr QLatin1String kOnClick("onClick");
constexpr QLatin1String kStyle("style");
constexpr QLatin1String kSx("sx");
constexpr QLatin1String kAccessibleName("accessibleName");

bool absent(const QVariant &v)
{
    return !v.isValid() || v.isNull();
}

State *asState(const QVariant &v)
{
    if (v.metaType().flags() & QMetaType::PointerToQObject)
        return qobject_cast<State *>(v.value<QObject *>());
    return nullptr;
}

QWidget *asWidget(const QVariant &v)
{
    if (v.metaType() == QMetaType::fromType<QPointer<QWidget>>())
        return v.value<QPointer<QWidget>>().data();
    if (v.metaType().flags() & QMetaType::PointerToQObject)
        return qobject_cast<QWidget *>(v.value<QObject *>());
    return nullptr;
}

// The widgets a "children" value holds: a widget, a list of widgets, or none.
// std::nullopt when the value is of another kind. A list may hold null
// entries (a deleted widget in a WidgetList among them).
std::optional<QList<QWidget *>> childWidgets(const QVariant &v)
{
    QList<QWidget *> out;
    if (absent(v))
        return out;
    if (QWidget *w = asWidget(v))
        return QList<QWidget *>{w};
    if (v.metaType() == QMetaType::fromType<QList<QWidget *>>())
        return v.value<QList<QWidget *>>();
    if (v.metaType() == QMetaType::fromType<WidgetList>()) {
        for (const QPointer<QWidget> &w : v.value<WidgetList>())
            out.append(w.data());
        return out;
    }
    if (v.typeId() == QMetaType::QVariantList) {
        for (const QVariant &item : v.toList()) {
            QWidget *w = asWidget(item);
            if (!w)
                return std::nullopt;
            out.append(w);
        }
        return out;
    }
    return std::nullopt;
}

bool isText(const QVariant &v)
{
    return v.typeId() == QMetaType::QString;
}

// The name assistive tools announce unless the application set one: the
// accessibleName option, else Qt's own (the text); a button that shows only
// its icon is named after the icon.
void nameForAssistiveTools(Button *button, const QVariant &nameOption, bool showsOnlyIcon)
{
    QString name = translate(nameOption);
    if (name.isEmpty() && showsOnlyIcon)
        name = iconAccessibleName(button->startIcon().current().toString());
    setDefaultAccessibleName(button, name);
}

bool isTextLike(const QVariant &v)
{
    return isText(v) || isCallableText(v);
}

bool isStyle(const QVariant &v)
{
    return v.metaType() == QMetaType::fromType<StyleMap>() || v.typeId() == QMetaType::QVariantMap
        || v.typeId() == QMetaType::QVariantHash;
}

[[noreturn]] void wrongKind(const QString &name, const QString &expected, const QVariant &v)
{
    const QString got = v.isValid() ? QString::fromLatin1(v.metaType().name()) : QStringLiteral("none");
    throw OptionError(name, QStringLiteral("expected %1, got %2").arg(expected, got));
}

// Rejects named options of the wrong kind before anything is built.
void checkOptions(const QVariantMap &kwargs)
{
    for (auto it = kwargs.begin(); it != kwargs.end(); ++it) {
        const QString &name = it.key();
        const QVariant &v = it.value();
        if (absent(v) || asState(v))
            continue;
        if (name == kText || name == kAccessibleName) {
            if (!isTextLike(v))
                wrongKind(name, QStringLiteral("a text, a deferred text or a State"), v);
        } else if (name == kColor || name == kSize || name == kVariant || name == kComponent || name == kHref) {
            if (!isText(v))
                wrongKind(name, QStringLiteral("a text or a State"), v);
        } else if (name == kDisabled || name == kDisableFocusRipple || name == kDisableRipple) {
            if (v.typeId() != QMetaType::Bool)
                wrongKind(name, QStringLiteral("a flag or a State"), v);
        } else if (name == kOnClick) {
            if (v.metaType() != QMetaType::fromType<Button::ClickHandler>())
                wrongKind(name, QStringLiteral("a Button::ClickHandler or a State"), v);
        } else if (name == kChildren) {
            const auto children = childWidgets(v);
            if (!children)
                wrongKind(name, QStringLiteral("a widget, a list of widgets or a State"), v);
            option::childWidgets(*children, name);   // refuses a null child
        } else if (name == kClasses) {
            if (!isStyle(v))
                wrongKind(name, QStringLiteral("a style mapping or a State"), v);
        } else if (name == kStyle) {
            if (!isStyle(v) && !isText(v))
                wrongKind(name, QStringLiteral("a style mapping, a text or a State"), v);
        }
    }
}

// An sx value read from a State: a mapping, a text or a function.
Sx sxFromValue(const QVariant &v)
{
    if (absent(v))
        return {};
    if (v.metaType() == QMetaType::fromType<Sx::Function>())
        return Sx(v.value<Sx::Function>());
    if (isText(v))
        return Sx(v.toString());
    if (auto map = StyleMap::fromVariant(v))
        return Sx(*map);
    return {};
}

// Declarations of a style option ("style", classes' "root"): a mapping, or a
// text of declarations that cannot close the rule it stands in.
QString declarations(const QVariant &v)
{
    if (absent(v))
        return {};
    if (isText(v)) {
        const QString text = v.toString().trimmed();
        if (text.contains(u'{') || text.contains(u'}'))
            return {};
        return text;
    }
    if (auto map = StyleMap::fromVariant(v))
        return get_qss_style(*map);
    return {};
}

const StyleMap *mapIn(const StyleMap *map, const QString &key)
{
    if (!map)
        return nullptr;
    const StyleValue *v = map->find(key);
    return v ? v->mapIf() : nullptr;
}

struct Shape
{
    int diameter;   // circular: edge of the round button
    int height;     // extended: height of the pill
    int icon;       // icon edge
};

Shape shapeFor(const QString &size)
{
    if (size == u"small")
        return {40, 34, 18};
    if (size == u"large")
        return {56, 48, 24};
    return {48, 40, 20};
}

// The part of a memo key that stands for a style option: its text, or its mapping as JSON.
QString optionKey(const QVariant &v)
{
    if (absent(v))
        return {};
    if (isText(v))
        return u't' + v.toString();
    if (auto map = StyleMap::fromVariant(v))
        return u'm' + QString::fromUtf8(map->toJson());
    return QStringLiteral("?");
}

// The compositions of the theme's button rules, shared by all buttons.
LruMemo<QString> &sheetTemplates()
{
    static LruMemo<QString> memo;
    return memo;
}

QString rule(const QString &selector, const QString &body)
{
    if (body.trimmed().isEmpty())
        return {};
    return QStringLiteral("%1 {\n    %2\n}\n").arg(selector, body.trimmed());
}

} // namespace

class ButtonPrivate
{
public:
    QVariantList _args;   // the positional arguments as received
    StateOr<QString> _startIcon;   // the start icon option as received
    QString _componentType;   // the kind of button given at construction
    QVariantMap _buttonKwargs;   // the named options as received
    Sx _sx;   // the caller's extra style; read by every style pass
    QString appliedSheet;
    QString iconPath;
    QColor iconColor;
    QColor iconDisabledColor;
    QString textShown;
    QHBoxLayout *childLayout = nullptr;
    QList<QPointer<QWidget>> children;
    QPointer<State> sxState;
    //! The named options given as States, guarded: a State deleted by its owner reads as none.
    QHash<QString, QPointer<State>> states;
    //! The button's connections to its States, the language and itself; released first at teardown.
    Subscriptions subscriptions;
    //! Their connections, dropped when a property write replaces the State.
    QHash<QString, QMetaObject::Connection> stateConnections;
    QMetaObject::Connection iconConnection;
    //! The effective values last notified.
    QString color;
    QString variant;
    QString size;
    bool disabled = false;
};

Button::Button(QWidget *parent) : Button(Options{}, parent) {}

Button::Button(const Options &options, QWidget *parent)
    : QPushButton(parent), RestyleLifecycle(this), d(std::make_unique<ButtonPrivate>())
{
    checkOptions(options.kwargs);
    d->_args = options.args;
    d->_startIcon = options.startIcon;
    d->_componentType = options.componentType;
    d->_buttonKwargs = options.kwargs;
    d->_sx = option::sx(d->_buttonKwargs, kSx);   // throws OptionError for a wrong kind
    for (auto it = d->_buttonKwargs.begin(); it != d->_buttonKwargs.end(); ++it) {
        if (State *state = asState(it.value()))
            d->states.insert(it.key(), state);
    }

    setObjectName(newObjectName());
    theme = useTheme();
    setCursor(Qt::PointingHandCursor);

    updateText();
    updateChildren();
    updateIcon();
    setEnabled(!optionValue(kDisabled).toBool());
    d->color = buttonColor();
    d->variant = buttonVariant();
    d->size = buttonSize();
    d->disabled = isDisabled();

    Subscriptions &subscriptions = d->subscriptions;
    subscriptions << connect(this, &QPushButton::clicked, this, [this] { handleClick(); });
    subscriptions << connect(i18n(), &I18n::langChanged, this, [this] { updateText(); });

    // Options given as States are followed for the button's whole life.
    for (auto it = d->states.begin(); it != d->states.end(); ++it) {
        State *state = it.value();
        const QString name = it.key();
        QMetaObject::Connection connection;
        if (name == kText || name == kAccessibleName) {
            connection = connect(state, &State::valueChanged, this, [this] { updateText(); });
        } else if (name == kChildren) {
            connection = connect(state, &State::valueChanged, this, [this] { updateChildren(); });
        } else if (name == kDisabled) {
            connection = connect(state, &State::valueChanged, this,
                                 [this] { setEnabled(!optionValue(kDisabled).toBool()); });
        } else if (name == kColor || name == kSize || name == kVariant || name == kClasses || name == kStyle
                   || name == kDisableRipple) {
            connection = connect(state, &State::valueChanged, this, [this] {
                updateIcon();
                _onThemeChanged();
                notifyLook();
            });
        } else if (name == kSx) {
            d->sxState = state;
            connection = connect(state, &State::valueChanged, this, [this] { _onThemeChanged(); });
        }
        d->stateConnections.insert(name, connection);
        subscriptions << connection;
    }
    if (State *icon = d->_startIcon.state())
        subscriptions << (d->iconConnection = connect(icon, &State::valueChanged, this, [this] { updateIcon(); }));

    _subscribeToTheme();
}

Button::~Button()
{
    // Qt destroys the children after this destructor; one of them may still
    // set a State the button follows, which must no longer reach the button.
    d->subscriptions.release();
}

const StateOr<QString> &Button::startIcon() const
{
    return d->_startIcon;
}

QString Button::componentType() const
{
    return d->_componentType;
}

const QVariantMap &Button::buttonOptions() const
{
    return d->_buttonKwargs;
}

const QVariantList &Button::buttonArgs() const
{
    return d->_args;
}

const Sx &Button::sx() const
{
    return d->_sx;
}

void Button::setSx(const Sx &sx)
{
    d->_sx = sx;
}

QVariant Button::optionValue(const QString &name) const
{
    // The raw pointer in the option map is never touched again once a State is
    // known: its guarded copy reads as none after the State is deleted.
    if (const auto found = d->states.constFind(name); found != d->states.cend())
        return found.value() ? found.value()->value() : QVariant();
    return d->_buttonKwargs.value(name);
}

namespace {
QString textOption(const QVariant &v)
{
    return isText(v) ? v.toString() : QString();
}
} // namespace

QString Button::buttonColor() const
{
    const QString c = textOption(optionValue(kColor));
    if (!c.isEmpty())
        return c;
    return d->_componentType == u"OrbAction" ? QStringLiteral("default") : QStringLiteral("primary");
}

QString Button::buttonSize() const
{
    const QString s = textOption(optionValue(kSize));
    if (!s.isEmpty())
        return s;
    return d->_componentType == u"OrbAction" ? QStringLiteral("large") : QStringLiteral("medium");
}

QString Button::buttonVariant() const
{
    const QString v = textOption(optionValue(kVariant));
    if (!v.isEmpty())
        return v;
    return d->_componentType == u"OrbAction" ? QStringLiteral("circular") : QStringLiteral("contained");
}

QString Button::buttonText() const
{
    return d->textShown;
}

void Button::replaceOption(const QString &name, const QVariant &value)
{
    if (d->states.remove(name))
        disconnect(d->stateConnections.take(name));
    if (value.isNull())
        d->_buttonKwargs.remove(name);
    else
        d->_buttonKwargs.insert(name, value);
}

void Button::setText(const QString &text)
{
    replaceOption(kText, text);
    updateText();
}

void Button::setColor(const QString &color)
{
    setLookOption(kColor, QStringLiteral("color"), color);
}

void Button::setVariant(const QString &variant)
{
    setLookOption(kVariant, QStringLiteral("variant"), variant);
}

void Button::setThemeSize(const QString &size)
{
    setLookOption(kSize, QStringLiteral("themeSize"), size);
}

void Button::setLookOption(const QString &name, const QString &property, const QString &value)
{
    option::themeKey(property, value);
    if (!d->states.contains(name) && d->_buttonKwargs.value(name) == QVariant(value))
        return;
    replaceOption(name, value);
    updateIcon();
    _scheduleSetStyleSheet();
    notifyLook();
}

bool Button::isDisabled() const
{
    return testAttribute(Qt::WA_ForceDisabled);
}

void Button::setDisabled(bool disabled)
{
    replaceOption(kDisabled, disabled);
    setEnabled(!disabled);   // changeEvent() notifies
}

void Button::notifyLook()
{
    const QString color = buttonColor();
    const QString variant = buttonVariant();
    const QString size = buttonSize();
    if (color != d->color) {
        d->color = color;
        Q_EMIT colorChanged(color);
    }
    if (variant != d->variant) {
        d->variant = variant;
        Q_EMIT variantChanged(variant);
    }
    if (size != d->size) {
        d->size = size;
        Q_EMIT themeSizeChanged(size);
    }
}

void Button::setStartIcon(const StateOr<QString> &icon)
{
    disconnect(d->iconConnection);
    d->iconConnection = {};
    d->_startIcon = icon;
    if (State *state = d->_startIcon.state())
        d->iconConnection = connect(state, &State::valueChanged, this, [this] { updateIcon(); });
    updateIcon();
}

QString Button::appliedStyleSheet() const
{
    return d->appliedSheet;
}

QSize Button::sizeHint() const
{
    QSize hint = QPushButton::sizeHint();
    if (d->childLayout && !d->children.isEmpty()) {
        const QSize content = d->childLayout->sizeHint();
        hint = hint.expandedTo(content + QSize(32, 12));
    }
    return hint;
}

QSize Button::minimumSizeHint() const
{
    QSize hint = QPushButton::minimumSizeHint();
    if (d->childLayout && !d->children.isEmpty())
        hint = hint.expandedTo(d->childLayout->minimumSize());
    return hint;
}

void Button::changeEvent(QEvent *event)
{
    QPushButton::changeEvent(event);
    switch (event->type()) {
    case QEvent::PaletteChange:
    case QEvent::StyleChange:
        updateIcon();
        break;
    case QEvent::EnabledChange:
        if (isDisabled() != d->disabled) {
            d->disabled = isDisabled();
            Q_EMIT disabledChanged(d->disabled);
        }
        break;
    default:
        break;
    }
}

void Button::keyPressEvent(QKeyEvent *event)
{
    // Enter and Return click a focused button as Space does. QPushButton
    // leaves them to a dialog's default button unless the button is one
    // (autoDefault), and then clicks itself.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && !autoDefault() && !isDefault() && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        if (!event->isAutoRepeat())
            click();
        event->accept();
        return;
    }
    QPushButton::keyPressEvent(event);
}

void Button::updateText()
{
    QVariant value = optionValue(kText);
    if (absent(value) || (isText(value) && value.toString().isEmpty())) {
        value = {};
        for (const QVariant &arg : d->_args) {
            if (isTextLike(arg)) {
                value = arg;
                break;
            }
        }
    }
    QString text = translate(value);
    if (text.isNull() && !absent(value) && value.canConvert<QString>() && !asState(value))
        text = value.toString();
    const bool changed = text != d->textShown;
    d->textShown = text;
    QPushButton::setText(d->children.isEmpty() ? text : QString());
    nameForAssistiveTools(this, optionValue(kAccessibleName), text.isEmpty() && d->children.isEmpty());
    if (changed)
        Q_EMIT textChanged(text);
    updateGeometry();
}

void Button::updateChildren()
{
    const QList<QWidget *> wanted = childWidgets(optionValue(kChildren)).value_or(QList<QWidget *>());
    if (!d->childLayout && wanted.isEmpty())
        return;
    if (!d->childLayout) {
        d->childLayout = new QHBoxLayout(this);
        d->childLayout->setContentsMargins(12, 4, 12, 4);
        d->childLayout->setSpacing(8);
        d->childLayout->setAlignment(Qt::AlignCenter);
    }
    // Children that leave the content stay owned by the button (hidden), so a
    // later value may show them again and nothing is deleted behind the caller's back.
    for (const QPointer<QWidget> &old : std::as_const(d->children)) {
        if (old && !wanted.contains(old.data())) {
            d->childLayout->removeWidget(old);
            old->hide();
        }
    }
    d->children.clear();
    for (QWidget *w : wanted) {
        // A State's list may hold a null widget: it is skipped. A button cannot
        // hold itself or its own ancestors.
        if (!w || w == this || w->isAncestorOf(this))
            continue;
        if (w->parentWidget() != this)
            w->setParent(this);
        d->childLayout->addWidget(w);
        w->show();
        d->children.append(w);
    }
    QPushButton::setText(d->children.isEmpty() ? d->textShown : QString());
    if (d->children.isEmpty())
        updateIcon();
    else
        setIcon(QIcon());
    updateGeometry();
}

void Button::updateIcon()
{
    nameForAssistiveTools(this, optionValue(kAccessibleName), d->textShown.isEmpty() && d->children.isEmpty());
    if (!d->children.isEmpty())
        return;   // the children are the content
    const QString path = detail::iconPath(d->_startIcon.current().toString());
    const QColor color = palette().color(QPalette::Active, QPalette::ButtonText);
    const QColor disabled = palette().color(QPalette::Disabled, QPalette::ButtonText);
    const Shape shape = shapeFor(buttonSize());
    if (iconSize() != QSize(shape.icon, shape.icon))
        setIconSize(QSize(shape.icon, shape.icon));
    if (path == d->iconPath && color == d->iconColor && disabled == d->iconDisabledColor)
        return;
    d->iconPath = path;
    d->iconColor = color;
    d->iconDisabledColor = disabled;
    setIcon(detail::tintedSvgIcon(path, color, disabled));
}

void Button::handleClick()
{
    // A caller's handler must not let an exception reach the event loop.
    try {
        const QVariant handler = optionValue(kOnClick);
        if (handler.metaType() == QMetaType::fromType<ClickHandler>()) {
            if (const ClickHandler call = handler.value<ClickHandler>())
                call();
        }
    } catch (...) {
        // Whatever it throws ends the handler's own call only.
    }
    const QString href = textOption(optionValue(kHref)).trimmed();
    if (!href.isEmpty()) {
        const QUrl url(href, QUrl::StrictMode);
        if (url.isValid() && !url.scheme().isEmpty())
            QDesktopServices::openUrl(url);
    }
}

bool Button::ownsStyleSheet() const
{
    const QString current = styleSheet();
    return current.isEmpty() || current == d->appliedSheet;
}

QString Button::composeStyleSheet(const StyleMap &components, const QString &name) const
{
    const QString id = u'#' + name;
    const bool orb = d->_componentType == u"OrbAction";

    QString colorName = buttonColor();
    if (colorName == u"inherit")
        colorName = QStringLiteral("default");
    const QString variantName = buttonVariant();
    const bool circular = variantName == u"circular";
    const bool extended = variantName == u"extended";
    const QString sizeName = buttonSize();

    const StyleMap *root = mapIn(mapIn(mapIn(&components, QStringLiteral("PyButton")), QStringLiteral("styles")),
                                 QStringLiteral("root"));
    const StyleMap *sizes = mapIn(root, QStringLiteral("size"));
    const StyleMap *sizeEntry = mapIn(sizes, sizeName);
    if (!sizeEntry)
        sizeEntry = mapIn(sizes, orb ? QStringLiteral("large") : QStringLiteral("medium"));
    const StyleMap *colors = mapIn(root, QStringLiteral("colorStyle"));
    const StyleMap *colorEntry = mapIn(colors, colorName);
    if (!colorEntry)
        colorEntry = mapIn(colors, orb ? QStringLiteral("default") : QStringLiteral("primary"));
    const StyleMap *props = mapIn(colorEntry, QStringLiteral("props"));
    // Round and pill buttons wear the contained colours.
    const QString propsKey = (circular || extended) ? QStringLiteral("containedVariant") : variantName + QLatin1String("Variant");
    const StyleMap *variantEntry = mapIn(props, propsKey);
    if (!variantEntry)
        variantEntry = mapIn(props, QStringLiteral("containedVariant"));
    const StyleMap *slots = mapIn(variantEntry, QStringLiteral("slots"));

    QString PyButton_root_size_qss = sizeEntry ? get_qss_style(*sizeEntry) : QString();
    if (variantName == u"text") {
        if (const StyleMap *textVariant = mapIn(sizeEntry, QStringLiteral("textVariant")))
            PyButton_root_size_qss += u' ' + get_qss_style(*textVariant);
    }
    const QString PyButton_root_colorStyle_props_qss = variantEntry ? get_qss_style(*variantEntry) : QString();
    const QString PyButton_root_colorStyle_props_slots_hover_qss =
        slots ? get_qss_style(slots->find(QStringLiteral("hover"))) : QString();
    const QString PyButton_root_colorStyle_props_slots_checked_qss =
        slots ? get_qss_style(slots->find(QStringLiteral("checked"))) : QString();
    // Keyboard focus: the size's "focus" slot (padding that makes room for a
    // wider ring) and the colour's, each optional.
    QString focus_qss;
    if (const StyleMap *sizeSlots = mapIn(sizeEntry, QStringLiteral("slots")))
        focus_qss += get_qss_style(sizeSlots->find(QStringLiteral("focus")));
    if (slots) {
        const QString colourFocus = get_qss_style(slots->find(QStringLiteral("focus")));
        if (!colourFocus.isEmpty())
            focus_qss += (focus_qss.isEmpty() ? QString() : QStringLiteral(" ")) + colourFocus;
    }

    QString shape_qss;
    const Shape shape = shapeFor(sizeName);
    if (circular) {
        // Fixed edge, so that the radius is exactly half the height and the button is round.
        shape_qss = QStringLiteral("padding: 0px; min-width: %1px; max-width: %1px; min-height: %1px; max-height: %1px; "
                                   "border-radius: %2px;")
                        .arg(shape.diameter - 2)
                        .arg(shape.diameter / 2);
        // The box is fixed: a wider focus ring takes its room from the content.
        if (!focus_qss.isEmpty())
            focus_qss += QStringLiteral(" padding: 0px; min-width: %1px; max-width: %1px; min-height: %1px; max-height: %1px;")
                             .arg(shape.diameter - 4);
    } else if (extended) {
        shape_qss = QStringLiteral("min-height: %1px; max-height: %1px; border-radius: %2px; padding-top: 0px; "
                                   "padding-bottom: 0px;")
                        .arg(shape.height - 2)
                        .arg(shape.height / 2);
        if (!focus_qss.isEmpty())
            focus_qss += QStringLiteral(" min-height: %1px; max-height: %1px; padding-top: 0px; padding-bottom: 0px;")
                             .arg(shape.height - 4);
    }

    QString disabled_qss;
    if (const Theme *t = useTheme()) {
        const auto disabledText = t->resolveToken(u"palette.action.disabled");
        const auto disabledBackground = t->resolveToken(u"palette.action.disabledBackground");
        if (disabledText)
            disabled_qss += QStringLiteral("color: %1;").arg(*disabledText);
        const bool filled = circular || extended || variantName == u"contained" || variantName == u"soft";
        if (filled && disabledBackground)
            disabled_qss += QStringLiteral(" background-color: %1; border-color: %1;").arg(*disabledBackground);
        else if (variantName == u"outlined" && disabledBackground)
            disabled_qss += QStringLiteral(" border-color: %1;").arg(*disabledBackground);
    }

    const QString style_qss = declarations(optionValue(kStyle));
    QString classes_qss;
    if (auto classes = StyleMap::fromVariant(optionValue(kClasses)))
        classes_qss = get_qss_style(classes->find(QStringLiteral("root")));

    const QStringList rootParts{PyButton_root_size_qss, PyButton_root_colorStyle_props_qss, shape_qss, classes_qss,
                                style_qss};
    QStringList rootBody;
    for (const QString &part : rootParts) {
        if (!part.trimmed().isEmpty())
            rootBody.append(part.trimmed());
    }

    QString sheet;
    sheet += rule(id, rootBody.join(u' '));
    sheet += rule(id + QLatin1String(":hover"), PyButton_root_colorStyle_props_slots_hover_qss);
    sheet += rule(id + QLatin1String(":checked"), PyButton_root_colorStyle_props_slots_checked_qss);
    if (!optionValue(kDisableRipple).toBool())
        sheet += rule(id + QLatin1String(":pressed"), PyButton_root_colorStyle_props_slots_checked_qss);
    // After hover and checked, which may set the border colour too; before disabled.
    sheet += rule(id + QLatin1String(":focus"), focus_qss);
    sheet += rule(id + QLatin1String(":disabled"), disabled_qss);
    return sheet;
}

void Button::_set_stylesheet(const StyleMap &component_styled)
{
    if (!ownsStyleSheet())
        return;   // a sheet set by someone else (a subclass) stays in force
    theme = useTheme();
    QString sheet;
    if (component_styled.isEmpty()) {
        // The theme's rules depend only on the theme and these options, so
        // buttons alike share one composition, named by the placeholder.
        QStringList key;
        key.reserve(9);
        key << themeMemoKey(theme) << d->_componentType << buttonColor() << buttonVariant() << buttonSize()
            << (optionValue(kDisableRipple).toBool() ? QStringLiteral("ripple off") : QString())
            << optionKey(optionValue(kStyle)) << optionKey(optionValue(kClasses));
        sheet = sheetTemplates().get(key, [&] {
            return composeStyleSheet(theme->components(), ObjectNamePlaceholder.toString());
        });
        fillObjectName(sheet, objectName());
    } else {
        sheet = composeStyleSheet(component_styled, objectName());
    }

    // The caller's sx, read now (a subclass may have replaced it with setSx() after construction).
    State *sxState = d->_sx.state();
    if (sxState && sxState != d->sxState) {
        d->sxState = sxState;
        d->subscriptions << connect(sxState, &State::valueChanged, this, [this] { _onThemeChanged(); });
    }
    const Sx sx = sxState ? sxFromValue(sxState->value()) : d->_sx;
    const QString sx_qss = sx.render(objectName());
    if (!sx_qss.trimmed().isEmpty())
        sheet += sx_qss.trimmed() + u'\n';

    d->appliedSheet = sheet;
    _applyStyleSheet(sheet);
}

} // namespace tessera
