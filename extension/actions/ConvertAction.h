#pragma once

#include "ActionContext.h"
#include "MenuItem.h"

namespace pallstone {

// The "Convert to" entry: converts the selected images to another format, builds icon sets,
// merges the selection into one PDF or renders a PDF's pages as images. Each choice is a job of
// its own, with its own progress window, worked on a pool thread so the service keeps answering
// menus meanwhile.
class ConvertAction final
{
public:
    // Main thread. item is the chosen child (its key names the target), parentItem the
    // "Convert to" entry, whose formats are the source extensions accepted (as written: "PNG" is
    // not "png").
    static void convertItem(const ActionContextPtr& context, const MenuItemPtr& item,
                            const MenuItemPtr& parentItem);

private:
    ConvertAction() = delete;
};

} // namespace pallstone
