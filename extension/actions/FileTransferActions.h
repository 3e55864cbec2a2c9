#pragma once

#include "ActionContext.h"
#include "MenuItem.h"

namespace pallstone {

// Copying the paths, deleting, opening favourite folders, copying and moving to a folder, cutting
// and pasting.
class FileTransferActions final
{
public:
    static void copyPath(const ActionContextPtr& context);
    static void deletePath(const ActionContextPtr& context);
    static void openCommonPath(const ActionContextPtr& context, const QString& folder,
                               const MenuItemPtr& item);
    static void moveAndCopyItem(const ActionContextPtr& context, const QString& folder,
                                bool isCopy);
    static void cutPasteItem(const ActionContextPtr& context, const MenuItemPtr& entry);

private:
    FileTransferActions() = delete;
};

} // namespace pallstone
