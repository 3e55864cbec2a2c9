#include "FinderSyncController.h"

namespace pallstone {

FinderSyncController& FinderSyncController::defaultController()
{
    static FinderSyncController controller;
    return controller;
}

bool FinderSyncController::isWatched(const QString& path) const
{
    for (const QString& folder : m_directories) {
        if (folder == u"/" || path == folder || path.startsWith(folder + u'/'))
            return true;
    }
    return false;
}

} // namespace pallstone
