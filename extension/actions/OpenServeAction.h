#pragma once

#include "ActionContext.h"
#include "Launcher.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace pallstone {

// Hands folders to a named service. The services are the terminal ones: a window or a tab of the
// person's terminal, or of the second terminal they chose, started in each folder.
class OpenServeAction final
{
public:
    struct Terminal
    {
        Launcher::TerminalMode mode = Launcher::TerminalMode::Window;
        bool secondTerminal = false;
    };

    static void openServe(const ActionContextPtr& context, const QString& serve,
                          const QString& path);

    // The terminal a service name stands for; nothing for a name no terminal publishes.
    static std::optional<Terminal> terminalForService(const QString& serve);
    // Where the terminals start, in order and without repeats: the given path, else the selected
    // items (a folder itself, a file its folder), else the desktop folder (the home folder when
    // there is no desktop folder).
    static QStringList foldersFor(const ActionContext& context, const QString& path);

private:
    OpenServeAction() = delete;
};

} // namespace pallstone
