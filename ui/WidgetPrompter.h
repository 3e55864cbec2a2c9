#pragma once

#include "Prompter.h"

#include <QHash>
#include <QPointer>

namespace pallstone {

class JobsWindow;
class ProgressWindow;
class Transcript;

// The prompter with real windows. Each call builds its window on the main thread (hopping there,
// blocking, when asked from another thread) and returns once the person has answered. Without a
// widget application no window can be shown: every call then answers as if cancelled.
class WidgetPrompter final : public Prompter
{
public:
    // With a transcript, everything shown is recorded there too (`--transcript` without
    // `--answers`). Not owned.
    explicit WidgetPrompter(Transcript* transcript = nullptr);
    ~WidgetPrompter() override;
    Q_DISABLE_COPY_MOVE(WidgetPrompter)

    int alert(const AlertRequest& request) override;
    std::optional<SavePanelResult> savePanel(const SavePanelRequest& request) override;
    std::optional<QStringList> openPanel(const OpenPanelRequest& request) override;
    std::optional<QString> askName(const NameRequest& request) override;
    std::optional<EmbedResult> askEmbed(const EmbedRequest& request) override;
    ColorPick pickColor(const ColorPickRequest& request) override;
    std::optional<qsizetype> choosePaletteRow(const PaletteRequest& request) override;
    void progress(const ProgressEvent& event) override;

    // The open progress window, if any (for tests).
    ProgressWindow* progressWindow() const;

private:
    int showAlert(const AlertRequest& request);
    std::optional<SavePanelResult> showSavePanel(const SavePanelRequest& request);
    std::optional<QStringList> showOpenPanel(const OpenPanelRequest& request);
    std::optional<QString> showNameDialog(const NameRequest& request);
    std::optional<EmbedResult> showEmbedDialog(const EmbedRequest& request);
    std::optional<qsizetype> showPalette(const PaletteRequest& request);
    void showProgress(const ProgressEvent& event);
    ColorPick pickWithPortal();
    QString startFolder(const QString& asked) const;
    ColorPick pickWithMagnifier(const ColorPickRequest& request);

    Transcript* m_transcript = nullptr;
    QString m_lastFolder; // of the last file or folder chosen in a panel
    QPointer<ProgressWindow> m_progress;
    QPointer<JobsWindow> m_jobsWindow;
    QHash<quint64, QPointer<ProgressWindow>> m_jobWindows; // the rows of m_jobsWindow
};

} // namespace pallstone
