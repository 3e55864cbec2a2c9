#include "FileName.h"

#include <QFile>

#include <fcntl.h>
#include <unistd.h>

namespace pallstone {

namespace {

constexpr char16_t kFirstStray = 0xDC80;
constexpr char16_t kLastStray = 0xDCFF;

// The escape of a stray byte at name[i]. U+DC80..U+DCFF is also the second half of a pair for
// characters such as U+1F4A9: after a first half it is part of that character. decode() never
// puts an escape right after a first half, as valid UTF-8 never ends in one.
bool isStray(const QString& name, qsizetype i)
{
    const char16_t c = name.at(i).unicode();
    return c >= kFirstStray && c <= kLastStray && !(i > 0 && name.at(i - 1).isHighSurrogate());
}

// The length of the well-formed UTF-8 sequence at bytes[i], or 0 when the byte there starts none.
// Encoded surrogates (ED A0..BF) count as ill-formed: decoding them would clash with the stray
// bytes' own representation.
int sequenceLength(const QByteArray& bytes, qsizetype i)
{
    const auto at = [&](qsizetype k) { return uchar(bytes.at(k)); };
    const uchar lead = at(i);
    if (lead < 0x80)
        return 1;
    int length = 0;
    uchar low = 0x80;
    uchar high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (i + length > bytes.size())
        return 0;
    if (at(i + 1) < low || at(i + 1) > high)
        return 0;
    for (int k = 2; k < length; ++k) {
        if (at(i + k) < 0x80 || at(i + k) > 0xBF)
            return 0;
    }
    return length;
}

} // namespace

QByteArray FileName::encode(const QString& name)
{
    if (!hasStrayBytes(name))
        return name.toUtf8();
    QByteArray bytes;
    bytes.reserve(name.size() * 3);
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (!isStray(name, i))
            continue;
        bytes.append(QStringView(name).mid(runStart, i - runStart).toUtf8());
        bytes.append(char(0x80 + (name.at(i).unicode() - kFirstStray)));
        runStart = i + 1;
    }
    bytes.append(QStringView(name).mid(runStart).toUtf8());
    return bytes;
}

QString FileName::decode(const QByteArray& bytes)
{
    QString name;
    name.reserve(bytes.size());
    qsizetype runStart = 0;
    qsizetype i = 0;
    while (i < bytes.size()) {
        const int length = sequenceLength(bytes, i);
        if (length > 0) {
            i += length;
            continue;
        }
        name.append(QString::fromUtf8(bytes.constData() + runStart, i - runStart));
        name.append(QChar(char16_t(kFirstStray + (uchar(bytes.at(i)) - 0x80))));
        runStart = ++i;
    }
    name.append(QString::fromUtf8(bytes.constData() + runStart, bytes.size() - runStart));
    return name;
}

bool FileName::hasStrayBytes(const QString& name)
{
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (isStray(name, i))
            return true;
    }
    return false;
}

QString FileName::display(const QString& name)
{
    if (!hasStrayBytes(name))
        return name;
    QString shown = name;
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (isStray(name, i))
            shown[i] = QChar::ReplacementCharacter;
    }
    return shown;
}

QStringList FileName::arguments(int argc, char** argv)
{
    QStringList decoded;
    for (int i = 1; i < argc; ++i)
        decoded.append(decode(QByteArray(argv[i])));
    return decoded;
}

bool FileName::openForReading(const QString& name, QFile& file)
{
    const int fd = ::open(encode(name).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    if (file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return true;
    ::close(fd);
    return false;
}

} // namespace pallstone
