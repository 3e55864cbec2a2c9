#pragma once

#include "Value.h"

#include <QMutex>
#include <QString>

#include <functional>

namespace pallstone {

// A key-value store kept in an XML property-list file, shared between processes.
//
// Reads parse the file again only when it changed (device, inode, size, modification time), so the
// extension sees every change at its next menu at the cost of one stat(). Writes take an exclusive
// lock on a lock file beside the store, re-read the file, apply their change, and replace the file
// atomically (temporary file, fsync, rename): two processes writing different keys never lose each
// other's change, and a crash mid-write leaves the old or the new file.
class Defaults final
{
public:
    explicit Defaults(const QString& filePath);
    Q_DISABLE_COPY_MOVE(Defaults)

    QString filePath() const { return m_filePath; }

    // The whole store as a dictionary (empty when the file is missing or unreadable).
    Value dictionaryRepresentation();
    // The top-level value under the key; keys are plain, never key paths.
    Value object(const QString& key);
    bool boolForKey(const QString& key);
    qint64 integerForKey(const QString& key);
    QString stringForKey(const QString& key);
    Value arrayForKey(const QString& key); // an array, or missing

    // Stores the value under the key; a missing value removes the key. False when the file could
    // not be written (the store on disk is then unchanged).
    bool setObject(const Value& value, const QString& key);
    bool removeObject(const QString& key) { return setObject(Value(), key); }
    // A read-modify-write of the whole store under the lock: the function sees the current file's
    // contents (as a mutable dictionary) and changes them in place.
    bool update(const std::function<void(Value& root)>& change);

    // True when the file exists and holds bytes but no dictionary: it reads as empty until the
    // next write replaces it (keeping a copy).
    bool isUnreadable();

    // Parses the file again even if it looks unchanged.
    void reload();

    // The file's identity and state (device, inode, size, modification time): while it stays the
    // same, so does the store. A view remembers the stamp it was built from to know whether it
    // needs building again.
    struct Stamp
    {
        qint64 device = -1;
        qint64 inode = -1;
        qint64 size = -1;
        qint64 mtimeNs = -1;
        bool operator==(const Stamp&) const = default;
    };
    Stamp currentStamp() const { return stampOf(m_filePath); }

    // Where an unreadable store was kept before it was replaced, for the user to recover from.
    // Empty when no such copy was made by this object.
    QString lastBackupPath() const { return m_lastBackup; }

private:
    static Stamp stampOf(const QString& path);
    void refreshLocked();
    bool writeLocked(const Value& root);
    void removeStaleTemporaries();

    const QString m_filePath;
    QMutex m_mutex;
    Stamp m_stamp;
    bool m_loaded = false; // m_root reflects the file as of m_stamp
    Value m_root;
    bool m_unreadable = false; // the file exists, holds bytes, but no dictionary
    QString m_lastBackup;
};

} // namespace pallstone
