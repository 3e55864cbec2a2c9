#pragma once

#include "ActionContext.h"
#include "FileDigest.h"
#include "MenuItem.h"

#include <QString>

namespace pallstone {

// Shows a checksum of the first selected item, the kind chosen by the entry's position in the
// "File Info" submenu, and copies it when the person asks. The file is hashed on the background
// queue, so a large file does not hold up the menus the service answers meanwhile.
class CopyFileInfoAction final
{
public:
    static void copyFileInfo(const ActionContextPtr& context, const MenuItemPtr& item);

    // What the alert says when there is no value.
    static QString failureText(const FileDigest::Result& result);

private:
    CopyFileInfoAction() = delete;
};

} // namespace pallstone
