// The menu as a file manager's bridge gets it: MenuForMenuKind from this process (the client)
// to the running service (another process) on a private session bus, with the default
// configuration. Reports the median and 95th percentile round trip, and the service's resident
// memory when idle (VmRSS after the menus were built). Then the same menus while the service
// deletes a folder of 50,000 files and while it compresses 300 MB: the slowest of them beside the
// idle median, against the 250 ms after which a bridge gives up. Last the load: 20,000 menus
// asked by 4 client processes at once while compressions run one after the other, with the
// median and 99th percentile beside those of the same clients when nothing else runs (target:
// 16 ms at the 99th percentile, one frame), and the service's resident memory before and after
// (and before its first compression).
#include "DBusMenuEntry.h"
#include "MenuStore.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QUrl>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

const QString kService = QStringLiteral("com.tolvane.pallstone.extension");

// A private bus, the seeded configuration and the service, for the whole program.
struct Service
{
    QTemporaryDir home;
    QProcess daemon;
    QProcess service;
    QString address;
    QString file;
    QString answers;
    bool ok = false;
    qint64 startKiB = -1; // idle, before any menu

    Service()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), home.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral(".config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral(".local/share")));
        env.insert(QStringLiteral("XDG_CACHE_HOME"), home.filePath(QStringLiteral(".cache")));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
        // The compression's save panel is answered from here: no window, the archive encrypted.
        answers = home.filePath(QStringLiteral("answers.json"));
        QFile script(answers);
        if (!script.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(script.fileName()));
        // One answer per compression: the load benchmark starts one after the other.
        QJsonArray saves;
        for (int i = 0; i < 200; ++i)
            saves.append(
                QJsonObject{{QStringLiteral("path"), home.filePath(QStringLiteral("big.zip"))},
                            {QStringLiteral("password"), QStringLiteral("bench")}});
        script.write(QJsonDocument(saves).toJson());
        script.close();
        env.insert(QStringLiteral("PALLSTONE_ANSWERS"), answers);
        // This process enables the entries it uses, in the same configuration.
        for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
            qputenv(name, env.value(QLatin1String(name)).toLocal8Bit());

        daemon.start(QStringLiteral("dbus-daemon"),
                     {QStringLiteral("--session"), QStringLiteral("--nofork"),
                      QStringLiteral("--print-address=1")});
        if (!daemon.waitForReadyRead(10000))
            return;
        address = QString::fromUtf8(daemon.readLine().trimmed());
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address);

        QProcess setup;
        setup.setProcessEnvironment(env);
        setup.start(QStringLiteral(PALLSTONE_APP), {QStringLiteral("setup")});
        if (!setup.waitForFinished(60000) || setup.exitCode() != 0)
            return;
        file = home.filePath(QStringLiteral("report.txt"));
        QFile f(file);
        if (!f.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(f.fileName()));
        f.write("x");
        f.close();

        service.setProcessEnvironment(env);
        service.start(QStringLiteral(PALLSTONE_EXTENSION), {});
        QDBusConnection bus = connection();
        for (int i = 0; i < 500 && !bus.interface()->isServiceRegistered(kService).value(); ++i)
            QThread::msleep(20);
        ok = bus.interface()->isServiceRegistered(kService).value();
        QThread::msleep(500);
        startKiB = residentKiB();
    }
    ~Service()
    {
        service.terminate();
        service.waitForFinished(10000);
        QDBusConnection::disconnectFromBus(QStringLiteral("bench"));
        daemon.kill();
        daemon.waitForFinished();
    }
    QDBusConnection connection() const
    {
        return QDBusConnection::connectToBus(address, QStringLiteral("bench"));
    }
    qint64 residentKiB() const
    {
        QFile status(QStringLiteral("/proc/%1/status").arg(service.processId()));
        if (!status.open(QIODevice::ReadOnly))
            return -1;
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith("VmRSS:"))
                return line.mid(6).trimmed().split(' ').first().toLongLong();
        }
        return -1;
    }
};

Service& service()
{
    static Service s;
    return s;
}

void roundTrip(benchmark::State& state, uint kind)
{
    Service& s = service();
    if (!s.ok) {
        state.SkipWithError("the service did not start on the private bus");
        return;
    }
    const QString uri = QString::fromLatin1(QUrl::fromLocalFile(s.file).toEncoded());
    const QString folder = QString::fromLatin1(QUrl::fromLocalFile(s.home.path()).toEncoded());
    QDBusMessage call = QDBusMessage::createMethodCall(
        kService, QStringLiteral("/com/tolvane/pallstone/ContextMenu"),
        QStringLiteral("com.tolvane.pallstone.ContextMenu"), QStringLiteral("MenuForMenuKind"));
    call.setArguments(
        {kind, kind == 0 ? QStringList{uri} : QStringList{}, kind == 0 ? QString() : folder});
    QDBusConnection bus = s.connection();
    std::vector<double> ms;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const QDBusMessage reply = bus.call(call, QDBus::Block, 5000);
        const auto end = std::chrono::steady_clock::now();
        if (reply.type() != QDBusMessage::ReplyMessage) {
            state.SkipWithError("MenuForMenuKind failed");
            return;
        }
        ms.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    std::sort(ms.begin(), ms.end());
    state.counters["median_ms"] = ms[ms.size() / 2];
    state.counters["p95_ms"] = ms[std::min(ms.size() - 1, ms.size() * 95 / 100)];
    state.counters["idle_VmRSS_KiB"] = double(s.startKiB);
    state.counters["after_VmRSS_KiB"] = double(s.residentKiB());
}

QDBusMessage menuCall(uint kind, const QStringList& uris, const QString& target)
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        kService, QStringLiteral("/com/tolvane/pallstone/ContextMenu"),
        QStringLiteral("com.tolvane.pallstone.ContextMenu"), QStringLiteral("MenuForMenuKind"));
    call.setArguments({kind, uris, target});
    return call;
}

QString fileUri(const QString& path)
{
    return QString::fromLatin1(QUrl::fromLocalFile(path).toEncoded());
}

// Chooses the top-level entry of the item's menu as a person would; false with the reason in
// the state when it cannot.
bool startEntry(benchmark::State& state, QDBusConnection& bus, const QString& item,
                const QString& key)
{
    const QDBusMessage reply =
        bus.call(menuCall(0, {fileUri(item)}, QString()), QDBus::Block, 5000);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        state.SkipWithError("MenuForMenuKind failed");
        return false;
    }
    const auto menuId = reply.arguments().at(0).toULongLong();
    qint64 tag = 0;
    for (const pallstone::DBusMenuEntry& e :
         qdbus_cast<pallstone::DBusMenu>(reply.arguments().at(1))) {
        if (e.parentId == -1 && e.key == key)
            tag = e.tag;
    }
    if (tag <= 0) {
        state.SkipWithError("the entry is not in the menu");
        return false;
    }
    QDBusMessage act = QDBusMessage::createMethodCall(
        kService, QStringLiteral("/com/tolvane/pallstone/ContextMenu"),
        QStringLiteral("com.tolvane.pallstone.ContextMenu"), QStringLiteral("OnMenuItemAction"));
    act.setArguments({menuId, tag, key, 0u, QStringList{fileUri(item)}, QString()});
    bus.call(act, QDBus::Block, 5000);
    return true;
}

// Starts the top-level entry on the item, then asks for background menus until done() holds;
// the slowest and the median of those round trips, and how many there were.
void menusDuring(benchmark::State& state, const QString& item, const QString& key,
                 const std::function<bool()>& done)
{
    Service& s = service();
    QDBusConnection bus = s.connection();
    if (!startEntry(state, bus, item, key))
        return;
    const QDBusMessage background = menuCall(1, {}, fileUri(s.home.path()));
    std::vector<double> ms;
    QElapsedTimer limit;
    limit.start();
    while (!done() && limit.elapsed() < 600000) {
        const auto start = std::chrono::steady_clock::now();
        const QDBusMessage answer = bus.call(background, QDBus::Block, 5000);
        const auto end = std::chrono::steady_clock::now();
        if (answer.type() != QDBusMessage::ReplyMessage) {
            state.SkipWithError("a menu failed during the job");
            return;
        }
        ms.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    if (ms.empty()) {
        state.SkipWithError("the job ended before a menu was asked for");
        return;
    }
    std::sort(ms.begin(), ms.end());
    state.counters["menus"] = double(ms.size());
    state.counters["median_ms"] = ms[ms.size() / 2];
    state.counters["worst_ms"] = ms.back();
    state.counters["bridge_gives_up_ms"] = 250;
}

void BM_MenuWhileDeleting50kFiles(benchmark::State& state)
{
    Service& s = service();
    if (!s.ok) {
        state.SkipWithError("the service did not start on the private bus");
        return;
    }
    pallstone::MenuStore::updateMenuKey(pallstone::StoreKey::rightMenu, QStringLiteral("Delete"),
                                        QStringLiteral("disabled"), false);
    pallstone::MenuStore::sharedDefaults().setObject(false, pallstone::StoreKey::prefCheck(0));
    for (auto _ : state) {
        state.PauseTiming();
        const QString big = s.home.filePath(QStringLiteral("big"));
        QDir().mkpath(big);
        for (int i = 0; i < 50000; ++i) {
            QFile f(big + QStringLiteral("/f") + QString::number(i));
            if (!f.open(QIODevice::WriteOnly))
                qFatal("cannot write %s", qPrintable(f.fileName()));
        }
        state.ResumeTiming();
        menusDuring(state, big, QStringLiteral("Delete"), [&] { return !QFileInfo::exists(big); });
    }
}

// 300 files of 1 MiB that do not compress, so the job is as long as it can be.
QString makeTree()
{
    const QString tree = service().home.filePath(QStringLiteral("tree"));
    if (QFileInfo::exists(tree))
        return tree;
    QDir().mkpath(tree);
    QByteArray block(1 << 20, Qt::Uninitialized);
    quint32 x = 2463534242u;
    for (int i = 0; i < 300; ++i) {
        for (char& c : block) {
            x ^= x << 13;
            x ^= x >> 17;
            x ^= x << 5;
            c = char(x);
        }
        QFile f(tree + QStringLiteral("/part") + QString::number(i));
        if (!f.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(f.fileName()));
        f.write(block);
    }
    return tree;
}

void BM_MenuWhileCompressing300MB(benchmark::State& state)
{
    Service& s = service();
    if (!s.ok) {
        state.SkipWithError("the service did not start on the private bus");
        return;
    }
    pallstone::MenuStore::updateMenuKey(pallstone::StoreKey::rightMenu,
                                        QStringLiteral("Encrypted Compression"),
                                        QStringLiteral("disabled"), false);
    for (auto _ : state) {
        state.PauseTiming();
        const QString tree = makeTree();
        const QString archive = s.home.filePath(QStringLiteral("big.zip"));
        QFile::remove(archive);
        state.ResumeTiming();
        // The archive appears under its final name when the job is done.
        menusDuring(state, tree, QStringLiteral("Encrypted Compression"),
                    [&] { return QFileInfo::exists(archive); });
    }
}

constexpr char kClientRole[] = "--menu-client";

// A client process: asks for count menus, items and background in turn, and prints each round
// trip in microseconds, one a line.
int runClient(const QString& address, int count, const QString& item, const QString& folder)
{
    QDBusConnection bus = QDBusConnection::connectToBus(address, QStringLiteral("client"));
    const QDBusMessage calls[] = {menuCall(0, {fileUri(item)}, QString()),
                                  menuCall(1, {}, fileUri(folder))};
    std::vector<qint64> us;
    us.reserve(size_t(count));
    for (int i = 0; i < count; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const QDBusMessage answer = bus.call(calls[i % 2], QDBus::Block, 5000);
        const auto end = std::chrono::steady_clock::now();
        if (answer.type() != QDBusMessage::ReplyMessage)
            return 1;
        us.push_back(std::chrono::duration_cast<std::chrono::microseconds>(end - start).count());
    }
    for (qint64 t : us)
        std::printf("%lld\n", static_cast<long long>(t));
    return 0;
}

// Starts `count` client processes asking for `menusEach` menus each and collects their round trips,
// sorted; tick is called while they run and stops the wait when it returns false.
bool clientTimes(Service& s, int count, int menusEach, std::vector<qint64>& us,
                 const std::function<bool()>& tick)
{
    std::vector<std::unique_ptr<QProcess>> clients;
    for (int c = 0; c < count; ++c) {
        clients.push_back(std::make_unique<QProcess>());
        clients.back()->start(QCoreApplication::applicationFilePath(),
                              {QLatin1String(kClientRole), s.address, QString::number(menusEach),
                               s.file, s.home.path()});
    }
    bool ok = true;
    for (auto& client : clients) {
        QByteArray out;
        while (!client->waitForFinished(20)) {
            out += client->readAllStandardOutput();
            if (ok && !tick())
                ok = false;
        }
        out += client->readAllStandardOutput();
        ok = ok && client->exitStatus() == QProcess::NormalExit && client->exitCode() == 0;
        for (const QByteArray& line : out.split('\n')) {
            if (!line.isEmpty())
                us.push_back(line.toLongLong());
        }
    }
    std::sort(us.begin(), us.end());
    return ok;
}

void BM_LoadFourClientsWhileCompressing(benchmark::State& state)
{
    Service& s = service();
    if (!s.ok) {
        state.SkipWithError("the service did not start on the private bus");
        return;
    }
    pallstone::MenuStore::updateMenuKey(pallstone::StoreKey::rightMenu,
                                        QStringLiteral("Encrypted Compression"),
                                        QStringLiteral("disabled"), false);
    constexpr int kClients = 4;
    constexpr int kMenusEach = 5000;
    constexpr int kIdleMenusEach = 1000;
    // One frame at 60 Hz.
    constexpr int kTargetP99Ms = 16;
    for (auto _ : state) {
        state.PauseTiming();
        const QString tree = makeTree();
        const QString archive = s.home.filePath(QStringLiteral("big.zip"));
        QFile::remove(archive);
        QDBusConnection bus = s.connection();
        // Warm: the kept menus and the caches full, as in a session that has been running.
        for (int i = 0; i < 200; ++i)
            bus.call(menuCall(i % 2, i % 2 ? QStringList{} : QStringList{fileUri(s.file)},
                              i % 2 ? fileUri(s.home.path()) : QString()),
                     QDBus::Block, 5000);
        QThread::msleep(500);
        const qint64 cold = s.residentKiB();
        // One job first, as in a session that has compressed before: what the first job sets up
        // for good (the crypto library's tables, the worker threads' heaps) is not growth.
        if (!startEntry(state, bus, tree, QStringLiteral("Encrypted Compression")))
            return;
        QElapsedTimer warm;
        warm.start();
        while (!QFileInfo::exists(archive) && warm.elapsed() < 120000)
            QThread::msleep(50);
        QFile::remove(archive);
        QThread::msleep(1000);
        const qint64 before = s.residentKiB();
        state.ResumeTiming();

        // The same clients with nothing else running: the idle figures beside the loaded ones.
        std::vector<qint64> idle;
        if (!clientTimes(s, kClients, kIdleMenusEach, idle, [] { return true; })) {
            state.SkipWithError("a client's menu failed");
            return;
        }

        if (!startEntry(state, bus, tree, QStringLiteral("Encrypted Compression")))
            return;
        int compressions = 1;
        std::vector<qint64> us;
        // Another compression as soon as one is done, so that every menu meets one.
        const bool answered = clientTimes(s, kClients, kMenusEach, us, [&] {
            if (QFileInfo::exists(archive)) {
                QFile::remove(archive);
                if (!startEntry(state, bus, tree, QStringLiteral("Encrypted Compression")))
                    return false;
                ++compressions;
            }
            return true;
        });
        if (!answered) {
            if (!state.error_occurred())
                state.SkipWithError("a client's menu failed");
            return;
        }
        state.PauseTiming();
        // The last job finishes, then the service is idle again.
        QElapsedTimer limit;
        limit.start();
        while (!QFileInfo::exists(archive) && limit.elapsed() < 120000)
            QThread::msleep(50);
        QThread::msleep(1000);
        const qint64 after = s.residentKiB();
        state.ResumeTiming();

        if (us.size() != size_t(kClients * kMenusEach) ||
            idle.size() != size_t(kClients * kIdleMenusEach)) {
            state.SkipWithError("menus are missing from the clients' reports");
            return;
        }
        const auto median = [](const std::vector<qint64>& t) {
            return double(t[t.size() / 2]) / 1000;
        };
        const auto p99 = [](const std::vector<qint64>& t) {
            return double(t[t.size() * 99 / 100]) / 1000;
        };
        state.counters["menus"] = double(us.size());
        state.counters["compressions"] = compressions;
        state.counters["idle_median_ms"] = median(idle);
        state.counters["idle_p99_ms"] = p99(idle);
        state.counters["median_ms"] = median(us);
        state.counters["p99_ms"] = p99(us);
        state.counters["p99_target_ms"] = kTargetP99Ms;
        std::printf("menus of %d clients at once, idle: median %.2f ms, p99 %.2f ms; while "
                    "compressing 300 MB: median %.2f ms, p99 %.2f ms (target p99 <= %d ms) %s\n",
                    kClients, median(idle), p99(idle), median(us), p99(us), kTargetP99Ms,
                    p99(us) <= kTargetP99Ms ? "met" : "MISSED");
        state.counters["VmRSS_cold_KiB"] = double(cold);
        state.counters["VmRSS_before_KiB"] = double(before);
        state.counters["VmRSS_after_KiB"] = double(after);
        state.counters["growth_KiB"] = double(after - before);
        state.counters["growth_target_KiB"] = 5 * 1024;
    }
}

void BM_MenuForItems(benchmark::State& state)
{
    roundTrip(state, 0);
}
void BM_MenuForBackground(benchmark::State& state)
{
    roundTrip(state, 1);
}

} // namespace

BENCHMARK(BM_MenuForItems)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_MenuForBackground)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_MenuWhileDeleting50kFiles)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_MenuWhileCompressing300MB)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_LoadFourClientsWhileCompressing)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc >= 6 && qstrcmp(argv[1], kClientRole) == 0)
        return runClient(QString::fromUtf8(argv[2]), atoi(argv[3]), QFile::decodeName(argv[4]),
                         QFile::decodeName(argv[5]));
    pallstone::DBusMenuEntry::registerMetaType();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
