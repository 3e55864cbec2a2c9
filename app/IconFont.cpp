#include "IconFont.h"

#include <QFile>
#include <QPainter>

#include <ft2build.h>
#include FT_FREETYPE_H

#include <memory>

namespace pallstone {

namespace {

// Symbol fonts are a few hundred kilobytes; a file far beyond any font is not read into memory.
constexpr qint64 kMaxFontBytes = 64 * 1024 * 1024;
// The size at which glyphs are tested for drawing anything.
constexpr qreal kProbePixelSize = 12;

// One FreeType face over font data that outlives it.
class Face final
{
public:
    explicit Face(const QByteArray& data)
    {
        if (FT_Init_FreeType(&m_library) != 0) {
            m_library = nullptr;
            return;
        }
        if (FT_New_Memory_Face(m_library, reinterpret_cast<const FT_Byte*>(data.constData()),
                               FT_Long(data.size()), 0, &m_face) != 0)
            m_face = nullptr;
    }
    ~Face()
    {
        if (m_face)
            FT_Done_Face(m_face);
        if (m_library)
            FT_Done_FreeType(m_library);
    }
    Q_DISABLE_COPY_MOVE(Face)

    FT_Face face() const { return m_face; }

private:
    FT_Library m_library = nullptr;
    FT_Face m_face = nullptr;
};

} // namespace

IconFont::IconFont() = default;
IconFont::~IconFont() = default;
IconFont::IconFont(const IconFont&) = default;
IconFont& IconFont::operator=(const IconFont&) = default;

IconFont IconFont::load(const QString& path)
{
    IconFont font;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxFontBytes)
        return font;
    const QByteArray data = file.readAll();
    if (data.isEmpty())
        return font;
    qint64 count = 0;
    {
        const Face face(data);
        if (!face.face())
            return font;
        count = face.face()->num_glyphs;
    }
    QRawFont raw(data, kProbePixelSize);
    if (!raw.isValid())
        return font;
    font.m_path = path;
    font.m_data = data;
    font.m_raw = raw;
    for (qint64 glyph = count - 1; glyph >= 0; --glyph) {
        if (!raw.pathForGlyph(quint32(glyph)).boundingRect().isEmpty())
            font.m_glyphs.append(quint32(glyph));
    }
    return font;
}

QPainterPath IconFont::outline(quint32 glyph, qreal pixelSize) const
{
    if (!isValid())
        return {};
    QRawFont sized = m_raw;
    sized.setPixelSize(pixelSize);
    QPainterPath path = sized.pathForGlyph(glyph);
    const QRectF bounds = path.boundingRect();
    path.translate(-bounds.topLeft());
    return path;
}

void IconFont::paint(QPainter& painter, const QRectF& rect, quint32 glyph,
                     const QColor& color) const
{
    const qreal side = std::min(rect.width(), rect.height());
    const QPainterPath path = outline(glyph, side);
    const QRectF bounds = path.boundingRect();
    if (bounds.isEmpty())
        return;
    const qreal scale = std::min({1.0, side / bounds.width(), side / bounds.height()});
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(rect.center().x() - bounds.width() * scale / 2,
                      rect.center().y() - bounds.height() * scale / 2);
    painter.scale(scale, scale);
    painter.fillPath(path, color);
    painter.restore();
}

QImage IconFont::render(quint32 glyph, const QColor& color, int size) const
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    paint(painter, QRectF(0, 0, size, size), glyph, color);
    return image;
}

QString IconFont::glyphName(quint32 glyph) const
{
    if (!isValid())
        return {};
    const Face face(m_data);
    if (!face.face() || !FT_HAS_GLYPH_NAMES(face.face()))
        return {};
    char name[128] = {};
    if (FT_Get_Glyph_Name(face.face(), glyph, name, sizeof name) != 0)
        return {};
    return QString::fromLatin1(name);
}

} // namespace pallstone
