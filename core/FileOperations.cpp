#include "FileOperations.h"

#include "AtomicFile.h"
#include "FileName.h"

#include "Paths.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace pallstone {

namespace {

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

QString systemError(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

// File systems without Unix permissions or times refuse to keep them; the data is copied all the
// same.
void warnMetadata(const char* what, const QByteArray& path)
{
    qWarning("pallstone: cannot keep the %s of %s: %s", what, path.constData(),
             std::strerror(errno));
}

bool copyFileContents(int in, int out)
{
    // The kernel copies without the data passing through us where the file systems allow.
    for (;;) {
        const ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, 1 << 30, 0);
        if (n == 0)
            return true;
        if (n > 0)
            continue;
        if (errno == EINTR)
            continue;
        if (errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
            return false;
        break;
    }
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n == 0)
            return true;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (!AtomicFile::writeAll(out, buffer, static_cast<size_t>(n)))
            return false;
    }
}

// Copies one item; on failure errno tells why and the caller removes what was made. createdRoot
// tells whether this call made the destination itself (only then may it be removed).
bool copyNative(const QByteArray& source, const QByteArray& destination,
                bool* createdRoot = nullptr)
{
    struct stat st
    {};
    if (::lstat(source.constData(), &st) != 0)
        return false;
    if (S_ISLNK(st.st_mode)) {
        QByteArray target(static_cast<qsizetype>(st.st_size) + 1, '\0');
        const ssize_t n = ::readlink(source.constData(), target.data(), target.size());
        if (n < 0)
            return false;
        target.truncate(n);
        if (::symlink(target.constData(), destination.constData()) != 0)
            return false;
        if (createdRoot)
            *createdRoot = true;
        return true;
    }
    if (S_ISDIR(st.st_mode)) {
        if (::mkdir(destination.constData(), (st.st_mode & 07777) | S_IRWXU) != 0)
            return false;
        if (createdRoot)
            *createdRoot = true;
        std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(source.constData()), &::closedir);
        if (!dir)
            return false;
        while (const dirent* e = ::readdir(dir.get())) {
            if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0)
                continue;
            if (!copyNative(source + '/' + e->d_name, destination + '/' + e->d_name))
                return false;
        }
        // The copy is complete without its folder's permissions and times, but say so.
        if (::chmod(destination.constData(), st.st_mode & 07777) != 0)
            warnMetadata("permissions", destination);
        const timespec times[2] = {st.st_atim, st.st_mtim};
        if (::utimensat(AT_FDCWD, destination.constData(), times, 0) != 0)
            warnMetadata("times", destination);
        return true;
    }
    if (!S_ISREG(st.st_mode)) {
        errno = ENOTSUP; // pipes, devices and sockets are not copied
        return false;
    }
    const int in = ::open(source.constData(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return false;
    const int out = ::open(destination.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                           st.st_mode & 07777);
    if (out < 0) {
        const int saved = errno;
        ::close(in);
        errno = saved;
        return false;
    }
    if (createdRoot)
        *createdRoot = true;
    bool ok = copyFileContents(in, out);
    int saved = errno;
    if (ok) {
        const timespec times[2] = {st.st_atim, st.st_mtim};
        if (::futimens(out, times) != 0)
            warnMetadata("times", destination);
        ok = ::close(out) == 0;
        saved = errno;
    } else {
        ::close(out);
    }
    ::close(in);
    errno = saved;
    return ok;
}

// The canonical form of a path whose last component may not exist yet.
QString canonicalOrBelow(const QString& path)
{
    const QFileInfo info(Paths::standardizedPath(path));
    const QString canonical = info.canonicalFilePath();
    if (!canonical.isEmpty())
        return canonical;
    const QString parent = QFileInfo(info.absolutePath()).canonicalFilePath();
    return parent.isEmpty() ? info.absoluteFilePath() : parent + u'/' + info.fileName();
}

} // namespace

bool FileOperations::exists(const QString& path)
{
    struct stat st
    {};
    return ::lstat(FileName::encode(path).constData(), &st) == 0;
}

bool FileOperations::isSameOrInside(const QString& path, const QString& item)
{
    const QString p = canonicalOrBelow(path);
    const QString i = canonicalOrBelow(item);
    return p == i || p.startsWith(i.endsWith(u'/') ? i : i + u'/');
}

bool FileOperations::copyItem(const QString& source, const QString& destination, QString* error)
{
    if (!exists(source)) {
        setError(error, QStringLiteral("%1 does not exist").arg(source));
        return false;
    }
    if (isSameOrInside(destination, source)) {
        setError(error, QStringLiteral("cannot copy %1 into itself").arg(source));
        return false;
    }
    if (exists(destination)) {
        setError(error, QStringLiteral("%1 already exists").arg(destination));
        return false;
    }
    bool created = false;
    if (copyNative(FileName::encode(source), FileName::encode(destination), &created))
        return true;
    const int saved = errno;
    // Nothing half-copied stays behind; an item that appeared there meanwhile is not ours.
    if (created)
        Paths::remove(destination);
    setError(error, systemError(saved));
    return false;
}

bool FileOperations::moveItem(const QString& source, const QString& destination, QString* error)
{
    if (!exists(source)) {
        setError(error, QStringLiteral("%1 does not exist").arg(source));
        return false;
    }
    if (isSameOrInside(destination, source)) {
        setError(error, QStringLiteral("cannot move %1 into itself").arg(source));
        return false;
    }
    const QByteArray from = FileName::encode(source);
    const QByteArray to = FileName::encode(destination);
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno == EINVAL || errno == ENOSYS) {
        // A file system without the no-replace rename: check, then rename.
        if (exists(destination)) {
            setError(error, QStringLiteral("%1 already exists").arg(destination));
            return false;
        }
        if (::rename(from.constData(), to.constData()) == 0)
            return true;
    }
    if (errno != EXDEV) {
        setError(error, systemError(errno));
        return false;
    }
    if (!copyItem(source, destination, error))
        return false;
    if (!Paths::remove(source)) {
        setError(error,
                 QStringLiteral("copied to %1 but could not remove %2").arg(destination, source));
        return false;
    }
    return true;
}

bool FileOperations::createFile(const QString& path, const QByteArray& contents, QString* error)
{
    const int fd =
        ::open(FileName::encode(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        setError(error, systemError(errno));
        return false;
    }
    const bool ok =
        AtomicFile::writeAll(fd, contents.constData(), static_cast<size_t>(contents.size()));
    const int saved = errno;
    if (::close(fd) != 0 || !ok) {
        ::unlink(FileName::encode(path).constData());
        setError(error, systemError(ok ? errno : saved));
        return false;
    }
    return true;
}

std::optional<QByteArray> FileOperations::readFile(const QString& path, QString* error)
{
    const int fd = ::open(FileName::encode(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            return QByteArray();
        setError(error, systemError(errno));
        return std::nullopt;
    }
    QByteArray contents;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0)
            break;
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            setError(error, systemError(errno));
            ::close(fd);
            return std::nullopt;
        }
        contents.append(buffer, n);
    }
    ::close(fd);
    return contents;
}

} // namespace pallstone
