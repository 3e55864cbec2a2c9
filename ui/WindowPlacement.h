#pragma once

class QWidget;

namespace pallstone {

// Where a window of ours opens: over the window it belongs to, wholly on that window's screen.
// Without a window manager (a plain X session) nobody else places it.
class WindowPlacement final
{
public:
    // Centres the window over the owner's window, then moves it inside the owner's screen.
    static void overOwner(QWidget* window, const QWidget* owner);

private:
    WindowPlacement() = delete;
};

} // namespace pallstone
