#include "ExtensionService.h"

#include "ContextMenuService.h"
#include "DBusAdaptor.h"
#include "DefaultCatalogue.h"
#include "DesktopEntryIndex.h"
#include "Dispatch.h"
#include "GlobalShortcutPortal.h"
#include "IconThemeIndex.h"
#include "KeyChord.h"
#include "Localizer.h"
#include "MenuStore.h"
#include "Seams.h"
#include "WorkInProgress.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QKeySequence>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace pallstone {

namespace {

int g_signalPipe[2] = {-1, -1};

void onUnixSignal(int)
{
    const char byte = 1;
    // Only async-signal-safe work here; the event loop picks the byte up.
    [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[1], &byte, 1);
}

constexpr int kBusyRetryMs = 250;
constexpr int kBusCheckMs = 2000;
// The palette's shortcut among the service's portal shortcuts.
const QString kPaletteShortcutId = QStringLiteral("palette");

} // namespace

ExtensionService::ExtensionService(QObject* parent) : QObject(parent) {}

ExtensionService::~ExtensionService() = default;

int ExtensionService::exec(QTextStream& err)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        err << "pallstone-extension: no session bus: " << bus.lastError().message() << '\n';
        return 1;
    }

    const QString answers = qEnvironmentVariable("PALLSTONE_ANSWERS");
    const QString transcript = qEnvironmentVariable("PALLSTONE_TRANSCRIPT");
    m_seams = answers.isEmpty() ? Seams::installReal(transcript)
                                : Seams::installScripted(answers, transcript);
    if (m_seams->hasError()) {
        for (const QString& e : m_seams->errors())
            err << "pallstone-extension: " << e << '\n';
        return 1;
    }

    MenuStore::setProgram(MenuStore::Program::Extension);
    // The service starts with the session, often before anyone opened the settings.
    DefaultCatalogue::setupIfMissing();
    m_menuService = std::make_unique<ContextMenuService>();
    m_menuService->init();
    IconThemeIndex::instance().startBuilding();
    // The installed applications are read before the first menu asks for them, and read again off
    // the event loop when they change.
    m_applicationsReader = std::make_unique<DesktopEntryIndex::BackgroundReader>();

    DBusMenuEntry::registerMetaType();
    m_adaptor = std::make_unique<DBusAdaptor>(*m_menuService);
    // The object first: a caller woken by the name finds it there.
    if (!bus.registerObject(QString::fromLatin1(DBusAdaptor::objectPath), m_adaptor.get(),
                            QDBusConnection::ExportScriptableSlots)) {
        err << "pallstone-extension: cannot register " << DBusAdaptor::objectPath << '\n';
        return 1;
    }
    const auto reply = bus.interface()->registerService(
        QString::fromLatin1(DBusAdaptor::serviceName), QDBusConnectionInterface::DontQueueService,
        QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceRegistered) {
        err << "pallstone-extension: " << DBusAdaptor::serviceName
            << " is already owned on this bus: the service runs already\n";
        return 1;
    }

    m_shortcutPortal = std::make_unique<GlobalShortcutPortal>(bus);
    connect(m_shortcutPortal.get(), &GlobalShortcutPortal::activated, m_adaptor.get(),
            &DBusAdaptor::ShowPalette);
    connect(m_adaptor.get(), &DBusAdaptor::paletteShortcutChanged, this,
            &ExtensionService::bindPaletteShortcut);
    bindPaletteShortcut();

    if (::pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) == 0) {
        m_signalNotifier =
            std::make_unique<QSocketNotifier>(g_signalPipe[0], QSocketNotifier::Read);
        connect(m_signalNotifier.get(), &QSocketNotifier::activated, this,
                &ExtensionService::onSignal);
        struct sigaction action = {};
        action.sa_handler = onUnixSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        sigaction(SIGTERM, &action, nullptr);
        sigaction(SIGINT, &action, nullptr);
    }

    // A service whose bus has gone (the session ended) has no one left to serve; activation
    // does not end it, so it ends itself.
    auto* busCheck = new QTimer(this);
    connect(busCheck, &QTimer::timeout, this, [this] {
        if (!QDBusConnection::sessionBus().isConnected() && !m_quitting) {
            m_quitting = true;
            quitWhenIdle();
        }
    });
    busCheck->start(kBusCheckMs);

    const int code = QApplication::exec();

    bus.unregisterService(QString::fromLatin1(DBusAdaptor::serviceName));
    bus.unregisterObject(QString::fromLatin1(DBusAdaptor::objectPath));
    signal(SIGTERM, SIG_DFL);
    signal(SIGINT, SIG_DFL);
    m_signalNotifier.reset();
    ::close(g_signalPipe[0]);
    ::close(g_signalPipe[1]);
    g_signalPipe[0] = g_signalPipe[1] = -1;
    // Work the actions scheduled on the main thread goes with the service; what runs on the
    // background queue has finished (isBusy was false).
    m_shortcutPortal.reset();
    m_adaptor.reset();
    m_menuService.reset();
    m_seams.reset();
    return code;
}

bool ExtensionService::isBusy() const
{
    if ((m_adaptor && m_adaptor->isRunningAction()) || WorkInProgress::count() > 0 ||
        Dispatch::pendingBackgroundCount() > 0)
        return true;
    // An open window of an action is the user's work in progress too.
    const QList<QWidget*> windows = QApplication::topLevelWidgets();
    return std::any_of(windows.begin(), windows.end(),
                       [](const QWidget* w) { return w->isVisible(); });
}

void ExtensionService::bindPaletteShortcut()
{
    // Plasma 5 runs the palette from a desktop entry's shortcut instead (the settings write it).
    const QKeySequence keys =
        GlobalShortcutPortal::isPlasma5Session()
            ? QKeySequence()
            : QKeySequence::fromString(
                  MenuStore::sharedDefaults().stringForKey(StoreKey::paletteShortcut),
                  QKeySequence::PortableText);
    m_shortcutPortal->bind(kPaletteShortcutId,
                           Localizer::text(QStringLiteral("Palette Shortcut Description")),
                           KeyChord::xdgTrigger(keys));
}

void ExtensionService::onSignal()
{
    char bytes[16];
    while (::read(g_signalPipe[0], bytes, sizeof bytes) > 0) {
    }
    if (m_quitting)
        return;
    m_quitting = true;
    quitWhenIdle();
}

void ExtensionService::quitWhenIdle()
{
    if (isBusy()) {
        QTimer::singleShot(kBusyRetryMs, this, &ExtensionService::quitWhenIdle);
        return;
    }
    QCoreApplication::quit();
}

} // namespace pallstone
