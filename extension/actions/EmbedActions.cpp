#include "EmbedActions.h"

#include "ActionTable.h"

#include "ActionAlerts.h"
#include "FileEntry.h"
#include "FileOperations.h"
#include "Localizer.h"
#include "Paths.h"
#include "Prompter.h"
#include "Strings.h"

#include <QDir>

namespace pallstone {

namespace {

// Files a file manager leaves in a folder; a folder holding only these counts as empty.
bool isMetadataFile(const QString& name)
{
    return name == u".DS_Store" || name == u".directory" || name == u".hidden";
}

QStringList entriesOf(const QString& folder)
{
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
}

} // namespace

void EmbedActions::embedFolder(const ActionContextPtr& context)
{
    if (context->selectPaths.isEmpty())
        return;
    if (context->selectPaths.size() == 1) {
        embed(context, FileEntry(context->selectPaths.first()).name(), 0);
        return;
    }
    EmbedRequest request;
    request.name = Localizer::text(QStringLiteral("Untitled"));
    request.mode = 0;
    const std::optional<EmbedResult> answer = Prompter::instance()->askEmbed(request);
    if (answer)
        embed(context, answer->name, answer->mode);
}

void EmbedActions::embed(const ActionContextPtr& context, const QString& name, int mode)
{
    if (context->selectPaths.isEmpty() || !Strings::isValid(name))
        return;
    // The name becomes one folder beside the selection, never a path leading elsewhere.
    if (!Paths::isPlainName(name)) {
        ActionAlerts::tip(Localizer::text(QStringLiteral("Invalid Name Tip")));
        return;
    }
    const QString parent = Paths::deletingLastPathComponent(context->selectPaths.first());
    const QString folder = Paths::uniquePath(parent + u'/' + name);
    if (!QDir().mkpath(folder))
        return;
    for (const QString& item : context->selectPaths) {
        const FileEntry file(item);
        QString target = folder + u'/' + file.filename();
        if (mode == 1 && !file.ext().isEmpty()) {
            const QString sub = folder + u'/' + file.ext();
            QDir().mkpath(sub);
            target = sub + u'/' + file.filename();
        }
        if (!FileOperations::moveItem(item, target))
            ActionAlerts::tip(Localizer::text(QStringLiteral("Error Common Tip")));
    }
}

void EmbedActions::unembedFolder(const ActionContextPtr& context)
{
    for (const QString& folder : context->selectPaths) {
        if (!Paths::isFolder(folder))
            continue;
        const QStringList entries = entriesOf(folder);
        if (entries.isEmpty()) {
            ActionAlerts::tip(Localizer::text(QStringLiteral("Empty Folder Tip")));
            continue;
        }
        const QString parent = Paths::deletingLastPathComponent(folder);
        int moved = 0;
        for (const QString& name : entries) {
            if (name.startsWith(u'.'))
                continue;
            if (!FileOperations::moveItem(folder + u'/' + name,
                                          Paths::uniquePath(parent + u'/' + name))) {
                ActionAlerts::tip(Localizer::text(QStringLiteral("Error Common Tip")));
                return;
            }
            ++moved;
        }
        if (moved == 0)
            continue;
        // Only a file manager's own metadata may go with the folder; a .git or .env must not be
        // lost silently, so such a folder stays and the user is told.
        QStringList left = entriesOf(folder);
        left.erase(std::remove_if(left.begin(), left.end(), isMetadataFile), left.end());
        if (left.isEmpty())
            Paths::remove(folder);
        else
            ActionAlerts::tip(Localizer::text(QStringLiteral("Folder Kept Tip"))
                                  .replace(QStringLiteral("%1"), left.join(QStringLiteral(", "))));
    }
}

namespace {

const bool registered = [] {
    ActionRow embed;
    embed.name = QStringLiteral("Embed in Folder");
    embed.keys = {QStringLiteral("Embed in Folder")};
    embed.selectionOnly = true;
    embed.run = [](const ActionCall& call) { EmbedActions::embedFolder(call.context); };

    ActionRow unembed;
    unembed.name = QStringLiteral("Unembed Folder");
    unembed.keys = {QStringLiteral("Unembed Folder")};
    unembed.selectionOnly = true;
    unembed.foldersOnly = true;
    unembed.run = [](const ActionCall& call) { EmbedActions::unembedFolder(call.context); };
    return ActionTable::add(std::move(embed)) && ActionTable::add(std::move(unembed));
}();

} // namespace

} // namespace pallstone
