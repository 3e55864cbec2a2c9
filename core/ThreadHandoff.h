#pragma once

#include <functional>

#if defined(__SANITIZE_THREAD__)
#include <sanitizer/tsan_interface.h>
#define PALLSTONE_TSAN 1
#endif

namespace pallstone {

// A block on its way to another thread through Qt's event queue or thread pool. The locks that
// order the handover live inside Qt, where ThreadSanitizer cannot see them, so under it each copy
// of the block announces itself where it is made and is taken up before it runs or goes away.
// Qt keeps the posted copy alive with its own reference count, which is just as invisible.
class ThreadHandoff final
{
public:
    explicit ThreadHandoff(std::function<void()> block) : m_block(std::move(block)) { announce(); }
    ThreadHandoff(ThreadHandoff&& other) noexcept : m_block(std::move(other.m_block))
    {
        announce();
    }
    ThreadHandoff(const ThreadHandoff& other) : m_block(other.m_block) { announce(); }
    ThreadHandoff& operator=(const ThreadHandoff&) = delete;
    ThreadHandoff& operator=(ThreadHandoff&&) = delete;
    ~ThreadHandoff() { takeUp(); }

    void operator()()
    {
        takeUp();
        if (m_block)
            m_block();
        // Qt may drop its last reference, and free the block, on the thread that posted it.
        announce();
    }

private:
    void announce()
    {
#if defined(PALLSTONE_TSAN)
        __tsan_release(this);
#endif
    }
    void takeUp()
    {
#if defined(PALLSTONE_TSAN)
        __tsan_acquire(this);
#endif
    }

    std::function<void()> m_block;
};

} // namespace pallstone
