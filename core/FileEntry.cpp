#include "FileEntry.h"

#include "Dates.h"
#include "FileName.h"
#include "Paths.h"

#include <QFile>
#include <QMimeDatabase>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace pallstone {

using namespace Qt::StringLiterals;

namespace {

// The item's own dates, a final link not followed.
QDateTime itemDate(const QString& path, bool creation)
{
    if (!Paths::isWritable(path))
        return {};
    struct statx stx;
    const QByteArray bytes = FileName::encode(path);
    if (::statx(AT_FDCWD, bytes.constData(), AT_SYMLINK_NOFOLLOW, STATX_BTIME | STATX_MTIME,
                &stx) != 0)
        return {};
    const statx_timestamp& stamp =
        creation && (stx.stx_mask & STATX_BTIME) ? stx.stx_btime : stx.stx_mtime;
    return QDateTime::fromMSecsSinceEpoch(qint64(stamp.tv_sec) * 1000 + stamp.tv_nsec / 1000000);
}

QString dateText(const QDateTime& date)
{
    return date.isValid() ? Dates::stringWithDateFormat(date, u"yyyy-MM-dd HH:mm:ss"_s)
                          : QString(u""_s);
}

} // namespace

FileEntry::FileEntry(const QString& path) : m_path(path) {}

std::unique_ptr<FileEntry> FileEntry::fileWithPath(const QString& path)
{
    return std::make_unique<FileEntry>(path);
}

QString FileEntry::tempPath()
{
    if (m_tempPath.isNull())
        m_tempPath = Paths::toTempFolderPath(u'.' + Paths::fileMD5(m_path));
    return m_tempPath;
}

void FileEntry::removeTempPath()
{
    QString path = m_tempPath;
    if (path.isNull()) {
        // Never read: the folder an earlier descriptor of the same contents may have made.
        const QString name = u'.' + Paths::fileMD5(m_path);
        const QString caches = Paths::cachesFolder();
        if (name != u"."_s && name != u".."_s && !name.contains(u'/') && !caches.isEmpty())
            path = caches + u'/' + name;
    }
    if (!path.isNull())
        Paths::remove(path);
    m_tempPath = QString();
}

const FileEntry::Children& FileEntry::children()
{
    if (m_childrenListed)
        return m_children;
    m_childrenListed = true;
    DIR* dir = ::opendir(FileName::encode(m_path).constData());
    if (!dir)
        return m_children;
    const QString prefix = m_path.endsWith(u'/') ? m_path : m_path + u'/';
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray raw(entry->d_name);
        if (raw.startsWith('.'))
            continue;
        const QString name = FileName::decode(raw);
        auto child = fileWithPath(prefix + name);
        child->setParent(this);
        m_children.push_back(std::move(child));
    }
    ::closedir(dir);
    return m_children;
}

QUrl FileEntry::url() const
{
    return QUrl::fromLocalFile(m_path);
}

QString FileEntry::filename() const
{
    return Paths::lastPathComponent(m_path);
}

QString FileEntry::name() const
{
    return Paths::deletingPathExtension(filename());
}

QString FileEntry::simpleName() const
{
    QString name = filename();
    for (QString shorter = Paths::deletingPathExtension(name); shorter != name;
         shorter = Paths::deletingPathExtension(name))
        name = shorter;
    return name;
}

QString FileEntry::folder() const
{
    return Paths::deletingLastPathComponent(m_path);
}

QString FileEntry::ext() const
{
    return Paths::pathExtension(m_path).toLower();
}

QString FileEntry::size() const
{
    return Paths::fileSizeWithValue(double(Paths::fileSize(m_path)));
}

QString FileEntry::createDate() const
{
    return dateText(itemDate(m_path, true));
}

QString FileEntry::modifyDate() const
{
    return dateText(itemDate(m_path, false));
}

QString FileEntry::iconName() const
{
    const QMimeType type = QMimeDatabase().mimeTypeForFile(m_path);
    if (!type.iconName().isEmpty())
        return type.iconName();
    return genericIconName();
}

QString FileEntry::genericIconName() const
{
    const QString generic = QMimeDatabase().mimeTypeForFile(m_path).genericIconName();
    return generic.isEmpty() ? u"text-x-generic"_s : generic;
}

bool FileEntry::isFolder() const
{
    return Paths::isFolder(m_path);
}

bool FileEntry::isKindle() const
{
    static const QStringList kinds = {u"mobi"_s, u"azw3"_s, u"prc"_s, u"tpz"_s,
                                      u"azw"_s,  u"azw4"_s, u"azs"_s, u"azl"_s};
    return kinds.contains(ext());
}

bool FileEntry::isTnef() const
{
    const QString extension = ext();
    return extension == u"dat"_s || extension == u"tnef"_s;
}

bool FileEntry::isCHM() const
{
    return ext() == u"chm"_s;
}

bool FileEntry::isHideFile() const
{
    return filename().startsWith(u'.');
}

bool FileEntry::isDesktop() const
{
    return Paths::isDesktop(m_path);
}

bool FileEntry::isImage() const
{
    static const QStringList kinds = {u"png"_s,  u"tiff"_s, u"jp2"_s, u"jpg"_s,
                                      u"jpeg"_s, u"gif"_s,  u"bmp"_s};
    return kinds.contains(ext());
}

} // namespace pallstone
