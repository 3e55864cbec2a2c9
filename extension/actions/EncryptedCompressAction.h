#pragma once

#include "ActionContext.h"
#include "ZipArchive.h"

#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace pallstone {

// The "Encrypted Compression" entry: the selection goes into one zip archive, with a password when
// one is typed, written in the background behind the progress window. One compression runs at a
// time in the whole service; choosing the entry again meanwhile does nothing.
class EncryptedCompressAction final
{
public:
    static EncryptedCompressAction& shared();

    void encryptedCompress(const ActionContextPtr& context);
    bool isRunning() const { return m_compress != nullptr; }

    // The interactive entry of the archive service (it lives here because the core has no
    // windows). Main thread. Asks where to save (a zip named after the single item, or
    // "Archiver", next to the first item) and for the password, then runs the job on the
    // background queue; progress calls and then finished(succeeded) arrive on the main thread,
    // finished always last. A dismissed panel, or a save path that is one of the selected items
    // (the person is told), ends with (0, -2) and finished(false). Does nothing and returns false
    // when paths is empty.
    static bool compressPaths(const std::shared_ptr<ZipArchive>& compress, const QStringList& paths,
                              const ZipArchive::ProgressHandler& progressHandler,
                              const std::function<void(bool succeeded)>& finished);

private:
    EncryptedCompressAction() = default;

    void onProgress(qint64 completed, qint64 total);
    void onFinished(bool succeeded);

    // The running job; only its own final callback drops it.
    std::shared_ptr<ZipArchive> m_compress;
    bool m_windowOpen = false;
    QString m_shownPercent;
};

} // namespace pallstone
