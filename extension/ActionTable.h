#pragma once

#include "ActionContext.h"
#include "MenuItem.h"
#include "MenuRequest.h"

#include <QDeadlineTimer>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace pallstone {

struct StoreSnapshot;

// What a row sees while a menu is built: the request, the configuration, and the item the
// entries are chosen for.
struct MenuContext
{
    const MenuRequest& request;
    const StoreSnapshot& store;
    QString refPath;          // the first item the menu works on, or empty
    QString refExt;           // its extension as written
    bool refIsFolder = false; // it is a folder
    // When the favourite folders' listings for this menu must be in, all of them together.
    QDeadlineTimer listingDeadline;
    // The subfolders this menu listed, by folder: a second entry that offers the same folders
    // (Copy To, then Move To) shows the same answer rather than listing again and perhaps
    // missing the deadline the first listing made.
    std::shared_ptr<QHash<QString, MenuItemList>> subfoldersListed =
        std::make_shared<QHash<QString, MenuItemList>>();
};

// The entry chosen from a menu, decoded against the menu the user saw.
struct ActionCall
{
    ActionContextPtr context;
    MenuItemPtr entry;      // the main-menu entry
    MenuItemPtr child;      // the chosen entry of its submenu, if it has one
    MenuItemPtr grandchild; // the chosen entry below the child, if there is one
    int childIndex = -1;    // the child's position in the submenu
    QString folder;         // where an opener opens (a favourite folder); empty: the selection
};

// One kind of menu entry: where it appears and what it does.
struct ActionRow
{
    QString name; // how tests and messages name the row
    // The entries the row serves: those with one of these keys, else those the predicate takes
    // (entries recognised by a record field rather than their key).
    QStringList keys;
    std::function<bool(const MenuItem&)> matches;

    // Also shown when nothing is selected and the menu is for "/" itself.
    bool anywhere = false;
    // Shown only in the menu for selected items.
    bool selectionOnly = false;
    // Shown only when the item the menu is for is a folder.
    bool foldersOnly = false;
    // Shown only for items with one of these extensions (as written); empty: any.
    QStringList formats;
    // Runs without asking for access to the selection's folder.
    bool noFolderCheck = false;
    // The entry always gets a submenu (the settings entry at least), built by shape.
    bool hasSubmenu = false;

    // Decides whether the entry is shown in this menu, and gives it its title, icon and submenu;
    // null: shown as it is.
    std::function<bool(MenuItem& entry, const MenuContext& menu)> shape;
    // Carries out the chosen entry.
    std::function<void(const ActionCall& call)> run;
};

// The one table from menu entries to their actions. Each action file adds its rows at start-up,
// so an entry is described in one place; an entry no row serves is never shown.
class ActionTable final
{
public:
    static ActionTable& instance();

    // Adds a row; for the registrations at start-up (returns true so that it can initialise a
    // constant). Keys are unique across rows.
    static bool add(ActionRow row);

    // The row serving the entry, or null.
    const ActionRow* rowFor(const MenuItem& entry) const;
    const QList<ActionRow>& rows() const { return m_rows; }

    // Runs the row of the item with the call; false when no row serves it.
    bool run(const MenuItem& item, const ActionCall& call) const;

    // Replaces a row's action for as long as the object lives (tests observe dispatch with it).
    class Override final
    {
    public:
        Override(const QString& rowName, std::function<void(const ActionCall&)> run);
        ~Override();
        Q_DISABLE_COPY_MOVE(Override)

    private:
        QString m_name;
        std::function<void(const ActionCall&)> m_saved;
    };

private:
    ActionTable() = default;
    ActionRow* find(const QString& rowName);

    QList<ActionRow> m_rows;
};

} // namespace pallstone
