#include "MenuIcons.h"

#include "IconCatalog.h"

#include <QFileInfo>

namespace pallstone {

QIcon MenuIcons::resource(const QString& name)
{
    const QString bundled = IconCatalog::bundledFile(name);
    const QIcon fallback = bundled.isEmpty() ? QIcon() : QIcon(bundled);
    const QStringList themeNames = IconCatalog::themeNames(name);
    for (const QString& themeName : themeNames) {
        if (QIcon::hasThemeIcon(themeName))
            return QIcon::fromTheme(themeName, fallback);
    }
    return fallback;
}

QIcon MenuIcons::icon(const MenuIcon& icon)
{
    switch (icon.kind) {
    case MenuIcon::Kind::None:
        return {};
    case MenuIcon::Kind::File:
        return QFileInfo(icon.value).isFile() ? QIcon(icon.value)
                                              : resource(QStringLiteral("file"));
    case MenuIcon::Kind::Resource:
        return resource(icon.value);
    }
    return {};
}

} // namespace pallstone
