#include "ColorSwatch.h"

#include <QPainter>

namespace pallstone {

ColorSwatch::ColorSwatch(const QColor& color, QWidget* parent)
    : QAbstractButton(parent), m_color(color)
{
    setFixedSize(kSize, kSize);
    setCursor(Qt::PointingHandCursor);
}

ColorSwatch::~ColorSwatch() = default;

void ColorSwatch::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(hasFocus() ? QPen(palette().color(QPalette::Highlight), 2) : Qt::NoPen);
    painter.setBrush(m_color);
    painter.drawEllipse(QRectF(rect()).adjusted(1, 1, -1, -1));
}

} // namespace pallstone
