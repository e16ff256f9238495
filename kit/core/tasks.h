#pragma once

#include <tessera/kit/kit_export.h>

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

namespace tessera {

/*!
    The handle of a deferred task: a step queued on the GUI event loop with
    runLater(). done() is true once the task has finished, failed or been
    cancelled; cancel() makes sure a task that has not run yet never runs.
    Handles are cheap to copy; all copies refer to the same task.
*/
class TESSERA_KIT_EXPORT Task
{
public:
    Task() = default;

    //! Whether this handle refers to a task (a default-constructed one does not).
    bool isValid() const { return bool(d); }
    //! Whether the task has run, failed or been cancelled.
    bool done() const;
    //! Makes sure the step never runs if it has not run yet; no effect afterwards.
    void cancel();

    //! Whether cancel() came before the step ran.
    bool cancelled() const;
    //! Whether the step threw; error() then holds its message.
    bool failed() const;
    //! The message of the exception the step threw, or empty.
    QString error() const;

    //! The state the copies of a handle share (defined inside the kit only).
    struct Data;

private:
    friend TESSERA_KIT_EXPORT Task runLater(QObject *context, std::function<void()> step);
    std::shared_ptr<Data> d;
};

/*!
    Queues \a step to run on a later pass of \a context's event loop, never
    inside this call. On the GUI thread the kit's one queue runs the tasks in
    bounded slices of time, handing the event loop back in between, and
    serves the user's eye first: tasks whose context is a widget in view run
    before those of widgets out of view, and those before hidden widgets'
    (a context that is not a widget counts as in view); within each group
    they run in the order they were scheduled. The task is bound to
    \a context: when the context object is destroyed first, the step never
    runs. An exception thrown by the step ends that task only (recorded in the
    handle); it never reaches the event loop.
*/
TESSERA_KIT_EXPORT Task runLater(QObject *context, std::function<void()> step);

} // namespace tessera
