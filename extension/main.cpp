#include "ExtensionCli.h"
#include "ExtensionService.h"
#include "FileName.h"
#include "Localizer.h"

#include <QApplication>
#include <QTextStream>

#include <cstdio>

namespace {

void choosePlatform()
{
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return;
    const bool x11 = !qEnvironmentVariableIsEmpty("DISPLAY");
    const bool wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    // A Wayland client without a focused window cannot set the clipboard; through XWayland the
    // service can, and keeps it for as long as it runs.
    if (wayland && x11)
        qputenv("QT_QPA_PLATFORM", "xcb");
    // Headless machines (CI, a service started without a session) still get working widgets.
    else if (!wayland && !x11)
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

} // namespace

int main(int argc, char* argv[])
{
    choosePlatform();

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("pallstone-extension"));
    QApplication::setOrganizationDomain(QStringLiteral("tolvane.com"));
    QApplication::setApplicationVersion(QStringLiteral(PALLSTONE_VERSION));
    QApplication::setQuitOnLastWindowClosed(false);
    pallstone::Localizer::install(QStringLiteral("pallstone-extension"));

    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList args = pallstone::FileName::arguments(argc, argv);
    if (args.isEmpty()) {
        pallstone::ExtensionService service;
        return service.exec(err);
    }
    if (pallstone::ExtensionCli::handles(args))
        return pallstone::ExtensionCli::run(args, out, err);
    if (args.value(0) == u"--version") {
        out << "pallstone-extension " << PALLSTONE_VERSION << '\n';
        return 0;
    }
    err << "usage: pallstone-extension                 serve the menu on the session bus\n"
           "       pallstone-extension menu [--kind items|background|sidebar|toolbar] "
           "[--target DIR] [--json|--list] [PATH|URI...]\n"
           "       pallstone-extension run --tag TAG|--entry NAME [same options] "
           "[--answers FILE] [--transcript FILE]\n"
           "       pallstone-extension palette    open the palette on the last selection\n";
    return args.value(0) == u"--help" ? 0 : 1;
}
