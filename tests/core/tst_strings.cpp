#include "Clipboard.h"
#include "Dates.h"
#include "Launcher.h"
#include "Services.h"
#include "Strings.h"

#include <QLocale>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

using namespace pallstone;
using namespace Qt::StringLiterals;

namespace {

class RecordingClipboard final : public Clipboard
{
public:
    bool setText(const QString& text) override
    {
        m_text = text;
        ++m_writes;
        return true;
    }
    QString text() const override { return m_text; }

    QString m_text;
    int m_writes = 0;
};

class RecordingLauncher final : public Launcher
{
public:
    bool openWithApplication(const QString&, const QStringList&) override { return false; }
    bool openTerminal(const QString&, TerminalMode, bool) override { return false; }
    bool openDefault(const QUrl& url) override
    {
        m_opened.append(url);
        return true;
    }
    bool revealInFileManager(const QStringList&) override { return false; }
    bool runCommand(const QStringList&, const QString&) override { return false; }
    bool launchSettingsApplication() override { return false; }

    QList<QUrl> m_opened;
};

} // namespace

class TestStrings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup()
    {
        Services::setClipboard(nullptr);
        Services::setLauncher(nullptr);
    }

    void validity_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<bool>("blank");
        QTest::newRow("missing string is not valid") << QString() << false << true;
        QTest::newRow("empty") << u""_s << false << true;
        QTest::newRow("three spaces") << u"   "_s << false << true;
        QTest::newRow("line breaks and tabs") << u"\n\t\r\n"_s << false << true;
        QTest::newRow("the text a missing object formats to") << u"(null)"_s << false << false;
        QTest::newRow("zero is a value") << u"0"_s << true << false;
        QTest::newRow("padded word") << u"  word \n"_s << true << false;
    }
    void validity()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(bool, blank);
        QCOMPARE(Strings::isValid(text), valid);
        QCOMPARE(Strings::isBlank(text), blank);
    }

    void missingStringEqualsNothing()
    {
        QVERIFY(Strings::is(u"a"_s, u"a"_s));
        QVERIFY(!Strings::is(u"a"_s, u"A"_s));
        QVERIFY(!Strings::is(QString(), u""_s));
        QVERIFY(!Strings::is(u""_s, QString()));
    }

    void unwrap_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("two double quotes give empty") << u"\"\""_s << u""_s;
        QTest::newRow("double quoted") << u"\"a b\""_s << u"a b"_s;
        QTest::newRow("single quoted") << u"'a'"_s << u"a"_s;
        QTest::newRow("mixed quotes stay") << u"\"a'"_s << u"\"a'"_s;
        QTest::newRow("lone quote stays") << u"\""_s << u"\""_s;
        QTest::newRow("inner quotes stay") << u"a\"b\"c"_s << u"a\"b\"c"_s;
    }
    void unwrap()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(Strings::unwrap(text), expected);
    }

    void compareVersion_data()
    {
        QTest::addColumn<QString>("receiver");
        QTest::addColumn<QString>("other");
        QTest::addColumn<int>("expected");
        QTest::newRow("numeric not textual order") << u"2.10.0"_s << u"2.9.9"_s << 1;
        QTest::newRow("missing component is zero") << u"2.3"_s << u"2.3.0"_s << 0;
        QTest::newRow("missing component on the right") << u"2.3.0.1"_s << u"2.3"_s << 1;
        QTest::newRow("older") << u"1.9"_s << u"1.10"_s << -1;
        QTest::newRow("leading integer of a suffixed component") << u"2.3b"_s << u"2.3"_s << 0;
        QTest::newRow("non-numeric component is zero") << u"2.beta"_s << u"2.0"_s << 0;
        QTest::newRow("missing receiver compares as same") << QString() << u"9.9"_s << 0;
        QTest::newRow("huge component does not overflow")
            << u"99999999999999999999999"_s << u"1"_s << 1;
    }
    void compareVersion()
    {
        QFETCH(QString, receiver);
        QFETCH(QString, other);
        QFETCH(int, expected);
        QCOMPARE(Strings::compareVersion(receiver, other), expected);
    }

    void uuidIsUpperCaseAndFresh()
    {
        static const QRegularExpression form(
            u"^[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}$"_s);
        QSet<QString> seen;
        for (int i = 0; i < 50; ++i) {
            const QString id = Strings::uuid();
            QVERIFY2(form.match(id).hasMatch(), qPrintable(id));
            seen.insert(id);
        }
        QCOMPARE(seen.size(), 50);
    }

    void appendLineAndReplaceLeaveTheReceiver()
    {
        const QString key = u"key"_s;
        QCOMPARE(Strings::append(key, u" Introduce"_s), u"key Introduce"_s);
        QCOMPARE(key, u"key"_s);
        QCOMPARE(Strings::line(key, u" x"_s), u"key x\n"_s);
        QCOMPARE(Strings::line(key), u"key\n"_s);
        QCOMPARE(Strings::replace(u"a-b-c"_s, u"-"_s, u"+"_s), u"a+b+c"_s);
        // QString::replace with an empty target would insert between every character.
        QCOMPARE(Strings::replace(u"abc"_s, u""_s, u"x"_s), u"abc"_s);
    }

    void copiedPathKeepsItsSpaces()
    {
        RecordingClipboard clipboard;
        Services::setClipboard(&clipboard);
        QVERIFY(Strings::copyToPasteboard(u" notes \n"_s));
        QCOMPARE(clipboard.m_text, u" notes "_s);
        QVERIFY(Strings::copyToPasteboard(u"a\r\n"_s));
        QCOMPARE(clipboard.m_text, u"a"_s);
        QCOMPARE(Strings::paste(), u"a"_s);
    }

    void missingSeamsFailWithoutCrashing()
    {
        QVERIFY(!Strings::copyToPasteboard(u"x"_s));
        const QString pasted = Strings::paste();
        QVERIFY(!pasted.isNull());
        QVERIFY(pasted.isEmpty());
        QVERIFY(!Strings::openURL(u"https://example.org/"_s));
    }

    void openURLGoesThroughTheLauncher()
    {
        RecordingLauncher launcher;
        Services::setLauncher(&launcher);
        QVERIFY(Strings::openURL(u"https://example.org/a?b=c"_s));
        QVERIFY(!Strings::openURL(u""_s));
        QVERIFY(!Strings::openURL(u"http://exa mple.org/"_s));
        QCOMPARE(launcher.m_opened, QList<QUrl>{QUrl(u"https://example.org/a?b=c"_s)});
    }

    void unicodePatterns_data()
    {
        // Local date and time, so the fields do not depend on the machine's time zone.
        const QDateTime morning(QDate(2024, 3, 5), QTime(7, 8, 9, 123));
        const QDateTime midnight(QDate(2024, 12, 31), QTime(0, 30, 0));
        const QDateTime noon(QDate(2024, 1, 1), QTime(12, 0, 0));
        const QLocale locale = QLocale::system();
        QTest::addColumn<QDateTime>("date");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("expected");
        QTest::newRow("the descriptor's date form")
            << morning << u"yyyy-MM-dd HH:mm:ss"_s << u"2024-03-05 07:08:09"_s;
        QTest::newRow("unpadded fields") << morning << u"y/M/d H:m:s"_s << u"2024/3/5 7:8:9"_s;
        QTest::newRow("two-digit year") << morning << u"yy"_s << u"24"_s;
        QTest::newRow("h is 12-hour without a") << midnight << u"h:mm"_s << u"12:30"_s;
        QTest::newRow("K and k") << noon << u"K k"_s << u"0 12"_s;
        QTest::newRow("k at midnight") << midnight << u"k"_s << u"24"_s;
        QTest::newRow("am marker from the locale")
            << morning << u"h a"_s << (u"7 "_s + locale.amText());
        QTest::newRow("fractions are not milliseconds padded")
            << morning << u"S SSS"_s << u"1 123"_s;
        QTest::newRow("day of year") << morning << u"D"_s << u"65"_s;
        QTest::newRow("quoted literal and doubled apostrophe")
            << morning << u"'o''clock' H ''"_s << u"o'clock 7 '"_s;
        QTest::newRow("month names from the locale")
            << morning << u"MMM MMMM"_s
            << (locale.monthName(3, QLocale::ShortFormat) + u' ' + locale.monthName(3));
        QTest::newRow("weekday names from the locale")
            << morning << u"EEE EEEE"_s
            << (locale.dayName(2, QLocale::ShortFormat) + u' ' + locale.dayName(2));
        QTest::newRow("invalid date is empty") << QDateTime() << u"yyyy"_s << u""_s;
    }
    void unicodePatterns()
    {
        QFETCH(QDateTime, date);
        QFETCH(QString, pattern);
        QFETCH(QString, expected);
        QCOMPARE(Dates::stringWithDateFormat(date, pattern), expected);
    }

    void zoneOffsetIsNotMilliseconds()
    {
        const QDateTime date(QDate(2024, 3, 5), QTime(7, 8, 9, 123));
        const int offset = date.offsetFromUtc();
        const QString sign = offset < 0 ? u"-"_s : u"+"_s;
        const int minutes = std::abs(offset) / 60;
        const QString expected = sign + QString::number(minutes / 60).rightJustified(2, u'0') +
                                 QString::number(minutes % 60).rightJustified(2, u'0');
        QCOMPARE(Dates::stringWithDateFormat(date, u"Z"_s), expected);
    }

    void componentsAreLocal()
    {
        const QDateTime local(QDate(2023, 11, 12), QTime(13, 14, 15));
        const QDateTime utc = local.toUTC();
        QCOMPARE(Dates::year(utc), 2023);
        QCOMPARE(Dates::month(utc), 11);
        QCOMPARE(Dates::day(utc), 12);
        QCOMPARE(Dates::hour(utc), 13);
        QCOMPARE(Dates::minute(utc), 14);
        QCOMPARE(Dates::second(utc), 15);
        QCOMPARE(Dates::year(QDateTime()), 0);
    }
};

QTEST_GUILESS_MAIN(TestStrings)
#include "tst_strings.moc"
