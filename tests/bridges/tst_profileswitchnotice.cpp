// A profile switched from the command line shows at once in the open settings window: the
// command tells the running application over the session bus (a private one here).
#include "../app/AppFixture.h"

#include "ConfigChangeRelay.h"
#include "ConfigManagerWindow.h"
#include "PreferencesPage.h"
#include "ProfileManager.h"

#include <QCheckBox>
#include <QDBusConnection>
#include <QProcess>
#include <QTableWidget>
#include <QTest>

using namespace pallstone;
using namespace Qt::StringLiterals;

class TestProfileSwitchNotice : public QObject
{
    Q_OBJECT

private:
    AppFixture m_app;

private Q_SLOTS:
    void anOpenWindowShowsASwitchMadeFromTheCommandLine()
    {
        m_app.reset();
        QDBusConnection bus = QDBusConnection::sessionBus();
        QVERIFY(bus.isConnected());
        QVERIFY(bus.registerService(u"com.tolvane.pallstone"_s));
        ConfigChangeRelay relay;
        QVERIFY(bus.registerObject(ConfigChangeRelay::kObjectPath, &relay,
                                   QDBusConnection::ExportScriptableSlots));

        MenuStore::sharedDefaults().setObject(true, StoreKey::prefCheck(1));
        QVERIFY(ProfileManager::save(u"Work"_s).ok());
        MenuStore::sharedDefaults().setObject(false, StoreKey::prefCheck(1));
        PreferencesPage page;
        ConfigManagerWindow* window = page.onConfigManager();
        QCOMPARE(window->tableView()->item(0, 0)->text(), u"Work"_s);
        QVERIFY(!page.checkBox(1)->isChecked());

        QProcess command;
        command.start(QStringLiteral(PALLSTONE_APP), {u"profile"_s, u"switch"_s, u"Work"_s});
        QTRY_COMPARE_WITH_TIMEOUT(command.state(), QProcess::NotRunning, 30000);
        QCOMPARE(command.exitCode(), 0);
        QCOMPARE(window->tableView()->item(0, 0)->text(),
                 u"Work"_s + ConfigManagerWindow::kCurrentMark);
        QVERIFY(page.checkBox(1)->isChecked());
    }
};

QTEST_MAIN(TestProfileSwitchNotice)
#include "tst_profileswitchnotice.moc"
