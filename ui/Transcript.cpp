#include "Transcript.h"

#include "FileName.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QMutexLocker>

namespace pallstone {

bool Transcript::open(const QString& path)
{
    QMutexLocker lock(&m_mutex);
    if (m_file.isOpen())
        m_file.close();
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        m_error = m_file.errorString();
        return false;
    }
    m_error.clear();
    return true;
}

QString Transcript::errorString() const
{
    QMutexLocker lock(&m_mutex);
    return m_error;
}

void Transcript::record(const QJsonObject& event)
{
    QMutexLocker lock(&m_mutex);
    m_events.append(event);
    if (!m_file.isOpen())
        return;
    QByteArray line = QJsonDocument(event).toJson(QJsonDocument::Compact);
    line.append('\n');
    if (m_file.write(line) != line.size() || !m_file.flush())
        m_error = m_file.errorString();
}

QList<QJsonObject> Transcript::events() const
{
    QMutexLocker lock(&m_mutex);
    return m_events;
}

QString Transcript::styleName(AlertRequest::Style style)
{
    switch (style) {
    case AlertRequest::Style::Warning:
        return QStringLiteral("warning");
    case AlertRequest::Style::Critical:
        return QStringLiteral("critical");
    case AlertRequest::Style::Informational:
        break;
    }
    return QStringLiteral("informational");
}

QString Transcript::stateName(ProgressEvent::State state)
{
    switch (state) {
    case ProgressEvent::State::Percent:
        return QStringLiteral("percent");
    case ProgressEvent::State::Success:
        return QStringLiteral("success");
    case ProgressEvent::State::Close:
        return QStringLiteral("close");
    case ProgressEvent::State::Open:
        break;
    }
    return QStringLiteral("open");
}

void Transcript::recordNotification(const QString& summary, const QString& body)
{
    record({{QStringLiteral("event"), QStringLiteral("notification")},
            {QStringLiteral("summary"), summary},
            {QStringLiteral("body"), body}});
}

void Transcript::recordAlert(const AlertRequest& request)
{
    record({{QStringLiteral("event"), QStringLiteral("alert")},
            {QStringLiteral("style"), styleName(request.style)},
            {QStringLiteral("message"), request.message},
            {QStringLiteral("informative"), request.informative},
            {QStringLiteral("buttons"), QJsonArray::fromStringList(request.buttons)}});
}

void Transcript::recordSavePanel(const SavePanelRequest& request)
{
    QString accessory = QStringLiteral("none");
    if (request.accessory == SavePanelRequest::Accessory::Password)
        accessory = QStringLiteral("password");
    else if (request.accessory == SavePanelRequest::Accessory::TypeChooser)
        accessory = QStringLiteral("type");
    QJsonObject event{{QStringLiteral("event"), QStringLiteral("panel")},
                      {QStringLiteral("kind"), QStringLiteral("save")},
                      {QStringLiteral("title"), request.title},
                      {QStringLiteral("message"), request.message},
                      {QStringLiteral("directory"), request.directory},
                      {QStringLiteral("fileName"), request.fileName},
                      {QStringLiteral("prompt"), request.prompt},
                      {QStringLiteral("accessory"), accessory}};
    if (request.accessory == SavePanelRequest::Accessory::TypeChooser) {
        event.insert(QStringLiteral("types"), QJsonArray::fromStringList(request.types));
        event.insert(QStringLiteral("selectedType"), request.selectedType);
    }
    record(event);
}

void Transcript::recordOpenPanel(const OpenPanelRequest& request)
{
    record({{QStringLiteral("event"), QStringLiteral("panel")},
            {QStringLiteral("kind"), QStringLiteral("open")},
            {QStringLiteral("title"), request.title},
            {QStringLiteral("message"), request.message},
            {QStringLiteral("prompt"), request.prompt},
            {QStringLiteral("directory"), request.directory},
            {QStringLiteral("canChooseFiles"), request.canChooseFiles},
            {QStringLiteral("canChooseDirectories"), request.canChooseDirectories},
            {QStringLiteral("allowsMultipleSelection"), request.allowsMultipleSelection},
            {QStringLiteral("fileTypes"), QJsonArray::fromStringList(request.fileTypes)}});
}

void Transcript::recordNameRequest(const NameRequest& request)
{
    record({{QStringLiteral("event"), QStringLiteral("panel")},
            {QStringLiteral("kind"), QStringLiteral("name")},
            {QStringLiteral("title"), request.title},
            {QStringLiteral("tip"), request.tip},
            {QStringLiteral("text"), request.text},
            {QStringLiteral("placeholder"), request.placeholder},
            {QStringLiteral("required"), request.required}});
}

void Transcript::recordEmbedRequest(const EmbedRequest& request)
{
    record({{QStringLiteral("event"), QStringLiteral("panel")},
            {QStringLiteral("kind"), QStringLiteral("embed")},
            {QStringLiteral("name"), request.name},
            {QStringLiteral("mode"), request.mode}});
}

void Transcript::recordPalette(const PaletteRequest& request)
{
    record({{QStringLiteral("event"), QStringLiteral("panel")},
            {QStringLiteral("kind"), QStringLiteral("palette")},
            {QStringLiteral("header"), request.header},
            {QStringLiteral("rows"), request.rows.size()}});
}

namespace {

QString pickerName(ColorPicker picker)
{
    return picker == ColorPicker::Desktop ? QStringLiteral("desktop") : QStringLiteral("magnifier");
}

} // namespace

void Transcript::recordColorPanel(ColorPicker picker)
{
    record({{QStringLiteral("event"), QStringLiteral("panel")},
            {QStringLiteral("kind"), QStringLiteral("color")},
            {QStringLiteral("picker"), pickerName(picker)}});
}

void Transcript::recordColorPick(ColorPicker picker, const ColorPick& pick)
{
    QJsonObject event{{QStringLiteral("event"), QStringLiteral("color")},
                      {QStringLiteral("picker"), pickerName(picker)}};
    switch (pick.status) {
    case ColorPick::Status::Picked: {
        const QColor rgb = pick.color.toRgb();
        event.insert(QStringLiteral("status"), QStringLiteral("picked"));
        event.insert(QStringLiteral("rgb"), QJsonArray{rgb.redF(), rgb.greenF(), rgb.blueF()});
        break;
    }
    case ColorPick::Status::Cancelled:
        event.insert(QStringLiteral("status"), QStringLiteral("cancelled"));
        break;
    case ColorPick::Status::Unavailable:
        event.insert(QStringLiteral("status"), QStringLiteral("unavailable"));
        break;
    }
    record(event);
}

void Transcript::recordProgress(const ProgressEvent& event)
{
    QJsonObject line{{QStringLiteral("event"), QStringLiteral("progress")},
                     {QStringLiteral("state"), stateName(event.state)}};
    if (event.job != 0)
        line.insert(QStringLiteral("job"), qint64(event.job));
    if (event.state == ProgressEvent::State::Percent)
        line.insert(QStringLiteral("percent"), event.percent);
    if (event.state == ProgressEvent::State::Open || event.state == ProgressEvent::State::Success)
        line.insert(QStringLiteral("text"), event.text);
    record(line);
}

void Transcript::recordClipboard(const QString& text)
{
    QJsonObject event{{QStringLiteral("event"), QStringLiteral("clipboard")},
                      {QStringLiteral("text"), FileName::display(text)}};
    // JSON holds Unicode only: the exact bytes of a name that is not UTF-8 go beside the text.
    if (FileName::hasStrayBytes(text))
        event.insert(QStringLiteral("base64"),
                     QString::fromLatin1(FileName::encode(text).toBase64()));
    record(event);
}

void Transcript::recordLaunch(const QStringList& argv, const QString& workingDirectory)
{
    QJsonObject event{{QStringLiteral("event"), QStringLiteral("launch")},
                      {QStringLiteral("argv"), QJsonArray::fromStringList(argv)}};
    if (!workingDirectory.isEmpty())
        event.insert(QStringLiteral("cwd"), workingDirectory);
    record(event);
}

} // namespace pallstone
