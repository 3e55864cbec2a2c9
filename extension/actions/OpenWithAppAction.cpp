#include "OpenWithAppAction.h"

#include "ActionTable.h"
#include "StoreSnapshot.h"

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

void OpenWithAppAction::openWithApp(const ActionContextPtr& context, const MenuItemPtr& item,
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

namespace {

const bool registered = [] {
    // An application of the main menu opens the selection (or, from a favourite folder's
    // submenu, that folder).
    ActionRow app;
    app.name = QStringLiteral("application");
    app.matches = [](const MenuItem& entry) { return Strings::isValid(entry.appName); };
    app.anywhere = true;
    app.run = [](const ActionCall& call) {
        OpenWithAppAction::openWithApp(call.context, call.entry, call.folder);
    };

    ActionRow apps;
    apps.name = QStringLiteral("Common App");
    apps.keys = {QStringLiteral("Common App")};
    apps.anywhere = true;
    apps.hasSubmenu = true;
    apps.shape = [](MenuItem& entry, const MenuContext& menu) {
        entry.children.clear();
        for (const MenuItemPtr& item : menu.store.applications())
            entry.addChild(item);
        return true;
    };
    apps.run = [](const ActionCall& call) {
        if (!call.child || !Strings::isValid(call.child->appName))
            return;
        call.child->tag = call.childIndex;
        OpenWithAppAction::openWithApp(call.context, call.child, QString());
    };
    return ActionTable::add(std::move(app)) && ActionTable::add(std::move(apps));
}();

} // namespace

} // namespace pallstone
