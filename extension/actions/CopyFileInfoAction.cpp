#include "CopyFileInfoAction.h"

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

void CopyFileInfoAction::copyfileInfo(const ActionContextPtr& context, const TQMenuItemPtr& item)
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

} // namespace pallstone
