#include "ConvertWork.h"

#include "FileName.h"
#include "IconSetWriter.h"
#include "ImageConverter.h"
#include "Paths.h"
#include "PdfMerger.h"
#include "PdfPageRenderer.h"

#include <QDir>
#include <QFileInfo>

#include <sys/stat.h>

namespace pallstone {

namespace {

const QString kMergeKey = QStringLiteral("PDF");
const QString kIconInvalid = QStringLiteral("Convert Icns image invalid");
const QString kUnreadable = QStringLiteral("Convert Fail Unreadable");
const QString kTooLarge = QStringLiteral("Convert Fail Too Large");
const QString kNotWritten = QStringLiteral("Convert Fail Write");
const QString kLocked = QStringLiteral("Convert Fail Locked");
// Vector sources are rendered this large for icon sets: the biggest icon is 1024 pixels.
constexpr int kIconSourceSide = 1024;

bool cancelled(const ConvertRequest& request)
{
    return request.cancelled && request.cancelled->load();
}

void failWrite(const ConvertRequest& request, const QString& path, const QString& error)
{
    qWarning("Convert: %s: %s", qPrintable(path), qPrintable(error));
    request.fail(path, kNotWritten, {error});
}

QString tooLargeText()
{
    return QString::number(ImageConverter::kMaxPixels / 1'000'000);
}

// The same file under another name (a link) counts as the same: writing one truncates the other.
bool isSameFile(const QString& a, const QString& b)
{
    struct stat sa;
    struct stat sb;
    if (::stat(FileName::encode(a).constData(), &sa) != 0 ||
        ::stat(FileName::encode(b).constData(), &sb) != 0)
        return QDir::cleanPath(a) == QDir::cleanPath(b);
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

void makeIconSet(const ConvertRequest& request, const QString& path, IconSetWriter::Target target)
{
    // An AppIcon.icns chosen as the source of its own icon file would be rewritten from its
    // largest image alone.
    if (target == IconSetWriter::Target::IconFile &&
        isSameFile(path, QFileInfo(path).absolutePath() + QStringLiteral("/AppIcon.icns")))
        return;
    const ImageConverter::Loaded header = ImageConverter::open(path, false, kIconSourceSide);
    if (header.status == ImageConverter::Status::TooLarge)
        return request.fail(path, kTooLarge, {tooLargeText()});
    if (header.status != ImageConverter::Status::Loaded)
        return request.fail(path, kUnreadable, {});
    // Decided on the source itself: shrinking 3001 x 3000 to the biggest icon rounds it square.
    if (header.width != header.height) {
        return request.fail(path, kIconInvalid,
                            {QString::number(header.width), QString::number(header.height)});
    }
    const ImageConverter::Loaded loaded = ImageConverter::decode(path, kIconSourceSide);
    if (loaded.status != ImageConverter::Status::Loaded)
        return request.fail(path, kUnreadable, {});
    const IconSetWriter::Result result =
        IconSetWriter::write(loaded.image, Paths::deletingPathExtension(path), target);
    if (result.outcome == IconSetWriter::Outcome::NotSquare) {
        request.fail(path, kIconInvalid,
                     {QString::number(header.width), QString::number(header.height)});
    } else if (result.outcome == IconSetWriter::Outcome::Failed) {
        failWrite(request, result.path.isEmpty() ? path : result.path, result.error);
    }
}

void convertImage(const ConvertRequest& request, const QString& path)
{
    const QString output = Paths::deletingPathExtension(path) + u'.' + request.key.toLower();
    // An animated b.gif converted to "GIF" would be overwritten by its own first frame.
    if (isSameFile(path, output))
        return;
    const ImageConverter::Loaded loaded = ImageConverter::open(path, true);
    if (loaded.status == ImageConverter::Status::TooLarge)
        return request.fail(path, kTooLarge, {tooLargeText()});
    if (loaded.status != ImageConverter::Status::Loaded)
        return request.fail(path, kUnreadable, {});
    QString error;
    if (ImageConverter::saveWithExtension(loaded.image, request.key, output, &error))
        return;
    // Only the header was read before: pixels cut off or damaged show while they are written,
    // and it is the source that is at fault then, not the disk.
    try {
        (void)ImageConverter::open(path, true).image.avg();
    } catch (const vips::VError&) {
        vips_error_clear();
        return request.fail(path, kUnreadable, {});
    }
    failWrite(request, output, error);
}

} // namespace

void ConvertWork::run(const ConvertRequest& request)
{
    // The first conversion of the process starts libvips.
    ImageConverter::initialise();
    ImageConverter::setQtDecoder(request.decodeWithQt);
    if (request.key == kMergeKey) {
        const PdfMerger::Result result =
            PdfMerger::merge(request.paths, request.untitled, request.cancelled);
        if (cancelled(request))
            return;
        for (const PdfMerger::Skipped& skipped : result.skipped) {
            switch (skipped.reason) {
            case PdfMerger::Refusal::TooLarge:
                request.fail(skipped.path, kTooLarge, {tooLargeText()});
                break;
            case PdfMerger::Refusal::Locked:
                request.fail(skipped.path, kLocked, {});
                break;
            case PdfMerger::Refusal::Unreadable:
                request.fail(skipped.path, kUnreadable, {});
                break;
            }
        }
        // An unwritable document is said too, rather than left for the person to look for.
        if (result.opened && result.pageCount > 0 && !result.written)
            failWrite(request,
                      result.path.isEmpty() ? request.untitled + QStringLiteral(".pdf")
                                            : result.path,
                      result.error);
        return;
    }
    const std::optional<IconSetWriter::Target> target =
        request.key.contains(u"AppIcon") ? IconSetWriter::targetForKey(request.key) : std::nullopt;
    for (const QString& path : std::as_const(request.paths)) {
        if (cancelled(request))
            return;
        const QString extension = Paths::pathExtension(path);
        if (!request.formats.contains(extension))
            continue;
        if (target) {
            makeIconSet(request, path, *target);
        } else if (extension.toLower() == u"pdf") {
            const PdfPageRenderer::Result result =
                PdfPageRenderer::render(path, request.key, request.percent, request.cancelled);
            if (result.outcome == PdfPageRenderer::Outcome::Failed)
                failWrite(request, path, result.error);
        } else {
            convertImage(request, path);
        }
    }
}

namespace {

// Loading the module (or linking this code in) makes the conversion available.
const bool provided = ConvertModule::provide(&ConvertWork::run);

} // namespace

} // namespace pallstone
