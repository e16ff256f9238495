#pragma once

// Internal to the dial field's library and its tests: the field's private
// data, and the class's style memo. Not installed, not API.

#include <tessera/material/textfield/knob_field.h>

#include <tessera/kit/restyle_p.h>

namespace tessera {

class TESSERA_KNOB_FIELD_EXPORT KnobFieldPrivate
{
public:
    //! The private data of \a field.
    static KnobFieldPrivate *get(KnobField *field) { return field->d.get(); }

    //! The class's style memo, shared by all its instances and never cleared.
    static const LruMemo<QString> &_styleMemo();
};

} // namespace tessera
