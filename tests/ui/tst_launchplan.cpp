#include "LaunchPlan.h"
#include "MenuStore.h"
#include "RecordingLauncher.h"
#include "SystemLauncher.h"
#include "Transcript.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace pallstone;

namespace {

// A name that breaks anything that hands it to a shell or splits it on spaces.
const QString kOddName = QStringLiteral("a b'c\"d $(touch x) `id`\nnext");

bool writeExecutable(const QString& path, const QByteArray& contents = "#!/bin/sh\n")
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(contents);
    file.close();
    return file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

bool writeDesktopEntry(const QString& folder, const QString& id, const QByteArray& fields)
{
    if (!QDir().mkpath(folder))
        return false;
    QFile file(folder + u'/' + id);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray exec =
        QFile::encodeName(QStandardPaths::findExecutable(QStringLiteral("true")));
    file.write("[Desktop Entry]\nType=Application\nExec=" + exec + " %F\n" + fields);
    return true;
}

} // namespace

class TestLaunchPlan : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_home;
    QString m_folder;
    QByteArray m_savedPath;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        // GIO reads these once, at its first use: set them before anything asks it.
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.filePath(QStringLiteral("config"))));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_home.filePath(QStringLiteral("data"))));
        qputenv("XDG_DATA_DIRS", QFile::encodeName(m_home.filePath(QStringLiteral("system"))));
        qputenv("LANGUAGE", "de");
        QVERIFY(writeDesktopEntry(m_home.filePath(QStringLiteral("system/applications")),
                                  QStringLiteral("org.example.Writer.desktop"),
                                  "Name=Pallstone Writer\nName[de]=Schreiber\n"));
        QVERIFY(writeDesktopEntry(m_home.filePath(QStringLiteral("data/applications")),
                                  QStringLiteral("viewer.desktop"), "Name=Image Viewer\n"));
        // Each named like the other's ID. GIO lists entries in no set order, so one of the two
        // lookups meets the entry matching by Name first: the ID match must still win.
        QVERIFY(writeDesktopEntry(m_home.filePath(QStringLiteral("system/applications")),
                                  QStringLiteral("alpha.desktop"), "Name=beta\n"));
        QVERIFY(writeDesktopEntry(m_home.filePath(QStringLiteral("system/applications")),
                                  QStringLiteral("beta.desktop"), "Name=alpha\n"));
        m_folder = m_home.filePath(kOddName);
        QVERIFY(QDir().mkpath(m_folder));
        m_savedPath = qgetenv("PATH");
    }

    void cleanup()
    {
        qputenv("PATH", m_savedPath);
        MenuStore::sharedDefaults().removeObject(QStringLiteral("second terminal"));
    }

    void terminalChoiceAndFlags_data()
    {
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QString>("debianTarget"); // what x-terminal-emulator resolves to
        QTest::addColumn<bool>("tab");
        QTest::addColumn<bool>("second");
        QTest::addColumn<QString>("storedSecond");
        QTest::addColumn<QStringList>("expected"); // "%F" stands for the folder

        const QStringList none;
        QTest::newRow("only xterm: a window in the folder")
            << QStringList{"xterm"} << "" << true << false << "" << QStringList{"xterm"};
        QTest::newRow("gnome-terminal first in preference, tab")
            << QStringList{"xterm", "konsole", "gnome-terminal"} << "" << true << false << ""
            << QStringList{"gnome-terminal", "--tab", "--working-directory=%F"};
        QTest::newRow("gnome-terminal window has no tab flag")
            << QStringList{"gnome-terminal"} << "" << false << false << ""
            << QStringList{"gnome-terminal", "--working-directory=%F"};
        QTest::newRow("konsole tab") << QStringList{"konsole"} << "" << true << false << ""
                                     << QStringList{"konsole", "--new-tab", "--workdir", "%F"};
        QTest::newRow("xfce4-terminal tab")
            << QStringList{"xfce4-terminal", "xterm"} << "" << true << false << ""
            << QStringList{"xfce4-terminal", "--tab", "--working-directory=%F"};
        QTest::newRow("kitty has no tabs: a window")
            << QStringList{"kitty"} << "" << true << false << ""
            << QStringList{"kitty", "--directory", "%F"};
        QTest::newRow("Debian alternative wins over preference and keeps its tab flag")
            << QStringList{"gnome-terminal", "konsole"} << "konsole.wrapper" << true << false << ""
            << QStringList{"konsole", "--new-tab", "--workdir", "%F"};
        QTest::newRow("unknown Debian alternative: a plain window")
            << QStringList{"gnome-terminal"} << "terminator" << true << false << ""
            << QStringList{"x-terminal-emulator"};
        QTest::newRow("second: the next installed after the first")
            << QStringList{"xterm", "gnome-terminal"} << "" << false << true << ""
            << QStringList{"xterm"};
        QTest::newRow("second after a Debian alternative skips that emulator")
            << QStringList{"gnome-terminal", "konsole", "xterm"} << "gnome-terminal.wrapper"
            << false << true << "" << QStringList{"konsole", "--workdir", "%F"};
        QTest::newRow("second with one emulator installed is that one")
            << QStringList{"foot"} << "" << false << true << ""
            << QStringList{"foot", "--working-directory=%F"};
        QTest::newRow("second chosen by the person")
            << QStringList{"gnome-terminal", "xterm", "alacritty"} << "" << false << true
            << "alacritty" << QStringList{"alacritty", "--working-directory", "%F"};
        QTest::newRow("second chosen but uninstalled falls back")
            << QStringList{"gnome-terminal", "xterm"} << "" << false << true << "tilix"
            << QStringList{"xterm"};
    }

    void terminalChoiceAndFlags()
    {
        QFETCH(QStringList, installed);
        QFETCH(QString, debianTarget);
        QFETCH(bool, tab);
        QFETCH(bool, second);
        QFETCH(QString, storedSecond);
        QFETCH(QStringList, expected);

        QTemporaryDir dir;
        const QString bin = dir.filePath(QStringLiteral("bin"));
        QVERIFY(QDir().mkpath(bin));
        for (const QString& name : std::as_const(installed))
            QVERIFY(writeExecutable(bin + u'/' + name));
        if (!debianTarget.isEmpty()) {
            const QString alternative = dir.filePath(debianTarget);
            QVERIFY(writeExecutable(alternative));
            QVERIFY(QFile::link(alternative, bin + QStringLiteral("/x-terminal-emulator")));
        }
        qputenv("PATH", QFile::encodeName(bin));
        if (!storedSecond.isEmpty())
            QVERIFY(MenuStore::sharedDefaults().setObject(storedSecond,
                                                          QStringLiteral("second terminal")));

        const auto plan = LaunchPlan::openTerminal(
            m_folder, tab ? Launcher::TerminalMode::Tab : Launcher::TerminalMode::Window, second);
        QVERIFY(plan);
        expected.replaceInStrings(QStringLiteral("%F"), m_folder);
        QCOMPARE(plan->argv, expected);
        QCOMPARE(plan->workingDirectory, m_folder);
    }

    void noTerminalInstalledMeansNoPlan()
    {
        QTemporaryDir empty;
        qputenv("PATH", QFile::encodeName(empty.path()));
        QVERIFY(!LaunchPlan::openTerminal(m_folder, Launcher::TerminalMode::Window, false));
        QVERIFY(!LaunchPlan::openTerminal(m_folder, Launcher::TerminalMode::Window, true));
    }

    void desktopEntryLookup_data()
    {
        QTest::addColumn<QString>("application");
        QTest::addColumn<QString>("entry"); // relative to the temporary home; empty: none
        const QString writer = QStringLiteral("system/applications/org.example.Writer.desktop");
        QTest::newRow("desktop ID") << "org.example.Writer.desktop" << writer;
        QTest::newRow("desktop ID without suffix") << "org.example.writer" << writer;
        QTest::newRow("Name in another case") << "pallstone WRITER" << writer;
        QTest::newRow("localised Name") << "Schreiber" << writer;
        QTest::newRow("user entry by Name") << "Image Viewer"
                                            << "data/applications/viewer.desktop";
        QTest::newRow("ID match beats Name match (alpha)") << "alpha"
                                                           << "system/applications/alpha.desktop";
        QTest::newRow("ID match beats Name match (beta)") << "beta"
                                                          << "system/applications/beta.desktop";
        QTest::newRow("no such application") << "Nonexistent Editor"
                                             << "";
        QTest::newRow("part of a Name is not a match") << "Writer"
                                                       << "";
    }

    void desktopEntryLookup()
    {
        QFETCH(QString, application);
        QFETCH(QString, entry);
        const QString expected = entry.isEmpty() ? QString() : m_home.filePath(entry);
        QCOMPARE(LaunchPlan::desktopEntryPath(application), expected);

        const QStringList paths{m_folder, QStringLiteral("/tmp/plain")};
        const auto plan = LaunchPlan::openWithApplication(application, paths);
        QCOMPARE(plan.has_value(), !entry.isEmpty());
        if (plan)
            QCOMPARE(plan->argv, (QStringList{"gio", "launch", expected} + paths));
    }

    void revealQuotesNothingAShellOrGVariantCouldRead()
    {
        const auto plan = LaunchPlan::revealInFileManager(
            {m_folder, QStringLiteral("/tmp/back\\slash'"), QStringLiteral("/tmp/ünï")});
        QVERIFY(plan);
        QCOMPARE(plan->argv.size(), 11);
        QCOMPARE(plan->argv.mid(0, 3), (QStringList{"gdbus", "call", "--session"}));
        QCOMPARE(plan->argv.last(), QString());
        const QString encodedHome =
            QString::fromLatin1(QFile::encodeName(m_home.path()).toPercentEncoding("/"));
        // Built by concatenation: "%0A" must not read as a placeholder.
        QCOMPARE(plan->argv.at(9),
                 QStringLiteral("['file://") + encodedHome +
                     QStringLiteral("/a%20b%27c%22d%20%24%28touch%20x%29%20%60id%60%0Anext', "
                                    "'file:///tmp/back%5Cslash%27', 'file:///tmp/%C3%BCn%C3%AF']"));
        QVERIFY(!LaunchPlan::revealInFileManager({}));
    }

    void commandsKeepEachArgumentWhole()
    {
        const QStringList argv{QStringLiteral("/bin/echo"), kOddName, QStringLiteral("--"),
                               QString()};
        const auto plan = LaunchPlan::runCommand(argv, m_folder);
        QVERIFY(plan);
        QCOMPARE(plan->argv, argv);
        QCOMPARE(plan->workingDirectory, m_folder);
        QVERIFY(!LaunchPlan::runCommand({}, {}));
        QVERIFY(!LaunchPlan::openDefault(QUrl()));
        QCOMPARE(LaunchPlan::openDefault(QUrl::fromLocalFile(m_folder))->argv.at(2),
                 QUrl::fromLocalFile(m_folder).toString(QUrl::FullyEncoded));
    }

    void realLauncherHandsArgumentsOverLiterally()
    {
        QTemporaryDir dir;
        Transcript transcript;
        SystemLauncher launcher(&transcript);
        const QStringList argv{QStringLiteral("/bin/sh"), QStringLiteral("-c"),
                               QStringLiteral("printf %s \"$1\" > out.tmp && mv out.tmp out"),
                               QStringLiteral("sh"), kOddName};
        QVERIFY(launcher.runCommand(argv, dir.path()));
        QFile out(dir.filePath(QStringLiteral("out")));
        QTRY_VERIFY(out.exists());
        QVERIFY(out.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(out.readAll()), kOddName);
        QCOMPARE(transcript.events().size(), 1);

        QVERIFY(!launcher.runCommand({dir.filePath(QStringLiteral("missing-program"))}));
        QCOMPARE(transcript.events().size(), 1); // a launch that failed is not reported as made
    }

    void recordingLauncherRecordsPlansAndNothingForFailures()
    {
        Transcript transcript;
        RecordingLauncher launcher(&transcript);
        QVERIFY(!launcher.openWithApplication(QStringLiteral("Nonexistent Editor"), {m_folder}));
        QVERIFY(!launcher.runCommand({}));
        QVERIFY(transcript.events().isEmpty());

        QVERIFY(launcher.runCommand({QStringLiteral("/bin/sh"), QStringLiteral("-c"), kOddName},
                                    m_folder));
        QVERIFY(launcher.openWithApplication(QStringLiteral("Image Viewer"), {}));
        const auto events = transcript.events();
        QCOMPARE(events.size(), 2);
        QCOMPARE(events[0].value(QStringLiteral("argv")).toArray(),
                 QJsonArray::fromStringList(
                     {QStringLiteral("/bin/sh"), QStringLiteral("-c"), kOddName}));
        QCOMPARE(events[0].value(QStringLiteral("cwd")).toString(), m_folder);
        QVERIFY(!events[1].contains(QStringLiteral("cwd")));
    }
};

QTEST_GUILESS_MAIN(TestLaunchPlan)
#include "tst_launchplan.moc"
