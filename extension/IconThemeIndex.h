#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <optional>

namespace pallstone {

// Knows which icon names the desktop's icon theme has, from one listing of the theme's folders.
// A theme lookup by name probes every size folder of every theme in the chain under every icon
// root; where a root has no icon cache (our own install under /usr/local or ~/.local) that is
// some hundred thousand system calls per menu. The listing runs once, on a worker, and again only
// when a theme or an icon folder changes.
class IconThemeIndex final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(IconThemeIndex)

public:
    // What one listing found: the icon names and the folders whose change makes it stale.
    struct Listing
    {
        QSet<QString> names;
        QStringList folders;
    };

    // The index of this process, owned by the application object. Main thread only.
    static IconThemeIndex& instance();

    // Lists the theme chain `theme` -> its Inherits -> "hicolor" under each root, and the
    // unthemed fallback folders. Safe on any thread.
    static Listing list(const QString& theme, const QStringList& roots,
                        const QStringList& fallbackFolders);

    // Lists on this thread and waits: for commands that build one menu and exit.
    void build();
    // Lists on a worker; until it is done contains() has no answer. Main thread only.
    void startBuilding();

    // Whether the current theme has an icon of this name; nothing while a listing is under way.
    // Without a GUI application there is no theme, and the answer is false. Main thread only.
    std::optional<bool> contains(const QString& name);

private:
    explicit IconThemeIndex(QObject* parent);

    void adopt(const QString& theme, Listing listing);
    void scheduleRebuild();

    QSet<QString> m_names;
    QString m_theme;
    bool m_ready = false;
    bool m_building = false;
    bool m_stale = false;
    QFileSystemWatcher m_watcher;
    QTimer m_rebuild;
};

} // namespace pallstone
