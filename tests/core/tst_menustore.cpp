#include "DefaultCatalogue.h"
#include "MenuStore.h"
#include "StoreFixture.h"

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

QStringList keysOf(const MenuItemList& items)
{
    QStringList keys;
    for (const MenuItemPtr& item : items)
        keys.append(item->key);
    return keys;
}

MenuItemPtr onlyItemFor(const Value& rec)
{
    MenuStore::sharedDefaults().setObject(Value::array({rec}), StoreKey::rightMenu);
    const MenuItemList items = MenuStore::menuItemArray();
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
    Defaults& store() { return MenuStore::sharedDefaults(); }

private Q_SLOTS:
    void init()
    {
        m_fixture.clear();
        MenuStore::setProgram(MenuStore::Program::Settings);
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
        const MenuItemList settings = MenuStore::menuItemArray();
        QCOMPARE(settings.size(), 3);
        QVERIFY(settings.at(1)->disabled);
        MenuStore::setProgram(MenuStore::Program::Extension);
        QCOMPARE(keysOf(MenuStore::menuItemArray()),
                 (QStringList{QStringLiteral("New File"), QStringLiteral("Delete")}));

        // Templates: the extension's type chooser asks for the disabled ones too.
        Value t = keyRecord(QStringLiteral("et"));
        t.insert(QStringLiteral("disabled"), 1);
        store().setObject(Value::array({keyRecord(QStringLiteral("txt")), t}), StoreKey::newFile);
        QCOMPARE(MenuStore::newFileTemplateMenuArray(false).size(), 1);
        QCOMPARE(MenuStore::newFileTemplateMenuArray(true).size(), 2);
    }

    void malformedListsReadAsEmpty()
    {
        store().setObject(QStringLiteral("not a list"), StoreKey::rightMenu);
        store().setObject(
            Value::array({1, QStringLiteral("x"), keyRecord(QStringLiteral("Delete"))}),
            StoreKey::commonApp);
        QVERIFY(MenuStore::menuItemArray().isEmpty());
        QCOMPARE(keysOf(MenuStore::commonAppMenuArray()), QStringList{QStringLiteral("Delete")});
        // A record without a key yields an item that matches nothing.
        store().setObject(Value::array({record({{QStringLiteral("icon"), QStringLiteral("x")}})}),
                          StoreKey::rightMenu);
        const MenuItemPtr item = MenuStore::menuItemArray().value(0);
        QVERIFY(item);
        QVERIFY(!item->isNotNeedURL && !item->isNeedSelectURL && !item->isNeedFolder);
    }

    void theMainMenusTerminalWindowsAndApplicationsOpenFavouritesToo_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("belongsToApps");
        for (const char* key : {"Terminal Window", "iTerm2 Window"})
            QTest::newRow(key) << QString::fromUtf8(key) << true;
        for (const char* key : {"Terminal To", "Terminal Tab", "iTerm2 To", "iTerm2 Tab", "Delete",
                                "Common App", "Copy Path"})
            QTest::newRow(key) << QString::fromUtf8(key) << false;
    }
    void theMainMenusTerminalWindowsAndApplicationsOpenFavouritesToo()
    {
        QFETCH(QString, key);
        QFETCH(bool, belongsToApps);
        QVERIFY(onlyItemFor(keyRecord(key)));
        QCOMPARE(MenuStore::belongAppMenuArray().size(), belongsToApps ? 1 : 0);
    }

    void aCutRecordCarriesItsPaths()
    {
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
        MenuStore::menuItemArray();
        QCOMPARE(MenuStore::belongAppMenuArray().size(), 2);
        MenuStore::menuItemArray();
        QCOMPARE(MenuStore::belongAppMenuArray().size(), 2); // refilled, not doubled
    }

    void introductionsAreSetOnlyInTheSettingsApplicationWhenTranslated()
    {
        store().setObject(Value::array({keyRecord(QStringLiteral("Copy to")),
                                        keyRecord(QStringLiteral("Unknown Entry"))}),
                          StoreKey::rightMenu);
        MenuItemList items = MenuStore::menuItemArray();
        QVERIFY(!items.at(0)->introduce.isEmpty());
        QVERIFY(items.at(1)->introduce.isNull());
        MenuStore::setProgram(MenuStore::Program::Extension);
        items = MenuStore::menuItemArray();
        QVERIFY(items.at(0)->introduce.isNull());
    }

    void favouritePathsAreStandardised()
    {
        store().setObject(Value::array({record({{QStringLiteral("path"),
                                                 QStringLiteral("~/Documents/../Desktop")}})}),
                          StoreKey::commonPath);
        const MenuItemPtr item = MenuStore::commonPathMenuArray().value(0);
        QVERIFY(item);
        QCOMPARE(item->path, QDir::homePath() + QStringLiteral("/Desktop"));
        QCOMPARE(item->key, item->path);
        QCOMPARE(item->icon, QStringLiteral("folder"));
        // Removing by the item's key finds the record written with "~".
        QVERIFY(MenuStore::removeMenuKey(StoreKey::commonPath, item->key));
        QCOMPARE(store().object(StoreKey::commonPath).count(), 0);
    }

    void applicationsTakeTheirNameFromTheKey()
    {
        DefaultCatalogue::recoverCommonApp();
        const MenuItemList apps = MenuStore::commonAppMenuArray();
        QCOMPARE(apps.size(), 11);
        QCOMPARE(apps.at(1)->appName, QStringLiteral("Visual Studio Code"));
    }

    void removingAnEntryDeletesOnlyTheContainersOwnFiles()
    {
        const QString inside = MenuStore::fileTemplateFolder() + QStringLiteral("/T.txt");
        const QString icon = MenuStore::fileTemplateFolder() + QStringLiteral("/T.png");
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
             {QStringLiteral("templatePath"), QString(MenuStore::fileTemplateFolder() +
                                                      QStringLiteral("/../../my document.txt"))}});
        store().setObject(Value::array({a, b, a, escape}), StoreKey::newFile);

        QVERIFY(MenuStore::removeMenuKey(StoreKey::newFile, QStringLiteral("A")));
        QVERIFY(!QFile::exists(inside));
        QVERIFY(!QFile::exists(icon));
        QCOMPARE(store().object(StoreKey::newFile).count(), 2); // every equal record went

        QVERIFY(MenuStore::removeMenuKey(StoreKey::newFile, QStringLiteral("B")));
        QVERIFY(MenuStore::removeMenuKey(StoreKey::newFile, QStringLiteral("C")));
        QVERIFY(QFile::exists(outside));
        QCOMPARE(store().object(StoreKey::newFile).count(), 0);

        // The main menu never deletes files.
        touch(inside);
        store().setObject(Value::array({a}), StoreKey::rightMenu);
        QVERIFY(MenuStore::removeMenuKey(StoreKey::rightMenu, QStringLiteral("A")));
        QVERIFY(QFile::exists(inside));
    }

    void editingOperationsChangeOneRecord()
    {
        store().setObject(
            Value::array({keyRecord(QStringLiteral("A")), keyRecord(QStringLiteral("B"))}),
            StoreKey::commonApp);
        QVERIFY(MenuStore::updateMenuKey(StoreKey::commonApp, QStringLiteral("B"),
                                         QStringLiteral("disabled"), true));
        QVERIFY(
            store().object(StoreKey::commonApp).at(1).value(QStringLiteral("disabled")).asBool());
        QVERIFY(MenuStore::updateMenuKey(StoreKey::commonApp, QStringLiteral("B"),
                                         QStringLiteral("disabled"), Value()));
        QVERIFY(!store().object(StoreKey::commonApp).at(1).contains(QStringLiteral("disabled")));

        Value replacement = keyRecord(QStringLiteral("A"));
        replacement.insert(QStringLiteral("displayName"), QStringLiteral("Alpha"));
        QVERIFY(MenuStore::replaceMenuKey(StoreKey::commonApp, replacement));
        QCOMPARE(
            store().object(StoreKey::commonApp).at(0).value(QStringLiteral("displayName")).string(),
            QStringLiteral("Alpha"));

        QVERIFY(MenuStore::addMenuKey(StoreKey::commonApp, keyRecord(QStringLiteral("Z")), true));
        QVERIFY(MenuStore::addMenuKey(StoreKey::commonApp, keyRecord(QStringLiteral("Y")), false));
        QCOMPARE(keysOf(MenuStore::commonAppMenuArray()),
                 (QStringList{QStringLiteral("Z"), QStringLiteral("A"), QStringLiteral("B"),
                              QStringLiteral("Y")}));
        // Absent lists are treated as empty and stored.
        QVERIFY(MenuStore::updateMenuKey(StoreKey::folderIcon, QStringLiteral("x"),
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
        QVERIFY(MenuStore::changePositionMenuKey(StoreKey::rightMenu, from, to));
        QCOMPARE(keysOf(MenuStore::menuItemArray()).join(QString()), expected);
    }

    void containerFoldersAreCreatedOnDemand()
    {
        const QString folder = MenuStore::configManagerFolder();
        QVERIFY(QFileInfo(folder).isDir());
        QCOMPARE(folder, MenuStore::sharedFolder() + u'/' + ContainerFolder::profiles);
        QVERIFY(MenuStore::sharedFolder().endsWith(QStringLiteral("/data/pallstone")));
        QVERIFY(MenuStore::sharedStorePath().endsWith(
            QStringLiteral("/config/pallstone/group.com.tolvane.pallstone.plist")));
    }
};

QTEST_GUILESS_MAIN(TestMenuManager)
#include "tst_menustore.moc"
