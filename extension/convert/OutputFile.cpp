#include "OutputFile.h"

#include "FileName.h"
#include "Paths.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace pallstone {

namespace {

mode_t g_newFileMode = 0644;

void setErrno(QString* error)
{
    if (error)
        *error = QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

namespace {

// The umask as the kernel reports it, without setting it; nothing when /proc does not say.
std::optional<mode_t> reportedUmask()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return std::nullopt;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (!line.startsWith("Umask:"))
            continue;
        bool ok = false;
        const uint mask = line.mid(6).trimmed().toUInt(&ok, 8);
        return ok ? std::optional<mode_t>(mode_t(mask & 0777)) : std::nullopt;
    }
    return std::nullopt;
}

} // namespace

void OutputFile::initialise()
{
    static std::once_flag once;
    std::call_once(once, [] {
        std::optional<mode_t> mask = reportedUmask();
        if (!mask) {
            mask = ::umask(0);
            ::umask(*mask);
        }
        g_newFileMode = 0666 & ~*mask;
    });
}

OutputFile::OutputFile(const QString& path) : m_path(path) {}

OutputFile::~OutputFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
    if (!m_done && !m_temporary.isEmpty())
        ::unlink(m_temporary.constData());
}

bool OutputFile::open(QString* error)
{
    const QFileInfo info(m_path);
    m_temporary =
        FileName::encode(info.absolutePath() + QStringLiteral("/.") + info.fileName()) + ".XXXXXX";
    m_fd = ::mkostemp(m_temporary.data(), O_CLOEXEC);
    if (m_fd < 0) {
        setErrno(error);
        m_temporary.clear();
        return false;
    }
    return true;
}

bool OutputFile::writeAll(int fd, const QByteArray& bytes, QString* error)
{
    const char* data = bytes.constData();
    size_t size = size_t(bytes.size());
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            setErrno(error);
            return false;
        }
        data += n;
        size -= size_t(n);
    }
    return true;
}

bool OutputFile::finish(bool replacing, QString* error)
{
    if (m_fd < 0)
        return false;
    // A replaced file keeps its permissions; a new one gets what the umask allows.
    // A link's permissions are not the file's, and its target's are of another file.
    struct stat existing;
    const QByteArray target = FileName::encode(m_path);
    const bool replacesFile =
        replacing && ::lstat(target.constData(), &existing) == 0 && S_ISREG(existing.st_mode);
    const mode_t mode = replacesFile ? (existing.st_mode & 07777) : g_newFileMode;
    // A file that replaces another is on the disk before the rename, so that a crash leaves the
    // old one or the new one whole. A file under a new name puts nothing at risk: it is left to
    // the system's own write-back, as any program's file is.
    const bool synced = ::fchmod(m_fd, mode) == 0 && (!replacesFile || ::fsync(m_fd) == 0);
    if (!synced)
        setErrno(error);
    const int fd = std::exchange(m_fd, -1);
    if (::close(fd) != 0 && synced) {
        setErrno(error);
        return false;
    }
    return synced;
}

bool OutputFile::commit(QString* error)
{
    if (!finish(true, error))
        return false;
    if (::rename(m_temporary.constData(), FileName::encode(m_path).constData()) != 0) {
        setErrno(error);
        return false;
    }
    m_done = true;
    return true;
}

std::optional<QString> OutputFile::commitUnique(QString* error)
{
    if (!finish(false, error))
        return std::nullopt;
    QString path = m_path;
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (::renameat2(AT_FDCWD, m_temporary.constData(), AT_FDCWD,
                        FileName::encode(path).constData(), RENAME_NOREPLACE) == 0) {
            m_done = true;
            return path;
        }
        if (errno == EINVAL || errno == ENOSYS) {
            // A file system without the no-replace rename: a hard link never replaces either.
            if (::link(m_temporary.constData(), FileName::encode(path).constData()) == 0) {
                ::unlink(m_temporary.constData());
                m_done = true;
                return path;
            }
        }
        if (errno != EEXIST) {
            setErrno(error);
            return std::nullopt;
        }
        path = Paths::uniquePath(path);
    }
    setErrno(error);
    return std::nullopt;
}

std::optional<QString> OutputFile::createUniqueFolder(const QString& path, QString* error)
{
    QString candidate = Paths::uniquePath(path);
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (::mkdir(FileName::encode(candidate).constData(), 0777) == 0)
            return candidate;
        if (errno != EEXIST)
            break;
        candidate = Paths::uniquePath(path);
    }
    setErrno(error);
    return std::nullopt;
}

} // namespace pallstone
