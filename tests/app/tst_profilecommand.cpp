// `pallstone profile ...` run as a user would run it, without a display, against private homes.
#include "Defaults.h"
#include "MenuStore.h"
#include "PlistCodec.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <zip.h>

#include <sys/file.h>
#include <sys/stat.h>

using namespace pallstone;
using namespace Qt::StringLiterals;

namespace {

const QString kPassword = QStringLiteral("481930275516");

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

// A home with the program's folders in it, as the XDG variables name them.
struct Home
{
    QTemporaryDir dir;
    QString path(const QString& relative = {}) const
    {
        return relative.isEmpty() ? dir.path() : dir.filePath(relative);
    }
    QString container(const QString& relative = {}) const
    {
        return path(QStringLiteral(".local/share/pallstone/") + relative);
    }
    QString storePath() const
    {
        return path(QStringLiteral(".config/pallstone/group.com.tolvane.pallstone.plist"));
    }
    QString appStorePath() const
    {
        return path(QStringLiteral(".config/pallstone/com.tolvane.pallstone.plist"));
    }
    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), path(QStringLiteral(".config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), path(QStringLiteral(".local/share")));
        env.insert(QStringLiteral("XDG_CACHE_HOME"), path(QStringLiteral(".cache")));
        env.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
        return env;
    }
    Run profile(const QStringList& args) const
    {
        return run(QStringList{QStringLiteral("profile")} + args);
    }
    Run run(const QStringList& args) const
    {
        QProcess p;
        p.setProcessEnvironment(environment());
        p.start(QStringLiteral(PALLSTONE_APP), args);
        if (!p.waitForFinished(60000))
            return {};
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()).trimmed(),
                QString::fromUtf8(p.readAllStandardError())};
    }
    Value store() const { return read(storePath()); }
    static Value read(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? PlistCodec::parse(f.readAll()) : Value();
    }
};

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// Every item below the folder (links included, not followed), with its size and kind.
QStringList snapshot(const QString& folder, const QString& except = {})
{
    QStringList items;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (!except.isEmpty() && (path == except || path.startsWith(except + u'/')))
            continue;
        const QFileInfo info(path);
        items.append(QStringLiteral("%1 %2 %3")
                         .arg(QDir(folder).relativeFilePath(path))
                         .arg(info.isSymLink() ? u"link"_s
                              : info.isDir()   ? u"dir"_s
                                               : u"file"_s)
                         .arg(info.isDir() ? 0 : info.size()));
    }
    items.sort();
    return items;
}

// A hand-made profile: (name, data, Unix mode) per entry, encrypted with the profile password.
void craftProfile(const QString& path,
                  const std::vector<std::tuple<QByteArray, QByteArray, mode_t>>& entries,
                  const QString& password = kPassword)
{
    int code = 0;
    zip_t* archive =
        zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    QVERIFY(archive);
    const QByteArray secret = password.toUtf8();
    for (const auto& [name, data, mode] : entries) {
        auto* copy = static_cast<char*>(malloc(size_t(data.size()) + 1));
        memcpy(copy, data.constData(), size_t(data.size()));
        zip_source_t* source = zip_source_buffer(archive, copy, zip_uint64_t(data.size()), 1);
        const zip_int64_t index = zip_file_add(archive, name.constData(), source, 0);
        QVERIFY(index >= 0);
        zip_file_set_external_attributes(archive, zip_uint64_t(index), 0, ZIP_OPSYS_UNIX,
                                         zip_uint32_t(mode) << 16);
        zip_file_set_encryption(archive, zip_uint64_t(index), ZIP_EM_AES_256, secret.constData());
    }
    QCOMPARE(zip_close(archive), 0);
}

Value record(const QString& key, const QString& iconPath, const QString& templatePath = {})
{
    Value r = Value::dictionary();
    r.insert(QStringLiteral("key"), key);
    r.insert(QStringLiteral("iconPath"), iconPath);
    if (!templatePath.isNull())
        r.insert(QStringLiteral("templatePath"), templatePath);
    return r;
}

} // namespace

class TestProfileCommand : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("7z")).isEmpty())
            QSKIP("7z is needed (scripts/deps.sh installs it)");
    }

    // Saved on one machine, exported, imported and switched to in a fresh home: the folders'
    // files and exactly the restored keys come back, every other key stays.
    void aProfileCarriesTheConfigurationToAnotherHome()
    {
        Home first;
        QCOMPARE(first.profile({u"list"_s}).exitCode, 0);
        QCOMPARE(first.profile({u"save"_s, u"Empty"_s}).exitCode, 0); // seeds the store
        writeFile(first.container(ContainerFolder::appIcons + u"/app.png"_s), "app icon");
        writeFile(first.container(ContainerFolder::fileTemplates + u"/notes.txt"_s), "template");
        writeFile(first.container(ContainerFolder::folderIcons + u"/blue.png"_s), "folder icon");
        writeFile(first.container(ContainerFolder::cache + u"/cached"_s), "cache");
        {
            Defaults store(first.storePath());
            QVERIFY(store.setObject(true, u"pref check1"_s));
            QVERIFY(store.setObject(3, u"common path next menu"_s));
            QVERIFY(store.setObject(
                Value::array(
                    {record(u"notes"_s, first.container(ContainerFolder::appIcons + u"/app.png"_s),
                            first.container(ContainerFolder::fileTemplates + u"/notes.txt"_s))}),
                u"array new file"_s));
            QVERIFY(store.setObject(41, u"use count"_s));
        }

        const Run saved = first.profile({u"save"_s, u"Work"_s});
        QCOMPARE(saved.exitCode, 0);
        QCOMPARE(saved.out, u"Work"_s);
        QCOMPARE(first.profile({u"save"_s, u"Work"_s}).out, u"Work-1"_s);
        const QString archive = first.container(ContainerFolder::profiles + u"/Work"_s);

        QProcess sevenZip;
        sevenZip.start(u"7z"_s, {u"l"_s, u"-slt"_s, u"-p"_s + kPassword, archive});
        QVERIFY(sevenZip.waitForFinished(60000));
        const QString listing = QString::fromUtf8(sevenZip.readAllStandardOutput());
        QCOMPARE(sevenZip.exitCode(), 0);
        QStringList paths;
        for (const QRegularExpressionMatch& m :
             QRegularExpression(u"^Path = (.*)$"_s, QRegularExpression::MultilineOption)
                 .globalMatch(listing))
            paths.append(m.captured(1));
        paths.removeFirst(); // the archive itself
        paths.sort();
        QCOMPARE(paths, QStringList({u"TQAppIcon/app.png"_s, u"TQCache/cached"_s,
                                     u"TQFileTemplate/notes.txt"_s, u"TQFolderIcon/blue.png"_s,
                                     u"config.plist"_s}));
        QCOMPARE(listing.count(u"Method = AES-256 Deflate"_s), 5);

        QTemporaryDir exports;
        const Run exported = first.profile({u"export"_s, u"Work"_s, exports.path()});
        QCOMPARE(exported.exitCode, 0);
        QCOMPARE(exported.out, exports.filePath(u"Work"_s));

        Home second;
        QCOMPARE(second.run({u"setup"_s}).exitCode, 0);
        QCOMPARE(second.profile({u"import"_s, exported.out}).out, u"Work"_s);
        {
            Defaults store(second.storePath());
            QVERIFY(store.setObject(7, u"use count"_s));
            QVERIFY(store.setObject(true, u"pref check4"_s));
        }
        const Value before = second.store();
        const Run switched = second.profile({u"switch"_s, u"Work"_s});
        QVERIFY2(switched.exitCode == 0 && switched.err.isEmpty(), qPrintable(switched.err));

        const Value source = first.store();
        const Value after = second.store();
        const QStringList restored = {
            u"open new file"_s,    u"array common path"_s, u"array new file"_s,
            u"array common app"_s, u"array folder icon"_s, u"array right menu"_s,
            u"pref check"_s,       u"pref check0"_s,       u"pref check1"_s,
            u"pref check2"_s,      u"pref check3"_s,       u"pref check4"_s,
            u"pref check5"_s,      u"pref check6"_s,       u"common path next menu"_s};
        QStringList keys = after.keys() + before.keys();
        keys.removeDuplicates();
        for (const QString& key : std::as_const(keys)) {
            if (key == u"array new file")
                continue; // its paths now name this home's copies, checked below
            const Value expected = restored.contains(key) && source.contains(key)
                                       ? source.value(key)
                                       : before.value(key);
            QVERIFY2(after.value(key) == expected, qPrintable(key));
        }
        QCOMPARE(after.value(u"use count"_s).integer(), 7);
        QCOMPARE(after.value(u"pref check4"_s).boolean(), true); // absent from the profile
        const Value notes = after.value(u"array new file"_s).at(0);
        QCOMPARE(notes.value(u"iconPath"_s).string(),
                 second.container(ContainerFolder::appIcons + u"/app.png"_s));
        QCOMPARE(notes.value(u"templatePath"_s).string(),
                 second.container(ContainerFolder::fileTemplates + u"/notes.txt"_s));
        QCOMPARE(contents(second.container(ContainerFolder::appIcons + u"/app.png"_s)),
                 QByteArray("app icon"));
        QCOMPARE(contents(second.container(ContainerFolder::fileTemplates + u"/notes.txt"_s)),
                 QByteArray("template"));
        QCOMPARE(contents(second.container(ContainerFolder::folderIcons + u"/blue.png"_s)),
                 QByteArray("folder icon"));
        QVERIFY(!QFile::exists(second.container(u"config.plist"_s)));
        const QStringList current =
            second.profile({u"list"_s}).out.split(u'\n').filter(u"\tcurrent"_s);
        QCOMPARE(current.size(), 1);
        QVERIFY(QRegularExpression(u"^Work\t\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\tcurrent$"_s)
                    .match(current.first())
                    .hasMatch());

        // Renaming onto a taken name: the file and the mark get "-1".
        QCOMPARE(second.profile({u"import"_s, exported.out}).out, u"Work-1"_s);
        QCOMPARE(second.profile({u"rename"_s, u"Work"_s, u"Work-1"_s}).out, u"Work-1-1"_s);
        QCOMPARE(Home::read(second.appStorePath()).value(u"current config name"_s).string(),
                 u"Work-1-1"_s);
        QCOMPARE(second.profile({u"delete"_s, u"Work-1"_s}).exitCode, 0);
        QCOMPARE(second.profile({u"list"_s}).out.count(u'\n'), 0);
    }

    void mistakesGetTheirExitCodesAndAMessage_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("no command") << QStringList() << 1;
        QTest::newRow("unknown") << QStringList({u"copy"_s, u"a"_s}) << 1;
        QTest::newRow("missing name") << QStringList({u"save"_s}) << 1;
        QTest::newRow("name leaving its folder") << QStringList({u"save"_s, u"../x"_s}) << 1;
        QTest::newRow("dot dot") << QStringList({u"save"_s, u".."_s}) << 1;
        QTest::newRow("no such profile")
            << QStringList({u"switch"_s, u"Nope"_s, u"no such profile"_s}) << 2;
        QTest::newRow("rename missing") << QStringList({u"rename"_s, u"Nope"_s, u"B"_s}) << 2;
        QTest::newRow("import missing")
            << QStringList({u"import"_s, u"/no/such.zip"_s, u"no such file"_s}) << 2;
        QTest::newRow("not an archive") << QStringList({u"import"_s, u"@text"_s}) << 3;
        QTest::newRow("other password") << QStringList({u"import"_s, u"@other"_s}) << 3;
        QTest::newRow("no store copy") << QStringList({u"import"_s, u"@folders"_s}) << 3;
    }

    void mistakesGetTheirExitCodesAndAMessage()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        // The last word of a row that says what the message must say.
        const QString says =
            args.size() > 2 && args.last().startsWith(u"no such") ? args.takeLast() : QString();
        Home home;
        writeFile(home.path(u"text"_s), "not a zip");
        craftProfile(home.path(u"other"_s), {{"config.plist", "<plist/>", S_IFREG | 0644}},
                     u"123"_s);
        craftProfile(home.path(u"folders"_s), {{"TQAppIcon/a.png", "a", S_IFREG | 0644}});
        for (QString& arg : args) {
            if (arg.startsWith(u'@'))
                arg = home.path(arg.mid(1));
        }
        const Run run = home.profile(args);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY(!run.err.trimmed().isEmpty());
        QVERIFY2(run.err.contains(says), qPrintable(run.err));
        QVERIFY(run.out.isEmpty());
        // Nothing was added to the profiles.
        QCOMPARE(QDir(home.container(ContainerFolder::profiles)).entryList(QDir::Files).size(), 0);
    }

    void helpAskedForIsPrintedAsTheAnswer()
    {
        Home home;
        const Run run = home.run({u"--help"_s});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.contains(u"pallstone profile import FILE"_s));
        QVERIFY(!run.err.contains(u"usage"_s));
    }

    // A profile that a switch would refuse is refused at import too; one that is already in the
    // list changes nothing when switched to. Each says why, exits as a damaged archive does, and
    // leaves no scratch files.
    void aProfileThatCannotBeAppliedIsRefusedByImportAndSwitchAlike_data()
    {
        QTest::addColumn<QByteArray>("config");
        QTest::addColumn<bool>("sevenZip");
        Value numberForList = Value::dictionary();
        numberForList.insert(u"array right menu"_s, 7);
        Value stringForBool = Value::dictionary();
        stringForBool.insert(u"pref check2"_s, u"yes"_s);
        Value fine = Value::dictionary();
        fine.insert(u"pref check2"_s, true);
        QTest::newRow("number for a list") << PlistCodec::toXml(numberForList) << false;
        QTest::newRow("string for a yes/no") << PlistCodec::toXml(stringForBool) << false;
        QTest::newRow("garbage") << QByteArray("\x01garbage") << false;
        // Unpacks to more than any configuration from a few hundred kilobytes.
        QTest::newRow("bomb") << QByteArray(80 * 1024 * 1024, ' ') << false;
        QTest::newRow("7-Zip AES") << PlistCodec::toXml(fine) << true;
    }

    void aProfileThatCannotBeAppliedIsRefusedByImportAndSwitchAlike()
    {
        QFETCH(QByteArray, config);
        QFETCH(bool, sevenZip);
        Home home;
        QCOMPARE(home.profile({u"save"_s, u"Mine"_s}).exitCode, 0);
        const QByteArray storeBefore = contents(home.storePath());
        const QString file = home.path(u"bad.zip"_s);
        if (sevenZip) {
            writeFile(home.path(u"plain/config.plist"_s), config);
            QProcess zip;
            zip.setWorkingDirectory(home.path(u"plain"_s));
            zip.start(u"7z"_s, {u"a"_s, u"-tzip"_s, u"-p"_s + kPassword, u"-mem=AES256"_s, file,
                                u"config.plist"_s});
            QVERIFY(zip.waitForFinished() && zip.exitCode() == 0);
            // 7-Zip 16 writes WinZip's second AES form, without a checksum, which libzip before
            // 1.10 cannot check; newer pairs write or check it so that it reads back with
            // certainty, and such a profile is fine.
            zip_t* made = zip_open(QFile::encodeName(file).constData(), ZIP_RDONLY, nullptr);
            QVERIFY(made);
            zip_stat_t st;
            const bool unchecked = zip_stat(made, "config.plist", 0, &st) == 0 &&
                                   (st.valid & ZIP_STAT_CRC) && st.crc == 0;
            zip_discard(made);
            if (!unchecked)
                QSKIP("this 7-Zip and libzip write and check AES entries with certainty");
        } else {
            craftProfile(file, {{"config.plist", config, S_IFREG | 0644}});
        }
        // Left by a run that was killed while it read a profile.
        writeFile(home.container(u".profile-killed/config.plist"_s), "partial");
        const Run imported = home.profile({u"import"_s, file});
        QCOMPARE(imported.exitCode, 3);
        QVERIFY2(imported.err.contains(u"not a usable profile"_s), qPrintable(imported.err));
        const QString listed = home.profile({u"list"_s}).out;
        QVERIFY2(listed.startsWith(u"Mine\t"_s) && !listed.contains(u'\n'), qPrintable(listed));

        QVERIFY(QFile::copy(file, home.container(ContainerFolder::profiles + u"/Bad"_s)));
        const Run switched = home.profile({u"switch"_s, u"Bad"_s});
        QCOMPARE(switched.exitCode, 3);
        QVERIFY2(switched.err.contains(u"not a usable profile"_s), qPrintable(switched.err));
        QCOMPARE(contents(home.storePath()), storeBefore);
        QCOMPARE(
            QDir(home.container()).entryList({u".profile-*"_s}, QDir::AllEntries | QDir::Hidden),
            QStringList());
    }

    // A save or switch from the command line while another one runs (here: the window's) is
    // refused at once rather than waiting behind it.
    void aSaveWhileAnotherRunsIsRefused()
    {
        Home home;
        QCOMPARE(home.profile({u"save"_s, u"First"_s}).exitCode, 0);
        QFile lock(home.container(u".profile.lock"_s));
        QVERIFY(lock.open(QIODevice::ReadWrite));
        QCOMPARE(::flock(lock.handle(), LOCK_EX | LOCK_NB), 0);
        for (const QStringList& args :
             {QStringList{u"save"_s, u"Second"_s}, QStringList{u"switch"_s, u"First"_s}}) {
            const Run refused = home.profile(args);
            QCOMPARE(refused.exitCode, 4);
            QVERIFY(refused.err.contains(u"another profile"_s));
        }
        QCOMPARE(home.profile({u"list"_s}).out.count(u'\n'), 0);
    }

    // A store copy left in the container by an earlier program is never applied, also not when
    // the switch is refused.
    void aLeftoverStoreCopyIsNeverApplied()
    {
        Home home;
        QCOMPARE(home.profile({u"save"_s, u"Plain"_s}).exitCode, 0);
        Value leftover = Value::dictionary();
        leftover.insert(u"pref check2"_s, true);
        writeFile(home.container(u"config.plist"_s), PlistCodec::toXml(leftover));
        craftProfile(home.container(ContainerFolder::profiles + u"/Folders"_s),
                     {{"TQAppIcon/a.png", "a", S_IFREG | 0644}});

        QCOMPARE(home.profile({u"switch"_s, u"Folders"_s}).exitCode, 3);
        QVERIFY(!home.store().value(u"pref check2"_s).boolean());
        QVERIFY(!QFile::exists(home.container(ContainerFolder::appIcons + u"/a.png"_s)));
        QVERIFY(Home::read(home.appStorePath()).value(u"current config name"_s).isMissing());

        QCOMPARE(home.profile({u"switch"_s, u"Plain"_s}).exitCode, 0);
        QVERIFY(!home.store().value(u"pref check2"_s).boolean());
        QVERIFY(!QFile::exists(home.container(u"config.plist"_s)));
    }

    // "..", absolute names and links in a profile, and records pointing at the user's files:
    // nothing outside the container changes, no link is made, and removing the entries later
    // deletes nothing of the user's.
    void aHostileProfileChangesNothingOutsideTheContainer()
    {
        Home home;
        QCOMPARE(home.profile({u"save"_s, u"Mine"_s}).exitCode, 0);
        const QString important = home.path(u"important.txt"_s);
        writeFile(important, "keep me");
        writeFile(home.container(ContainerFolder::profiles + u"/Mine-keep"_s), "another profile");

        Value config = Value::dictionary();
        config.insert(u"array common app"_s,
                      Value::array({record(u"Evil"_s, important),
                                    record(u"Moved"_s, u"/elsewhere/pallstone/TQAppIcon/m.png"_s),
                                    record(u"Gone"_s, u"/elsewhere/TQAppIcon/../../x"_s)}));
        config.insert(u"array new file"_s, Value::array({record(u"t"_s, u""_s, important)}));
        config.insert(u"use count"_s, 99);
        const QByteArray outside = QFile::encodeName(home.path());
        craftProfile(home.path(u"evil.zip"_s),
                     {{"config.plist", PlistCodec::toXml(config), S_IFREG | 0644},
                      {"../../../escaped.txt", "dot dot", S_IFREG | 0644},
                      {"/tmp/absolute-profile-entry.txt", "absolute", S_IFREG | 0644},
                      {"TQAppIcon/m.png", "moved icon", S_IFREG | 0644},
                      {"TQAppIcon/link", outside, S_IFLNK | 0777},
                      {"TQAppIcon/link/important.txt", "overwritten", S_IFREG | 0644},
                      {"TQConfigManager/Mine-keep", "planted", S_IFREG | 0644},
                      {"TQCache/..\\..\\..\\back.txt", "back slashes", S_IFREG | 0644}});
        const QString container = home.container();
        const QStringList outsideBefore = snapshot(home.path(), QDir::cleanPath(container));
        const QStringList profilesBefore = snapshot(home.container(ContainerFolder::profiles));
        QVERIFY(!QFile::exists(u"/tmp/absolute-profile-entry.txt"_s));

        QCOMPARE(home.profile({u"import"_s, home.path(u"evil.zip"_s)}).out, u"evil"_s);
        const Run switched = home.profile({u"switch"_s, u"evil"_s});
        QCOMPARE(switched.exitCode, 0);

        // The programs' own stores change; nothing else outside the container does.
        const auto theirs = [](const QString& item) {
            return item.startsWith(u".config"_s) || item.startsWith(u".cache"_s);
        };
        QStringList outsideAfter = snapshot(home.path(), QDir::cleanPath(container));
        outsideAfter.removeIf(theirs);
        QStringList expectedOutside = outsideBefore;
        expectedOutside.removeIf(theirs);
        QCOMPARE(outsideAfter, expectedOutside);
        QCOMPARE(contents(important), QByteArray("keep me"));
        QVERIFY(!QFile::exists(u"/tmp/absolute-profile-entry.txt"_s));
        QVERIFY(snapshot(container).filter(u" link "_s).isEmpty());
        QStringList profilesAfter = snapshot(home.container(ContainerFolder::profiles));
        QCOMPARE(profilesAfter.size(), profilesBefore.size() + 1); // the import
        QCOMPARE(contents(home.container(ContainerFolder::profiles + u"/Mine-keep"_s)),
                 QByteArray("another profile"));

        const Value store = home.store();
        QVERIFY(store.value(u"use count"_s).isMissing());
        const Value apps = store.value(u"array common app"_s);
        QCOMPARE(apps.at(0).value(u"iconPath"_s).string(), QString());
        QCOMPARE(apps.at(1).value(u"iconPath"_s).string(),
                 container + ContainerFolder::appIcons + u"/m.png"_s);
        QCOMPARE(apps.at(2).value(u"iconPath"_s).string(), QString());
        QCOMPARE(store.value(u"array new file"_s).at(0).value(u"templatePath"_s).string(),
                 QString());

        // The settings application removes the entries as a person would; the user's file stays.
        qputenv("HOME", QFile::encodeName(home.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path(u".config"_s)));
        qputenv("XDG_DATA_HOME", QFile::encodeName(home.path(u".local/share"_s)));
        Defaults& shared = MenuStore::sharedDefaults();
        QCOMPARE(shared.filePath(), home.storePath());
        // Even records written by hand afterwards, pointing at the user's file or a profile.
        const QString profile = container + ContainerFolder::profiles + u"/Mine-keep"_s;
        QVERIFY(MenuStore::addMenuKey(u"array common app"_s, record(u"Later"_s, important), false));
        QVERIFY(MenuStore::addMenuKey(u"array common app"_s, record(u"P"_s, profile), false));
        for (const QString& key : {u"Evil"_s, u"Moved"_s, u"Gone"_s, u"Later"_s, u"P"_s})
            QVERIFY(MenuStore::removeMenuKey(u"array common app"_s, key));
        QVERIFY(MenuStore::removeMenuKey(u"array new file"_s, u"t"_s));
        QCOMPARE(contents(important), QByteArray("keep me"));
        QCOMPARE(contents(profile), QByteArray("another profile"));
        QVERIFY(!QFile::exists(container + ContainerFolder::appIcons +
                               u"/m.png"_s)); // the container's own copy
    }
};

QTEST_GUILESS_MAIN(TestProfileCommand)
#include "tst_profilecommand.moc"
