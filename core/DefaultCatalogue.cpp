#include "DefaultCatalogue.h"

#include "MenuStore.h"
#include "Strings.h"

#include <QFileInfo>

namespace pallstone {

const QString DefaultCatalogue::kChangedVersion = QStringLiteral("is changed version");

namespace {

const QString kKey = QStringLiteral("key");
const QString kIcon = QStringLiteral("icon");
const QString kDisabled = QStringLiteral("disabled");
const QString kDisabledAuth = QStringLiteral("disabledAuth");
const QString kDelete = QStringLiteral("delete");

struct MainMenuRow
{
    const char16_t* key;
    const char16_t* icon;
    bool disabled;
    bool disabledAuth;
    const char16_t* version; // nullptr: no marker
};

} // namespace

QString DefaultCatalogue::runningVersion()
{
    return QStringLiteral(PALLSTONE_VERSION);
}

Value DefaultCatalogue::defaultMainMenu()
{
    static const MainMenuRow rows[] = {
        {u"New File", u"newfile", false, false, nullptr},
        {u"Common Path", u"favorites", false, true, nullptr},
        {u"Common App", u"app", false, false, nullptr},
        {u"Folder Icon", u"foldericon", false, false, u"2.1.0"},
        {u"Execute Script", u"script", true, false, u"2.3.3"},
        {u"Copy to", u"copy", false, false, nullptr},
        {u"Move to", u"move", false, false, nullptr},
        {u"Convert to", u"convert", false, false, nullptr},
        // Every Linux file manager cuts and pastes files itself, right above our entries.
        {u"Cut Paste", u"cut", true, false, u"2.0.1"},
        {u"Lock and Unlock", u"lock", true, false, u"2.3.0"},
        {u"Encrypted Compression", u"compress", false, false, u"2.2.0"},
        {u"Embed in Folder", u"embed", true, false, u"2.3.0"},
        {u"Unembed Folder", u"unembed", true, false, u"2.3.0"},
        {u"Color Picker", u"colorpicker", false, false, u"2.3.0"},
        {u"Extract Icon", u"img", true, false, nullptr},
        {u"File Info", u"fileinfo", true, false, nullptr},
        {u"Terminal Window", u"terminal", false, true, nullptr},
        {u"Terminal Tab", u"terminal", true, true, nullptr},
        {u"Terminal To", u"terminal", true, true, nullptr},
        {u"iTerm2 Window", u"iterm2", false, true, nullptr},
        {u"iTerm2 Tab", u"iterm2", true, true, nullptr},
        {u"iTerm2 To", u"iterm2", true, true, nullptr},
        {u"Copy Path", u"copypath", false, true, nullptr},
        {u"Delete", u"delete", true, false, nullptr},
        {u"Hide Selected Files", u"hidefile", false, false, nullptr},
        {u"Hide All Files", u"hidefile", false, false, nullptr},
        {u"Unhide All Files", u"showfile", false, false, nullptr},
        {u"System Hide Files", u"about", true, true, nullptr},
    };
    Value list = Value::array();
    for (const MainMenuRow& row : rows) {
        Value record = Value::dictionary();
        record.insert(kKey, QString::fromUtf16(row.key));
        record.insert(kIcon, QString::fromUtf16(row.icon));
        if (row.disabled)
            record.insert(kDisabled, true);
        if (row.disabledAuth)
            record.insert(kDisabledAuth, true);
        if (row.version)
            record.insert(kChangedVersion, QString::fromUtf16(row.version));
        list.append(record);
    }
    return list;
}

Value DefaultCatalogue::defaultNewFileMenu()
{
    struct Row
    {
        const char16_t* ext;
        bool disabled;
    };
    // No Linux application opens the Apple formats; LibreOffice, on nearly every Linux desktop,
    // makes the OpenDocument ones.
    static const Row rows[] = {
        {u"txt", false},  {u"rtf", false},  {u"json", false},   {u"docx", false}, {u"xlsx", false},
        {u"pptx", false}, {u"pages", true}, {u"numbers", true}, {u"key", true},   {u"md", false},
        {u"wps", false},  {u"et", true},    {u"dps", true},     {u"html", true},  {u"xml", true},
        {u"css", true},   {u"js", true},    {u"py", true},      {u"sh", true},    {u"odt", false},
        {u"ods", false},  {u"odp", false}};
    Value list = Value::array();
    Value fromWindow = Value::dictionary();
    fromWindow.insert(kKey, QStringLiteral("New File From Window"));
    fromWindow.insert(kIcon, QStringLiteral("newfile"));
    fromWindow.insert(kChangedVersion, QStringLiteral("2.3.2"));
    list.append(fromWindow);
    for (const Row& row : rows) {
        const QString e = QString::fromUtf16(row.ext);
        Value record = Value::dictionary();
        record.insert(kKey, e);
        record.insert(QStringLiteral("ext"), e);
        record.insert(kIcon, e);
        // Stored as an integer, not a boolean; readers accept both.
        record.insert(kDisabled, row.disabled ? 1 : 0);
        list.append(record);
    }
    return list;
}

Value DefaultCatalogue::defaultCommonAppMenu()
{
    struct Row
    {
        const char16_t* key;
        const char16_t* icon;
        bool disabled;
        const char16_t* version;
    };
    static const Row rows[] = {
        {u"WeChat", u"weixin", false, nullptr},
        {u"Visual Studio Code", u"vscode", false, nullptr},
        {u"Sublime Text", u"sublime", false, nullptr},
        {u"Android Studio", u"studio", false, nullptr},
        {u"IntelliJ IDEA", u"idea", false, nullptr},
        {u"WebStorm", u"webstorm", false, nullptr},
        {u"PyCharm", u"pycharm", true, nullptr},
        {u"PhpStorm", u"phpstorm", true, nullptr},
        {u"GoLand", u"goland", true, nullptr},
        {u"Warp", u"warp", true, u"2.5.1"},
        {u"Emacs", u"emacs", true, nullptr},
    };
    Value list = Value::array();
    for (const Row& row : rows) {
        Value record = Value::dictionary();
        record.insert(kKey, QString::fromUtf16(row.key));
        record.insert(kIcon, QString::fromUtf16(row.icon));
        if (row.disabled)
            record.insert(kDisabled, true);
        if (row.version)
            record.insert(kChangedVersion, QString::fromUtf16(row.version));
        list.append(record);
    }
    return list;
}

Value DefaultCatalogue::defaultFolderIconMenu()
{
    static const char16_t* const names[] = {
        u"love",    u"google", u"java",  u"qq",    u"zapier",   u"pyq",    u"html5",
        u"twitter", u"ding",   u"skype", u"apple", u"share",    u"wechat", u"weibo",
        u"youtube", u"wepay",  u"react", u"erji",  u"question", u"star"};
    Value list = Value::array();
    int position = 0;
    for (const char16_t* name : names) {
        const QString n = QString::fromUtf16(name);
        Value record = Value::dictionary();
        record.insert(kKey, n);
        record.insert(kIcon, n == u"love" ? QStringLiteral("foldericon") : n);
        record.insert(kDisabled, position < 11 ? 0 : 1);
        list.append(record);
        ++position;
    }
    return list;
}

void DefaultCatalogue::setup()
{
    setup(runningVersion());
}

void DefaultCatalogue::setup(const QString& running)
{
    Defaults& store = MenuStore::sharedDefaults();
    const Value stored = store.object(StoreKey::updateVersion);
    const QString storedVersion = stored.isString() ? stored.string() : QString();

    if (store.object(StoreKey::rightMenu).isPresent()) {
        if (storedVersion != running) {
            update();
            store.setObject(running, StoreKey::updateVersion);
        }
    } else {
        recover();
        store.setObject(running, StoreKey::updateVersion);
    }

    if (store.integerForKey(StoreKey::commonPathNextMenu) == 0)
        store.setObject(3, StoreKey::commonPathNextMenu);
    // Without a stored list the enabled "Folder Icon" entry would offer nothing. A list the user
    // emptied is stored (empty) and stays so.
    if (store.object(StoreKey::folderIcon).isMissing())
        recoverFolderIcon();
}

bool DefaultCatalogue::setupIfMissing()
{
    Defaults& store = MenuStore::sharedDefaults();
    if (store.isUnreadable() || QFileInfo::exists(store.filePath()))
        return false;
    setup();
    return true;
}

void DefaultCatalogue::recover()
{
    recoverRightMenu();
    recoverNewFile();
    recoverCommonApp();
}

void DefaultCatalogue::update()
{
    _updateMenuKey(StoreKey::rightMenu, defaultMainMenu());
    _updateMenuKey(StoreKey::newFile, defaultNewFileMenu());
    _updateMenuKey(StoreKey::commonApp, defaultCommonAppMenu());
    _updateMenuKey(StoreKey::folderIcon, defaultFolderIconMenu());
}

void DefaultCatalogue::recoverRightMenu()
{
    _addMenuKey(StoreKey::rightMenu, defaultMainMenu());
}

void DefaultCatalogue::recoverNewFile()
{
    _addMenuKey(StoreKey::newFile, defaultNewFileMenu());
}

void DefaultCatalogue::recoverCommonApp()
{
    _addMenuKey(StoreKey::commonApp, defaultCommonAppMenu());
}

void DefaultCatalogue::recoverFolderIcon()
{
    _addMenuKey(StoreKey::folderIcon, defaultFolderIconMenu());
}

void DefaultCatalogue::recoverCommonPath()
{
    MenuStore::sharedDefaults().setObject(Value::array(), StoreKey::commonPath);
}

void DefaultCatalogue::_addMenuKey(const QString& listKey, const Value& defaultMenu)
{
    Value list = Value::array();
    for (const Value& record : defaultMenu.list()) {
        const Value marker = record.value(kChangedVersion);
        const QString version = marker.isString() ? marker.string() : QString();
        if (!Strings::isValid(version)) {
            list.append(record);
        } else if (version == kDelete) {
            continue;
        } else {
            Value copy = record.mutableCopy();
            copy.remove(kChangedVersion);
            list.append(copy);
        }
    }
    MenuStore::sharedDefaults().setObject(list, listKey);
}

void DefaultCatalogue::_updateMenuKey(const QString& listKey, const Value& defaultMenu)
{
    Defaults& store = MenuStore::sharedDefaults();
    bool insertedFolderIcon = false;
    // One locked read-modify-write, so that a concurrent change by the extension survives.
    store.update([&](Value& root) {
        insertedFolderIcon = false;
        const Value storedList = root.value(listKey);
        Value list = storedList.isArray() ? storedList.mutableCopy() : Value::array();
        const Value storedVersionValue = root.value(StoreKey::updateVersion);
        const QString storedVersion =
            storedVersionValue.isString() ? storedVersionValue.string() : QString();

        const Value::List defaults = defaultMenu.list();
        for (qsizetype i = 0; i < defaults.size(); ++i) {
            const Value& record = defaults.at(i);
            const Value marker = record.value(kChangedVersion);
            const QString version = marker.isString() ? marker.string() : QString();
            if (!Strings::isValid(version))
                continue;
            const QString key = record.value(kKey).string();
            qsizetype j = -1;
            for (qsizetype k = 0; k < list.count(); ++k) {
                if (list.at(k).value(kKey).string() == key && !key.isNull()) {
                    j = k;
                    break;
                }
            }
            if (version == kDelete) {
                if (j >= 0)
                    list.removeAt(j);
                continue;
            }
            // A missing stored version never compares lower.
            if (storedVersion.isNull() || Strings::compareVersion(storedVersion, version) >= 0)
                continue;
            if (j < 0) {
                list.insert(list.count() > i ? i : 0, record);
                if (key == u"Folder Icon")
                    insertedFolderIcon = true;
            } else {
                Value copy = record.mutableCopy();
                copy.remove(kChangedVersion);
                list.replace(j, copy);
            }
        }
        root.insert(listKey, list);
    });
    if (insertedFolderIcon)
        recoverFolderIcon();
}

} // namespace pallstone
