#pragma once

#include "ActionContext.h"
#include "TQMenuItem.h"

namespace pallstone {

class FinderSync;

// Copying the paths, deleting, opening favourite folders, copying and moving to a folder, cutting
// and pasting.
class FileTransferActions final
{
public:
    static void copyPath(const ActionContextPtr& context);
    static void deletePath(const ActionContextPtr& context);
    static void openCommonPath(FinderSync& finderSync, const ActionContextPtr& context,
                               const QString& folder, const TQMenuItemPtr& item);
    static void moveAndCopyItem(FinderSync& finderSync, const ActionContextPtr& context,
                                const TQMenuItemPtr& target, bool isCopy);
    static void cutPasteItem(const ActionContextPtr& context, const TQMenuItemPtr& entry);

private:
    FileTransferActions() = delete;
};

} // namespace pallstone
