#pragma once

#include <QByteArray>

#include <sys/types.h>

#include <vector>

namespace pallstone {

// Writes the container of a zip archive: local headers, entry data given in order, the central
// directory, and ZIP64 records wherever a size, an offset or the entry count needs them. The
// archive is written to a hidden file beside its path and appears there only in commit(); a
// writer destroyed before that leaves nothing.
class ZipWriter final
{
public:
    struct Entry
    {
        QByteArray name; // the bytes as stored, "/" at the end for a folder
        mode_t mode = 0; // Unix type and permissions
        time_t mtime = 0;
        bool utf8Name = false; // the name is flagged as UTF-8; otherwise its bytes are raw
        bool deflated = false;
        bool encrypted = false; // WinZip AES-256
        // May pass 4 GiB: the local header gets room for 64-bit sizes.
        bool large = false;
    };

    explicit ZipWriter(const QByteArray& path);
    ~ZipWriter();
    ZipWriter(const ZipWriter&) = delete;
    ZipWriter& operator=(const ZipWriter&) = delete;

    // Creates the hidden file; false (errno set) when the folder does not take it.
    bool open();
    bool beginEntry(const Entry& entry);
    bool write(const char* data, qsizetype size);
    // Completes the entry begun last with the CRC of its contents and both sizes.
    bool endEntry(quint32 crc, quint64 compressedSize, quint64 size);
    // Writes the central directory and renames the file to the archive's path.
    bool commit();

private:
    struct Record
    {
        Entry entry;
        quint64 offset = 0;
        quint32 crc = 0;
        quint64 compressedSize = 0;
        quint64 size = 0;
        quint16 flags = 0;
    };

    QByteArray localHeader(const Record& record) const;
    bool flush();

    QByteArray m_path;
    QByteArray m_temporary;
    int m_fd = -1;
    QByteArray m_buffer;
    quint64 m_offset = 0; // bytes written and buffered
    std::vector<Record> m_records;
};

} // namespace pallstone
