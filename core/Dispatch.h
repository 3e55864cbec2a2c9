#pragma once

#include <functional>

namespace pallstone {

// Runs blocks later on the main thread or on the one serial background queue of the process.
// Both need the application object: without one a block is dropped with a warning.
//
// The background queue is a single thread labelled "com.tolvane.taskQueue", started on first use
// and kept until the application object is destroyed; its blocks run one at a time in the order
// they were submitted. Every submitted block, delayed ones included, counts as pending until it has
// run, so the headless CLI and the tests can wait for all work an action started before they exit.
class Dispatch final
{
public:
    using Block = std::function<void()>;

    static void enterForeground(Block block);
    static void enterBackground(Block block);
    static void enterForegroundWithDelay(int seconds, Block block);
    static void enterBackgroundWithDelay(int seconds, Block block);
    // Runs a block on a thread of the shared pool, beside the serial queue rather than behind it,
    // for independent jobs that must not wait for each other. Counts as pending background work.
    static void enterWorker(Block block);

    // Blocks submitted but not yet finished (running ones included).
    static int pendingCount();
    static int pendingForegroundCount();
    static int pendingBackgroundCount();

    // Spins the main thread's event loop until no block is pending, so foreground blocks keep
    // running while it waits. A negative timeout waits for as long as it takes. Returns false when
    // the timeout passed first, or when called from the background queue itself (which would wait
    // for its own block).
    static bool waitUntilIdle(int timeoutMs = -1);

    static bool isBackgroundThread();

private:
    Dispatch() = delete;
};

} // namespace pallstone
