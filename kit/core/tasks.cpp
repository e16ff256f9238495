#include "tasks.h"
#include "tasks_p.h"

#include <QBasicTimer>
#include <QCoreApplication>
#include <QEvent>
#include <QMetaObject>
#include <QPointer>
#include <QRegion>
#include <QSet>
#include <QScopedValueRollback>
#include <QThread>
#include <QTimer>
#include <QTimerEvent>
#include <QWidget>

#include <algorithm>
#include <chrono>

#include <deque>

#include <exception>
#include <optional>
#include <utility>

namespace tessera {

struct Task::Data
{
    enum class Status { Pending, Finished, Failed, Cancelled };
    Status status = Status::Pending;
    QString error;
};

bool Task::done() const { return d && d->status != Data::Status::Pending; }

void Task::cancel()
{
    if (d && d->status == Data::Status::Pending)
        d->status = Data::Status::Cancelled;
}

bool Task::cancelled() const { return d && d->status == Data::Status::Cancelled; }
bool Task::failed() const { return d && d->status == Data::Status::Failed; }
QString Task::error() const { return d ? d->error : QString(); }

namespace {

// Runs a step unless its task was cancelled, and records how it ended.
void runStep(const std::shared_ptr<Task::Data> &data, const std::function<void()> &step)
{
    if (data->status != Task::Data::Status::Pending)
        return;
    try {
        step();
        data->status = Task::Data::Status::Finished;
    } catch (const std::exception &e) {
        data->status = Task::Data::Status::Failed;
        data->error = QString::fromUtf8(e.what());
    } catch (...) {
        data->status = Task::Data::Status::Failed;
        data->error = QStringLiteral("unknown failure");
    }
}

/*
    Whether any of \a rect (in \a widget's coordinates) is left once clipped
    by the widget and by every widget it is in, up to its window: a scroll
    area's rows out of sight are not.
*/
bool showsAny(const QWidget *widget, QRect rect)
{
    for (;;) {
        rect &= widget->rect();
        if (rect.isEmpty())
            return false;
        if (widget->isWindow())
            return true;
        rect.translate(widget->pos());
        widget = widget->parentWidget();
    }
}

/*
    The repaints of restyles, gathered until the scheduler hands them to Qt
    (a batch: one slice's or several). Each is a restyled widget's rectangle
    (where it was and where it is) on its parent.
    Two are left out: a rectangle no part of which can be seen (clipped away
    by an ancestor: Qt paints only what is on screen, and paints the rest
    when it comes into view, as for any widget), and one inside a widget
    that was restyled in the same batch and repaints its whole rectangle
    anyway (a trigger and its label). Either would make a dirty widget of
    its own, and Qt's repaint manager walks, for every dirty widget, all the
    siblings stacked above it and above each of its ancestors: for the
    parent of a label in a container of thousands of fields, thousands of
    siblings.
*/
class PendingRepaints
{
public:
    void add(QWidget *parent, const QRect &was, QWidget *widget)
    {
        const QRect now = widget->geometry();
        if (showsAny(parent, was) || showsAny(parent, now))
            m_pending.append({parent, widget, QRegion(was) + now});
    }

    //! The repaints gathered and not yet handed to Qt.
    qsizetype size() const { return m_pending.size(); }

    //! Hands the first \a count repaints gathered to Qt (all by default).
    void flush(qsizetype count = -1)
    {
        if (count < 0 || count > m_pending.size())
            count = m_pending.size();
        // A widget whose own repaint is still to come (in this batch or a later one) repaints its whole rectangle.
        QSet<const QWidget *> restyled;
        restyled.reserve(m_pending.size());
        for (const Repaint &repaint : std::as_const(m_pending)) {
            if (repaint.widget)
                restyled.insert(repaint.widget);
        }
        const QList<Repaint> batch = m_pending.first(count);
        m_pending.remove(0, count);
        for (const auto &[parent, widget, region] : batch) {
            if (!parent)
                continue;
            bool covered = false;
            for (const QWidget *w = parent; w && !covered && !w->isWindow(); w = w->parentWidget())
                covered = restyled.contains(w);
            if (!covered)
                parent->update(region);
        }
    }

private:
    struct Repaint
    {
        QPointer<QWidget> parent;
        QPointer<QWidget> widget;   // restyled, and repainted whole on its parent
        QRegion region;
    };
    QList<Repaint> m_pending;
};

/*
    Gathers the repaint of a shown widget's restyle on its parent. A style
    change marks the widget and each widget inside it dirty for Qt's repaint
    manager, and before painting, the manager walks, for every dirty widget,
    all the siblings stacked above it in its parent (to subtract those that
    are opaque): in a container of thousands of fields, restyling one field
    in view walked thousands of siblings twice, a cost that grew with the
    container rather than with what is repainted. While the restyle runs, the
    widget's updates are held (as setUpdatesEnabled(false) does); afterwards
    they are given back without the per-widget update() that
    setUpdatesEnabled(true) would make, and the parent repaints the widget's
    rectangle instead (PendingRepaints): one dirty widget per container, the
    same pixels. A widget whose updates were already disabled, a window, a
    native child, or a widget not shown is left alone.
*/
class RepaintOnParent
{
public:
    RepaintOnParent(QObject *context, PendingRepaints &repaints) : m_repaints(repaints)
    {
        if (!context || !context->isWidgetType())
            return;
        auto *widget = static_cast<QWidget *>(context);
        if (widget->isWindow() || !widget->isVisible() || !widget->updatesEnabled() || !widget->parentWidget()
            || widget->testAttribute(Qt::WA_NativeWindow))
            return;
        m_widget = widget;
        m_geometry = widget->geometry();
        widget->setUpdatesEnabled(false);
    }
    ~RepaintOnParent()
    {
        if (!m_widget)
            return;
        m_widget->setAttribute(Qt::WA_ForceUpdatesDisabled, false);
        QWidget *parent = m_widget->parentWidget();
        if (parent && !parent->updatesEnabled())
            return;   // the parent's own setting now holds the widget too, as setUpdatesEnabled(true) leaves it
        enable(m_widget);
        // Where the widget was and where it is: a build may move or resize it.
        if (parent)
            m_repaints.add(parent, m_geometry, m_widget);
        else
            m_widget->update();
    }
    RepaintOnParent(const RepaintOnParent &) = delete;
    RepaintOnParent &operator=(const RepaintOnParent &) = delete;

private:
    // What setUpdatesEnabled(true) does to a widget and the widgets inside it, less the update().
    static void enable(QWidget *widget)
    {
        widget->setAttribute(Qt::WA_UpdatesDisabled, false);
        for (QObject *child : widget->children()) {
            if (!child->isWidgetType())
                continue;
            auto *w = static_cast<QWidget *>(child);
            if (!w->isWindow() && !w->testAttribute(Qt::WA_ForceUpdatesDisabled))
                enable(w);
        }
    }

    PendingRepaints &m_repaints;
    QPointer<QWidget> m_widget;
    QRect m_geometry;
};

/*
    The kit's one queue of deferred work on the GUI thread, and its owner:
    the zero-delay hops of the restyle lifecycle, and every deferred task
    (the themed widgets' style builds among them).

    Order. Work is served by where the user's eye finds its context object:
    widgets in view (shown, and not clipped away by their ancestors, so a
    scroll area's rows out of sight do not count), then shown widgets out of
    view, then hidden ones (other pages, closed dialogs). A context that is
    not a widget counts as in view. Within each group, the order of
    scheduling. A task's place is decided when it is scheduled; a hop's
    (each is a handful of instructions: it schedules a task) when the pass
    after it was queued begins. On that pass the hops in view run first, in
    the order they were queued; the others wait at the end of their group's
    queue and run there like tasks. Nothing is dropped but the work of
    destroyed contexts and cancelled tasks.

    Slices. One pass runs work for a bounded time, Slice (at least one
    item). A run of hops is never split (each only schedules its task, so
    the tasks keep the order of their groups whatever the time), and never
    starts out of view in a slice that served widgets in view; a pass that
    ran hops in view ends with the tasks in view already due, so the builds
    those hops scheduled come before any work of another group. Nor are the
    tasks of a widget and a widget inside it that follow each other split
    (together()). Then it hands the loop back: the next pass is a posted
    event of low priority, so the layout requests the slice made and input
    get their turn before the next slice. After a slice that ran out of time
    (cut, or a pass of thousands of hops that took LongPass), and after a
    pass that ran hops in view, the next one also waits for the timers' turn
    (a zero-delay timer posts it): the event loop hands out posted events
    and timers in alternate rounds, and a posted event alone would let two
    slices run between two timer rounds, which doubled the longest gap a
    timer saw (and Qt's glib loop runs timers only when no posted event is
    waiting). A switch over a handful of widgets runs its hops on the first
    pass and its builds on the next (after the timers' round for widgets in
    view); one over thousands spreads over as many slices as it needs.

    Repaints in batches. The repaints of a slice's restyles in view
    (PendingRepaints) are handed to Qt after the slice, in the timers' round,
    and painted in a turn of the loop of their own; when they would take
    longer than RepaintBatch, estimated from what the last batch cost per
    widget, they go in several batches, one per turn, before the next slice.
    A slice in view ends when its time is up or the work in view is done;
    while the rest of the work in view would be done within InViewTogether
    of the first slice whose repaints wait, its repaints wait for the next
    slice's, so that the widgets in view are repainted together. A
    repaint costs one to four times the restyle it follows (a QDial most),
    and each one also walks all the children of the container: slices sized
    so that each and its repaint fit one frame made a repaint every few
    milliseconds and a gap of slice and repaint together. Before any batch
    has been measured, a slice in view lasts SliceUnmeasured and its repaint
    follows it in the same gap; a short slice (a switch of a handful of
    widgets) repaints with it as well.

    Work queued during a pass never runs in that pass. Each item holds its
    context through a QPointer and is dropped when the context is gone.
*/
class Scheduler : public QObject
{
public:
    using QObject::QObject;

    static Scheduler *instance()
    {
        static QPointer<Scheduler> scheduler;
        if (!scheduler)
            scheduler = new Scheduler(QCoreApplication::instance());   // goes with the application
        return scheduler;
    }

    void addHop(QObject *context, std::function<void()> call) { add(Hops, context, std::move(call), {}, false); }

    void addTask(QObject *context, std::function<void()> step, std::shared_ptr<Task::Data> data, bool restyle)
    {
        add(placeOf(context), context, std::move(step), std::move(data), restyle);
    }

protected:
    void timerEvent(QTimerEvent *event) override
    {
        if (event->timerId() != m_timersTurn.timerId())
            return QObject::timerEvent(event);
        m_timersTurn.stop();
        noteRepaintCost(std::chrono::steady_clock::now());
        if (m_releaseDue)
            releaseRepaints();
        if (m_releasedCount > 0)
            m_timersTurn.start(0, this);   // Qt paints the batch, then the timers' round measures it
        else if (m_size > 0)
            post();
    }

    bool event(QEvent *event) override
    {
        if (event->type() != sliceEventType())
            return QObject::event(event);
        const auto *slice = static_cast<const SliceEvent *>(event);
        if (slice->generation == m_generation)   // a superseded call does nothing
            runSlice();
        return true;
    }

private:
    // The queues, in the order a pass serves them.
    enum Queue { Hops, InView, OutOfView, Hidden, QueueCount };

    struct Pending
    {
        QPointer<QObject> context;
        std::shared_ptr<Task::Data> data;
        std::function<void()> step;
        quint64 pass;
        bool restyle;   // a widget's restyle: its repaint is gathered on its parent
    };

    struct SliceEvent : QEvent
    {
        explicit SliceEvent(quint64 g) : QEvent(sliceEventType()), generation(g) {}
        quint64 generation;
    };

    static QEvent::Type sliceEventType()
    {
        static const auto type = QEvent::Type(QEvent::registerEventType());
        return type;
    }

    static Queue placeOf(QObject *context)
    {
        if (!context->isWidgetType())
            return InView;
        const auto *widget = static_cast<const QWidget *>(context);
        if (!widget->isVisible())
            return Hidden;
        if (!widget->isWindow() && !showsAny(widget->parentWidget(), widget->geometry()))
            return OutOfView;
        return widget->window()->isMinimized() ? OutOfView : InView;
    }

    void add(Queue queue, QObject *context, std::function<void()> step, std::shared_ptr<Task::Data> data, bool restyle)
    {
        m_queues[queue].push_back({context, std::move(data), std::move(step), m_pass, restyle});
        ++m_size;
        if (!m_posted && !m_timersTurn.isActive())
            post();
    }

    // Posts the call for the next pass; an earlier call still pending is superseded.
    void post()
    {
        m_posted = true;
        QCoreApplication::postEvent(this, new SliceEvent(++m_generation), Qt::LowEventPriority);
    }

    void runSlice()
    {
        using Clock = std::chrono::steady_clock;
        m_posted = false;
        const quint64 pass = ++m_pass;
        // With more than one item to run, the next pass's call is posted now:
        // should an item spin a nested event loop (a modal dialog), the rest
        // runs inside it, in order. A slice that ends normally supersedes it
        // with a call posted after the requests the slice made (layout,
        // repaint), so that they are served first.
        if (m_size > 1)
            post();
        const auto start = Clock::now();
        noteRepaintCost(start);
        // Until a batch's repaint has been measured, a slice in view is short
        // and its repaint follows it in the same gap.
        const bool batching = m_repaintPerWidget > 0;
        bool ranOne = false;
        bool servedInView = false;
        bool outOfTime = false;
        QPointer<QObject> last;   // the context of the last item run
        // The hops due: those of widgets in view run now, the others wait in
        // their widget's group. When some ran, this pass ends with the tasks
        // in view already due: the builds those hops scheduled come next,
        // before the hops and tasks of the other groups.
        const bool ranHopsInView = runHopsInView(pass, ranOne, last);
        servedInView = ranHopsInView;
        bool lastWasHop = ranHopsInView;
        int inViewRan = 0;   // items of the group in view run by this slice, since inViewFrom
        Clock::time_point inViewFrom;
        for (int q = InView; q < QueueCount && !outOfTime && !(ranHopsInView && q > InView); ++q) {
            std::deque<Pending> &queue = m_queues[q];
            while (!queue.empty() && queue.front().pass < pass) {
                servedInView = servedInView || q <= InView;
                const auto budget = servedInView && !batching ? Clock::duration(detail::SliceUnmeasured)
                                                              : Clock::duration(detail::Slice);
                // A run of hops is never split: the order of their tasks would then depend on the time.
                // Nor does one out of view start after work in view: its repaints wait for them.
                const bool hop = !queue.front().data;
                if (ranOne && !(hop && lastWasHop) && !together(last, queue.front().context)) {
                    // With repaints in view gathered, the slice ends with the work in view, so that
                    // they are made next.
                    const bool repaintsWait = batching && q > InView && m_repaints.size() > 0;
                    if ((hop && servedInView && q > InView) || Clock::now() - start >= budget || repaintsWait) {
                        outOfTime = true;
                        break;
                    }
                }
                const Pending next = std::move(queue.front());
                queue.pop_front();
                --m_size;
                if (!next.context)
                    continue;
                if (q == InView && inViewRan++ == 0)
                    inViewFrom = Clock::now();
                ranOne = true;
                lastWasHop = hop;
                last = next.context;
                run(next);
            }
        }
        const auto end = Clock::now();
        const auto length = end - start;
        // The repaints gathered: with this slice when nothing has been
        // measured yet or the slice was short (a switch of a handful of
        // widgets repaints as it always did), otherwise in turns of their
        // own, in batches, before the next slice. While the rest of the work
        // in view would be done within InViewTogether of the first slice
        // whose repaints wait (judged from this slice's own items in view),
        // they wait for the next slice's: the widgets in view are then
        // repainted together.
        if (m_repaints.size() > 0) {
            const qsizetype restInView = qsizetype(m_queues[InView].size());
            const bool now = !batching || length < detail::LongPass;
            const Clock::time_point waitingSince = m_repaintsWaitSince.value_or(start);
            const bool wait = !now && restInView > 0 && inViewRan > 0
                && end - waitingSince + (end - inViewFrom) / inViewRan * restInView <= Clock::duration(detail::InViewTogether);
            m_repaintsWaitSince = wait ? std::optional(waitingSince) : std::nullopt;
            if (now)
                releaseRepaints();
            else if (!wait)
                m_releaseDue = true;
        }
        // A pass that was not cut but still held the loop for as long as
        // LongPass (the hops of thousands of new widgets, each scheduling a
        // build) also lets the timers run before the next one, and so does
        // one that ran hops in view: it may share its round of posted events
        // with Qt's own work for a form just shown (a polish and an update
        // request per new widget), and the builds it scheduled belong to a
        // later gap.
        finishSlice(outOfTime || ranHopsInView || length >= detail::LongPass);
    }

    void run(const Pending &item)
    {
        const RepaintOnParent repaint(item.restyle ? item.context.data() : nullptr, m_repaints);
        if (item.data)
            runStep(item.data, item.step);
        else
            item.step();
    }

    /*
        Serves the hops queued before this pass, whatever the time: each only
        schedules its task, and a hop whose context is in view (where the
        context is now, as for a task) runs at once. Any other waits at the
        end of the queue of its context's group and runs, like a task, when
        the pass reaches that group, within the slices' time: the hops of
        thousands of widgets out of view no longer run before the first
        build in view. Returns whether a hop ran.
    */
    bool runHopsInView(quint64 pass, bool &ranOne, QPointer<QObject> &last)
    {
        std::deque<Pending> &hops = m_queues[Hops];
        bool ran = false;
        while (!hops.empty() && hops.front().pass < pass) {
            Pending next = std::move(hops.front());
            hops.pop_front();
            if (!next.context) {
                --m_size;
                continue;
            }
            const Queue place = placeOf(next.context);
            if (place != InView) {
                m_queues[place].push_back(std::move(next));
                continue;
            }
            --m_size;
            ran = ranOne = true;
            last = next.context;
            run(next);
        }
        return ran;
    }

    /*
        Whether two items run in one slice whatever its time: those of a
        widget and a widget inside it (a trigger and its label), so that the
        parts of one widget take their new look in the same frame and the
        layout request the new look posts is answered once.
    */
    static bool together(const QObject *previous, const QObject *next)
    {
        if (!previous || !next || !previous->isWidgetType() || !next->isWidgetType())
            return false;
        const auto *a = static_cast<const QWidget *>(previous);
        const auto *b = static_cast<const QWidget *>(next);
        return a->isAncestorOf(b) || b->isAncestorOf(a);
    }

    /*
        Hands the next batch of the repaints gathered to Qt: as many as
        RepaintBatch holds, estimated from what the last batch cost per
        widget (all of them before any measurement). The turn after it
        measures what it cost.
    */
    void releaseRepaints()
    {
        qsizetype count = m_repaints.size();
        if (m_repaintPerWidget > 0)
            count = std::clamp(qsizetype(std::chrono::duration<double>(detail::RepaintBatch).count() / m_repaintPerWidget),
                               qsizetype(1), count);
        m_repaints.flush(count);
        m_releaseDue = m_repaints.size() > 0;
        m_releasedCount = count;
        m_releasedAt = std::chrono::steady_clock::now();
    }

    /*
        What the last batch's repaint cost per widget: the time from handing
        it to Qt to the next turn of the scheduler, in which Qt painted it.
        A window's repaints cost about the same from one switch to the next.
    */
    void noteRepaintCost(std::chrono::steady_clock::time_point now)
    {
        if (m_releasedCount <= 0)
            return;
        m_repaintPerWidget = std::chrono::duration<double>(now - m_releasedAt).count() / double(m_releasedCount);
        m_releasedCount = 0;
    }

    void finishSlice(bool waitForTimers)
    {
        if (m_posted) {
            ++m_generation;   // the early call, if any, will find nothing to do
            m_posted = false;
        }
        const bool repaints = m_releaseDue || m_releasedCount > 0;   // a batch due, or one to measure
        if (m_size == 0 && !repaints)
            return;
        if (waitForTimers || repaints)
            m_timersTurn.start(0, this);   // the timers' round first, then the repaints or the next slice
        else
            post();
    }

    std::deque<Pending> m_queues[QueueCount];
    PendingRepaints m_repaints;
    std::size_t m_size = 0;
    quint64 m_pass = 0;
    quint64 m_generation = 0;   // of the call that runs the next slice
    bool m_posted = false;
    QBasicTimer m_timersTurn;   // the next slice, or a batch of repaints, waits for the timers' round
    // While the repaints gathered wait for the next slice's (InViewTogether): the start of the first slice that waits.
    std::optional<std::chrono::steady_clock::time_point> m_repaintsWaitSince;
    bool m_releaseDue = false;  // a batch of repaints is handed to Qt in the timers' round, in a turn of its own
    qsizetype m_releasedCount = 0;   // repaints handed to Qt and not yet measured
    std::chrono::steady_clock::time_point m_releasedAt;
    double m_repaintPerWidget = 0;   // seconds, the last batch's repaint per widget (0: not measured)
};

bool onGuiThread(const QObject *context)
{
    const QCoreApplication *app = QCoreApplication::instance();
    return app && context->thread() == app->thread() && QThread::currentThread() == app->thread();
}

// Set while restyleLater() schedules its step through runLater(), the one
// function that may make a Task's data (Task's friend in the public header).
thread_local bool schedulingRestyle = false;

} // namespace

Task runLater(QObject *context, std::function<void()> step)
{
    Task task;
    task.d = std::make_shared<Task::Data>();
    if (onGuiThread(context)) {
        Scheduler::instance()->addTask(context, std::move(step), task.d, schedulingRestyle);
        return task;
    }
    // Another thread's object: a queued call to a functor with a context object
    // is posted to that object, and Qt drops it when the object is destroyed first.
    QMetaObject::invokeMethod(
        context, [data = task.d, step = std::move(step)] { runStep(data, step); }, Qt::QueuedConnection);
    return task;
}

namespace detail {

void nextPass(QObject *context, std::function<void()> call)
{
    if (onGuiThread(context))
        Scheduler::instance()->addHop(context, std::move(call));
    else
        QTimer::singleShot(0, context, std::move(call));
}

Task restyleLater(QWidget *widget, std::function<void()> step)
{
    const QScopedValueRollback<bool> restyle(schedulingRestyle, true);
    return runLater(widget, std::move(step));
}

} // namespace detail

} // namespace tessera
