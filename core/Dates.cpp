#include "Dates.h"

#include <QLocale>
#include <QTimeZone>

#include <cstdlib>

namespace pallstone {

namespace {

// Qt's own format strings read the same letters differently ("z" is milliseconds, "h" depends on
// whether "AP" appears, "E" is unknown), so the Unicode pattern is interpreted here field by field.

QString padded(qint64 value, int width)
{
    const QString digits = QString::number(std::llabs(value));
    const QString sign = value < 0 ? QStringLiteral("-") : QString();
    return sign + digits.rightJustified(width, u'0');
}

// "+HHmm" (separator empty) or "+HH:mm"; seconds are dropped, no zone has them today.
QString offsetText(int offsetSeconds, const QString& separator, bool minutesOptional)
{
    const QChar sign = offsetSeconds < 0 ? u'-' : u'+';
    const int total = std::abs(offsetSeconds) / 60;
    const int hours = total / 60;
    const int minutes = total % 60;
    if (minutesOptional && minutes == 0)
        return sign + padded(hours, 2);
    return sign + padded(hours, 2) + separator + padded(minutes, 2);
}

QString gmtText(int offsetSeconds, bool longForm)
{
    if (offsetSeconds == 0)
        return QStringLiteral("GMT");
    if (longForm)
        return QStringLiteral("GMT") + offsetText(offsetSeconds, QStringLiteral(":"), false);
    const QChar sign = offsetSeconds < 0 ? u'-' : u'+';
    const int total = std::abs(offsetSeconds) / 60;
    QString text = QStringLiteral("GMT") + sign + QString::number(total / 60);
    if (total % 60 != 0)
        text += u':' + padded(total % 60, 2);
    return text;
}

QString yearText(int year, int count)
{
    if (count == 2)
        return padded(std::abs(year) % 100, 2);
    return padded(year, count);
}

QString monthText(const QLocale& locale, int month, int count, bool standalone)
{
    if (count <= 2)
        return padded(month, count);
    const QLocale::FormatType type = count == 3   ? QLocale::ShortFormat
                                     : count == 4 ? QLocale::LongFormat
                                                  : QLocale::NarrowFormat;
    return standalone ? locale.standaloneMonthName(month, type) : locale.monthName(month, type);
}

QString weekdayText(const QLocale& locale, int weekday, int count, bool standalone)
{
    const QLocale::FormatType type = count <= 3   ? QLocale::ShortFormat
                                     : count == 4 ? QLocale::LongFormat
                                                  : QLocale::NarrowFormat;
    return standalone ? locale.standaloneDayName(weekday, type) : locale.dayName(weekday, type);
}

QString field(const QDateTime& local, const QLocale& locale, char16_t letter, int count)
{
    const QDate date = local.date();
    const QTime time = local.time();
    switch (letter) {
    case u'G': {
        const bool ad = date.year() > 0;
        if (count == 4)
            return ad ? QStringLiteral("Anno Domini") : QStringLiteral("Before Christ");
        if (count == 5)
            return ad ? QStringLiteral("A") : QStringLiteral("B");
        return ad ? QStringLiteral("AD") : QStringLiteral("BC");
    }
    case u'y': // year of the era: Qt has no year 0, 1 BC is -1
        return yearText(std::abs(date.year()), count);
    case u'u':
        return padded(date.year(), count);
    case u'Y': {
        int weekYear = 0;
        date.weekNumber(&weekYear);
        return yearText(weekYear, count);
    }
    case u'Q':
    case u'q': {
        const int quarter = (date.month() - 1) / 3 + 1;
        return count <= 2 ? padded(quarter, count) : u'Q' + QString::number(quarter);
    }
    case u'M':
        return monthText(locale, date.month(), count, false);
    case u'L':
        return monthText(locale, date.month(), count, true);
    case u'w':
        return padded(date.weekNumber(), count);
    case u'd':
        return padded(date.day(), count);
    case u'D':
        return padded(date.dayOfYear(), count);
    case u'F':
        return padded((date.day() - 1) / 7 + 1, count);
    case u'E':
        return weekdayText(locale, date.dayOfWeek(), count, false);
    case u'e':
    case u'c':
        if (count <= 2) {
            const int first = int(locale.firstDayOfWeek());
            return padded((date.dayOfWeek() - first + 7) % 7 + 1, count);
        }
        return weekdayText(locale, date.dayOfWeek(), count, letter == u'c');
    case u'a':
        return time.hour() < 12 ? locale.amText() : locale.pmText();
    case u'h':
        return padded(time.hour() % 12 == 0 ? 12 : time.hour() % 12, count);
    case u'H':
        return padded(time.hour(), count);
    case u'K':
        return padded(time.hour() % 12, count);
    case u'k':
        return padded(time.hour() == 0 ? 24 : time.hour(), count);
    case u'm':
        return padded(time.minute(), count);
    case u's':
        return padded(time.second(), count);
    case u'S': {
        // Fractional seconds: the leading digits of the milliseconds, padded with zeros.
        const QString millis = padded(time.msec(), 3);
        return count <= 3 ? millis.left(count) : millis.leftJustified(count, u'0');
    }
    case u'A':
        return padded(time.msecsSinceStartOfDay(), count);
    case u'z':
        if (count >= 4) {
            const QString name = local.timeZone().displayName(local, QTimeZone::LongName, locale);
            if (!name.isEmpty())
                return name;
        }
        return local.timeZoneAbbreviation();
    case u'Z':
        if (count == 4)
            return gmtText(local.offsetFromUtc(), true);
        if (count == 5)
            return local.offsetFromUtc() == 0
                       ? QStringLiteral("Z")
                       : offsetText(local.offsetFromUtc(), QStringLiteral(":"), false);
        return offsetText(local.offsetFromUtc(), QString(), false);
    case u'O':
        return gmtText(local.offsetFromUtc(), count >= 4);
    case u'x':
    case u'X': {
        const int offset = local.offsetFromUtc();
        if (letter == u'X' && offset == 0)
            return QStringLiteral("Z");
        const QString separator = count % 2 == 1 && count > 1 ? QStringLiteral(":") : QString();
        return offsetText(offset, separator, count == 1);
    }
    default:
        return QString(count, QChar(letter));
    }
}

} // namespace

QString Dates::stringWithDateFormat(const QDateTime& date, const QString& unicodePattern)
{
    if (!date.isValid())
        return {};
    const QDateTime local = date.toLocalTime();
    const QLocale locale = QLocale::system();
    QString out;
    const qsizetype size = unicodePattern.size();
    for (qsizetype i = 0; i < size;) {
        const QChar c = unicodePattern.at(i);
        if (c == u'\'') {
            if (i + 1 < size && unicodePattern.at(i + 1) == u'\'') {
                out += u'\'';
                i += 2;
                continue;
            }
            // Quoted literal up to the closing apostrophe (or the end); '' inside is one.
            for (++i; i < size; ++i) {
                if (unicodePattern.at(i) == u'\'') {
                    if (i + 1 < size && unicodePattern.at(i + 1) == u'\'') {
                        out += u'\'';
                        ++i;
                        continue;
                    }
                    ++i;
                    break;
                }
                out += unicodePattern.at(i);
            }
            continue;
        }
        if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z')) {
            qsizetype run = 1;
            while (i + run < size && unicodePattern.at(i + run) == c)
                ++run;
            out += field(local, locale, c.unicode(), int(run));
            i += run;
            continue;
        }
        out += c;
        ++i;
    }
    return out;
}

int Dates::year(const QDateTime& date)
{
    return date.isValid() ? date.toLocalTime().date().year() : 0;
}

int Dates::month(const QDateTime& date)
{
    return date.isValid() ? date.toLocalTime().date().month() : 0;
}

int Dates::day(const QDateTime& date)
{
    return date.isValid() ? date.toLocalTime().date().day() : 0;
}

int Dates::hour(const QDateTime& date)
{
    return date.isValid() ? date.toLocalTime().time().hour() : 0;
}

int Dates::minute(const QDateTime& date)
{
    return date.isValid() ? date.toLocalTime().time().minute() : 0;
}

int Dates::second(const QDateTime& date)
{
    return date.isValid() ? date.toLocalTime().time().second() : 0;
}

} // namespace pallstone
