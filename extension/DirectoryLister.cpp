#include "DirectoryLister.h"

#include "FileName.h"

#include <QFile>

#include <cstddef>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {
// The head of a record getdents64 fills (glibc declares no type for it); the name follows the
// type byte.
struct DirentHead
{
    ino64_t d_ino;
    off64_t d_off;
    unsigned short d_reclen;
    unsigned char d_type;
};
constexpr std::size_t kNameOffset = offsetof(DirentHead, d_type) + 1;
} // namespace

namespace pallstone {

namespace {
std::function<void(const QString&)>& listingHook()
{
    static std::function<void(const QString&)> hook;
    return hook;
}
} // namespace

void DirectoryLister::setListingHook(std::function<void(const QString&)> hook)
{
    listingHook() = std::move(hook);
}

bool DirectoryLister::list(const QString& folder, const std::function<bool(const Entry&)>& visit)
{
    if (const auto& hook = listingHook())
        hook(folder);
    const QByteArray native = FileName::encode(folder);
    const int fd = ::open(native.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const QString prefix = folder.endsWith(u'/') ? folder : folder + u'/';
    // Small reads: the kernel fills whatever buffer it is given, and a menu needs a few entries
    // of a folder that may hold a hundred thousand.
    alignas(8) char buffer[4096];
    bool more = true;
    while (more) {
        const long n = ::syscall(SYS_getdents64, fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        for (long offset = 0; offset < n && more;) {
            const auto* e = reinterpret_cast<const DirentHead*>(buffer + offset);
            const char* entryName = buffer + offset + kNameOffset;
            offset += e->d_reclen;
            if (entryName[0] == '.')
                continue;
            const QByteArray raw(entryName);
            const QString name = FileName::decode(raw);
            Entry entry;
            entry.name = name;
            entry.path = prefix + name;
            if (e->d_type == DT_DIR) {
                entry.isFolder = true;
            } else if (e->d_type == DT_UNKNOWN) {
                struct stat st
                {};
                entry.isFolder =
                    ::fstatat(fd, entryName, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
            }
            more = visit(entry);
        }
    }
    ::close(fd);
    return true;
}

qint64 DirectoryLister::subfolderCount(const QString& folder)
{
    struct stat st
    {};
    if (::stat(FileName::encode(folder).constData(), &st) != 0 || !S_ISDIR(st.st_mode))
        return -1;
    // Classic Unix file systems count "." and each subfolder's ".." as links; some (btrfs) keep
    // a directory's count at 1, which tells nothing.
    if (st.st_nlink < 2)
        return -1;
    return static_cast<qint64>(st.st_nlink) - 2;
}

} // namespace pallstone
