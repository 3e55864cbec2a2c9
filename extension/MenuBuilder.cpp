#include "MenuBuilder.h"

#include "ActionTable.h"
#include "FileEntry.h"
#include "MenuTag.h"
#include "StoreSnapshot.h"

namespace pallstone {

namespace {

// File managers ask for menus on their UI thread; a favourite folder gets this long, all of them
// together, to be listed.
constexpr int kListingBudgetMs = 40;

QList<MenuEntry> submenuEntries(const MenuItemList& children, const QString& parentTag,
                                bool hideIcons)
{
    QList<MenuEntry> submenu;
    for (qsizetype j = 0; j < children.size() && j < MenuTag::kMaxPerLevel; ++j) {
        const MenuItemPtr& k = children.at(j);
        if (k->disabled || k->isAddToMainMenu)
            continue;
        MenuEntry entry;
        entry.key = k->key;
        entry.title = k->menuTitle();
        if (k->isSepLine()) {
            entry.separator = true;
            submenu.append(entry);
            continue;
        }
        if (!hideIcons)
            entry.icon = k->menuIcon();
        const QString tag = MenuTag::childTag(parentTag, j);
        entry.tag = MenuTag::value(tag);
        entry.children = submenuEntries(k->children, tag, hideIcons);
        entry.hasSubmenu = !entry.children.isEmpty();
        submenu.append(entry);
    }
    return submenu;
}

// The row's conditions as the entry's own flags, so that dispatch and actions see them too.
void applyRow(MenuItem& item, const ActionRow& row)
{
    item.isNotNeedURL = row.anywhere;
    item.isNeedSelectURL = row.selectionOnly;
    item.isNeedFolder = row.foldersOnly;
    item.formats = row.formats;
    if (row.noFolderCheck)
        item.disabledAuth = true;
}

} // namespace

MenuItemPtr Menu::entryForTag(qint64 tag) const
{
    const QList<int> pieces = MenuTag::decode(tag);
    if (pieces.isEmpty() || pieces.size() > 3)
        return {};
    MenuItemList level = model;
    MenuItemPtr entry;
    for (int piece : pieces) {
        if (piece < 1 || piece > level.size())
            return {};
        entry = level.at(piece - 1);
        level = entry->children;
    }
    return entry;
}

Menu MenuBuilder::build(const MenuRequest& request, const StoreSnapshot& store)
{
    return build(request, store, ActionTable::instance());
}

Menu MenuBuilder::build(const MenuRequest& request, const StoreSnapshot& store,
                        const ActionTable& table)
{
    Menu menu;
    menu.model = store.mainMenu;

    const QStringList& selection = request.selectPaths;
    const bool hasURL = !selection.isEmpty();
    const FileEntry reference(hasURL ? selection.first() : QString());
    MenuContext context{request,   store, reference.path(),
                        QString(), false, QDeadlineTimer(kListingBudgetMs)};
    if (!context.refPath.isEmpty()) {
        context.refExt = reference.ext();
        context.refIsFolder = reference.isFolder();
    }

    for (qsizetype i = 0; i < menu.model.size() && i < MenuTag::kMaxPerLevel; ++i) {
        const MenuItemPtr& e = menu.model.at(i);
        const ActionRow* row = table.rowFor(*e);
        // An entry without an action is not offered.
        if (!row || !row->run)
            continue;
        applyRow(*e, *row);
        if (!hasURL && !e->isNotNeedURL)
            continue;
        if (!e->formats.isEmpty() && !e->formats.contains(context.refExt))
            continue;
        if (e->isNeedFolder && !context.refIsFolder)
            continue;
        if (e->isNeedSelectURL && !request.isSelectURL)
            continue;
        if (e->disabled || !e->isValidParent())
            continue;
        if (row->shape && !row->shape(*e, context))
            continue;

        MenuEntry entry;
        entry.key = e->key;
        entry.title = e->menuTitle();
        if (!store.hideMainIcons)
            entry.icon = e->menuIcon();
        const QString tag = MenuTag::mainTag(i);
        entry.tag = MenuTag::value(tag);
        if (row->hasSubmenu || !e->children.isEmpty()) {
            if (!store.hideSetItem)
                e->addChild(MenuItem::setItem());
            entry.children = submenuEntries(e->children, tag, store.hideSubIcons);
            entry.hasSubmenu = !entry.children.isEmpty();
        }
        menu.entries.append(entry);
    }
    return menu;
}

} // namespace pallstone
