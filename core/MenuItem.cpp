#include "MenuItem.h"

#include "IconCatalog.h"
#include "Localizer.h"
#include "MenuStore.h"
#include "Strings.h"

#include <QFileInfo>
#include <QMimeDatabase>

namespace pallstone {

MenuItemPtr MenuItem::setItem()
{
    auto item = create();
    item->key = QStringLiteral("Go Set");
    item->icon = QStringLiteral("set");
    item->disabledAuth = true;
    return item;
}

MenuItemPtr MenuItem::sepLineItem()
{
    auto item = create();
    item->key = QStringLiteral("Sep Line");
    item->displayName = QString(26, u'-');
    return item;
}

MenuItemPtr MenuItem::addToFileTemplate()
{
    auto item = create();
    item->key = QStringLiteral("Add to File Template");
    item->icon = QStringLiteral("add");
    return item;
}

MenuItemPtr MenuItem::fromRecord(const Value& record, const QStringList& recordKeys)
{
    auto item = create();
    for (const QString& recordKey : recordKeys) {
        const Value v = record.value(recordKey);
        if (v.isMissing())
            continue;
        auto text = [&v](QString& field) {
            if (v.isString())
                field = v.string();
        };
        if (recordKey == u"key")
            text(item->key);
        else if (recordKey == u"icon")
            text(item->icon);
        else if (recordKey == u"iconPath")
            text(item->iconPath);
        else if (recordKey == u"appName")
            text(item->appName);
        else if (recordKey == u"displayName")
            text(item->displayName);
        else if (recordKey == u"ext")
            text(item->ext);
        else if (recordKey == u"fileName")
            text(item->fileName);
        else if (recordKey == u"templatePath")
            text(item->templatePath);
        else if (recordKey == u"path")
            text(item->path);
        else if (recordKey == u"toMainMenu")
            item->isAddToMainMenu = v.asBool();
        else if (recordKey == u"disabled")
            item->disabled = v.asBool();
        else if (recordKey == u"disabledAuth")
            item->disabledAuth = v.asBool();
        else if (recordKey == u"disabledOpenPath")
            item->disabledOpenPath = v.asBool();
        else if (recordKey == u"mainMenuNewFile")
            item->isMainMenuNewFile = v.asBool();
        else if (recordKey == u"special")
            item->isSpecialFile = v.asBool();
        else if (recordKey == u"cutPaths")
            item->cutPaths = v.stringList();
    }
    return item;
}

void MenuItem::addChild(const MenuItemPtr& child)
{
    if (!child)
        return;
    child->parent = this;
    children.append(child);
}

QString MenuItem::menuTitle() const
{
    if (Strings::isValid(displayName))
        return displayName;
    if (Strings::isValid(appName))
        return Localizer::text(QStringLiteral("Open With")) + Localizer::text(key);
    return Localizer::text(key);
}

MenuIcon MenuItem::menuIcon() const
{
    if (Strings::isValid(iconPath)) {
        const QFileInfo info(iconPath);
        if (info.isFile() && info.isReadable()) {
            // Loads as an image: the content, not only the name, must say so.
            static const QMimeDatabase mimes;
            const QMimeType type = mimes.mimeTypeForFile(info, QMimeDatabase::MatchContent);
            if (type.name().startsWith(u"image/"))
                return {MenuIcon::Kind::File, info.absoluteFilePath()};
        }
    }
    if (Strings::isValid(icon) && IconCatalog::hasResource(icon))
        return {MenuIcon::Kind::Resource, icon};
    if (Strings::isValid(path)) {
        const QFileInfo info(path);
        if (info.isDir())
            return {MenuIcon::Kind::Resource, QStringLiteral("folder")};
        QString ext = info.suffix().toLower();
        if (ext == u"doc")
            ext = QStringLiteral("docx");
        else if (ext == u"xls")
            ext = QStringLiteral("xlsx");
        else if (ext == u"ppt")
            ext = QStringLiteral("pptx");
        if (!ext.isEmpty() && IconCatalog::hasResource(ext))
            return {MenuIcon::Kind::Resource, ext};
        return {MenuIcon::Kind::Resource, QStringLiteral("file")};
    }
    return {};
}

bool MenuItem::isValidParent() const
{
    if (children.isEmpty())
        return true;
    Defaults& store = MenuStore::sharedDefaults();
    for (const MenuItemPtr& child : children) {
        if (!store.object(child->key).readBool(false))
            return true;
    }
    return false;
}

} // namespace pallstone
