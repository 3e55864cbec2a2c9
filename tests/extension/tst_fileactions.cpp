// Opening with applications and terminals, hiding, locking, system files, scripts and checksums,
// driven from outside through `pallstone-extension run --answers --transcript`. With answers, every
// launch and clipboard change is recorded instead of happening; file changes are real.
#include "MenuStore.h"
#include "actions/OpenServeAction.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

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

QStringList strings(const QJsonValue& array)
{
    QStringList list;
    for (const QJsonValue& v : array.toArray())
        list.append(v.toString());
    return list;
}

mode_t permissions(const QString& path)
{
    struct stat info;
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return 0;
    return info.st_mode & 07777;
}

} // namespace

class TestFileActions : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_home;
    QString m_bin; // the only folder on the service's PATH: two fake terminals

    QString path(const QString& relative) const { return m_home.filePath(relative); }

    Result run(const QStringList& args)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), m_home.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), path(QStringLiteral(".config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), path(QStringLiteral(".local/share")));
        env.insert(QStringLiteral("XDG_DATA_DIRS"), path(QStringLiteral("no-system-data")));
        env.insert(QStringLiteral("XDG_CACHE_HOME"), path(QStringLiteral(".cache")));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
        env.insert(QStringLiteral("PATH"), m_bin);
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(m_home.path());
        p.start(QStringLiteral(PALLSTONE_EXTENSION), args);
        if (!p.waitForFinished(60000)) {
            p.kill();
            p.waitForFinished();
            return {};
        }
        return {p.exitCode(), p.readAllStandardOutput(),
                QString::fromUtf8(p.readAllStandardError())};
    }

    QString write(const QString& relative, const QByteArray& bytes)
    {
        const QString file = path(relative);
        QDir().mkpath(QFileInfo(file).absolutePath());
        QFile f(file);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
            qFatal("cannot write the fixture %s", qPrintable(file));
        return file;
    }

    QByteArray read(const QString& file) const
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    // The tag of an entry (and of one of its children) in the menu for these arguments.
    qint64 tagOf(const QStringList& menuArgs, const QString& key, const QString& child = {})
    {
        const QJsonArray menu =
            QJsonDocument::fromJson(run(QStringList{QStringLiteral("menu")} + menuArgs).out)
                .array();
        QJsonObject entry = entryWithKey(menu, key);
        if (!child.isEmpty())
            entry = entryWithKey(entry.value(QStringLiteral("children")).toArray(), child);
        return entry.value(QStringLiteral("tag")).toInteger();
    }

    // Runs the entry on the selection (or folder background) with the scripted answers; the
    // transcript's events.
    QList<QJsonObject> act(const QStringList& menuArgs, const QString& key, const QString& child,
                           const QJsonArray& answers, int expectedCode = 0)
    {
        const qint64 tag = tagOf(menuArgs, key, child);
        if (tag <= 0) {
            QTest::qFail(qPrintable(u"no entry " + key + u'/' + child + u" in the menu"), __FILE__,
                         __LINE__);
            return {};
        }
        const QString answerFile =
            write(QStringLiteral("answers.json"), QJsonDocument(answers).toJson());
        const QString log = path(QStringLiteral("transcript.jsonl"));
        QFile::remove(log);
        const Result r = run(QStringList{QStringLiteral("run"), QStringLiteral("--tag"),
                                         QString::number(tag), QStringLiteral("--answers"),
                                         answerFile, QStringLiteral("--transcript"), log} +
                             menuArgs);
        if (r.code != expectedCode)
            QTest::qFail(qPrintable(QStringLiteral("exit code %1: %2").arg(r.code).arg(r.err)),
                         __FILE__, __LINE__);
        QList<QJsonObject> events;
        for (const QByteArray& line : read(log).split('\n')) {
            if (!line.trimmed().isEmpty())
                events.append(QJsonDocument::fromJson(line).object());
        }
        return events;
    }

    static QList<QJsonObject> only(const QList<QJsonObject>& events, const QString& kind)
    {
        QList<QJsonObject> picked;
        for (const QJsonObject& e : events) {
            if (e.value(QStringLiteral("event")).toString() == kind)
                picked.append(e);
        }
        return picked;
    }
    static QJsonObject button(int number) { return {{QStringLiteral("button"), number}}; }

    void enable(const QString& list, const QString& key)
    {
        QVERIFY(pallstone::MenuStore::updateMenuKey(list, key, QStringLiteral("disabled"), false));
    }

    QString desktopEntry(const QString& id, const QString& name)
    {
        return write(u".local/share/applications/"_s + id + u".desktop"_s,
                     "[Desktop Entry]\nType=Application\nName=" + name.toUtf8() +
                         "\nExec=/bin/true %F\n");
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        qputenv("HOME", QFile::encodeName(m_home.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(path(QStringLiteral(".config"))));
        qputenv("XDG_DATA_HOME", QFile::encodeName(path(QStringLiteral(".local/share"))));
        QProcess setup;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        setup.setProcessEnvironment(env);
        setup.start(QStringLiteral(PALLSTONE_APP), {QStringLiteral("setup")});
        QVERIFY(setup.waitForFinished(60000));
        QCOMPARE(setup.exitCode(), 0);

        using pallstone::StoreKey::rightMenu;
        for (const QString& key :
             {u"Execute Script"_s, u"Lock and Unlock"_s, u"File Info"_s, u"Terminal Tab"_s,
              u"iTerm2 Tab"_s, u"Terminal To"_s, u"System Hide Files"_s, u"Extract Icon"_s})
            enable(rightMenu, key);
        enable(pallstone::StoreKey::commonApp, QStringLiteral("Warp"));
        // The invitation to review, due on the third use, is not what these tests are about.
        pallstone::MenuStore::sharedDefaults().setObject(pallstone::Value(true),
                                                         pallstone::StoreKey::isReviewed);

        desktopEntry(QStringLiteral("code"), QStringLiteral("Visual Studio Code"));
        desktopEntry(QStringLiteral("dev.warp.Warp"), QStringLiteral("Warp"));
        m_bin = path(QStringLiteral("bin"));
        for (const QString& terminal : {u"gnome-terminal"_s, u"konsole"_s}) {
            const QString file = write(u"bin/"_s + terminal, "#!/bin/sh\nexit 1\n");
            QFile::setPermissions(file, QFile::ReadOwner | QFile::ExeOwner);
        }
        QDir().mkpath(path(QStringLiteral("Desktop")));
    }

    void eachSelectedItemIsOpenedByALaunchOfItsOwnInOrder()
    {
        const QStringList files{write(QStringLiteral("open/a.txt"), "a"),
                                write(QStringLiteral("open/b c.txt"), "b"),
                                write(QStringLiteral("open/$(x).txt"), "c")};
        const QList<QJsonObject> launches =
            only(act(files, QStringLiteral("Common App"), QStringLiteral("Visual Studio Code"), {}),
                 QStringLiteral("launch"));
        QCOMPARE(launches.size(), 3);
        for (int i = 0; i < 3; ++i) {
            const QStringList argv = strings(launches.at(i).value(QStringLiteral("argv")));
            QCOMPARE(argv.size(), 4);
            QCOMPARE(argv.at(0), QStringLiteral("gio"));
            QVERIFY(argv.at(2).endsWith(QStringLiteral("/applications/code.desktop")));
            QCOMPARE(argv.at(3), files.at(i));
        }
    }

    void aSystemFolderOnItsBackgroundIsNotPassedExceptToWarp()
    {
        const QStringList desktop{QStringLiteral("--kind"), QStringLiteral("background"),
                                  QStringLiteral("--target"), path(QStringLiteral("Desktop"))};
        QList<QJsonObject> launches = only(
            act(desktop, QStringLiteral("Common App"), QStringLiteral("Visual Studio Code"), {}),
            QStringLiteral("launch"));
        QCOMPARE(launches.size(), 1);
        QCOMPARE(strings(launches.first().value(QStringLiteral("argv"))).size(), 3);

        launches = only(act(desktop, QStringLiteral("Common App"), QStringLiteral("Warp"), {}),
                        QStringLiteral("launch"));
        QCOMPARE(launches.size(), 1);
        QCOMPARE(strings(launches.first().value(QStringLiteral("argv"))).last(),
                 path(QStringLiteral("Desktop")));

        // Selected as an item, the folder is what the person asked to open.
        launches = only(act({path(QStringLiteral("Desktop"))}, QStringLiteral("Common App"),
                            QStringLiteral("Visual Studio Code"), {}),
                        QStringLiteral("launch"));
        QCOMPARE(launches.size(), 1);
        QCOMPARE(strings(launches.first().value(QStringLiteral("argv"))).last(),
                 path(QStringLiteral("Desktop")));
    }

    void terminalsStartInTheFolderOfTheSelection_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("window") << u"Terminal Window"_s << QStringList{u"gnome-terminal"_s};
        QTest::newRow("tab") << u"Terminal Tab"_s << QStringList{u"gnome-terminal"_s, u"--tab"_s};
        QTest::newRow("second window") << u"iTerm2 Window"_s << QStringList{u"konsole"_s};
        QTest::newRow("second tab") << u"iTerm2 Tab"_s << QStringList{u"konsole"_s, u"--new-tab"_s};
    }
    void terminalsStartInTheFolderOfTheSelection()
    {
        QFETCH(QString, key);
        QFETCH(QStringList, arguments);
        const QString folder = path(QStringLiteral("term dir/$(boom)"));
        // Two files of one folder open one terminal there.
        const QStringList files{write(QStringLiteral("term dir/$(boom)/x.txt"), "x"),
                                write(QStringLiteral("term dir/$(boom)/y.txt"), "y")};
        const QList<QJsonObject> launches = only(act(files, key, {}, {}), QStringLiteral("launch"));
        QCOMPARE(launches.size(), 1);
        QStringList expected = arguments;
        if (arguments.first() == u"konsole")
            expected << QStringLiteral("--workdir") << folder;
        else
            expected << QStringLiteral("--working-directory=") + folder;
        QCOMPARE(strings(launches.first().value(QStringLiteral("argv"))), expected);
        QCOMPARE(launches.first().value(QStringLiteral("cwd")).toString(), folder);
    }

    void anIconIsSavedBesideItsItemUnderAFreeName()
    {
        const QString photo = write(QStringLiteral("icons/photo.png"), "not an image at all");
        const QString docs = path(QStringLiteral("icons/Docs"));
        QDir().mkpath(docs);
        act({photo, docs}, u"Extract Icon"_s, {}, {});
        for (const QString& saved :
             {path(QStringLiteral("icons/photo-1.png")), path(QStringLiteral("icons/Docs.png"))}) {
            const QImage image(saved);
            QVERIFY2(!image.isNull(), qPrintable(saved));
            QCOMPARE(image.size(), QSize(1024, 1024));
        }
        QCOMPARE(read(photo), QByteArray("not an image at all"));
    }

    void aMissingTerminalIsSaidInANotification()
    {
        const QString installed = m_bin;
        m_bin = path(QStringLiteral("no-terminals"));
        QDir().mkpath(m_bin);
        const QString file = write(QStringLiteral("no term/x.txt"), "x");
        const QList<QJsonObject> events = act({file}, u"Terminal Window"_s, {}, {});
        m_bin = installed;
        QVERIFY(only(events, QStringLiteral("launch")).isEmpty());
        QCOMPARE(only(events, QStringLiteral("notification")).size(), 1);
    }

    void aTerminalWithoutSelectionOpensAtTheDesktopAndTerminalToAtTheChosenFolder()
    {
        // The command line always names a folder, so the empty selection is checked here.
        QCOMPARE(pallstone::OpenServeAction::foldersFor(pallstone::ActionContext{}, {}),
                 QStringList{path(QStringLiteral("Desktop"))});
        QList<QJsonObject> launches =
            only(act({QStringLiteral("--kind"), QStringLiteral("background"),
                      QStringLiteral("--target"), path(QStringLiteral("Desktop"))},
                     QStringLiteral("Terminal Window"), {}, {}),
                 QStringLiteral("launch"));
        QCOMPARE(launches.size(), 1);
        QCOMPARE(launches.first().value(QStringLiteral("cwd")).toString(),
                 path(QStringLiteral("Desktop")));

        const QString chosen = path(QStringLiteral("chosen"));
        QDir().mkpath(chosen);
        const QString selected = write(QStringLiteral("elsewhere/f.txt"), "f");
        launches =
            only(act({selected}, QStringLiteral("Terminal To"), QStringLiteral("Select Folder"),
                     {QJsonObject{{QStringLiteral("paths"), QJsonArray{chosen}}}}),
                 QStringLiteral("launch"));
        QCOMPARE(launches.size(), 1);
        QCOMPARE(launches.first().value(QStringLiteral("cwd")).toString(), chosen);
    }

    void oneLockedItemSwitchesTheRestOfTheRunToUnlocking()
    {
        const QString a = write(QStringLiteral("lock/A"), "a");
        const QString b = write(QStringLiteral("lock/B"), "b");
        const QString c = write(QStringLiteral("lock/C"), "c");
        QCOMPARE(::chmod(QFile::encodeName(a).constData(), 0664), 0);
        QCOMPARE(::chmod(QFile::encodeName(b).constData(), 0444), 0);
        QCOMPARE(::chmod(QFile::encodeName(c).constData(), 0644), 0);
        act({a, b, c}, QStringLiteral("Lock and Unlock"), {}, {});
        QCOMPARE(permissions(a), mode_t(0444)); // locked: every write bit gone
        QCOMPARE(permissions(b), mode_t(0644)); // unlocked: the owner may write again
        QCOMPARE(permissions(c), mode_t(0644)); // still unlocking, though C was not locked

        // A is locked now, so the same entry unlocks all three.
        act({a, b, c}, QStringLiteral("Lock and Unlock"), {}, {});
        QCOMPARE(permissions(a), mode_t(0644));
        QCOMPARE(permissions(b), mode_t(0644));
        QCOMPARE(permissions(c), mode_t(0644));

        // A locked folder keeps its contents; only the folder loses its write bits.
        const QString folder = path(QStringLiteral("lock/folder"));
        QDir().mkpath(folder);
        QCOMPARE(::chmod(QFile::encodeName(folder).constData(), 0775), 0);
        act({folder}, QStringLiteral("Lock and Unlock"), {}, {});
        QCOMPARE(permissions(folder), mode_t(0555));
        act({folder}, QStringLiteral("Lock and Unlock"), {}, {});
        QCOMPARE(permissions(folder), mode_t(0755));
    }

    void hidingWritesTheFoldersHiddenListAndKeepsItsOtherLines()
    {
        const QString folder = path(QStringLiteral("hide"));
        const QString hidden = folder + QStringLiteral("/.hidden");
        write(QStringLiteral("hide/.hidden"), "keep me\n");
        const QString a = write(QStringLiteral("hide/a"), "a");
        write(QStringLiteral("hide/b c"), "b");
        write(QStringLiteral("hide/.dot"), "d");
        const QStringList background{QStringLiteral("--kind"), QStringLiteral("background"),
                                     QStringLiteral("--target"), folder};

        // File managers that watch the items, not the list, see the hidden one change; what a
        // user sees of it (its modification time) stays.
        const struct timespec old[2] = {{1000000000, 0}, {1000000000, 0}};
        QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(a).constData(), old, 0), 0);
        struct stat before = {};
        QCOMPARE(::stat(QFile::encodeName(a).constData(), &before), 0);
        act({a}, QStringLiteral("Hide Selected Files"), {}, {});
        QCOMPARE(read(hidden), QByteArray("keep me\na\n"));
        struct stat after = {};
        QCOMPARE(::stat(QFile::encodeName(a).constData(), &after), 0);
        QCOMPARE(after.st_mtim.tv_sec, old[1].tv_sec);
        QVERIFY(after.st_ctim.tv_sec > before.st_ctim.tv_sec ||
                (after.st_ctim.tv_sec == before.st_ctim.tv_sec &&
                 after.st_ctim.tv_nsec > before.st_ctim.tv_nsec));

        // Every item whose name does not begin with a dot, none twice; the folder itself stays.
        act(background, QStringLiteral("Hide All Files"), {}, {});
        QCOMPARE(read(hidden), QByteArray("keep me\na\nb c\n"));
        QVERIFY(!read(path(QStringLiteral(".hidden"))).contains("hide"));

        act(background, QStringLiteral("Unhide All Files"), {}, {});
        QCOMPARE(read(hidden), QByteArray("keep me\n"));
    }

    void aNameThatIsNotUtf8KeepsItsBytesThroughEveryAction()
    {
        using pallstone::StoreKey::rightMenu;
        for (const QString& key : {u"Copy Path"_s, u"Hide Selected Files"_s, u"Embed in Folder"_s,
                                   u"Encrypted Compression"_s})
            enable(rightMenu, key);
        QVERIFY(QDir().mkpath(path(u"bytes"_s)));
        const QByteArray folder = QFile::encodeName(path(u"bytes"_s));
        const QByteArray name = "bad\xFF\xFE.txt";
        const QByteArray file = folder + '/' + name;
        const int fd = ::open(file.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        QVERIFY(fd >= 0);
        ::close(fd);
        // As a file manager hands it over: a URI with the bytes percent-encoded.
        const QStringList selection{u"file://"_s +
                                    QString::fromLatin1(file.toPercentEncoding("/"))};
        auto modeOf = [](const QByteArray& bytes) {
            struct stat info;
            return ::lstat(bytes.constData(), &info) == 0 ? info.st_mode & 07777 : 0;
        };

        const QList<QJsonObject> copied =
            only(act(selection, u"Copy Path"_s, {}, {}), u"clipboard"_s);
        QCOMPARE(copied.size(), 1);
        QCOMPARE(QByteArray::fromBase64(copied.first().value(u"base64"_s).toString().toLatin1()),
                 file);

        act(selection, u"Hide Selected Files"_s, {}, {});
        QCOMPARE(read(path(u"bytes/.hidden"_s)), name + '\n');

        act(selection, u"Lock and Unlock"_s, {}, {});
        QCOMPARE(modeOf(file), mode_t(0444));
        act(selection, u"Lock and Unlock"_s, {}, {});
        QCOMPARE(modeOf(file), mode_t(0644));

        const QString archive = path(u"bytes.zip"_s);
        act(selection, u"Encrypted Compression"_s, {}, {QJsonObject{{u"path"_s, archive}}});
        QProcess unzip;
        unzip.start(u"unzip"_s, {u"-Z1"_s, archive});
        QVERIFY(unzip.waitForFinished());
        QCOMPARE(unzip.readAllStandardOutput(), name + '\n');

        act(selection, u"Embed in Folder"_s, {}, {});
        QCOMPARE(modeOf(folder + "/bad\xFF\xFE/" + name), mode_t(0644));
    }

    void anUnreadableHiddenListIsNotReplaced()
    {
        const QString hidden = write(QStringLiteral("hide2/.hidden"), "secret\n");
        const QString a = write(QStringLiteral("hide2/a"), "a");
        QFile::setPermissions(hidden, QFile::WriteOwner);
        if (QFile(hidden).open(QIODevice::ReadOnly))
            QSKIP("running with privileges that read any file");
        act({a}, QStringLiteral("Hide Selected Files"), {}, {});
        QFile::setPermissions(hidden, QFile::ReadOwner | QFile::WriteOwner);
        QCOMPARE(read(hidden), QByteArray("secret\n"));
    }

    void aScriptNameIsOneLiteralArgumentWhateverItHolds()
    {
        const QString name = QStringLiteral("it's \"a\" $(touch pwned) `id` $HOME.SH");
        const QString script = write(u"scripts/"_s + name, "echo hi\n");
        const QString scpt = write(QStringLiteral("scripts/old.scpt"), "x");
        const QString other = write(QStringLiteral("scripts/skip.applescript"), "x");
        const QList<QJsonObject> events =
            act({script, scpt, other}, QStringLiteral("Execute Script"), {}, {button(1000)});
        const QList<QJsonObject> launches = only(events, QStringLiteral("launch"));
        QCOMPARE(launches.size(), 1);
        QCOMPARE(strings(launches.first().value(QStringLiteral("argv"))),
                 QStringList({QStringLiteral("/bin/sh"), script}));
        QCOMPARE(launches.first().value(QStringLiteral("cwd")).toString(),
                 path(QStringLiteral("scripts")));
        const QList<QJsonObject> alerts = only(events, QStringLiteral("alert"));
        QCOMPARE(alerts.size(), 1);
        const QString text = alerts.first().value(QStringLiteral("informative")).toString();
        QVERIFY(text.contains(QStringLiteral("old.scpt")));
        QVERIFY(!text.contains(QStringLiteral("skip.applescript")));
        QVERIFY(!QFile::exists(path(QStringLiteral("scripts/pwned"))));
    }

    void systemHiddenFilesPutTheCommandOnTheClipboardThenOfferATerminal()
    {
        const QStringList toolbar{QStringLiteral("--kind"), QStringLiteral("toolbar")};
        // Cancel in the first alert leaves the clipboard alone.
        QList<QJsonObject> events =
            act(toolbar, QStringLiteral("System Hide Files"), {}, {button(1002)});
        QCOMPARE(only(events, QStringLiteral("alert")).size(), 1);
        QCOMPARE(only(events, QStringLiteral("clipboard")).size(), 0);

        // Show, then cancel: the command stays on the clipboard, nothing starts.
        events =
            act(toolbar, QStringLiteral("System Hide Files"), {}, {button(1000), button(1002)});
        QList<QJsonObject> copied = only(events, QStringLiteral("clipboard"));
        QCOMPARE(copied.size(), 1);
        QCOMPARE(copied.first().value(QStringLiteral("text")).toString(),
                 QStringLiteral("gsettings set org.gtk.gtk4.Settings.FileChooser show-hidden true; "
                                "gsettings set org.gtk.Settings.FileChooser show-hidden true"));
        QCOMPARE(only(events, QStringLiteral("launch")).size(), 0);

        // Hide, then the second terminal at the desktop folder.
        events =
            act(toolbar, QStringLiteral("System Hide Files"), {}, {button(1001), button(1001)});
        copied = only(events, QStringLiteral("clipboard"));
        QCOMPARE(copied.size(), 1);
        QVERIFY(copied.first()
                    .value(QStringLiteral("text"))
                    .toString()
                    .endsWith(QStringLiteral("show-hidden false")));
        const QList<QJsonObject> launches = only(events, QStringLiteral("launch"));
        QCOMPARE(launches.size(), 1);
        QCOMPARE(strings(launches.first().value(QStringLiteral("argv"))).first(),
                 QStringLiteral("konsole"));
        QCOMPARE(launches.first().value(QStringLiteral("cwd")).toString(),
                 path(QStringLiteral("Desktop")));
    }

    void checksumsAreShownAndCopiedOnRequest_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("expected");
        QTest::newRow("crc32 abc, decimal") << QByteArray("abc") << u"CRC32"_s << u"891568578"_s;
        QTest::newRow("crc32 empty") << QByteArray() << u"CRC32"_s << u"0"_s;
        QTest::newRow("md5 abc") << QByteArray("abc") << u"MD5"_s
                                 << u"900150983cd24fb0d6963f7d28e17f72"_s;
        QTest::newRow("sha1 abc") << QByteArray("abc") << u"SHA1"_s
                                  << u"a9993e364706816aba3e25717850c26c9cd0d89d"_s;
        QTest::newRow("sha256 empty")
            << QByteArray() << u"SHA256"_s
            << u"e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"_s;
        QTest::newRow("sha512 abc")
            << QByteArray("abc") << u"SHA512"_s
            << u"ddaf35a193617abacc417349ae20413112e6fa4e89a97ea20a9eeee64b55d39a"
               u"2192992a274fc1a836ba3c23a3feebbd454d4423643ce80e2a9ac94fa54ca49f"_s;
    }
    void checksumsAreShownAndCopiedOnRequest()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, kind);
        QFETCH(QString, expected);
        // The entry is offered for one selected file only.
        const QStringList files{write(QStringLiteral("sums/first"), content)};
        QList<QJsonObject> events = act(files, QStringLiteral("File Info"), kind, {button(1000)});
        QList<QJsonObject> alerts = only(events, QStringLiteral("alert"));
        QCOMPARE(alerts.size(), 1);
        QCOMPARE(alerts.first().value(QStringLiteral("message")).toString(), kind);
        QCOMPARE(alerts.first().value(QStringLiteral("informative")).toString(), expected);
        QCOMPARE(strings(alerts.first().value(QStringLiteral("buttons"))),
                 QStringList({QStringLiteral("Copy"), QStringLiteral("Cancel")}));
        const QList<QJsonObject> copied = only(events, QStringLiteral("clipboard"));
        QCOMPARE(copied.size(), 1);
        QCOMPARE(copied.first().value(QStringLiteral("text")).toString(), expected);

        events = act(files, QStringLiteral("File Info"), kind, {button(1001)});
        QCOMPARE(only(events, QStringLiteral("alert")).size(), 1);
        QCOMPARE(only(events, QStringLiteral("clipboard")).size(), 0);
    }

    void whatCannotBeHashedShowsNoValueAndNothingToCopy()
    {
        const QString fifo = path(QStringLiteral("sums/pipe"));
        QDir().mkpath(path(QStringLiteral("sums")));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
        // Nobody writes to the pipe: reading it would never end.
        QList<QJsonObject> events =
            act({fifo}, QStringLiteral("File Info"), QStringLiteral("CRC32"), {button(1000)});
        QList<QJsonObject> alerts = only(events, QStringLiteral("alert"));
        QCOMPARE(alerts.size(), 1);
        QVERIFY(alerts.first()
                    .value(QStringLiteral("informative"))
                    .toString()
                    .contains(QStringLiteral("regular files")));
        QCOMPARE(strings(alerts.first().value(QStringLiteral("buttons"))),
                 QStringList{QStringLiteral("OK")});
        QCOMPARE(only(events, QStringLiteral("clipboard")).size(), 0);

        const QString locked = write(QStringLiteral("sums/locked"), "x");
        QFile::setPermissions(locked, QFile::WriteOwner);
        if (!QFile(locked).open(QIODevice::ReadOnly)) {
            events =
                act({locked}, QStringLiteral("File Info"), QStringLiteral("MD5"), {button(1000)});
            alerts = only(events, QStringLiteral("alert"));
            QCOMPARE(alerts.size(), 1);
            QVERIFY(alerts.first()
                        .value(QStringLiteral("informative"))
                        .toString()
                        .contains(QStringLiteral("cannot be read")));
            QCOMPARE(only(events, QStringLiteral("clipboard")).size(), 0);
        }
    }
};

QTEST_GUILESS_MAIN(TestFileActions)
#include "tst_fileactions.moc"
