#pragma once

#include <QString>

namespace pallstone {

// The custom icon of a folder, as the desktops read it: GVFS metadata "metadata::custom-icon" (a
// file URI) for GNOME, Cinnamon, MATE and Xfce, and the Icon key of the folder's ".directory"
// for KDE. A folder has one when either names one; setting and removing change both.
class CustomIcons final
{
public:
    // The folder's custom icon: an image path, or for ".directory" possibly a theme icon name;
    // empty when it has none.
    static QString iconOf(const QString& path);

    // Points the folder at the picture file (an absolute path), then touches the folder so that
    // open views show the change. Empty when done, otherwise what went wrong.
    [[nodiscard]] static QString apply(const QString& folder, const QString& picture);
    // Removes the folder's custom icon from both places; the other settings of ".directory"
    // stay. Empty when done, otherwise what went wrong.
    [[nodiscard]] static QString remove(const QString& folder);

    // Lets the path predicates see GVFS metadata too (Paths::hasCustomIcon).
    static void installProbe();

private:
    CustomIcons() = delete;
};

} // namespace pallstone
