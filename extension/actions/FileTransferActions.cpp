#include "FileTransferActions.h"

#include "ActionAlerts.h"
#include "Clipboard.h"
#include "Dispatch.h"
#include "FileOperations.h"
#include "FinderSync.h"
#include "Launcher.h"
#include "Localizer.h"
#include "Paths.h"
#include "Prompter.h"
#include "ReplaceFileAlert.h"
#include "Services.h"
#include "Strings.h"
#include "TQCheckPermit.h"
#include "TQMenuManager.h"

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

// The operations one copy or move action started, and how they ended.
struct Transfer
{
    int pending = 0;
    int failed = 0;
    bool progressShown = false;
};

} // namespace

void FileTransferActions::copyPath(const ActionContextPtr& context)
{
    // One path per line; only the line break after the last one is dropped, never a space that
    // belongs to a name.
    Services::clipboard()->setText(context->selectPaths.join(u'\n'));
}

void FileTransferActions::deletePath(const ActionContextPtr& context)
{
    if (TQMenuManager::sharedDefaults().boolForKey(StoreKey::prefCheck(0))) {
        AlertRequest request;
        request.style = AlertRequest::Style::Warning;
        request.message = Localizer::text(QStringLiteral("Warn"));
        request.informative = Localizer::text(QStringLiteral("Delete Tip"));
        request.buttons = {Localizer::text(QStringLiteral("OK")),
                           Localizer::text(QStringLiteral("Cancel"))};
        if (Prompter::instance()->alert(request) != kAlertFirstButton)
            return;
    }
    for (const QString& path : context->selectPaths) {
        // Links are removed themselves; nothing outside the selection is followed into.
        if (!Paths::remove(path))
            ActionAlerts::tip(Localizer::text(QStringLiteral("Delete Fail Tip")));
    }
}

void FileTransferActions::openCommonPath(FinderSync& finderSync, const ActionContextPtr& context,
                                         const QString& folder, const TQMenuItemPtr& item)
{
    if (!FileOperations::exists(folder)) {
        ActionAlerts::tip(Localizer::text(QStringLiteral("Common Path Not Exist Tip")));
        return;
    }
    TQCheckPermit::checkPermitWithPath(
        folder,
        [&finderSync, context, folder, item] {
            if (item && Strings::isValid(item->serve))
                finderSync.actionHandlers().openServe(context, item->serve, folder);
            else if (item && Strings::isValid(item->appName))
                finderSync.actionHandlers().openWithApp(context, item, folder);
            else if (item && Strings::isValid(item->path))
                openItem(item->path);
            else
                openItem(folder);
        },
        [] {});
}

void FileTransferActions::moveAndCopyItem(FinderSync& finderSync, const ActionContextPtr& context,
                                          const TQMenuItemPtr& target, bool isCopy)
{
    QString folder = target ? target->path : QString();
    if (!Strings::isValid(folder)) {
        folder = TQCheckPermit::selectFolderWithPrompt(
                     Localizer::text(isCopy ? QStringLiteral("Copy") : QStringLiteral("Move")))
                     .value_or(QString());
        if (!Strings::isValid(folder))
            return;
    }
    TQCheckPermit::checkPermitWithPath(
        folder,
        [&finderSync, context, folder, isCopy] {
            auto transfer = std::make_shared<Transfer>();
            const auto operation =
                isCopy ? ReplaceFileAlert::Operation::Copy : ReplaceFileAlert::Operation::Move;
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
                ++transfer->pending;
                ++finderSync.loadingCounter();
                if (!transfer->progressShown) {
                    transfer->progressShown = true;
                    ProgressEvent open;
                    open.state = ProgressEvent::State::Open;
                    open.text =
                        Localizer::text(isCopy ? QStringLiteral("Copy") : QStringLiteral("Move"));
                    Prompter::instance()->progress(open);
                }
                const QString to = *destination;
                Dispatch::enterBackground([&finderSync, transfer, source, to, folder, isCopy] {
                    const bool ok = isCopy ? FileOperations::copyItem(source, to)
                                           : FileOperations::moveItem(source, to);
                    Dispatch::enterForeground([&finderSync, transfer, ok, folder] {
                        if (!ok) {
                            ++transfer->failed;
                            ActionAlerts::accessDenied(folder);
                        }
                        --finderSync.loadingCounter();
                        if (--transfer->pending > 0)
                            return;
                        ProgressEvent done;
                        // Success only when every item arrived.
                        if (transfer->failed == 0) {
                            done.state = ProgressEvent::State::Success;
                            done.text = Localizer::text(QStringLiteral("Success Common Tip"));
                        } else {
                            done.state = ProgressEvent::State::Close;
                        }
                        Prompter::instance()->progress(done);
                    });
                });
            }
        },
        [] {});
}

void FileTransferActions::cutPasteItem(const ActionContextPtr& context, const TQMenuItemPtr& entry)
{
    QStringList pending;
    if (!context->isSelectURL && entry && !entry->cutPaths.isEmpty()) {
        const QString folder = context->selectPaths.value(0);
        for (const QString& source : entry->cutPaths) {
            const std::optional<QString> destination =
                ReplaceFileAlert::resolve(joined(folder, Paths::lastPathComponent(source)),
                                          ReplaceFileAlert::Operation::Move, source);
            if (!destination)
                continue;
            if (!FileOperations::moveItem(source, *destination))
                ActionAlerts::accessDenied(folder);
        }
    } else {
        pending = context->selectPaths;
    }
    TQMenuManager::updateMenuKey(StoreKey::rightMenu, QStringLiteral("Cut Paste"),
                                 QStringLiteral("cutPaths"), Value(pending));
}

} // namespace pallstone
