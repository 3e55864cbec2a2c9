#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>

namespace pallstone {

// Merges PDF documents and images into one new PDF with qpdf. PDF pages are copied as they are
// (text stays text); an image becomes one page of its own pixel size at 72 dpi, a JPEG embedded
// as its own data, any other image as Flate-compressed RGB with its alpha as a soft mask.
class PdfMerger final
{
public:
    enum class Refusal
    {
        Unreadable, // not a document or an image, or a damaged one
        TooLarge,   // more pixels than ImageConverter::kMaxPixels
        Locked      // a document that needs a password
    };

    struct Skipped
    {
        QString path;
        Refusal reason;
    };

    struct Result
    {
        bool opened = false;  // some item opened as a document or an image
        bool written = false; // the document was written to path
        int pageCount = 0;
        QList<Skipped> skipped; // the items left out, in their order, the others merged
        QString path;           // where the document was written, or was to be
        QString error;
    };

    // Items that open neither way, or do not decode to their end, are skipped and listed. The
    // output is the first opened item's name with "pdf" for a single page, else untitledName +
    // ".pdf" in that item's folder; never an existing file (-1, -2 ... are appended).
    static Result merge(const QStringList& paths, const QString& untitledName,
                        const std::atomic<bool>* cancelled = nullptr);

private:
    PdfMerger() = delete;
};

} // namespace pallstone
