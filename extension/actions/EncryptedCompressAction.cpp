#include "EncryptedCompressAction.h"

#include "ReplaceFileAlert.h"

#include "ActionTable.h"

#include "Dispatch.h"
#include "FileEntry.h"
#include "Localizer.h"
#include "ProgressWindow.h"
#include "Prompter.h"
#include "Strings.h"
#include "WorkInProgress.h"

#include <QDir>
#include <QFileInfo>

namespace pallstone {

namespace {

const QString kZip = QStringLiteral("zip");

bool isSameItem(const QString& a, const QString& b)
{
    if (QDir::cleanPath(a) == QDir::cleanPath(b))
        return true;
    const QString canonical = QFileInfo(a).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(b).canonicalFilePath();
}

void alertTip(const QString& key)
{
    AlertRequest request;
    request.message = Localizer::text(QStringLiteral("Tip"));
    request.informative = Localizer::text(key);
    Prompter::instance()->alert(request);
}

} // namespace

EncryptedCompressAction& EncryptedCompressAction::shared()
{
    static EncryptedCompressAction action;
    return action;
}

bool EncryptedCompressAction::compressPaths(const std::shared_ptr<ZipArchive>& compress,
                                            const QStringList& paths,
                                            const ZipArchive::ProgressHandler& progressHandler,
                                            const std::function<void(bool)>& finished)
{
    if (paths.isEmpty())
        return false;
    const auto dismissed = [&] {
        if (progressHandler)
            progressHandler(0, -2);
        if (finished)
            finished(false);
        return true;
    };

    SavePanelRequest request;
    request.directory = QFileInfo(paths.first()).absolutePath();
    request.fileName = (paths.size() == 1 ? FileEntry(paths.first()).name()
                                          : Localizer::text(QStringLiteral("Archiver"))) +
                       u'.' + kZip;
    request.accessory = SavePanelRequest::Accessory::Password;
    request.defaultSuffix = kZip;
    const std::optional<SavePanelResult> answer = Prompter::instance()->savePanel(request);
    if (!answer || answer->path.isEmpty())
        return dismissed();

    QString savePath = answer->path;
    // Only zip archives are written, whatever the name typed.
    if (QFileInfo(savePath).suffix().compare(kZip, Qt::CaseInsensitive) != 0) {
        savePath += u'.' + kZip;
        // The panel asked about the name typed, not about this one.
        const std::optional<QString> confirmed =
            ReplaceFileAlert::resolve(savePath, ReplaceFileAlert::Operation::Write);
        if (!confirmed)
            return dismissed();
        savePath = *confirmed;
    }
    // Saving over a selected item would replace the very item being archived.
    for (const QString& path : paths) {
        if (isSameItem(path, savePath)) {
            alertTip(QStringLiteral("Compression Save Path Tip"));
            return dismissed();
        }
    }
    compress->setSavePath(savePath);
    // A blank password means none; any other is used as typed, spaces included.
    const QString password = Strings::isValid(answer->password) ? answer->password : QString();

    Dispatch::enterWorker([compress, paths, password, progressHandler, finished] {
        const bool succeeded = compress->startCompressWithPaths(
            paths, password, [progressHandler](qint64 c, qint64 t) {
                if (progressHandler)
                    Dispatch::enterForeground([progressHandler, c, t] { progressHandler(c, t); });
            });
        // Queued after every progress call of the job, so it arrives last.
        if (finished)
            Dispatch::enterForeground([finished, succeeded] { finished(succeeded); });
    });
    return true;
}

void EncryptedCompressAction::encryptedCompress(const ActionContextPtr& context)
{
    if (m_compress || context->selectPaths.isEmpty())
        return;
    m_compress = std::make_shared<ZipArchive>();
    m_windowOpen = false;
    m_shownPercent.clear();
    // A restart of the service waits for the job.
    WorkInProgress::begin();
    compressPaths(
        m_compress, context->selectPaths,
        [this](qint64 completed, qint64 total) { onProgress(completed, total); },
        [this](bool succeeded) { onFinished(succeeded); });
}

void EncryptedCompressAction::onProgress(qint64 completed, qint64 total)
{
    Prompter* prompter = Prompter::instance();
    if (total == 0) {
        std::weak_ptr<ZipArchive> job = m_compress;
        ProgressEvent open;
        open.state = ProgressEvent::State::Open;
        open.text = Localizer::text(QStringLiteral("Encrypted Compression"));
        open.onCancel = [job] {
            if (const auto compress = job.lock())
                compress->stopCompress();
        };
        m_windowOpen = true;
        prompter->progress(open);
        return;
    }
    if (total > 0) {
        // One call per item; the window changes only when the shown figure does.
        const double percent = 100.0 * double(completed) / double(total);
        const QString shown = ProgressWindow::percentText(percent);
        if (shown == m_shownPercent)
            return;
        m_shownPercent = shown;
        ProgressEvent event;
        event.state = ProgressEvent::State::Percent;
        event.percent = percent;
        prompter->progress(event);
        return;
    }
    if (m_windowOpen) {
        m_windowOpen = false;
        ProgressEvent close;
        close.state = ProgressEvent::State::Close;
        prompter->progress(close);
    }
    if (total == -1)
        alertTip(QStringLiteral("Compression Failed"));
}

void EncryptedCompressAction::onFinished(bool succeeded)
{
    // A job without items ends after its start call alone, so success is shown here, where
    // every job ends, rather than on the last item.
    if (succeeded && m_windowOpen) {
        ProgressEvent success;
        success.state = ProgressEvent::State::Success;
        success.text = Localizer::text(QStringLiteral("Compression Succeeded"));
        Prompter::instance()->progress(success);
    }
    m_windowOpen = false;
    WorkInProgress::end();
    m_compress.reset();
}

namespace {

const bool registered = [] {
    ActionRow row;
    row.name = QStringLiteral("Encrypted Compression");
    row.keys = {QStringLiteral("Encrypted Compression")};
    row.selectionOnly = true;
    row.run = [](const ActionCall& call) {
        EncryptedCompressAction::shared().encryptedCompress(call.context);
    };
    return ActionTable::add(std::move(row));
}();

} // namespace

} // namespace pallstone
