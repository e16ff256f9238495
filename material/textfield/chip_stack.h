#pragma once

#include <tessera/kit/options.h>
#include <tessera/kit/state.h>
#include <tessera/material/textfield/chip_stack_export.h>

#include <QFrame>
#include <QVariantList>
#include <QVariantMap>

#include <memory>

class QLayout;

namespace tessera {

class ChipStackPrivate;

/*!
    A frame that shows the widgets held by a State, stacked from the top, and
    rebuilds the stack every time the State's value changes. The value may be
    a list of widgets, a single widget or a callable that makes one; anything
    else shows nothing.

    \code
    auto *a = new QLabel("a"), *b = new QLabel("b");
    auto *chips = new tessera::State(tessera::widgetListValue({a, b}));
    auto *stack = new tessera::ChipStack({.content = chips});
    chips->setValue(tessera::widgetListValue({b, new QLabel("c")}));   // b moves up, a is deleted
    \endcode

    The stack owns what it shows. A rebuild stacks again, the same instances
    in the new order, the widgets that the new value still holds, and deletes
    the others once the event loop turns (deleteLater() semantics), unless a
    later value holds them again by then. PyLineEditMultiple is never deleted
    by the stack: when a value no longer holds it, it is only taken out of the
    stack, stays a child of the frame (neither hidden nor re-parented) and is
    shown again, the same instance, when a later value holds it.

    Accepted values, tested in this order:
    - a list: WidgetList (guarded pointers; the kind widgetListValue() makes),
      QList<QWidget*>, or a QVariantList whose widget elements are shown and
      whose other elements are skipped;
    - a widget: QPointer<QWidget> (widgetValue()) or a QWidget pointer;
    - a callable: WidgetFactory (widgetFactoryValue()) or a function
      returning a QVariant holding a widget; it is called once per rebuild.

    A State value may outlive the widgets it names (the stack deletes them
    itself). A widget that no longer exists is skipped and never touched:
    guarded pointers read as null, and plain pointers are shown only when they
    still name a living widget. Prefer the guarded kinds. The frame itself and
    the widgets that contain it are never put into the stack.

    A widget held twice is stacked once, at its first place. A rebuild that
    fails (a callable that throws) ends quietly: the stack shows what the value
    had yielded up to that point, and the next change rebuilds it.
*/
class TESSERA_CHIP_STACK_EXPORT ChipStack : public QFrame
{
    Q_OBJECT
public:
    //! The stack's options.
    struct Options
    {
        //! Stored only; a flag or a State holding one.
        StateOr<bool> hidden = {};
        //! Required: the State whose value is shown.
        State *content = nullptr;
        //! Stored only.
        Sx sx = {};
        //! Further positional and named options are accepted and ignored.
        QVariantList args = {};
        QVariantMap kwargs = {};   //!< Accepted and ignored.
    };

    /*!
        An empty stack that shows a State of its own (a child of the stack,
        holding none): set content()->setValue(...) to fill it. This is what
        Designer and uic build.
    */
    explicit ChipStack(QWidget *parent = nullptr);
    //! Throws OptionError naming "content" when no State is given; nothing is built then.
    explicit ChipStack(const Options &options, QWidget *parent = nullptr);
    ~ChipStack() override;

    //! The State whose value the stack shows (its own one when none was given).
    State *content() const;

protected:
    //! Clears the stack and shows the current value of _content.
    void _render_ui();
    /*!
        Empties \a layout. The widgets in \a kept and PyLineEditMultiple widgets
        are only taken out; every other widget is deleted once the event loop
        turns, unless the stack holds it again by then or it has left the frame.
    */
    void clear_layout(QLayout *layout, const QList<QWidget *> &kept = {});

private:
    Q_DISABLE_COPY(ChipStack)
    friend class ChipStackPrivate;
    std::unique_ptr<ChipStackPrivate> const d;
};

} // namespace tessera
