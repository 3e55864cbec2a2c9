// New files, copying, moving, cut and paste, deleting, copying paths, embedding and unembedding,
// driven from outside through `pallstone-extension run --answers --transcript`.
#include "DefaultCatalogue.h"
#include "MenuStore.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace pallstone;

namespace {

QJsonObject entryWithKey(const QJsonArray& menu, const QString& key)
{
    for (const QJsonValue& v : menu) {
        if (v.toObject().value(QStringLiteral("key")).toString() == key)
            return v.toObject();
    }
    return {};
}

QJsonObject button(int number)
{
    return QJsonObject{{QStringLiteral("button"), number}};
}

} // namespace

class TestFileTransferActions : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_home;

    QString path(const QString& relative) const { return m_home.filePath(relative); }

    QByteArray run(const QStringList& args, int* code = nullptr, QString* err = nullptr)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), m_home.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), path(QStringLiteral(".config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), path(QStringLiteral(".local/share")));
        env.insert(QStringLiteral("XDG_CACHE_HOME"), path(QStringLiteral(".cache")));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(m_home.path());
        p.start(QStringLiteral(PALLSTONE_EXTENSION), args);
        p.waitForFinished(60000);
        if (code)
            *code = p.exitCode();
        if (err)
            *err = QString::fromUtf8(p.readAllStandardError());
        return p.readAllStandardOutput();
    }

    QString write(const QString& relative, const QByteArray& bytes = "x")
    {
        const QString file = path(relative);
        QDir().mkpath(QFileInfo(file).absolutePath());
        QFile f(file);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot write %s", qPrintable(f.fileName()));
        f.write(bytes);
        return file;
    }
    QString mkdir(const QString& relative)
    {
        QDir().mkpath(path(relative));
        return path(relative);
    }

    // Runs the entry (key path from the main level) for the menu arguments with the answers;
    // the transcript's events.
    QList<QJsonObject> act(const QStringList& menuArgs, const QStringList& keys,
                           const QJsonArray& answers = {})
    {
        const QJsonArray menu =
            QJsonDocument::fromJson(run(QStringList{QStringLiteral("menu")} + menuArgs)).array();
        QJsonArray level = menu;
        qint64 tag = 0;
        for (const QString& key : keys) {
            const QJsonObject entry = entryWithKey(level, key);
            tag = entry.value(QStringLiteral("tag")).toInteger();
            level = entry.value(QStringLiteral("children")).toArray();
        }
        if (tag <= 0) {
            QTest::qFail(qPrintable(u"no entry " + keys.join(u'/')), __FILE__, __LINE__);
            return {};
        }
        const QString answerFile =
            write(QStringLiteral("answers.json"), QJsonDocument(answers).toJson());
        const QString log = path(QStringLiteral("transcript.jsonl"));
        QFile::remove(log);
        int code = -1;
        QString err;
        run(QStringList{QStringLiteral("run"), QStringLiteral("--tag"), QString::number(tag),
                        QStringLiteral("--answers"), answerFile, QStringLiteral("--transcript"),
                        log} +
                menuArgs,
            &code, &err);
        if (code != 0)
            QTest::qFail(qPrintable(QStringLiteral("exit %1: %2").arg(code).arg(err)), __FILE__,
                         __LINE__);
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

    static QStringList kinds(const QList<QJsonObject>& events)
    {
        QStringList out;
        for (const QJsonObject& e : events)
            out.append(e.value(QStringLiteral("event")).toString() + u':' +
                       e.value(QStringLiteral("state")).toString());
        return out;
    }

    void enable(const QString& key)
    {
        MenuStore::updateMenuKey(StoreKey::rightMenu, key, QStringLiteral("disabled"), false);
    }

private Q_SLOTS:
    void initTestCase()
    {
        qputenv("HOME", QFile::encodeName(m_home.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(path(QStringLiteral(".config"))));
        qputenv("XDG_DATA_HOME", QFile::encodeName(path(QStringLiteral(".local/share"))));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(path(QStringLiteral(".cache"))));
        DefaultCatalogue::setup();
        // The review invitation after the third use would ask for an answer in every later run.
        MenuStore::sharedDefaults().setObject(true, StoreKey::isReviewed);
        for (const QString& key :
             {QStringLiteral("Embed in Folder"), QStringLiteral("Unembed Folder"),
              QStringLiteral("Delete"), QStringLiteral("Cut Paste")})
            enable(key);
    }

    void newFilesGoBesideTheSelectionAndKeepBothOnAConflict()
    {
        const QString folder = mkdir(QStringLiteral("new"));
        act({QStringLiteral("--target"), folder},
            {QStringLiteral("New File"), QStringLiteral("txt")});
        QVERIFY(QFile::exists(folder + QStringLiteral("/Untitled.txt")));
        const QList<QJsonObject> again =
            act({QStringLiteral("--target"), folder},
                {QStringLiteral("New File"), QStringLiteral("txt")}, {button(1000)});
        QCOMPARE(kinds(again).first(), QStringLiteral("alert:"));
        QVERIFY(QFile::exists(folder + QStringLiteral("/Untitled-1.txt")));
        // "Stop" creates nothing.
        act({QStringLiteral("--target"), folder},
            {QStringLiteral("New File"), QStringLiteral("txt")}, {button(1001)});
        QVERIFY(!QFile::exists(folder + QStringLiteral("/Untitled-2.txt")));
        // A blank workbook, not an empty file; "docx" has none.
        act({QStringLiteral("--target"), folder},
            {QStringLiteral("New File"), QStringLiteral("xlsx")});
        QVERIFY(QFileInfo(folder + QStringLiteral("/Untitled.xlsx")).size() > 100);
        const QString file = write(QStringLiteral("new/sub/picked.txt"));
        act({file}, {QStringLiteral("New File"), QStringLiteral("docx")});
        QCOMPARE(QFileInfo(path(QStringLiteral("new/sub/Untitled.docx"))).size(), 0);
    }

    void theSavePanelCreatesTheChosenType()
    {
        const QString folder = mkdir(QStringLiteral("window"));
        // The type chooser lists the templates in order; "rtf" is the second.
        const QList<QJsonObject> events =
            act({QStringLiteral("--target"), folder},
                {QStringLiteral("New File"), QStringLiteral("New File From Window")},
                {QJsonObject{{QStringLiteral("path"), QString(folder + QStringLiteral("/letter"))},
                             {QStringLiteral("type"), 1}}});
        QCOMPARE(kinds(events).first(), QStringLiteral("panel:"));
        QFile f(folder + QStringLiteral("/letter.rtf"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.readAll().startsWith("{\\rtf1"));
    }

    void aSpecialTemplateKeepsItsName()
    {
        Value record = Value::dictionary();
        record.insert(QStringLiteral("key"), QStringLiteral("MAKEFILE-ID"));
        record.insert(QStringLiteral("fileName"), QStringLiteral("Makefile"));
        record.insert(QStringLiteral("ext"), QStringLiteral("mk"));
        record.insert(QStringLiteral("special"), true);
        QVERIFY(MenuStore::addMenuKey(StoreKey::newFile, record, false));
        const QString folder = mkdir(QStringLiteral("special"));
        act({QStringLiteral("--target"), folder},
            {QStringLiteral("New File"), QStringLiteral("MAKEFILE-ID")});
        QVERIFY(QFile::exists(folder + QStringLiteral("/Makefile")));
        MenuStore::removeMenuKey(StoreKey::newFile, QStringLiteral("MAKEFILE-ID"));
    }

    void aStoredTemplateNameNeverLeavesTheFolder()
    {
        Value record = Value::dictionary();
        record.insert(QStringLiteral("key"), QStringLiteral("ESCAPE-ID"));
        record.insert(QStringLiteral("fileName"), QStringLiteral("../escaped"));
        record.insert(QStringLiteral("ext"), QStringLiteral("txt"));
        QVERIFY(MenuStore::addMenuKey(StoreKey::newFile, record, false));
        const QString folder = mkdir(QStringLiteral("inside/target"));
        const QList<QJsonObject> events =
            act({QStringLiteral("--target"), folder},
                {QStringLiteral("New File"), QStringLiteral("ESCAPE-ID")}, {button(1000)});
        QCOMPARE(kinds(events), QStringList{QStringLiteral("alert:")});
        QVERIFY(!QFile::exists(path(QStringLiteral("inside/escaped.txt"))));
        MenuStore::removeMenuKey(StoreKey::newFile, QStringLiteral("ESCAPE-ID"));
    }

    void aNameCompletedAfterTheSavePanelIsReplacedOnlyWhenConfirmed()
    {
        const QString folder = mkdir(QStringLiteral("window-again"));
        const QString notes = write(QStringLiteral("window-again/notes.txt"), "keep me");
        const QJsonObject typed{
            {QStringLiteral("path"), QString(folder + QStringLiteral("/notes"))},
            {QStringLiteral("type"), 0}};
        // "Stop" on the question about notes.txt: the file keeps its contents.
        QList<QJsonObject> events =
            act({QStringLiteral("--target"), folder},
                {QStringLiteral("New File"), QStringLiteral("New File From Window")},
                {typed, button(1001)});
        QCOMPARE(kinds(events), (QStringList{QStringLiteral("panel:"), QStringLiteral("alert:")}));
        QVERIFY(events.at(1)
                    .value(QStringLiteral("informative"))
                    .toString()
                    .contains(QStringLiteral("notes.txt")));
        QFile kept(notes);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("keep me"));
        kept.close();
        // "Replace": the new, empty document takes its place.
        act({QStringLiteral("--target"), folder},
            {QStringLiteral("New File"), QStringLiteral("New File From Window")},
            {typed, QJsonObject{{QStringLiteral("button"), 1002}}});
        QCOMPARE(QFileInfo(notes).size(), 0);
    }

    void aFileBecomesATemplate()
    {
        const QString report = write(QStringLiteral("tpl/report.pdf"), "%PDF-1.4 test");
        const QList<QJsonObject> events =
            act({report}, {QStringLiteral("New File"), QStringLiteral("Add to File Template")});
        QVERIFY(kinds(events).contains(QStringLiteral("progress:success")));
        const Value list = MenuStore::sharedDefaults().object(StoreKey::newFile);
        const Value last = list.at(list.count() - 1);
        QCOMPARE(last.value(QStringLiteral("ext")).string(), QStringLiteral("pdf"));
        QCOMPARE(last.value(QStringLiteral("displayName")).string(), QStringLiteral("report"));
        const QString copy = last.value(QStringLiteral("templatePath")).string();
        QVERIFY(copy.startsWith(MenuStore::fileTemplateFolder()));
        QFile f(copy);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("%PDF-1.4 test"));
        QVERIFY(QFile::exists(last.value(QStringLiteral("iconPath")).string()));
    }

    void copyPathPutsOneLinePerItem()
    {
        const QString a = write(QStringLiteral("paths/a "));
        const QString b = write(QStringLiteral("paths/b"));
        const QString c = write(QStringLiteral("paths/c"));
        const QList<QJsonObject> events = act({a, b, c}, {QStringLiteral("Copy Path")});
        QCOMPARE(events.size(), 1);
        QCOMPARE(events.first().value(QStringLiteral("text")).toString(),
                 a + u'\n' + b + u'\n' + c); // "a " keeps its space
    }

    void copyingKeepsBothAndReportsSuccessOnce()
    {
        const QString fav = mkdir(QStringLiteral("fav"));
        Value favourites = Value::array();
        Value record = Value::dictionary();
        record.insert(QStringLiteral("path"), fav);
        favourites.append(record);
        MenuStore::sharedDefaults().setObject(favourites, StoreKey::commonPath);
        write(QStringLiteral("fav/one.txt"), "old");
        const QString one = write(QStringLiteral("src/one.txt"), "new");
        const QString two = write(QStringLiteral("src/two.txt"));
        const QList<QJsonObject> events =
            act({one, two}, {QStringLiteral("Copy to"), fav}, {button(1000)});
        QCOMPARE(kinds(events).count(QStringLiteral("alert:")), 1);
        QCOMPARE(kinds(events).count(QStringLiteral("progress:success")), 1);
        QVERIFY(QFile::exists(fav + QStringLiteral("/one-1.txt")));
        QVERIFY(QFile::exists(fav + QStringLiteral("/two.txt")));
        QVERIFY(QFile::exists(one)); // copied, not moved
    }

    void anItemIsNeverReplacedByItself()
    {
        const QString folder = mkdir(QStringLiteral("self"));
        const QString item = write(QStringLiteral("self/keep.txt"), "precious");
        Value favourites = Value::array();
        Value record = Value::dictionary();
        record.insert(QStringLiteral("path"), folder);
        favourites.append(record);
        MenuStore::sharedDefaults().setObject(favourites, StoreKey::commonPath);
        act({item}, {QStringLiteral("Copy to"), folder}, {button(1002)});
        QFile f(item);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("precious"));
        // Moving into its own folder leaves it in place without asking.
        const QList<QJsonObject> moved = act({item}, {QStringLiteral("Move to"), folder});
        QVERIFY(!kinds(moved).contains(QStringLiteral("alert:")));
        QVERIFY(QFile::exists(item));
        // A folder copied into its own subfolder is refused, not looped.
        const QString tree = mkdir(QStringLiteral("self/tree/inner"));
        Value inner = Value::array();
        Value r2 = Value::dictionary();
        r2.insert(QStringLiteral("path"), tree);
        inner.append(r2);
        MenuStore::sharedDefaults().setObject(inner, StoreKey::commonPath);
        act({path(QStringLiteral("self/tree"))}, {QStringLiteral("Copy to"), tree}, {button(1000)});
        QVERIFY(!QFile::exists(tree + QStringLiteral("/tree")));
    }

    void cutThenPasteMovesEverythingAndForgetsTheCut()
    {
        const QString a = write(QStringLiteral("X/A"));
        const QString b = write(QStringLiteral("X/B"));
        const QString y = mkdir(QStringLiteral("Y"));
        act({a, b}, {QStringLiteral("Cut Paste")});
        act({QStringLiteral("--target"), y}, {QStringLiteral("Cut Paste")});
        QVERIFY(QFile::exists(y + QStringLiteral("/A")));
        QVERIFY(QFile::exists(y + QStringLiteral("/B")));
        QVERIFY(!QFile::exists(a));
        const QJsonArray menu =
            QJsonDocument::fromJson(run({QStringLiteral("menu"), QStringLiteral("--target"), y}))
                .array();
        QVERIFY(entryWithKey(menu, QStringLiteral("Cut Paste")).isEmpty());
    }

    void deletingRemovesLinksNotTheirTargets()
    {
        const QString target = write(QStringLiteral("del/kept/file"));
        const QString link = path(QStringLiteral("del/link"));
        QVERIFY(QFile::link(path(QStringLiteral("del/kept")), link));
        const QString gone = write(QStringLiteral("del/gone.txt"));
        act({link, gone}, {QStringLiteral("Delete")});
        QVERIFY(!QFileInfo(link).isSymLink());
        QVERIFY(!QFile::exists(gone));
        QVERIFY(QFile::exists(target));
    }

    void embeddingSortsByExtensionAndUnembeddingKeepsWhatIsNotMetadata()
    {
        const QString a = write(QStringLiteral("emb/a.txt"));
        const QString b = write(QStringLiteral("emb/b.TXT"));
        const QString c = write(QStringLiteral("emb/c"));
        act({a, b, c}, {QStringLiteral("Embed in Folder")},
            {QJsonObject{{QStringLiteral("name"), QStringLiteral("new")},
                         {QStringLiteral("mode"), 1}}});
        QVERIFY(QFile::exists(path(QStringLiteral("emb/new/txt/a.txt"))));
        QVERIFY(QFile::exists(path(QStringLiteral("emb/new/txt/b.TXT"))));
        QVERIFY(QFile::exists(path(QStringLiteral("emb/new/c"))));
        // A name that leads out of the folder is refused.
        const QString d = write(QStringLiteral("emb/d"));
        const QString e = write(QStringLiteral("emb/e"));
        act({d, e}, {QStringLiteral("Embed in Folder")},
            {QJsonObject{{QStringLiteral("name"), QStringLiteral("../out")}}, button(1000)});
        QVERIFY(QFile::exists(d));
        QVERIFY(!QFile::exists(path(QStringLiteral("out"))));

        write(QStringLiteral("un/X/y"));
        write(QStringLiteral("un/X/.DS_Store"));
        write(QStringLiteral("un/y"));
        act({path(QStringLiteral("un/X"))}, {QStringLiteral("Unembed Folder")});
        QVERIFY(QFile::exists(path(QStringLiteral("un/y-1"))));
        QVERIFY(!QFile::exists(path(QStringLiteral("un/X"))));

        write(QStringLiteral("un/Z/z"));
        write(QStringLiteral("un/Z/.git/config"));
        act({path(QStringLiteral("un/Z"))}, {QStringLiteral("Unembed Folder")}, {button(1000)});
        QVERIFY(QFile::exists(path(QStringLiteral("un/z"))));
        QVERIFY(QFile::exists(path(QStringLiteral("un/Z/.git/config")))); // never lost silently
    }
};

QTEST_GUILESS_MAIN(TestFileTransferActions)
#include "tst_filetransferactions.moc"
