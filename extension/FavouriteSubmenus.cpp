#include "FavouriteSubmenus.h"

#include "DirectoryLister.h"
#include "FolderAccess.h"
#include "Localizer.h"
#include "MenuStore.h"
#include "Strings.h"

namespace pallstone {

namespace {

constexpr int kMaxSubfolders = 20;

MenuItemPtr pathItem(const DirectoryLister::Entry& entry)
{
    MenuItemPtr item = MenuItem::create();
    item->key = entry.path;
    item->path = entry.path;
    item->displayName = entry.name;
    return item;
}

} // namespace

MenuItemPtr FavouriteSubmenus::itemWithKey(const QString& key, const QString& icon)
{
    MenuItemPtr item = MenuItem::create();
    item->key = key;
    if (!icon.isEmpty())
        item->icon = icon;
    return item;
}

MenuItemList FavouriteSubmenus::favouritesWithNextMenus(const StoreSnapshot& store)
{
    // The terminals and applications that can open a favourite folder.
    MenuItemList apps = store.belongApps;
    apps.append(store.applications());
    MenuItemList favourites = store.favourites();
    for (const MenuItemPtr& favourite : favourites) {
        for (const MenuItemPtr& child :
             commonPathNextMenuWithPath(favourite->path, store.favouriteSubmenuMode, apps))
            favourite->addChild(child);
    }
    return favourites;
}

std::function<bool(MenuItem&, const MenuContext&)>
FavouriteSubmenus::folderChoices(bool withSubfolders)
{
    return [withSubfolders](MenuItem& entry, const MenuContext& menu) {
        entry.children.clear();
        entry.addChild(itemWithKey(QStringLiteral("Select Folder"), QStringLiteral("choose")));
        for (const MenuItemPtr& favourite : menu.store.favourites()) {
            if (withSubfolders) {
                for (const MenuItemPtr& child : commonPathChildFolderItemWithPath(favourite->path))
                    favourite->addChild(child);
            }
            entry.addChild(favourite);
        }
        return true;
    };
}

QString FavouriteSubmenus::chosenFolder(const ActionCall& call)
{
    if (!call.child)
        return {};
    if (call.grandchild && Strings::isValid(call.grandchild->path))
        return call.grandchild->path;
    return call.child->path;
}

MenuItemList FavouriteSubmenus::commonPathNextMenuWithPath(const QString& path, qint64 mode,
                                                           const MenuItemList& apps)
{
    if (!FolderAccess::checkPermitWithPath(path))
        return {itemWithKey(QStringLiteral("To Authorize"))};
    MenuItemList items;
    switch (mode) {
    case 2:
        items = apps;
        break;
    case 3:
        items = listingWithPath(path, 20);
        break;
    case 4:
        items = listingWithPath(path, 10);
        items.append(MenuItem::sepLineItem());
        items.append(apps);
        break;
    default:
        break;
    }
    if (!items.isEmpty())
        items.prepend(itemWithKey(QStringLiteral("Show in Finder"), QStringLiteral("showfinder")));
    return items;
}

MenuItemList FavouriteSubmenus::listingWithPath(const QString& path, int maxCount)
{
    MenuItemList items;
    DirectoryLister::list(path, [&](const DirectoryLister::Entry& entry) {
        items.append(pathItem(entry));
        if (items.size() >= maxCount) {
            items.append(itemWithKey(QStringLiteral("More Files"), QStringLiteral("more")));
            return false;
        }
        return true;
    });
    return items;
}

MenuItemList FavouriteSubmenus::commonPathChildFolderItemWithPath(const QString& path)
{
    if (!FolderAccess::checkPermitWithPath(path))
        return {itemWithKey(QStringLiteral("To Authorize"))};
    MenuItemList items;
    // When the file system counts subfolders, the walk ends once all of them are found instead
    // of reading a folder of many files to its end.
    const qint64 expected = DirectoryLister::subfolderCount(path);
    qint64 found = 0;
    if (expected != 0) {
        DirectoryLister::list(path, [&](const DirectoryLister::Entry& entry) {
            if (!entry.isFolder)
                return true;
            ++found;
            items.append(pathItem(entry));
            if (items.size() >= kMaxSubfolders) {
                MenuItemPtr tip = MenuItem::sepLineItem();
                tip->displayName =
                    Localizer::text(QStringLiteral("Only Show Folder Tip"))
                        .replace(QStringLiteral("%1"), QString::number(kMaxSubfolders));
                items.append(tip);
                return false;
            }
            return expected < 0 || found < expected;
        });
    }
    if (!items.isEmpty())
        items.prepend(
            itemWithKey(QStringLiteral("Current Directory"), QStringLiteral("showfinder")));
    return items;
}

} // namespace pallstone
