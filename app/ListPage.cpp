#include "ListPage.h"

#include "Localizer.h"
#include "MenuIcons.h"
#include "MenuStore.h"
#include "Prompter.h"
#include "ReorderTable.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

namespace pallstone {

const QString ListPage::kConfigChangeNotification = QStringLiteral("config change noti");

ListPage::ListPage(QWidget* parent) : QWidget(parent)
{
    m_tableView = new ReorderTable(this);
    m_tableView->setObjectName(QStringLiteral("tableView"));
    m_deleteButton = new QPushButton(MenuIcons::resource(QStringLiteral("delete")),
                                     Localizer::text(QStringLiteral("Remove")), this);
    m_deleteButton->setObjectName(QStringLiteral("deleteButton"));
    m_deleteButton->setEnabled(false);
    m_recoverBtn = new QPushButton(MenuIcons::resource(QStringLiteral("recover")),
                                   Localizer::text(QStringLiteral("Recover")), this);
    m_recoverBtn->setObjectName(QStringLiteral("recoverBtn"));

    connect(m_tableView, &ReorderTable::moveRequested, this, &ListPage::onMoveRequested);
    connect(m_tableView, &QTableWidget::itemSelectionChanged, this,
            [this] { tableViewSelectionDidChange(); });
    connect(m_tableView, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (m_filling || !(item->flags() & Qt::ItemIsUserCheckable))
            return;
        // Queued: the handler rebuilds the rows, deleting the item that is reporting the change.
        const int row = item->row();
        const int column = item->column();
        const bool checked = item->checkState() == Qt::Checked;
        QMetaObject::invokeMethod(
            this, [this, row, column, checked] { onCheckChanged(row, column, checked); },
            Qt::QueuedConnection);
    });
    connect(m_tableView, &QTableWidget::itemDoubleClicked, this, [this](QTableWidgetItem* item) {
        if (item->flags() & Qt::ItemIsUserCheckable)
            return;
        if (m_selectItem)
            onEditName();
    });
    NotificationCenter::defaultCenter().addNotification(this, kConfigChangeNotification);
}

ListPage::~ListPage()
{
    NotificationCenter::defaultCenter().removeAllNotification(this);
}

void ListPage::handleSignal(const pallstone::Notification& notification)
{
    // A profile replaced everything; anything else only says the window came back to the front.
    if (notification.name == kConfigChangeNotification)
        refresh();
    else
        refreshIfChanged();
}

void ListPage::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        refreshIfChanged();
}

ListPage::BuiltFrom ListPage::currentInputs() const
{
    return {MenuStore::sharedDefaults().currentStamp(), outsideState()};
}

void ListPage::refreshIfChanged()
{
    // Rebuilding under a press would delete the row being clicked or dragged: the click would be
    // stored but drawn on a row that is gone. Wait for the release, then look again.
    if (QGuiApplication::mouseButtons() != Qt::NoButton || m_tableView->isDragging()) {
        if (!m_refreshPending) {
            m_refreshPending = true;
            qApp->installEventFilter(this);
        }
        return;
    }
    if (m_builtFrom && *m_builtFrom == currentInputs())
        return;
    refresh();
}

bool ListPage::eventFilter(QObject* watched, QEvent* event)
{
    if (m_emptyState && watched == m_tableView->viewport() && event->type() == QEvent::Resize)
        placeEmptyState();
    if (m_refreshPending &&
        (event->type() == QEvent::MouseButtonRelease || event->type() == QEvent::Drop)) {
        m_refreshPending = false;
        qApp->removeEventFilter(this);
        // After the release has done its work (a check box toggled, a row dropped).
        QTimer::singleShot(0, this, &ListPage::refreshIfChanged);
    }
    return QWidget::eventFilter(watched, event);
}

void ListPage::reloadTable()
{
    m_builtFrom = currentInputs();
    QStringList keys;
    keys.reserve(m_tableData.size());
    for (const MenuItemPtr& item : m_tableData)
        keys.append(item->key);
    if (keys == m_shownKeys && m_tableView->rowCount() == keys.size()) {
        // The same entries in the same order (a box ticked, a name changed): the cells are filled
        // again in place, so the selection, the scroll position and a press under way stay.
        const int selectedRow = m_selectItem ? int(keys.indexOf(m_selectItem->key)) : -1;
        m_filling = true;
        for (int row = 0; row < m_tableData.size(); ++row)
            fillRow(row, m_tableData.at(row));
        m_filling = false;
        if (selectedRow >= 0)
            m_selectItem = m_tableData.at(selectedRow);
        return;
    }
    // Entries came, went or moved: the rows are built anew, but the user keeps their place: the
    // same entry selected, the same part of the list in view.
    m_shownKeys = keys;
    const QString selectedKey = m_selectItem ? m_selectItem->key : QString();
    const int scrolled = m_tableView->verticalScrollBar()->value();
    m_filling = true;
    m_selectItem.reset();
    m_deleteButton->setEnabled(false);
    m_tableView->clearSelection();
    m_tableView->setRowCount(0);
    m_tableView->setRowCount(int(m_tableData.size()));
    int selectedRow = -1;
    for (int row = 0; row < m_tableData.size(); ++row) {
        fillRow(row, m_tableData.at(row));
        if (!selectedKey.isEmpty() && m_tableData.at(row)->key == selectedKey)
            selectedRow = row;
    }
    m_tableView->setCurrentItem(nullptr);
    m_filling = false;
    m_tableView->verticalScrollBar()->setValue(scrolled);
    if (selectedRow >= 0)
        selectRow(selectedRow);
    if (m_emptyState) {
        m_emptyState->setVisible(m_tableData.isEmpty());
        placeEmptyState();
    }
}

void ListPage::setEmptyState(const QString& text, const QString& buttonTitle,
                             std::function<void()> add)
{
    QWidget* viewport = m_tableView->viewport();
    m_emptyState = new QWidget(viewport);
    m_emptyState->setObjectName(QStringLiteral("emptyState"));
    auto* layout = new QVBoxLayout(m_emptyState);
    layout->setSpacing(12);
    auto* label = new QLabel(text, m_emptyState);
    label->setObjectName(QStringLiteral("emptyText"));
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    QPalette dim = label->palette();
    dim.setColor(QPalette::WindowText, dim.color(QPalette::PlaceholderText));
    label->setPalette(dim);
    QFont larger = label->font();
    larger.setPointSizeF(larger.pointSizeF() * 1.15);
    label->setFont(larger);
    auto* button =
        new QPushButton(MenuIcons::resource(QStringLiteral("add")), buttonTitle, m_emptyState);
    button->setObjectName(QStringLiteral("emptyAddButton"));
    connect(button, &QPushButton::clicked, this, [add = std::move(add)] { add(); });
    layout->addWidget(label);
    layout->addWidget(button, 0, Qt::AlignHCenter);
    viewport->installEventFilter(this);
    m_emptyState->setVisible(m_tableData.isEmpty());
    placeEmptyState();
}

void ListPage::placeEmptyState()
{
    const QRect area = m_tableView->viewport()->rect();
    const int width = qMin(area.width() - 40, 520);
    const int height = m_emptyState->heightForWidth(width) > 0 ? m_emptyState->heightForWidth(width)
                                                               : m_emptyState->sizeHint().height();
    m_emptyState->setGeometry(area.center().x() - width / 2, area.center().y() - height / 2, width,
                              height);
}

void ListPage::selectRow(int row)
{
    m_tableView->selectRow(row);
}

void ListPage::tableViewSelectionDidChange()
{
    const QModelIndexList rows = m_tableView->selectionModel()->selectedRows();
    const int row = rows.isEmpty() ? -1 : rows.first().row();
    if (row >= 0 && row < m_tableData.size()) {
        m_selectItem = m_tableData.at(row);
        m_deleteButton->setEnabled(true);
    } else {
        m_selectItem.reset();
        m_deleteButton->setEnabled(false);
    }
}

void ListPage::onCheckChanged(int /*row*/, int /*column*/, bool /*checked*/) {}

QTableWidgetItem* ListPage::titleCell(const QString& text, const QIcon& icon)
{
    auto* cell = new QTableWidgetItem(icon, text);
    cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled);
    cell->setToolTip(text);
    return cell;
}

QTableWidgetItem* ListPage::checkCell(bool checked, bool enabled, const QString& text)
{
    auto* cell = new QTableWidgetItem(text);
    Qt::ItemFlags flags = Qt::ItemIsUserCheckable | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
    if (enabled)
        flags |= Qt::ItemIsEnabled;
    cell->setFlags(flags);
    cell->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    return cell;
}

std::optional<QString> ListPage::askDisplayName(const QString& defaultText)
{
    NameRequest request;
    request.text = defaultText;
    return Prompter::instance()->askName(request);
}

void ListPage::scrollToLastRow()
{
    // scrollToBottom() lays the new row out first; scrolling to the item before that uses the old
    // height and leaves the row half under the edge.
    m_tableView->scrollToBottom();
}

void ListPage::onMoveRequested(int from, int to)
{
    MenuStore::changePositionMenuKey(listKey(), from, to);
    refresh();
}

void ListPage::onEditName()
{
    const MenuItemPtr item = m_selectItem;
    if (!item)
        return;
    const std::optional<QString> name = askDisplayName(item->menuTitle());
    if (!name)
        return;
    MenuStore::updateMenuKey(listKey(), item->key, QStringLiteral("displayName"), *name);
    refresh();
}

} // namespace pallstone
