#include "SystemLauncher.h"

#include "FileName.h"
#include "LaunchPlan.h"
#include "Transcript.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

#include <vector>

namespace pallstone {

namespace {

Q_LOGGING_CATEGORY(lcLauncher, "pallstone.launcher")

const QString kFileManagerService = QStringLiteral("org.freedesktop.FileManager1");

void warnAndFree(const char* what, GError* error)
{
    if (!error)
        return;
    qCWarning(lcLauncher, "%s: %s", what, error->message);
    g_error_free(error);
}

} // namespace

SystemLauncher::SystemLauncher(Transcript* transcript) : m_transcript(transcript) {}

void SystemLauncher::record(const LaunchPlan& plan)
{
    if (m_transcript)
        m_transcript->recordLaunch(plan.argv, plan.workingDirectory);
}

bool SystemLauncher::startDetached(const LaunchPlan& plan)
{
    // GLib rather than QProcess: QProcess encodes arguments as UTF-8 text, which would hand the
    // program another name for a file whose name is not UTF-8. Without DO_NOT_REAP_CHILD GLib
    // detaches the child, so nothing is left for us to reap.
    std::vector<QByteArray> bytes;
    bytes.reserve(size_t(plan.argv.size()));
    for (const QString& argument : plan.argv)
        bytes.push_back(FileName::encode(argument));
    std::vector<char*> argv;
    for (QByteArray& argument : bytes)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    const QByteArray folder = FileName::encode(plan.workingDirectory);
    GError* error = nullptr;
    const bool started =
        !bytes.empty() &&
        g_spawn_async(folder.isEmpty() ? nullptr : folder.constData(), argv.data(), nullptr,
                      G_SPAWN_SEARCH_PATH, nullptr, nullptr, nullptr, &error);
    if (!started) {
        qCWarning(lcLauncher) << "could not start" << plan.argv << "in" << plan.workingDirectory
                              << (error ? error->message : "");
        if (error)
            g_error_free(error);
        return false;
    }
    record(plan);
    return true;
}

bool SystemLauncher::openWithApplication(const QString& application, const QStringList& paths)
{
    const std::optional<LaunchPlan> plan = LaunchPlan::openWithApplication(application, paths);
    if (!plan)
        return false;
    // The plan reads {"gio", "launch", entry, paths...}; GIO fills the entry's field codes.
    const QString entry = plan->argv.at(2);
    GDesktopAppInfo* info =
        g_desktop_app_info_new_from_filename(FileName::encode(entry).constData());
    if (!info)
        return false;
    GList* files = nullptr;
    for (auto it = paths.crbegin(); it != paths.crend(); ++it)
        files = g_list_prepend(files, g_file_new_for_path(FileName::encode(*it).constData()));
    GError* error = nullptr;
    const bool launched = g_app_info_launch(G_APP_INFO(info), files, nullptr, &error);
    warnAndFree("launching a desktop entry", error);
    g_list_free_full(files, g_object_unref);
    g_object_unref(info);
    if (launched)
        record(*plan);
    return launched;
}

bool SystemLauncher::openTerminal(const QString& folder, TerminalMode mode, bool secondTerminal)
{
    const std::optional<LaunchPlan> plan = LaunchPlan::openTerminal(folder, mode, secondTerminal);
    return plan && startDetached(*plan);
}

bool SystemLauncher::openDefault(const QUrl& url)
{
    const std::optional<LaunchPlan> plan = LaunchPlan::openDefault(url);
    if (!plan)
        return false;
    GError* error = nullptr;
    const bool launched =
        g_app_info_launch_default_for_uri(url.toEncoded().constData(), nullptr, &error);
    warnAndFree("opening with the default handler", error);
    if (launched)
        record(*plan);
    return launched;
}

bool SystemLauncher::revealInFileManager(const QStringList& paths)
{
    const std::optional<LaunchPlan> plan = LaunchPlan::revealInFileManager(paths);
    if (!plan)
        return false;
    QStringList folders;
    for (const QString& path : paths) {
        const QString folder = QFileInfo(path).absolutePath();
        if (!folders.contains(folder))
            folders.append(folder);
    }
    const auto openFolders = [this, folders] {
        bool opened = false;
        for (const QString& folder : folders)
            opened = openDefault(QUrl::fromLocalFile(folder)) || opened;
        return opened;
    };
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return openFolders();

    QStringList uris;
    for (const QString& path : paths)
        uris.append(LaunchPlan::fileUri(path));
    QDBusMessage call = QDBusMessage::createMethodCall(
        kFileManagerService, QStringLiteral("/org/freedesktop/FileManager1"), kFileManagerService,
        QStringLiteral("ShowItems"));
    call << uris << QString();
    record(*plan);
    // Asked without waiting: a file manager started by activation may take seconds to answer,
    // and the service must go on answering menus meanwhile. Only a refusal (no file manager
    // offers the interface) falls back to opening the folders; one that is slow has the request.
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, 10000));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [openFolders](QDBusPendingCallWatcher* w) {
                         const QDBusError error = w->error();
                         if (error.isValid() && error.type() != QDBusError::NoReply &&
                             error.type() != QDBusError::Timeout) {
                             qCWarning(lcLauncher) << "ShowItems failed:" << error.message();
                             openFolders();
                         }
                         w->deleteLater();
                     });
    return true;
}

bool SystemLauncher::runCommand(const QStringList& argv, const QString& workingDirectory)
{
    const std::optional<LaunchPlan> plan = LaunchPlan::runCommand(argv, workingDirectory);
    return plan && startDetached(*plan);
}

bool SystemLauncher::launchSettingsApplication()
{
    return startDetached(LaunchPlan::launchSettingsApplication());
}

bool SystemLauncher::notify(const QString& summary, const QString& body)
{
    if (m_transcript)
        m_transcript->recordNotification(summary, body);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    call << QStringLiteral("Pallstone") << 0u << QStringLiteral("pallstone") << summary << body
         << QStringList() << QVariantMap() << -1;
    // Sent without waiting: a missing or slow notification server must not hold the service.
    return bus.send(call);
}

} // namespace pallstone
