// Folder icons applied and removed through `pallstone-extension run --answers --transcript`, read
// back as the file managers read them: GVFS metadata through `gio info` on this private session
// bus (with its own gvfsd-metadata), and the Icon key of ".directory".
#include "DefaultCatalogue.h"
#include "MenuStore.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using namespace Qt::StringLiterals;
using namespace pallstone;

class TestFolderIcon : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_home;
    QList<QProcess*> m_daemons;
    QString m_noGvfs; // why the GVFS half cannot be checked here; empty when it can

    QString path(const QString& relative) const { return m_home.filePath(relative); }

    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"HOME"_s, m_home.path());
        env.insert(u"XDG_CONFIG_HOME"_s, path(u".config"_s));
        env.insert(u"XDG_DATA_HOME"_s, path(u".local/share"_s));
        env.insert(u"XDG_CACHE_HOME"_s, path(u".cache"_s));
        env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        return env;
    }

    QByteArray run(const QString& program, const QStringList& args)
    {
        QProcess p;
        p.setProcessEnvironment(environment());
        p.start(program, args);
        if (!p.waitForFinished(60000) || p.exitCode() != 0)
            QTest::qFail(
                qPrintable(program + u" failed: "_s + QString::fromUtf8(p.readAllStandardError())),
                __FILE__, __LINE__);
        return p.readAllStandardOutput();
    }

    QByteArray read(const QString& file) const
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    void write(const QString& file, const QByteArray& bytes)
    {
        QDir().mkpath(QFileInfo(file).absolutePath());
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(f.write(bytes), bytes.size());
    }

    // The Folder Icon submenu's entries for a menu on these folders, by key, with their tags.
    QList<std::pair<QString, qint64>> submenu(const QStringList& folders)
    {
        QList<std::pair<QString, qint64>> entries;
        const QJsonArray menu = QJsonDocument::fromJson(run(QStringLiteral(PALLSTONE_EXTENSION),
                                                            QStringList{u"menu"_s} + folders))
                                    .array();
        for (const QJsonValue& v : menu) {
            if (v[u"key"_s].toString() != u"Folder Icon")
                continue;
            for (const QJsonValue& c : v[u"children"_s].toArray())
                entries.append({c[u"key"_s].toString(), c[u"tag"_s].toInteger()});
        }
        return entries;
    }

    // Chooses the submenu entry; the transcript's events.
    QList<QJsonObject> choose(const QStringList& folders, const QString& key)
    {
        qint64 tag = 0;
        for (const auto& [k, t] : submenu(folders))
            tag = k == key ? t : tag;
        if (tag <= 0) {
            QTest::qFail(qPrintable(u"no entry "_s + key), __FILE__, __LINE__);
            return {};
        }
        const QString log = path(u"transcript.jsonl"_s);
        QFile::remove(log);
        write(path(u"answers.json"_s), "[]");
        run(QStringLiteral(PALLSTONE_EXTENSION),
            QStringList{u"run"_s, u"--tag"_s, QString::number(tag), u"--answers"_s,
                        path(u"answers.json"_s), u"--transcript"_s, log} +
                folders);
        QList<QJsonObject> events;
        for (const QByteArray& line : read(log).split('\n')) {
            if (!line.trimmed().isEmpty())
                events.append(QJsonDocument::fromJson(line).object());
        }
        return events;
    }

    // The custom icon GIO reads for the item, as a local path; empty when it has none.
    QString gvfsIcon(const QString& item)
    {
        const QString out = QString::fromUtf8(
            run(u"gio"_s, {u"info"_s, u"-a"_s, u"metadata::custom-icon"_s, item}));
        const qsizetype at = out.indexOf(u"metadata::custom-icon: "_s);
        if (at < 0)
            return {};
        const QString uri = out.mid(at + 23).section(u'\n', 0, 0).trimmed();
        return QUrl(uri).toLocalFile();
    }

    static QStringList iconLines(const QByteArray& directory)
    {
        QStringList lines;
        for (const QByteArray& line : directory.split('\n')) {
            if (line.startsWith("Icon="))
                lines.append(QString::fromUtf8(line.mid(5)));
        }
        return lines;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(QDBusConnection::sessionBus().isConnected(),
                 "run on a private session bus (dbus-run-session)");
        const QProcessEnvironment env = environment();
        for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
            qputenv(name, env.value(QLatin1String(name)).toLocal8Bit());
        run(QStringLiteral(PALLSTONE_APP), {u"setup"_s});
        // The folder-icon list is seeded by the settings' Recover; the review invitation is not
        // what this test is about.
        DefaultCatalogue::recoverFolderIcon();
        MenuStore::sharedDefaults().setObject(Value(true), StoreKey::isReviewed);

        // GIO uses GVFS only while its main daemon answers; the metadata daemon keeps the data.
        auto* bus = QDBusConnection::sessionBus().interface();
        const std::pair<QString, QString> daemons[] = {
            {u"gvfsd"_s, u"org.gtk.vfs.Daemon"_s},
            {u"gvfsd-metadata"_s, u"org.gtk.vfs.Metadata"_s}};
        for (const auto& [name, service] : daemons) {
            const QString program = u"/usr/libexec/"_s + name;
            if (!QFileInfo(program).isExecutable()) {
                m_noGvfs = program + u" is not installed (Debian package gvfs)"_s;
                return;
            }
            auto* daemon = new QProcess(this);
            daemon->setProcessEnvironment(env);
            daemon->start(program, name == u"gvfsd" ? QStringList{u"--no-fuse"_s} : QStringList{});
            m_daemons.append(daemon);
            QElapsedTimer clock;
            clock.start();
            while (!bus->isServiceRegistered(service) && clock.elapsed() < 10000)
                QTest::qWait(50);
            if (!bus->isServiceRegistered(service)) {
                m_noGvfs = name + u" did not come up on the test's bus: "_s +
                           QString::fromUtf8(daemon->readAllStandardError());
                return;
            }
        }
    }

    void cleanupTestCase()
    {
        for (QProcess* daemon : m_daemons) {
            daemon->terminate();
            daemon->waitForFinished(5000);
        }
    }

    void anIconReachesEverySelectedFolderAndRecoverTakesOnlyItAway()
    {
        // A user's own entry, as the settings write it: its PNG in the folder icons' folder.
        const QString own = MenuStore::folderIconFolder() + u"/0F1E-mine.png"_s;
        QImage picture(120, 60, QImage::Format_ARGB32);
        picture.fill(QColor(10, 200, 30));
        QVERIFY(picture.save(own, "PNG"));
        Value record = Value::dictionary();
        record.insert(u"key"_s, u"0F1E-mine"_s);
        record.insert(u"displayName"_s, u"Mine"_s);
        record.insert(u"iconPath"_s, own);
        QVERIFY(MenuStore::addMenuKey(StoreKey::folderIcon, record, false));

        const QString plain = path(u"Plain $(x) 'folder'"_s);
        const QString styled = path(u"Styled"_s);
        QVERIFY(QDir().mkpath(plain));
        const QByteArray settings =
            "[Dolphin]\nViewMode=1\n\n[Desktop Entry]\nIcon=folder-red\nX-Kept=yes\n";
        write(styled + u"/.directory"_s, settings);
        const QStringList folders{plain, styled};
        QCOMPARE(submenu({styled}).first().first, u"Recover Icon"_s); // it has one already
        QCOMPARE(submenu({plain}).first().first, u"love"_s);

        QList<QJsonObject> events = choose(folders, u"0F1E-mine"_s);
        QVERIFY2(events.isEmpty(), qPrintable(QJsonDocument(events.value(0)).toJson()));
        const QStringList applied = iconLines(read(plain + u"/.directory"_s));
        QCOMPARE(applied.size(), 1);
        QVERIFY(applied.first().startsWith(MenuStore::appliedIconFolder() + u'/'));
        QCOMPARE(read(applied.first()), read(own));
        QCOMPARE(read(styled + u"/.directory"_s),
                 "[Dolphin]\nViewMode=1\n\n[Desktop Entry]\nIcon=" + applied.first().toUtf8() +
                     "\nX-Kept=yes\n");
        if (m_noGvfs.isEmpty()) {
            QCOMPARE(gvfsIcon(plain), applied.first());
            QCOMPARE(gvfsIcon(styled), applied.first());
        }
        QCOMPARE(submenu({plain}).first().first, u"Recover Icon"_s);

        // Deleting the entry deletes its PNG, never the decorated folders' picture.
        QVERIFY(MenuStore::removeMenuKey(StoreKey::folderIcon, u"0F1E-mine"_s));
        QVERIFY(!QFile::exists(own));
        QCOMPARE(QImage(applied.first()).size(), QSize(120, 60));
        // Nor when a record (say, from a profile) names the applied picture itself.
        Value pointing = Value::dictionary();
        pointing.insert(u"key"_s, u"pointing"_s);
        pointing.insert(u"iconPath"_s, applied.first());
        QVERIFY(MenuStore::addMenuKey(StoreKey::folderIcon, pointing, false));
        QVERIFY(MenuStore::removeMenuKey(StoreKey::folderIcon, u"pointing"_s));
        QVERIFY(QFile::exists(applied.first()));

        events = choose(folders, u"Recover Icon"_s);
        QVERIFY(events.isEmpty());
        QVERIFY(!QFile::exists(plain + u"/.directory"_s));
        QCOMPARE(read(styled + u"/.directory"_s),
                 "[Dolphin]\nViewMode=1\n\n[Desktop Entry]\nX-Kept=yes\n");
        if (m_noGvfs.isEmpty()) {
            QCOMPARE(gvfsIcon(plain), QString());
            QCOMPARE(gvfsIcon(styled), QString());
        }
        QCOMPARE(submenu(folders).first().first, u"love"_s);
    }

    // A default icon applies its own picture; an entry whose picture is gone changes nothing and
    // says so, instead of taking the folder's icon away.
    void aDefaultIconAppliesItsPictureAndAMissingOneIsReported()
    {
        const QString folder = path(u"Default"_s);
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(choose({folder}, u"google"_s).isEmpty());
        const QStringList applied = iconLines(read(folder + u"/.directory"_s));
        QCOMPARE(applied.size(), 1);
        QCOMPARE(QImage(applied.first()).size(), QSize(120, 120));

        Value record = Value::dictionary();
        record.insert(u"key"_s, u"../../gone"_s);
        record.insert(u"iconPath"_s, path(u"no such picture.png"_s));
        QVERIFY(MenuStore::addMenuKey(StoreKey::folderIcon, record, true));
        const QList<QJsonObject> events = choose({folder}, u"../../gone"_s);
        QCOMPARE(events.size(), 1);
        QCOMPARE(events.first()[u"event"_s].toString(), u"notification"_s);
        QCOMPARE(iconLines(read(folder + u"/.directory"_s)), applied);
    }

    void gvfsMetadataWasReadBack()
    {
        if (!m_noGvfs.isEmpty())
            QSKIP(qPrintable(u"GVFS half not checked: "_s + m_noGvfs));
    }
};

QTEST_GUILESS_MAIN(TestFolderIcon)
#include "tst_applyfoldericon.moc"
