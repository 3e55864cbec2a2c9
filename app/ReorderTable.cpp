#include "ReorderTable.h"

#include "TableRowDelegate.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QMimeData>

#include <algorithm>

namespace pallstone {

ReorderTable::ReorderTable(QWidget* parent) : QTableWidget(parent)
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragEnabled(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
    setDropIndicatorShown(true);
    setDragDropOverwriteMode(false);
    setAlternatingRowColors(true);
    setShowGrid(false);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(30);
    setIconSize(QSize(18, 18));
    setItemDelegate(new TableRowDelegate(this));
    // A selected row would otherwise turn every header bold, and back, with each click.
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void ReorderTable::setCheckColumns(const QList<int>& columns)
{
    QHeaderView* header = horizontalHeader();
    const QFontMetrics metrics(header->font());
    for (int column = 0; column < columnCount(); ++column) {
        QTableWidgetItem* item = horizontalHeaderItem(column);
        if (!item)
            continue;
        const bool check = columns.contains(column);
        item->setTextAlignment(check ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
        if (check) {
            // Room around the title, so that neighbouring headers do not run into each other.
            header->setSectionResizeMode(column, QHeaderView::Fixed);
            header->resizeSection(column,
                                  std::max(88, metrics.horizontalAdvance(item->text()) + 36));
        }
    }
}

ReorderTable::~ReorderTable() = default;

QStringList ReorderTable::mimeTypes() const
{
    return {QStringLiteral("text/plain")};
}

QMimeData* ReorderTable::mimeData(const QList<QTableWidgetItem*>& items) const
{
    if (items.isEmpty())
        return nullptr;
    auto* data = new QMimeData;
    data->setText(QString::number(items.first()->row()));
    return data;
}

Qt::DropActions ReorderTable::supportedDropActions() const
{
    return Qt::MoveAction;
}

ReorderTable::DropPlace ReorderTable::dropPlaceAt(const QPoint& position) const
{
    const int row = rowAt(position.y());
    if (row < 0)
        return DropPlace::BelowAll;
    // Only the edges of a row are gaps. Qt would split a row whose cells take no drops into two
    // halves, so that a drop on the middle of an entry moved the dragged one next to it.
    const int top = rowViewportPosition(row);
    const int height = rowHeight(row);
    const int edge = std::max(4, height / 4);
    if (position.y() < top + edge)
        return DropPlace::AboveRow;
    if (position.y() >= top + height - edge)
        return DropPlace::BelowRow;
    return DropPlace::OnRow;
}

std::optional<ReorderTable::Move>
ReorderTable::dropMove(const QMimeData* data, const QObject* source, int row, DropPlace place) const
{
    if (!data || source != this || !data->hasText())
        return std::nullopt;
    bool ok = false;
    const int from = data->text().trimmed().toInt(&ok);
    if (!ok || from < 0 || from >= rowCount())
        return std::nullopt;
    int to = -1;
    switch (place) {
    case DropPlace::AboveRow:
        to = row;
        break;
    case DropPlace::BelowRow:
        to = row + 1;
        break;
    case DropPlace::BelowAll:
        to = rowCount();
        break;
    case DropPlace::OnRow:
        return std::nullopt;
    }
    if (to < 0 || to > rowCount())
        return std::nullopt;
    return Move{from, to};
}

bool ReorderTable::performDrop(const QMimeData* data, const QObject* source, int row,
                               DropPlace place)
{
    const std::optional<Move> move = dropMove(data, source, row, place);
    if (!move)
        return false;
    Q_EMIT moveRequested(move->from, move->to);
    return true;
}

void ReorderTable::startDrag(Qt::DropActions /*supportedActions*/)
{
    // Our own drag: the base class would remove the dragged row after a move, but the rows are
    // rebuilt from the store once the move is made there.
    const QList<QTableWidgetItem*> items = selectedItems();
    QMimeData* data = mimeData(items);
    if (!data)
        return;
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    drag->exec(Qt::MoveAction);
}

void ReorderTable::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->source() != this) {
        event->ignore();
        return;
    }
    QTableWidget::dragEnterEvent(event);
}

void ReorderTable::dragMoveEvent(QDragMoveEvent* event)
{
    const QPoint position = event->position().toPoint();
    const bool taken =
        dropMove(event->mimeData(), event->source(), rowAt(position.y()), dropPlaceAt(position))
            .has_value();
    // The gap line only where a drop is taken.
    setDropIndicatorShown(taken);
    QTableWidget::dragMoveEvent(event); // places the drop indicator
    if (!taken) {
        event->ignore();
        viewport()->update();
        return;
    }
    event->setDropAction(Qt::MoveAction);
    event->accept();
}

void ReorderTable::dropEvent(QDropEvent* event)
{
    const QPoint position = event->position().toPoint();
    // The store is the list's owner: the rows are rebuilt from it, never moved here.
    if (performDrop(event->mimeData(), event->source(), rowAt(position.y()),
                    dropPlaceAt(position))) {
        event->setDropAction(Qt::MoveAction);
        event->accept();
    } else {
        event->ignore();
    }
    stopAutoScroll();
    setState(QAbstractItemView::NoState);
    viewport()->update();
}

} // namespace pallstone
