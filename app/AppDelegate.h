#pragma once

#include <QObject>
#include <QPointer>

#include <memory>

class QAction;
class QActionGroup;
class QMenu;
class QStackedWidget;
class QSystemTrayIcon;
class QToolBar;

namespace pallstone {

class AboutDialog;
class ExtensionManagementWindow;
class ExtensionManager;
class MainWindow;
class FavouritesPage;
class FolderIconPage;
class MainMenuPage;
class NewFilePage;
class OpenWithPage;
class PreferencesPage;

// The settings application itself: builds the window with its six tabs, keeps the tray item
// that "pref check5" asks for, checks on every opening that the context menu can reach a file
// manager, and restarts the extension service on request.
class AppDelegate final : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.tolvane.pallstone.App")
    Q_DISABLE_COPY_MOVE(AppDelegate)

public:
    enum Tab
    {
        GeneralTab,
        NewFileTab,
        FavoriteTab,
        CommonAppTab,
        FolderIconTab,
        PreferencesTab,
        TabCount
    };

    explicit AppDelegate(QObject* parent = nullptr);
    ~AppDelegate() override;

    MainWindow* window() const { return m_window.get(); }
    QStackedWidget* tabView() const { return m_tabView; }
    QToolBar* toolbar() const { return m_toolbar; }
    QSystemTrayIcon* statusItem() const { return m_statusItem.get(); }
    QAction* toolbarItem(int tab) const;

    MainMenuPage* generalViewCtl() const { return m_general; }
    NewFilePage* newFileViewCtl() const { return m_newFile; }
    FolderIconPage* folderIconViewCtl() const { return m_folderIcon; }
    PreferencesPage* preferenceViewCtl() const { return m_preference; }
    ExtensionManagementWindow* extensionManagementWindow() const;
    AboutDialog* aboutDialog() const;

    // Whether closing the window ends the application: yes unless the tray item is wanted and
    // the desktop can show it (otherwise nothing would be left to reopen the window with).
    static bool quitsWithLastWindow(bool statusBarWanted, bool trayAvailable);

    // Whether openWindow() looks for an enabled extension (not when taking screenshots).
    void setChecksExtension(bool check) { m_checksExtension = check; }

    void selectTab(int index);
    void refreshWindowTitle();
    void createStatusBar();
    void checkIsOpenRightMenu();
    void showExtensionManagementInterface();
    void restartExtensionService();
    void exitApp();
    void onSupport();
    void onAbout();

public Q_SLOTS:
    // Shows and raises the window; also what a second start of the program asks for over D-Bus.
    Q_SCRIPTABLE void openWindow();

private:
    void initTabView();
    void initMenus();

    std::unique_ptr<MainWindow> m_window;
    QStackedWidget* m_tabView = nullptr;
    QToolBar* m_toolbar = nullptr;
    QActionGroup* m_toolbarGroup = nullptr;
    QList<QAction*> m_toolbarItems;
    std::unique_ptr<QSystemTrayIcon> m_statusItem;
    std::unique_ptr<QMenu> m_statusMenu;
    ExtensionManager* m_extensionManager = nullptr;
    QPointer<ExtensionManagementWindow> m_management;
    QPointer<AboutDialog> m_about;
    bool m_checksExtension = true;

    MainMenuPage* m_general = nullptr;
    NewFilePage* m_newFile = nullptr;
    FavouritesPage* m_favorite = nullptr;
    OpenWithPage* m_openWith = nullptr;
    FolderIconPage* m_folderIcon = nullptr;
    PreferencesPage* m_preference = nullptr;
};

} // namespace pallstone
