#include "ZipArchive.h"

#include "AtomicFile.h"
#include "FileName.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <zip.h>

#include <dirent.h>
#include <fcntl.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

namespace pallstone {

namespace {

// Files are streamed in pieces of this size, never read whole.
constexpr qsizetype kChunkSize = 16384;

// The "end of central directory" record of an archive without entries. libzip writes no file at
// all for such an archive, but a job that succeeds must leave one.
constexpr char kEmptyArchive[22] = {'P', 'K', 5, 6};

// Low byte of the external attributes: the MS-DOS directory flag, which tools on other systems
// read instead of the Unix mode.
constexpr zip_uint32_t kDosDirectory = 0x10;

QByteArray fsPath(const QString& path)
{
    return FileName::encode(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
}

// The path with its folder resolved (links included) and its last component kept as it is.
QByteArray withRealFolder(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return path;
    const QByteArray folder = slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
    char resolved[PATH_MAX];
    if (!::realpath(folder.constData(), resolved))
        return path;
    QByteArray result(resolved);
    if (!result.endsWith('/'))
        result.append('/');
    return result + path.mid(slash + 1);
}

QByteArray realPath(const QByteArray& path)
{
    char resolved[PATH_MAX];
    return ::realpath(path.constData(), resolved) ? QByteArray(resolved) : QByteArray();
}

// Entry names keep the file's bytes. A name that is UTF-8 is marked so; any other is stored raw,
// unmarked, which is how unzip and Python's zipfile give the same bytes back.
zip_flags_t nameEncoding(const QByteArray& entryName)
{
    return FileName::hasStrayBytes(FileName::decode(entryName)) ? ZIP_FL_ENC_RAW : ZIP_FL_ENC_UTF_8;
}

QByteArray lastComponent(const QByteArray& path)
{
    QByteArray trimmed = path;
    while (trimmed.size() > 1 && trimmed.endsWith('/'))
        trimmed.chop(1);
    return trimmed.mid(trimmed.lastIndexOf('/') + 1);
}

// The names inside a folder in byte order, so that archives of the same tree come out the same.
bool readNames(const QByteArray& folder, std::vector<QByteArray>* names)
{
    DIR* dir = ::opendir(folder.constData());
    if (!dir)
        return false;
    errno = 0;
    while (const dirent* entry = ::readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            names->emplace_back(entry->d_name);
        errno = 0;
    }
    const bool complete = errno == 0;
    ::closedir(dir);
    std::sort(names->begin(), names->end());
    return complete;
}

enum class ItemKind
{
    File,        // an entry with the file's contents
    EmptyFolder, // a directory entry
    Folder,      // counted, no entry: its descendants carry its name
    Skipped      // counted, no entry: the archive itself, links to folders, pipes, devices
};

struct Item
{
    ItemKind kind = ItemKind::Skipped;
    QByteArray path;      // where the contents are read (File)
    QByteArray entryName; // the name's bytes, without the "/" of a directory entry
    mode_t mode = 0;
    time_t mtime = 0;
};

// Lists the items of a job once: the count and the entries come from the same walk, so the total
// cannot disagree with what is written.
class Planner
{
public:
    Planner(const QByteArray& savePath, const std::atomic<bool>& cancel)
        : m_savePath(savePath), m_cancel(cancel)
    {}

    enum class Outcome
    {
        Done,
        Cancelled,
        Refused, // the archive would replace one of the selected items
        Failed   // a folder could not be read
    };

    Outcome plan(const QStringList& paths)
    {
        for (const QString& selected : paths) {
            if (m_cancel.load(std::memory_order_relaxed))
                return Outcome::Cancelled;
            const QByteArray path = fsPath(selected);
            if (withRealFolder(path) == m_savePath || realPath(path) == m_savePath)
                return Outcome::Refused;
            struct stat st = {};
            // A selected link counts as what it points to: the person chose that item.
            if (::stat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode)) {
                const QByteArray folder = realPath(path);
                std::vector<QByteArray> names;
                if (folder.isEmpty() || !readNames(folder, &names))
                    return Outcome::Failed;
                const Outcome outcome = walk(folder, lastComponent(path), std::move(names));
                if (outcome != Outcome::Done)
                    return outcome;
                continue;
            }
            // A path that does not exist counts as a file: the job fails when it reads it.
            Item item{ItemKind::File, path, lastComponent(path),
                      static_cast<mode_t>(S_IFREG | 0644), 0};
            if (::stat(path.constData(), &st) == 0) {
                if (!S_ISREG(st.st_mode))
                    item.kind = ItemKind::Skipped;
                item.mode = S_IFREG | (st.st_mode & 0777);
                item.mtime = st.st_mtime;
            }
            m_items.push_back(std::move(item));
        }
        return Outcome::Done;
    }

    std::vector<Item>& items() { return m_items; }

private:
    // folder is a real path (no links in it), so each child's path is one as well and can be
    // compared with the save path as it is.
    Outcome walk(const QByteArray& folder, const QByteArray& prefix, std::vector<QByteArray> names)
    {
        for (const QByteArray& name : names) {
            if (m_cancel.load(std::memory_order_relaxed))
                return Outcome::Cancelled;
            const QByteArray path = folder + '/' + name;
            Item item{ItemKind::Skipped, path, prefix + '/' + name, 0, 0};
            struct stat st = {};
            if (path == m_savePath || ::lstat(path.constData(), &st) != 0) {
                // The archive itself, or an item gone since the folder was read.
                m_items.push_back(std::move(item));
                continue;
            }
            if (S_ISLNK(st.st_mode)) {
                // Links are never walked into; a link to a file stands for its contents.
                struct stat target = {};
                if (::stat(path.constData(), &target) == 0 && S_ISREG(target.st_mode)) {
                    item.kind = ItemKind::File;
                    item.mode = S_IFREG | (target.st_mode & 0777);
                    item.mtime = target.st_mtime;
                }
                m_items.push_back(std::move(item));
                continue;
            }
            item.mtime = st.st_mtime;
            if (S_ISREG(st.st_mode)) {
                item.kind = ItemKind::File;
                item.mode = S_IFREG | (st.st_mode & 0777);
                m_items.push_back(std::move(item));
                continue;
            }
            if (!S_ISDIR(st.st_mode)) {
                m_items.push_back(std::move(item));
                continue;
            }
            std::vector<QByteArray> children;
            if (!readNames(path, &children))
                return Outcome::Failed;
            item.mode = S_IFDIR | (st.st_mode & 0777);
            item.kind = children.empty() ? ItemKind::EmptyFolder : ItemKind::Folder;
            const QByteArray childPrefix = item.entryName;
            m_items.push_back(std::move(item));
            if (!children.empty()) {
                const Outcome outcome = walk(path, childPrefix, std::move(children));
                if (outcome != Outcome::Done)
                    return outcome;
            }
        }
        return Outcome::Done;
    }

    QByteArray m_savePath;
    const std::atomic<bool>& m_cancel;
    std::vector<Item> m_items;
};

// What the libzip callbacks of one job share. libzip compresses everything inside zip_close(),
// entry by entry in the order they were added; each file entry's data source tells when its item
// starts and ends, which gives exact item progress.
struct Job
{
    const std::atomic<bool>& cancel;
    const ZipArchive::ProgressHandler& handler;
    qint64 total = 0;
    qint64 reported = 0;

    // Reports every item up to n that was not reported yet, one call each.
    void reportUpTo(qint64 n)
    {
        while (reported < n) {
            ++reported;
            if (handler)
                handler(reported, total);
        }
    }
};

int cancelCallback(zip_t*, void* state)
{
    return static_cast<Job*>(state)->cancel.load(std::memory_order_relaxed) ? 1 : 0;
}

// A file entry's data, read from disk when libzip asks for it.
struct FileSource
{
    Job* job = nullptr;
    qint64 itemIndex = 0;
    QByteArray path;
    int fd = -1;
    bool atEnd = false; // all data was read: the item is written once the source closes
    zip_error_t error{};

    zip_int64_t fail(int zipError, int systemError)
    {
        zip_error_set(&error, zipError, systemError);
        return -1;
    }
};

zip_int64_t fileSourceCallback(void* state, void* data, zip_uint64_t length,
                               zip_source_cmd_t command)
{
    auto* source = static_cast<FileSource*>(state);
    switch (command) {
    case ZIP_SOURCE_OPEN: {
        // Everything before this item is written.
        source->job->reportUpTo(source->itemIndex);
        // Non-blocking so that a pipe put in the file's place cannot hang the job.
        source->fd = ::open(source->path.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
        if (source->fd < 0)
            return source->fail(ZIP_ER_OPEN, errno);
        struct stat st = {};
        if (::fstat(source->fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            ::close(source->fd);
            source->fd = -1;
            return source->fail(ZIP_ER_OPEN, EINVAL);
        }
        return 0;
    }
    case ZIP_SOURCE_READ: {
        const size_t wanted = static_cast<size_t>(std::min<zip_uint64_t>(length, SSIZE_MAX));
        ssize_t got;
        do {
            got = ::read(source->fd, data, wanted);
        } while (got < 0 && errno == EINTR);
        if (got < 0)
            return source->fail(ZIP_ER_READ, errno);
        source->atEnd = got == 0;
        return got;
    }
    case ZIP_SOURCE_CLOSE:
        if (source->fd >= 0)
            ::close(source->fd);
        source->fd = -1;
        // libzip also closes a source when it gives up on the entry; that item is not done.
        if (source->atEnd)
            source->job->reportUpTo(source->itemIndex + 1);
        return 0;
    case ZIP_SOURCE_STAT: {
        if (length < sizeof(zip_stat_t))
            return source->fail(ZIP_ER_INVAL, 0);
        struct stat st = {};
        const int result =
            source->fd >= 0 ? ::fstat(source->fd, &st) : ::stat(source->path.constData(), &st);
        if (result != 0)
            return source->fail(ZIP_ER_READ, errno);
        if (!S_ISREG(st.st_mode))
            return source->fail(ZIP_ER_READ, EINVAL);
        auto* zipStat = static_cast<zip_stat_t*>(data);
        zip_stat_init(zipStat);
        // The size lets libzip decide on ZIP64 before it writes the entry's header.
        zipStat->size = static_cast<zip_uint64_t>(st.st_size);
        zipStat->mtime = st.st_mtime;
        zipStat->valid |= ZIP_STAT_SIZE | ZIP_STAT_MTIME;
        return sizeof(zip_stat_t);
    }
    case ZIP_SOURCE_ERROR:
        return zip_error_to_data(&source->error, data, length);
    case ZIP_SOURCE_FREE:
        if (source->fd >= 0)
            ::close(source->fd);
        zip_error_fini(&source->error);
        delete source;
        return 0;
    case ZIP_SOURCE_SUPPORTS:
        return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE,
                                              ZIP_SOURCE_STAT, ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE,
                                              -1);
    default:
        return source->fail(ZIP_ER_OPNOTSUPP, 0);
    }
}

// Adds one entry; false when libzip refuses it (a name given twice, no AES support, memory).
bool addEntry(zip_t* archive, Job& job, qint64 index, const Item& item, const QByteArray& password)
{
    zip_int64_t entry = -1;
    zip_uint32_t attributes = static_cast<zip_uint32_t>(item.mode) << 16;
    if (item.kind == ItemKind::EmptyFolder) {
        // Stored, no data, never encrypted.
        entry = zip_dir_add(archive, item.entryName.constData(), nameEncoding(item.entryName));
        attributes |= kDosDirectory;
    } else {
        auto* state = new FileSource;
        state->job = &job;
        state->itemIndex = index;
        state->path = item.path;
        zip_error_init(&state->error);
        zip_source_t* source = zip_source_function(archive, fileSourceCallback, state);
        if (!source) {
            zip_error_fini(&state->error);
            delete state;
            return false;
        }
        entry =
            zip_file_add(archive, item.entryName.constData(), source, nameEncoding(item.entryName));
        if (entry < 0) {
            zip_source_free(source);
            return false;
        }
        const auto index64 = static_cast<zip_uint64_t>(entry);
        if (zip_set_file_compression(archive, index64, ZIP_CM_DEFLATE, 0) != 0)
            return false;
        if (!password.isEmpty() &&
            zip_file_set_encryption(archive, index64, ZIP_EM_AES_256, password.constData()) != 0)
            return false;
    }
    if (entry < 0)
        return false;
    const auto index64 = static_cast<zip_uint64_t>(entry);
    return zip_file_set_mtime(archive, index64, item.mtime, 0) == 0 &&
           zip_file_set_external_attributes(archive, index64, 0, ZIP_OPSYS_UNIX, attributes) == 0;
}

// libzip sets up a fresh deflate state (about 270 KB) for every entry. With glibc's adaptive
// thresholds the heap then grows and is trimmed again for each file, and the page faults of that
// cost a fifth of the job's CPU time on a tree of small files. Keeping those blocks on the heap,
// and up to 8 MB of it unreturned, removes that cost for the whole process.
void keepDeflateStatesOnTheHeap()
{
#if defined(__GLIBC__)
    static std::once_flag once;
    std::call_once(once, [] {
        mallopt(M_MMAP_THRESHOLD, 1 << 20);
        mallopt(M_TRIM_THRESHOLD, 8 << 20);
    });
#endif
}

bool writeEmptyArchive(const QString& path)
{
    // Written beside the destination and renamed over it, as libzip does for real archives.
    return AtomicFile::write(path, QByteArray(kEmptyArchive, sizeof kEmptyArchive)).isEmpty();
}

// --- reading ---

struct ArchiveCloser
{
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
using Archive = std::unique_ptr<zip_t, ArchiveCloser>;

struct EntryCloser
{
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};
using EntryFile = std::unique_ptr<zip_file_t, EntryCloser>;

Archive openForReading(const QString& path, QString* error)
{
    int code = 0;
    zip_t* archive = zip_open(FileName::encode(path).constData(), ZIP_RDONLY, &code);
    if (!archive && error) {
        zip_error_t zipError;
        zip_error_init_with_code(&zipError, code);
        *error = QString::fromUtf8(zip_error_strerror(&zipError));
        zip_error_fini(&zipError);
    }
    return Archive(archive);
}

QString archiveError(zip_t* archive)
{
    return QString::fromUtf8(zip_strerror(archive));
}

// The components of a stored name that stay below the destination: "/" and "\" both separate,
// empty and "." components go, ".." takes back the component before it and is dropped at the top.
QList<QByteArray> safeComponents(QByteArray name)
{
    name.replace('\\', '/');
    QList<QByteArray> components;
    for (const QByteArray& part : name.split('/')) {
        if (part.isEmpty() || part == ".")
            continue;
        if (part == "..") {
            if (!components.isEmpty())
                components.removeLast();
            continue;
        }
        components.append(part);
    }
    return components;
}

struct FdCloser
{
    int fd = -1;
    explicit FdCloser(int descriptor) : fd(descriptor) {}
    FdCloser(const FdCloser&) = delete;
    FdCloser& operator=(const FdCloser&) = delete;
    ~FdCloser()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

// Opens (making them as needed) the folders below base, one component at a time and never through
// a link: a link inside the destination cannot redirect what is written. -1 on failure.
int openFolders(int base, const QList<QByteArray>& components, qsizetype count)
{
    int fd = ::fcntl(base, F_DUPFD_CLOEXEC, 0);
    for (qsizetype i = 0; i < count && fd >= 0; ++i) {
        const char* name = components.at(i).constData();
        if (::mkdirat(fd, name, 0777) != 0 && errno != EEXIST) {
            ::close(fd);
            return -1;
        }
        const int next = ::openat(fd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        ::close(fd);
        fd = next;
    }
    return fd;
}

struct FolderAttributes
{
    QList<QByteArray> components;
    mode_t permissions = 0;
    bool hasPermissions = false;
    time_t mtime = 0;
};

// A new hidden name in the folder for the file being extracted, so that a failure never leaves a
// truncated file under the entry's own name. -1 on failure.
int createTemporary(int folder, const QByteArray& base, QByteArray* name)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        *name = '.' + base.left(200) + ".part-" +
                QByteArray::number(QRandomGenerator::global()->generate(), 36);
        const int fd = ::openat(folder, name->constData(),
                                O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

bool writeAll(int fd, const char* data, qsizetype size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, static_cast<size_t>(size));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

// An extracted item keeps its stored time and permissions where the file system allows; the data
// is there all the same.
void setTimes(int fd, time_t mtime)
{
    const timespec times[2] = {{mtime, 0}, {mtime, 0}};
    if (::futimens(fd, times) != 0)
        qWarning("pallstone: cannot set the time of an extracted item: %s", std::strerror(errno));
}

void setPermissions(int fd, mode_t mode)
{
    if (::fchmod(fd, mode) != 0)
        qWarning("pallstone: cannot set the permissions of an extracted item: %s",
                 std::strerror(errno));
}

} // namespace

bool ZipArchive::startCompressWithPaths(const QStringList& paths, const QString& password,
                                        const ProgressHandler& progressHandler)
{
    if (progressHandler)
        progressHandler(0, 0);
    Job job{m_isCancel, progressHandler};
    // Nothing of a failed or cancelled job stays at the save path: libzip and QSaveFile both
    // write beside it and rename only once the archive is complete, so an item that was there
    // before (one the person agreed to replace) is untouched, and nothing else is deleted.
    const auto stopped = [&]() {
        if (progressHandler)
            progressHandler(job.reported, isCancel() ? -2 : -1);
        return false;
    };
    if (m_savePath.isEmpty())
        return stopped();

    const QByteArray savePath = withRealFolder(fsPath(m_savePath));
    Planner planner(savePath, m_isCancel);
    if (planner.plan(paths) != Planner::Outcome::Done)
        return stopped();
    const std::vector<Item>& items = planner.items();
    job.total = static_cast<qint64>(items.size());

    const bool hasEntries = std::any_of(items.begin(), items.end(), [](const Item& item) {
        return item.kind == ItemKind::File || item.kind == ItemKind::EmptyFolder;
    });
    if (!hasEntries) {
        if (isCancel() || !writeEmptyArchive(m_savePath))
            return stopped();
        job.reportUpTo(job.total);
        return true;
    }

    keepDeflateStatesOnTheHeap();
    int code = 0;
    Archive archive(zip_open(savePath.constData(), ZIP_CREATE | ZIP_TRUNCATE, &code));
    if (!archive)
        return stopped();
    zip_register_cancel_callback_with_state(archive.get(), cancelCallback, nullptr, &job);
    const QByteArray secret = password.toUtf8();
    for (qsizetype i = 0; i < qsizetype(items.size()); ++i) {
        const Item& item = items[size_t(i)];
        if (isCancel())
            return stopped();
        if ((item.kind == ItemKind::File || item.kind == ItemKind::EmptyFolder) &&
            !addEntry(archive.get(), job, i, item, secret))
            return stopped();
    }
    if (isCancel() || zip_close(archive.get()) != 0)
        return stopped(); // the archive's destructor discards what libzip still holds
    archive.release();
    // Folders and skipped items after the last file entry.
    job.reportUpTo(job.total);
    return true;
}

bool ZipArchive::isPasswordValidForArchiveAtPath(const QString& path, const QString& password,
                                                 QString* error)
{
    const Archive archive = openForReading(path, error);
    if (!archive)
        return false;
    const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t st;
        if (zip_stat_index(archive.get(), zip_uint64_t(i), 0, &st) != 0 ||
            !(st.valid & ZIP_STAT_ENCRYPTION_METHOD) || st.encryption_method == ZIP_EM_NONE)
            continue;
        const QByteArray secret = password.toUtf8();
        const EntryFile entry(
            zip_fopen_index_encrypted(archive.get(), zip_uint64_t(i), 0, secret.constData()));
        char head[10];
        if (!entry || zip_fread(entry.get(), head, sizeof head) < 0) {
            if (error)
                *error = archiveError(archive.get());
            return false;
        }
        return true;
    }
    return true;
}

QStringList ZipArchive::entryNames(const QString& path, bool* opened)
{
    QStringList names;
    const Archive archive = openForReading(path, nullptr);
    if (opened)
        *opened = archive != nullptr;
    if (!archive)
        return names;
    const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        if (const char* name = zip_get_name(archive.get(), zip_uint64_t(i), ZIP_FL_ENC_GUESS))
            names.append(QString::fromUtf8(name));
    }
    return names;
}

bool ZipArchive::unzipFileAtPath(const QString& path, const QString& destination, bool overwrite,
                                 const QString& password, const EntryHandler& progressHandler,
                                 const CompletionHandler& completionHandler)
{
    QString error;
    const auto finish = [&](bool succeeded) {
        if (completionHandler)
            completionHandler(path, succeeded, error);
        return succeeded;
    };
    const Archive archive = openForReading(path, &error);
    if (!archive)
        return finish(false);
    const QByteArray secret = password.toUtf8();
    if (!secret.isEmpty())
        zip_set_default_password(archive.get(), secret.constData());
    if (!QDir().mkpath(destination)) {
        error = QStringLiteral("cannot create %1").arg(destination);
        return finish(false);
    }
    const FdCloser root(
        ::open(FileName::encode(destination).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (root.fd < 0) {
        error = QStringLiteral("cannot open %1").arg(destination);
        return finish(false);
    }

    const zip_int64_t total = zip_get_num_entries(archive.get(), 0);
    std::vector<FolderAttributes> folders;
    QByteArray buffer(kChunkSize, Qt::Uninitialized);
    for (zip_int64_t i = 0; i < total; ++i) {
        const auto index = zip_uint64_t(i);
        const char* rawName = zip_get_name(archive.get(), index, ZIP_FL_ENC_GUESS);
        if (!rawName) {
            error = archiveError(archive.get());
            return finish(false);
        }
        const QByteArray name(rawName);
        const QString entryName = QString::fromUtf8(name);
        const auto handled = [&]() {
            if (progressHandler)
                progressHandler(entryName, i + 1, total);
        };
        QByteArray slashed = name;
        slashed.replace('\\', '/');
        const QList<QByteArray> components = safeComponents(name);
        if (slashed.startsWith("__MACOSX/") || components.isEmpty()) {
            handled();
            continue;
        }

        zip_uint8_t system = 0;
        zip_uint32_t attributes = 0;
        zip_file_get_external_attributes(archive.get(), index, 0, &system, &attributes);
        const mode_t mode = attributes >> 16;
        const bool hasMode = (system == ZIP_OPSYS_UNIX || system == ZIP_OPSYS_OS_X) && mode != 0;
        const mode_t type = mode & S_IFMT;
        // Only plain files and folders: a link entry could aim later entries anywhere.
        if (type != 0 && type != S_IFREG && type != S_IFDIR) {
            handled();
            continue;
        }
        zip_stat_t st;
        zip_stat_init(&st);
        zip_stat_index(archive.get(), index, 0, &st);
        const time_t mtime = (st.valid & ZIP_STAT_MTIME) ? st.mtime : time(nullptr);

        if (slashed.endsWith('/') || type == S_IFDIR) {
            const FdCloser folder(openFolders(root.fd, components, components.size()));
            if (folder.fd < 0) {
                error = QStringLiteral("cannot create the folder %1").arg(entryName);
                return finish(false);
            }
            // Applied at the end: files written into it later would change its time, and a
            // read-only folder would refuse them.
            folders.push_back({components, mode & 0777, hasMode, mtime});
            handled();
            continue;
        }

        const FdCloser folder(openFolders(root.fd, components, components.size() - 1));
        if (folder.fd < 0) {
            error = QStringLiteral("cannot create the folder of %1").arg(entryName);
            return finish(false);
        }
        const QByteArray& fileName = components.last();
        struct stat existing = {};
        if (!overwrite &&
            ::fstatat(folder.fd, fileName.constData(), &existing, AT_SYMLINK_NOFOLLOW) == 0) {
            handled();
            continue;
        }
        const EntryFile entry(zip_fopen_index(archive.get(), index, 0));
        if (!entry) {
            error = archiveError(archive.get());
            return finish(false);
        }
        QByteArray temporary;
        const FdCloser out(createTemporary(folder.fd, fileName, &temporary));
        if (out.fd < 0) {
            error = QStringLiteral("cannot write %1").arg(entryName);
            return finish(false);
        }
        bool written = true;
        if (hasMode)
            setPermissions(out.fd, mode & 0777);
        for (;;) {
            const zip_int64_t got = zip_fread(entry.get(), buffer.data(), kChunkSize);
            if (got < 0) {
                error = QString::fromUtf8(zip_file_strerror(entry.get()));
                written = false;
                break;
            }
            if (got == 0)
                break;
            if (!writeAll(out.fd, buffer.constData(), got)) {
                error = QStringLiteral("cannot write %1").arg(entryName);
                written = false;
                break;
            }
        }
        if (written) {
            setTimes(out.fd, mtime);
            // The rename replaces a file or a link of that name; it never writes through one.
            written =
                ::renameat(folder.fd, temporary.constData(), folder.fd, fileName.constData()) == 0;
            if (!written)
                error = QStringLiteral("cannot replace %1").arg(entryName);
        }
        if (!written) {
            ::unlinkat(folder.fd, temporary.constData(), 0);
            return finish(false);
        }
        handled();
    }

    // Deepest first, so a folder's own time is set after its subfolders' were.
    std::sort(folders.begin(), folders.end(), [](const auto& a, const auto& b) {
        return a.components.size() > b.components.size();
    });
    for (const FolderAttributes& attributes : folders) {
        const FdCloser folder(
            openFolders(root.fd, attributes.components, attributes.components.size()));
        if (folder.fd < 0)
            continue;
        setTimes(folder.fd, attributes.mtime);
        if (attributes.hasPermissions)
            setPermissions(folder.fd, attributes.permissions);
    }
    return finish(true);
}

} // namespace pallstone
