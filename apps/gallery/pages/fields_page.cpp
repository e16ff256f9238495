// The "Fields" page: the ready-made text and select fields in every size, with
// helper text, error and counter, disabled, read-only and password, as
// selects, multi-line, and with a label that changes through a State. Every
// text here follows the language switch.

#include "../gallery.h"

#include <tessera/material/textfield/select_field.h>
#include <tessera/material/textfield/text_field.h>

#include <tessera/kit/button.h>
#include <tessera/kit/i18n.h>
#include <tessera/kit/state.h>

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

using tessera::SelectField;
using tessera::TextField;

// A State holding a deferred text: the field translates it on display and
// again after every language switch.
tessera::State *bound(const tessera::DeferredText &text, QObject *owner)
{
    return new tessera::State(QVariant::fromValue(text), owner);
}

template<typename Field>
Field *sized(Field *field, int width = 240)
{
    field->setMinimumWidth(width);
    field->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    return field;
}

TextField *field(const TextField::Options &options, int width = 240)
{
    return sized(new TextField(options), width);
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
    return row({field({.label = bound(tessera::deferredTr("Gallery", "Small"), owner),
                       .placeholder = bound(tessera::deferredTr("Gallery", "Dense forms"), owner),
                       .size = "small"}),
                field({.label = bound(tessera::deferredTr("Gallery", "Medium"), owner),
                       .text = QStringLiteral("Ada Lovelace"),
                       .clearable = true}),
                field({.label = bound(tessera::deferredTr("Gallery", "Large"), owner),
                       .placeholder = bound(tessera::deferredTr("Gallery", "Room to breathe"), owner),
                       .size = "large"})});
}

QWidget *lines(QObject *owner)
{
    return row({field({.label = bound(tessera::deferredTr("Gallery", "Name"), owner),
                       .helperText = bound(tessera::deferredTr("Gallery", "As it should appear on the badge"), owner)}),
                field({.label = bound(tessera::deferredTr("Gallery", "E-mail"), owner),
                       .text = QStringLiteral("ada@"),
                       .helperText = bound(tessera::deferredTr("Gallery", "We never share it"), owner),
                       .error = bound(tessera::deferredTr("Gallery", "The address is incomplete"), owner)}),
                field({.label = bound(tessera::deferredTr("Gallery", "User name"), owner),
                       .text = QStringLiteral("ada"),
                       .maxLength = 20})});
}

QWidget *states(QObject *owner)
{
    return row({field({.label = bound(tessera::deferredTr("Gallery", "Disabled"), owner),
                       .text = QStringLiteral("cannot be edited"),
                       .disabled = true}),
                field({.label = bound(tessera::deferredTr("Gallery", "Read-only"), owner),
                       .text = QStringLiteral("can be copied"),
                       .readOnly = true}),
                field({.label = bound(tessera::deferredTr("Gallery", "Password"), owner),
                       .text = QStringLiteral("secret"),
                       .password = true,
                       .clearable = true})});
}

// Item texts are plain texts: the page sets them again after a language switch.
SelectField *select(SelectField::Options options, const QList<tessera::DeferredText> &items)
{
    const auto translated = [items] {
        QList<SelectField::Item> out;
        for (const tessera::DeferredText &item : items)
            out.append(SelectField::Item(tessera::translate(item), out.size()));
        return out;
    };
    options.items = translated();
    auto *field = sized(new SelectField(options));
    QObject::connect(tessera::i18n(), &tessera::I18n::langChanged, field, [field, translated] {
        const int index = field->currentIndex();
        field->setItemList(translated());
        field->setCurrentIndex(index);
    });
    return field;
}

QWidget *selects(QObject *owner)
{
    const QList<tessera::DeferredText> plans{tessera::deferredTr("Gallery", "Free"), tessera::deferredTr("Gallery", "Team"),
                                             tessera::deferredTr("Gallery", "Enterprise")};
    const QList<tessera::DeferredText> colours{tessera::deferredTr("Gallery", "Teal"), tessera::deferredTr("Gallery", "Amber"),
                                               tessera::deferredTr("Gallery", "Indigo")};
    return row({select({.label = bound(tessera::deferredTr("Gallery", "Plan"), owner),
                        .currentIndex = 1,
                        .helperText = bound(tessera::deferredTr("Gallery", "Billed monthly"), owner)},
                       plans),
                select({.label = bound(tessera::deferredTr("Gallery", "Colour"), owner),
                        .placeholder = bound(tessera::deferredTr("Gallery", "Choose a colour"), owner),
                        .error = bound(tessera::deferredTr("Gallery", "Required"), owner)},
                       colours),
                select({.label = bound(tessera::deferredTr("Gallery", "Disabled"), owner), .disabled = true}, plans)});
}

// A multi-line field with a counter, and a label driven by a State: each click renames the field.
QWidget *multiline(QObject *owner)
{
    auto *notes = field({.label = bound(tessera::deferredTr("Gallery", "Notes"), owner),
                         .text = QStringLiteral("A multi-line field keeps a minimum height for its size\nand grows with the space it is given."),
                         .multiline = true,
                         .maxLength = 200},
                        504);
    notes->editor()->setFixedHeight(64);

    auto *count = new tessera::State(1, owner);
    const auto labelFor = [](int n) {
        return QVariant::fromValue(tessera::DeferredText(std::function<QString()>(
            [n] { return QCoreApplication::translate("Gallery", "Attempt %1").arg(n); })));
    };
    auto *title = new tessera::State(labelFor(1), owner);
    auto *attempt = field({.label = title, .placeholder = bound(tessera::deferredTr("Gallery", "The label follows a State"), owner)});
    auto *button = new tessera::Button(
        {.kwargs = {{"text", QVariant::fromValue(tessera::deferredTr("Gallery", "Next attempt"))},
                    {"variant", "outlined"},
                    {"onClick", QVariant::fromValue(tessera::Button::ClickHandler([count, title, labelFor] {
                         const int next = count->value().toInt() + 1;
                         count->setValue(next);
                         title->setValue(labelFor(next));
                     }))}}});
    auto *observable = new QWidget;
    auto *column = new QVBoxLayout(observable);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(attempt);
    column->addWidget(button, 0, Qt::AlignLeft);
    return row({notes, observable});
}

QWidget *makeFieldsPage()
{
    auto *page = new QWidget;
    auto *layout = gallery::pageColumn(page);
    layout->addWidget(gallery::caption(tessera::deferredTr(
        "Gallery", "Ready-made text and select fields on the field shell. The frame takes its colours and sizes from the "
                   "theme; hover, focus and error show in the border and the title, helper and error texts under it.")));
    layout->addWidget(gallery::section(tessera::deferredTr("Gallery", "Sizes"), sizes(page)));
    layout->addWidget(gallery::section(tessera::deferredTr("Gallery", "Helper text, error and counter"), lines(page)));
    layout->addWidget(gallery::section(tessera::deferredTr("Gallery", "Disabled, read-only and password"), states(page)));
    layout->addWidget(gallery::section(tessera::deferredTr("Gallery", "Select fields"), selects(page)));
    layout->addWidget(gallery::section(tessera::deferredTr("Gallery", "Multi-line and observable label"), multiline(page)));
    layout->addStretch(1);
    return page;
}

} // namespace

GALLERY_PAGE("fields", 20, tessera::deferredTr("Gallery", "Fields"), makeFieldsPage)
