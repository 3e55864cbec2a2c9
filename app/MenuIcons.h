#pragma once

#include "MenuItem.h"

#include <QIcon>

namespace pallstone {

// Turns what a menu entry names as its icon into something a widget can draw: the user's image
// file, or the theme icon for a resource name with the bundled drawing behind it.
class MenuIcons final
{
public:
    static QIcon icon(const MenuIcon& icon);
    static QIcon resource(const QString& name);

private:
    MenuIcons() = delete;
};

} // namespace pallstone
