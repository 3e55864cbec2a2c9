#include "CustomIcons.h"

#include "DirectoryFile.h"
#include "FileName.h"
#include "Paths.h"

#include <QFile>
#include <QUrl>

#include <gio/gio.h>

#include <memory>

#include <fcntl.h>
#include <sys/stat.h>

namespace pallstone {

namespace {

constexpr const char* kAttribute = "metadata::custom-icon";

struct GObjectDeleter
{
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T> using GPtr = std::unique_ptr<T, GObjectDeleter>;

GPtr<GFile> fileFor(const QString& path)
{
    return GPtr<GFile>(g_file_new_for_path(FileName::encode(path).constData()));
}

QString takeMessage(GError* error)
{
    const QString message = error ? QString::fromUtf8(error->message) : QString();
    g_clear_error(&error);
    return message;
}

// Without GVFS (a KDE desktop, a bare system) the namespace is not writable and nothing there
// would read the metadata; only ".directory" counts then.
bool metadataWritable(GFile* file)
{
    GFileAttributeInfoList* list = g_file_query_writable_namespaces(file, nullptr, nullptr);
    if (!list)
        return false;
    const bool writable = g_file_attribute_info_list_lookup(list, "metadata") != nullptr;
    g_file_attribute_info_list_unref(list);
    return writable;
}

QString metadataIcon(const QString& path)
{
    const GPtr<GFile> file = fileFor(path);
    const GPtr<GFileInfo> info(
        g_file_query_info(file.get(), kAttribute, G_FILE_QUERY_INFO_NONE, nullptr, nullptr));
    if (!info)
        return {};
    const char* uri = g_file_info_get_attribute_string(info.get(), kAttribute);
    return uri ? QUrl(QString::fromUtf8(uri)).toLocalFile() : QString();
}

// Sets the metadata to the URI, or unsets it when uri is null.
QString setMetadata(const QString& path, const char* uri)
{
    const GPtr<GFile> file = fileFor(path);
    if (!metadataWritable(file.get()))
        return {};
    GError* error = nullptr;
    const gboolean done =
        uri ? g_file_set_attribute_string(file.get(), kAttribute, uri, G_FILE_QUERY_INFO_NONE,
                                          nullptr, &error)
            : g_file_set_attribute(file.get(), kAttribute, G_FILE_ATTRIBUTE_TYPE_INVALID, nullptr,
                                   G_FILE_QUERY_INFO_NONE, nullptr, &error);
    return done ? QString() : takeMessage(error);
}

// Views compare the folder's modification time to notice the change. Both times are set to now:
// that needs only write permission, where setting one alone needs ownership.
void touch(const QString& folder)
{
    ::utimensat(AT_FDCWD, FileName::encode(folder).constData(), nullptr, 0);
}

} // namespace

QString CustomIcons::iconOf(const QString& path)
{
    const QString icon = metadataIcon(path);
    if (!icon.isEmpty() || !Paths::isFolder(path))
        return icon;
    return DirectoryFile::icon(path).trimmed();
}

QString CustomIcons::apply(const QString& folder, const QString& picture)
{
    const QByteArray uri = QUrl::fromLocalFile(picture).toEncoded();
    QString problem = setMetadata(folder, uri.constData());
    if (const QString kde = DirectoryFile::setIcon(folder, picture); !kde.isEmpty())
        problem = problem.isEmpty() ? kde : problem + u"; " + kde;
    touch(folder);
    return problem;
}

QString CustomIcons::remove(const QString& folder)
{
    QString problem = setMetadata(folder, nullptr);
    if (const QString kde = DirectoryFile::setIcon(folder, QString()); !kde.isEmpty())
        problem = problem.isEmpty() ? kde : problem + u"; " + kde;
    touch(folder);
    return problem;
}

void CustomIcons::installProbe()
{
    Paths::setCustomIconProbe([](const QString& path) { return !metadataIcon(path).isEmpty(); });
}

} // namespace pallstone
