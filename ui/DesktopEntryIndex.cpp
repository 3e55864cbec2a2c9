#include "DesktopEntryIndex.h"

#include "FileName.h"
#include "Paths.h"

#include <QDataStream>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QHash>
#include <QList>
#include <QMutex>
#include <QSaveFile>
#include <QStandardPaths>
#include <QThread>
#include <QWaitCondition>

#include <algorithm>
#include <optional>

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

namespace pallstone {

namespace {

const QString kDesktopSuffix = QStringLiteral(".desktop");

// GIO notices a changed folder through its own file monitor, a moment after the change (up to four
// seconds for a folder that did not exist yet); a list read within this time of a change is read
// again at the next question.
constexpr qint64 kSettleMs = 5000;
constexpr qint64 kRecheckMs = 1000;
// A process's first question takes the list kept on disk by an earlier one when the folders have
// not changed since and it is younger than this, in case a change went unseen (a file replaced in
// place changes no folder).
constexpr qint64 kCopyMaxAgeMs = 24 * 3600 * 1000;
constexpr quint32 kCopyFormat = 1;

QString takeGString(gchar* text)
{
    QString result = text ? QString::fromUtf8(text) : QString();
    g_free(text);
    return result;
}

QStringList applicationFolders()
{
    return QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation);
}

// Where desktop entries live, with when each last changed (-1: absent). Entries in sub-folders
// count too (their IDs take the sub-folder's name), and a change there does not touch the folder.
QList<qint64> folderStamps(const QStringList& folders)
{
    QList<qint64> stamps;
    stamps.reserve(folders.size());
    for (const QString& folder : folders) {
        const QFileInfo info(folder);
        qint64 newest = info.isDir() ? info.lastModified().toMSecsSinceEpoch() : -1;
        if (newest >= 0) {
            QDirIterator subfolders(folder, QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                                    QDirIterator::Subdirectories);
            while (subfolders.hasNext())
                newest =
                    std::max(newest, subfolders.nextFileInfo().lastModified().toMSecsSinceEpoch());
        }
        stamps.append(newest);
    }
    return stamps;
}

struct Index
{
    QHash<QString, QString> byId;   // lower-case ID, with and without the suffix -> file
    QHash<QString, QString> byName; // lower-case Name, localised and plain -> file
    QList<qint64> stamps;
    qint64 readAt = -1;
};

void addName(QHash<QString, QString>& names, const QString& name, const QString& file)
{
    if (!name.isEmpty() && !names.contains(name.toLower()))
        names.insert(name.toLower(), file);
}

Index readIndex()
{
    Index index;
    GList* all = g_app_info_get_all();
    for (GList* node = all; node; node = node->next) {
        if (!G_IS_DESKTOP_APP_INFO(node->data))
            continue;
        GDesktopAppInfo* entry = G_DESKTOP_APP_INFO(node->data);
        const char* file = g_desktop_app_info_get_filename(entry);
        const char* id = g_app_info_get_id(G_APP_INFO(entry));
        if (!file || !id)
            continue;
        const QString path = FileName::decode(file);
        const QString fullId = QString::fromUtf8(id);
        addName(index.byId, fullId, path);
        if (fullId.endsWith(kDesktopSuffix))
            addName(index.byId, fullId.chopped(kDesktopSuffix.size()), path);
        addName(index.byName, QString::fromUtf8(g_app_info_get_name(G_APP_INFO(entry))), path);
        addName(index.byName, takeGString(g_desktop_app_info_get_string(entry, "Name")), path);
    }
    g_list_free_full(all, g_object_unref);
    return index;
}

QString copyPath()
{
    const QString folder = Paths::cachesFolder();
    return folder.isEmpty() ? QString() : folder + QStringLiteral("/applications-index");
}

// Names are localised: a list read in another language is read again.
QString languageKey()
{
    QStringList names;
    for (const gchar* const* name = g_get_language_names(); name && *name; ++name)
        names.append(QString::fromUtf8(*name));
    return names.join(u':');
}

qint64 newestOf(const QList<qint64>& stamps)
{
    return stamps.isEmpty() ? -1 : *std::max_element(stamps.begin(), stamps.end());
}

bool settled(const Index& index)
{
    return index.readAt - newestOf(index.stamps) > kSettleMs;
}

bool takeCopy(Index& index, const QStringList& folders, const QList<qint64>& stamps, qint64 now)
{
    const QString path = copyPath();
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return false;
    QDataStream in(&file);
    in.setVersion(QDataStream::Qt_6_4);
    quint32 format = 0;
    QStringList savedFolders;
    QString language;
    Index saved;
    in >> format;
    if (format != kCopyFormat)
        return false;
    in >> savedFolders >> language >> saved.stamps >> saved.readAt >> saved.byId >> saved.byName;
    if (in.status() != QDataStream::Ok || savedFolders != folders || saved.stamps != stamps ||
        language != languageKey() || !settled(saved) || saved.readAt > now ||
        now - saved.readAt > kCopyMaxAgeMs)
        return false;
    index = std::move(saved);
    return true;
}

void keepCopy(const Index& index, const QStringList& folders)
{
    const QString path = copyPath();
    if (path.isEmpty() || !Paths::makeFolders(Paths::cachesFolder()))
        return;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    QDataStream out(&file);
    out.setVersion(QDataStream::Qt_6_4);
    out << kCopyFormat << folders << languageKey() << index.stamps << index.readAt << index.byId
        << index.byName;
    if (out.status() != QDataStream::Ok || !file.commit())
        qWarning("DesktopEntryIndex: the list of applications is not kept in %s", qPrintable(path));
}

} // namespace

namespace {

// Brings a list up to date: the one to hold from now on, or nothing when the one held is current.
// Reads files; called without the lock where lookups must not wait.
std::optional<Index> newerIndex(bool first, const QList<qint64>& heldStamps, bool heldSettled)
{
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    const QStringList folders = applicationFolders();
    const QList<qint64> stamps = folderStamps(folders);
    Index index;
    if (first && takeCopy(index, folders, stamps, now))
        return index;
    if (!first && stamps == heldStamps && heldSettled)
        return std::nullopt;
    index = readIndex();
    index.stamps = stamps;
    index.readAt = now;
    if (settled(index))
        keepCopy(index, folders);
    return index;
}

QMutex g_mutex; // guards everything below
Index g_index;
qint64 g_checkedAt = -1;
// Set while a reader thread keeps the list: lookups then only ask it to look.
bool g_readerRuns = false;
bool g_lookWanted = false;
QWaitCondition g_lookAsked;
QWaitCondition g_looked;

// A menu asks once per open-with entry: the folders are looked at no more than once a second, and
// the list is read again no more than once a second while a change settles.
bool dueForALook()
{
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (g_index.readAt >= 0 && now - g_checkedAt < kRecheckMs)
        return false;
    g_checkedAt = now;
    return true;
}

void refreshLocked()
{
    if (!dueForALook())
        return;
    if (std::optional<Index> newer =
            newerIndex(g_index.readAt < 0, g_index.stamps, settled(g_index)))
        g_index = std::move(*newer);
}

void readerLoop()
{
    QMutexLocker locker(&g_mutex);
    for (;;) {
        while (!g_lookWanted && g_readerRuns)
            g_lookAsked.wait(&g_mutex);
        if (!g_readerRuns)
            return;
        g_lookWanted = false;
        const bool first = g_index.readAt < 0;
        const QList<qint64> stamps = g_index.stamps;
        const bool wasSettled = settled(g_index);
        locker.unlock();
        std::optional<Index> newer = newerIndex(first, stamps, wasSettled);
        locker.relock();
        if (newer)
            g_index = std::move(*newer);
        g_looked.wakeAll();
    }
}

} // namespace

DesktopEntryIndex::BackgroundReader::BackgroundReader()
{
    // GIO's file system (GVfs) is made by the first thread that needs it; made on a thread that
    // ends, part of it is left behind unreachable. The calling thread makes it.
    g_vfs_get_default();
    {
        const QMutexLocker locker(&g_mutex);
        g_readerRuns = true;
        g_lookWanted = true;
        g_checkedAt = QDateTime::currentMSecsSinceEpoch();
    }
    // A thread of its own that ends with this object: GIO keeps per-thread data that a pooled
    // thread would still hold at the exit.
    m_thread.reset(QThread::create(readerLoop));
    m_thread->start(QThread::LowPriority);
}

DesktopEntryIndex::BackgroundReader::~BackgroundReader()
{
    {
        const QMutexLocker locker(&g_mutex);
        g_readerRuns = false;
        g_lookAsked.wakeAll();
        g_looked.wakeAll();
    }
    m_thread->wait();
}

QString DesktopEntryIndex::lookup(const QString& application)
{
    if (application.isEmpty())
        return {};
    QMutexLocker locker(&g_mutex);
    if (g_readerRuns) {
        if (dueForALook()) {
            g_lookWanted = true;
            g_lookAsked.wakeOne();
        }
        // Only the first read is waited for: a menu without the list would differ from the next.
        while (g_index.readAt < 0 && g_readerRuns)
            g_looked.wait(&g_mutex);
    } else {
        refreshLocked();
    }
    const QString key = application.toLower();
    const QString byId = g_index.byId.value(key);
    return byId.isEmpty() ? g_index.byName.value(key) : byId;
}

} // namespace pallstone
