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
// How far the window keeps from the pointer, so that the grab never sees it.
constexpr int kGap = 16;

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
    const QPoint position = QCursor::pos();
    follow(position);
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

QImage ScreenMagnifier::grabAround(const QPoint& globalPosition)
{
    QImage image(kGrabSize, kGrabSize, QImage::Format_RGB32);
    image.fill(Qt::black);
    const QRect wanted(globalPosition - QPoint(kHalf, kHalf), QSize(kGrabSize, kGrabSize));
    QPainter painter(&image);
    const QList<QScreen*> screens = QGuiApplication::screens();
    for (QScreen* screen : screens) {
        const QRect part = wanted & screen->geometry();
        if (part.isEmpty())
            continue;
        // Only the few pixels shown, not the whole screen, on every move.
        const QRect local = part.translated(-screen->geometry().topLeft());
        const QPixmap pixels =
            screen->grabWindow(0, local.x(), local.y(), local.width(), local.height());
        painter.drawPixmap(QRect(part.topLeft() - wanted.topLeft(), part.size()), pixels);
    }
    return image;
}

void ScreenMagnifier::follow(const QPoint& globalPosition)
{
    m_capture = grabAround(globalPosition);
    // Below and to the right of the pointer, flipped where that would leave the screen.
    QPoint origin = globalPosition + QPoint(kGap, kGap);
    if (const QScreen* screen = QGuiApplication::screenAt(globalPosition)) {
        const QRect area = screen->geometry();
        if (origin.x() + kSize > area.right())
            origin.setX(globalPosition.x() - kGap - kSize);
        if (origin.y() + kSize > area.bottom())
            origin.setY(globalPosition.y() - kGap - kSize);
    }
    move(origin);
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
    // Grabbed again at the click itself: the last move may be a few pixels behind.
    const QImage pixels = grabAround(event->globalPosition().toPoint());
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
