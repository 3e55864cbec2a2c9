#pragma once

#include "Prompter.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QString>
#include <QVariantMap>

class QDBusPendingCallWatcher;
class QDBusServiceWatcher;

namespace pallstone {

// The desktop's own colour picker, reached through the screenshot portal
// (org.freedesktop.portal.Screenshot.PickColor). Everything is asynchronous: start() returns at
// once and finished() reports the outcome exactly once, so whoever waits keeps its event loop (and
// the service's D-Bus menus) running.
class PortalColorPicker final : public QObject
{
    Q_OBJECT

public:
    explicit PortalColorPicker(const QDBusConnection& bus = QDBusConnection::sessionBus(),
                               QObject* parent = nullptr);
    ~PortalColorPicker() override;
    Q_DISABLE_COPY_MOVE(PortalColorPicker)

    void start();
    bool isFinished() const { return m_finished; }
    ColorPick result() const { return m_result; }

    // The colour of the portal's results ("color" as (ddd)); invalid when absent or malformed.
    static QColor colorOfResults(const QVariantMap& results);

Q_SIGNALS:
    void finished();

private Q_SLOTS:
    void onResponse(uint response, const QVariantMap& results, const QDBusMessage& message);

private:
    void onCallFinished(QDBusPendingCallWatcher* call);
    void listenOn(const QString& requestPath);
    void stopListening();
    void finish(ColorPick::Status status, const QColor& color = {});

    QDBusConnection m_bus;
    QString m_requestPath;
    QString m_portalOwner; // the unique name that answered the call
    QDBusServiceWatcher* m_portalWatcher = nullptr;
    bool m_finished = false;
    ColorPick m_result;
};

} // namespace pallstone
