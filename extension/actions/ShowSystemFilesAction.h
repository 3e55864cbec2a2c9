#pragma once

#include "ActionContext.h"
#include "MenuItem.h"

#include <QString>

namespace pallstone {

// Helps the person show or hide dot-files in their file manager: the setting belongs to the
// desktop, so the action puts the command that changes it on the clipboard and offers a terminal
// to paste it into. Nothing is run on the person's behalf.
class ShowSystemFilesAction final
{
public:
    static void showSystemFiles(const ActionContextPtr& context, const MenuItemPtr& item);

    // The gsettings command that makes GTK 4 and GTK 3 file managers show (true) or hide (false)
    // dot-files.
    static QString command(bool show);

private:
    ShowSystemFilesAction() = delete;
};

} // namespace pallstone
