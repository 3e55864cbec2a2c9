#include "NewFileAction.h"

#include "ActionTable.h"
#include "AtomicFile.h"
#include "FileName.h"
#include "StoreSnapshot.h"

#include "ActionAlerts.h"
#include "FileEntry.h"
#include "FileOperations.h"
#include "Launcher.h"
#include "Localizer.h"
#include "MenuStore.h"
#include "Paths.h"
#include "Prompter.h"
#include "ReplaceFileAlert.h"
#include "Services.h"
#include "Strings.h"

#include <QDir>
#include <QFile>
#include <QIcon>
#include <QPixmap>
#include <QUrl>

#include <cstdio>

namespace pallstone {

namespace {

QString extOf(const MenuItemPtr& item)
{
    return Strings::isValid(item->ext) ? item->ext : item->key;
}

QByteArray blankDocument(const QString& ext)
{
    QFile resource(QStringLiteral(":/pallstone/templates/Untitled.") + ext);
    return resource.open(QIODevice::ReadOnly) ? resource.readAll() : QByteArray();
}

// The file's icon as a 60 by 60 image: its type's theme icon, else our generic one.
bool saveIcon(const QString& file, const QString& pngPath)
{
    const FileEntry descriptor(file);
    QIcon icon =
        QIcon::fromTheme(descriptor.iconName(), QIcon::fromTheme(descriptor.genericIconName()));
    if (icon.isNull())
        icon = QIcon(QStringLiteral(":/pallstone/icons/file.svg"));
    const QPixmap pixmap = icon.pixmap(60, 60);
    return !pixmap.isNull() && pixmap.scaled(60, 60, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                                   .save(pngPath, "PNG");
}

} // namespace

QString NewFileAction::targetFolder(const ActionContextPtr& context)
{
    if (context->selectPaths.isEmpty())
        return QDir::homePath();
    const QString first = context->selectPaths.first();
    return Paths::isFolder(first) ? first : Paths::deletingLastPathComponent(first);
}

bool NewFileAction::create(const QString& path, const QString& ext, const MenuItemPtr& item,
                           bool replacing)
{
    bool ok = false;
    if (item && Strings::isValid(item->templatePath)) {
        if (!replacing) {
            ok = FileOperations::copyItem(item->templatePath, path);
        } else {
            // The save panel's "replace" was confirmed: the copy is made beside the file, then put
            // in its place, so a failed copy leaves the old file.
            const QString staging = Paths::uniquePath(path + QStringLiteral(".new"));
            ok = FileOperations::copyItem(item->templatePath, staging) &&
                 std::rename(FileName::encode(staging).constData(),
                             FileName::encode(path).constData()) == 0;
            if (!ok)
                Paths::remove(staging);
        }
    } else {
        const QByteArray contents = blankDocument(ext.toLower());
        ok = replacing ? AtomicFile::write(path, contents).isEmpty()
                       : FileOperations::createFile(path, contents);
    }
    if (!ok)
        return false;
    if (MenuStore::sharedDefaults().boolForKey(StoreKey::openNewFile))
        Services::launcher()->openDefault(QUrl::fromLocalFile(path));
    return true;
}

void NewFileAction::createFileWithItem(const ActionContextPtr& context, const MenuItemPtr& item)
{
    if (!item)
        return;
    if (item->isNewFileFromWindow()) {
        createFromWindow(context);
        return;
    }
    if (item->isAddToFileTemplate()) {
        addToFileTemplate(context);
        return;
    }
    const QString ext = extOf(item);
    const QString name = Strings::isValid(item->fileName)
                             ? item->fileName
                             : Localizer::text(QStringLiteral("Untitled"));
    // A stored record (say, from an imported profile) names the file: it must stay a name.
    if (!Paths::isPlainName(name) || (!ext.isEmpty() && !Paths::isPlainName(ext))) {
        ActionAlerts::tip(Localizer::text(QStringLiteral("Error Common Tip")));
        return;
    }
    QString path = targetFolder(context) + u'/' + name;
    if (!item->isSpecialFile && !ext.isEmpty())
        path += u'.' + ext;
    const std::optional<QString> finalPath =
        ReplaceFileAlert::resolve(path, ReplaceFileAlert::Operation::Create);
    if (finalPath && !create(*finalPath, ext, item, false))
        ActionAlerts::tip(Localizer::text(QStringLiteral("Error Common Tip")));
}

void NewFileAction::createFromWindow(const ActionContextPtr& context)
{
    MenuItemList offered;
    for (const MenuItemPtr& t : MenuStore::newFileTemplateMenuArray(true)) {
        if (!t->isSpecialFile && !t->isNewFileFromWindow())
            offered.append(t);
    }
    if (offered.isEmpty())
        return;
    SavePanelRequest request;
    request.title = Localizer::text(QStringLiteral("New File From Window"));
    request.directory = targetFolder(context);
    request.fileName = Localizer::text(QStringLiteral("Untitled"));
    request.accessory = SavePanelRequest::Accessory::TypeChooser;
    for (const MenuItemPtr& t : offered)
        request.types.append(t->menuTitle() + QStringLiteral(" (.%1)").arg(extOf(t)));
    const std::optional<SavePanelResult> result = Prompter::instance()->savePanel(request);
    if (!result || result->path.isEmpty())
        return;
    const MenuItemPtr chosen = offered.value(result->type < 0 ? 0 : result->type);
    if (!chosen)
        return;
    const QString ext = extOf(chosen);
    if (!ext.isEmpty() && !Paths::isPlainName(ext)) {
        ActionAlerts::tip(Localizer::text(QStringLiteral("Error Common Tip")));
        return;
    }
    // The panel allows exactly the chosen type: the name gets its extension.
    QString path = result->path;
    if (!ext.isEmpty() && Paths::pathExtension(path).compare(ext, Qt::CaseInsensitive) != 0) {
        path += u'.' + ext;
        // The panel asked about the name typed, not about this one.
        const std::optional<QString> confirmed =
            ReplaceFileAlert::resolve(path, ReplaceFileAlert::Operation::Write);
        if (!confirmed)
            return;
        path = *confirmed;
    }
    if (!create(path, ext, chosen, FileOperations::exists(path)))
        ActionAlerts::tip(Localizer::text(QStringLiteral("Error Common Tip")));
}

void NewFileAction::addToFileTemplate(const ActionContextPtr& context)
{
    if (context->selectPaths.isEmpty())
        return;
    const QString file = context->selectPaths.first();
    const QString id = Strings::uuid();
    const QString folder = MenuStore::fileTemplateFolder();
    const QString iconPath = folder + u'/' + id + QStringLiteral(".png");
    const QString templatePath = folder + u'/' + id;

    // A template that points nowhere is worse than none: without its copy, no record is added.
    QString error;
    if (!FileOperations::copyItem(file, templatePath, &error)) {
        ActionAlerts::tip(Localizer::text(QStringLiteral("Error Common Tip")));
        return;
    }
    const bool hasIcon = saveIcon(file, iconPath);
    const FileEntry descriptor(file);
    Value record = Value::dictionary();
    record.insert(QStringLiteral("key"), id);
    record.insert(QStringLiteral("ext"), descriptor.ext());
    record.insert(QStringLiteral("displayName"), descriptor.name());
    if (hasIcon)
        record.insert(QStringLiteral("iconPath"), iconPath);
    record.insert(QStringLiteral("templatePath"), templatePath);
    if (!MenuStore::addMenuKey(StoreKey::newFile, record, false)) {
        Paths::remove(templatePath);
        QFile::remove(iconPath);
        ActionAlerts::tip(Localizer::text(QStringLiteral("Error Common Tip")));
        return;
    }
    ProgressEvent success;
    success.state = ProgressEvent::State::Success;
    success.text = Localizer::text(QStringLiteral("Success Common Tip"));
    Prompter::instance()->progress(success);
}

namespace {

const bool registered = [] {
    ActionRow newFile;
    newFile.name = QStringLiteral("New File");
    newFile.keys = {QStringLiteral("New File")};
    newFile.anywhere = true;
    newFile.hasSubmenu = true;
    newFile.shape = [](MenuItem& entry, const MenuContext& menu) {
        entry.children.clear();
        // Without a folder to create in, only the save panel can say where.
        const bool hasURL = !menu.request.selectPaths.isEmpty();
        for (const MenuItemPtr& t : menu.store.templates()) {
            if (hasURL || t->isNewFileFromWindow())
                entry.addChild(t);
        }
        if (menu.request.isSelectSingleURL() && !menu.refIsFolder)
            entry.addChild(MenuItem::addToFileTemplate());
        return true;
    };
    newFile.run = [](const ActionCall& call) {
        if (call.child)
            NewFileAction::createFileWithItem(call.context, call.child);
    };

    // A template placed in the main menu itself.
    ActionRow mainMenuTemplate;
    mainMenuTemplate.name = QStringLiteral("template in the main menu");
    mainMenuTemplate.matches = [](const MenuItem& entry) { return entry.isMainMenuNewFile; };
    mainMenuTemplate.run = [](const ActionCall& call) {
        NewFileAction::createFileWithItem(call.context, call.entry);
    };
    return ActionTable::add(std::move(newFile)) && ActionTable::add(std::move(mainMenuTemplate));
}();

} // namespace

} // namespace pallstone
