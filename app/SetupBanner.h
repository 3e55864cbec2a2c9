#pragma once

#include "ExtensionManager.h"

#include <QFrame>

class QLabel;
class QPushButton;

namespace pallstone {

// The note at the top of the main window while the menu reaches no file manager: why the
// switches are greyed, and for each installed file manager the exact step that installs its
// plug-in. Hidden once a file manager shows the menu.
class SetupBanner final : public QFrame
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SetupBanner)

public:
    explicit SetupBanner(QWidget* parent = nullptr);
    ~SetupBanner() override;

    // Shows what the state asks for, naming the file managers as they are found now.
    void showFor(ExtensionManager::State state, const QList<ExtensionManager::FileManager>& found);

    QLabel* text() const { return m_text; }

Q_SIGNALS:
    // The person asked for the file managers' window.
    void setUpRequested();

private:
    QLabel* m_text = nullptr;
    QPushButton* m_restart = nullptr;
};

} // namespace pallstone
