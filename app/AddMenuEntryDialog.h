#pragma once

#include "NotificationCenter.h"
#include "Value.h"

#include <QDialog>

class QLabel;
class QTableWidget;

namespace pallstone {

// Lists the entries of the default main menu that the person removed, each with a button that
// puts it back at the top of the menu.
class AddMenuEntryDialog final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AddMenuEntryDialog)

public:
    explicit AddMenuEntryDialog(QWidget* parent = nullptr);
    ~AddMenuEntryDialog() override;

    // The catalogue's main-menu entries, in catalogue order, whose key is not in the stored menu.
    static Value diffData();

    // Brings the window to the front with a fresh list.
    void open() override;
    void refresh();
    // Puts the row's entry back, switched on, at the top of the main menu.
    void addItem(int row);

    QTableWidget* tableView() const { return m_tableView; }
    const Value& tableData() const { return m_tableData; }

    Q_INVOKABLE void handleSignal(const pallstone::Notification& notification);

private:
    QTableWidget* m_tableView = nullptr;
    QLabel* m_allAdded = nullptr;
    Value m_tableData;
};

} // namespace pallstone
