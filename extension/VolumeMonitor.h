#pragma once

#include <QSet>
#include <QString>

#include <functional>

namespace pallstone {

// Tells when a volume is mounted (through GIO's volume monitor, so the service hears what the
// file manager hears), and which external volumes are mounted now.
class VolumeMonitor final
{
public:
    explicit VolumeMonitor(std::function<void()> onMount);
    ~VolumeMonitor();
    Q_DISABLE_COPY_MOVE(VolumeMonitor)

    // Mount points of removable and user-mounted volumes (under /media, /run/media and /mnt).
    static QSet<QString> externalVolumes();

private:
    static void mountAdded(void* monitor, void* mount, void* self);

    std::function<void()> m_onMount;
    void* m_monitor = nullptr; // GVolumeMonitor*, kept out of this header
    unsigned long m_handler = 0;
};

} // namespace pallstone
