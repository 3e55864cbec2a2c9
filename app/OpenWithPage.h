#pragma once

#include "DesktopApplications.h"
#include "ListPage.h"

#include <functional>
#include <optional>

namespace pallstone {

// The "Common App" tab: the applications the "Open With" submenu offers. An application is added
// from the installed desktop entries and stored under its entry's Name.
class OpenWithPage final : public ListPage
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(OpenWithPage)

public:
    explicit OpenWithPage(QWidget* parent = nullptr);
    ~OpenWithPage() override;

    QString listKey() const override;
    void refresh() override;

    enum Column
    {
        NameColumn,
        AddToMainMenuColumn,
        EnableColumn
    };

    static constexpr int kLimit = 50;

    // How the application is picked; the chooser window unless replaced (tests).
    std::function<std::optional<DesktopApplications::Entry>()> chooser;

    void onAdd();
    // Adds the application unless one of that name is listed; false when refused.
    bool addApplication(const DesktopApplications::Entry& entry);
    void onDelete();
    void onRecover();

    // Where the application's icon is written: "<name>.png" in the container's icon folder.
    static QString iconFilePath(const QString& name);

protected:
    void fillRow(int row, const MenuItemPtr& item) override;
    // Which of the listed applications are installed: one installed later shows as such.
    QString outsideState() const override;
    void onCheckChanged(int row, int column, bool checked) override;
};

} // namespace pallstone
