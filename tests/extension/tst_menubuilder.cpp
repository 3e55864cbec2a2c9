#include "DirectoryLister.h"
#include "ExtensionFixture.h"
#include "MenuTag.h"

#include <QElapsedTimer>
#include <QThread>

#include <atomic>
#include <memory>
#include <vector>

#include <QTest>

using namespace pallstone;

namespace {

const MenuEntry* find(const QList<MenuEntry>& menu, const QString& key)
{
    for (const MenuEntry& e : menu) {
        if (e.key == key)
            return &e;
    }
    return nullptr;
}

QStringList keys(const QList<MenuEntry>& menu)
{
    QStringList out;
    for (const MenuEntry& e : menu)
        out.append(e.separator ? QStringLiteral("----") : e.key);
    return out;
}

// Follows a tag through the model the menu was built from.
MenuItemPtr modelEntry(const MenuSession& fs, qint64 tag)
{
    const QList<int> pieces = MenuTag::decode(tag);
    MenuItemList level = fs.menu.model;
    MenuItemPtr item;
    for (int piece : pieces) {
        if (piece < 1 || piece > level.size())
            return {};
        item = level.at(piece - 1);
        level = item->children;
    }
    return item;
}

} // namespace

class TestMenuBuilder : public QObject
{
    Q_OBJECT

private:
    ExtensionFixture m_fx;

private Q_SLOTS:
    void init() { m_fx.reset(); }

    void theRootBackgroundOffersOnlyEntriesThatNeedNoTarget()
    {
        MenuSession fs;
        const BuiltMenu menu = fs.background(QStringLiteral("/"));
        QVERIFY(fs.request.selectPaths.isEmpty());
        for (const MenuEntry& e : menu) {
            const MenuItemPtr model = modelEntry(fs, e.tag);
            QVERIFY2(model && model->isNotNeedURL, qPrintable(e.key));
        }
        const MenuEntry* newFile = find(menu, QStringLiteral("New File"));
        QVERIFY(newFile);
        QCOMPARE(keys(newFile->children),
                 (QStringList{QStringLiteral("New File From Window"), QStringLiteral("Go Set")}));
    }

    void theItemsMenuOffersPerSelectionEntries()
    {
        MenuSession fs;
        const QString a = m_fx.touch(QStringLiteral("w/a.txt"));
        const QString b = m_fx.touch(QStringLiteral("w/b.txt"));
        MenuStore::updateMenuKey(StoreKey::rightMenu, QStringLiteral("File Info"),
                                 QStringLiteral("disabled"), false);
        BuiltMenu one = fs.items({a});
        QVERIFY(!find(one, QStringLiteral("Hide All Files")));
        QVERIFY(!find(one, QStringLiteral("Color Picker")));
        QVERIFY(find(one, QStringLiteral("File Info")));
        QCOMPARE(keys(find(one, QStringLiteral("File Info"))->children),
                 (QStringList{QStringLiteral("MD5"), QStringLiteral("SHA1"),
                              QStringLiteral("SHA256"), QStringLiteral("SHA512"),
                              QStringLiteral("CRC32"), QStringLiteral("Go Set")}));
        QVERIFY(find(find(one, QStringLiteral("New File"))->children,
                     QStringLiteral("Add to File Template")));
        BuiltMenu two = fs.items({a, b});
        QVERIFY(!find(two, QStringLiteral("File Info")));
        QVERIFY(!find(find(two, QStringLiteral("New File"))->children,
                      QStringLiteral("Add to File Template")));
        // The background of a folder offers the colour picker and hiding every item.
        BuiltMenu back = fs.background(m_fx.mkdir(QStringLiteral("w")));
        QVERIFY(find(back, QStringLiteral("Color Picker")));
        QVERIFY(find(back, QStringLiteral("Hide All Files")));
    }

    void aPendingCutOffersPasteOnlyInAnotherFolder()
    {
        MenuSession fs;
        const QString x = m_fx.mkdir(QStringLiteral("X"));
        const QString y = m_fx.mkdir(QStringLiteral("Y"));
        const QString a = m_fx.touch(QStringLiteral("X/a"));
        MenuStore::updateMenuKey(StoreKey::rightMenu, QStringLiteral("Cut Paste"),
                                 QStringLiteral("disabled"), false);
        QVERIFY(!find(fs.background(y), QStringLiteral("Cut Paste"))); // nothing cut yet
        MenuStore::updateMenuKey(StoreKey::rightMenu, QStringLiteral("Cut Paste"),
                                 QStringLiteral("cutPaths"), QStringList{a});
        QVERIFY(!find(fs.background(x), QStringLiteral("Cut Paste")));
        const BuiltMenu inY = fs.background(y);
        const MenuEntry* paste = find(inY, QStringLiteral("Cut Paste"));
        QVERIFY(paste);
        QCOMPARE(paste->title, Localizer::text(QStringLiteral("Paste")));
        QCOMPARE(paste->icon.value, QStringLiteral("paste"));
        const BuiltMenu onA = fs.items({a});
        const MenuEntry* cut = find(onA, QStringLiteral("Cut Paste"));
        QVERIFY(cut);
        QCOMPARE(cut->title, Localizer::text(QStringLiteral("Cut")));
    }

    void aLockedFileOffersUnlock()
    {
        MenuSession fs;
        MenuStore::updateMenuKey(StoreKey::rightMenu, QStringLiteral("Lock and Unlock"),
                                 QStringLiteral("disabled"), false);
        const QString f = m_fx.touch(QStringLiteral("locked.txt"));
        const BuiltMenu before = fs.items({f});
        QCOMPARE(find(before, QStringLiteral("Lock and Unlock"))->title,
                 Localizer::text(QStringLiteral("Lock")));
        QFile::setPermissions(f, QFile::ReadOwner | QFile::ReadGroup);
        const BuiltMenu after = fs.items({f});
        const MenuEntry* e = find(after, QStringLiteral("Lock and Unlock"));
        QCOMPARE(e->title, Localizer::text(QStringLiteral("Unlock")));
        QCOMPARE(e->icon.value, QStringLiteral("unlock"));
    }

    void skippedEntriesKeepTheirTagNumbers()
    {
        MenuSession fs;
        const BuiltMenu menu = fs.background(m_fx.mkdir(QStringLiteral("w")));
        // "Copy to" and "Move to" are skipped on a background; tags still count them.
        for (const MenuEntry& e : menu) {
            const MenuItemPtr model = modelEntry(fs, e.tag);
            QVERIFY(model);
            QCOMPARE(model->key, e.key);
            for (const MenuEntry& child : e.children) {
                if (child.separator)
                    continue;
                const MenuItemPtr c = modelEntry(fs, child.tag);
                QVERIFY(c);
                QCOMPARE(c->key, child.key);
            }
        }
        QVERIFY(menu.size() < fs.menu.model.size());
    }

    void anApplicationThatIsNotInstalledIsNotOffered()
    {
        m_fx.installApplication(QStringLiteral("org.example.Present"),
                                QStringLiteral("Present Editor"));
        ExtensionFixture::setApplications(
            {QStringLiteral("Absent Editor"), QStringLiteral("Present Editor")});

        MenuSession fs;
        const QString file = m_fx.touch(QStringLiteral("w/a.txt"));
        // GIO learns of the new entry through its file monitor.
        QTRY_VERIFY(find(fs.items({file}), QStringLiteral("Common App")) &&
                    keys(find(fs.menu.entries, QStringLiteral("Common App"))->children)
                        .contains(QStringLiteral("Present Editor")));
        const MenuEntry* opener = find(fs.menu.entries, QStringLiteral("Common App"));
        QVERIFY(!keys(opener->children).contains(QStringLiteral("Absent Editor")));
        const MenuEntry* present = find(opener->children, QStringLiteral("Present Editor"));
        QCOMPARE(modelEntry(fs, present->tag)->appName, QStringLiteral("Present Editor"));
    }

    void aFreshMenuReadsLikeTheFileManagersOwn()
    {
        MenuSession fs;
        const BuiltMenu menu = fs.items({m_fx.touch(QStringLiteral("w/a.txt"))});
        // The file manager's own Cut is right above our entries.
        QVERIFY(!find(menu, QStringLiteral("Cut Paste")));
        const MenuEntry* newFile = find(menu, QStringLiteral("New File"));
        QVERIFY(newFile);
        const QList<MenuEntry>& kinds = newFile->children;
        QCOMPARE(find(kinds, QStringLiteral("txt"))->title, QStringLiteral("Text Document"));
        QCOMPARE(find(kinds, QStringLiteral("docx"))->title, QStringLiteral("Word Document"));
        QCOMPARE(find(kinds, QStringLiteral("ods"))->title,
                 QStringLiteral("OpenDocument Spreadsheet"));
        // Switched off: no Linux application opens them.
        for (const QString& apple :
             {QStringLiteral("pages"), QStringLiteral("numbers"), QStringLiteral("key")})
            QVERIFY2(!find(kinds, apple), qPrintable(apple));
    }

    void favouriteFoldersShowWhatTheModeAsks()
    {
        MenuSession fs;
        const QString ten = m_fx.mkdir(QStringLiteral("ten"));
        for (int i = 0; i < 10; ++i)
            m_fx.touch(QStringLiteral("ten/f%1").arg(i));
        m_fx.touch(QStringLiteral("ten/.hidden"));
        const QString twenty = m_fx.mkdir(QStringLiteral("twenty"));
        for (int i = 0; i < 20; ++i)
            m_fx.mkdir(QStringLiteral("twenty/d%1").arg(i));
        ExtensionFixture::setCommonPaths({ten, twenty, m_fx.home() + QStringLiteral("/missing")});
        MenuStore::sharedDefaults().setObject(4, StoreKey::commonPathNextMenu);

        const QString sel = m_fx.touch(QStringLiteral("s.txt"));
        const BuiltMenu menu = fs.items({sel});
        const MenuEntry* favourites = find(menu, QStringLiteral("Common Path"));
        QVERIFY(favourites);
        const QStringList inTen = keys(favourites->children.at(0).children);
        QCOMPARE(inTen.first(), QStringLiteral("Show in Finder"));
        QCOMPARE(inTen.at(11), QStringLiteral("More Files")); // after exactly ten entries
        QCOMPARE(inTen.at(12), QStringLiteral("----"));
        QVERIFY(!inTen.contains(m_fx.home() + QStringLiteral("/ten/.hidden")));
        QCOMPARE(keys(favourites->children.at(2).children),
                 QStringList{QStringLiteral("To Authorize")});

        const MenuEntry* copy = find(menu, QStringLiteral("Copy to"));
        QCOMPARE(copy->children.first().key, QStringLiteral("Select Folder"));
        const QStringList inTwenty = keys(copy->children.at(2).children);
        QCOMPARE(inTwenty.first(), QStringLiteral("Current Directory"));
        QCOMPARE(inTwenty.size(), 22);
        QCOMPARE(inTwenty.last(), QStringLiteral("----")); // the tip after the 20th
        QVERIFY(copy->children.at(2).children.last().title.contains(QStringLiteral("20")));
        // Only folders are offered to copy into.
        QCOMPARE(keys(copy->children.at(1).children), QStringList());
    }

    void hidingTheSettingsEntryLeavesEmptySubmenusOut()
    {
        MenuSession fs;
        MenuStore::sharedDefaults().setObject(true, StoreKey::prefCheck(2));
        const BuiltMenu menu = fs.background(m_fx.mkdir(QStringLiteral("w")));
        for (const MenuEntry& e : menu)
            QVERIFY(!find(e.children, QStringLiteral("Go Set")));
        const MenuEntry* favourites = find(menu, QStringLiteral("Common Path"));
        QVERIFY(favourites);
        QVERIFY2(!favourites->hasSubmenu, qPrintable(keys(favourites->children).join(u',')));
        MenuStore::sharedDefaults().setObject(true, StoreKey::prefCheck(1));
        for (const MenuEntry& e : fs.background(m_fx.mkdir(QStringLiteral("w"))))
            QVERIFY(e.icon.isNull());
    }

    void convertOffersTheOtherFormats()
    {
        MenuSession fs;
        const QString png = m_fx.touch(QStringLiteral("p.png"));
        const QString jpg = m_fx.touch(QStringLiteral("q.jpg"));
        const BuiltMenu onPng = fs.items({png});
        QStringList targets = keys(find(onPng, QStringLiteral("Convert to"))->children);
        QVERIFY(!targets.contains(QStringLiteral("PNG")));
        QVERIFY(targets.contains(QStringLiteral("PDF")));
        const BuiltMenu onJpg = fs.items({jpg});
        targets = keys(find(onJpg, QStringLiteral("Convert to"))->children);
        QVERIFY(targets.contains(QStringLiteral("JPEG"))); // "JPEG" does not contain "JPG"
        const BuiltMenu onBoth = fs.items({png, jpg});
        const MenuEntry* convert = find(onBoth, QStringLiteral("Convert to"));
        QCOMPARE(find(convert->children, QStringLiteral("PDF"))->title,
                 Localizer::text(QStringLiteral("Merge to PDF")));
        QVERIFY(
            !find(fs.items({m_fx.touch(QStringLiteral("t.txt"))}), QStringLiteral("Convert to")));
    }

    void aLevelNeverAddressesMoreThan99Entries()
    {
        MenuSession fs;
        Value list = Value::array();
        for (int i = 0; i < 120; ++i) {
            Value r = Value::dictionary();
            r.insert(QStringLiteral("key"), QStringLiteral("e%1").arg(i));
            r.insert(QStringLiteral("ext"), QStringLiteral("e%1").arg(i));
            list.append(r);
        }
        MenuStore::sharedDefaults().setObject(list, StoreKey::newFile);
        const BuiltMenu menu = fs.items({m_fx.touch(QStringLiteral("a.txt"))});
        const MenuEntry* newFile = find(menu, QStringLiteral("New File"));
        QVERIFY(newFile);
        for (const MenuEntry& e : newFile->children) {
            const QList<int> pieces = MenuTag::decode(e.tag);
            QVERIFY2(pieces.size() == 2, qPrintable(e.key + u' ' + QString::number(e.tag)));
            QVERIFY(pieces.at(1) >= 1 && pieces.at(1) <= 99);
        }
        QCOMPARE(newFile->children.size(), 99);
    }

    void theRootIsDroppedFromTheSelection()
    {
        MenuSession fs;
        const QString a = m_fx.touch(QStringLiteral("a"));
        fs.items({QStringLiteral("/"), a});
        QCOMPARE(fs.request.selectPaths, QStringList{a});
        QVERIFY(fs.request.isSelectURL);
        fs.background(m_fx.home());
        QVERIFY(!fs.request.isSelectURL);
        QVERIFY(!fs.request.isSelectSingleURL());
    }

    void theRootBackgroundForgetsTheItemsMenuBeforeIt()
    {
        MenuSession fs;
        const QStringList fresh = keys(fs.background(QStringLiteral("/")));
        QVERIFY(fresh.contains(QStringLiteral("Color Picker")));
        fs.items({m_fx.touch(QStringLiteral("a.txt"))});
        QCOMPARE(keys(fs.background(QStringLiteral("/"))), fresh);
        QVERIFY(!fs.request.isSelectURL);
        QVERIFY(!fs.request.isSelectSingleURL());
    }

    void everyOfferedEntryReachesItsAction()
    {
        // Every entry of the catalogue switched on.
        Value list = MenuStore::sharedDefaults().object(StoreKey::rightMenu).mutableCopy();
        for (qsizetype i = 0; i < list.count(); ++i) {
            Value record = list.at(i).mutableCopy();
            record.insert(QStringLiteral("disabled"), false);
            list.replace(i, record);
        }
        MenuStore::sharedDefaults().setObject(list, StoreKey::rightMenu);
        QStringList rowNames;
        for (const ActionRow& row : ActionTable::instance().rows())
            rowNames.append(row.name);
        QStringList reached;
        std::vector<std::unique_ptr<ActionTable::Override>> overrides;
        for (const QString& name : rowNames)
            overrides.push_back(std::make_unique<ActionTable::Override>(
                name, [&reached, name](const ActionCall&) { reached.append(name); }));

        const QString file = m_fx.touch(QStringLiteral("w/a.sh"));
        const QString folder = m_fx.mkdir(QStringLiteral("w/d"));
        MenuSession fs;
        int offered = 0;
        for (const MenuRequest& request :
             {MenuRequest(MenuKind::Items, {file}, m_fx.home()),
              MenuRequest(MenuKind::Items, {folder}, m_fx.home()),
              MenuRequest(MenuKind::Background, {}, folder),
              MenuRequest(MenuKind::Background, {}, QStringLiteral("/"))}) {
            for (const MenuEntry& e : fs.ask(request)) {
                const ActionRow* row = ActionTable::instance().rowFor(*modelEntry(fs, e.tag));
                QVERIFY2(row, qPrintable(e.key));
                qint64 tag = e.tag;
                for (const MenuEntry& child : e.children) {
                    if (!child.separator && child.key != u"Go Set") {
                        tag = child.tag;
                        break;
                    }
                }
                if (e.hasSubmenu && tag == e.tag)
                    continue; // nothing to choose but the settings entry
                reached.clear();
                QVERIFY2(fs.perform(tag), qPrintable(e.key));
                QCOMPARE(reached, QStringList{row->name});
                ++offered;
            }
        }
        QVERIFY(offered > 20);
    }

    void entriesAppearWhereTheirRowsSay_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("anywhere");
        QTest::addColumn<bool>("selectionOnly");
        QTest::addColumn<bool>("foldersOnly");
        auto row = [](const char* key, bool anywhere, bool selectionOnly, bool foldersOnly) {
            QTest::newRow(key) << QString::fromUtf8(key) << anywhere << selectionOnly
                               << foldersOnly;
        };
        for (const char* key : {"Terminal Window", "Terminal To", "Terminal Tab", "iTerm2 Window",
                                "iTerm2 To", "iTerm2 Tab", "System Hide Files", "Common App",
                                "Common Path", "New File", "Color Picker"})
            row(key, true, false, false);
        for (const char* key :
             {"Hide Selected Files", "Lock and Unlock", "Copy to", "Move to",
              "Encrypted Compression", "Delete", "Embed in Folder", "Execute Script"})
            row(key, false, true, false);
        row("Unembed Folder", false, true, true);
        for (const char* key : {"Hide All Files", "Unhide All Files", "Copy Path", "Cut Paste"})
            row(key, false, false, false);
    }
    void entriesAppearWhereTheirRowsSay()
    {
        QFETCH(QString, key);
        QFETCH(bool, anywhere);
        QFETCH(bool, selectionOnly);
        QFETCH(bool, foldersOnly);
        MenuItem entry;
        entry.key = key;
        const ActionRow* row = ActionTable::instance().rowFor(entry);
        QVERIFY(row && row->run);
        QCOMPARE(row->anywhere, anywhere);
        QCOMPARE(row->selectionOnly, selectionOnly);
        QCOMPARE(row->foldersOnly, foldersOnly);
        MenuItem app;
        app.key = QStringLiteral("Emacs");
        app.appName = QStringLiteral("Emacs");
        QVERIFY(ActionTable::instance().rowFor(app)->anywhere);
        entry.key = QStringLiteral("Execute Script");
        QCOMPARE(ActionTable::instance().rowFor(entry)->formats,
                 (QStringList{QStringLiteral("sh"), QStringLiteral("scpt")}));
        entry.key = QStringLiteral("Convert to");
        const QStringList convertible = ActionTable::instance().rowFor(entry)->formats;
        // Only the types the converter reads.
        QCOMPARE(convertible.size(), 16);
        QVERIFY(!convertible.contains(QStringLiteral("fax")));
        QCOMPARE(convertible.last(), QStringLiteral("pdf"));
        entry.key = QStringLiteral("Color Picker");
        QVERIFY(ActionTable::instance().rowFor(entry)->noFolderCheck);
    }

    void hidingEntriesCarryTheirCommands()
    {
        MenuSession fs;
        fs.background(m_fx.mkdir(QStringLiteral("w")));
        for (const MenuItemPtr& e : fs.menu.model) {
            if (e->key == u"Hide All Files")
                QCOMPARE(e->command, QStringLiteral("chflags hidden"));
            if (e->key == u"Unhide All Files")
                QCOMPARE(e->command, QStringLiteral("chflags nohidden"));
        }
    }

    void copyToAndMoveToShareOneListingOfAFavourite()
    {
        const QString slow = m_fx.mkdir(QStringLiteral("slowish"));
        m_fx.mkdir(QStringLiteral("slowish/sub"));
        ExtensionFixture::setCommonPaths({slow});
        // A slow folder: every listing of it again eats into the menu's budget.
        std::atomic<int> listings{0};
        DirectoryLister::setListingHook([&](const QString& folder) {
            if (folder == slow) {
                ++listings;
                QThread::msleep(8);
            }
        });
        MenuSession fs;
        const BuiltMenu menu = fs.items({m_fx.touch(QStringLiteral("t.txt"))});
        DirectoryLister::setListingHook({});
        const MenuEntry* copy = find(menu, QStringLiteral("Copy to"));
        const MenuEntry* move = find(menu, QStringLiteral("Move to"));
        QVERIFY(copy && move && copy->children.size() > 1 && move->children.size() > 1);
        QCOMPARE(keys(move->children.at(1).children), keys(copy->children.at(1).children));
        // Once for the favourites' own submenu, once for the two folder choices.
        QCOMPARE(listings.load(), 2);
    }

    void aFavouriteThatDoesNotAnswerLeavesTheMenuOnTime()
    {
        const QString slow = m_fx.mkdir(QStringLiteral("slow"));
        m_fx.touch(QStringLiteral("slow/a"));
        const QString fast = m_fx.mkdir(QStringLiteral("fast"));
        m_fx.touch(QStringLiteral("fast/b"));
        ExtensionFixture::setCommonPaths({slow, fast});
        MenuStore::sharedDefaults().setObject(3, StoreKey::commonPathNextMenu);
        // The slow folder's listing hangs, as on a network mount that no longer answers.
        std::atomic<bool> answer{false};
        DirectoryLister::setListingHook([&](const QString& folder) {
            while (folder == slow && !answer)
                QThread::msleep(2);
        });
        MenuSession fs;
        const QString selected = m_fx.touch(QStringLiteral("s.txt"));
        QElapsedTimer t;
        t.start();
        const BuiltMenu menu = fs.items({selected});
        QVERIFY2(t.elapsed() < 1000, qPrintable(QString::number(t.elapsed())));
        const MenuEntry* favourites = find(menu, QStringLiteral("Common Path"));
        QVERIFY(favourites);
        QVERIFY(!favourites->children.at(0).hasSubmenu);
        QVERIFY(favourites->children.at(1).hasSubmenu);
        // Once it answers, the next menu has its entries.
        answer = true;
        QTest::qWait(100);
        const BuiltMenu again = fs.items({selected});
        QVERIFY(find(again, QStringLiteral("Common Path"))->children.at(0).hasSubmenu);
        QTest::qWait(50); // the listings of the other entries have let go of the hook
        DirectoryLister::setListingHook({});
    }
};

QTEST_MAIN(TestMenuBuilder)
#include "tst_menubuilder.moc"
