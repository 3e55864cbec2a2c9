#include "LaunchPlan.h"

#include "DesktopEntryIndex.h"
#include "FileName.h"
#include "MenuStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace pallstone {

namespace {

const QString kDesktopSuffix = QStringLiteral(".desktop");
const QString kDebianTerminal = QStringLiteral("x-terminal-emulator");
// The shared store's key for the terminal the person picked as the second one.
const QString kSecondTerminalKey = QStringLiteral("second terminal");

struct Terminal
{
    QString command; // what argv[0] is
    QString kind;    // which known emulator it is, for its flags; empty when unknown
};

// Which known emulator an executable is, from its file name (Debian's alternatives point at
// wrappers such as gnome-terminal.wrapper).
QString terminalKind(const QString& executable)
{
    const QString name = QFileInfo(executable).fileName();
    const QStringList candidates = LaunchPlan::terminalCandidates();
    for (const QString& candidate : candidates) {
        if (name == candidate || name.startsWith(candidate + u'.'))
            return candidate;
    }
    return {};
}

std::optional<Terminal> firstTerminal()
{
    const QString debian = LaunchPlan::findExecutable(kDebianTerminal);
    if (!debian.isEmpty()) {
        // The alternatives link says which emulator it is. Its own command understands its own
        // flags, which the Debian wrappers do not all pass on; an unknown one opens a plain window.
        const QString kind = terminalKind(QFileInfo(debian).canonicalFilePath());
        if (!kind.isEmpty() && !LaunchPlan::findExecutable(kind).isEmpty())
            return Terminal{kind, kind};
        return Terminal{kDebianTerminal, QString()};
    }
    const QStringList candidates = LaunchPlan::terminalCandidates();
    for (const QString& candidate : candidates) {
        if (!LaunchPlan::findExecutable(candidate).isEmpty())
            return Terminal{candidate, candidate};
    }
    return std::nullopt;
}

std::optional<Terminal> secondTerminal(const std::optional<Terminal>& first)
{
    const QString chosen = MenuStore::sharedDefaults().stringForKey(kSecondTerminalKey).trimmed();
    if (!chosen.isEmpty()) {
        const QFileInfo info(chosen);
        const bool runnable = info.isAbsolute() ? info.isFile() && info.isExecutable()
                                                : !LaunchPlan::findExecutable(chosen).isEmpty();
        if (runnable)
            return Terminal{chosen, terminalKind(chosen)};
    }
    const QStringList candidates = LaunchPlan::terminalCandidates();
    for (const QString& candidate : candidates) {
        if (first && candidate == first->kind)
            continue;
        if (!LaunchPlan::findExecutable(candidate).isEmpty())
            return Terminal{candidate, candidate};
    }
    // With a single emulator installed the second one is the first.
    return first;
}

QStringList terminalArguments(const QString& kind, const QString& folder, bool tab)
{
    if (kind == QLatin1String("gnome-terminal") || kind == QLatin1String("mate-terminal") ||
        kind == QLatin1String("xfce4-terminal")) {
        QStringList arguments;
        if (tab)
            arguments.append(QStringLiteral("--tab"));
        arguments.append(QStringLiteral("--working-directory=") + folder);
        return arguments;
    }
    if (kind == QLatin1String("konsole")) {
        QStringList arguments;
        if (tab)
            arguments.append(QStringLiteral("--new-tab"));
        arguments << QStringLiteral("--workdir") << folder;
        return arguments;
    }
    if (kind == QLatin1String("tilix") || kind == QLatin1String("foot"))
        return {QStringLiteral("--working-directory=") + folder};
    if (kind == QLatin1String("alacritty"))
        return {QStringLiteral("--working-directory"), folder};
    if (kind == QLatin1String("kitty"))
        return {QStringLiteral("--directory"), folder};
    if (kind == QLatin1String("wezterm"))
        return {QStringLiteral("start"), QStringLiteral("--cwd"), folder};
    // xterm and unknown emulators start in the child's working directory.
    return {};
}

} // namespace

QStringList LaunchPlan::terminalCandidates()
{
    return {QStringLiteral("gnome-terminal"), QStringLiteral("konsole"),
            QStringLiteral("xfce4-terminal"), QStringLiteral("mate-terminal"),
            QStringLiteral("tilix"),          QStringLiteral("kitty"),
            QStringLiteral("alacritty"),      QStringLiteral("foot"),
            QStringLiteral("wezterm"),        QStringLiteral("xterm")};
}

QString LaunchPlan::findExecutable(const QString& name)
{
    if (name.isEmpty() || name.contains(u'/'))
        return {};
    const QStringList path =
        QString::fromLocal8Bit(qgetenv("PATH")).split(u':', Qt::SkipEmptyParts);
    if (path.isEmpty())
        return {};
    return QStandardPaths::findExecutable(name, path);
}

QString LaunchPlan::fileUri(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    return QStringLiteral("file://") +
           QString::fromLatin1(FileName::encode(absolute).toPercentEncoding("/"));
}

QString LaunchPlan::desktopEntryPath(const QString& application)
{
    if (application.isEmpty())
        return {};
    if (QDir::isAbsolutePath(application)) {
        const QFileInfo info(application);
        return application.endsWith(kDesktopSuffix) && info.isFile() ? application : QString();
    }
    return DesktopEntryIndex::lookup(application);
}

std::optional<LaunchPlan> LaunchPlan::openWithApplication(const QString& application,
                                                          const QStringList& paths)
{
    const QString entry = desktopEntryPath(application);
    if (entry.isEmpty())
        return std::nullopt;
    return LaunchPlan{QStringList{QStringLiteral("gio"), QStringLiteral("launch"), entry} + paths,
                      QString()};
}

std::optional<LaunchPlan> LaunchPlan::openTerminal(const QString& folder,
                                                   Launcher::TerminalMode mode, bool secondTerminal)
{
    const std::optional<Terminal> first = firstTerminal();
    const std::optional<Terminal> terminal =
        secondTerminal ? pallstone::secondTerminal(first) : first;
    if (!terminal)
        return std::nullopt;
    const QString absolute = folder.isEmpty() ? QString() : QFileInfo(folder).absoluteFilePath();
    QStringList argv{terminal->command};
    if (!absolute.isEmpty())
        argv += terminalArguments(terminal->kind, absolute, mode == Launcher::TerminalMode::Tab);
    return LaunchPlan{argv, absolute};
}

std::optional<LaunchPlan> LaunchPlan::openDefault(const QUrl& url)
{
    if (url.isEmpty() || !url.isValid())
        return std::nullopt;
    return LaunchPlan{
        {QStringLiteral("gio"), QStringLiteral("open"), url.toString(QUrl::FullyEncoded)},
        QString()};
}

std::optional<LaunchPlan> LaunchPlan::revealInFileManager(const QStringList& paths)
{
    if (paths.isEmpty())
        return std::nullopt;
    QStringList uris;
    for (const QString& path : paths)
        uris.append(u'\'' + fileUri(path) + u'\'');
    // The URIs are fully percent-encoded, so no quote or backslash can end the GVariant string.
    const QString array = u'[' + uris.join(QStringLiteral(", ")) + u']';
    return LaunchPlan{{QStringLiteral("gdbus"), QStringLiteral("call"), QStringLiteral("--session"),
                       QStringLiteral("--dest"), QStringLiteral("org.freedesktop.FileManager1"),
                       QStringLiteral("--object-path"),
                       QStringLiteral("/org/freedesktop/FileManager1"), QStringLiteral("--method"),
                       QStringLiteral("org.freedesktop.FileManager1.ShowItems"), array, QString()},
                      QString()};
}

std::optional<LaunchPlan> LaunchPlan::runCommand(const QStringList& argv,
                                                 const QString& workingDirectory)
{
    if (argv.isEmpty() || argv.constFirst().isEmpty())
        return std::nullopt;
    return LaunchPlan{argv, workingDirectory};
}

LaunchPlan LaunchPlan::launchSettingsApplication()
{
    const QString program = QStringLiteral("pallstone");
    if (QCoreApplication::instance()) {
        const QDir here(QCoreApplication::applicationDirPath());
        // A build tree keeps it in ../app, an installation beside this program.
        const QStringList candidates{here.filePath(QStringLiteral("../app/") + program),
                                     here.filePath(program)};
        for (const QString& candidate : candidates) {
            const QFileInfo info(candidate);
            if (info.isFile() && info.isExecutable())
                return LaunchPlan{{QDir::cleanPath(info.absoluteFilePath())}, QString()};
        }
    }
    return LaunchPlan{{program}, QString()};
}

} // namespace pallstone
