#include "ConvertAction.h"

#include "ActionTable.h"
#include "ConvertModule.h"
#include "Dispatch.h"
#include "FavouriteSubmenus.h"
#include "FileName.h"
#include "Localizer.h"
#include "Paths.h"
#include "Prompter.h"
#include "QtImageDecoder.h"
#include "WorkInProgress.h"

#include <atomic>

namespace pallstone {

namespace {

const QString kMergeKey = QStringLiteral("PDF");
const QString kConvertFail = QStringLiteral("Convert Fail");

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

void run(const std::shared_ptr<Job>& job)
{
    QString error;
    const ConvertModule::Entry convert = ConvertModule::entry(&error);
    if (!convert) {
        qWarning("Convert: %s", qPrintable(error));
        for (const QString& path : std::as_const(job->paths))
            job->fail(path, kConvertFail);
        return;
    }
    ConvertRequest request;
    request.key = job->key;
    request.formats = job->formats;
    request.paths = job->paths;
    request.untitled = job->untitled;
    request.cancelled = &job->cancelled;
    request.fail = [job](const QString& path, const QString& reason, const QStringList& arguments) {
        job->fail(path, reason, arguments);
    };
    request.percent = [job](int total, int done) { percentLater(job, total, done); };
    request.decodeWithQt = &QtImageDecoder::decode;
    convert(request);
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
