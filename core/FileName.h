#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class QFile;

namespace pallstone {

// A file name on Linux is bytes, and nothing makes those bytes UTF-8. Paths travel through the
// program as QString; a byte that is not part of valid UTF-8 is kept as the lone surrogate
// U+DC80 + (byte - 0x80), so that decode(encode(name)) gives the name back and encode(decode(b))
// gives the bytes back for every name. Every system call takes encode(path); every name read
// from the system, a URI or a folder listing goes through decode(). Qt's own file classes encode
// with plain UTF-8 and must not be given a path for which hasStrayBytes() is true.
class FileName final
{
public:
    static QByteArray encode(const QString& name);
    static QString decode(const QByteArray& bytes);
    // Whether the name holds bytes that are not UTF-8.
    static bool hasStrayBytes(const QString& name);
    // The name for people to read and for texts that must be valid Unicode (D-Bus, JSON): each
    // stray byte shows as U+FFFD.
    static QString display(const QString& name);
    // The program's arguments after the program name, decoded as names: Qt's own list would
    // turn a file name that is not UTF-8 into another one. Call after the application object
    // has taken its own options out of argv.
    static QStringList arguments(int argc, char** argv);
    // Opens file for reading by the name's bytes, where QFile's own open would look for another
    // name. False when it cannot be opened.
    static bool openForReading(const QString& name, QFile& file);
};

} // namespace pallstone
