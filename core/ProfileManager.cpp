#include "ProfileManager.h"

#include "FileEntry.h"
#include "FileName.h"
#include "FileOperations.h"
#include "MenuStore.h"
#include "Paths.h"
#include "PlistCodec.h"
#include "ZipArchive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace pallstone {

namespace {

const QString kIgnoredFile = QStringLiteral(".DS_Store");
// Beside the four folders in the container, never inside them, so that no profile holds them.
const QString kLockFile = QStringLiteral(".profile.lock");
const QString kStagingPrefix = QStringLiteral(".profile-");

const QStringList& archivedFolders()
{
    static const QStringList folders = {ContainerFolder::appIcons, ContainerFolder::fileTemplates,
                                        ContainerFolder::folderIcons, ContainerFolder::cache};
    return folders;
}

const QStringList& listKeys()
{
    static const QStringList keys = {StoreKey::rightMenu, StoreKey::newFile, StoreKey::commonApp,
                                     StoreKey::folderIcon, StoreKey::commonPath};
    return keys;
}

ProfileManager::Outcome outcome(ProfileManager::Status status, const QString& error = {})
{
    ProfileManager::Outcome result;
    result.status = status;
    result.error = error;
    return result;
}

ProfileManager::Outcome done(const QString& path)
{
    ProfileManager::Outcome result;
    result.status = ProfileManager::Status::Done;
    result.path = path;
    result.name = ProfileManager::nameOfFile(Paths::lastPathComponent(path));
    return result;
}

// Held while a save or a switch works. An exclusive lock on an open file of its own, so that it
// also keeps out a second job of the same process.
class JobLock final
{
public:
    JobLock()
    {
        const QByteArray path = FileName::encode(MenuStore::sharedFolder() + u'/' + kLockFile);
        m_fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (m_fd >= 0 && ::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
            ::close(m_fd);
            m_fd = -1;
        }
    }
    ~JobLock()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    JobLock(const JobLock&) = delete;
    JobLock& operator=(const JobLock&) = delete;

    bool held() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

// A folder of one job's own in the container (for QTemporaryDir): nothing of a job that fails is
// left where a switch or the profile list would find it.
QString stagingTemplate()
{
    return MenuStore::sharedFolder() + u'/' + kStagingPrefix + QStringLiteral("XXXXXX");
}

// Folders of jobs that ended without tidying up (the program was killed). Called with the job
// lock held, when no other job can be using one.
void removeStaleStaging()
{
    const QString container = MenuStore::sharedFolder();
    const QStringList stale =
        QDir(container).entryList({kStagingPrefix + u'*'}, QDir::Dirs | QDir::Hidden);
    for (const QString& name : stale)
        Paths::remove(container + u'/' + name);
}

QString placeError(const QString& error)
{
    return error.isEmpty() ? QStringLiteral("no free name") : error;
}

// Copies or moves the item into the folder under the file name, made unique; another item
// arriving at the chosen name meanwhile is never replaced. The path it got, or a null string.
QString placeUnique(const QString& source, const QString& folder, const QString& fileName,
                    bool move, QString* error)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString target = Paths::uniquePath(folder + u'/' + fileName);
        const bool placed = move ? FileOperations::moveItem(source, target, error)
                                 : FileOperations::copyItem(source, target, error);
        if (placed)
            return target;
        if (!FileOperations::exists(target))
            return {};
    }
    return {};
}

struct Fd
{
    int fd = -1;
    explicit Fd(int descriptor) : fd(descriptor) {}
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

// Moves everything below from into to: folders are merged, files replace what has their name.
// Only plain files and folders are moved, and nothing is reached through a link on either side.
bool mergeInto(int from, int to, QString* error)
{
    DIR* dir = ::fdopendir(::fcntl(from, F_DUPFD_CLOEXEC, 0));
    if (!dir) {
        *error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    QList<QByteArray> names;
    while (const dirent* entry = ::readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            names.append(QByteArray(entry->d_name));
    }
    ::closedir(dir);
    for (const QByteArray& name : names) {
        struct stat st = {};
        if (::fstatat(from, name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        if (S_ISREG(st.st_mode)) {
            if (::renameat(from, name.constData(), to, name.constData()) != 0) {
                *error =
                    QStringLiteral("cannot replace %1: %2")
                        .arg(FileName::decode(name), QString::fromLocal8Bit(std::strerror(errno)));
                return false;
            }
            continue;
        }
        if (!S_ISDIR(st.st_mode))
            continue;
        // A stored folder may be unreadable to its owner; ours is only a way through.
        ::fchmodat(from, name.constData(), (st.st_mode & 07777) | S_IRWXU, 0);
        const Fd source(
            ::openat(from, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (::mkdirat(to, name.constData(), st.st_mode & 0777) != 0 && errno != EEXIST) {
            *error = QString::fromLocal8Bit(std::strerror(errno));
            return false;
        }
        Fd target(::openat(to, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (target.fd < 0) {
            // A file or a link where the profile has a folder: the profile's folder replaces it.
            struct stat there = {};
            if (::fstatat(to, name.constData(), &there, AT_SYMLINK_NOFOLLOW) == 0 &&
                !S_ISDIR(there.st_mode) && ::unlinkat(to, name.constData(), 0) == 0 &&
                ::mkdirat(to, name.constData(), st.st_mode & 0777) == 0)
                target.fd =
                    ::openat(to, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        }
        if (source.fd < 0 || target.fd < 0) {
            *error = QStringLiteral("cannot restore the folder %1").arg(FileName::decode(name));
            return false;
        }
        if (!mergeInto(source.fd, target.fd, error))
            return false;
    }
    return true;
}

bool mergeFolder(const QString& from, const QString& to, QString* error)
{
    const Fd source(::open(FileName::encode(from).constData(),
                           O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    const Fd target(
        ::open(FileName::encode(to).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (source.fd < 0 || target.fd < 0) {
        *error = QStringLiteral("cannot open %1").arg(source.fd < 0 ? from : to);
        return false;
    }
    return mergeInto(source.fd, target.fd, error);
}

// The same item in this container for a path that names one of the four folders (a profile
// saved here or on another machine), when it exists here as a plain file or folder; else empty.
QString containedPath(const QString& path)
{
    const QStringList parts = path.split(u'/', Qt::SkipEmptyParts);
    for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
        if (!archivedFolders().contains(parts.at(i)))
            continue;
        const QStringList rest = parts.mid(i + 1);
        if (rest.contains(QStringLiteral(".")) || rest.contains(QStringLiteral("..")))
            return {};
        const QString candidate =
            MenuStore::sharedFolder() + u'/' + parts.at(i) + u'/' + rest.join(u'/');
        struct stat st = {};
        if (::lstat(FileName::encode(candidate).constData(), &st) == 0 &&
            (S_ISREG(st.st_mode) || S_ISDIR(st.st_mode)) && MenuStore::isInsideContainer(candidate))
            return candidate;
    }
    return {};
}

Value containedRecords(const Value& list)
{
    if (!list.isArray())
        return list;
    Value result = Value::array();
    for (const Value& element : list.list()) {
        if (!element.isDictionary()) {
            result.append(element);
            continue;
        }
        Value record = element.mutableCopy();
        for (const QString& field : {QStringLiteral("iconPath"), QStringLiteral("templatePath")}) {
            const Value value = record.value(field);
            if (value.isString() && !value.string().isEmpty())
                record.insert(field, containedPath(value.string()));
        }
        result.append(record);
    }
    return result;
}

// What a profile may unpack. A configuration is kilobytes, a picture or a template a few
// megabytes; a profile beyond these is refused before it fills the disk or the memory.
constexpr qint64 kMaxConfigBytes = 4 * 1024 * 1024;
constexpr qint64 kMaxEntryBytes = 64 * 1024 * 1024;
constexpr qint64 kMaxProfileBytes = 256 * 1024 * 1024;
constexpr qsizetype kMaxRecords = 10000;

// Why the configuration cannot be applied as it stands; empty when it can. Only the restored keys
// count, and each must have the type the programs read it as: a list of records, a number, or a
// yes or no (a number too, as the store keeps booleans).
QString configProblem(const Value& config)
{
    if (!config.isDictionary())
        return QStringLiteral("%1 is not a property list of settings")
            .arg(ProfileManager::kConfigFileName);
    for (const QString& key : ProfileManager::restoredKeys()) {
        const Value value = config.value(key);
        if (value.isMissing())
            continue;
        if (listKeys().contains(key)) {
            if (!value.isArray())
                return QStringLiteral("\"%1\" is not a list").arg(key);
            if (value.list().size() > kMaxRecords)
                return QStringLiteral("\"%1\" holds more than %2 entries")
                    .arg(key)
                    .arg(kMaxRecords);
            for (const Value& element : value.list()) {
                if (!element.isDictionary())
                    return QStringLiteral("\"%1\" holds an entry that is not a record").arg(key);
            }
        } else if (!value.isNumber()) {
            return QStringLiteral("\"%1\" is not a number or a yes/no value").arg(key);
        }
    }
    return {};
}

// Unpacks the profile into staging and reads its configuration: the one check that both import
// and switch make, so that a profile in the list is one that can be switched to. Done, NotAProfile
// with what is wrong with it, or Failed when the disk refused.
ProfileManager::Outcome readProfile(const QString& path, const QString& staging, Value* config)
{
    using Status = ProfileManager::Status;
    QString error;
    if (!ProfileManager::isProfileArchive(path))
        return outcome(Status::NotAProfile);
    bool damaged = false;
    const ZipArchive::Limits limits{kMaxEntryBytes, kMaxProfileBytes};
    if (!ZipArchive::unzipFileAtPath(
            path, staging, true, ProfileManager::kPassword, {},
            [&](const QString&, bool, const QString& why) { error = why; }, limits, &damaged))
        return outcome(damaged ? Status::NotAProfile : Status::Failed,
                       QStringLiteral("cannot extract: %1").arg(error));
    QFile file(staging + u'/' + ProfileManager::kConfigFileName);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxConfigBytes)
        return outcome(Status::NotAProfile, QStringLiteral("%1 is missing or larger than %2 MB")
                                                .arg(ProfileManager::kConfigFileName)
                                                .arg(kMaxConfigBytes / (1024 * 1024)));
    *config = PlistCodec::parse(file.read(kMaxConfigBytes));
    if (const QString problem = configProblem(*config); !problem.isEmpty())
        return outcome(Status::NotAProfile, problem);
    return outcome(Status::Done);
}

} // namespace

const QString ProfileManager::kPassword = QStringLiteral("481930275516");
const QString ProfileManager::kConfigFileName = QStringLiteral("config.plist");
const QString ProfileManager::kCurrentNameKey = QStringLiteral("current config name");

const QStringList& ProfileManager::restoredKeys()
{
    static const QStringList keys = {
        StoreKey::openNewFile,        StoreKey::commonPath,   StoreKey::newFile,
        StoreKey::commonApp,          StoreKey::folderIcon,   StoreKey::rightMenu,
        QStringLiteral("pref check"), StoreKey::prefCheck(0), StoreKey::prefCheck(1),
        StoreKey::prefCheck(2),       StoreKey::prefCheck(3), StoreKey::prefCheck(4),
        StoreKey::prefCheck(5),       StoreKey::prefCheck(6), StoreKey::commonPathNextMenu,
    };
    return keys;
}

Defaults& ProfileManager::appDefaults()
{
    static Defaults defaults(MenuStore::programStorePath(MenuStore::Program::Settings));
    return defaults;
}

QString ProfileManager::nameOfFile(const QString& fileName)
{
    if (Paths::pathExtension(fileName).compare(u"zip", Qt::CaseInsensitive) == 0)
        return Paths::deletingPathExtension(fileName);
    return fileName;
}

QList<ProfileManager::Profile> ProfileManager::list()
{
    {
        // Scratch files of a job that was killed (a crash of the reader, a memory limit) go as
        // soon as the profiles are looked at, when no job runs.
        const JobLock lock;
        if (lock.held())
            removeStaleStaging();
    }
    const QString folder = MenuStore::configManagerFolder();
    QList<Profile> profiles;
    const QStringList files =
        QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoSymLinks, QDir::Name);
    for (const QString& file : files) {
        if (file == kIgnoredFile)
            continue;
        const QString path = folder + u'/' + file;
        profiles.append({nameOfFile(file), path, FileEntry(path).createDate()});
    }
    return profiles;
}

ProfileManager::Profile ProfileManager::find(const QString& name)
{
    const QList<Profile> profiles = list();
    for (const Profile& profile : profiles) {
        if (profile.name == name)
            return profile;
    }
    // "Home.zip" also finds the profile "Home".
    for (const Profile& profile : profiles) {
        if (Paths::lastPathComponent(profile.path) == name)
            return profile;
    }
    return {};
}

QString ProfileManager::currentName()
{
    return appDefaults().stringForKey(kCurrentNameKey);
}

bool ProfileManager::isProfileArchive(const QString& path)
{
    if (!QFileInfo(path).isFile() || !ZipArchive::isPasswordValidForArchiveAtPath(path, kPassword))
        return false;
    return ZipArchive::entryNames(path).contains(kConfigFileName);
}

ProfileManager::Outcome ProfileManager::save(const QString& name)
{
    if (!Paths::isPlainName(name))
        return outcome(Status::InvalidName);
    const JobLock lock;
    if (!lock.held())
        return outcome(Status::Busy);
    removeStaleStaging();
    // The copy of the store and the archive are made in a folder of this job's own: nothing of
    // a failed save is left where a switch or the profile list would find it.
    const QTemporaryDir staging(stagingTemplate());
    if (!staging.isValid())
        return outcome(Status::Failed, staging.errorString());
    const QString copy = staging.filePath(kConfigFileName);
    const QString store = MenuStore::sharedStorePath();
    if (!QFile::copy(store, copy))
        return outcome(Status::Failed, QStringLiteral("cannot copy %1").arg(store));

    ZipArchive archive;
    archive.setSavePath(staging.filePath(QStringLiteral("archive")));
    const QStringList paths = {MenuStore::appIconFolder(), MenuStore::fileTemplateFolder(),
                               MenuStore::folderIconFolder(), MenuStore::cacheFolder(), copy};
    if (!archive.startCompressWithPaths(paths, kPassword, {}))
        return outcome(Status::Failed, QStringLiteral("cannot write the archive"));
    QString error;
    const QString placed =
        placeUnique(archive.savePath(), MenuStore::configManagerFolder(), name, true, &error);
    if (placed.isNull())
        return outcome(Status::Failed, placeError(error));
    return done(placed);
}

ProfileManager::Outcome ProfileManager::switchTo(const QString& name)
{
    const JobLock lock;
    if (!lock.held())
        return outcome(Status::Busy);
    const Profile profile = find(name);
    if (profile.path.isNull())
        return outcome(Status::NoSuchProfile);
    removeStaleStaging();
    const QString container = MenuStore::sharedFolder();
    // A copy of the store left in the container by an earlier program is never applied.
    QFile::remove(container + u'/' + kConfigFileName);

    // Extracted apart first: the configuration changes only once the whole profile is read and
    // has passed.
    const QTemporaryDir staging(stagingTemplate());
    if (!staging.isValid())
        return outcome(Status::Failed, staging.errorString());
    Value config;
    if (const Outcome read = readProfile(profile.path, staging.path(), &config); !read.ok())
        return read;
    QString error;
    for (const QString& folder : archivedFolders()) {
        const QString target = MenuStore::createFolderName(folder);
        const QString extracted = staging.filePath(folder);
        if (QFileInfo(extracted).isDir() && !QFileInfo(extracted).isSymLink() &&
            !mergeFolder(extracted, target, &error))
            return outcome(Status::Failed, error);
    }
    const bool stored = MenuStore::sharedDefaults().update([&](Value& root) {
        for (const QString& key : restoredKeys()) {
            if (!config.contains(key))
                continue;
            const Value value = config.value(key);
            root.insert(key, listKeys().contains(key) ? containedRecords(value) : value);
        }
    });
    if (!stored)
        return outcome(Status::Failed, QStringLiteral("cannot write the configuration"));
    appDefaults().setObject(profile.name, kCurrentNameKey);
    Outcome result = done(profile.path);
    result.name = profile.name;
    return result;
}

ProfileManager::Outcome ProfileManager::rename(const QString& oldName, const QString& newName)
{
    if (!Paths::isPlainName(newName))
        return outcome(Status::InvalidName);
    const Profile profile = find(oldName);
    if (profile.path.isNull())
        return outcome(Status::NoSuchProfile);
    if (newName == profile.name) {
        Outcome same = done(profile.path);
        same.name = profile.name;
        return same;
    }
    const bool wasCurrent = currentName() == profile.name;
    QString error;
    const QString placed =
        placeUnique(profile.path, MenuStore::configManagerFolder(), newName, true, &error);
    if (placed.isNull())
        return outcome(Status::Failed, placeError(error));
    const Outcome result = done(placed);
    if (wasCurrent)
        appDefaults().setObject(result.name, kCurrentNameKey);
    return result;
}

ProfileManager::Outcome ProfileManager::remove(const QString& name)
{
    const Profile profile = find(name);
    if (profile.path.isNull())
        return outcome(Status::NoSuchProfile);
    QFile file(profile.path);
    if (!file.remove())
        return outcome(Status::Failed, file.errorString());
    Outcome result = done(profile.path);
    result.name = profile.name;
    return result;
}

ProfileManager::Outcome ProfileManager::exportTo(const QString& name, const QString& folder)
{
    const Profile profile = find(name);
    if (profile.path.isNull())
        return outcome(Status::NoSuchProfile);
    if (!QFileInfo(folder).isDir())
        return outcome(Status::Failed, QStringLiteral("%1 is not a folder").arg(folder));
    QString error;
    const QString placed =
        placeUnique(profile.path, folder, Paths::lastPathComponent(profile.path), false, &error);
    if (placed.isNull())
        return outcome(Status::Failed, placeError(error));
    return done(placed);
}

ProfileManager::Outcome ProfileManager::importFrom(const QString& file)
{
    if (!QFileInfo(file).isFile())
        return outcome(Status::NoSuchProfile);
    const JobLock lock;
    if (!lock.held())
        return outcome(Status::Busy);
    removeStaleStaging();
    {
        // Read as a switch reads it, then thrown away.
        const QTemporaryDir staging(stagingTemplate());
        if (!staging.isValid())
            return outcome(Status::Failed, staging.errorString());
        Value config;
        if (const Outcome read = readProfile(file, staging.path(), &config); !read.ok())
            return read;
    }
    // The file itself, not a link to it, under the name it was chosen by.
    const QString source = QFileInfo(file).canonicalFilePath();
    QString error;
    const QString placed = placeUnique(source, MenuStore::configManagerFolder(),
                                       Paths::lastPathComponent(file), false, &error);
    if (placed.isNull())
        return outcome(Status::Failed, placeError(error));
    return done(placed);
}

} // namespace pallstone
