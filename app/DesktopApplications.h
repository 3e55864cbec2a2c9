#pragma once

#include <QIcon>
#include <QList>
#include <QString>

#include <optional>

namespace pallstone {

// The applications installed on this system, as their desktop entries describe them (GIO).
class DesktopApplications final
{
public:
    struct Entry
    {
        QString name; // the entry's Name: the key an open-with entry is stored under
        QString id;   // the desktop ID, e.g. "org.gnome.TextEditor.desktop"
        QString icon; // a theme icon name or an absolute image path; empty for none

        QIcon qicon() const;
    };

    // Every entry meant to be shown in menus, sorted by name.
    static QList<Entry> all();
    // The entry a .desktop file describes; nothing when it is not a valid one.
    static std::optional<Entry> fromFile(const QString& path);

private:
    DesktopApplications() = delete;
};

} // namespace pallstone
