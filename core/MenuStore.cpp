#include "MenuStore.h"

#include "Launcher.h"
#include "Localizer.h"
#include "Paths.h"
#include "Services.h"
#include "Strings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace pallstone {

namespace {

const QString kGroup = QStringLiteral("group.com.tolvane.pallstone");

QString configFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/pallstone");
}

// The position of the first record whose "key", or whose "path" (as written or standardised),
// equals the item key; -1 when none does.
qsizetype findRecord(const Value& list, const QString& itemKey, bool matchPath)
{
    for (qsizetype i = 0; i < list.count(); ++i) {
        const Value record = list.at(i);
        if (record.value(QStringLiteral("key")).string() == itemKey)
            return i;
        if (!matchPath)
            continue;
        const QString path = record.value(QStringLiteral("path")).string();
        if (!path.isEmpty() && (path == itemKey || Paths::standardizedPath(path) == itemKey))
            return i;
    }
    return -1;
}

// The stored list under the key as a mutable array; anything else reads as an empty list.
Value mutableList(const Value& root, const QString& listKey)
{
    const Value list = root.value(listKey);
    return list.isArray() ? list.mutableCopy() : Value::array();
}

} // namespace

MenuStore::MenuStore()
{
    m_sharedDefaults = std::make_unique<Defaults>(sharedStorePath());
    m_sharedFolder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                     QStringLiteral("/pallstone");
}

MenuStore& MenuStore::sharedInstance()
{
    static MenuStore instance;
    return instance;
}

void MenuStore::setProgram(Program program)
{
    sharedInstance().m_program = program;
}

MenuStore::Program MenuStore::program()
{
    return sharedInstance().m_program;
}

QString MenuStore::sharedStorePath()
{
    return configFolder() + u'/' + kGroup + QStringLiteral(".plist");
}

QString MenuStore::programStorePath(Program program)
{
    const QString id = program == Program::Settings
                           ? QStringLiteral("com.tolvane.pallstone")
                           : QStringLiteral("com.tolvane.pallstone.extension");
    return configFolder() + u'/' + id + QStringLiteral(".plist");
}

Defaults& MenuStore::sharedDefaults()
{
    return *sharedInstance().m_sharedDefaults;
}

QString MenuStore::sharedFolder()
{
    const QString& folder = sharedInstance().m_sharedFolder;
    QDir().mkpath(folder);
    return folder;
}

MenuItemList MenuStore::belongAppMenuArray()
{
    MenuStore& self = sharedInstance();
    QMutexLocker locker(&self.m_belongMutex);
    return self.m_belongAppMenuArray;
}

QString MenuStore::createFolderName(const QString& name)
{
    const QString path = sharedFolder() + u'/' + name;
    QDir().mkdir(path);
    return path;
}

QString MenuStore::appIconFolder()
{
    return createFolderName(ContainerFolder::appIcons);
}

QString MenuStore::fileTemplateFolder()
{
    return createFolderName(ContainerFolder::fileTemplates);
}

QString MenuStore::folderIconFolder()
{
    return createFolderName(ContainerFolder::folderIcons);
}

QString MenuStore::appliedIconFolder()
{
    return createFolderName(ContainerFolder::appliedIcons);
}

QString MenuStore::cacheFolder()
{
    return createFolderName(ContainerFolder::cache);
}

QString MenuStore::configManagerFolder()
{
    return createFolderName(ContainerFolder::profiles);
}

bool MenuStore::isInsideContainer(const QString& path)
{
    if (!Strings::isValid(path))
        return false;
    const QString container = QFileInfo(sharedInstance().m_sharedFolder).canonicalFilePath();
    // Resolve the folder holding the file (the file itself may be a link pointing anywhere; we
    // delete the link, not its target).
    const QFileInfo info(Paths::standardizedPath(path));
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    if (container.isEmpty() || folder.isEmpty())
        return false;
    // Only the folders of list entries' files: never a profile, nor the container's own files.
    for (const QString& own : {ContainerFolder::appIcons, ContainerFolder::fileTemplates,
                               ContainerFolder::folderIcons, ContainerFolder::cache}) {
        const QString inside = container + u'/' + own;
        if (folder == inside || folder.startsWith(inside + u'/'))
            return true;
    }
    return false;
}

bool MenuStore::existKey(const QString& key, const MenuItemList& items)
{
    for (const MenuItemPtr& item : items) {
        if (item->key == key)
            return true;
    }
    return false;
}

MenuItemList MenuStore::itemsFromList(const Value& root, const QString& listKey,
                                      const QStringList& recordKeys, bool includeDisabled)
{
    MenuItemList items;
    const Value list = root.value(listKey);
    if (!list.isArray())
        return items;
    items.reserve(list.count());
    for (const Value& record : list.list()) {
        if (!record.isDictionary())
            continue;
        MenuItemPtr item = MenuItem::fromRecord(record, recordKeys);
        if (item->disabled && !includeDisabled)
            continue;
        items.append(item);
    }
    return items;
}

bool MenuStore::belongsToApps(const MenuItem& item)
{
    return item.key == u"Terminal Window" || item.key == u"iTerm2 Window" ||
           Strings::isValid(item.appName);
}

MenuItemList MenuStore::menuItemArray()
{
    return menuItemArray(sharedDefaults().dictionaryRepresentation());
}

MenuItemList MenuStore::menuItemArray(const Value& root)
{
    static const QStringList recordKeys = {
        QStringLiteral("disabled"),
        QStringLiteral("key"),
        QStringLiteral("icon"),
        QStringLiteral("iconPath"),
        QStringLiteral("appName"),
        QStringLiteral("displayName"),
        QStringLiteral("toMainMenu"),
        QStringLiteral("disabledAuth"),
        QStringLiteral("disabledOpenPath"),
        QStringLiteral("mainMenuNewFile"),
        QStringLiteral("ext"),
        QStringLiteral("fileName"),
        QStringLiteral("templatePath"),
        QStringLiteral("special"),
    };
    const bool settings = program() == Program::Settings;
    const Value list = root.value(StoreKey::rightMenu);
    MenuItemList items;
    MenuItemList belong;
    for (const Value& record : list.list()) {
        if (!record.isDictionary())
            continue;
        MenuItemPtr item = MenuItem::fromRecord(record, recordKeys);
        if (item->disabled && !settings)
            continue;
        MenuItem& it = *item;
        if (belongsToApps(it))
            belong.append(item);
        if (it.isCutPaste())
            it.cutPaths = record.value(QStringLiteral("cutPaths")).stringList();
        if (settings) {
            const QString introduceKey = it.key + QStringLiteral(" Introduce");
            if (Localizer::hasTranslation(introduceKey))
                it.introduce = Localizer::text(introduceKey);
        }
        items.append(item);
    }

    MenuStore& self = sharedInstance();
    QMutexLocker locker(&self.m_belongMutex);
    self.m_belongAppMenuArray = belong;
    return items;
}

MenuItemList MenuStore::newFileTemplateMenuArray(bool includeDisabled)
{
    return newFileTemplateMenuArray(sharedDefaults().dictionaryRepresentation(), includeDisabled);
}

MenuItemList MenuStore::newFileTemplateMenuArray(const Value& root, bool includeDisabled)
{
    static const QStringList recordKeys = {
        QStringLiteral("disabled"),     QStringLiteral("key"),      QStringLiteral("icon"),
        QStringLiteral("ext"),          QStringLiteral("fileName"), QStringLiteral("displayName"),
        QStringLiteral("templatePath"), QStringLiteral("iconPath"), QStringLiteral("special"),
        QStringLiteral("toMainMenu"),
    };
    return itemsFromList(root, StoreKey::newFile, recordKeys,
                         includeDisabled || program() == Program::Settings);
}

MenuItemList MenuStore::folderIconMenuArray()
{
    return folderIconMenuArray(sharedDefaults().dictionaryRepresentation());
}

MenuItemList MenuStore::folderIconMenuArray(const Value& root)
{
    static const QStringList recordKeys = {
        QStringLiteral("disabled"), QStringLiteral("key"),         QStringLiteral("icon"),
        QStringLiteral("iconPath"), QStringLiteral("displayName"),
    };
    return itemsFromList(root, StoreKey::folderIcon, recordKeys, program() == Program::Settings);
}

MenuItemList MenuStore::commonAppMenuArray()
{
    return commonAppMenuArray(sharedDefaults().dictionaryRepresentation());
}

MenuItemList MenuStore::commonAppMenuArray(const Value& root)
{
    static const QStringList recordKeys = {
        QStringLiteral("disabled"),
        QStringLiteral("key"),
        QStringLiteral("icon"),
        QStringLiteral("iconPath"),
        QStringLiteral("displayName"),
        QStringLiteral("toMainMenu"),
        QStringLiteral("disabledOpenPath"),
    };
    MenuItemList items =
        itemsFromList(root, StoreKey::commonApp, recordKeys, program() == Program::Settings);
    for (const MenuItemPtr& item : items)
        item->appName = item->key;
    return items;
}

MenuItemList MenuStore::commonPathMenuArray()
{
    return commonPathMenuArray(sharedDefaults().dictionaryRepresentation());
}

MenuItemList MenuStore::commonPathMenuArray(const Value& root)
{
    static const QStringList recordKeys = {
        QStringLiteral("disabled"),    QStringLiteral("iconPath"), QStringLiteral("toMainMenu"),
        QStringLiteral("displayName"), QStringLiteral("path"),
    };
    MenuItemList items =
        itemsFromList(root, StoreKey::commonPath, recordKeys, program() == Program::Settings);
    for (const MenuItemPtr& item : items) {
        item->icon = QStringLiteral("folder");
        if (!item->path.isNull())
            item->path = Paths::standardizedPath(item->path);
        item->key = item->path;
    }
    return items;
}

bool MenuStore::addMenuKey(const QString& listKey, const Value& record, bool toTop)
{
    return sharedDefaults().update([&](Value& root) {
        Value list = mutableList(root, listKey);
        if (toTop)
            list.insert(0, record);
        else
            list.append(record);
        root.insert(listKey, list);
    });
}

bool MenuStore::removeMenuKey(const QString& listKey, const QString& itemKey)
{
    QStringList filesToDelete;
    const bool written = sharedDefaults().update([&](Value& root) {
        filesToDelete.clear();
        Value list = mutableList(root, listKey);
        const qsizetype index = findRecord(list, itemKey, true);
        if (index >= 0) {
            const Value found = list.at(index);
            if (listKey != StoreKey::rightMenu) {
                for (const QString& field :
                     {QStringLiteral("iconPath"), QStringLiteral("templatePath")}) {
                    const QString file = found.value(field).string();
                    if (Strings::isValid(file))
                        filesToDelete.append(file);
                }
            }
            for (qsizetype i = list.count() - 1; i >= 0; --i) {
                if (list.at(i) == found)
                    list.removeAt(i);
            }
        }
        root.insert(listKey, list);
    });
    // The record's files go only once the record is gone, and only when they are the container's
    // own: a record (say, from an imported profile) may point anywhere.
    if (written) {
        // Applied pictures are never a record's own, whatever a record says.
        const QString applied =
            QFileInfo(sharedFolder() + u'/' + ContainerFolder::appliedIcons).canonicalFilePath();
        for (const QString& file : filesToDelete) {
            const QString folder = QFileInfo(QFileInfo(file).absolutePath()).canonicalFilePath();
            if (isInsideContainer(file) && (applied.isEmpty() || folder != applied))
                QFile::remove(file);
        }
    }
    return written;
}

bool MenuStore::updateMenuKey(const QString& listKey, const QString& itemKey,
                              const QString& attrKey, const Value& attrValue)
{
    return sharedDefaults().update([&](Value& root) {
        Value list = mutableList(root, listKey);
        const qsizetype index = findRecord(list, itemKey, true);
        if (index >= 0) {
            Value record = list.at(index).mutableCopy();
            record.insert(attrKey, attrValue);
            list.replace(index, record);
        }
        root.insert(listKey, list);
    });
}

bool MenuStore::replaceMenuKey(const QString& listKey, const Value& record)
{
    const QString key = record.value(QStringLiteral("key")).string();
    return sharedDefaults().update([&](Value& root) {
        Value list = mutableList(root, listKey);
        const qsizetype index = key.isNull() ? -1 : findRecord(list, key, false);
        if (index >= 0)
            list.replace(index, record);
        root.insert(listKey, list);
    });
}

bool MenuStore::changePositionMenuKey(const QString& listKey, qsizetype fromIndex,
                                      qsizetype toIndex)
{
    return sharedDefaults().update([&](Value& root) {
        Value list = mutableList(root, listKey);
        const qsizetype n = list.count();
        // The list may have changed since the caller looked; a move out of range is dropped.
        if (fromIndex >= 0 && fromIndex < n && toIndex >= 0 && toIndex <= n) {
            const Value record = list.at(fromIndex);
            list.removeAt(fromIndex);
            list.insert(fromIndex < toIndex ? toIndex - 1 : toIndex, record);
        }
        root.insert(listKey, list);
    });
}

bool MenuStore::openMainApp()
{
    return Services::launcher()->launchSettingsApplication();
}

} // namespace pallstone
