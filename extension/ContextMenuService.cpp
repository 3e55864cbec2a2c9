#include "ContextMenuService.h"

#include "Dispatch.h"
#include "Dispatcher.h"
#include "FileName.h"
#include "Launcher.h"
#include "Localizer.h"
#include "MenuStore.h"
#include "Services.h"
#include "StoreSnapshot.h"
#include "VolumeMonitor.h"
#include "WorkInProgress.h"
#include "actions/ActionAlerts.h"

#include <QRandomGenerator>

namespace pallstone {

ContextMenuService::ContextMenuService()
    // Ids start anywhere in a large range, so that a file manager holding a menu of an earlier
    // service never finds its id naming another menu of this one.
    : m_nextId((QRandomGenerator::system()->generate64() >> 2) + 1)
{}
ContextMenuService::~ContextMenuService() = default;

void ContextMenuService::init()
{
    setupDirectoryURLs();
    Defaults& store = MenuStore::sharedDefaults();
    if (store.boolForKey(StoreKey::prefCheck(3))) {
        m_volumeMonitor = std::make_unique<VolumeMonitor>(
            [this] { Dispatch::enterForegroundWithDelay(1, [this] { setupDirectoryURLs(); }); });
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
    const QString probe =
        request.selectPaths.isEmpty() ? request.targetPath : request.selectPaths.first();
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

quint64 ContextMenuService::keep(const MenuRequest& request, const Menu& menu)
{
    if (menu.isEmpty())
        return 0;
    const quint64 id = m_nextId++;
    m_kept.push_back({id, request, menu});
    while (m_kept.size() > kMenusKept)
        m_kept.pop_front();
    return id;
}

ContextMenuService::Outcome ContextMenuService::performChosen(quint64 menuId, qint64 tag,
                                                              const QString& key,
                                                              const MenuRequest& request)
{
    for (const KeptMenu& kept : m_kept) {
        if (menuId != 0 && kept.id == menuId)
            return perform(kept.request, kept.menu, tag) ? Outcome::Done : Outcome::NoEntry;
    }
    const Menu menu = menuFor(request);
    const MenuItemPtr entry = menu.entryForTag(tag);
    // The key came back as it was shown, with the bytes of a name that is not UTF-8 replaced.
    if (!entry || FileName::display(entry->key) != key) {
        ActionAlerts::notifyFailure(QStringLiteral("Menu Out of Date"));
        return Outcome::OutOfDate;
    }
    return perform(request, menu, tag) ? Outcome::Done : Outcome::NoEntry;
}

QString ContextMenuService::toolbarItemName()
{
    return Localizer::displayName();
}

} // namespace pallstone
