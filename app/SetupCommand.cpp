#include "SetupCommand.h"

#include "TQDefaultData.h"
#include "TQMenuManager.h"

#include <QFileInfo>

namespace pallstone {

namespace {

void describeList(QTextStream& out, const QString& title, const TQMenuItemList& items)
{
    qsizetype enabled = 0;
    for (const TQMenuItemPtr& item : items)
        enabled += item->disabled ? 0 : 1;
    out << title << ": " << items.size() << " entries, " << enabled << " enabled\n";
    for (const TQMenuItemPtr& item : items) {
        out << "  " << (item->disabled ? "[ ] " : "[x] ") << item->menuTitle();
        if (item->menuTitle() != item->key && !item->key.isEmpty())
            out << "  (" << item->key << ')';
        out << '\n';
    }
}

} // namespace

int SetupCommand::run(QTextStream& out, QTextStream& err)
{
    TQMenuManager::setProgram(TQMenuManager::Program::Settings);
    Defaults& store = TQMenuManager::sharedDefaults();
    TQDefaultData::setup();

    // The store must be on disk now; if it is not, the set-up could not write it.
    if (!QFileInfo::exists(store.filePath())) {
        err << "pallstone: could not write the configuration at " << store.filePath() << '\n';
        return 1;
    }
    if (!store.lastBackupPath().isEmpty())
        err << "pallstone: the configuration was unreadable; it was kept as "
            << store.lastBackupPath() << '\n';

    out << "Configuration: " << store.filePath() << '\n';
    out << "Container:     " << TQMenuManager::sharedFolder() << '\n';
    out << "Version:       " << store.stringForKey(StoreKey::updateVersion) << '\n';
    out << "Favourite folder submenu: " << store.integerForKey(StoreKey::commonPathNextMenu)
        << '\n';
    describeList(out, QStringLiteral("Main menu"), TQMenuManager::menuItemArray());
    describeList(out, QStringLiteral("New-file templates"),
                 TQMenuManager::newFileTemplateMenuArray(true));
    describeList(out, QStringLiteral("Open-with applications"),
                 TQMenuManager::commonAppMenuArray());
    describeList(out, QStringLiteral("Favourite folders"), TQMenuManager::commonPathMenuArray());
    if (store.object(StoreKey::folderIcon).isPresent())
        describeList(out, QStringLiteral("Folder icons"), TQMenuManager::folderIconMenuArray());
    else
        out << "Folder icons: not set up yet\n";
    out.flush();
    return 0;
}

} // namespace pallstone
