#include "AddMenuEntryDialog.h"

#include "DefaultCatalogue.h"
#include "Localizer.h"
#include "MainMenuPage.h"
#include "MenuIcons.h"
#include "MenuStore.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QTableWidget>
#include <QVBoxLayout>

namespace pallstone {

namespace {
const QString kKey = QStringLiteral("key");
}

AddMenuEntryDialog::AddMenuEntryDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("addRightMenuWindow"));
    setWindowTitle(Localizer::text(QStringLiteral("Add Right Menu")));
    m_tableView = new QTableWidget(this);
    m_tableView->setColumnCount(2);
    m_tableView->setHorizontalHeaderLabels({Localizer::text(QStringLiteral("Menu Name")), {}});
    m_tableView->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_tableView->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    m_tableView->verticalHeader()->hide();
    m_tableView->verticalHeader()->setDefaultSectionSize(32);
    m_tableView->setSelectionMode(QAbstractItemView::NoSelection);
    m_tableView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tableView->setShowGrid(false);
    // Once everything is back in the menu the window says so instead of showing an empty table.
    m_allAdded = new QLabel(Localizer::text(QStringLiteral("No Menu To Add Tip")), this);
    m_allAdded->setObjectName(QStringLiteral("allAddedLabel"));
    m_allAdded->setAlignment(Qt::AlignCenter);
    m_allAdded->setWordWrap(true);
    m_allAdded->hide();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* close = buttons->button(QDialogButtonBox::Close);
    close->setText(Localizer::text(QStringLiteral("Close")));
    close->setObjectName(QStringLiteral("closeButton"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tableView, 1);
    layout->addWidget(m_allAdded, 1);
    layout->addWidget(buttons);
    resize(420, 460);
    NotificationCenter::defaultCenter().addNotification(this, MainMenuPage::kWindowDidBecomeKey);
}

AddMenuEntryDialog::~AddMenuEntryDialog()
{
    NotificationCenter::defaultCenter().removeAllNotification(this);
}

Value AddMenuEntryDialog::diffData()
{
    QSet<QString> present;
    const Value stored = MenuStore::sharedDefaults().object(StoreKey::rightMenu);
    for (const Value& record : stored.list())
        present.insert(record.value(kKey).string());
    Value diff = Value::array();
    const Value catalogue = DefaultCatalogue::defaultMainMenu();
    for (const Value& record : catalogue.list()) {
        if (!present.contains(record.value(kKey).string()))
            diff.append(record);
    }
    return diff;
}

void AddMenuEntryDialog::open()
{
    refresh();
    show();
    raise();
    activateWindow();
}

void AddMenuEntryDialog::handleSignal(const pallstone::Notification& /*notification*/)
{
    refresh();
}

void AddMenuEntryDialog::refresh()
{
    m_tableData = diffData();
    m_tableView->setRowCount(0);
    m_tableView->setRowCount(int(m_tableData.count()));
    for (int row = 0; row < m_tableData.count(); ++row) {
        const Value record = m_tableData.at(row);
        auto* name =
            new QTableWidgetItem(MenuIcons::resource(record.value(QStringLiteral("icon")).string()),
                                 Localizer::text(record.value(kKey).string()));
        m_tableView->setItem(row, 0, name);
        auto* add = new QPushButton(MenuIcons::resource(QStringLiteral("add")),
                                    Localizer::text(QStringLiteral("Add")), m_tableView);
        add->setObjectName(QStringLiteral("addItem"));
        // Queued: adding rebuilds this table, which deletes the button being clicked.
        connect(
            add, &QPushButton::clicked, this, [this, row] { addItem(row); }, Qt::QueuedConnection);
        m_tableView->setCellWidget(row, 1, add);
    }
    const bool empty = m_tableData.count() == 0;
    m_tableView->setVisible(!empty);
    m_allAdded->setVisible(empty);
}

void AddMenuEntryDialog::addItem(int row)
{
    if (row < 0 || row >= m_tableData.count())
        return;
    Value record = m_tableData.at(row).mutableCopy();
    record.insert(QStringLiteral("disabled"), false);
    MenuStore::addMenuKey(StoreKey::rightMenu, record, true);
    // Both this list and the main menu editor follow at once.
    NotificationCenter::defaultCenter().postNotification(MainMenuPage::kWindowDidBecomeKey);
}

} // namespace pallstone
