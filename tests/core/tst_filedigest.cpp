// The checksums of "File Info": agreement with the system's checksum tools, streaming, and what is
// refused before anything is read.
#include "FileDigest.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/types.h>

using pallstone::FileDigest;
using Algorithm = FileDigest::Algorithm;

Q_DECLARE_METATYPE(FileDigest::Algorithm)

namespace {

// What a checksum tool says of the file: the first word of its output, CRC-32 as decimal.
QString toolSays(Algorithm algorithm, const QString& path)
{
    QString program;
    QStringList arguments{path};
    switch (algorithm) {
    case Algorithm::MD5:
        program = QStringLiteral("md5sum");
        break;
    case Algorithm::SHA1:
        program = QStringLiteral("sha1sum");
        break;
    case Algorithm::SHA256:
        program = QStringLiteral("sha256sum");
        break;
    case Algorithm::SHA512:
        program = QStringLiteral("sha512sum");
        break;
    case Algorithm::CRC32:
        program = QStringLiteral("rhash");
        arguments = {QStringLiteral("--printf=%c"), path};
        break;
    }
    if (QStandardPaths::findExecutable(program).isEmpty())
        return {};
    QProcess p;
    p.start(program, arguments);
    if (!p.waitForFinished(600000) || p.exitCode() != 0)
        return {};
    const QString word =
        QString::fromLatin1(p.readAllStandardOutput()).trimmed().section(u' ', 0, 0);
    if (algorithm != Algorithm::CRC32)
        return word;
    // rhash prints the CRC as eight hex digits; the entry shows it as a decimal number.
    bool ok = false;
    const uint value = word.toUInt(&ok, 16);
    return ok ? QString::number(value) : QString();
}

long maxResidentKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

class TestFileDigest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    // A file of the given size that is mostly a hole, with a few bytes of data at both ends and in
    // the middle so that a reader that skips or repeats a chunk gets a different answer.
    QString sparse(const QString& name, qint64 size)
    {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || !f.resize(size))
            qFatal("cannot make %s", qPrintable(path));
        for (const qint64 at : {qint64(0), size / 2 + 12345, size - 7}) {
            f.seek(at);
            f.write("pallstone");
        }
        f.resize(size);
        return path;
    }

    void compareWithTools(const QString& path)
    {
        for (const Algorithm algorithm : {Algorithm::MD5, Algorithm::SHA1, Algorithm::SHA256,
                                          Algorithm::SHA512, Algorithm::CRC32}) {
            const QString expected = toolSays(algorithm, path);
            if (expected.isEmpty())
                QSKIP("a checksum tool is missing (coreutils, rhash)");
            const FileDigest::Result result = FileDigest::hashOfFileAtPath(algorithm, path);
            QVERIFY(result.isValid());
            QCOMPARE(result.value, expected);
        }
    }

private Q_SLOTS:
    void agreesWithTheChecksumTools_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("0 bytes") << QByteArray();
        QTest::newRow("1 byte") << QByteArray("\xff", 1);
        QByteArray page(4096, '\0');
        for (int i = 0; i < page.size(); ++i)
            page[i] = char((i * 131 + 7) & 0xff);
        QTest::newRow("4 KiB") << page;
        // One byte past a chunk: the last read is short and must still count.
        QTest::newRow("chunk + 1") << QByteArray(FileDigest::kChunkSize + 1, 'z');
    }
    void agreesWithTheChecksumTools()
    {
        QFETCH(QByteArray, content);
        compareWithTools(write(QStringLiteral("small"), content));
    }

    void knownValuesInTheirShownForm()
    {
        const QString abc = write(QStringLiteral("abc"), "abc");
        const QString empty = write(QStringLiteral("empty"), {});
        // Decimal, not the hexadecimal 352441C2.
        QCOMPARE(FileDigest::crc32HashOfFileAtPath(abc), QStringLiteral("891568578"));
        QCOMPARE(FileDigest::crc32HashOfFileAtPath(empty), QStringLiteral("0"));
        QCOMPARE(FileDigest::md5HashOfFileAtPath(abc),
                 QStringLiteral("900150983cd24fb0d6963f7d28e17f72"));
        QCOMPARE(FileDigest::sha1HashOfFileAtPath(abc).size(), 40);
        QCOMPARE(FileDigest::sha256HashOfFileAtPath(abc).size(), 64);
        QCOMPARE(FileDigest::sha512HashOfFileAtPath(abc).size(), 128);
        // A CRC with the top bit set is not shown as a negative number.
        const QString high = write(QStringLiteral("high"), "a");
        QCOMPARE(FileDigest::crc32HashOfFileAtPath(high), QString::number(0xe8b7be43u));
    }

    void theSubmenuPositionChoosesTheChecksum_data()
    {
        QTest::addColumn<qint64>("tag");
        QTest::addColumn<Algorithm>("algorithm");
        QTest::newRow("0") << qint64(0) << Algorithm::MD5;
        QTest::newRow("1") << qint64(1) << Algorithm::SHA1;
        QTest::newRow("2") << qint64(2) << Algorithm::SHA256;
        QTest::newRow("3") << qint64(3) << Algorithm::SHA512;
        QTest::newRow("4") << qint64(4) << Algorithm::CRC32;
        QTest::newRow("other") << qint64(-1) << Algorithm::CRC32;
    }
    void theSubmenuPositionChoosesTheChecksum()
    {
        QFETCH(qint64, tag);
        QFETCH(Algorithm, algorithm);
        QCOMPARE(FileDigest::algorithmForTag(tag), algorithm);
    }

    void largeFilesStreamWithFlatMemory()
    {
        const bool big = qEnvironmentVariableIntValue("PALLSTONE_BIG_TESTS") == 1;
        // Past 4 GiB a 32-bit length or offset would wrap.
        const qint64 size = big ? (qint64(4) << 30) + 4099 : (qint64(64) << 20) + 3;
        const QString path = sparse(QStringLiteral("large"), size);
        const long before = maxResidentKiB();
        compareWithTools(path);
        // The file never sits in memory: well under its size, whatever the size.
        QVERIFY2(
            maxResidentKiB() - before < 16 * 1024,
            qPrintable(
                QStringLiteral("resident memory grew by %1 KiB").arg(maxResidentKiB() - before)));
    }

    void whatIsNotARegularFileIsRefusedWithoutReading()
    {
        const QString fifo = m_dir.filePath(QStringLiteral("pipe"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
        QElapsedTimer timer;
        timer.start();
        // Nobody writes to the pipe: opening or reading it would wait for ever.
        for (const Algorithm algorithm : {Algorithm::MD5, Algorithm::CRC32}) {
            const FileDigest::Result result = FileDigest::hashOfFileAtPath(algorithm, fifo);
            QCOMPARE(result.failure, FileDigest::Failure::NotRegularFile);
            QVERIFY(result.value.isEmpty());
        }
        QVERIFY(timer.elapsed() < 5000);

        QCOMPARE(FileDigest::hashOfFileAtPath(Algorithm::SHA1, QStringLiteral("/dev/zero")).failure,
                 FileDigest::Failure::NotRegularFile);
        QCOMPARE(FileDigest::hashOfFileAtPath(Algorithm::MD5, m_dir.path()).failure,
                 FileDigest::Failure::NotRegularFile);
        QCOMPARE(
            FileDigest::hashOfFileAtPath(Algorithm::MD5, m_dir.filePath(QStringLiteral("gone")))
                .failure,
            FileDigest::Failure::NotFound);
        QVERIFY(FileDigest::crc32HashOfFileAtPath(m_dir.filePath(QStringLiteral("gone"))).isNull());
    }

    void anUnreadableFileHasNoValueInsteadOfTheEmptyOne()
    {
        const QString path = write(QStringLiteral("secret"), "abc");
        QFile::setPermissions(path, QFile::WriteOwner);
        if (QFile(path).open(QIODevice::ReadOnly))
            QSKIP("running with privileges that read any file");
        const FileDigest::Result crc = FileDigest::hashOfFileAtPath(Algorithm::CRC32, path);
        QCOMPARE(crc.failure, FileDigest::Failure::Unreadable);
        QVERIFY(crc.value.isEmpty()); // not "0", which is the CRC of an empty file
        QVERIFY(!crc.reason.isEmpty());
        QVERIFY(FileDigest::md5HashOfFileAtPath(path).isNull());
    }

    void aReadThatFailsPartWayGivesNoValue()
    {
        // A regular file whose first read fails: the memory of this process at address 0.
        const QString path = QStringLiteral("/proc/self/mem");
        if (!QFileInfo(path).isFile())
            QSKIP("no /proc");
        const FileDigest::Result result = FileDigest::hashOfFileAtPath(Algorithm::SHA256, path);
        QCOMPARE(result.failure, FileDigest::Failure::Unreadable);
        QVERIFY(result.value.isEmpty());
        QVERIFY(!result.reason.isEmpty());
        QCOMPARE(FileDigest::hashOfFileAtPath(Algorithm::CRC32, path).failure,
                 FileDigest::Failure::Unreadable);
    }

    void aLinkIsHashedAsTheFileItNames()
    {
        const QString target = write(QStringLiteral("target"), "abc");
        const QString link = m_dir.filePath(QStringLiteral("link"));
        QVERIFY(QFile::link(target, link));
        QCOMPARE(FileDigest::crc32HashOfFileAtPath(link), QStringLiteral("891568578"));
    }
};

QTEST_GUILESS_MAIN(TestFileDigest)
#include "tst_filedigest.moc"
