// What a person types into the palette, against the names of the entries it should find.
#include "TextMatcher.h"

#include <QTest>

using namespace Qt::StringLiterals;
using pallstone::TextMatcher;

class TestTextMatcher : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void whatIsTypedFindsTheEntryItMeans_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<bool>("found");

        const QStringList textDocument = {u"New File/Text Document"_s, u"New File/txt"_s};
        const QStringList chinese = {u"新建文件/文本文档"_s, u"New File/txt"_s};
        QTest::newRow("words in any order") << u"document new"_s << textDocument << true;
        QTest::newRow("initials") << u"ntd"_s << textDocument << true;
        QTest::newRow("accents and case ignored")
            << u"CAFE"_s << QStringList{u"Copy to/Café"_s} << true;
        QTest::newRow("accent typed, none in the name")
            << u"résumé"_s << QStringList{u"Open/Resume.pdf"_s} << true;
        QTest::newRow("Chinese inside a title") << u"文本"_s << chinese << true;
        QTest::newRow("the key while the menu is Chinese") << u"new txt"_s << chinese << true;
        QTest::newRow("one letter swapped") << u"docuemnt"_s << textDocument << true;
        QTest::newRow("every word must be found") << u"new folder"_s << textDocument << false;
        QTest::newRow("three letters allow no typo") << u"txt"_s << QStringList{u"Text"_s} << false;
    }
    void whatIsTypedFindsTheEntryItMeans()
    {
        QFETCH(QString, query);
        QFETCH(QStringList, names);
        QFETCH(bool, found);
        QCOMPARE(TextMatcher(query).score(names) > 0, found);
    }

    void theCloserMatchIsOfferedFirst()
    {
        // Initials of consecutive words over scattered ones, and over a longer path.
        const QList<QStringList> entries = {
            {u"Compress with Password"_s},
            {u"Favourite Folders/Pallstone Settings…"_s, u"Common Path/Go Set"_s},
            {u"Copy Path"_s}};
        QCOMPARE(TextMatcher(u"cp"_s).rank(entries).first(), 2);
    }

    void aWholeWordRanksAboveAPartOfOne()
    {
        const TextMatcher matcher(u"copy"_s);
        QVERIFY(matcher.score({u"Copy Path"_s}) > matcher.score({u"Photocopy"_s}));
        QVERIFY(matcher.score({u"Photocopy"_s}) > 0);
    }
};

QTEST_GUILESS_MAIN(TestTextMatcher)
#include "tst_textmatcher.moc"
