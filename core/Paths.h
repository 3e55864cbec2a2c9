#pragma once

#include <QString>
#include <QUrl>

#include <functional>

namespace pallstone {

// The path predicates and utilities the file descriptor and the actions rely on. Every member
// takes the path as a string. The item at a path is inspected without following a final symbolic
// link unless a member says otherwise, and recursive walks never follow links at all.
//
// Extensions: the text after the last "." of the last component, when that "." is not the
// component's first character and the text is non-empty and holds no white space ("a.tar.gz" has
// "gz"; ".bashrc", "notes." and "Report v1.2 final" have none).
class Paths final
{
public:
    // Name parts of a path; trailing separators are ignored ("/a/b/" has the last component "b").
    static QString lastPathComponent(const QString& path);
    static QString deletingLastPathComponent(const QString& path);
    static QString pathExtension(const QString& path);
    // The path with the last component's extension (and its ".") removed.
    static QString deletingPathExtension(const QString& path);

    // True for a name that stays in its folder: not empty, no "/", not "." or "..", no NUL.
    // Names typed by the user or read from a stored record are checked with it before they
    // become part of a path.
    static bool isPlainName(const QString& name);
    static bool isFolder(const QString& path);
    // A folder whose name has an extension, such as "Foo.app".
    static bool isPackage(const QString& path);
    // Whether the item is an image we can decode: its MIME type from the name, else from the
    // content, is one of the raster or vector image types. False for folders and for what cannot
    // be inspected.
    static bool isImage(const QString& path);
    static bool isDesktop(const QString& path);
    // The folders a user must not have touched by an action: "/", "/home", the home folder, its
    // XDG Desktop, Documents, Downloads, Pictures, Music, Videos, Templates and Public folders,
    // "/usr", "/etc", "/opt", "/media" and "/mnt".
    static bool isSystemFolder(const QString& path);
    static bool isWritable(const QString& path);
    // Nobody may write the item: it has no write permission bit at all, or its file system
    // immutable flag is set.
    static bool isLocked(const QString& path);
    // A folder with a custom icon: its KDE ".directory" file names an Icon in [Desktop Entry], or
    // the installed probe (GVFS metadata, supplied by a layer that links GIO) says so.
    static bool hasCustomIcon(const QString& path);
    static void setCustomIconProbe(std::function<bool(const QString&)> probe);

    // Bytes: 0 when nothing is there; for a folder the sum over every file and link below it
    // (folders' own sizes are left out: they are allocation figures that differ between file
    // systems); else the item's own size.
    static qint64 fileSize(const QString& path);
    // The MD5 of the contents as 32 lower-case hex digits. Content that cannot be read (a folder,
    // a device, a pipe, a file without read permission) hashes as empty input. When nothing is at
    // the path: its last component without the extension.
    static QString fileMD5(const QString& path);
    // The path itself when nothing is there, else the first free "name-N.ext" (N from 1).
    static QString uniquePath(const QString& path);
    // Deletes the item, a folder with everything in it. Symbolic links are removed, never
    // followed. The system folders and "/" are refused. True when the item is gone.
    static bool remove(const QString& path);
    // Deletes whatever is at the path, then creates the folder with any missing parents. False
    // when the old item could not be removed or the folder not created.
    static bool createDir(const QString& path);
    // Creates the folder and any missing parents, keeping what is there; true when the path is a
    // folder afterwards. Works on the name's bytes, unlike QDir::mkpath.
    static bool makeFolders(const QString& path);
    // The names in a folder, hidden ones included, in the order the file system gives them; empty
    // when it cannot be read.
    static QStringList entryNames(const QString& folder);

    // "pallstone" in the user's XDG cache folder. Only this folder is ever cleaned.
    static QString cachesFolder();
    // The folder named name inside cachesFolder(): kept as it is when it exists and clear is
    // false, otherwise made anew and empty. The name must be one path component: empty, ".",
    // "..", or a name holding "/" is refused. A refused name, or a folder that cannot be made,
    // gives a null QString, which callers must check before building paths on it.
    static QString toTempFolderPath(const QString& name, bool clear = true);
    // Deletes every entry of cachesFolder() whose name begins with ".".
    static void removeAllTempFolder();

    // The name inside the user's Videos, Documents or Desktop folder, which is created when
    // missing. The same names are refused as by toTempFolderPath(), with a null QString.
    static QString toMoviesPath(const QString& name);
    static QString toDocument(const QString& name);
    static QString toDesktop(const QString& name);
    static QString documentPath();
    static QString desktopPath();

    // Reveals the item in the file manager; false when nothing could be launched.
    static bool showInFileManager(const QString& path);
    // "file.chm#page": the file URL of the part before the first "#", the second part as its
    // fragment; without a "#", the file URL of the whole string.
    static QUrl hashURL(const QString& path);
    // "~" and "~user" expanded, "." and ".." resolved, repeated and trailing separators removed.
    // Symbolic links are not resolved.
    static QString standardizedPath(const QString& path);

    // A byte count for display: decimal units ("1.50 KB"); a value moves to the next unit only
    // when it exceeds 1000. "TB" is the last unit: 1000 TB and more stay in TB ("2000.00 TB").
    // Negative or non-finite values show as 0.
    static QString fileSizeWithValue(double bytes);

private:
    Paths() = delete;
};

} // namespace pallstone
