// Building the menu in-process: the default configuration plus ten favourite folders shown in
// mode 4 (ten entries, then the applications), each folder holding 100,000 entries.
#include "ContextMenuService.h"
#include "DefaultCatalogue.h"
#include "MenuStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace pallstone;

namespace {

constexpr int kEntries = 100000;
constexpr int kFavourites = 10;

// A folder of many entries, made once and reused across runs (it takes a while to create).
QString bigFolder(const QString& name, int subfolders)
{
    const QString path = QDir::tempPath() + QStringLiteral("/pallstone-bench-") + name;
    const QString done = path + QStringLiteral("/.complete");
    if (QFile::exists(done))
        return path;
    QDir(path).removeRecursively();
    QDir().mkpath(path);
    for (int i = 0; i < kEntries; ++i) {
        const QByteArray entry = QFile::encodeName(path + QStringLiteral("/entry-%1.txt").arg(i));
        if (i < subfolders) {
            ::mkdir(entry.constData(), 0755);
        } else {
            const int fd = ::open(entry.constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
            if (fd >= 0)
                ::close(fd);
        }
    }
    QFile marker(done);
    if (!marker.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(marker.fileName()));
    return path;
}

struct Setup
{
    QTemporaryDir home;
    QString folder;
    Setup(const QString& name, int subfolders)
    {
        qputenv("HOME", QFile::encodeName(home.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral(".config"))));
        qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(QStringLiteral(".local/share"))));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(home.filePath(QStringLiteral(".cache"))));
        const QString big = bigFolder(name, subfolders);
        // Ten favourites, each a distinct path onto a folder of 100,000 entries.
        Value list = Value::array();
        for (int i = 0; i < kFavourites; ++i) {
            const QString link = home.filePath(QStringLiteral("favourite-%1").arg(i));
            QFile::link(big, link);
            Value record = Value::dictionary();
            record.insert(QStringLiteral("path"), link);
            list.append(record);
        }
        MenuStore::setProgram(MenuStore::Program::Settings);
        DefaultCatalogue::setup();
        Defaults& store = MenuStore::sharedDefaults();
        store.setObject(list, StoreKey::commonPath);
        store.setObject(4, StoreKey::commonPathNextMenu);
        MenuStore::setProgram(MenuStore::Program::Extension);
        folder = home.filePath(QStringLiteral("work"));
        QDir().mkpath(folder);
        QFile selected(folder + QStringLiteral("/selected.txt"));
        if (!selected.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(selected.fileName()));
    }
};

void buildMenus(benchmark::State& state, bool items)
{
    static Setup setup(QStringLiteral("files"), 0);
    ContextMenuService service;
    service.setupDirectoryURLs();
    const MenuRequest request =
        items ? MenuRequest(MenuKind::Items, {setup.folder + QStringLiteral("/selected.txt")},
                            setup.folder)
              : MenuRequest(MenuKind::Background, {}, setup.folder);
    for (auto _ : state)
        benchmark::DoNotOptimize(service.menuFor(request));
}

void BM_MenuOnFolderBackground(benchmark::State& state)
{
    buildMenus(state, false);
}
BENCHMARK(BM_MenuOnFolderBackground)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_MenuOnSelectedFile(benchmark::State& state)
{
    buildMenus(state, true);
}
BENCHMARK(BM_MenuOnSelectedFile)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
