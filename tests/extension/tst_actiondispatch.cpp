#include "Dispatch.h"
#include "ExtensionFixture.h"
#include "FolderAccess.h"
#include "MenuTag.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
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

    BuiltMenu items(MenuSession& fs, const QStringList& paths) { return fs.items(paths); }
    std::unique_ptr<MenuSession> finderSync() { return std::make_unique<MenuSession>(); }

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
        QVERIFY(!fs->perform(9999));
        items(*fs, {a});
        QVERIFY(!fs->perform(399)); // child 99 of an entry with fewer
        items(*fs, {a});
        QVERIFY(!fs->perform(1399)); // a child of an entry without children
        QVERIFY(m_fx.prompter.alerts.isEmpty() && m_fx.prompter.openPanels.isEmpty());
        QCOMPARE(MenuStore::sharedDefaults().integerForKey(StoreKey::useCount), 0);
    }

    void aChosenEntryReachesItsHandlerAndIsCounted()
    {
        auto fs = finderSync();
        const QString a = m_fx.touch(QStringLiteral("dir/a b.txt"));
        const BuiltMenu menu = items(*fs, {a});
        const qint64 tag = tagOf(menu, {QStringLiteral("Copy Path")});
        QVERIFY(tag > 0);
        QVERIFY(fs->perform(tag));
        QCOMPARE(m_fx.clipboard.text(), a);
        Defaults& store = MenuStore::sharedDefaults();
        QCOMPARE(store.integerForKey(QStringLiteral("Copy Path")), 1);
        QCOMPARE(store.integerForKey(StoreKey::useCount), 1);
    }

    void goSetLaunchesTheSettingsApplicationWithoutCounting()
    {
        auto fs = finderSync();
        const BuiltMenu menu = items(*fs, {m_fx.touch(QStringLiteral("a.txt"))});
        const qint64 tag = tagOf(menu, {QStringLiteral("Common App"), QStringLiteral("Go Set")});
        QVERIFY(tag > 100);
        QVERIFY(fs->perform(tag));
        QCOMPARE(m_fx.launcher.settingsLaunches, 1);
        QCOMPARE(MenuStore::sharedDefaults().integerForKey(StoreKey::useCount), 0);
    }

    void anApplicationThatCannotStartIsReportedOnceAndStopsTheRun()
    {
        m_fx.installApplication(QStringLiteral("org.example.Broken"),
                                QStringLiteral("Broken Editor"));
        ExtensionFixture::setApplications({QStringLiteral("Broken Editor")});
        auto fs = finderSync();
        const QStringList files{m_fx.touch(QStringLiteral("open/d.txt")),
                                m_fx.touch(QStringLiteral("open/e.txt"))};
        qint64 tag = 0;
        // GIO learns of the new entry through its file monitor.
        QTRY_VERIFY((tag = tagOf(items(*fs, files), {QStringLiteral("Common App"),
                                                     QStringLiteral("Broken Editor")})) > 0);
        // The fixture's launcher starts nothing.
        QVERIFY(fs->perform(tag));
        QCOMPARE(m_fx.prompter.alerts.size(), 1);
        QVERIFY(m_fx.prompter.alerts.first().informative.contains(
            QStringLiteral("could not be opened")));
    }

    void newOpenDocumentsOpenInAnotherReader()
    {
        const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
        if (python.isEmpty())
            QSKIP("no python3 to read the documents with");
        auto fs = finderSync();
        const QString anchor = m_fx.touch(QStringLiteral("docs/a.txt"));
        QStringList written;
        for (const QString& ext :
             {QStringLiteral("odt"), QStringLiteral("ods"), QStringLiteral("odp")}) {
            const qint64 tag = tagOf(items(*fs, {anchor}), {QStringLiteral("New File"), ext});
            QVERIFY2(tag > 0, qPrintable(ext)); // switched on from the start
            QVERIFY(fs->perform(tag));
            written.append(QFileInfo(anchor).absolutePath() + u'/' +
                           Localizer::text(QStringLiteral("Untitled")) + u'.' + ext);
        }
        QProcess reader;
        reader.start(python,
                     QStringList{QStringLiteral(PALLSTONE_TEST_DATA "/check-opendocument.py")} +
                         written);
        QVERIFY(reader.waitForFinished(60000));
        QVERIFY2(reader.exitCode() == 0, reader.readAllStandardError().constData());
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
        QVERIFY(fs->perform(current));
        QVERIFY(Dispatch::waitUntilIdle(10000));
        QVERIFY(QFile::exists(fav + QStringLiteral("/a.txt")));

        const BuiltMenu again = items(*fs, {m_fx.touch(QStringLiteral("a.txt"))});
        const qint64 sub =
            tagOf(again, {QStringLiteral("Move to"), fav, fav + QStringLiteral("/sub")});
        QVERIFY(sub > 10000);
        QVERIFY(fs->perform(sub));
        QVERIFY(Dispatch::waitUntilIdle(10000));
        QVERIFY(QFile::exists(fav + QStringLiteral("/sub/a.txt")));
        QVERIFY(!QFile::exists(m_fx.home() + QStringLiteral("/a.txt")));
    }

    void aCancelledFolderChoiceForTerminalToDoesNothing()
    {
        auto fs = finderSync();
        MenuStore::updateMenuKey(StoreKey::rightMenu, QStringLiteral("Terminal To"),
                                 QStringLiteral("disabled"), false);
        const QString a = m_fx.touch(QStringLiteral("a.txt"));
        BuiltMenu menu = items(*fs, {a});
        const qint64 tag =
            tagOf(menu, {QStringLiteral("Terminal To"), QStringLiteral("Select Folder")});
        QVERIFY(tag > 0);
        m_fx.prompter.nextPaths.reset();
        QVERIFY(fs->perform(tag));
        QCOMPARE(m_fx.prompter.openPanels.size(), 1);
        QVERIFY(m_fx.launcher.terminals.isEmpty());

        const QString chosen = m_fx.mkdir(QStringLiteral("chosen"));
        m_fx.prompter.nextPaths = QStringList{chosen};
        menu = items(*fs, {a});
        QVERIFY(fs->perform(tag));
        QCOMPARE(m_fx.launcher.terminals, QStringList{chosen});
    }

    void anActionKeepsTheSelectionItWasStartedWith()
    {
        auto fs = finderSync();
        RecordedCopyPath copyPath;
        const QString a = m_fx.touch(QStringLiteral("a.txt"));
        const QString b = m_fx.touch(QStringLiteral("b.txt"));
        const BuiltMenu menu = items(*fs, {a});
        QVERIFY(fs->perform(tagOf(menu, {QStringLiteral("Copy Path")})));
        // The file manager asks for another menu while the action's window is open.
        items(*fs, {b});
        QCOMPARE(copyPath.contexts.first()->selectPaths, QStringList{a});
        QVERIFY(copyPath.contexts.first()->isSelectSingleURL());
    }

    void theThirdUseInvitesAReviewThreeSecondsLater()
    {
        auto fs = finderSync();
        const QString a = m_fx.touch(QStringLiteral("a.txt"));
        auto use = [&] {
            const BuiltMenu menu = items(*fs, {a});
            QVERIFY(fs->perform(tagOf(menu, {QStringLiteral("Copy Path")})));
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
        QVERIFY(MenuStore::sharedDefaults().boolForKey(StoreKey::isReviewed));
        use(); // the 4th use asks nothing
        QVERIFY(Dispatch::waitUntilIdle(10000));
        QCOMPARE(m_fx.prompter.alerts.size(), 1);
    }

    void startingForgetsAPendingCutButNeverWritesAMissingMenu()
    {
        MenuStore::updateMenuKey(StoreKey::rightMenu, QStringLiteral("Cut Paste"),
                                 QStringLiteral("disabled"), false);
        MenuStore::updateMenuKey(StoreKey::rightMenu, QStringLiteral("Cut Paste"),
                                 QStringLiteral("cutPaths"), QStringList{m_fx.home()});
        ContextMenuService started;
        started.init();
        const MenuItemList menu = MenuStore::menuItemArray();
        for (const MenuItemPtr& item : menu) {
            if (item->isCutPaste())
                QVERIFY(item->cutPaths.isEmpty());
        }
        // A service started before the settings application ever ran leaves the store alone, so
        // the first set-up still seeds the defaults.
        QFile::remove(MenuStore::sharedStorePath());
        MenuStore::sharedDefaults().reload();
        ContextMenuService fresh;
        fresh.init();
        QVERIFY(!QFile::exists(MenuStore::sharedStorePath()));
    }

    void anUngrantedFolderAsksBeforeTheAction()
    {
        auto fs = finderSync();
        FolderAccess::setAccessProbe([](const QString&, int) { return false; });
        const QString a = m_fx.touch(QStringLiteral("locked/a.txt"));
        const BuiltMenu menu = items(*fs, {a});
        m_fx.prompter.nextPaths.reset();
        // "Copy to" needs the folder; the refused grant ends the dispatch silently.
        const qint64 tag =
            tagOf(menu, {QStringLiteral("Copy to"), QStringLiteral("Select Folder")});
        QVERIFY(fs->perform(tag));
        // Only the grant was asked for: the entry's own folder panel never came.
        QCOMPARE(m_fx.prompter.openPanels.size(), 1);
        FolderAccess::setAccessProbe({});
    }

    void eachTerminalEntryOpensItsKindOfTerminal()
    {
        const QString w = m_fx.mkdir(QStringLiteral("w"));
        const QList<std::pair<QString, QString>> terminals = {
            {QStringLiteral("Terminal Window"), QStringLiteral("window")},
            {QStringLiteral("Terminal Tab"), QStringLiteral("tab")},
            {QStringLiteral("iTerm2 Window"), QStringLiteral("window second")},
            {QStringLiteral("iTerm2 Tab"), QStringLiteral("tab second")}};
        for (const auto& [key, kind] : terminals) {
            MenuStore::updateMenuKey(StoreKey::rightMenu, key, QStringLiteral("disabled"), false);
            MenuSession fs;
            const qint64 tag = tagOf(fs.background(w), {key});
            QVERIFY2(tag > 0, qPrintable(key));
            m_fx.launcher.terminalKinds.clear();
            QVERIFY(fs.perform(tag));
            QCOMPARE(m_fx.launcher.terminalKinds, QStringList{kind});
        }
    }
};

QTEST_MAIN(TestActionDispatch)
#include "tst_actiondispatch.moc"
