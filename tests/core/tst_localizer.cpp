#include "Localizer.h"

#include <QFile>
#include <QSet>
#include <QTest>
#include <QThread>
#include <QXmlStreamReader>

#include <algorithm>
#include <memory>
#include <vector>

using namespace pallstone;
using namespace Qt::StringLiterals;

namespace {

// The keys of the default main menu; the settings program also explains each of them.
const QStringList mainMenuKeys{
    u"New File"_s,
    u"Common Path"_s,
    u"Common App"_s,
    u"Folder Icon"_s,
    u"Execute Script"_s,
    u"Copy to"_s,
    u"Move to"_s,
    u"Convert to"_s,
    u"Cut Paste"_s,
    u"Lock and Unlock"_s,
    u"Encrypted Compression"_s,
    u"Embed in Folder"_s,
    u"Unembed Folder"_s,
    u"Color Picker"_s,
    u"Extract Icon"_s,
    u"File Info"_s,
    u"Terminal Window"_s,
    u"Terminal Tab"_s,
    u"Terminal To"_s,
    u"iTerm2 Window"_s,
    u"iTerm2 Tab"_s,
    u"iTerm2 To"_s,
    u"Copy Path"_s,
    u"Delete"_s,
    u"Hide Selected Files"_s,
    u"Hide All Files"_s,
    u"Unhide All Files"_s,
    u"System Hide Files"_s,
};

// Keys both programs show besides the main-menu entries.
const QStringList sharedKeys{
    u"New File From Window"_s,
    u"Add to File Template"_s,
    u"Go Set"_s,
    u"Open With"_s,
    u"Pallstone"_s,
    u"Tip"_s,
    u"OK"_s,
    u"Cancel"_s,
    u"Check Delete Sure"_s,
    u"Check Hide MainMenu Icon"_s,
    u"Check Hide Set Menu"_s,
    u"Check External Disks Enable"_s,
    u"Check Hide SubMenu Icon"_s,
    u"Check Show Top StatusBar"_s,
    u"Check Copy HEX"_s,
    u"WeChat"_s,
    u"Visual Studio Code"_s,
    u"Sublime Text"_s,
    u"Android Studio"_s,
    u"IntelliJ IDEA"_s,
    u"WebStorm"_s,
    u"PyCharm"_s,
    u"PhpStorm"_s,
    u"GoLand"_s,
    u"Warp"_s,
    u"Emacs"_s,
};

QString tablePath(const QString& file)
{
    return QStringLiteral(PALLSTONE_TEST_DATA "/../../resources/translations/") + file;
}

struct Table
{
    QHash<QString, QString> messages; // source -> translation
    QStringList problems;
};

// Reads a .ts file the way lrelease would see it, noting what lrelease would silently drop.
Table readTable(const QString& file)
{
    Table table;
    QFile in(tablePath(file));
    if (!in.open(QIODevice::ReadOnly)) {
        table.problems.append(u"cannot open "_s + in.fileName());
        return table;
    }
    QXmlStreamReader xml(&in);
    QString context, source, translation;
    bool unfinished = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (xml.name() == u"name")
                context = xml.readElementText();
            else if (xml.name() == u"source")
                source = xml.readElementText();
            else if (xml.name() == u"comment")
                table.problems.append(source + u": <comment> changes the lookup key"_s);
            else if (xml.name() == u"translation") {
                unfinished = xml.attributes().hasAttribute(u"type"_s);
                translation = xml.readElementText();
            }
        } else if (xml.isEndElement() && xml.name() == u"message") {
            if (context != u"Localizable")
                table.problems.append(source + u": context "_s + context);
            if (translation.isEmpty() || unfinished)
                table.problems.append(source + u": no finished translation"_s);
            if (table.messages.contains(source))
                table.problems.append(source + u": listed twice"_s);
            table.messages.insert(source, translation);
            source.clear();
            translation.clear();
        }
    }
    if (xml.hasError())
        table.problems.append(xml.errorString());
    return table;
}

QStringList introduceKeys()
{
    QStringList keys;
    for (const QString& key : mainMenuKeys)
        keys.append(key + u" Introduce"_s);
    return keys;
}

} // namespace

class TestLocalizer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Localizer::install(u"pallstone"_s, QLocale(QLocale::English)); }
    void cleanup() { Localizer::install(u"pallstone"_s, QLocale(QLocale::English)); }

    void languageChosenForLocale_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("language");
        QTest::newRow("Simplified Chinese, China") << QLocale(u"zh_CN"_s) << u"zh_CN"_s;
        QTest::newRow("Simplified Chinese, Singapore") << QLocale(u"zh_SG"_s) << u"zh_CN"_s;
        QTest::newRow("Traditional Chinese has no table") << QLocale(u"zh_TW"_s) << u"en"_s;
        QTest::newRow("German has no table") << QLocale(u"de_DE"_s) << u"en"_s;
        QTest::newRow("British English") << QLocale(u"en_GB"_s) << u"en"_s;
        QTest::newRow("C locale") << QLocale::c() << u"en"_s;
    }
    void languageChosenForLocale()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, language);
        Localizer::install(u"pallstone"_s, locale);
        QCOMPARE(Localizer::language(), language);
    }

    void missingLanguageFallsBackToEnglishText()
    {
        Localizer::install(u"pallstone"_s, QLocale(u"de_DE"_s));
        QCOMPARE(Localizer::text(u"Common Path"_s), u"Favourite Folders"_s);
        QVERIFY(Localizer::hasTranslation(u"Common Path"_s));
    }

    void chineseTableAnswersWhenRequested()
    {
        Localizer::install(u"pallstone"_s, QLocale(u"zh_CN"_s));
        QCOMPARE(Localizer::text(u"WeChat"_s), u"微信"_s);
        QCOMPARE(Localizer::text(u"Copy to"_s), u"复制到常用文件夹"_s);
        // A new-file kind as the desktop names it; a name that is no key still shows as itself.
        QCOMPARE(Localizer::text(u"txt"_s), u"文本文档"_s);
        QCOMPARE(Localizer::text(u"toml"_s), u"toml"_s);
    }

    void untranslatedKeyShowsItselfAndIsReportedAsSuch_data()
    {
        QTest::addColumn<QString>("key");
        QTest::newRow("template extension") << u"toml"_s;
        QTest::newRow("unknown application") << u"Safari"_s;
        QTest::newRow("case differs from a key") << u"copy to"_s;
        QTest::newRow("Introduce of a non-menu key") << u"Go Set Introduce"_s;
        QTest::newRow("empty") << QString();
    }
    void untranslatedKeyShowsItselfAndIsReportedAsSuch()
    {
        QFETCH(QString, key);
        QCOMPARE(Localizer::text(key), key);
        QVERIFY(!Localizer::hasTranslation(key));
    }

    // An English entry whose text equals its key must still count, or "OK" would look untranslated.
    void englishEntryEqualToItsKeyCountsAsTranslated()
    {
        QCOMPARE(Localizer::text(u"OK"_s), u"OK"_s);
        QVERIFY(Localizer::hasTranslation(u"OK"_s));
    }

    void introduceTextsOnlyInSettingsTable()
    {
        QVERIFY(Localizer::hasTranslation(u"Copy to Introduce"_s));
        QVERIFY(Localizer::text(u"Copy to Introduce"_s).endsWith(u'.'));

        Localizer::install(u"pallstone-extension"_s, QLocale(QLocale::English));
        QCOMPARE(Localizer::language(), u"en"_s);
        QVERIFY(!Localizer::hasTranslation(u"Copy to Introduce"_s));
        QCOMPARE(Localizer::text(u"Copy to"_s), u"Copy to Favourite Folder"_s);
    }

    void unknownProgramLeavesEveryKeyAsItIs()
    {
        Localizer::install(u"no-such-program"_s, QLocale(u"zh_CN"_s));
        QVERIFY(Localizer::language().isEmpty());
        QCOMPARE(Localizer::text(u"Copy to"_s), u"Copy to"_s);
        QVERIFY(!Localizer::hasTranslation(u"Copy to"_s));
    }

    // Menu titles of applications are the two texts joined without a space.
    void openWithPrefixJoinsApplicationNames()
    {
        QCOMPARE(Localizer::text(u"Open With"_s) + Localizer::text(u"WeChat"_s),
                 u"Open with WeChat"_s);
        Localizer::install(u"pallstone"_s, QLocale(u"zh_CN"_s));
        QCOMPARE(Localizer::text(u"Open With"_s) + Localizer::text(u"WeChat"_s),
                 u"打开方式：微信"_s);
    }

    void displayNameComesFromTable() { QCOMPARE(Localizer::displayName(), u"Pallstone"_s); }

    void concurrentReadersSeeWholeTables()
    {
        QAtomicInt bad = 0;
        std::vector<std::unique_ptr<QThread>> readers;
        for (int i = 0; i < 4; ++i) {
            readers.emplace_back(QThread::create([&bad] {
                for (int n = 0; n < 2000; ++n) {
                    const QString title = Localizer::text(u"Copy to"_s);
                    if (title != u"Copy to Favourite Folder" && title != u"复制到常用文件夹")
                        bad.fetchAndAddRelaxed(1);
                }
            }));
            readers.back()->start();
        }
        for (int n = 0; n < 50; ++n)
            Localizer::install(u"pallstone"_s, QLocale(n % 2 ? u"zh_CN"_s : u"en_US"_s));
        for (auto& reader : readers)
            QVERIFY(reader->wait(30000));
        QCOMPARE(bad.loadRelaxed(), 0);
    }

    // The tables are edited by hand: a key forgotten in one language, a type="unfinished" left
    // by Linguist (dropped by lrelease) or a stray <comment> (which changes the lookup key)
    // would make a key show raw in one language only.
    void tablesAreCompleteAndAgree_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("required");
        QTest::newRow("settings") << u"pallstone"_s << mainMenuKeys + sharedKeys + introduceKeys();
        QTest::newRow("extension") << u"pallstone-extension"_s << mainMenuKeys + sharedKeys;
    }
    void tablesAreCompleteAndAgree()
    {
        QFETCH(QString, program);
        QFETCH(QStringList, required);
        const Table english = readTable(program + u"_en.ts"_s);
        const Table chinese = readTable(program + u"_zh_CN.ts"_s);
        QVERIFY2(english.problems.isEmpty(), qPrintable(english.problems.join(u'\n')));
        QVERIFY2(chinese.problems.isEmpty(), qPrintable(chinese.problems.join(u'\n')));

        QStringList missing;
        for (const QString& key : required) {
            if (!english.messages.contains(key))
                missing.append(u"en: "_s + key);
        }
        const auto englishKeys =
            QSet<QString>(english.messages.keyBegin(), english.messages.keyEnd());
        const auto chineseKeys =
            QSet<QString>(chinese.messages.keyBegin(), chinese.messages.keyEnd());
        for (const QString& key : englishKeys - chineseKeys)
            missing.append(u"zh_CN: "_s + key);
        for (const QString& key : chineseKeys - englishKeys)
            missing.append(u"en: "_s + key);
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(u'\n')));

        // The Introduce texts belong to the settings program alone.
        const bool hasIntroduce =
            std::any_of(englishKeys.begin(), englishKeys.end(),
                        [](const QString& key) { return key.endsWith(u" Introduce"); });
        QCOMPARE(hasIntroduce, program == u"pallstone");
        // The prefix is joined without a separator; the English one must bring its own space.
        QVERIFY(english.messages.value(u"Open With"_s).endsWith(u' '));
    }
};

QTEST_GUILESS_MAIN(TestLocalizer)
#include "tst_localizer.moc"
