#pragma once

#include "MenuRequest.h"

#include <QtGlobal>

#include <optional>

namespace pallstone {

// What the file manager last showed a menu for, as the palette takes it up: the selected items,
// or the folder when nothing is selected. File managers ask for the items' menu and the folder's
// background menu together on every selection change, so a background request that comes right
// after an items request for the same folder does not stand for a cleared selection.
class LastSelection final
{
public:
    static constexpr qint64 kSameChangeMs = 500;

    // A menu request of a file manager, at a time in milliseconds (any steady clock).
    void note(const MenuRequest& request, qint64 atMs);
    // The request the palette works on; nothing before any file manager asked.
    std::optional<MenuRequest> request() const { return m_request; }

private:
    std::optional<MenuRequest> m_request;
    qint64 m_itemsAtMs = 0;
};

} // namespace pallstone
