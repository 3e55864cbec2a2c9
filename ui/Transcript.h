#pragma once

#include "Prompter.h"

#include <QFile>
#include <QJsonObject>
#include <QList>
#include <QMutex>
#include <QString>
#include <QStringList>

namespace pallstone {

// What an action showed or handed out, one JSON object per line: alerts, panels, the clipboard,
// launches and the progress window. The headless CLI writes it for `--transcript`, tests read it.
// Every line is flushed as soon as it is written, so a crash loses nothing already shown. Safe to
// use from any thread.
class Transcript final
{
public:
    Transcript() = default;
    Q_DISABLE_COPY_MOVE(Transcript)

    // Writes the lines to the file from now on (truncating it); without a file they are only kept
    // in memory. False, with errorString() set, when the file cannot be opened.
    bool open(const QString& path);
    QString errorString() const;

    void record(const QJsonObject& event);
    // Every event recorded so far, in order.
    QList<QJsonObject> events() const;

    // The shapes of the events, kept here so that every prompter and launcher writes the same ones.
    void recordAlert(const AlertRequest& request);
    void recordSavePanel(const SavePanelRequest& request);
    void recordOpenPanel(const OpenPanelRequest& request);
    void recordNameRequest(const NameRequest& request);
    void recordEmbedRequest(const EmbedRequest& request);
    void recordPalette(const PaletteRequest& request);
    void recordColorPanel(ColorPicker picker);
    // What a colour picker answered: the colour picked, or that it was cancelled or could not run.
    void recordColorPick(ColorPicker picker, const ColorPick& pick);
    void recordProgress(const ProgressEvent& event);
    void recordClipboard(const QString& text);
    void recordLaunch(const QStringList& argv, const QString& workingDirectory);
    void recordNotification(const QString& summary, const QString& body);

    static QString styleName(AlertRequest::Style style);
    static QString stateName(ProgressEvent::State state);

private:
    mutable QMutex m_mutex;
    QFile m_file;
    QString m_error;
    QList<QJsonObject> m_events;
};

} // namespace pallstone
