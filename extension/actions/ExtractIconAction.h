#pragma once

#include "ActionContext.h"

#include <QImage>
#include <QString>

namespace pallstone {

// The "Extract Icon" entry: saves the icon each selected item shows in the file manager as a
// 1024 x 1024 PNG beside it, named after the item ("photo.png" gives "photo-1.png" when that
// name is taken).
class ExtractIconAction final
{
public:
    static void extractIcon(const ActionContextPtr& context);

    // The item's icon as a file manager shows it, 1024 x 1024: its custom icon, else the icon
    // theme's icon of its type, else the bundled one. Main thread (icons are drawn with Qt Gui).
    static QImage iconImage(const QString& path);

private:
    ExtractIconAction() = delete;
};

} // namespace pallstone
