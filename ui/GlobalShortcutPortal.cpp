#include "GlobalShortcutPortal.h"

#include "PortalRequest.h"

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>

namespace pallstone {

namespace {

const QString kPropertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");
const QString kSessionInterface = QStringLiteral("org.freedesktop.portal.Session");
constexpr uint kResponseSuccess = 0;

QDBusMessage versionQuery()
{
    QDBusMessage get =
        QDBusMessage::createMethodCall(PortalRequest::service, PortalRequest::objectPath,
                                       kPropertiesInterface, QStringLiteral("Get"));
    get << GlobalShortcutPortal::interface << QStringLiteral("version");
    return get;
}

uint versionOf(const QDBusMessage& reply)
{
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return 0;
    return qdbus_cast<QDBusVariant>(reply.arguments().first()).variant().toUInt();
}

// "session_handle" is documented as a string, but is an object path; either is taken.
QString sessionOf(const QVariantMap& results)
{
    const QVariant handle = results.value(QStringLiteral("session_handle"));
    if (handle.metaType() == QMetaType::fromType<QDBusObjectPath>())
        return handle.value<QDBusObjectPath>().path();
    return handle.toString();
}

} // namespace

const QString GlobalShortcutPortal::interface =
    QStringLiteral("org.freedesktop.portal.GlobalShortcuts");

QDBusArgument& operator<<(QDBusArgument& argument, const GlobalShortcutPortal::Shortcut& shortcut)
{
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument,
                                GlobalShortcutPortal::Shortcut& shortcut)
{
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

void GlobalShortcutPortal::registerMetaTypes()
{
    qDBusRegisterMetaType<Shortcut>();
    qDBusRegisterMetaType<QList<Shortcut>>();
}

GlobalShortcutPortal::GlobalShortcutPortal(const QDBusConnection& bus, QObject* parent)
    : QObject(parent), m_bus(bus)
{
    registerMetaTypes();
    // Without a service name: naming it would make Qt ask the bus for its owner, blocking.
    m_bus.connect(QString(), PortalRequest::objectPath, interface, QStringLiteral("Activated"),
                  this, SLOT(onActivated(QDBusMessage)));
    m_portalWatcher = new QDBusServiceWatcher(PortalRequest::service, m_bus,
                                              QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(m_portalWatcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString&, const QString& oldOwner, const QString& newOwner) {
                // The sessions went with the portal that ended.
                if (!oldOwner.isEmpty()) {
                    stopListening(&m_createRequest);
                    stopListening(&m_bindRequest);
                    m_session.clear();
                    ++m_generation;
                    setState(m_trigger.isEmpty() ? State::Idle : State::Unavailable);
                }
                // One started again, or late at the session's start, binds anew.
                if (!newOwner.isEmpty() && !m_trigger.isEmpty() && m_state == State::Unavailable)
                    start();
            });
}

GlobalShortcutPortal::~GlobalShortcutPortal()
{
    closeSession();
}

bool GlobalShortcutPortal::isPlasma5Session()
{
    const QStringList desktops =
        qEnvironmentVariable("XDG_CURRENT_DESKTOP").toLower().split(u':', Qt::SkipEmptyParts);
    return desktops.contains(u"kde") && qEnvironmentVariable("KDE_SESSION_VERSION") == u"5";
}

uint GlobalShortcutPortal::offeredVersion(const QDBusConnection& bus, int timeoutMs)
{
    if (!bus.isConnected())
        return 0;
    return versionOf(bus.call(versionQuery(), QDBus::Block, timeoutMs));
}

void GlobalShortcutPortal::bind(const QString& id, const QString& description,
                                const QString& trigger)
{
    // Binding again would have the desktop ask the person again, for the key it has.
    const bool same = id == m_id && description == m_description && trigger == m_trigger;
    if (same && (m_state == State::Binding || m_state == State::Bound))
        return;
    closeSession();
    m_id = id;
    m_description = description;
    m_trigger = trigger;
    if (trigger.isEmpty()) {
        setState(State::Idle);
        return;
    }
    start();
}

void GlobalShortcutPortal::start()
{
    const quint64 generation = ++m_generation;
    if (!m_bus.isConnected()) {
        setState(State::Unavailable);
        return;
    }
    setState(State::Binding);
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(versionQuery()), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, generation](QDBusPendingCallWatcher* call) {
                call->deleteLater();
                if (generation != m_generation)
                    return;
                if (versionOf(call->reply()) == 0) {
                    setState(State::Unavailable);
                    return;
                }
                createSession();
            });
}

void GlobalShortcutPortal::createSession()
{
    request(QStringLiteral("CreateSession"), {},
            {{QStringLiteral("session_handle_token"), PortalRequest::newToken()}},
            &m_createRequest);
}

void GlobalShortcutPortal::bindShortcuts()
{
    const QList<Shortcut> shortcuts = {{m_id,
                                        {{QStringLiteral("description"), m_description},
                                         {QStringLiteral("preferred_trigger"), m_trigger}}}};
    // No parent window: the service has none; the desktop shows its dialogue on its own.
    request(QStringLiteral("BindShortcuts"),
            {QVariant::fromValue(QDBusObjectPath(m_session)), QVariant::fromValue(shortcuts),
             QString()},
            {}, &m_bindRequest);
}

void GlobalShortcutPortal::request(const QString& method, QVariantList arguments,
                                   QVariantMap options, QString* requestPath)
{
    const QString token = PortalRequest::newToken();
    options.insert(QStringLiteral("handle_token"), token);
    arguments.append(options);
    *requestPath = PortalRequest::path(m_bus, token);
    listenOn(*requestPath);

    QDBusMessage call = QDBusMessage::createMethodCall(
        PortalRequest::service, PortalRequest::objectPath, interface, method);
    call.setArguments(arguments);
    const quint64 generation = m_generation;
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, generation, requestPath](QDBusPendingCallWatcher* w) {
                w->deleteLater();
                const QDBusPendingReply<QDBusObjectPath> reply = *w;
                if (generation != m_generation)
                    return;
                if (reply.isError()) {
                    qWarning("pallstone: the shortcut portal refused a call: %s",
                             qPrintable(reply.error().message()));
                    stopListening(requestPath);
                    setState(State::Unavailable);
                    return;
                }
                // Older portals chose the path themselves. An empty path: answered already.
                if (!requestPath->isEmpty() && reply.value().path() != *requestPath) {
                    stopListening(requestPath);
                    *requestPath = reply.value().path();
                    listenOn(*requestPath);
                }
            });
}

void GlobalShortcutPortal::listenOn(const QString& requestPath)
{
    m_bus.connect(QString(), requestPath, PortalRequest::interface, QStringLiteral("Response"),
                  this, SLOT(onResponse(uint, QVariantMap, QDBusMessage)));
}

void GlobalShortcutPortal::stopListening(QString* requestPath)
{
    if (requestPath->isEmpty())
        return;
    m_bus.disconnect(QString(), *requestPath, PortalRequest::interface, QStringLiteral("Response"),
                     this, SLOT(onResponse(uint, QVariantMap, QDBusMessage)));
    requestPath->clear();
}

void GlobalShortcutPortal::onResponse(uint response, const QVariantMap& results,
                                      const QDBusMessage& message)
{
    if (!m_createRequest.isEmpty() && message.path() == m_createRequest) {
        stopListening(&m_createRequest);
        m_session = response == kResponseSuccess ? sessionOf(results) : QString();
        if (m_session.isEmpty()) {
            setState(State::Refused);
            return;
        }
        bindShortcuts();
    } else if (!m_bindRequest.isEmpty() && message.path() == m_bindRequest) {
        stopListening(&m_bindRequest);
        setState(response == kResponseSuccess ? State::Bound : State::Refused);
    }
}

void GlobalShortcutPortal::onActivated(const QDBusMessage& message)
{
    const QVariantList arguments = message.arguments();
    if (arguments.size() < 2)
        return;
    const QDBusObjectPath session = arguments.at(0).value<QDBusObjectPath>();
    const QString id = arguments.at(1).toString();
    if (!m_session.isEmpty() && session.path() == m_session && id == m_id)
        Q_EMIT activated(id);
}

void GlobalShortcutPortal::closeSession()
{
    ++m_generation;
    stopListening(&m_createRequest);
    stopListening(&m_bindRequest);
    if (m_session.isEmpty())
        return;
    if (m_bus.isConnected())
        m_bus.asyncCall(QDBusMessage::createMethodCall(PortalRequest::service, m_session,
                                                       kSessionInterface, QStringLiteral("Close")));
    m_session.clear();
}

void GlobalShortcutPortal::setState(State state)
{
    if (state == m_state)
        return;
    m_state = state;
    Q_EMIT stateChanged(state);
}

} // namespace pallstone
