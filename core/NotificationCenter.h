#pragma once

#include <QHash>
#include <QList>
#include <QMetaType>
#include <QMutex>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariantMap>

namespace pallstone {

// What an observer's handler receives.
struct Notification
{
    QString name;
    QObject* object = nullptr; // the sender; may be null
    QVariantMap userInfo;      // empty when the poster gave none
};

// The process's notification centre: objects register for notification names and are called
// synchronously, on the posting thread, when such a notification is posted.
//
// The handler is found by name through the meta-object system, so an observer declares
//     Q_INVOKABLE void handleSignal(const pallstone::Notification& notification);
// (or a handler named by selWithName() for dotted names). An observer without the handler is
// skipped with a warning. Observers that are destroyed are forgotten on their own; unregistering
// first is still the tidy thing to do.
class NotificationCenter final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(NotificationCenter)

public:
    NotificationCenter();
    ~NotificationCenter() override;

    static NotificationCenter& defaultCenter();

    // Replaces any earlier registration of `observer` for `name`; the observer then receives that
    // notification from any sender.
    void addNotification(QObject* observer, const QString& name);
    void removeNotification(QObject* observer, const QString& name);
    void removeAllNotification(QObject* observer);

    void postNotification(const QString& name);
    void postNotification(const QString& name, QObject* object);
    void postNotification(const QString& name, QObject* object, const QVariantMap& userInfo);

    // The handler's method name: "a.b.c" -> "handleSignal_b_c", "a.b" -> "handleSignal_a_b",
    // anything else -> "handleSignal".
    static QString selWithName(const QString& name);

    // How many registrations `observer` holds (for tests and diagnostics).
    int registrationCount(const QObject* observer) const;

private:
    struct Registration
    {
        quint64 id = 0;
        const QObject* key = nullptr; // identity, valid to compare after the observer is gone
        QPointer<QObject> observer;
        QString name;
        QByteArray handler;
    };

    bool isRegistered(quint64 id) const;
    void forget(const QObject* observer);
    static void deliver(QObject* observer, const QByteArray& handler,
                        const Notification& notification);

    mutable QMutex m_mutex;
    QList<Registration> m_registrations;
    QHash<const QObject*, QMetaObject::Connection> m_watches;
    quint64 m_nextId = 1;
};

} // namespace pallstone

Q_DECLARE_METATYPE(pallstone::Notification)
