#include "OpenServeAction.h"

#include "ActionAlerts.h"
#include "ActionTable.h"
#include "FavouriteSubmenus.h"
#include "FolderAccess.h"
#include "Localizer.h"
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

// A terminal opened at the selection (or at a favourite folder, from its submenu).
ActionRow terminalRow(const QString& key, const QString& serve)
{
    ActionRow row;
    row.name = key;
    row.keys = {key};
    row.anywhere = true;
    row.run = [serve](const ActionCall& call) {
        OpenServeAction::openServe(call.context, serve, call.folder);
    };
    return row;
}

// A terminal opened at a folder chosen from the submenu: a favourite, or one picked in a panel.
ActionRow terminalToRow(const QString& key, const QString& serve)
{
    ActionRow row;
    row.name = key;
    row.keys = {key};
    row.anywhere = true;
    row.hasSubmenu = true;
    row.shape = FavouriteSubmenus::folderChoices(false);
    row.run = [serve](const ActionCall& call) {
        if (!call.child)
            return;
        QString folder = FavouriteSubmenus::chosenFolder(call);
        if (!Strings::isValid(folder))
            folder = FolderAccess::selectFolderWithPrompt(QString()).value_or(QString());
        if (Strings::isValid(folder))
            OpenServeAction::openServe(call.context, serve, folder);
    };
    return row;
}

const bool registered =
    ActionTable::add(
        terminalRow(QStringLiteral("Terminal Window"), QStringLiteral("New Terminal at Folder"))) &&
    ActionTable::add(terminalRow(QStringLiteral("Terminal Tab"),
                                 QStringLiteral("New Terminal Tab at Folder"))) &&
    ActionTable::add(
        terminalRow(QStringLiteral("iTerm2 Window"), QStringLiteral("New iTerm2 Window Here"))) &&
    ActionTable::add(
        terminalRow(QStringLiteral("iTerm2 Tab"), QStringLiteral("New iTerm2 Tab Here"))) &&
    ActionTable::add(
        terminalToRow(QStringLiteral("Terminal To"), QStringLiteral("New Terminal at Folder"))) &&
    ActionTable::add(
        terminalToRow(QStringLiteral("iTerm2 To"), QStringLiteral("New iTerm2 Window Here")));

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
    bool failed = false;
    for (const QString& folder : folders) {
        if (!Services::launcher()->openTerminal(folder, terminal->mode, terminal->secondTerminal)) {
            qWarning() << "no terminal could be started in" << folder;
            failed = true;
        }
    }
    // No window of ours is open: the desktop says it, once for the whole selection.
    if (failed)
        ActionAlerts::notifyFailure(QStringLiteral("No Terminal"));
}

} // namespace pallstone
