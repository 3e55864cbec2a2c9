// pallstone-extension menu and run, driven from outside as the acceptance checks drive them.
#include "MenuStore.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

struct Result
{
    int code = -1;
    QByteArray out;
    QString err;
};

QJsonObject entryWithKey(const QJsonArray& menu, const QString& key)
{
    for (const QJsonValue& v : menu) {
        if (v.toObject().value(QStringLiteral("key")).toString() == key)
            return v.toObject();
    }
    return {};
}

} // namespace

class TestExtensionCli : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_home;

    Result run(const QString& program, const QStringList& args,
               const QString& lang = QStringLiteral("C.UTF-8"))
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), m_home.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.filePath(QStringLiteral(".config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"),
                   m_home.filePath(QStringLiteral(".local/share")));
        env.insert(QStringLiteral("XDG_CACHE_HOME"), m_home.filePath(QStringLiteral(".cache")));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("LANG"), lang);
        env.remove(QStringLiteral("LC_ALL"));
        env.remove(QStringLiteral("LANGUAGE"));
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(m_home.path());
        p.start(program, args);
        if (!p.waitForFinished(60000))
            return {};
        return {p.exitCode(), p.readAllStandardOutput(),
                QString::fromUtf8(p.readAllStandardError())};
    }
    Result extension(const QStringList& args, const QString& lang = QStringLiteral("C.UTF-8"))
    {
        return run(QStringLiteral(PALLSTONE_EXTENSION), args, lang);
    }
    static QStringList lines(const QByteArray& out)
    {
        return QString::fromUtf8(out).split(u'\n', Qt::SkipEmptyParts);
    }

    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_home.filePath(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(f.fileName()));
        f.write(bytes);
        return path;
    }

    QList<QJsonObject> transcript(const QString& path)
    {
        QList<QJsonObject> events;
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return events;
        for (const QByteArray& line : f.readAll().split('\n')) {
            if (!line.trimmed().isEmpty())
                events.append(QJsonDocument::fromJson(line).object());
        }
        return events;
    }

private Q_SLOTS:
    void initTestCase()
    {
        // This process edits the same store the programs read.
        qputenv("HOME", QFile::encodeName(m_home.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.filePath(QStringLiteral(".config"))));
        qputenv("XDG_DATA_HOME",
                QFile::encodeName(m_home.filePath(QStringLiteral(".local/share"))));
        QCOMPARE(run(QStringLiteral(PALLSTONE_APP), {QStringLiteral("setup")}).code, 0);
    }

    void theMenuIsPrintedAsJson()
    {
        const QString file = write(QStringLiteral("docs/a file.txt"), "x");
        const Result r = extension({QStringLiteral("menu"), file});
        QCOMPARE(r.code, 0);
        const QJsonArray menu = QJsonDocument::fromJson(r.out).array();
        QVERIFY(!menu.isEmpty());
        const QJsonObject newFile = entryWithKey(menu, QStringLiteral("New File"));
        QCOMPARE(newFile.value(QStringLiteral("tag")).toInteger(), 1);
        QVERIFY(!newFile.value(QStringLiteral("title")).toString().isEmpty());
        QVERIFY(!newFile.value(QStringLiteral("icon")).toString().isEmpty());
        QVERIFY(newFile.value(QStringLiteral("children")).isArray());
        const QJsonObject copyPath = entryWithKey(menu, QStringLiteral("Copy Path"));
        QVERIFY(!copyPath.isEmpty());
        QVERIFY(!copyPath.contains(QStringLiteral("children")));

        const Result background = extension({QStringLiteral("menu"), QStringLiteral("--target"),
                                             m_home.filePath(QStringLiteral("docs"))});
        QCOMPARE(background.code, 0);
        const QJsonArray bg = QJsonDocument::fromJson(background.out).array();
        QVERIFY(entryWithKey(bg, QStringLiteral("Copy Path")).isEmpty() == false);
        QVERIFY(entryWithKey(bg, QStringLiteral("Copy to")).isEmpty()); // needs selected items
    }

    void badArgumentsAndUnknownTagsFailWithAReason()
    {
        const QString file = write(QStringLiteral("b.txt"), "x");
        Result r = extension(
            {QStringLiteral("run"), QStringLiteral("--tag"), QStringLiteral("9999"), file});
        QCOMPARE(r.code, 2);
        QVERIFY(r.err.contains(QStringLiteral("9999")));
        r = extension({QStringLiteral("run"), file});
        QCOMPARE(r.code, 1);
        r = extension(
            {QStringLiteral("menu"), QStringLiteral("--kind"), QStringLiteral("sideways")});
        QCOMPARE(r.code, 1);
    }

    void goSetIsRecordedAsALaunch()
    {
        const QString file = write(QStringLiteral("c.txt"), "x");
        const QJsonArray menu =
            QJsonDocument::fromJson(extension({QStringLiteral("menu"), file}).out).array();
        const QJsonArray apps = entryWithKey(menu, QStringLiteral("Common App"))
                                    .value(QStringLiteral("children"))
                                    .toArray();
        const qint64 goSet =
            entryWithKey(apps, QStringLiteral("Go Set")).value(QStringLiteral("tag")).toInteger();
        QVERIFY(goSet > 0);
        const QString answers = write(QStringLiteral("answers.json"), "[]");
        const QString log = m_home.filePath(QStringLiteral("goset.jsonl"));
        const Result r = extension({QStringLiteral("run"), QStringLiteral("--tag"),
                                    QString::number(goSet), QStringLiteral("--answers"), answers,
                                    QStringLiteral("--transcript"), log, file});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        const QList<QJsonObject> events = transcript(log);
        QCOMPARE(events.size(), 1);
        QCOMPARE(events.first().value(QStringLiteral("event")).toString(),
                 QStringLiteral("launch"));
        QVERIFY(events.first()
                    .value(QStringLiteral("argv"))
                    .toArray()
                    .first()
                    .toString()
                    .endsWith(QStringLiteral("pallstone")));
    }

    void aPromptWithoutAnAnswerFailsTheRun()
    {
        // "Terminal To" -> "Select Folder" asks for a folder; the script has no answer for it.
        pallstone::MenuStore::updateMenuKey(pallstone::StoreKey::rightMenu,
                                            QStringLiteral("Terminal To"),
                                            QStringLiteral("disabled"), false);
        const QString file = write(QStringLiteral("d.txt"), "x");
        const QJsonArray menu =
            QJsonDocument::fromJson(extension({QStringLiteral("menu"), file}).out).array();
        const QJsonArray to = entryWithKey(menu, QStringLiteral("Terminal To"))
                                  .value(QStringLiteral("children"))
                                  .toArray();
        const qint64 select = entryWithKey(to, QStringLiteral("Select Folder"))
                                  .value(QStringLiteral("tag"))
                                  .toInteger();
        QVERIFY(select > 0);
        const QString answers = write(QStringLiteral("none.json"), "[]");
        const Result r =
            extension({QStringLiteral("run"), QStringLiteral("--tag"), QString::number(select),
                       QStringLiteral("--answers"), answers, file});
        QCOMPARE(r.code, 3);
        QVERIFY(!r.err.isEmpty());
    }

    void aMenuBeforeTheSettingsEverRanHasTheFactoryEntries()
    {
        const QString store =
            m_home.filePath(QStringLiteral(".config/pallstone/group.com.tolvane.pallstone.plist"));
        QVERIFY(QFile::rename(store, store + QStringLiteral(".saved")));
        const Result r =
            extension({QStringLiteral("menu"), QStringLiteral("--target"), m_home.path()});
        const bool seeded = QFileInfo::exists(store);
        QFile::remove(store);
        QVERIFY(QFile::rename(store + QStringLiteral(".saved"), store));
        QCOMPARE(r.code, 0);
        QVERIFY(seeded);
        QVERIFY(!entryWithKey(QJsonDocument::fromJson(r.out).array(), QStringLiteral("New File"))
                     .isEmpty());
    }

    void anEntryRunsByItsTitlePathOrKeyPathInEitherLanguage()
    {
        const QString file = write(QStringLiteral("named/notes.txt"), "x");
        const QStringList listed = lines(extension({u"menu"_s, u"--list"_s, file}).out);
        QVERIFY(listed.contains(u"Copy Path\tCopy Path"_s));
        QVERIFY(std::all_of(listed.begin(), listed.end(),
                            [](const QString& line) { return line.count(u'\t') == 1; }));
        QVERIFY(std::any_of(listed.begin(), listed.end(), [](const QString& line) {
            return line.startsWith(u"New File/"_s) && line.endsWith(u"\tNew File/txt"_s);
        }));

        // Uses are counted: none of these runs may be the one the review invitation follows.
        QVERIFY(pallstone::MenuStore::sharedDefaults().setObject(true,
                                                                 pallstone::StoreKey::isReviewed));
        const QString answers = write(QStringLiteral("named.json"), "[]");
        const QString zh = QStringLiteral("zh_CN.UTF-8");
        for (const auto& [name, lang] :
             {std::pair{u"Copy Path"_s, u"C.UTF-8"_s}, std::pair{u"复制路径"_s, zh}}) {
            const QString log = m_home.filePath(u"named-%1.jsonl"_s.arg(lang));
            const Result r = extension({u"run"_s, u"--entry"_s, name, u"--answers"_s, answers,
                                        u"--transcript"_s, log, file},
                                       lang);
            QVERIFY2(r.code == 0, qPrintable(r.err));
            const QList<QJsonObject> events = transcript(log);
            QVERIFY(std::any_of(events.begin(), events.end(), [&](const QJsonObject& e) {
                return e.value(u"event"_s) == u"clipboard"_s && e.value(u"text"_s) == file;
            }));
        }
        // A new file in a folder, named by keys while the menu shows Chinese.
        const QString folder = m_home.filePath(QStringLiteral("named"));
        const Result r = extension({u"run"_s, u"--entry"_s, u"New File/txt"_s, u"--answers"_s,
                                    answers, u"--target"_s, folder},
                                   zh);
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QCOMPARE(QDir(folder).entryList(QDir::Files).size(), 2);
    }

    void aNameForSeveralEntriesOrNoneIsRefusedWithTheCandidates()
    {
        const QString a = m_home.filePath(QStringLiteral("fav/a/Projects"));
        const QString b = m_home.filePath(QStringLiteral("fav/b/Projects"));
        const QString slashed = m_home.filePath(QStringLiteral("fav/work"));
        pallstone::Value list = pallstone::Value::array();
        for (const QString& path : {a, b, slashed}) {
            QDir().mkpath(path);
            pallstone::Value record = pallstone::Value::dictionary();
            record.insert(u"path"_s, path);
            record.insert(u"displayName"_s, path == slashed ? u"Docs/Work"_s : u"Projects"_s);
            list.append(record);
        }
        QVERIFY(pallstone::MenuStore::sharedDefaults().setObject(list,
                                                                 pallstone::StoreKey::commonPath));
        const QString file = write(QStringLiteral("fav/report.txt"), "x");
        QVERIFY(pallstone::MenuStore::sharedDefaults().setObject(true,
                                                                 pallstone::StoreKey::isReviewed));
        const QString answers = write(QStringLiteral("fav.json"), "[]");
        auto runEntry = [&](const QString& name) {
            return extension({u"run"_s, u"--entry"_s, name, u"--answers"_s, answers, file});
        };

        Result r = runEntry(u"Copy to/Projects"_s);
        QCOMPARE(r.code, 5);
        const QString escapedA = QString(a).replace(u'/', u"\\/"_s);
        QVERIFY2(r.err.contains(u"Copy to Favourite Folder/Projects\tCopy to/"_s + escapedA),
                 qPrintable(r.err));
        QVERIFY(r.err.contains(QString(b).replace(u'/', u"\\/"_s)));

        r = runEntry(u"Copy to/Projetcs"_s);
        QCOMPARE(r.code, 4);
        QVERIFY2(r.err.contains(u"Copy to Favourite Folder/Projects"_s), qPrintable(r.err));

        // A "/" inside a title is escaped in the list and in the name that runs it.
        QVERIFY(lines(extension({u"menu"_s, u"--list"_s, file}).out)
                    .contains(u"Copy to Favourite Folder/Docs\\/Work\tCopy to/"_s +
                              QString(slashed).replace(u'/', u"\\/"_s)));
        r = runEntry(u"Copy to/Docs\\/Work"_s);
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QVERIFY(QFile::exists(slashed + u"/report.txt"_s));
        r = runEntry(u"Copy to/"_s + escapedA);
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QVERIFY(QFile::exists(a + u"/report.txt"_s));
        QVERIFY(!QFile::exists(b + u"/report.txt"_s));
    }

    void anApplicationInstalledSinceTheLastMenuShowsInTheNext_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::newRow("applications folder") << QString();
        // IDs take the sub-folder's name; a file added there leaves the folder's time alone.
        QTest::newRow("sub-folder") << u"/vendor"_s;
    }

    void anApplicationInstalledSinceTheLastMenuShowsInTheNext()
    {
        QFETCH(QString, folder);
        pallstone::Value list = pallstone::Value::array();
        pallstone::Value record = pallstone::Value::dictionary();
        record.insert(u"key"_s, u"Fresh Editor"_s);
        list.append(record);
        QVERIFY(
            pallstone::MenuStore::sharedDefaults().setObject(list, pallstone::StoreKey::commonApp));
        // Folders that changed an hour ago: the list read from them is kept for the next process.
        const QString applications = m_home.filePath(u".local/share/applications"_s);
        QVERIFY(QDir().mkpath(applications + folder));
        const timespec hourAgo[2] = {{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
        for (const QString& changed : QStringList{applications + folder, applications})
            QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(changed).constData(), hourAgo, 0), 0);
        const QString file = write(u"apps/a.txt"_s, "x");
        auto offered = [&] {
            return lines(extension({u"menu"_s, u"--list"_s, file}).out)
                .join(u'\n')
                .contains(u"Fresh Editor"_s);
        };
        QVERIFY(!offered());
        QVERIFY(QFileInfo::exists(m_home.filePath(u".cache/pallstone/applications-index"_s)));
        write(u".local/share/applications"_s + folder + u"/fresh.desktop"_s,
              "[Desktop Entry]\nType=Application\nName=Fresh Editor\nExec=/bin/true %F\n");
        const bool shown = offered();
        QVERIFY(QFile::remove(applications + folder + u"/fresh.desktop"_s));
        QVERIFY(shown);
    }

    void anUnreadableStoreGivesAnEmptyMenuAndSaysWhy()
    {
        const QString store =
            m_home.filePath(QStringLiteral(".config/pallstone/group.com.tolvane.pallstone.plist"));
        QFile f(store);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray saved = f.readAll();
        f.close();
        write(QStringLiteral(".config/pallstone/group.com.tolvane.pallstone.plist"), "garbage");
        const Result r =
            extension({QStringLiteral("menu"), QStringLiteral("--target"), m_home.path()});
        write(QStringLiteral(".config/pallstone/group.com.tolvane.pallstone.plist"), saved);
        QCOMPARE(r.code, 0);
        QCOMPARE(QJsonDocument::fromJson(r.out).array().size(), 0);
        QVERIFY(r.err.contains(QStringLiteral("cannot be read")));
    }
};

QTEST_GUILESS_MAIN(TestExtensionCli)
#include "tst_extensioncli.moc"
