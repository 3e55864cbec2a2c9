#include "SystemClipboard.h"

#include "FileName.h"
#include "Transcript.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QThread>

namespace pallstone {

namespace {

template <typename Function> void onMainThread(Function&& function)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (QThread::currentThread() == app->thread())
        function();
    else
        QMetaObject::invokeMethod(app, function, Qt::BlockingQueuedConnection);
}

} // namespace

SystemClipboard::SystemClipboard(Transcript* transcript) : m_transcript(transcript) {}

bool SystemClipboard::setText(const QString& text)
{
    if (m_transcript)
        m_transcript->recordClipboard(text);
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return false;
    bool held = false;
    onMainThread([&] {
        QClipboard* clipboard = QGuiApplication::clipboard();
        if (FileName::hasStrayBytes(text)) {
            // A path that is not UTF-8 goes as its bytes: pasted into a terminal it names the
            // same file, where the text form would name another.
            const QByteArray bytes = FileName::encode(text);
            auto* data = new QMimeData;
            data->setData(QStringLiteral("text/plain"), bytes);
            clipboard->setMimeData(data);
            const QMimeData* back = clipboard->mimeData();
            held = back && back->data(QStringLiteral("text/plain")) == bytes;
            return;
        }
        clipboard->setText(text);
        // Some platforms (Wayland without a window) silently refuse: read it back.
        held = clipboard->text() == text;
    });
    return held;
}

QString SystemClipboard::text() const
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return {};
    QString text;
    onMainThread([&] { text = QGuiApplication::clipboard()->text(); });
    return text;
}

} // namespace pallstone
