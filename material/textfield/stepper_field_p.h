#pragma once

// Internal to the spin box field's library and its tests: the field's private
// data, and the class's style memo. Not installed, not API.

#include <tessera/material/textfield/stepper_field.h>

#include <tessera/kit/restyle_p.h>

namespace tessera {

class TESSERA_STEPPER_FIELD_EXPORT StepperFieldPrivate
{
public:
    //! The private data of \a field.
    static StepperFieldPrivate *get(StepperField *field) { return field->d.get(); }

    //! The class's style memo, shared by all its instances and never cleared.
    static const LruMemo<QString> &_styleMemo();
};

} // namespace tessera
