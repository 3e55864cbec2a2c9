#pragma once

#include <QDBusConnection>
#include <QString>

namespace pallstone {

// The desktop portal's request objects: a call names a token, and the portal answers with a
// Response signal from an object whose path follows from the caller's bus name and the token, so
// the answer can be listened for before the call is made.
class PortalRequest final
{
public:
    static const QString service;    // org.freedesktop.portal.Desktop
    static const QString objectPath; // /org/freedesktop/portal/desktop
    static const QString interface;  // org.freedesktop.portal.Request

    // A fresh token, a valid last element of an object path.
    static QString newToken();
    // Where the portal will answer a call of this connection that named the token.
    static QString path(const QDBusConnection& bus, const QString& token);

private:
    PortalRequest() = delete;
};

} // namespace pallstone
