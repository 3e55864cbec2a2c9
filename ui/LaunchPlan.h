#pragma once

#include "Launcher.h"

#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

namespace pallstone {

// What a launcher request runs: the program with its literal arguments and the child's working
// directory. Both the real launcher and the recording one start from the same plan, so a transcript
// shows exactly what would have run. Nothing here starts a process.
struct LaunchPlan
{
    QStringList argv;
    QString workingDirectory;

    // {"gio", "launch", <desktop file>, paths...}; nothing when no desktop entry matches.
    static std::optional<LaunchPlan> openWithApplication(const QString& application,
                                                         const QStringList& paths);
    // The terminal started in the folder; nothing when no terminal is installed.
    static std::optional<LaunchPlan> openTerminal(const QString& folder,
                                                  Launcher::TerminalMode mode, bool secondTerminal);
    // {"gio", "open", url}; nothing for an empty or invalid URL.
    static std::optional<LaunchPlan> openDefault(const QUrl& url);
    // The org.freedesktop.FileManager1.ShowItems call as gdbus would make it; nothing for no paths.
    static std::optional<LaunchPlan> revealInFileManager(const QStringList& paths);
    // The command as given; nothing when argv is empty.
    static std::optional<LaunchPlan> runCommand(const QStringList& argv,
                                                const QString& workingDirectory);
    static LaunchPlan launchSettingsApplication();

    // The desktop file whose desktop ID (with or without ".desktop") or Name (localised or not)
    // matches, case-insensitively; an ID match wins over a Name match. An absolute path to a
    // .desktop file names itself. Empty when none matches.
    static QString desktopEntryPath(const QString& application);
    // The executable found on $PATH as it is at the call; empty when none.
    static QString findExecutable(const QString& name);
    // The terminal emulators this system knows about, in order of preference.
    static QStringList terminalCandidates();
    // "file:///..." with every byte outside the unreserved set (and "/") percent-encoded, from the
    // path's bytes on disk.
    static QString fileUri(const QString& path);
};

} // namespace pallstone
