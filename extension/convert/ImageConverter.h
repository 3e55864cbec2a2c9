#pragma once

#include "ConvertModule.h"

#include <QString>

#include <vips/vips8>

#include <optional>

namespace pallstone {

// Decodes, resizes and encodes the images of "Convert to" with libvips. Every call may run on any
// thread once initialise() has run.
class ImageConverter final
{
public:
    // The bitmap file types an image is saved as, chosen by the target's extension.
    enum class FileType
    {
        Png,
        Jpeg,
        Bmp,
        Tiff,
        Jpeg2000,
        Gif
    };

    // A few kilobytes of PNG can declare 100,000 x 100,000 pixels: anything beyond this count is
    // refused from its header, before a pixel is allocated.
    static constexpr qint64 kMaxPixels = 200'000'000;
    static constexpr int kJpegQuality = 85;

    enum class Status
    {
        Loaded,
        Unreadable,
        TooLarge
    };

    struct Loaded
    {
        Status status = Status::Unreadable;
        vips::VImage image;
        // The source's own size, upright, whatever size image was decoded at.
        int width = 0;
        int height = 0;
    };

    // Starts libvips once per process. Loaders libvips marks untrusted (the ImageMagick bridge
    // among them) stay blocked: they parse every format under the sun and are not built for
    // hostile files. The loaders of offered formats (JPEG 2000, PDF, SVG, WebP) stay
    // open, though libvips counts some of them as untrusted.
    static void initialise();
    // The program's decoder for BMP, ICO and WBMP (see ConvertRequest); without one they are
    // unreadable.
    static void setQtDecoder(decltype(ConvertRequest::decodeWithQt) decoder);

    // "jpeg" and "jpg" are JPEG, "bmp" BMP, "tiff" TIFF, "jp2" JPEG 2000, "gif" GIF, anything
    // else PNG; case does not matter.
    static FileType fileTypeForExtension(const QString& extension);

    // Opens an image, upright. Only the header is read here; pixels are decoded when first used
    // (sequentially when `sequential`, for a single pass). "icns" files give their largest PNG
    // payload. A vector image smaller than `minimumSide` is rendered at a scale that reaches it,
    // so icon sizes are not blown up from a small bitmap.
    static Loaded open(const QString& path, bool sequential = false, int minimumSide = 0);
    // As open(), decoded into memory for images resized many times. With a side, no larger than
    // side x side (shrunk while decoding, so a huge source never sits in memory whole) and a
    // vector source rendered to reach it.
    static Loaded decode(const QString& path, int side = 0);

    // Exactly width x height pixels, stretched when the proportions differ.
    static vips::VImage resized(const vips::VImage& image, int width, int height);

    // Encodes into a temporary file beside `path` and renames it over `path` only once complete,
    // so an existing file is replaced whole or not at all.
    static bool save(const vips::VImage& image, FileType type, const QString& path,
                     QString* error = nullptr);
    static bool saveWithExtension(const vips::VImage& image, const QString& extension,
                                  const QString& path, QString* error = nullptr);

    // Encodes into memory, for containers that embed images (icon files).
    static std::optional<QByteArray> encodePng(const vips::VImage& image, QString* error = nullptr);

private:
    ImageConverter() = delete;
};

} // namespace pallstone
