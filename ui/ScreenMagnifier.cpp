#include "ScreenMagnifier.h"

#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QTimer>
#include <QWindow>

namespace pallstone {

namespace {

constexpr int kGrabSize = 2 * ScreenMagnifier::kHalf + 1;

} // namespace

ScreenMagnifier::ScreenMagnifier(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                          Qt::X11BypassWindowManagerHint | Qt::WindowDoesNotAcceptFocus)
{
    setObjectName(QStringLiteral("screenMagnifier"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(kSize, kSize);
    setMouseTracking(true);
    // A shaped window is round without a compositor.
    setMask(QRegion(rect(), QRegion::Ellipse));
}

ScreenMagnifier::~ScreenMagnifier()
{
    end();
}

void ScreenMagnifier::start()
{
    m_screens.clear();
    const QList<QScreen*> screens = QGuiApplication::screens();
    for (QScreen* screen : screens) {
        const QRect geometry = screen->geometry();
        QImage pixels = screen->grabWindow(0, 0, 0, geometry.width(), geometry.height()).toImage();
        // One image pixel per screen coordinate, whatever the scale.
        if (pixels.size() != geometry.size())
            pixels = pixels.scaled(geometry.size());
        m_screens.append({geometry, pixels});
    }
    follow(QCursor::pos());
    show();
    raise();
    takeGrabs(20);
}

void ScreenMagnifier::takeGrabs(int attemptsLeft)
{
    if (m_ended)
        return;
    // X11 refuses the grabs until the server has mapped the window, which happens a little after
    // show().
    QWindow* window = windowHandle();
    const bool grabbed =
        window && window->setMouseGrabEnabled(true) && window->setKeyboardGrabEnabled(true);
    if (grabbed) {
        // The widget grabs too, so that Qt hands the events to this widget wherever they occur.
        grabMouse(Qt::CrossCursor);
        grabKeyboard();
        return;
    }
    if (attemptsLeft <= 0) {
        // Another program holds the pointer: without the grabs no click or Escape would reach
        // this window, and the person could not get out of it.
        qWarning("pallstone: the magnifier cannot take the pointer and keyboard grabs");
        end();
        Q_EMIT cancelled();
        return;
    }
    if (window)
        window->setMouseGrabEnabled(false);
    QTimer::singleShot(50, this, [this, attemptsLeft] { takeGrabs(attemptsLeft - 1); });
}

QImage ScreenMagnifier::pixelsAround(const QPoint& globalPosition) const
{
    QImage image(kGrabSize, kGrabSize, QImage::Format_RGB32);
    image.fill(Qt::black);
    const QRect wanted(globalPosition - QPoint(kHalf, kHalf), QSize(kGrabSize, kGrabSize));
    QPainter painter(&image);
    for (const ScreenPicture& screen : m_screens) {
        const QRect part = wanted & screen.geometry;
        if (part.isEmpty())
            continue;
        painter.drawImage(part.topLeft() - wanted.topLeft(), screen.pixels,
                          part.translated(-screen.geometry.topLeft()));
    }
    return image;
}

QPoint ScreenMagnifier::windowOrigin(const QPoint& globalPosition)
{
    // The marker's pixel, the window's centre, is the one under the pointer.
    return globalPosition - QPoint(kSize / 2, kSize / 2);
}

void ScreenMagnifier::follow(const QPoint& globalPosition)
{
    m_capture = pixelsAround(globalPosition);
    move(windowOrigin(globalPosition));
    update();
}

void ScreenMagnifier::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRectF bounds = rect();
    QPainterPath circle;
    circle.addEllipse(bounds);
    painter.setClipPath(circle);
    painter.fillRect(bounds, Qt::black);
    // Whole pixels, enlarged without smoothing, so the pixel under the marker is the one picked.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    if (!m_capture.isNull())
        painter.drawImage(bounds, m_capture);

    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(kMarkerColor, 1));
    painter.setBrush(Qt::NoBrush);
    const QPointF centre = bounds.center();
    painter.drawRect(QRectF(centre - QPointF(3, 3), QSizeF(6, 6)));

    painter.setClipping(false);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(kMarkerColor, 2));
    painter.drawEllipse(bounds.adjusted(1, 1, -1, -1));
}

void ScreenMagnifier::mouseMoveEvent(QMouseEvent* event)
{
    follow(event->globalPosition().toPoint());
}

void ScreenMagnifier::mousePressEvent(QMouseEvent* event)
{
    if (m_ended || event->button() != Qt::LeftButton)
        return;
    // Read at the click itself: the last move may be a few pixels behind.
    const QImage pixels = pixelsAround(event->globalPosition().toPoint());
    end();
    Q_EMIT picked(pixels.pixelColor(kHalf, kHalf));
}

void ScreenMagnifier::keyPressEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Escape || m_ended)
        return;
    end();
    Q_EMIT cancelled();
}

void ScreenMagnifier::closeEvent(QCloseEvent* event)
{
    const bool wasRunning = !m_ended;
    end();
    event->accept();
    if (wasRunning)
        Q_EMIT cancelled();
}

void ScreenMagnifier::end()
{
    if (m_ended)
        return;
    m_ended = true;
    releaseKeyboard();
    releaseMouse();
    if (QWindow* window = windowHandle()) {
        window->setKeyboardGrabEnabled(false);
        window->setMouseGrabEnabled(false);
    }
    hide();
}

} // namespace pallstone
