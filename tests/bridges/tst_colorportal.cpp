// The colour picker of the running service against a stand-in for the desktop's screenshot
// portal on a private session bus: the portal's colour is the one shown, no magnifier opens, and
// the file managers' menus keep coming while the person picks.
#include "DBusAdaptor.h"
#include "DBusMenuEntry.h"
#include "PortalColorPicker.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using namespace Qt::StringLiterals;
using pallstone::DBusAdaptor;
using pallstone::DBusMenu;
using pallstone::DBusMenuEntry;

namespace {

const QString kService = QString::fromLatin1(DBusAdaptor::serviceName);
const QString kPath = QString::fromLatin1(DBusAdaptor::objectPath);
const QString kInterface = QString::fromLatin1(DBusAdaptor::interfaceName);

struct PortalColor
{
    double red = 0;
    double green = 0;
    double blue = 0;
};

QDBusArgument& operator<<(QDBusArgument& argument, const PortalColor& color)
{
    argument.beginStructure();
    argument << color.red << color.green << color.blue;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, PortalColor& color)
{
    argument.beginStructure();
    argument >> color.red >> color.green >> color.blue;
    argument.endStructure();
    return argument;
}

} // namespace

Q_DECLARE_METATYPE(PortalColor)

// Answers PickColor with a request object and leaves the Response to the test.
class FakeScreenshotPortal : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Screenshot")

public:
    QString requestPath;
    int calls = 0;

    void respond(uint response, const PortalColor& color)
    {
        respondWith(response, {{u"color"_s, QVariant::fromValue(color)}});
    }

    void respondWith(uint response, const QVariantMap& results)
    {
        QDBusMessage signal = QDBusMessage::createSignal(
            requestPath, u"org.freedesktop.portal.Request"_s, u"Response"_s);
        signal << response << results;
        QDBusConnection::sessionBus().send(signal);
    }

public Q_SLOTS:
    QDBusObjectPath PickColor(const QString&, const QVariantMap& options,
                              const QDBusMessage& message)
    {
        ++calls;
        QString sender = message.service().mid(1);
        sender.replace(u'.', u'_');
        requestPath = u"/org/freedesktop/portal/desktop/request/"_s + sender + u'/' +
                      options.value(u"handle_token"_s).toString();
        return QDBusObjectPath(requestPath);
    }
};

class TestColorPortal : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_home;
    QProcess m_service;
    QString m_transcript;
    FakeScreenshotPortal m_portal;

    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"HOME"_s, m_home.path());
        env.insert(u"XDG_CONFIG_HOME"_s, m_home.filePath(u".config"_s));
        env.insert(u"XDG_DATA_HOME"_s, m_home.filePath(u".local/share"_s));
        env.insert(u"XDG_CACHE_HOME"_s, m_home.filePath(u".cache"_s));
        env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        env.insert(u"LANG"_s, u"C.UTF-8"_s);
        // The real windows, recorded.
        env.remove(u"PALLSTONE_ANSWERS"_s);
        env.insert(u"PALLSTONE_TRANSCRIPT"_s, m_transcript);
        return env;
    }

    static QDBusMessage call(const QString& method, const QVariantList& args)
    {
        QDBusMessage m = QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
        m.setArguments(args);
        return QDBusConnection::sessionBus().call(m, QDBus::Block, 2000);
    }

    std::pair<qulonglong, DBusMenu> backgroundMenu()
    {
        const QString target = QString::fromLatin1(QUrl::fromLocalFile(m_home.path()).toEncoded());
        const QDBusMessage reply = call(u"MenuForMenuKind"_s, {1u, QStringList(), target});
        if (reply.type() != QDBusMessage::ReplyMessage)
            return {};
        return {reply.arguments().at(0).toULongLong(),
                qdbus_cast<DBusMenu>(reply.arguments().at(1))};
    }

    QList<QJsonObject> events() const
    {
        QList<QJsonObject> out;
        QFile f(m_transcript);
        if (f.open(QIODevice::ReadOnly)) {
            for (const QByteArray& line : f.readAll().split('\n')) {
                if (!line.trimmed().isEmpty())
                    out.append(QJsonDocument::fromJson(line).object());
            }
        }
        return out;
    }

    QList<QJsonObject> eventsOf(const QString& kind) const
    {
        QList<QJsonObject> picked;
        for (const QJsonObject& e : events()) {
            if (e.value(u"event"_s).toString() == kind)
                picked.append(e);
        }
        return picked;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QDBusConnection bus = QDBusConnection::sessionBus();
        QVERIFY2(bus.isConnected(), "run on a private session bus (dbus-run-session)");
        DBusMenuEntry::registerMetaType();
        qDBusRegisterMetaType<PortalColor>();
        m_transcript = m_home.filePath(u"transcript.jsonl"_s);
        QVERIFY(bus.registerObject(u"/org/freedesktop/portal/desktop"_s, &m_portal,
                                   QDBusConnection::ExportAllSlots));
        QVERIFY(bus.registerService(u"org.freedesktop.portal.Desktop"_s));

        QProcess setup;
        setup.setProcessEnvironment(environment());
        setup.start(QStringLiteral(PALLSTONE_APP), {u"setup"_s});
        QVERIFY(setup.waitForFinished(60000));
        QCOMPARE(setup.exitCode(), 0);

        m_service.setProcessEnvironment(environment());
        m_service.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_service.start(QStringLiteral(PALLSTONE_EXTENSION), {});
        QVERIFY(m_service.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(bus.interface()->isServiceRegistered(kService).value(), 20000);
    }

    void cleanupTestCase()
    {
        if (m_service.state() != QProcess::NotRunning) {
            m_service.kill();
            m_service.waitForFinished();
        }
    }

    void thePortalsColourIsShownAndMenusKeepComingMeanwhile()
    {
        const auto [menuId, menu] = backgroundMenu();
        const auto entry = std::find_if(menu.begin(), menu.end(), [](const DBusMenuEntry& e) {
            return e.key == u"Color Picker" && e.parentId == -1;
        });
        QVERIFY(entry != menu.end());
        const QString target = QString::fromLatin1(QUrl::fromLocalFile(m_home.path()).toEncoded());
        const QDBusMessage chosen = call(
            u"OnMenuItemAction"_s, {menuId, entry->tag, entry->key, 1u, QStringList(), target});
        QCOMPARE(chosen.type(), QDBusMessage::ReplyMessage);
        QTRY_COMPARE_WITH_TIMEOUT(m_portal.calls, 1, 10000);

        // The person is still picking: the service answers menus all the same, and a second
        // click on the entry opens no second picker.
        QVERIFY(!backgroundMenu().second.isEmpty());
        QCOMPARE(
            call(u"OnMenuItemAction"_s, {menuId, entry->tag, entry->key, 1u, QStringList(), target})
                .type(),
            QDBusMessage::ReplyMessage);
        QTest::qWait(500);
        QCOMPARE(m_portal.calls, 1);

        m_portal.respond(0, {0.2, 0.4, 0.6});
        QTRY_COMPARE_WITH_TIMEOUT(eventsOf(u"alert"_s).size(), 1, 10000);
        QCOMPARE(eventsOf(u"alert"_s).first().value(u"informative"_s).toString(),
                 u"HEX\uFF1A336699\n\nRGB\uFF1A51,102,153"_s);
        for (const QJsonObject& panel : eventsOf(u"panel"_s))
            QVERIFY(panel.value(u"picker"_s).toString() != u"magnifier");
        const QList<QJsonObject> picks = eventsOf(u"color"_s);
        QCOMPARE(picks.size(), 1);
        QCOMPARE(picks.first().value(u"picker"_s).toString(), u"desktop"_s);

        // And while the alert with the colour is open.
        QVERIFY(!backgroundMenu().second.isEmpty());
    }

    // What the picker makes of the portal's answers, through a connection of its own.
    void aPortalThatRefusesOrAnswersBadlyLeavesItToTheMagnifier_data()
    {
        QTest::addColumn<uint>("response");
        QTest::addColumn<QVariantMap>("results");
        QTest::addColumn<int>("status");
        const auto color = [](double r, double g, double b) {
            return QVariantMap{{u"color"_s, QVariant::fromValue(PortalColor{r, g, b})}};
        };
        const int picked = int(pallstone::ColorPick::Status::Picked);
        const int unavailable = int(pallstone::ColorPick::Status::Unavailable);
        QTest::newRow("picked") << 0u << color(1, 0, 0) << picked;
        QTest::newRow("cancelled by the person")
            << 1u << QVariantMap() << int(pallstone::ColorPick::Status::Cancelled);
        QTest::newRow("refused") << 2u << color(1, 0, 0) << unavailable;
        QTest::newRow("no colour") << 0u << QVariantMap() << unavailable;
        QTest::newRow("colour as text")
            << 0u << QVariantMap{{u"color"_s, u"#FF0000"_s}} << unavailable;
        QTest::newRow("component out of range") << 0u << color(1.5, 0, 0) << unavailable;
    }

    void aPortalThatRefusesOrAnswersBadlyLeavesItToTheMagnifier()
    {
        QFETCH(uint, response);
        QFETCH(QVariantMap, results);
        QFETCH(int, status);
        pallstone::PortalColorPicker picker(
            QDBusConnection::connectToBus(QDBusConnection::SessionBus, u"picker"_s));
        const int before = m_portal.calls;
        picker.start();
        QTRY_COMPARE_WITH_TIMEOUT(m_portal.calls, before + 1, 5000);
        QVERIFY(!picker.isFinished());
        m_portal.respondWith(response, results);
        QTRY_VERIFY_WITH_TIMEOUT(picker.isFinished(), 5000);
        QCOMPARE(int(picker.result().status), status);
        if (picker.result().status == pallstone::ColorPick::Status::Picked)
            QCOMPARE(picker.result().color, QColor(255, 0, 0));
    }

    void aPortalThatGoesAwayMidPickDoesNotLeaveThePickWaiting()
    {
        pallstone::PortalColorPicker picker(
            QDBusConnection::connectToBus(QDBusConnection::SessionBus, u"picker"_s));
        const int before = m_portal.calls;
        picker.start();
        QTRY_COMPARE_WITH_TIMEOUT(m_portal.calls, before + 1, 5000);
        QVERIFY(
            QDBusConnection::sessionBus().unregisterService(u"org.freedesktop.portal.Desktop"_s));
        QTRY_VERIFY_WITH_TIMEOUT(picker.isFinished(), 5000);
        QCOMPARE(picker.result().status, pallstone::ColorPick::Status::Unavailable);

        // Without the portal on the bus at all.
        pallstone::PortalColorPicker none(
            QDBusConnection::connectToBus(QDBusConnection::SessionBus, u"picker"_s));
        none.start();
        QTRY_VERIFY_WITH_TIMEOUT(none.isFinished(), 5000);
        QCOMPARE(none.result().status, pallstone::ColorPick::Status::Unavailable);
    }
};

QTEST_GUILESS_MAIN(TestColorPortal)
#include "tst_colorportal.moc"
