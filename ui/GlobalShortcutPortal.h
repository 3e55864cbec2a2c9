#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QList>
#include <QMetaType>
#include <QObject>
#include <QString>
#include <QVariantMap>

class QDBusArgument;
class QDBusPendingCallWatcher;
class QDBusServiceWatcher;

namespace pallstone {

// One key bound through the desktop portal's global shortcuts
// (org.freedesktop.portal.GlobalShortcuts): a session is created, the shortcut bound in it with
// the key it should have, and activated() reports each press. The desktop keeps the binding only
// while the connection that made the session is open, so the long-lived service holds it.
// Everything is asynchronous; a portal without the interface leaves the state Unavailable, and a
// portal that starts (again) later gets the shortcut bound then.
class GlobalShortcutPortal final : public QObject
{
    Q_OBJECT

public:
    static const QString interface; // org.freedesktop.portal.GlobalShortcuts

    // An element of BindShortcuts' shortcuts, a(sa{sv}): the id and "description",
    // "preferred_trigger".
    struct Shortcut
    {
        QString id;
        QVariantMap properties;
    };

    enum class State
    {
        Idle,        // nothing to bind
        Binding,     // waiting for the portal or the person
        Bound,       // the desktop accepted the shortcut
        Refused,     // the person or the desktop declined it
        Unavailable, // no portal, or one without the interface
    };
    Q_ENUM(State)

    explicit GlobalShortcutPortal(const QDBusConnection& bus = QDBusConnection::sessionBus(),
                                  QObject* parent = nullptr);
    ~GlobalShortcutPortal() override;
    Q_DISABLE_COPY_MOVE(GlobalShortcutPortal)

    // Binds the shortcut in a new session, closing the one of an earlier call: the portal binds a
    // session's shortcuts once only. The same shortcut again, bound or being bound, is left as it
    // is. An empty trigger only closes the session. Returns at once.
    void bind(const QString& id, const QString& description, const QString& trigger);
    State state() const { return m_state; }

    // The interface's version as the portal reports it, 0 when it offers none. Waits for the
    // answer up to the timeout: for the settings application, never for the service.
    static uint offeredVersion(const QDBusConnection& bus, int timeoutMs);
    // Plasma 5's portal offers the interface as well, but there a desktop entry's shortcut is the
    // desktop's own way to run a command, and the two would bind the key twice.
    static bool isPlasma5Session();

    static void registerMetaTypes();

Q_SIGNALS:
    void activated(const QString& id);
    void stateChanged(pallstone::GlobalShortcutPortal::State state);

private Q_SLOTS:
    void onResponse(uint response, const QVariantMap& results, const QDBusMessage& message);
    // Activated(o session_handle, s shortcut_id, t timestamp, a{sv} options).
    void onActivated(const QDBusMessage& message);

private:
    void start();
    void createSession();
    void bindShortcuts();
    void closeSession();
    // Sends the call with a handle token added to its options (its last argument), listening for
    // its Response first; *requestPath follows the request, and is cleared when the call fails.
    void request(const QString& method, QVariantList arguments, QVariantMap options,
                 QString* requestPath);
    void listenOn(const QString& requestPath);
    void stopListening(QString* requestPath);
    void setState(State state);

    QDBusConnection m_bus;
    QString m_id;
    QString m_description;
    QString m_trigger;
    quint64 m_generation = 0; // each bind() starts one; answers to an earlier one are dropped
    QString m_createRequest;
    QString m_bindRequest;
    QString m_session;
    State m_state = State::Idle;
    QDBusServiceWatcher* m_portalWatcher = nullptr;
};

QDBusArgument& operator<<(QDBusArgument& argument, const GlobalShortcutPortal::Shortcut& shortcut);
const QDBusArgument& operator>>(const QDBusArgument& argument,
                                GlobalShortcutPortal::Shortcut& shortcut);

} // namespace pallstone

Q_DECLARE_METATYPE(pallstone::GlobalShortcutPortal::Shortcut)
