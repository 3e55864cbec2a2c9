#include "FolderIconPage.h"

#include "Alert.h"
#include "DefaultCatalogue.h"
#include "FolderIconDesigner.h"
#include "FolderIconFile.h"
#include "IconCatalog.h"
#include "Localizer.h"
#include "MenuIcons.h"
#include "MenuStore.h"
#include "Paths.h"
#include "Prompter.h"
#include "Punctuation.h"
#include "ReorderTable.h"
#include "Strings.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

namespace pallstone {

FolderIconPage::FolderIconPage(QWidget* parent) : ListPage(parent)
{
    m_tableView->setColumnCount(2);
    m_tableView->setHorizontalHeaderLabels(
        {Punctuation::withHints(Localizer::text(QStringLiteral("Folder Icon")),
                                {Localizer::text(QStringLiteral("Drag Sort"))}),
         Localizer::text(QStringLiteral("Enable"))});
    m_tableView->setCheckColumns({EnableColumn});
    QHeaderView* header = m_tableView->horizontalHeader();
    header->setSectionResizeMode(NameColumn, QHeaderView::Stretch);
    // The pictures are what the person chooses by: large enough to tell apart.
    m_tableView->setIconSize(QSize(32, 32));
    m_tableView->verticalHeader()->setDefaultSectionSize(40);

    m_addButton = new QPushButton(MenuIcons::resource(QStringLiteral("add")),
                                  Localizer::text(QStringLiteral("Add")), this);
    m_addButton->setObjectName(QStringLiteral("addButton"));
    m_addPopMenu = new QMenu(this);
    m_addPopMenu->setObjectName(QStringLiteral("addPopMenu"));
    QAction* selectMenu = m_addPopMenu->addAction(
        Localizer::text(QStringLiteral("Select Folder Icon")), this, &FolderIconPage::onAddSelect);
    selectMenu->setObjectName(QStringLiteral("selectMenu"));
    QAction* makeMenu = m_addPopMenu->addAction(Localizer::text(QStringLiteral("Make Folder Icon")),
                                                this, &FolderIconPage::onAddMake);
    makeMenu->setObjectName(QStringLiteral("makeMenu"));
    connect(m_addButton, &QPushButton::clicked, this, &FolderIconPage::onAdd);
    connect(m_deleteButton, &QPushButton::clicked, this, &FolderIconPage::onDelete);
    connect(m_recoverBtn, &QPushButton::clicked, this, &FolderIconPage::onRecover);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tableView, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_addButton);
    buttons->addWidget(m_deleteButton);
    buttons->addStretch();
    buttons->addWidget(m_recoverBtn);
    layout->addLayout(buttons);
    setEmptyState(Localizer::text(QStringLiteral("Empty Folder Icons Tip")),
                  Localizer::text(QStringLiteral("Make Folder Icon")), [this] { onAddMake(); });
    refresh();
}

FolderIconPage::~FolderIconPage() = default;

QString FolderIconPage::listKey() const
{
    return StoreKey::folderIcon;
}

void FolderIconPage::refresh()
{
    m_tableData = MenuStore::folderIconMenuArray();
    reloadTable();
}

void FolderIconPage::fillRow(int row, const MenuItemPtr& item)
{
    // A default entry shows the picture it applies, not the outline the menus use.
    const QString picture =
        item->iconPath.isEmpty() ? IconCatalog::folderPicture(item->icon) : QString();
    const QIcon icon = picture.isEmpty() ? MenuIcons::icon(item->menuIcon()) : QIcon(picture);
    m_tableView->setItem(row, NameColumn, titleCell(item->menuTitle(), icon));
    m_tableView->setItem(row, EnableColumn, checkCell(!item->disabled, true));
}

void FolderIconPage::onCheckChanged(int row, int column, bool checked)
{
    if (column != EnableColumn || row < 0 || row >= m_tableData.size())
        return;
    const MenuItemPtr item = m_tableData.at(row);
    item->disabled = !checked;
    MenuStore::updateMenuKey(StoreKey::folderIcon, item->key, QStringLiteral("disabled"),
                             item->disabled);
}

void FolderIconPage::onAdd()
{
    if (m_tableView->rowCount() >= kLimit) {
        Alert::alertWithMsg(Localizer::text(QStringLiteral("Submenu Limit Heading")),
                            Localizer::text(QStringLiteral("Submenu Limit Tip")));
        return;
    }
    m_addPopMenu->popup(m_addButton->mapToGlobal(QPoint(0, m_addButton->height() / 2)));
}

void FolderIconPage::onAddSelect()
{
    if (const std::optional<QString> path = FolderIconFile::askForPicture())
        addPicture(*path);
}

bool FolderIconPage::addPicture(const QString& path)
{
    // A picture that cannot be read would become an entry that decorates folders with nothing.
    const QImage picture = FolderIconFile::readFitted(path);
    if (picture.isNull()) {
        Alert::warning(Localizer::text(QStringLiteral("Picture Unreadable Heading")),
                       Localizer::text(QStringLiteral("Picture Unreadable Tip")), this);
        return false;
    }
    const QString key = Strings::uuid();
    if (!FolderIconFile::write(picture, key).isEmpty()) {
        Alert::warning(Localizer::text(QStringLiteral("Folder Icon Save Failed Heading")),
                       Localizer::text(QStringLiteral("Folder Icon Save Failed Tip")), this);
        return false;
    }
    Value record = Value::dictionary();
    record.insert(QStringLiteral("key"), key);
    record.insert(QStringLiteral("displayName"),
                  Paths::deletingPathExtension(Paths::lastPathComponent(path)));
    record.insert(QStringLiteral("iconPath"), FolderIconFile::pathForKey(key));
    MenuStore::addMenuKey(StoreKey::folderIcon, record, false);
    refresh();
    scrollToLastRow();
    return true;
}

void FolderIconPage::onAddMake()
{
    if (!m_addIconWinCtl) {
        m_addIconWinCtl = new FolderIconDesigner(this);
        m_addIconWinCtl->setWindowModality(Qt::WindowModal);
        m_addIconWinCtl->addSuccessBlock =
            [self = QPointer<FolderIconPage>(this)](const MenuItemPtr& item) {
                if (self)
                    self->addMadeIcon(item);
            };
    }
    m_addIconWinCtl->show();
    m_addIconWinCtl->raise();
    m_addIconWinCtl->activateWindow();
}

void FolderIconPage::addMadeIcon(const MenuItemPtr& item)
{
    Value record = Value::dictionary();
    record.insert(QStringLiteral("key"), item->key);
    record.insert(QStringLiteral("displayName"), Strings::isValid(item->displayName)
                                                     ? item->displayName
                                                     : Localizer::text(QStringLiteral("Untitled")));
    record.insert(QStringLiteral("iconPath"),
                  item->iconPath.isNull() ? QStringLiteral("") : item->iconPath);
    MenuStore::addMenuKey(StoreKey::folderIcon, record, false);
    refresh();
    scrollToLastRow();
}

void FolderIconPage::onEditName()
{
    const MenuItemPtr item = m_selectItem;
    if (!item)
        return;
    const std::optional<QString> name = askDisplayName(item->menuTitle());
    // A blank name keeps the one the entry had.
    if (!name || !Strings::isValid(*name))
        return;
    MenuStore::updateMenuKey(StoreKey::folderIcon, item->key, QStringLiteral("displayName"), *name);
    refresh();
}

void FolderIconPage::onDelete()
{
    const MenuItemPtr item = m_selectItem;
    if (!item)
        return;
    // The store deletes the entry's picture too, when it is the container's own.
    MenuStore::removeMenuKey(StoreKey::folderIcon, item->key);
    refresh();
}

void FolderIconPage::onRecover()
{
    if (!Alert::confirm(Localizer::text(QStringLiteral("Recover Heading")),
                        Localizer::text(QStringLiteral("Recover Tip")),
                        Localizer::text(QStringLiteral("Recover")), this))
        return;
    DefaultCatalogue::recoverFolderIcon();
    refresh();
}

} // namespace pallstone
