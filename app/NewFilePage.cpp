#include "NewFilePage.h"

#include "Alert.h"
#include "DefaultCatalogue.h"
#include "Localizer.h"
#include "MenuIcons.h"
#include "MenuStore.h"
#include "Punctuation.h"
#include "ReorderTable.h"
#include "Strings.h"
#include "TemplateDialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QVBoxLayout>

namespace pallstone {

namespace {

QString orEmpty(const QString& text)
{
    return text.isNull() ? QStringLiteral("") : text;
}

} // namespace

NewFilePage::NewFilePage(QWidget* parent) : ListPage(parent)
{
    m_tableView->setColumnCount(4);
    m_tableView->setHorizontalHeaderLabels(
        {Punctuation::withHints(Localizer::text(QStringLiteral("File Type")),
                                {Localizer::text(QStringLiteral("Drag Sort"))}),
         Localizer::text(QStringLiteral("Extension")),
         Localizer::text(QStringLiteral("Add to main menu")),
         Localizer::text(QStringLiteral("Enable"))});
    m_tableView->setCheckColumns({AddToMainMenuColumn, EnableColumn});
    QHeaderView* header = m_tableView->horizontalHeader();
    header->setSectionResizeMode(NameColumn, QHeaderView::Stretch);
    header->setSectionResizeMode(ExtColumn, QHeaderView::Interactive);
    header->resizeSection(ExtColumn, 200);

    m_openFileChecked =
        new QCheckBox(Localizer::text(QStringLiteral("New File Finished Checked Tip")), this);
    m_openFileChecked->setObjectName(QStringLiteral("openFileChecked"));
    m_openFileChecked->setChecked(MenuStore::sharedDefaults().boolForKey(StoreKey::openNewFile));
    connect(m_openFileChecked, &QCheckBox::toggled, this, [](bool checked) {
        MenuStore::sharedDefaults().setObject(checked, StoreKey::openNewFile);
    });

    auto* add = new QPushButton(MenuIcons::resource(QStringLiteral("add")),
                                Localizer::text(QStringLiteral("Add")), this);
    add->setObjectName(QStringLiteral("addButton"));
    connect(add, &QPushButton::clicked, this, &NewFilePage::onAdd);
    connect(m_deleteButton, &QPushButton::clicked, this, &NewFilePage::onDelete);
    connect(m_recoverBtn, &QPushButton::clicked, this, &NewFilePage::onRecover);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tableView, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(m_deleteButton);
    buttons->addSpacing(12);
    buttons->addWidget(m_openFileChecked);
    buttons->addStretch();
    buttons->addWidget(m_recoverBtn);
    layout->addLayout(buttons);
    refresh();
}

NewFilePage::~NewFilePage() = default;

QString NewFilePage::listKey() const
{
    return StoreKey::newFile;
}

void NewFilePage::refresh()
{
    m_tableData = MenuStore::newFileTemplateMenuArray(false);
    reloadTable();
}

void NewFilePage::fillRow(int row, const MenuItemPtr& item)
{
    m_tableView->setItem(row, NameColumn,
                         titleCell(item->menuTitle(), MenuIcons::icon(item->menuIcon())));
    QString ext;
    if (item->isNewFileFromWindow())
        ext = QString();
    else if (item->isSpecialFile)
        ext = Localizer::text(QStringLiteral("Special File"));
    else
        ext = u'.' + (Strings::isValid(item->ext) ? item->ext : item->key);
    m_tableView->setItem(row, ExtColumn, titleCell(ext));
    m_tableView->setItem(row, AddToMainMenuColumn, checkCell(item->isAddToMainMenu, true));
    m_tableView->setItem(
        row, EnableColumn,
        checkCell(!item->disabled || item->isAddToMainMenu, !item->isAddToMainMenu));
}

void NewFilePage::tableViewSelectionDidChange()
{
    ListPage::tableViewSelectionDidChange();
    // The built-in "from window" entry has no file of its own to remove.
    if (m_selectItem && m_selectItem->isNewFileFromWindow())
        m_deleteButton->setEnabled(false);
}

void NewFilePage::onCheckChanged(int row, int column, bool checked)
{
    if (row < 0 || row >= m_tableData.size())
        return;
    const MenuItemPtr item = m_tableData.at(row);
    if (column == EnableColumn) {
        item->disabled = !checked;
        MenuStore::updateMenuKey(StoreKey::newFile, item->key, QStringLiteral("disabled"),
                                 item->disabled);
        return;
    }
    if (column != AddToMainMenuColumn)
        return;
    item->isAddToMainMenu = checked;
    MenuStore::updateMenuKey(StoreKey::newFile, item->key, QStringLiteral("toMainMenu"), checked);
    if (checked) {
        Value record = Value::dictionary();
        record.insert(QStringLiteral("key"), item->key);
        record.insert(QStringLiteral("mainMenuNewFile"), true);
        record.insert(QStringLiteral("ext"), orEmpty(item->ext));
        record.insert(QStringLiteral("icon"),
                      Strings::isValid(item->icon) ? item->icon : QStringLiteral("file"));
        record.insert(QStringLiteral("fileName"), orEmpty(item->fileName));
        record.insert(QStringLiteral("iconPath"), orEmpty(item->iconPath));
        record.insert(QStringLiteral("templatePath"), orEmpty(item->templatePath));
        record.insert(QStringLiteral("special"), item->isSpecialFile);
        record.insert(QStringLiteral("displayName"), orEmpty(item->displayName));
        MenuStore::addMenuKey(StoreKey::rightMenu, record, true);
    } else {
        MenuStore::removeMenuKey(StoreKey::rightMenu, item->key);
    }
    refresh();
}

void NewFilePage::onAdd()
{
    if (m_tableView->rowCount() >= kLimit) {
        Alert::alertWithMsg(Localizer::text(QStringLiteral("Submenu Limit Heading")),
                            Localizer::text(QStringLiteral("Submenu Limit Tip")));
        return;
    }
    if (m_addFileWinCtl)
        m_addFileWinCtl->onCancel(); // replaced: its working copies go
    auto* window = new TemplateDialog(this);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowModality(Qt::WindowModal);
    window->addSuccessBlock = [self = QPointer<NewFilePage>(this)](const MenuItemPtr& item) {
        if (self)
            self->addKind(item);
    };
    m_addFileWinCtl = window;
    window->show();
}

void NewFilePage::addKind(const MenuItemPtr& item)
{
    Value record = Value::dictionary();
    record.insert(QStringLiteral("key"), orEmpty(item->key));
    record.insert(QStringLiteral("ext"), orEmpty(item->ext));
    record.insert(QStringLiteral("displayName"), orEmpty(item->displayName));
    record.insert(QStringLiteral("icon"), QStringLiteral("file"));
    record.insert(QStringLiteral("fileName"), orEmpty(item->fileName));
    record.insert(QStringLiteral("iconPath"), orEmpty(item->iconPath));
    record.insert(QStringLiteral("templatePath"), orEmpty(item->templatePath));
    record.insert(QStringLiteral("special"), item->isSpecialFile);
    MenuStore::addMenuKey(StoreKey::newFile, record, false);
    refresh();
    scrollToLastRow();
}

void NewFilePage::onDelete()
{
    const MenuItemPtr item = m_selectItem;
    if (!item || item->isNewFileFromWindow())
        return;
    if (item->isAddToMainMenu)
        MenuStore::removeMenuKey(StoreKey::rightMenu, item->key);
    // The store deletes the kind's template and icon, when they are the container's own.
    MenuStore::removeMenuKey(StoreKey::newFile, item->key);
    refresh();
}

void NewFilePage::onRecover()
{
    if (!Alert::confirm(Localizer::text(QStringLiteral("Recover Heading")),
                        Localizer::text(QStringLiteral("Recover Tip")),
                        Localizer::text(QStringLiteral("Recover")), this))
        return;
    for (const MenuItemPtr& item : std::as_const(m_tableData)) {
        if (item->isAddToMainMenu)
            MenuStore::removeMenuKey(StoreKey::rightMenu, item->key);
    }
    DefaultCatalogue::recoverNewFile();
    refresh();
}

} // namespace pallstone
