#include "QtImageDecoder.h"

#include "FileName.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>

#include <algorithm>
#include <mutex>

namespace pallstone {

DecodedImage QtImageDecoder::decode(const QString& path, qint64 maxPixels)
{
    static std::once_flag once;
    std::call_once(once, [maxPixels] {
        // Qt's readers stop at 256 MB by default; images are bounded by their pixels instead.
        QImageReader::setAllocationLimit(int(maxPixels * 4 / (1024 * 1024)) + 1);
    });
    DecodedImage result;
    QFile file;
    if (!FileName::openForReading(path, file))
        return result;
    QImageReader reader(&file, QFileInfo(path).suffix().toLower().toLatin1());
    const QSize declared = reader.size();
    if (declared.isValid() && qint64(declared.width()) * qint64(declared.height()) > maxPixels) {
        result.status = DecodedImage::Status::TooLarge;
        return result;
    }
    QImage image;
    qint64 best = -1;
    for (int i = 0; i < std::max(1, reader.imageCount()); ++i) {
        if (i > 0 && !reader.jumpToImage(i))
            break;
        QImage frame = reader.read();
        if (!frame.isNull() && qint64(frame.width()) * frame.height() > best) {
            best = qint64(frame.width()) * frame.height();
            image = std::move(frame);
        }
    }
    if (image.isNull())
        return result;
    image.convertTo(QImage::Format_RGBA8888);
    const qsizetype rowBytes = qsizetype(image.width()) * 4;
    result.rgba.reserve(rowBytes * image.height());
    for (int y = 0; y < image.height(); ++y)
        result.rgba.append(reinterpret_cast<const char*>(image.constScanLine(y)), rowBytes);
    result.width = image.width();
    result.height = image.height();
    result.status = DecodedImage::Status::Decoded;
    return result;
}

} // namespace pallstone
