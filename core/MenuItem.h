#pragma once

#include "Value.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

namespace pallstone {

class MenuItem;
using MenuItemPtr = std::shared_ptr<MenuItem>;
using MenuItemList = QList<MenuItemPtr>;

// What a menu entry shows as its icon: a user-supplied image file, or one of the program's image
// resources (a theme icon with a bundled fallback), or nothing.
struct MenuIcon
{
    enum class Kind
    {
        None,
        File,
        Resource
    };
    Kind kind = Kind::None;
    QString value; // the file's absolute path, or the resource name

    bool isNull() const { return kind == Kind::None; }
    bool operator==(const MenuIcon&) const = default;
};

// One entry of the context menu or of one of its lists (a template, an application, a favourite
// folder, a folder icon), made from one stored record. The key decides what the entry does.
class MenuItem final
{
public:
    static MenuItemPtr create() { return std::make_shared<MenuItem>(); }

    // The settings entry of the context menu.
    static MenuItemPtr setItem();
    static MenuItemPtr sepLineItem();
    static MenuItemPtr addToFileTemplate();

    // A new item with the given record entries copied to their properties; booleans are read
    // loosely, strings only when they are strings.
    static MenuItemPtr fromRecord(const Value& record, const QStringList& recordKeys);

    QString key;
    QString serve;
    QString icon;
    QString iconPath;
    QString appName;
    bool disabledOpenPath = false;
    bool isAddToMainMenu = false;
    QString path;
    QString desc = QStringLiteral("");
    QString displayName;
    QString templatePath;
    QString ext;
    QString fileName;
    QString introduce;
    bool disabledAuth = false;
    bool isNeedFolder = false;
    bool isNeedSelectURL = false;
    bool isNotNeedURL = false;
    bool isMainMenuNewFile = false;
    bool isSpecialFile = false;
    bool disabled = false;
    qint64 tag = 0;
    QStringList formats;
    QStringList cutPaths;
    bool isShowHideFile = false;
    QString command;
    MenuItemList children;
    MenuItem* parent = nullptr; // the entry whose submenu holds this one; not owned

    // Appends a child and makes this item its parent.
    void addChild(const MenuItemPtr& child);

    QString menuTitle() const;
    MenuIcon menuIcon() const;
    // False when the entry has children and every child's usage counter in the shared store is set.
    bool isValidParent() const;

    bool isNewFileFromWindow() const { return key == u"New File From Window"; }
    bool isAddToFileTemplate() const { return key == u"Add to File Template"; }
    bool isCopy() const { return key == u"Copy to"; }
    bool isTerminalTo() const { return key == u"Terminal To" || key == u"iTerm2 To"; }
    bool isCutPaste() const { return key == u"Cut Paste"; }
    bool isColorPicker() const { return key == u"Color Picker"; }
    bool isSepLine() const { return key == u"Sep Line"; }
};

} // namespace pallstone
