#pragma once

#include "ActionContext.h"

#include <QString>

namespace pallstone {

// Putting the selection into a new folder, and moving a folder's contents up out of it.
class EmbedActions final
{
public:
    static void embedFolder(const ActionContextPtr& context);
    static void unembedFolder(const ActionContextPtr& context);
    // Moves the selection into a new folder beside the first item; mode 1 sorts by extension.
    static void embed(const ActionContextPtr& context, const QString& name, int mode);

private:
    EmbedActions() = delete;
};

} // namespace pallstone
