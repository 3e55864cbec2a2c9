#pragma once

#include "MenuItem.h"
#include "MenuRequest.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace pallstone {

// What one action works on, fixed when its entry was chosen. File managers build menus on every
// selection change; an action whose panel is still open must not see those later selections.
struct ActionContext
{
    ActionContext() = default;
    ActionContext(const MenuRequest& request, const MenuItemList& model)
        : rightMenuArray(model), selectPaths(request.selectPaths), isSelectURL(request.isSelectURL),
          targetPath(request.targetPath)
    {}

    MenuItemList rightMenuArray; // the model of the menu the entry was chosen from
    QStringList selectPaths;     // the selection, in order
    bool isSelectURL = false;    // the menu was the menu for selected items
    QString targetPath;          // the folder the menu referred to

    bool isSelectSingleURL() const { return isSelectURL && selectPaths.size() == 1; }
};

using ActionContextPtr = std::shared_ptr<const ActionContext>;

} // namespace pallstone
