// The menu as a file manager's bridge gets it: MenuForMenuKind from this process (the client)
// to the running service (another process) on a private session bus, with the default
// configuration. Reports the median and 95th percentile round trip, and the service's resident
// memory when idle (VmRSS after the menus were built).
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QUrl>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
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
        f.open(QIODevice::WriteOnly);
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

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
