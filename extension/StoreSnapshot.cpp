#include "StoreSnapshot.h"

#include "LaunchPlan.h"
#include "MenuStore.h"
#include "Strings.h"

namespace pallstone {

namespace {

// An open-with entry whose application has no desktop entry here (a list from another machine, a
// default for an application this one lacks) is left out like a switched-off one; it comes back
// once the application is installed.
bool launchable(const MenuItem& item)
{
    return !Strings::isValid(item.appName) || !LaunchPlan::desktopEntryPath(item.appName).isEmpty();
}

MenuItemList launchableOnly(const MenuItemList& items)
{
    MenuItemList kept;
    kept.reserve(items.size());
    for (const MenuItemPtr& item : items) {
        if (launchable(*item))
            kept.append(item);
    }
    return kept;
}

} // namespace

StoreSnapshot StoreSnapshot::read()
{
    return fromRoot(MenuStore::sharedDefaults().dictionaryRepresentation());
}

StoreSnapshot StoreSnapshot::fromRoot(const Value& root)
{
    StoreSnapshot s;
    s.root = root;
    s.mainMenu = launchableOnly(MenuStore::menuItemArray(root));
    for (const MenuItemPtr& item : s.mainMenu) {
        if (MenuStore::belongsToApps(*item))
            s.belongApps.append(item);
    }
    s.hideMainIcons = root.value(StoreKey::prefCheck(1)).readBool(false);
    s.hideSetItem = root.value(StoreKey::prefCheck(2)).readBool(false);
    s.hideSubIcons = root.value(StoreKey::prefCheck(4)).readBool(false);
    s.favouriteSubmenuMode = root.value(StoreKey::commonPathNextMenu).asInteger();
    return s;
}

MenuItemList StoreSnapshot::favourites() const
{
    return MenuStore::commonPathMenuArray(root);
}

MenuItemList StoreSnapshot::applications() const
{
    return launchableOnly(MenuStore::commonAppMenuArray(root));
}

MenuItemList StoreSnapshot::templates() const
{
    return MenuStore::newFileTemplateMenuArray(root, false);
}

} // namespace pallstone
