#pragma once

#include <QStringList>
#include <QTextStream>

namespace pallstone {

// The headless commands of the service:
//   pallstone-extension menu [--kind items|background|sidebar|toolbar] [--target DIR] [PATH...]
//   pallstone-extension run  --tag TAG [same options] [--answers FILE] [--transcript FILE]
class ExtensionCli final
{
public:
    enum ExitCode
    {
        Ok = 0,
        Usage = 1,
        TagNotInMenu = 2,
        PromptFailed = 3,
    };

    // True when the arguments name one of the headless commands.
    static bool handles(const QStringList& arguments);
    static int run(const QStringList& arguments, QTextStream& out, QTextStream& err);

private:
    ExtensionCli() = delete;
};

} // namespace pallstone
