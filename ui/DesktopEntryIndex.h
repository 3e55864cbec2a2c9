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

    // While it lives, the list is read on a thread of its own: at once, and again whenever a lookup
    // finds that it may be out of date. Lookups then never touch the disk (only those that come
    // before the first read ends wait for it), so an event loop may ask.
    class BackgroundReader final
    {
    public:
        BackgroundReader();
        ~BackgroundReader();
        Q_DISABLE_COPY_MOVE(BackgroundReader)

    private:
        std::unique_ptr<QThread> m_thread;
    };

private:
    DesktopEntryIndex() = delete;
};

} // namespace pallstone
