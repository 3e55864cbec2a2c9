#include "FavouriteSubmenus.h"

#include "DirectoryLister.h"
#include "FolderAccess.h"
#include "FolderListings.h"
#include "Localizer.h"
#include "MenuStore.h"
#include "Strings.h"

namespace pallstone {

namespace {

constexpr int kMaxSubfolders = 20;

// How many of a favourite's entries its submenu shows, by the "common path next menu" mode.
int entriesShown(qint64 mode)
{
    return mode == 3 ? 20 : mode == 4 ? 10 : 0;
}

QString entriesKey(const QString& path, int count)
{
    return QStringLiteral("entries %1 ").arg(count) + path;
}

QString subfoldersKey(const QString& path)
{
    return QStringLiteral("subfolders ") + path;
}

MenuItemPtr pathItem(const DirectoryLister::Entry& entry)
{
    MenuItemPtr item = MenuItem::create();
    item->key = entry.path;
    item->path = entry.path;
    item->displayName = entry.name;
    return item;
}

} // namespace

FolderListings::Work FavouriteSubmenus::entriesWork(const QString& path, int count)
{
    return [path, count] {
        FolderListings::Listing l;
        l.readable = FolderAccess::canEnter(path);
        if (l.readable && count > 0)
            l.items = listingWithPath(path, count);
        return l;
    };
}

FolderListings::Work FavouriteSubmenus::subfoldersWork(const QString& path)
{
    return [path] {
        FolderListings::Listing l;
        l.readable = FolderAccess::canEnter(path);
        if (l.readable)
            l.items = subfoldersOf(path);
        return l;
    };
}

MenuItemPtr FavouriteSubmenus::itemWithKey(const QString& key, const QString& icon)
{
    MenuItemPtr item = MenuItem::create();
    item->key = key;
    if (!icon.isEmpty())
        item->icon = icon;
    return item;
}

MenuItemList FavouriteSubmenus::favouritesWithNextMenus(const StoreSnapshot& store,
                                                        const QDeadlineTimer& deadline)
{
    // The terminals and applications that can open a favourite folder.
    MenuItemList apps = store.belongApps;
    apps.append(store.applications());
    MenuItemList favourites = store.favourites();
    const int count = entriesShown(store.favouriteSubmenuMode);
    for (const MenuItemPtr& favourite : favourites)
        FolderListings::start(entriesKey(favourite->path, count),
                              entriesWork(favourite->path, count));
    for (const MenuItemPtr& favourite : favourites) {
        for (const MenuItemPtr& child : commonPathNextMenuWithPath(
                 favourite->path, store.favouriteSubmenuMode, apps, deadline))
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
        const MenuItemList favourites = menu.store.favourites();
        QHash<QString, MenuItemList>& listed = *menu.subfoldersListed;
        if (withSubfolders) {
            for (const MenuItemPtr& favourite : favourites) {
                if (!listed.contains(favourite->path))
                    FolderListings::start(subfoldersKey(favourite->path),
                                          subfoldersWork(favourite->path));
            }
        }
        for (const MenuItemPtr& favourite : favourites) {
            if (withSubfolders) {
                if (!listed.contains(favourite->path))
                    listed.insert(favourite->path, commonPathChildFolderItemWithPath(
                                                       favourite->path, menu.listingDeadline));
                // Copies: an item has one parent, and each submenu numbers its own entries.
                for (const MenuItemPtr& child : listed.value(favourite->path))
                    favourite->addChild(std::make_shared<MenuItem>(*child));
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
                                                           const MenuItemList& apps,
                                                           const QDeadlineTimer& deadline)
{
    const int count = entriesShown(mode);
    const std::optional<FolderListings::Listing> listing =
        FolderListings::within(entriesKey(path, count), entriesWork(path, count), deadline);
    // A folder that did not answer in time gets no submenu in this menu.
    if (!listing)
        return {};
    if (!listing->readable && !FolderAccess::checkPermitWithPath(path))
        return {itemWithKey(QStringLiteral("To Authorize"))};
    MenuItemList items;
    switch (mode) {
    case 2:
        items = apps;
        break;
    case 3:
        items = listing->items;
        break;
    case 4:
        items = listing->items;
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

MenuItemList FavouriteSubmenus::commonPathChildFolderItemWithPath(const QString& path,
                                                                  const QDeadlineTimer& deadline)
{
    const std::optional<FolderListings::Listing> listing =
        FolderListings::within(subfoldersKey(path), subfoldersWork(path), deadline);
    if (!listing)
        return {};
    if (!listing->readable && !FolderAccess::checkPermitWithPath(path))
        return {itemWithKey(QStringLiteral("To Authorize"))};
    MenuItemList items = listing->items;
    if (!items.isEmpty() && items.last()->isSepLine())
        items.last()->displayName =
            Localizer::text(QStringLiteral("Only Show Folder Tip"))
                .replace(QStringLiteral("%1"), QString::number(kMaxSubfolders));
    if (!items.isEmpty())
        items.prepend(
            itemWithKey(QStringLiteral("Current Directory"), QStringLiteral("showfinder")));
    return items;
}

MenuItemList FavouriteSubmenus::subfoldersOf(const QString& path)
{
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
                // Its text comes on the main thread, where the translations are.
                items.append(MenuItem::sepLineItem());
                return false;
            }
            return expected < 0 || found < expected;
        });
    }
    return items;
}

} // namespace pallstone
