#pragma once

#include "ActionContext.h"

namespace pallstone {

// Carries out the entry a tag names in the menu it was chosen from: checks every index of the
// tag, asks for access to the selection's folder where the entry needs it, runs the entry's row
// and counts the use.
class Dispatcher final
{
public:
    // False when the tag does not lead to an entry of the context's model (nothing is done then).
    static bool dispatch(const ActionContextPtr& context, qint64 tag);

private:
    Dispatcher() = delete;
    static void start(const ActionContextPtr& context, const MenuItemPtr& entry,
                      const QList<int>& indexes);
};

} // namespace pallstone
