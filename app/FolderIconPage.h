#pragma once

#include "FolderIconDesigner.h"
#include "ListPage.h"

#include <QPointer>

class QMenu;

namespace pallstone {

// The "Folder Icon" tab: the pictures the extension offers for decorating folders, switched on
// and off, reordered, renamed, deleted, restored to the default set, or added from a picture
// file or from the designer.
class FolderIconPage final : public ListPage
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FolderIconPage)

public:
    explicit FolderIconPage(QWidget* parent = nullptr);
    ~FolderIconPage() override;

    QString listKey() const override;
    void refresh() override;

    enum Column
    {
        NameColumn,
        EnableColumn
    };

    static constexpr int kLimit = 60;

    // Opens the add menu, or says the list is full.
    void onAdd();
    void onAddSelect();
    void onAddMake();
    void onDelete();
    void onRecover();
    void onEditName() override;
    // Appends the picture file as a new entry; false (and nothing stored) when it cannot be read
    // or written.
    bool addPicture(const QString& path);

    QMenu* addPopMenu() const { return m_addPopMenu; }
    FolderIconDesigner* addIconWinCtl() const { return m_addIconWinCtl; }

protected:
    void fillRow(int row, const MenuItemPtr& item) override;
    void onCheckChanged(int row, int column, bool checked) override;

private:
    void addMadeIcon(const MenuItemPtr& item);

    QPushButton* m_addButton = nullptr;
    QMenu* m_addPopMenu = nullptr;
    QPointer<FolderIconDesigner> m_addIconWinCtl;
};

} // namespace pallstone
