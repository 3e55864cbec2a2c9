#pragma once

#include "TaskQueue.h"

#include <QPointer>

#include <functional>
#include <tuple>
#include <type_traits>
#include <utility>

namespace pallstone {

// The recording proxy of a TaskQueue: each call() made through it becomes one step of the queue
// instead of being performed now. The arguments are copied into the step, which owns them.
template <class T> class TaskTrampoline final
{
    static_assert(std::is_base_of_v<QObject, T>, "a step's target must be a QObject");

public:
    TaskTrampoline(T* target, TaskQueue* queue) : m_target(target), m_queue(queue) {}

    // Records `(target->*method)(args...)`; any member function of the target (its result is
    // ignored). Returns the proxy, so several steps can be recorded in a row.
    template <class Method, class... Args> TaskTrampoline& call(Method method, Args&&... args)
    {
        static_assert(std::is_member_function_pointer_v<Method>, "call() takes a member function");
        static_assert(std::is_invocable_v<Method, T*, const std::decay_t<Args>&...>,
                      "the method cannot be called with these arguments");
        if (!m_queue || !m_target) {
            qWarning("TaskTrampoline: the queue or the target is gone, the step is not recorded");
            return *this;
        }
        T* target = m_target.data();
        m_queue->newTaskWithTarget(
            target, [target, method,
                     arguments = std::tuple<std::decay_t<Args>...>(std::forward<Args>(args)...)]() {
                // Arguments are passed as lvalues: a stalled step runs again with the same values.
                std::apply([&](const auto&... a) { std::invoke(method, target, a...); }, arguments);
            });
        return *this;
    }

private:
    QPointer<T> m_target;
    QPointer<TaskQueue> m_queue;
};

template <class T> TaskTrampoline<T> TaskQueue::taskWithTarget(T* target)
{
    return TaskTrampoline<T>(target, this);
}

} // namespace pallstone
