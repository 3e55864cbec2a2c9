#include "MenuItem.h"
#include "MenuStore.h"
#include "StoreFixture.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace pallstone;

class TestMenuItem : public QObject
{
    Q_OBJECT

private:
    StoreFixture m_fixture;

private Q_SLOTS:
    void init() { m_fixture.clear(); }

    void aNewItemIsEmpty()
    {
        const MenuItemPtr item = MenuItem::create();
        QVERIFY(item->key.isNull());
        QVERIFY(!item->desc.isNull());
        QVERIFY(item->desc.isEmpty());
        QCOMPARE(item->tag, 0);
        QVERIFY(!item->disabled && !item->isNotNeedURL);
    }

    void titlesPreferAValidDisplayName_data()
    {
        QTest::addColumn<QString>("displayName");
        QTest::addColumn<QString>("appName");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        QTest::newRow("display name wins") << "Mine"
                                           << ""
                                           << "Copy to"
                                           << "Mine";
        QTest::newRow("(null) is not a name")
            << "(null)"
            << ""
            << "Copy to" << Localizer::text(QStringLiteral("Copy to"));
        QTest::newRow("blanks are not a name")
            << " \n\t"
            << ""
            << "Copy to" << Localizer::text(QStringLiteral("Copy to"));
        QTest::newRow("applications are prefixed without a separator")
            << ""
            << "WeChat"
            << "WeChat"
            << QString(Localizer::text(QStringLiteral("Open With")) +
                       Localizer::text(QStringLiteral("WeChat")));
        QTest::newRow("an untranslated key shows itself") << ""
                                                          << ""
                                                          << "toml"
                                                          << "toml";
    }
    void titlesPreferAValidDisplayName()
    {
        QFETCH(QString, displayName);
        QFETCH(QString, appName);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        MenuItemPtr item = MenuItem::create();
        item->displayName = displayName;
        item->appName = appName;
        item->key = key;
        QCOMPARE(item->menuTitle(), expected);
    }

    void theApplicationPrefixReadsAsWords()
    {
        MenuItemPtr item = MenuItem::create();
        item->appName = item->key = QStringLiteral("Emacs");
        QCOMPARE(item->menuTitle(), QStringLiteral("Open with Emacs"));
    }

    void iconsComeFromTheImageTheResourceOrThePath()
    {
        QTemporaryDir dir;
        MenuItemPtr item = MenuItem::create();

        item->path = dir.filePath(QStringLiteral("Report.DOC"));
        QCOMPARE(item->menuIcon(), (MenuIcon{MenuIcon::Kind::Resource, QStringLiteral("docx")}));
        item->path = dir.filePath(QStringLiteral("notes.unknownext"));
        QCOMPARE(item->menuIcon().value, QStringLiteral("file"));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Photos.json")));
        item->path = dir.filePath(QStringLiteral("Photos.json"));
        QCOMPARE(item->menuIcon().value, QStringLiteral("folder"));

        item->icon = QStringLiteral("copy");
        QCOMPARE(item->menuIcon().value, QStringLiteral("copy"));
        item->icon = QStringLiteral("no-such-resource");
        QCOMPARE(item->menuIcon().value, QStringLiteral("folder"));

        // A user image that is not an image does not hide the resource.
        const QString fake = dir.filePath(QStringLiteral("icon.png"));
        QFile f(fake);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("plain text, not a picture");
        f.close();
        item->icon = QStringLiteral("copy");
        item->iconPath = fake;
        QCOMPARE(item->menuIcon().value, QStringLiteral("copy"));
        QFile svg(dir.filePath(QStringLiteral("real.svg")));
        QVERIFY(svg.open(QIODevice::WriteOnly));
        svg.write("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"4\" height=\"4\"/>");
        svg.close();
        item->iconPath = svg.fileName();
        QCOMPARE(item->menuIcon().kind, MenuIcon::Kind::File);

        QVERIFY(MenuItem::create()->menuIcon().isNull());
    }

    void aParentIsValidWhileOneChildIsUnused()
    {
        MenuItemPtr parent = MenuItem::create();
        QVERIFY(parent->isValidParent());
        for (const QString& key : {QStringLiteral("a/b.c"), QStringLiteral("x")}) {
            MenuItemPtr child = MenuItem::create();
            child->key = key;
            parent->addChild(child);
            QCOMPARE(child->parent, parent.get());
        }
        Defaults& store = MenuStore::sharedDefaults();
        store.setObject(2, QStringLiteral("a/b.c")); // a top-level key, not a key path
        QVERIFY(parent->isValidParent());
        store.setObject(1, QStringLiteral("x"));
        QVERIFY(!parent->isValidParent());
        store.setObject(0, QStringLiteral("x"));
        QVERIFY(parent->isValidParent());
    }

    void factoriesAndPredicates()
    {
        QCOMPARE(MenuItem::sepLineItem()->displayName, QString(26, u'-'));
        QVERIFY(MenuItem::sepLineItem()->isSepLine());
        QVERIFY(MenuItem::setItem()->disabledAuth);
        QCOMPARE(MenuItem::setItem()->icon, QStringLiteral("set"));
        QVERIFY(MenuItem::addToFileTemplate()->isAddToFileTemplate());
        MenuItemPtr item = MenuItem::create();
        item->key = QStringLiteral("iTerm2 To");
        QVERIFY(item->isTerminalTo());
        item->key = QStringLiteral("copy to");
        QVERIFY(!item->isCopy());
    }

    void recordsAreReadLoosely()
    {
        Value record = Value::dictionary();
        record.insert(QStringLiteral("key"), QStringLiteral("k"));
        record.insert(QStringLiteral("disabled"), QStringLiteral("1"));
        record.insert(QStringLiteral("special"), 1);
        record.insert(QStringLiteral("toMainMenu"), 0);
        record.insert(QStringLiteral("displayName"), 5); // not a string: ignored
        const MenuItemPtr item = MenuItem::fromRecord(
            record, {QStringLiteral("key"), QStringLiteral("disabled"), QStringLiteral("special"),
                     QStringLiteral("toMainMenu"), QStringLiteral("displayName")});
        QVERIFY(item->disabled);
        QVERIFY(item->isSpecialFile);
        QVERIFY(!item->isAddToMainMenu);
        QVERIFY(item->displayName.isNull());
    }
};

QTEST_GUILESS_MAIN(TestMenuItem)
#include "tst_menuitem.moc"
