// The "Fields" page: text fields built on FieldShell in every size, multi-line,
// disabled, in error and without title, with a label that changes through a State and labels
// that follow the language switch.

#include "../gallery.h"

#include <text_field/text_field.h>

#include <tessera/kit/button.h>
#include <tessera/kit/i18n.h>
#include <tessera/kit/state.h>

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

using examples::TextField;

// A label State holding a deferred text: the field translates it on display
// and again after every language switch.
tessera::State *label(const tessera::DeferredText &text, QObject *owner)
{
    return new tessera::State(QVariant::fromValue(text), owner);
}

// Placeholders are plain Qt texts; keep them in step with the language too.
void placeholder(TextField *field, const tessera::DeferredText &text)
{
    field->setPlaceholderText(tessera::translate(text));
    QObject::connect(tessera::i18n(), &tessera::I18n::langChanged, field,
                     [field, text] { field->setPlaceholderText(tessera::translate(text)); });
}

TextField *field(TextField::Options options, int width = 240)
{
    auto *f = new TextField(std::move(options));
    f->setMinimumWidth(width);
    f->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    return f;
}

QWidget *row(std::initializer_list<QWidget *> widgets)
{
    auto *box = new QWidget;
    auto *layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(24);
    for (QWidget *w : widgets)
        layout->addWidget(w, 0, Qt::AlignTop);
    layout->addStretch(1);
    return box;
}

QWidget *sizes(QObject *owner)
{
    auto *small = field({.label = label(tessera::deferredTr("Gallery", "Small"), owner), .size = "small"});
    placeholder(small, tessera::deferredTr("Gallery", "Dense forms"));
    auto *medium = field({.label = label(tessera::deferredTr("Gallery", "Medium"), owner)});
    medium->setText(QStringLiteral("Ada Lovelace"));
    auto *large = field({.label = label(tessera::deferredTr("Gallery", "Large"), owner), .size = "large"});
    placeholder(large, tessera::deferredTr("Gallery", "Room to breathe"));
    return row({small, medium, large});
}

QWidget *states(QObject *owner)
{
    auto *disabled = field({.disabled = true, .label = label(tessera::deferredTr("Gallery", "Disabled"), owner)});
    disabled->setText(QStringLiteral("read only"));
    auto *error = field({.label = label(tessera::deferredTr("Gallery", "E-mail"), owner)});
    error->setText(QStringLiteral("ada@"));
    error->setError(true);
    auto *hidden = field({.label = label(tessera::deferredTr("Gallery", "Hidden label"), owner), .hiddenLabel = true});
    placeholder(hidden, tessera::deferredTr("Gallery", "No title, same frame"));
    return row({disabled, error, hidden});
}

QWidget *multiline(QObject *owner)
{
    auto *notes = field({.label = label(tessera::deferredTr("Gallery", "Notes"), owner), .multiline = true}, 504);
    notes->setText(QStringLiteral("A multi-line field keeps a minimum height for its size\nand grows with the space it is given."));
    notes->setFixedHeight(112);
    auto *large = field({.label = label(tessera::deferredTr("Gallery", "Description"), owner), .multiline = true, .size = "large"});
    placeholder(large, tessera::deferredTr("Gallery", "Large and multi-line"));
    large->setFixedHeight(112);
    return row({notes, large});
}

// A label driven by a State: each click renames the field.
QWidget *observableLabel(QObject *owner)
{
    auto *count = new tessera::State(1, owner);
    const auto labelFor = [](int n) {
        return QVariant::fromValue(tessera::DeferredText(std::function<QString()>(
            [n] { return QCoreApplication::translate("Gallery", "Attempt %1").arg(n); })));
    };
    auto *title = new tessera::State(labelFor(1), owner);
    auto *f = field({.label = title});
    placeholder(f, tessera::deferredTr("Gallery", "The label follows a State"));
    auto *button = new tessera::Button(
        {.kwargs = {{"text", QVariant::fromValue(tessera::deferredTr("Gallery", "Next attempt"))},
                    {"variant", "outlined"},
                    {"onClick", QVariant::fromValue(tessera::Button::ClickHandler([count, title, labelFor] {
                         const int next = count->value().toInt() + 1;
                         count->setValue(next);
                         title->setValue(labelFor(next));
                     }))}}});
    return row({f, button});
}

QWidget *makeFieldsPage()
{
    auto *page = new QWidget;
    auto *layout = gallery::pageColumn(page);
    layout->addWidget(gallery::caption(tessera::deferredTr(
        "Gallery", "Text fields built on the field shell. The frame takes its colours and sizes from the theme; "
                   "hover, focus and error show in the border and the title. Every label here follows the language switch.")));
    layout->addWidget(gallery::section(tessera::deferredTr("Gallery", "Sizes"), sizes(page)));
    layout->addWidget(gallery::section(tessera::deferredTr("Gallery", "Disabled, error and hidden label"), states(page)));
    layout->addWidget(gallery::section(tessera::deferredTr("Gallery", "Multi-line"), multiline(page)));
    layout->addWidget(gallery::section(tessera::deferredTr("Gallery", "Observable label"), observableLabel(page)));
    layout->addStretch(1);
    return page;
}

} // namespace

GALLERY_PAGE("fields", 20, tessera::deferredTr("Gallery", "Fields"), makeFieldsPage)
