// "Encrypted Compression" driven from outside through `pallstone-extension run`, and the one-job
// rule in process.
#include "ActionContext.h"
#include "Dispatch.h"
#include "MenuStore.h"
#include "ScriptedPrompter.h"
#include "Transcript.h"
#include "actions/EncryptedCompressAction.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

struct Result
{
    int code = -1;
    QString err;
};

QByteArray randomBytes(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator::global()->fillRange(reinterpret_cast<quint32*>(bytes.data()), size / 4);
    return bytes;
}

int runTool(const QString& program, const QStringList& args)
{
    QProcess p;
    p.setStandardInputFile(QProcess::nullDevice());
    p.start(program, args);
    return p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

} // namespace

class TestCompressAction : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_home;
    qint64 m_tag = 0;

    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"HOME"_s, m_home.path());
        env.insert(u"XDG_CONFIG_HOME"_s, m_home.filePath(u".config"_s));
        env.insert(u"XDG_DATA_HOME"_s, m_home.filePath(u".local/share"_s));
        env.insert(u"XDG_CACHE_HOME"_s, m_home.filePath(u".cache"_s));
        env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        env.insert(u"LANG"_s, u"C.UTF-8"_s);
        return env;
    }

    Result run(const QString& program, const QStringList& args, QByteArray* out = nullptr)
    {
        QProcess p;
        p.setProcessEnvironment(environment());
        p.setWorkingDirectory(m_home.path());
        p.start(program, args);
        if (!p.waitForFinished(120000))
            return {};
        if (out)
            *out = p.readAllStandardOutput();
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardError())};
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

    // Runs the entry on the selection with the answers; the transcript's events come back.
    QList<QJsonObject> compress(const QStringList& selection, const QJsonArray& answers,
                                Result* result = nullptr)
    {
        const QString answersFile =
            write(u"answers.json"_s, QJsonDocument(answers).toJson(QJsonDocument::Compact));
        const QString log = m_home.filePath(u"transcript.jsonl"_s);
        QFile::remove(log);
        const Result r = run(QStringLiteral(PALLSTONE_EXTENSION),
                             QStringList{u"run"_s, u"--tag"_s, QString::number(m_tag),
                                         u"--answers"_s, answersFile, u"--transcript"_s, log} +
                                 selection);
        if (result)
            *result = r;
        QList<QJsonObject> events;
        QFile f(log);
        if (f.open(QIODevice::ReadOnly)) {
            for (const QByteArray& line : f.readAll().split('\n')) {
                if (!line.trimmed().isEmpty())
                    events.append(QJsonDocument::fromJson(line).object());
            }
        }
        return events;
    }

    // "panel", "open", "percent 100", "success", "close", "alert <informative>".
    static QStringList summary(const QList<QJsonObject>& events)
    {
        QStringList lines;
        for (const QJsonObject& e : events) {
            const QString kind = e.value(u"event"_s).toString();
            if (kind == u"progress") {
                const QString state = e.value(u"state"_s).toString();
                lines.append(state == u"percent"
                                 ? u"percent "_s + QString::number(e.value(u"percent"_s).toDouble())
                                 : state);
            } else if (kind == u"alert") {
                lines.append(u"alert "_s + e.value(u"informative"_s).toString());
            } else {
                lines.append(kind);
            }
        }
        return lines;
    }

    // Percent lines dropped: how many there are depends on the item count.
    static QStringList states(const QList<QJsonObject>& events)
    {
        QStringList lines = summary(events);
        lines.removeIf([](const QString& line) {
            return line.startsWith(u"percent ") && line != u"percent 100";
        });
        return lines;
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable(u"7z"_s).isEmpty() ||
            QStandardPaths::findExecutable(u"unzip"_s).isEmpty())
            QSKIP("7z and unzip are needed (scripts/deps.sh installs them)");
        qputenv("HOME", QFile::encodeName(m_home.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.filePath(u".config"_s)));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_home.filePath(u".local/share"_s)));
        QCOMPARE(run(QStringLiteral(PALLSTONE_APP), {u"setup"_s}).code, 0);
        // The review invitation would take an answer meant for the action.
        pallstone::MenuStore::sharedDefaults().setObject(true, pallstone::StoreKey::isReviewed);
        pallstone::MenuStore::updateMenuKey(pallstone::StoreKey::rightMenu,
                                            u"Encrypted Compression"_s, u"disabled"_s, false);
        QByteArray out;
        run(QStringLiteral(PALLSTONE_EXTENSION), {u"menu"_s, write(u"probe.txt"_s, "x")}, &out);
        for (const QJsonValue& v : QJsonDocument::fromJson(out).array()) {
            if (v.toObject().value(u"key"_s).toString() == u"Encrypted Compression")
                m_tag = v.toObject().value(u"tag"_s).toInteger();
        }
        QVERIFY(m_tag > 0);
    }

    void aPasswordProtectedArchiveIsWrittenWithTheProgressShown()
    {
        const QString a = write(u"pw/a.txt"_s, "alpha");
        const QString b = write(u"pw/sub/b.txt"_s, "beta");
        const QString archive = m_home.filePath(u"pw/out.zip"_s);
        Result r;
        const auto events =
            compress({a, m_home.filePath(u"pw/sub"_s)},
                     {QJsonObject{{u"path"_s, archive}, {u"password"_s, u" two words "_s}}}, &r);
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QCOMPARE(states(events),
                 QStringList({u"panel"_s, u"open"_s, u"percent 100"_s, u"success"_s}));
        // Several items: named "Archiver", next to the first item, with the password field.
        const QJsonObject panel = events.first();
        QCOMPARE(panel.value(u"fileName"_s).toString(), u"Archive.zip"_s);
        QCOMPARE(panel.value(u"directory"_s).toString(), m_home.filePath(u"pw"_s));
        QCOMPARE(panel.value(u"accessory"_s).toString(), u"password"_s);
        // The password is used as typed, spaces included; a wrong one is refused.
        QCOMPARE(runTool(u"7z"_s, {u"t"_s, u"-p two words "_s, archive}), 0);
        QVERIFY(runTool(u"7z"_s, {u"t"_s, u"-ptwo words"_s, archive}) != 0);
        Q_UNUSED(b);
    }

    void aBlankPasswordWritesAPlainArchiveNamedAfterTheSingleItem()
    {
        write(u"My Docs/a.txt"_s, "alpha");
        QVERIFY(QDir().mkpath(m_home.filePath(u"My Docs/empty"_s)));
        Result r;
        // No ".zip" typed: the archive gets it.
        const auto events = compress(
            {m_home.filePath(u"My Docs"_s)},
            {QJsonObject{{u"path"_s, m_home.filePath(u"plain"_s)}, {u"password"_s, u"  \n"_s}}},
            &r);
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QCOMPARE(events.first().value(u"fileName"_s).toString(), u"My Docs.zip"_s);
        QCOMPARE(states(events).last(), u"success"_s);
        QCOMPARE(runTool(u"unzip"_s, {u"-t"_s, m_home.filePath(u"plain.zip"_s)}), 0);
    }

    void onlyEmptyFoldersStillEndTheJobAndLeaveAnEmptyArchive()
    {
        QVERIFY(QDir().mkpath(m_home.filePath(u"nothing/inside"_s)));
        const QString archive = m_home.filePath(u"nothing.zip"_s);
        Result r;
        const auto events = compress({m_home.filePath(u"nothing/inside"_s)},
                                     {QJsonObject{{u"path"_s, archive}}}, &r);
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QCOMPARE(summary(events), QStringList({u"panel"_s, u"open"_s, u"success"_s}));
        QCOMPARE(QFileInfo(archive).size(), 22);
        QCOMPARE(runTool(u"7z"_s, {u"t"_s, archive}), 0);
    }

    void cancelClosesTheWindowAndLeavesNoArchive()
    {
        // Enough incompressible data that the job is still running when the cancel arrives.
        for (int i = 0; i < 80; ++i)
            write(u"heavy/f%1.bin"_s.arg(i, 3, 10, QChar(u'0')), randomBytes(1 << 20));
        const QStringList before = QDir(m_home.path()).entryList(QDir::AllEntries | QDir::Hidden);
        Result r;
        const auto events = compress(
            {m_home.filePath(u"heavy"_s)},
            {QJsonObject{{u"path"_s, m_home.filePath(u"heavy.zip"_s)}, {u"password"_s, u"pw"_s}},
             QJsonObject{{u"progress"_s, u"cancel"_s}}},
            &r);
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QCOMPARE(states(events), QStringList({u"panel"_s, u"open"_s, u"close"_s}));
        QStringList after = QDir(m_home.path()).entryList(QDir::AllEntries | QDir::Hidden);
        QStringList expected = before;
        for (QStringList* names : {&after, &expected}) {
            names->removeAll(u"transcript.jsonl"_s);
            names->removeAll(u"answers.json"_s);
        }
        QCOMPARE(after, expected); // neither the archive nor a partial file
    }

    void aFailureClosesTheWindowAndSaysSo()
    {
        const QString a = write(u"fail/a.txt"_s, "alpha");
        Result r;
        const auto events =
            compress({a},
                     {QJsonObject{{u"path"_s, m_home.filePath(u"no such folder/a.zip"_s)}},
                      QJsonObject{{u"button"_s, 1000}}},
                     &r);
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QCOMPARE(states(events),
                 QStringList({u"panel"_s, u"open"_s, u"close"_s,
                              u"alert The archive could not be written. Nothing was saved."_s}));
    }

    void savingOverASelectedItemIsRefusedAndTheItemKept()
    {
        const QString photos = write(u"photos.zip"_s, "the only copy");
        Result r;
        const auto events = compress(
            {photos}, {QJsonObject{{u"path"_s, photos}}, QJsonObject{{u"button"_s, 1000}}}, &r);
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QCOMPARE(summary(events).size(), 2);
        QVERIFY(summary(events).last().startsWith(u"alert An archive cannot replace"));
        QFile f(photos);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("the only copy"));

        // Dismissing the panel writes nothing and shows nothing more.
        const auto dismissed = compress({photos}, {QJsonObject{{u"cancel"_s, true}}}, &r);
        QCOMPARE(r.code, 0);
        QCOMPARE(summary(dismissed), QStringList{u"panel"_s});
    }

    void anArchiveNamedAfterThePanelClosedIsReplacedOnlyWhenConfirmed()
    {
        const QString item = write(u"report.txt"_s, "report");
        const QString older = write(u"A.tar.zip"_s, "an older archive");
        const QString typed = m_home.filePath(u"A.tar"_s);
        Result r;
        const auto stopped = compress(
            {item}, {QJsonObject{{u"path"_s, typed}}, QJsonObject{{u"button"_s, 1001}}}, &r);
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QCOMPARE(summary(stopped).size(), 2);
        QVERIFY(summary(stopped).last().contains(u"A.tar.zip"_s));
        QFile f(older);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("an older archive"));
    }

    void aSecondCompressionWhileOneRunsDoesNothing()
    {
        // In process: the service keeps one job; the second choice must not even ask.
        pallstone::Transcript transcript;
        for (int i = 0; i < 20; ++i)
            write(u"twice/f%1.bin"_s.arg(i), randomBytes(1 << 20));
        const QString archive = m_home.filePath(u"twice.zip"_s);
        pallstone::ScriptedPrompter prompter({QJsonObject{{u"path"_s, archive}}}, &transcript);
        pallstone::Prompter::setInstance(&prompter);
        auto context = std::make_shared<pallstone::ActionContext>();
        context->selectPaths = {m_home.filePath(u"twice"_s)};
        context->isSelectURL = true;
        auto& action = pallstone::EncryptedCompressAction::shared();
        action.encryptedCompress(context);
        QVERIFY(action.isRunning());
        action.encryptedCompress(context);
        QVERIFY(pallstone::Dispatch::waitUntilIdle(60000));
        pallstone::Prompter::setInstance(nullptr);
        QVERIFY(!action.isRunning());
        QVERIFY2(!prompter.hasError(), qPrintable(prompter.errors().join(u'\n')));
        QCOMPARE(summary(transcript.events()).count(u"panel"_s), 1);
        QCOMPARE(summary(transcript.events()).last(), u"success"_s);
        QCOMPARE(runTool(u"7z"_s, {u"t"_s, archive}), 0);
    }
};

QTEST_MAIN(TestCompressAction)
#include "tst_compressaction.moc"
