#pragma once

#include "Launcher.h"

namespace pallstone {

class Transcript;
struct LaunchPlan;

// Starts what each request's LaunchPlan says: desktop entries and default handlers through GIO,
// revealing through the file manager's D-Bus interface, everything else as a detached process.
// No request goes through a shell unless its program is one.
class SystemLauncher final : public Launcher
{
public:
    // With a transcript, every launch started is recorded there too. Not owned.
    explicit SystemLauncher(Transcript* transcript = nullptr);

    bool openWithApplication(const QString& application, const QStringList& paths) override;
    bool openTerminal(const QString& folder, TerminalMode mode, bool secondTerminal) override;
    bool openDefault(const QUrl& url) override;
    bool revealInFileManager(const QStringList& paths) override;
    bool runCommand(const QStringList& argv, const QString& workingDirectory = {}) override;
    bool launchSettingsApplication() override;
    bool notify(const QString& summary, const QString& body) override;

private:
    bool startDetached(const LaunchPlan& plan);
    void record(const LaunchPlan& plan);

    Transcript* m_transcript = nullptr;
};

} // namespace pallstone
