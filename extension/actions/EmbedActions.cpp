#include "EmbedActions.h"

#include "ActionTable.h"

#include "ActionAlerts.h"
#include "FileEntry.h"
#include "FileName.h"
#include "FileOperations.h"
#include "Localizer.h"
#include "Paths.h"
#include "Prompter.h"
#include "Strings.h"
#include "WorkInProgress.h"

#include <algorithm>

namespace pallstone {

namespace {

// Files a file manager leaves in a folder; a folder holding only these counts as empty.
bool isMetadataFile(const QString& name)
{
    return name == u".DS_Store" || name == u".directory" || name == u".hidden";
}

QStringList nonMetadataEntries(const QString& folder)
{
    QStringList left = Paths::entryNames(folder);
    left.erase(std::remove_if(left.begin(), left.end(), isMetadataFile), left.end());
    return left;
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
    // Moving across file systems copies: the service answers menus meanwhile.
    WorkInProgress::run([context, name, mode]() -> std::function<void()> {
        const QString parent = Paths::deletingLastPathComponent(context->selectPaths.first());
        const QString folder = Paths::uniquePath(parent + u'/' + name);
        if (!Paths::makeFolders(folder))
            return [] { ActionAlerts::tip(Localizer::text(QStringLiteral("Error Common Tip"))); };
        bool failed = false;
        for (const QString& item : context->selectPaths) {
            const FileEntry file(item);
            QString target = folder + u'/' + file.filename();
            if (mode == 1 && !file.ext().isEmpty()) {
                const QString sub = folder + u'/' + file.ext();
                Paths::makeFolders(sub);
                target = sub + u'/' + file.filename();
            }
            if (!FileOperations::moveItem(item, target))
                failed = true;
        }
        if (!failed)
            return {};
        return [] { ActionAlerts::tip(Localizer::text(QStringLiteral("Error Common Tip"))); };
    });
}

void EmbedActions::unembedFolder(const ActionContextPtr& context)
{
    WorkInProgress::run([context]() -> std::function<void()> {
        // Tips are worded on the main thread: (key, the names it is about).
        QList<std::pair<QString, QString>> tips;
        auto show = [&tips]() -> std::function<void()> {
            if (tips.isEmpty())
                return {};
            return [tips] {
                for (const auto& [key, names] : tips)
                    ActionAlerts::tip(Localizer::text(key).replace(QStringLiteral("%1"),
                                                                   FileName::display(names)));
            };
        };
        for (const QString& folder : context->selectPaths) {
            if (!Paths::isFolder(folder))
                continue;
            const QStringList entries = Paths::entryNames(folder);
            if (entries.isEmpty()) {
                tips.append({QStringLiteral("Empty Folder Tip"), {}});
                continue;
            }
            const QString parent = Paths::deletingLastPathComponent(folder);
            int moved = 0;
            for (const QString& name : entries) {
                if (name.startsWith(u'.'))
                    continue;
                if (!FileOperations::moveItem(folder + u'/' + name,
                                              Paths::uniquePath(parent + u'/' + name))) {
                    tips.append({QStringLiteral("Error Common Tip"), {}});
                    return show();
                }
                ++moved;
            }
            if (moved == 0)
                continue;
            // Only a file manager's own metadata may go with the folder; a .git or .env must not
            // be lost silently, so such a folder stays and the user is told.
            const QStringList left = nonMetadataEntries(folder);
            if (left.isEmpty())
                Paths::remove(folder);
            else
                tips.append({QStringLiteral("Folder Kept Tip"), left.join(QStringLiteral(", "))});
        }
        return show();
    });
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
