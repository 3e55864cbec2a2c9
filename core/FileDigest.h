#pragma once

#include <QString>

namespace pallstone {

// Checksums of a file's contents for the "File Info" entries. The file is streamed through a fixed
// buffer, so memory stays flat whatever its size. Only regular files are hashed: reading a pipe or
// a device could block for ever or never end, so those are refused before anything is read.
class FileDigest final
{
public:
    enum class Algorithm
    {
        MD5,
        SHA1,
        SHA256,
        SHA512,
        CRC32
    };

    enum class Failure
    {
        None,
        NotFound,
        NotRegularFile, // a folder, pipe, socket or device
        Unreadable      // no permission, or a read failed part-way
    };

    struct Result
    {
        // Lower-case hex digits for the digests, unsigned decimal for CRC-32; empty on failure.
        QString value;
        Failure failure = Failure::None;
        QString reason; // the system's own words for an Unreadable failure

        bool isValid() const { return failure == Failure::None; }
    };

    // Bytes read per call: large enough that system calls do not show in the time, small enough to
    // stay in the cache the hash runs from.
    static constexpr qsizetype kChunkSize = qsizetype(1) << 20;
    // Files larger than this have their CRC-32 computed in two halves on two cores.
    static constexpr qint64 kSplitCrcAbove = qint64(32) << 20;

    // Symbolic links are followed, as the checksum tools do.
    static Result hashOfFileAtPath(Algorithm algorithm, const QString& path);

    // The value, or a null string when it cannot be computed.
    static QString md5HashOfFileAtPath(const QString& path);
    static QString sha1HashOfFileAtPath(const QString& path);
    static QString sha256HashOfFileAtPath(const QString& path);
    static QString sha512HashOfFileAtPath(const QString& path);
    static QString crc32HashOfFileAtPath(const QString& path);

    // The entries of the "File Info" submenu in order: 0 MD5, 1 SHA-1, 2 SHA-256, 3 SHA-512; any
    // other position is CRC-32.
    static Algorithm algorithmForTag(qint64 tag);

private:
    FileDigest() = delete;
};

} // namespace pallstone
