#include "FolderIconFile.h"

#include "AtomicFile.h"
#include "MenuStore.h"
#include "Prompter.h"

#include <QBuffer>
#include <QImageReader>

namespace pallstone {

namespace {

// Pictures beyond this are not decoded whole: the reader scales them while decoding.
constexpr int kMaxDecodedSide = 8192;

QSize fittedSize(const QSize& size)
{
    return size.scaled(FolderIconFile::kSize, FolderIconFile::kSize, Qt::KeepAspectRatio)
        .expandedTo(QSize(1, 1));
}

} // namespace

const QStringList& FolderIconFile::pictureTypes()
{
    static const QStringList types = {
        QStringLiteral("png"), QStringLiteral("jpg"),  QStringLiteral("jpeg"),
        QStringLiteral("jp2"), QStringLiteral("tiff"), QStringLiteral("bmp"),
        QStringLiteral("gif"), QStringLiteral("webp"),
    };
    return types;
}

QString FolderIconFile::pathForKey(const QString& key)
{
    return MenuStore::folderIconFolder() + u'/' + QStringLiteral("%1.png").arg(key);
}

QImage FolderIconFile::readFitted(const QString& path)
{
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > kMaxDecodedSide || size.height() > kMaxDecodedSide))
        reader.setScaledSize(size.scaled(kMaxDecodedSide, kMaxDecodedSide, Qt::KeepAspectRatio));
    const QImage image = reader.read();
    if (image.isNull())
        return {};
    return image.scaled(fittedSize(image.size()), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QString FolderIconFile::write(const QImage& image, const QString& key)
{
    QByteArray png;
    QBuffer buffer(&png);
    // A buffer over its own byte array always opens.
    (void)buffer.open(QIODevice::WriteOnly);
    if (image.isNull() || !image.save(&buffer, "PNG"))
        return QStringLiteral("cannot encode the picture");
    return AtomicFile::write(pathForKey(key), png);
}

std::optional<QString> FolderIconFile::askForPicture()
{
    OpenPanelRequest request;
    request.canChooseFiles = true;
    request.canChooseDirectories = false;
    request.fileTypes = pictureTypes();
    const std::optional<QStringList> paths = Prompter::instance()->openPanel(request);
    if (!paths || paths->isEmpty())
        return std::nullopt;
    return paths->first();
}

} // namespace pallstone
