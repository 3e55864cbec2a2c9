#include "LastSelection.h"

namespace pallstone {

void LastSelection::note(const MenuRequest& request, qint64 atMs)
{
    if (request.kind == MenuKind::Items && request.isSelectURL) {
        m_request = request;
        m_itemsAtMs = atMs;
        return;
    }
    if (request.kind != MenuKind::Background || request.targetPath.isEmpty())
        return;
    const bool sameChange = m_request && m_request->kind == MenuKind::Items &&
                            m_request->targetPath == request.targetPath &&
                            atMs - m_itemsAtMs <= kSameChangeMs;
    if (!sameChange)
        m_request = request;
}

} // namespace pallstone
