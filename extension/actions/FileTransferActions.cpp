#include "FileTransferActions.h"

#include "ActionAlerts.h"
#include "ActionTable.h"
#include "Clipboard.h"
#include "Dispatch.h"
#include "FavouriteSubmenus.h"
#include "FileOperations.h"
#include "FolderAccess.h"
#include "Launcher.h"
#include "Localizer.h"
#include "MenuStore.h"
#include "Paths.h"
#include "Prompter.h"
#include "ReplaceFileAlert.h"
#include "Services.h"
#include "Strings.h"
#include "WorkInProgress.h"

#include <QUrl>

#include <memory>

namespace pallstone {

namespace {

QString joined(const QString& folder, const QString& name)
{
    return folder.endsWith(u'/') ? QString(folder + name) : QString(folder + u'/' + name);
}

// Opens an item with its default application (a folder opens in the file manager).
void openItem(const QString& path)
{
    if (!Services::launcher()->openDefault(QUrl::fromLocalFile(path)))
        ActionAlerts::accessDenied(Paths::isFolder(path) ? path
                                                         : Paths::deletingLastPathComponent(path));
}

// One copy or move: the items and where each goes, worked in order on a worker of its own, so
// that the service goes on answering menus and other jobs need not wait for it. The progress
// window says success only when every item arrived.
void transfer(const QList<std::pair<QString, QString>>& moves, const QString& folder, bool isCopy,
              bool showProgress)
{
    if (moves.isEmpty())
        return;
    if (showProgress) {
        ProgressEvent open;
        open.state = ProgressEvent::State::Open;
        open.text = Localizer::text(isCopy ? QStringLiteral("Copy") : QStringLiteral("Move"));
        Prompter::instance()->progress(open);
    }
    WorkInProgress::run([moves, folder, isCopy, showProgress]() -> std::function<void()> {
        int failed = 0;
        for (const auto& [source, to] : moves) {
            if (!(isCopy ? FileOperations::copyItem(source, to)
                         : FileOperations::moveItem(source, to)))
                ++failed;
        }
        return [failed, folder, showProgress] {
            if (failed > 0)
                ActionAlerts::accessDenied(folder);
            if (showProgress) {
                ProgressEvent done;
                if (failed == 0) {
                    done.state = ProgressEvent::State::Success;
                    done.text = Localizer::text(QStringLiteral("Success Common Tip"));
                } else {
                    done.state = ProgressEvent::State::Close;
                }
                Prompter::instance()->progress(done);
            }
        };
    });
}

} // namespace

void FileTransferActions::copyPath(const ActionContextPtr& context)
{
    // One path per line; only the line break after the last one is dropped, never a space that
    // belongs to a name.
    Services::clipboard()->setText(context->selectPaths.join(u'\n'));
}

void FileTransferActions::deletePath(const ActionContextPtr& context)
{
    if (MenuStore::sharedDefaults().boolForKey(StoreKey::prefCheck(0))) {
        AlertRequest request;
        request.style = AlertRequest::Style::Warning;
        request.message = Localizer::text(QStringLiteral("Warn"));
        request.informative = Localizer::text(QStringLiteral("Delete Tip"));
        request.buttons = {Localizer::text(QStringLiteral("OK")),
                           Localizer::text(QStringLiteral("Cancel"))};
        if (Prompter::instance()->alert(request) != kAlertFirstButton)
            return;
    }
    // A big folder takes a while: the service goes on answering menus meanwhile.
    WorkInProgress::run([paths = context->selectPaths]() -> std::function<void()> {
        bool failed = false;
        for (const QString& path : paths) {
            // Links are removed themselves; nothing outside the selection is followed into.
            if (!Paths::remove(path))
                failed = true;
        }
        if (!failed)
            return {};
        return [] { ActionAlerts::tip(Localizer::text(QStringLiteral("Delete Fail Tip"))); };
    });
}

void FileTransferActions::openCommonPath(const ActionContextPtr& context, const QString& folder,
                                         const MenuItemPtr& item)
{
    if (!FileOperations::exists(folder)) {
        ActionAlerts::tip(Localizer::text(QStringLiteral("Common Path Not Exist Tip")));
        return;
    }
    FolderAccess::checkPermitWithPath(
        folder,
        [context, folder, item] {
            // A terminal or an application of the submenu opens the folder.
            ActionCall opener;
            opener.context = context;
            opener.entry = item;
            opener.folder = folder;
            if (item && !Strings::isValid(item->path) && ActionTable::instance().run(*item, opener))
                return;
            if (item && Strings::isValid(item->path))
                openItem(item->path);
            else
                openItem(folder);
        },
        [] {});
}

void FileTransferActions::moveAndCopyItem(const ActionContextPtr& context, const QString& chosen,
                                          bool isCopy)
{
    QString folder = chosen;
    if (!Strings::isValid(folder)) {
        folder = FolderAccess::selectFolderWithPrompt(
                     Localizer::text(isCopy ? QStringLiteral("Copy") : QStringLiteral("Move")))
                     .value_or(QString());
        if (!Strings::isValid(folder))
            return;
    }
    FolderAccess::checkPermitWithPath(
        folder,
        [context, folder, isCopy] {
            const auto operation =
                isCopy ? ReplaceFileAlert::Operation::Copy : ReplaceFileAlert::Operation::Move;
            QList<std::pair<QString, QString>> moves;
            for (const QString& source : context->selectPaths) {
                const std::optional<QString> destination = ReplaceFileAlert::resolve(
                    joined(folder, Paths::lastPathComponent(source)), operation, source);
                if (!destination)
                    continue;
                if (FileOperations::isSameOrInside(*destination, source)) {
                    // A folder copied or moved into itself would never end.
                    ActionAlerts::tip(Localizer::text(QStringLiteral("Error Common Tip")));
                    continue;
                }
                moves.append({source, *destination});
            }
            transfer(moves, folder, isCopy, true);
        },
        [] {});
}

void FileTransferActions::cutPasteItem(const ActionContextPtr& context, const MenuItemPtr& entry)
{
    QStringList pending;
    if (!context->isSelectURL && entry && !entry->cutPaths.isEmpty()) {
        const QString folder = context->selectPaths.value(0);
        QList<std::pair<QString, QString>> moves;
        for (const QString& source : entry->cutPaths) {
            const std::optional<QString> destination =
                ReplaceFileAlert::resolve(joined(folder, Paths::lastPathComponent(source)),
                                          ReplaceFileAlert::Operation::Move, source);
            if (destination)
                moves.append({source, *destination});
        }
        transfer(moves, folder, false, false);
    } else {
        pending = context->selectPaths;
    }
    MenuStore::updateMenuKey(StoreKey::rightMenu, QStringLiteral("Cut Paste"),
                             QStringLiteral("cutPaths"), Value(pending));
}

namespace {

ActionRow simpleRow(const QString& key, void (*action)(const ActionContextPtr&))
{
    ActionRow row;
    row.name = key;
    row.keys = {key};
    row.selectionOnly = key == u"Delete";
    row.run = [action](const ActionCall& call) { action(call.context); };
    return row;
}

// Copying and moving into a favourite folder, one of its subfolders, or one picked in a panel.
ActionRow transferRow(const QString& key, bool isCopy)
{
    ActionRow row;
    row.name = key;
    row.keys = {key};
    row.selectionOnly = true;
    row.hasSubmenu = true;
    row.shape = FavouriteSubmenus::folderChoices(true);
    row.run = [isCopy](const ActionCall& call) {
        if (call.child)
            FileTransferActions::moveAndCopyItem(call.context,
                                                 FavouriteSubmenus::chosenFolder(call), isCopy);
    };
    return row;
}

const bool registered = [] {
    ActionRow cut;
    cut.name = QStringLiteral("Cut Paste");
    cut.keys = {QStringLiteral("Cut Paste")};
    // "Cut" on items; "Paste" on a folder's background while something is cut, except in the
    // folder the items came from.
    cut.shape = [](MenuItem& entry, const MenuContext& menu) {
        const bool isItems = menu.request.isSelectURL;
        if (!isItems && entry.cutPaths.isEmpty())
            return false;
        const bool pasteMode = !isItems;
        if (pasteMode && menu.refPath == Paths::deletingLastPathComponent(entry.cutPaths.first()))
            return false;
        entry.displayName =
            Localizer::text(pasteMode ? QStringLiteral("Paste") : QStringLiteral("Cut"));
        entry.icon = pasteMode ? QStringLiteral("paste") : QStringLiteral("cut");
        return true;
    };
    cut.run = [](const ActionCall& call) {
        FileTransferActions::cutPasteItem(call.context, call.entry);
    };

    ActionRow favourites;
    favourites.name = QStringLiteral("Common Path");
    favourites.keys = {QStringLiteral("Common Path")};
    favourites.anywhere = true;
    favourites.hasSubmenu = true;
    favourites.shape = [](MenuItem& entry, const MenuContext& menu) {
        entry.children.clear();
        for (const MenuItemPtr& favourite :
             FavouriteSubmenus::favouritesWithNextMenus(menu.store, menu.listingDeadline))
            entry.addChild(favourite);
        return true;
    };
    favourites.run = [](const ActionCall& call) {
        if (call.child)
            FileTransferActions::openCommonPath(call.context, call.child->path, call.grandchild);
    };

    return ActionTable::add(
               simpleRow(QStringLiteral("Delete"), &FileTransferActions::deletePath)) &&
           ActionTable::add(
               simpleRow(QStringLiteral("Copy Path"), &FileTransferActions::copyPath)) &&
           ActionTable::add(transferRow(QStringLiteral("Copy to"), true)) &&
           ActionTable::add(transferRow(QStringLiteral("Move to"), false)) &&
           ActionTable::add(std::move(cut)) && ActionTable::add(std::move(favourites));
}();

} // namespace

} // namespace pallstone
