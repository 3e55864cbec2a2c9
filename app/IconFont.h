#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QList>
#include <QPainterPath>
#include <QRawFont>
#include <QString>

namespace pallstone {

// A symbol font for the folder icon designer: the glyphs that draw something, their outlines
// (QRawFont) and their PostScript names (FreeType, which QRawFont does not expose).
class IconFont final
{
public:
    IconFont();
    ~IconFont();
    IconFont(const IconFont&);
    IconFont& operator=(const IconFont&);

    // The font in the file, or an invalid font when the file is missing, too large or not a font
    // Qt and FreeType can both read.
    static IconFont load(const QString& path);

    bool isValid() const { return m_raw.isValid(); }
    QString path() const { return m_path; }
    // Glyph numbers a character reaches, whose outline is not empty and whose name says more
    // than a code point, highest first.
    const QList<quint32>& glyphs() const { return m_glyphs; }

    // The outline at the given pixel size, moved so that its bounds start at the origin.
    QPainterPath outline(quint32 glyph, qreal pixelSize) const;
    // The glyph filled with the colour, centred in a transparent square of the given side and
    // shrunk only where it is wider or taller than the square.
    QImage render(quint32 glyph, const QColor& color, int size) const;
    // Paints the glyph as render() does, into the rectangle.
    void paint(QPainter& painter, const QRectF& rect, quint32 glyph, const QColor& color) const;
    // The name the font gives the glyph ("heart"); empty when it has none.
    QString glyphName(quint32 glyph) const;

private:
    QString m_path;
    QByteArray m_data;
    QRawFont m_raw;
    QList<quint32> m_glyphs;
};

} // namespace pallstone
