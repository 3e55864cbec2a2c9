#pragma once

#include <QByteArray>
#include <QString>

#include <sys/types.h>

namespace pallstone {

// The one way this program replaces a file's contents: a temporary file beside it, written,
// synced and renamed over it, then the folder synced. Readers see the old file or the new one,
// never a torn one, also after a crash.
class AtomicFile final
{
public:
    // Empty when the file now holds the contents; otherwise what went wrong, and the old file is
    // untouched.
    [[nodiscard]] static QString write(const QString& path, const QByteArray& contents,
                                       mode_t mode = 0644);

    // Writes all bytes to the descriptor, going on after interruptions; false on an error (errno
    // says which).
    static bool writeAll(int fd, const char* data, size_t size);

private:
    AtomicFile() = delete;
};

} // namespace pallstone
