#include "OpenWithAppAction.h"

#include "ActionAlerts.h"
#include "Launcher.h"
#include "Localizer.h"
#include "Paths.h"
#include "Services.h"
#include "Strings.h"

namespace pallstone {

namespace {

// Opens the path with the application, or the application alone when that fails.
bool open(const ActionContext& context, const QString& appName, const QString& path)
{
    Launcher* launcher = Services::launcher();
    const QStringList arguments = OpenWithAppAction::argumentsFor(context, appName, path);
    if (!arguments.isEmpty() && launcher->openWithApplication(appName, arguments))
        return true;
    return launcher->openWithApplication(appName, {});
}

void showOpenError()
{
    ActionAlerts::tip(Localizer::text(QStringLiteral("Open Error Tip")));
}

} // namespace

QStringList OpenWithAppAction::argumentsFor(const ActionContext& context, const QString& appName,
                                            const QString& path)
{
    if (!Strings::isValid(path))
        return {};
    if (!context.isSelectURL && Paths::isSystemFolder(path) && appName != u"Warp")
        return {};
    return {path};
}

void OpenWithAppAction::openWithApp(const ActionContextPtr& context, const TQMenuItemPtr& item,
                                    const QString& path)
{
    if (!context || !item || !Strings::isValid(item->appName))
        return;
    const QString& appName = item->appName;
    if (Strings::isValid(path)) {
        if (!open(*context, appName, path))
            showOpenError();
        return;
    }
    if (context->selectPaths.isEmpty()) {
        if (!open(*context, appName, QString()))
            showOpenError();
        return;
    }
    for (const QString& selected : context->selectPaths) {
        if (!open(*context, appName, selected)) {
            // Once the application cannot be started at all, the next items would fail the same
            // way: one message is enough.
            showOpenError();
            return;
        }
    }
}

} // namespace pallstone
