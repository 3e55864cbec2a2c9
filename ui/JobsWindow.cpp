#include "JobsWindow.h"

#include "Localizer.h"
#include "ProgressWindow.h"

#include <QTimer>
#include <QVBoxLayout>

namespace pallstone {

JobsWindow::JobsWindow(QWidget* parent) : QWidget(parent, Qt::Dialog | Qt::WindowStaysOnTopHint)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("jobsWindow"));
    setWindowTitle(Localizer::displayName());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
}

ProgressWindow* JobsWindow::addRow()
{
    auto* row = new ProgressWindow(this);
    // A row of this window, not a window of its own.
    row->setWindowFlags(Qt::Widget);
    layout()->addWidget(row);
    connect(row, &QObject::destroyed, this, &JobsWindow::rowGone);
    show();
    raise();
    return row;
}

int JobsWindow::rowCount() const
{
    return int(findChildren<ProgressWindow*>(Qt::FindDirectChildrenOnly).size());
}

void JobsWindow::rowGone()
{
    // The row is still counted while it is being destroyed.
    QTimer::singleShot(0, this, [this] {
        if (rowCount() == 0)
            close();
        else
            adjustSize();
    });
}

} // namespace pallstone
