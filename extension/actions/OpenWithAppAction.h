#pragma once

#include "ActionContext.h"
#include "MenuItem.h"

#include <QString>
#include <QStringList>

namespace pallstone {

// Opens the selection, or a given folder, with the application an entry names (its desktop
// entry's Name or ID). Each item is launched on its own; when the application refuses an item it
// is started alone, and only when that fails too does the person see why.
class OpenWithAppAction final
{
public:
    static void openWithApp(const ActionContextPtr& context, const MenuItemPtr& item,
                            const QString& path);

    // What the application receives for a path: nothing for a system folder chosen on a folder's
    // background (an editor would open the whole home), except for a terminal such as Warp, which
    // is meant to start there.
    static QStringList argumentsFor(const ActionContext& context, const QString& appName,
                                    const QString& path);

private:
    OpenWithAppAction() = delete;
};

} // namespace pallstone
