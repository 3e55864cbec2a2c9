#pragma once

#include <QDialog>

namespace pallstone {

// The application's About window: its icon, name and version, what it does, its home page as a
// link (opened through the launcher, like every address the application opens) and its licence.
class AboutDialog final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AboutDialog)

public:
    explicit AboutDialog(QWidget* parent = nullptr);
    ~AboutDialog() override;
};

} // namespace pallstone
