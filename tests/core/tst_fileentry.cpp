#include "FileEntry.h"
#include "FileName.h"
#include "Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
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

bool exists(const QString& path)
{
    struct stat st;
    return ::lstat(FileName::encode(path).constData(), &st) == 0;
}

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

} // namespace

class TestFileEntry : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_root;
    QString m_work;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_root.isValid());
        // Scratch folders go to the caches folder: keep them out of the user's.
        qputenv("HOME", QFile::encodeName(m_root.filePath(u"home"_s)));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(m_root.filePath(u"cache"_s)));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_root.filePath(u"config"_s)));
    }

    void init()
    {
        m_work = m_root.filePath(u"work"_s);
        QVERIFY(QDir().mkpath(m_work));
    }

    // QDir::removeRecursively() does not see entries whose names are not valid UTF-8.
    void cleanup() { Paths::remove(m_work); }

    void nameParts_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("filename");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("simpleName");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("ext");
        QTest::newRow("upper-case extension is lowered")
            << u"/p/Photo.JPG"_s << u"Photo.JPG"_s << u"Photo"_s << u"Photo"_s << u"/p"_s
            << u"jpg"_s;
        QTest::newRow("only the last extension goes from name")
            << u"/p/archive.tar.gz"_s << u"archive.tar.gz"_s << u"archive.tar"_s << u"archive"_s
            << u"/p"_s << u"gz"_s;
        QTest::newRow("no extension") << u"/p/Makefile"_s << u"Makefile"_s << u"Makefile"_s
                                      << u"Makefile"_s << u"/p"_s << u""_s;
        QTest::newRow("hidden file keeps its name")
            << u"/p/.config.bak"_s << u".config.bak"_s << u".config"_s << u".config"_s << u"/p"_s
            << u"bak"_s;
        QTest::newRow("stops at an extension with spaces")
            << u"/p/Report v1.2 final.pdf"_s << u"Report v1.2 final.pdf"_s << u"Report v1.2 final"_s
            << u"Report v1.2 final"_s << u"/p"_s << u"pdf"_s;
        QTest::newRow("folder with trailing separator")
            << u"/p/Foo.app/"_s << u"Foo.app"_s << u"Foo"_s << u"Foo"_s << u"/p"_s << u"app"_s;
    }
    void nameParts()
    {
        QFETCH(QString, path);
        const auto file = FileEntry::fileWithPath(path);
        QTEST(file->filename(), "filename");
        QTEST(file->name(), "name");
        QTEST(file->simpleName(), "simpleName");
        QTEST(file->folder(), "folder");
        QTEST(file->ext(), "ext");
        QCOMPARE(file->url(), QUrl::fromLocalFile(path));
    }

    void kinds_data()
    {
        QTest::addColumn<QString>("filename");
        QTest::addColumn<QString>("kinds");
        QTest::newRow("jpg") << u"Photo.JPG"_s << u"image"_s;
        QTest::newRow("jp2") << u"a.jp2"_s << u"image"_s;
        QTest::newRow("webp is not in the descriptor's list") << u"a.webp"_s << u""_s;
        QTest::newRow("kindle azw3") << u"book.AZW3"_s << u"kindle"_s;
        QTest::newRow("kindle prc") << u"book.prc"_s << u"kindle"_s;
        QTest::newRow("winmail.dat") << u"winmail.dat"_s << u"tnef"_s;
        QTest::newRow("tnef") << u"x.tnef"_s << u"tnef"_s;
        QTest::newRow("chm") << u"help.CHM"_s << u"chm"_s;
        QTest::newRow("hidden image") << u".thumb.png"_s << u"hidden image"_s;
        QTest::newRow("plain") << u"notes.txt"_s << u""_s;
        QTest::newRow("extension only in the middle") << u"a.png.txt"_s << u""_s;
    }
    void kinds()
    {
        QFETCH(QString, filename);
        QFETCH(QString, kinds);
        const FileEntry file(m_work + u'/' + filename);
        QStringList found;
        if (file.isHideFile())
            found << u"hidden"_s;
        if (file.isImage())
            found << u"image"_s;
        if (file.isKindle())
            found << u"kindle"_s;
        if (file.isTnef())
            found << u"tnef"_s;
        if (file.isCHM())
            found << u"chm"_s;
        QCOMPARE(found.join(u' '), kinds);
    }

    void datesOfAWritableFile()
    {
        const QString path = m_work + u"/dated"_s;
        QVERIFY(writeFile(path, "x"));
        const QDateTime modified(QDate(2021, 6, 7), QTime(8, 9, 10));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(modified, QFileDevice::FileModificationTime));
        file.close();
        const FileEntry descriptor(path);
        QCOMPARE(descriptor.modifyDate(), u"2021-06-07 08:09:10"_s);
        static const QRegularExpression form(u"^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d$"_s);
        QVERIFY2(form.match(descriptor.createDate()).hasMatch(),
                 qPrintable(descriptor.createDate()));
        QCOMPARE(FileEntry(m_work + u"/missing"_s).createDate(), u""_s);
    }

    void noDatesForWhatTheUserCannotWrite()
    {
        if (::geteuid() == 0)
            QSKIP("root may write every file; the immutable case below covers root");
        const QString folder = m_work + u"/readonly"_s;
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(writeFile(folder + u"/f"_s, "x"));
        QVERIFY(QFile::setPermissions(folder + u"/f"_s, QFile::ReadOwner));
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        const FileEntry file(folder + u"/f"_s);
        const QString created = file.createDate();
        const QString modified = file.modifyDate();
        QVERIFY(
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QCOMPARE(created, u""_s);
        QCOMPARE(modified, u""_s);
    }

    void noDatesForAnImmutableFile()
    {
        const QString path = m_work + u"/immutable"_s;
        QVERIFY(writeFile(path, "x"));
        if (!setImmutable(path, true))
            QSKIP("the immutable flag cannot be set here (needs CAP_LINUX_IMMUTABLE)");
        const FileEntry file(path);
        const QString created = file.createDate();
        const QString modified = file.modifyDate();
        QVERIFY(setImmutable(path, false));
        QCOMPARE(created, u""_s);
        QCOMPARE(modified, u""_s);
    }

    void iconNamesComeFromTheMimeType()
    {
        QVERIFY(writeFile(m_work + u"/a.txt"_s, "text"));
        QCOMPARE(FileEntry(m_work + u"/a.txt"_s).iconName(), u"text-plain"_s);
        QCOMPARE(FileEntry(m_work).genericIconName(), u"folder"_s);
        const QByteArray fifo = QFile::encodeName(m_work + u"/pipe"_s);
        QCOMPARE(::mkfifo(fifo.constData(), 0600), 0);
        QVERIFY(!FileEntry(m_work + u"/pipe"_s).iconName().isEmpty()); // and does not block
    }

    void childrenAreVisibleEntriesKeptFromTheFirstRead()
    {
        const QString folder = m_work + u"/folder"_s;
        QVERIFY(QDir().mkpath(folder + u"/sub dir"_s));
        const QStringList visible = {u"a"_s, u"$(touch x)"_s, u"`id`"_s, u"new\nline"_s,
                                     u"quote\"s"_s};
        for (const QString& name : visible)
            QVERIFY(writeFile(folder + u'/' + name, "x"));
        QVERIFY(writeFile(folder + u"/.hidden"_s, "x"));
        QVERIFY(QDir().mkpath(folder + u"/.git"_s));
        // A name that is not valid UTF-8 is listed with its bytes, and reached again through them.
        const QByteArray raw = QFile::encodeName(folder) + "/caf\xe9";
        const int fd = ::open(raw.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        QVERIFY(fd >= 0);
        ::close(fd);

        FileEntry parent(folder);
        const FileEntry::Children& children = parent.children();
        QSet<QString> names;
        for (const auto& child : children) {
            QCOMPARE(child->parent(), &parent);
            QVERIFY2(exists(child->path()), qPrintable(child->path()));
            names.insert(child->filename());
        }
        QSet<QString> expected(visible.begin(), visible.end());
        expected.insert(u"sub dir"_s);
        expected.insert(FileName::decode("caf\xe9"));
        QCOMPARE(names, expected);

        QVERIFY(writeFile(folder + u"/later"_s, "x"));
        QCOMPARE(parent.children().size(), size_t(expected.size()));
        QVERIFY(FileEntry(folder + u"/a"_s).children().empty());
        QVERIFY(FileEntry(m_work + u"/missing"_s).children().empty());
    }

    void descriptorsOfEqualContentsShareOneScratchFolder()
    {
        QVERIFY(writeFile(m_work + u"/one"_s, "same"));
        QVERIFY(writeFile(m_work + u"/two"_s, "same"));
        FileEntry first(m_work + u"/one"_s);
        FileEntry second(m_work + u"/two"_s);
        const QString scratch = first.tempPath();
        QCOMPARE(scratch, Paths::cachesFolder() + u"/."_s + Paths::fileMD5(m_work + u"/one"_s));
        QVERIFY(Paths::isFolder(scratch));
        QVERIFY(writeFile(scratch + u"/work"_s, "x"));

        QCOMPARE(second.tempPath(), scratch);
        QVERIFY(!exists(scratch + u"/work"_s)); // the second read cleared it

        // Later reads are remembered and do not touch the disk.
        QVERIFY(writeFile(scratch + u"/work"_s, "x"));
        QCOMPARE(second.tempPath(), scratch);
        QVERIFY(exists(scratch + u"/work"_s));

        second.removeTempPath();
        QVERIFY(!exists(scratch));
        QCOMPARE(second.tempPath(), scratch);
        QVERIFY(Paths::isFolder(scratch));
    }

    void removingANeverReadScratchFolder()
    {
        QVERIFY(writeFile(m_work + u"/one"_s, "other"));
        FileEntry made(m_work + u"/one"_s);
        const QString scratch = made.tempPath();
        FileEntry unread(m_work + u"/one"_s);
        unread.removeTempPath();
        QVERIFY(!exists(scratch));
        QVERIFY(exists(Paths::cachesFolder()));
    }

    void scratchOfAMissingPathNamedDotStaysInside()
    {
        // fileMD5 of a missing "x/." is ".", which would name the caches folder's parent.
        const QString caches = Paths::cachesFolder();
        QVERIFY(QDir().mkpath(caches));
        FileEntry dot(m_work + u"/missing/."_s);
        dot.removeTempPath();
        QVERIFY(exists(caches));
        FileEntry dotdot(m_work + u"/missing/.."_s);
        dotdot.removeTempPath();
        QVERIFY(exists(caches));
        QVERIFY(dot.tempPath().isNull());
    }
};

QTEST_GUILESS_MAIN(TestFileEntry)
#include "tst_fileentry.moc"
