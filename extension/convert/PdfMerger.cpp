// qpdf's headers ask which of its pointer types the code expects: only std::shared_ptr here.
#define POINTERHOLDER_TRANSITION 4

#include "PdfMerger.h"

#include "ImageConverter.h"
#include "OutputFile.h"
#include "Paths.h"

#include <QFile>
#include <QFileInfo>

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFExc.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <cstdio>
#include <list>
#include <memory>

namespace pallstone {

namespace {

using Handle = QPDFObjectHandle;

bool isJpeg(const QByteArray& bytes)
{
    return bytes.size() > 3 && bytes.startsWith("\xff\xd8\xff");
}

std::string bytesOf(const void* data, size_t size)
{
    return std::string(static_cast<const char*>(data), size);
}

std::string pixelsOf(const vips::VImage& image)
{
    size_t size = 0;
    void* data = image.write_to_memory(&size);
    std::string bytes = bytesOf(data, size);
    g_free(data);
    return bytes;
}

Handle imageStream(QPDF& pdf, int width, int height, const char* colourSpace)
{
    Handle image = Handle::newStream(&pdf);
    Handle dict = image.getDict();
    dict.replaceKey("/Type", Handle::newName("/XObject"));
    dict.replaceKey("/Subtype", Handle::newName("/Image"));
    dict.replaceKey("/Width", Handle::newInteger(width));
    dict.replaceKey("/Height", Handle::newInteger(height));
    dict.replaceKey("/ColorSpace", Handle::newName(colourSpace));
    dict.replaceKey("/BitsPerComponent", Handle::newInteger(8));
    return image;
}

// A page exactly the image's pixel size in points (72 dpi), the image filling it.
void addImagePage(QPDF& pdf, const Handle& image, int width, int height, int rotate)
{
    Handle resources = Handle::newDictionary();
    Handle xobjects = Handle::newDictionary();
    xobjects.replaceKey("/Im0", image);
    resources.replaceKey("/XObject", xobjects);
    const std::string content =
        "q " + std::to_string(width) + " 0 0 " + std::to_string(height) + " 0 0 cm /Im0 Do Q\n";
    Handle page = Handle::newDictionary();
    page.replaceKey("/Type", Handle::newName("/Page"));
    page.replaceKey("/MediaBox",
                    Handle::newArray(QPDFObjectHandle::Rectangle(0, 0, width, height)));
    page.replaceKey("/Resources", resources);
    page.replaceKey("/Contents", Handle::newStream(&pdf, content));
    if (rotate != 0)
        page.replaceKey("/Rotate", Handle::newInteger(rotate));
    QPDFPageDocumentHelper(pdf).addPage(QPDFPageObjectHelper(pdf.makeIndirectObject(page)), false);
}

// Baseline and progressive JPEGs in grey or RGB go in as they are; a viewer turns them by the
// page's /Rotate. CMYK (often stored inverted) and mirrored orientations are decoded instead.
bool addJpegAsIs(QPDF& pdf, const QByteArray& bytes, const vips::VImage& header)
{
    const int bands = header.bands();
    if ((bands != 1 && bands != 3) || header.format() != VIPS_FORMAT_UCHAR)
        return false;
    int orientation = 1;
    if (header.get_typeof(VIPS_META_ORIENTATION) != 0)
        orientation = header.get_int(VIPS_META_ORIENTATION);
    int rotate = 0;
    switch (orientation) {
    case 1:
        break;
    case 3:
        rotate = 180;
        break;
    case 6:
        rotate = 90;
        break;
    case 8:
        rotate = 270;
        break;
    default:
        return false;
    }
    Handle image = imageStream(pdf, header.width(), header.height(),
                               bands == 1 ? "/DeviceGray" : "/DeviceRGB");
    image.replaceStreamData(bytesOf(bytes.constData(), size_t(bytes.size())),
                            Handle::newName("/DCTDecode"), Handle::newNull());
    addImagePage(pdf, image, header.width(), header.height(), rotate);
    return true;
}

void addDecodedImage(QPDF& pdf, const vips::VImage& source)
{
    vips::VImage rgb = source.colourspace(VIPS_INTERPRETATION_sRGB);
    if (rgb.format() != VIPS_FORMAT_UCHAR)
        rgb = rgb.cast(VIPS_FORMAT_UCHAR);
    const int width = rgb.width();
    const int height = rgb.height();
    Handle image = imageStream(pdf, width, height, "/DeviceRGB");
    // Raw here; the writer compresses every unfiltered stream with Flate.
    if (rgb.has_alpha()) {
        Handle mask = imageStream(pdf, width, height, "/DeviceGray");
        mask.replaceStreamData(pixelsOf(rgb.extract_band(3)), Handle::newNull(), Handle::newNull());
        image.getDict().replaceKey("/SMask", mask);
        rgb = rgb.extract_band(0, vips::VImage::option()->set("n", 3));
    }
    image.replaceStreamData(pixelsOf(rgb), Handle::newNull(), Handle::newNull());
    addImagePage(pdf, image, width, height, 0);
}

} // namespace

PdfMerger::Result PdfMerger::merge(const QStringList& paths, const QString& untitledName,
                                   const std::atomic<bool>* cancelled)
{
    ImageConverter::initialise();
    Result result;
    if (paths.isEmpty())
        return result;
    QPDF out;
    out.emptyPDF();
    // Copied pages refer to their documents until the output is written.
    std::list<QPDF> sources;
    QString firstOpened;

    for (const QString& path : paths) {
        if (cancelled && cancelled->load())
            return result;
        const QByteArray name = QFile::encodeName(path);
        if (Paths::pathExtension(path).toLower() == u"pdf") {
            try {
                QPDF& source = sources.emplace_back();
                source.setSuppressWarnings(true);
                source.processFile(name.constData());
                for (const QPDFPageObjectHelper& page :
                     QPDFPageDocumentHelper(source).getAllPages())
                    QPDFPageDocumentHelper(out).addPage(page, false);
            } catch (const std::exception&) {
                // Not a document, or locked with a password: skipped like any unreadable item.
                sources.pop_back();
                continue;
            }
        } else {
            const ImageConverter::Loaded loaded = ImageConverter::open(path);
            if (loaded.status == ImageConverter::Status::TooLarge)
                ++result.failedItems;
            if (loaded.status != ImageConverter::Status::Loaded)
                continue;
            try {
                QFile file(path);
                QByteArray head;
                if (file.open(QIODevice::ReadOnly))
                    head = file.peek(4);
                bool added = false;
                if (isJpeg(head)) {
                    const vips::VImage header =
                        vips::VImage::new_from_file(name.constData(), nullptr);
                    added = addJpegAsIs(out, file.readAll(), header);
                }
                if (!added)
                    addDecodedImage(out, loaded.image);
            } catch (const std::exception&) {
                // Corrupt data past a valid header.
                vips_error_clear();
                ++result.failedItems;
                continue;
            }
        }
        if (firstOpened.isEmpty())
            firstOpened = path;
    }
    if (firstOpened.isEmpty())
        return result;
    result.opened = true;
    result.pageCount = QPDFPageDocumentHelper(out).getAllPages().size();
    if (result.pageCount == 0) {
        // Only empty documents: nothing worth a file.
        return result;
    }

    const QString wanted =
        result.pageCount == 1
            ? QString(Paths::deletingPathExtension(firstOpened) + QStringLiteral(".pdf"))
            : QString(QFileInfo(firstOpened).absolutePath() + u'/' + untitledName +
                      QStringLiteral(".pdf"));
    OutputFile output(Paths::uniquePath(wanted));
    if (!output.open(&result.error))
        return result;
    try {
        FILE* file = ::fdopen(::dup(output.descriptor()), "wb");
        if (!file) {
            result.error = QStringLiteral("cannot write");
            return result;
        }
        QPDFWriter writer(out);
        writer.setOutputFile("merged document", file, true);
        writer.write();
    } catch (const std::exception& e) {
        result.error = QString::fromLocal8Bit(e.what());
        return result;
    }
    if (const std::optional<QString> path = output.commitUnique(&result.error)) {
        result.path = *path;
        result.written = true;
    }
    return result;
}

} // namespace pallstone
