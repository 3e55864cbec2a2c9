#include "WindowPlacement.h"

#include <QLayout>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace pallstone {

void WindowPlacement::overOwner(QWidget* window, const QWidget* owner)
{
    if (!window || !owner)
        return;
    const QWidget* top = owner->window();
    // The size it will show at: its layout may still make it larger than it was resized to.
    if (QLayout* layout = window->layout())
        layout->activate();
    QRect frame = window->frameGeometry();
    frame.moveCenter(top->frameGeometry().center());
    if (const QScreen* screen = top->screen()) {
        const QRect area = screen->availableGeometry();
        // The top left corner stays on screen when the window is larger than the screen.
        frame.moveLeft(std::max(area.left(), std::min(frame.left(), area.right() - frame.width())));
        frame.moveTop(std::max(area.top(), std::min(frame.top(), area.bottom() - frame.height())));
    }
    window->move(frame.topLeft());
}

} // namespace pallstone
