#pragma once

#include <QString>
#include <QStringList>

namespace pallstone {

// The image resources that menu entries name by their "icon" value: for each name the icon of the
// user's theme that fits (freedesktop Icon Naming Specification names first, then names common
// themes and packages install), and a bundled drawing for when the theme has none. Folder-icon
// images have no theme name: they are applied to folders, so the bundled file is the image.
class IconCatalog final
{
public:
    // Whether name is an image resource at all: it has a theme name or a bundled file.
    static bool hasResource(const QString& name);

    // The preferred theme icon name for name, empty when no theme icon fits.
    static QString themeName(const QString& name);

    // Every theme icon name that fits name, best first; applications install their icon under
    // different names depending on how they were packaged.
    static QStringList themeNames(const QString& name);

    // ":/pallstone/icons/<name>.svg", or empty when nothing is bundled under name.
    static QString bundledFile(const QString& name);

    // The picture a default folder icon puts on a folder, ":/pallstone/folder-icons/<name>.png"
    // (120 x 120), or empty when name is not one of them.
    static QString folderPicture(const QString& name);

private:
    IconCatalog() = delete;
};

} // namespace pallstone
