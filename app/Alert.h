#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace pallstone {

// The settings application's alerts: a bold heading that says what happened, the text below it
// that says what it means or what to do, and the given buttons (one "OK" when none). With a window
// the alert is a sheet on it, without one application-modal. Shown through the prompter, so tests
// answer them.
class Alert final
{
public:
    // 1000, 1001 ... by button position.
    static int alertWithMsg(const QString& heading, const QString& informative,
                            QWidget* window = nullptr, const QStringList& buttons = {});
    // Something the person asked for did not happen.
    static int warning(const QString& heading, const QString& informative,
                       QWidget* window = nullptr);
    // The action's own name and "Cancel" on the window; true for the action.
    static bool confirm(const QString& heading, const QString& informative, const QString& action,
                        QWidget* window);

private:
    Alert() = delete;
};

} // namespace pallstone
