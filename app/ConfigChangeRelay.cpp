#include "ConfigChangeRelay.h"

#include "ListPage.h"
#include "MainMenuPage.h"
#include "NotificationCenter.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>

namespace pallstone {

namespace {

const QString kBusName = QStringLiteral("com.tolvane.pallstone");

} // namespace

const QString ConfigChangeRelay::kObjectPath = QStringLiteral("/com/tolvane/pallstone/Config");

ConfigChangeRelay::ConfigChangeRelay(QObject* parent) : QObject(parent) {}

ConfigChangeRelay::~ConfigChangeRelay() = default;

void ConfigChangeRelay::configChanged()
{
    NotificationCenter::defaultCenter().postNotification(ListPage::kConfigChangeNotification);
    NotificationCenter::defaultCenter().postNotification(MainMenuPage::kWindowDidBecomeKey);
}

void ConfigChangeRelay::notifyRunningApplication()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface() ||
        !bus.interface()->isServiceRegistered(kBusName).value())
        return;
    const QDBusMessage call = QDBusMessage::createMethodCall(
        kBusName, kObjectPath, QStringLiteral("com.tolvane.pallstone.Config"),
        QStringLiteral("configChanged"));
    bus.call(call, QDBus::Block, 2000);
}

} // namespace pallstone
