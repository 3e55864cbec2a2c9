#include "Dispatch.h"
#include "ExtensionFixture.h"
#include "MenuTag.h"
#include "TQCheckPermit.h"

#include <QElapsedTimer>
#include <QTest>

using namespace pallstone;

namespace {


qint64 tagOf(const BuiltMenu& menu, const QStringList& keyPath)
{
    const QList<MenuEntry>* level = &menu;
    qint64 tag = 0;
    for (const QString& key : keyPath) {
        const MenuEntry* found = nullptr;
        for (const MenuEntry& e : *level) {
            if (e.key == key) {
                found = &e;
                break;
            }
        }
        if (!found)
            return 0;
        tag = found->tag;
        level = &found->children;
    }
    return tag;
}

} // namespace

class TestActionDispatch : public QObject
{
    Q_OBJECT

private:
    ExtensionFixture m_fx;
    std::shared_ptr<RecordingActions> m_actions;
    FinderSyncController& controller() { return FinderSyncController::defaultController(); }

    BuiltMenu items(FinderSync& fs, const QStringList& paths)
    {
        controller().setSelectedItemURLs(paths);
        controller().setTargetedURL(QFileInfo(paths.first()).absolutePath());
        return fs.menuForMenuKind(FinderSync::ContextualMenuForItems);
    }

    std::unique_ptr<FinderSync> finderSync()
    {
        auto fs = std::make_unique<FinderSync>();
        fs->setupDirectoryURLs();
        m_actions = std::make_shared<RecordingActions>();
        fs->setActionHandlers(m_actions);
        return fs;
    }

private Q_SLOTS:
    void init() { m_fx.reset(); }

    void tagsSplitIntoTwoDigitIndexes_data()
    {
        QTest::addColumn<qint64>("tag");
        QTest::addColumn<QList<int>>("pieces");
        QTest::newRow("3") << qint64(3) << QList<int>{3};
        QTest::newRow("10302") << qint64(10302) << QList<int>{1, 3, 2};
        QTest::newRow("203") << qint64(203) << QList<int>{2, 3};
        QTest::newRow("zero") << qint64(0) << QList<int>{};
        QTest::newRow("negative") << qint64(-5) << QList<int>{};
    }
    void tagsSplitIntoTwoDigitIndexes()
    {
        QFETCH(qint64, tag);
        QFETCH(QList<int>, pieces);
        QCOMPARE(MenuTag::decode(tag), pieces);
        QCOMPARE(MenuTag::value(MenuTag::childTag(MenuTag::mainTag(1), 2)), 203);
    }

    void aTagOutsideTheModelDoesNothing()
    {
        auto fs = finderSync();
        const QString a = m_fx.touch(QStringLiteral("a.txt"));
        items(*fs, {a});
        QVERIFY(!fs->onMenuItemAction(9999));
        items(*fs, {a});
        QVERIFY(!fs->onMenuItemAction(399)); // child 99 of an entry with fewer
        items(*fs, {a});
        QVERIFY(!fs->onMenuItemAction(1399)); // a child of an entry without children
        QVERIFY(m_actions->calls.isEmpty());
        QCOMPARE(TQMenuManager::sharedDefaults().integerForKey(StoreKey::useCount), 0);
    }

    void aChosenEntryReachesItsHandlerAndIsCounted()
    {
        auto fs = finderSync();
        const QString a = m_fx.touch(QStringLiteral("dir/a b.txt"));
        const BuiltMenu menu = items(*fs, {a});
        const qint64 tag = tagOf(menu, {QStringLiteral("Copy Path")});
        QVERIFY(tag > 0);
        QVERIFY(fs->onMenuItemAction(tag));
        QCOMPARE(m_actions->calls.size(), 1);
        QCOMPARE(m_actions->calls.first().handler, QStringLiteral("copyPath"));
        QCOMPARE(m_actions->calls.first().context->selectPaths, QStringList{a});
        Defaults& store = TQMenuManager::sharedDefaults();
        QCOMPARE(store.integerForKey(QStringLiteral("Copy Path")), 1);
        QCOMPARE(store.integerForKey(StoreKey::useCount), 1);
        QVERIFY(fs->rightMenuArray().isEmpty());
    }

    void goSetLaunchesTheSettingsApplicationWithoutCounting()
    {
        auto fs = finderSync();
        const BuiltMenu menu = items(*fs, {m_fx.touch(QStringLiteral("a.txt"))});
        const qint64 tag = tagOf(menu, {QStringLiteral("Common App"), QStringLiteral("Go Set")});
        QVERIFY(tag > 100);
        QVERIFY(fs->onMenuItemAction(tag));
        QCOMPARE(m_fx.launcher.settingsLaunches, 1);
        QVERIFY(m_actions->calls.isEmpty());
        QCOMPARE(TQMenuManager::sharedDefaults().integerForKey(StoreKey::useCount), 0);
    }

    void copyingToTheCurrentDirectoryUsesTheFavouriteItself()
    {
        auto fs = finderSync();
        const QString fav = m_fx.mkdir(QStringLiteral("fav"));
        m_fx.mkdir(QStringLiteral("fav/sub"));
        ExtensionFixture::setCommonPaths({fav});
        const BuiltMenu menu = items(*fs, {m_fx.touch(QStringLiteral("a.txt"))});
        const qint64 current =
            tagOf(menu, {QStringLiteral("Copy to"), fav, QStringLiteral("Current Directory")});
        QVERIFY(current > 0);
        QVERIFY(fs->onMenuItemAction(current));
        QCOMPARE(m_actions->calls.last().handler, QStringLiteral("copy"));
        QCOMPARE(m_actions->calls.last().path, fav);

        const BuiltMenu again = items(*fs, {m_fx.touch(QStringLiteral("a.txt"))});
        const qint64 sub =
            tagOf(again, {QStringLiteral("Move to"), fav, fav + QStringLiteral("/sub")});
        QVERIFY(sub > 10000);
        QVERIFY(fs->onMenuItemAction(sub));
        QCOMPARE(m_actions->calls.last().handler, QStringLiteral("move"));
        QCOMPARE(m_actions->calls.last().path, fav + QStringLiteral("/sub"));
    }

    void aCancelledFolderChoiceForTerminalToDoesNothing()
    {
        auto fs = finderSync();
        TQMenuManager::updateMenuKey(StoreKey::rightMenu, QStringLiteral("Terminal To"),
                                     QStringLiteral("disabled"), false);
        const QString a = m_fx.touch(QStringLiteral("a.txt"));
        BuiltMenu menu = items(*fs, {a});
        const qint64 tag =
            tagOf(menu, {QStringLiteral("Terminal To"), QStringLiteral("Select Folder")});
        QVERIFY(tag > 0);
        m_fx.prompter.nextPaths.reset();
        QVERIFY(fs->onMenuItemAction(tag));
        QCOMPARE(m_fx.prompter.openPanels.size(), 1);
        QVERIFY(m_actions->calls.isEmpty());

        const QString chosen = m_fx.mkdir(QStringLiteral("chosen"));
        m_fx.prompter.nextPaths = QStringList{chosen};
        menu = items(*fs, {a});
        QVERIFY(fs->onMenuItemAction(tag));
        QCOMPARE(m_actions->calls.size(), 1);
        QCOMPARE(m_actions->calls.first().key, QStringLiteral("New Terminal at Folder"));
        QCOMPARE(m_actions->calls.first().path, chosen);
    }

    void anActionKeepsTheSelectionItWasStartedWith()
    {
        auto fs = finderSync();
        const QString a = m_fx.touch(QStringLiteral("a.txt"));
        const QString b = m_fx.touch(QStringLiteral("b.txt"));
        const BuiltMenu menu = items(*fs, {a});
        QVERIFY(fs->onMenuItemAction(tagOf(menu, {QStringLiteral("Copy Path")})));
        // The file manager asks for another menu while the action's window is open.
        items(*fs, {b});
        QCOMPARE(m_actions->calls.first().context->selectPaths, QStringList{a});
        QVERIFY(m_actions->calls.first().context->isSelectSingleURL());
    }

    void theThirdUseInvitesAReviewThreeSecondsLater()
    {
        auto fs = finderSync();
        const QString a = m_fx.touch(QStringLiteral("a.txt"));
        auto use = [&] {
            const BuiltMenu menu = items(*fs, {a});
            QVERIFY(fs->onMenuItemAction(tagOf(menu, {QStringLiteral("Copy Path")})));
        };
        use();
        use();
        QVERIFY(Dispatch::waitUntilIdle(10000));
        QVERIFY(m_fx.prompter.alerts.isEmpty());
        QElapsedTimer timer;
        timer.start();
        m_fx.prompter.alertAnswer = kAlertFirstButton;
        use();
        QVERIFY(m_fx.prompter.alerts.isEmpty()); // not at once
        QVERIFY(Dispatch::waitUntilIdle(10000));
        QVERIFY(timer.elapsed() >= 2900);
        QCOMPARE(m_fx.prompter.alerts.size(), 1);
        QCOMPARE(m_fx.prompter.alerts.first().message,
                 Localizer::text(QStringLiteral("Review Tip")));
        QCOMPARE(m_fx.launcher.opened.size(), 1);
        QVERIFY(TQMenuManager::sharedDefaults().boolForKey(StoreKey::isReviewed));
        use(); // the 4th use asks nothing
        QVERIFY(Dispatch::waitUntilIdle(10000));
        QCOMPARE(m_fx.prompter.alerts.size(), 1);
    }

    void startingForgetsAPendingCutButNeverWritesAMissingMenu()
    {
        TQMenuManager::updateMenuKey(StoreKey::rightMenu, QStringLiteral("Cut Paste"),
                                     QStringLiteral("cutPaths"), QStringList{m_fx.home()});
        FinderSync started;
        started.init();
        const TQMenuItemList menu = TQMenuManager::menuItemArray();
        for (const TQMenuItemPtr& item : menu) {
            if (item->isCutPaste())
                QVERIFY(item->cutPaths.isEmpty());
        }
        // A service started before the settings application ever ran leaves the store alone, so
        // the first set-up still seeds the defaults.
        QFile::remove(TQMenuManager::sharedStorePath());
        TQMenuManager::sharedDefaults().reload();
        FinderSync fresh;
        fresh.init();
        QVERIFY(!QFile::exists(TQMenuManager::sharedStorePath()));
    }

    void anUngrantedFolderAsksBeforeTheAction()
    {
        auto fs = finderSync();
        TQCheckPermit::setAccessProbe([](const QString&, int) { return false; });
        const QString a = m_fx.touch(QStringLiteral("locked/a.txt"));
        const BuiltMenu menu = items(*fs, {a});
        m_fx.prompter.nextPaths.reset();
        // "Copy to" needs the folder; the refused grant ends the dispatch silently.
        const qint64 tag =
            tagOf(menu, {QStringLiteral("Copy to"), QStringLiteral("Select Folder")});
        QVERIFY(fs->onMenuItemAction(tag));
        QCOMPARE(m_fx.prompter.openPanels.size(), 1);
        QVERIFY(m_actions->calls.isEmpty());
        TQCheckPermit::setAccessProbe({});
    }
};

QTEST_MAIN(TestActionDispatch)
#include "tst_actiondispatch.moc"
