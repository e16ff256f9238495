#pragma once

// Kit-internal: not installed, not part of the API.

#include <QObject>

#include <functional>

namespace tessera::detail {

/*!
    A zero-delay single shot bound to \a context: \a call runs on the next
    pass of the event loop, never inside this call, and never once \a context
    has been destroyed. This is what QTimer::singleShot(0, context, call)
    does, except that on the GUI thread every call queued during one pass
    shares one posted event, run in the order the calls were queued. The
    themed widgets start one per widget on every theme switch.
*/
void zeroDelay(QObject *context, std::function<void()> call);

} // namespace tessera::detail
