#include "ExecuteScriptAction.h"

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

} // namespace pallstone
