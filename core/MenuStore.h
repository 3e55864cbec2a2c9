#pragma once

#include "Defaults.h"
#include "MenuItem.h"

#include <QMutex>
#include <QString>

#include <memory>

namespace pallstone {

// Owner of the configuration shared by the settings application and the extension service: the
// store, the container folders, and the lists turned into menu items.
class MenuStore final
{
public:
    // Which program is running decides whether disabled records become items: the settings
    // application shows them (to be switched on again), the extension leaves them out.
    enum class Program
    {
        Settings,
        Extension
    };

    static MenuStore& sharedInstance();

    static void setProgram(Program program);
    static Program program();

    static Defaults& sharedDefaults();
    static QString sharedFolder();
    static MenuItemList belongAppMenuArray();
    // The main menu's terminal windows and applications also open favourite folders.
    static bool belongsToApps(const MenuItem& item);

    static QString appIconFolder();
    static QString fileTemplateFolder();
    static QString folderIconFolder();
    // Copies of the pictures applied to folders, named by their content's SHA-256: decorated
    // folders point here, so no edit of the folder-icon list can take their icon away.
    static QString appliedIconFolder();
    static QString cacheFolder();
    static QString configManagerFolder();
    static QString createFolderName(const QString& name);
    // True when the path lies inside one of the container's folders of icons, templates, folder
    // icons or the cache; only such files may be deleted along with a list entry.
    static bool isInsideContainer(const QString& path);

    static bool existKey(const QString& key, const MenuItemList& items);

    // The stored lists as items, from the store as it is now or from a root read earlier (a menu
    // is built from one reading of the store).
    static MenuItemList menuItemArray();
    static MenuItemList menuItemArray(const Value& root);
    static MenuItemList newFileTemplateMenuArray(bool includeDisabled);
    static MenuItemList newFileTemplateMenuArray(const Value& root, bool includeDisabled);
    static MenuItemList commonAppMenuArray();
    static MenuItemList commonAppMenuArray(const Value& root);
    static MenuItemList commonPathMenuArray();
    static MenuItemList commonPathMenuArray(const Value& root);
    static MenuItemList folderIconMenuArray();
    static MenuItemList folderIconMenuArray(const Value& root);

    static bool addMenuKey(const QString& listKey, const Value& record, bool toTop);
    static bool removeMenuKey(const QString& listKey, const QString& itemKey);
    static bool updateMenuKey(const QString& listKey, const QString& itemKey,
                              const QString& attrKey, const Value& attrValue);
    static bool replaceMenuKey(const QString& listKey, const Value& record);
    static bool changePositionMenuKey(const QString& listKey, qsizetype fromIndex,
                                      qsizetype toIndex);

    // Starts the settings application.
    static bool openMainApp();

    // Where the stores live; the paths follow the XDG variables at first use.
    static QString sharedStorePath();
    static QString programStorePath(Program program);

private:
    MenuStore();

    static MenuItemList itemsFromList(const Value& root, const QString& listKey,
                                      const QStringList& recordKeys, bool includeDisabled);

    std::unique_ptr<Defaults> m_sharedDefaults;
    QString m_sharedFolder;
    Program m_program = Program::Settings;
    QMutex m_belongMutex;
    MenuItemList m_belongAppMenuArray;
};

// The folders of the group container, by the names stored configurations and profiles use.
namespace ContainerFolder {
inline const QString appIcons = QStringLiteral("TQAppIcon");
inline const QString fileTemplates = QStringLiteral("TQFileTemplate");
inline const QString folderIcons = QStringLiteral("TQFolderIcon");
inline const QString appliedIcons = QStringLiteral("applied-icons");
inline const QString cache = QStringLiteral("TQCache");
inline const QString profiles = QStringLiteral("TQConfigManager");
} // namespace ContainerFolder

// Keys of the shared store.
namespace StoreKey {
inline const QString rightMenu = QStringLiteral("array right menu");
inline const QString newFile = QStringLiteral("array new file");
inline const QString commonApp = QStringLiteral("array common app");
inline const QString folderIcon = QStringLiteral("array folder icon");
inline const QString commonPath = QStringLiteral("array common path");
inline const QString updateVersion = QStringLiteral("update version");
inline const QString commonPathNextMenu = QStringLiteral("common path next menu");
inline const QString openNewFile = QStringLiteral("open new file");
inline const QString useCount = QStringLiteral("use count");
inline const QString isReviewed = QStringLiteral("is reviewed");
// The key that opens the palette, as Qt's portable text ("Meta+Space"): chosen in the settings,
// bound by the service where the desktop's shortcut portal takes it.
inline const QString paletteShortcut = QStringLiteral("palette shortcut");
// "pref check0" to "pref check6".
inline QString prefCheck(int tag)
{
    return QStringLiteral("pref check") + QString::number(tag);
}
} // namespace StoreKey

} // namespace pallstone
