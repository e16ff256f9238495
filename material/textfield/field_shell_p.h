#pragma once

// Internal to the field shell's library (FieldShell and the ready-made
// fields' frame) and its tests: the shell's private data. Not installed, not
// API; a derived field reads the options through FieldShell's protected
// accessors.

#include <tessera/material/textfield/field_shell.h>

#include <tessera/kit/subscriptions.h>

#include <QMetaObject>

namespace tessera {

class FieldShellPrivate
{
public:
    //! The private data of \a shell.
    static FieldShellPrivate *get(FieldShell *shell) { return shell->d.get(); }

    // The options, held unchanged (a State as the State itself), declared in
    // the order in which they are stored.
    std::optional<WidgetList> _children;   // the editor widgets, guarded
    bool _disabled = false;
    bool _multiple = false;
    bool _multiline = false;
    FieldShell::RenderTags _renderTags;
    StateOr<bool> _hovered;
    bool _hiddenLabel = false;
    StateOr<bool> _focused;
    StateOr<QString> _label;
    QString _size;
    Sx _sx;
    StateOr<QVariant> _value;   // kept for derived classes

    bool initialized = false;   // _init_ui() has run
    bool error = false;         // the error look
    // The hovered and focused States and the language switch: released first
    // in the destructor.
    Subscriptions subscriptions;
    // The label State's connection, replaced when a plain label is written.
    QMetaObject::Connection labelConnection;
};

} // namespace tessera
