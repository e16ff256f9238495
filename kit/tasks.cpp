#include "tasks.h"

#include <QMetaObject>

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

Task runLater(QObject *context, std::function<void()> step)
{
    Task task;
    task.d = std::make_shared<Task::Data>();
    // A queued call to a functor with a context object is posted to that object:
    // Qt drops the posted event when the object is destroyed first.
    QMetaObject::invokeMethod(
        context,
        [data = task.d, step = std::move(step)] {
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
        },
        Qt::QueuedConnection);
    return task;
}

} // namespace tessera
