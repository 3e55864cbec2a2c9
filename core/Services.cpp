#include "Services.h"

#include "Clipboard.h"
#include "Launcher.h"

#include <atomic>

namespace pallstone {

namespace {

class NullClipboard final : public Clipboard
{
public:
    bool setText(const QString&) override { return false; }
    QString text() const override { return {}; }
};

class NullLauncher final : public Launcher
{
public:
    bool openWithApplication(const QString&, const QStringList&) override { return false; }
    bool openTerminal(const QString&, TerminalMode, bool) override { return false; }
    bool openDefault(const QUrl&) override { return false; }
    bool revealInFileManager(const QStringList&) override { return false; }
    bool runCommand(const QStringList&, const QString&) override { return false; }
    bool launchSettingsApplication() override { return false; }
};

// Installed from the main thread at start-up but read from worker threads too.
std::atomic<Clipboard*> s_clipboard{nullptr};
std::atomic<Launcher*> s_launcher{nullptr};

} // namespace

Clipboard* Services::clipboard()
{
    static NullClipboard none;
    Clipboard* installed = s_clipboard.load(std::memory_order_acquire);
    return installed ? installed : &none;
}

void Services::setClipboard(Clipboard* clipboard)
{
    s_clipboard.store(clipboard, std::memory_order_release);
}

Launcher* Services::launcher()
{
    static NullLauncher none;
    Launcher* installed = s_launcher.load(std::memory_order_acquire);
    return installed ? installed : &none;
}

void Services::setLauncher(Launcher* launcher)
{
    s_launcher.store(launcher, std::memory_order_release);
}

} // namespace pallstone
