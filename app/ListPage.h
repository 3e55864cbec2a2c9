#pragma once

#include "Defaults.h"
#include "MenuItem.h"
#include "NotificationCenter.h"

#include <QWidget>

#include <functional>
#include <optional>
#include <utility>

class QPushButton;
class QTableWidgetItem;

namespace pallstone {

class ReorderTable;

// What the list editors of the settings window share: a table of one stored list whose rows are
// reordered by dragging, renamed by double click, switched on and off by a check box, and removed
// or restored with the buttons below. Every change goes straight to the shared store through the
// menu manager's locked read-modify-write, so an edit never undoes what the extension wrote
// meanwhile; the table then shows the store again: cells refilled in place while the entries stay
// the same, rows built anew only when entries came, went or moved.
class ListPage : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ListPage)

public:
    ~ListPage() override;

    // The stored list the table shows.
    virtual QString listKey() const = 0;
    // Reloads the list from the store and rebuilds the table, keeping the selected entry (when it
    // is still there) and the scroll position.
    virtual void refresh() = 0;
    // Refreshes when the store (or outsideState()) changed since the table was built, and never
    // while a mouse button is down or a drag runs: then once it is released.
    void refreshIfChanged();

    ReorderTable* tableView() const { return m_tableView; }
    QPushButton* deleteButton() const { return m_deleteButton; }
    const MenuItemList& tableData() const { return m_tableData; }
    MenuItemPtr selectItem() const { return m_selectItem; }

    // Renames the selected entry in this editor's list; an empty name gives it its own title back.
    virtual void onEditName();

    // Selects a row as a click would (for the keyboard and tests).
    void selectRow(int row);

    // The in-process notification that a whole configuration was replaced (a profile applied).
    static const QString kConfigChangeNotification;

    Q_INVOKABLE void handleSignal(const pallstone::Notification& notification);

protected:
    explicit ListPage(QWidget* parent = nullptr);

    // Rebuilds the rows from m_tableData; fillRow() fills each.
    void reloadTable();
    virtual void fillRow(int row, const MenuItemPtr& item) = 0;
    virtual void tableViewSelectionDidChange();
    // A check box cell changed (not while the table is being filled).
    virtual void onCheckChanged(int row, int column, bool checked);

    // Cells.
    static QTableWidgetItem* titleCell(const QString& text, const QIcon& icon = {});
    static QTableWidgetItem* checkCell(bool checked, bool enabled, const QString& text = {});

    // The naming window with the text to start from; nothing when cancelled.
    std::optional<QString> askDisplayName(const QString& defaultText);

    // What the rows show besides the store (the main menu: whether the extension is on).
    virtual QString outsideState() const { return {}; }

    // What an empty table says instead of nothing: what the list is for and a button that adds
    // the first entry.
    void setEmptyState(const QString& text, const QString& buttonTitle, std::function<void()> add);

    void scrollToLastRow();
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    MenuItemList m_tableData;
    MenuItemPtr m_selectItem;
    ReorderTable* m_tableView = nullptr;
    QPushButton* m_deleteButton = nullptr;
    QPushButton* m_recoverBtn = nullptr;

private:
    using BuiltFrom = std::pair<Defaults::Stamp, QString>;
    BuiltFrom currentInputs() const;
    void onMoveRequested(int from, int to);

    void placeEmptyState();

    QWidget* m_emptyState = nullptr;
    bool m_filling = false;
    bool m_refreshPending = false;
    QStringList m_shownKeys; // the entries the rows show, in order
    std::optional<BuiltFrom> m_builtFrom;
};

} // namespace pallstone
