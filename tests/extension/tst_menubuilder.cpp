#include "ExtensionFixture.h"
#include "MenuTag.h"

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
TQMenuItemPtr modelEntry(const FinderSync& fs, qint64 tag)
{
    const QList<int> pieces = MenuTag::decode(tag);
    TQMenuItemList level = fs.rightMenuArray();
    TQMenuItemPtr item;
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
    FinderSyncController& controller() { return FinderSyncController::defaultController(); }

    BuiltMenu items(FinderSync& fs, const QStringList& paths)
    {
        controller().setSelectedItemURLs(paths);
        controller().setTargetedURL(QFileInfo(paths.first()).absolutePath());
        return fs.menuForMenuKind(FinderSync::ContextualMenuForItems);
    }
    BuiltMenu background(FinderSync& fs, const QString& folder)
    {
        controller().setSelectedItemURLs({});
        controller().setTargetedURL(folder);
        return fs.menuForMenuKind(FinderSync::ContextualMenuForContainer);
    }

private Q_SLOTS:
    void init() { m_fx.reset(); }

    void theRootBackgroundOffersOnlyEntriesThatNeedNoTarget()
    {
        FinderSync fs;
        fs.setupDirectoryURLs();
        const BuiltMenu menu = background(fs, QStringLiteral("/"));
        QVERIFY(fs.selectURLs().isEmpty());
        for (const MenuEntry& e : menu) {
            const TQMenuItemPtr model = modelEntry(fs, e.tag);
            QVERIFY2(model && model->isNotNeedURL, qPrintable(e.key));
        }
        const MenuEntry* newFile = find(menu, QStringLiteral("New File"));
        QVERIFY(newFile);
        QCOMPARE(keys(newFile->children),
                 (QStringList{QStringLiteral("New File From Window"), QStringLiteral("Go Set")}));
    }

    void theItemsMenuOffersPerSelectionEntries()
    {
        FinderSync fs;
        fs.setupDirectoryURLs();
        const QString a = m_fx.touch(QStringLiteral("w/a.txt"));
        const QString b = m_fx.touch(QStringLiteral("w/b.txt"));
        TQMenuManager::updateMenuKey(StoreKey::rightMenu, QStringLiteral("File Info"),
                                     QStringLiteral("disabled"), false);
        BuiltMenu one = items(fs, {a});
        QVERIFY(!find(one, QStringLiteral("Hide All Files")));
        QVERIFY(!find(one, QStringLiteral("Color Picker")));
        QVERIFY(find(one, QStringLiteral("File Info")));
        QCOMPARE(keys(find(one, QStringLiteral("File Info"))->children),
                 (QStringList{QStringLiteral("MD5"), QStringLiteral("SHA1"),
                              QStringLiteral("SHA256"), QStringLiteral("SHA512"),
                              QStringLiteral("CRC32"), QStringLiteral("Go Set")}));
        QVERIFY(find(find(one, QStringLiteral("New File"))->children,
                     QStringLiteral("Add to File Template")));
        BuiltMenu two = items(fs, {a, b});
        QVERIFY(!find(two, QStringLiteral("File Info")));
        QVERIFY(!find(find(two, QStringLiteral("New File"))->children,
                      QStringLiteral("Add to File Template")));
        // The background of a folder offers the colour picker and hiding every item.
        BuiltMenu back = background(fs, m_fx.mkdir(QStringLiteral("w")));
        QVERIFY(find(back, QStringLiteral("Color Picker")));
        QVERIFY(find(back, QStringLiteral("Hide All Files")));
    }

    void aPendingCutOffersPasteOnlyInAnotherFolder()
    {
        FinderSync fs;
        fs.setupDirectoryURLs();
        const QString x = m_fx.mkdir(QStringLiteral("X"));
        const QString y = m_fx.mkdir(QStringLiteral("Y"));
        const QString a = m_fx.touch(QStringLiteral("X/a"));
        QVERIFY(!find(background(fs, y), QStringLiteral("Cut Paste"))); // nothing cut yet
        TQMenuManager::updateMenuKey(StoreKey::rightMenu, QStringLiteral("Cut Paste"),
                                     QStringLiteral("cutPaths"), QStringList{a});
        QVERIFY(!find(background(fs, x), QStringLiteral("Cut Paste")));
        const BuiltMenu inY = background(fs, y);
        const MenuEntry* paste = find(inY, QStringLiteral("Cut Paste"));
        QVERIFY(paste);
        QCOMPARE(paste->title, Localizer::text(QStringLiteral("Paste")));
        QCOMPARE(paste->icon.value, QStringLiteral("paste"));
        const BuiltMenu onA = items(fs, {a});
        const MenuEntry* cut = find(onA, QStringLiteral("Cut Paste"));
        QVERIFY(cut);
        QCOMPARE(cut->title, Localizer::text(QStringLiteral("Cut")));
    }

    void aLockedFileOffersUnlock()
    {
        FinderSync fs;
        fs.setupDirectoryURLs();
        TQMenuManager::updateMenuKey(StoreKey::rightMenu, QStringLiteral("Lock and Unlock"),
                                     QStringLiteral("disabled"), false);
        const QString f = m_fx.touch(QStringLiteral("locked.txt"));
        const BuiltMenu before = items(fs, {f});
        QCOMPARE(find(before, QStringLiteral("Lock and Unlock"))->title,
                 Localizer::text(QStringLiteral("Lock")));
        QFile::setPermissions(f, QFile::ReadOwner | QFile::ReadGroup);
        const BuiltMenu after = items(fs, {f});
        const MenuEntry* e = find(after, QStringLiteral("Lock and Unlock"));
        QCOMPARE(e->title, Localizer::text(QStringLiteral("Unlock")));
        QCOMPARE(e->icon.value, QStringLiteral("unlock"));
    }

    void skippedEntriesKeepTheirTagNumbers()
    {
        FinderSync fs;
        fs.setupDirectoryURLs();
        const BuiltMenu menu = background(fs, m_fx.mkdir(QStringLiteral("w")));
        // "Copy to" and "Move to" are skipped on a background; tags still count them.
        for (const MenuEntry& e : menu) {
            const TQMenuItemPtr model = modelEntry(fs, e.tag);
            QVERIFY(model);
            QCOMPARE(model->key, e.key);
            for (const MenuEntry& child : e.children) {
                if (child.separator)
                    continue;
                const TQMenuItemPtr c = modelEntry(fs, child.tag);
                QVERIFY(c);
                QCOMPARE(c->key, child.key);
            }
        }
        QVERIFY(menu.size() < fs.rightMenuArray().size());
    }

    void favouriteFoldersShowWhatTheModeAsks()
    {
        FinderSync fs;
        fs.setupDirectoryURLs();
        const QString ten = m_fx.mkdir(QStringLiteral("ten"));
        for (int i = 0; i < 10; ++i)
            m_fx.touch(QStringLiteral("ten/f%1").arg(i));
        m_fx.touch(QStringLiteral("ten/.hidden"));
        const QString twenty = m_fx.mkdir(QStringLiteral("twenty"));
        for (int i = 0; i < 20; ++i)
            m_fx.mkdir(QStringLiteral("twenty/d%1").arg(i));
        ExtensionFixture::setCommonPaths({ten, twenty, m_fx.home() + QStringLiteral("/missing")});
        TQMenuManager::sharedDefaults().setObject(4, StoreKey::commonPathNextMenu);

        const QString sel = m_fx.touch(QStringLiteral("s.txt"));
        const BuiltMenu menu = items(fs, {sel});
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
        FinderSync fs;
        fs.setupDirectoryURLs();
        TQMenuManager::sharedDefaults().setObject(true, StoreKey::prefCheck(2));
        const BuiltMenu menu = background(fs, m_fx.mkdir(QStringLiteral("w")));
        for (const MenuEntry& e : menu)
            QVERIFY(!find(e.children, QStringLiteral("Go Set")));
        const MenuEntry* favourites = find(menu, QStringLiteral("Common Path"));
        QVERIFY(favourites);
        QVERIFY2(!favourites->hasSubmenu, qPrintable(keys(favourites->children).join(u',')));
        TQMenuManager::sharedDefaults().setObject(true, StoreKey::prefCheck(1));
        for (const MenuEntry& e : background(fs, m_fx.mkdir(QStringLiteral("w"))))
            QVERIFY(e.icon.isNull());
    }

    void convertOffersTheOtherFormats()
    {
        FinderSync fs;
        fs.setupDirectoryURLs();
        const QString png = m_fx.touch(QStringLiteral("p.png"));
        const QString jpg = m_fx.touch(QStringLiteral("q.jpg"));
        const BuiltMenu onPng = items(fs, {png});
        QStringList targets = keys(find(onPng, QStringLiteral("Convert to"))->children);
        QVERIFY(!targets.contains(QStringLiteral("PNG")));
        QVERIFY(targets.contains(QStringLiteral("PDF")));
        const BuiltMenu onJpg = items(fs, {jpg});
        targets = keys(find(onJpg, QStringLiteral("Convert to"))->children);
        QVERIFY(targets.contains(QStringLiteral("JPEG"))); // "JPEG" does not contain "JPG"
        const BuiltMenu onBoth = items(fs, {png, jpg});
        const MenuEntry* convert = find(onBoth, QStringLiteral("Convert to"));
        QCOMPARE(find(convert->children, QStringLiteral("PDF"))->title,
                 Localizer::text(QStringLiteral("Merge to PDF")));
        QVERIFY(
            !find(items(fs, {m_fx.touch(QStringLiteral("t.txt"))}), QStringLiteral("Convert to")));
    }

    void aLevelNeverAddressesMoreThan99Entries()
    {
        FinderSync fs;
        fs.setupDirectoryURLs();
        Value list = Value::array();
        for (int i = 0; i < 120; ++i) {
            Value r = Value::dictionary();
            r.insert(QStringLiteral("key"), QStringLiteral("e%1").arg(i));
            r.insert(QStringLiteral("ext"), QStringLiteral("e%1").arg(i));
            list.append(r);
        }
        TQMenuManager::sharedDefaults().setObject(list, StoreKey::newFile);
        const BuiltMenu menu = items(fs, {m_fx.touch(QStringLiteral("a.txt"))});
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
        FinderSync fs;
        fs.setupDirectoryURLs();
        const QString a = m_fx.touch(QStringLiteral("a"));
        items(fs, {QStringLiteral("/"), a});
        QCOMPARE(fs.selectURLs(), QStringList{a});
        // A background of "/" keeps the previous kind of menu.
        QVERIFY(fs.isSelectURL());
        background(fs, QStringLiteral("/"));
        QVERIFY(fs.isSelectURL());
        background(fs, m_fx.home());
        QVERIFY(!fs.isSelectURL());
        QVERIFY(!fs.isSelectSingleURL());
    }
};

QTEST_MAIN(TestMenuBuilder)
#include "tst_menubuilder.moc"
