#include "ContextMenuService.h"

#include "Dispatch.h"
#include "Dispatcher.h"
#include "Localizer.h"
#include "MenuStore.h"
#include "StoreSnapshot.h"
#include "VolumeMonitor.h"
#include "WorkInProgress.h"

namespace pallstone {

ContextMenuService::ContextMenuService() = default;
ContextMenuService::~ContextMenuService() = default;

void ContextMenuService::init()
{
    setupDirectoryURLs();
    Defaults& store = MenuStore::sharedDefaults();
    if (store.boolForKey(StoreKey::prefCheck(3))) {
        m_volumeMonitor = std::make_unique<VolumeMonitor>([this] {
            Dispatch::enterForegroundWithDelay(1, [this] { setupDirectoryURLs(); });
        });
    }
    WorkInProgress::reset();

    // Forget a pending cut. On a fresh install there is no main menu yet: writing one here would
    // store an empty list and the settings application would then never seed the defaults.
    bool hasCutRecord = false;
    const Value menu = store.object(StoreKey::rightMenu);
    for (const Value& record : menu.list()) {
        if (record.value(QStringLiteral("key")).string() == u"Cut Paste")
            hasCutRecord = true;
    }
    if (hasCutRecord) {
        MenuStore::updateMenuKey(StoreKey::rightMenu, QStringLiteral("Cut Paste"),
                                 QStringLiteral("cutPaths"), Value::array());
    }
}

void ContextMenuService::setupDirectoryURLs()
{
    QSet<QString> folders;
    if (MenuStore::sharedDefaults().boolForKey(StoreKey::prefCheck(3)))
        folders = VolumeMonitor::externalVolumes();
    folders.insert(QStringLiteral("/"));
    m_directories = folders;
}

bool ContextMenuService::isWatched(const QString& path) const
{
    for (const QString& folder : m_directories) {
        if (folder == u"/" || path == folder || path.startsWith(folder + u'/'))
            return true;
    }
    return false;
}

Menu ContextMenuService::menuFor(const MenuRequest& request) const
{
    const QString probe = request.selectPaths.isEmpty() ? request.targetPath
                                                        : request.selectPaths.first();
    if (!probe.isEmpty() && !isWatched(probe))
        return {};
    return MenuBuilder::build(request, StoreSnapshot::read());
}

bool ContextMenuService::perform(const MenuRequest& request, const Menu& menu, qint64 tag)
{
    if (menu.isEmpty())
        return false;
    return Dispatcher::dispatch(std::make_shared<ActionContext>(request, menu.model), tag);
}

QString ContextMenuService::toolbarItemName()
{
    return Localizer::displayName();
}

} // namespace pallstone
