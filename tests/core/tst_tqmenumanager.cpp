#include "StoreFixture.h"
#include "TQDefaultData.h"
#include "TQMenuManager.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace pallstone;

namespace {

Value record(std::initializer_list<std::pair<QString, Value>> entries)
{
    Value r = Value::dictionary();
    for (const auto& [k, v] : entries)
        r.insert(k, v);
    return r;
}

Value keyRecord(const QString& key)
{
    return record({{QStringLiteral("key"), key}});
}

QStringList keysOf(const TQMenuItemList& items)
{
    QStringList keys;
    for (const TQMenuItemPtr& item : items)
        keys.append(item->key);
    return keys;
}

TQMenuItemPtr onlyItemFor(const Value& rec)
{
    TQMenuManager::sharedDefaults().setObject(Value::array({rec}), StoreKey::rightMenu);
    const TQMenuItemList items = TQMenuManager::menuItemArray();
    return items.value(0);
}

void touch(const QString& path)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("x");
}

} // namespace

class TestMenuManager : public QObject
{
    Q_OBJECT

private:
    StoreFixture m_fixture;
    Defaults& store() { return TQMenuManager::sharedDefaults(); }

private Q_SLOTS:
    void init()
    {
        m_fixture.clear();
        TQMenuManager::setProgram(TQMenuManager::Program::Settings);
    }

    void prefCheckKeysAreFormedFromTheTag()
    {
        QCOMPARE(StoreKey::prefCheck(0), QStringLiteral("pref check0"));
        QCOMPARE(StoreKey::prefCheck(6), QStringLiteral("pref check6"));
        QVERIFY(!store().boolForKey(StoreKey::prefCheck(3)));
    }

    void disabledRecordsAreShownOnlyInTheSettingsApplication()
    {
        Value off = keyRecord(QStringLiteral("Copy to"));
        off.insert(QStringLiteral("disabled"), true);
        store().setObject(Value::array({keyRecord(QStringLiteral("New File")), off,
                                        keyRecord(QStringLiteral("Delete"))}),
                          StoreKey::rightMenu);
        const TQMenuItemList settings = TQMenuManager::menuItemArray();
        QCOMPARE(settings.size(), 3);
        QVERIFY(settings.at(1)->disabled);
        TQMenuManager::setProgram(TQMenuManager::Program::Extension);
        QCOMPARE(keysOf(TQMenuManager::menuItemArray()),
                 (QStringList{QStringLiteral("New File"), QStringLiteral("Delete")}));

        // Templates: the extension's type chooser asks for the disabled ones too.
        Value t = keyRecord(QStringLiteral("et"));
        t.insert(QStringLiteral("disabled"), 1);
        store().setObject(Value::array({keyRecord(QStringLiteral("txt")), t}), StoreKey::newFile);
        QCOMPARE(TQMenuManager::newFileTemplateMenuArray(false).size(), 1);
        QCOMPARE(TQMenuManager::newFileTemplateMenuArray(true).size(), 2);
    }

    void malformedListsReadAsEmpty()
    {
        store().setObject(QStringLiteral("not a list"), StoreKey::rightMenu);
        store().setObject(
            Value::array({1, QStringLiteral("x"), keyRecord(QStringLiteral("Delete"))}),
            StoreKey::commonApp);
        QVERIFY(TQMenuManager::menuItemArray().isEmpty());
        QCOMPARE(keysOf(TQMenuManager::commonAppMenuArray()),
                 QStringList{QStringLiteral("Delete")});
        // A record without a key yields an item that matches nothing.
        store().setObject(Value::array({record({{QStringLiteral("icon"), QStringLiteral("x")}})}),
                          StoreKey::rightMenu);
        const TQMenuItemPtr item = TQMenuManager::menuItemArray().value(0);
        QVERIFY(item);
        QVERIFY(!item->isNotNeedURL && !item->isNeedSelectURL && !item->isNeedFolder);
    }

    void flagsFollowTheKey_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("serve");
        QTest::addColumn<bool>("notNeedURL");
        QTest::addColumn<bool>("needSelectURL");
        QTest::addColumn<bool>("needFolder");
        QTest::addColumn<bool>("belongsToApps");
        auto row = [](const char* key, const char* serve, bool notNeed, bool needSel,
                      bool needFolder, bool belongs) {
            QTest::newRow(key) << QString::fromUtf8(key) << QString::fromUtf8(serve) << notNeed
                               << needSel << needFolder << belongs;
        };
        row("Terminal Window", "New Terminal at Folder", true, false, false, true);
        row("Terminal To", "New Terminal at Folder", true, false, false, false);
        row("Terminal Tab", "New Terminal Tab at Folder", true, false, false, false);
        row("iTerm2 Window", "New iTerm2 Window Here", true, false, false, true);
        row("iTerm2 To", "New iTerm2 Window Here", true, false, false, false);
        row("iTerm2 Tab", "New iTerm2 Tab Here", true, false, false, false);
        row("Hide Selected Files", "", false, true, false, false);
        row("Hide All Files", "", false, false, false, false);
        row("Unhide All Files", "", false, false, false, false);
        row("System Hide Files", "", true, false, false, false);
        row("Lock and Unlock", "", false, true, false, false);
        row("Folder Icon", "", false, true, true, false);
        row("Copy to", "", false, true, false, false);
        row("Move to", "", false, true, false, false);
        row("Encrypted Compression", "", false, true, false, false);
        row("Delete", "", false, true, false, false);
        row("Common App", "", true, false, false, false);
        row("Common Path", "", true, false, false, false);
        row("Embed in Folder", "", false, true, false, false);
        row("Unembed Folder", "", false, true, true, false);
        row("Color Picker", "", true, false, false, false);
        row("Execute Script", "", false, true, false, false);
        row("New File", "", true, false, false, false);
        row("Extract Icon", "", false, true, false, false);
        row("Copy Path", "", false, false, false, false);
        row("copy to", "", false, false, false, false);
    }
    void flagsFollowTheKey()
    {
        QFETCH(QString, key);
        QFETCH(QString, serve);
        QFETCH(bool, notNeedURL);
        QFETCH(bool, needSelectURL);
        QFETCH(bool, needFolder);
        QFETCH(bool, belongsToApps);
        const TQMenuItemPtr item = onlyItemFor(keyRecord(key));
        QVERIFY(item);
        QCOMPARE(item->serve, serve.isEmpty() ? QString() : serve);
        QCOMPARE(item->isNotNeedURL, notNeedURL);
        QCOMPARE(item->isNeedSelectURL, needSelectURL);
        QCOMPARE(item->isNeedFolder, needFolder);
        QCOMPARE(TQMenuManager::belongAppMenuArray().size(), belongsToApps ? 1 : 0);
    }

    void actionFlagsCarryTheirCommandsAndFormats()
    {
        QCOMPARE(onlyItemFor(keyRecord(QStringLiteral("Convert to")))->formats.size(), 20);
        QCOMPARE(onlyItemFor(keyRecord(QStringLiteral("Convert to")))->formats.last(),
                 QStringLiteral("pdf"));
        QCOMPARE(onlyItemFor(keyRecord(QStringLiteral("Execute Script")))->formats,
                 (QStringList{QStringLiteral("sh"), QStringLiteral("scpt")}));
        const TQMenuItemPtr hide = onlyItemFor(keyRecord(QStringLiteral("Hide All Files")));
        QVERIFY(hide->isShowHideFile);
        QCOMPARE(hide->command, QStringLiteral("chflags hidden"));
        QCOMPARE(onlyItemFor(keyRecord(QStringLiteral("Unhide All Files")))->command,
                 QStringLiteral("chflags nohidden"));
        QVERIFY(onlyItemFor(keyRecord(QStringLiteral("Color Picker")))->disabledAuth);
        Value cut = keyRecord(QStringLiteral("Cut Paste"));
        cut.insert(QStringLiteral("cutPaths"),
                   QStringList{QStringLiteral("/a b"), QStringLiteral("/c")});
        QCOMPARE(onlyItemFor(cut)->cutPaths.size(), 2);
    }

    void anApplicationInTheMainMenuNeedsNoTargetAndIsRemembered()
    {
        const Value app = record({{QStringLiteral("key"), QStringLiteral("Emacs")},
                                  {QStringLiteral("appName"), QStringLiteral("Emacs")}});
        store().setObject(Value::array({app, keyRecord(QStringLiteral("Terminal Window"))}),
                          StoreKey::rightMenu);
        const TQMenuItemList items = TQMenuManager::menuItemArray();
        QVERIFY(items.at(0)->isNotNeedURL);
        QCOMPARE(TQMenuManager::belongAppMenuArray().size(), 2);
        TQMenuManager::menuItemArray();
        QCOMPARE(TQMenuManager::belongAppMenuArray().size(), 2); // refilled, not doubled
    }

    void introductionsAreSetOnlyInTheSettingsApplicationWhenTranslated()
    {
        store().setObject(Value::array({keyRecord(QStringLiteral("Copy to")),
                                        keyRecord(QStringLiteral("Unknown Entry"))}),
                          StoreKey::rightMenu);
        TQMenuItemList items = TQMenuManager::menuItemArray();
        QVERIFY(!items.at(0)->introduce.isEmpty());
        QVERIFY(items.at(1)->introduce.isNull());
        TQMenuManager::setProgram(TQMenuManager::Program::Extension);
        items = TQMenuManager::menuItemArray();
        QVERIFY(items.at(0)->introduce.isNull());
    }

    void favouritePathsAreStandardised()
    {
        store().setObject(Value::array({record({{QStringLiteral("path"),
                                                 QStringLiteral("~/Documents/../Desktop")}})}),
                          StoreKey::commonPath);
        const TQMenuItemPtr item = TQMenuManager::commonPathMenuArray().value(0);
        QVERIFY(item);
        QCOMPARE(item->path, QDir::homePath() + QStringLiteral("/Desktop"));
        QCOMPARE(item->key, item->path);
        QCOMPARE(item->icon, QStringLiteral("folder"));
        // Removing by the item's key finds the record written with "~".
        QVERIFY(TQMenuManager::removeMenuKey(StoreKey::commonPath, item->key));
        QCOMPARE(store().object(StoreKey::commonPath).count(), 0);
    }

    void applicationsTakeTheirNameFromTheKey()
    {
        TQDefaultData::recoverCommonApp();
        const TQMenuItemList apps = TQMenuManager::commonAppMenuArray();
        QCOMPARE(apps.size(), 11);
        QCOMPARE(apps.at(1)->appName, QStringLiteral("Visual Studio Code"));
    }

    void removingAnEntryDeletesOnlyTheContainersOwnFiles()
    {
        const QString inside = TQMenuManager::fileTemplateFolder() + QStringLiteral("/T.txt");
        const QString icon = TQMenuManager::fileTemplateFolder() + QStringLiteral("/T.png");
        const QString outside = m_fixture.home() + QStringLiteral("/my document.txt");
        touch(inside);
        touch(icon);
        touch(outside);
        Value a = record({{QStringLiteral("key"), QStringLiteral("A")},
                          {QStringLiteral("templatePath"), inside},
                          {QStringLiteral("iconPath"), icon}});
        Value b = record({{QStringLiteral("key"), QStringLiteral("B")},
                          {QStringLiteral("templatePath"), outside}});
        Value escape = record(
            {{QStringLiteral("key"), QStringLiteral("C")},
             {QStringLiteral("templatePath"), QString(TQMenuManager::fileTemplateFolder() +
                                                      QStringLiteral("/../../my document.txt"))}});
        store().setObject(Value::array({a, b, a, escape}), StoreKey::newFile);

        QVERIFY(TQMenuManager::removeMenuKey(StoreKey::newFile, QStringLiteral("A")));
        QVERIFY(!QFile::exists(inside));
        QVERIFY(!QFile::exists(icon));
        QCOMPARE(store().object(StoreKey::newFile).count(), 2); // every equal record went

        QVERIFY(TQMenuManager::removeMenuKey(StoreKey::newFile, QStringLiteral("B")));
        QVERIFY(TQMenuManager::removeMenuKey(StoreKey::newFile, QStringLiteral("C")));
        QVERIFY(QFile::exists(outside));
        QCOMPARE(store().object(StoreKey::newFile).count(), 0);

        // The main menu never deletes files.
        touch(inside);
        store().setObject(Value::array({a}), StoreKey::rightMenu);
        QVERIFY(TQMenuManager::removeMenuKey(StoreKey::rightMenu, QStringLiteral("A")));
        QVERIFY(QFile::exists(inside));
    }

    void editingOperationsChangeOneRecord()
    {
        store().setObject(
            Value::array({keyRecord(QStringLiteral("A")), keyRecord(QStringLiteral("B"))}),
            StoreKey::commonApp);
        QVERIFY(TQMenuManager::updateMenuKey(StoreKey::commonApp, QStringLiteral("B"),
                                             QStringLiteral("disabled"), true));
        QVERIFY(
            store().object(StoreKey::commonApp).at(1).value(QStringLiteral("disabled")).asBool());
        QVERIFY(TQMenuManager::updateMenuKey(StoreKey::commonApp, QStringLiteral("B"),
                                             QStringLiteral("disabled"), Value()));
        QVERIFY(!store().object(StoreKey::commonApp).at(1).contains(QStringLiteral("disabled")));

        Value replacement = keyRecord(QStringLiteral("A"));
        replacement.insert(QStringLiteral("displayName"), QStringLiteral("Alpha"));
        QVERIFY(TQMenuManager::replaceMenuKey(StoreKey::commonApp, replacement));
        QCOMPARE(
            store().object(StoreKey::commonApp).at(0).value(QStringLiteral("displayName")).string(),
            QStringLiteral("Alpha"));

        QVERIFY(
            TQMenuManager::addMenuKey(StoreKey::commonApp, keyRecord(QStringLiteral("Z")), true));
        QVERIFY(
            TQMenuManager::addMenuKey(StoreKey::commonApp, keyRecord(QStringLiteral("Y")), false));
        QCOMPARE(keysOf(TQMenuManager::commonAppMenuArray()),
                 (QStringList{QStringLiteral("Z"), QStringLiteral("A"), QStringLiteral("B"),
                              QStringLiteral("Y")}));
        // Absent lists are treated as empty and stored.
        QVERIFY(TQMenuManager::updateMenuKey(StoreKey::folderIcon, QStringLiteral("x"),
                                             QStringLiteral("disabled"), true));
        QVERIFY(store().object(StoreKey::folderIcon).isArray());
    }

    void reorderingCountsTheDropPositionBeforeTheRemoval_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<QString>("expected");
        QTest::newRow("down") << 0 << 3 << "BCAD";
        QTest::newRow("up") << 3 << 0 << "DABC";
        QTest::newRow("to the end") << 1 << 4 << "ACDB";
        QTest::newRow("onto itself") << 2 << 2 << "ABCD";
        QTest::newRow("out of range is dropped") << 5 << 0 << "ABCD";
        QTest::newRow("past the end is dropped") << 0 << 9 << "ABCD";
    }
    void reorderingCountsTheDropPositionBeforeTheRemoval()
    {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(QString, expected);
        Value list = Value::array();
        for (QChar c : QStringLiteral("ABCD"))
            list.append(keyRecord(QString(c)));
        store().setObject(list, StoreKey::rightMenu);
        QVERIFY(TQMenuManager::changePositionMenuKey(StoreKey::rightMenu, from, to));
        QCOMPARE(keysOf(TQMenuManager::menuItemArray()).join(QString()), expected);
    }

    void containerFoldersAreCreatedOnDemand()
    {
        const QString folder = TQMenuManager::configManagerFolder();
        QVERIFY(QFileInfo(folder).isDir());
        QCOMPARE(folder, TQMenuManager::sharedFolder() + QStringLiteral("/TQConfigManager"));
        QVERIFY(TQMenuManager::sharedFolder().endsWith(QStringLiteral("/data/pallstone")));
        QVERIFY(TQMenuManager::sharedStorePath().endsWith(
            QStringLiteral("/config/pallstone/group.com.tolvane.pallstone.plist")));
    }
};

QTEST_GUILESS_MAIN(TestMenuManager)
#include "tst_tqmenumanager.moc"
