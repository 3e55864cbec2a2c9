#include "Defaults.h"

#include "AtomicFile.h"
#include "FileName.h"

#include "PlistCodec.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pallstone {

namespace {

// Holds the store's lock file exclusively for its lifetime. flock() locks belong to the open file
// description, so two threads of one process exclude each other as two processes do.
class FileLock final
{
public:
    explicit FileLock(const QString& path)
    {
        m_fd = ::open(FileName::encode(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (m_fd < 0)
            return;
        while (::flock(m_fd, LOCK_EX) != 0) {
            if (errno != EINTR) {
                ::close(m_fd);
                m_fd = -1;
                return;
            }
        }
    }
    ~FileLock()
    {
        if (m_fd >= 0)
            ::close(m_fd); // closing releases the lock
    }
    Q_DISABLE_COPY_MOVE(FileLock)
    bool isLocked() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

QByteArray readFile(const QString& path, bool* exists)
{
    QFile file(path);
    *exists = file.exists();
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace

Defaults::Defaults(const QString& filePath) : m_filePath(QFileInfo(filePath).absoluteFilePath()) {}

Defaults::Stamp Defaults::stampOf(const QString& path)
{
    struct stat st
    {};
    if (::stat(FileName::encode(path).constData(), &st) != 0)
        return {};
    Stamp s;
    s.device = static_cast<qint64>(st.st_dev);
    s.inode = static_cast<qint64>(st.st_ino);
    s.size = static_cast<qint64>(st.st_size);
    s.mtimeNs = static_cast<qint64>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
    return s;
}

void Defaults::refreshLocked()
{
    const Stamp now = stampOf(m_filePath);
    if (m_loaded && now == m_stamp)
        return;
    bool exists = false;
    const QByteArray bytes = readFile(m_filePath, &exists);
    // The stamp taken before reading: a change racing with the read is picked up next time.
    m_stamp = now;
    m_loaded = true;
    const Value parsed = PlistCodec::parse(bytes);
    if (parsed.isDictionary()) {
        m_root = parsed;
        m_unreadable = false;
    } else {
        m_root = Value::dictionary({}, false);
        m_unreadable = exists && !bytes.trimmed().isEmpty();
    }
}

void Defaults::reload()
{
    QMutexLocker locker(&m_mutex);
    m_loaded = false;
    refreshLocked();
}

bool Defaults::isUnreadable()
{
    QMutexLocker locker(&m_mutex);
    refreshLocked();
    return m_unreadable;
}

Value Defaults::dictionaryRepresentation()
{
    QMutexLocker locker(&m_mutex);
    refreshLocked();
    return m_root;
}

Value Defaults::object(const QString& key)
{
    QMutexLocker locker(&m_mutex);
    refreshLocked();
    return m_root.value(key);
}

bool Defaults::boolForKey(const QString& key)
{
    return object(key).readBool(false);
}

qint64 Defaults::integerForKey(const QString& key)
{
    return object(key).asInteger();
}

QString Defaults::stringForKey(const QString& key)
{
    const Value v = object(key);
    if (v.isString())
        return v.string();
    if (v.isNumber())
        return v.description();
    return {};
}

Value Defaults::arrayForKey(const QString& key)
{
    const Value v = object(key);
    return v.isArray() ? v : Value();
}

bool Defaults::setObject(const Value& value, const QString& key)
{
    return update([&](Value& root) { root.insert(key, value); });
}

bool Defaults::update(const std::function<void(Value& root)>& change)
{
    QMutexLocker locker(&m_mutex);
    QDir().mkpath(QFileInfo(m_filePath).absolutePath());
    FileLock lock(m_filePath + QStringLiteral(".lock"));
    if (!lock.isLocked())
        return false;
    removeStaleTemporaries();
    // Another process may have written since our last read: start from what is on disk now.
    m_loaded = false;
    refreshLocked();
    Value root = m_root.mutableCopy();
    change(root);
    if (!root.isDictionary())
        return false;
    if (!writeLocked(root))
        return false;
    m_root = root.immutableCopy();
    m_stamp = stampOf(m_filePath);
    return true;
}

void Defaults::removeStaleTemporaries()
{
    // A writer killed between creating its temporary file and renaming it leaves the file behind.
    // Whoever holds the lock knows no write is under way, so any such file is stale.
    const QFileInfo store(m_filePath);
    const QDir dir = store.absoluteDir();
    const QStringList names = dir.entryList({store.fileName() + QStringLiteral(".??????")},
                                            QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names)
        QFile::remove(dir.filePath(name));
}

bool Defaults::writeLocked(const Value& root)
{
    const QByteArray bytes = PlistCodec::toXml(root);
    if (bytes.isEmpty())
        return false;

    // Keep an unreadable store beside the new one instead of destroying what the user had.
    if (m_unreadable) {
        const QString backup =
            m_filePath + QStringLiteral(".unreadable-") +
            QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-hhmmss-zzz"));
        if (!QFile::copy(m_filePath, backup))
            return false;
        m_lastBackup = backup;
        m_unreadable = false;
    }

    // Only the user reads the configuration: it names their folders and applications.
    const QString problem = AtomicFile::write(m_filePath, bytes, 0600);
    if (!problem.isEmpty()) {
        qWarning().noquote() << "pallstone: cannot write" << m_filePath << ':' << problem;
        return false;
    }
    return true;
}

} // namespace pallstone
