// The cost of reading the shared store on every menu: unchanged (one stat), after another process
// changed it (a full parse), and turning the main menu into items.
#include "Defaults.h"
#include "MenuStore.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace pallstone;

namespace {

constexpr int kRecordsPerList = 60;

Value fullList(const QString& prefix)
{
    Value list = Value::array();
    for (int i = 0; i < kRecordsPerList; ++i) {
        Value record = Value::dictionary();
        record.insert(QStringLiteral("key"), prefix + QString::number(i));
        record.insert(QStringLiteral("icon"), QStringLiteral("copy"));
        record.insert(QStringLiteral("displayName"),
                      QStringLiteral("Entry %1 of %2").arg(i).arg(prefix));
        record.insert(QStringLiteral("iconPath"),
                      QStringLiteral("/home/user/.local/share/pallstone/%1/%2.png")
                          .arg(ContainerFolder::appIcons)
                          .arg(i));
        record.insert(QStringLiteral("disabled"), i % 3 == 0);
        record.insert(QStringLiteral("toMainMenu"), i % 2 == 0);
        list.append(record);
    }
    return list;
}

void fillStore(Defaults& store)
{
    store.update([](Value& root) {
        root.insert(StoreKey::rightMenu, fullList(QStringLiteral("Copy to")));
        root.insert(StoreKey::newFile, fullList(QStringLiteral("ext")));
        root.insert(StoreKey::commonApp, fullList(QStringLiteral("App")));
        root.insert(StoreKey::commonPath, fullList(QStringLiteral("/home/user/folder")));
        root.insert(StoreKey::folderIcon, fullList(QStringLiteral("icon")));
        root.insert(StoreKey::commonPathNextMenu, 3);
    });
}

struct Home
{
    QTemporaryDir dir;
    Home()
    {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath(QStringLiteral("config"))));
        qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath(QStringLiteral("data"))));
        fillStore(MenuStore::sharedDefaults());
    }
};

Home& home()
{
    static Home h;
    return h;
}

void BM_ReadUnchangedStore(benchmark::State& state)
{
    home();
    Defaults& store = MenuStore::sharedDefaults();
    store.object(StoreKey::rightMenu);
    for (auto _ : state)
        benchmark::DoNotOptimize(store.object(StoreKey::rightMenu));
}
BENCHMARK(BM_ReadUnchangedStore);

void BM_ReadStoreAfterAChange(benchmark::State& state)
{
    home();
    Defaults& reader = MenuStore::sharedDefaults();
    Defaults writer(reader.filePath());
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        writer.setObject(++n, StoreKey::useCount);
        state.ResumeTiming();
        benchmark::DoNotOptimize(reader.object(StoreKey::rightMenu));
    }
}
BENCHMARK(BM_ReadStoreAfterAChange)->Unit(benchmark::kMicrosecond);

void BM_MenuItemArray(benchmark::State& state)
{
    home();
    MenuStore::setProgram(MenuStore::Program::Extension);
    for (auto _ : state)
        benchmark::DoNotOptimize(MenuStore::menuItemArray());
}
BENCHMARK(BM_MenuItemArray)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
