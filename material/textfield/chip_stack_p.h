#pragma once

// Internal to the chip stack's library and its tests: the stack's private
// data. Not installed, not API.

#include <tessera/material/textfield/chip_stack.h>

#include <tessera/kit/subscriptions.h>

#include <QPointer>

namespace tessera {

class ChipStackPrivate
{
public:
    //! The private data of \a stack.
    static ChipStackPrivate *get(ChipStack *stack) { return stack->d.get(); }

    StateOr<bool> _hidden;      // the hidden option (stored only)
    QPointer<State> _content;   // the State whose value is shown
    Sx _sx;                     // the sx option (stored only)

    // The content State's connection: released first in the destructor.
    Subscriptions subscriptions;
};

} // namespace tessera
