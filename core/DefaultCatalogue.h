#pragma once

#include "Value.h"

#include <QString>

namespace pallstone {

// The factory contents of the editable lists, and the upgrade that brings a user's stored lists up
// to date when a newer version runs for the first time.
class DefaultCatalogue final
{
public:
    // Seeds the store on first run, upgrades it after a version change (against the version of
    // this build unless one is given).
    static void setup();
    static void setup(const QString& runningVersion);

    // Seeds the store only when there is none yet: a menu asked for before the settings
    // application ever ran gets the factory entries. An unreadable store is left for the settings
    // application to repair. Returns whether it seeded.
    static bool setupIfMissing();

    static void recover();
    static void update();
    static void recoverRightMenu();
    static void recoverNewFile();
    static void recoverCommonApp();
    static void recoverFolderIcon();
    static void recoverCommonPath();

    static Value defaultMainMenu();
    static Value defaultNewFileMenu();
    static Value defaultCommonAppMenu();
    static Value defaultFolderIconMenu();

    static void _addMenuKey(const QString& listKey, const Value& defaultMenu);
    static void _updateMenuKey(const QString& listKey, const Value& defaultMenu);

    static QString runningVersion();

    // The record entry that marks a default as added or changed in a version, or "delete".
    static const QString kChangedVersion;

private:
    DefaultCatalogue() = delete;
};

} // namespace pallstone
