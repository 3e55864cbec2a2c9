// The palette's key registered with each desktop: in its own settings (a private schema folder and
// GSettings' keyfile backend, read back from the file the desktop's daemon would read); through a
// stand-in for the desktop's shortcut portal on a private session bus, bound by the running
// service, whose palette a press opens; and as the KDE shortcut of a desktop entry on Plasma 5.
#include "AppFixture.h"
#include "GlobalShortcutPortal.h"
#include "PaletteShortcut.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;
using pallstone::GlobalShortcutPortal;
using pallstone::PaletteShortcut;

// Creates sessions and binds what it is asked to at once, as a desktop does once the person
// confirmed; records the bindings and the sessions closed.
class FakeShortcutPortal : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.GlobalShortcuts")
    Q_PROPERTY(uint version READ version)

public:
    struct Binding
    {
        QString session;
        QList<GlobalShortcutPortal::Shortcut> shortcuts;
    };
    QList<Binding> bindings;

    uint version() const { return 1; }

    void press(const QString& session, const QString& id)
    {
        QDBusMessage signal =
            QDBusMessage::createSignal(u"/org/freedesktop/portal/desktop"_s,
                                       u"org.freedesktop.portal.GlobalShortcuts"_s, u"Activated"_s);
        signal << QVariant::fromValue(QDBusObjectPath(session)) << id << qulonglong(1)
               << QVariantMap();
        QDBusConnection::sessionBus().send(signal);
    }

public Q_SLOTS:
    QDBusObjectPath CreateSession(const QVariantMap& options, const QDBusMessage& message)
    {
        const QString session = u"/org/freedesktop/portal/desktop/session/"_s + sender(message) +
                                u'/' + options.value(u"session_handle_token"_s).toString();
        return respond(message, options, {{u"session_handle"_s, session}});
    }

    // The type named in full: QtDBus finds the slot's argument types by their registered names.
    QDBusObjectPath BindShortcuts(const QDBusObjectPath& session,
                                  const QList<pallstone::GlobalShortcutPortal::Shortcut>& shortcuts,
                                  const QString&, const QVariantMap& options,
                                  const QDBusMessage& message)
    {
        bindings.append({session.path(), shortcuts});
        return respond(message, options, {});
    }

private:
    static QString sender(const QDBusMessage& message)
    {
        return message.service().mid(1).replace(u'.', u'_');
    }

    // The request's path now, its Response once the reply is on its way.
    static QDBusObjectPath respond(const QDBusMessage& message, const QVariantMap& options,
                                   const QVariantMap& results)
    {
        const QString request = u"/org/freedesktop/portal/desktop/request/"_s + sender(message) +
                                u'/' + options.value(u"handle_token"_s).toString();
        QTimer::singleShot(0, [request, results] {
            QDBusMessage signal = QDBusMessage::createSignal(
                request, u"org.freedesktop.portal.Request"_s, u"Response"_s);
            signal << 0u << results;
            QDBusConnection::sessionBus().send(signal);
        });
        return QDBusObjectPath(request);
    }
};

// Where the service closes a session.
class FakePortalSession : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Session")

public:
    QStringList closed;

public Q_SLOTS:
    void Close(const QDBusMessage& message) { closed.append(message.path()); }
};

class TestPaletteShortcut : public QObject
{
    Q_OBJECT

private:
    AppFixture m_fixture;
    QTemporaryDir m_schemas;
    QProcess m_service;

    QString keyfile() const
    {
        QFile f(
            QDir(qEnvironmentVariable("XDG_CONFIG_HOME")).filePath(u"glib-2.0/settings/keyfile"_s));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(QFile::copy(QStringLiteral(PALLSTONE_TEST_DATA) +
                                u"/schemas/desktop-keybindings.gschema.xml"_s,
                            m_schemas.filePath(u"desktop-keybindings.gschema.xml"_s)));
        QCOMPARE(QProcess::execute(u"glib-compile-schemas"_s, {m_schemas.path()}), 0);
        // Before GIO reads either.
        qputenv("GSETTINGS_SCHEMA_DIR", QFile::encodeName(m_schemas.path()));
        qputenv("GSETTINGS_BACKEND", "keyfile");
        qunsetenv("KDE_SESSION_VERSION");
    }

    void cleanupTestCase()
    {
        if (m_service.state() != QProcess::NotRunning) {
            m_service.kill();
            m_service.waitForFinished();
        }
    }

    void theKeyIsRegisteredWhereTheDesktopReadsItAndRemovedAgain_data()
    {
        QTest::addColumn<QByteArray>("desktop");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("binding");
        QTest::addColumn<QString>("listed");
        QTest::newRow("GNOME")
            << QByteArray("ubuntu:GNOME")
            << u"[org/gnome/settings-daemon/plugins/media-keys/custom-keybindings/pallstone-palette]"_s
            << u"binding='<Super>space'"_s
            << u"custom-keybindings=['/org/gnome/settings-daemon/plugins/media-keys/custom-keybindings/pallstone-palette/']"_s;
        QTest::newRow("Cinnamon")
            << QByteArray("X-Cinnamon")
            << u"[org/cinnamon/desktop/keybindings/custom-keybindings/pallstone-palette]"_s
            << u"binding=['<Super>space']"_s << u"custom-list=['pallstone-palette']"_s;
        QTest::newRow("MATE") << QByteArray("MATE")
                              << u"[org/mate/desktop/keybindings/pallstone-palette]"_s
                              << u"binding='<Super>space'"_s << QString();
    }
    void theKeyIsRegisteredWhereTheDesktopReadsItAndRemovedAgain()
    {
        QFETCH(QByteArray, desktop);
        QFETCH(QString, section);
        QFETCH(QString, binding);
        QFETCH(QString, listed);
        qputenv("XDG_CURRENT_DESKTOP", desktop);

        PaletteShortcut::Outcome outcome =
            PaletteShortcut::apply(QKeySequence(Qt::META | Qt::Key_Space));
        QVERIFY2(outcome.registered, qPrintable(outcome.message));
        QString file = keyfile();
        const QString ours = file.mid(file.indexOf(section));
        QVERIFY2(file.contains(section), qPrintable(file));
        QVERIFY(ours.contains(binding));
        QVERIFY(ours.contains(u"pallstone-extension palette'"_s));
        if (!listed.isEmpty())
            QVERIFY2(file.contains(listed), qPrintable(file));

        outcome = PaletteShortcut::apply({});
        QVERIFY(outcome.registered);
        file = keyfile();
        QVERIFY(!file.contains(binding));
        if (!listed.isEmpty())
            QVERIFY(!file.contains(listed));
    }

    void elsewhereNothingIsRegisteredAndThePersonIsToldWhatToDo()
    {
        const QString before = keyfile();
        qputenv("XDG_CURRENT_DESKTOP", "KDE");
        const PaletteShortcut::Outcome outcome =
            PaletteShortcut::apply(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_P));
        QVERIFY(!outcome.registered);
        QVERIFY(outcome.message.contains(u"<Control><Alt>p"_s));
        QVERIFY(outcome.message.contains(PaletteShortcut::command()));
        QCOMPARE(keyfile(), before);
    }

    void thePortalBindsTheKeyInTheServiceAndAPressOpensThePalette()
    {
        QDBusConnection bus = QDBusConnection::sessionBus();
        QVERIFY2(bus.isConnected(), "run on a private session bus (dbus-run-session)");
        GlobalShortcutPortal::registerMetaTypes();
        FakeShortcutPortal portal;
        FakePortalSession sessions;
        QVERIFY(bus.registerObject(u"/org/freedesktop/portal/desktop"_s, &portal,
                                   QDBusConnection::ExportAllSlots |
                                       QDBusConnection::ExportAllProperties));
        QVERIFY(bus.registerService(u"org.freedesktop.portal.Desktop"_s));
        qputenv("XDG_CURRENT_DESKTOP", "KDE");
        qputenv("KDE_SESSION_VERSION", "6");

        // The service as the session starts it, the key chosen earlier, its windows recorded.
        m_fixture.reset();
        pallstone::MenuStore::sharedDefaults().setObject(pallstone::Value(u"Meta+Space"_s),
                                                         pallstone::StoreKey::paletteShortcut);
        const QString transcript = m_schemas.filePath(u"transcript.jsonl"_s);
        const QString answers = m_schemas.filePath(u"answers.json"_s);
        QFile answersFile(answers);
        QVERIFY(answersFile.open(QIODevice::WriteOnly));
        answersFile.write("[]");
        answersFile.close();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"PALLSTONE_ANSWERS"_s, answers);
        env.insert(u"PALLSTONE_TRANSCRIPT"_s, transcript);
        m_service.setProcessEnvironment(env);
        m_service.setProcessChannelMode(QProcess::ForwardedChannels);
        m_service.start(QStringLiteral(PALLSTONE_EXTENSION), {});
        QVERIFY(m_service.waitForStarted());

        QTRY_COMPARE_WITH_TIMEOUT(portal.bindings.size(), 1, 20000);
        const FakeShortcutPortal::Binding first = portal.bindings.first();
        QCOMPARE(first.shortcuts.size(), 1);
        QCOMPARE(first.shortcuts.first().id, u"palette"_s);
        QCOMPARE(first.shortcuts.first().properties.value(u"preferred_trigger"_s).toString(),
                 u"LOGO+space"_s);
        QVERIFY(bus.registerObject(first.session, &sessions, QDBusConnection::ExportAllSlots));

        portal.press(first.session, u"palette"_s);
        const auto paletteShown = [&] {
            QFile f(transcript);
            if (!f.open(QIODevice::ReadOnly))
                return false;
            const QList<QByteArray> lines = f.readAll().split('\n');
            return std::any_of(lines.begin(), lines.end(), [](const QByteArray& line) {
                return QJsonDocument::fromJson(line).object().value(u"kind"_s) == u"palette"_s;
            });
        };
        QTRY_VERIFY_WITH_TIMEOUT(paletteShown(), 10000);

        // Another key in the settings: the running service binds it in a new session.
        const QKeySequence other(Qt::CTRL | Qt::ALT | Qt::Key_P);
        pallstone::MenuStore::sharedDefaults().setObject(
            pallstone::Value(other.toString(QKeySequence::PortableText)),
            pallstone::StoreKey::paletteShortcut);
        const PaletteShortcut::Outcome outcome = PaletteShortcut::apply(other);
        QVERIFY2(outcome.registered, qPrintable(outcome.message));
        QCOMPARE(outcome.route, PaletteShortcut::Route::Portal);
        QVERIFY(outcome.message.contains(u"shortcut portal"_s));
        QTRY_COMPARE_WITH_TIMEOUT(portal.bindings.size(), 2, 10000);
        QCOMPARE(portal.bindings.last().shortcuts.first().properties.value(u"preferred_trigger"_s),
                 u"CTRL+ALT+p"_s);
        QVERIFY(portal.bindings.last().session != first.session);
        QTRY_COMPARE_WITH_TIMEOUT(sessions.closed, QStringList{first.session}, 10000);

        // The portal restarted (its sessions gone with it): the service binds the key again.
        QVERIFY(bus.unregisterService(u"org.freedesktop.portal.Desktop"_s));
        QVERIFY(bus.registerService(u"org.freedesktop.portal.Desktop"_s));
        QTRY_COMPARE_WITH_TIMEOUT(portal.bindings.size(), 3, 10000);
        QCOMPARE(portal.bindings.last().shortcuts.first().properties.value(u"preferred_trigger"_s),
                 u"CTRL+ALT+p"_s);

        m_service.terminate();
        QVERIFY(m_service.waitForFinished(10000));
        bus.unregisterObject(first.session);
        bus.unregisterService(u"org.freedesktop.portal.Desktop"_s);
        bus.unregisterObject(u"/org/freedesktop/portal/desktop"_s);
    }

    void onPlasma5TheKeyIsTheKdeShortcutOfADesktopEntry()
    {
        qputenv("XDG_CURRENT_DESKTOP", "KDE");
        qputenv("KDE_SESSION_VERSION", "5");
        PaletteShortcut::Outcome outcome =
            PaletteShortcut::apply(QKeySequence(Qt::META | Qt::Key_Space));
        QVERIFY2(outcome.registered, qPrintable(outcome.message));
        QCOMPARE(outcome.route, PaletteShortcut::Route::DesktopEntry);
        QVERIFY(outcome.message.contains(PaletteShortcut::desktopEntryPath()));
        QFile entry(PaletteShortcut::desktopEntryPath());
        QVERIFY(entry.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(entry.readAll());
        QVERIFY2(text.startsWith(u"[Desktop Entry]\n"_s), qPrintable(text));
        QVERIFY2(text.contains(u"\nExec="_s + PaletteShortcut::command() + u'\n'),
                 qPrintable(text));
        QVERIFY(text.contains(u"\nX-KDE-Shortcuts=Meta+Space\n"_s));
        // The daemon skips entries kept out of the menus.
        QVERIFY(!text.contains(u"NoDisplay"_s));

        outcome = PaletteShortcut::apply({});
        QVERIFY(outcome.registered);
        QVERIFY(!QFile::exists(PaletteShortcut::desktopEntryPath()));
        qunsetenv("KDE_SESSION_VERSION");
    }
};

QTEST_MAIN(TestPaletteShortcut)
#include "tst_paletteshortcut.moc"
