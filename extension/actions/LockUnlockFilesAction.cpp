#include "LockUnlockFilesAction.h"

#include "ActionAlerts.h"
#include "ActionTable.h"
#include "FileName.h"
#include "Localizer.h"

#include "Dispatch.h"
#include "Paths.h"
#include "WorkInProgress.h"

#include <QDebug>
#include <QFile>

#include <sys/stat.h>

namespace pallstone {

bool LockUnlockFilesAction::setLocked(const QString& path, bool locked)
{
    const QByteArray native = FileName::encode(path);
    struct stat info;
    if (native.isEmpty() || ::lstat(native.constData(), &info) != 0 || S_ISLNK(info.st_mode))
        return false;
    const mode_t permissions = info.st_mode & 07777;
    const mode_t wanted =
        locked ? permissions & ~mode_t(S_IWUSR | S_IWGRP | S_IWOTH) : permissions | S_IWUSR;
    if (wanted == permissions)
        return true;
    return ::chmod(native.constData(), wanted) == 0;
}

void LockUnlockFilesAction::lockUnlockFiles(const ActionContextPtr& context,
                                            const MenuItemPtr& item)
{
    if (!context || !item)
        return;
    WorkInProgress::run([context]() -> std::function<void()> {
        bool unlocking = false;
        bool failed = false;
        for (const QString& path : context->selectPaths) {
            if (!unlocking && Paths::isLocked(path))
                unlocking = true;
            // An item whose file system immutable flag is set stays locked: clearing the flag
            // needs privileges the service does not have.
            if (!setLocked(path, !unlocking)) {
                qWarning() << "cannot" << (unlocking ? "unlock" : "lock") << path;
                failed = true;
            }
        }
        if (!failed)
            return {};
        return [] { ActionAlerts::notifyFailure(QStringLiteral("Lock Failed")); };
    });
}

namespace {

const bool registered = [] {
    ActionRow row;
    row.name = QStringLiteral("Lock and Unlock");
    row.keys = {QStringLiteral("Lock and Unlock")};
    row.selectionOnly = true;
    // The entry says what it will do to the item the menu is for.
    row.shape = [](MenuItem& entry, const MenuContext& menu) {
        const bool locked = !menu.refPath.isEmpty() && Paths::isLocked(menu.refPath);
        entry.displayName =
            Localizer::text(locked ? QStringLiteral("Unlock") : QStringLiteral("Lock"));
        entry.icon = locked ? QStringLiteral("unlock") : QStringLiteral("lock");
        return true;
    };
    row.run = [](const ActionCall& call) {
        LockUnlockFilesAction::lockUnlockFiles(call.context, call.entry);
    };
    return ActionTable::add(std::move(row));
}();

} // namespace

} // namespace pallstone
