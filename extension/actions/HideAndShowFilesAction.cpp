#include "HideAndShowFilesAction.h"

#include "ActionAlerts.h"
#include "ActionTable.h"
#include "AtomicFile.h"
#include "FileName.h"
#include "FileOperations.h"

#include "Dispatch.h"
#include "Launcher.h"
#include "Localizer.h"
#include "Paths.h"
#include "Services.h"
#include "Strings.h"

#include <QDebug>

#include <algorithm>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace pallstone {

namespace {

const QString kHiddenFile = QStringLiteral(".hidden");

// A name the ".hidden" file can hold: a line cannot carry a line break.
bool listable(const QByteArray& name)
{
    return !name.isEmpty() && name != "." && name != ".." && !name.contains('\n');
}

// The selected items grouped by folder, in the order they were selected.
QList<std::pair<QString, QList<QByteArray>>> namesByFolder(const QStringList& paths)
{
    QList<std::pair<QString, QList<QByteArray>>> groups;
    for (const QString& path : paths) {
        const QString folder = Paths::deletingLastPathComponent(path);
        const QByteArray name = FileName::encode(Paths::lastPathComponent(path));
        if (folder.isEmpty() || !listable(name))
            continue;
        auto group = std::find_if(groups.begin(), groups.end(),
                                  [&](const auto& entry) { return entry.first == folder; });
        if (group == groups.end())
            groups.append({folder, {name}});
        else
            group->second.append(name);
    }
    return groups;
}

// Nautilus learns that an item is hidden only when the item itself changes (GIO's file monitor
// reports a change of its attributes, and the item is looked at again): each item's times are
// set to what they are, which changes nothing but its status-change time. Items that cannot be
// changed are left as they are.
void announceChanges(const QString& folder, const QList<QByteArray>& names)
{
    const QByteArray base = FileName::encode(folder) + '/';
    for (const QByteArray& name : names) {
        const QByteArray item = base + name;
        struct stat info = {};
        if (::lstat(item.constData(), &info) != 0)
            continue;
        const struct timespec times[2] = {info.st_atim, info.st_mtim};
        ::utimensat(AT_FDCWD, item.constData(), times, AT_SYMLINK_NOFOLLOW);
    }
}

} // namespace

QList<QByteArray> HideAndShowFilesAction::visibleNames(const QString& folder)
{
    QList<QByteArray> names;
    DIR* dir = ::opendir(FileName::encode(folder).constData());
    if (!dir)
        return names;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (!name.startsWith('.') && listable(name))
            names.append(name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

bool HideAndShowFilesAction::updateHiddenFile(const QString& folder, const QList<QByteArray>& names,
                                              bool hide)
{
    const QString path = folder + u'/' + kHiddenFile;
    QList<QByteArray> lines;
    // A list that cannot be read must not be replaced by one that lacks its lines.
    const std::optional<QByteArray> current = FileOperations::readFile(path);
    if (!current)
        return false;
    if (!current->isEmpty()) {
        lines = current->split('\n');
        if (current->endsWith('\n'))
            lines.removeLast();
    }

    QList<QByteArray> changed;
    for (const QByteArray& name : names) {
        if (!listable(name))
            continue;
        if (hide && !lines.contains(name)) {
            lines.append(name);
            changed.append(name);
        } else if (!hide && lines.removeAll(name) > 0) {
            changed.append(name);
        }
    }
    if (changed.isEmpty())
        return true;

    QByteArray content = lines.join('\n');
    if (!content.isEmpty())
        content.append('\n');
    if (const QString problem = AtomicFile::write(path, content); !problem.isEmpty()) {
        qWarning().noquote() << "pallstone-extension: cannot write" << path << ':' << problem;
        return false;
    }
    // The rename already changed the folder; touching it again makes sure views that compare
    // modification times at a coarse resolution notice.
    if (::utimensat(AT_FDCWD, FileName::encode(folder).constData(), nullptr, 0) != 0)
        qWarning().noquote() << "pallstone-extension: cannot touch" << folder;
    announceChanges(folder, changed);
    return true;
}

void HideAndShowFilesAction::hideAndShowFiles(const ActionContextPtr& context,
                                              const MenuItemPtr& item)
{
    if (!context || !item)
        return;
    const bool hide = !item->command.endsWith(u"nohidden") && item->key != u"Unhide All Files";
    // On the serial queue: two changes of one folder's list never interleave.
    Dispatch::enterBackground([context, hide] {
        bool failed = false;
        if (context->isSelectURL) {
            const auto groups = namesByFolder(context->selectPaths);
            for (const auto& [folder, names] : groups)
                failed = !updateHiddenFile(folder, names, hide) || failed;
        } else if (Strings::isValid(context->targetPath)) {
            const QString folder = context->targetPath;
            failed = !updateHiddenFile(folder, visibleNames(folder), hide);
        }
        if (failed) {
            Dispatch::enterForeground(
                [] { ActionAlerts::notifyFailure(QStringLiteral("Hide Failed")); });
        }
    });
}

namespace {

ActionRow hidingRow(const QString& key, const QString& command)
{
    ActionRow row;
    row.name = key;
    row.keys = {key};
    row.shape = [command](MenuItem& entry, const MenuContext&) {
        entry.isShowHideFile = true;
        entry.command = command;
        return true;
    };
    row.run = [](const ActionCall& call) {
        HideAndShowFilesAction::hideAndShowFiles(call.context, call.entry);
    };
    return row;
}

const bool registered = [] {
    ActionRow selected =
        hidingRow(QStringLiteral("Hide Selected Files"), QStringLiteral("chflags hidden"));
    selected.selectionOnly = true;
    // Hiding every item belongs to a folder's background, not to a selection.
    ActionRow all = hidingRow(QStringLiteral("Hide All Files"), QStringLiteral("chflags hidden"));
    all.shape = [shape = all.shape](MenuItem& entry, const MenuContext& menu) {
        return !menu.request.isSelectURL && shape(entry, menu);
    };
    return ActionTable::add(std::move(selected)) && ActionTable::add(std::move(all)) &&
           ActionTable::add(
               hidingRow(QStringLiteral("Unhide All Files"), QStringLiteral("chflags nohidden")));
}();

} // namespace

} // namespace pallstone
