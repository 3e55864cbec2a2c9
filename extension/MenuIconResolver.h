#pragma once

#include "MenuItem.h"

#include <QString>

namespace pallstone {

// Turns a menu icon into what a file manager can show: a theme icon name, or the absolute path of
// an image file (a user's image, or one of our bundled icons written out where it can be read).
class MenuIconResolver final
{
public:
    static QString resolve(const MenuIcon& icon);

private:
    MenuIconResolver() = delete;
};

} // namespace pallstone
