#include "IcnsWriter.h"

#include <QtEndian>

namespace pallstone {

namespace {

constexpr int kHeaderSize = 8;
const QByteArray kPngSignature("\x89PNG\r\n\x1a\n", 8);

void appendBe32(QByteArray& bytes, quint32 value)
{
    char raw[4];
    qToBigEndian(value, raw);
    bytes.append(raw, 4);
}

quint32 readBe32(const QByteArray& bytes, qsizetype offset)
{
    return qFromBigEndian<quint32>(bytes.constData() + offset);
}

} // namespace

QByteArray IcnsWriter::typeFor(int points, int scale)
{
    struct Type
    {
        int points;
        int scale;
        const char* type;
    };
    static constexpr Type kTypes[] = {
        {16, 1, "icp4"},  {16, 2, "ic11"},  {32, 1, "icp5"},  {32, 2, "ic12"},
        {64, 1, "icp6"},  {128, 1, "ic07"}, {128, 2, "ic13"}, {256, 1, "ic08"},
        {256, 2, "ic14"}, {512, 1, "ic09"}, {512, 2, "ic10"},
    };
    for (const Type& t : kTypes) {
        if (t.points == points && t.scale == scale)
            return QByteArray(t.type);
    }
    return {};
}

QByteArray IcnsWriter::pack(const QList<Entry>& entries)
{
    QByteArray body;
    for (const Entry& entry : entries) {
        body.append(entry.type.left(4).leftJustified(4, ' '));
        appendBe32(body, quint32(kHeaderSize + entry.png.size()));
        body.append(entry.png);
    }
    QByteArray file("icns");
    appendBe32(file, quint32(kHeaderSize + body.size()));
    return file + body;
}

std::optional<QByteArray> IcnsWriter::largestPngPayload(const QByteArray& icns)
{
    if (icns.size() < kHeaderSize || !icns.startsWith("icns"))
        return std::nullopt;
    // The declared length may not reach past the data actually read.
    const qsizetype end = std::min<qsizetype>(icns.size(), readBe32(icns, 4));
    std::optional<QByteArray> best;
    quint64 bestPixels = 0;
    for (qsizetype offset = kHeaderSize; offset + kHeaderSize <= end;) {
        const quint32 length = readBe32(icns, offset + 4);
        if (length < kHeaderSize || qsizetype(length) > end - offset)
            break;
        const QByteArray payload = icns.mid(offset + kHeaderSize, length - kHeaderSize);
        // Signature, IHDR length and type, then width and height.
        if (payload.size() >= 24 && payload.startsWith(kPngSignature) &&
            payload.mid(12, 4) == "IHDR") {
            const quint64 pixels = quint64(readBe32(payload, 16)) * readBe32(payload, 20);
            if (!best || pixels > bestPixels) {
                best = payload;
                bestPixels = pixels;
            }
        }
        offset += length;
    }
    return best;
}

} // namespace pallstone
