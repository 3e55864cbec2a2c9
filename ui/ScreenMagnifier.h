#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QWidget>

namespace pallstone {

// The round window that shows the screen around the pointer enlarged about seven times, with a
// marker on the pixel under the pointer. A left click picks that pixel, Escape gives up.
//
// Without a compositor an X11 screen grab sees our own window wherever it covers the screen, so
// the screens are grabbed once, before the window shows, and the window, centred on the pointer,
// shows that picture. It holds the pointer and keyboard grabs so that the click and the Escape
// come here wherever the pointer is.
class ScreenMagnifier final : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kSize = 80;
    static constexpr int kZoom = 7;
    // Pixels grabbed on each side of the pointer: 5, so 11 × 11 in all (80 / 7, the centre on the
    // pointer's pixel).
    static constexpr int kHalf = kSize / kZoom / 2;
    static inline const QColor kMarkerColor{233, 87, 71};

    explicit ScreenMagnifier(QWidget* parent = nullptr);
    ~ScreenMagnifier() override;
    Q_DISABLE_COPY_MOVE(ScreenMagnifier)

    // Grabs the screens, shows the window on the pointer and takes the pointer grabs.
    void start();

    // The pixels around a point of the screens as grabbed at the start (global coordinates), the
    // point at the centre; what lies off every screen is black.
    QImage pixelsAround(const QPoint& globalPosition) const;
    // Where the window goes for a pointer position: centred on it.
    static QPoint windowOrigin(const QPoint& globalPosition);

Q_SIGNALS:
    void picked(const QColor& color);
    void cancelled();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void follow(const QPoint& globalPosition);
    void takeGrabs(int attemptsLeft);
    void end();

    struct ScreenPicture
    {
        QRect geometry;
        QImage pixels;
    };
    QList<ScreenPicture> m_screens;
    QImage m_capture;
    bool m_ended = false;
};

} // namespace pallstone
