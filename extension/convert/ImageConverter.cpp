#include "ImageConverter.h"

#include "FileName.h"
#include "IcnsWriter.h"
#include "OutputFile.h"

#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <unistd.h>

namespace pallstone {

namespace {

// libvips fills a cut-off file's missing rows with black and carries on; a converted copy that is
// half black must be reported, not written.
constexpr VipsFailOn kFailOn = VIPS_FAIL_ON_TRUNCATED;

// An icon file is a handful of PNGs; anything far beyond that is not one worth reading whole.
constexpr qint64 kMaxIcnsBytes = 64 * 1024 * 1024;

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

QString vipsMessage(const vips::VError& e)
{
    vips_error_clear();
    return QString::fromUtf8(e.what()).trimmed();
}

bool tooLarge(const vips::VImage& image)
{
    return qint64(image.width()) * qint64(image.height()) > ImageConverter::kMaxPixels;
}

vips::VImage upright(const vips::VImage& image)
{
    if (image.get_typeof(VIPS_META_ORIENTATION) != 0 && image.get_int(VIPS_META_ORIENTATION) > 1)
        return image.autorot();
    return image;
}

// Formats that cannot hold these are given 8-bit sRGB (or grey) instead.
vips::VImage eightBit(const vips::VImage& image)
{
    const VipsInterpretation space = image.interpretation();
    const bool grey = space == VIPS_INTERPRETATION_B_W || space == VIPS_INTERPRETATION_GREY16;
    vips::VImage out = image.colourspace(grey ? VIPS_INTERPRETATION_B_W : VIPS_INTERPRETATION_sRGB);
    if (out.format() != VIPS_FORMAT_UCHAR)
        out = out.cast(VIPS_FORMAT_UCHAR);
    return out;
}

// PNG and TIFF keep 16 bits; a colour space they cannot store (CMYK, Lab) becomes sRGB.
vips::VImage storable(const vips::VImage& image)
{
    switch (image.interpretation()) {
    case VIPS_INTERPRETATION_sRGB:
    case VIPS_INTERPRETATION_RGB16:
    case VIPS_INTERPRETATION_B_W:
    case VIPS_INTERPRETATION_GREY16:
        if (image.format() == VIPS_FORMAT_UCHAR || image.format() == VIPS_FORMAT_USHORT)
            return image;
        break;
    default:
        break;
    }
    return eightBit(image);
}

vips::VImage flattenedOnWhite(const vips::VImage& image)
{
    vips::VImage out = eightBit(image);
    if (out.has_alpha())
        out = out.flatten(vips::VImage::option()->set("background", std::vector<double>{255.0}))
                  .cast(VIPS_FORMAT_UCHAR);
    return out;
}

void putLe16(QByteArray& bytes, int offset, quint16 value)
{
    bytes[offset] = char(value & 0xff);
    bytes[offset + 1] = char(value >> 8);
}

void putLe32(QByteArray& bytes, int offset, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = char((value >> (8 * i)) & 0xff);
}

// libvips writes BMP only through ImageMagick, so BMP is written here: 24-bit, bottom-up, rows
// padded to four bytes, which every reader understands.
bool writeBmp(const vips::VImage& source, int fd, QString* error)
{
    vips::VImage image = flattenedOnWhite(source);
    if (image.bands() == 1)
        image = image.colourspace(VIPS_INTERPRETATION_sRGB);
    const qint64 width = image.width();
    const qint64 height = image.height();
    const qint64 stride = (width * 3 + 3) & ~qint64(3);
    const qint64 imageBytes = stride * height;
    if (54 + imageBytes > qint64(UINT32_MAX)) {
        setError(error, QStringLiteral("too large for BMP"));
        return false;
    }
    size_t size = 0;
    void* pixels = image.write_to_memory(&size);
    const std::unique_ptr<void, decltype(&g_free)> owner(pixels, &g_free);
    const auto* rgb = static_cast<const unsigned char*>(pixels);

    QByteArray header(54, '\0');
    header[0] = 'B';
    header[1] = 'M';
    putLe32(header, 2, quint32(54 + imageBytes));
    putLe32(header, 10, 54);
    putLe32(header, 14, 40);
    putLe32(header, 18, quint32(width));
    putLe32(header, 22, quint32(height));
    putLe16(header, 26, 1);
    putLe16(header, 28, 24);
    putLe32(header, 34, quint32(imageBytes));
    putLe32(header, 38, 2835); // 72 dpi
    putLe32(header, 42, 2835);
    if (!OutputFile::writeAll(fd, header, error))
        return false;
    QByteArray row(stride, '\0');
    for (qint64 y = height - 1; y >= 0; --y) {
        const unsigned char* in = rgb + y * width * 3;
        for (qint64 x = 0; x < width; ++x) {
            row[x * 3] = char(in[x * 3 + 2]);
            row[x * 3 + 1] = char(in[x * 3 + 1]);
            row[x * 3 + 2] = char(in[x * 3]);
        }
        if (!OutputFile::writeAll(fd, row, error))
            return false;
    }
    return true;
}

void encode(const vips::VImage& image, ImageConverter::FileType type, vips::VTarget target)
{
    using FileType = ImageConverter::FileType;
    switch (type) {
    case FileType::Jpeg:
        flattenedOnWhite(image).write_to_target(
            ".jpg", target, vips::VImage::option()->set("Q", ImageConverter::kJpegQuality));
        return;
    case FileType::Jpeg2000:
        eightBit(image).write_to_target(
            ".jp2", target, vips::VImage::option()->set("Q", ImageConverter::kJpegQuality));
        return;
    case FileType::Tiff:
        storable(image).write_to_target(
            ".tif", target,
            vips::VImage::option()->set("compression", VIPS_FOREIGN_TIFF_COMPRESSION_LZW));
        return;
    case FileType::Gif:
        eightBit(image).write_to_target(".gif", target);
        return;
    case FileType::Png:
    case FileType::Bmp:
        break;
    }
    storable(image).write_to_target(".png", target);
}

// Formats libvips reads only through loaders it does not trust (ImageMagick's); Qt's own readers
// are small and read them.
bool readByQt(const QString& path)
{
    static const QStringList kQtFormats = {QStringLiteral("bmp"), QStringLiteral("ico"),
                                           QStringLiteral("wbmp")};
    return kQtFormats.contains(QFileInfo(path).suffix().toLower());
}

std::atomic<decltype(ConvertRequest::decodeWithQt)> g_qtDecoder{nullptr};

ImageConverter::Loaded openWithQt(const QString& path)
{
    ImageConverter::Loaded result;
    const auto decoder = g_qtDecoder.load(std::memory_order_acquire);
    if (!decoder)
        return result;
    DecodedImage decoded = decoder(path, ImageConverter::kMaxPixels);
    if (decoded.status == DecodedImage::Status::TooLarge) {
        result.status = ImageConverter::Status::TooLarge;
        return result;
    }
    if (decoded.status != DecodedImage::Status::Decoded ||
        decoded.rgba.size() != qsizetype(decoded.width) * decoded.height * 4)
        return result;
    try {
        // Copied into libvips' own memory before the decoded rows go.
        result.image =
            vips::VImage::new_from_memory(decoded.rgba.data(), size_t(decoded.rgba.size()),
                                          decoded.width, decoded.height, 4, VIPS_FORMAT_UCHAR)
                .copy(vips::VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB))
                .copy_memory();
    } catch (const vips::VError& e) {
        vipsMessage(e);
        return result;
    }
    result.width = decoded.width;
    result.height = decoded.height;
    result.status = ImageConverter::Status::Loaded;
    return result;
}

} // namespace

void ImageConverter::initialise()
{
    static std::once_flag once;
    std::call_once(once, [] {
        if (VIPS_INIT("pallstone") != 0)
            qWarning("ImageConverter: libvips did not start: %s", vips_error_buffer());
        vips_block_untrusted_set(TRUE);
        // Offered source formats whose loaders libvips also counts as untrusted.
        for (const char* loader : {"VipsForeignLoadJp2k", "VipsForeignLoadPdf",
                                   "VipsForeignLoadSvg", "VipsForeignLoadWebp"})
            vips_operation_block_set(loader, FALSE);
        // The service lives for days and files change under it: no cached decodes.
        vips_cache_set_max(0);
        OutputFile::initialise();
    });
}

void ImageConverter::setQtDecoder(decltype(ConvertRequest::decodeWithQt) decoder)
{
    g_qtDecoder.store(decoder, std::memory_order_release);
}

ImageConverter::FileType ImageConverter::fileTypeForExtension(const QString& extension)
{
    const QString ext = extension.toLower();
    if (ext == u"jpeg" || ext == u"jpg")
        return FileType::Jpeg;
    if (ext == u"bmp")
        return FileType::Bmp;
    if (ext == u"tiff")
        return FileType::Tiff;
    if (ext == u"jp2")
        return FileType::Jpeg2000;
    if (ext == u"gif")
        return FileType::Gif;
    return FileType::Png;
}

ImageConverter::Loaded ImageConverter::open(const QString& path, bool sequential, int minimumSide)
{
    initialise();
    if (readByQt(path))
        return openWithQt(path);
    Loaded result;
    const QByteArray name = FileName::encode(path);
    try {
        vips::VImage image;
        if (QFileInfo(path).suffix() == u"icns") {
            QFile file;
            if (!FileName::openForReading(path, file) || file.size() > kMaxIcnsBytes)
                return result;
            const std::optional<QByteArray> png = IcnsWriter::largestPngPayload(file.readAll());
            if (!png)
                return result;
            image = vips::VImage::new_from_buffer(png->constData(), size_t(png->size()), "",
                                                  vips::VImage::option()->set("fail_on", kFailOn));
            if (tooLarge(image)) {
                result.status = Status::TooLarge;
                return result;
            }
            // The buffer goes away with this scope.
            image = image.copy_memory();
        } else {
            vips::VOption* options = vips::VImage::option()->set("fail_on", kFailOn);
            if (sequential)
                options->set("access", VIPS_ACCESS_SEQUENTIAL);
            image = vips::VImage::new_from_file(name.constData(), options);
            const std::string loader =
                image.get_typeof("vips-loader") != 0 ? image.get_string("vips-loader") : "";
            const int side = std::max(image.width(), image.height());
            if (loader.rfind("svgload", 0) == 0 && minimumSide > 0 && side > 0 &&
                side < minimumSide) {
                const double scale = double(minimumSide) / double(side);
                if (double(image.width()) * double(image.height()) * scale * scale >
                    double(kMaxPixels)) {
                    result.status = Status::TooLarge;
                    return result;
                }
                image = vips::VImage::svgload(
                    name.constData(),
                    vips::VImage::option()->set("scale", scale)->set("fail_on", kFailOn));
            }
        }
        if (tooLarge(image)) {
            result.status = Status::TooLarge;
            return result;
        }
        result.image = sequential ? image : upright(image);
        if (sequential && image.get_typeof(VIPS_META_ORIENTATION) != 0 &&
            image.get_int(VIPS_META_ORIENTATION) > 1) {
            // Turning needs the whole image; open it again for random access.
            return open(path, false, minimumSide);
        }
        result.width = result.image.width();
        result.height = result.image.height();
        result.status = Status::Loaded;
    } catch (const vips::VError& e) {
        vipsMessage(e);
        result = Loaded();
    }
    return result;
}

ImageConverter::Loaded ImageConverter::decode(const QString& path, int side)
{
    Loaded result = open(path, false, side);
    if (result.status != Status::Loaded)
        return result;
    try {
        const std::string loader = result.image.get_typeof("vips-loader") != 0
                                       ? result.image.get_string("vips-loader")
                                       : std::string();
        const bool vector = loader.rfind("svgload", 0) == 0;
        if (side > 0 && !vector && QFileInfo(path).suffix() != u"icns" && !readByQt(path) &&
            std::max(result.width, result.height) > side) {
            result.image = vips::VImage::thumbnail(FileName::encode(path).constData(), side,
                                                   vips::VImage::option()
                                                       ->set("height", side)
                                                       ->set("size", VIPS_SIZE_DOWN)
                                                       ->set("fail_on", kFailOn))
                               .copy_memory();
        } else {
            result.image = result.image.copy_memory();
        }
    } catch (const vips::VError& e) {
        vipsMessage(e);
        result = Loaded();
    }
    return result;
}

vips::VImage ImageConverter::resized(const vips::VImage& image, int width, int height)
{
    if (image.width() == width && image.height() == height)
        return image;
    const double h = double(width) / image.width();
    const double v = double(height) / image.height();
    vips::VImage out = image;
    // Transparent edges would bleed dark into the neighbouring colours without this.
    const bool alpha = image.has_alpha();
    if (alpha)
        out = out.premultiply();
    out = out.resize(h, vips::VImage::option()->set("vscale", v));
    if (alpha)
        out = out.unpremultiply().cast(image.format());
    return out;
}

bool ImageConverter::save(const vips::VImage& image, FileType type, const QString& path,
                          QString* error)
{
    initialise();
    OutputFile output(path);
    if (!output.open(error))
        return false;
    try {
        if (type == FileType::Bmp) {
            if (!writeBmp(image, output.descriptor(), error)) {
                if (error && error->isEmpty())
                    *error = QString::fromLocal8Bit(std::strerror(errno));
                return false;
            }
        } else {
            encode(image, type, vips::VTarget::new_to_descriptor(output.descriptor()));
        }
    } catch (const vips::VError& e) {
        setError(error, vipsMessage(e));
        return false;
    }
    return output.commit(error);
}

bool ImageConverter::saveWithExtension(const vips::VImage& image, const QString& extension,
                                       const QString& path, QString* error)
{
    return save(image, fileTypeForExtension(extension), path, error);
}

std::optional<QByteArray> ImageConverter::encodePng(const vips::VImage& image, QString* error)
{
    try {
        void* data = nullptr;
        size_t size = 0;
        storable(image).write_to_buffer(".png", &data, &size);
        QByteArray bytes(static_cast<const char*>(data), qsizetype(size));
        g_free(data);
        return bytes;
    } catch (const vips::VError& e) {
        setError(error, vipsMessage(e));
    }
    return std::nullopt;
}

} // namespace pallstone
