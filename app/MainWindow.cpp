#include "MainWindow.h"

#include "MainMenuPage.h"
#include "NotificationCenter.h"

#include <QEvent>

namespace pallstone {

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("mainWindow"));
}

MainWindow::~MainWindow() = default;

void MainWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        NotificationCenter::defaultCenter().postNotification(MainMenuPage::kWindowDidBecomeKey,
                                                             this);
}

} // namespace pallstone
