#include "GlyphModel.h"

namespace pallstone {

GlyphModel::GlyphModel(QObject* parent) : QAbstractListModel(parent) {}

GlyphModel::~GlyphModel() = default;

void GlyphModel::setFont(const IconFont& font)
{
    beginResetModel();
    m_font = font;
    endResetModel();
}

quint32 GlyphModel::glyphAt(int row) const
{
    return m_font.glyphs().value(row);
}

int GlyphModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_font.glyphs().size());
}

QVariant GlyphModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const quint32 glyph = glyphAt(index.row());
    switch (role) {
    case GlyphRole:
        return glyph;
    case Qt::ToolTipRole:
        return m_font.glyphName(glyph);
    default:
        return {};
    }
}

} // namespace pallstone
