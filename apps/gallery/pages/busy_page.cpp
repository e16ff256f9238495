// The "Busy" page: BusyTrigger in every loading position, colour, variant and
// size, all following one shared loading State that a switch toggles, and a
// loading text that follows the language switch.

#include "../gallery.h"

#include <tessera/kit/button.h>
#include <tessera/kit/i18n.h>
#include <tessera/kit/state.h>
#include <tessera/material/button/busy_trigger.h>

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

using gallery::row;

using tessera::BusyTrigger;
using tessera::DeferredText;
using tessera::deferredTr;

QVariant text(const DeferredText &t)
{
    return QVariant::fromValue(t);
}


// A checkable kit button (its text follows the language switch).
tessera::Button *toggle(const DeferredText &title)
{
    auto *button = new tessera::Button({.kwargs = {{"text", text(title)}, {"variant", "outlined"}, {"color", "primary"}}});
    button->setCheckable(true);
    return button;
}

QWidget *makeBusyPage()
{
    auto *page = new QWidget;
    auto *layout = gallery::pageColumn(page, 4);

    // Every trigger on the page follows this one State.
    auto *loading = new tessera::State(true, page);
    const auto trigger = [loading](BusyTrigger::Options options) {
        options.loading = loading;
        auto *w = new BusyTrigger(options);
        // Never narrower than the label and the spinner need.
        w->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
        return w;
    };

    layout->addWidget(gallery::caption(deferredTr(
        "Gallery", "A busy trigger shows its label and, while its loading condition holds, a spinner before "
                   "or after it. All of them follow one shared State.")));

    auto *busy = toggle(deferredTr("Gallery", "Loading"));
    busy->setChecked(true);
    QObject::connect(busy, &QPushButton::toggled, loading, [loading](bool on) { loading->setValue(on); });
    layout->addSpacing(8);
    auto *switchRow = new QHBoxLayout;
    switchRow->setSpacing(12);
    switchRow->addWidget(busy);
    switchRow->addWidget(gallery::caption(deferredTr("Gallery", "Switch loading on and off for every trigger below.")), 1);
    layout->addLayout(switchRow);

    layout->addWidget(gallery::section(
        deferredTr("Gallery", "Loading position"),
        row({trigger({.loadingPosition = QStringLiteral("start"), .kwargs = {{"text", text(deferredTr("Gallery", "Start"))}}}),
             trigger({.loadingPosition = QStringLiteral("center"), .kwargs = {{"text", text(deferredTr("Gallery", "Center"))}}}),
             trigger({.loadingPosition = QStringLiteral("end"), .kwargs = {{"text", text(deferredTr("Gallery", "End"))}}})})));

    struct Named
    {
        const char *key;
        DeferredText title;
    };
    const Named colors[] = {
        {"primary", deferredTr("Gallery", "Primary")}, {"secondary", deferredTr("Gallery", "Secondary")},
        {"success", deferredTr("Gallery", "Success")}, {"error", deferredTr("Gallery", "Error")},
        {"warning", deferredTr("Gallery", "Warning")}, {"info", deferredTr("Gallery", "Info")},
        {"inherit", deferredTr("Gallery", "Inherit")},
    };
    QList<QWidget *> colorRow;
    for (const Named &c : colors)
        colorRow.append(trigger({.color = QString::fromLatin1(c.key), .variant = QStringLiteral("outlined"),
                                 .kwargs = {{"text", text(c.title)}}}));
    layout->addWidget(gallery::section(deferredTr("Gallery", "Colours"), row(colorRow)));

    const Named variants[] = {
        {"contained", deferredTr("Gallery", "Contained")}, {"outlined", deferredTr("Gallery", "Outlined")},
        {"soft", deferredTr("Gallery", "Soft")},           {"text", deferredTr("Gallery", "Text")},
        {"extended", deferredTr("Gallery", "Extended")},
    };
    auto *variantGrid = new QWidget;
    auto *grid = gallery::gridOn(variantGrid, 12, 12);
    const char *gridColors[] = {"primary", "secondary", "error"};
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < int(std::size(variants)); ++c) {
            grid->addWidget(trigger({.loadingPosition = r == 1 ? QStringLiteral("end") : QStringLiteral("start"),
                                     .color = QString::fromLatin1(gridColors[r]),
                                     .variant = QString::fromLatin1(variants[c].key),
                                     .kwargs = {{"text", text(variants[c].title)}}}),
                            r, c);
        }
    }
    grid->setColumnStretch(int(std::size(variants)), 1);
    layout->addWidget(gallery::section(deferredTr("Gallery", "Variants"), variantGrid));

    const Named sizes[] = {
        {"small", deferredTr("Gallery", "Small")},
        {"medium", deferredTr("Gallery", "Medium")},
        {"large", deferredTr("Gallery", "Large")},
    };
    QList<QWidget *> sizeRow;
    for (const Named &s : sizes)
        sizeRow.append(trigger({.variant = QStringLiteral("outlined"), .size = QString::fromLatin1(s.key),
                                .kwargs = {{"text", text(s.title)}}}));
    layout->addWidget(gallery::section(deferredTr("Gallery", "Sizes"), row(sizeRow)));

    // Without a "text" the label shows the loading indicator text, here a
    // State holding a deferred text, so it follows the language switch.
    auto *indicator = new tessera::State(text(deferredTr("Gallery", "Loading…")), page);
    layout->addWidget(gallery::section(
        deferredTr("Gallery", "Loading text"),
        row({trigger({.loadingIndicator = indicator}),
             trigger({.loadingPosition = QStringLiteral("end"), .loadingIndicator = indicator,
                      .variant = QStringLiteral("soft")}),
             trigger({.loadingIndicator = text(deferredTr("Gallery", "Please wait")),
                      .variant = QStringLiteral("text")})})));

    layout->addStretch(1);
    return page;
}

} // namespace

GALLERY_PAGE("busy", 40, tessera::deferredTr("Gallery", "Busy"), makeBusyPage)
