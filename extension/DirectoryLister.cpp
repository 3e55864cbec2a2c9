#include "DirectoryLister.h"

#include <QFile>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <memory>

namespace pallstone {

bool DirectoryLister::list(const QString& folder, const std::function<bool(const Entry&)>& visit)
{
    const QByteArray native = QFile::encodeName(folder);
    const int fd = ::open(native.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::fdopendir(fd), &::closedir);
    if (!dir) {
        ::close(fd);
        return false;
    }
    const QString prefix = folder.endsWith(u'/') ? folder : folder + u'/';
    while (const dirent* e = ::readdir(dir.get())) {
        if (e->d_name[0] == '.')
            continue;
        const QByteArray raw(e->d_name);
        const QString name = QFile::decodeName(raw);
        if (QFile::encodeName(name) != raw)
            continue;
        Entry entry;
        entry.name = name;
        entry.path = prefix + name;
        if (e->d_type == DT_DIR) {
            entry.isFolder = true;
        } else if (e->d_type == DT_UNKNOWN) {
            struct stat st
            {};
            entry.isFolder =
                ::fstatat(::dirfd(dir.get()), e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
                S_ISDIR(st.st_mode);
        }
        if (!visit(entry))
            break;
    }
    return true;
}

qint64 DirectoryLister::subfolderCount(const QString& folder)
{
    struct stat st
    {};
    if (::stat(QFile::encodeName(folder).constData(), &st) != 0 || !S_ISDIR(st.st_mode))
        return -1;
    // Classic Unix file systems count "." and each subfolder's ".." as links; some (btrfs) keep
    // a directory's count at 1, which tells nothing.
    if (st.st_nlink < 2)
        return -1;
    return static_cast<qint64>(st.st_nlink) - 2;
}

} // namespace pallstone
