#pragma once

#include <QString>

#include <functional>

namespace pallstone {

// Walks a folder's entries in the order the file system returns them, without reading more of
// the folder than the caller wants: favourite folders may hold hundreds of thousands of entries
// and the menu needs a handful.
class DirectoryLister final
{
public:
    struct Entry
    {
        QString name;
        QString path;
        bool isFolder = false; // the entry itself, not a link's target
    };

    // Calls visit for each entry whose name does not begin with "." until it returns false.
    // Names that are not valid in the file-name encoding are passed over: no path built from them
    // would name the right file. False when the folder could not be opened.
    static bool list(const QString& folder, const std::function<bool(const Entry&)>& visit);

    // How many subfolders the folder holds, when its file system says so through the link count
    // (-1 when it does not).
    static qint64 subfolderCount(const QString& folder);

    // Tests: called before each folder is listed, on the thread that lists it (to make one hang).
    static void setListingHook(std::function<void(const QString& folder)> hook);

private:
    DirectoryLister() = delete;
};

} // namespace pallstone
