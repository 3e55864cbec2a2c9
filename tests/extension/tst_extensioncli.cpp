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

    Result run(const QString& program, const QStringList& args)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), m_home.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.filePath(QStringLiteral(".config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"),
                   m_home.filePath(QStringLiteral(".local/share")));
        env.insert(QStringLiteral("XDG_CACHE_HOME"), m_home.filePath(QStringLiteral(".cache")));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(m_home.path());
        p.start(program, args);
        if (!p.waitForFinished(60000))
            return {};
        return {p.exitCode(), p.readAllStandardOutput(),
                QString::fromUtf8(p.readAllStandardError())};
    }
    Result extension(const QStringList& args)
    {
        return run(QStringLiteral(PALLSTONE_EXTENSION), args);
    }

    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_home.filePath(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        f.open(QIODevice::WriteOnly);
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
