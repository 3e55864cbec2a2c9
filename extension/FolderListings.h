#pragma once

#include "MenuItem.h"

#include <QDeadlineTimer>
#include <QString>

#include <functional>
#include <optional>

namespace pallstone {

// Lists favourite folders for a menu without letting one of them hold the menu: a folder on a
// network mount that no longer answers would otherwise freeze every file manager's menu. Each
// listing runs on a thread of its own pool; the menu waits for it until its deadline and goes on
// without it after that. A listing that was late keeps going, and its result serves the next
// menu that asks for the same folder.
class FolderListings final
{
public:
    struct Listing
    {
        bool readable = false; // the folder could be opened and entered
        MenuItemList items;
    };
    using Work = std::function<Listing()>;

    // Starts the listing for key, so that several folders are listed side by side before the
    // menu waits for any of them.
    static void start(const QString& key, const Work& work);
    // The listing work gives for key (one per folder and kind of submenu), if it arrives before
    // the deadline; nothing when it does not.
    static std::optional<Listing> within(const QString& key, const Work& work,
                                         const QDeadlineTimer& deadline);

private:
    FolderListings() = delete;
};

} // namespace pallstone
