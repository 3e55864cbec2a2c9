#include "FavouritesPage.h"

#include "Alert.h"
#include "DefaultCatalogue.h"
#include "Localizer.h"
#include "MenuIcons.h"
#include "MenuStore.h"
#include "Paths.h"
#include "Prompter.h"
#include "Punctuation.h"
#include "ReorderTable.h"
#include "Strings.h"

#include <QComboBox>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace pallstone {

namespace {

// The popup's entries by position, with the stored value each selects.
struct PopUpEntry
{
    const char16_t* title;
    qint64 value;
};
constexpr PopUpEntry kPopUp[] = {
    {u"PopMenu Not Show Submenu", 1},
    {u"PopMenu Show Sub-Files", 3},
    {u"PopMenu Show Apps", 2},
    {u"PopMenu Show Sub-Files And Apps", 4},
};
constexpr qint64 kDefaultNextMenu = 3;

} // namespace

FavouritesPage::FavouritesPage(QWidget* parent) : ListPage(parent)
{
    m_tableView->setColumnCount(3);
    m_tableView->setHorizontalHeaderLabels(
        {Punctuation::withHints(Localizer::text(QStringLiteral("Common Path")),
                                {Localizer::text(QStringLiteral("Drag Sort"))}),
         Punctuation::withHints(Localizer::text(QStringLiteral("Display Name")),
                                {Localizer::text(QStringLiteral("Double Click Change"))}),
         Localizer::text(QStringLiteral("Enable"))});
    m_tableView->setCheckColumns({EnableColumn});
    QHeaderView* header = m_tableView->horizontalHeader();
    header->setSectionResizeMode(PathColumn, QHeaderView::Stretch);
    header->setSectionResizeMode(DisplayColumn, QHeaderView::Interactive);
    header->resizeSection(DisplayColumn, 320);

    m_popUpButton = new QComboBox(this);
    m_popUpButton->setObjectName(QStringLiteral("popUpButton"));
    for (const PopUpEntry& entry : kPopUp)
        m_popUpButton->addItem(Localizer::text(QString::fromUtf16(entry.title)), entry.value);
    connect(m_popUpButton, &QComboBox::activated, this, &FavouritesPage::onSelectPopUpType);
    m_tipLabel = new QLabel(this);
    m_tipLabel->setObjectName(QStringLiteral("tipLabel"));
    m_tipLabel->setStyleSheet(QStringLiteral("color: palette(placeholder-text);"));

    auto* add = new QPushButton(MenuIcons::resource(QStringLiteral("add")),
                                Localizer::text(QStringLiteral("Add")), this);
    add->setObjectName(QStringLiteral("addButton"));
    connect(add, &QPushButton::clicked, this, &FavouritesPage::addFolder);
    connect(m_deleteButton, &QPushButton::clicked, this, &FavouritesPage::onDelete);
    // Clearing is not restoring: its own name and icon.
    m_recoverBtn->setText(Localizer::text(QStringLiteral("Clear")));
    m_recoverBtn->setIcon(MenuIcons::resource(QStringLiteral("clear")));
    connect(m_recoverBtn, &QPushButton::clicked, this, &FavouritesPage::onRecover);

    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    top->addWidget(m_popUpButton);
    top->addWidget(m_tipLabel, 1);
    layout->addLayout(top);
    layout->addWidget(m_tableView, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(m_deleteButton);
    buttons->addStretch();
    buttons->addWidget(m_recoverBtn);
    layout->addLayout(buttons);
    setEmptyState(Localizer::text(QStringLiteral("Empty Favourites Tip")),
                  Localizer::text(QStringLiteral("Add Folder")), [this] { addFolder(); });
    refresh();
}

FavouritesPage::~FavouritesPage() = default;

QString FavouritesPage::listKey() const
{
    return StoreKey::commonPath;
}

QString FavouritesPage::displayPath(const QString& path)
{
    const QString home = QDir::cleanPath(QDir::homePath());
    if (home.isEmpty() || home == u"/")
        return path;
    if (path == home)
        return QStringLiteral("~");
    if (path.startsWith(home + u'/'))
        return u'~' + path.mid(home.size());
    return path;
}

void FavouritesPage::setTip(qint64 value)
{
    m_tipLabel->setText(Localizer::text(QStringLiteral("Only Show Sub-Files Tip"))
                            .replace(QStringLiteral("%@"), QStringLiteral("%1"))
                            .arg(value == 3 ? 20 : 10));
    m_tipLabel->setVisible(value != 1 && value != 2);
}

void FavouritesPage::refresh()
{
    Defaults& store = MenuStore::sharedDefaults();
    qint64 value = store.integerForKey(StoreKey::commonPathNextMenu);
    if (value == 0) {
        value = kDefaultNextMenu;
        store.setObject(value, StoreKey::commonPathNextMenu);
    }
    setTip(value);
    const int position = m_popUpButton->findData(value);
    m_popUpButton->setCurrentIndex(position);

    m_tableData = MenuStore::commonPathMenuArray();
    reloadTable();
    m_recoverBtn->setEnabled(!m_tableData.isEmpty()); // nothing to clear
}

void FavouritesPage::onSelectPopUpType(int position)
{
    if (position < 0 || position >= int(std::size(kPopUp)))
        return;
    const qint64 value = kPopUp[position].value;
    MenuStore::sharedDefaults().setObject(value, StoreKey::commonPathNextMenu);
    m_popUpButton->setCurrentIndex(position);
    setTip(value);
}

void FavouritesPage::fillRow(int row, const MenuItemPtr& item)
{
    m_tableView->setItem(row, PathColumn,
                         titleCell(displayPath(item->path), MenuIcons::icon(item->menuIcon())));
    m_tableView->setItem(row, DisplayColumn, titleCell(item->displayName));
    m_tableView->setItem(row, EnableColumn, checkCell(!item->disabled, true));
}

void FavouritesPage::onCheckChanged(int row, int column, bool checked)
{
    if (column != EnableColumn || row < 0 || row >= m_tableData.size())
        return;
    const MenuItemPtr item = m_tableData.at(row);
    item->disabled = !checked;
    MenuStore::updateMenuKey(StoreKey::commonPath, item->key, QStringLiteral("disabled"),
                             item->disabled);
}

void FavouritesPage::addFolder()
{
    if (m_tableView->rowCount() >= kLimit) {
        Alert::alertWithMsg(Localizer::text(QStringLiteral("Submenu Limit Heading")),
                            Localizer::text(QStringLiteral("Submenu Limit Tip")));
        return;
    }
    OpenPanelRequest request;
    request.canChooseFiles = false;
    request.canChooseDirectories = true;
    request.directory = QDir::homePath();
    const std::optional<QStringList> paths = Prompter::instance()->openPanel(request);
    if (!paths || paths->isEmpty())
        return;
    addFolderPath(paths->first());
}

bool FavouritesPage::addFolderPath(const QString& path)
{
    // Rows are found by their folder: a second row of one folder would have the first one's
    // checkbox, name and removal act for it.
    const QString folder = Paths::standardizedPath(path);
    for (const MenuItemPtr& item : std::as_const(m_tableData)) {
        if (item->key == folder) {
            Alert::alertWithMsg(Localizer::text(QStringLiteral("App Exist Heading")),
                                Localizer::text(QStringLiteral("Folder Exist Tip")));
            return false;
        }
    }
    Value record = Value::dictionary();
    record.insert(QStringLiteral("disabled"), false);
    record.insert(QStringLiteral("path"), path);
    record.insert(QStringLiteral("displayName"), Paths::lastPathComponent(path));
    MenuStore::addMenuKey(StoreKey::commonPath, record, false);
    refresh();
    scrollToLastRow();
    return true;
}

void FavouritesPage::onEditName()
{
    const MenuItemPtr item = m_selectItem;
    if (!item)
        return;
    const std::optional<QString> name = askDisplayName(item->displayName);
    if (!name)
        return;
    // A blank name gives the folder its own name back.
    const QString stored = Strings::isValid(*name) ? *name : Paths::lastPathComponent(item->path);
    MenuStore::updateMenuKey(StoreKey::commonPath, item->key, QStringLiteral("displayName"),
                             stored);
    refresh();
}

void FavouritesPage::onDelete()
{
    const MenuItemPtr item = m_selectItem;
    if (!item)
        return;
    MenuStore::removeMenuKey(StoreKey::commonPath, item->key);
    refresh();
}

void FavouritesPage::onRecover()
{
    if (!Alert::confirm(Localizer::text(QStringLiteral("Clear Heading")),
                        Localizer::text(QStringLiteral("Clear Tip")),
                        Localizer::text(QStringLiteral("Clear")), this))
        return;
    DefaultCatalogue::recoverCommonPath();
    refresh();
}

} // namespace pallstone
