#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace pallstone {

// A source of folder grants that the location cache consults when it looks for one covering a
// path. The location cache is one such source itself; others can be registered beside it.
class FolderGrantSource
{
public:
    virtual ~FolderGrantSource() = default;

    // The granted folders, in the order they should be tried.
    virtual QStringList availablePaths() = 0;
    // The folder to work through for the granted path, or nothing when the grant no longer holds
    // (the folder is gone, was replaced, or cannot be read).
    virtual std::optional<QString> securityScopedURLForPath(const QString& path) = 0;
};

} // namespace pallstone
