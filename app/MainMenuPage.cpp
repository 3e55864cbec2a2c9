#include "MainMenuPage.h"

#include "AddMenuEntryDialog.h"
#include "Alert.h"
#include "DefaultCatalogue.h"
#include "ExtensionManager.h"
#include "Localizer.h"
#include "MenuIcons.h"
#include "MenuStore.h"
#include "Punctuation.h"
#include "ReorderTable.h"
#include "SetupBanner.h"
#include "Strings.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace pallstone {

namespace {

const QString kDeleteSure = QStringLiteral("Check Delete Sure");
const QString kCopyHex = QStringLiteral("Check Copy HEX");
constexpr int kDeleteSureTag = 0;
constexpr int kCopyHexTag = 6;

} // namespace

const QString MainMenuPage::kWindowDidBecomeKey =
    QStringLiteral("NSWindowDidBecomeKeyNotification");

MainMenuPage::MainMenuPage(QWidget* parent) : ListPage(parent)
{
    DefaultCatalogue::setup();

    m_enableButton =
        new QCheckBox(Localizer::text(QStringLiteral("Enable the right-click menu")), this);
    m_enableButton->setObjectName(QStringLiteral("enableButton"));
    m_enableButton->setStyleSheet(
        QStringLiteral("QCheckBox { color: #e8467c; font-weight: bold; }"));
    connect(m_enableButton, &QCheckBox::clicked, this, [this] {
        // The box shows the state; changing it happens in the file managers' window.
        m_enableButton->setChecked(m_extensionEnabled);
        if (onEnable)
            onEnable();
    });

    m_banner = new SetupBanner(this);
    connect(m_banner, &SetupBanner::setUpRequested, this, [this] {
        if (onEnable)
            onEnable();
    });

    m_tableView->setColumnCount(3);
    m_tableView->setHorizontalHeaderLabels(
        {Punctuation::withHints(Localizer::text(QStringLiteral("Menu Name")),
                                {Localizer::text(QStringLiteral("Drag Sort")),
                                 Localizer::text(QStringLiteral("Double Click Change"))}),
         Localizer::text(QStringLiteral("Enable")), Localizer::text(QStringLiteral("Options"))});
    m_tableView->setCheckColumns({EnableColumn});
    QHeaderView* header = m_tableView->horizontalHeader();
    header->setSectionResizeMode(NameColumn, QHeaderView::Stretch);
    header->setSectionResizeMode(OptionsColumn, QHeaderView::Interactive);
    header->resizeSection(OptionsColumn, 300);

    auto* add = new QPushButton(MenuIcons::resource(QStringLiteral("add")),
                                Localizer::text(QStringLiteral("Add")), this);
    add->setObjectName(QStringLiteral("addButton"));
    connect(add, &QPushButton::clicked, this, &MainMenuPage::onAdd);
    connect(m_deleteButton, &QPushButton::clicked, this, &MainMenuPage::onDelete);
    connect(m_recoverBtn, &QPushButton::clicked, this, &MainMenuPage::onRecover);

    m_tipLabel = new QLabel(this);
    m_tipLabel->setObjectName(QStringLiteral("tipLabel"));
    m_tipLabel->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_banner);
    layout->addWidget(m_enableButton);
    layout->addWidget(m_tableView, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(m_deleteButton);
    buttons->addStretch();
    buttons->addWidget(m_recoverBtn);
    layout->addLayout(buttons);
    layout->addWidget(m_tipLabel);

    showIntroduce(nullptr);
    NotificationCenter::defaultCenter().addNotification(this, kWindowDidBecomeKey);
    setEmptyState(Localizer::text(QStringLiteral("Empty Menu Tip")),
                  Localizer::text(QStringLiteral("Add Right Menu")), [this] { onAdd(); });
    refresh();
}

MainMenuPage::~MainMenuPage() = default;

QString MainMenuPage::listKey() const
{
    return StoreKey::rightMenu;
}

void MainMenuPage::refresh()
{
    m_tableData = MenuStore::menuItemArray();
    const ExtensionManager::State state = ExtensionManager::extensionState();
    m_extensionEnabled = state == ExtensionManager::State::Active;
    m_enableButton->setChecked(m_extensionEnabled);
    m_banner->showFor(state, ExtensionManager::fileManagers());
    reloadTable();
}

QString MainMenuPage::outsideState() const
{
    // Switched on in a file manager while this window was behind: the check boxes follow.
    return QString::number(int(ExtensionManager::extensionState()));
}

void MainMenuPage::fillRow(int row, const MenuItemPtr& item)
{
    m_tableView->setItem(row, NameColumn,
                         titleCell(item->menuTitle(), MenuIcons::icon(item->menuIcon())));
    QTableWidgetItem* enable = checkCell(!item->disabled, m_extensionEnabled);
    // A greyed switch says why.
    if (!m_extensionEnabled)
        enable->setToolTip(Localizer::text(QStringLiteral("Enable Greyed Tip")));
    m_tableView->setItem(row, EnableColumn, enable);
    Defaults& store = MenuStore::sharedDefaults();
    QTableWidgetItem* options = nullptr;
    if (item->key == u"Delete") {
        options = checkCell(store.boolForKey(StoreKey::prefCheck(kDeleteSureTag)), true,
                            Localizer::text(kDeleteSure));
    } else if (item->isColorPicker()) {
        options = checkCell(store.boolForKey(StoreKey::prefCheck(kCopyHexTag)), true,
                            Localizer::text(kCopyHex));
    } else {
        options = titleCell(QString());
    }
    m_tableView->setItem(row, OptionsColumn, options);
}

void MainMenuPage::tableViewSelectionDidChange()
{
    ListPage::tableViewSelectionDidChange();
    if (m_selectItem)
        showIntroduce(m_selectItem);
}

void MainMenuPage::showIntroduce(const MenuItemPtr& item)
{
    if (item && Strings::isValid(item->introduce)) {
        m_tipLabel->setText(item->introduce);
        m_tipLabel->setStyleSheet(QStringLiteral("color: #d9822b;"));
    } else {
        m_tipLabel->setText(Localizer::text(QStringLiteral("Restart Tip")));
        m_tipLabel->setStyleSheet(QStringLiteral("color: palette(placeholder-text);"));
    }
}

void MainMenuPage::onCheckChanged(int row, int column, bool checked)
{
    if (row < 0 || row >= m_tableData.size())
        return;
    const MenuItemPtr item = m_tableData.at(row);
    if (column == EnableColumn) {
        item->disabled = !checked;
        MenuStore::updateMenuKey(StoreKey::rightMenu, item->key, QStringLiteral("disabled"),
                                 item->disabled);
        showIntroduce(item);
    } else if (column == OptionsColumn) {
        const int tag = item->key == u"Delete" ? kDeleteSureTag : kCopyHexTag;
        MenuStore::sharedDefaults().setObject(checked, StoreKey::prefCheck(tag));
    }
}

void MainMenuPage::onAdd()
{
    if (AddMenuEntryDialog::diffData().count() == 0) {
        Alert::alertWithMsg(Localizer::text(QStringLiteral("No Menu To Add Heading")),
                            Localizer::text(QStringLiteral("No Menu To Add Tip")));
        return;
    }
    if (!m_addMenuWinCtl)
        m_addMenuWinCtl = new AddMenuEntryDialog(this);
    m_addMenuWinCtl->open();
}

void MainMenuPage::onDelete()
{
    const MenuItemPtr item = m_selectItem;
    if (!item)
        return;
    if (Strings::isValid(item->appName)) {
        MenuStore::updateMenuKey(StoreKey::commonApp, item->key, QStringLiteral("toMainMenu"),
                                 false);
    } else if (item->isMainMenuNewFile) {
        MenuStore::updateMenuKey(StoreKey::newFile, item->key, QStringLiteral("toMainMenu"), false);
    }
    MenuStore::removeMenuKey(StoreKey::rightMenu, item->key);
    NotificationCenter::defaultCenter().postNotification(kWindowDidBecomeKey);
}

void MainMenuPage::onRecover()
{
    if (!Alert::confirm(Localizer::text(QStringLiteral("Recover Heading")),
                        Localizer::text(QStringLiteral("Recover Tip")),
                        Localizer::text(QStringLiteral("Recover")), this))
        return;
    const MenuItemList apps = MenuStore::commonAppMenuArray();
    for (const MenuItemPtr& app : apps) {
        if (app->isAddToMainMenu)
            MenuStore::updateMenuKey(StoreKey::commonApp, app->key, QStringLiteral("toMainMenu"),
                                     false);
    }
    const MenuItemList kinds = MenuStore::newFileTemplateMenuArray(false);
    for (const MenuItemPtr& kind : kinds) {
        if (kind->isAddToMainMenu)
            MenuStore::updateMenuKey(StoreKey::newFile, kind->key, QStringLiteral("toMainMenu"),
                                     false);
    }
    DefaultCatalogue::recoverRightMenu();
    refresh();
}

} // namespace pallstone
