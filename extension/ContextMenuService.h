#pragma once

#include "MenuBuilder.h"
#include "MenuRequest.h"

#include <QSet>
#include <QString>

#include <deque>
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

    // The menu for the request, from the configuration as it is now; empty outside the watched
    // folders.
    Menu menuFor(const MenuRequest& request) const;
    // Decodes the tag against the menu and runs its entry; false when the tag leads to no entry
    // of that menu (nothing is done then).
    static bool perform(const MenuRequest& request, const Menu& menu, qint64 tag);

    // Keeps a menu a file manager is showing, so that a click decodes against exactly what the
    // user saw; the id to send back with the click. The last kMenusKept menus are kept; an
    // empty menu gets id 0 and is not kept.
    static constexpr std::size_t kMenusKept = 64;
    quint64 keep(const MenuRequest& request, const Menu& menu);

    enum class Outcome
    {
        Done,      // the entry's action was started
        NoEntry,   // the tag names no entry of the menu
        OutOfDate, // the menu is no longer known and no longer holds the entry shown
    };
    // Runs the entry the user chose from the menu kept under the id. A menu no longer kept (the
    // service started again since) is built afresh from the request, and its entry runs only when
    // it is still the one shown: the same key (an entry with a path has the path as its key).
    // An out-of-date click does nothing and tells the user.
    Outcome performChosen(quint64 menuId, qint64 tag, const QString& key,
                          const MenuRequest& request);

    static QString toolbarItemName();
    static QString toolbarItemToolTip() { return toolbarItemName(); }
    static QString toolbarItemImage() { return QStringLiteral("pro"); }

private:
    struct KeptMenu
    {
        quint64 id = 0;
        MenuRequest request;
        Menu menu;
    };

    std::unique_ptr<VolumeMonitor> m_volumeMonitor;
    QSet<QString> m_directories;
    std::deque<KeptMenu> m_kept;
    quint64 m_nextId = 0;
};

} // namespace pallstone
