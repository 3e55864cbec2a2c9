#include "ExtractIconAction.h"

#include "ActionAlerts.h"
#include "ActionTable.h"
#include "CustomIcons.h"
#include "Dispatch.h"
#include "FileEntry.h"
#include "FileName.h"
#include "FileOperations.h"
#include "Launcher.h"
#include "Localizer.h"
#include "Paths.h"
#include "Services.h"
#include "WorkInProgress.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QMimeDatabase>
#include <QPainter>

namespace pallstone {

namespace {

constexpr int kSide = 1024;

QIcon iconOf(const QString& path)
{
    const QString custom = CustomIcons::iconOf(path);
    if (!custom.isEmpty()) {
        const QIcon icon = custom.startsWith(u'/') ? QIcon(custom) : QIcon::fromTheme(custom);
        if (!icon.isNull())
            return icon;
    }
    static const QMimeDatabase mimes;
    const bool folder = Paths::isFolder(path);
    const QMimeType type = mimes.mimeTypeForFile(path);
    QIcon icon = QIcon::fromTheme(folder ? QStringLiteral("folder") : type.iconName());
    if (icon.isNull() && !folder)
        icon = QIcon::fromTheme(type.genericIconName());
    if (icon.isNull())
        icon = QIcon(folder ? QStringLiteral(":/pallstone/icons/folder.svg")
                            : QStringLiteral(":/pallstone/icons/file.svg"));
    return icon;
}

QByteArray png(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    // A buffer over its own byte array always opens.
    (void)buffer.open(QIODevice::WriteOnly);
    return image.save(&buffer, "PNG") ? bytes : QByteArray();
}

} // namespace

QImage ExtractIconAction::iconImage(const QString& path)
{
    const QIcon icon = iconOf(path);
    // A scalable icon is drawn at the full size; a bitmap theme's largest size is scaled up.
    QSize largest;
    for (const QSize& size : icon.availableSizes()) {
        if (size.width() > largest.width())
            largest = size;
    }
    const QSize drawn =
        largest.isValid() && largest.width() < kSide ? largest : QSize(kSide, kSide);
    QImage image = icon.pixmap(drawn).toImage();
    if (image.isNull())
        return {};
    if (image.size() != QSize(kSide, kSide))
        image = image.scaled(kSide, kSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    if (image.size() != QSize(kSide, kSide)) {
        QImage square(kSide, kSide, QImage::Format_ARGB32_Premultiplied);
        square.fill(Qt::transparent);
        QPainter painter(&square);
        painter.drawImage((kSide - image.width()) / 2, (kSide - image.height()) / 2, image);
        painter.end();
        image = square;
    }
    return image.convertToFormat(QImage::Format_ARGB32);
}

void ExtractIconAction::extractIcon(const ActionContextPtr& context)
{
    QList<std::pair<QString, QImage>> icons;
    for (const QString& path : context->selectPaths) {
        const FileEntry item(path);
        icons.append(
            {Paths::deletingLastPathComponent(path) + u'/' + item.name() + QStringLiteral(".png"),
             iconImage(path)});
    }
    // Encoding and writing happen beside the service's event loop.
    WorkInProgress::run([icons]() -> std::function<void()> {
        bool failed = false;
        for (const auto& [wanted, image] : icons) {
            const QByteArray bytes = image.isNull() ? QByteArray() : png(image);
            // The name is taken exclusively, so an item that appears meanwhile is never replaced.
            bool written = false;
            for (int attempt = 0; !bytes.isEmpty() && !written && attempt < 100; ++attempt)
                written = FileOperations::createFile(Paths::uniquePath(wanted), bytes);
            failed = failed || !written;
        }
        if (!failed)
            return {};
        return [] { ActionAlerts::notifyFailure(QStringLiteral("Extract Icon Failed")); };
    });
}

namespace {

const bool registered = [] {
    ActionRow row;
    row.name = QStringLiteral("Extract Icon");
    row.keys = {QStringLiteral("Extract Icon")};
    row.selectionOnly = true;
    row.run = [](const ActionCall& call) { ExtractIconAction::extractIcon(call.context); };
    return ActionTable::add(std::move(row));
}();

} // namespace

} // namespace pallstone
