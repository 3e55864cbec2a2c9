#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace pallstone {

// Copying, moving and creating items without ever replacing what is at the destination: the
// conflict was settled (or the existing item removed) when the user answered, and anything that
// arrived there since must survive. Paths are handled as raw bytes below, so names that are not
// valid UTF-8 inside a copied folder come along too.
class FileOperations final
{
public:
    // Copies a file, a link (as a link) or a folder with everything in it. Fails when the
    // destination exists or lies inside the source; a failed copy leaves nothing behind.
    static bool copyItem(const QString& source, const QString& destination,
                         QString* error = nullptr);
    // Renames in place when it can; across file systems copies, then removes the source.
    static bool moveItem(const QString& source, const QString& destination,
                         QString* error = nullptr);
    // Creates a new file with the contents; fails when anything exists at the path.
    static bool createFile(const QString& path, const QByteArray& contents,
                           QString* error = nullptr);
    // The whole contents of a file; nullopt (with the reason in error) when it cannot be read, and
    // an empty array when nothing is at the path.
    static std::optional<QByteArray> readFile(const QString& path, QString* error = nullptr);
    // True when the path is the item itself or lies inside it (links in the leading folders
    // resolved).
    static bool isSameOrInside(const QString& path, const QString& item);
    // True when something (even a dangling link) is at the path.
    static bool exists(const QString& path);

private:
    FileOperations() = delete;
};

} // namespace pallstone
