#include "ActionAlerts.h"

#include "Launcher.h"
#include "Services.h"

#include "FolderAccess.h"
#include "Localizer.h"

namespace pallstone {

void ActionAlerts::tip(const QString& informative)
{
    AlertRequest request;
    request.message = Localizer::text(QStringLiteral("Tip"));
    request.informative = informative;
    request.buttons = {Localizer::text(QStringLiteral("OK"))};
    Prompter::instance()->alert(request);
}

int ActionAlerts::replaceFile(const QString& name)
{
    AlertRequest request;
    request.style = AlertRequest::Style::Critical;
    request.message = Localizer::text(QStringLiteral("Tip"));
    request.informative =
        Localizer::text(QStringLiteral("Same FileName Tip")).replace(QStringLiteral("%1"), name);
    request.buttons = {Localizer::text(QStringLiteral("Keep Both")),
                       Localizer::text(QStringLiteral("Stop")),
                       Localizer::text(QStringLiteral("Replace"))};
    return Prompter::instance()->alert(request);
}

void ActionAlerts::notifyFailure(const QString& key)
{
    Services::launcher()->notify(Localizer::text(key),
                                 Localizer::text(key + QStringLiteral(" Tip")));
}

void ActionAlerts::accessDenied(const QString& folder)
{
    FolderAccess::accessPrivacy(folder);
}

} // namespace pallstone
