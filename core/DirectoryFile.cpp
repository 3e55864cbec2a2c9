#include "DirectoryFile.h"

#include "AtomicFile.h"
#include "FileName.h"

#include <QByteArrayList>
#include <QFile>
#include <QMutex>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pallstone {

namespace {

// A view-settings file is a few hundred bytes; anything huge is not one.
constexpr qint64 kMaxSize = 1024 * 1024;

const QByteArray kGroup = QByteArrayLiteral("[Desktop Entry]");
const QByteArray kKey = QByteArrayLiteral("Icon");

QString pathIn(const QString& folder)
{
    return folder + QStringLiteral("/.directory");
}

bool isGroup(const QByteArray& trimmed)
{
    return trimmed.startsWith('[');
}

// A "key=value" line, not a comment or a blank one.
bool isKeyLine(const QByteArray& trimmed)
{
    return !trimmed.isEmpty() && !trimmed.startsWith('#') && !isGroup(trimmed) &&
           trimmed.indexOf('=') > 0;
}

bool isIconLine(const QByteArray& trimmed)
{
    const qsizetype equals = trimmed.indexOf('=');
    return isKeyLine(trimmed) && trimmed.left(equals).trimmed() == kKey;
}

// KDE's escapes for values: a backslash, the control characters a line cannot hold, and a
// leading space (which would otherwise be trimmed away).
QByteArray escaped(const QString& value)
{
    QByteArray out;
    const QByteArray bytes = value.toUtf8();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes.at(i);
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\t')
            out += "\\t";
        else if (c == ' ' && i == 0)
            out += "\\s";
        else
            out += c;
    }
    return out;
}

QString unescaped(const QByteArray& value)
{
    QByteArray out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const char c = value.at(i);
        if (c != '\\' || i + 1 == value.size()) {
            out += c;
            continue;
        }
        const char next = value.at(++i);
        switch (next) {
        case 's':
            out += ' ';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 't':
            out += '\t';
            break;
        default:
            out += next;
        }
    }
    return QString::fromUtf8(out);
}

// The file's lines without their line ends; false when it exists but cannot be read whole. Read
// by its bytes' name: the folder's name need not be UTF-8, and Qt's files would look for another.
bool readLines(const QString& path, QByteArrayList& lines, bool& exists)
{
    lines.clear();
    exists = false;
    const int fd = ::open(FileName::encode(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT;
    exists = true;
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    if (file.size() > kMaxSize)
        return false;
    const QByteArray content = file.read(kMaxSize + 1);
    if (file.error() != QFileDevice::NoError || content.size() > kMaxSize)
        return false;
    if (content.isEmpty())
        return true;
    lines = content.split('\n');
    if (content.endsWith('\n'))
        lines.removeLast();
    return true;
}

QMutex s_editMutex;

} // namespace

QString DirectoryFile::icon(const QString& folder)
{
    QByteArrayList lines;
    bool exists = false;
    if (!readLines(pathIn(folder), lines, exists))
        return {};
    bool inGroup = false;
    for (const QByteArray& line : lines) {
        const QByteArray trimmed = line.trimmed();
        if (isGroup(trimmed))
            inGroup = trimmed == kGroup;
        else if (inGroup && isIconLine(trimmed))
            return unescaped(trimmed.mid(trimmed.indexOf('=') + 1).trimmed());
    }
    return {};
}

QString DirectoryFile::setIcon(const QString& folder, const QString& value)
{
    // Two changes of one folder's file from this process never interleave.
    const QMutexLocker locker(&s_editMutex);
    const QString path = pathIn(folder);
    QByteArrayList lines;
    bool exists = false;
    if (!readLines(path, lines, exists))
        return QStringLiteral("cannot read %1").arg(path);

    // Drop every Icon line of the group; a new one takes the place of the first, else follows
    // the group's last key.
    QByteArrayList kept;
    qsizetype insertAt = -1;
    qsizetype iconAt = -1;
    bool inGroup = false;
    bool changed = false;
    for (const QByteArray& line : lines) {
        const QByteArray trimmed = line.trimmed();
        if (isGroup(trimmed)) {
            inGroup = trimmed == kGroup;
            if (inGroup && insertAt < 0)
                insertAt = kept.size() + 1;
        } else if (inGroup && isIconLine(trimmed)) {
            if (!changed)
                iconAt = kept.size();
            changed = true;
            continue;
        } else if (inGroup && isKeyLine(trimmed) && insertAt >= 0) {
            insertAt = kept.size() + 1;
        }
        kept.append(line);
    }
    if (!value.isEmpty()) {
        const QByteArray line = kKey + '=' + escaped(value);
        if (iconAt >= 0)
            insertAt = iconAt;
        if (insertAt < 0) {
            if (!kept.isEmpty() && !kept.last().trimmed().isEmpty())
                kept.append(QByteArray());
            kept.append(kGroup);
            insertAt = kept.size();
        }
        kept.insert(insertAt, line);
        changed = true;
    }
    if (!changed)
        return {};

    const bool anyKey = std::any_of(kept.begin(), kept.end(),
                                    [](const QByteArray& l) { return isKeyLine(l.trimmed()); });
    if (!anyKey) {
        if (::unlink(FileName::encode(path).constData()) != 0 && errno != ENOENT)
            return QStringLiteral("cannot delete %1: %2")
                .arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return {};
    }
    mode_t mode = 0644;
    struct stat st;
    if (exists && ::stat(FileName::encode(path).constData(), &st) == 0)
        mode = st.st_mode & 07777;
    return AtomicFile::write(path, kept.join('\n') + '\n', mode);
}

} // namespace pallstone
