#pragma once

#include "MenuBuilder.h"
#include "MenuRequest.h"

#include <QSet>
#include <QString>

#include <memory>

namespace pallstone {

class VolumeMonitor;

// The service's menu side: which folders it serves, the menu for a request and the action for a
// chosen tag. The D-Bus adaptor and the headless CLI both hand it requests.
class ContextMenuService final
{
public:
    ContextMenuService();
    ~ContextMenuService();
    Q_DISABLE_COPY_MOVE(ContextMenuService)

    // The start of the long-lived service: watched folders, mount observation, the pending cut
    // forgotten.
    void init();
    void setupDirectoryURLs();

    // True when the path lies in (or is) one of the watched folders.
    bool isWatched(const QString& path) const;
    const QSet<QString>& directoryURLs() const { return m_directories; }

    // The menu for the request, from the configuration as it is now; empty outside the watched
    // folders.
    Menu menuFor(const MenuRequest& request) const;
    // Decodes the tag against the menu and runs its entry; false when the tag leads to no entry
    // of that menu (nothing is done then).
    static bool perform(const MenuRequest& request, const Menu& menu, qint64 tag);

    static QString toolbarItemName();
    static QString toolbarItemToolTip() { return toolbarItemName(); }
    static QString toolbarItemImage() { return QStringLiteral("pro"); }

private:
    std::unique_ptr<VolumeMonitor> m_volumeMonitor;
    QSet<QString> m_directories;
};

} // namespace pallstone
