#include "Paths.h"

#include "DirectoryFile.h"
#include "FileName.h"
#include "Launcher.h"
#include "Services.h"
#include "Strings.h"

#include <QDir>
#include <QFile>
#include <QMimeDatabase>
#include <QMutex>
#include <QStandardPaths>

#include <openssl/evp.h>

#include <cerrno>
#include <cmath>
#include <memory>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <pwd.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pallstone {

using namespace Qt::StringLiterals;

namespace {

// Without trailing separators: "link/" would make lstat() and unlink() act on the link's target.
QString withoutTrailingSeparators(const QString& path)
{
    qsizetype end = path.size();
    while (end > 1 && path.at(end - 1) == u'/')
        --end;
    return path.left(end);
}

QByteArray native(const QString& path)
{
    return FileName::encode(withoutTrailingSeparators(path));
}

bool lstatPath(const QString& path, struct stat& st)
{
    const QByteArray bytes = native(path);
    return !bytes.isEmpty() && ::lstat(bytes.constData(), &st) == 0;
}

bool isValidExtension(QStringView extension)
{
    if (extension.isEmpty())
        return false;
    for (const QChar c : extension) {
        if (c.isSpace() || c == u'/')
            return false;
    }
    return true;
}

// The extension of one path component, or an empty view.
QStringView componentExtension(QStringView component)
{
    const qsizetype dot = component.lastIndexOf(u'.');
    if (dot <= 0)
        return {};
    const QStringView extension = component.mid(dot + 1);
    return isValidExtension(extension) ? extension : QStringView();
}

// A name that stays inside the folder it is joined to.
bool isSingleComponent(const QString& name)
{
    return !name.isEmpty() && name != u"."_s && name != u".."_s && !name.contains(u'/') &&
           !name.contains(QChar(0));
}

struct DirCloser
{
    void operator()(DIR* dir) const { ::closedir(dir); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

// Opens the folder entry name of parent without following a link there.
DirHandle openFolderAt(int parent, const char* name)
{
    const int fd = ::openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return {};
    DIR* dir = ::fdopendir(fd);
    if (!dir)
        ::close(fd);
    return DirHandle(dir);
}

// The names are read before anything is done to them: removing entries while readdir() walks the
// same folder may skip some.
std::vector<QByteArray> namesIn(DIR* dir)
{
    std::vector<QByteArray> names;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..")
            names.push_back(name);
    }
    return names;
}

qint64 sizeBelow(DIR* dir)
{
    qint64 total = 0;
    const int fd = ::dirfd(dir);
    for (const QByteArray& name : namesIn(dir)) {
        struct stat st;
        if (::fstatat(fd, name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        if (S_ISDIR(st.st_mode)) {
            if (const DirHandle child = openFolderAt(fd, name.constData()))
                total += sizeBelow(child.get());
        } else {
            total += st.st_size;
        }
    }
    return total;
}

// Removes the entry name of parent, a folder with everything below it. Links are unlinked, never
// followed. True when the entry is gone.
bool removeAt(int parent, const char* name)
{
    struct stat st;
    if (::fstatat(parent, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT;
    if (!S_ISDIR(st.st_mode))
        return ::unlinkat(parent, name, 0) == 0 || errno == ENOENT;
    if (const DirHandle dir = openFolderAt(parent, name)) {
        for (const QByteArray& child : namesIn(dir.get()))
            removeAt(::dirfd(dir.get()), child.constData());
    }
    // Fails with ENOTEMPTY when anything below could not be removed.
    return ::unlinkat(parent, name, AT_REMOVEDIR) == 0 || errno == ENOENT;
}

bool isDecodableImage(const QMimeType& type)
{
    static const char* const kinds[] = {
        "image/png",
        "image/jpeg",
        "image/gif",
        "image/bmp",
        "image/tiff",
        "image/webp",
        "image/svg+xml",
        "image/svg+xml-compressed",
        "image/x-icon",
        "image/vnd.microsoft.icon",
        "image/jp2",
        "image/jpx",
        "image/jpm",
        "image/heif",
        "image/heic",
        "image/avif",
        "image/x-portable-bitmap",
        "image/x-portable-graymap",
        "image/x-portable-pixmap",
        "image/x-portable-anymap",
        "image/x-tga",
        "image/x-xbitmap",
        "image/x-xpixmap",
    };
    if (!type.isValid())
        return false;
    for (const char* kind : kinds) {
        if (type.inherits(QLatin1String(kind)))
            return true;
    }
    return false;
}

bool directoryFileNamesIcon(const QString& folder)
{
    return !DirectoryFile::icon(folder).trimmed().isEmpty();
}

QMutex s_probeMutex;
std::function<bool(const QString&)> s_customIconProbe;

// name inside base, creating base when missing.
QString nameInFolder(const QString& base, const QString& name)
{
    if (!isSingleComponent(name) || base.isEmpty() || !QDir().mkpath(base))
        return {};
    return base + u'/' + name;
}

QString homeOf(const QString& user)
{
    if (user.isEmpty())
        return QDir::homePath();
    const QByteArray login = FileName::encode(user);
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? size_t(size) : 16384);
    struct passwd entry;
    struct passwd* found = nullptr;
    if (::getpwnam_r(login.constData(), &entry, buffer.data(), buffer.size(), &found) != 0 ||
        !found)
        return {};
    return FileName::decode(found->pw_dir);
}

} // namespace

QString Paths::lastPathComponent(const QString& path)
{
    const QString trimmed = withoutTrailingSeparators(path);
    if (trimmed == u"/"_s)
        return trimmed;
    return trimmed.mid(trimmed.lastIndexOf(u'/') + 1);
}

QString Paths::deletingLastPathComponent(const QString& path)
{
    const QString trimmed = withoutTrailingSeparators(path);
    const qsizetype slash = trimmed.lastIndexOf(u'/');
    if (slash < 0)
        return {};
    if (slash == 0)
        return u"/"_s;
    return withoutTrailingSeparators(trimmed.left(slash));
}

QString Paths::pathExtension(const QString& path)
{
    return componentExtension(lastPathComponent(path)).toString();
}

QString Paths::deletingPathExtension(const QString& path)
{
    const QString trimmed = withoutTrailingSeparators(path);
    const qsizetype length = componentExtension(lastPathComponent(trimmed)).size();
    return length == 0 ? trimmed : trimmed.left(trimmed.size() - length - 1);
}

bool Paths::isPlainName(const QString& name)
{
    const QString trimmed = name.trimmed();
    return Strings::isValid(name) && !name.contains(u'/') && trimmed != u"." && trimmed != u".." &&
           !name.contains(QChar(0));
}

bool Paths::isFolder(const QString& path)
{
    struct stat st;
    return lstatPath(path, st) && S_ISDIR(st.st_mode);
}

bool Paths::isPackage(const QString& path)
{
    return !pathExtension(path).isEmpty() && isFolder(path);
}

bool Paths::isImage(const QString& path)
{
    struct stat st;
    const QByteArray bytes = native(path);
    if (bytes.isEmpty() || ::stat(bytes.constData(), &st) != 0 || S_ISDIR(st.st_mode))
        return false;
    const QMimeDatabase database;
    const QMimeType byName = database.mimeTypeForFile(path, QMimeDatabase::MatchExtension);
    if (!byName.isDefault())
        return isDecodableImage(byName);
    // Reading a pipe or a device could block or have effects; only plain files are opened.
    if (!S_ISREG(st.st_mode) || ::access(bytes.constData(), R_OK) != 0)
        return false;
    return isDecodableImage(database.mimeTypeForFile(path, QMimeDatabase::MatchContent));
}

bool Paths::isDesktop(const QString& path)
{
    return !path.isEmpty() && QDir::cleanPath(path) == QDir::cleanPath(desktopPath());
}

bool Paths::isSystemFolder(const QString& path)
{
    if (path.isEmpty())
        return false;
    const QString home = QDir::homePath();
    QStringList folders = {u"/"_s,    u"/home"_s, home,        u"/usr"_s,
                           u"/etc"_s, u"/opt"_s,  u"/media"_s, u"/mnt"_s};
    for (const auto location :
         {QStandardPaths::DesktopLocation, QStandardPaths::DocumentsLocation,
          QStandardPaths::DownloadLocation, QStandardPaths::PicturesLocation,
          QStandardPaths::MusicLocation, QStandardPaths::MoviesLocation,
          QStandardPaths::TemplatesLocation, QStandardPaths::PublicShareLocation}) {
        const QString folder = QStandardPaths::writableLocation(location);
        if (!folder.isEmpty())
            folders.append(folder);
    }
    const QString cleaned = QDir::cleanPath(path);
    for (const QString& folder : std::as_const(folders)) {
        if (QDir::cleanPath(folder) == cleaned)
            return true;
    }
    return false;
}

bool Paths::isWritable(const QString& path)
{
    const QByteArray bytes = native(path);
    return !bytes.isEmpty() && ::access(bytes.constData(), W_OK) == 0;
}

bool Paths::isLocked(const QString& path)
{
    const QByteArray bytes = native(path);
    struct statx stx;
    if (bytes.isEmpty() ||
        ::statx(AT_FDCWD, bytes.constData(), AT_SYMLINK_NOFOLLOW, STATX_MODE, &stx) != 0)
        return false;
    // A link's own permissions mean nothing.
    if (S_ISLNK(stx.stx_mode))
        return false;
    if ((stx.stx_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return true;
    if (stx.stx_attributes_mask & STATX_ATTR_IMMUTABLE)
        return (stx.stx_attributes & STATX_ATTR_IMMUTABLE) != 0;
    // Older file systems report the flag only through the ioctl, which needs an open file.
    if (!S_ISREG(stx.stx_mode) && !S_ISDIR(stx.stx_mode))
        return false;
    const int fd = ::open(bytes.constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    int flags = 0;
    const bool immutable = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 && (flags & FS_IMMUTABLE_FL);
    ::close(fd);
    return immutable;
}

bool Paths::hasCustomIcon(const QString& path)
{
    if (!isFolder(path))
        return false;
    if (directoryFileNamesIcon(withoutTrailingSeparators(path)))
        return true;
    std::function<bool(const QString&)> probe;
    {
        const QMutexLocker locker(&s_probeMutex);
        probe = s_customIconProbe;
    }
    return probe && probe(path);
}

void Paths::setCustomIconProbe(std::function<bool(const QString&)> probe)
{
    const QMutexLocker locker(&s_probeMutex);
    s_customIconProbe = std::move(probe);
}

qint64 Paths::fileSize(const QString& path)
{
    struct stat st;
    if (!lstatPath(path, st))
        return 0;
    if (!S_ISDIR(st.st_mode))
        return st.st_size;
    const DirHandle dir = openFolderAt(AT_FDCWD, native(path).constData());
    return dir ? sizeBelow(dir.get()) : 0;
}

QString Paths::fileMD5(const QString& path)
{
    struct stat st;
    if (!lstatPath(path, st))
        return deletingPathExtension(lastPathComponent(path));

    const std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(),
                                                                          &EVP_MD_CTX_free);
    if (!context || EVP_DigestInit_ex(context.get(), EVP_md5(), nullptr) != 1)
        return {};

    // O_NONBLOCK: opening a pipe must not wait for a writer. Only regular files are read.
    const int fd = ::open(native(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd >= 0) {
        struct stat opened;
        if (::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode)) {
            std::vector<unsigned char> chunk(256 * 1024);
            for (;;) {
                const ssize_t got = ::read(fd, chunk.data(), chunk.size());
                if (got < 0 && errno == EINTR)
                    continue;
                if (got < 0) {
                    // Unreadable content hashes as empty input, not as a partial read.
                    EVP_DigestInit_ex(context.get(), EVP_md5(), nullptr);
                    break;
                }
                if (got == 0)
                    break;
                EVP_DigestUpdate(context.get(), chunk.data(), size_t(got));
            }
        }
        ::close(fd);
    }
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_DigestFinal_ex(context.get(), digest, &length) != 1)
        return {};
    return QString::fromLatin1(
        QByteArray(reinterpret_cast<const char*>(digest), int(length)).toHex());
}

QString Paths::uniquePath(const QString& path)
{
    struct stat st;
    // lstat: a dangling link still occupies its name, and writing there would follow it.
    if (!lstatPath(path, st))
        return path;
    const QString base = deletingPathExtension(path);
    const QString extension = pathExtension(path);
    const QString suffix = extension.isEmpty() ? QString() : u'.' + extension;
    for (qint64 counter = 1;; ++counter) {
        const QString candidate = base + u'-' + QString::number(counter) + suffix;
        if (!lstatPath(candidate, st))
            return candidate;
    }
}

bool Paths::remove(const QString& path)
{
    const QByteArray bytes = native(path);
    struct stat st;
    if (bytes.isEmpty() || ::lstat(bytes.constData(), &st) != 0)
        return false;
    if (isSystemFolder(path))
        return false;
    return removeAt(AT_FDCWD, bytes.constData());
}

bool Paths::createDir(const QString& path)
{
    struct stat st;
    if (lstatPath(path, st) && !remove(path))
        return false;
    return !path.isEmpty() && makeFolders(path);
}

bool Paths::makeFolders(const QString& path)
{
    const QByteArray bytes = native(path);
    if (bytes.isEmpty())
        return false;
    for (qsizetype slash = bytes.indexOf('/', 1);; slash = bytes.indexOf('/', slash + 1)) {
        const QByteArray part = slash < 0 ? bytes : bytes.left(slash);
        if (::mkdir(part.constData(), 0777) != 0 && errno != EEXIST)
            return false;
        if (slash < 0)
            break;
    }
    struct stat st;
    return ::stat(bytes.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

QStringList Paths::entryNames(const QString& folder)
{
    QStringList names;
    const DirHandle dir(::opendir(native(folder).constData()));
    if (!dir)
        return names;
    for (const QByteArray& name : namesIn(dir.get()))
        names.append(FileName::decode(name));
    return names;
}

QString Paths::cachesFolder()
{
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (cache.isEmpty())
        return {};
    return cache + u"/pallstone"_s;
}

QString Paths::toTempFolderPath(const QString& name, bool clear)
{
    const QString caches = cachesFolder();
    if (!isSingleComponent(name) || caches.isEmpty())
        return {};
    const QString path = caches + u'/' + name;
    struct stat st;
    if (lstatPath(path, st)) {
        if (!clear && S_ISDIR(st.st_mode))
            return path;
        if (!remove(path))
            return {};
    }
    return makeFolders(path) ? path : QString();
}

void Paths::removeAllTempFolder()
{
    const QString caches = cachesFolder();
    if (caches.isEmpty())
        return;
    // The caches folder itself may be a link the user made on purpose; what is inside is not
    // followed.
    const int fd = ::open(native(caches).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    DirHandle dir(::fdopendir(fd));
    if (!dir) {
        ::close(fd);
        return;
    }
    for (const QByteArray& name : namesIn(dir.get())) {
        if (name.startsWith('.'))
            removeAt(::dirfd(dir.get()), name.constData());
    }
}

QString Paths::toMoviesPath(const QString& name)
{
    return nameInFolder(QStandardPaths::writableLocation(QStandardPaths::MoviesLocation), name);
}

QString Paths::toDocument(const QString& name)
{
    return nameInFolder(documentPath(), name);
}

QString Paths::toDesktop(const QString& name)
{
    return nameInFolder(desktopPath(), name);
}

QString Paths::documentPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

QString Paths::desktopPath()
{
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    return desktop.isEmpty() ? QDir::homePath() + u"/Desktop"_s : desktop;
}

bool Paths::showInFileManager(const QString& path)
{
    return Services::launcher()->revealInFileManager({path});
}

QUrl Paths::hashURL(const QString& path)
{
    const QStringList parts = path.split(u'#');
    if (parts.size() < 2)
        return QUrl::fromLocalFile(path);
    QUrl url = QUrl::fromLocalFile(parts.at(0));
    url.setFragment(parts.at(1));
    return url;
}

QString Paths::standardizedPath(const QString& path)
{
    QString expanded = path;
    if (path.startsWith(u'~')) {
        const qsizetype slash = path.indexOf(u'/');
        const QString user = path.mid(1, slash < 0 ? -1 : slash - 1);
        const QString home = homeOf(user);
        if (!home.isEmpty())
            expanded = home + (slash < 0 ? QString() : path.mid(slash));
    }
    QString cleaned = QDir::cleanPath(expanded);
    // QDir keeps ".." above the root; there is nothing above it.
    while (cleaned.startsWith(u"/.."_s) && (cleaned.size() == 3 || cleaned.at(3) == u'/'))
        cleaned = cleaned.size() == 3 ? u"/"_s : cleaned.mid(3);
    return cleaned;
}

QString Paths::fileSizeWithValue(double bytes)
{
    static const char* const units[] = {"B", "KB", "MB", "GB", "TB"};
    constexpr int last = int(std::size(units)) - 1;
    double value = std::isfinite(bytes) && bytes > 0 ? bytes : 0.0;
    int unit = 0;
    while (value > 1000 && unit < last) {
        value /= 1000;
        ++unit;
    }
    return QString::asprintf("%4.2f ", value) + QLatin1String(units[unit]);
}

} // namespace pallstone
