#pragma once

#include <QString>

#include <atomic>
#include <functional>

namespace pallstone {

// Renders every page of a PDF document as an image file, "1.png", "2.png" ..., into a new folder
// named after the document, with libvips' poppler loader.
class PdfPageRenderer final
{
public:
    // Screen-sharp pages at a size a person can still mail: the document's own resolution is
    // unknown (text has none), and 150 dpi is what print previews use.
    static constexpr int kDpi = 150;

    enum class Outcome
    {
        Written,
        Unopenable, // not a document, locked, or without pages: nothing is written
        Failed,     // a page could not be rendered or written; the folder is removed again
        Cancelled
    };

    struct Result
    {
        Outcome outcome = Outcome::Unopenable;
        QString folder;
        int pageCount = 0;
        QString error;
    };

    // progress(total, done) after each page; (0, 0) when the document does not open.
    using Progress = std::function<void(int total, int done)>;

    static Result render(const QString& pdfPath, const QString& extension,
                         const Progress& progress = {},
                         const std::atomic<bool>* cancelled = nullptr);

private:
    PdfPageRenderer() = delete;
};

} // namespace pallstone
