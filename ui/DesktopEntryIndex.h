#pragma once

#include <QString>
#include <QThread>

#include <memory>

namespace pallstone {

// The installed applications' desktop entries by desktop ID and by Name, as GIO lists them. Menus
// ask on every right-click whether each open-with entry's application is installed, so the list is
// read once and again only when an applications folder changed.
class DesktopEntryIndex final
{
public:
    // The desktop file whose desktop ID (with or without ".desktop") or Name (localised or not)
    // matches, case-insensitively; an ID match wins over a Name match. Empty when none matches.
    static QString lookup(const QString& application);
    // Starts reading the list on a thread of its own, so that the first lookup does not have to;
    // the caller waits for the thread before it ends.
    static std::unique_ptr<QThread> loadInBackground();

private:
    DesktopEntryIndex() = delete;
};

} // namespace pallstone
