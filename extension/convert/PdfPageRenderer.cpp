#include "PdfPageRenderer.h"

#include "FileName.h"
#include "ImageConverter.h"
#include "OutputFile.h"
#include "Paths.h"

#include <QDir>
#include <QFile>

namespace pallstone {

namespace {

vips::VImage loadPage(const QByteArray& name, int page)
{
    return vips::VImage::pdfload(name.constData(), vips::VImage::option()
                                                       ->set("page", page)
                                                       ->set("dpi", PdfPageRenderer::kDpi)
                                                       ->set("fail_on", VIPS_FAIL_ON_TRUNCATED));
}

} // namespace

PdfPageRenderer::Result PdfPageRenderer::render(const QString& pdfPath, const QString& extension,
                                                const Progress& progress,
                                                const std::atomic<bool>* cancelled)
{
    ImageConverter::initialise();
    Result result;
    const QByteArray name = FileName::encode(pdfPath);
    try {
        const vips::VImage first = loadPage(name, 0);
        result.pageCount =
            first.get_typeof(VIPS_META_N_PAGES) != 0 ? first.get_int(VIPS_META_N_PAGES) : 1;
    } catch (const vips::VError&) {
        vips_error_clear();
        result.pageCount = 0;
    }
    if (result.pageCount <= 0) {
        if (progress)
            progress(0, 0);
        return result;
    }

    const std::optional<QString> folder =
        OutputFile::createUniqueFolder(Paths::deletingPathExtension(pdfPath), &result.error);
    if (!folder) {
        result.outcome = Outcome::Failed;
        return result;
    }
    result.folder = *folder;
    const QString suffix = u'.' + extension.toLower();
    for (int page = 1; page <= result.pageCount; ++page) {
        if (cancelled && cancelled->load()) {
            result.outcome = Outcome::Cancelled;
            break;
        }
        try {
            const vips::VImage image = loadPage(name, page - 1);
            // A page can declare any size; at 150 dpi a poster would be gigapixels.
            if (qint64(image.width()) * image.height() > ImageConverter::kMaxPixels) {
                result.outcome = Outcome::Failed;
                result.error = QStringLiteral("page %1 is too large").arg(page);
                break;
            }
            if (!ImageConverter::saveWithExtension(
                    image, extension, result.folder + u'/' + QString::number(page) + suffix,
                    &result.error)) {
                result.outcome = Outcome::Failed;
                break;
            }
        } catch (const vips::VError& e) {
            result.error = QString::fromUtf8(e.what());
            vips_error_clear();
            result.outcome = Outcome::Failed;
            break;
        }
        if (progress)
            progress(result.pageCount, page);
        if (page == result.pageCount)
            result.outcome = Outcome::Written;
    }
    if (result.outcome != Outcome::Written) {
        // The folder is new and ours: a half-made one would pass for the whole document.
        Paths::remove(result.folder);
    }
    return result;
}

} // namespace pallstone
