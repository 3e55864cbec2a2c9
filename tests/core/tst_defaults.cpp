#include "Defaults.h"
#include "PlistCodec.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <array>
#include <csignal>
#include <cstdio>
#include <memory>

using namespace pallstone;

namespace {

// Child roles: this executable is started again with one of these as its first argument.
constexpr char kWriterRole[] = "--child-writer";
constexpr char kBigWriterRole[] = "--child-big-writer";
constexpr char kSlotWriterRole[] = "--child-slot-writer";
constexpr int kSlots = 10;

int runWriter(const QString& store, const QString& prefix, int count)
{
    Defaults defaults(store);
    for (int i = 0; i < count; ++i) {
        if (!defaults.setObject(i, prefix + QString::number(i)))
            return 1;
    }
    return 0;
}

// Writes ever newer generations of a large store until killed. Every entry of one generation
// carries the same number, so a torn file would show two.
int runBigWriter(const QString& store)
{
    Defaults defaults(store);
    for (int generation = 1;; ++generation) {
        const bool ok = defaults.update([generation](Value& root) {
            for (int k = 0; k < 400; ++k) {
                Value list = Value::array();
                for (int e = 0; e < 20; ++e)
                    list.append(QStringLiteral("generation %1 entry %2").arg(generation).arg(e));
                root.insert(QStringLiteral("key%1").arg(k), list);
            }
            root.insert(QStringLiteral("generation"), generation);
        });
        if (!ok)
            return 1;
    }
}

// Writes first ... count - 1, each number into slot number % kSlots, and acknowledges each write
// on stdout once the store took it.
int runSlotWriter(const QString& store, const QString& prefix, int first, int count)
{
    Defaults defaults(store);
    for (int i = first; i < count; ++i) {
        if (!defaults.setObject(i, prefix + QString::number(i % kSlots)))
            return 1;
        std::printf("%d\n", i);
        std::fflush(stdout);
    }
    return 0;
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

} // namespace

class TestDefaults : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString storePath(const QString& name = QStringLiteral("store.plist")) const
    {
        return m_dir.filePath(name);
    }

private Q_SLOTS:
    void valuesSurviveAWriteAndARead()
    {
        const QString path = storePath(QStringLiteral("roundtrip.plist"));
        {
            Defaults d(path);
            Value list = Value::array();
            Value record = Value::dictionary();
            record.insert(QStringLiteral("key"), QStringLiteral("Copy to"));
            record.insert(QStringLiteral("disabled"), true);
            record.insert(QStringLiteral("n"), -3);
            record.insert(QStringLiteral("x"), 2.5);
            record.insert(QStringLiteral("blob"), QByteArray("\0\1\2", 3));
            list.append(record);
            QVERIFY(d.setObject(list, QStringLiteral("array right menu")));
            QVERIFY(d.setObject(QStringLiteral("naïve \"quoted\" <tag> & $x `y`\nline"),
                                QStringLiteral("text")));
        }
        Defaults again(path);
        const Value record = again.arrayForKey(QStringLiteral("array right menu")).at(0);
        QCOMPARE(record.value(QStringLiteral("key")).string(), QStringLiteral("Copy to"));
        QCOMPARE(record.value(QStringLiteral("disabled")).kind(), Value::Kind::Boolean);
        QCOMPARE(record.value(QStringLiteral("n")).integer(), -3);
        QCOMPARE(record.value(QStringLiteral("x")).real(), 2.5);
        QCOMPARE(record.value(QStringLiteral("blob")).data(), QByteArray("\0\1\2", 3));
        QCOMPARE(again.stringForKey(QStringLiteral("text")),
                 QStringLiteral("naïve \"quoted\" <tag> & $x `y`\nline"));
        QVERIFY(!record.isMutableDictionary()); // stored configuration reads back immutable
    }

    void aChangeByAnotherWriterIsSeenAtTheNextRead()
    {
        const QString path = storePath(QStringLiteral("shared.plist"));
        Defaults reader(path);
        Defaults writer(path);
        QVERIFY(reader.object(QStringLiteral("k")).isMissing());
        QVERIFY(writer.setObject(1, QStringLiteral("k")));
        QCOMPARE(reader.integerForKey(QStringLiteral("k")), 1);
        QVERIFY(writer.setObject(2, QStringLiteral("k")));
        QCOMPARE(reader.integerForKey(QStringLiteral("k")), 2);
        QVERIFY(writer.removeObject(QStringLiteral("k")));
        QVERIFY(reader.object(QStringLiteral("k")).isMissing());
        QVERIFY(writer.setObject(3, QStringLiteral("k")));
        QCOMPARE(reader.integerForKey(QStringLiteral("k")), 3);
        // A store deleted behind the reader's back reads empty, not as it was.
        QVERIFY(QFile::remove(path));
        QVERIFY(reader.object(QStringLiteral("k")).isMissing());
        reader.reload();
        QVERIFY(reader.object(QStringLiteral("k")).isMissing());
    }

    void aZeroCharacterInAKeyOrAStringNeitherStopsTheProgramNorLosesTheRest()
    {
        // A binary store (another program's, a hostile profile) with {"k": "\u00e9\0b",
        // "\u00e9\0": 7}, both strings in UTF-16.
        const QByteArray binary(
            "bplist00\xd2\x01\x02\x03\x04\x51k\x62\0\xe9\0\0\x63\0\xe9\0\0\0\x62"
            "\x10\x07\x08\x0d\x0f\x14\x1b\0\0\0\0\0\0\x01\x01\0\0\0\0\0\0\0\x05"
            "\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\x1d",
            66);
        const QString path = storePath(QStringLiteral("zero.plist"));
        writeBytes(path, binary);
        Defaults store(path);
        QCOMPARE(store.stringForKey(QStringLiteral("k")), QStringLiteral("\u00e9\ufffdb"));
        QCOMPARE(store.integerForKey(QStringLiteral("\u00e9\ufffd")), 7);
    }

    void badStoresReadEmptyAndAreReplacedWithoutLoss_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<bool>("keepsACopy");
        QTest::newRow("empty") << QByteArray() << false;
        QTest::newRow("truncated")
            << QByteArray("<?xml version=\"1.0\"?><plist><dict><key>a</key>") << true;
        QTest::newRow("not a property list") << QByteArray("hello, world\n") << true;
        QTest::newRow("an array, not a dictionary")
            << PlistCodec::toXml(Value::array({1, 2})) << true;
        QTest::newRow("binary garbage") << QByteArray("bplist00\xff\xff\xff\xff", 12) << true;
    }
    void badStoresReadEmptyAndAreReplacedWithoutLoss()
    {
        QFETCH(QByteArray, contents);
        QFETCH(bool, keepsACopy);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("bad.plist"));
        writeBytes(path, contents);
        Defaults d(path);
        QVERIFY(d.dictionaryRepresentation().isDictionary());
        QCOMPARE(d.dictionaryRepresentation().count(), 0);
        QVERIFY(d.arrayForKey(QStringLiteral("array right menu")).isMissing());
        QVERIFY(d.setObject(QStringLiteral("v"), QStringLiteral("k")));
        QCOMPARE(Defaults(path).stringForKey(QStringLiteral("k")), QStringLiteral("v"));
        QCOMPARE(!d.lastBackupPath().isEmpty(), keepsACopy);
        if (keepsACopy) {
            QFile backup(d.lastBackupPath());
            QVERIFY(backup.open(QIODevice::ReadOnly));
            QCOMPARE(backup.readAll(), contents);
        }
    }

    void aMissingStoreIsCreatedWithItsFolder()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a/b/store.plist"));
        Defaults d(path);
        QVERIFY(d.object(QStringLiteral("x")).isMissing());
        QVERIFY(d.setObject(true, QStringLiteral("x")));
        QVERIFY(QFile::exists(path));
        QVERIFY(d.boolForKey(QStringLiteral("x")));
    }

    void aFailedWriteLeavesTheStoreAsItWas()
    {
        if (geteuid() == 0)
            QSKIP("root writes into read-only folders");
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("ro.plist"));
        Defaults d(path);
        QVERIFY(d.setObject(1, QStringLiteral("k")));
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
        QVERIFY(!d.setObject(2, QStringLiteral("k")));
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(Defaults(path).integerForKey(QStringLiteral("k")), 1);
    }

    void twoProcessesWritingDifferentKeysLoseNothing()
    {
        const QString path = storePath(QStringLiteral("concurrent.plist"));
        const int count = 150;
        QProcess a, b;
        const QString self = QCoreApplication::applicationFilePath();
        a.start(self,
                {QLatin1String(kWriterRole), path, QStringLiteral("a"), QString::number(count)});
        b.start(self,
                {QLatin1String(kWriterRole), path, QStringLiteral("b"), QString::number(count)});
        // A third writer in this process, on another thread's schedule, joins in too.
        Defaults local(path);
        for (int i = 0; i < count; ++i)
            QVERIFY(local.setObject(i, QStringLiteral("c") + QString::number(i)));
        QVERIFY(a.waitForFinished(120000));
        QVERIFY(b.waitForFinished(120000));
        QCOMPARE(a.exitCode(), 0);
        QCOMPARE(b.exitCode(), 0);
        const Value root = Defaults(path).dictionaryRepresentation();
        QCOMPARE(root.count(), 3 * count);
        for (const QString& prefix :
             {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}) {
            for (int i = 0; i < count; ++i)
                QCOMPARE(root.value(prefix + QString::number(i)).integer(), qint64(i));
        }
    }

    void aWriterKilledMidWriteLeavesTheOldOrTheNewFile()
    {
        const QString path = storePath(QStringLiteral("crash.plist"));
        const QString self = QCoreApplication::applicationFilePath();
        int lastGeneration = 0;
        for (int round = 0; round < 12; ++round) {
            QProcess writer;
            writer.start(self, {QLatin1String(kBigWriterRole), path});
            QVERIFY(writer.waitForStarted());
            QTest::qWait(150 + QRandomGenerator::global()->bounded(250));
            ::kill(static_cast<pid_t>(writer.processId()), SIGKILL);
            QVERIFY(writer.waitForFinished());

            Defaults reader(path);
            const Value root = reader.dictionaryRepresentation();
            if (root.count() == 0)
                continue; // killed before its first write finished: the old (absent) file
            const qint64 generation = root.value(QStringLiteral("generation")).integer();
            for (int k = 0; k < 400; ++k) {
                const Value list = root.value(QStringLiteral("key%1").arg(k));
                QCOMPARE(list.count(), 20);
                QVERIFY(list.at(19).string().startsWith(
                    QStringLiteral("generation %1 ").arg(generation)));
            }
            lastGeneration = int(generation);
        }
        QVERIFY2(lastGeneration > 0, "the writer never completed a write");
        // The next writer clears what the killed ones left behind.
        QVERIFY(Defaults(path).setObject(1, QStringLiteral("after")));
        const QStringList leftovers =
            QDir(m_dir.path()).entryList({QStringLiteral("crash.plist.??????")}, QDir::Files);
        QVERIFY2(leftovers.isEmpty(), qPrintable(leftovers.join(u' ')));
    }

    void fourWritersKilledAtRandomLoseNoAcknowledgedWrite()
    {
        // Memory-backed where there is one: a kill tests the locking and the renames, not the
        // disk, and the run stays short.
        const QTemporaryDir dir(QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                                    ? QStringLiteral("/dev/shm/pallstone-test-XXXXXX")
                                    : QDir::tempPath() + QStringLiteral("/pallstone-test-XXXXXX"));
        const QString path = dir.filePath(QStringLiteral("killed.plist"));
        const QString self = QCoreApplication::applicationFilePath();
        constexpr int kWriters = 4;
        constexpr int kWrites = 2000;
        struct Writer
        {
            std::unique_ptr<QProcess> process;
            int next = 0;
            QByteArray pending;
            std::array<int, kSlots> acknowledged{-1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
        };
        std::array<Writer, kWriters> writers;
        const auto prefix = [](int w) { return QStringLiteral("w%1.").arg(w); };
        const auto start = [&](int w) {
            Writer& writer = writers[size_t(w)];
            writer.pending.clear();
            writer.process = std::make_unique<QProcess>();
            writer.process->start(self, {QLatin1String(kSlotWriterRole), path, prefix(w),
                                         QString::number(writer.next), QString::number(kWrites)});
        };
        const auto takeAcknowledgements = [&](Writer& writer) {
            writer.pending += writer.process->readAllStandardOutput();
            for (qsizetype end; (end = writer.pending.indexOf('\n')) >= 0;) {
                const int i = writer.pending.left(end).toInt();
                writer.pending.remove(0, end + 1);
                writer.acknowledged[size_t(i % kSlots)] = i;
                writer.next = i + 1;
            }
        };
        // Readable at every moment, and every acknowledged write there (or a later one).
        const auto check = [&]() -> bool {
            Defaults reader(path);
            const Value root = reader.dictionaryRepresentation();
            if (reader.isUnreadable())
                return false;
            for (int w = 0; w < kWriters; ++w) {
                for (int slot = 0; slot < kSlots; ++slot) {
                    const int wanted = writers[size_t(w)].acknowledged[size_t(slot)];
                    const Value v = root.value(prefix(w) + QString::number(slot));
                    if (wanted >= 0 &&
                        (!v.isNumber() || v.integer() < wanted || v.integer() % kSlots != slot))
                        return false;
                }
            }
            return true;
        };

        for (int w = 0; w < kWriters; ++w)
            start(w);
        QElapsedTimer clock;
        clock.start();
        int kills = 0;
        int finished = 0;
        while (finished < kWriters) {
            QVERIFY2(clock.elapsed() < 240000, "the writers did not finish");
            QThread::msleep(5 + QRandomGenerator::global()->bounded(30));
            const int w = int(QRandomGenerator::global()->bounded(kWriters));
            Writer& writer = writers[size_t(w)];
            if (!writer.process)
                continue;
            if (!writer.process->waitForFinished(0)) {
                ::kill(static_cast<pid_t>(writer.process->processId()), SIGKILL);
                QVERIFY(writer.process->waitForFinished(10000));
                ++kills;
            } else {
                QCOMPARE(writer.process->exitStatus(), QProcess::NormalExit);
                QCOMPARE(writer.process->exitCode(), 0);
            }
            takeAcknowledgements(writer);
            QVERIFY2(check(), "a write was lost or the store was unreadable");
            if (writer.next < kWrites) {
                start(w);
            } else {
                writer.process.reset();
                ++finished;
            }
        }
        qInfo("%d writers killed", kills);
        QVERIFY(kills > 0);
        for (const Writer& writer : writers) {
            for (int slot = 0; slot < kSlots; ++slot)
                QCOMPARE(writer.acknowledged[size_t(slot)], kWrites - kSlots + slot);
        }
        QVERIFY(check());
    }
};

int main(int argc, char* argv[])
{
    if (argc >= 6 && qstrcmp(argv[1], kSlotWriterRole) == 0)
        return runSlotWriter(QFile::decodeName(argv[2]), QString::fromUtf8(argv[3]), atoi(argv[4]),
                             atoi(argv[5]));
    if (argc >= 5 && qstrcmp(argv[1], kWriterRole) == 0)
        return runWriter(QFile::decodeName(argv[2]), QString::fromUtf8(argv[3]), atoi(argv[4]));
    if (argc >= 3 && qstrcmp(argv[1], kBigWriterRole) == 0)
        return runBigWriter(QFile::decodeName(argv[2]));
    QCoreApplication app(argc, argv);
    TestDefaults test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_defaults.moc"
