#pragma once

#include "ListPage.h"

class QComboBox;
class QLabel;

namespace pallstone {

// The "Common Path" tab: the person's favourite folders, and what the submenu of each shows.
class FavouritesPage final : public ListPage
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FavouritesPage)

public:
    explicit FavouritesPage(QWidget* parent = nullptr);
    ~FavouritesPage() override;

    QString listKey() const override;
    void refresh() override;

    enum Column
    {
        PathColumn,
        DisplayColumn,
        EnableColumn
    };

    static constexpr int kLimit = 60;

    void addFolder();
    // Appends the folder; one already listed is refused with a message (false).
    bool addFolderPath(const QString& path);
    void onDelete();
    void onRecover();
    void onEditName() override;
    void onSelectPopUpType(int position);

    // The path as shown: the home folder and what lies inside it start with "~".
    static QString displayPath(const QString& path);

    QComboBox* popUpButton() const { return m_popUpButton; }
    QLabel* tipLabel() const { return m_tipLabel; }

protected:
    void fillRow(int row, const MenuItemPtr& item) override;
    void onCheckChanged(int row, int column, bool checked) override;

private:
    void setTip(qint64 value);

    QComboBox* m_popUpButton = nullptr;
    QLabel* m_tipLabel = nullptr;
};

} // namespace pallstone
