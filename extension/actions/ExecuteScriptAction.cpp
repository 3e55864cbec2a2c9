#include "ExecuteScriptAction.h"

#include "ActionTable.h"

#include "ActionAlerts.h"
#include "Launcher.h"
#include "Localizer.h"
#include "Paths.h"
#include "Services.h"

#include <QDebug>
#include <QFileInfo>

namespace pallstone {

void ExecuteScriptAction::executeScript(const ActionContextPtr& context)
{
    if (!context)
        return;
    QStringList appleScripts;
    for (const QString& path : context->selectPaths) {
        const QString extension = Paths::pathExtension(path).toLower();
        if (extension == u"sh") {
            // An absolute path never starts with "-", so /bin/sh cannot take it for an option.
            const QFileInfo script(path);
            if (!Services::launcher()->runCommand(
                    {QStringLiteral("/bin/sh"), script.absoluteFilePath()}, script.absolutePath()))
                qWarning() << "cannot start" << path;
        } else if (extension == u"scpt") {
            appleScripts.append(Paths::lastPathComponent(path));
        }
    }
    if (appleScripts.isEmpty())
        return;
    ActionAlerts::tip(Localizer::text(QStringLiteral("AppleScript Not Available Tip")) +
                      QStringLiteral("\n\n") + appleScripts.join(u'\n'));
}

namespace {

const bool registered = [] {
    ActionRow row;
    row.name = QStringLiteral("Execute Script");
    row.keys = {QStringLiteral("Execute Script")};
    row.selectionOnly = true;
    row.formats = {QStringLiteral("sh"), QStringLiteral("scpt")};
    row.run = [](const ActionCall& call) { ExecuteScriptAction::executeScript(call.context); };
    return ActionTable::add(std::move(row));
}();

} // namespace

} // namespace pallstone
