#include "ZipWriter.h"

#include "AtomicFile.h"

#include <QRandomGenerator>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

namespace pallstone {

namespace {

constexpr quint32 kLocalSignature = 0x04034b50;
constexpr quint32 kCentralSignature = 0x02014b50;
constexpr quint32 kEndSignature = 0x06054b50;
constexpr quint32 kZip64EndSignature = 0x06064b50;
constexpr quint32 kZip64LocatorSignature = 0x07064b50;
constexpr quint16 kMethodStore = 0;
constexpr quint16 kMethodDeflate = 8;
constexpr quint16 kMethodAes = 99;
constexpr quint16 kFlagEncrypted = 1 << 0;
constexpr quint16 kFlagUtf8 = 1 << 11;
constexpr quint16 kMadeByUnix = (3 << 8) | 63;
constexpr quint32 kMax32 = 0xffffffff;
constexpr quint16 kMax16 = 0xffff;
// The MS-DOS directory flag in the low byte of the external attributes, which tools on other
// systems read instead of the Unix mode.
constexpr quint32 kDosDirectory = 0x10;
constexpr qsizetype kBufferSize = 1 << 20;

void put16(QByteArray& out, quint32 value)
{
    out.append(char(value & 0xff)).append(char((value >> 8) & 0xff));
}

void put32(QByteArray& out, quint32 value)
{
    put16(out, value & 0xffff);
    put16(out, value >> 16);
}

void put64(QByteArray& out, quint64 value)
{
    put32(out, quint32(value & kMax32));
    put32(out, quint32(value >> 32));
}

// MS-DOS date and time in local time, as Info-ZIP and libzip store them; years outside 1980 to
// 2107 are clamped.
std::pair<quint16, quint16> dosTime(time_t mtime)
{
    tm local = {};
    if (!localtime_r(&mtime, &local) || local.tm_year < 80)
        return {0, (1 << 5) | 1};
    if (local.tm_year > 207)
        return {(23 << 11) | (59 << 5) | 29, (127 << 9) | (12 << 5) | 31};
    return {quint16((local.tm_hour << 11) | (local.tm_min << 5) | (local.tm_sec / 2)),
            quint16(((local.tm_year - 80) << 9) | ((local.tm_mon + 1) << 5) | local.tm_mday)};
}

// Seconds since 1970 in the "extended timestamp" field, which unzip and 7-Zip prefer to the
// MS-DOS time (exact and free of time zones).
void putTimestamp(QByteArray& extra, time_t mtime)
{
    if (mtime < 0 || mtime > 0x7fffffff)
        return;
    put16(extra, 0x5455);
    put16(extra, 5);
    extra.append(char(1));
    put32(extra, quint32(mtime));
}

// The entry's CRC is kept (AE-1) so that readers check the decrypted data a second way, as
// libzip before 1.8 insists on; only for contents shorter than 20 bytes, which a CRC would all
// but give away, it is left out (AE-2).
bool keepsCrc(const ZipWriter::Entry& entry, quint64 size)
{
    return !entry.encrypted || size >= 20;
}

void putAes(QByteArray& extra, bool deflated, quint64 size)
{
    put16(extra, 0x9901);
    put16(extra, 7);
    put16(extra, size >= 20 ? 1 : 2);
    extra.append("AE", 2);
    extra.append(char(3)); // AES-256
    put16(extra, deflated ? kMethodDeflate : kMethodStore);
}

quint16 versionNeeded(const ZipWriter::Entry& entry, bool zip64)
{
    if (entry.encrypted)
        return 51;
    if (zip64)
        return 45;
    return 20;
}

quint16 method(const ZipWriter::Entry& entry)
{
    if (entry.encrypted)
        return kMethodAes;
    return entry.deflated ? kMethodDeflate : kMethodStore;
}

} // namespace

ZipWriter::ZipWriter(const QByteArray& path) : m_path(path) {}

ZipWriter::~ZipWriter()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        ::unlink(m_temporary.constData());
    }
}

bool ZipWriter::open()
{
    const qsizetype slash = m_path.lastIndexOf('/');
    const QByteArray folder = m_path.left(slash + 1);
    const QByteArray base = m_path.mid(slash + 1).left(200);
    for (int attempt = 0; attempt < 100; ++attempt) {
        m_temporary = folder + '.' + base + ".part-" +
                      QByteArray::number(QRandomGenerator::global()->generate(), 36);
        m_fd = ::open(m_temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                      0666);
        if (m_fd >= 0 || errno != EEXIST)
            break;
    }
    m_buffer.reserve(kBufferSize + 4096);
    return m_fd >= 0;
}

bool ZipWriter::flush()
{
    const bool written = AtomicFile::writeAll(m_fd, m_buffer.constData(), size_t(m_buffer.size()));
    m_buffer.clear();
    return written;
}

QByteArray ZipWriter::localHeader(const Record& record) const
{
    const Entry& entry = record.entry;
    const bool zip64 = entry.large;
    QByteArray extra;
    if (zip64) {
        put16(extra, 0x0001);
        put16(extra, 16);
        put64(extra, record.size);
        put64(extra, record.compressedSize);
    }
    putTimestamp(extra, entry.mtime);
    if (entry.encrypted)
        putAes(extra, entry.deflated, record.size);

    QByteArray header;
    const auto [time, date] = dosTime(entry.mtime);
    put32(header, kLocalSignature);
    put16(header, versionNeeded(entry, zip64));
    put16(header, record.flags);
    put16(header, method(entry));
    put16(header, time);
    put16(header, date);
    put32(header, keepsCrc(entry, record.size) ? record.crc : 0);
    put32(header, zip64 ? kMax32 : quint32(record.compressedSize));
    put32(header, zip64 ? kMax32 : quint32(record.size));
    put16(header, quint32(entry.name.size()));
    put16(header, quint32(extra.size()));
    return header + entry.name + extra;
}

bool ZipWriter::beginEntry(const Entry& entry)
{
    if (entry.name.size() > kMax16)
        return false;
    Record record{entry, m_offset, 0, 0, 0, 0};
    if (entry.encrypted)
        record.flags |= kFlagEncrypted;
    if (entry.utf8Name)
        record.flags |= kFlagUtf8;
    m_records.push_back(record);
    // Sizes are filled in by endEntry(); the header keeps its length.
    const QByteArray header = localHeader(record);
    return write(header.constData(), header.size());
}

bool ZipWriter::write(const char* data, qsizetype size)
{
    m_offset += quint64(size);
    if (m_buffer.size() + size <= kBufferSize) {
        m_buffer.append(data, size);
        return true;
    }
    return flush() && AtomicFile::writeAll(m_fd, data, size_t(size));
}

bool ZipWriter::endEntry(quint32 crc, quint64 compressedSize, quint64 size)
{
    Record& record = m_records.back();
    record.crc = crc;
    record.compressedSize = compressedSize;
    record.size = size;
    if (!record.entry.large && (compressedSize >= kMax32 || size >= kMax32))
        return false; // cannot happen: a large file is announced as one
    const QByteArray header = localHeader(record);
    const quint64 buffered = m_offset - quint64(m_buffer.size());
    if (record.offset >= buffered) {
        // Still in the buffer.
        m_buffer.replace(qsizetype(record.offset - buffered), header.size(), header);
        return true;
    }
    if (!flush())
        return false;
    return ::pwrite(m_fd, header.constData(), size_t(header.size()), off_t(record.offset)) ==
           ssize_t(header.size());
}

bool ZipWriter::commit()
{
    const quint64 directoryOffset = m_offset;
    for (const Record& record : m_records) {
        const Entry& entry = record.entry;
        QByteArray zip64;
        if (record.size >= kMax32)
            put64(zip64, record.size);
        if (record.compressedSize >= kMax32)
            put64(zip64, record.compressedSize);
        if (record.offset >= kMax32)
            put64(zip64, record.offset);
        QByteArray extra;
        if (!zip64.isEmpty()) {
            put16(extra, 0x0001);
            put16(extra, quint32(zip64.size()));
            extra += zip64;
        }
        putTimestamp(extra, entry.mtime);
        if (entry.encrypted)
            putAes(extra, entry.deflated, record.size);

        const bool isFolder = entry.name.endsWith('/');
        QByteArray header;
        const auto [time, date] = dosTime(entry.mtime);
        put32(header, kCentralSignature);
        put16(header, kMadeByUnix);
        put16(header, versionNeeded(entry, !zip64.isEmpty() || entry.large));
        put16(header, record.flags);
        put16(header, method(entry));
        put16(header, time);
        put16(header, date);
        put32(header, keepsCrc(entry, record.size) ? record.crc : 0);
        put32(header, quint32(std::min<quint64>(record.compressedSize, kMax32)));
        put32(header, quint32(std::min<quint64>(record.size, kMax32)));
        put16(header, quint32(entry.name.size()));
        put16(header, quint32(extra.size()));
        put16(header, 0); // comment
        put16(header, 0); // disk
        put16(header, 0); // internal attributes
        put32(header, (quint32(entry.mode) << 16) | (isFolder ? kDosDirectory : 0));
        put32(header, quint32(std::min<quint64>(record.offset, kMax32)));
        header += entry.name + extra;
        if (!write(header.constData(), header.size()))
            return false;
    }
    const quint64 directorySize = m_offset - directoryOffset;
    const quint64 count = m_records.size();
    QByteArray end;
    if (count >= kMax16 || directorySize >= kMax32 || directoryOffset >= kMax32) {
        const quint64 zip64End = m_offset;
        put32(end, kZip64EndSignature);
        put64(end, 44);
        put16(end, kMadeByUnix);
        put16(end, 45);
        put32(end, 0);
        put32(end, 0);
        put64(end, count);
        put64(end, count);
        put64(end, directorySize);
        put64(end, directoryOffset);
        put32(end, kZip64LocatorSignature);
        put32(end, 0);
        put64(end, zip64End);
        put32(end, 1);
    }
    put32(end, kEndSignature);
    put16(end, 0);
    put16(end, 0);
    put16(end, quint32(std::min<quint64>(count, kMax16)));
    put16(end, quint32(std::min<quint64>(count, kMax16)));
    put32(end, quint32(std::min<quint64>(directorySize, kMax32)));
    put32(end, quint32(std::min<quint64>(directoryOffset, kMax32)));
    put16(end, 0);
    if (!write(end.constData(), end.size()) || !flush())
        return false;
    if (::close(m_fd) != 0) {
        m_fd = -1;
        ::unlink(m_temporary.constData());
        return false;
    }
    m_fd = -1;
    if (::rename(m_temporary.constData(), m_path.constData()) != 0) {
        ::unlink(m_temporary.constData());
        return false;
    }
    return true;
}

} // namespace pallstone
