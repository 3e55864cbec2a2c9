#pragma once

#include "NotificationCenter.h"

#include <QPointer>
#include <QWidget>

#include <functional>

class QCheckBox;
class QComboBox;
class QKeySequenceEdit;
class QLabel;
class QPushButton;

namespace pallstone {

class ConfigManagerWindow;

// The "Preferences" tab: five switches of the whole system ("pref check1" to "pref check5"), the
// second terminal, the profiles button, the project's page and the version.
class PreferencesPage final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PreferencesPage)

public:
    explicit PreferencesPage(QWidget* parent = nullptr);
    ~PreferencesPage() override;

    // The shell's: restart the extension service (tag 3), rebuild the tray item (tag 5).
    std::function<void()> restartExtensionService;
    std::function<void()> createStatusBar;

    // Stores the box's state under "pref check<tag>" and lets the shell follow.
    void onCheckAction(int tag, bool checked);
    void onReview();
    void onRecommend();
    void onSelectSecondTerminal(int position);
    // Registers the key for the palette with the desktop and says how that went.
    void onPaletteShortcut(const QKeySequence& keys);
    // Opens the profiles window (made on first use and kept) and brings it to the front.
    ConfigManagerWindow* onConfigManager();

    QCheckBox* checkBox(int tag) const;
    QComboBox* secondTerminalButton() const { return m_secondTerminal; }
    QLabel* versionLabel() const { return m_versionLabel; }
    QPushButton* configManagerButton() const { return m_configManagerBtn; }

    // A profile was applied: the boxes show its preferences.
    Q_INVOKABLE void handleSignal(const pallstone::Notification& notification);

    // The shared store's key of the terminal the "iTerm2" entries open.
    static const QString kSecondTerminalKey;

private:
    void refresh();

    QList<QCheckBox*> m_checks; // by tag - 1
    QComboBox* m_secondTerminal = nullptr;
    QKeySequenceEdit* m_shortcut = nullptr;
    QLabel* m_shortcutStatus = nullptr;
    QLabel* m_versionLabel = nullptr;
    QPushButton* m_configManagerBtn = nullptr;
    QPointer<ConfigManagerWindow> m_configManagerWinCtl;
};

} // namespace pallstone
