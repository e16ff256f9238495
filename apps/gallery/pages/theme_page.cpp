// The "Theme" page: the current palette and typography, so a theme file can be
// judged at a glance.

#include "../gallery.h"

#include <tessera/kit/theme.h>

#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

class Swatches : public QWidget
{
public:
    Swatches()
    {
        auto *grid = gallery::gridOn(this, 12, 12);
        const char *colors[] = {"primary", "secondary", "error", "warning", "info", "success"};
        int column = 0;
        for (const char *color : colors) {
            auto *chip = new QLabel(QString::fromLatin1(color), this);
            chip->setAlignment(Qt::AlignCenter);
            chip->setMinimumSize(120, 56);
            m_chips.append({chip, QString::fromLatin1(color)});
            grid->addWidget(chip, column / 3, column % 3);
            ++column;
        }
        connect(tessera::useTheme()->signal, &tessera::ThemeSignal::changed, this, [this] { restyle(); });
        restyle();
    }

private:
    void restyle()
    {
        const tessera::Theme *theme = tessera::useTheme();
        for (const auto &[chip, color] : m_chips) {
            const QString main = theme->resolveToken(QStringLiteral("palette.%1.main").arg(color)).value_or(QString());
            const QString contrast = theme->resolveToken(QStringLiteral("palette.%1.contrastText").arg(color)).value_or(QString());
            chip->setStyleSheet(QStringLiteral("QLabel { background-color: %1; color: %2; border-radius: 8px; font-weight: 600; }")
                                    .arg(main, contrast));
        }
    }

    QList<std::pair<QLabel *, QString>> m_chips;
};

QWidget *makeThemePage()
{
    auto *page = new QWidget;
    auto *layout = gallery::pageColumn(page);
    layout->addWidget(gallery::caption(tessera::deferredTr(
        "Gallery", "Every widget follows the theme switch at once: pick Light or Dark above.")));
    layout->addWidget(gallery::section(tessera::deferredTr("Gallery", "Palette"), new Swatches));
    layout->addStretch(1);
    return page;
}

} // namespace

GALLERY_PAGE("theme", 0, tessera::deferredTr("Gallery", "Theme"), makeThemePage)
