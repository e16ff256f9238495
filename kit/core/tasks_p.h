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
    How long the first slice of queued work serving widgets in view (and the
    hops) may run (wall time) before the event loop gets its turn. Measured
    on the benchmark host (a 1280x800 scroll area of themed fields,
    offscreen, Release): the repaint that follows a slice of restyles in
    view costs one to four times the restyles themselves (QDial most), so
    2 ms of work and its repaint stay well within one 60 Hz frame. The next
    slices in view are sized from what the previous one cost (FrameBudget).
    See docs/performance.md.
*/
inline constexpr std::chrono::microseconds SliceInView{2000};

/*!
    What one slice serving widgets in view and the work Qt does before the
    next one (the repaint, layout requests, timers) may take together, wall
    time: a 60 Hz frame less room for the application's own timers and
    input, and for a repaint that does not grow quite in proportion. A
    slice in view after the first is sized so that it and the same share of
    that work fit, never shorter than SliceInViewMin.
*/
inline constexpr std::chrono::microseconds FrameBudget{10000};

/*!
    A slice in view that runs out of time still finishes the work in view
    when what is left would take at most this share of its budget, judged
    from the time its own items in view took. The repaint between two slices
    costs more than the painting (Qt walks the children of the container,
    all of them, to find what to paint and what is covered): one more slice
    for a short rest would cost a whole frame before the last widget in view
    has its new look.
*/
inline constexpr int InViewTailPercent = 30;

/*!
    The longest first slice in view of a switch, sized from an earlier
    switch's measurement (FrameBudget). A repaint after it that costs four
    times the slice (a window of dials, measured on a lighter one) still
    ends within two 60 Hz frames.
*/
inline constexpr std::chrono::microseconds SliceInViewFirstMax{4000};

//! The shortest slice in view, however costly the repaint between slices.
inline constexpr std::chrono::microseconds SliceInViewMin{1000};

/*!
    The same for a slice that serves only widgets out of view or hidden:
    nothing is repainted after it, and what Qt does between two slices
    (update bookkeeping, layout requests) is about half the slice, so a
    longer slice means fewer of those rounds and still fits one frame.
*/
inline constexpr std::chrono::microseconds SliceOutOfView{8000};

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
