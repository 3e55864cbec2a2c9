#include "Dispatch.h"

#include "ThreadHandoff.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QMutex>
#include <QThread>
#include <QThreadPool>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <limits>
#include <memory>
#include <mutex>

#include <openssl/crypto.h>
#include <sys/resource.h>
#include <unistd.h>

namespace pallstone {

namespace {

constexpr auto kBackgroundLabel = "com.tolvane.taskQueue";

// How long the waiter sleeps between looks at the main thread's events: main-thread timers (delayed
// foreground blocks) only fire while it processes events, and nothing wakes it for them.
constexpr int kWaitSliceMs = 5;

// Job work (compressing, copying, converting) runs this much nicer than the thread that answers
// the bus, so that a menu asked for while both cores compress is answered within a frame.
constexpr int kBackgroundNice = 10;

std::atomic<int> g_pendingForeground{0};
std::atomic<int> g_pendingBackground{0};
// Set once the queue exists; asking which thread we are on must not create it.
std::atomic<const QThread*> g_backgroundThread{nullptr};

// OpenSSL keeps state per thread and frees it at a thread's end through a handler that its own
// cleanup at the exit takes away: a pooled thread still alive then leaves that state unreachable.
// Without the cleanup, the state stays where OpenSSL can reach it, and the system frees it all.
[[maybe_unused]] const bool g_cryptoWithoutExitCleanup =
    OPENSSL_init_crypto(OPENSSL_INIT_NO_ATEXIT, nullptr) == 1;

// Wakes a waiter as soon as a block finishes on the background thread. The standard library's
// (pthread) primitives, whose every step ThreadSanitizer sees; Qt's wait condition releases the
// mutex inside Qt, out of its sight.
std::mutex g_idleMutex;
std::condition_variable g_idleChanged;

void blockFinished(std::atomic<int>& counter)
{
    counter.fetch_sub(1, std::memory_order_acq_rel);
    const std::lock_guard locker(g_idleMutex);
    g_idleChanged.notify_all();
}

// Lowers the calling thread (only it: on Linux a thread id names one thread) by the background
// niceness, once per thread. Threads it starts inherit the priority, so the compression's own
// workers and libvips' run below the main thread too.
void lowerThisThread()
{
    thread_local const bool lowered = [] {
        const id_t self = id_t(::gettid());
        errno = 0;
        const int nice = ::getpriority(PRIO_PROCESS, self);
        if (nice == -1 && errno != 0)
            return false;
        return ::setpriority(PRIO_PROCESS, self, std::min(nice + kBackgroundNice, 19)) == 0;
    }();
    Q_UNUSED(lowered);
}

// Wraps a block so that it leaves the pending count once it has run, even when it throws.
Dispatch::Block counted(std::atomic<int>& counter, Dispatch::Block block)
{
    counter.fetch_add(1, std::memory_order_acq_rel);
    return [&counter, block = std::move(block)]() {
        struct Done
        {
            std::atomic<int>& counter;
            ~Done() { blockFinished(counter); }
        } done{counter};
        if (block)
            block();
    };
}

// Starts `block` after `ms` milliseconds on the thread of `context`. The timer must be started on
// that thread: a timer started from a thread without an event loop never fires.
void runOn(QObject* context, int ms, Dispatch::Block block)
{
    if (ms <= 0) {
        QMetaObject::invokeMethod(context, ThreadHandoff(std::move(block)), Qt::QueuedConnection);
        return;
    }
    // Precise: a coarse timer may fire up to 5% early, and "three seconds later" means at least
    // three seconds.
    if (QThread::currentThread() == context->thread()) {
        QTimer::singleShot(ms, Qt::PreciseTimer, context, std::move(block));
        return;
    }
    QMetaObject::invokeMethod(
        context, ThreadHandoff([context, ms, block = std::move(block)]() mutable {
            QTimer::singleShot(ms, Qt::PreciseTimer, context, std::move(block));
        }),
        Qt::QueuedConnection);
}

int delayInMs(int seconds)
{
    if (seconds <= 0)
        return 0;
    constexpr int kMaxSeconds = std::numeric_limits<int>::max() / 1000;
    return std::min(seconds, kMaxSeconds) * 1000;
}

// The one serial background queue. The worker lives on the queue's thread, so blocks invoked on it
// run there one after another, in the order they were posted.
class BackgroundQueue final
{
public:
    BackgroundQueue() : m_worker(std::make_unique<QObject>())
    {
        m_thread.setObjectName(QLatin1String(kBackgroundLabel));
        m_worker->moveToThread(&m_thread);
        m_thread.start();
        g_backgroundThread.store(&m_thread, std::memory_order_release);
    }

    ~BackgroundQueue() { stop(); }

    Q_DISABLE_COPY_MOVE(BackgroundQueue)

    // Lets the running block finish; blocks that have not started by then, delayed ones still
    // waiting in particular, are dropped with the thread. Safe to call twice (from the
    // application's teardown and again at static destruction).
    void stop()
    {
        {
            // Not held while waiting: the running block may itself submit to this queue.
            const QMutexLocker locker(&m_mutex);
            if (m_stopped)
                return;
            m_stopped = true;
        }
        m_thread.quit();
        m_thread.wait();
        // The thread has ended, so its timers are gone and the worker can be deleted here.
        m_worker.reset();
    }

    bool submit(int ms, Dispatch::Block block)
    {
        const QMutexLocker locker(&m_mutex);
        if (m_stopped)
            return false;
        runOn(m_worker.get(), ms, std::move(block));
        return true;
    }

private:
    QMutex m_mutex;
    bool m_stopped = false;
    QThread m_thread;
    std::unique_ptr<QObject> m_worker;
};

BackgroundQueue& backgroundQueue()
{
    // Created once per process, on first use, whichever thread gets here first.
    static BackgroundQueue queue;
    static const bool registered = [] {
        // Stop the thread while the application object still exists: nothing may run on it after
        // the program's own objects are gone.
        qAddPostRoutine([] { backgroundQueue().stop(); });
        return true;
    }();
    Q_UNUSED(registered);
    return queue;
}

void submitForeground(int ms, Dispatch::Block block)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) {
        qWarning("Dispatch: no application object, a foreground block is dropped");
        return;
    }
    runOn(app, ms, counted(g_pendingForeground, std::move(block)));
    const std::lock_guard locker(g_idleMutex);
    g_idleChanged.notify_all();
}

void submitBackground(int ms, Dispatch::Block block)
{
    // The queue's thread needs an event loop, and Qt runs none before the application object.
    if (!QCoreApplication::instance()) {
        qWarning("Dispatch: no application object, a background block is dropped");
        return;
    }
    Dispatch::Block wrapped = counted(g_pendingBackground, [block = std::move(block)] {
        lowerThisThread();
        if (block)
            block();
    });
    if (!backgroundQueue().submit(ms, wrapped)) {
        qWarning("Dispatch: the background queue has stopped, a block is dropped");
        g_pendingBackground.fetch_sub(1, std::memory_order_acq_rel);
    }
}

} // namespace

void Dispatch::enterForeground(Block block)
{
    submitForeground(0, std::move(block));
}

void Dispatch::enterBackground(Block block)
{
    submitBackground(0, std::move(block));
}

void Dispatch::enterForegroundWithDelay(int seconds, Block block)
{
    submitForeground(delayInMs(seconds), std::move(block));
}

void Dispatch::enterBackgroundWithDelay(int seconds, Block block)
{
    submitBackground(delayInMs(seconds), std::move(block));
}

void Dispatch::enterWorker(Block block)
{
    if (!QCoreApplication::instance()) {
        qWarning("Dispatch: no application object, a worker block is dropped");
        return;
    }
    // Jobs mostly wait for the disk, not the processor: a long compression and a long copy must
    // not keep a delete waiting, so the pool has more threads than cores.
    static const bool sized = [] {
        QThreadPool* pool = QThreadPool::globalInstance();
        pool->setMaxThreadCount(std::max(pool->maxThreadCount(), 8));
        return true;
    }();
    Q_UNUSED(sized);
    QThreadPool::globalInstance()->start(
        ThreadHandoff(counted(g_pendingBackground, [block = std::move(block)] {
            lowerThisThread();
            if (block)
                block();
        })));
}

int Dispatch::pendingForegroundCount()
{
    return g_pendingForeground.load(std::memory_order_acquire);
}

int Dispatch::pendingBackgroundCount()
{
    return g_pendingBackground.load(std::memory_order_acquire);
}

int Dispatch::pendingCount()
{
    return pendingForegroundCount() + pendingBackgroundCount();
}

bool Dispatch::isBackgroundThread()
{
    const QThread* current = QThread::currentThread();
    return current == g_backgroundThread.load(std::memory_order_acquire);
}

bool Dispatch::waitUntilIdle(int timeoutMs)
{
    if (pendingCount() == 0)
        return true;
    if (isBackgroundThread()) {
        qWarning("Dispatch: waitUntilIdle called on the background queue would wait for itself");
        return false;
    }
    const QDeadlineTimer deadline =
        timeoutMs < 0 ? QDeadlineTimer(QDeadlineTimer::Forever) : QDeadlineTimer(timeoutMs);
    QCoreApplication* app = QCoreApplication::instance();
    const bool onMainThread = app && QThread::currentThread() == app->thread();
    while (pendingCount() > 0) {
        if (onMainThread)
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (pendingCount() == 0)
            break;
        if (deadline.hasExpired())
            return false;
        qint64 slice = kWaitSliceMs;
        if (!deadline.isForever())
            slice = std::clamp<qint64>(deadline.remainingTime(), 0, kWaitSliceMs);
        std::unique_lock locker(g_idleMutex);
        if (pendingCount() > 0)
            g_idleChanged.wait_for(locker, std::chrono::milliseconds(slice));
    }
    return true;
}

} // namespace pallstone
