#include "ZipArchive.h"

#include "FileName.h"
#include "WinZipAes.h"
#include "ZipWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <zip.h>
#include <zlib.h>

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
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace pallstone {

namespace {

// Extracted files are streamed in pieces of this size, never read whole.
constexpr qsizetype kChunkSize = 16384;

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
bool nameIsUtf8(const QByteArray& entryName)
{
    return !FileName::hasStrayBytes(FileName::decode(entryName));
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
    qint64 size = 0; // as listed (File)
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
                item.size = st.st_size;
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
                    item.size = target.st_size;
                }
                m_items.push_back(std::move(item));
                continue;
            }
            item.mtime = st.st_mtime;
            if (S_ISREG(st.st_mode)) {
                item.kind = ItemKind::File;
                item.mode = S_IFREG | (st.st_mode & 0777);
                item.size = st.st_size;
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

// Files are compressed in blocks of this size, each on whichever core is free. The blocks of one
// file are deflated on their own and joined at sync points, so a large file uses every core too.
constexpr qint64 kBlockSize = 1 << 20;
// Blocks of at least this size are first tried on a sample: data that does not shrink (photos,
// videos, archives) is stored in its deflate stream instead of searched for matches in vain.
constexpr qint64 kProbeFrom = 128 << 10;
constexpr uInt kProbeSize = 32 << 10;
// Deflate can grow data that does not shrink a little, so a file this large may pass 4 GiB once
// compressed: its local header gets room for 64-bit sizes.
constexpr qint64 kLargeFile = 0xff000000;
constexpr int kLevel = 6;

struct Block
{
    qint64 item = 0;   // index in the plan
    qint64 offset = 0; // where it starts in the file
    bool first = false;
    bool last = false; // the last one the file's size asked for
};

struct Compressed
{
    bool ready = false;
    bool failed = false;
    bool final = false; // the entry's deflate stream ends here
    QByteArray data;
    quint32 crc = 0;
    qint64 size = 0; // bytes read from the file
    dev_t device = 0;
    ino_t inode = 0;
    std::unique_ptr<WinZipAes> aes; // first block of an encrypted entry
    bool sealed = false;            // data is the whole encrypted entry: header, bytes and code
};

// One worker's deflate state and buffers, kept from block to block.
class BlockCompressor
{
public:
    BlockCompressor()
    {
        m_ready = deflateInit2(&m_stream, kLevel, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) ==
                      Z_OK &&
                  deflateInit2(&m_probe, 1, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) == Z_OK;
        m_input.resize(kBlockSize);
    }
    ~BlockCompressor()
    {
        deflateEnd(&m_stream);
        deflateEnd(&m_probe);
    }
    BlockCompressor(const BlockCompressor&) = delete;
    BlockCompressor& operator=(const BlockCompressor&) = delete;

    Compressed run(const Item& item, const Block& block, const QByteArray& password)
    {
        Compressed out;
        out.ready = true;
        out.failed = !m_ready || !read(item, block, &out) || !deflateBlock(&out) ||
                     (block.first && !password.isEmpty() && !encrypt(password, &out));
        return out;
    }

private:
    bool read(const Item& item, const Block& block, Compressed* out)
    {
        // Non-blocking so that a pipe put in the file's place cannot hang the job.
        const int fd = ::open(item.path.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
        if (fd < 0)
            return false;
        struct stat st = {};
        bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
        qint64 got = 0;
        while (ok && got < kBlockSize) {
            const ssize_t n = ::pread(fd, m_input.data() + got, size_t(kBlockSize - got),
                                      off_t(block.offset + got));
            if (n < 0 && errno == EINTR)
                continue;
            ok = n >= 0;
            if (n <= 0)
                break;
            got += n;
        }
        ::close(fd);
        out->size = got;
        out->device = st.st_dev;
        out->inode = st.st_ino;
        // A file that grew since it was listed is taken as long as it was then; one that shrank
        // ends where it ends now.
        out->final = block.last || got < kBlockSize || block.offset + got >= st.st_size;
        out->crc =
            quint32(crc32(0, reinterpret_cast<const Bytef*>(m_input.constData()), uInt(got)));
        return ok;
    }

    bool looksIncompressible(qint64 size)
    {
        if (size < kProbeFrom)
            return false;
        unsigned char sample[kProbeSize + 1024];
        deflateReset(&m_probe);
        m_probe.next_in = reinterpret_cast<Bytef*>(m_input.data());
        m_probe.avail_in = kProbeSize;
        m_probe.next_out = sample;
        m_probe.avail_out = sizeof sample;
        if (deflate(&m_probe, Z_FINISH) != Z_STREAM_END)
            return true;
        return m_probe.total_out >= kProbeSize - kProbeSize / 50;
    }

    bool deflateBlock(Compressed* out)
    {
        deflateReset(&m_stream);
        const int level = looksIncompressible(out->size) ? 0 : kLevel;
        if (level != m_level) {
            // Nothing is pending after a reset, so this only switches the level.
            if (deflateParams(&m_stream, level, Z_DEFAULT_STRATEGY) != Z_OK)
                return false;
            m_level = level;
        }
        const int flush = out->final ? Z_FINISH : Z_SYNC_FLUSH;
        const auto bound = qsizetype(deflateBound(&m_stream, uLong(out->size))) + 64;
        if (m_output.size() < bound)
            m_output.resize(bound);
        m_stream.next_in = reinterpret_cast<Bytef*>(m_input.data());
        m_stream.avail_in = uInt(out->size);
        qsizetype produced = 0;
        for (;;) {
            if (m_output.size() - produced < 1024)
                m_output.resize(m_output.size() * 2);
            m_stream.next_out = reinterpret_cast<Bytef*>(m_output.data() + produced);
            m_stream.avail_out = uInt(m_output.size() - produced);
            const int result = deflate(&m_stream, flush);
            produced = m_output.size() - qsizetype(m_stream.avail_out);
            if (result == Z_STREAM_END ||
                (flush == Z_SYNC_FLUSH && m_stream.avail_in == 0 && m_stream.avail_out > 0))
                break;
            if (result != Z_OK && result != Z_BUF_ERROR)
                return false;
        }
        out->data = QByteArray(m_output.constData(), produced);
        return true;
    }

    bool encrypt(const QByteArray& password, Compressed* out)
    {
        // The key derivation is the costly part of encryption; here it runs on every core.
        out->aes = std::make_unique<WinZipAes>();
        if (!out->aes->start(password))
            return false;
        if (!out->final)
            return true; // the job encrypts the rest of the entry in order
        if (!out->aes->encrypt(out->data.data(), out->data.size()))
            return false;
        const QByteArray code = out->aes->authenticationCode();
        out->data = out->aes->header() + out->data + code;
        out->sealed = true;
        return !code.isEmpty();
    }

    bool m_ready = false;
    z_stream m_stream{};
    z_stream m_probe{};
    int m_level = kLevel;
    QByteArray m_input;
    QByteArray m_output;
};

// Compresses the blocks of a job on every core, a bounded stretch ahead of the one who writes
// them, and hands them over in order.
class Compressors
{
public:
    Compressors(const std::vector<Item>& items, const std::vector<Block>& blocks,
                const QByteArray& password, const std::atomic<bool>& cancel)
        : m_items(items), m_blocks(blocks), m_password(password), m_cancel(cancel),
          m_results(blocks.size())
    {
        const size_t cores = std::max(1u, std::thread::hardware_concurrency());
        // Each block in flight holds up to a block's size twice (read and compressed).
        m_window = std::max<size_t>(8, 4 * cores);
        const size_t count = std::min(cores, std::max<size_t>(1, blocks.size()));
        for (size_t i = 0; i < count; ++i)
            m_threads.emplace_back([this] { work(); });
    }
    ~Compressors()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_stopping = true;
        }
        m_taken.notify_all();
        for (std::thread& thread : m_threads)
            thread.join();
    }
    Compressors(const Compressors&) = delete;
    Compressors& operator=(const Compressors&) = delete;

    // The block's result, once compressed; nullopt when the job is cancelled meanwhile.
    std::optional<Compressed> take(size_t index)
    {
        std::unique_lock lock(m_mutex);
        while (!m_results[index].ready) {
            if (m_cancel.load(std::memory_order_relaxed))
                return std::nullopt;
            // A cancel is only a flag: look at it again now and then.
            m_done.wait_for(lock, std::chrono::milliseconds(50));
        }
        Compressed result = std::move(m_results[index]);
        m_results[index] = Compressed{};
        m_consumed = index + 1;
        lock.unlock();
        m_taken.notify_all();
        return result;
    }

private:
    void work()
    {
        BlockCompressor compressor;
        for (;;) {
            size_t index = 0;
            {
                std::unique_lock lock(m_mutex);
                m_taken.wait(lock, [this] {
                    return m_stopping || m_next >= m_blocks.size() ||
                           m_next < m_consumed + m_window;
                });
                if (m_stopping || m_next >= m_blocks.size())
                    return;
                index = m_next++;
            }
            if (m_cancel.load(std::memory_order_relaxed))
                return;
            const Block& block = m_blocks[index];
            Compressed result = compressor.run(m_items[size_t(block.item)], block, m_password);
            {
                const std::lock_guard lock(m_mutex);
                m_results[index] = std::move(result);
            }
            m_done.notify_all();
        }
    }

    const std::vector<Item>& m_items;
    const std::vector<Block>& m_blocks;
    const QByteArray m_password;
    const std::atomic<bool>& m_cancel;
    std::mutex m_mutex;
    std::condition_variable m_taken; // a result was taken: workers may go further ahead
    std::condition_variable m_done;  // a result is ready
    std::vector<Compressed> m_results;
    size_t m_next = 0;
    size_t m_consumed = 0;
    size_t m_window = 8;
    bool m_stopping = false;
    std::vector<std::thread> m_threads;
};

// A job's blocks pass through every worker thread's heap; glibc keeps what they freed, in each
// thread's arena, for the life of the process. The service runs for the whole session, so the
// memory goes back once the job is over.
struct HeapTrim
{
    HeapTrim() = default;
    HeapTrim(const HeapTrim&) = delete;
    HeapTrim& operator=(const HeapTrim&) = delete;
    ~HeapTrim()
    {
#if defined(__GLIBC__)
        malloc_trim(0);
#endif
    }
};

// Writes one file's entry from its compressed blocks; false when a block failed, the job was
// cancelled, or the file is no longer the one that was read.
bool writeFileEntry(ZipWriter& writer, Compressors& compressors, const Item& item,
                    size_t* nextBlock, size_t blockCount, bool encrypted)
{
    ZipWriter::Entry entry{
        item.entryName,         item.mode, item.mtime, nameIsUtf8(item.entryName), true, encrypted,
        item.size >= kLargeFile};
    if (!writer.beginEntry(entry))
        return false;
    quint32 crc = 0;
    quint64 size = 0;
    quint64 compressedSize = 0;
    std::unique_ptr<WinZipAes> aes;
    bool ended = false;
    dev_t device = 0;
    ino_t inode = 0;
    for (size_t end = *nextBlock + blockCount; *nextBlock < end; ++*nextBlock) {
        std::optional<Compressed> block = compressors.take(*nextBlock);
        if (!block || block->failed)
            return false;
        if (ended)
            continue; // the file shrank: blocks after its end hold nothing
        if (*nextBlock + blockCount == end) {
            device = block->device;
            inode = block->inode;
        }
        if (block->aes) {
            aes = std::move(block->aes);
            if (!block->sealed) {
                const QByteArray header = aes->header();
                if (!writer.write(header.constData(), header.size()))
                    return false;
                compressedSize += quint64(header.size());
            }
        }
        if (aes && !block->sealed && !aes->encrypt(block->data.data(), block->data.size()))
            return false;
        if (!writer.write(block->data.constData(), block->data.size()))
            return false;
        compressedSize += quint64(block->data.size());
        crc = quint32(crc32_combine(crc, block->crc, block->size));
        size += quint64(block->size);
        ended = block->final;
        if (block->sealed)
            aes.reset();
    }
    if (aes) {
        const QByteArray code = aes->authenticationCode();
        if (code.isEmpty() || !writer.write(code.constData(), code.size()))
            return false;
        compressedSize += quint64(code.size());
    }
    // The data was read ahead of its turn; a file deleted or replaced since must fail the job
    // as it would have when read in turn.
    struct stat st = {};
    if (::stat(item.path.constData(), &st) != 0 || st.st_dev != device || st.st_ino != inode)
        return false;
    return writer.endEntry(crc, compressedSize, size);
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
    // Declared first, so it runs after the workers and the writer are gone.
    const HeapTrim trim;
    if (progressHandler)
        progressHandler(0, 0);
    qint64 total = 0;
    qint64 reported = 0;
    const auto reportUpTo = [&](qint64 n) {
        while (reported < n) {
            ++reported;
            if (progressHandler)
                progressHandler(reported, total);
        }
    };
    // Nothing of a failed or cancelled job stays at the save path: the archive is written beside
    // it and renamed only once complete, so an item that was there before (one the person agreed
    // to replace) is untouched, and nothing else is deleted.
    const auto stopped = [&]() {
        if (progressHandler)
            progressHandler(reported, isCancel() ? -2 : -1);
        return false;
    };
    if (m_savePath.isEmpty())
        return stopped();

    const QByteArray savePath = withRealFolder(fsPath(m_savePath));
    Planner planner(savePath, m_isCancel);
    if (planner.plan(paths) != Planner::Outcome::Done)
        return stopped();
    const std::vector<Item>& items = planner.items();
    total = static_cast<qint64>(items.size());

    ZipWriter writer(savePath);
    if (!writer.open())
        return stopped();
    std::vector<Block> blocks;
    for (qsizetype i = 0; i < qsizetype(items.size()); ++i) {
        const Item& item = items[size_t(i)];
        if (item.kind != ItemKind::File)
            continue;
        const qint64 count = std::max<qint64>(1, (item.size + kBlockSize - 1) / kBlockSize);
        for (qint64 k = 0; k < count; ++k)
            blocks.push_back({i, k * kBlockSize, k == 0, k == count - 1});
    }
    const QByteArray secret = password.toUtf8();
    Compressors compressors(items, blocks, secret, m_isCancel);
    size_t nextBlock = 0;
    for (qsizetype i = 0; i < qsizetype(items.size()); ++i) {
        const Item& item = items[size_t(i)];
        if (isCancel())
            return stopped();
        if (item.kind == ItemKind::File) {
            const qint64 count = std::max<qint64>(1, (item.size + kBlockSize - 1) / kBlockSize);
            if (!writeFileEntry(writer, compressors, item, &nextBlock, size_t(count),
                                !secret.isEmpty()))
                return stopped();
        } else if (item.kind == ItemKind::EmptyFolder) {
            // Stored, no data, never encrypted.
            const ZipWriter::Entry entry{item.entryName + '/', item.mode, item.mtime,
                                         nameIsUtf8(item.entryName)};
            if (!writer.beginEntry(entry) || !writer.endEntry(0, 0, 0))
                return stopped();
        }
        reportUpTo(i + 1);
    }
    if (isCancel() || !writer.commit())
        return stopped();
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
                                 const CompletionHandler& completionHandler, const Limits& limits,
                                 bool* damaged)
{
    QString error;
    bool archiveFault = false;
    const auto finish = [&](bool succeeded) {
        if (damaged)
            *damaged = !succeeded && archiveFault;
        if (completionHandler)
            completionHandler(path, succeeded, error);
        return succeeded;
    };
    const auto broken = [&](const QString& why) {
        error = why;
        archiveFault = true;
        return finish(false);
    };
    const Archive archive = openForReading(path, &error);
    if (!archive) {
        archiveFault = true;
        return finish(false);
    }
    qint64 unpacked = 0;
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
        if (!rawName)
            return broken(archiveError(archive.get()));
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
        // WinZip's second AES form (7-Zip writes it) stores no checksum and relies on the
        // cipher's own code, which this zip library does not let a reader tell apart from a
        // checksum that is wrong: such an entry cannot be read back with any certainty.
        if ((st.valid & ZIP_STAT_ENCRYPTION_METHOD) && (st.valid & ZIP_STAT_CRC) &&
            (st.valid & ZIP_STAT_SIZE) && st.size > 0 && st.crc == 0 &&
            (st.encryption_method == ZIP_EM_AES_128 || st.encryption_method == ZIP_EM_AES_192 ||
             st.encryption_method == ZIP_EM_AES_256))
            return broken(QStringLiteral("%1 is encrypted without a checksum (AES as 7-Zip "
                                         "writes it), which cannot be read here")
                              .arg(entryName));
        if ((st.valid & ZIP_STAT_SIZE) &&
            ((limits.entryBytes >= 0 && qint64(st.size) > limits.entryBytes) ||
             (limits.totalBytes >= 0 && unpacked + qint64(st.size) > limits.totalBytes)))
            return broken(QStringLiteral("%1 unpacks to more than allowed").arg(entryName));
        const EntryFile entry(zip_fopen_index(archive.get(), index, 0));
        if (!entry)
            return broken(archiveError(archive.get()));
        QByteArray temporary;
        const FdCloser out(createTemporary(folder.fd, fileName, &temporary));
        if (out.fd < 0) {
            error = QStringLiteral("cannot write %1").arg(entryName);
            return finish(false);
        }
        bool written = true;
        if (hasMode)
            setPermissions(out.fd, mode & 0777);
        qint64 entryWritten = 0;
        for (;;) {
            const zip_int64_t got = zip_fread(entry.get(), buffer.data(), kChunkSize);
            if (got < 0) {
                error = QString::fromUtf8(zip_file_strerror(entry.get()));
                archiveFault = true;
                written = false;
                break;
            }
            if (got == 0)
                break;
            // The declared size may lie: the bytes themselves are counted.
            entryWritten += got;
            unpacked += got;
            if ((limits.entryBytes >= 0 && entryWritten > limits.entryBytes) ||
                (limits.totalBytes >= 0 && unpacked > limits.totalBytes)) {
                error = QStringLiteral("%1 unpacks to more than allowed").arg(entryName);
                archiveFault = true;
                written = false;
                break;
            }
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
