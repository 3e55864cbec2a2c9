#include "SystemClipboard.h"

#include "Transcript.h"

#include <QClipboard>
#include <QGuiApplication>
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
