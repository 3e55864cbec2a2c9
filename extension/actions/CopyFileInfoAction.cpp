#include "CopyFileInfoAction.h"

#include "ActionTable.h"
#include "FavouriteSubmenus.h"

#include "Clipboard.h"
#include "Dispatch.h"
#include "Localizer.h"
#include "Paths.h"
#include "Prompter.h"
#include "Services.h"

namespace pallstone {

QString CopyFileInfoAction::failureText(const FileDigest::Result& result)
{
    switch (result.failure) {
    case FileDigest::Failure::NotFound:
        return Localizer::text(QStringLiteral("File Info Missing Tip"));
    case FileDigest::Failure::NotRegularFile:
        return Localizer::text(QStringLiteral("File Info Not Regular Tip"));
    case FileDigest::Failure::Unreadable:
        return Localizer::text(QStringLiteral("File Info Unreadable Tip")).arg(result.reason);
    case FileDigest::Failure::None:
        break;
    }
    return {};
}

void CopyFileInfoAction::copyFileInfo(const ActionContextPtr& context, const MenuItemPtr& item)
{
    if (!context || !item || context->selectPaths.isEmpty())
        return;
    const QString path = context->selectPaths.first();
    if (Paths::isFolder(path))
        return;
    const FileDigest::Algorithm algorithm = FileDigest::algorithmForTag(item->tag);
    const QString title = item->key;
    Dispatch::enterBackground([path, algorithm, title] {
        const FileDigest::Result result = FileDigest::hashOfFileAtPath(algorithm, path);
        Dispatch::enterForeground([result, title] {
            AlertRequest alert;
            alert.message = title;
            if (!result.isValid()) {
                // Without a value there is nothing to copy; an empty alert with a working
                // "Copy" button would look like a checksum of nothing.
                alert.informative = failureText(result);
                alert.buttons = {Localizer::text(QStringLiteral("OK"))};
                Prompter::instance()->alert(alert);
                return;
            }
            alert.informative = result.value;
            alert.buttons = {Localizer::text(QStringLiteral("Copy")),
                             Localizer::text(QStringLiteral("Cancel"))};
            if (Prompter::instance()->alert(alert) == kAlertFirstButton)
                Services::clipboard()->setText(result.value.trimmed());
        });
    });
}

namespace {

const bool registered = [] {
    ActionRow row;
    row.name = QStringLiteral("File Info");
    row.keys = {QStringLiteral("File Info")};
    row.hasSubmenu = true;
    // The checksums of one file.
    row.shape = [](MenuItem& entry, const MenuContext& menu) {
        if (menu.refIsFolder || !menu.request.isSelectSingleURL())
            return false;
        entry.children.clear();
        for (const QString& key :
             {QStringLiteral("MD5"), QStringLiteral("SHA1"), QStringLiteral("SHA256"),
              QStringLiteral("SHA512"), QStringLiteral("CRC32")})
            entry.addChild(FavouriteSubmenus::itemWithKey(key));
        return true;
    };
    row.run = [](const ActionCall& call) {
        if (!call.child)
            return;
        call.child->tag = call.childIndex;
        CopyFileInfoAction::copyFileInfo(call.context, call.child);
    };
    return ActionTable::add(std::move(row));
}();

} // namespace

} // namespace pallstone
