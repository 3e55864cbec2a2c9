#include "PortalColorPicker.h"

#include "PortalRequest.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>

namespace pallstone {

namespace {

const QString kScreenshotInterface = QStringLiteral("org.freedesktop.portal.Screenshot");

// Portal responses: 0 picked, 1 cancelled by the person, anything else refused.
constexpr uint kResponseSuccess = 0;
constexpr uint kResponseCancelled = 1;

} // namespace

PortalColorPicker::PortalColorPicker(const QDBusConnection& bus, QObject* parent)
    : QObject(parent), m_bus(bus)
{}

PortalColorPicker::~PortalColorPicker()
{
    if (m_finished || m_requestPath.isEmpty() || !m_bus.isConnected())
        return;
    // The desktop's picker would otherwise stay open with nobody waiting for it.
    m_bus.asyncCall(QDBusMessage::createMethodCall(
        PortalRequest::service, m_requestPath, PortalRequest::interface, QStringLiteral("Close")));
    stopListening();
}

void PortalColorPicker::start()
{
    if (!m_bus.isConnected()) {
        finish(ColorPick::Status::Unavailable);
        return;
    }
    // The request object's path is known before the call, so its Response is listened for before
    // the portal can send it.
    const QString token = PortalRequest::newToken();
    listenOn(PortalRequest::path(m_bus, token));

    m_portalWatcher = new QDBusServiceWatcher(PortalRequest::service, m_bus,
                                              QDBusServiceWatcher::WatchForUnregistration, this);
    connect(m_portalWatcher, &QDBusServiceWatcher::serviceUnregistered, this,
            [this] { finish(ColorPick::Status::Unavailable); });

    QDBusMessage call =
        QDBusMessage::createMethodCall(PortalRequest::service, PortalRequest::objectPath,
                                       kScreenshotInterface, QStringLiteral("PickColor"));
    call << QString() << QVariantMap{{QStringLiteral("handle_token"), token}};
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* w) { onCallFinished(w); });
}

void PortalColorPicker::onCallFinished(QDBusPendingCallWatcher* call)
{
    call->deleteLater();
    const QDBusPendingReply<QDBusObjectPath> reply = *call;
    if (m_finished)
        return;
    m_portalOwner = reply.reply().service();
    if (reply.isError()) {
        // No portal, or one without the screenshot interface.
        finish(ColorPick::Status::Unavailable);
        return;
    }
    // Older portals chose the path themselves.
    const QString path = reply.value().path();
    if (path != m_requestPath) {
        stopListening();
        listenOn(path);
    }
}

void PortalColorPicker::listenOn(const QString& requestPath)
{
    m_requestPath = requestPath;
    // Without a service name: naming it would make Qt ask the bus for its owner, blocking.
    m_bus.connect(QString(), m_requestPath, PortalRequest::interface, QStringLiteral("Response"),
                  this, SLOT(onResponse(uint, QVariantMap, QDBusMessage)));
}

void PortalColorPicker::stopListening()
{
    if (m_requestPath.isEmpty())
        return;
    m_bus.disconnect(QString(), m_requestPath, PortalRequest::interface, QStringLiteral("Response"),
                     this, SLOT(onResponse(uint, QVariantMap, QDBusMessage)));
}

void PortalColorPicker::onResponse(uint response, const QVariantMap& results,
                                   const QDBusMessage& message)
{
    // Only the portal that took the call answers it.
    if (m_finished || (!m_portalOwner.isEmpty() && message.service() != m_portalOwner))
        return;
    if (response == kResponseCancelled) {
        finish(ColorPick::Status::Cancelled);
        return;
    }
    const QColor color = response == kResponseSuccess ? colorOfResults(results) : QColor();
    // A refusal, or an answer without a usable colour: the magnifier may still do it.
    finish(color.isValid() ? ColorPick::Status::Picked : ColorPick::Status::Unavailable, color);
}

QColor PortalColorPicker::colorOfResults(const QVariantMap& results)
{
    const QVariant value = results.value(QStringLiteral("color"));
    if (!value.canConvert<QDBusArgument>())
        return {};
    const QDBusArgument argument = value.value<QDBusArgument>();
    if (argument.currentSignature() != u"(ddd)")
        return {};
    double red = -1;
    double green = -1;
    double blue = -1;
    argument.beginStructure();
    argument >> red >> green >> blue;
    argument.endStructure();
    return ColorPick::fromComponents(red, green, blue);
}

void PortalColorPicker::finish(ColorPick::Status status, const QColor& color)
{
    if (m_finished)
        return;
    m_finished = true;
    stopListening();
    m_result.status = status;
    m_result.color = color;
    Q_EMIT finished();
}

} // namespace pallstone
