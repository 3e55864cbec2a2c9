#pragma once

#include "ActionContext.h"
#include "MenuItem.h"

#include <QString>

namespace pallstone {

// New files from templates, from a save panel with a type chooser, and the selected file turned
// into a new template.
class NewFileAction final
{
public:
    static void createFileWithItem(const ActionContextPtr& context, const MenuItemPtr& item);

    // Where new files go: the selected folder, the folder of the selected file, else home.
    static QString targetFolder(const ActionContextPtr& context);

private:
    static void createFromWindow(const ActionContextPtr& context);
    static void addToFileTemplate(const ActionContextPtr& context);
    static bool create(const QString& path, const QString& ext, const MenuItemPtr& item,
                       bool replacing);

    NewFileAction() = delete;
};

} // namespace pallstone
