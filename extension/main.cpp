#include "ExtensionCli.h"
#include "Localizer.h"

#include <QApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char* argv[])
{
    // Headless machines (CI, a service started without a session) still get working widgets.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("pallstone-extension"));
    QApplication::setOrganizationDomain(QStringLiteral("tolvane.com"));
    QApplication::setApplicationVersion(QStringLiteral(PALLSTONE_VERSION));
    QApplication::setQuitOnLastWindowClosed(false);
    pallstone::Localizer::install(QStringLiteral("pallstone-extension"));

    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (pallstone::ExtensionCli::handles(args))
        return pallstone::ExtensionCli::run(args, out, err);
    if (args.value(0) == u"--version") {
        out << "pallstone-extension " << PALLSTONE_VERSION << '\n';
        return 0;
    }
    err << "usage: pallstone-extension menu [--kind items|background|sidebar|toolbar] "
           "[--target DIR] [PATH...]\n"
           "       pallstone-extension run --tag TAG [same options] [--answers FILE] "
           "[--transcript FILE]\n";
    return args.isEmpty() ? 0 : 1;
}
