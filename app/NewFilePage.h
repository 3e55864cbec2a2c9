#pragma once

#include "ListPage.h"

#include "TemplateDialog.h"

#include <QPointer>

class QCheckBox;

namespace pallstone {

// The "New File" tab: the kinds the "New File" submenu offers, switched on and off, reordered,
// renamed, placed directly into the main menu, deleted, defined anew, or restored to the default.
class NewFilePage final : public ListPage
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(NewFilePage)

public:
    explicit NewFilePage(QWidget* parent = nullptr);
    ~NewFilePage() override;

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
    void addKind(const MenuItemPtr& item);

    TemplateDialog* addFileWinCtl() const { return m_addFileWinCtl; }

protected:
    void fillRow(int row, const MenuItemPtr& item) override;
    void tableViewSelectionDidChange() override;
    void onCheckChanged(int row, int column, bool checked) override;

private:
    QCheckBox* m_openFileChecked = nullptr;
    QPointer<TemplateDialog> m_addFileWinCtl;
};

} // namespace pallstone
