#include "AppDelegate.h"

#include "AboutDialog.h"
#include "Alert.h"
#include "ExtensionManagementWindow.h"
#include "ExtensionManager.h"
#include "FavouritesPage.h"
#include "FolderIconPage.h"
#include "Launcher.h"
#include "Localizer.h"
#include "MainMenuPage.h"
#include "MainWindow.h"
#include "MenuIcons.h"
#include "MenuStore.h"
#include "NewFilePage.h"
#include "OpenWithPage.h"
#include "PreferencesPage.h"
#include "Services.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QStackedWidget>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

namespace pallstone {

namespace {

struct TabInfo
{
    const char* id;
    const char16_t* label;
    const char16_t* icon;
};
constexpr TabInfo kTabs[AppDelegate::TabCount] = {
    {"general", u"General", u"showfinder"},        {"newfile", u"New File", u"newfile"},
    {"favorite", u"Common Path", u"favorites"},    {"commonapp", u"Common App", u"app"},
    {"foldericon", u"Folder Icon", u"foldericon"}, {"pref", u"Preferences", u"set"},
};
constexpr int kStatusBarTag = 5;

QString format(const QString& key, const QString& value)
{
    return Localizer::text(key).replace(QStringLiteral("%@"), QStringLiteral("%1")).arg(value);
}

} // namespace

AppDelegate::AppDelegate(QObject* parent) : QObject(parent)
{
    m_extensionManager = new ExtensionManager(this);
    m_window = std::make_unique<MainWindow>();
    m_window->resize(1000, 700);
    m_window->setMinimumSize(820, 560);
    m_window->setWindowIcon(MenuIcons::resource(QStringLiteral("pro")));
    initTabView();
    initMenus();
    createStatusBar();
    refreshWindowTitle();
}

AppDelegate::~AppDelegate() = default;

void AppDelegate::initTabView()
{
    m_tabView = new QStackedWidget(m_window.get());
    m_tabView->setObjectName(QStringLiteral("tabView"));
    // The main-menu editor first: it seeds or upgrades the store before any other editor reads it.
    m_general = new MainMenuPage(m_tabView);
    m_general->onEnable = [this] { showExtensionManagementInterface(); };
    m_newFile = new NewFilePage(m_tabView);
    m_favorite = new FavouritesPage(m_tabView);
    m_openWith = new OpenWithPage(m_tabView);
    m_folderIcon = new FolderIconPage(m_tabView);
    m_preference = new PreferencesPage(m_tabView);
    m_preference->restartExtensionService = [this] { restartExtensionService(); };
    m_preference->createStatusBar = [this] { createStatusBar(); };

    for (QWidget* tab : {static_cast<QWidget*>(m_general), static_cast<QWidget*>(m_newFile),
                         static_cast<QWidget*>(m_favorite), static_cast<QWidget*>(m_openWith),
                         static_cast<QWidget*>(m_folderIcon), static_cast<QWidget*>(m_preference)})
        m_tabView->addWidget(tab);
    m_window->setCentralWidget(m_tabView);

    m_toolbar = new QToolBar(m_window.get());
    m_toolbar->setObjectName(QStringLiteral("toolbar"));
    m_toolbar->setMovable(false);
    m_toolbar->setFloatable(false);
    m_toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_toolbar->setIconSize(QSize(28, 28));
    m_toolbar->toggleViewAction()->setVisible(false);
    m_toolbarGroup = new QActionGroup(m_toolbar);
    m_toolbarGroup->setExclusive(true);
    for (int tag = 0; tag < TabCount; ++tag) {
        QAction* item =
            m_toolbar->addAction(MenuIcons::resource(QString::fromUtf16(kTabs[tag].icon)),
                                 Localizer::text(QString::fromUtf16(kTabs[tag].label)));
        item->setObjectName(QString::fromLatin1(kTabs[tag].id));
        item->setCheckable(true);
        item->setData(tag);
        m_toolbarGroup->addAction(item);
        connect(item, &QAction::triggered, this, [this, tag] { selectTab(tag); });
        m_toolbarItems.append(item);
    }
    m_window->addToolBar(Qt::TopToolBarArea, m_toolbar);
    selectTab(GeneralTab);
}

void AppDelegate::initMenus()
{
    const QString name = Localizer::displayName();
    QMenu* menu = m_window->menuBar()->addMenu(name);
    menu->addAction(format(QStringLiteral("Menu Abount"), name), this, &AppDelegate::onAbout);
    menu->addAction(format(QStringLiteral("Menu Feedback"), name), this, &AppDelegate::onSupport);
    menu->addAction(Localizer::text(QStringLiteral("File Manager Extensions")), this,
                    &AppDelegate::showExtensionManagementInterface);
    menu->addSeparator();
    QAction* quit =
        menu->addAction(format(QStringLiteral("Menu Quit"), name), this, &AppDelegate::exitApp);
    quit->setShortcut(QKeySequence::Quit);
}

AboutDialog* AppDelegate::aboutDialog() const
{
    return m_about;
}

ExtensionManagementWindow* AppDelegate::extensionManagementWindow() const
{
    return m_management;
}

QAction* AppDelegate::toolbarItem(int tab) const
{
    return m_toolbarItems.value(tab);
}

void AppDelegate::selectTab(int index)
{
    if (index < 0 || index >= TabCount)
        return;
    m_tabView->setCurrentIndex(index);
    m_toolbarItems.at(index)->setChecked(true);
}

void AppDelegate::refreshWindowTitle()
{
    m_window->setWindowTitle(Localizer::displayName());
}

bool AppDelegate::quitsWithLastWindow(bool statusBarWanted, bool trayAvailable)
{
    return !(statusBarWanted && trayAvailable);
}

void AppDelegate::createStatusBar()
{
    const bool wanted = MenuStore::sharedDefaults().boolForKey(StoreKey::prefCheck(kStatusBarTag));
    if (wanted) {
        if (!m_statusItem) {
            m_statusMenu = std::make_unique<QMenu>();
            m_statusMenu->addAction(Localizer::text(QStringLiteral("Preferences")), this,
                                    &AppDelegate::openWindow);
            m_statusMenu->addSeparator();
            m_statusMenu->addAction(Localizer::text(QStringLiteral("Exit")), this,
                                    &AppDelegate::exitApp);
            m_statusItem =
                std::make_unique<QSystemTrayIcon>(MenuIcons::resource(QStringLiteral("pro")));
            m_statusItem->setToolTip(Localizer::displayName());
            m_statusItem->setContextMenu(m_statusMenu.get());
            connect(m_statusItem.get(), &QSystemTrayIcon::activated, this,
                    [this](QSystemTrayIcon::ActivationReason reason) {
                        if (reason == QSystemTrayIcon::Trigger)
                            openWindow();
                    });
        }
        m_statusItem->show();
    } else {
        m_statusItem.reset();
        m_statusMenu.reset();
    }
    QGuiApplication::setQuitOnLastWindowClosed(
        quitsWithLastWindow(wanted, QSystemTrayIcon::isSystemTrayAvailable()));
}

void AppDelegate::openWindow()
{
    m_window->show();
    m_window->setWindowState((m_window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    m_window->raise();
    m_window->activateWindow();
    if (m_checksExtension)
        QTimer::singleShot(0, this, &AppDelegate::checkIsOpenRightMenu);
}

void AppDelegate::checkIsOpenRightMenu()
{
    const ExtensionManager::State state = ExtensionManager::extensionState();
    if (state == ExtensionManager::State::Active)
        return;
    // Installing and switching on are different steps in the window the button opens.
    const bool off = state == ExtensionManager::State::SwitchedOff;
    Alert::alertWithMsg(Localizer::text(off ? QStringLiteral("Extension Switched Off Heading")
                                            : QStringLiteral("Extension Not Installed Heading")),
                        Localizer::text(off ? QStringLiteral("Extension Switched Off Tip")
                                            : QStringLiteral("Finder Sync Tip")),
                        m_window.get(),
                        {Localizer::text(QStringLiteral("Open System Preferences"))});
    showExtensionManagementInterface();
}

void AppDelegate::showExtensionManagementInterface()
{
    if (!m_management) {
        m_management = new ExtensionManagementWindow(m_window.get());
        m_management->setAttribute(Qt::WA_DeleteOnClose);
        connect(m_management, &ExtensionManagementWindow::switchesChanged, m_general,
                &MainMenuPage::refresh);
        connect(m_management, &QDialog::finished, m_general, &MainMenuPage::refresh);
    } else {
        m_management->refresh();
    }
    m_management->show();
    m_management->raise();
    m_management->activateWindow();
}

void AppDelegate::restartExtensionService()
{
    m_extensionManager->restartExtensionService();
}

void AppDelegate::exitApp()
{
    QCoreApplication::quit();
}

void AppDelegate::onSupport()
{
    Services::launcher()->openDefault(QUrl(QStringLiteral(PALLSTONE_HOMEPAGE "/issues")));
}

void AppDelegate::onAbout()
{
    if (!m_about) {
        m_about = new AboutDialog(m_window.get());
        m_about->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
}

} // namespace pallstone
