#include "ConvertModule.h"

#include <QCoreApplication>
#include <QLibrary>

#include <mutex>

namespace pallstone {

namespace {

// Constant-initialised, so that provide() works from another file's static initialiser.
std::atomic<ConvertModule::Entry> g_entry{nullptr};

QString modulePath()
{
    return QCoreApplication::applicationDirPath() + u'/' +
           QStringLiteral(PALLSTONE_MODULE_DIR_FROM_BIN) + u'/' +
           QLatin1String(ConvertModule::kFileName);
}

} // namespace

bool ConvertModule::provide(Entry entry)
{
    g_entry.store(entry, std::memory_order_release);
    return true;
}

ConvertModule::Entry ConvertModule::entry(QString* error)
{
    if (const Entry known = g_entry.load(std::memory_order_acquire))
        return known;
    static std::mutex mutex;
    static QString loadError;
    const std::lock_guard locker(mutex);
    if (!g_entry.load(std::memory_order_acquire) && loadError.isEmpty()) {
        // Never unloaded: jobs may still run its code, and libvips keeps threads of its own.
        QLibrary library(modulePath());
        library.setLoadHints(QLibrary::ResolveAllSymbolsHint);
        if (!library.load())
            loadError = library.errorString();
        else if (!g_entry.load(std::memory_order_acquire))
            loadError = QStringLiteral("%1 registered no conversion").arg(library.fileName());
    }
    if (error)
        *error = loadError;
    return g_entry.load(std::memory_order_acquire);
}

} // namespace pallstone
