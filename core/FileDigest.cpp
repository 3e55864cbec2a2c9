#include "FileDigest.h"

#include "FileName.h"

#include <QByteArray>
#include <QFile>

#include <openssl/evp.h>
#include <zlib.h>

#include <cerrno>
#include <cstring>
#include <memory>

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
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    return {};
}

// Feeds every byte of the file to consume, one chunk at a time. Returns the errno of a failed
// read, 0 at the end of the file.
template <typename Consume> int stream(int fd, Consume&& consume)
{
    const auto buffer = std::make_unique_for_overwrite<unsigned char[]>(FileDigest::kChunkSize);
    for (;;) {
        const ssize_t got = ::read(fd, buffer.get(), size_t(FileDigest::kChunkSize));
        if (got == 0)
            return 0;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        consume(buffer.get(), size_t(got));
    }
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
    const int error = stream(fd, [&](const unsigned char* data, size_t size) {
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

Result crc32(int fd)
{
    uLong crc = ::crc32_z(0L, Z_NULL, 0);
    const int error = stream(
        fd, [&](const unsigned char* data, size_t size) { crc = ::crc32_z(crc, data, size); });
    if (error)
        return failed(Failure::Unreadable, error);
    Result result;
    result.value = QString::number(quint32(crc));
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
