#pragma once

#include "DesktopApplications.h"

#include <QDialog>

#include <optional>

class QLineEdit;
class QListWidget;

namespace pallstone {

// Lets a person pick one of the installed applications, searchable by name, or a .desktop file.
class AppChooserDialog final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AppChooserDialog)

public:
    explicit AppChooserDialog(QWidget* parent = nullptr);
    ~AppChooserDialog() override;

    // Shows the window; the chosen application, or nothing when cancelled.
    static std::optional<DesktopApplications::Entry> choose(QWidget* parent);

    std::optional<DesktopApplications::Entry> chosen() const { return m_chosen; }

private:
    void filter(const QString& text);
    void chooseFile();
    void acceptCurrent();

    QList<DesktopApplications::Entry> m_entries;
    std::optional<DesktopApplications::Entry> m_chosen;
    QLineEdit* m_search = nullptr;
    QListWidget* m_list = nullptr;
};

} // namespace pallstone
