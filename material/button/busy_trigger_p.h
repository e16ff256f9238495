#pragma once

// Internal to the busy trigger's library, its tests and benchmarks: the
// trigger's private data. Not installed, not API.

#include <tessera/material/button/busy_trigger.h>

#include <tessera/kit/restyle_p.h>
#include <tessera/kit/subscriptions.h>

#include <QMetaObject>

class QHBoxLayout;

namespace tessera {

class TESSERA_BUSY_TRIGGER_EXPORT BusyTriggerPrivate
{
public:
    //! The private data of \a trigger.
    static BusyTriggerPrivate *get(BusyTrigger *trigger) { return trigger->d.get(); }
    static const BusyTriggerPrivate *get(const BusyTrigger *trigger) { return trigger->d.get(); }

    //! The template memo shared by every BusyTrigger (and subclass) instance.
    static const LruMemo<QString> &_stylesheetMemo();

    // The options, held as given (a State as the State itself).
    QVariantMap _kwargs;                   // the further named options, kept whole
    QVariant _text;                        // the "text" entry of _kwargs; invalid when absent
    QString _variant;
    QString _size;
    QString _color;
    Sx _sx;
    StateOr<bool> _loading;                // a flag or a State
    QString _loadingPosition;              // "start" puts the icon before the label
    StateOr<QVariant> _loadingIndicator;   // the label text when no "text" is given

    QHBoxLayout *row = nullptr;
    // The loading State's connection (replaced by a plain write) and the
    // label's; released first in the destructor.
    Subscriptions subscriptions;
    QMetaObject::Connection loadingConnection;
    bool loadingShown = false;
};

} // namespace tessera
