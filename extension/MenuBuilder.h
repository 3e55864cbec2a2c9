#pragma once

#include "MenuEntry.h"
#include "MenuItem.h"
#include "MenuRequest.h"

namespace pallstone {

class ActionTable;
struct StoreSnapshot;

// A built menu: the entries a file manager shows, and the model their tags decode against.
struct Menu
{
    MenuItemList model;
    BuiltMenu entries;

    bool isEmpty() const { return entries.isEmpty(); }
    // The model entry a tag names (a main entry, a child or a grandchild), or null.
    MenuItemPtr entryForTag(qint64 tag) const;
};

// Builds the menu for one request from one reading of the configuration. It keeps nothing
// between calls: the same inputs give the same menu, whatever was asked before.
class MenuBuilder final
{
public:
    static Menu build(const MenuRequest& request, const StoreSnapshot& store);
    static Menu build(const MenuRequest& request, const StoreSnapshot& store,
                      const ActionTable& table);

private:
    MenuBuilder() = delete;
};

} // namespace pallstone
