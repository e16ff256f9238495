#include "select_field.h"

#include "field_frame_p.h"

#include <tessera/kit/registry.h>

#include <QComboBox>
#include <QStringList>

namespace tessera {

namespace {

QList<SelectField::Item> itemsFrom(const QVariantList &entries, const QString &option)
{
    QList<SelectField::Item> items;
    items.reserve(entries.size());
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const QVariant &entry = entries.at(i);
        if (entry.typeId() == QMetaType::QString) {
            items.append(SelectField::Item(entry.toString()));
            continue;
        }
        if (entry.typeId() == QMetaType::QVariantList || entry.typeId() == QMetaType::QStringList) {
            const QVariantList pair = entry.toList();
            if (pair.size() == 2 && pair.first().typeId() == QMetaType::QString) {
                items.append(SelectField::Item(pair.first().toString(), pair.last()));
                continue;
            }
        }
        throw OptionError(option, QStringLiteral("item %1 is neither a text nor a (text, data) pair").arg(i));
    }
    return items;
}

int indexOfText(const QList<SelectField::Item> &items, const QString &text)
{
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (items.at(i).text == text)
            return int(i);
    }
    return -1;
}

void checkIndex(int index, qsizetype count, const QString &option)
{
    if (index < -1 || index >= count)
        throw OptionError(option, QStringLiteral("no item %1 (the field has %2)").arg(index).arg(count));
}

// The index the options select (nullopt: the combo box's own choice); throws
// when the index or the text names no item, or the two disagree.
std::optional<int> chosenIndex(const SelectField::Options &options)
{
    std::optional<int> index = options.currentIndex;
    if (index)
        checkIndex(*index, options.items.size(), QStringLiteral("currentIndex"));
    if (!options.currentText.isEmpty()) {
        const int byText = indexOfText(options.items, options.currentText);
        if (byText < 0)
            throw OptionError(QStringLiteral("currentText"), QStringLiteral("no item \"%1\"").arg(options.currentText));
        if (index && *index != byText)
            throw OptionError(QStringLiteral("currentText"), QStringLiteral("names another item than currentIndex"));
        index = byText;
    }
    return index;
}

QWidget *checked(const SelectField::Options &options, QWidget *parent)
{
    chosenIndex(options);
    detail::checkThemeSize(options.size, QStringLiteral("size"));
    return parent;
}

} // namespace

class SelectFieldPrivate
{
public:
    explicit SelectFieldPrivate(SelectField *q) : q(q), combo(new QComboBox) {}

    void fill(const QList<SelectField::Item> &items);
    //! Announces index and text changes, once each, after the combo box settled.
    void announce();

    SelectField *const q;
    QComboBox *combo;
    detail::FieldFrame *frame = nullptr;
    QList<SelectField::Item> items;
    int lastIndex = -1;
    QString lastText;
    bool filling = false;
};

void SelectFieldPrivate::fill(const QList<SelectField::Item> &list)
{
    filling = true;
    items = list;
    combo->clear();
    for (const SelectField::Item &item : list)
        combo->addItem(item.text, item.data);
    filling = false;
}

void SelectFieldPrivate::announce()
{
    if (filling)
        return;
    const int index = combo->currentIndex();
    const QString text = combo->currentText();
    if (index != lastIndex) {
        lastIndex = index;
        Q_EMIT q->currentIndexChanged(index);
    }
    if (text != lastText) {
        lastText = text;
        Q_EMIT q->currentTextChanged(text);
    }
}

SelectField::SelectField(QWidget *parent) : SelectField(Options(), parent) {}

SelectField::SelectField(const Options &options, QWidget *parent)
    : QWidget(checked(options, parent)), d(std::make_unique<SelectFieldPrivate>(this))
{
    d->frame = new detail::FieldFrame(this, d->combo, {}, options.size, options.sx, false);
    setFocusProxy(d->combo);
    setFocusPolicy(d->combo->focusPolicy());

    detail::FieldFrame *frame = d->frame;
    connect(frame, &detail::FieldFrame::fieldLabelChanged, this, &SelectField::labelChanged);
    connect(frame, &detail::FieldFrame::placeholderChanged, this, &SelectField::placeholderChanged);
    connect(frame, &detail::FieldFrame::helperTextChanged, this, &SelectField::helperTextChanged);
    connect(frame, &detail::FieldFrame::fieldErrorChanged, this, &SelectField::errorChanged);
    connect(frame, &detail::FieldFrame::fieldDisabledChanged, this, &SelectField::disabledChanged);
    frame->setLabel(options.label);
    // The placeholder goes first: with one, a new list starts with no item selected.
    frame->setPlaceholder(options.placeholder);
    frame->setHelperText(options.helperText);
    frame->setErrorText(options.error);

    d->fill(options.items);
    // Without a chosen item: the first one, or none while there is a placeholder.
    const std::optional<int> index = chosenIndex(options);
    d->combo->setCurrentIndex(index ? *index : frame->placeholder().isEmpty() ? 0 : -1);
    d->lastIndex = d->combo->currentIndex();
    d->lastText = d->combo->currentText();
    connect(d->combo, &QComboBox::currentIndexChanged, this, [this] { d->announce(); });
    if (options.disabled)
        setEnabled(false);
}

SelectField::~SelectField()
{
    // The combo box reports its index while it is torn down; nothing is listening by then.
    d->combo->disconnect(this);
}

QString SelectField::label() const { return d->frame->label(); }
void SelectField::setLabel(const QString &label) { d->frame->setLabel(label); }

QVariantList SelectField::items() const
{
    QVariantList out;
    out.reserve(d->items.size());
    for (const Item &item : std::as_const(d->items)) {
        if (item.data.isValid())
            out.append(QVariant(QVariantList{item.text, item.data}));
        else
            out.append(item.text);
    }
    return out;
}

void SelectField::setItems(const QVariantList &items) { setItemList(itemsFrom(items, QStringLiteral("items"))); }

QList<SelectField::Item> SelectField::itemList() const { return d->items; }

void SelectField::setItemList(const QList<Item> &items)
{
    if (items == d->items)
        return;
    d->fill(items);
    // A new list is selected from as a new QComboBox would: the first item, or
    // none while there is a placeholder.
    if (!d->frame->placeholder().isEmpty())
        d->combo->setCurrentIndex(-1);
    Q_EMIT itemsChanged();
    d->announce();
}

int SelectField::currentIndex() const { return d->combo->currentIndex(); }

void SelectField::setCurrentIndex(int index)
{
    checkIndex(index, d->items.size(), QStringLiteral("currentIndex"));
    d->combo->setCurrentIndex(index);
}

QString SelectField::currentText() const { return d->combo->currentText(); }

void SelectField::setCurrentText(const QString &text)
{
    const int index = text.isEmpty() ? -1 : indexOfText(d->items, text);
    if (index < 0 && !text.isEmpty())
        throw OptionError(QStringLiteral("currentText"), QStringLiteral("no item \"%1\"").arg(text));
    d->combo->setCurrentIndex(index);
}

QVariant SelectField::currentData() const { return d->combo->currentData(); }

QString SelectField::placeholder() const { return d->frame->placeholder(); }
void SelectField::setPlaceholder(const QString &placeholder) { d->frame->setPlaceholder(placeholder); }
QString SelectField::helperText() const { return d->frame->helperText(); }
void SelectField::setHelperText(const QString &text) { d->frame->setHelperText(text); }
QString SelectField::error() const { return d->frame->errorText(); }
void SelectField::setError(const QString &error) { d->frame->setErrorText(error); }

QString SelectField::themeSize() const { return d->frame->fieldSize(); }

void SelectField::setThemeSize(const QString &size)
{
    if (d->frame->setFieldSize(size, QStringLiteral("themeSize")))
        Q_EMIT themeSizeChanged(size);
}

Sx SelectField::sx() const { return d->frame->callerSx(); }

void SelectField::setSx(const Sx &sx)
{
    if (d->frame->setCallerSx(sx))
        Q_EMIT sxChanged();
}

QWidget *SelectField::editor() const { return d->combo; }

namespace {

std::optional<int> optionalIndex(const QVariantMap &options)
{
    const QVariant value = options.value(QStringLiteral("currentIndex"));
    if (!value.isValid() || value.isNull())
        return std::nullopt;
    return detail::intOption(options, QStringLiteral("currentIndex"), -1);
}

QList<SelectField::Item> itemsOption(const QVariantMap &options)
{
    const QVariant value = options.value(QStringLiteral("items"));
    if (!value.isValid() || value.isNull())
        return {};
    if (value.typeId() == QMetaType::QStringList || value.typeId() == QMetaType::QVariantList)
        return itemsFrom(value.toList(), QStringLiteral("items"));
    throw OptionError(QStringLiteral("items"), QStringLiteral("expected a list of texts or (text, data) pairs, got %1")
                                                   .arg(QString::fromLatin1(value.metaType().name())));
}

QWidget *createSelectField(const QVariantMap &options)
{
    // Every option is converted before the widget exists.
    SelectField::Options o;
    detail::sharedOptions(o, options);
    o.items = itemsOption(options);
    o.currentIndex = optionalIndex(options);
    o.currentText = option::text(options, QStringLiteral("currentText"));
    return new SelectField(o, option::widget(options, QStringLiteral("parent")));
}

} // namespace

TESSERA_REGISTER_MODULE("tessera.material.textfield.select_field", SelectField, createSelectField)

} // namespace tessera
