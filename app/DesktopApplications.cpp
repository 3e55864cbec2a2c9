#include "DesktopApplications.h"

#include "FileName.h"
#include "MenuIcons.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

namespace pallstone {

namespace {

QString iconOf(GAppInfo* info)
{
    GIcon* icon = g_app_info_get_icon(info);
    if (!icon)
        return {};
    if (G_IS_THEMED_ICON(icon)) {
        const gchar* const* names = g_themed_icon_get_names(G_THEMED_ICON(icon));
        return names && names[0] ? QString::fromUtf8(names[0]) : QString();
    }
    if (G_IS_FILE_ICON(icon)) {
        gchar* path = g_file_get_path(g_file_icon_get_file(G_FILE_ICON(icon)));
        const QString result = path ? FileName::decode(path) : QString();
        g_free(path);
        return result;
    }
    return {};
}

DesktopApplications::Entry entryOf(GAppInfo* info)
{
    DesktopApplications::Entry entry;
    entry.name = QString::fromUtf8(g_app_info_get_name(info));
    const char* id = g_app_info_get_id(info);
    entry.id = id ? QString::fromUtf8(id) : QString();
    entry.icon = iconOf(info);
    return entry;
}

} // namespace

QIcon DesktopApplications::Entry::qicon() const
{
    if (icon.isEmpty())
        return MenuIcons::resource(QStringLiteral("app"));
    if (QFileInfo(icon).isAbsolute())
        return QFileInfo(icon).isFile() ? QIcon(icon) : MenuIcons::resource(QStringLiteral("app"));
    return QIcon::fromTheme(icon, MenuIcons::resource(QStringLiteral("app")));
}

QList<DesktopApplications::Entry> DesktopApplications::all()
{
    QList<Entry> entries;
    GList* infos = g_app_info_get_all();
    for (GList* node = infos; node; node = node->next) {
        auto* info = static_cast<GAppInfo*>(node->data);
        if (g_app_info_should_show(info)) {
            Entry entry = entryOf(info);
            if (!entry.name.isEmpty())
                entries.append(entry);
        }
    }
    g_list_free_full(infos, g_object_unref);
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
    });
    return entries;
}

std::optional<DesktopApplications::Entry> DesktopApplications::fromFile(const QString& path)
{
    GDesktopAppInfo* info =
        g_desktop_app_info_new_from_filename(FileName::encode(path).constData());
    if (!info)
        return std::nullopt;
    Entry entry = entryOf(G_APP_INFO(info));
    if (entry.id.isEmpty())
        entry.id = QFileInfo(path).fileName();
    g_object_unref(info);
    if (entry.name.isEmpty())
        return std::nullopt;
    return entry;
}

} // namespace pallstone
