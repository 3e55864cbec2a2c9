#include "Strings.h"

#include "Clipboard.h"
#include "Launcher.h"
#include "Services.h"

#include <QStringList>
#include <QUuid>

#include <limits>

namespace pallstone {

namespace {

// The leading integer of a version component, as C's strtol would read it: optional white space,
// an optional sign, then digits. Saturates instead of overflowing.
qint64 leadingInteger(QStringView component)
{
    qsizetype i = 0;
    while (i < component.size() && component.at(i).isSpace())
        ++i;
    bool negative = false;
    if (i < component.size() && (component.at(i) == u'+' || component.at(i) == u'-')) {
        negative = component.at(i) == u'-';
        ++i;
    }
    constexpr qint64 limit = std::numeric_limits<qint64>::max() / 10 - 9;
    qint64 value = 0;
    for (; i < component.size(); ++i) {
        const char16_t c = component.at(i).unicode();
        if (c < u'0' || c > u'9')
            break;
        if (value < limit)
            value = value * 10 + (c - u'0');
    }
    return negative ? -value : value;
}

} // namespace

bool Strings::isValid(const QString& text)
{
    return !text.isNull() && !isBlank(text) && text != QLatin1String("(null)");
}

bool Strings::isBlank(const QString& text)
{
    return text.trimmed().isEmpty();
}

QString Strings::trim(const QString& text)
{
    return text.trimmed();
}

bool Strings::is(const QString& text, const QString& other)
{
    return !text.isNull() && !other.isNull() && text == other;
}

QString Strings::unwrap(const QString& text)
{
    if (text.size() >= 2) {
        const QChar first = text.front();
        if ((first == u'"' || first == u'\'') && text.back() == first)
            return text.mid(1, text.size() - 2);
    }
    return text;
}

int Strings::compareVersion(const QString& receiver, const QString& other)
{
    if (receiver.isNull())
        return 0;
    const QList<QStringView> mine = QStringView(receiver).split(u'.');
    const QList<QStringView> theirs = QStringView(other).split(u'.');
    const qsizetype count = std::max(mine.size(), theirs.size());
    for (qsizetype i = 0; i < count; ++i) {
        const qint64 a = i < mine.size() ? leadingInteger(mine.at(i)) : 0;
        const qint64 b = i < theirs.size() ? leadingInteger(theirs.at(i)) : 0;
        if (a != b)
            return a < b ? -1 : 1;
    }
    return 0;
}

QString Strings::uuid()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
}

bool Strings::copyToPasteboard(const QString& text)
{
    QString copied = text;
    if (copied.endsWith(u'\n')) {
        copied.chop(1);
        if (copied.endsWith(u'\r'))
            copied.chop(1);
    }
    return Services::clipboard()->setText(copied);
}

QString Strings::paste()
{
    const QString text = Services::clipboard()->text();
    return text.isNull() ? QString::fromLatin1("") : text;
}

bool Strings::openURL(const QString& url)
{
    return openURL(QUrl(url, QUrl::StrictMode));
}

bool Strings::openURL(const QUrl& url)
{
    if (!url.isValid() || url.isEmpty())
        return false;
    return Services::launcher()->openDefault(url);
}

QString Strings::append(const QString& receiver, const QString& text)
{
    return receiver + text;
}

QString Strings::line(const QString& receiver, const QString& text)
{
    return receiver + text + u'\n';
}

QString Strings::replace(const QString& receiver, const QString& target, const QString& replacement)
{
    if (target.isEmpty())
        return receiver;
    return QString(receiver).replace(target, replacement);
}

} // namespace pallstone
