#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

namespace pallstone {

class Defaults;

// Where the context menu stands on this system: which supported file managers are installed,
// whether our bridge is installed for each, and whether the person switched Pallstone off for one.
// It also restarts the extension service (end its process, then start it again by D-Bus
// activation) and restarts file managers so they load a newly installed bridge.
class ExtensionManager final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ExtensionManager)

public:
    struct FileManager
    {
        QString id;     // "nautilus", ...
        QString name;   // as people know it
        QString binary; // found on $PATH, empty when not installed
        QStringList bridgeFolders;
        QString bridgePath; // our plugin, empty when not installed
        bool switchedOn = true;

        bool installed() const { return !binary.isEmpty(); }
        bool bridgeInstalled() const { return !bridgePath.isEmpty(); }
        bool enabled() const { return installed() && bridgeInstalled() && switchedOn; }
    };

    explicit ExtensionManager(QObject* parent = nullptr);
    ~ExtensionManager() override;

    // Where the menu stands as a whole: in use somewhere, installed but switched off everywhere
    // it is installed, or installed for no file manager that is on this system.
    enum class State
    {
        Active,
        SwitchedOff,
        NotInstalled
    };

    // The supported file managers as found now.
    static QList<FileManager> fileManagers();
    // Where the Dolphin bridge that fits this Dolphin lies: a Plasma 6 Dolphin (KF6, Qt 6) loads
    // plugins from kf6/kfileitemaction only, a Plasma 5 one from kf5/ only. Both, KF6 first,
    // when the program cannot be read (not installed).
    static QStringList dolphinBridgeFolders(const QString& dolphinBinary);
    static State extensionState();
    static State stateOf(const QList<FileManager>& fileManagers);
    // Tests decide what extensionState() answers; an empty function restores the detection.
    static void setStateProbe(std::function<State()> probe);

    // The command that installs the bridge for a file manager that lacks it: the plug-in this
    // program was built with copied into the file manager's own folder, else the package that
    // holds every bridge. Empty when the file manager is absent or has its bridge.
    static QString installStep(const FileManager& fileManager);
    // Restarts every installed file manager, so that each loads a bridge installed meanwhile.
    static void restartFileManagers();

    // Switches Pallstone on or off in one file manager; its bridge sees it at the next menu.
    // False when the switch could not be written.
    static bool setSwitchedOn(const QString& id, bool on);
    static bool isSwitchedOn(const QString& id);
    // The settings application's own store (not shared with the extension).
    static Defaults& appDefaults();

    // Ends the running service (SIGTERM: it finishes the job in hand first), then starts it again
    // half a second later; starts it at once when it is not running.
    void restartExtensionService();
    // Quits the file manager and opens it again, so that it loads the bridge.
    static void restartFileManager(const FileManager& fileManager);

    static const QString kServiceName;
};

} // namespace pallstone
