#pragma once

#include <QHash>
#include <QStyledItemDelegate>

namespace pallstone {

// How the editors' tables draw a cell. A check box alone in its cell sits in the middle, under its
// centred header, and takes clicks there. A selected row is one band from edge to edge, also
// across cells that are switched off, and the monochrome symbols on it take the highlight's text
// colour so they stay visible; pictures (applications' icons, folder pictures) are left as they
// are.
class TableRowDelegate final : public QStyledItemDelegate
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TableRowDelegate)

public:
    explicit TableRowDelegate(QObject* parent = nullptr);
    ~TableRowDelegate() override;

    // Where the check box of a cell without text is drawn.
    static QRect centredCheckRect(const QStyleOptionViewItem& option);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    static bool isCheckOnly(const QModelIndex& index);
    bool isSymbol(const QIcon& icon, const QSize& size) const;

    mutable QHash<qint64, bool> m_symbols;
};

} // namespace pallstone
