#include "FolderIconAction.h"

#include "ActionAlerts.h"
#include "ActionTable.h"
#include "AtomicFile.h"
#include "CustomIcons.h"
#include "IconCatalog.h"
#include "Localizer.h"
#include "MenuStore.h"
#include "Paths.h"
#include "StoreSnapshot.h"
#include "WorkInProgress.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QImage>

namespace pallstone {

namespace {

const QString kRecoverKey = QStringLiteral("Recover Icon");

// Folder icons are small; a file far larger than any icon is not read into memory whole.
constexpr qint64 kMaxPictureSize = 32 * 1024 * 1024;

// The file whose picture the entry puts on folders: its own image file; else the file the
// settings keep for its key (a profile from another home carries paths that do not exist here);
// else the picture of the default icon it names. Empty when it has none.
QString pictureOf(const MenuItem& entry)
{
    const MenuIcon icon = entry.menuIcon();
    if (icon.kind == MenuIcon::Kind::File)
        return icon.value;
    // The key comes from the store: only a plain name may become part of a path.
    if (Paths::isPlainName(entry.key)) {
        const QString kept = MenuStore::folderIconFolder() + u'/' + entry.key + u".png";
        if (QFileInfo(kept).isFile())
            return kept;
    }
    if (icon.kind == MenuIcon::Kind::Resource)
        return IconCatalog::folderPicture(icon.value);
    return {};
}

} // namespace

QString FolderIconAction::appliedCopy(const QString& picture)
{
    QFile file(picture);
    if (picture.isEmpty() || !file.open(QIODevice::ReadOnly) || file.size() > kMaxPictureSize)
        return {};
    QByteArray bytes = file.read(kMaxPictureSize + 1);
    if (bytes.size() > kMaxPictureSize)
        return {};
    const QImage image = QImage::fromData(bytes);
    if (image.isNull())
        return {};
    // The copy is named .png and file managers may trust the name: other formats are converted.
    if (!bytes.startsWith("\x89PNG\r\n\x1a\n")) {
        bytes.clear();
        QBuffer buffer(&bytes);
        // A buffer over its own byte array always opens.
        (void)buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "PNG"))
            return {};
    }
    const QString name =
        QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
    const QString target = MenuStore::appliedIconFolder() + u'/' + name + QStringLiteral(".png");
    // Copies are written in one step, so one that is there is whole.
    const QFileInfo existing(target);
    if (existing.isFile() && existing.size() == bytes.size())
        return target;
    if (const QString problem = AtomicFile::write(target, bytes); !problem.isEmpty()) {
        qWarning().noquote() << "pallstone-extension: cannot write" << target << ':' << problem;
        return {};
    }
    return target;
}

void FolderIconAction::setFolderIcon(const ActionContextPtr& context, const MenuItemPtr& entry)
{
    if (!context || !entry)
        return;
    const bool recover = entry->key == kRecoverKey;
    // What the picture is found by, copied: the menu's items stay on the main thread.
    MenuItem chosen;
    chosen.icon = entry->icon;
    chosen.iconPath = entry->iconPath;
    chosen.key = entry->key;
    const QStringList items = context->selectPaths;
    WorkInProgress::run([items, recover, chosen]() -> std::function<void()> {
        QString picture;
        if (!recover) {
            picture = appliedCopy(pictureOf(chosen));
            // Applying nothing would take the folders' icons away: leave them as they are.
            if (picture.isEmpty())
                return
                    [] { ActionAlerts::notifyFailure(QStringLiteral("Folder Icon Unreadable")); };
        }
        bool failed = false;
        for (const QString& item : items) {
            // Only folders carry a folder icon; a file in the selection keeps its own.
            if (!Paths::isFolder(item))
                continue;
            const QString problem =
                recover ? CustomIcons::remove(item) : CustomIcons::apply(item, picture);
            if (!problem.isEmpty()) {
                qWarning().noquote()
                    << "pallstone-extension: folder icon of" << item << ':' << problem;
                failed = true;
            }
        }
        if (!failed)
            return {};
        return [] { ActionAlerts::notifyFailure(QStringLiteral("Folder Icon Failed")); };
    });
}

namespace {

const bool registered = [] {
    ActionRow row;
    row.name = QStringLiteral("Folder Icon");
    row.keys = {QStringLiteral("Folder Icon")};
    row.selectionOnly = true;
    row.foldersOnly = true;
    row.hasSubmenu = true;
    row.shape = [](MenuItem& entry, const MenuContext& menu) {
        // Installed on first use: the path predicates are only set up once every file's
        // initialisers have run.
        static const bool probe = [] {
            CustomIcons::installProbe();
            return true;
        }();
        Q_UNUSED(probe);
        entry.children.clear();
        if (Paths::hasCustomIcon(menu.refPath)) {
            const MenuItemPtr recover = MenuItem::create();
            recover->key = kRecoverKey;
            recover->displayName = Localizer::text(QStringLiteral("Recover"));
            recover->icon = QStringLiteral("recover");
            entry.addChild(recover);
        }
        // The installation carries every picture the program embeds: looked at once, not once
        // per entry and menu.
        static const bool installed =
            QFileInfo(QStringLiteral(PALLSTONE_DATADIR "/folder-icons")).isDir();
        for (const MenuItemPtr& item : MenuStore::folderIconMenuArray(menu.store.root)) {
            // A default icon shows the picture it applies where the file manager can read it.
            if (installed && item->iconPath.isEmpty() &&
                !IconCatalog::folderPicture(item->icon).isEmpty())
                item->iconPath =
                    QStringLiteral(PALLSTONE_DATADIR "/folder-icons/") + item->icon + u".png";
            entry.addChild(item);
        }
        return true;
    };
    row.run = [](const ActionCall& call) {
        FolderIconAction::setFolderIcon(call.context, call.child);
    };
    return ActionTable::add(std::move(row));
}();

} // namespace

} // namespace pallstone
