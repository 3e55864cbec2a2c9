#pragma once

#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>

namespace pallstone {

// Bounds of an extraction, in bytes unpacked; -1 is none.
struct UnzipLimits
{
    qint64 entryBytes = -1;
    qint64 totalBytes = -1;
};

// Writes a zip archive of a list of files and folders, optionally protected with a password
// (WinZip AES-256), reports progress item by item and can be stopped; and reads archives back for
// the settings application's profiles. One instance serves one compression job.
//
// Progress protocol of a job, in order:
//   (0, 0)          the job has started; always the first call
//   (n, total)      n items handled out of total, n = 1 ... total, each n once
//   (n, -1)         failed after n items; nothing of this job remains at savePath
//   (n, -2)         cancelled after n items; nothing of this job remains at savePath
// A successful job makes no further call: its last call is (total, total), or only (0, 0) when the
// selection holds nothing to count (only empty folders). Every job leaves a valid archive when it
// succeeds, an empty one included.
//
// Items: a file counts one; a folder counts each of its descendants (a selected folder itself
// counts nothing). A folder that is not empty gets no entry of its own, an empty folder below a
// selected one gets a directory entry, and the archive itself is never added: the new archive
// appears only once it is complete, and an earlier file at the save path inside a selected folder
// is counted and left out. Inside folders links are not followed: a link to a file is archived as
// that file's contents, any other link, and pipes, sockets and devices, are counted and left out.
class ZipArchive final
{
public:
    // (completed, total) as above; called on the thread that runs the job.
    using ProgressHandler = std::function<void(qint64 completed, qint64 total)>;
    // Extraction: the entry's name as stored, its number (1 ... total) once it is handled.
    using EntryHandler =
        std::function<void(const QString& entry, qint64 entryNumber, qint64 total)>;
    using CompletionHandler =
        std::function<void(const QString& path, bool succeeded, const QString& error)>;

    ZipArchive() = default;
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    QString savePath() const { return m_savePath; }
    // Set before the job starts; the job reads it from its own thread.
    void setSavePath(const QString& path) { m_savePath = path; }
    bool isCancel() const { return m_isCancel.load(std::memory_order_relaxed); }
    void setIsCancel(bool cancel) { m_isCancel.store(cancel, std::memory_order_relaxed); }

    // Writes the archive at savePath() on the calling thread, calling the handler on it; callers
    // run it on the background queue. A password that is empty means no encryption; any other is
    // used exactly as given (the interactive entry decides what counts as blank). Returns true
    // when the job succeeded. A save path that is one of the selected paths is refused (failure,
    // nothing touched): the archive would replace its own input.
    bool startCompressWithPaths(const QStringList& paths, const QString& password,
                                const ProgressHandler& progressHandler);
    // Any thread. The job stops within the item it is writing.
    void stopCompress() { setIsCancel(true); }

    // True when the archive opens and has no encrypted entry, or its first encrypted entry opens
    // with the password and its first bytes decode. False when the archive cannot be opened or the
    // password does not fit; error then says why.
    static bool isPasswordValidForArchiveAtPath(const QString& path, const QString& password,
                                                QString* error = nullptr);

    // The names of the archive's entries as stored, in archive order; opened tells whether the
    // archive could be read at all.
    static QStringList entryNames(const QString& path, bool* opened = nullptr);

    // Extracts every entry below destination (made when missing), on the calling thread. Only
    // plain files and folders are written: names are taken apart at "/" and "\", "." and ".."
    // components are resolved as if from the root, so nothing lands outside destination; link
    // entries and "__MACOSX/" entries are skipped; links already inside destination are never
    // followed. Existing files are replaced when overwrite is set, kept otherwise. Modification
    // times and permissions are restored (permissions without set-id bits). The completion runs
    // once at the end; the result is returned as well.
    //
    // Limits bound what is written: an entry or the whole that would unpack to more stops the
    // extraction there (a few hundred bytes of archive can unpack to gigabytes). *damaged tells
    // whether a failure lay in the archive (unreadable, a limit passed, a checksum wrong, entries
    // this zip library cannot verify) rather than in writing the files.
    using Limits = UnzipLimits;
    static bool unzipFileAtPath(const QString& path, const QString& destination, bool overwrite,
                                const QString& password, const EntryHandler& progressHandler,
                                const CompletionHandler& completionHandler,
                                const Limits& limits = {}, bool* damaged = nullptr);

private:
    QString m_savePath;
    std::atomic<bool> m_isCancel{false};
};

} // namespace pallstone
