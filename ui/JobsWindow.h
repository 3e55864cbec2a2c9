#pragma once

#include <QWidget>

namespace pallstone {

class ProgressWindow;

// The one window of every running job: each job's bar, percentage and Cancel button in a row of
// its own, so that two conversions at once do not open windows that cover each other. A job's row
// goes when the job closes it; the window goes with its last row.
class JobsWindow final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(JobsWindow)

public:
    explicit JobsWindow(QWidget* parent = nullptr);

    // A new row, shown with the window; it deletes itself when closed.
    ProgressWindow* addRow();
    int rowCount() const;

private:
    void rowGone();
};

} // namespace pallstone
