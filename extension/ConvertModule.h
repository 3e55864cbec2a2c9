#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>

namespace pallstone {

// An image decoded by the program's own readers: 8-bit RGBA rows, packed.
struct DecodedImage
{
    enum class Status
    {
        Decoded,
        Unreadable,
        TooLarge
    };
    Status status = Status::Unreadable;
    int width = 0;
    int height = 0;
    QByteArray rgba;
};

// One "Convert to" job as the conversion module receives it. The callbacks are called on the
// job's thread.
struct ConvertRequest
{
    QString key;         // the chosen target ("PNG", "AppIcon.icns", "PDF" ...)
    QStringList formats; // source extensions accepted, as written in the entry
    QStringList paths;
    QString untitled; // the merged document's name
    const std::atomic<bool>* cancelled = nullptr;
    // An item left out (a source not converted, or an output not written): the localisation key
    // of the reason, its %1, %2 ... filled with arguments.
    std::function<void(const QString& path, const QString& reason, const QStringList& arguments)>
        fail;
    std::function<void(int total, int done)> percent;
    // Reads the formats libvips reads only through loaders it does not trust (BMP, ICO, WBMP)
    // with Qt's readers, which the program has loaded anyway: the module itself needs no Qt Gui
    // and its libraries. Refuses images of more than maxPixels from their header.
    DecodedImage (*decodeWithQt)(const QString& path, qint64 maxPixels) = nullptr;
};

// The image and PDF work of "Convert to" lives in a module of its own: libvips and qpdf bring some
// sixty libraries whose loading would otherwise be paid by every start of the extension, menus
// included. The module is loaded at the first conversion; a program that links the conversion code
// in (the tests, the benchmarks) has it from the start.
class ConvertModule final
{
public:
    using Entry = void (*)(const ConvertRequest& request);

    // The module's file name, looked for in the library folder of the installation (relative to
    // the program) and, in a build tree, beside the program's output the same way.
    static constexpr auto kFileName = "pallstone-convert.so";

    // Called by the conversion code as it is loaded.
    static bool provide(Entry entry);

    // The entry, loading the module on first use; null when the module cannot be loaded, with
    // the loader's reason in error. Safe on any thread.
    static Entry entry(QString* error = nullptr);

private:
    ConvertModule() = delete;
};

} // namespace pallstone
