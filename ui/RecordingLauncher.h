#pragma once

#include "Launcher.h"

#include <optional>

namespace pallstone {

class Transcript;
struct LaunchPlan;

// The launcher of the tests and of the headless CLI with answers: records each request's plan as a
// {"event": "launch"} line instead of starting it. A request that cannot be planned (no such
// application, no terminal installed) answers false and records nothing.
class RecordingLauncher final : public Launcher
{
public:
    // The transcript is not owned and may be null.
    explicit RecordingLauncher(Transcript* transcript);

    bool openWithApplication(const QString& application, const QStringList& paths) override;
    bool openTerminal(const QString& folder, TerminalMode mode, bool secondTerminal) override;
    bool openDefault(const QUrl& url) override;
    bool revealInFileManager(const QStringList& paths) override;
    bool runCommand(const QStringList& argv, const QString& workingDirectory = {}) override;
    bool launchSettingsApplication() override;
    bool notify(const QString& summary, const QString& body) override;

private:
    bool record(const std::optional<LaunchPlan>& plan);

    Transcript* m_transcript = nullptr;
};

} // namespace pallstone
