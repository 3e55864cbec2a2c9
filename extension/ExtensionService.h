#pragma once

#include "DesktopEntryIndex.h"

#include <QObject>
#include <QTextStream>

#include <memory>

class QSocketNotifier;

namespace pallstone {

class DBusAdaptor;
class ContextMenuService;
class GlobalShortcutPortal;
class Seams;

// The long-lived service a file manager's bridge talks to: owns the menu service, the seams and the
// D-Bus name, keeps the clipboard's contents alive for as long as it runs, and holds the palette's
// key where the desktop's shortcut portal binds it (a portal's binding lasts as long as the
// connection that made it). SIGTERM and SIGINT end it cleanly, but only once no action is at work:
// ending it mid-copy would leave truncated files behind.
//
// PALLSTONE_ANSWERS (a JSON answers file, as for `run --answers`) replaces the windows, launches
// and clipboard with scripted and recorded ones; PALLSTONE_TRANSCRIPT names the file the service
// then records into. Both are for tests.
class ExtensionService final : public QObject
{
    Q_OBJECT

public:
    explicit ExtensionService(QObject* parent = nullptr);
    ~ExtensionService() override;
    Q_DISABLE_COPY_MOVE(ExtensionService)

    // Registers on the session bus and serves until ended; the process's exit code.
    int exec(QTextStream& err);

    // True while something the user started is still at work or waiting for them.
    bool isBusy() const;

private:
    void onSignal();
    void quitWhenIdle();
    void bindPaletteShortcut();

    std::unique_ptr<Seams> m_seams;
    std::unique_ptr<ContextMenuService> m_menuService;
    std::unique_ptr<DBusAdaptor> m_adaptor;
    std::unique_ptr<GlobalShortcutPortal> m_shortcutPortal;
    std::unique_ptr<QSocketNotifier> m_signalNotifier;
    std::unique_ptr<DesktopEntryIndex::BackgroundReader> m_applicationsReader;
    bool m_quitting = false;
};

} // namespace pallstone
