#include "tasks.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QPointer>
#include <QThread>

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
    The GUI thread's deferred tasks. Every task scheduled during one pass of
    the event loop waits in one queue behind a single posted call, which runs
    them in the order they were scheduled on the next pass. A theme switch
    schedules one task per themed widget: one posted event for all of them
    costs less than one each, and keeps Qt's queue of posted events short.

    A task scheduled while the queue runs waits for the next pass, so no task
    ever runs in the pass that scheduled it. Each task holds its context
    through a QPointer and is dropped when the context is gone.
*/
class TaskQueue : public QObject
{
public:
    using QObject::QObject;

    static TaskQueue *instance()
    {
        static QPointer<TaskQueue> queue;
        if (!queue)
            queue = new TaskQueue(QCoreApplication::instance());   // goes with the application
        return queue;
    }

    void add(QObject *context, std::shared_ptr<Task::Data> data, std::function<void()> step)
    {
        m_pending.push_back({context, std::move(data), std::move(step), m_pass});
        if (!m_posted) {
            m_posted = true;
            QMetaObject::invokeMethod(this, &TaskQueue::runPending, Qt::QueuedConnection);
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

    void runPending()
    {
        const quint64 pass = ++m_pass;
        // With more than one task to run, the next pass's call is posted now:
        // should a task spin a nested event loop, the rest of this pass runs
        // inside it, in order, as separately posted calls would.
        m_posted = m_pending.size() > 1 && m_pending[1].pass < pass;
        if (m_posted)
            QMetaObject::invokeMethod(this, &TaskQueue::runPending, Qt::QueuedConnection);
        while (!m_pending.empty() && m_pending.front().pass < pass) {
            const Pending next = std::move(m_pending.front());
            m_pending.pop_front();
            if (next.context)
                runStep(next.data, next.step);
        }
    }

    std::deque<Pending> m_pending;
    quint64 m_pass = 0;
    bool m_posted = false;
};

} // namespace

Task runLater(QObject *context, std::function<void()> step)
{
    Task task;
    task.d = std::make_shared<Task::Data>();
    QCoreApplication *app = QCoreApplication::instance();
    if (app && context->thread() == app->thread() && QThread::currentThread() == app->thread()) {
        TaskQueue::instance()->add(context, task.d, std::move(step));
        return task;
    }
    // Another thread's object: a queued call to a functor with a context object
    // is posted to that object, and Qt drops it when the object is destroyed first.
    QMetaObject::invokeMethod(
        context, [data = task.d, step = std::move(step)] { runStep(data, step); }, Qt::QueuedConnection);
    return task;
}

} // namespace tessera
