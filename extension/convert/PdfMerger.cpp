// qpdf's headers ask which of its pointer types the code expects: only std::shared_ptr here.
#define POINTERHOLDER_TRANSITION 4

#include "PdfMerger.h"
#include "FileName.h"

#include "ImageConverter.h"
#include "OutputFile.h"
#include "Paths.h"

#include <QFile>
#include <QFileInfo>

#include <qpdf/Pipeline.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFExc.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <cstdio>
#include <exception>
#include <list>
#include <memory>
#include <stdexcept>
#include <utility>

namespace pallstone {

namespace {

using Handle = QPDFObjectHandle;

bool isJpeg(const QByteArray& bytes)
{
    return bytes.size() > 3 && bytes.startsWith("\xff\xd8\xff");
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

// The samples of one image, produced only while the document is written: a selection of fifty
// large photos is never in memory at once, only the one being written.
class ImageSamples final : public QPDFObjectHandle::StreamDataProvider
{
public:
    enum class Part
    {
        Colour,   // 8-bit RGB
        Alpha,    // 8-bit grey, the soft mask
        FileBytes // the file as it is (JPEG)
    };

    ImageSamples(const QString& path, Part part, int width, int height)
        : m_path(path), m_part(part), m_width(width), m_height(height)
    {}

    void provideStreamData(QPDFObjGen const&, Pipeline* pipeline) override
    {
        if (m_part == Part::FileBytes) {
            QFile file(m_path);
            if (!file.open(QIODevice::ReadOnly))
                throw std::runtime_error("cannot read " + m_path.toStdString());
            QByteArray chunk;
            while (!(chunk = file.read(1 << 20)).isEmpty())
                pipeline->write(reinterpret_cast<const unsigned char*>(chunk.constData()),
                                size_t(chunk.size()));
            pipeline->finish();
            return;
        }
        const ImageConverter::Loaded loaded = ImageConverter::open(m_path);
        if (loaded.status != ImageConverter::Status::Loaded)
            throw std::runtime_error("cannot read " + m_path.toStdString());
        const vips::VImage rgb = samples(loaded.image);
        // The page was laid out for this size; a file changed meanwhile would garble it.
        if (rgb.width() != m_width || rgb.height() != m_height)
            throw std::runtime_error(m_path.toStdString() + " changed while merging");
        const vips::VImage part = m_part == Part::Alpha
                                      ? rgb.extract_band(3)
                                      : rgb.extract_band(0, vips::VImage::option()->set("n", 3));
        size_t size = 0;
        void* data = part.write_to_memory(&size);
        const std::unique_ptr<void, decltype(&g_free)> owner(data, &g_free);
        pipeline->write(static_cast<const unsigned char*>(data), size);
        pipeline->finish();
    }

    // 8-bit sRGB, with its alpha as a fourth band when it has one.
    static vips::VImage samples(const vips::VImage& image)
    {
        vips::VImage rgb = image.colourspace(VIPS_INTERPRETATION_sRGB);
        if (rgb.format() != VIPS_FORMAT_UCHAR)
            rgb = rgb.cast(VIPS_FORMAT_UCHAR);
        return rgb;
    }

private:
    QString m_path;
    Part m_part;
    int m_width;
    int m_height;
};

// Baseline and progressive JPEGs in grey or RGB go in as they are; a viewer turns them by the
// page's /Rotate. CMYK (often stored inverted) and mirrored orientations are decoded instead.
bool addJpegAsIs(QPDF& pdf, const QString& path, const vips::VImage& header)
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
    image.replaceStreamData(std::make_shared<ImageSamples>(path, ImageSamples::Part::FileBytes,
                                                           header.width(), header.height()),
                            Handle::newName("/DCTDecode"), Handle::newNull());
    addImagePage(pdf, image, header.width(), header.height(), rotate);
    return true;
}

void addDecodedImage(QPDF& pdf, const QString& path, const vips::VImage& source)
{
    const vips::VImage rgb = ImageSamples::samples(source);
    const int width = rgb.width();
    const int height = rgb.height();
    Handle image = imageStream(pdf, width, height, "/DeviceRGB");
    // Unfiltered here; the writer compresses every unfiltered stream with Flate.
    if (rgb.has_alpha()) {
        Handle mask = imageStream(pdf, width, height, "/DeviceGray");
        mask.replaceStreamData(
            std::make_shared<ImageSamples>(path, ImageSamples::Part::Alpha, width, height),
            Handle::newNull(), Handle::newNull());
        image.getDict().replaceKey("/SMask", mask);
    }
    image.replaceStreamData(
        std::make_shared<ImageSamples>(path, ImageSamples::Part::Colour, width, height),
        Handle::newNull(), Handle::newNull());
    addImagePage(pdf, image, width, height, 0);
}

// The document's bytes to the output file. A failed write (a full disk) throws with the system's
// word for it, which the person is shown; stdio would drop an error of its last flush.
class DescriptorPipeline final : public Pipeline
{
public:
    explicit DescriptorPipeline(int fd) : Pipeline("merged document", nullptr), m_fd(fd) {}

    void write(unsigned char const* data, size_t len) override
    {
        m_buffer.append(reinterpret_cast<const char*>(data), qsizetype(len));
        if (m_buffer.size() >= kChunk)
            flush();
    }

    void finish() override { flush(); }

    bool failed() const { return m_failed; }

private:
    static constexpr qsizetype kChunk = 1 << 16;

    void flush()
    {
        const QByteArray pending = std::exchange(m_buffer, QByteArray());
        QString error;
        if (m_failed || OutputFile::writeAll(m_fd, pending, &error))
            return;
        m_failed = true;
        // The writer finishes its pipelines again while it is taken down; a second throw there
        // would end the program.
        if (std::uncaught_exceptions() == 0)
            throw std::runtime_error(error.toStdString());
    }

    int m_fd;
    QByteArray m_buffer;
    bool m_failed = false;
};

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
        const QByteArray name = FileName::encode(path);
        if (Paths::pathExtension(path).toLower() == u"pdf") {
            try {
                QPDF& source = sources.emplace_back();
                source.setSuppressWarnings(true);
                source.processFile(name.constData());
                for (const QPDFPageObjectHelper& page :
                     QPDFPageDocumentHelper(source).getAllPages())
                    QPDFPageDocumentHelper(out).addPage(page, false);
            } catch (const QPDFExc& e) {
                // The source stays: a page copied before the failure still reads from it.
                result.skipped.append({path, e.getErrorCode() == qpdf_e_password
                                                 ? Refusal::Locked
                                                 : Refusal::Unreadable});
                continue;
            } catch (const std::exception&) {
                result.skipped.append({path, Refusal::Unreadable});
                continue;
            }
        } else {
            const ImageConverter::Loaded loaded = ImageConverter::open(path);
            if (loaded.status != ImageConverter::Status::Loaded) {
                result.skipped.append({path, loaded.status == ImageConverter::Status::TooLarge
                                                 ? Refusal::TooLarge
                                                 : Refusal::Unreadable});
                continue;
            }
            try {
                // The pixels are only read while the document is written, where a file cut off
                // half-way would fail the whole document: each is decoded to its end once now.
                (void)ImageConverter::open(path, true).image.avg();
                QFile file(path);
                QByteArray head;
                if (file.open(QIODevice::ReadOnly))
                    head = file.peek(4);
                bool added = false;
                if (isJpeg(head)) {
                    const vips::VImage header =
                        vips::VImage::new_from_file(name.constData(), nullptr);
                    added = addJpegAsIs(out, path, header);
                }
                if (!added)
                    addDecodedImage(out, path, loaded.image);
            } catch (const std::exception&) {
                vips_error_clear();
                result.skipped.append({path, Refusal::Unreadable});
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
    result.path = Paths::uniquePath(wanted);
    OutputFile output(result.path);
    if (!output.open(&result.error))
        return result;
    try {
        DescriptorPipeline pipeline(output.descriptor());
        QPDFWriter writer(out);
        writer.setOutputPipeline(&pipeline);
        writer.write();
        pipeline.finish();
        if (pipeline.failed()) {
            result.error = QStringLiteral("cannot write");
            return result;
        }
    } catch (const std::exception& e) {
        result.error = QString::fromStdString(e.what());
        return result;
    }
    if (const std::optional<QString> path = output.commitUnique(&result.error)) {
        result.path = *path;
        result.written = true;
    }
    return result;
}

} // namespace pallstone
