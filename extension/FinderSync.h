#pragma once

#include "ActionContext.h"
#include "ActionHandlers.h"
#include "MenuEntry.h"
#include "TQMenuItem.h"

#include <QObject>
#include <QStringList>

#include <atomic>
#include <memory>
#include <optional>

namespace pallstone {

class VolumeMonitor;

// The service's principal object: it knows the selection, builds the menu for it and carries out
// the chosen entry.
class FinderSync final : public QObject
{
    Q_OBJECT

public:
    // Menu kinds, as the file managers ask for them.
    enum MenuKind : uint
    {
        ContextualMenuForItems = 0,
        ContextualMenuForContainer = 1,
        ContextualMenuForSidebar = 2,
        ToolbarItemMenu = 3
    };

    explicit FinderSync(QObject* parent = nullptr);
    ~FinderSync() override;
    Q_DISABLE_COPY_MOVE(FinderSync)

    // The start sequence: watched folders, mount observation, the pending cut forgotten.
    void init();
    void setupDirectoryURLs();

    // The handlers the dispatch calls; the service installs its own, tests install recorders.
    void setActionHandlers(std::shared_ptr<ActionHandlers> handlers);
    ActionHandlers& actionHandlers() { return *m_actions; }

    QString toolbarItemName() const;
    QString toolbarItemToolTip() const { return toolbarItemName(); }
    QString toolbarItemImage() const { return QStringLiteral("pro"); }

    QString targetURL() const;
    QStringList selectURLs();
    QStringList selectPaths() { return selectURLs(); }
    bool isSelectURL() const { return m_isSelectURL; }
    bool isSelectSingleURL();

    BuiltMenu menuForMenuKind(uint kind);
    // Decodes the tag against the model of the menu built last and runs its entry. False when the
    // tag does not lead to an entry of that model (nothing is done then).
    bool onMenuItemAction(qint64 tag);

    void goSet();
    void goReview();

    qint64 loadingCount() const { return m_loadingCount; }
    std::atomic<qint64>& loadingCounter() { return m_loadingCount; }

    const TQMenuItemList& rightMenuArray() const { return m_rightMenuArray; }

private:
    void readyStart(const ActionContextPtr& context, const TQMenuItemPtr& entry,
                    QList<int> indexes);
    void _useSuccess(const TQMenuItemPtr& entry);
    void showReviewInvitation();
    void volumeChangeNoti();
    QList<MenuEntry> getSubMenuWithChildren(const TQMenuItemList& children,
                                            const QString& parentTag, bool hideIcons) const;

    std::shared_ptr<ActionHandlers> m_actions;
    std::unique_ptr<VolumeMonitor> m_volumeMonitor;
    TQMenuItemList m_rightMenuArray;
    std::optional<QStringList> m_selectURLs;
    bool m_isSelectURL = false;
    std::atomic<qint64> m_loadingCount{0};
};

} // namespace pallstone
