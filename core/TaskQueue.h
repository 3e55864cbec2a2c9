#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>
#include <type_traits>

namespace pallstone {

template <class T> class TaskTrampoline;

// Runs asynchronous steps strictly one after another on the thread that owns the queue.
//
// A step is a call recorded against a target object, usually through the proxy that
// taskWithTarget() returns:
//     queue.taskWithTarget(worker).call(&Worker::copyNext, path);
// The queue starts the step on the next turn of the event loop; the step reports back with
// finishCurrentTask() (done: the next step follows) or stallCurrentTask() (paused: the same step is
// performed again from the start at the next restart()). When the queue runs dry it calls the
// finish action. All calls belong on the owning thread; the queue takes no locks.
class TaskQueue final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TaskQueue)

public:
    // A recorded call. It owns copies of its arguments and may be performed more than once (a
    // stalled step runs again).
    using Invocation = std::function<void()>;

    explicit TaskQueue(QObject* parent = nullptr);
    ~TaskQueue() override;

    // The finish action: `method` called on `target` with this queue. Nothing is called when no
    // target is set or the target has been destroyed.
    template <class T> void setFinishAction(void (T::*method)(TaskQueue*), T* target)
    {
        static_assert(std::is_base_of_v<QObject, T>, "the finish target must be a QObject");
        m_finishTarget = target;
        m_finishAction = [method, target](TaskQueue* queue) { (target->*method)(queue); };
    }

    // A proxy that records every call made through it as one step on `target`.
    template <class T> TaskTrampoline<T> taskWithTarget(T* target);

    // Appends a step, then restart(). `invocation` is performed only while `target` still exists;
    // a step whose target was destroyed before it could start is skipped.
    void newTaskWithTarget(QObject* target, Invocation invocation);

    void restart();
    void startTask();
    void finishCurrentTask();
    void stallCurrentTask();

    bool isRunning() const { return m_isRunning; }
    bool isStalled() const { return m_isStalled; }
    // Neither running nor stalled; pending steps are not considered.
    bool isEmpty() const { return !m_isRunning && !m_isStalled; }
    qsizetype pendingCount() const { return m_tasks.size(); }

private:
    struct Task
    {
        QPointer<QObject> target;
        std::shared_ptr<const Invocation> invocation;
    };

    void callFinishAction();

    QList<Task> m_tasks;
    QPointer<QObject> m_finishTarget;
    std::function<void(TaskQueue*)> m_finishAction;
    bool m_isRunning = false;
    bool m_isStalled = false;
    // startTask() is scheduled but has not run yet: the head step has not been performed.
    bool m_startScheduled = false;
};

} // namespace pallstone

#include "TaskTrampoline.h"
