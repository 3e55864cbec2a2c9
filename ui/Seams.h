#pragma once

#include <QString>
#include <QStringList>

#include <memory>

namespace pallstone {

class Clipboard;
class Launcher;
class Prompter;
class ScriptedPrompter;
class Transcript;

// One consistent set of the three seams (prompter, clipboard, launcher), installed together and
// owned here: the real windows and launches, or a script's answers with everything recorded. The
// set stays installed until this object is destroyed, which puts the defaults back.
class Seams final
{
public:
    ~Seams();
    Q_DISABLE_COPY_MOVE(Seams)

    // The real windows, clipboard and launches; with a transcript path, everything is recorded
    // there as well.
    static std::unique_ptr<Seams> installReal(const QString& transcriptPath = {});
    // A ScriptedPrompter over the answers file, a RecordingClipboard and a RecordingLauncher, all
    // writing to one transcript (kept in memory only when transcriptPath is empty). An unreadable
    // answers file or transcript is reported by errors(); every prompt then fails, so nothing
    // real is shown.
    static std::unique_ptr<Seams> installScripted(const QString& answersPath,
                                                  const QString& transcriptPath = {});

    // Problems setting up, then the prompter's mismatches, in order.
    QStringList errors() const;
    bool hasError() const { return !errors().isEmpty(); }
    // Scripted: the answers no window took (ScriptedPrompter::unusedAnswers); empty otherwise.
    QStringList unusedAnswers() const;

    Transcript& transcript() const { return *m_transcript; }
    Prompter* prompter() const { return m_prompter.get(); }
    Clipboard* clipboard() const { return m_clipboard.get(); }
    Launcher* launcher() const { return m_launcher.get(); }

private:
    Seams();
    void install();
    void openTranscript(const QString& path);

    std::unique_ptr<Transcript> m_transcript;
    std::unique_ptr<Prompter> m_prompter;
    ScriptedPrompter* m_scripted = nullptr; // m_prompter when scripted
    std::unique_ptr<Clipboard> m_clipboard;
    std::unique_ptr<Launcher> m_launcher;
    QStringList m_setupErrors;
};

} // namespace pallstone
