#pragma once

// Kit-internal: not installed, not part of the API.

#include <tessera/kit/tasks.h>

#include <QObject>

#include <chrono>
#include <functional>

QT_BEGIN_NAMESPACE
class QWidget;
QT_END_NAMESPACE

namespace tessera::detail {

/*!
    How long one pass of queued work may run (wall time) before the event
    loop gets its turn: Qt's bookkeeping between two passes (layout requests)
    is about half as long again, and the two stay within one 60 Hz frame with
    room for the application's timers and input. The repaints of a slice in
    view follow it in turns of their own (RepaintBatch). See
    docs/performance.md.
*/
inline constexpr std::chrono::microseconds Slice{8000};

/*!
    How long the repaint of one batch of restyled widgets in view may take,
    estimated from what the last batch cost per widget. The repaints of a
    slice are handed to Qt after it, in batches painted in a turn of the
    loop each, so that each fits one frame too: a QDial repaints in about
    four times its restyle, and the dials a slice restyles are repainted in
    several batches.
*/
inline constexpr std::chrono::microseconds RepaintBatch{8000};

/*!
    How long the repaints of widgets in view may wait for the rest of the
    work in view, from the start of the first slice whose repaints wait to
    the estimated end of that work (estimated from the time of each slice's
    own items in view): a view whose restyles are done within it is
    repainted once, after its last slice (in batches, RepaintBatch), about
    two frames after its first restyle at most. A larger view is repainted after each slice, so that the user
    sees it change, until its rest fits. Each repaint of widgets in view
    also repaints their container and walks all its children: repainting a
    view of a hundred fields after each of its three slices cost more than
    the plain loop's one repaint, and painted it no sooner.
*/
inline constexpr std::chrono::microseconds InViewTogether{32000};

/*!
    The slice serving widgets in view before any batch's repaint has been
    measured: its repaint follows it in the same gap, and costs one to four
    times the restyles.
*/
inline constexpr std::chrono::microseconds SliceUnmeasured{2000};

/*!
    A pass that held the loop this long lets the timers run before the next
    one, as a slice cut short does.
*/
inline constexpr std::chrono::microseconds LongPass{1000};

/*!
    Calls \a call on a later pass of the GUI event loop, never inside this
    call and never once \a context is gone. This is the zero-delay hop of
    the restyle lifecycle. On the next pass, calls whose context is in view
    run before any task, in the order they were queued; the others run with
    the work of their context's group (out of view, hidden), in order, so
    that the builds in view start before the hops of thousands of widgets
    out of view. Objects of other threads get a QTimer::singleShot(0).
*/
void nextPass(QObject *context, std::function<void()> call);

/*!
    runLater() for a step that restyles \a widget (its style build): the
    same queue and order, and while the step runs the widget's repaint is
    gathered on its parent, so that restyling fields in a container of
    thousands does not make Qt's repaint walk the container once per field.
    The step must not spin an event loop (the widget does not repaint while
    it runs).
*/
Task restyleLater(QWidget *widget, std::function<void()> step);

} // namespace tessera::detail
