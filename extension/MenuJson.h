#pragma once

#include "MenuEntry.h"

#include <QJsonArray>

namespace pallstone {

// The menu as the CLI prints it: an array of {"tag", "key", "title", "icon", "children"}, and
// {"separator": true, "title"} for separators; "children" only where there is a submenu.
class MenuJson final
{
public:
    static QJsonArray toJson(const BuiltMenu& menu);
    // True when some entry of the menu (at any depth) carries the tag.
    static bool containsTag(const BuiltMenu& menu, qint64 tag);

private:
    MenuJson() = delete;
};

} // namespace pallstone
