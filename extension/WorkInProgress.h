#pragma once

#include <QtGlobal>

#include <atomic>

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

private:
    WorkInProgress() = delete;
    static std::atomic<qint64>& counter()
    {
        static std::atomic<qint64> value{0};
        return value;
    }
};

} // namespace pallstone
