#pragma once

#include "ActionHandlers.h"

namespace pallstone {

class FinderSync;

// The handlers of the actions this build provides; the others report that they are not
// available. Each override hands over to the action's own class in extension/actions/.
class ServiceActions final : public ActionHandlers
{
public:
    explicit ServiceActions(FinderSync& finderSync) : m_finderSync(finderSync) {}

    // -- file information, terminals, applications, hiding, locking, scripts --
    void openWithApp(const ActionContextPtr& context, const TQMenuItemPtr& item,
                     const QString& path) override;
    void openServe(const ActionContextPtr& context, const QString& serve,
                   const QString& path) override;
    void copyfileInfo(const ActionContextPtr& context, const TQMenuItemPtr& item) override;
    void showSystemFiles(const ActionContextPtr& context, const TQMenuItemPtr& item) override;
    void hideAndShowFiles(const ActionContextPtr& context, const TQMenuItemPtr& item) override;
    void lockUnlockFiles(const ActionContextPtr& context, const TQMenuItemPtr& item) override;
    void executeScript(const ActionContextPtr& context) override;
    // -- compression --
    void encryptedCompress(const ActionContextPtr& context, const TQMenuItemPtr& item) override;
    // -- new files, copying, moving, pasting, deleting, embedding --
    void createFileWithItem(const ActionContextPtr& context, const TQMenuItemPtr& item) override;
    void copyPath(const ActionContextPtr& context) override;
    void deletePath(const ActionContextPtr& context) override;
    void openCommonPath(const ActionContextPtr& context, const QString& path,
                        const TQMenuItemPtr& item) override;
    void moveAndCopyItem(const ActionContextPtr& context, const TQMenuItemPtr& item,
                         bool isCopy) override;
    void cutPasteItem(const ActionContextPtr& context, const TQMenuItemPtr& item) override;
    void embedFolder(const ActionContextPtr& context) override;
    void unembedFolder(const ActionContextPtr& context) override;
    // -- images, folder icons, colours --
    void convertItem(const ActionContextPtr& context, const TQMenuItemPtr& item,
                     const TQMenuItemPtr& parentItem) override;

private:
    [[maybe_unused]] FinderSync& m_finderSync;
};

} // namespace pallstone
