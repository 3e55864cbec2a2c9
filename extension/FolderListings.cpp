#include "FolderListings.h"

#include "ThreadHandoff.h"

#include <QHash>
#include <QMutex>
#include <QThreadPool>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

namespace pallstone {

namespace {

// A listing just started gets this long even when the menu's deadline has passed: a healthy
// folder answers well within it, so one folder that hangs does not cost the others their
// submenus.
constexpr std::chrono::milliseconds kGrace{3};

struct Pending
{
    std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();
    bool done = false;
    FolderListings::Listing result;
};

struct State
{
    std::mutex mutex;
    std::condition_variable finished;
    QHash<QString, std::shared_ptr<Pending>> running; // listings under way
    QHash<QString, FolderListings::Listing> late;     // finished after their menu went on
    // Never destroyed: a listing stuck on a dead mount must not hold the program's exit.
    QThreadPool* pool = nullptr;
};

State& state()
{
    static State* s = [] {
        auto* created = new State;
        created->pool = new QThreadPool;
        created->pool->setMaxThreadCount(16);
        return created;
    }();
    return *s;
}

// Starts the listing unless it runs already or a late result waits; the caller holds the lock.
std::shared_ptr<Pending> startLocked(State& s, const QString& key, const FolderListings::Work& work)
{
    std::shared_ptr<Pending> pending = s.running.value(key);
    if (pending || s.late.contains(key))
        return pending;
    pending = std::make_shared<Pending>();
    s.running.insert(key, pending);
    s.pool->start(ThreadHandoff([key, work, pending] {
        FolderListings::Listing result = work();
        State& st = state();
        {
            std::lock_guard done(st.mutex);
            pending->done = true;
            pending->result = std::move(result);
            // Whoever waits takes the result; if nobody does any more, the next menu will.
            if (st.running.value(key) == pending) {
                st.running.remove(key);
                st.late.insert(key, pending->result);
            }
        }
        st.finished.notify_all();
    }));
    return pending;
}

} // namespace

void FolderListings::start(const QString& key, const Work& work)
{
    State& s = state();
    std::lock_guard lock(s.mutex);
    startLocked(s, key, work);
}

std::optional<FolderListings::Listing> FolderListings::within(const QString& key, const Work& work,
                                                              const QDeadlineTimer& deadline)
{
    State& s = state();
    std::unique_lock lock(s.mutex);
    if (const auto late = s.late.find(key); late != s.late.end()) {
        Listing listing = std::move(*late);
        s.late.erase(late);
        return listing;
    }
    const std::shared_ptr<Pending> pending = startLocked(s, key, work);
    const auto until =
        std::max(deadline.deadline<std::chrono::steady_clock>(), pending->started + kGrace);
    s.finished.wait_until(lock, until, [&] { return pending->done; });
    if (!pending->done)
        return std::nullopt;
    // Taken in time: it is this menu's, not the next one's.
    s.late.remove(key);
    return pending->result;
}

} // namespace pallstone
