#include "NotificationCenter.h"

#include <QMetaMethod>
#include <QStringList>

#include <algorithm>

namespace pallstone {

NotificationCenter::NotificationCenter()
{
    qRegisterMetaType<Notification>();
}

// The destroyed() watches have this centre as their context, so Qt drops them with it.
NotificationCenter::~NotificationCenter() = default;

NotificationCenter& NotificationCenter::defaultCenter()
{
    static NotificationCenter center;
    return center;
}

QString NotificationCenter::selWithName(const QString& name)
{
    const QStringList parts = name.split(u'.');
    if (!name.isEmpty() && parts.size() == 3)
        return QLatin1String("handleSignal_") + parts.at(1) + u'_' + parts.at(2);
    if (!name.isEmpty() && parts.size() == 2)
        return QLatin1String("handleSignal_") + parts.at(0) + u'_' + parts.at(1);
    return QStringLiteral("handleSignal");
}

void NotificationCenter::addNotification(QObject* observer, const QString& name)
{
    if (!observer)
        return;
    const QMutexLocker locker(&m_mutex);
    m_registrations.removeIf(
        [&](const Registration& r) { return r.key == observer && r.name == name; });
    m_registrations.append(
        Registration{m_nextId++, observer, observer, name, selWithName(name).toLatin1()});
    if (!m_watches.contains(observer)) {
        // Direct: the observer may die on another thread, and its entries must be gone before its
        // address can be reused by a new object.
        m_watches.insert(observer,
                         connect(
                             observer, &QObject::destroyed, this,
                             [this, observer] { forget(observer); }, Qt::DirectConnection));
    }
}

void NotificationCenter::removeNotification(QObject* observer, const QString& name)
{
    const QMutexLocker locker(&m_mutex);
    m_registrations.removeIf(
        [&](const Registration& r) { return r.key == observer && r.name == name; });
    const bool stillRegistered =
        std::any_of(m_registrations.cbegin(), m_registrations.cend(),
                    [&](const Registration& r) { return r.key == observer; });
    if (!stillRegistered)
        disconnect(m_watches.take(observer));
}

void NotificationCenter::removeAllNotification(QObject* observer)
{
    forget(observer);
}

void NotificationCenter::forget(const QObject* observer)
{
    const QMutexLocker locker(&m_mutex);
    m_registrations.removeIf([&](const Registration& r) { return r.key == observer; });
    disconnect(m_watches.take(observer));
}

int NotificationCenter::registrationCount(const QObject* observer) const
{
    const QMutexLocker locker(&m_mutex);
    return int(std::count_if(m_registrations.cbegin(), m_registrations.cend(),
                             [&](const Registration& r) { return r.key == observer; }));
}

bool NotificationCenter::isRegistered(quint64 id) const
{
    const QMutexLocker locker(&m_mutex);
    return std::any_of(m_registrations.cbegin(), m_registrations.cend(),
                       [&](const Registration& r) { return r.id == id; });
}

void NotificationCenter::postNotification(const QString& name)
{
    postNotification(name, nullptr, QVariantMap());
}

void NotificationCenter::postNotification(const QString& name, QObject* object)
{
    postNotification(name, object, QVariantMap());
}

void NotificationCenter::postNotification(const QString& name, QObject* object,
                                          const QVariantMap& userInfo)
{
    // Handlers may add or remove observers, so they run on a copy taken without the lock held.
    QList<Registration> targets;
    {
        const QMutexLocker locker(&m_mutex);
        for (const Registration& r : std::as_const(m_registrations)) {
            if (r.name == name)
                targets.append(r);
        }
    }
    const Notification notification{name, object, userInfo};
    for (const Registration& r : std::as_const(targets)) {
        // An observer removed by an earlier handler of this same post is not called any more.
        if (!isRegistered(r.id))
            continue;
        if (QObject* observer = r.observer.data())
            deliver(observer, r.handler, notification);
    }
}

void NotificationCenter::deliver(QObject* observer, const QByteArray& handler,
                                 const Notification& notification)
{
    // Matched by the parameter's type rather than its spelling, so a handler declared inside the
    // namespace as `const Notification&` is found as well.
    const QMetaObject* meta = observer->metaObject();
    const QMetaType wanted = QMetaType::fromType<Notification>();
    // From the most derived class down, so a subclass's handler wins over its base's.
    for (int i = meta->methodCount() - 1; i >= 0; --i) {
        const QMetaMethod method = meta->method(i);
        if (method.name() != handler || method.parameterCount() != 1 ||
            method.parameterMetaType(0) != wanted) {
            continue;
        }
        method.invoke(observer, Qt::DirectConnection, Q_ARG(pallstone::Notification, notification));
        return;
    }
    qWarning("NotificationCenter: %s has no handler %s(const pallstone::Notification&) for \"%s\"",
             meta->className(), handler.constData(), qUtf8Printable(notification.name));
}

} // namespace pallstone
