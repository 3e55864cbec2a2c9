#include "IconThemeIndex.h"

#include "Dispatch.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>

#include <memory>

namespace pallstone {

namespace {

constexpr int kRebuildDelayMs = 1000;
// inotify watches are a per-user resource shared with every other program.
constexpr int kMaxWatchedFolders = 2000;
const QString kHicolor = QStringLiteral("hicolor");

bool isIconFile(const QString& fileName, QString& name)
{
    static const QStringList suffixes{QStringLiteral(".png"), QStringLiteral(".svg"),
                                      QStringLiteral(".svgz"), QStringLiteral(".xpm")};
    for (const QString& suffix : suffixes) {
        if (fileName.endsWith(suffix)) {
            name = fileName.left(fileName.size() - suffix.size());
            return !name.isEmpty();
        }
    }
    return false;
}

// The themes a theme inherits from, as its first index.theme along the roots says.
QStringList inheritedThemes(const QString& theme, const QStringList& roots)
{
    for (const QString& root : roots) {
        QFile index(root + u'/' + theme + QStringLiteral("/index.theme"));
        if (!index.open(QIODevice::ReadOnly))
            continue;
        bool inMainGroup = false;
        while (!index.atEnd()) {
            const QString line = QString::fromUtf8(index.readLine()).trimmed();
            if (line.startsWith(u'[')) {
                inMainGroup = line == u"[Icon Theme]";
            } else if (inMainGroup && line.startsWith(u"Inherits")) {
                const qsizetype equals = line.indexOf(u'=');
                if (equals > 0 && line.left(equals).trimmed() == u"Inherits") {
                    QStringList themes = line.mid(equals + 1).split(u',', Qt::SkipEmptyParts);
                    for (QString& t : themes)
                        t = t.trimmed();
                    return themes;
                }
            }
        }
        return {};
    }
    return {};
}

void listFolder(const QString& folder, bool recursive, IconThemeIndex::Listing& listing)
{
    if (!QFileInfo(folder).isDir())
        return;
    listing.folders.append(folder);
    QDirIterator it(folder, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot,
                    recursive ? QDirIterator::Subdirectories | QDirIterator::FollowSymlinks
                              : QDirIterator::NoIteratorFlags);
    QString name;
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        if (info.isDir()) {
            if (recursive)
                listing.folders.append(info.filePath());
        } else if (isIconFile(info.fileName(), name)) {
            listing.names.insert(name);
        }
    }
}

} // namespace

IconThemeIndex::IconThemeIndex(QObject* parent) : QObject(parent)
{
    m_rebuild.setSingleShot(true);
    m_rebuild.setInterval(kRebuildDelayMs);
    // A package install touches many folders at once; list again once it has settled.
    connect(&m_rebuild, &QTimer::timeout, this, &IconThemeIndex::startBuilding);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this,
            &IconThemeIndex::scheduleRebuild);
}

IconThemeIndex& IconThemeIndex::instance()
{
    static IconThemeIndex* index = new IconThemeIndex(QCoreApplication::instance());
    return *index;
}

IconThemeIndex::Listing IconThemeIndex::list(const QString& theme, const QStringList& roots,
                                             const QStringList& fallbackFolders)
{
    Listing listing;
    // The roots themselves, so that a theme installed later is noticed.
    for (const QString& root : roots) {
        if (QFileInfo(root).isDir())
            listing.folders.append(root);
    }
    QStringList chain;
    QStringList pending{theme.isEmpty() ? kHicolor : theme};
    while (!pending.isEmpty()) {
        const QString next = pending.takeFirst();
        if (next.isEmpty() || chain.contains(next))
            continue;
        chain.append(next);
        pending.append(inheritedThemes(next, roots));
    }
    chain.removeAll(kHicolor);
    chain.append(kHicolor);
    for (const QString& name : chain) {
        for (const QString& root : roots)
            listFolder(root + u'/' + name, true, listing);
    }
    for (const QString& folder : fallbackFolders)
        listFolder(folder, false, listing);
    return listing;
}

void IconThemeIndex::build()
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return;
    const QString theme = QIcon::themeName();
    adopt(theme, list(theme, QIcon::themeSearchPaths(), QIcon::fallbackSearchPaths()));
}

void IconThemeIndex::startBuilding()
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return;
    if (m_building) {
        m_stale = true;
        return;
    }
    m_building = true;
    const QString theme = QIcon::themeName();
    const QStringList roots = QIcon::themeSearchPaths();
    const QStringList fallback = QIcon::fallbackSearchPaths();
    Dispatch::enterWorker([theme, roots, fallback] {
        auto listing = std::make_shared<Listing>(list(theme, roots, fallback));
        Dispatch::enterForeground([theme, listing] {
            IconThemeIndex& index = instance();
            index.m_building = false;
            index.adopt(theme, std::move(*listing));
            if (index.m_stale) {
                index.m_stale = false;
                index.startBuilding();
            }
        });
    });
}

void IconThemeIndex::adopt(const QString& theme, Listing listing)
{
    m_names = std::move(listing.names);
    m_theme = theme;
    m_ready = true;
    const QStringList watched = m_watcher.directories();
    if (!watched.isEmpty())
        m_watcher.removePaths(watched);
    if (listing.folders.size() > kMaxWatchedFolders)
        listing.folders.resize(kMaxWatchedFolders);
    if (!listing.folders.isEmpty())
        m_watcher.addPaths(listing.folders);
}

void IconThemeIndex::scheduleRebuild()
{
    m_rebuild.start();
}

std::optional<bool> IconThemeIndex::contains(const QString& name)
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return false;
    // The desktop's theme can change while the service runs (the user picks another one).
    if (m_ready && m_theme != QIcon::themeName())
        m_ready = false;
    if (!m_ready) {
        startBuilding();
        return std::nullopt;
    }
    return m_names.contains(name);
}

} // namespace pallstone
