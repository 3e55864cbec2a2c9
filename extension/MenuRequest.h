#pragma once

#include <QString>
#include <QStringList>

namespace pallstone {

// Which menu a file manager asks for.
enum class MenuKind : uint
{
    Items = 0,      // the menu of the selected items
    Background = 1, // the menu of a folder's background
    Sidebar = 2,
    Toolbar = 3,
};

// One right-click: the kind of menu, what is selected and the folder it happens in, as the file
// manager said. A menu and the action chosen from it are worked out from this value alone, so
// nothing of one request leaks into the next.
struct MenuRequest
{
    MenuRequest() = default;
    MenuRequest(MenuKind kind, const QStringList& selectedPaths, const QString& targetPath);

    MenuKind kind = MenuKind::Items;
    QStringList selectedPaths; // absolute paths, in the file manager's order
    QString targetPath;        // the folder the menu refers to; empty when there is none

    // What the menu works on: the selection, else the target folder; never "/" itself.
    QStringList selectPaths;
    // The menu is the one for selected items (and something is selected).
    bool isSelectURL = false;

    bool isSelectSingleURL() const { return isSelectURL && selectPaths.size() == 1; }
};

} // namespace pallstone
