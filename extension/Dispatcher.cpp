#include "Dispatcher.h"

#include "ActionTable.h"
#include "FolderAccess.h"
#include "MenuStore.h"
#include "MenuTag.h"
#include "Paths.h"
#include "ReviewInvitation.h"

namespace pallstone {

bool Dispatcher::dispatch(const ActionContextPtr& context, qint64 tag)
{
    QList<int> pieces = MenuTag::decode(tag);
    if (pieces.isEmpty())
        return false;
    const int a = pieces.takeFirst();
    if (a < 1 || a > context->rightMenuArray.size())
        return false;
    const MenuItemPtr entry = context->rightMenuArray.at(a - 1);
    // Check the child indexes before asking for any permission: a tag that leads nowhere does
    // nothing.
    if (!entry->children.isEmpty()) {
        if (pieces.isEmpty() || pieces.first() < 1 || pieces.first() > entry->children.size())
            return false;
        const MenuItemPtr child = entry->children.at(pieces.first() - 1);
        if (pieces.size() > 1 && (pieces.at(1) < 1 || pieces.at(1) > child->children.size()))
            return false;
    } else if (!pieces.isEmpty()) {
        return false;
    }

    if (!entry->disabledAuth && !context->selectPaths.isEmpty()) {
        const QString folder = Paths::deletingLastPathComponent(context->selectPaths.first());
        FolderAccess::checkPermitWithPath(
            folder, [context, entry, pieces] { start(context, entry, pieces); }, [] {});
    } else {
        start(context, entry, pieces);
    }
    return true;
}

void Dispatcher::start(const ActionContextPtr& context, const MenuItemPtr& entry,
                       const QList<int>& indexes)
{
    ActionCall call;
    call.context = context;
    call.entry = entry;
    if (!entry->children.isEmpty()) {
        const int b = indexes.value(0);
        if (b < 1 || b > entry->children.size())
            return;
        call.child = entry->children.at(b - 1);
        call.childIndex = b - 1;
        if (call.child->key == u"Go Set") {
            MenuStore::openMainApp();
            return;
        }
        const int o = indexes.value(1) - 1;
        if (o >= 0 && o < call.child->children.size())
            call.grandchild = call.child->children.at(o);
    }
    ActionTable::instance().run(*entry, call);
    ReviewInvitation::countUse(*entry);
}

} // namespace pallstone
