#include "RecordingClipboard.h"

#include "Transcript.h"

#include <QMutexLocker>

namespace pallstone {

RecordingClipboard::RecordingClipboard(Transcript* transcript) : m_transcript(transcript) {}

bool RecordingClipboard::setText(const QString& text)
{
    if (m_transcript)
        m_transcript->recordClipboard(text);
    QMutexLocker lock(&m_mutex);
    m_text = text;
    return true;
}

QString RecordingClipboard::text() const
{
    QMutexLocker lock(&m_mutex);
    return m_text;
}

} // namespace pallstone
