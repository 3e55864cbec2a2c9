#include "OpenServeAction.h"

#include "Paths.h"
#include "Services.h"
#include "Strings.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>

namespace pallstone {

namespace {

QString folderOf(const QString& path)
{
    const QFileInfo info(path);
    return info.isDir() ? QDir::cleanPath(info.absoluteFilePath()) : info.absolutePath();
}

} // namespace

std::optional<OpenServeAction::Terminal> OpenServeAction::terminalForService(const QString& serve)
{
    using Mode = Launcher::TerminalMode;
    if (serve == u"New Terminal at Folder")
        return Terminal{Mode::Window, false};
    if (serve == u"New Terminal Tab at Folder")
        return Terminal{Mode::Tab, false};
    if (serve == u"New iTerm2 Window Here")
        return Terminal{Mode::Window, true};
    if (serve == u"New iTerm2 Tab Here")
        return Terminal{Mode::Tab, true};
    return std::nullopt;
}

QStringList OpenServeAction::foldersFor(const ActionContext& context, const QString& path)
{
    QStringList items;
    if (Strings::isValid(path))
        items = {path};
    else
        items = context.selectPaths;
    QStringList folders;
    for (const QString& item : std::as_const(items)) {
        if (item.isEmpty())
            continue;
        const QString folder = folderOf(item);
        if (!folders.contains(folder))
            folders.append(folder);
    }
    if (folders.isEmpty()) {
        const QString desktop = Paths::desktopPath();
        folders.append(QFileInfo(desktop).isDir() ? desktop : QDir::homePath());
    }
    return folders;
}

void OpenServeAction::openServe(const ActionContextPtr& context, const QString& serve,
                                const QString& path)
{
    if (!context)
        return;
    const std::optional<Terminal> terminal = terminalForService(serve);
    // Neither an unknown service nor a terminal that does not start is shown to the person; the
    // log says which it was.
    if (!terminal) {
        qWarning() << "no service named" << serve;
        return;
    }
    const QStringList folders = foldersFor(*context, path);
    for (const QString& folder : folders) {
        if (!Services::launcher()->openTerminal(folder, terminal->mode, terminal->secondTerminal))
            qWarning() << "no terminal could be started in" << folder;
    }
}

} // namespace pallstone
