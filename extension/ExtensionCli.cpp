#include "ExtensionCli.h"

#include "ContextMenuService.h"
#include "DBusAdaptor.h"
#include "DefaultCatalogue.h"
#include "Dispatch.h"
#include "EntryPaths.h"
#include "FileName.h"
#include "IconThemeIndex.h"
#include "LaunchPlan.h"
#include "MenuJson.h"
#include "MenuStore.h"
#include "Paths.h"
#include "Seams.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>

#include <optional>

namespace pallstone {

namespace {

struct Options
{
    QString command;
    QString kind;
    QString target;
    std::optional<qint64> tag;
    std::optional<QString> entry;
    bool list = false;
    bool json = false;
    QString answers;
    QString transcript;
    QStringList paths;
};

// A path, or a file URI: the URI form names any file in plain ASCII, also one whose name is not
// UTF-8, as file managers hand it over.
std::optional<QString> itemPath(const QString& argument)
{
    if (argument.startsWith(u"file:"))
        return DBusAdaptor::localPath(argument);
    return Paths::standardizedPath(QDir::current().absoluteFilePath(argument));
}

// Parses the arguments; an error message when they do not fit.
QString parse(const QStringList& args, Options& options)
{
    if (args.isEmpty())
        return QStringLiteral("missing command (menu or run)");
    options.command = args.first();
    bool onlyPaths = false;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        auto value = [&](QString& into) -> bool {
            if (i + 1 >= args.size())
                return false;
            into = args.at(++i);
            return true;
        };
        if (onlyPaths || !arg.startsWith(QStringLiteral("--"))) {
            const std::optional<QString> path = itemPath(arg);
            if (!path)
                return QStringLiteral("not a local file URI: %1").arg(arg);
            options.paths.append(*path);
        } else if (arg == u"--") {
            onlyPaths = true;
        } else if (arg == u"--kind") {
            if (!value(options.kind))
                return QStringLiteral("--kind needs a value");
        } else if (arg == u"--target") {
            QString text;
            if (!value(text))
                return QStringLiteral("--target needs a folder");
            const std::optional<QString> path = itemPath(text);
            if (!path)
                return QStringLiteral("not a local file URI: %1").arg(text);
            options.target = *path;
        } else if (arg == u"--answers") {
            if (!value(options.answers))
                return QStringLiteral("--answers needs a file");
        } else if (arg == u"--transcript") {
            if (!value(options.transcript))
                return QStringLiteral("--transcript needs a file");
        } else if (arg == u"--list") {
            options.list = true;
        } else if (arg == u"--json") {
            options.json = true;
        } else if (arg == u"--entry") {
            QString name;
            if (!value(name) || name.isEmpty())
                return QStringLiteral("--entry needs a name");
            options.entry = name;
        } else if (arg == u"--tag") {
            QString text;
            bool ok = false;
            if (!value(text) || (options.tag = text.toLongLong(&ok), !ok) || *options.tag <= 0)
                return QStringLiteral("--tag needs a positive number");
        } else {
            return QStringLiteral("unknown option %1").arg(arg);
        }
    }
    if (options.command != u"menu" && options.command != u"run")
        return QStringLiteral("unknown command %1 (menu or run)").arg(options.command);
    if (options.kind.isEmpty())
        options.kind =
            options.paths.isEmpty() ? QStringLiteral("background") : QStringLiteral("items");
    static const QStringList kinds = {QStringLiteral("items"), QStringLiteral("background"),
                                      QStringLiteral("sidebar"), QStringLiteral("toolbar")};
    if (!kinds.contains(options.kind))
        return QStringLiteral("unknown kind %1 (items, background, sidebar or toolbar)")
            .arg(options.kind);
    if (options.kind == u"items" && options.paths.isEmpty())
        return QStringLiteral("--kind items needs at least one PATH");
    if (options.kind != u"items" && !options.paths.isEmpty())
        return QStringLiteral("PATHs are selected items: use them with --kind items");
    if (options.command == u"run" && options.tag.has_value() == options.entry.has_value())
        return QStringLiteral("run needs --tag TAG or --entry NAME");
    if (options.command == u"menu" && (options.tag || options.entry || !options.answers.isEmpty()))
        return QStringLiteral("--tag, --entry and --answers belong to run");
    if (options.command == u"run" && (options.list || options.json))
        return QStringLiteral("--list and --json belong to menu");
    if (options.list && options.json)
        return QStringLiteral("--list or --json, not both");
    return {};
}

// A named entry run for real is handed to the service, as a click in the file manager is: the
// windows it opens and the clipboard it sets must outlive this command.
int runInService(const QString& name, const MenuRequest& request, QTextStream& err)
{
    QStringList uris;
    for (const QString& path : request.selectedPaths)
        uris.append(LaunchPlan::fileUri(path));
    const QString target = uris.isEmpty() ? LaunchPlan::fileUri(request.targetPath) : QString();
    QDBusMessage call = QDBusMessage::createMethodCall(
        QString::fromLatin1(DBusAdaptor::serviceName), QString::fromLatin1(DBusAdaptor::objectPath),
        QString::fromLatin1(DBusAdaptor::interfaceName), QStringLiteral("RunEntry"));
    call.setArguments({name, uris, target});
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 10000);
    if (reply.type() == QDBusMessage::ReplyMessage)
        return ExtensionCli::Ok;
    err << "pallstone-extension: " << reply.errorMessage() << '\n';
    if (reply.errorName() == QLatin1String(DBusAdaptor::unknownEntryError))
        return ExtensionCli::UnknownEntry;
    if (reply.errorName() == QLatin1String(DBusAdaptor::ambiguousEntryError))
        return ExtensionCli::AmbiguousEntry;
    return ExtensionCli::NoService;
}

} // namespace

bool ExtensionCli::handles(const QStringList& arguments)
{
    const QString command = arguments.value(0);
    return command == u"menu" || command == u"run" || command == u"palette";
}

namespace {

// The palette belongs to the service, which alone knows what the file manager last showed; the
// bus starts it when it is not running.
int showPalette(const QStringList& arguments, QTextStream& err)
{
    if (arguments.size() > 1) {
        err << "pallstone-extension: palette takes no arguments: it works on what the file "
               "manager showed last\n";
        return ExtensionCli::Usage;
    }
    const QDBusMessage call = QDBusMessage::createMethodCall(
        QString::fromLatin1(DBusAdaptor::serviceName), QString::fromLatin1(DBusAdaptor::objectPath),
        QString::fromLatin1(DBusAdaptor::interfaceName), QStringLiteral("ShowPalette"));
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 10000);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        err << "pallstone-extension: the service did not open the palette: " << reply.errorMessage()
            << '\n';
        return ExtensionCli::NoService;
    }
    return ExtensionCli::Ok;
}

} // namespace

int ExtensionCli::run(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    if (arguments.value(0) == u"palette")
        return showPalette(arguments, err);
    Options options;
    if (const QString problem = parse(arguments, options); !problem.isEmpty()) {
        err << "pallstone-extension: " << problem << '\n'
            << "usage: pallstone-extension menu [--kind items|background|sidebar|toolbar] "
               "[--target DIR] [PATH|URI...]\n"
               "       pallstone-extension menu --list [same options]\n"
               "       pallstone-extension run --tag TAG|--entry NAME [same options] "
               "[--answers FILE] [--transcript FILE]\n";
        return Usage;
    }

    MenuStore::setProgram(MenuStore::Program::Extension);
    // A file manager would give these for the menu it asks for.
    MenuRequest request;
    if (options.kind == u"items") {
        request = MenuRequest(MenuKind::Items, options.paths,
                              Paths::deletingLastPathComponent(options.paths.first()));
    } else {
        const MenuKind kind = options.kind == u"background" ? MenuKind::Background
                              : options.kind == u"sidebar"  ? MenuKind::Sidebar
                                                            : MenuKind::Toolbar;
        request =
            MenuRequest(kind, {}, options.target.isEmpty() ? QDir::currentPath() : options.target);
    }

    if (options.entry && options.answers.isEmpty() && options.transcript.isEmpty() &&
        (request.kind == MenuKind::Items || request.kind == MenuKind::Background))
        return runInService(*options.entry, request, err);

    Defaults& store = MenuStore::sharedDefaults();
    if (store.isUnreadable())
        err << "pallstone-extension: the configuration " << store.filePath()
            << " cannot be read; the menu is empty until Pallstone's settings repair it\n";
    else
        DefaultCatalogue::setupIfMissing();

    // One invocation is one menu, not a service start: the pending cut must survive it.
    ContextMenuService service;
    service.setupDirectoryURLs();

    if (options.command == u"menu") {
        IconThemeIndex::instance().build();
        const Menu menu = service.menuFor(request);
        if (options.list) {
            const EntryPaths paths(menu.entries);
            for (const EntryPath& entry : paths.entries())
                out << entry.line() << '\n';
        } else {
            out << QJsonDocument(MenuJson::toJson(menu.entries)).toJson(QJsonDocument::Indented);
        }
        out.flush();
        return Ok;
    }

    std::unique_ptr<Seams> seams =
        options.answers.isEmpty() ? Seams::installReal(options.transcript)
                                  : Seams::installScripted(options.answers, options.transcript);
    if (!seams->errors().isEmpty()) {
        for (const QString& e : seams->errors())
            err << "pallstone-extension: " << e << '\n';
        return PromptFailed;
    }

    const Menu menu = service.menuFor(request);
    if (options.entry) {
        const EntryPaths paths(menu.entries);
        const EntryPaths::Lookup found = paths.find(*options.entry);
        if (!found.entry) {
            err << "pallstone-extension: \"" << *options.entry << "\" "
                << (found.ambiguous ? "names more than one entry of the menu for this selection"
                                    : "is not an entry of the menu for this selection");
            if (!found.candidates.isEmpty())
                err << (found.ambiguous ? "; name one of:" : "; near matches:");
            err << '\n';
            for (const EntryPath* candidate : found.candidates)
                err << "  " << candidate->line() << '\n';
            err.flush();
            return found.ambiguous ? AmbiguousEntry : UnknownEntry;
        }
        options.tag = found.entry->tag;
    }
    if (!MenuJson::containsTag(menu.entries, *options.tag)) {
        err << "pallstone-extension: tag " << *options.tag
            << " is not an entry of the menu for this selection\n";
        return TagNotInMenu;
    }
    if (!ContextMenuService::perform(request, menu, *options.tag)) {
        err << "pallstone-extension: tag " << *options.tag << " does not decode\n";
        return TagNotInMenu;
    }
    // The action, its background work and what it scheduled for later.
    Dispatch::waitUntilIdle();

    int code = Ok;
    for (const QString& e : seams->errors() + seams->unusedAnswers()) {
        err << "pallstone-extension: " << e << '\n';
        code = PromptFailed;
    }
    err.flush();
    return code;
}

} // namespace pallstone
