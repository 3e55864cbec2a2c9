#include "TaskQueue.h"

#include <QTimer>

namespace pallstone {

TaskQueue::TaskQueue(QObject* parent) : QObject(parent) {}

TaskQueue::~TaskQueue() = default;

void TaskQueue::newTaskWithTarget(QObject* target, Invocation invocation)
{
    m_tasks.append(Task{target, std::make_shared<const Invocation>(std::move(invocation))});
    restart();
}

void TaskQueue::restart()
{
    if (m_isRunning)
        return;
    if (m_tasks.isEmpty()) {
        callFinishAction();
        return;
    }
    m_isRunning = true;
    m_isStalled = false;
    // One start at a time: a step stalled before its start ran and then restarted must not be
    // performed twice.
    if (m_startScheduled)
        return;
    m_startScheduled = true;
    QTimer::singleShot(0, this, &TaskQueue::startTask);
}

void TaskQueue::startTask()
{
    m_startScheduled = false;
    // Stalled (or never restarted) since the start was scheduled: the next restart performs it.
    if (!m_isRunning || m_tasks.isEmpty())
        return;
    const Task head = m_tasks.constFirst();
    if (!head.target) {
        // Nobody is left to finish this step; dropping it keeps the steps behind it moving.
        qWarning("TaskQueue: the target of a pending step was destroyed, the step is skipped");
        m_tasks.removeFirst();
        m_isRunning = false;
        restart();
        return;
    }
    // `head` keeps the invocation alive even if the step finishes (and is removed) while it runs.
    (*head.invocation)();
}

void TaskQueue::finishCurrentTask()
{
    // A start still scheduled means the head step has not run yet, so it cannot have finished.
    if (!m_isRunning || m_startScheduled)
        return;
    m_tasks.removeFirst();
    m_isRunning = false;
    restart();
}

void TaskQueue::stallCurrentTask()
{
    if (!m_isRunning)
        return;
    m_isStalled = true;
    m_isRunning = false;
}

void TaskQueue::callFinishAction()
{
    if (!m_finishTarget || !m_finishAction)
        return;
    // A copy: the action may set a new one or destroy the queue.
    const auto action = m_finishAction;
    action(this);
}

} // namespace pallstone
