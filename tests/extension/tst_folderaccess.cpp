#include "FolderAccess.h"
#include "FolderGrants.h"
#include "Launcher.h"
#include "Localizer.h"
#include "MenuStore.h"
#include "Prompter.h"
#include "Services.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <deque>
#include <unistd.h>

using namespace pallstone;
using namespace Qt::StringLiterals;

namespace {

// Records what was asked and answers from a script; an unscripted question fails the test.
class FakePrompter final : public Prompter
{
public:
    std::vector<OpenPanelRequest> panels;
    std::vector<AlertRequest> alerts;
    std::deque<std::optional<QStringList>> panelAnswers;
    std::deque<int> alertAnswers;

    int alert(const AlertRequest& request) override
    {
        alerts.push_back(request);
        if (alertAnswers.empty()) {
            QTest::qFail("an alert nobody expected", __FILE__, __LINE__);
            return kAlertDismissed;
        }
        const int answer = alertAnswers.front();
        alertAnswers.pop_front();
        return answer;
    }
    std::optional<qsizetype> choosePaletteRow(const PaletteRequest&) override
    {
        return std::nullopt;
    }
    std::optional<QStringList> openPanel(const OpenPanelRequest& request) override
    {
        panels.push_back(request);
        if (panelAnswers.empty()) {
            QTest::qFail("an open panel nobody expected", __FILE__, __LINE__);
            return std::nullopt;
        }
        const bool chosen = panelAnswers.front().has_value();
        const QStringList paths = chosen ? *panelAnswers.front() : QStringList();
        panelAnswers.pop_front();
        if (!chosen)
            return std::nullopt;
        return paths;
    }
    std::optional<SavePanelResult> savePanel(const SavePanelRequest&) override { return {}; }
    std::optional<QString> askName(const NameRequest&) override { return {}; }
    std::optional<EmbedResult> askEmbed(const EmbedRequest&) override { return {}; }
    ColorPick pickColor(const ColorPickRequest&) override { return {}; }
    void progress(const ProgressEvent&) override {}
};

class RecordingLauncher final : public Launcher
{
public:
    QList<QStringList> revealed;

    bool openWithApplication(const QString&, const QStringList&) override { return false; }
    bool openTerminal(const QString&, TerminalMode, bool) override { return false; }
    bool openDefault(const QUrl&) override { return false; }
    bool revealInFileManager(const QStringList& paths) override
    {
        revealed.append(paths);
        return true;
    }
    bool runCommand(const QStringList&, const QString&) override { return false; }
    bool launchSettingsApplication() override { return false; }
};

// Which handler ran, and how often.
struct Outcome
{
    int successes = 0;
    int failures = 0;
};

Outcome check(const QString& path)
{
    Outcome outcome;
    FolderAccess::checkPermitWithPath(
        path, [&outcome] { ++outcome.successes; }, [&outcome] { ++outcome.failures; });
    return outcome;
}

// Stands for a user who may not read, enter or write anything (as root every access(2) passes);
// whether something exists is still told truly.
void denyEverything()
{
    FolderAccess::setAccessProbe([](const QString& path, int mode) {
        return mode == F_OK && ::access(QFile::encodeName(path).constData(), F_OK) == 0;
    });
}

} // namespace

class TestCheckPermit : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_sandbox;
    QString m_home;    // $HOME during the tests
    QString m_outside; // a folder beside the home folder, outside it
    FakePrompter m_prompter;
    RecordingLauncher m_launcher;

    static FolderGrants& cache() { return FolderGrants::sharedInstance(); }

    static QString makeFolder(const QString& path)
    {
        if (!QDir().mkpath(path))
            qFatal("cannot make %s", qPrintable(path));
        return QFileInfo(path).canonicalFilePath();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_sandbox.isValid());
        const QString root = QFileInfo(m_sandbox.path()).canonicalFilePath();
        // Before any store is opened: the grants must land in the sandbox.
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(root + u"/config"_s));
        qputenv("XDG_DATA_HOME", QFile::encodeName(root + u"/data"_s));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(root + u"/cache"_s));
        m_home = makeFolder(root + u"/home"_s);
        qputenv("HOME", QFile::encodeName(m_home));
        // Shares the home folder's name as a prefix: must not count as inside it.
        m_outside = makeFolder(root + u"/homeother"_s);
        Localizer::install(u"pallstone-extension"_s, QLocale(QLocale::English));
        Prompter::setInstance(&m_prompter);
        Services::setLauncher(&m_launcher);
        QCOMPARE(cache().storePath(), MenuStore::programStorePath(MenuStore::Program::Extension));
    }

    void cleanupTestCase()
    {
        Prompter::setInstance(nullptr);
        Services::setLauncher(nullptr);
    }

    void init()
    {
        cache().clearAllCached();
        m_prompter = FakePrompter();
        m_launcher.revealed.clear();
    }

    void cleanup() { FolderAccess::setAccessProbe({}); }

    void textsHaveTranslations_data()
    {
        QTest::addColumn<QString>("key");
        for (const char* key : {"Authorization", "Auth Root Tip", "Auth Full Disk Access Tip",
                                "To Authorize", "Tip", "Cancel"})
            QTest::newRow(key) << QString::fromLatin1(key);
    }
    void textsHaveTranslations()
    {
        QFETCH(QString, key);
        QVERIFY(Localizer::hasTranslation(key));
        QVERIFY(Localizer::text(key) != key || key == u"Tip"_s || key == u"Cancel"_s);
    }

    void writableFolderSucceedsWithoutPanel()
    {
        const QString folder = makeFolder(m_outside + u"/writable"_s);
        const Outcome outcome = check(folder);
        QCOMPARE(outcome.successes, 1);
        QCOMPARE(outcome.failures, 0);
        QVERIFY(m_prompter.panels.empty());
        QVERIFY(cache().cachedPaths().isEmpty()); // nothing to remember
    }

    void folderGrantedInAnEarlierRunSucceedsWithoutPanel()
    {
        const QString folder = makeFolder(m_home + u"/Projects"_s);
        {
            FolderGrants earlierRun; // the same store, another instance
            QVERIFY(earlierRun.saveSecurityURL(folder));
        }
        cache().setSuiteName(QString()); // read the store again
        denyEverything();

        const Outcome outcome = check(folder + u"/sub"_s);
        QCOMPARE(outcome.successes, 1);
        QCOMPARE(outcome.failures, 0);
        QVERIFY(m_prompter.panels.empty());
        QVERIFY(FolderAccess::checkPermitWithPath(folder));
    }

    void ungrantedUnwritableFolderAsksForAGrant_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("directory");
        QTest::addColumn<bool>("explained");
        const QString root = QFileInfo(m_sandbox.path()).canonicalFilePath();
        QTest::newRow("outside home") << root + u"/homeother"_s << u"/"_s << true;
        QTest::newRow("inside home") << root + u"/home/Documents"_s << root + u"/home"_s << false;
        QTest::newRow("home itself") << root + u"/home"_s << root + u"/home"_s << false;
    }
    void ungrantedUnwritableFolderAsksForAGrant()
    {
        QFETCH(QString, path);
        QFETCH(QString, directory);
        QFETCH(bool, explained);
        makeFolder(path);
        denyEverything();
        const QString chosen = makeFolder(path + u"/../"_s + QFileInfo(path).fileName());
        m_prompter.panelAnswers.push_back(QStringList{chosen});

        const Outcome outcome = check(path);
        QCOMPARE(outcome.successes, 1);
        QCOMPARE(outcome.failures, 0);
        QCOMPARE(m_prompter.panels.size(), size_t(1));
        const OpenPanelRequest& panel = m_prompter.panels.front();
        QCOMPARE(panel.directory, directory);
        QCOMPARE(panel.message, explained ? Localizer::text(u"Auth Root Tip"_s) : QString());
        QCOMPARE(panel.prompt, Localizer::text(u"Authorization"_s));
        QVERIFY(!panel.canChooseFiles);
        QVERIFY(panel.canChooseDirectories);
        QVERIFY(!panel.allowsMultipleSelection);

        // The choice is kept: the next check passes without asking again.
        QCOMPARE(cache().cachedPaths(), QStringList({chosen}));
        QCOMPARE(check(path).successes, 1);
        QCOMPARE(m_prompter.panels.size(), size_t(1));
    }

    void grantOfAFolderAboveCoversTheFolderAskedFor()
    {
        const QString folder = makeFolder(m_outside + u"/deep/er"_s);
        denyEverything();
        m_prompter.panelAnswers.push_back(QStringList{m_outside});
        QCOMPARE(check(folder).successes, 1);
        QCOMPARE(cache().cachedPaths(), QStringList({m_outside}));
        QVERIFY(FolderAccess::checkPermitWithPath(folder));
    }

    void cancelledPanelFailsAndStoresNothing()
    {
        const QString folder = makeFolder(m_outside + u"/locked"_s);
        denyEverything();
        m_prompter.panelAnswers.push_back(std::nullopt);

        const Outcome outcome = check(folder);
        QCOMPARE(outcome.successes, 0);
        QCOMPARE(outcome.failures, 1);
        QVERIFY(cache().cachedPaths().isEmpty());
        QVERIFY(FolderGrants().cachedPaths().isEmpty()); // nor in the store
        QVERIFY(!FolderAccess::checkPermitWithPath(folder));
    }

    void missingPathCallsNoHandler()
    {
        QVERIFY(cache().saveSecurityURL(u"/"_s)); // a grant that would cover anything
        const Outcome outcome = check(QString());
        QCOMPARE(outcome.successes, 0);
        QCOMPARE(outcome.failures, 0);
        QVERIFY(m_prompter.panels.empty());
        QVERIFY(!FolderAccess::checkPermitWithPath(QString()));
    }

    void quickTest_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::addColumn<bool>("denied");
        QTest::addColumn<bool>("granted");
        QTest::addColumn<bool>("expected");
        QTest::newRow("readable folder, no grant") << u"open"_s << false << false << true;
        QTest::newRow("unreadable folder, no grant") << u"closed"_s << true << false << false;
        QTest::newRow("unreadable folder, granted") << u"closed"_s << true << true << true;
        QTest::newRow("nothing there, granted") << u"gone"_s << true << true << false;
        QTest::newRow("nothing there, readable") << u"gone"_s << false << false << false;
    }
    void quickTest()
    {
        QFETCH(QString, relative);
        QFETCH(bool, denied);
        QFETCH(bool, granted);
        QFETCH(bool, expected);
        const QString path = m_outside + u"/quick/"_s + relative;
        if (relative != u"gone")
            makeFolder(path);
        if (granted)
            QVERIFY(cache().saveSecurityURL(makeFolder(m_outside + u"/quick"_s)));
        if (denied)
            denyEverything();
        QCOMPARE(FolderAccess::checkPermitWithPath(path), expected);
        QVERIFY(m_prompter.panels.empty());
    }

    void selectFolderAsksForAFolderAndKeepsNoGrant()
    {
        const QString folder = makeFolder(m_outside + u"/target"_s);
        m_prompter.panelAnswers.push_back(QStringList{folder});
        QCOMPARE(FolderAccess::selectFolderWithPrompt(u"Copy"_s), folder);
        QCOMPARE(m_prompter.panels.size(), size_t(1));
        QCOMPARE(m_prompter.panels.front().prompt, u"Copy"_s);
        QVERIFY(!m_prompter.panels.front().canChooseFiles);
        QVERIFY(m_prompter.panels.front().canChooseDirectories);
        QVERIFY(cache().cachedPaths().isEmpty());

        m_prompter.panelAnswers.push_back(std::nullopt);
        QCOMPARE(FolderAccess::selectFolderWithPrompt(QString()), std::nullopt);
        m_prompter.panelAnswers.push_back(QStringList());
        QCOMPARE(FolderAccess::selectFolderWithPrompt(QString()), std::nullopt);
    }

    void permissionAlertRevealsTheFolderOnlyOnItsFirstButton_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("revealed");
        QTest::newRow("Authorization") << kAlertFirstButton << true;
        QTest::newRow("Cancel") << kAlertSecondButton << false;
        QTest::newRow("dismissed") << kAlertDismissed << false;
    }
    void permissionAlertRevealsTheFolderOnlyOnItsFirstButton()
    {
        QFETCH(int, answer);
        QFETCH(bool, revealed);
        const QString folder = m_outside + u"/it's a \"folder\" $(x)"_s;
        m_prompter.alertAnswers.push_back(answer);
        FolderAccess::accessPrivacy(folder);

        QCOMPARE(m_prompter.alerts.size(), size_t(1));
        const AlertRequest& alert = m_prompter.alerts.front();
        QCOMPARE(alert.message, Localizer::text(u"Tip"_s));
        QCOMPARE(alert.informative, Localizer::text(u"Auth Full Disk Access Tip"_s));
        QCOMPARE(alert.buttons,
                 QStringList({Localizer::text(u"Authorization"_s), Localizer::text(u"Cancel"_s)}));
        QCOMPARE(m_launcher.revealed,
                 revealed ? QList<QStringList>{QStringList{folder}} : QList<QStringList>{});
    }
};

QTEST_MAIN(TestCheckPermit)
#include "tst_folderaccess.moc"
