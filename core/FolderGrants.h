#pragma once

#include "FolderGrantSource.h"
#include "Value.h"

#include <QString>
#include <QStringList>
#include <QUrl>

#include <memory>
#include <optional>
#include <vector>

namespace pallstone {

class Defaults;

// The folders the user has allowed the extension to work in, kept across runs.
//
// A grant is stored under "tq cached urls" as the folder's canonical path mapped to its identity,
// a dictionary {"dev": device number, "ino": inode number}. A grant holds while a readable folder
// with that path and that identity exists: a folder deleted and made again at the same path is
// another folder and does not inherit the grant. Whether a grant holds is checked each time it is
// asked for (one stat), so this is true within a running process too.
//
// A grant covers its folder and everything below it ("/a" covers "/a" and "/a/b", not "/ab"; "/"
// covers everything). Granting a folder replaces the grants inside it; a folder inside a granted
// one is stored beside it.
//
// Used from the main thread only.
class FolderGrants final : public FolderGrantSource
{
public:
    // The extension's own cache, kept in the extension program's defaults.
    static FolderGrants& sharedInstance();

    // A cache on the suite named (see setSuiteName()); the programs use sharedInstance().
    explicit FolderGrants(const QString& suiteName = QString());
    ~FolderGrants() override;
    Q_DISABLE_COPY_MOVE(FolderGrants)

    // Where the grants are kept: for an empty or unusable name the extension program's own
    // defaults file, else "<name>.plist" beside it. A name holding "/" or equal to "." or ".." is
    // unusable. The grants held so far are replaced by those stored there, and the cache registers
    // itself as the first provider if it is not registered yet.
    void setSuiteName(const QString& name);
    QString storePath() const;

    // Providers are consulted in registration order and are not owned; removal goes by identity.
    void addURLProvider(FolderGrantSource* provider);
    void removeURLProvider(FolderGrantSource* provider);

    // Records the folder the user has just chosen. The folder's symbolic links are resolved first,
    // so that a later question about a path inside it, resolved the same way, finds the grant.
    // A folder that already holds a grant keeps that grant (and the grants stored inside it since);
    // a grant that no longer holds is replaced. False when the folder does not exist or the
    // grant could not be written to the store.
    bool saveSecurityURL(const QString& path);
    bool saveSecurityURL(const QUrl& url);

    // Removes the first grant (in path order) for the folder or for a folder below it; only that
    // one. True when one was removed.
    bool removeCachedPath(const QString& path);
    void clearAllCached();

    QStringList cachedPaths() const;

    // FolderGrantSource: the granted folders, and the folder itself while its grant holds.
    QStringList availablePaths() override;
    std::optional<QString> securityScopedURLForPath(const QString& path) override;

    // The granted folder whose grant covers the path (symbolic links in the path resolved first),
    // asking each provider in turn; grants that no longer hold are passed over.
    std::optional<QString> urlWithAllowAccessToPath(const QString& path);
    std::optional<QString> urlWithAllowAccessToURL(const QUrl& url);

    // Work may begin in the granted folder: it exists and can be read.
    static bool startAccessing(const QString& path);

    // Whether the grant for the folder granted covers path (both absolute, without trailing "/").
    static bool covers(const QString& granted, const QString& path);

private:
    bool writeBookmarks();

    QString m_suiteName;
    std::unique_ptr<Defaults> m_defaults;
    Value::Map m_cachedBookmarks;
    std::vector<FolderGrantSource*> m_providers;
};

} // namespace pallstone
