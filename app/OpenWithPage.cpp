#include "OpenWithPage.h"

#include "Alert.h"
#include "AppChooserDialog.h"
#include "DefaultCatalogue.h"
#include "LaunchPlan.h"
#include "Localizer.h"
#include "MenuIcons.h"
#include "MenuStore.h"
#include "Punctuation.h"
#include "ReorderTable.h"
#include "Strings.h"

#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace pallstone {

namespace {

constexpr int kIconSize = 60;

// Whether the menu offers the application here: the launcher finds its desktop entry.
bool installed(const MenuItem& item)
{
    return !LaunchPlan::desktopEntryPath(item.appName).isEmpty();
}

QString orEmpty(const QString& text)
{
    return text.isNull() ? QStringLiteral("") : text;
}

// The icon as a 60 by 60 PNG; false when there is nothing to draw or the file cannot be written.
bool writeIcon(const QIcon& icon, const QString& path)
{
    const QPixmap pixmap = icon.pixmap(QSize(kIconSize, kIconSize));
    if (pixmap.isNull())
        return false;
    QImage canvas(kIconSize, kIconSize, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    const QImage image = pixmap.toImage().scaled(kIconSize, kIconSize, Qt::KeepAspectRatio,
                                                 Qt::SmoothTransformation);
    QPainter painter(&canvas);
    painter.drawImage((kIconSize - image.width()) / 2, (kIconSize - image.height()) / 2, image);
    painter.end();
    QFile::remove(path);
    return canvas.save(path, "PNG");
}

} // namespace

OpenWithPage::OpenWithPage(QWidget* parent) : ListPage(parent)
{
    chooser = [this] { return AppChooserDialog::choose(window()); };

    m_tableView->setColumnCount(3);
    m_tableView->setHorizontalHeaderLabels(
        {Punctuation::withHints(Localizer::text(QStringLiteral("App Name")),
                                {Localizer::text(QStringLiteral("Drag Sort"))}),
         Localizer::text(QStringLiteral("Add to main menu")),
         Localizer::text(QStringLiteral("Enable"))});
    m_tableView->setCheckColumns({AddToMainMenuColumn, EnableColumn});
    QHeaderView* header = m_tableView->horizontalHeader();
    header->setSectionResizeMode(NameColumn, QHeaderView::Stretch);

    auto* add = new QPushButton(MenuIcons::resource(QStringLiteral("add")),
                                Localizer::text(QStringLiteral("Add")), this);
    add->setObjectName(QStringLiteral("addButton"));
    connect(add, &QPushButton::clicked, this, &OpenWithPage::onAdd);
    connect(m_deleteButton, &QPushButton::clicked, this, &OpenWithPage::onDelete);
    connect(m_recoverBtn, &QPushButton::clicked, this, &OpenWithPage::onRecover);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tableView, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(m_deleteButton);
    buttons->addStretch();
    buttons->addWidget(m_recoverBtn);
    layout->addLayout(buttons);
    setEmptyState(Localizer::text(QStringLiteral("Empty Apps Tip")),
                  Localizer::text(QStringLiteral("Add Application")), [this] { onAdd(); });
    refresh();
}

OpenWithPage::~OpenWithPage() = default;

QString OpenWithPage::listKey() const
{
    return StoreKey::commonApp;
}

void OpenWithPage::refresh()
{
    m_tableData = MenuStore::commonAppMenuArray();
    reloadTable();
}

QString OpenWithPage::iconFilePath(const QString& name)
{
    // The name is a desktop entry's Name: it may hold "/", which must not become a folder.
    QString file = name;
    file.replace(u'/', u'_');
    if (file == u"." || file == u"..")
        file.replace(u'.', u'_');
    return MenuStore::appIconFolder() + u'/' + file + QStringLiteral(".png");
}

void OpenWithPage::fillRow(int row, const MenuItemPtr& item)
{
    QString title = Strings::isValid(item->displayName) ? item->menuTitle() : item->appName;
    const bool present = installed(*item);
    // The row stays, with the person's choices, for the day the application is installed.
    if (!present)
        title = Punctuation::withHints(title, {Localizer::text(QStringLiteral("Not Installed"))});
    QTableWidgetItem* name = titleCell(title, MenuIcons::icon(item->menuIcon()));
    if (!present) {
        name->setForeground(palette().brush(QPalette::Disabled, QPalette::Text));
        name->setToolTip(Localizer::text(QStringLiteral("App Not Installed Tip")));
    }
    m_tableView->setItem(row, NameColumn, name);
    m_tableView->setItem(row, AddToMainMenuColumn, checkCell(item->isAddToMainMenu, true));
    m_tableView->setItem(
        row, EnableColumn,
        checkCell(!item->disabled || item->isAddToMainMenu, !item->isAddToMainMenu));
}

QString OpenWithPage::outsideState() const
{
    QString state;
    for (const MenuItemPtr& item : m_tableData)
        state.append(installed(*item) ? u'1' : u'0');
    return state;
}

void OpenWithPage::onAdd()
{
    if (m_tableView->rowCount() >= kLimit) {
        Alert::alertWithMsg(Localizer::text(QStringLiteral("Submenu Limit Heading")),
                            Localizer::text(QStringLiteral("Submenu Limit Tip")));
        return;
    }
    if (!chooser)
        return;
    const std::optional<DesktopApplications::Entry> entry = chooser();
    if (entry)
        addApplication(*entry);
}

bool OpenWithPage::addApplication(const DesktopApplications::Entry& entry)
{
    const QString name = entry.name;
    if (!Strings::isValid(name))
        return false;
    if (MenuStore::existKey(name, MenuStore::commonAppMenuArray())) {
        Alert::alertWithMsg(Localizer::text(QStringLiteral("App Exist Heading")),
                            Localizer::text(QStringLiteral("App Exist Tip")));
        return false;
    }
    const QString iconPath = iconFilePath(name);
    // Without an icon file the entry shows the generic application icon.
    const bool written = writeIcon(entry.qicon(), iconPath);
    Value record = Value::dictionary();
    record.insert(QStringLiteral("key"), name);
    record.insert(QStringLiteral("iconPath"), written ? iconPath : QStringLiteral(""));
    MenuStore::addMenuKey(StoreKey::commonApp, record, false);
    refresh();
    scrollToLastRow();
    return true;
}

void OpenWithPage::onCheckChanged(int row, int column, bool checked)
{
    if (row < 0 || row >= m_tableData.size())
        return;
    const MenuItemPtr item = m_tableData.at(row);
    if (column == EnableColumn) {
        item->disabled = !checked;
        MenuStore::updateMenuKey(StoreKey::commonApp, item->key, QStringLiteral("disabled"),
                                 item->disabled);
        return;
    }
    if (column != AddToMainMenuColumn)
        return;
    item->isAddToMainMenu = checked;
    MenuStore::updateMenuKey(StoreKey::commonApp, item->key, QStringLiteral("toMainMenu"), checked);
    if (checked) {
        Value record = Value::dictionary();
        record.insert(QStringLiteral("key"), item->key);
        record.insert(QStringLiteral("icon"), orEmpty(item->icon));
        record.insert(QStringLiteral("iconPath"), orEmpty(item->iconPath));
        record.insert(QStringLiteral("appName"), orEmpty(item->appName));
        record.insert(QStringLiteral("displayName"), orEmpty(item->displayName));
        MenuStore::addMenuKey(StoreKey::rightMenu, record, true);
    } else {
        MenuStore::removeMenuKey(StoreKey::rightMenu, item->key);
    }
    refresh();
}

void OpenWithPage::onDelete()
{
    const MenuItemPtr item = m_selectItem;
    if (!item)
        return;
    if (item->isAddToMainMenu)
        MenuStore::removeMenuKey(StoreKey::rightMenu, item->key);
    MenuStore::removeMenuKey(StoreKey::commonApp, item->key);
    refresh();
}

void OpenWithPage::onRecover()
{
    if (!Alert::confirm(Localizer::text(QStringLiteral("Recover Heading")),
                        Localizer::text(QStringLiteral("Recover Tip")),
                        Localizer::text(QStringLiteral("Recover")), this))
        return;
    for (const MenuItemPtr& item : std::as_const(m_tableData)) {
        if (item->isAddToMainMenu)
            MenuStore::removeMenuKey(StoreKey::rightMenu, item->key);
    }
    DefaultCatalogue::recoverCommonApp();
    refresh();
}

} // namespace pallstone
