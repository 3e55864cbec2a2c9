#include "PortalRequest.h"

#include <QRandomGenerator>

namespace pallstone {

const QString PortalRequest::service = QStringLiteral("org.freedesktop.portal.Desktop");
const QString PortalRequest::objectPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString PortalRequest::interface = QStringLiteral("org.freedesktop.portal.Request");

QString PortalRequest::newToken()
{
    return QStringLiteral("pallstone%1").arg(QRandomGenerator::global()->generate());
}

QString PortalRequest::path(const QDBusConnection& bus, const QString& token)
{
    QString sender = bus.baseService();
    sender.remove(0, sender.startsWith(u':') ? 1 : 0).replace(u'.', u'_');
    return QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token);
}

} // namespace pallstone
