#include "ScriptedPrompter.h"

#include "Dispatch.h"
#include "Transcript.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QMutexLocker>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <utility>

namespace pallstone {

namespace {

const QString kCancel = QStringLiteral("cancel");
const QString kUnavailable = QStringLiteral("unavailable");

QString quoted(const QString& text)
{
    return u'"' + text + u'"';
}

QString compact(const QJsonValue& value)
{
    if (value.isObject())
        return QString::fromUtf8(QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact));
    if (value.isArray())
        return QString::fromUtf8(QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact));
    if (value.isString())
        return quoted(value.toString());
    if (value.isDouble())
        return QString::number(value.toDouble());
    if (value.isBool())
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    return QStringLiteral("null");
}

// A JSON number that is a whole number within int range.
std::optional<int> wholeNumber(const QJsonValue& value)
{
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    if (std::floor(number) != number || number < INT_MIN || number > INT_MAX)
        return std::nullopt;
    return static_cast<int>(number);
}

bool isBlank(const QString& text)
{
    return text.trimmed().isEmpty();
}

} // namespace

ScriptedPrompter::ScriptedPrompter(const QJsonArray& answers, Transcript* transcript)
    : m_answers(answers), m_transcript(transcript)
{}

std::unique_ptr<ScriptedPrompter> ScriptedPrompter::fromFile(const QString& path,
                                                             Transcript* transcript, QString* error)
{
    const auto failed = [error](const QString& reason) {
        if (error)
            *error = reason;
        return std::unique_ptr<ScriptedPrompter>();
    };
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failed(
            QStringLiteral("cannot read the answers file %1: %2").arg(path, file.errorString()));
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return failed(QStringLiteral("the answers file %1 is not valid JSON (offset %2): %3")
                          .arg(path)
                          .arg(parseError.offset)
                          .arg(parseError.errorString()));
    if (!document.isArray())
        return failed(QStringLiteral("the answers file %1 does not hold a JSON array").arg(path));
    return std::make_unique<ScriptedPrompter>(document.array(), transcript);
}

QStringList ScriptedPrompter::errors() const
{
    QMutexLocker lock(&m_mutex);
    return m_errors;
}

bool ScriptedPrompter::hasError() const
{
    QMutexLocker lock(&m_mutex);
    return !m_errors.isEmpty();
}

qsizetype ScriptedPrompter::remainingAnswers() const
{
    QMutexLocker lock(&m_mutex);
    return m_answers.size() - m_next;
}

QStringList ScriptedPrompter::unusedAnswers() const
{
    QMutexLocker lock(&m_mutex);
    QStringList lines;
    // After a mismatch later prompts take no answers: those are already explained.
    if (!m_errors.isEmpty())
        return lines;
    for (qsizetype i = m_next; i < m_answers.size(); ++i) {
        QString line = QStringLiteral("answer %1 %2 was not taken by any window")
                           .arg(i + 1)
                           .arg(compact(m_answers.at(i)));
        if (m_answers.at(i) == QJsonValue(QJsonObject{{kCancel, true}}))
            line +=
                QStringLiteral(" (a progress window is stopped with {\"progress\": \"cancel\"})");
        lines.append(line);
    }
    return lines;
}

void ScriptedPrompter::fail(const QString& prompt, const QString& reason)
{
    if (m_current.isUndefined())
        m_errors.append(QStringLiteral("%1: %2").arg(prompt, reason));
    else
        m_errors.append(QStringLiteral("answer %1 %2 does not fit %3: %4")
                            .arg(m_next)
                            .arg(compact(m_current), prompt, reason));
}

std::optional<QJsonObject> ScriptedPrompter::take(const QString& prompt, const QStringList& keys)
{
    m_current = QJsonValue(QJsonValue::Undefined);
    // After a mismatch the script no longer lines up with the prompts: stop the action quietly.
    if (!m_errors.isEmpty())
        return std::nullopt;
    if (m_next >= m_answers.size()) {
        fail(prompt, QStringLiteral("no answer left (%1 given)").arg(m_answers.size()));
        return std::nullopt;
    }
    m_current = m_answers.at(m_next++);
    if (!m_current.isObject()) {
        fail(prompt, QStringLiteral("an answer is a JSON object"));
        return std::nullopt;
    }
    const QJsonObject answer = m_current.toObject();
    if (answer.contains(kCancel)) {
        if (answer.size() != 1 || answer.value(kCancel) != QJsonValue(true))
            fail(prompt, QStringLiteral("a cancel answer is exactly {\"cancel\": true}"));
        return std::nullopt;
    }
    for (auto it = answer.begin(); it != answer.end(); ++it) {
        if (!keys.contains(it.key())) {
            fail(prompt, QStringLiteral("unexpected key %1 (expected %2)")
                             .arg(quoted(it.key()), keys.join(QStringLiteral(", "))));
            return std::nullopt;
        }
    }
    return answer;
}

int ScriptedPrompter::alert(const AlertRequest& request)
{
    if (m_transcript)
        m_transcript->recordAlert(request);
    QMutexLocker lock(&m_mutex);
    const QString prompt = QStringLiteral("the alert %1").arg(quoted(request.message));
    const auto answer = take(prompt, {QStringLiteral("button")});
    if (!answer)
        return kAlertDismissed;
    const int shown = qMax<int>(1, static_cast<int>(request.buttons.size()));
    const std::optional<int> button = wholeNumber(answer->value(QStringLiteral("button")));
    if (!button || *button < kAlertFirstButton || *button >= kAlertFirstButton + shown) {
        fail(prompt, QStringLiteral("the alert shows buttons %1 to %2")
                         .arg(kAlertFirstButton)
                         .arg(kAlertFirstButton + shown - 1));
        return kAlertDismissed;
    }
    return *button;
}

std::optional<SavePanelResult> ScriptedPrompter::savePanel(const SavePanelRequest& request)
{
    if (m_transcript)
        m_transcript->recordSavePanel(request);
    QMutexLocker lock(&m_mutex);
    const QString prompt = QStringLiteral("the save panel");
    QStringList keys{QStringLiteral("path")};
    if (request.accessory == SavePanelRequest::Accessory::Password)
        keys.append(QStringLiteral("password"));
    if (request.accessory == SavePanelRequest::Accessory::TypeChooser)
        keys.append(QStringLiteral("type"));
    const auto answer = take(prompt, keys);
    if (!answer)
        return std::nullopt;

    const QJsonValue path = answer->value(QStringLiteral("path"));
    if (!path.isString() || !QDir::isAbsolutePath(path.toString())) {
        fail(prompt, QStringLiteral("\"path\" must be an absolute path"));
        return std::nullopt;
    }
    SavePanelResult result;
    result.path = QDir::cleanPath(path.toString());
    if (answer->contains(QStringLiteral("password"))) {
        const QJsonValue password = answer->value(QStringLiteral("password"));
        if (!password.isString()) {
            fail(prompt, QStringLiteral("\"password\" must be a string"));
            return std::nullopt;
        }
        result.password = password.toString();
    }
    if (request.accessory == SavePanelRequest::Accessory::TypeChooser) {
        result.type = request.selectedType;
        if (answer->contains(QStringLiteral("type"))) {
            const std::optional<int> type = wholeNumber(answer->value(QStringLiteral("type")));
            if (!type || *type < 0 || *type >= request.types.size()) {
                fail(prompt,
                     QStringLiteral("\"type\" must be 0 to %1").arg(request.types.size() - 1));
                return std::nullopt;
            }
            result.type = *type;
        }
    }
    return result;
}

std::optional<QStringList> ScriptedPrompter::openPanel(const OpenPanelRequest& request)
{
    if (m_transcript)
        m_transcript->recordOpenPanel(request);
    QMutexLocker lock(&m_mutex);
    const QString prompt = QStringLiteral("the open panel");
    const auto answer = take(prompt, {QStringLiteral("paths")});
    if (!answer)
        return std::nullopt;
    const QJsonValue value = answer->value(QStringLiteral("paths"));
    if (!value.isArray() || value.toArray().isEmpty()) {
        fail(prompt, QStringLiteral("\"paths\" must be a non-empty array of absolute paths"));
        return std::nullopt;
    }
    const QJsonArray array = value.toArray();
    if (array.size() > 1 && !request.allowsMultipleSelection) {
        fail(prompt, QStringLiteral("the panel chooses one item"));
        return std::nullopt;
    }
    QStringList paths;
    for (const QJsonValue& item : array) {
        const QString path = item.toString();
        if (!item.isString() || !QDir::isAbsolutePath(path)) {
            fail(prompt, QStringLiteral("\"paths\" must hold absolute paths"));
            return std::nullopt;
        }
        const QFileInfo info(path);
        if (!info.exists()) {
            fail(prompt, QStringLiteral("%1 does not exist").arg(path));
            return std::nullopt;
        }
        if (info.isDir() ? !request.canChooseDirectories : !request.canChooseFiles) {
            fail(
                prompt,
                QStringLiteral("the panel does not choose %1 (%2)")
                    .arg(info.isDir() ? QStringLiteral("folders") : QStringLiteral("files"), path));
            return std::nullopt;
        }
        paths.append(QDir::cleanPath(path));
    }
    return paths;
}

std::optional<QString> ScriptedPrompter::askName(const NameRequest& request)
{
    if (m_transcript)
        m_transcript->recordNameRequest(request);
    QMutexLocker lock(&m_mutex);
    const QString prompt = QStringLiteral("the naming window");
    const auto answer = take(prompt, {QStringLiteral("text")});
    if (!answer)
        return std::nullopt;
    const QJsonValue text = answer->value(QStringLiteral("text"));
    if (!text.isString()) {
        fail(prompt, QStringLiteral("\"text\" must be a string"));
        return std::nullopt;
    }
    if (request.required && isBlank(text.toString())) {
        fail(prompt, QStringLiteral("OK is disabled while the name is blank"));
        return std::nullopt;
    }
    return text.toString();
}

std::optional<qsizetype> ScriptedPrompter::choosePaletteRow(const PaletteRequest& request)
{
    if (m_transcript)
        m_transcript->recordPalette(request);
    QMutexLocker lock(&m_mutex);
    const QString prompt = QStringLiteral("the palette");
    const auto answer = take(prompt, {QStringLiteral("filter"), QStringLiteral("row")});
    if (!answer)
        return std::nullopt;
    const QJsonValue filter = answer->value(QStringLiteral("filter"));
    if (!filter.isString() && !filter.isUndefined()) {
        fail(prompt, QStringLiteral("\"filter\" must be a string"));
        return std::nullopt;
    }
    std::optional<int> row = 0;
    if (answer->contains(QStringLiteral("row")))
        row = wholeNumber(answer->value(QStringLiteral("row")));
    const QList<qsizetype> left = request.matching(filter.toString());
    if (!row || *row < 0 || *row >= left.size()) {
        fail(prompt, QStringLiteral("%1 rows are left for %2: no row %3")
                         .arg(left.size())
                         .arg(quoted(filter.toString()))
                         .arg(answer->value(QStringLiteral("row")).toInteger()));
        return std::nullopt;
    }
    return left.at(*row);
}

std::optional<EmbedResult> ScriptedPrompter::askEmbed(const EmbedRequest& request)
{
    if (m_transcript)
        m_transcript->recordEmbedRequest(request);
    QMutexLocker lock(&m_mutex);
    const QString prompt = QStringLiteral("the embed window");
    const auto answer = take(prompt, {QStringLiteral("name"), QStringLiteral("mode")});
    if (!answer)
        return std::nullopt;
    EmbedResult result{request.name, request.mode};
    if (answer->contains(QStringLiteral("name"))) {
        const QJsonValue name = answer->value(QStringLiteral("name"));
        if (!name.isString()) {
            fail(prompt, QStringLiteral("\"name\" must be a string"));
            return std::nullopt;
        }
        result.name = name.toString();
    }
    if (isBlank(result.name)) {
        fail(prompt, QStringLiteral("OK is disabled while the name is blank"));
        return std::nullopt;
    }
    if (answer->contains(QStringLiteral("mode"))) {
        const std::optional<int> mode = wholeNumber(answer->value(QStringLiteral("mode")));
        if (!mode || (*mode != 0 && *mode != 1)) {
            fail(prompt, QStringLiteral("\"mode\" must be 0 or 1"));
            return std::nullopt;
        }
        result.mode = *mode;
    }
    return result;
}

ColorPick ScriptedPrompter::pickColor(const ColorPickRequest& request)
{
    const QString prompt = request.picker == ColorPicker::Desktop
                               ? QStringLiteral("the desktop's colour picker")
                               : QStringLiteral("the magnifier");
    ColorPick pick;
    {
        QMutexLocker lock(&m_mutex);
        const QJsonValue unavailable(QJsonObject{{kUnavailable, true}});
        if (m_errors.isEmpty() && m_next < m_answers.size() &&
            m_answers.at(m_next) == unavailable) {
            ++m_next;
            pick.status = ColorPick::Status::Unavailable;
        }
    }
    if (pick.status == ColorPick::Status::Unavailable) {
        if (m_transcript)
            m_transcript->recordColorPick(request.picker, pick);
        return pick;
    }
    // Outside the lock: the notice is a prompt of its own and takes the next answer.
    if (request.beforeOpening)
        request.beforeOpening();
    if (m_transcript)
        m_transcript->recordColorPanel(request.picker);

    {
        QMutexLocker lock(&m_mutex);
        const auto answer = take(prompt, {QStringLiteral("color"), QStringLiteral("rgb")});
        if (!answer)
            return pick;
        if (answer->size() != 1) {
            fail(prompt, QStringLiteral("give either \"color\" or \"rgb\""));
            return pick;
        }
        if (answer->contains(QStringLiteral("color"))) {
            static const QRegularExpression hex(QStringLiteral("^#[0-9A-Fa-f]{6}$"));
            const QJsonValue color = answer->value(QStringLiteral("color"));
            if (!color.isString() || !hex.match(color.toString()).hasMatch()) {
                fail(prompt, QStringLiteral("\"color\" must be #RRGGBB"));
                return pick;
            }
            pick.color = QColor::fromString(color.toString());
        } else {
            const QJsonValue rgb = answer->value(QStringLiteral("rgb"));
            const QJsonArray components = rgb.toArray();
            const auto inRange = [](const QJsonValue& v) {
                return v.isDouble() && v.toDouble() >= 0 && v.toDouble() <= 1;
            };
            if (!rgb.isArray() || components.size() != 3 ||
                !std::all_of(components.begin(), components.end(), inRange)) {
                fail(prompt, QStringLiteral("\"rgb\" must be three numbers from 0 to 1"));
                return pick;
            }
            pick.color =
                ColorPick::fromComponents(components.at(0).toDouble(), components.at(1).toDouble(),
                                          components.at(2).toDouble());
        }
        pick.status = ColorPick::Status::Picked;
    }
    if (m_transcript)
        m_transcript->recordColorPick(request.picker, pick);
    return pick;
}

void ScriptedPrompter::progress(const ProgressEvent& event)
{
    if (m_transcript)
        m_transcript->recordProgress(event);
    QMutexLocker lock(&m_mutex);
    switch (event.state) {
    case ProgressEvent::State::Open:
        m_onCancel = event.onCancel;
        break;
    case ProgressEvent::State::Percent:
        break;
    case ProgressEvent::State::Success:
        m_onCancel = nullptr;
        // The real window closes itself a second later; nobody needs to wait for that here.
        if (event.onClosed)
            Dispatch::enterForeground(event.onClosed);
        return;
    case ProgressEvent::State::Close:
        m_onCancel = nullptr;
        return;
    }

    if (!m_errors.isEmpty() || m_next >= m_answers.size())
        return;
    const QJsonValue next = m_answers.at(m_next);
    if (next != QJsonValue(QJsonObject{{QStringLiteral("progress"), kCancel}}))
        return;
    ++m_next;
    // As the Cancel button: the handler runs once, later, on the main thread.
    if (auto onCancel = std::exchange(m_onCancel, nullptr))
        Dispatch::enterForeground(std::move(onCancel));
}

} // namespace pallstone
