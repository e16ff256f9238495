// The "Theme" page: the whole palette and typography of the current theme,
// with the contrast of each colour against what it is drawn on, so a theme
// file can be judged at a glance (and, with --theme FILE, while it is edited).

#include "../gallery.h"

#include <tessera/kit/colors.h>
#include <tessera/kit/theme.h>

#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

QColor tokenColor(const tessera::Theme *theme, const QString &path)
{
    return tessera::parseColor(theme->resolveToken(path).value_or(QString()));
}

QString ratioText(double ratio)
{
    return QString::number(ratio, 'f', 1) + QStringLiteral(":1");
}

// A chip of \a fill with \a text in \a ink, naming the token and the contrast of ink on fill.
QLabel *chip(const QString &title, const QColor &fill, const QColor &ink, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setAlignment(Qt::AlignCenter);
    label->setMinimumSize(120, 58);
    // The fill may be translucent: it is shown, and measured, over the paper beneath.
    const QColor paper = parent->palette().color(QPalette::Base);
    const QColor shown = tessera::compositeColor(fill, paper);
    label->setText(QStringLiteral("%1\n%2  %3").arg(title, tessera::colorText(fill),
                                                    ratioText(tessera::contrastRatio(ink, shown))));
    label->setStyleSheet(QStringLiteral("QLabel { background-color: %1; color: %2; border-radius: 6px; font-size: 12px; }")
                             .arg(tessera::colorText(fill), ink.name()));
    return label;
}

/*
    Rebuilt on every theme switch: each swatch group of the palette (its
    shades with their contrast text), the text colours on both backgrounds,
    the greys, and every typography variant in its own size and weight.
*/
class ThemeOverview : public QWidget
{
public:
    ThemeOverview()
    {
        m_layout = new QVBoxLayout(this);
        m_layout->setContentsMargins(0, 0, 0, 0);
        connect(tessera::useTheme()->signal, &tessera::ThemeSignal::changed, this, [this] { rebuild(); });
        connect(tessera::i18n(), &tessera::I18n::langChanged, this, [this] { rebuild(); });
        rebuild();
    }

private:
    void rebuild()
    {
        delete m_content;
        m_content = new QWidget(this);
        m_layout->addWidget(m_content);
        auto *column = new QVBoxLayout(m_content);
        column->setContentsMargins(0, 0, 0, 0);
        column->setSpacing(16);
        const tessera::Theme *theme = tessera::useTheme();
        const auto heading = [&](const char *text) {
            auto *label = new QLabel(QCoreApplication::translate("Gallery", text), m_content);
            label->setObjectName(QStringLiteral("galleryHeading"));
            column->addWidget(label);
        };

        heading(QT_TRANSLATE_NOOP("Gallery", "Colours, with the contrast of their text"));
        auto *colours = new QWidget(m_content);
        auto *grid = gallery::gridOn(colours, 8, 8);
        int row = 0;
        for (const char *name : {"primary", "secondary", "error", "warning", "info", "success"}) {
            const QString base = QStringLiteral("palette.%1.").arg(QLatin1String(name));
            const QColor ink = tokenColor(theme, base + QStringLiteral("contrastText"));
            int col = 0;
            for (const char *shade : {"main", "light", "dark"})
                grid->addWidget(chip(base.mid(8) + QLatin1String(shade), tokenColor(theme, base + QLatin1String(shade)), ink,
                                     colours),
                                row, col++);
            ++row;
        }
        column->addWidget(colours);

        heading(QT_TRANSLATE_NOOP("Gallery", "Text on the backgrounds"));
        auto *texts = new QWidget(m_content);
        auto *textGrid = gallery::gridOn(texts, 8, 8);
        int col = 0;
        for (const char *background : {"default", "paper", "neutral"}) {
            const QColor fill = tokenColor(theme, QStringLiteral("palette.background.") + QLatin1String(background));
            int r = 0;
            for (const char *text : {"primary", "secondary", "disabled"}) {
                textGrid->addWidget(chip(QStringLiteral("text.%1 on %2").arg(QLatin1String(text), QLatin1String(background)),
                                         fill, tokenColor(theme, QStringLiteral("palette.text.") + QLatin1String(text)), texts),
                                    r++, col);
            }
            ++col;
        }
        column->addWidget(texts);

        heading(QT_TRANSLATE_NOOP("Gallery", "Greys, divider and actions"));
        auto *greys = new QWidget(m_content);
        auto *greyGrid = gallery::gridOn(greys, 8, 8);
        const QColor text = tokenColor(theme, QStringLiteral("palette.text.primary"));
        int i = 0;
        const tessera::StyleValue *grey = theme->palette().values.find(u"grey");
        if (grey && grey->isMap()) {
            for (const auto &[key, value] : grey->map()) {
                greyGrid->addWidget(chip(QStringLiteral("grey.") + key, tessera::parseColor(value.text()), text, greys), i / 6, i % 6);
                ++i;
            }
        }
        i = (i + 5) / 6 * 6;
        greyGrid->addWidget(chip(QStringLiteral("divider"), tokenColor(theme, QStringLiteral("palette.divider")), text, greys),
                            i / 6, i % 6);
        ++i;
        const tessera::StyleValue *action = theme->palette().values.find(u"action");
        if (action && action->isMap()) {
            for (const auto &[key, value] : action->map()) {
                greyGrid->addWidget(chip(QStringLiteral("action.") + key, tessera::parseColor(value.text()), text, greys), i / 6,
                                    i % 6);
                ++i;
            }
        }
        column->addWidget(greys);

        heading(QT_TRANSLATE_NOOP("Gallery", "Typography"));
        const tessera::StyleValue *family = theme->typography().find(u"fontFamily");
        for (const auto &[variant, value] : theme->typography()) {
            const tessera::StyleMap *style = value.mapIf();
            if (!style)
                continue;
            const tessera::StyleValue *size = style->find(u"fontSize");
            const tessera::StyleValue *weight = style->find(u"fontWeight");
            const int px = size && size->isNumber() ? int(size->number()) : 14;
            const int w = weight && weight->isNumber() ? int(weight->number()) : 400;
            auto *sample = new QLabel(QCoreApplication::translate("Gallery", "%1 · %2px · weight %3").arg(variant).arg(px).arg(w),
                                      m_content);
            sample->setStyleSheet(QStringLiteral("QLabel { font-family: %1; font-size: %2px; font-weight: %3; }")
                                      .arg(family && family->isText() ? family->text() : QStringLiteral("sans-serif"))
                                      .arg(px)
                                      .arg(w));
            column->addWidget(sample);
        }
    }

    QVBoxLayout *m_layout;
    QWidget *m_content = nullptr;
};

QWidget *makeThemePage()
{
    auto *page = new QWidget;
    auto *layout = gallery::pageColumn(page);
    layout->addWidget(gallery::caption(tessera::deferredTr(
        "Gallery", "Every widget follows the theme switch at once: pick Light or Dark above, or load a theme file.")));
    layout->addWidget(new ThemeOverview);
    layout->addStretch(1);
    return page;
}

} // namespace

GALLERY_PAGE("theme", 0, tessera::deferredTr("Gallery", "Theme"), makeThemePage)
