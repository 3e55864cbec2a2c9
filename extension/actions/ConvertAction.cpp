#include "ConvertAction.h"

#include "ActionTable.h"
#include "Dispatch.h"
#include "FavouriteSubmenus.h"
#include "FileName.h"
#include "Localizer.h"
#include "Paths.h"
#include "Prompter.h"
#include "WorkInProgress.h"
#include "convert/IconSetWriter.h"
#include "convert/ImageConverter.h"
#include "convert/OutputFile.h"
#include "convert/PdfMerger.h"
#include "convert/PdfPageRenderer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <sys/stat.h>

namespace pallstone {

namespace {

const QString kMergeKey = QStringLiteral("PDF");
const QString kConvertFail = QStringLiteral("Convert Fail");
const QString kIconInvalid = QStringLiteral("Convert Icns image invalid");
const QString kUnreadable = QStringLiteral("Convert Fail Unreadable");
const QString kTooLarge = QStringLiteral("Convert Fail Too Large");
const QString kNotWritten = QStringLiteral("Convert Fail Write");
const QString kLocked = QStringLiteral("Convert Fail Locked");
// Vector sources are rendered this large for icon sets: the biggest icon is 1024 pixels.
constexpr int kIconSourceSide = 1024;

// A source that was not converted, or an output that was not written, and why: the texts are
// looked up on the main thread, where the translations are loaded.
struct Failure
{
    QString path;
    QString reason;
    QStringList arguments;
};

struct Job
{
    quint64 id = ProgressEvent::nextJob();
    QString key;
    QStringList formats;
    QStringList paths;
    QString untitled;
    std::atomic<bool> cancelled{false};
    // Worker only, until the job ends.
    QList<Failure> failures;

    void fail(const QString& path, const QString& reason, const QStringList& arguments = {})
    {
        failures.append({path, reason, arguments});
    }

    void failWrite(const QString& path, const QString& error)
    {
        qWarning("Convert: %s: %s", qPrintable(path), qPrintable(error));
        fail(path, kNotWritten, {error});
    }
};

// One alert when the job ends, naming every item that was not converted and why; the others were.
// Alerts wait for the person, so it is shown from the main thread.
void reportLater(const QList<Failure>& failures)
{
    if (failures.isEmpty())
        return;
    Dispatch::enterForeground([failures] {
        QStringList lines{Localizer::text(kConvertFail)};
        for (const Failure& failure : failures) {
            QString reason = Localizer::text(failure.reason);
            for (const QString& argument : failure.arguments)
                reason = reason.arg(argument);
            lines.append(FileName::display(Paths::lastPathComponent(failure.path)) +
                         QStringLiteral(": ") + reason);
        }
        AlertRequest request;
        request.message = Localizer::text(QStringLiteral("Tip"));
        request.informative = lines.join(u'\n');
        Prompter::instance()->alert(request);
    });
}

QString tooLargeText()
{
    return QString::number(ImageConverter::kMaxPixels / 1'000'000);
}

void percentLater(const std::shared_ptr<Job>& job, int total, int done)
{
    if (total <= 0)
        return;
    const double percent = 100.0 * double(done) / double(total);
    Dispatch::enterForeground([job, percent] {
        ProgressEvent event;
        event.job = job->id;
        event.state = ProgressEvent::State::Percent;
        event.percent = percent;
        Prompter::instance()->progress(event);
    });
}

// The same file under another name (a link) counts as the same: writing one truncates the other.
bool isSameFile(const QString& a, const QString& b)
{
    struct stat sa;
    struct stat sb;
    if (::stat(FileName::encode(a).constData(), &sa) != 0 ||
        ::stat(FileName::encode(b).constData(), &sb) != 0)
        return QDir::cleanPath(a) == QDir::cleanPath(b);
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

void makeIconSet(Job& job, const QString& path, IconSetWriter::Target target)
{
    // An AppIcon.icns chosen as the source of its own icon file would be rewritten from its
    // largest image alone.
    if (target == IconSetWriter::Target::IconFile &&
        isSameFile(path, QFileInfo(path).absolutePath() + QStringLiteral("/AppIcon.icns")))
        return;
    const ImageConverter::Loaded header = ImageConverter::open(path, false, kIconSourceSide);
    if (header.status == ImageConverter::Status::TooLarge)
        return job.fail(path, kTooLarge, {tooLargeText()});
    if (header.status != ImageConverter::Status::Loaded)
        return job.fail(path, kUnreadable);
    // Decided on the source itself: shrinking 3001 x 3000 to the biggest icon rounds it square.
    if (header.width != header.height) {
        return job.fail(path, kIconInvalid,
                        {QString::number(header.width), QString::number(header.height)});
    }
    const ImageConverter::Loaded loaded = ImageConverter::decode(path, kIconSourceSide);
    if (loaded.status != ImageConverter::Status::Loaded)
        return job.fail(path, kUnreadable);
    const IconSetWriter::Result result =
        IconSetWriter::write(loaded.image, Paths::deletingPathExtension(path), target);
    if (result.outcome == IconSetWriter::Outcome::NotSquare) {
        job.fail(path, kIconInvalid,
                 {QString::number(header.width), QString::number(header.height)});
    } else if (result.outcome == IconSetWriter::Outcome::Failed) {
        job.failWrite(result.path.isEmpty() ? path : result.path, result.error);
    }
}

void convertImage(Job& job, const QString& path, const QString& key)
{
    const QString output = Paths::deletingPathExtension(path) + u'.' + key.toLower();
    // An animated b.gif converted to "GIF" would be overwritten by its own first frame.
    if (isSameFile(path, output))
        return;
    const ImageConverter::Loaded loaded = ImageConverter::open(path, true);
    if (loaded.status == ImageConverter::Status::TooLarge)
        return job.fail(path, kTooLarge, {tooLargeText()});
    if (loaded.status != ImageConverter::Status::Loaded)
        return job.fail(path, kUnreadable);
    QString error;
    if (ImageConverter::saveWithExtension(loaded.image, key, output, &error))
        return;
    // Only the header was read before: pixels cut off or damaged show while they are written,
    // and it is the source that is at fault then, not the disk.
    try {
        (void)ImageConverter::open(path, true).image.avg();
    } catch (const vips::VError&) {
        vips_error_clear();
        return job.fail(path, kUnreadable);
    }
    job.failWrite(output, error);
}

void run(const std::shared_ptr<Job>& job)
{
    if (job->key == kMergeKey) {
        const PdfMerger::Result result =
            PdfMerger::merge(job->paths, job->untitled, &job->cancelled);
        if (job->cancelled.load())
            return;
        for (const PdfMerger::Skipped& skipped : result.skipped) {
            switch (skipped.reason) {
            case PdfMerger::Refusal::TooLarge:
                job->fail(skipped.path, kTooLarge, {tooLargeText()});
                break;
            case PdfMerger::Refusal::Locked:
                job->fail(skipped.path, kLocked);
                break;
            case PdfMerger::Refusal::Unreadable:
                job->fail(skipped.path, kUnreadable);
                break;
            }
        }
        // An unwritable document is said too, rather than left for the person to look for.
        if (result.opened && result.pageCount > 0 && !result.written)
            job->failWrite(result.path.isEmpty() ? job->untitled + QStringLiteral(".pdf")
                                                 : result.path,
                           result.error);
        return;
    }
    const std::optional<IconSetWriter::Target> target =
        job->key.contains(u"AppIcon") ? IconSetWriter::targetForKey(job->key) : std::nullopt;
    for (const QString& path : std::as_const(job->paths)) {
        if (job->cancelled.load())
            return;
        const QString extension = Paths::pathExtension(path);
        if (!job->formats.contains(extension))
            continue;
        if (target) {
            makeIconSet(*job, path, *target);
        } else if (extension.toLower() == u"pdf") {
            const PdfPageRenderer::Result result = PdfPageRenderer::render(
                path, job->key, [job](int total, int done) { percentLater(job, total, done); },
                &job->cancelled);
            if (result.outcome == PdfPageRenderer::Outcome::Failed)
                job->failWrite(path, result.error);
        } else {
            convertImage(*job, path, job->key);
        }
    }
}

void finish(const std::shared_ptr<Job>& job)
{
    ProgressEvent close;
    close.job = job->id;
    close.state = ProgressEvent::State::Close;
    Prompter::instance()->progress(close);
    WorkInProgress::end();
}

} // namespace

void ConvertAction::convertItem(const ActionContextPtr& context, const MenuItemPtr& item,
                                const MenuItemPtr& parentItem)
{
    if (!item || !parentItem || context->selectPaths.isEmpty())
        return;
    // Before any worker: it reads the umask, which cannot be done safely once threads write.
    ImageConverter::initialise();

    auto job = std::make_shared<Job>();
    job->key = item->key;
    job->formats = parentItem->formats;
    job->paths = context->selectPaths;
    job->untitled = Localizer::text(QStringLiteral("Untitled"));
    // A restart of the service waits for the job.
    WorkInProgress::begin();

    ProgressEvent open;
    open.job = job->id;
    open.state = ProgressEvent::State::Open;
    open.text = Localizer::text(QStringLiteral("Convert to"));
    std::weak_ptr<Job> weak = job;
    open.onCancel = [weak] {
        if (const auto running = weak.lock())
            running->cancelled.store(true);
    };
    Prompter::instance()->progress(open);

    Dispatch::enterWorker([job] {
        run(job);
        if (!job->cancelled.load())
            reportLater(job->failures);
        // Queued after every alert and percentage of the job, so the window closes last.
        Dispatch::enterForeground([job] { finish(job); });
    });
}

namespace {

const bool registered = [] {
    ActionRow row;
    row.name = QStringLiteral("Convert to");
    row.keys = {QStringLiteral("Convert to")};
    row.hasSubmenu = true;
    // Only what ImageConverter reads: a format offered and not read would convert to nothing.
    row.formats = {
        QStringLiteral("icns"), QStringLiteral("png"),  QStringLiteral("tiff"),
        QStringLiteral("jpg"),  QStringLiteral("jpeg"), QStringLiteral("jpe"),
        QStringLiteral("jp2"),  QStringLiteral("bmp"),  QStringLiteral("gif"),
        QStringLiteral("svg"),  QStringLiteral("wbmp"), QStringLiteral("webp"),
        QStringLiteral("tif"),  QStringLiteral("ico"),  QStringLiteral("jfif"),
        QStringLiteral("pdf"),
    };
    // The targets other than the item's own format; several items can also be merged into one
    // PDF document.
    row.shape = [](MenuItem& entry, const MenuContext& menu) {
        entry.children.clear();
        const QString upperExt = menu.refExt.toUpper();
        for (const QString& name :
             {QStringLiteral("AppIcon.icns"), QStringLiteral("OSX AppIconset"),
              QStringLiteral("iOS AppIconset"), QStringLiteral("iWatch AppIconset"),
              QStringLiteral("Android AppIconset"), QStringLiteral("PNG"), QStringLiteral("JPEG"),
              QStringLiteral("JP2"), QStringLiteral("TIFF"), QStringLiteral("BMP"),
              QStringLiteral("GIF"), kMergeKey}) {
            const bool merge = name == kMergeKey && menu.request.selectPaths.size() > 1;
            if (name.contains(upperExt) && !merge)
                continue;
            MenuItemPtr child = FavouriteSubmenus::itemWithKey(name);
            if (merge)
                child->displayName = Localizer::text(QStringLiteral("Merge to PDF"));
            entry.addChild(child);
        }
        return true;
    };
    row.run = [](const ActionCall& call) {
        if (!call.child)
            return;
        call.child->tag = call.childIndex;
        ConvertAction::convertItem(call.context, call.child, call.entry);
    };
    return ActionTable::add(std::move(row));
}();

} // namespace

} // namespace pallstone
