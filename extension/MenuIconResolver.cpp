#include "MenuIconResolver.h"

#include "IconCatalog.h"
#include "IconThemeIndex.h"
#include "Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>

namespace pallstone {

namespace {

// The bundled image as a file: the installed copy when there is one, else a copy in our caches
// folder made once per process.
QString bundledPath(const QString& name)
{
    static QMutex mutex;
    static QHash<QString, QString> known;
    QMutexLocker locker(&mutex);
    if (auto it = known.constFind(name); it != known.constEnd())
        return *it;
    QString path;
    const QString installed = QStringLiteral(PALLSTONE_DATADIR "/icons/") + name + u".svg";
    const QString resource = IconCatalog::bundledFile(name);
    if (QFileInfo::exists(installed)) {
        path = installed;
    } else if (!resource.isEmpty()) {
        const QString folder = Paths::cachesFolder() + QStringLiteral("/icons");
        QDir().mkpath(folder);
        const QString target = folder + u'/' + name + u".svg";
        QFile source(resource);
        if (source.open(QIODevice::ReadOnly)) {
            const QByteArray bytes = source.readAll();
            QFile out(target);
            const bool same = out.open(QIODevice::ReadOnly) && out.readAll() == bytes;
            out.close();
            if (same || (out.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                         out.write(bytes) == bytes.size()))
                path = target;
        }
    }
    known.insert(name, path);
    return path;
}

} // namespace

QString MenuIconResolver::resolve(const MenuIcon& icon)
{
    switch (icon.kind) {
    case MenuIcon::Kind::None:
        return {};
    case MenuIcon::Kind::File:
        return icon.value;
    case MenuIcon::Kind::Resource:
        break;
    }
    // A name the index cannot answer yet (the service has just started) gets our own picture
    // rather than a wait.
    for (const QString& theme : IconCatalog::themeNames(icon.value)) {
        if (IconThemeIndex::instance().contains(theme).value_or(false))
            return theme;
    }
    return bundledPath(icon.value);
}

} // namespace pallstone
