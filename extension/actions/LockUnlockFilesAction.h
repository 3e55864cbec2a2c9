#pragma once

#include "ActionContext.h"
#include "MenuItem.h"

#include <QString>

namespace pallstone {

// Locks and unlocks the selected items. Locked means nobody may write the item: locking removes
// every write permission, unlocking gives the owner write permission back. One entry does both:
// the run locks until it meets an item that is already locked, and unlocks that item and every
// later one, so choosing the entry twice on the same selection undoes the first time.
class LockUnlockFilesAction final
{
public:
    static void lockUnlockFiles(const ActionContextPtr& context, const MenuItemPtr& item);

    // One item; symbolic links are left alone (their own permissions mean nothing and their
    // target lies outside the selection). False when the permissions could not be changed.
    static bool setLocked(const QString& path, bool locked);

private:
    LockUnlockFilesAction() = delete;
};

} // namespace pallstone
