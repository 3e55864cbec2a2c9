#pragma once

#include "ActionContext.h"
#include "TQMenuItem.h"

#include <QString>

#include <functional>

namespace pallstone {

// The handlers the dispatch calls, one per kind of entry. Each receives the context its entry was
// chosen in. Handlers that a build does not provide report that they are not available.
class ActionHandlers
{
public:
    virtual ~ActionHandlers() = default;

    virtual void createFileWithItem(const ActionContextPtr& context, const TQMenuItemPtr& item);
    virtual void openCommonPath(const ActionContextPtr& context, const QString& path,
                                const TQMenuItemPtr& item);
    virtual void openWithApp(const ActionContextPtr& context, const TQMenuItemPtr& item,
                             const QString& path);
    virtual void openServe(const ActionContextPtr& context, const QString& serve,
                           const QString& path);
    virtual void setFolderIcon(const ActionContextPtr& context, const TQMenuItemPtr& item);
    virtual void convertItem(const ActionContextPtr& context, const TQMenuItemPtr& item,
                             const TQMenuItemPtr& parentItem);
    virtual void copyfileInfo(const ActionContextPtr& context, const TQMenuItemPtr& item);
    virtual void moveAndCopyItem(const ActionContextPtr& context, const TQMenuItemPtr& item,
                                 bool isCopy);
    virtual void deletePath(const ActionContextPtr& context);
    virtual void copyPath(const ActionContextPtr& context);
    virtual void showSystemFiles(const ActionContextPtr& context, const TQMenuItemPtr& item);
    virtual void hideAndShowFiles(const ActionContextPtr& context, const TQMenuItemPtr& item);
    virtual void lockUnlockFiles(const ActionContextPtr& context, const TQMenuItemPtr& item);
    virtual void cutPasteItem(const ActionContextPtr& context, const TQMenuItemPtr& item);
    virtual void encryptedCompress(const ActionContextPtr& context, const TQMenuItemPtr& item);
    virtual void embedFolder(const ActionContextPtr& context);
    virtual void unembedFolder(const ActionContextPtr& context);
    virtual void startColorPicker(const ActionContextPtr& context);
    virtual void executeScript(const ActionContextPtr& context);
    virtual void extractIcon(const ActionContextPtr& context);

    // Where a handler that is not available says so (the CLI prints it and fails).
    static void setUnavailableReporter(std::function<void(const QString& handler)> reporter);

protected:
    static void reportUnavailable(const QString& handler);
};

} // namespace pallstone
