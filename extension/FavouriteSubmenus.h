#pragma once

#include "ActionTable.h"
#include "FolderListings.h"
#include "MenuItem.h"
#include "StoreSnapshot.h"

#include <QDeadlineTimer>
#include <QString>

#include <functional>

namespace pallstone {

// The generated submenus of the favourite folders.
class FavouriteSubmenus final
{
public:
    // The favourite folders, each with the submenu the "common path next menu" mode gives it.
    // Listings that have not answered by the deadline are left out of this menu.
    static MenuItemList favouritesWithNextMenus(const StoreSnapshot& store,
                                                const QDeadlineTimer& deadline);
    // The submenu of the entries that work in a folder the user picks: "Select Folder", then the
    // favourite folders, each with its subfolders when asked for (copying and moving into).
    static std::function<bool(MenuItem&, const MenuContext&)> folderChoices(bool withSubfolders);
    // The folder picked from that submenu; empty for "Select Folder" (a panel asks then).
    static QString chosenFolder(const ActionCall& call);

    // What a favourite folder's submenu shows, by the "common path next menu" mode.
    static MenuItemList commonPathNextMenuWithPath(const QString& path, qint64 mode,
                                                   const MenuItemList& apps,
                                                   const QDeadlineTimer& deadline);
    // Up to 20 subfolders of a favourite folder, for copying and moving into.
    static MenuItemList commonPathChildFolderItemWithPath(const QString& path,
                                                          const QDeadlineTimer& deadline);
    // Up to maxCount visible entries of the folder, then "More Files".
    static MenuItemList listingWithPath(const QString& path, int maxCount);

    static MenuItemPtr itemWithKey(const QString& key, const QString& icon = QString());

private:
    FavouriteSubmenus() = delete;
    // Up to 20 subfolders, then the tip that there are more; worked on a listing thread.
    static MenuItemList subfoldersOf(const QString& path);
    static FolderListings::Work entriesWork(const QString& path, int count);
    static FolderListings::Work subfoldersWork(const QString& path);
};

} // namespace pallstone
