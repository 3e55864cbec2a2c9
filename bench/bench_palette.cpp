// The palette from the call to the window on screen: the menu of a selection built from the
// default configuration, its entries named, the window made, shown and exposed. Run it under a
// real X server (xvfb-run) as well as offscreen: exposure is where a display costs time.
#include "ContextMenuService.h"
#include "DefaultCatalogue.h"
#include "EntryPaths.h"
#include "Localizer.h"
#include "MenuStore.h"
#include "Palette.h"
#include "PaletteWindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QWindow>

#include <benchmark/benchmark.h>

using namespace pallstone;

namespace {

struct Setup
{
    QTemporaryDir home;
    QString file;
    Setup()
    {
        qputenv("HOME", QFile::encodeName(home.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral(".config"))));
        qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(QStringLiteral(".local/share"))));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(home.filePath(QStringLiteral(".cache"))));
        MenuStore::setProgram(MenuStore::Program::Settings);
        DefaultCatalogue::setup();
        MenuStore::setProgram(MenuStore::Program::Extension);
        QDir().mkpath(home.filePath(QStringLiteral("work")));
        file = home.filePath(QStringLiteral("work/selected.txt"));
        QFile selected(file);
        if (!selected.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(file));
    }
};

void BM_PaletteOpenToShown(benchmark::State& state)
{
    static Setup setup;
    ContextMenuService service;
    service.setupDirectoryURLs();
    const MenuRequest request(MenuKind::Items, {setup.file}, QFileInfo(setup.file).absolutePath());
    for (auto _ : state) {
        const Menu menu = service.menuFor(request);
        const EntryPaths entries(menu.entries);
        PaletteWindow window(Palette::requestFor(request, entries));
        window.show();
        QElapsedTimer waited;
        waited.start();
        while (!(window.windowHandle() && window.windowHandle()->isExposed()) &&
               waited.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (!window.windowHandle()->isExposed())
            state.SkipWithError("the palette was never exposed");
        state.PauseTiming();
        window.close();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["rows"] = double(EntryPaths(service.menuFor(request).entries).entries().size());
}
BENCHMARK(BM_PaletteOpenToShown)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // The window's texts as the service shows them.
    pallstone::Localizer::install(QStringLiteral("pallstone-extension"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
