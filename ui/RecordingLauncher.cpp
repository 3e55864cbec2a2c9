#include "RecordingLauncher.h"

#include "LaunchPlan.h"
#include "Transcript.h"

namespace pallstone {

RecordingLauncher::RecordingLauncher(Transcript* transcript) : m_transcript(transcript) {}

bool RecordingLauncher::record(const std::optional<LaunchPlan>& plan)
{
    if (!plan)
        return false;
    if (m_transcript)
        m_transcript->recordLaunch(plan->argv, plan->workingDirectory);
    return true;
}

bool RecordingLauncher::openWithApplication(const QString& application, const QStringList& paths)
{
    return record(LaunchPlan::openWithApplication(application, paths));
}

bool RecordingLauncher::openTerminal(const QString& folder, TerminalMode mode, bool secondTerminal)
{
    return record(LaunchPlan::openTerminal(folder, mode, secondTerminal));
}

bool RecordingLauncher::openDefault(const QUrl& url)
{
    return record(LaunchPlan::openDefault(url));
}

bool RecordingLauncher::revealInFileManager(const QStringList& paths)
{
    return record(LaunchPlan::revealInFileManager(paths));
}

bool RecordingLauncher::runCommand(const QStringList& argv, const QString& workingDirectory)
{
    return record(LaunchPlan::runCommand(argv, workingDirectory));
}

bool RecordingLauncher::launchSettingsApplication()
{
    return record(LaunchPlan::launchSettingsApplication());
}

bool RecordingLauncher::notify(const QString& summary, const QString& body)
{
    if (m_transcript)
        m_transcript->recordNotification(summary, body);
    return true;
}

} // namespace pallstone
