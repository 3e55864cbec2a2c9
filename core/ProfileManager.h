#pragma once

#include "Defaults.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace pallstone {

// Named snapshots of the whole configuration: the shared store's file and the container's four
// folders, each kept as one zip archive (WinZip AES-256 under a fixed password) in the profile
// folder. The settings window and `pallstone profile` both work through here, so they follow the
// same rules.
//
// Every member works synchronously on the calling thread and may be called from any thread; the
// window runs saves and switches on a worker. Saves and switches of all processes exclude each
// other: a second one while one runs is refused (Busy), never queued.
//
// A profile's name is its file name, without the extension when that is "zip" (an imported
// "Home.zip" is "Home"; a saved "Work 2.0" stays "Work 2.0").
class ProfileManager final
{
public:
    struct Profile
    {
        QString name;
        QString path;
        QString createDate; // "yyyy-MM-dd HH:mm:ss", empty when the file is not writable
    };

    enum class Status
    {
        Done,
        InvalidName,   // empty, holds "/", or is "." or ".."
        NoSuchProfile, // no profile of that name, or the chosen file is missing
        NotAProfile,   // does not open with the fixed password, or holds no "config.plist"
        Busy,          // another save or switch is running
        Failed         // the disk refused; error says what
    };

    struct Outcome
    {
        Status status = Status::Failed;
        QString name;  // the profile's name afterwards (the name the file actually got)
        QString path;  // the file written or moved to
        QString error; // Failed: what went wrong, for a message
        bool ok() const { return status == Status::Done; }
    };

    // The password every profile archive is written and read with.
    static const QString kPassword;
    // The archive entry and the file holding the store's copy.
    static const QString kConfigFileName;
    // The settings application's own key of the profile last switched to.
    static const QString kCurrentNameKey;

    // The store keys a switch restores; every other key of a profile is ignored.
    static const QStringList& restoredKeys();

    // The profiles in the profile folder, in file-name order.
    static QList<Profile> list();
    // The first profile of that name; a null path when there is none.
    static Profile find(const QString& name);
    static QString currentName();

    // A profile's name for its file name.
    static QString nameOfFile(const QString& fileName);
    // Opens with the fixed password and holds "config.plist".
    static bool isProfileArchive(const QString& path);

    // Saves the current configuration as a new profile; an existing name gets "-1", "-2", ...
    static Outcome save(const QString& name);
    // Restores the profile's folders and its restored keys, then marks it current. Nothing is
    // changed unless the whole archive was extracted; records whose icon or template files lie
    // outside the container are pointed at the restored copies or lose the path.
    static Outcome switchTo(const QString& name);
    // The mark follows a renamed current profile, under the name its file got.
    static Outcome rename(const QString& oldName, const QString& newName);
    static Outcome remove(const QString& name);
    // A copy in the folder under the profile's file name, made unique.
    static Outcome exportTo(const QString& name, const QString& folder);
    // A copy of the archive in the profile folder under its file name, made unique.
    static Outcome importFrom(const QString& file);

private:
    ProfileManager() = delete;

    static Defaults& appDefaults();
};

} // namespace pallstone
