#pragma once

#include "Clipboard.h"

#include <QMutex>

namespace pallstone {

class Transcript;

// The clipboard of the tests and the headless CLI: keeps the text in memory and records each text
// handed out, leaving the desktop's clipboard alone.
class RecordingClipboard final : public Clipboard
{
public:
    // The transcript is not owned and may be null.
    explicit RecordingClipboard(Transcript* transcript);

    bool setText(const QString& text) override;
    QString text() const override;

private:
    Transcript* m_transcript = nullptr;
    mutable QMutex m_mutex;
    QString m_text;
};

} // namespace pallstone
