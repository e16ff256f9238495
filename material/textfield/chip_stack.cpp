#include "chip_stack_p.h"

#include <tessera/kit/line_edit_multiple.h>
#include <tessera/kit/registry.h>

#include <QApplication>
#include <QHash>
#include <QLayout>
#include <QVBoxLayout>

namespace tessera {

namespace {

// The frame is built only once its content State is known to exist.
QWidget *requireContent(const ChipStack::Options &options, QWidget *parent)
{
    if (!options.content)
        throw OptionError(QStringLiteral("content"), QStringLiteral("a ChipStack needs a State to show"));
    return parent;
}

// Plain widget pointers kept in a value may name widgets that are gone. They
// are compared by address with the widgets that are alive, and only a match is
// used; a stale pointer is never dereferenced. The table is built on first use,
// once per rebuild.
class LivingWidgets
{
public:
    QWidget *find(const void *address)
    {
        if (!address)
            return nullptr;
        if (!m_built) {
            const QWidgetList all = QApplication::allWidgets();
            m_widgets.reserve(all.size());
            for (QWidget *w : all)
                m_widgets.insert(static_cast<const void *>(w), w);
            m_built = true;
        }
        return m_widgets.value(address, nullptr);
    }

private:
    QHash<const void *, QWidget *> m_widgets;
    bool m_built = false;
};

// The object address stored in a QVariant of any QObject-pointer type, read
// without converting (a conversion would ask the object for its meta-object).
const void *storedObject(const QVariant &value)
{
    if (!(value.metaType().flags() & QMetaType::PointerToQObject))
        return nullptr;
    return *static_cast<QObject *const *>(value.constData());
}

// A single widget held by a value (a guarded or a plain pointer), or nullptr.
bool singleWidget(const QVariant &value, LivingWidgets &living, QWidget **out)
{
    if (value.metaType() == QMetaType::fromType<QPointer<QWidget>>()) {
        *out = value.value<QPointer<QWidget>>().data();
        return true;
    }
    if (value.metaType().flags() & QMetaType::PointerToQObject) {
        *out = living.find(storedObject(value));
        return true;
    }
    return false;
}

// The widgets one rebuild let go. Deleted with deleteLater() at the rebuild, it
// deletes them in turn, once the event loop turns, except those that a later
// rebuild has stacked again meanwhile and those that have left the frame
// (another stack showing the same State took them). A child of the frame: it
// goes with it.
class LetGo : public QObject
{
public:
    LetGo(QWidget *frame, QList<QPointer<QWidget>> widgets) : QObject(frame), m_widgets(std::move(widgets)) {}
    ~LetGo() override
    {
        // The frame's layout is gone when the frame itself is being destroyed:
        // then nothing is held and every widget of the frame goes.
        const auto *frame = static_cast<QWidget *>(parent());
        const QLayout *stack = frame->layout();
        for (const QPointer<QWidget> &widget : std::as_const(m_widgets)) {
            if (widget && widget->parentWidget() == frame && !(stack && stack->indexOf(widget) >= 0))
                delete widget.data();
        }
    }

private:
    QList<QPointer<QWidget>> m_widgets;
};

} // namespace

ChipStack::ChipStack(QWidget *parent) : ChipStack(Options{.content = new State}, parent)
{
    // The stack owns the State it made for itself.
    d->_content->setParent(this);
}

ChipStack::ChipStack(const Options &options, QWidget *parent)
    : QFrame(requireContent(options, parent)), d(std::make_unique<ChipStackPrivate>())
{
    d->_hidden = options.hidden;
    d->_content = options.content;
    d->_sx = options.sx;
    setObjectName(newObjectName());

    auto *stack = new QVBoxLayout;
    setLayout(stack);
    stack->setAlignment(Qt::AlignTop);
    stack->setContentsMargins(0, 0, 0, 0);

    d->subscriptions << connect(d->_content.data(), &State::valueChanged, this, &ChipStack::_render_ui);
    _render_ui();
}

ChipStack::~ChipStack()
{
    // Qt destroys the stacked widgets after this destructor; one of them may
    // set the content State meanwhile, which must no longer rebuild the stack.
    d->subscriptions.release();
}

State *ChipStack::content() const
{
    return d->_content.data();
}

void ChipStack::clear_layout(QLayout *layout, const QList<QWidget *> &kept)
{
    QList<QPointer<QWidget>> letGo;
    while (layout->count() != 0) {
        QLayoutItem *item = layout->takeAt(0);
        if (!item)
            break;
        QWidget *widget = item->widget();
        delete item;
        if (widget && !kept.contains(widget) && !qobject_cast<PyLineEditMultiple *>(widget))
            letGo.append(widget);
    }
    if (!letGo.isEmpty())
        (new LetGo(this, std::move(letGo)))->deleteLater();
}

void ChipStack::_render_ui()
{
    QLayout *stack = layout();
    // The widgets the value holds, in order, each once. A callable that throws
    // ends the list there: what was found up to then is stacked.
    QList<QWidget *> wanted;
    try {
        const State *content = d->_content.data();
        const QVariant value = content ? content->value() : QVariant();
        LivingWidgets living;
        const auto add = [&](QWidget *widget) {
            // Putting the frame, or a widget that contains it, inside itself
            // would make the widget tree a cycle.
            if (!widget || widget == this || widget->isAncestorOf(this) || wanted.contains(widget))
                return;
            wanted.append(widget);
        };

        const QMetaType type = value.metaType();
        if (!value.isValid() || value.isNull()) {
            // none shows nothing
        } else if (type == QMetaType::fromType<WidgetList>()) {
            for (const QPointer<QWidget> &widget : value.value<WidgetList>())
                add(widget.data());
        } else if (type == QMetaType::fromType<QList<QWidget *>>()) {
            for (QWidget *widget : value.value<QList<QWidget *>>())
                add(living.find(static_cast<const void *>(widget)));
        } else if (type.id() == QMetaType::QVariantList) {
            for (const QVariant &element : value.toList()) {
                QWidget *widget = nullptr;
                if (singleWidget(element, living, &widget))
                    add(widget);
            }
        } else if (QWidget *widget = nullptr; singleWidget(value, living, &widget)) {
            add(widget);
        } else if (type == QMetaType::fromType<WidgetFactory>()) {
            if (const WidgetFactory factory = value.value<WidgetFactory>())
                add(factory());
        } else if (type == QMetaType::fromType<Sx::Function>()) {
            if (const Sx::Function factory = value.value<Sx::Function>()) {
                QWidget *widget = nullptr;
                if (singleWidget(factory(), living, &widget))
                    add(widget);
            }
        }
        // Any other value (a text, a number, a mapping) shows nothing.
    } catch (...) {
        // A failed rebuild ends here; what was found so far is stacked.
    }

    // Widgets the value still holds are taken out and stacked again, the same
    // instances; the others are deleted once the event loop turns.
    try {
        clear_layout(stack, wanted);
        for (QWidget *widget : std::as_const(wanted))
            stack->addWidget(widget);
    } catch (...) {
        // Out of memory: the rebuild ends; it never unwinds into the State's caller.
    }
}

} // namespace tessera

namespace {

QWidget *createChipStack(const QVariantMap &options)
{
    using namespace tessera;
    ChipStack::Options o;
    if (!options.value(QStringLiteral("hidden")).isNull())
        o.hidden = option::flagOrState(options, QStringLiteral("hidden"));
    o.content = option::state(options, QStringLiteral("content"));
    o.sx = option::sx(options);
    o.kwargs = option::rest(options, {QStringLiteral("hidden"), QStringLiteral("content"), QStringLiteral("sx")});
    return new ChipStack(o);
}

} // namespace

TESSERA_REGISTER_MODULE("tessera.material.textfield.chip_stack", ChipStack, createChipStack)
