#pragma once

#include "NotificationCenter.h"
#include "ProfileManager.h"

#include <QWidget>

#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace pallstone {

// The "Config Manager" window: the saved configuration profiles with their dates, the current
// one marked, and the buttons that save, switch, export, import and delete them; a double click
// renames. Saves and switches run on a worker while the window stays usable; another one asked
// for meanwhile is refused, not queued.
class ConfigManagerWindow final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ConfigManagerWindow)

public:
    explicit ConfigManagerWindow(QWidget* parent = nullptr);
    ~ConfigManagerWindow() override;

    // What follows the name of the current profile.
    static const QString kCurrentMark;

    // Reloads the list from the profile folder; the selection is cleared.
    void refresh();
    void selectRow(int row);

    void onSaveCurrentConfig();
    void onSetup();
    void onEdit();
    void onDelete();
    void onExportConfig();
    void onImportConfig();

    // A save or a switch is running.
    bool isWorking() const { return m_working; }

    QTableWidget* tableView() const { return m_tableView; }
    QPushButton* deleteButton() const { return m_deleteButton; }
    QProgressBar* indicator() const { return m_indicator; }
    const QList<ProfileManager::Profile>& tableData() const { return m_tableData; }

    Q_INVOKABLE void handleSignal(const pallstone::Notification& notification);

protected:
    void showEvent(QShowEvent* event) override;

private:
    using Work = std::function<ProfileManager::Outcome()>;
    // Runs the work on a worker; the outcome comes back on the main thread, to finished (also
    // when the window is gone) and then to the person. Refused with a tip while a job runs.
    void startJob(Work work, std::function<void(const ProfileManager::Outcome&)> finished);
    void showOutcome(const ProfileManager::Outcome& outcome);
    void tableViewSelectionDidChange();
    void setWorking(bool working);

    QTableWidget* m_tableView = nullptr;
    QPushButton* m_deleteButton = nullptr;
    QPushButton* m_setupButton = nullptr;
    QPushButton* m_exportButton = nullptr;
    QPushButton* m_importButton = nullptr;
    QPushButton* m_saveCurConfigButton = nullptr;
    QProgressBar* m_indicator = nullptr;
    QList<ProfileManager::Profile> m_tableData;
    int m_selectItem = -1; // row in m_tableData, -1 for none
    bool m_working = false;
};

} // namespace pallstone
