#include "Localizer.h"
#include "SetupCommand.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("pallstone"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("tolvane.com"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PALLSTONE_VERSION));
    pallstone::Localizer::install(QStringLiteral("pallstone"));

    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.value(0) == u"setup")
        return pallstone::SetupCommand::run(out, err);
    if (args.value(0) == u"--version") {
        out << "pallstone " << PALLSTONE_VERSION << '\n';
        return 0;
    }
    err << "usage: pallstone setup\n"
           "  setup   create or upgrade the configuration and show what it holds\n";
    return args.isEmpty() ? 0 : 2;
}
