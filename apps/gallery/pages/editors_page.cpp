// The "Editors" page: the dial, spin box and date editor fields in each
// variant, and with caller styles, all following the theme switch.

#include "../gallery.h"

#include <tessera/material/textfield/calendar_field.h>
#include <tessera/material/textfield/knob_field.h>
#include <tessera/material/textfield/stepper_field.h>

#include <QDate>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QGridLayout>
#include <QVBoxLayout>

namespace {

using tessera::StyleMap;

// The theme styles every variant with the component's root style, in a rule
// selected by "#name[variant=...]". A caller style rendered for "#name" alone
// only adds what that rule leaves open; to replace what the theme sets, its
// entries go under "&[variant=...]", which has the theme rule's weight and
// comes after it. Theme tokens keep the looks in step with the theme switch.
StyleMap variantLook(const QString &variant, bool round)
{
    if (round) {
        // The dial takes its background colour for the knob.
        if (variant == u"filled")
            return StyleMap{{"backgroundColor", "palette.primary.light"}};
        if (variant == u"standard")
            return StyleMap{{"backgroundColor", "palette.background.neutral"}};
        return StyleMap();
    }
    const int radius = 6;
    // At rest the underline is neutral; the primary colour is the focus look.
    if (variant == u"filled")
        return StyleMap{{"backgroundColor", "palette.background.neutral"},
                        {"borderStyle", "solid"},
                        {"borderWidth", 0},
                        {"borderBottomWidth", 2},
                        {"borderColor", "palette.text.secondary"},
                        {"borderTopLeftRadius", radius},
                        {"borderTopRightRadius", radius}};
    if (variant == u"standard")
        return StyleMap{{"backgroundColor", "transparent"},
                        {"borderStyle", "solid"},
                        {"borderWidth", 0},
                        {"borderBottomWidth", 1},
                        {"borderColor", "palette.text.secondary"}};
    return StyleMap{{"borderStyle", "solid"}, {"borderRadius", radius}};
}

// The focus look of an underlined variant: the theme's focus rule draws a 2px
// ring all round; these keep the underline (in the primary colour) instead.
StyleMap variantFocus(const QString &variant, bool round)
{
    if (round || (variant != u"filled" && variant != u"standard"))
        return StyleMap();
    return StyleMap{{"borderWidth", 0},
                    {"borderBottomWidth", 2},
                    {"borderColor", "palette.primary.main"},
                    {"padding", variant == u"filled" ? "4px 8px" : "4px 8px 3px 8px"}};
}

// The kit's arrow icon tinted with a theme colour, written once per colour to
// a file that a style sheet can name.
QString tintedArrow(const char *direction, const QString &token)
{
    static QTemporaryDir dir;
    const QString color = tessera::useTheme()->resolveToken(token).value_or(QStringLiteral("#000000"));
    QString tag = color;
    static const QRegularExpression notAlphanumeric(QStringLiteral("[^0-9A-Za-z]"));
    tag.remove(notAlphanumeric);
    const QString path = dir.filePath(QStringLiteral("arrow-%1-%2.svg").arg(QLatin1String(direction), tag));
    if (!QFile::exists(path)) {
        QFile in(QStringLiteral(":/icons/svg_cache/ri_arrow-%1-s-line.svg").arg(QLatin1String(direction)));
        QFile out(path);
        if (in.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly))
            out.write(in.readAll().replace("#000000", color.toUtf8()));
    }
    return QStringLiteral("url(%1)").arg(path);
}

// Flat step buttons with arrows in the theme's secondary text colour, for the
// spin box and the date editor (the theme styles the editor's frame only).
StyleMap stepControls()
{
    const StyleMap button{{"subcontrolOrigin", "border"}, {"width", 24}, {"border", "none"}, {"background", "transparent"}};
    StyleMap up = button;
    up.insert(QStringLiteral("subcontrolPosition"), QStringLiteral("top right"));
    StyleMap down = button;
    down.insert(QStringLiteral("subcontrolPosition"), QStringLiteral("bottom right"));
    StyleMap dropDown = button;
    dropDown.insert(QStringLiteral("subcontrolPosition"), QStringLiteral("center right"));
    const QString token = QStringLiteral("palette.text.secondary");
    return StyleMap{{"&::up-button", up},
                    {"&::down-button", down},
                    {"&::drop-down", dropDown},
                    {"&::up-arrow", StyleMap{{"image", tintedArrow("up", token)}, {"width", 14}, {"height", 14}}},
                    {"&::down-arrow", StyleMap{{"image", tintedArrow("down", token)}, {"width", 14}, {"height", 14}}},
                    {"&::up-button:hover, &::down-button:hover, &::drop-down:hover",
                     StyleMap{{"background", "palette.action.hover"}}}};
}

// The caller style of one editor: its look for \a variant over the theme's,
// computed again on every restyle so that the arrows follow the theme too.
tessera::Sx editorStyle(int kind, const QString &variant, const StyleMap &look)
{
    return tessera::Sx::Function([kind, variant, look] {
        StyleMap sx = kind == 0 ? StyleMap() : stepControls();
        sx.insert(QStringLiteral("&[variant=%1]").arg(variant), look);
        if (const StyleMap focus = variantFocus(variant, kind == 0); !focus.isEmpty())
            sx.insert(QStringLiteral("&[variant=%1]:focus").arg(variant), focus);
        return QVariant(sx);
    });
}

QWidget *makeEditor(int kind, tessera::EditorFieldOptions options)
{
    switch (kind) {
    case 0: {
        auto *knob = new tessera::KnobField(std::move(options));
        knob->setRange(0, 100);
        knob->setValue(35);
        knob->setNotchesVisible(true);
        knob->setFixedSize(96, 96);
        return knob;
    }
    case 1: {
        auto *stepper = new tessera::StepperField(std::move(options));
        stepper->setRange(0, 999);
        stepper->setValue(12);
        stepper->setSuffix(QStringLiteral(" kg"));
        stepper->setMinimumWidth(160);
        return stepper;
    }
    default: {
        auto *calendar = new tessera::CalendarField(std::move(options));
        calendar->setCalendarPopup(true);
        calendar->setDate(QDate(2024, 5, 17));
        calendar->setMinimumWidth(160);
        return calendar;
    }
    }
}

QWidget *variantsGrid()
{
    auto *grid = new QWidget;
    auto *layout = gallery::gridOn(grid, 32, 10);
    const tessera::DeferredText rows[] = {tessera::deferredTr("Gallery", "Knob field"),
                                          tessera::deferredTr("Gallery", "Stepper field"),
                                          tessera::deferredTr("Gallery", "Calendar field")};
    const tessera::DeferredText columns[] = {tessera::deferredTr("Gallery", "Outlined"),
                                             tessera::deferredTr("Gallery", "Filled"),
                                             tessera::deferredTr("Gallery", "Standard")};
    const QString variants[] = {QStringLiteral("outlined"), QStringLiteral("filled"), QStringLiteral("standard")};
    for (int c = 0; c < 3; ++c)
        layout->addWidget(gallery::caption(columns[c]), 0, c + 1);
    for (int r = 0; r < 3; ++r) {
        layout->addWidget(gallery::caption(rows[r]), r + 1, 0);
        for (int c = 0; c < 3; ++c) {
            tessera::EditorFieldOptions options;
            options.variant = variants[c];
            options.sx = editorStyle(r, variants[c], variantLook(variants[c], r == 0));
            layout->addWidget(makeEditor(r, std::move(options)), r + 1, c + 1, Qt::AlignLeft | Qt::AlignVCenter);
        }
    }
    layout->setColumnStretch(4, 1);
    return grid;
}

QWidget *callerStyles()
{
    auto *row = new QWidget;
    auto *layout = gallery::gridOn(row, 32, 10);

    // A mapping with theme tokens: an accent dial.
    tessera::EditorFieldOptions accent;
    accent.sx = editorStyle(0, accent.variant,
                            StyleMap{{"backgroundColor", "palette.secondary.main"}, {"borderRadius", 48}});
    layout->addWidget(gallery::caption(tessera::deferredTr("Gallery", "Mapping")), 0, 0);
    layout->addWidget(makeEditor(0, std::move(accent)), 1, 0, Qt::AlignLeft);

    // A function, called on every restyle: colours picked by palette mode.
    tessera::EditorFieldOptions byMode;
    byMode.sx = tessera::Sx::Function([] {
        const bool dark = tessera::useTheme()->palette().mode == u"dark";
        StyleMap sx = stepControls();
        sx.insert(QStringLiteral("&[variant=outlined]"),
                  StyleMap{{"borderStyle", "solid"},
                           {"borderWidth", 2},
                           {"borderRadius", 16},
                           {"borderColor", dark ? "palette.success.light" : "palette.success.main"},
                           {"paddingLeft", 14}});
        return QVariant(sx);
    });
    layout->addWidget(gallery::caption(tessera::deferredTr("Gallery", "Function")), 0, 1);
    layout->addWidget(makeEditor(1, std::move(byMode)), 1, 1, Qt::AlignLeft);

    // Plain QSS text, appended as written.
    tessera::EditorFieldOptions text;
    text.variant = QStringLiteral("outlined");
    // Text cannot name the field, so it adds what the theme leaves open; a
    // mid grey arrow reads on both palettes.
    text.sx = QStringLiteral("QDateEdit { border-style: dashed; border-radius: 6px; font-weight: 600; }"
                             " QDateEdit::drop-down { border: none; width: 24px; }"
                             " QDateEdit::down-arrow { image: %1; width: 14px; height: 14px; }")
                  .arg(tintedArrow("down", QStringLiteral("palette.grey._500")));
    layout->addWidget(gallery::caption(tessera::deferredTr("Gallery", "Style sheet text")), 0, 2);
    layout->addWidget(makeEditor(2, std::move(text)), 1, 2, Qt::AlignLeft);

    layout->setColumnStretch(3, 1);
    return row;
}

QWidget *makeEditorsPage()
{
    auto *page = new QWidget;
    auto *layout = gallery::pageColumn(page, 12);
    layout->addWidget(gallery::caption(tessera::deferredTr(
        "Gallery", "A dial, a spin box and a date editor that take their look from the theme and restyle on every theme switch.")));
    layout->addWidget(gallery::section(tessera::deferredTr("Gallery", "Variants"), variantsGrid()));
    layout->addWidget(gallery::section(tessera::deferredTr("Gallery", "Caller styles (sx)"), callerStyles()));
    layout->addStretch(1);
    return page;
}

} // namespace

GALLERY_PAGE("editors", 30, tessera::deferredTr("Gallery", "Editors"), makeEditorsPage)
