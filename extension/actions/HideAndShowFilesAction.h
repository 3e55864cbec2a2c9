#pragma once

#include "ActionContext.h"
#include "MenuItem.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace pallstone {

// Hides and unhides items the way Linux file managers understand: a name listed in its folder's
// ".hidden" file (one name per line) is not shown. On selected items the entry acts on them; on a
// folder's background it acts on every item of the folder whose name does not begin with a dot.
class HideAndShowFilesAction final
{
public:
    static void hideAndShowFiles(const ActionContextPtr& context, const MenuItemPtr& item);

    // Adds the names to the folder's ".hidden" file, or removes them from it, keeping every other
    // line as it was. The file is replaced in one step, and the folder and the items whose line
    // changed are touched (their times set to what they are) so that views that watch either
    // refresh. False when the file could not be read or written; it is then left untouched.
    static bool updateHiddenFile(const QString& folder, const QList<QByteArray>& names, bool hide);
    // The names of the folder's items that do not begin with a dot, as the bytes on disk, sorted.
    static QList<QByteArray> visibleNames(const QString& folder);

private:
    HideAndShowFilesAction() = delete;
};

} // namespace pallstone
