#include "FolderAccess.h"

#include "FileName.h"
#include "FolderGrants.h"
#include "Launcher.h"
#include "Localizer.h"
#include "Paths.h"
#include "Prompter.h"
#include "Services.h"

#include <QDir>
#include <QFile>

#include <unistd.h>

namespace pallstone {

namespace {

FolderAccess::AccessProbe& accessProbe()
{
    static FolderAccess::AccessProbe probe;
    return probe;
}

bool hasAccess(const QString& path, int mode)
{
    if (const FolderAccess::AccessProbe& probe = accessProbe())
        return probe(path, mode);
    return ::access(FileName::encode(path).constData(), mode) == 0;
}

// The first folder chosen in an open panel for folders only.
std::optional<QString> chooseFolder(OpenPanelRequest request)
{
    request.canChooseFiles = false;
    request.canChooseDirectories = true;
    request.allowsMultipleSelection = false;
    const std::optional<QStringList> chosen = Prompter::instance()->openPanel(request);
    if (!chosen || chosen->isEmpty() || chosen->constFirst().isEmpty())
        return std::nullopt;
    return chosen->constFirst();
}

} // namespace

bool FolderAccess::canEnter(const QString& path)
{
    return !path.isEmpty() && hasAccess(path, R_OK | X_OK);
}

bool FolderAccess::checkPermitWithPath(const QString& path)
{
    if (path.isEmpty() || !hasAccess(path, F_OK))
        return false;
    if (hasAccess(path, R_OK | X_OK))
        return true;
    const std::optional<QString> granted =
        FolderGrants::sharedInstance().urlWithAllowAccessToPath(path);
    return granted && FolderGrants::startAccessing(*granted);
}

void FolderAccess::checkPermitWithPath(const QString& path, const std::function<void()>& success,
                                       const std::function<void()>& failure)
{
    if (path.isEmpty())
        return;
    const auto succeed = [&success] {
        if (success)
            success();
    };

    FolderGrants& cache = FolderGrants::sharedInstance();
    if (const std::optional<QString> granted = cache.urlWithAllowAccessToPath(path)) {
        FolderGrants::startAccessing(*granted);
        succeed();
        return;
    }
    if (hasAccess(path, W_OK)) {
        succeed();
        return;
    }

    OpenPanelRequest request;
    request.prompt = Localizer::text(QStringLiteral("Authorization"));
    // The home folder is the likely choice for a folder inside it; elsewhere the user is told why
    // the panel appears and starts from the root, above every folder they might choose.
    if (FolderGrants::covers(QDir::homePath(), Paths::standardizedPath(path))) {
        request.directory = QDir::homePath();
    } else {
        request.message = Localizer::text(QStringLiteral("Auth Root Tip"));
        request.directory = QStringLiteral("/");
    }
    const std::optional<QString> chosen = chooseFolder(request);
    if (!chosen) {
        if (failure)
            failure();
        return;
    }
    // The folder chosen need not be the one asked about; an operation there that still fails
    // ends in the permission alert.
    cache.saveSecurityURL(*chosen);
    succeed();
}

std::optional<QString> FolderAccess::selectFolderWithPrompt(const QString& prompt)
{
    OpenPanelRequest request;
    request.prompt = prompt;
    return chooseFolder(request);
}

void FolderAccess::accessPrivacy(const QString& folder)
{
    AlertRequest request;
    request.style = AlertRequest::Style::Warning;
    request.message = Localizer::text(QStringLiteral("Tip"));
    request.informative = Localizer::text(QStringLiteral("Auth Full Disk Access Tip"));
    request.buttons = {Localizer::text(QStringLiteral("Authorization")),
                       Localizer::text(QStringLiteral("Cancel"))};
    if (Prompter::instance()->alert(request) == kAlertFirstButton && !folder.isEmpty())
        Services::launcher()->revealInFileManager({folder});
}

void FolderAccess::setAccessProbe(AccessProbe probe)
{
    accessProbe() = std::move(probe);
}

} // namespace pallstone
