#include "Value.h"

#include <QTest>
#include <QTimeZone>

using namespace pallstone;

Q_DECLARE_METATYPE(pallstone::Value)

namespace {

Value dict(std::initializer_list<std::pair<QString, Value>> entries, bool isMutable = false)
{
    Value::Map map;
    for (const auto& [k, v] : entries)
        map.insert(k, v);
    return Value::dictionary(map, isMutable);
}

Value sample()
{
    return dict({
        {QStringLiteral("menu"), QStringLiteral("text")},
        {QStringLiteral("a"), dict({{QStringLiteral("b"), dict({{QStringLiteral("c"), 7}})}})},
        {QStringLiteral("a.b"), QStringLiteral("dotted")},
        {QStringLiteral("nil"), Value::null()},
        {QStringLiteral("real"), 3.7},
        {QStringLiteral("half"), 0.5},
        {QStringLiteral("list"), Value::array({1, 2}, false)},
        {QStringLiteral("mlist"), Value::array({1}, true)},
        {QStringLiteral("mdict"), dict({}, true)},
    });
}

} // namespace

class TestValue : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void keyPathsReachTheEntryTheyName_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<Value>("expected");
        const Value abc = dict({{QStringLiteral("c"), 7}});
        QTest::newRow("through a string is missing") << "menu.key" << QString() << Value();
        QTest::newRow("the string itself") << "menu" << QString() << Value(QStringLiteral("text"));
        QTest::newRow("dots are slashes") << "a.b.c" << QString() << Value(7);
        QTest::newRow("mixed separators") << "a.b/c" << QString() << Value(7);
        QTest::newRow("doubled separator") << "a//b/c" << QString() << Value(7);
        QTest::newRow("leading separator") << "/a/b/c" << QString() << Value(7);
        QTest::newRow("trailing separator gives the dictionary") << "a/b/" << QString() << abc;
        QTest::newRow("empty path") << "" << QString() << Value();
        QTest::newRow("only a separator") << "/" << QString() << Value();
        QTest::newRow("dotted key through the default separator is nested")
            << "a.b" << QString() << abc;
        QTest::newRow("dotted key with an explicit separator")
            << "a.b"
            << "/" << Value(QStringLiteral("dotted"));
        QTest::newRow("unknown key") << "zz" << QString() << Value();
        QTest::newRow("null marker returned as is") << "nil" << QString() << Value::null();
    }
    void keyPathsReachTheEntryTheyName()
    {
        QFETCH(QString, path);
        QFETCH(QString, separator);
        QFETCH(Value, expected);
        const Value got = sample().objectAtPath(path, separator);
        QCOMPARE(got.kind(), expected.kind());
        QVERIFY2(got == expected, qPrintable(got.description()));
    }

    void typedReadersTreatNullAsMissing()
    {
        const Value v = sample();
        QCOMPARE(v.boolAtPath(QStringLiteral("nil"), true), false); // not the fallback
        QVERIFY(v.numberAtPath(QStringLiteral("nil")).isMissing());
        QVERIFY(v.stringAtPath(QStringLiteral("nil")).isNull());
        QCOMPARE(v.stringAtPath(QStringLiteral("nil"), QStringLiteral("fb")), QStringLiteral("fb"));
        QVERIFY(v.arrayAtPath(QStringLiteral("nil")).isMissing());
        QCOMPARE(v.boolAtPath(QStringLiteral("absent"), true), true);
        QCOMPARE(v.boolAtPath(QStringLiteral("list"), true), true); // other kind: the fallback
    }

    void numbersAndStringsConvertAsTheReadersSay()
    {
        const Value v = sample();
        QCOMPARE(v.stringAtPath(QStringLiteral("real")), QStringLiteral("3"));
        QCOMPARE(v.boolAtPath(QStringLiteral("half")), false); // 0.5 reads false
        const Value s = dict({{QStringLiteral("n"), QStringLiteral("12.5")}});
        QCOMPARE(s.numberAtPath(QStringLiteral("n")).real(), 12.5);
    }

    void boolReadingOfStrings_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("expected");
        QTest::newRow("yes") << "yes" << true;
        QTest::newRow("True") << "True" << true;
        QTest::newRow("1") << "1" << true;
        QTest::newRow("Y") << "Y" << true;
        QTest::newRow("0") << "0" << false;
        QTest::newRow("no") << "no" << false;
        QTest::newRow("2") << "2" << false;
        QTest::newRow("empty") << "" << false;
    }
    void boolReadingOfStrings()
    {
        QFETCH(QString, text);
        QFETCH(bool, expected);
        const Value v = dict({{QStringLiteral("k"), text}});
        QCOMPARE(v.boolAtPath(QStringLiteral("k"), !expected), expected);
    }

    void mutableReadersAnswerOnlyForTheMutableForm()
    {
        const Value v = sample();
        QVERIFY(v.mutableArrayAtPath(QStringLiteral("list")).isMissing());
        QVERIFY(v.arrayAtPath(QStringLiteral("list")).isArray());
        QVERIFY(v.mutableArrayAtPath(QStringLiteral("mlist")).isArray());
        QVERIFY(v.mutableDictAtPath(QStringLiteral("a")).isMissing());
        QVERIFY(v.mutableDictAtPath(QStringLiteral("mdict")).isDictionary());
        QVERIFY(v.dictAtPath(QStringLiteral("mdict")).isDictionary());
        QVERIFY(Value(3).asMutableArray().isMissing());
        QVERIFY(v.value(QStringLiteral("list")).asMutableArray().isMissing());
        QVERIFY(v.value(QStringLiteral("a")).asMutableDictionary().isMutableDictionary());
    }

    void writingCreatesAndUpgradesIntermediateDictionaries()
    {
        Value empty = Value::dictionary();
        QVERIFY(empty.setObjectAtPath(1, QStringLiteral("a/b/c")));
        QVERIFY(empty.dictAtPath(QStringLiteral("a")).isMutableDictionary());
        QVERIFY(empty.dictAtPath(QStringLiteral("a/b")).isMutableDictionary());
        QCOMPARE(empty.objectAtPath(QStringLiteral("a.b.c")).integer(), 1);

        Value v = dict({{QStringLiteral("a"), dict({{QStringLiteral("keep"), 5}})}}, true);
        QVERIFY(v.setObjectAtPath(2, QStringLiteral("a/new")));
        QVERIFY(v.value(QStringLiteral("a")).isMutableDictionary());
        QCOMPARE(v.objectAtPath(QStringLiteral("a/keep")).integer(), 5);
        QCOMPARE(v.objectAtPath(QStringLiteral("a/new")).integer(), 2);
    }

    void writingThroughANonDictionaryFailsAndChangesNothing()
    {
        Value v = dict({{QStringLiteral("a"), 4}}, true);
        QVERIFY(!v.setObjectAtPath(1, QStringLiteral("a/b")));
        QCOMPARE(v.value(QStringLiteral("a")).integer(), 4);
        QVERIFY(!v.setObjectAtPath(1, QString()));
        QCOMPARE(v.count(), 1);
    }

    void appendLeavesAnImmutableReceiverUntouched()
    {
        const Value frozen = dict({{QStringLiteral("x"), 1}});
        const Value copy = frozen.append(QStringLiteral("y/z"), 2);
        QVERIFY(!frozen.contains(QStringLiteral("y")));
        QCOMPARE(copy.objectAtPath(QStringLiteral("y.z")).integer(), 2);
        QCOMPARE(copy.value(QStringLiteral("x")).integer(), 1);
        QVERIFY(frozen.append(QStringLiteral("k"), Value()) == frozen);

        Value live = dict({}, true);
        live.APPEND(QStringLiteral("k"), 3).APPEND(QStringLiteral("l"), 4);
        QCOMPARE(live.count(), 2);
    }

    void keyValuesStopsAtTheFirstNonStringKey()
    {
        const Value v = Value::keyValues({QStringLiteral("x"), 1, 2, QStringLiteral("y")});
        QCOMPARE(v.keys(), QStringList{QStringLiteral("x")});
        const Value w = Value::keyValues(
            {QStringLiteral("p"), 1, QStringLiteral("q"), Value(), QStringLiteral("r"), 3});
        QCOMPARE(w.keys(), QStringList{QStringLiteral("p")});
    }

    void deepCopyIsIndependentOfItsSource()
    {
        Value source = dict({{QStringLiteral("inner"), dict({{QStringLiteral("n"), 1}})},
                             {QStringLiteral("list"), Value::array({1}, false)}});
        Value copy = source.mutableDeepCopy();
        QVERIFY(copy.isMutableDictionary());
        QVERIFY(copy.value(QStringLiteral("inner")).isMutableDictionary());
        QVERIFY(copy.value(QStringLiteral("list")).isMutableArray());
        copy.setObjectAtPath(2, QStringLiteral("inner/n"));
        QCOMPARE(source.objectAtPath(QStringLiteral("inner/n")).integer(), 1);
        Value list = copy.value(QStringLiteral("list"));
        list.append(2);
        QCOMPARE(source.value(QStringLiteral("list")).count(), 1);
    }

    void objectOfAnyTakesTheFirstPresentKey()
    {
        Value v =
            dict({{QStringLiteral("b"), 2}, {QStringLiteral("c"), QStringLiteral("three")}}, true);
        QCOMPARE(
            v.objectOfAny({QStringLiteral("a"), QStringLiteral("c"), QStringLiteral("b")}).string(),
            QStringLiteral("three"));
        QVERIFY(v.objectOfAny({QStringLiteral("x")}).isMissing());
        QCOMPARE(v.stringOfAny({QStringLiteral("b")}), QStringLiteral("2"));
        QCOMPARE(v.stringOfAny({QStringLiteral("a"), QStringLiteral("b")}, true),
                 QStringLiteral("2"));
        QVERIFY(!v.contains(QStringLiteral("b")));
        QVERIFY(v.contains(QStringLiteral("c")));
    }

    void coercions_data()
    {
        QTest::addColumn<Value>("input");
        QTest::addColumn<Value>("number");
        QTest::addColumn<QString>("string");
        QTest::newRow("string with fraction")
            << Value(QStringLiteral("12.9")) << Value(12) << "12.9";
        QTest::newRow("negative string") << Value(QStringLiteral("-4")) << Value(-4) << "-4";
        QTest::newRow("not a number") << Value(QStringLiteral("abc")) << Value(0) << "abc";
        QTest::newRow("null marker") << Value::null() << Value(0) << QString();
        QTest::newRow("data is no number") << Value(QByteArray("x")) << Value() << "x";
        QTest::newRow("invalid utf-8 falls back")
            << Value(QByteArray("caf\xe9")) << Value() << QStringLiteral("caf\u00e9");
        QTest::newRow("missing") << Value() << Value() << QString();
        QTest::newRow("integer") << Value(42) << Value(42) << "42";
    }
    void coercions()
    {
        QFETCH(Value, input);
        QFETCH(Value, number);
        QFETCH(QString, string);
        const Value n = input.asNumber();
        QCOMPARE(n.kind() == Value::Kind::Missing, number.isMissing());
        if (number.isPresent())
            QCOMPARE(n.integer(), number.integer());
        QCOMPARE(input.asText(), string);
        QCOMPARE(input.asText().isNull(), string.isNull());
    }

    void datesParseInUtcAndOthersFallBackToTheEpoch()
    {
        const QDateTime a = Value(QStringLiteral("2024-02-29 23:59:58")).asDate();
        QCOMPARE(a, QDateTime(QDate(2024, 2, 29), QTime(23, 59, 58), QTimeZone::utc()));
        QCOMPARE(Value(QStringLiteral("2024/01/02 03:04:05")).asDate(),
                 QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5), QTimeZone::utc()));
        QCOMPARE(Value(QStringLiteral("2024-01-02")).asDate(),
                 QDateTime(QDate(2024, 1, 2), QTime(0, 0), QTimeZone::utc()));
        QVERIFY(!Value(QStringLiteral("yesterday")).asDate().isValid());
        QCOMPARE(Value::null().asDate().toMSecsSinceEpoch(), 0);
        QCOMPARE(Value(QByteArray("x")).asDate().toMSecsSinceEpoch(), 0);
        QCOMPARE(Value(86400).asDate(),
                 QDateTime(QDate(1970, 1, 2), QTime(0, 0), QTimeZone::utc()));
        QCOMPARE(Value(a).asNumber().real(), double(a.toSecsSinceEpoch()));
    }

    void arraysAndDictionariesCoerce()
    {
        QCOMPARE(Value(5).asArray().count(), 1);
        const Value list = Value::array({1, 2});
        QVERIFY(list.asArray() == list);
        QVERIFY(Value(5).asDictionary().isMissing());
        QCOMPARE(Value(QStringLiteral("é")).asData().data(), QByteArray("\xc3\xa9"));
        QVERIFY(Value(5).asData().isMissing());
    }

    void copiesDoNotShareWrites()
    {
        Value a = Value::array({1});
        Value b = a;
        b.append(2);
        QCOMPARE(a.count(), 1);
        QCOMPARE(b.count(), 2);
    }
};

QTEST_GUILESS_MAIN(TestValue)
#include "tst_value.moc"
