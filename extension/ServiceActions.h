#pragma once

#include "ActionHandlers.h"

namespace pallstone {

class FinderSync;

// The handlers of the actions this build provides; the others report that they are not available.
class ServiceActions final : public ActionHandlers
{
public:
    explicit ServiceActions(FinderSync& finderSync) : m_finderSync(finderSync) {}

private:
    FinderSync& m_finderSync;
};

} // namespace pallstone
