#pragma once

#include <QString>
#include <QUrl>

#include <memory>
#include <vector>

namespace pallstone {

// One file-system path and what the menu builder and the actions ask about it: its name parts,
// size and dates for display, its kind and its visible children. Creating a descriptor does not
// touch the disk; the scratch folder and the children are made on first use and then kept.
// Not thread-safe: a descriptor belongs to the thread that uses it.
class FileEntry final
{
public:
    using Children = std::vector<std::unique_ptr<FileEntry>>;

    explicit FileEntry(const QString& path);
    static std::unique_ptr<FileEntry> fileWithPath(const QString& path);

    FileEntry(const FileEntry&) = delete;
    FileEntry& operator=(const FileEntry&) = delete;

    const QString& path() const { return m_path; }
    // The descriptor whose children() hold this one; not owned.
    FileEntry* parent() const { return m_parent; }
    void setParent(FileEntry* parent) { m_parent = parent; }

    // The scratch folder ".<fileMD5>" in the caches folder, cleared and made anew on the first
    // read (so descriptors of files with equal contents share it), then remembered. Null when it
    // could not be made.
    QString tempPath();
    // Deletes the scratch folder and forgets it; the next tempPath() makes a fresh one.
    void removeTempPath();
    // The folder's entries in file-system order without hidden ones, listed on the first read and
    // then kept. Empty when the path is not a readable folder. Entries whose names are not valid
    // in the file-name encoding are left out: no QString path would reach them.
    const Children& children();

    QUrl url() const;
    QString filename() const;
    // Without the last extension: "a.tar.gz" gives "a.tar".
    QString name() const;
    // Without every extension: "a.tar.gz" gives "a".
    QString simpleName() const;
    QString folder() const;
    // The last extension, lower-cased.
    QString ext() const;
    // The display size of Paths::fileSize().
    QString size() const;
    // "yyyy-MM-dd HH:mm:ss" in local time, or empty when the user may not write the path. The
    // creation date is the birth time where the file system records it, else the modification
    // time.
    QString createDate() const;
    QString modifyDate() const;
    // The freedesktop icon names of the file's MIME type, most specific first; the UI layer turns
    // them into an image. iconName() falls back to the generic name, then to a plain file icon.
    QString iconName() const;
    QString genericIconName() const;

    bool isFolder() const;
    bool isKindle() const;
    bool isTnef() const;
    bool isCHM() const;
    bool isHideFile() const;
    bool isDesktop() const;
    // By extension only: png, tiff, jp2, jpg, jpeg, gif, bmp.
    bool isImage() const;

private:
    QString m_path;
    FileEntry* m_parent = nullptr;
    QString m_tempPath;
    Children m_children;
    bool m_childrenListed = false;
};

} // namespace pallstone
