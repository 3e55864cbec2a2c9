#pragma once

#include "Dispatch.h"

#include <QtGlobal>

#include <atomic>
#include <functional>

namespace pallstone {

// Counts the file work the service's actions have under way, so that the service postpones its
// end until none is left: ending mid-copy would leave truncated files behind.
class WorkInProgress final
{
public:
    static void begin() { ++counter(); }
    static void end() { --counter(); }
    static qint64 count() { return counter(); }
    static void reset() { counter() = 0; }

    // Runs a job's file work on a worker of its own, then what the work returns on the main
    // thread (to show its outcome), counted from start to end.
    static void run(std::function<std::function<void()>()> work)
    {
        begin();
        Dispatch::enterWorker([work = std::move(work)] {
            std::function<void()> outcome = work();
            Dispatch::enterForeground([outcome = std::move(outcome)] {
                if (outcome)
                    outcome();
                end();
            });
        });
    }

private:
    WorkInProgress() = delete;
    static std::atomic<qint64>& counter()
    {
        static std::atomic<qint64> value{0};
        return value;
    }
};

} // namespace pallstone
