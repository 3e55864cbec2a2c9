#include "Palette.h"

#include "ContextMenuService.h"
#include "FileName.h"
#include "Localizer.h"
#include "MenuIconResolver.h"
#include "Paths.h"

#include <QDir>

namespace pallstone {

namespace {

// A folder as people read it: the home folder as "~".
QString shown(const QString& path)
{
    const QString home = QDir::homePath();
    if (path == home)
        return QStringLiteral("~");
    if (path.startsWith(home + u'/'))
        return QStringLiteral("~") + path.mid(home.size());
    return FileName::display(path);
}

QString header(const MenuRequest& request)
{
    if (request.isSelectURL && request.selectPaths.size() == 1)
        return Localizer::text(QStringLiteral("Palette Item Header"))
            .arg(FileName::display(Paths::lastPathComponent(request.selectPaths.first())),
                 shown(request.targetPath));
    if (request.isSelectURL)
        return Localizer::text(QStringLiteral("Palette Items Header"))
            .arg(request.selectPaths.size())
            .arg(shown(request.targetPath));
    return Localizer::text(QStringLiteral("Palette Folder Header")).arg(shown(request.targetPath));
}

} // namespace

PaletteRequest Palette::requestFor(const MenuRequest& request, const EntryPaths& entries,
                                   const QString& note)
{
    PaletteRequest palette;
    palette.header = note.isEmpty() ? header(request) : header(request) + u'\n' + note;
    for (const EntryPath& entry : entries.entries()) {
        QStringList titles;
        for (const QString& title : entry.titles)
            titles.append(FileName::display(title));
        palette.rows.append({titles.join(QStringLiteral(" › ")), FileName::display(entry.keyPath()),
                             MenuIconResolver::resolve(entry.icon), entry.names()});
    }
    return palette;
}

bool Palette::open(const MenuRequest& request, const Menu& menu, const QString& note)
{
    const EntryPaths entries(menu.entries);
    const std::optional<qsizetype> row =
        Prompter::instance()->choosePaletteRow(requestFor(request, entries, note));
    if (!row || *row < 0 || *row >= entries.entries().size())
        return false;
    return ContextMenuService::perform(request, menu, entries.entries().at(*row).tag);
}

} // namespace pallstone
