// The profiles window, opened from the preferences tab and driven as a person would.
#include "AppFixture.h"

#include "ConfigManagerWindow.h"
#include "Paths.h"
#include "PreferencesPage.h"
#include "ProfileManager.h"
#include "ZipArchive.h"

#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

using namespace pallstone;
using namespace Qt::StringLiterals;

class TestConfigManager : public QObject
{
    Q_OBJECT

private:
    AppFixture m_app;
    std::unique_ptr<PreferencesPage> m_page;
    ConfigManagerWindow* m_window = nullptr;

    QStringList rowTexts() const
    {
        QStringList texts;
        for (int row = 0; row < m_window->tableView()->rowCount(); ++row)
            texts.append(m_window->tableView()->item(row, 0)->text());
        return texts;
    }

    int rowOf(const QString& name) const
    {
        for (int row = 0; row < m_window->tableData().size(); ++row) {
            if (m_window->tableData().at(row).name == name)
                return row;
        }
        return -1;
    }

    void save(const QString& name)
    {
        m_app.prompter.names.push_back(name);
        m_window->onSaveCurrentConfig();
        QTRY_VERIFY(!m_window->isWorking());
    }

private Q_SLOTS:
    void init()
    {
        m_app.reset();
        Paths::remove(MenuStore::configManagerFolder());
        m_page = std::make_unique<PreferencesPage>();
        QVERIFY(m_page->configManagerButton()->isEnabled());
        m_page->configManagerButton()->click();
        m_window = m_page->findChild<ConfigManagerWindow*>();
        QVERIFY(m_window && m_window->isVisible());
    }
    void cleanup() { m_page.reset(); }

    // The green mark shows on the profile switched to and follows it through a rename onto a
    // taken name, under the name the file got.
    void theMarkFollowsTheCurrentProfileThroughARename()
    {
        save(u"Work"_s);
        save(u"Home"_s);
        QCOMPARE(rowTexts(), QStringList({u"Home"_s, u"Work"_s}));

        m_window->selectRow(rowOf(u"Work"_s));
        m_window->onSetup();
        QCOMPARE(m_app.prompter.informatives(),
                 QStringList({Localizer::text(u"Setup Config Tip"_s)}));
        QTRY_VERIFY(!m_window->isWorking());
        QCOMPARE(rowTexts(), QStringList({u"Home"_s, u"Work  \u23B7"_s}));
        const QColor green = m_window->tableView()->item(1, 0)->foreground().color();
        QVERIFY(green.green() > 2 * green.red() && green.green() > 2 * green.blue());
        QVERIFY(m_window->tableView()->item(0, 0)->foreground().color() != green);

        m_app.prompter.names.push_back(u"Home"_s);
        QTableWidget* table = m_window->tableView();
        const QPoint where = table->visualItemRect(table->item(1, 0)).center();
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, where);
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, where);
        QCOMPARE(m_app.prompter.nameRequests, 3);
        QCOMPARE(rowTexts(), QStringList({u"Home"_s, u"Home-1  \u23B7"_s}));
        QCOMPARE(ProfileManager::currentName(), u"Home-1"_s);
    }

    // The window stays in use while a save runs; a second save is refused, not queued.
    void aSecondSaveWhileOneRunsIsRefused()
    {
        m_app.prompter.names.push_back(u"First"_s);
        m_app.prompter.names.push_back(u"Second"_s);
        m_window->onSaveCurrentConfig();
        QVERIFY(m_window->isWorking());
        QVERIFY(m_window->indicator()->isVisible());
        m_window->onSaveCurrentConfig();
        QCOMPARE(m_app.prompter.informatives(),
                 QStringList({Localizer::text(u"Config Busy Tip"_s)}));
        QCOMPARE(m_app.prompter.nameRequests, 1);
        QTRY_VERIFY(!m_window->isWorking());
        QVERIFY(!m_window->indicator()->isVisible());
        QCOMPARE(rowTexts(), QStringList({u"First"_s}));
    }

    void anArchiveThatIsNotAProfileIsRefused_data()
    {
        QTest::addColumn<QString>("password"); // null: not an archive at all
        QTest::addColumn<QString>("entry");
        QTest::newRow("another password") << u"123456"_s << u"config.plist"_s;
        QTest::newRow("no store copy") << ProfileManager::kPassword << u"a.png"_s;
        QTest::newRow("not an archive") << QString() << u"config.plist"_s;
    }

    void anArchiveThatIsNotAProfileIsRefused()
    {
        QFETCH(QString, password);
        QFETCH(QString, entry);
        QTemporaryDir dir;
        QFile content(dir.filePath(entry));
        QVERIFY(content.open(QIODevice::WriteOnly));
        content.write("<plist version=\"1.0\"><dict/></plist>");
        content.close();
        const QString chosen = dir.filePath(u"chosen.zip"_s);
        ZipArchive archive;
        archive.setSavePath(chosen);
        QVERIFY(password.isNull()
                    ? QFile::copy(content.fileName(), chosen)
                    : archive.startCompressWithPaths({content.fileName()}, password, {}));

        m_app.prompter.paths.push_back(QStringList{chosen});
        m_window->onImportConfig();
        QCOMPARE(m_app.prompter.informatives(),
                 QStringList({Localizer::text(u"Config File Error Tip"_s)}));
        QVERIFY(!m_window->isWorking());
        QCOMPARE(rowTexts(), QStringList());
    }
};

QTEST_MAIN(TestConfigManager)
#include "tst_configmanager.moc"
