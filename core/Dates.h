#pragma once

#include <QDateTime>
#include <QString>

namespace pallstone {

// Date formatting and calendar components in the local time zone.
class Dates final
{
public:
    // Formats with a Unicode (CLDR) date pattern in the local time zone, names in the system
    // locale. Supported fields: G y Y u Q q M L w d D F E e c a h H K k m s S A z Z O x X. Text in
    // apostrophes is literal ('' is one apostrophe); other letters are copied as they are. An
    // invalid date gives the empty string.
    static QString stringWithDateFormat(const QDateTime& date, const QString& unicodePattern);

    // Calendar components in the local time zone; 0 for an invalid date.
    static int year(const QDateTime& date);
    static int month(const QDateTime& date);
    static int day(const QDateTime& date);
    static int hour(const QDateTime& date);
    static int minute(const QDateTime& date);
    static int second(const QDateTime& date);

private:
    Dates() = delete;
};

} // namespace pallstone
