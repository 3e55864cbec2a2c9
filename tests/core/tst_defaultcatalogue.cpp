#include "DefaultCatalogue.h"
#include "MenuStore.h"
#include "StoreFixture.h"

#include <QTest>

using namespace pallstone;
using namespace Qt::StringLiterals;

namespace {

Value storedList(const QString& key)
{
    return MenuStore::sharedDefaults().object(key);
}

QStringList keysOf(const Value& list)
{
    QStringList keys;
    for (const Value& record : list.list())
        keys.append(record.value(QStringLiteral("key")).string());
    return keys;
}

Value recordWithKey(const Value& list, const QString& key)
{
    for (const Value& record : list.list()) {
        if (record.value(QStringLiteral("key")).string() == key)
            return record;
    }
    return {};
}

// The default main menu as a user of an old version had it: without the entries added since.
Value oldMainMenu(const QStringList& withoutKeys)
{
    Value list = Value::array();
    for (const Value& record : DefaultCatalogue::defaultMainMenu().list()) {
        if (withoutKeys.contains(record.value(QStringLiteral("key")).string()))
            continue;
        Value copy = record.mutableCopy();
        copy.remove(DefaultCatalogue::kChangedVersion);
        list.append(copy);
    }
    return list;
}

const QStringList kSince230 = {
    QStringLiteral("Lock and Unlock"), QStringLiteral("Embed in Folder"),
    QStringLiteral("Unembed Folder"),  QStringLiteral("Color Picker"),
    QStringLiteral("Execute Script"),
};

} // namespace

class TestDefaultData : public QObject
{
    Q_OBJECT

private:
    StoreFixture m_fixture;
    Defaults& store() { return MenuStore::sharedDefaults(); }

    void seedVersion(const QString& version, const Value& mainMenu)
    {
        m_fixture.clear();
        store().setObject(mainMenu, StoreKey::rightMenu);
        if (!version.isNull())
            store().setObject(version, StoreKey::updateVersion);
    }

private Q_SLOTS:
    void init() { m_fixture.clear(); }

    void firstRunSeedsTheDefaultsWithoutMarkers()
    {
        DefaultCatalogue::setup(QStringLiteral("2.6.0"));
        const Value main = storedList(StoreKey::rightMenu);
        QCOMPARE(main.count(), 28);
        for (const Value& record : main.list())
            QVERIFY(!record.contains(DefaultCatalogue::kChangedVersion));
        QCOMPARE(keysOf(main).first(), QStringLiteral("New File"));
        QCOMPARE(keysOf(main).last(), QStringLiteral("System Hide Files"));
        QCOMPARE(storedList(StoreKey::newFile).count(), 23);
        QCOMPARE(storedList(StoreKey::commonApp).count(), 11);
        // Seeded too: "Folder Icon" is on from the start and must have icons to offer.
        QCOMPARE(storedList(StoreKey::folderIcon).count(),
                 DefaultCatalogue::defaultFolderIconMenu().count());
        QVERIFY(storedList(StoreKey::commonPath).isMissing());
        QCOMPARE(store().stringForKey(StoreKey::updateVersion), QStringLiteral("2.6.0"));
        QCOMPARE(store().integerForKey(StoreKey::commonPathNextMenu), 3);

        // "disabled" of templates is an integer. The OpenDocument kinds come last and on, the Apple
        // ones off.
        const Value newFile = storedList(StoreKey::newFile);
        QCOMPARE(keysOf(newFile).mid(20), (QStringList{u"odt"_s, u"ods"_s, u"odp"_s}));
        for (const QString& key :
             {u"odt"_s, u"ods"_s, u"odp"_s, u"pages"_s, u"numbers"_s, u"key"_s})
            QCOMPARE(recordWithKey(newFile, key).value(QStringLiteral("disabled")).integer(),
                     key.startsWith(u"od") ? 0 : 1);
        QVERIFY(recordWithKey(main, u"Cut Paste"_s).value(QStringLiteral("disabled")).readBool());
        QCOMPARE(
            recordWithKey(newFile, QStringLiteral("wps")).value(QStringLiteral("disabled")).kind(),
            Value::Kind::Integer);
        QCOMPARE(recordWithKey(newFile, QStringLiteral("wps"))
                     .value(QStringLiteral("disabled"))
                     .integer(),
                 0);
        QCOMPARE(recordWithKey(newFile, QStringLiteral("et"))
                     .value(QStringLiteral("disabled"))
                     .integer(),
                 1);
    }

    void anUpgradeKeepsTheTemplatesTheUserHad()
    {
        DefaultCatalogue::setup(QStringLiteral("2.5.1"));
        MenuStore::updateMenuKey(StoreKey::newFile, u"pages"_s, QStringLiteral("disabled"), 0);
        MenuStore::removeMenuKey(StoreKey::newFile, u"odt"_s);
        DefaultCatalogue::setup(QStringLiteral("2.6.0"));
        const Value newFile = storedList(StoreKey::newFile);
        QCOMPARE(recordWithKey(newFile, u"pages"_s).value(QStringLiteral("disabled")).integer(), 0);
        QVERIFY(!keysOf(newFile).contains(u"odt"_s));
    }

    void runningTheSameVersionAgainChangesNothing()
    {
        DefaultCatalogue::setup(QStringLiteral("2.6.0"));
        MenuStore::removeMenuKey(StoreKey::rightMenu, QStringLiteral("Delete"));
        store().setObject(4, StoreKey::commonPathNextMenu);
        const Value before = store().dictionaryRepresentation();
        DefaultCatalogue::setup(QStringLiteral("2.6.0"));
        QVERIFY(store().dictionaryRepresentation() == before);
    }

    void upgradeFrom229InsertsWhatCameLaterWithItsMarker()
    {
        QStringList missing = kSince230;
        seedVersion(QStringLiteral("2.2.9"), oldMainMenu(missing));
        Value newFile = DefaultCatalogue::defaultNewFileMenu();
        newFile.removeAt(0); // no "New File From Window" yet
        store().setObject(newFile, StoreKey::newFile);
        Value apps = DefaultCatalogue::defaultCommonAppMenu();
        apps.removeAt(9); // no "Warp" yet
        store().setObject(apps, StoreKey::commonApp);

        // The user's own changes to entries that were not changed since must survive.
        MenuStore::updateMenuKey(StoreKey::rightMenu, QStringLiteral("Cut Paste"),
                                 QStringLiteral("displayName"), QStringLiteral("Mine"));

        DefaultCatalogue::setup(QStringLiteral("2.6.0"));
        const Value main = storedList(StoreKey::rightMenu);
        for (const QString& key : kSince230) {
            const Value record = recordWithKey(main, key);
            QVERIFY2(record.isPresent(), qPrintable(key));
            QVERIFY(record.contains(DefaultCatalogue::kChangedVersion));
        }
        QCOMPARE(main.count(), 28);
        QCOMPARE(recordWithKey(main, QStringLiteral("Lock and Unlock"))
                     .value(QStringLiteral("disabled"))
                     .asBool(),
                 true);
        QCOMPARE(recordWithKey(main, QStringLiteral("Cut Paste"))
                     .value(QStringLiteral("displayName"))
                     .string(),
                 QStringLiteral("Mine"));
        QVERIFY(!recordWithKey(main, QStringLiteral("Folder Icon"))
                     .contains(DefaultCatalogue::kChangedVersion));
        QVERIFY(recordWithKey(storedList(StoreKey::newFile), QStringLiteral("New File From Window"))
                    .isPresent());
        QVERIFY(recordWithKey(storedList(StoreKey::commonApp), QStringLiteral("Warp")).isPresent());
        // "Folder Icon" was not inserted, so the folder icons were not seeded.
        QCOMPARE(storedList(StoreKey::folderIcon).count(), 0);
        QCOMPARE(store().stringForKey(StoreKey::updateVersion), QStringLiteral("2.6.0"));
    }

    void upgradeFrom200ResetsAChangedCutPasteRecord()
    {
        Value main = oldMainMenu({QStringLiteral("Folder Icon")});
        seedVersion(QStringLiteral("2.0.0"), main);
        MenuStore::updateMenuKey(StoreKey::rightMenu, QStringLiteral("Cut Paste"),
                                 QStringLiteral("displayName"), QStringLiteral("Mine"));
        MenuStore::updateMenuKey(StoreKey::rightMenu, QStringLiteral("Cut Paste"),
                                 QStringLiteral("disabled"), true);
        DefaultCatalogue::setup(QStringLiteral("2.6.0"));
        const Value cut =
            recordWithKey(storedList(StoreKey::rightMenu), QStringLiteral("Cut Paste"));
        QVERIFY(!cut.contains(QStringLiteral("displayName")));
        // Today's default record: off, the file manager's own Cut is right above it.
        QVERIFY(cut.value(QStringLiteral("disabled")).asBool());
        QVERIFY(!cut.contains(DefaultCatalogue::kChangedVersion));
        // "Folder Icon" came in 2.1.0: inserted, and the folder-icon list seeded with it.
        QVERIFY(recordWithKey(storedList(StoreKey::rightMenu), QStringLiteral("Folder Icon"))
                    .isPresent());
        QCOMPARE(storedList(StoreKey::folderIcon).count(), 20);
    }

    void aShortMenuReceivesFolderIconAtTheFront()
    {
        Value shortMenu = Value::array();
        for (const QString& key : {QStringLiteral("New File"), QStringLiteral("Copy to")}) {
            Value record = Value::dictionary();
            record.insert(QStringLiteral("key"), key);
            shortMenu.append(record);
        }
        seedVersion(QStringLiteral("2.0.5"), shortMenu);
        DefaultCatalogue::setup(QStringLiteral("2.6.0"));
        const QStringList keys = keysOf(storedList(StoreKey::rightMenu));
        const qsizetype folderIcon = keys.indexOf(QStringLiteral("Folder Icon"));
        QVERIFY(folderIcon >= 0);
        // Position 3 does not exist in a list of two: the front instead.
        QCOMPARE(keys.at(folderIcon), QStringLiteral("Folder Icon"));
        QVERIFY2(folderIcon < keys.indexOf(QStringLiteral("New File")),
                 qPrintable(keys.join(u',')));
    }

    void noStoredVersionInsertsNothing()
    {
        seedVersion(QString(), oldMainMenu(kSince230));
        DefaultCatalogue::setup(QStringLiteral("2.6.0"));
        QCOMPARE(storedList(StoreKey::rightMenu).count(), 28 - kSince230.size());
        QCOMPARE(store().stringForKey(StoreKey::updateVersion), QStringLiteral("2.6.0"));
    }

    void recoverRestoresTheDefaultsAndDropsTheUsersEntries()
    {
        DefaultCatalogue::setup(QStringLiteral("2.6.0"));
        MenuStore::removeMenuKey(StoreKey::commonApp, QStringLiteral("WeChat"));
        DefaultCatalogue::recoverCommonApp();
        QCOMPARE(keysOf(storedList(StoreKey::commonApp)).first(), QStringLiteral("WeChat"));
        DefaultCatalogue::recoverFolderIcon();
        const Value icons = storedList(StoreKey::folderIcon);
        QCOMPARE(icons.count(), 20);
        QCOMPARE(icons.at(0).value(QStringLiteral("icon")).string(), QStringLiteral("foldericon"));
        QCOMPARE(icons.at(10).value(QStringLiteral("disabled")).integer(), 0);
        QCOMPARE(icons.at(11).value(QStringLiteral("disabled")).integer(), 1);
        DefaultCatalogue::recoverCommonPath();
        QVERIFY(storedList(StoreKey::commonPath).isArray());
        QCOMPARE(storedList(StoreKey::commonPath).count(), 0);
    }

    void nextMenuModeIsOnlySetWhenZeroOrAbsent()
    {
        DefaultCatalogue::setup(QStringLiteral("2.6.0"));
        store().setObject(2, StoreKey::commonPathNextMenu);
        DefaultCatalogue::setup(QStringLiteral("2.6.1"));
        QCOMPARE(store().integerForKey(StoreKey::commonPathNextMenu), 2);
        store().setObject(0, StoreKey::commonPathNextMenu);
        DefaultCatalogue::setup(QStringLiteral("2.6.1"));
        QCOMPARE(store().integerForKey(StoreKey::commonPathNextMenu), 3);
    }
};

QTEST_GUILESS_MAIN(TestDefaultData)
#include "tst_defaultcatalogue.moc"
