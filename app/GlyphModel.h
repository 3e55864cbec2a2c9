#pragma once

#include "IconFont.h"

#include <QAbstractListModel>

namespace pallstone {

// The designer's symbol grid as a list model: one row per drawable glyph of the font. Rows carry
// only the glyph number; cells are drawn by GlyphDelegate when they come into view, so a font
// of thousands of glyphs costs no more than the cells on the screen.
class GlyphModel final : public QAbstractListModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GlyphModel)

public:
    enum Role
    {
        GlyphRole = Qt::UserRole + 1
    };

    explicit GlyphModel(QObject* parent = nullptr);
    ~GlyphModel() override;

    void setFont(const IconFont& font);
    const IconFont& font() const { return m_font; }
    quint32 glyphAt(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    IconFont m_font;
};

} // namespace pallstone
