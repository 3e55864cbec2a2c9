#include "ServiceActions.h"

#include "FinderSync.h"
#include "actions/ConvertAction.h"
#include "actions/EmbedActions.h"
#include "actions/EncryptedCompressAction.h"
#include "actions/FileTransferActions.h"
#include "actions/NewFileAction.h"
#include "actions/CopyFileInfoAction.h"
#include "actions/ExecuteScriptAction.h"
#include "actions/HideAndShowFilesAction.h"
#include "actions/LockUnlockFilesAction.h"
#include "actions/OpenServeAction.h"
#include "actions/OpenWithAppAction.h"
#include "actions/ShowSystemFilesAction.h"

namespace pallstone {

// -- file information, terminals, applications, hiding, locking, scripts --

void ServiceActions::openWithApp(const ActionContextPtr& context, const TQMenuItemPtr& item,
                                 const QString& path)
{
    OpenWithAppAction::openWithApp(context, item, path);
}

void ServiceActions::openServe(const ActionContextPtr& context, const QString& serve,
                               const QString& path)
{
    OpenServeAction::openServe(context, serve, path);
}

void ServiceActions::copyfileInfo(const ActionContextPtr& context, const TQMenuItemPtr& item)
{
    CopyFileInfoAction::copyfileInfo(context, item);
}

void ServiceActions::showSystemFiles(const ActionContextPtr& context, const TQMenuItemPtr& item)
{
    ShowSystemFilesAction::showSystemFiles(context, item);
}

void ServiceActions::hideAndShowFiles(const ActionContextPtr& context, const TQMenuItemPtr& item)
{
    HideAndShowFilesAction::hideAndShowFiles(context, item);
}

void ServiceActions::lockUnlockFiles(const ActionContextPtr& context, const TQMenuItemPtr& item)
{
    LockUnlockFilesAction::lockUnlockFiles(context, item);
}

void ServiceActions::executeScript(const ActionContextPtr& context)
{
    ExecuteScriptAction::executeScript(context);
}

// -- compression --

void ServiceActions::encryptedCompress(const ActionContextPtr& context, const TQMenuItemPtr&)
{
    EncryptedCompressAction::shared().encryptedCompress(context, &m_finderSync);
}

// -- new files, copying, moving, pasting, deleting, embedding --

void ServiceActions::createFileWithItem(const ActionContextPtr& context, const TQMenuItemPtr& item)
{
    NewFileAction::createFileWithItem(context, item);
}

void ServiceActions::copyPath(const ActionContextPtr& context)
{
    FileTransferActions::copyPath(context);
}

void ServiceActions::deletePath(const ActionContextPtr& context)
{
    FileTransferActions::deletePath(context);
}

void ServiceActions::openCommonPath(const ActionContextPtr& context, const QString& path,
                                    const TQMenuItemPtr& item)
{
    FileTransferActions::openCommonPath(m_finderSync, context, path, item);
}

void ServiceActions::moveAndCopyItem(const ActionContextPtr& context, const TQMenuItemPtr& item,
                                     bool isCopy)
{
    FileTransferActions::moveAndCopyItem(m_finderSync, context, item, isCopy);
}

void ServiceActions::cutPasteItem(const ActionContextPtr& context, const TQMenuItemPtr& item)
{
    FileTransferActions::cutPasteItem(context, item);
}

void ServiceActions::embedFolder(const ActionContextPtr& context)
{
    EmbedActions::embedFolder(context);
}

void ServiceActions::unembedFolder(const ActionContextPtr& context)
{
    EmbedActions::unembedFolder(context);
}

// -- images, folder icons, colours --

void ServiceActions::convertItem(const ActionContextPtr& context, const TQMenuItemPtr& item,
                                 const TQMenuItemPtr& parentItem)
{
    ConvertAction::convertItem(context, item, parentItem, &m_finderSync);
}

} // namespace pallstone
