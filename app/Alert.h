#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace pallstone {

// The settings application's alerts: message "Tip", the given text, the given buttons (one "OK"
// when none). With a window the alert is a sheet on it, without one application-modal. Shown
// through the prompter, so tests answer them.
class Alert final
{
public:
    // 1000, 1001 ... by button position.
    static int alertWithMsg(const QString& informative, QWidget* window = nullptr,
                            const QStringList& buttons = {});
    // "OK" / "Cancel" on the window; true for "OK".
    static bool confirm(const QString& informative, QWidget* window);

private:
    Alert() = delete;
};

} // namespace pallstone
