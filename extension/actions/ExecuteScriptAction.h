#pragma once

#include "ActionContext.h"

#include <QString>

namespace pallstone {

// Runs the selected shell scripts ("sh" in any case) with /bin/sh, each path its own argument and
// the script's folder as its working directory; they are started, not awaited. AppleScript files
// ("scpt") cannot run on Linux: the person is told which ones were left out. Other files are
// skipped.
class ExecuteScriptAction final
{
public:
    static void executeScript(const ActionContextPtr& context);

private:
    ExecuteScriptAction() = delete;
};

} // namespace pallstone
