#include "IconFont.h"

#include <QFile>
#include <QPainter>
#include <QRegularExpression>

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <functional>
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

// "uniF2DC", "u1F600", "glyph123": names a font tool made up from a number.
bool isCodePointName(const QString& name)
{
    static const QRegularExpression pattern(
        QStringLiteral("^(uni[0-9A-Fa-f]{4,}|u[0-9A-Fa-f]{4,6}|glyph[0-9]+)$"));
    return pattern.match(name).hasMatch();
}

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
    // Only glyphs a character reaches (the others are the missing-glyph box and its kin), and
    // only those whose name says more than the code point ("uniF2DC" tells a person nothing).
    QList<quint32> candidates;
    {
        const Face face(data);
        if (!face.face())
            return font;
        const bool named = FT_HAS_GLYPH_NAMES(face.face());
        FT_UInt glyph = 0;
        FT_ULong character = FT_Get_First_Char(face.face(), &glyph);
        while (glyph != 0) {
            char name[128] = {};
            if (!named || (FT_Get_Glyph_Name(face.face(), glyph, name, sizeof name) == 0 &&
                           !isCodePointName(QString::fromLatin1(name))))
                candidates.append(glyph);
            character = FT_Get_Next_Char(face.face(), character, &glyph);
        }
    }
    QRawFont raw(data, kProbePixelSize);
    if (!raw.isValid())
        return font;
    font.m_path = path;
    font.m_data = data;
    font.m_raw = raw;
    std::sort(candidates.begin(), candidates.end(), std::greater<>());
    candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
    for (quint32 glyph : std::as_const(candidates)) {
        if (!raw.pathForGlyph(glyph).boundingRect().isEmpty())
            font.m_glyphs.append(glyph);
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
