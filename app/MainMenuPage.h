#pragma once

#include "ListPage.h"

#include <functional>

class QCheckBox;
class QLabel;

namespace pallstone {

class AddMenuEntryDialog;
class SetupBanner;

// The "General" tab: the entries of the main context menu in their order, each switched on or
// off, reordered, renamed, removed, added back from the catalogue, and the whole list restored.
class MainMenuPage final : public ListPage
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MainMenuPage)

public:
    // Seeds or upgrades the store before anything reads it.
    explicit MainMenuPage(QWidget* parent = nullptr);
    ~MainMenuPage() override;

    QString listKey() const override;
    void refresh() override;

    // Opens the file managers' extension window (the shell's).
    std::function<void()> onEnable;

    enum Column
    {
        NameColumn,
        EnableColumn,
        OptionsColumn
    };

    void onAdd();
    void onDelete();
    void onRecover();

    QLabel* tipLabel() const { return m_tipLabel; }
    QCheckBox* enableButton() const { return m_enableButton; }
    SetupBanner* setupBanner() const { return m_banner; }
    AddMenuEntryDialog* addMenuWinCtl() const { return m_addMenuWinCtl; }

    // Posted in-process when a window of the application becomes active.
    static const QString kWindowDidBecomeKey;

protected:
    void fillRow(int row, const MenuItemPtr& item) override;
    QString outsideState() const override;
    void tableViewSelectionDidChange() override;
    void onCheckChanged(int row, int column, bool checked) override;

private:
    void showIntroduce(const MenuItemPtr& item);

    SetupBanner* m_banner = nullptr;
    QCheckBox* m_enableButton = nullptr;
    QLabel* m_tipLabel = nullptr;
    bool m_extensionEnabled = false;
    AddMenuEntryDialog* m_addMenuWinCtl = nullptr;
};

} // namespace pallstone
