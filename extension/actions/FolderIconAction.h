#pragma once

#include "ActionContext.h"
#include "MenuItem.h"

#include <QString>

namespace pallstone {

// The "Folder Icon" entry: gives the selected folders the picture of the chosen folder icon, or
// with "Recover Icon" takes their custom icon away.
class FolderIconAction final
{
public:
    static void setFolderIcon(const ActionContextPtr& context, const MenuItemPtr& entry);

    // The chosen picture copied into the applied-icons folder under the SHA-256 of its PNG bytes
    // (once: the same picture applied again reuses the copy), so that decorated folders keep
    // their icon whatever becomes of the list entry. Empty when the picture cannot be read as
    // an image or the copy cannot be written. Worker thread.
    static QString appliedCopy(const QString& picture);

private:
    FolderIconAction() = delete;
};

} // namespace pallstone
