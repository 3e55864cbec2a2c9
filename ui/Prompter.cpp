#include "Prompter.h"

#include "TextMatcher.h"
#include "WidgetPrompter.h"

#include <atomic>
#include <cmath>
#include <memory>
#include <mutex>

namespace pallstone {

QList<qsizetype> PaletteRequest::matching(const QString& typed) const
{
    QList<QStringList> names;
    names.reserve(rows.size());
    for (const Row& row : rows)
        names.append(row.names);
    return TextMatcher(typed).rank(names);
}

namespace {

// Installed from the main thread, read wherever an action asks.
std::atomic<Prompter*> s_installed{nullptr};

} // namespace

quint64 ProgressEvent::nextJob()
{
    static std::atomic<quint64> last{0};
    return ++last;
}

QColor ColorPick::fromComponents(double red, double green, double blue)
{
    const auto component = [](double value) -> std::optional<quint16> {
        // NaN fails both comparisons.
        if (!(value >= 0.0 && value <= 1.0))
            return std::nullopt;
        return static_cast<quint16>(std::lround(value * 65535.0));
    };
    const auto r = component(red);
    const auto g = component(green);
    const auto b = component(blue);
    if (!r || !g || !b)
        return {};
    return QColor(QRgba64::fromRgba64(*r, *g, *b, 65535));
}

Prompter* Prompter::instance()
{
    if (Prompter* installed = s_installed.load(std::memory_order_acquire))
        return installed;
    // Creating it builds no widget: each call makes its windows on the main thread, so the
    // default may be first asked for on any thread.
    static std::once_flag once;
    static std::unique_ptr<WidgetPrompter> widgets;
    std::call_once(once, [] { widgets = std::make_unique<WidgetPrompter>(); });
    return widgets.get();
}

void Prompter::setInstance(Prompter* prompter)
{
    s_installed.store(prompter, std::memory_order_release);
}

} // namespace pallstone
