#include "ActionHandlers.h"

#include <QDebug>

namespace pallstone {

namespace {
std::function<void(const QString&)>& unavailableReporter()
{
    static std::function<void(const QString&)> reporter;
    return reporter;
}
} // namespace

void ActionHandlers::setUnavailableReporter(std::function<void(const QString&)> reporter)
{
    unavailableReporter() = std::move(reporter);
}

void ActionHandlers::reportUnavailable(const QString& handler)
{
    if (unavailableReporter())
        unavailableReporter()(handler);
    else
        qWarning().noquote() << "pallstone-extension:" << handler
                             << "is not available in this build";
}

void ActionHandlers::createFileWithItem(const ActionContextPtr&, const TQMenuItemPtr&)
{
    reportUnavailable(QStringLiteral("createFileWithItem"));
}

void ActionHandlers::openCommonPath(const ActionContextPtr&, const QString&, const TQMenuItemPtr&)
{
    reportUnavailable(QStringLiteral("openCommonPath"));
}

void ActionHandlers::openWithApp(const ActionContextPtr&, const TQMenuItemPtr&, const QString&)
{
    reportUnavailable(QStringLiteral("openWithApp"));
}

void ActionHandlers::openServe(const ActionContextPtr&, const QString&, const QString&)
{
    reportUnavailable(QStringLiteral("openServe"));
}

void ActionHandlers::setFolderIcon(const ActionContextPtr&, const TQMenuItemPtr&)
{
    reportUnavailable(QStringLiteral("setFolderIcon"));
}

void ActionHandlers::convertItem(const ActionContextPtr&, const TQMenuItemPtr&,
                                 const TQMenuItemPtr&)
{
    reportUnavailable(QStringLiteral("convertItem"));
}

void ActionHandlers::copyfileInfo(const ActionContextPtr&, const TQMenuItemPtr&)
{
    reportUnavailable(QStringLiteral("copyfileInfo"));
}

void ActionHandlers::moveAndCopyItem(const ActionContextPtr&, const TQMenuItemPtr&, bool)
{
    reportUnavailable(QStringLiteral("moveAndCopyItem"));
}

void ActionHandlers::deletePath(const ActionContextPtr&)
{
    reportUnavailable(QStringLiteral("deletePath"));
}

void ActionHandlers::copyPath(const ActionContextPtr&)
{
    reportUnavailable(QStringLiteral("copyPath"));
}

void ActionHandlers::showSystemFiles(const ActionContextPtr&, const TQMenuItemPtr&)
{
    reportUnavailable(QStringLiteral("showSystemFiles"));
}

void ActionHandlers::hideAndShowFiles(const ActionContextPtr&, const TQMenuItemPtr&)
{
    reportUnavailable(QStringLiteral("hideAndShowFiles"));
}

void ActionHandlers::lockUnlockFiles(const ActionContextPtr&, const TQMenuItemPtr&)
{
    reportUnavailable(QStringLiteral("lockUnlockFiles"));
}

void ActionHandlers::cutPasteItem(const ActionContextPtr&, const TQMenuItemPtr&)
{
    reportUnavailable(QStringLiteral("cutPasteItem"));
}

void ActionHandlers::encryptedCompress(const ActionContextPtr&, const TQMenuItemPtr&)
{
    reportUnavailable(QStringLiteral("encryptedCompress"));
}

void ActionHandlers::embedFolder(const ActionContextPtr&)
{
    reportUnavailable(QStringLiteral("embedFolder"));
}

void ActionHandlers::unembedFolder(const ActionContextPtr&)
{
    reportUnavailable(QStringLiteral("unembedFolder"));
}

void ActionHandlers::startColorPicker(const ActionContextPtr&)
{
    reportUnavailable(QStringLiteral("startColorPicker"));
}

void ActionHandlers::executeScript(const ActionContextPtr&)
{
    reportUnavailable(QStringLiteral("executeScript"));
}

void ActionHandlers::extractIcon(const ActionContextPtr&)
{
    reportUnavailable(QStringLiteral("extractIcon"));
}

} // namespace pallstone
