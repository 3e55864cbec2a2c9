#include "Seams.h"

#include "Prompter.h"
#include "RecordingClipboard.h"
#include "RecordingLauncher.h"
#include "ScriptedPrompter.h"
#include "Services.h"
#include "SystemClipboard.h"
#include "SystemLauncher.h"
#include "Transcript.h"
#include "WidgetPrompter.h"

#include <QJsonArray>

namespace pallstone {

Seams::Seams() : m_transcript(std::make_unique<Transcript>()) {}

Seams::~Seams()
{
    // Only what is still ours is taken out: a later set may have replaced it.
    if (Prompter::instance() == m_prompter.get())
        Prompter::setInstance(nullptr);
    if (Services::clipboard() == m_clipboard.get())
        Services::setClipboard(nullptr);
    if (Services::launcher() == m_launcher.get())
        Services::setLauncher(nullptr);
}

void Seams::openTranscript(const QString& path)
{
    if (path.isEmpty())
        return;
    if (!m_transcript->open(path))
        m_setupErrors.append(QStringLiteral("cannot write the transcript %1: %2")
                                 .arg(path, m_transcript->errorString()));
}

void Seams::install()
{
    Prompter::setInstance(m_prompter.get());
    Services::setClipboard(m_clipboard.get());
    Services::setLauncher(m_launcher.get());
}

std::unique_ptr<Seams> Seams::installReal(const QString& transcriptPath)
{
    std::unique_ptr<Seams> seams(new Seams);
    seams->openTranscript(transcriptPath);
    Transcript* transcript = transcriptPath.isEmpty() ? nullptr : seams->m_transcript.get();
    seams->m_prompter = std::make_unique<WidgetPrompter>(transcript);
    seams->m_clipboard = std::make_unique<SystemClipboard>(transcript);
    seams->m_launcher = std::make_unique<SystemLauncher>(transcript);
    seams->install();
    return seams;
}

std::unique_ptr<Seams> Seams::installScripted(const QString& answersPath,
                                              const QString& transcriptPath)
{
    std::unique_ptr<Seams> seams(new Seams);
    seams->openTranscript(transcriptPath);
    Transcript* transcript = seams->m_transcript.get();
    QString error;
    std::unique_ptr<ScriptedPrompter> scripted =
        ScriptedPrompter::fromFile(answersPath, transcript, &error);
    if (!scripted) {
        seams->m_setupErrors.append(error);
        scripted = std::make_unique<ScriptedPrompter>(QJsonArray(), transcript);
    }
    seams->m_scripted = scripted.get();
    seams->m_prompter = std::move(scripted);
    seams->m_clipboard = std::make_unique<RecordingClipboard>(transcript);
    seams->m_launcher = std::make_unique<RecordingLauncher>(transcript);
    seams->install();
    return seams;
}

QStringList Seams::errors() const
{
    QStringList all = m_setupErrors;
    if (m_scripted)
        all += m_scripted->errors();
    return all;
}

QStringList Seams::unusedAnswers() const
{
    return m_scripted ? m_scripted->unusedAnswers() : QStringList();
}

} // namespace pallstone
