#include "svg_widget.h"

#include "restyle_p.h"
#include "colors.h"
#include "svg_icon_p.h"
#include "theme.h"

#include <QFile>
#include <QIconEngine>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPixmapCache>
#include <QSet>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QVariantAnimation>

#include <cmath>

namespace tessera {

namespace detail {

namespace {

// Renders \a path at \a pixels device pixels, every opaque pixel in \a color.
QImage renderTinted(const QString &path, const QColor &color, const QSize &pixels)
{
    if (pixels.isEmpty())
        return {};
    QSvgRenderer renderer(path);
    if (!renderer.isValid())
        return {};
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // Keep the drawing's aspect ratio inside the square (or whatever) we were given.
    QSizeF drawn = renderer.defaultSize().isValid() ? QSizeF(renderer.defaultSize()) : QSizeF(pixels);
    drawn.scale(QSizeF(pixels), Qt::KeepAspectRatio);
    const QRectF target(QPointF((pixels.width() - drawn.width()) / 2.0, (pixels.height() - drawn.height()) / 2.0), drawn);
    renderer.render(&painter, target);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(image.rect(), color);
    return image;
}

QPixmap cachedTinted(const QString &path, const QColor &color, const QSize &pixels)
{
    const QString key = QStringLiteral("tessera-svg|%1|%2|%3x%4")
                            .arg(path)
                            .arg(color.rgba(), 8, 16, QLatin1Char('0'))
                            .arg(pixels.width())
                            .arg(pixels.height());
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;
    const QImage image = renderTinted(path, color, pixels);
    if (image.isNull())
        return {};
    pixmap = QPixmap::fromImage(image);
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

class TintedSvgIconEngine : public QIconEngine
{
public:
    TintedSvgIconEngine(QString path, QColor color, QColor disabled)
        : m_path(std::move(path)), m_color(color), m_disabled(disabled)
    {
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal dpr = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        const QPixmap pixmap = scaledPixmap(rect.size() * dpr, mode, state, dpr);
        if (!pixmap.isNull())
            painter->drawPixmap(rect, pixmap);
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1.0);
    }

    // \a size is in device pixels (QIcon multiplies by the ratio before asking).
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State, qreal scale) override
    {
        QPixmap pixmap = cachedTinted(m_path, mode == QIcon::Disabled ? m_disabled : m_color, size);
        if (!pixmap.isNull())
            pixmap.setDevicePixelRatio(scale);
        return pixmap;
    }

    QIconEngine *clone() const override { return new TintedSvgIconEngine(m_path, m_color, m_disabled); }
    QString key() const override { return QStringLiteral("tessera-tinted-svg"); }
    bool isNull() override { return false; }

private:
    QString m_path;
    QColor m_color;
    QColor m_disabled;
};

// Whether \a check holds for \a path. Compiled-in resources do not change
// once registered, so a yes for a resource path is kept: buttons look their
// icon up again on every palette change, and parsing the SVG each time cost
// more than the rest of a restyle. A no is not kept (the resource may be
// registered later), and files on disk are checked every time. GUI thread
// only, like every caller.
template<typename Check>
bool checkedOnce(QSet<QString> &known, const QString &path, Check &&check)
{
    if (!path.startsWith(QLatin1String(":/")))
        return check();
    if (known.contains(path))
        return true;
    if (!check())
        return false;
    if (known.size() >= 1024)
        known.clear();   // a bound, should a caller name icons without end
    known.insert(path);
    return true;
}

} // namespace

QColor parseColor(const QString &text)
{
    return tessera::parseColor(text);
}

QColor resolveColor(const Theme *theme, const QString &colorText)
{
    if (theme) {
        if (auto resolved = theme->resolveToken(colorText))
            return parseColor(*resolved);
    }
    return parseColor(colorText);
}

QString iconPath(const QString &iconText)
{
    if (iconText.isEmpty())
        return {};
    QString path;
    if (iconText.startsWith(QLatin1String(":/")) || iconText.startsWith(u'/')) {
        path = iconText;
    } else if (iconText.startsWith(QLatin1String("qrc:/"))) {
        path = iconText.mid(3);
    } else {
        // "set:name"; both parts plain names, so a key never reaches outside the icon folders.
        static const QRegularExpression keyPattern(QStringLiteral("^([A-Za-z0-9_-]+):([A-Za-z0-9_-]+)$"));
        const auto match = keyPattern.match(iconText);
        if (!match.hasMatch())
            return {};
        path = QStringLiteral(":/icons/%1/%2.svg").arg(match.capturedView(1), match.capturedView(2));
    }
    static QSet<QString> existing;
    return checkedOnce(existing, path, [&path] { return QFile::exists(path); }) ? path : QString();
}

QPixmap tintedSvgPixmap(const QString &path, const QColor &color, const QSize &size, qreal dpr)
{
    if (path.isEmpty() || size.isEmpty())
        return {};
    const QSize pixels(qMax(1, int(std::lround(size.width() * dpr))), qMax(1, int(std::lround(size.height() * dpr))));
    QPixmap pixmap = cachedTinted(path, color, pixels);
    if (!pixmap.isNull())
        pixmap.setDevicePixelRatio(dpr);
    return pixmap;
}

QIcon tintedSvgIcon(const QString &path, const QColor &color, const QColor &disabledColor)
{
    if (path.isEmpty())
        return {};
    if (!path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive))
        return QIcon(path);   // a bitmap keeps its own colours
    static QSet<QString> valid;
    if (!checkedOnce(valid, path, [&path] { return QSvgRenderer(path).isValid(); }))
        return {};
    return QIcon(new TintedSvgIconEngine(path, color, disabledColor));
}

} // namespace detail

namespace {
// Icons that turn while they are shown.
bool isAnimatedKey(const QString &key)
{
    return key == QLatin1String("eos-icons:loading");
}
} // namespace

class PySvgWidgetPrivate
{
public:
    QString key;
    QString colorSpec;
    int size = 20;
    QString path;
    QColor color;
    bool turns = false;                    // an icon that turns while shown
    QVariantAnimation *spin = nullptr;     // made when it first turns
    qreal angle = 0;
};

PySvgWidget::PySvgWidget(QWidget *parent) : PySvgWidget(Options{}, parent) {}

PySvgWidget::PySvgWidget(const Options &options, QWidget *parent) : QWidget(parent), d(std::make_unique<PySvgWidgetPrivate>())
{
    d->key = options.key;
    d->colorSpec = options.color;
    d->size = qMax(1, options.size);
    d->path = resourcePath(d->key);
    d->color = detail::resolveColor(useTheme(), d->colorSpec);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAttribute(Qt::WA_TranslucentBackground);

    // The turning animation is made when the icon is first shown: most
    // loading icons (a busy trigger's) stay hidden for their whole life.
    d->turns = isAnimatedKey(d->key) && !d->path.isEmpty();

    // The tint follows the theme through the kit's queue, beside the themed
    // widgets' builds (an icon in view is re-tinted before those out of view).
    detail::followTheme(this, [this] {
        const QColor color = detail::resolveColor(useTheme(), d->colorSpec);
        if (color != d->color) {
            d->color = color;
            update();
        }
    });
}

PySvgWidget::~PySvgWidget()
{
    if (d->spin)
        d->spin->stop();
}

QString PySvgWidget::key() const
{
    return d->key;
}

QColor PySvgWidget::resolvedColor() const
{
    return d->color;
}

QString PySvgWidget::resourcePath(const QString &key)
{
    return detail::iconPath(key);
}

bool PySvgWidget::isSpinning() const
{
    return d->spin && d->spin->state() == QAbstractAnimation::Running;
}

QSize PySvgWidget::sizeHint() const
{
    return QSize(d->size, d->size);
}

void PySvgWidget::paintEvent(QPaintEvent *)
{
    if (d->path.isEmpty() || !d->color.isValid())
        return;
    QPainter painter(this);
    // The ratio of the device really painted on (the backing store, or the
    // target of a grab or render), not only the widget's own.
    const QPaintDevice *target = painter.paintEngine() ? painter.paintEngine()->paintDevice() : nullptr;
    const qreal dpr = qMax(devicePixelRatioF(), target ? target->devicePixelRatioF() : 1.0);
    const QPixmap pixmap = detail::tintedSvgPixmap(d->path, d->color, QSize(d->size, d->size), dpr);
    if (pixmap.isNull())
        return;
    painter.setRenderHint(QPainter::SmoothPixmapTransform, d->angle != 0);
    painter.translate(QRectF(rect()).center());
    if (d->angle != 0)
        painter.rotate(d->angle);
    painter.drawPixmap(QPointF(-d->size / 2.0, -d->size / 2.0), pixmap);
}

void PySvgWidget::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (d->turns && !d->spin) {
        d->spin = new QVariantAnimation(this);
        d->spin->setStartValue(0.0);
        d->spin->setEndValue(360.0);
        d->spin->setDuration(1000);
        d->spin->setLoopCount(-1);
        connect(d->spin, &QVariantAnimation::valueChanged, this, [this](const QVariant &value) {
            d->angle = value.toReal();
            update();
        });
    }
    if (d->spin && d->spin->state() != QAbstractAnimation::Running)
        d->spin->start();
}

void PySvgWidget::hideEvent(QHideEvent *event)
{
    if (d->spin)
        d->spin->stop();
    QWidget::hideEvent(event);
}

} // namespace tessera
