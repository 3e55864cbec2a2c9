#pragma once

#include <QMainWindow>

namespace pallstone {

// The settings window. Tells the editors when it becomes the active window, so they show what
// the extension or another window changed meanwhile.
class MainWindow final : public QMainWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MainWindow)

public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

protected:
    void changeEvent(QEvent* event) override;
};

} // namespace pallstone
