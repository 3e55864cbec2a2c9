#include "VolumeMonitor.h"

#include <QStorageInfo>

#include <gio/gio.h>

namespace pallstone {

VolumeMonitor::VolumeMonitor(std::function<void()> onMount) : m_onMount(std::move(onMount))
{
    GVolumeMonitor* monitor = g_volume_monitor_get();
    m_monitor = monitor;
    m_handler =
        g_signal_connect(monitor, "mount-added", G_CALLBACK(&VolumeMonitor::mountAdded), this);
}

VolumeMonitor::~VolumeMonitor()
{
    auto* monitor = static_cast<GVolumeMonitor*>(m_monitor);
    if (m_handler)
        g_signal_handler_disconnect(monitor, m_handler);
    g_object_unref(monitor);
}

void VolumeMonitor::mountAdded(void*, void*, void* self)
{
    auto* that = static_cast<VolumeMonitor*>(self);
    if (that->m_onMount)
        that->m_onMount();
}

QSet<QString> VolumeMonitor::externalVolumes()
{
    QSet<QString> roots;
    const QStringList prefixes = {QStringLiteral("/media/"), QStringLiteral("/run/media/"),
                                  QStringLiteral("/mnt/")};
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady())
            continue;
        const QString root = volume.rootPath();
        const QString name = root.section(u'/', -1);
        if (name.startsWith(u'.'))
            continue;
        for (const QString& prefix : prefixes) {
            if (root.startsWith(prefix)) {
                roots.insert(root);
                break;
            }
        }
    }
    return roots;
}

} // namespace pallstone
