#include "FileDigest.h"

#include "FileName.h"

#include <QByteArray>
#include <QFile>

#include <libdeflate.h>
#include <openssl/evp.h>
#include <zlib.h>

#include <cerrno>
#include <cstring>
#include <limits>
#include <memory>
#include <system_error>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pallstone {

namespace {

using Result = FileDigest::Result;
using Failure = FileDigest::Failure;

Result failed(Failure failure, int error = 0)
{
    Result result;
    result.failure = failure;
    if (error)
        result.reason = QString::fromLocal8Bit(std::strerror(error));
    return result;
}

class FileDescriptor final
{
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd = -1;
};

// Opens the path for reading when it names a regular file. The type is checked before opening
// (opening some devices has effects of its own) and again on the open descriptor, in case the item
// was replaced in between; O_NONBLOCK keeps a pipe that slipped through from blocking the open.
Result openRegularFile(const QString& path, int& fd)
{
    fd = -1;
    const QByteArray native = FileName::encode(path);
    if (native.isEmpty())
        return failed(Failure::NotFound);
    struct stat info;
    if (::stat(native.constData(), &info) != 0) {
        const int error = errno;
        if (error == ENOENT || error == ENOTDIR)
            return failed(Failure::NotFound);
        return failed(Failure::Unreadable, error);
    }
    if (!S_ISREG(info.st_mode))
        return failed(Failure::NotRegularFile);
    fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return failed(Failure::Unreadable, errno);
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        fd = -1;
        return failed(Failure::NotRegularFile);
    }
    // The whole file is read once from start to end: ask for a large read-ahead and start it now.
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_WILLNEED);
    return {};
}

// Feeds the bytes from `offset` to consume, one chunk at a time, up to `length` bytes or to the end
// of the file when length is negative. pread keeps the offset out of the descriptor, so two threads
// can read two ranges of one file. Returns the errno of a failed read, 0 at the end.
template <typename Consume> int stream(int fd, qint64 offset, qint64 length, Consume&& consume)
{
    const auto buffer = std::make_unique_for_overwrite<unsigned char[]>(FileDigest::kChunkSize);
    qint64 left = length < 0 ? std::numeric_limits<qint64>::max() : length;
    while (left > 0) {
        const size_t want = size_t(std::min<qint64>(left, FileDigest::kChunkSize));
        const ssize_t got = ::pread(fd, buffer.get(), want, off_t(offset));
        if (got == 0)
            return 0;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        consume(buffer.get(), size_t(got));
        offset += got;
        left -= got;
    }
    return 0;
}

const EVP_MD* digestFor(FileDigest::Algorithm algorithm)
{
    switch (algorithm) {
    case FileDigest::Algorithm::MD5:
        return EVP_md5();
    case FileDigest::Algorithm::SHA1:
        return EVP_sha1();
    case FileDigest::Algorithm::SHA256:
        return EVP_sha256();
    case FileDigest::Algorithm::SHA512:
        return EVP_sha512();
    case FileDigest::Algorithm::CRC32:
        break;
    }
    return nullptr;
}

Result digest(const EVP_MD* md, int fd)
{
    const std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(),
                                                                          &EVP_MD_CTX_free);
    if (!context || EVP_DigestInit_ex(context.get(), md, nullptr) != 1)
        return failed(Failure::Unreadable, ENOMEM);
    bool updated = true;
    const int error = stream(fd, 0, -1, [&](const unsigned char* data, size_t size) {
        updated = EVP_DigestUpdate(context.get(), data, size) == 1 && updated;
    });
    if (error)
        return failed(Failure::Unreadable, error);
    unsigned char bytes[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (!updated || EVP_DigestFinal_ex(context.get(), bytes, &length) != 1)
        return failed(Failure::Unreadable, EIO);
    Result result;
    result.value = QString::fromLatin1(
        QByteArray::fromRawData(reinterpret_cast<const char*>(bytes), qsizetype(length)).toHex());
    return result;
}

struct Crc
{
    quint32 value = 0;
    qint64 length = 0;
    int error = 0;
};

Crc crcOfRange(int fd, qint64 offset, qint64 length)
{
    Crc crc;
    crc.error = stream(fd, offset, length, [&](const unsigned char* data, size_t size) {
        crc.value = quint32(::libdeflate_crc32(crc.value, data, size));
        crc.length += qint64(size);
    });
    return crc;
}

// CRC-32 with carry-less multiplication runs faster than one core copies pages out of the cache,
// so a large file is split in two halves, each read and summed on its own core, and the two CRCs
// are combined. The second half reads to the end, whatever the size said.
Result crc32(int fd)
{
    struct stat info;
    const qint64 size = ::fstat(fd, &info) == 0 ? qint64(info.st_size) : 0;
    const bool split = size > FileDigest::kSplitCrcAbove && std::thread::hardware_concurrency() > 1;
    Crc crc;
    const qint64 half = size / 2;
    Crc second;
    std::thread other;
    if (split) {
        try {
            other = std::thread([&] { second = crcOfRange(fd, half, -1); });
        } catch (const std::system_error&) {
            // No thread to be had: one core reads it all.
        }
    }
    if (other.joinable()) {
        crc = crcOfRange(fd, 0, half);
        other.join();
        if (!crc.error && crc.length < half) // the file shrank while it was read
            crc = crcOfRange(fd, 0, -1);
        else if (!crc.error)
            crc.error = second.error;
        if (!crc.error && crc.length == half)
            crc.value = quint32(::crc32_combine(crc.value, second.value, z_off_t(second.length)));
    } else {
        crc = crcOfRange(fd, 0, -1);
    }
    if (crc.error)
        return failed(Failure::Unreadable, crc.error);
    Result result;
    result.value = QString::number(crc.value);
    return result;
}

QString valueOrNull(FileDigest::Algorithm algorithm, const QString& path)
{
    const Result result = FileDigest::hashOfFileAtPath(algorithm, path);
    return result.isValid() ? result.value : QString();
}

} // namespace

FileDigest::Result FileDigest::hashOfFileAtPath(Algorithm algorithm, const QString& path)
{
    int raw = -1;
    Result opened = openRegularFile(path, raw);
    if (!opened.isValid())
        return opened;
    const FileDescriptor fd(raw);
    if (algorithm == Algorithm::CRC32)
        return crc32(fd.get());
    return digest(digestFor(algorithm), fd.get());
}

QString FileDigest::md5HashOfFileAtPath(const QString& path)
{
    return valueOrNull(Algorithm::MD5, path);
}

QString FileDigest::sha1HashOfFileAtPath(const QString& path)
{
    return valueOrNull(Algorithm::SHA1, path);
}

QString FileDigest::sha256HashOfFileAtPath(const QString& path)
{
    return valueOrNull(Algorithm::SHA256, path);
}

QString FileDigest::sha512HashOfFileAtPath(const QString& path)
{
    return valueOrNull(Algorithm::SHA512, path);
}

QString FileDigest::crc32HashOfFileAtPath(const QString& path)
{
    return valueOrNull(Algorithm::CRC32, path);
}

FileDigest::Algorithm FileDigest::algorithmForTag(qint64 tag)
{
    switch (tag) {
    case 0:
        return Algorithm::MD5;
    case 1:
        return Algorithm::SHA1;
    case 2:
        return Algorithm::SHA256;
    case 3:
        return Algorithm::SHA512;
    default:
        return Algorithm::CRC32;
    }
}

} // namespace pallstone
