// The settings window's shell, the preferences tab and the naming window.
#include "AppFixture.h"

#include "AppDelegate.h"
#include "ConfigManagerWindow.h"
#include "ExtensionManagementWindow.h"
#include "MainMenuPage.h"
#include "MainWindow.h"
#include "NameDialog.h"
#include "PreferencesPage.h"
#include "ReorderTable.h"
#include "SetupBanner.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

using namespace pallstone;

class TestAppShell : public QObject
{
    Q_OBJECT

private:
    AppFixture m_app;

private Q_SLOTS:
    void init() { m_app.reset(); }

    void sixTabsInOrderWithTitleFromDisplayName()
    {
        AppDelegate delegate;
        QCOMPARE(delegate.tabView()->count(), int(AppDelegate::TabCount));
        QCOMPARE(delegate.window()->windowTitle(), Localizer::displayName());
        const QStringList labels = {u"General"_s,    u"New File"_s,    u"Common Path"_s,
                                    u"Common App"_s, u"Folder Icon"_s, u"Preferences"_s};
        for (int tab = 0; tab < AppDelegate::TabCount; ++tab)
            QCOMPARE(delegate.toolbarItem(tab)->text(), Localizer::text(labels.at(tab)));
        QCOMPARE(delegate.tabView()->currentIndex(), int(AppDelegate::GeneralTab));
        delegate.toolbarItem(AppDelegate::PreferencesTab)->trigger();
        QCOMPARE(delegate.tabView()->currentIndex(), int(AppDelegate::PreferencesTab));
        // The store was seeded before any editor read it.
        QVERIFY(AppFixture::list(StoreKey::rightMenu).count() > 0);
    }

    void trayItemFollowsPreference()
    {
        AppDelegate delegate;
        QVERIFY(!delegate.statusItem());
        QCheckBox* box = delegate.preferenceViewCtl()->checkBox(5);
        box->setChecked(true);
        QVERIFY(MenuStore::sharedDefaults().boolForKey(StoreKey::prefCheck(5)));
        QVERIFY(delegate.statusItem());
        QCOMPARE(delegate.statusItem()->contextMenu()->actions().size(), 3);
        QCOMPARE(QGuiApplication::quitOnLastWindowClosed(),
                 !QSystemTrayIcon::isSystemTrayAvailable());
        box->setChecked(false);
        QVERIFY(!delegate.statusItem());
        QVERIFY(QGuiApplication::quitOnLastWindowClosed());
    }

    // Without a tray to reopen it from, closing the window must still end the program.
    void quitsWithLastWindowUnlessTrayIsShown_data()
    {
        QTest::addColumn<bool>("wanted");
        QTest::addColumn<bool>("available");
        QTest::addColumn<bool>("quits");
        QTest::newRow("no tray wanted") << false << true << true;
        QTest::newRow("tray wanted and shown") << true << true << false;
        QTest::newRow("tray wanted, desktop has none") << true << false << true;
    }
    void quitsWithLastWindowUnlessTrayIsShown()
    {
        QFETCH(bool, wanted);
        QFETCH(bool, available);
        QFETCH(bool, quits);
        QCOMPARE(AppDelegate::quitsWithLastWindow(wanted, available), quits);
    }

    void extensionCheckPromptsOnlyWhenNotEnabled()
    {
        AppDelegate delegate;
        m_app.extensionEnabled = true;
        delegate.checkIsOpenRightMenu();
        QVERIFY(m_app.prompter.alerts.isEmpty());
        m_app.extensionEnabled = false;
        delegate.checkIsOpenRightMenu();
        delegate.checkIsOpenRightMenu();
        QCOMPARE(m_app.prompter.alerts.size(), 2);
        QCOMPARE(m_app.prompter.alerts.first().informative,
                 Localizer::text(QStringLiteral("Finder Sync Tip")));
        QVERIFY(delegate.extensionManagementWindow());
        delegate.extensionManagementWindow()->close();
    }

    void extensionPromptSaysWhetherThePlugInIsMissingOrSwitchedOff()
    {
        AppDelegate delegate;
        m_app.extensionEnabled = false;
        m_app.bridgeSwitchedOff = true;
        delegate.checkIsOpenRightMenu();
        QCOMPARE(m_app.prompter.alerts.size(), 1);
        const AlertRequest& alert = m_app.prompter.alerts.first();
        QCOMPARE(alert.message, Localizer::text(u"Extension Switched Off Heading"_s));
        QCOMPARE(alert.informative, Localizer::text(u"Extension Switched Off Tip"_s));
        QVERIFY(alert.informative != Localizer::text(u"Finder Sync Tip"_s));
        delegate.extensionManagementWindow()->close();

        // What the state is made of: a bridge for a file manager that is not there counts for
        // nothing; one that is there but off makes the menu switched off rather than missing.
        ExtensionManager::FileManager absent{u"nemo"_s, u"Nemo"_s, {}, {}, u"/x/p.so"_s, true};
        ExtensionManager::FileManager off{u"caja"_s, u"Caja"_s,    u"/usr/bin/caja"_s,
                                          {},        u"/x/p.so"_s, false};
        ExtensionManager::FileManager on = off;
        on.switchedOn = true;
        QCOMPARE(ExtensionManager::stateOf({absent}), ExtensionManager::State::NotInstalled);
        QCOMPARE(ExtensionManager::stateOf({absent, off}), ExtensionManager::State::SwitchedOff);
        QCOMPARE(ExtensionManager::stateOf({off, on}), ExtensionManager::State::Active);
    }

    void aFirstStartSaysHowToInstallThePlugInForEachFileManager()
    {
        m_app.extensionEnabled = false;
        MainMenuPage page;
        QVERIFY(!page.setupBanner()->isHidden());
        QCOMPARE(page.tableView()->item(0, MainMenuPage::EnableColumn)->toolTip(),
                 Localizer::text(u"Enable Greyed Tip"_s));
        m_app.extensionEnabled = true;
        page.refresh();
        QVERIFY(page.setupBanner()->isHidden());
        QVERIFY(page.tableView()->item(0, MainMenuPage::EnableColumn)->toolTip().isEmpty());

        // Each installed file manager without its plug-in, with the command that installs it.
        using FileManager = ExtensionManager::FileManager;
        const FileManager nemo{
            u"nemo"_s, u"Nemo"_s, u"/usr/bin/nemo"_s, {u"/usr/lib/nemo/extensions-3.0"_s},
            {},        true};
        const FileManager caja{u"caja"_s, u"Caja"_s, {}, {}, {}, true};
        const FileManager files{
            u"nautilus"_s, u"Files (Nautilus)"_s, u"/usr/bin/nautilus"_s, {}, u"/x/p.so"_s, true};
        SetupBanner banner;
        banner.showFor(ExtensionManager::State::NotInstalled, {nemo, caja, files});
        const QString text = banner.text()->text();
        QVERIFY2(text.contains(u"Nemo:"_s) && text.contains(u"<code>sudo "_s), qPrintable(text));
        QVERIFY(!text.contains(u"Caja"_s) && !text.contains(u"Nautilus"_s));
    }

    void theProfilesWindowOpensOverItsOwnerAndOnScreen()
    {
        PreferencesPage page;
        page.resize(700, 500);
        page.move(40, 30);
        page.show();
        QWidget* profiles = page.onConfigManager();
        const QRect area = page.screen()->availableGeometry();
        QVERIFY(area.contains(profiles->frameGeometry()));
        // Centred, give or take the frame drawn around it once shown.
        QVERIFY((profiles->frameGeometry().center() - page.frameGeometry().center())
                    .manhattanLength() <= 8);
        profiles->close();
    }

    void managementWindowListsFiveFileManagersAndItsSwitchReachesTheBridge()
    {
        ExtensionManagementWindow window;
        const QStringList ids = {u"nautilus"_s, u"nemo"_s, u"caja"_s, u"thunar"_s, u"dolphin"_s};
        for (const QString& id : ids)
            QVERIFY(window.findChild<QCheckBox*>(u"switch_"_s + id));
        // The bridge looks for this file before every menu.
        const QString mark = QDir::homePath() + u"/.config/pallstone/switched-off/nemo"_s;
        QCheckBox* nemo = window.findChild<QCheckBox*>(u"switch_nemo"_s);
        QVERIFY(nemo->isChecked());
        nemo->setChecked(false);
        QVERIFY(QFile::exists(mark));
        QVERIFY(!ExtensionManager::isSwitchedOn(u"nemo"_s));
        QVERIFY(ExtensionManager::isSwitchedOn(u"caja"_s));
        nemo->setChecked(true);
        QVERIFY(!QFile::exists(mark));
    }

    // A Plasma 6 Dolphin never loads a KF5 plugin: the window must not report one as working.
    void dolphinBridgeIsLookedForWhereThatDolphinLoadsPlugins()
    {
        QTemporaryDir dir;
        const auto program = [&dir](const QByteArray& needed) {
            const QString path = dir.filePath(QString::fromLatin1(needed));
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly))
                return QString();
            file.write("\x7f"
                       "ELF" +
                       QByteArray(300, '\0') + needed + '\0');
            return path;
        };
        const QStringList six = ExtensionManager::dolphinBridgeFolders(program("libQt6Core.so.6"));
        const QStringList five = ExtensionManager::dolphinBridgeFolders(program("libQt5Core.so.5"));
        QVERIFY(!six.isEmpty() && !five.isEmpty());
        for (const QString& folder : six)
            QVERIFY2(folder.endsWith(u"/qt6/plugins/kf6/kfileitemaction"_s), qPrintable(folder));
        for (const QString& folder : five)
            QVERIFY2(folder.endsWith(u"/qt5/plugins/kf5/kfileitemaction"_s), qPrintable(folder));
        QCOMPARE(ExtensionManager::dolphinBridgeFolders({}), six + five);
    }

    void preferenceBoxesWriteTheirKeys()
    {
        PreferencesPage prefs;
        int restarts = 0;
        int trayRebuilds = 0;
        prefs.restartExtensionService = [&] { ++restarts; };
        prefs.createStatusBar = [&] { ++trayRebuilds; };
        for (int tag = 1; tag <= 5; ++tag)
            QVERIFY(!prefs.checkBox(tag)->isChecked()); // a fresh store: all off
        for (int tag = 1; tag <= 5; ++tag) {
            prefs.checkBox(tag)->setChecked(true);
            QVERIFY(MenuStore::sharedDefaults().boolForKey(StoreKey::prefCheck(tag)));
        }
        QCOMPARE(restarts, 1);
        QCOMPARE(trayRebuilds, 1);
        QCOMPARE(prefs.versionLabel()->text(), u"V2.6.0"_s);
    }

    void reviewAndRecommendUseProjectPage()
    {
        PreferencesPage prefs;
        prefs.onReview();
        QCOMPARE(m_app.launcher.opened, QList<QUrl>{QUrl(QStringLiteral(PALLSTONE_HOMEPAGE))});
        prefs.onRecommend();
        QCOMPARE(m_app.clipboard.texts, QStringList{QStringLiteral(PALLSTONE_HOMEPAGE)});
        QCOMPARE(m_app.prompter.alerts.size(), 1);
    }

    void secondTerminalChoiceIsStored()
    {
        PreferencesPage prefs;
        QComboBox* box = prefs.secondTerminalButton();
        QCOMPARE(box->currentIndex(), 0);
        box->addItem(u"xterm"_s, u"xterm"_s);
        prefs.onSelectSecondTerminal(box->count() - 1);
        QCOMPARE(MenuStore::sharedDefaults().stringForKey(u"second terminal"_s), u"xterm"_s);
        prefs.onSelectSecondTerminal(0);
        QVERIFY(MenuStore::sharedDefaults().object(u"second terminal"_s).isMissing());
    }

    // The naming window.
    void requiredNameRefusesBlank()
    {
        NameDialog window;
        window.setRequired(true);
        int edits = 0;
        window.editHandler = [&](const QString&) { ++edits; };
        window.show();
        // Nothing invites an empty name that OK would not take.
        QVERIFY(window.aliasTextField()->placeholderText().isEmpty());
        window.aliasTextField()->setText(u"   "_s);
        window.onSure();
        QCOMPARE(edits, 0);
        QVERIFY(window.isVisible());
        window.aliasTextField()->setText(u"Work"_s);
        window.onSure();
        QCOMPARE(edits, 1);
        QVERIFY(!window.isVisible());
    }

    void optionalNameMayBeEmpty()
    {
        NameDialog window;
        QString got = u"unset"_s;
        window.editHandler = [&](const QString& text) { got = text; };
        window.show();
        window.onSure();
        QCOMPARE(got, QString());
        QVERIFY(window.tipLabel()->text() == Localizer::text(u"Please enter a display name"_s));
        QCOMPARE(window.aliasTextField()->placeholderText(),
                 Localizer::text(u"Without Display Name Tip"_s));
    }

    void namesLeavingTheirFolderAreRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("slash") << u"a/b"_s << false;
        QTest::newRow("dot") << u"."_s << false;
        QTest::newRow("dot dot") << u".."_s << false;
        QTest::newRow("dot dot with blanks") << u" .. "_s << false;
        QTest::newRow("three dots") << u"..."_s << true;
        QTest::newRow(".config") << u".config"_s << true;
        QTest::newRow("quotes and dollar") << u"it's $HOME `x`"_s << true;
    }
    void namesLeavingTheirFolderAreRefused()
    {
        QFETCH(QString, name);
        QFETCH(bool, accepted);
        NameDialog window;
        int edits = 0;
        window.editHandler = [&](const QString&) { ++edits; };
        window.aliasTextField()->setText(name);
        QCOMPARE(window.okBtn()->isEnabled(), accepted);
        window.onSure();
        QCOMPARE(edits, accepted ? 1 : 0);
    }

    void defaultAliasFillsFieldBeforeAndWhileShown()
    {
        NameDialog window;
        window.setDefaultAlias(u"Before"_s);
        window.show();
        QCOMPARE(window.aliasTextField()->text(), u"Before"_s);
        window.setDefaultAlias(u"While"_s);
        QCOMPARE(window.aliasTextField()->text(), u"While"_s);
    }

    void cancelNeverCallsEditHandler()
    {
        NameDialog window;
        int edits = 0;
        int cancels = 0;
        window.editHandler = [&](const QString&) { ++edits; };
        window.cancelHandler = [&] { ++cancels; };
        window.show();
        window.aliasTextField()->setText(u"Typed"_s);
        window.cancelBtn()->click();
        QCOMPARE(edits, 0);
        QCOMPARE(cancels, 1);
        QVERIFY(!window.isVisible());
    }
};

QTEST_MAIN(TestAppShell)
#include "tst_appshell.moc"
