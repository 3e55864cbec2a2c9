#pragma once

#include "Prompter.h"

#include <QString>

namespace pallstone {

// The small alerts the actions share.
class ActionAlerts final
{
public:
    // "Tip" with one "OK" button and the given text below.
    static void tip(const QString& informative);
    // The conflict at a destination: "Keep Both" (1000), "Stop" (1001), "Replace" (1002).
    static int replaceFile(const QString& name);
    // A file operation failed for lack of access: offers to show the folder.
    static void accessDenied(const QString& folder);
    // A failure no window of the action is open to show: a desktop notification with the text
    // of key and of key + " Tip".
    static void notifyFailure(const QString& key);

private:
    ActionAlerts() = delete;
};

} // namespace pallstone
