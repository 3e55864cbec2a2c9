#include "SetupCommand.h"

#include "DefaultCatalogue.h"
#include "MenuStore.h"

#include <QFileInfo>

namespace pallstone {

namespace {

void describeList(QTextStream& out, const QString& title, const MenuItemList& items)
{
    qsizetype enabled = 0;
    for (const MenuItemPtr& item : items)
        enabled += item->disabled ? 0 : 1;
    out << title << ": " << items.size() << " entries, " << enabled << " enabled\n";
    for (const MenuItemPtr& item : items) {
        out << "  " << (item->disabled ? "[ ] " : "[x] ") << item->menuTitle();
        if (item->menuTitle() != item->key && !item->key.isEmpty())
            out << "  (" << item->key << ')';
        out << '\n';
    }
}

} // namespace

int SetupCommand::run(QTextStream& out, QTextStream& err)
{
    MenuStore::setProgram(MenuStore::Program::Settings);
    Defaults& store = MenuStore::sharedDefaults();
    DefaultCatalogue::setup();

    // The store must be on disk now; if it is not, the set-up could not write it.
    if (!QFileInfo::exists(store.filePath())) {
        err << "pallstone: could not write the configuration at " << store.filePath() << '\n';
        return 1;
    }
    if (!store.lastBackupPath().isEmpty())
        err << "pallstone: the configuration was unreadable; it was kept as "
            << store.lastBackupPath() << '\n';

    out << "Configuration: " << store.filePath() << '\n';
    out << "Container:     " << MenuStore::sharedFolder() << '\n';
    out << "Version:       " << store.stringForKey(StoreKey::updateVersion) << '\n';
    out << "Favourite folder submenu: " << store.integerForKey(StoreKey::commonPathNextMenu)
        << '\n';
    describeList(out, QStringLiteral("Main menu"), MenuStore::menuItemArray());
    describeList(out, QStringLiteral("New-file templates"),
                 MenuStore::newFileTemplateMenuArray(true));
    describeList(out, QStringLiteral("Open-with applications"), MenuStore::commonAppMenuArray());
    describeList(out, QStringLiteral("Favourite folders"), MenuStore::commonPathMenuArray());
    if (store.object(StoreKey::folderIcon).isPresent())
        describeList(out, QStringLiteral("Folder icons"), MenuStore::folderIconMenuArray());
    else
        out << "Folder icons: not set up yet\n";
    out.flush();
    return 0;
}

} // namespace pallstone
