#pragma once

#include "TQTableViewCtl.h"

#include "TQAddFileWinCtl.h"

#include <QPointer>

class QCheckBox;

namespace pallstone {

// The "New File" tab: the kinds the "New File" submenu offers, switched on and off, reordered,
// renamed, placed directly into the main menu, deleted, defined anew, or restored to the default.
class TQNewFileViewCtl final : public TQTableViewCtl
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TQNewFileViewCtl)

public:
    explicit TQNewFileViewCtl(QWidget* parent = nullptr);
    ~TQNewFileViewCtl() override;

    QString listKey() const override;
    void refresh() override;

    enum Column
    {
        NameColumn,
        ExtColumn,
        AddToMainMenuColumn,
        EnableColumn
    };

    // More kinds than this and the submenu grows unusable.
    static constexpr int kLimit = 60;

    void onAdd();
    void onDelete();
    void onRecover();
    // Appends the finished kind of the definition window.
    void addKind(const TQMenuItemPtr& item);

    TQAddFileWinCtl* addFileWinCtl() const { return m_addFileWinCtl; }
    QCheckBox* openFileChecked() const { return m_openFileChecked; }

protected:
    void fillRow(int row, const TQMenuItemPtr& item) override;
    void tableViewSelectionDidChange() override;
    void onCheckChanged(int row, int column, bool checked) override;

private:
    QCheckBox* m_openFileChecked = nullptr;
    QPointer<TQAddFileWinCtl> m_addFileWinCtl;
};

} // namespace pallstone
