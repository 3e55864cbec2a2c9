#include "FolderGrants.h"

#include "Defaults.h"
#include "FileName.h"
#include "MenuStore.h"
#include "Paths.h"
#include "Strings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <sys/stat.h>
#include <unistd.h>

namespace pallstone {

namespace {

const QString kCachedURLsKey = QStringLiteral("tq cached urls");
const QString kDevice = QStringLiteral("dev");
const QString kInode = QStringLiteral("ino");

struct Identity
{
    qint64 device = 0;
    qint64 inode = 0;
};

// The folder's device and inode; nothing when no folder is there (a final link is followed).
std::optional<Identity> folderIdentity(const QString& path)
{
    struct stat st = {};
    if (path.isEmpty() || ::stat(FileName::encode(path).constData(), &st) != 0 ||
        !S_ISDIR(st.st_mode))
        return std::nullopt;
    // Both are unsigned on Linux; the bit pattern is kept, so a value above the signed range
    // survives the property list's signed integers.
    return Identity{static_cast<qint64>(st.st_dev), static_cast<qint64>(st.st_ino)};
}

bool isReadable(const QString& path)
{
    return ::access(FileName::encode(path).constData(), R_OK) == 0;
}

Value bookmarkFor(const QString& folder)
{
    const std::optional<Identity> identity = folderIdentity(folder);
    if (!identity)
        return {};
    Value bookmark = Value::dictionary();
    bookmark.insert(kDevice, identity->device);
    bookmark.insert(kInode, identity->inode);
    return bookmark;
}

// Whether the grant stored for the folder still holds. A token of another shape (written by hand,
// or by another version) never does, but is kept in the store untouched.
bool bookmarkResolves(const QString& folder, const Value& bookmark)
{
    if (!bookmark.isDictionary())
        return false;
    const Value device = bookmark.value(kDevice);
    const Value inode = bookmark.value(kInode);
    if (device.kind() != Value::Kind::Integer || inode.kind() != Value::Kind::Integer)
        return false;
    const std::optional<Identity> identity = folderIdentity(folder);
    return identity && identity->device == device.integer() && identity->inode == inode.integer() &&
           isReadable(folder);
}

// The absolute path with "~", "." and ".." dealt with; a null QString for a relative path.
QString standardized(const QString& path)
{
    if (path.isEmpty())
        return {};
    const QString result = Paths::standardizedPath(path);
    return QDir::isAbsolutePath(result) ? result : QString();
}

// The path as the grants are stored: symbolic links resolved. Of a path that does not exist
// (a file about to be made) the part that exists is resolved, so that "link/new.txt" is still
// found under the grant of the link's target.
QString resolved(const QString& path)
{
    const QString plain = standardized(path);
    if (plain.isEmpty())
        return {};
    QString existing = plain;
    QString rest;
    while (true) {
        const QString canonical = QFileInfo(existing).canonicalFilePath();
        if (!canonical.isEmpty())
            return rest.isEmpty() ? canonical : (canonical == u"/" ? QString() : canonical) + rest;
        if (existing == u"/")
            return plain;
        const qsizetype slash = existing.lastIndexOf(u'/');
        rest = existing.mid(slash) + rest;
        existing = slash == 0 ? QStringLiteral("/") : existing.left(slash);
    }
}

// A suite name becomes a file name beside the program's store, so it must stay one component.
bool isUsableSuiteName(const QString& name)
{
    return Strings::isValid(name) && !name.contains(u'/') && name != u"." && name != u"..";
}

} // namespace

FolderGrants& FolderGrants::sharedInstance()
{
    static FolderGrants instance;
    return instance;
}

FolderGrants::FolderGrants(const QString& suiteName)
{
    setSuiteName(suiteName);
}

FolderGrants::~FolderGrants() = default;

void FolderGrants::setSuiteName(const QString& name)
{
    m_suiteName = name;
    const QString own = MenuStore::programStorePath(MenuStore::Program::Extension);
    const QString path =
        isUsableSuiteName(name) ? QFileInfo(own).absolutePath() + u'/' + name + u".plist" : own;
    m_defaults = std::make_unique<Defaults>(path);

    // The grants of the store now opened replace those held: keeping the others would copy them
    // into this store at the next write.
    m_cachedBookmarks.clear();
    const Value stored = m_defaults->object(kCachedURLsKey);
    if (stored.isDictionary())
        m_cachedBookmarks = stored.map();

    if (std::find(m_providers.begin(), m_providers.end(), this) == m_providers.end())
        m_providers.insert(m_providers.begin(), this);
}

QString FolderGrants::storePath() const
{
    return m_defaults->filePath();
}

void FolderGrants::addURLProvider(FolderGrantSource* provider)
{
    if (provider)
        m_providers.push_back(provider);
}

void FolderGrants::removeURLProvider(FolderGrantSource* provider)
{
    std::erase(m_providers, provider);
}

bool FolderGrants::saveSecurityURL(const QString& path)
{
    const QString plain = standardized(path);
    if (plain.isEmpty())
        return false;
    const QString folder = QFileInfo(plain).canonicalFilePath();
    if (folder.isEmpty())
        return false;

    // The first grant stays while it holds. One that no longer holds (the folder was replaced)
    // would otherwise block the user's new choice for good: every later operation in the folder
    // would ask again and the answer would never be kept.
    const auto existing = m_cachedBookmarks.constFind(folder);
    if (existing != m_cachedBookmarks.cend() && bookmarkResolves(folder, existing.value()))
        return true;

    const Value bookmark = bookmarkFor(folder);
    if (bookmark.isMissing())
        return false;

    for (auto it = m_cachedBookmarks.begin(); it != m_cachedBookmarks.end();) {
        if (covers(folder, it.key()))
            it = m_cachedBookmarks.erase(it);
        else
            ++it;
    }
    m_cachedBookmarks.insert(folder, bookmark);
    return writeBookmarks();
}

bool FolderGrants::saveSecurityURL(const QUrl& url)
{
    return url.isLocalFile() && saveSecurityURL(url.toLocalFile());
}

bool FolderGrants::removeCachedPath(const QString& path)
{
    // Both forms: a granted folder that no longer exists can only be named by its plain path.
    const QString plain = standardized(path);
    const QString real = resolved(path);
    if (plain.isEmpty())
        return false;
    for (auto it = m_cachedBookmarks.begin(); it != m_cachedBookmarks.end(); ++it) {
        if (covers(plain, it.key()) || covers(real, it.key())) {
            m_cachedBookmarks.erase(it);
            writeBookmarks();
            return true;
        }
    }
    return false;
}

void FolderGrants::clearAllCached()
{
    m_cachedBookmarks.clear();
    writeBookmarks();
}

QStringList FolderGrants::cachedPaths() const
{
    return m_cachedBookmarks.keys();
}

QStringList FolderGrants::availablePaths()
{
    return cachedPaths();
}

std::optional<QString> FolderGrants::securityScopedURLForPath(const QString& path)
{
    const auto it = m_cachedBookmarks.constFind(path);
    if (it == m_cachedBookmarks.cend() || !bookmarkResolves(path, it.value()))
        return std::nullopt;
    return path;
}

std::optional<QString> FolderGrants::urlWithAllowAccessToPath(const QString& path)
{
    const QString target = resolved(path);
    if (target.isEmpty())
        return std::nullopt;
    // A provider may register or remove providers while it is asked.
    const std::vector<FolderGrantSource*> providers = m_providers;
    for (FolderGrantSource* provider : providers) {
        for (const QString& granted : provider->availablePaths()) {
            if (!covers(granted, target))
                continue;
            if (std::optional<QString> url = provider->securityScopedURLForPath(granted))
                return url;
        }
    }
    return std::nullopt;
}

std::optional<QString> FolderGrants::urlWithAllowAccessToURL(const QUrl& url)
{
    if (!url.isLocalFile())
        return std::nullopt;
    return urlWithAllowAccessToPath(url.toLocalFile());
}

bool FolderGrants::startAccessing(const QString& path)
{
    return folderIdentity(path).has_value() && isReadable(path);
}

bool FolderGrants::covers(const QString& granted, const QString& path)
{
    // An empty or relative key (a hand-edited store) must not cover every path.
    if (!granted.startsWith(u'/') || !path.startsWith(granted))
        return false;
    return path.size() == granted.size() || granted.size() == 1 || path.at(granted.size()) == u'/';
}

bool FolderGrants::writeBookmarks()
{
    return m_defaults->setObject(Value(m_cachedBookmarks), kCachedURLsKey);
}

} // namespace pallstone
