#pragma once

#include "Clipboard.h"

namespace pallstone {

class Transcript;

// The desktop's clipboard (QClipboard). Used from the main thread, where the application object
// lives; calls from elsewhere wait there.
class SystemClipboard final : public Clipboard
{
public:
    // With a transcript, every text handed out is recorded there too. Not owned.
    explicit SystemClipboard(Transcript* transcript = nullptr);

    bool setText(const QString& text) override;
    QString text() const override;

private:
    Transcript* m_transcript = nullptr;
};

} // namespace pallstone
