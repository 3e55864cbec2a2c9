#include "GlyphDelegate.h"

#include "GlyphModel.h"

#include <QPainter>

namespace pallstone {

namespace {

constexpr qreal kGlyphMargin = 8;

} // namespace

GlyphDelegate::GlyphDelegate(const GlyphModel* model, QObject* parent)
    : QStyledItemDelegate(parent), m_model(model)
{}

GlyphDelegate::~GlyphDelegate() = default;

void GlyphDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const
{
    const QRectF cell = QRectF(option.rect).adjusted(1, 1, -1, -1);
    if (option.state & (QStyle::State_Selected | QStyle::State_MouseOver)) {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(Qt::NoPen);
        QColor fill = option.palette.color(QPalette::Highlight);
        fill.setAlphaF(option.state & QStyle::State_Selected ? 0.35 : 0.12);
        painter->setBrush(fill);
        painter->drawRoundedRect(cell, 6, 6);
        painter->restore();
    }
    const quint32 glyph = index.data(GlyphModel::GlyphRole).toUInt();
    m_model->font().paint(*painter,
                          cell.adjusted(kGlyphMargin, kGlyphMargin, -kGlyphMargin, -kGlyphMargin),
                          glyph, m_color);
}

QSize GlyphDelegate::sizeHint(const QStyleOptionViewItem& /*option*/,
                              const QModelIndex& /*index*/) const
{
    return {kCellSize, kCellSize};
}

} // namespace pallstone
