#include "TQMenuManager.h"

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

TQMenuManager::TQMenuManager()
{
    m_sharedDefaults = std::make_unique<Defaults>(sharedStorePath());
    m_sharedFolder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                     QStringLiteral("/pallstone");
}

TQMenuManager& TQMenuManager::sharedInstance()
{
    static TQMenuManager instance;
    return instance;
}

void TQMenuManager::setProgram(Program program)
{
    sharedInstance().m_program = program;
}

TQMenuManager::Program TQMenuManager::program()
{
    return sharedInstance().m_program;
}

QString TQMenuManager::sharedStorePath()
{
    return configFolder() + u'/' + kGroup + QStringLiteral(".plist");
}

QString TQMenuManager::programStorePath(Program program)
{
    const QString id = program == Program::Settings
                           ? QStringLiteral("com.tolvane.pallstone")
                           : QStringLiteral("com.tolvane.pallstone.extension");
    return configFolder() + u'/' + id + QStringLiteral(".plist");
}

Defaults& TQMenuManager::sharedDefaults()
{
    return *sharedInstance().m_sharedDefaults;
}

QString TQMenuManager::sharedFolder()
{
    const QString& folder = sharedInstance().m_sharedFolder;
    QDir().mkpath(folder);
    return folder;
}

TQMenuItemList TQMenuManager::belongAppMenuArray()
{
    TQMenuManager& self = sharedInstance();
    QMutexLocker locker(&self.m_belongMutex);
    return self.m_belongAppMenuArray;
}

QString TQMenuManager::createFolderName(const QString& name)
{
    const QString path = sharedFolder() + u'/' + name;
    QDir().mkdir(path);
    return path;
}

QString TQMenuManager::appIconFolder()
{
    return createFolderName(QStringLiteral("TQAppIcon"));
}

QString TQMenuManager::fileTemplateFolder()
{
    return createFolderName(QStringLiteral("TQFileTemplate"));
}

QString TQMenuManager::folderIconFolder()
{
    return createFolderName(QStringLiteral("TQFolderIcon"));
}

QString TQMenuManager::cacheFolder()
{
    return createFolderName(QStringLiteral("TQCache"));
}

QString TQMenuManager::configManagerFolder()
{
    return createFolderName(QStringLiteral("TQConfigManager"));
}

bool TQMenuManager::isInsideContainer(const QString& path)
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
    return folder.startsWith(container + u'/');
}

bool TQMenuManager::existKey(const QString& key, const TQMenuItemList& items)
{
    for (const TQMenuItemPtr& item : items) {
        if (item->key == key)
            return true;
    }
    return false;
}

TQMenuItemList TQMenuManager::itemsFromList(const QString& listKey, const QStringList& recordKeys,
                                            bool includeDisabled)
{
    TQMenuItemList items;
    const Value list = sharedDefaults().object(listKey);
    if (!list.isArray())
        return items;
    items.reserve(list.count());
    for (const Value& record : list.list()) {
        if (!record.isDictionary())
            continue;
        TQMenuItemPtr item = TQMenuItem::fromRecord(record, recordKeys);
        if (item->disabled && !includeDisabled)
            continue;
        items.append(item);
    }
    return items;
}

TQMenuItemList TQMenuManager::menuItemArray()
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
    static const QStringList convertFormats = {
        QStringLiteral("icns"), QStringLiteral("png"),  QStringLiteral("tiff"),
        QStringLiteral("jpg"),  QStringLiteral("jpeg"), QStringLiteral("jpe"),
        QStringLiteral("jp2"),  QStringLiteral("bmp"),  QStringLiteral("gif"),
        QStringLiteral("svg"),  QStringLiteral("fax"),  QStringLiteral("wbmp"),
        QStringLiteral("webp"), QStringLiteral("pic"),  QStringLiteral("tif"),
        QStringLiteral("ico"),  QStringLiteral("jfif"), QStringLiteral("rp"),
        QStringLiteral("net"),  QStringLiteral("pdf"),
    };

    const bool settings = program() == Program::Settings;
    const Value list = sharedDefaults().object(StoreKey::rightMenu);
    TQMenuItemList items;
    TQMenuItemList belong;
    for (const Value& record : list.list()) {
        if (!record.isDictionary())
            continue;
        TQMenuItemPtr item = TQMenuItem::fromRecord(record, recordKeys);
        if (item->disabled && !settings)
            continue;
        TQMenuItem& it = *item;
        const QString& key = it.key;
        if (key == u"Terminal Window" || key == u"Terminal To") {
            it.serve = QStringLiteral("New Terminal at Folder");
            it.isNotNeedURL = true;
            if (key == u"Terminal Window")
                belong.append(item);
        } else if (key == u"Terminal Tab") {
            it.isNotNeedURL = true;
            it.serve = QStringLiteral("New Terminal Tab at Folder");
        } else if (key == u"iTerm2 Window" || key == u"iTerm2 To") {
            it.serve = QStringLiteral("New iTerm2 Window Here");
            it.isNotNeedURL = true;
            if (key == u"iTerm2 Window")
                belong.append(item);
        } else if (key == u"iTerm2 Tab") {
            it.serve = QStringLiteral("New iTerm2 Tab Here");
            it.isNotNeedURL = true;
        } else if (it.isConvert()) {
            it.formats = convertFormats;
        } else if (key == u"Hide Selected Files" || key == u"Hide All Files") {
            it.isShowHideFile = true;
            it.command = QStringLiteral("chflags hidden");
            it.isNeedSelectURL = key == u"Hide Selected Files";
        } else if (key == u"Unhide All Files") {
            it.isShowHideFile = true;
            it.command = QStringLiteral("chflags nohidden");
        } else if (key == u"System Hide Files") {
            it.command = QStringLiteral(
                "defaults write com.apple.finder AppleShowAllFiles -boolean %@; killall Finder");
            it.isNotNeedURL = true;
        } else if (it.isLockUnlock()) {
            it.isNeedSelectURL = true;
        } else if (Strings::isValid(it.appName)) {
            it.isNotNeedURL = true;
            belong.append(item);
        } else if (it.isCutPaste()) {
            it.cutPaths = record.value(QStringLiteral("cutPaths")).stringList();
        } else if (it.isFolderIcon()) {
            it.isNeedFolder = true;
            it.isNeedSelectURL = true;
        } else if (it.isCopy() || it.isMove() || it.isCompress()) {
            it.isNeedSelectURL = true;
        } else if (key == u"Delete") {
            it.isNeedSelectURL = true;
        } else if (it.isCommonApp() || it.isCommonPath()) {
            it.isNotNeedURL = true;
        } else if (it.isEmbedFolder()) {
            it.isNeedSelectURL = true;
        } else if (it.isUnembedFolder()) {
            it.isNeedFolder = true;
            it.isNeedSelectURL = true;
        } else if (it.isColorPicker()) {
            it.isNotNeedURL = true;
            it.disabledAuth = true;
        } else if (it.isExecuteScript()) {
            it.isNeedSelectURL = true;
            it.formats = {QStringLiteral("sh"), QStringLiteral("scpt")};
        } else if (it.isNewFile()) {
            it.isNotNeedURL = true;
        } else if (it.isExtractIcon()) {
            it.isNeedSelectURL = true;
        }
        if (settings) {
            const QString introduceKey = key + QStringLiteral(" Introduce");
            if (Localizer::hasTranslation(introduceKey))
                it.introduce = Localizer::text(introduceKey);
        }
        items.append(item);
    }

    TQMenuManager& self = sharedInstance();
    QMutexLocker locker(&self.m_belongMutex);
    self.m_belongAppMenuArray = belong;
    return items;
}

TQMenuItemList TQMenuManager::newFileTemplateMenuArray(bool includeDisabled)
{
    static const QStringList recordKeys = {
        QStringLiteral("disabled"),     QStringLiteral("key"),      QStringLiteral("icon"),
        QStringLiteral("ext"),          QStringLiteral("fileName"), QStringLiteral("displayName"),
        QStringLiteral("templatePath"), QStringLiteral("iconPath"), QStringLiteral("special"),
        QStringLiteral("toMainMenu"),
    };
    return itemsFromList(StoreKey::newFile, recordKeys,
                         includeDisabled || program() == Program::Settings);
}

TQMenuItemList TQMenuManager::folderIconMenuArray()
{
    static const QStringList recordKeys = {
        QStringLiteral("disabled"), QStringLiteral("key"),         QStringLiteral("icon"),
        QStringLiteral("iconPath"), QStringLiteral("displayName"),
    };
    return itemsFromList(StoreKey::folderIcon, recordKeys, program() == Program::Settings);
}

TQMenuItemList TQMenuManager::commonAppMenuArray()
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
    TQMenuItemList items =
        itemsFromList(StoreKey::commonApp, recordKeys, program() == Program::Settings);
    for (const TQMenuItemPtr& item : items)
        item->appName = item->key;
    return items;
}

TQMenuItemList TQMenuManager::commonPathMenuArray()
{
    static const QStringList recordKeys = {
        QStringLiteral("disabled"),    QStringLiteral("iconPath"), QStringLiteral("toMainMenu"),
        QStringLiteral("displayName"), QStringLiteral("path"),
    };
    TQMenuItemList items =
        itemsFromList(StoreKey::commonPath, recordKeys, program() == Program::Settings);
    for (const TQMenuItemPtr& item : items) {
        item->icon = QStringLiteral("folder");
        if (!item->path.isNull())
            item->path = Paths::standardizedPath(item->path);
        item->key = item->path;
    }
    return items;
}

bool TQMenuManager::addMenuKey(const QString& listKey, const Value& record, bool toTop)
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

bool TQMenuManager::removeMenuKey(const QString& listKey, const QString& itemKey)
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
        for (const QString& file : filesToDelete) {
            if (isInsideContainer(file))
                QFile::remove(file);
        }
    }
    return written;
}

bool TQMenuManager::updateMenuKey(const QString& listKey, const QString& itemKey,
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

bool TQMenuManager::replaceMenuKey(const QString& listKey, const Value& record)
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

bool TQMenuManager::changePositionMenuKey(const QString& listKey, qsizetype fromIndex,
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

bool TQMenuManager::openMainApp()
{
    return Services::launcher()->launchSettingsApplication();
}

} // namespace pallstone
