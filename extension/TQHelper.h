#pragma once

#include "TQMenuItem.h"

#include <QString>

namespace pallstone {

// The generated submenus of the favourite folders.
class TQHelper final
{
public:
    // What a favourite folder's submenu shows, by the "common path next menu" mode.
    static TQMenuItemList commomPathNextMenuWithPath(const QString& path, qint64 mode);
    // Up to 20 subfolders of a favourite folder, for copying and moving into.
    static TQMenuItemList commomPathChildFolderItemWithPath(const QString& path);
    // Up to maxCount visible entries of the folder, then "More Files".
    static TQMenuItemList _nextTypeSubMenuWithPath(const QString& path, int maxCount);
    // The terminal and application entries that can open a folder.
    static TQMenuItemList _nextTypeAppMenu();

    static TQMenuItemPtr itemWithKey(const QString& key, const QString& icon = QString());

private:
    TQHelper() = delete;
};

} // namespace pallstone
