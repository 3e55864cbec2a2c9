#pragma once

#include <QDialog>

class QGridLayout;

namespace pallstone {

// The window that stands in for the desktop's extension settings: every supported file manager,
// whether it is installed, whether our bridge is installed for it, a switch each, and a button
// that restarts it so it loads the bridge.
class ExtensionManagementWindow final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ExtensionManagementWindow)

public:
    explicit ExtensionManagementWindow(QWidget* parent = nullptr);
    ~ExtensionManagementWindow() override;

    // Looks at the system again and rebuilds the rows.
    void refresh();

Q_SIGNALS:
    void switchesChanged();

private:
    QGridLayout* m_grid = nullptr;
    QWidget* m_rows = nullptr;
};

} // namespace pallstone
