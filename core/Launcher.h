#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

namespace pallstone {

// Everything that leaves the process: applications, terminals, default handlers, revealing items
// in the file manager and commands. Real and recording implementations live above the core; core
// code reaches them through Services. Every call answers whether the launch was started.
class Launcher
{
public:
    virtual ~Launcher() = default;

    enum class TerminalMode
    {
        Window,
        Tab
    };

    // An application named by its desktop entry's Name or desktop ID, opening the given paths
    // (may be empty).
    virtual bool openWithApplication(const QString& application, const QStringList& paths) = 0;
    virtual bool openTerminal(const QString& folder, TerminalMode mode, bool secondTerminal) = 0;
    virtual bool openDefault(const QUrl& url) = 0;
    virtual bool revealInFileManager(const QStringList& paths) = 0;
    // argv[0] is the program; each further element is one literal argument, never parsed by a
    // shell.
    virtual bool runCommand(const QStringList& argv, const QString& workingDirectory = {}) = 0;
    virtual bool launchSettingsApplication() = 0;
    // A desktop notification: how a failure reaches the user when no window of the action is
    // open to show it. Never waits for the notification server.
    virtual bool notify(const QString& summary, const QString& body)
    {
        Q_UNUSED(summary);
        Q_UNUSED(body);
        return false;
    }
};

} // namespace pallstone
