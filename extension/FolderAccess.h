#pragma once

#include <QString>

#include <functional>
#include <optional>

namespace pallstone {

// Decides whether the extension may work in a folder, asking the user to choose it (and keeping
// the choice in the location cache) when the file system says no; also the folder chooser and the
// alert shown when an operation failed for lack of permission.
class FolderAccess final
{
public:
    // The quick test the menu builder makes for every favourite folder: a folder the user can
    // read and enter passes; otherwise a grant covering it decides. A missing path, or a path
    // where nothing exists, fails.
    static bool checkPermitWithPath(const QString& path);
    // The folder can be opened and entered (access(2), or the test probe); safe on any thread,
    // unlike the grants, which belong to the main thread.
    static bool canEnter(const QString& path);

    // Calls success when the folder is covered by a grant or writable, otherwise asks the user to
    // choose it (or a folder above it) and calls success once a folder was chosen and failure
    // when the panel was cancelled. A missing path calls neither. Whatever is called has been
    // called by the time this returns.
    static void checkPermitWithPath(const QString& path, const std::function<void()>& success,
                                    const std::function<void()>& failure);

    // A folder chosen by the user (the confirm button titled prompt, the toolkit's default when
    // empty), or nothing when cancelled. The choice is not kept as a grant.
    static std::optional<QString> selectFolderWithPrompt(const QString& prompt);

    // Explains that the folder cannot be written by this user; the first button shows it in the
    // file manager, where its permissions can be changed.
    static void accessPrivacy(const QString& folder);

    // access(2) with the mode on the path; tests replace it to stand for a user who lacks a
    // permission (as root every test passes). An empty function restores access(2).
    using AccessProbe = std::function<bool(const QString& path, int mode)>;
    static void setAccessProbe(AccessProbe probe);

private:
    FolderAccess() = delete;
};

} // namespace pallstone
