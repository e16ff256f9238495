#pragma once

// Kit-internal: not installed, not part of the API.

#include <QObject>

#include <chrono>
#include <functional>

namespace tessera::detail {

/*!
    How long one slice of queued work may run (wall time) before the event
    loop gets its turn, while the slice serves widgets in view (and the
    hops). Measured on the benchmark host (a 1280x800 scroll area of themed
    fields, offscreen, Release): the repaint a slice of restyles in view
    causes costs two to four times the restyles themselves (QDial most), so
    2 ms of work and its repaint stay within one 60 Hz frame (16.7 ms).
    See docs/performance.md.
*/
inline constexpr std::chrono::microseconds SliceInView{2000};

/*!
    The same for a slice that serves only widgets out of view or hidden:
    nothing is repainted after it, and what Qt does between two slices
    (update bookkeeping, layout requests) is about half the slice, so a
    longer slice means fewer of those rounds and still fits one frame.
*/
inline constexpr std::chrono::microseconds SliceOutOfView{8000};

/*!
    Calls \a call on the next pass of the GUI event loop, before any task of
    that pass, never inside this call and never once \a context is gone.
    This is the zero-delay hop of the restyle lifecycle; calls queued during
    one pass run in the order they were queued. Objects of other threads get
    a QTimer::singleShot(0).
*/
void nextPass(QObject *context, std::function<void()> call);

} // namespace tessera::detail
