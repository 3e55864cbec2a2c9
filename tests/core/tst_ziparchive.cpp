// The archive service: archives read back by 7-Zip and Info-ZIP, the progress protocol, and
// extraction that never writes outside its destination.
#include "ZipArchive.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTest>

#include <zip.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <utility>
#include <vector>

using pallstone::ZipArchive;
using namespace Qt::StringLiterals;

namespace {

using Calls = std::vector<std::pair<qint64, qint64>>;

// A fixed time well in the past, on an even second (MS-DOS times have two-second steps).
constexpr time_t kMtime = 1583298368; // 2020-03-04 05:06:08 UTC

int runTool(const QString& program, const QStringList& args, QByteArray* output = nullptr)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForFinished(600000))
        return -1;
    if (output)
        *output = p.readAll();
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

void makeFile(const QString& path, const QByteArray& bytes, mode_t mode = 0644,
              time_t mtime = kMtime)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();
    QCOMPARE(::chmod(QFile::encodeName(path).constData(), mode), 0);
    const timespec times[2] = {{mtime, 0}, {mtime, 0}};
    QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
}

QByteArray randomBytes(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    auto* words = reinterpret_cast<quint32*>(bytes.data());
    QRandomGenerator::global()->fillRange(words, size / 4);
    return bytes;
}

struct EntryInfo
{
    quint16 encryption = 0;
    qint32 compression = 0;
    quint8 system = 0;
    quint32 attributes = 0;
    quint64 size = 0;
};

std::map<QString, EntryInfo> entriesOf(const QString& archivePath)
{
    std::map<QString, EntryInfo> entries;
    int code = 0;
    zip_t* archive = zip_open(QFile::encodeName(archivePath).constData(), ZIP_RDONLY, &code);
    if (!archive)
        return entries;
    for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i) {
        zip_stat_t st;
        zip_stat_index(archive, zip_uint64_t(i), 0, &st);
        EntryInfo info{st.encryption_method, qint32(st.comp_method), 0, 0, st.size};
        zip_file_get_external_attributes(archive, zip_uint64_t(i), 0, &info.system,
                                         &info.attributes);
        entries[QString::fromUtf8(st.name)] = info;
    }
    zip_discard(archive);
    return entries;
}

// A hand-made archive: (name, data, Unix mode) per entry, written as it is, however hostile.
QString craftArchive(const QString& path,
                     const std::vector<std::tuple<QByteArray, QByteArray, mode_t>>& entries)
{
    int code = 0;
    zip_t* archive =
        zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    for (const auto& [name, data, mode] : entries) {
        auto* copy = static_cast<char*>(malloc(size_t(data.size()) + 1));
        memcpy(copy, data.constData(), size_t(data.size()));
        zip_source_t* source = zip_source_buffer(archive, copy, zip_uint64_t(data.size()), 1);
        const zip_int64_t index = zip_file_add(archive, name.constData(), source, 0);
        zip_file_set_external_attributes(archive, zip_uint64_t(index), 0, ZIP_OPSYS_UNIX,
                                         zip_uint32_t(mode) << 16);
    }
    zip_close(archive);
    return path;
}

QStringList allBelow(const QString& folder)
{
    QStringList found;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        found.append(QDir(folder).relativeFilePath(it.next()));
    found.sort();
    return found;
}

bool hasLink(const QString& folder)
{
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        if (QFileInfo(it.next()).isSymLink())
            return true;
    }
    return false;
}

mode_t modeOf(const QString& path)
{
    struct stat st
    {};
    ::lstat(QFile::encodeName(path).constData(), &st);
    return st.st_mode & 07777;
}

} // namespace

class TestZipArchive : public QObject
{
    Q_OBJECT

private:
    // Runs a job and records every progress call.
    static bool compress(ZipArchive& job, const QStringList& paths, const QString& password,
                         Calls* calls, const std::function<void(qint64, qint64)>& also = {})
    {
        return job.startCompressWithPaths(paths, password, [&](qint64 done, qint64 total) {
            calls->emplace_back(done, total);
            if (also)
                also(done, total);
        });
    }

    // (0, 0), then (1, total) ... (total, total) without gaps or repeats.
    static bool isCompleteProtocol(const Calls& calls, qint64 total)
    {
        if (calls.empty() || calls.front() != std::make_pair(qint64(0), qint64(0)))
            return false;
        if (qint64(calls.size()) != total + 1)
            return false;
        for (qint64 n = 1; n <= total; ++n) {
            if (calls[size_t(n)] != std::make_pair(n, total))
                return false;
        }
        return true;
    }

    // (0, 0), then (n, total) rising by one, then (last n, ending).
    static bool endsWith(const Calls& calls, qint64 ending)
    {
        if (calls.size() < 2 || calls.front() != std::make_pair(qint64(0), qint64(0)))
            return false;
        for (size_t i = 1; i + 1 < calls.size(); ++i) {
            if (calls[i].first != qint64(i) || calls[i].second < 1)
                return false;
        }
        return calls.back() == std::make_pair(qint64(calls.size() - 2), ending);
    }

private Q_SLOTS:
    void initTestCase()
    {
        // Independent readers of what we write.
        if (QStandardPaths::findExecutable(QStringLiteral("7z")).isEmpty() ||
            QStandardPaths::findExecutable(QStringLiteral("unzip")).isEmpty())
            QSKIP("7z and unzip are needed (scripts/deps.sh installs them)");
    }

    void archivesReadBackByOtherToolsWithNamesModesAndEmptyFolders_data()
    {
        QTest::addColumn<QString>("password");
        QTest::newRow("no password") << QString();
        QTest::newRow("password") << QStringLiteral("s3cret pass");
        QTest::newRow("non-ASCII password with spaces") << QStringLiteral(" 密码 ü ");
    }
    void archivesReadBackByOtherToolsWithNamesModesAndEmptyFolders()
    {
        QFETCH(QString, password);
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("Ä Folder"));
        // Several compression blocks, the last one short: a large file is split across cores.
        QByteArray text;
        for (int line = 0; text.size() < (5 << 19) + 4321; ++line)
            text += "line " + QByteArray::number(line * 7919 % 100003) + " of the text\n";
        makeFile(folder + QStringLiteral("/a.txt"), text, 0640);
        const QByteArray blob = randomBytes(200000);
        makeFile(folder + QStringLiteral("/sub/b.bin"), blob, 0755);
        makeFile(folder + QStringLiteral("/sub/深 $x `y`/c.txt"), "c\n", 0600);
        makeFile(folder + QStringLiteral("/.hidden"), "h", 0644);
        QVERIFY(QDir().mkpath(folder + QStringLiteral("/empty")));
        ::chmod(QFile::encodeName(folder + QStringLiteral("/empty")).constData(), 0750);
        const QString single = dir.filePath(QStringLiteral("naïve \"file\".txt"));
        makeFile(single, "single", 0604);

        ZipArchive job;
        const QString archive = dir.filePath(QStringLiteral("out.zip"));
        job.setSavePath(archive);
        Calls calls;
        QVERIFY(compress(job, {folder, single}, password, &calls));
        // .hidden, a.txt, empty, sub, sub/b.bin, sub/深, sub/深/c.txt, and the file.
        QVERIFY(isCompleteProtocol(calls, 8));

        const auto entries = entriesOf(archive);
        QStringList names;
        for (const auto& [name, info] : entries)
            names.append(name);
        // No entries for the folders that have contents, a directory entry for the empty one.
        QCOMPARE(
            names,
            QStringList({QStringLiteral("naïve \"file\".txt"), QStringLiteral("Ä Folder/.hidden"),
                         QStringLiteral("Ä Folder/a.txt"), QStringLiteral("Ä Folder/empty/"),
                         QStringLiteral("Ä Folder/sub/b.bin"),
                         QStringLiteral("Ä Folder/sub/深 $x `y`/c.txt")}));
        for (const auto& [name, info] : entries) {
            const bool isFolder = name.endsWith(u'/');
            QCOMPARE(info.encryption,
                     quint16(password.isEmpty() || isFolder ? ZIP_EM_NONE : ZIP_EM_AES_256));
            QCOMPARE(info.compression, isFolder ? ZIP_CM_STORE : ZIP_CM_DEFLATE);
            QCOMPARE(info.system, quint8(ZIP_OPSYS_UNIX));
            QCOMPARE((info.attributes >> 16) & S_IFMT, isFolder ? S_IFDIR : S_IFREG);
        }

        QByteArray out;
        QVERIFY2(runTool(QStringLiteral("7z"), {QStringLiteral("t"), u"-p"_s + password, archive},
                         &out) == 0,
                 out.constData());
        if (password.isEmpty())
            QVERIFY2(runTool(QStringLiteral("unzip"), {QStringLiteral("-t"), archive}, &out) == 0,
                     out.constData());

        // Extracted by 7-Zip and by the service itself: same contents, modes and times.
        const QString by7z = dir.filePath(QStringLiteral("by7z"));
        QCOMPARE(runTool(QStringLiteral("7z"),
                         {QStringLiteral("x"), u"-p"_s + password, u"-o"_s + by7z, archive}),
                 0);
        const QString byUs = dir.filePath(QStringLiteral("byUs"));
        bool completed = false;
        QVERIFY(ZipArchive::unzipFileAtPath(archive, byUs, true, password, {},
                                            [&](const QString&, bool ok, const QString& error) {
                                                QVERIFY2(ok, qPrintable(error));
                                                completed = true;
                                            }));
        QVERIFY(completed);
        for (const QString& root : {by7z, byUs}) {
            QFile b(root + QStringLiteral("/Ä Folder/sub/b.bin"));
            QVERIFY(b.open(QIODevice::ReadOnly));
            QCOMPARE(b.readAll(), blob);
            QCOMPARE(modeOf(b.fileName()), mode_t(0755));
            QFile a(root + QStringLiteral("/Ä Folder/a.txt"));
            QVERIFY(a.open(QIODevice::ReadOnly));
            QCOMPARE(a.readAll(), text);
            QCOMPARE(modeOf(root + QStringLiteral("/Ä Folder/a.txt")), mode_t(0640));
            QCOMPARE(modeOf(root + QStringLiteral("/Ä Folder/sub/深 $x `y`/c.txt")), mode_t(0600));
            QCOMPARE(modeOf(root + QStringLiteral("/naïve \"file\".txt")), mode_t(0604));
            QCOMPARE(QFileInfo(root + QStringLiteral("/Ä Folder/a.txt"))
                         .lastModified()
                         .toSecsSinceEpoch(),
                     qint64(kMtime));
            QVERIFY(QFileInfo(root + QStringLiteral("/Ä Folder/empty")).isDir());
        }
        QCOMPARE(modeOf(byUs + QStringLiteral("/Ä Folder/empty")), mode_t(0750));

        QVERIFY(ZipArchive::isPasswordValidForArchiveAtPath(archive, password));
        // Without encrypted entries any password fits; with them a wrong one does not.
        QCOMPARE(ZipArchive::isPasswordValidForArchiveAtPath(archive, u"wrong"_s),
                 password.isEmpty());
        if (password.trimmed() != password)
            QVERIFY(!ZipArchive::isPasswordValidForArchiveAtPath(archive, password.trimmed()));
        if (!password.isEmpty()) {
            QVERIFY(!ZipArchive::unzipFileAtPath(archive, dir.filePath(u"wrong"_s), true,
                                                 u"wrong"_s, {}, {}));
        }
    }

    void theArchiveInsideASelectedFolderIsCountedButNotAdded()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("A"));
        makeFile(folder + QStringLiteral("/a.txt"), "a");
        const QString archive = folder + QStringLiteral("/A.zip");
        makeFile(archive, "an earlier archive the person agreed to replace");
        ZipArchive job;
        job.setSavePath(archive);
        Calls calls;
        QVERIFY(compress(job, {folder}, QString(), &calls));
        QVERIFY(isCompleteProtocol(calls, 2));
        QCOMPARE(entriesOf(archive).size(), size_t(1));
        QVERIFY(entriesOf(archive).count(QStringLiteral("A/a.txt")));
    }

    void aSavePathThatIsASelectedItemIsRefusedAndTheItemKept()
    {
        QTemporaryDir dir;
        const QString photos = dir.filePath(QStringLiteral("photos.zip"));
        makeFile(photos, "the only copy");
        ZipArchive job;
        job.setSavePath(photos);
        Calls calls;
        QVERIFY(!compress(job, {photos}, QString(), &calls));
        QCOMPARE(calls, Calls({{0, 0}, {0, -1}}));
        QFile f(photos);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("the only copy"));
    }

    void onlyEmptyFoldersGiveAValidEmptyArchiveAfterTheStartCall()
    {
        QTemporaryDir dir;
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("e1"))));
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("e2"))));
        ZipArchive job;
        const QString archive = dir.filePath(QStringLiteral("empty.zip"));
        job.setSavePath(archive);
        Calls calls;
        QVERIFY(compress(job, {dir.filePath(u"e1"_s), dir.filePath(u"e2"_s)}, u"pw"_s, &calls));
        QCOMPARE(calls, Calls({{0, 0}}));
        QCOMPARE(QFileInfo(archive).size(), 22);
        QCOMPARE(runTool(QStringLiteral("7z"), {QStringLiteral("t"), u"-ppw"_s, archive}), 0);
        QVERIFY(ZipArchive::isPasswordValidForArchiveAtPath(archive, u"anything"_s));
    }

    void cancelStopsWithinAnItemAndLeavesNothing()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("big"));
        for (int i = 0; i < 6; ++i)
            makeFile(folder + QStringLiteral("/f%1.bin").arg(i), randomBytes(2 << 20));
        const QStringList before = allBelow(dir.path());
        ZipArchive job;
        job.setSavePath(dir.filePath(QStringLiteral("big.zip")));
        Calls calls;
        QVERIFY(!compress(job, {folder}, u"pw"_s, &calls, [&](qint64 done, qint64) {
            if (done == 2)
                job.stopCompress();
        }));
        QVERIFY(endsWith(calls, -2));
        QCOMPARE(calls.back().first, 2); // the third item was being written and is not counted
        QCOMPARE(allBelow(dir.path()), before); // no archive, no temporary file
    }

    void aFileThatVanishesMidJobFailsTheJobAndNothingElseIsTouched_data()
    {
        QTest::addColumn<bool>("removeDuringJob");
        QTest::newRow("removed while the job runs") << true;
        QTest::newRow("selected but missing") << false;
    }
    void aFileThatVanishesMidJobFailsTheJobAndNothingElseIsTouched()
    {
        QFETCH(bool, removeDuringJob);
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("F"));
        for (int i = 0; i < 4; ++i)
            makeFile(folder + QStringLiteral("/f%1.txt").arg(i), "data");
        const QString missing = dir.filePath(QStringLiteral("missing.txt"));
        const QString archive = dir.filePath(QStringLiteral("F.zip"));
        makeFile(archive, "an earlier archive at the save path");
        ZipArchive job;
        job.setSavePath(archive);
        Calls calls;
        const QStringList paths =
            removeDuringJob ? QStringList{folder} : QStringList{folder, missing};
        QVERIFY(!compress(job, paths, QString(), &calls, [&](qint64 done, qint64) {
            if (removeDuringJob && done == 1)
                QFile::remove(folder + QStringLiteral("/f2.txt"));
        }));
        QVERIFY(endsWith(calls, -1));
        QCOMPARE(calls.back().first, removeDuringJob ? 2 : 4);
        // The job never wrote the save path, so what was there stays.
        QFile f(archive);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("an earlier archive at the save path"));
        QCOMPARE(QDir(folder).entryList(QDir::Files).size(), removeDuringJob ? 3 : 4);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("F.zip")});
    }

    void anArchiveThatCannotBeCreatedFailsAtTheStart()
    {
        QTemporaryDir dir;
        makeFile(dir.filePath(QStringLiteral("a.txt")), "a");
        ZipArchive job;
        job.setSavePath(dir.filePath(QStringLiteral("no such folder/a.zip")));
        Calls calls;
        QVERIFY(!compress(job, {dir.filePath(u"a.txt"_s)}, QString(), &calls));
        QCOMPARE(calls, Calls({{0, 0}, {0, -1}}));
        QVERIFY(!ZipArchive::isPasswordValidForArchiveAtPath(dir.filePath(u"a.txt"_s), u""_s));
    }

    void extractionNeverWritesOutsideTheDestinationNorCreatesLinks()
    {
        QTemporaryDir dir;
        const QString outside = dir.filePath(QStringLiteral("outside"));
        QVERIFY(QDir().mkpath(outside));
        const QString archive = craftArchive(dir.filePath(QStringLiteral("evil.zip")),
                                             {{"/abs.txt", "absolute", S_IFREG | 0644},
                                              {"../x.txt", "dot dot", S_IFREG | 0644},
                                              {"a\\..\\..\\y.txt", "back slashes", S_IFREG | 0644},
                                              {"link", QFile::encodeName(outside), S_IFLNK | 0777},
                                              {"link/evil.txt", "through the link", S_IFREG | 0644},
                                              {"__MACOSX/._ok", "resource fork", S_IFREG | 0644},
                                              {"ok/file.txt", "fine", S_IFREG | 0644}});
        const QString destination = dir.filePath(QStringLiteral("dest"));
        QVERIFY(ZipArchive::unzipFileAtPath(archive, destination, true, QString(), {}, {}));
        QCOMPARE(allBelow(destination),
                 QStringList({QStringLiteral("abs.txt"), QStringLiteral("link"),
                              QStringLiteral("link/evil.txt"), QStringLiteral("ok"),
                              QStringLiteral("ok/file.txt"), QStringLiteral("x.txt"),
                              QStringLiteral("y.txt")}));
        QVERIFY(!hasLink(destination));
        QVERIFY(QDir(outside).isEmpty());
        QCOMPARE(allBelow(dir.path()).filter(QRegularExpression(u"^[^/]*$"_s)),
                 QStringList({u"dest"_s, u"evil.zip"_s, u"outside"_s}));

        // A link already inside the destination is not written through either.
        const QString second = dir.filePath(QStringLiteral("dest2"));
        QVERIFY(QDir().mkpath(second));
        QVERIFY(QFile::link(outside, second + QStringLiteral("/pre")));
        const QString through = craftArchive(dir.filePath(QStringLiteral("through.zip")),
                                             {{"pre/z.txt", "z", S_IFREG | 0644}});
        QVERIFY(!ZipArchive::unzipFileAtPath(through, second, true, QString(), {}, {}));
        QVERIFY(QDir(outside).isEmpty());
    }

    void filesOver4GiBUseZip64()
    {
        if (qgetenv("PALLSTONE_BIG_TESTS") != "1")
            QSKIP("set PALLSTONE_BIG_TESTS=1 to write and read a 4.5 GB file");
        QTemporaryDir dir;
        if (QStorageInfo(dir.path()).bytesAvailable() < (qint64(12) << 30))
            QSKIP("needs 12 GB free");
        const qint64 size = (qint64(9) << 29) + 12345; // 4.5 GiB and a bit
        const QString big = dir.filePath(QStringLiteral("big.bin"));
        // Mostly a hole, so that the run stays within minutes; the random ends make sure the data
        // really passes through.
        const QByteArray head = randomBytes(1 << 20);
        const QByteArray tail = randomBytes(1 << 20);
        {
            QFile f(big);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(head);
            QVERIFY(f.resize(size - tail.size()));
            QVERIFY(f.seek(size - tail.size()));
            f.write(tail);
        }
        ZipArchive job;
        const QString archive = dir.filePath(QStringLiteral("big.zip"));
        job.setSavePath(archive);
        Calls calls;
        QVERIFY(compress(job, {big}, u"pw"_s, &calls));
        QVERIFY(isCompleteProtocol(calls, 1));
        QCOMPARE(entriesOf(archive).at(u"big.bin"_s).size, quint64(size));
        QByteArray out;
        QVERIFY2(runTool(QStringLiteral("7z"), {QStringLiteral("t"), u"-ppw"_s, archive}, &out) ==
                     0,
                 out.constData());
        QFile::remove(big);
        QVERIFY(ZipArchive::unzipFileAtPath(archive, dir.path(), true, u"pw"_s, {}, {}));
        QFile f(big);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.size(), size);
        QCOMPARE(f.read(head.size()), head);
        QVERIFY(f.seek(size - tail.size()));
        QCOMPARE(f.read(tail.size()), tail);
    }
};

QTEST_GUILESS_MAIN(TestZipArchive)
#include "tst_ziparchive.moc"
