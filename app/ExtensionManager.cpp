#include "ExtensionManager.h"

#include "Defaults.h"
#include "LaunchPlan.h"
#include "Launcher.h"
#include "MenuStore.h"
#include "Services.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusReply>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTimer>

#include <csignal>
#include <sys/types.h>
#include <unistd.h>

namespace pallstone {

namespace {

std::function<ExtensionManager::State()>& stateProbe()
{
    static std::function<ExtensionManager::State()> probe;
    return probe;
}

// Where an earlier build kept the switch, in the settings application's own store.
QString legacySwitchKey(const QString& id)
{
    return QStringLiteral("extension off ") + id;
}

// The bridges cannot read property lists without blocking their file manager: a switched-off
// file manager is an empty file named after it, which a bridge checks with one stat per menu
// ($XDG_CONFIG_HOME/pallstone/switched-off/<id>, see bridges/common/pallstone-bridge.c).
QString switchedOffMark(const QString& id)
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/pallstone/switched-off/") + id;
}

bool writeMark(const QString& path, bool present)
{
    if (!present)
        return !QFileInfo::exists(path) || QFile::remove(path);
    QDir().mkpath(QFileInfo(path).path());
    QFile mark(path);
    return mark.open(QIODevice::WriteOnly);
}

QString homeLib(const QString& relative)
{
    return QDir::homePath() + QStringLiteral("/.local/lib/") + relative;
}

// Our plugin in one of the folders: any shared object whose name says it is ours.
QString findBridge(const QStringList& folders)
{
    for (const QString& folder : folders) {
        const QDir dir(folder);
        const QStringList found =
            dir.entryList({QStringLiteral("*pallstone*.so")}, QDir::Files | QDir::Readable);
        if (!found.isEmpty())
            return dir.filePath(found.first());
    }
    return {};
}

QStringList systemFolders(const QString& relative)
{
    return {QStringLiteral("/usr/lib/x86_64-linux-gnu/") + relative,
            QStringLiteral("/usr/lib64/") + relative, QStringLiteral("/usr/lib/") + relative,
            QStringLiteral("/usr/local/lib/") + relative, homeLib(relative)};
}

// The plug-in a build tree made for the file manager, beside this program's own folder there.
QString builtBridge(const QString& id)
{
    if (!QCoreApplication::instance())
        return {};
    const QDir bridges(QCoreApplication::applicationDirPath() + QStringLiteral("/../bridges/") +
                       id);
    const QStringList names{QStringLiteral("libpallstone-") + id + QStringLiteral(".so"),
                            QStringLiteral("pallstone-") + id + QStringLiteral(".so")};
    for (const QString& name : names) {
        const QFileInfo file(bridges.filePath(name));
        if (file.isFile())
            return QDir::cleanPath(file.absoluteFilePath());
    }
    return {};
}

// Quoted for a shell, as the person will paste it.
QString shellWord(const QString& text)
{
    QString quoted = text;
    quoted.replace(u'\'', QStringLiteral("'\\''"));
    return u'\'' + quoted + u'\'';
}

} // namespace

const QString ExtensionManager::kServiceName = QStringLiteral("com.tolvane.pallstone.extension");

ExtensionManager::ExtensionManager(QObject* parent) : QObject(parent) {}

ExtensionManager::~ExtensionManager() = default;

Defaults& ExtensionManager::appDefaults()
{
    static Defaults defaults(MenuStore::programStorePath(MenuStore::Program::Settings));
    return defaults;
}

bool ExtensionManager::isSwitchedOn(const QString& id)
{
    if (appDefaults().boolForKey(legacySwitchKey(id)) && writeMark(switchedOffMark(id), true))
        appDefaults().setObject(Value(), legacySwitchKey(id));
    return !QFileInfo::exists(switchedOffMark(id));
}

bool ExtensionManager::setSwitchedOn(const QString& id, bool on)
{
    appDefaults().setObject(Value(), legacySwitchKey(id));
    return writeMark(switchedOffMark(id), !on);
}

QList<ExtensionManager::FileManager> ExtensionManager::fileManagers()
{
    QStringList nautilus;
    const QString built = QStringLiteral(PALLSTONE_NAUTILUS_EXTENSIONDIR);
    if (!built.isEmpty())
        nautilus.append(built);
    nautilus += systemFolders(QStringLiteral("nautilus/extensions-4"));
    nautilus.removeDuplicates();

    QList<FileManager> list = {
        {QStringLiteral("nautilus"),
         QStringLiteral("Files (Nautilus)"),
         QStringLiteral("nautilus"),
         nautilus,
         {},
         true},
        {QStringLiteral("nemo"),
         QStringLiteral("Nemo"),
         QStringLiteral("nemo"),
         systemFolders(QStringLiteral("nemo/extensions-3.0")),
         {},
         true},
        {QStringLiteral("caja"),
         QStringLiteral("Caja"),
         QStringLiteral("caja"),
         systemFolders(QStringLiteral("caja/extensions-2.0")),
         {},
         true},
        {QStringLiteral("thunar"),
         QStringLiteral("Thunar"),
         QStringLiteral("thunar"),
         systemFolders(QStringLiteral("thunarx-3")),
         {},
         true},
        {QStringLiteral("dolphin"),
         QStringLiteral("Dolphin"),
         QStringLiteral("dolphin"),
         {},
         {},
         true},
    };
    for (FileManager& fm : list) {
        fm.binary = LaunchPlan::findExecutable(fm.binary);
        if (fm.id == u"dolphin")
            fm.bridgeFolders = dolphinBridgeFolders(fm.binary);
        fm.bridgePath = findBridge(fm.bridgeFolders);
        fm.switchedOn = isSwitchedOn(fm.id);
    }
    return list;
}

QStringList ExtensionManager::dolphinBridgeFolders(const QString& dolphinBinary)
{
    const QStringList kf6 = systemFolders(QStringLiteral("qt6/plugins/kf6/kfileitemaction"));
    const QStringList kf5 = systemFolders(QStringLiteral("qt5/plugins/kf5/kfileitemaction"));
    // The program names the Qt it was linked against among the libraries it needs, which an
    // executable's loader keeps near its start.
    QFile program(dolphinBinary);
    if (dolphinBinary.isEmpty() || !program.open(QIODevice::ReadOnly))
        return kf6 + kf5;
    const QByteArray head = program.read(4 << 20);
    if (head.contains("libQt6Core.so"))
        return kf6;
    if (head.contains("libQt5Core.so"))
        return kf5;
    return kf6 + kf5;
}

void ExtensionManager::setStateProbe(std::function<State()> probe)
{
    stateProbe() = std::move(probe);
}

ExtensionManager::State ExtensionManager::extensionState()
{
    if (stateProbe())
        return stateProbe()();
    return stateOf(fileManagers());
}

ExtensionManager::State ExtensionManager::stateOf(const QList<FileManager>& fileManagers)
{
    bool switchedOff = false;
    for (const FileManager& fm : fileManagers) {
        if (fm.enabled())
            return State::Active;
        if (fm.installed() && fm.bridgeInstalled())
            switchedOff = true;
    }
    return switchedOff ? State::SwitchedOff : State::NotInstalled;
}

void ExtensionManager::restartExtensionService()
{
    QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
    if (!bus)
        return;
    const QDBusReply<uint> pid = bus->servicePid(kServiceName);
    const auto start = [] {
        if (QDBusConnectionInterface* b = QDBusConnection::sessionBus().interface())
            b->startService(kServiceName);
    };
    if (!pid.isValid() || pid.value() == 0 || pid.value() == uint(getpid())) {
        start();
        return;
    }
    // SIGTERM, not SIGKILL: the service postpones its end until a running copy, move or
    // compression has finished, so no half-written file is left behind.
    ::kill(pid_t(pid.value()), SIGTERM);
    QTimer::singleShot(500, this, start);
}

QString ExtensionManager::installStep(const FileManager& fileManager)
{
    if (!fileManager.installed() || fileManager.bridgeInstalled())
        return {};
    const QString built = builtBridge(fileManager.id);
    if (built.isEmpty())
        return QStringLiteral("sudo apt install ./pallstone_%1_amd64.deb")
            .arg(QStringLiteral(PALLSTONE_VERSION));
    // The file manager's own folder, where it loads plug-ins from; one under home is ours only.
    // The Dolphin plug-in is built for KDE Frameworks 5 and goes where those plug-ins live.
    const QStringList folders = fileManager.id == u"dolphin"
                                    ? fileManager.bridgeFolders.filter(QStringLiteral("/kf5/"))
                                    : fileManager.bridgeFolders;
    QString folder;
    for (const QString& candidate : folders) {
        if (candidate.startsWith(QDir::homePath()))
            continue;
        if (folder.isEmpty() || QFileInfo(candidate).isDir()) {
            folder = candidate;
            if (QFileInfo(candidate).isDir())
                break;
        }
    }
    return QStringLiteral("sudo install -D -m 644 %1 -t %2")
        .arg(shellWord(built), shellWord(folder));
}

void ExtensionManager::restartFileManagers()
{
    for (const FileManager& fm : fileManagers()) {
        if (fm.installed())
            restartFileManager(fm);
    }
}

void ExtensionManager::restartFileManager(const FileManager& fileManager)
{
    if (!fileManager.installed())
        return;
    Launcher* launcher = Services::launcher();
    if (fileManager.id == u"dolphin") {
        const QString quit = !LaunchPlan::findExecutable(QStringLiteral("kquitapp6")).isEmpty()
                                 ? QStringLiteral("kquitapp6")
                                 : QStringLiteral("kquitapp5");
        launcher->runCommand({quit, QStringLiteral("dolphin")});
    } else {
        launcher->runCommand({fileManager.binary, QStringLiteral("-q")});
    }
    // Started again once the old instance has gone, so the new one loads the bridge.
    const QString binary = fileManager.binary;
    QTimer::singleShot(1000, [binary] { Services::launcher()->runCommand({binary}); });
}

} // namespace pallstone
