#include "StoreSnapshot.h"

#include "MenuStore.h"

namespace pallstone {

StoreSnapshot StoreSnapshot::read()
{
    return fromRoot(MenuStore::sharedDefaults().dictionaryRepresentation());
}

StoreSnapshot StoreSnapshot::fromRoot(const Value& root)
{
    StoreSnapshot s;
    s.root = root;
    s.mainMenu = MenuStore::menuItemArray(root);
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
    return MenuStore::commonAppMenuArray(root);
}

MenuItemList StoreSnapshot::templates() const
{
    return MenuStore::newFileTemplateMenuArray(root, false);
}

} // namespace pallstone
