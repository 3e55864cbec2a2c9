#pragma once

#include "Prompter.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QMutex>

#include <memory>

namespace pallstone {

class Transcript;

// The prompter of the tests and of `pallstone-extension run --answers FILE`: each prompt takes the
// next answer of a JSON array, in order, and is recorded to the transcript whatever the answer.
//
// Answers: alert {"button": 1000} (1000, 1001, 1002 by position); save panel {"path": "/abs",
// "password": "...", "type": INDEX} (password and type only where the panel has that accessory;
// otherwise an empty password and the proposed type); open panel {"paths": ["/abs", ...]}; naming
// window {"text": "..."}; embed window {"name": "...", "mode": 0 or 1} (either may be left out to
// keep what the window proposed); palette {"filter": "what is typed", "row": N} (the Nth row that
// is left, counted from 0; 0 when left out); colour picker {"color": "#RRGGBB"} or {"rgb": [r, g,
// b]} with components from 0 to 1; any of these {"cancel": true}. A colour picker that cannot run
// here (no portal, no X11 screen) is scripted as {"unavailable": true}: that picker does not open,
// so a notice it would have shown first takes no answer.
//
// One more answer stops a running job: {"progress": "cancel"}. It is not a prompt; it is taken
// only when it is the next answer at the moment the progress window opens or reports a percentage,
// and then acts as the Cancel button (the Open event's onCancel runs on the main thread).
//
// A prompt without an answer left, or an answer that could not have come from that window (keys
// of another window, a relative path, a button that is not shown, a type out of range, a password
// for a panel without the password field, a blank name where OK would be disabled, an item that
// does not exist in an open panel), is an error: it is listed in errors(), the prompt answers as
// if cancelled so the action stops, and later prompts are cancelled too without taking answers.
class ScriptedPrompter final : public Prompter
{
public:
    // The transcript is not owned and may be null.
    ScriptedPrompter(const QJsonArray& answers, Transcript* transcript);
    Q_DISABLE_COPY_MOVE(ScriptedPrompter)

    // Null, with the reason in error, when the file cannot be read or holds no JSON array.
    static std::unique_ptr<ScriptedPrompter> fromFile(const QString& path, Transcript* transcript,
                                                      QString* error = nullptr);

    int alert(const AlertRequest& request) override;
    std::optional<SavePanelResult> savePanel(const SavePanelRequest& request) override;
    std::optional<QStringList> openPanel(const OpenPanelRequest& request) override;
    std::optional<QString> askName(const NameRequest& request) override;
    std::optional<EmbedResult> askEmbed(const EmbedRequest& request) override;
    ColorPick pickColor(const ColorPickRequest& request) override;
    std::optional<qsizetype> choosePaletteRow(const PaletteRequest& request) override;
    void progress(const ProgressEvent& event) override;

    QStringList errors() const;
    bool hasError() const;
    // Answers not taken yet.
    qsizetype remainingAnswers() const;
    // One line per answer no window took, for the end of a run: an answer meant for a window that
    // never asked (or given in the wrong form) is a fault of the script, not a silent success.
    QStringList unusedAnswers() const;

private:
    // The next answer for a prompt, or nothing when it is a cancel or an error (already recorded).
    std::optional<QJsonObject> take(const QString& prompt, const QStringList& keys);
    void fail(const QString& prompt, const QString& reason);

    mutable QMutex m_mutex;
    QJsonArray m_answers;
    qsizetype m_next = 0;
    QJsonValue m_current; // the answer being checked, for the error message
    Transcript* m_transcript = nullptr;
    QStringList m_errors;
    std::function<void()> m_onCancel;
};

} // namespace pallstone
