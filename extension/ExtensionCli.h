#pragma once

#include <QStringList>
#include <QTextStream>

namespace pallstone {

// The headless commands of the service:
//   pallstone-extension menu [--kind items|background|sidebar|toolbar] [--target DIR]
//                            [--json|--list] [PATH...]
//   pallstone-extension run  --tag TAG|--entry NAME [same options] [--answers FILE]
//                            [--transcript FILE]
// --list prints one line per entry that can be chosen: its title path, a tab, its key path
// (EntryPaths); --entry takes either, or a mix of the two by level. Without --answers and
// --transcript, run --entry hands the entry to the service over the bus (RunEntry), which keeps
// its windows and the clipboard alive after this command ends.
//   pallstone-extension palette
// asks the running service (starting it) to open the palette.
class ExtensionCli final
{
public:
    enum ExitCode
    {
        Ok = 0,
        Usage = 1,
        TagNotInMenu = 2,
        PromptFailed = 3,
        UnknownEntry = 4,
        AmbiguousEntry = 5,
        NoService = 6,
    };

    // True when the arguments name one of the headless commands.
    static bool handles(const QStringList& arguments);
    static int run(const QStringList& arguments, QTextStream& out, QTextStream& err);

private:
    ExtensionCli() = delete;
};

} // namespace pallstone
