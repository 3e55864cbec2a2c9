#pragma once

#include <QAbstractItemView>
#include <QTableWidget>

#include <optional>

namespace pallstone {

// The editors' table: rows are reordered by dragging one into the gap between two others. The
// drag carries the row index as plain text; a drop is taken only from this same table, only into
// a gap (never onto a row) and only with an index that names one of its rows, so text dragged in
// from another program can never move an entry.
class ReorderTable final : public QTableWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ReorderTable)

public:
    explicit ReorderTable(QWidget* parent = nullptr);
    ~ReorderTable() override;

    // Where the pointer is: the gap above or below a row, on a row, or below every row.
    enum class DropPlace
    {
        AboveRow,
        BelowRow,
        OnRow,
        BelowAll
    };

    struct Move
    {
        int from = -1;
        int to = -1; // the gap: the row the entry goes before (rowCount() for the end)
    };

    // What a drop would do; nothing when it is refused. row is the row under the pointer (-1 on
    // the empty area below the rows).
    std::optional<Move> dropMove(const QMimeData* data, const QObject* source, int row,
                                 DropPlace place) const;

    // A row is being dragged, or a selection swept: rebuilding the rows now would break it off.
    bool isDragging() const { return state() == DraggingState || state() == DragSelectingState; }

    // Where a drop at this viewport position would land.
    DropPlace dropPlaceAt(const QPoint& position) const;

    // Columns that hold a check box only: the header is centred over the boxes, which the
    // delegate centres in their cells; every other header starts where its text does.
    void setCheckColumns(const QList<int>& columns);

    // Carries out a drop as a drag would; true when the move was requested.
    bool performDrop(const QMimeData* data, const QObject* source, int row, DropPlace place);

Q_SIGNALS:
    // The list operation's arguments: remove at from, insert at to (less one when from < to).
    void moveRequested(int from, int to);

protected:
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QList<QTableWidgetItem*>& items) const override;
    Qt::DropActions supportedDropActions() const override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};

} // namespace pallstone
