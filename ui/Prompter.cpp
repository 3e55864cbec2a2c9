#include "Prompter.h"

#include "WidgetPrompter.h"

#include <atomic>
#include <memory>
#include <mutex>

namespace pallstone {

namespace {

// Installed from the main thread, read wherever an action asks.
std::atomic<Prompter*> s_installed{nullptr};

} // namespace

quint64 ProgressEvent::nextJob()
{
    static std::atomic<quint64> last{0};
    return ++last;
}

Prompter* Prompter::instance()
{
    if (Prompter* installed = s_installed.load(std::memory_order_acquire))
        return installed;
    // Creating it builds no widget: each call makes its windows on the main thread, so the
    // default may be first asked for on any thread.
    static std::once_flag once;
    static std::unique_ptr<WidgetPrompter> widgets;
    std::call_once(once, [] { widgets = std::make_unique<WidgetPrompter>(); });
    return widgets.get();
}

void Prompter::setInstance(Prompter* prompter)
{
    s_installed.store(prompter, std::memory_order_release);
}

} // namespace pallstone
