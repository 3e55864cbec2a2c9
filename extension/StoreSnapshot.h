#pragma once

#include "MenuItem.h"
#include "Value.h"

namespace pallstone {

// The configuration one menu is built from, read from the shared store once per menu. The lists
// hand out fresh items on every call: a submenu owns the items it holds.
struct StoreSnapshot
{
    static StoreSnapshot read();
    static StoreSnapshot fromRoot(const Value& root);

    Value root;
    // The main menu's entries, switched-off ones and applications not installed left out.
    MenuItemList mainMenu;
    MenuItemList belongApps; // its terminal windows and applications, which open folders too
    bool hideMainIcons = false;
    bool hideSetItem = false;
    bool hideSubIcons = false;
    qint64 favouriteSubmenuMode = 0; // "common path next menu"

    MenuItemList favourites() const;
    MenuItemList applications() const; // installed ones only
    MenuItemList templates() const;
};

} // namespace pallstone
