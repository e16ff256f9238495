#include "tasks.h"
#include "tasks_p.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QPointer>
#include <QThread>
#include <QTimer>

#include <deque>

#include <exception>

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
    A queue of calls for the next pass of the GUI event loop. Every call
    queued during one pass waits behind a single posted call, which runs them
    in the order they were queued on the next pass. A theme switch queues one
    zero-delay call and then one deferred task per themed widget: one posted
    event for all of them costs less than one each (Qt allocates the event
    and wakes the event dispatcher for every post), and keeps Qt's queue of
    posted events short.

    A call queued while the queue runs waits for the next pass, so nothing
    ever runs in the pass that queued it. Each call holds its context through
    a QPointer and is dropped when the context is gone. There are two queues:
    the zero-delay calls and the deferred tasks.
*/
class PassQueue : public QObject
{
public:
    using QObject::QObject;

    static PassQueue *zeroDelay() { return instance(0); }
    static PassQueue *tasks() { return instance(1); }

    //! Queues \a step; with \a data, the step runs as that task (see runStep()).
    void add(QObject *context, std::function<void()> step, std::shared_ptr<Task::Data> data = {})
    {
        m_pending.push_back({context, std::move(data), std::move(step), m_pass});
        if (!m_posted) {
            m_posted = true;
            QMetaObject::invokeMethod(this, &PassQueue::runPending, Qt::QueuedConnection);
        }
    }

private:
    struct Pending
    {
        QPointer<QObject> context;
        std::shared_ptr<Task::Data> data;
        std::function<void()> step;
        quint64 pass;
    };

    static PassQueue *instance(int which)
    {
        static QPointer<PassQueue> queues[2];
        if (!queues[which])
            queues[which] = new PassQueue(QCoreApplication::instance());   // goes with the application
        return queues[which];
    }

    void runPending()
    {
        const quint64 pass = ++m_pass;
        // With more than one call to run, the next pass's call is posted now:
        // should a call spin a nested event loop, the rest of this pass runs
        // inside it, in order, as separately posted calls would.
        m_posted = m_pending.size() > 1 && m_pending[1].pass < pass;
        if (m_posted)
            QMetaObject::invokeMethod(this, &PassQueue::runPending, Qt::QueuedConnection);
        while (!m_pending.empty() && m_pending.front().pass < pass) {
            const Pending next = std::move(m_pending.front());
            m_pending.pop_front();
            if (!next.context)
                continue;
            if (next.data)
                runStep(next.data, next.step);
            else
                next.step();
        }
    }

    std::deque<Pending> m_pending;
    quint64 m_pass = 0;
    bool m_posted = false;
};

bool onGuiThread(const QObject *context)
{
    const QCoreApplication *app = QCoreApplication::instance();
    return app && context->thread() == app->thread() && QThread::currentThread() == app->thread();
}

} // namespace

Task runLater(QObject *context, std::function<void()> step)
{
    Task task;
    task.d = std::make_shared<Task::Data>();
    if (onGuiThread(context)) {
        PassQueue::tasks()->add(context, std::move(step), task.d);
        return task;
    }
    // Another thread's object: a queued call to a functor with a context object
    // is posted to that object, and Qt drops it when the object is destroyed first.
    QMetaObject::invokeMethod(
        context, [data = task.d, step = std::move(step)] { runStep(data, step); }, Qt::QueuedConnection);
    return task;
}

namespace detail {

void zeroDelay(QObject *context, std::function<void()> call)
{
    if (onGuiThread(context))
        PassQueue::zeroDelay()->add(context, std::move(call));
    else
        QTimer::singleShot(0, context, std::move(call));
}

} // namespace detail

} // namespace tessera
