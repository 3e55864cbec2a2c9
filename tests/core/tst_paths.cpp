#include "DirectoryFile.h"
#include "FileName.h"
#include "Launcher.h"
#include "Paths.h"
#include "Services.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace pallstone;
using namespace Qt::StringLiterals;

namespace {

bool writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

// Creates a file under a raw byte name that need not be valid UTF-8.
bool writeRawFile(const QByteArray& path, const QByteArray& content)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const bool ok = ::write(fd, content.constData(), size_t(content.size())) == content.size();
    ::close(fd);
    return ok;
}

bool exists(const QString& path)
{
    struct stat st;
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0;
}

// Sets or clears the file system immutable flag; false where the file system or the user's
// capabilities do not allow it.
bool setImmutable(const QString& path, bool on)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return ok;
}

class RecordingLauncher final : public Launcher
{
public:
    bool openWithApplication(const QString&, const QStringList&) override { return false; }
    bool openTerminal(const QString&, TerminalMode, bool) override { return false; }
    bool openDefault(const QUrl&) override { return false; }
    bool revealInFileManager(const QStringList& paths) override
    {
        m_revealed.append(paths);
        return true;
    }
    bool runCommand(const QStringList&, const QString&) override { return false; }
    bool launchSettingsApplication() override { return false; }

    QList<QStringList> m_revealed;
};

// Names a shell or a careless parser would mangle.
const QStringList awkwardNames = {
    u"with space"_s, u"it's \"quoted\""_s, u"$HOME and $(id)"_s,
    u"`uname`"_s,    u"line\nbreak"_s,     u"-starts-with-dash"_s,
};

} // namespace

class TestPaths : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_root;
    QString m_home;
    QString m_cacheHome;
    QString m_work;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_root.isValid());
        // Before anything asks QStandardPaths: the user's own folders must never be touched.
        m_home = m_root.filePath(u"home"_s);
        m_cacheHome = m_root.filePath(u"cache"_s);
        QVERIFY(QDir().mkpath(m_home));
        QVERIFY(QDir().mkpath(m_cacheHome));
        qputenv("HOME", QFile::encodeName(m_home));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(m_cacheHome));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_root.filePath(u"config"_s)));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_root.filePath(u"data"_s)));
        QCOMPARE(Paths::cachesFolder(), m_cacheHome + u"/pallstone"_s);
        QCOMPARE(Paths::documentPath(), m_home + u"/Documents"_s);
    }

    void init()
    {
        m_work = m_root.filePath(u"work"_s);
        QVERIFY(QDir().mkpath(m_work));
    }

    void cleanup()
    {
        Services::setLauncher(nullptr);
        Paths::setCustomIconProbe({});
        // QDir::removeRecursively() does not see entries whose names are not valid UTF-8.
        Paths::remove(m_work);
    }

    void everyByteStringIsANameThatComesBackUnchanged()
    {
        // Stray bytes, encoded surrogates (which must not pass for our own escapes), overlong and
        // cut-off sequences, next to valid UTF-8; characters whose second UTF-16 half looks like
        // an escape (U+1F4A9, U+1F4C1).
        for (const QByteArray& bytes :
             {QByteArray("caf\xc3\xa9"), QByteArray("bad\xff\xfe.txt"), QByteArray("\xed\xb3\x80"),
              QByteArray("\xc0\x80x"), QByteArray("\xe6\x96"), QByteArray("\xf4\x90\x80\x80"),
              QByteArray("\xf0\x9f\x98\x80 ok"), QByteArray("\xf0\x9f\x92\xa9.txt"),
              QByteArray("\xf0\x9f\x93\x81\xff")}) {
            const QString name = FileName::decode(bytes);
            QCOMPARE(FileName::encode(name), bytes);
            QCOMPARE(FileName::hasStrayBytes(name), QString::fromUtf8(bytes).toUtf8() != bytes);
            QVERIFY(!FileName::hasStrayBytes(FileName::display(name)));
        }
        const QString folder = m_work + u'/' + FileName::decode("dir\xff");
        QVERIFY(Paths::makeFolders(folder + u"/sub"));
        QCOMPARE(Paths::entryNames(folder), QStringList{u"sub"_s});
    }

    void nameParts_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("last");
        QTest::addColumn<QString>("parent");
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QString>("withoutExtension");
        QTest::newRow("double extension") << u"/a/archive.tar.gz"_s << u"archive.tar.gz"_s
                                          << u"/a"_s << u"gz"_s << u"/a/archive.tar"_s;
        QTest::newRow("trailing separators")
            << u"/a/b.d//"_s << u"b.d"_s << u"/a"_s << u"d"_s << u"/a/b"_s;
        QTest::newRow("dot file has no extension")
            << u"/h/.bashrc"_s << u".bashrc"_s << u"/h"_s << u""_s << u"/h/.bashrc"_s;
        QTest::newRow("dot in a folder name only")
            << u"/a.b/Makefile"_s << u"Makefile"_s << u"/a.b"_s << u""_s << u"/a.b/Makefile"_s;
        QTest::newRow("spaces are not an extension")
            << u"/x/Report v1.2 final"_s << u"Report v1.2 final"_s << u"/x"_s << u""_s
            << u"/x/Report v1.2 final"_s;
        QTest::newRow("trailing dot")
            << u"/x/notes."_s << u"notes."_s << u"/x"_s << u""_s << u"/x/notes."_s;
        QTest::newRow("root") << u"/"_s << u"/"_s << u"/"_s << u""_s << u"/"_s;
        QTest::newRow("top level") << u"/etc"_s << u"etc"_s << u"/"_s << u""_s << u"/etc"_s;
        QTest::newRow("relative single") << u"a.txt"_s << u"a.txt"_s << u""_s << u"txt"_s << u"a"_s;
    }
    void nameParts()
    {
        QFETCH(QString, path);
        QFETCH(QString, last);
        QFETCH(QString, parent);
        QFETCH(QString, extension);
        QFETCH(QString, withoutExtension);
        QCOMPARE(Paths::lastPathComponent(path), last);
        QCOMPARE(Paths::deletingLastPathComponent(path), parent);
        QCOMPARE(Paths::pathExtension(path), extension);
        QCOMPARE(Paths::deletingPathExtension(path), withoutExtension);
    }

    void packagesAreFoldersWithAnExtension()
    {
        QVERIFY(QDir().mkpath(m_work + u"/Foo.app"_s));
        QVERIFY(QDir().mkpath(m_work + u"/Foo"_s));
        QVERIFY(writeFile(m_work + u"/plain.app"_s, "x"));
        QVERIFY(Paths::isPackage(m_work + u"/Foo.app"_s));
        QVERIFY(!Paths::isPackage(m_work + u"/Foo"_s));
        QVERIFY(!Paths::isPackage(m_work + u"/plain.app"_s));
        // A link to a folder is not itself a folder.
        QVERIFY(QFile::link(m_work + u"/Foo"_s, m_work + u"/link.app"_s));
        QVERIFY(!Paths::isFolder(m_work + u"/link.app"_s));
        QVERIFY(!Paths::isPackage(m_work + u"/link.app"_s));
    }

    void imageTypes_data()
    {
        static const QByteArray png = QByteArray::fromHex(
            "89504e470d0a1a0a0000000d49484452000000010000000108060000001f15c489");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("image");
        QTest::newRow("upper-case extension") << u"Photo.JPG"_s << QByteArray("x") << true;
        QTest::newRow("webp by name") << u"a.webp"_s << QByteArray("x") << true;
        QTest::newRow("svg by name") << u"a.svg"_s << QByteArray("<svg/>") << true;
        QTest::newRow("heic by name") << u"a.heic"_s << QByteArray("x") << true;
        QTest::newRow("windows icon") << u"a.ico"_s << QByteArray("x") << true;
        QTest::newRow("no extension, PNG content") << u"noext"_s << png << true;
        QTest::newRow("no extension, text content") << u"notes"_s << QByteArray("hello") << false;
        QTest::newRow("text by name wins over content") << u"a.txt"_s << png << false;
        QTest::newRow("pdf is not an image") << u"a.pdf"_s << QByteArray("%PDF-1.4") << false;
    }
    void imageTypes()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(bool, image);
        const QString path = m_work + u'/' + name;
        QVERIFY(writeFile(path, content));
        QCOMPARE(Paths::isImage(path), image);
    }

    void uninspectableItemsAreNotImages()
    {
        QVERIFY(!Paths::isImage(m_work + u"/missing.png"_s));
        QVERIFY(QDir().mkpath(m_work + u"/folder.png"_s));
        QVERIFY(!Paths::isImage(m_work + u"/folder.png"_s));
        // A pipe without a recognised name must not be opened (it would block).
        const QByteArray fifo = QFile::encodeName(m_work + u"/pipe"_s);
        QCOMPARE(::mkfifo(fifo.constData(), 0600), 0);
        QVERIFY(!Paths::isImage(m_work + u"/pipe"_s));
    }

    void systemFolders_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("system");
        QTest::newRow("root") << u"/"_s << true;
        QTest::newRow("home parent") << u"/home"_s << true;
        QTest::newRow("trailing separator") << u"/usr/"_s << true;
        QTest::newRow("etc") << u"/etc"_s << true;
        QTest::newRow("below usr") << u"/usr/local"_s << false;
        QTest::newRow("empty") << u""_s << false;
    }
    void systemFolders()
    {
        QFETCH(QString, path);
        QFETCH(bool, system);
        QCOMPARE(Paths::isSystemFolder(path), system);
    }

    void homeAndItsXdgFoldersAreSystemFolders()
    {
        for (const QString& name :
             {u""_s, u"/Desktop"_s, u"/Documents"_s, u"/Downloads"_s, u"/Pictures"_s, u"/Music"_s,
              u"/Videos"_s, u"/Templates"_s, u"/Public"_s})
            QVERIFY2(Paths::isSystemFolder(m_home + name), qPrintable(name));
        QVERIFY(!Paths::isSystemFolder(m_home + u"/Documents/x"_s));
        QVERIFY(!Paths::isSystemFolder(m_home + u"/Library"_s));
    }

    void desktopIsTheXdgDesktop()
    {
        QCOMPARE(Paths::desktopPath(), m_home + u"/Desktop"_s);
        QVERIFY(Paths::isDesktop(m_home + u"/Desktop"_s));
        QVERIFY(Paths::isDesktop(m_home + u"/Desktop/"_s));
        QVERIFY(!Paths::isDesktop(m_home));
    }

    void lockedMeansNobodyMayWrite()
    {
        const QString file = m_work + u"/f"_s;
        QVERIFY(writeFile(file, "x"));
        QVERIFY(!Paths::isLocked(file));
        QVERIFY(Paths::isWritable(file));
        QVERIFY(QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadGroup));
        QVERIFY(Paths::isLocked(file));
        QVERIFY(QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner));
        QVERIFY(!Paths::isLocked(file));
        QVERIFY(!Paths::isLocked(m_work + u"/missing"_s));
        QVERIFY(!Paths::isWritable(m_work + u"/missing"_s));
    }

    void immutableFlagReadsAsLocked()
    {
        const QString file = m_work + u"/immutable"_s;
        QVERIFY(writeFile(file, "x"));
        if (!setImmutable(file, true))
            QSKIP("the immutable flag cannot be set here (needs CAP_LINUX_IMMUTABLE)");
        const bool locked = Paths::isLocked(file);
        const bool writable = Paths::isWritable(file);
        QVERIFY(setImmutable(file, false));
        QVERIFY(locked);
        QVERIFY(!writable);
    }

    void customIcons()
    {
        const QString folder = m_work + u"/styled"_s;
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(!Paths::hasCustomIcon(folder));
        QVERIFY(writeFile(folder + u"/.directory"_s,
                          "[Dolphin]\nIcon=wrong-section\n[Desktop Entry]\nIcon[de]=x\n"));
        QVERIFY(!Paths::hasCustomIcon(folder));
        QVERIFY(writeFile(folder + u"/.directory"_s, "[Desktop Entry]\nIcon=\n"));
        QVERIFY(!Paths::hasCustomIcon(folder));
        QVERIFY(writeFile(folder + u"/.directory"_s,
                          "[Dolphin]\nViewMode=1\n\n[Desktop Entry]\nIcon = folder-red\n"));
        QVERIFY(Paths::hasCustomIcon(folder));

        const QString plain = m_work + u"/plain"_s;
        QVERIFY(QDir().mkpath(plain));
        Paths::setCustomIconProbe([plain](const QString& path) { return path == plain; });
        QVERIFY(Paths::hasCustomIcon(plain));
        QVERIFY(writeFile(m_work + u"/file"_s, "x"));
        QVERIFY(!Paths::hasCustomIcon(m_work + u"/file"_s));
    }

    void aFolderNamedInLatin1KeepsItsViewSettingsThroughIconAndRecover()
    {
        const QByteArray bytes = QFile::encodeName(m_work) + "/ca\xe9";
        QVERIFY(::mkdir(bytes.constData(), 0755) == 0);
        const QByteArray file = bytes + "/.directory";
        QVERIFY(writeRawFile(file, "[Dolphin]\nViewMode=1\n"));
        const QString folder = FileName::decode(bytes);
        QVERIFY(!Paths::hasCustomIcon(folder));
        QCOMPARE(DirectoryFile::setIcon(folder, u"/icons/red.png"_s), QString());
        QFile written;
        QVERIFY(written.open(::open(file.constData(), O_RDONLY | O_CLOEXEC), QIODevice::ReadOnly,
                             QFileDevice::AutoCloseHandle));
        QCOMPARE(written.readAll(),
                 QByteArray("[Dolphin]\nViewMode=1\n\n[Desktop Entry]\nIcon=/icons/red.png\n"));
        // What offers Recover, and Recover itself.
        QVERIFY(Paths::hasCustomIcon(folder));
        QCOMPARE(DirectoryFile::setIcon(folder, QString()), QString());
        QVERIFY(!Paths::hasCustomIcon(folder));
        QFile left;
        QVERIFY(left.open(::open(file.constData(), O_RDONLY | O_CLOEXEC), QIODevice::ReadOnly,
                          QFileDevice::AutoCloseHandle));
        QCOMPARE(left.readAll(), QByteArray("[Dolphin]\nViewMode=1\n\n[Desktop Entry]\n"));
    }

    void sizesAddUpWithoutFollowingLinks()
    {
        const QString outside = m_work + u"/outside"_s;
        QVERIFY(writeFile(outside, QByteArray(5000, 'o')));
        const QString tree = m_work + u"/tree"_s;
        QVERIFY(QDir().mkpath(tree + u"/sub/deeper"_s));
        QVERIFY(writeFile(tree + u"/three"_s, "123"));
        QVERIFY(writeFile(tree + u"/sub/five"_s, "12345"));
        QVERIFY(writeFile(tree + u"/sub/deeper/" + awkwardNames.join(u'_'), "1234567"));
        QVERIFY(writeRawFile(QFile::encodeName(tree) + "/caf\xe9", "12"));
        QVERIFY(QFile::link(outside, tree + u"/link"_s));
        QVERIFY(QFile::link(m_work, tree + u"/loop"_s));
        const qint64 linkSizes =
            QFile::encodeName(outside).size() + QFile::encodeName(m_work).size();
        QCOMPARE(Paths::fileSize(tree), 3 + 5 + 7 + 2 + linkSizes);
        QCOMPARE(Paths::fileSize(tree + u"/three"_s), 3);
        QCOMPARE(Paths::fileSize(tree + u"/link"_s), QFile::encodeName(outside).size());
        QCOMPARE(Paths::fileSize(m_work + u"/missing"_s), 0);
    }

    void digests_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("digest");
        QTest::newRow("abc") << QByteArray("abc") << u"900150983cd24fb0d6963f7d28e17f72"_s;
        QTest::newRow("empty") << QByteArray() << u"d41d8cd98f00b204e9800998ecf8427e"_s;
        const QByteArray big(3 * 1024 * 1024 + 17, 'z');
        QTest::newRow("larger than one chunk")
            << big
            << QString::fromLatin1(QCryptographicHash::hash(big, QCryptographicHash::Md5).toHex());
    }
    void digests()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, digest);
        for (const QString& name : awkwardNames) {
            const QString path = m_work + u'/' + name;
            QVERIFY(writeFile(path, content));
            QCOMPARE(Paths::fileMD5(path), digest);
        }
    }

    void digestsOfWhatCannotBeRead()
    {
        const QString empty = u"d41d8cd98f00b204e9800998ecf8427e"_s;
        QCOMPARE(Paths::fileMD5(m_work), empty);
        const QByteArray fifo = QFile::encodeName(m_work + u"/pipe"_s);
        QCOMPARE(::mkfifo(fifo.constData(), 0600), 0);
        QCOMPARE(Paths::fileMD5(m_work + u"/pipe"_s), empty); // must not wait for a writer
        QCOMPARE(Paths::fileMD5(m_work + u"/report.txt"_s), u"report"_s);
        QCOMPARE(Paths::fileMD5(m_work + u"/archive.tar.gz"_s), u"archive.tar"_s);
        if (::geteuid() != 0) {
            QVERIFY(writeFile(m_work + u"/secret"_s, "abc"));
            QVERIFY(QFile::setPermissions(m_work + u"/secret"_s, QFile::WriteOwner));
            QCOMPARE(Paths::fileMD5(m_work + u"/secret"_s), empty);
        }
    }

    void uniquePaths_data()
    {
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QString>("asked");
        QTest::addColumn<QString>("expected");
        QTest::newRow("free name is kept") << QStringList() << u"report.txt"_s << u"report.txt"_s;
        QTest::newRow("counter skips taken names")
            << QStringList{u"report.txt"_s, u"report-1.txt"_s} << u"report.txt"_s
            << u"report-2.txt"_s;
        QTest::newRow("no extension")
            << QStringList{u"Makefile"_s} << u"Makefile"_s << u"Makefile-1"_s;
        QTest::newRow("double extension")
            << QStringList{u"a.tar.gz"_s} << u"a.tar.gz"_s << u"a.tar-1.gz"_s;
        QTest::newRow("dot file") << QStringList{u".env"_s} << u".env"_s << u".env-1"_s;
        for (const QString& name : awkwardNames)
            QTest::addRow("awkward %s", qPrintable(QString(name).replace(u'\n', u'|')))
                << QStringList{name + u".txt"_s} << name + u".txt"_s << name + u"-1.txt"_s;
    }
    void uniquePaths()
    {
        QFETCH(QStringList, existing);
        QFETCH(QString, asked);
        QFETCH(QString, expected);
        for (const QString& name : existing)
            QVERIFY(writeFile(m_work + u'/' + name, "x"));
        QCOMPARE(Paths::uniquePath(m_work + u'/' + asked), m_work + u'/' + expected);
    }

    void danglingLinkIsNotAFreeName()
    {
        QVERIFY(QFile::link(m_work + u"/nowhere"_s, m_work + u"/out.txt"_s));
        QCOMPARE(Paths::uniquePath(m_work + u"/out.txt"_s), m_work + u"/out-1.txt"_s);
    }

    void removingATreeNeverFollowsLinks()
    {
        const QString outside = m_work + u"/outside"_s;
        QVERIFY(QDir().mkpath(outside));
        QVERIFY(writeFile(outside + u"/keep"_s, "keep"));
        const QString tree = m_work + u"/tree"_s;
        QVERIFY(QDir().mkpath(tree + u"/sub"_s));
        for (const QString& name : awkwardNames)
            QVERIFY(writeFile(tree + u"/sub/" + name, "x"));
        QVERIFY(writeRawFile(QFile::encodeName(tree) + "/sub/caf\xe9", "x"));
        QVERIFY(QFile::link(outside, tree + u"/sub/link-to-outside"_s));
        QVERIFY(Paths::remove(tree));
        QVERIFY(!exists(tree));
        QVERIFY(exists(outside + u"/keep"_s));

        // A link given directly goes, its target stays whole (QDir::removeRecursively empties it).
        QVERIFY(QFile::link(outside, m_work + u"/direct"_s));
        QVERIFY(Paths::remove(m_work + u"/direct/"_s));
        QVERIFY(!exists(m_work + u"/direct"_s));
        QVERIFY(exists(outside + u"/keep"_s));

        QVERIFY(!Paths::remove(m_work + u"/missing"_s));
        QVERIFY(!Paths::remove(m_home));
        QVERIFY(exists(m_home));
    }

    void createDirStartsEmpty()
    {
        const QString folder = m_work + u"/a/b"_s;
        QVERIFY(Paths::createDir(folder));
        QVERIFY(writeFile(folder + u"/old"_s, "x"));
        QVERIFY(Paths::createDir(folder));
        QVERIFY(Paths::isFolder(folder));
        QVERIFY(!exists(folder + u"/old"_s));
        QVERIFY(writeFile(m_work + u"/was-a-file"_s, "x"));
        QVERIFY(Paths::createDir(m_work + u"/was-a-file"_s));
        QVERIFY(Paths::isFolder(m_work + u"/was-a-file"_s));
    }

    void scratchFoldersStayInsideTheCachesFolder_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("empty") << u""_s;
        QTest::newRow("dot") << u"."_s;
        QTest::newRow("dot dot") << u".."_s;
        QTest::newRow("climbing") << u"../victim"_s;
        QTest::newRow("nested") << u"a/b"_s;
        QTest::newRow("absolute") << u"/tmp"_s;
    }
    void scratchFoldersStayInsideTheCachesFolder()
    {
        QFETCH(QString, name);
        const QString victim = m_cacheHome + u"/victim"_s;
        QVERIFY(QDir().mkpath(victim));
        QVERIFY(writeFile(victim + u"/keep"_s, "keep"));
        QVERIFY(Paths::toTempFolderPath(name).isNull());
        QVERIFY(Paths::toTempFolderPath(name, false).isNull());
        QVERIFY(Paths::toDocument(name).isNull());
        QVERIFY(exists(victim + u"/keep"_s));
    }

    void scratchFolderIsClearedUnlessAskedToKeep()
    {
        const QString path = Paths::toTempFolderPath(u".scratch x"_s);
        QCOMPARE(path, Paths::cachesFolder() + u"/.scratch x"_s);
        QVERIFY(Paths::isFolder(path));
        QVERIFY(writeFile(path + u"/kept"_s, "x"));
        QCOMPARE(Paths::toTempFolderPath(u".scratch x"_s, false), path);
        QVERIFY(exists(path + u"/kept"_s));
        QCOMPARE(Paths::toTempFolderPath(u".scratch x"_s), path);
        QVERIFY(!exists(path + u"/kept"_s));
        QVERIFY(Paths::isFolder(path));
    }

    void cleaningTouchesOnlyOurDotEntries()
    {
        const QString caches = Paths::cachesFolder();
        QVERIFY(QDir().mkpath(caches));
        const QString shared = m_cacheHome + u"/.other-program"_s;
        QVERIFY(QDir().mkpath(shared));
        const QString outside = m_work + u"/outside"_s;
        QVERIFY(QDir().mkpath(outside));
        QVERIFY(writeFile(outside + u"/keep"_s, "keep"));
        QVERIFY(!Paths::toTempFolderPath(u".job"_s).isNull());
        QVERIFY(writeFile(caches + u"/.job/file"_s, "x"));
        QVERIFY(writeFile(caches + u"/visible"_s, "x"));
        QVERIFY(writeRawFile(QFile::encodeName(caches) + "/.caf\xe9", "x"));
        QVERIFY(QFile::link(outside, caches + u"/.link"_s));

        Paths::removeAllTempFolder();
        QVERIFY(!exists(caches + u"/.job"_s));
        QVERIFY(!exists(caches + u"/.link"_s));
        QCOMPARE(QDir(caches).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{u"visible"_s});
        struct stat st;
        const QByteArray raw = QFile::encodeName(caches) + "/.caf\xe9";
        QVERIFY(::lstat(raw.constData(), &st) != 0);
        QVERIFY(exists(shared));
        QVERIFY(exists(outside + u"/keep"_s));
    }

    void userFoldersAreCreatedWhenMissing()
    {
        QCOMPARE(Paths::toDocument(u"x.txt"_s), m_home + u"/Documents/x.txt"_s);
        QVERIFY(Paths::isFolder(m_home + u"/Documents"_s));
        QVERIFY(!exists(m_home + u"/Documents/x.txt"_s));
        QCOMPARE(Paths::toMoviesPath(u"clip.mp4"_s), m_home + u"/Videos/clip.mp4"_s);
        QVERIFY(Paths::isFolder(m_home + u"/Videos"_s));
        QCOMPARE(Paths::toDesktop(u"a b"_s), m_home + u"/Desktop/a b"_s);
        QVERIFY(Paths::isFolder(m_home + u"/Desktop"_s));
    }

    void revealGoesThroughTheLauncher()
    {
        QVERIFY(!Paths::showInFileManager(m_work)); // nothing installed: nothing launched
        RecordingLauncher launcher;
        Services::setLauncher(&launcher);
        QVERIFY(Paths::showInFileManager(m_work + u"/a $(b)"_s));
        QCOMPARE(launcher.m_revealed, QList<QStringList>{{m_work + u"/a $(b)"_s}});
    }

    void hashURLs()
    {
        const QUrl help = Paths::hashURL(u"/docs/my help.chm#page 2.html"_s);
        QVERIFY(help.isLocalFile());
        QCOMPARE(help.toLocalFile(), u"/docs/my help.chm"_s);
        QCOMPARE(help.fragment(), u"page 2.html"_s);
        const QUrl plain = Paths::hashURL(u"/docs/a.chm"_s);
        QCOMPARE(plain.toLocalFile(), u"/docs/a.chm"_s);
        QVERIFY(!plain.hasFragment());
    }

    void standardizedPaths_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");
        QTest::newRow("tilde") << u"~/a//b/./c/../d/"_s << u"@/a/b/d"_s;
        QTest::newRow("tilde alone") << u"~"_s << u"@"_s;
        QTest::newRow("root's home") << u"~root/x"_s << u"/root/x"_s;
        QTest::newRow("unknown user stays")
            << u"~no-such-user-here/x"_s << u"~no-such-user-here/x"_s;
        QTest::newRow("tilde inside is a name") << u"/a/~/b"_s << u"/a/~/b"_s;
        QTest::newRow("above root") << u"/../x"_s << u"/x"_s;
        QTest::newRow("only above root") << u"/../.."_s << u"/"_s;
        QTest::newRow("name starting with dots") << u"/..x"_s << u"/..x"_s;
    }
    void standardizedPaths()
    {
        QFETCH(QString, path);
        QFETCH(QString, expected);
        QCOMPARE(Paths::standardizedPath(path), QString(expected).replace(u'@', m_home));
    }

    void linksAreNotResolvedWhenStandardizing()
    {
        QVERIFY(QFile::link(m_root.path(), m_work + u"/up"_s));
        QCOMPARE(Paths::standardizedPath(m_work + u"/up/./x"_s), m_work + u"/up/x"_s);
    }

    void displaySizes_data()
    {
        QTest::addColumn<double>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0.0 << u"0.00 B"_s;
        QTest::newRow("999") << 999.0 << u"999.00 B"_s;
        QTest::newRow("exactly 1000 stays") << 1000.0 << u"1000.00 B"_s;
        QTest::newRow("1500") << 1500.0 << u"1.50 KB"_s;
        QTest::newRow("a million is 1000 KB") << 1e6 << u"1000.00 KB"_s;
        QTest::newRow("just over a million") << 1000001.0 << u"1.00 MB"_s;
        QTest::newRow("gigabytes") << 2.5e9 << u"2.50 GB"_s;
        QTest::newRow("terabytes") << 1.5e12 << u"1.50 TB"_s;
        QTest::newRow("beyond the last unit stays in TB") << 2e15 << u"2000.00 TB"_s;
        QTest::newRow("negative") << -5.0 << u"0.00 B"_s;
        QTest::newRow("not a number") << std::nan("") << u"0.00 B"_s;
    }
    void displaySizes()
    {
        QFETCH(double, bytes);
        QFETCH(QString, text);
        QCOMPARE(Paths::fileSizeWithValue(bytes), text);
    }
};

QTEST_GUILESS_MAIN(TestPaths)
#include "tst_paths.moc"
