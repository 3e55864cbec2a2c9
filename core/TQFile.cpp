#include "TQFile.h"

#include "Dates.h"
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
    const QByteArray bytes = QFile::encodeName(path);
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

TQFile::TQFile(const QString& path) : m_path(path) {}

std::unique_ptr<TQFile> TQFile::fileWithPath(const QString& path)
{
    return std::make_unique<TQFile>(path);
}

QString TQFile::tempPath()
{
    if (m_tempPath.isNull())
        m_tempPath = Paths::toTempFolderPath(u'.' + Paths::fileMD5(m_path));
    return m_tempPath;
}

void TQFile::removeTempPath()
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

const TQFile::Children& TQFile::children()
{
    if (m_childrenListed)
        return m_children;
    m_childrenListed = true;
    DIR* dir = ::opendir(QFile::encodeName(m_path).constData());
    if (!dir)
        return m_children;
    const QString prefix = m_path.endsWith(u'/') ? m_path : m_path + u'/';
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray raw(entry->d_name);
        if (raw.startsWith('.'))
            continue;
        const QString name = QFile::decodeName(raw);
        if (QFile::encodeName(name) != raw)
            continue;
        auto child = fileWithPath(prefix + name);
        child->setParent(this);
        m_children.push_back(std::move(child));
    }
    ::closedir(dir);
    return m_children;
}

QUrl TQFile::url() const
{
    return QUrl::fromLocalFile(m_path);
}

QString TQFile::filename() const
{
    return Paths::lastPathComponent(m_path);
}

QString TQFile::name() const
{
    return Paths::deletingPathExtension(filename());
}

QString TQFile::simpleName() const
{
    QString name = filename();
    for (QString shorter = Paths::deletingPathExtension(name); shorter != name;
         shorter = Paths::deletingPathExtension(name))
        name = shorter;
    return name;
}

QString TQFile::folder() const
{
    return Paths::deletingLastPathComponent(m_path);
}

QString TQFile::ext() const
{
    return Paths::pathExtension(m_path).toLower();
}

QString TQFile::size() const
{
    return Paths::fileSizeWithValue(double(Paths::fileSize(m_path)));
}

QString TQFile::createDate() const
{
    return dateText(itemDate(m_path, true));
}

QString TQFile::modifyDate() const
{
    return dateText(itemDate(m_path, false));
}

QString TQFile::iconName() const
{
    const QMimeType type = QMimeDatabase().mimeTypeForFile(m_path);
    if (!type.iconName().isEmpty())
        return type.iconName();
    return genericIconName();
}

QString TQFile::genericIconName() const
{
    const QString generic = QMimeDatabase().mimeTypeForFile(m_path).genericIconName();
    return generic.isEmpty() ? u"text-x-generic"_s : generic;
}

bool TQFile::isFolder() const
{
    return Paths::isFolder(m_path);
}

bool TQFile::isKindle() const
{
    static const QStringList kinds = {u"mobi"_s, u"azw3"_s, u"prc"_s, u"tpz"_s,
                                      u"azw"_s,  u"azw4"_s, u"azs"_s, u"azl"_s};
    return kinds.contains(ext());
}

bool TQFile::isTnef() const
{
    const QString extension = ext();
    return extension == u"dat"_s || extension == u"tnef"_s;
}

bool TQFile::isCHM() const
{
    return ext() == u"chm"_s;
}

bool TQFile::isHideFile() const
{
    return filename().startsWith(u'.');
}

bool TQFile::isDesktop() const
{
    return Paths::isDesktop(m_path);
}

bool TQFile::isImage() const
{
    static const QStringList kinds = {u"png"_s,  u"tiff"_s, u"jp2"_s, u"jpg"_s,
                                      u"jpeg"_s, u"gif"_s,  u"bmp"_s};
    return kinds.contains(ext());
}

} // namespace pallstone
