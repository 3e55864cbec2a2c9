#pragma once

#include "MenuItem.h"

#include <QList>
#include <QString>

namespace pallstone {

// One entry of a built menu, as a file manager shows it.
struct MenuEntry
{
    qint64 tag = 0; // 0 for separators
    QString key;
    QString title;
    MenuIcon icon;
    bool separator = false;
    bool hasSubmenu = false;
    QList<MenuEntry> children;
};

using BuiltMenu = QList<MenuEntry>;

} // namespace pallstone
