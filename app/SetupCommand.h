#pragma once

#include <QTextStream>

namespace pallstone {

// `pallstone setup`: seeds or upgrades the configuration, then reports where it lives and what
// each list holds.
class SetupCommand final
{
public:
    static int run(QTextStream& out, QTextStream& err);

private:
    SetupCommand() = delete;
};

} // namespace pallstone
