#pragma once

#include <QString>

namespace pallstone {

// The ".directory" file KDE keeps in a folder for its view settings, as far as the folder's
// custom icon goes: the "Icon" key of its [Desktop Entry] group. Every other line of the file is
// someone else's setting and is kept byte for byte.
class DirectoryFile final
{
public:
    // The icon the folder's file names (a path or a theme icon name, unescaped); empty when none.
    static QString icon(const QString& folder);

    // Sets the icon, or removes it when value is empty. A file left with no key at all is deleted;
    // one that still holds other settings stays. Empty when done, otherwise what went wrong (the
    // file is then as it was).
    [[nodiscard]] static QString setIcon(const QString& folder, const QString& value);

private:
    DirectoryFile() = delete;
};

} // namespace pallstone
