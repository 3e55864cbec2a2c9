// `pallstone setup` run as a user would run it, against a private configuration folder.
#include "PlistCodec.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace pallstone;

namespace {

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

QStringList keysOf(const Value& list)
{
    QStringList keys;
    for (const Value& record : list.list())
        keys.append(record.value(QStringLiteral("key")).string());
    return keys;
}

} // namespace

class TestSetupCommand : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_home;

    QString storePath() const
    {
        return m_home.filePath(
            QStringLiteral("config/pallstone/group.com.tolvane.pallstone.plist"));
    }

    Run setup()
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), m_home.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), m_home.filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("XDG_CACHE_HOME"), m_home.filePath(QStringLiteral("cache")));
        env.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(PALLSTONE_APP), {QStringLiteral("setup")});
        if (!p.waitForFinished(60000))
            return {};
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
                QString::fromUtf8(p.readAllStandardError())};
    }

    Value store() const
    {
        QFile f(storePath());
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return PlistCodec::parse(f.readAll());
    }

private Q_SLOTS:
    void init() { QFile::remove(storePath()); }

    void aFreshHomeIsSeededOnceAndLeftAloneAfterwards()
    {
        const Run first = setup();
        QCOMPARE(first.exitCode, 0);
        QVERIFY2(first.err.isEmpty(), qPrintable(first.err));
        QVERIFY(first.out.contains(storePath()));
        QVERIFY(first.out.contains(QStringLiteral("Main menu: 28 entries")));

        const Value root = store();
        QCOMPARE(root.value(QStringLiteral("array right menu")).count(), 28);
        QVERIFY(!PlistCodec::toXml(root.value(QStringLiteral("array right menu")))
                     .contains("is changed version"));
        QCOMPARE(root.value(QStringLiteral("array new file")).count(), 23);
        QCOMPARE(root.value(QStringLiteral("array common app")).count(), 11);
        QCOMPARE(root.value(QStringLiteral("update version")).string(), QStringLiteral("2.6.0"));
        QCOMPARE(root.value(QStringLiteral("common path next menu")).integer(), 3);
        QCOMPARE(root.value(QStringLiteral("array folder icon")).count(), 20);
        QVERIFY(QFileInfo(m_home.filePath(QStringLiteral("data/pallstone"))).isDir());

        struct stat before
        {};
        QCOMPARE(::stat(QFile::encodeName(storePath()).constData(), &before), 0);
        const QByteArray bytes = [this] {
            QFile f(storePath());
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();
        QCOMPARE(setup().exitCode, 0);
        struct stat after
        {};
        QCOMPARE(::stat(QFile::encodeName(storePath()).constData(), &after), 0);
        QCOMPARE(after.st_ino, before.st_ino); // not even rewritten
        QFile f(storePath());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), bytes);
    }

    void aStoreFromVersion229IsUpgradedKeepingTheUsersChoices()
    {
        QVERIFY(QFileInfo(storePath()).absoluteDir().mkpath(QStringLiteral(".")));
        QVERIFY(QFile::copy(QStringLiteral(PALLSTONE_TEST_DATA "/store-2.2.9.plist"), storePath()));
        QFile::setPermissions(storePath(), QFile::ReadOwner | QFile::WriteOwner);
        const Run run = setup();
        QCOMPARE(run.exitCode, 0);
        const Value root = store();
        const Value main = root.value(QStringLiteral("array right menu"));
        const QStringList keys = keysOf(main);
        for (const QString& key :
             {QStringLiteral("Lock and Unlock"), QStringLiteral("Embed in Folder"),
              QStringLiteral("Unembed Folder"), QStringLiteral("Color Picker"),
              QStringLiteral("Execute Script")})
            QVERIFY2(keys.contains(key), qPrintable(key));
        QCOMPARE(keys.count(QStringLiteral("Cut Paste")), 1);
        QCOMPARE(keys.count(QStringLiteral("Folder Icon")), 1);
        QCOMPARE(main.at(keys.indexOf(QStringLiteral("Copy to")))
                     .value(QStringLiteral("displayName"))
                     .string(),
                 QStringLiteral("Copy somewhere"));
        QVERIFY(keysOf(root.value(QStringLiteral("array new file")))
                    .contains(QStringLiteral("New File From Window")));
        QVERIFY(keysOf(root.value(QStringLiteral("array common app")))
                    .contains(QStringLiteral("Warp")));
        QCOMPARE(root.value(QStringLiteral("array folder icon")).count(), 20);
        QCOMPARE(root.value(QStringLiteral("update version")).string(), QStringLiteral("2.6.0"));
        QCOMPARE(root.value(QStringLiteral("common path next menu")).integer(), 4);
        QCOMPARE(root.value(QStringLiteral("use count")).integer(), 17);
        QCOMPARE(root.value(QStringLiteral("array common path")).count(), 1);
    }

    void anUnreadableStoreIsKeptAsideAndReplaced()
    {
        QVERIFY(QFileInfo(storePath()).absoluteDir().mkpath(QStringLiteral(".")));
        QFile f(storePath());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("<?xml version=\"1.0\"?><plist><dict><key>array right");
        f.close();
        const Run run = setup();
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.err.contains(QStringLiteral("unreadable")), qPrintable(run.err));
        QCOMPARE(store().value(QStringLiteral("array right menu")).count(), 28);
        const QStringList kept = QFileInfo(storePath())
                                     .absoluteDir()
                                     .entryList({QStringLiteral("*.unreadable-*")}, QDir::Files);
        QCOMPARE(kept.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestSetupCommand)
#include "tst_setupcommand.moc"
