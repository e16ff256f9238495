// The "Kit" page: the kit's base widgets that the material widgets build on —
// buttons in every colour, variant and size, the typography scale, icons and
// the two editors.

#include "../gallery.h"

#include <tessera/kit/button.h>
#include <tessera/kit/line_edit_multiple.h>
#include <tessera/kit/plain_text_edit.h>
#include <tessera/kit/svg_widget.h>
#include <tessera/kit/theme.h>
#include <tessera/kit/typography.h>

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

using gallery::row;

using tessera::deferredTr;
using tessera::DeferredText;

QVariant text(const DeferredText &t)
{
    return QVariant::fromValue(t);
}

tessera::Button *button(const QVariantMap &kwargs, const QString &icon = {}, const QString &componentType = {})
{
    tessera::Button::Options options;
    options.kwargs = kwargs;
    if (!icon.isEmpty())
        options.startIcon = icon;
    options.componentType = componentType;
    return new tessera::Button(options);
}


tessera::Typography *label(const DeferredText &t, const QString &variant = QStringLiteral("body2"))
{
    return new tessera::Typography({.text = text(t), .variant = variant,
                                    .sx = tessera::StyleMap{{"color", "palette.text.secondary"}}});
}

struct ColorName
{
    const char *key;
    DeferredText title;
};

QList<ColorName> colorNames()
{
    return {{"default", deferredTr("Gallery", "Default")},     {"primary", deferredTr("Gallery", "Primary")},
            {"secondary", deferredTr("Gallery", "Secondary")}, {"error", deferredTr("Gallery", "Error")},
            {"warning", deferredTr("Gallery", "Warning")},     {"info", deferredTr("Gallery", "Info")},
            {"success", deferredTr("Gallery", "Success")}};
}

QWidget *colourGrid()
{
    auto *grid = new QWidget;
    auto *layout = gallery::gridOn(grid, 10, 10);
    const QList<std::pair<const char *, DeferredText>> variants{{"contained", deferredTr("Gallery", "Contained")},
                                                                 {"outlined", deferredTr("Gallery", "Outlined")},
                                                                 {"text", deferredTr("Gallery", "Text")},
                                                                 {"soft", deferredTr("Gallery", "Soft")}};
    const QList<ColorName> colors = colorNames();
    for (int r = 0; r < variants.size(); ++r) {
        layout->addWidget(label(variants[r].second), r, 0);
        for (int c = 0; c < colors.size(); ++c) {
            layout->addWidget(button({{"text", text(colors[c].title)},
                                      {"color", QString::fromLatin1(colors[c].key)},
                                      {"variant", QString::fromLatin1(variants[r].first)}}),
                              r, c + 1);
        }
    }
    layout->setColumnStretch(colors.size() + 1, 1);
    return grid;
}

QWidget *sizesAndStates()
{
    const QString addIcon = QStringLiteral("round:add");
    auto *box = new QWidget;
    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);
    for (const char *variant : {"contained", "outlined", "soft"}) {
        QList<QWidget *> widgets;
        for (const auto &[size, title] : {std::pair{"small", deferredTr("Gallery", "Small")},
                                          std::pair{"medium", deferredTr("Gallery", "Medium")},
                                          std::pair{"large", deferredTr("Gallery", "Large")}}) {
            widgets << button({{"text", text(title)}, {"size", QString::fromLatin1(size)},
                               {"variant", QString::fromLatin1(variant)}},
                              addIcon);
        }
        widgets << button({{"text", text(deferredTr("Gallery", "Disabled"))}, {"variant", QString::fromLatin1(variant)},
                           {"disabled", true}});
        layout->addWidget(row(widgets));
    }
    return box;
}

QWidget *orbs()
{
    const QString add = QStringLiteral("round:add");
    const QString more = QStringLiteral(":/round/resource_tessera/round/more_vert.svg");
    QList<QWidget *> widgets;
    for (const char *size : {"small", "medium", "large"})
        widgets << button({{"size", QString::fromLatin1(size)}, {"color", "primary"}}, add, QStringLiteral("OrbAction"));
    widgets << button({{"color", "secondary"}}, QStringLiteral("eos-icons:loading"), QStringLiteral("OrbAction"));
    widgets << button({}, more, QStringLiteral("OrbAction"));
    widgets << button({{"disabled", true}}, add, QStringLiteral("OrbAction"));
    for (const char *size : {"small", "medium", "large"}) {
        widgets << button({{"variant", "extended"}, {"size", QString::fromLatin1(size)}, {"color", "primary"},
                           {"text", text(deferredTr("Gallery", "Create"))}},
                          add, QStringLiteral("OrbAction"));
    }
    return row(widgets);
}

QWidget *typographyScale()
{
    auto *box = new QWidget;
    auto *layout = gallery::gridOn(box, 24, 6);
    const char *variants[] = {"h3", "h4", "h5", "h6", "subtitle1", "subtitle2", "body1", "body2", "button", "caption", "overline"};
    int r = 0;
    for (const char *variant : variants) {
        layout->addWidget(new tessera::Typography({.text = QVariant(QString::fromLatin1(variant)), .variant = "caption",
                                                   .sx = tessera::StyleMap{{"color", "palette.text.secondary"}}}),
                          r, 0);
        layout->addWidget(new tessera::Typography({.text = text(deferredTr("Gallery", "The quick brown fox jumps over the lazy dog")),
                                                   .variant = QString::fromLatin1(variant),
                                                   .sx = tessera::StyleMap{{"color", "palette.text.primary"}}}),
                          r, 1);
        ++r;
    }
    layout->setColumnStretch(1, 1);
    return box;
}

QWidget *icons()
{
    QList<QWidget *> widgets;
    for (const char *color : {"palette.grey._500", "palette.primary.main", "palette.secondary.main", "palette.success.main"})
        widgets << new tessera::PySvgWidget({.key = "eos-icons:loading", .color = QString::fromLatin1(color), .size = 28});
    widgets << new tessera::PySvgWidget({.key = "svg_cache:ri_arrow-up-s-line", .color = "palette.text.primary", .size = 28});
    widgets << new tessera::PySvgWidget({.key = "svg_cache:ri_arrow-down-s-line", .color = "palette.text.primary", .size = 28});
    widgets << new tessera::PySvgWidget({.key = ":/round/resource_tessera/round/more_vert.svg",
                                         .color = "palette.text.secondary", .size = 28});
    widgets << new tessera::PySvgWidget({.key = "round:add", .color = "palette.text.secondary", .size = 28});
    return row(widgets, 20);
}

// The plain-text editor carries no look of its own (a field shell dresses it);
// on this page it gets a simple outlined frame that follows the theme.
class NotesFrame : public QWidget
{
public:
    NotesFrame()
    {
        auto *layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        m_edit = new tessera::PyPlainTextEdit(this);
        m_edit->setFixedHeight(96);
        layout->addWidget(m_edit);
        connect(tessera::useTheme()->signal, &tessera::ThemeSignal::changed, this, [this] { restyle(); });
        connect(tessera::i18n(), &tessera::I18n::langChanged, this, [this] { retranslate(); });
        restyle();
        retranslate();
    }

private:
    void restyle()
    {
        const tessera::Theme *theme = tessera::useTheme();
        auto token = [theme](const char *path) { return theme->resolveToken(QString::fromLatin1(path)).value_or(QString()); };
        m_edit->setStyleSheet(QStringLiteral("PyPlainTextEdit { background-color: %1; color: %2; border: 1px solid %3; "
                                             "border-radius: 4px; padding: 4px; font-size: 14px; }"
                                             "PyPlainTextEdit:focus { border: 2px solid %4; }")
                                  .arg(token("palette.background.paper"), token("palette.text.primary"),
                                       token("palette.grey._400"), token("palette.primary.main")));
    }
    void retranslate()
    {
        m_edit->setPlaceholderText(tessera::translate(deferredTr("Gallery", "Notes: several lines of plain text")));
    }

    tessera::PyPlainTextEdit *m_edit;
};

class TagsEdit : public tessera::PyLineEditMultiple
{
public:
    TagsEdit() : PyLineEditMultiple({.values = {QStringLiteral("Qt"), QStringLiteral("C++"), QStringLiteral("Material")}})
    {
        connect(tessera::i18n(), &tessera::I18n::langChanged, this, [this] { retranslate(); });
        retranslate();
    }

private:
    void retranslate()
    {
        lineEdit()->setPlaceholderText(tessera::translate(deferredTr("Gallery", "Add a tag, then press Return")));
    }
};

QWidget *editors()
{
    auto *box = new QWidget;
    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);
    auto *tags = new TagsEdit;
    tags->setMaximumWidth(560);
    auto *notes = new NotesFrame;
    notes->setMaximumWidth(560);
    layout->addWidget(tags);
    layout->addWidget(notes);
    return box;
}

QWidget *makeKitPage()
{
    auto *page = new QWidget;
    auto *layout = gallery::pageColumn(page, 8);
    layout->addWidget(gallery::caption(deferredTr(
        "Gallery", "The kit's base widgets: the material widgets are built from these buttons, texts, icons and editors.")));
    layout->addWidget(gallery::section(deferredTr("Gallery", "Buttons: colours and variants"), colourGrid()));
    layout->addWidget(gallery::section(deferredTr("Gallery", "Buttons: sizes, icons and the disabled state"), sizesAndStates()));
    layout->addWidget(gallery::section(deferredTr("Gallery", "Round and extended buttons"), orbs()));
    layout->addWidget(gallery::section(deferredTr("Gallery", "Typography"), typographyScale()));
    layout->addWidget(gallery::section(deferredTr("Gallery", "Icons"), icons()));
    layout->addWidget(gallery::section(deferredTr("Gallery", "Editors"), editors()));
    layout->addStretch(1);
    return page;
}

} // namespace

GALLERY_PAGE("kit", 10, tessera::deferredTr("Gallery", "Kit"), makeKitPage)
