#pragma once

#include <QStringList>
#include <QTextStream>

namespace pallstone {

// `pallstone profile ...`: the configuration profiles from the command line, by the same rules as
// the profiles window. Exit codes: 0 done, 1 usage (or a name that cannot be a file name), 2 no
// such profile, 3 not a profile archive, 4 the work failed (another save or switch runs, the disk
// refused).
class ProfileCommand final
{
public:
    enum ExitCode
    {
        Done = 0,
        Usage = 1,
        NoSuchProfile = 2,
        NotAProfile = 3,
        Failed = 4
    };

    // args: what follows "profile".
    static int run(const QStringList& args, QTextStream& out, QTextStream& err);
    static void describe(QTextStream& err);

private:
    ProfileCommand() = delete;
};

} // namespace pallstone
