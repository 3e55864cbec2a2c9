#pragma once

#include <QColor>
#include <QStyledItemDelegate>

namespace pallstone {

class GlyphModel;

// Draws one cell of the symbol grid: the glyph in the symbol colour, on the window colour when
// the cell is chosen.
class GlyphDelegate final : public QStyledItemDelegate
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GlyphDelegate)

public:
    GlyphDelegate(const GlyphModel* model, QObject* parent = nullptr);
    ~GlyphDelegate() override;

    static constexpr int kCellSize = 40;

    void setColor(const QColor& color) { m_color = color; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    const GlyphModel* m_model;
    QColor m_color = Qt::darkGray;
};

} // namespace pallstone
