#include "TQHelper.h"

#include "DirectoryLister.h"
#include "Localizer.h"
#include "TQCheckPermit.h"
#include "TQMenuManager.h"

namespace pallstone {

namespace {

constexpr int kMaxSubfolders = 20;

TQMenuItemPtr pathItem(const DirectoryLister::Entry& entry)
{
    TQMenuItemPtr item = TQMenuItem::create();
    item->key = entry.path;
    item->path = entry.path;
    item->displayName = entry.name;
    return item;
}

} // namespace

TQMenuItemPtr TQHelper::itemWithKey(const QString& key, const QString& icon)
{
    TQMenuItemPtr item = TQMenuItem::create();
    item->key = key;
    if (!icon.isEmpty())
        item->icon = icon;
    return item;
}

TQMenuItemList TQHelper::commomPathNextMenuWithPath(const QString& path, qint64 mode)
{
    if (!TQCheckPermit::checkPermitWithPath(path))
        return {itemWithKey(QStringLiteral("To Authorize"))};
    TQMenuItemList items;
    switch (mode) {
    case 2:
        items = _nextTypeAppMenu();
        break;
    case 3:
        items = _nextTypeSubMenuWithPath(path, 20);
        break;
    case 4:
        items = _nextTypeSubMenuWithPath(path, 10);
        items.append(TQMenuItem::sepLineItem());
        items.append(_nextTypeAppMenu());
        break;
    default:
        break;
    }
    if (!items.isEmpty())
        items.prepend(itemWithKey(QStringLiteral("Show in Finder"), QStringLiteral("showfinder")));
    return items;
}

TQMenuItemList TQHelper::_nextTypeSubMenuWithPath(const QString& path, int maxCount)
{
    TQMenuItemList items;
    DirectoryLister::list(path, [&](const DirectoryLister::Entry& entry) {
        items.append(pathItem(entry));
        if (items.size() >= maxCount) {
            items.append(itemWithKey(QStringLiteral("More Files"), QStringLiteral("more")));
            return false;
        }
        return true;
    });
    return items;
}

TQMenuItemList TQHelper::_nextTypeAppMenu()
{
    TQMenuItemList items = TQMenuManager::belongAppMenuArray();
    items.append(TQMenuManager::commonAppMenuArray());
    return items;
}

TQMenuItemList TQHelper::commomPathChildFolderItemWithPath(const QString& path)
{
    if (!TQCheckPermit::checkPermitWithPath(path))
        return {itemWithKey(QStringLiteral("To Authorize"))};
    TQMenuItemList items;
    // When the file system counts subfolders, the walk ends once all of them are found instead
    // of reading a folder of many files to its end.
    const qint64 expected = DirectoryLister::subfolderCount(path);
    qint64 found = 0;
    if (expected != 0) {
        DirectoryLister::list(path, [&](const DirectoryLister::Entry& entry) {
            if (!entry.isFolder)
                return true;
            ++found;
            items.append(pathItem(entry));
            if (items.size() >= kMaxSubfolders) {
                TQMenuItemPtr tip = TQMenuItem::sepLineItem();
                tip->displayName =
                    Localizer::text(QStringLiteral("Only Show Folder Tip"))
                        .replace(QStringLiteral("%1"), QString::number(kMaxSubfolders));
                items.append(tip);
                return false;
            }
            return expected < 0 || found < expected;
        });
    }
    if (!items.isEmpty())
        items.prepend(
            itemWithKey(QStringLiteral("Current Directory"), QStringLiteral("showfinder")));
    return items;
}

} // namespace pallstone
