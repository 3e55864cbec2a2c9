#include "ShowSystemFilesAction.h"

#include "ActionTable.h"

#include "Clipboard.h"
#include "Localizer.h"
#include "OpenServeAction.h"
#include "Paths.h"
#include "Prompter.h"
#include "Services.h"

namespace pallstone {

QString ShowSystemFilesAction::command(bool show)
{
    return QStringLiteral("gsettings set org.gtk.gtk4.Settings.FileChooser show-hidden %1; "
                          "gsettings set org.gtk.Settings.FileChooser show-hidden %1")
        .arg(show ? QStringLiteral("true") : QStringLiteral("false"));
}

void ShowSystemFilesAction::showSystemFiles(const ActionContextPtr& context,
                                            const MenuItemPtr& item)
{
    if (!context || !item)
        return;
    AlertRequest choice;
    choice.message = Localizer::text(item->key);
    choice.informative = Localizer::text(QStringLiteral("System Hide Files Tip"));
    choice.buttons = {Localizer::text(QStringLiteral("System Hide Files Show")),
                      Localizer::text(QStringLiteral("System Hide Files Hide")),
                      Localizer::text(QStringLiteral("Cancel"))};
    const int answer = Prompter::instance()->alert(choice);
    if (answer != kAlertFirstButton && answer != kAlertSecondButton)
        return;
    const bool show = answer == kAlertFirstButton;
    Services::clipboard()->setText(command(show).trimmed());

    AlertRequest paste;
    paste.message = Localizer::text(show ? QStringLiteral("System Hide Files Show")
                                         : QStringLiteral("System Hide Files Hide"));
    paste.informative = Localizer::text(QStringLiteral("Copy Instruction Tip"));
    paste.buttons = {Localizer::text(QStringLiteral("Paste to Terminal")),
                     Localizer::text(QStringLiteral("Paste to iTerm2")),
                     Localizer::text(QStringLiteral("Cancel"))};
    const int terminal = Prompter::instance()->alert(paste);
    if (terminal == kAlertFirstButton)
        OpenServeAction::openServe(context, QStringLiteral("New Terminal at Folder"),
                                   Paths::desktopPath());
    else if (terminal == kAlertSecondButton)
        OpenServeAction::openServe(context, QStringLiteral("New iTerm2 Window Here"),
                                   Paths::desktopPath());
}

namespace {

const bool registered = [] {
    ActionRow row;
    row.name = QStringLiteral("System Hide Files");
    row.keys = {QStringLiteral("System Hide Files")};
    row.anywhere = true;
    row.run = [](const ActionCall& call) {
        ShowSystemFilesAction::showSystemFiles(call.context, call.entry);
    };
    return ActionTable::add(std::move(row));
}();

} // namespace

} // namespace pallstone
