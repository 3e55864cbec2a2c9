#include "DefaultCatalogue.h"
#include "IconCatalog.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QtEndian>

using namespace pallstone;
using namespace Qt::StringLiterals;

namespace {

// Every icon value the default catalogue and the menu builder hand out.
const QStringList mainMenuIcons{
    u"newfile"_s,     u"favorites"_s, u"app"_s,      u"foldericon"_s, u"script"_s,
    u"copy"_s,        u"move"_s,      u"convert"_s,  u"cut"_s,        u"paste"_s,
    u"lock"_s,        u"unlock"_s,    u"compress"_s, u"embed"_s,      u"unembed"_s,
    u"colorpicker"_s, u"img"_s,       u"fileinfo"_s, u"terminal"_s,   u"iterm2"_s,
    u"copypath"_s,    u"delete"_s,    u"hidefile"_s, u"showfile"_s,   u"about"_s,
};
const QStringList menuBuilderIcons{
    u"set"_s,    u"add"_s,  u"folder"_s,  u"file"_s, u"icon"_s,  u"showfinder"_s,
    u"choose"_s, u"more"_s, u"recover"_s, u"pro"_s,  u"clear"_s,
};
const QStringList templateIcons{
    u"txt"_s,     u"rtf"_s, u"json"_s, u"docx"_s, u"xlsx"_s, u"pptx"_s, u"pages"_s,
    u"numbers"_s, u"key"_s, u"md"_s,   u"wps"_s,  u"et"_s,   u"dps"_s,  u"html"_s,
    u"xml"_s,     u"css"_s, u"js"_s,   u"py"_s,   u"sh"_s,   u"odt"_s,  u"ods"_s,
    u"odp"_s,     u"pdf"_s, u"png"_s,  u"jpg"_s,  u"zip"_s,
};
const QStringList applicationIcons{
    u"weixin"_s,  u"vscode"_s,   u"sublime"_s, u"studio"_s, u"idea"_s,  u"webstorm"_s,
    u"pycharm"_s, u"phpstorm"_s, u"goland"_s,  u"warp"_s,   u"emacs"_s,
};
const QStringList folderIcons{
    u"love"_s,    u"google"_s, u"java"_s,  u"qq"_s,    u"zapier"_s,   u"pyq"_s,    u"html5"_s,
    u"twitter"_s, u"ding"_s,   u"skype"_s, u"apple"_s, u"share"_s,    u"wechat"_s, u"weibo"_s,
    u"youtube"_s, u"wepay"_s,  u"react"_s, u"erji"_s,  u"question"_s, u"star"_s,
};

} // namespace

class TestIconCatalog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyCatalogueIconHasALoadableDrawing_data()
    {
        QTest::addColumn<QString>("name");
        for (const QStringList& list :
             {mainMenuIcons, menuBuilderIcons, templateIcons, applicationIcons, folderIcons}) {
            for (const QString& name : list)
                QTest::newRow(qPrintable(name)) << name;
        }
    }
    void everyCatalogueIconHasALoadableDrawing()
    {
        QFETCH(QString, name);
        QVERIFY(IconCatalog::hasResource(name));
        const QString path = IconCatalog::bundledFile(name);
        QCOMPARE(path, u":/pallstone/icons/"_s + name + u".svg"_s);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray content = file.readAll();
        QVERIFY(content.startsWith("<svg"));
        QVERIFY(content.contains("viewBox=\"0 0 24 24\""));
        QVERIFY(content.trimmed().endsWith("</svg>"));
    }

    // A theme icon would replace the image applied to a folder, so folder icons have none;
    // main-menu actions should look like the rest of the desktop where the theme has a match.
    void themeNamesWhereTheyFit()
    {
        for (const QString& name : folderIcons)
            QVERIFY2(IconCatalog::themeName(name).isEmpty(), qPrintable(name));
        QCOMPARE(IconCatalog::themeName(u"copy"_s), u"edit-copy"_s);
        QCOMPARE(IconCatalog::themeName(u"terminal"_s), u"utilities-terminal"_s);
        QCOMPARE(IconCatalog::themeName(u"folder"_s), u"folder"_s);
        QVERIFY(IconCatalog::themeNames(u"vscode"_s).contains(u"code"_s));
        QCOMPARE(IconCatalog::themeNames(u"vscode"_s).first(), IconCatalog::themeName(u"vscode"_s));
        for (const QString& name : mainMenuIcons + templateIcons + applicationIcons) {
            for (const QString& theme : IconCatalog::themeNames(name))
                QVERIFY2(!theme.isEmpty() && !theme.contains(u' '), qPrintable(name));
        }
    }

    // The picture a folder gets from each default folder icon: a 120 x 120 PNG.
    void everyDefaultFolderIconHasItsPicture()
    {
        for (const Value& record : DefaultCatalogue::defaultFolderIconMenu().list()) {
            const QString name = record.value(u"icon"_s).string();
            QFile file(IconCatalog::folderPicture(name));
            QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(name));
            const QByteArray head = file.read(24);
            QVERIFY2(head.startsWith("\x89PNG\r\n\x1a\n"), qPrintable(name));
            QCOMPARE(qFromBigEndian<quint32>(head.constData() + 16), 120u); // width
            QCOMPARE(qFromBigEndian<quint32>(head.constData() + 20), 120u); // height
        }
    }

    // Icon values come from the store, which an imported profile can fill with anything.
    void unknownOrCraftedNamesHaveNoResource_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("unknown") << u"no-such-icon"_s;
        QTest::newRow("empty") << QString();
        QTest::newRow("case differs") << u"Copy"_s;
        QTest::newRow("with extension") << u"copy.svg"_s;
        QTest::newRow("parent directory") << u"../icons/copy"_s;
        QTest::newRow("absolute") << u"/pallstone/icons/copy"_s;
        QTest::newRow("hidden") << u".copy"_s;
        QTest::newRow("translation table") << u"../../i18n/pallstone_en"_s;
    }
    void unknownOrCraftedNamesHaveNoResource()
    {
        QFETCH(QString, name);
        QVERIFY(!IconCatalog::hasResource(name));
        QVERIFY(IconCatalog::bundledFile(name).isEmpty());
        QVERIFY(IconCatalog::themeName(name).isEmpty());
        QVERIFY(IconCatalog::themeNames(name).isEmpty());
        QVERIFY(IconCatalog::folderPicture(name).isEmpty());
    }

    // A drawing added without a catalogue name (or the reverse) would never be shown.
    void bundledDrawingsAreExactlyTheCatalogue()
    {
        QStringList bundled = QDir(u":/pallstone/icons"_s).entryList(QDir::Files);
        for (QString& file : bundled)
            file.chop(4); // ".svg"
        QStringList expected =
            mainMenuIcons + menuBuilderIcons + templateIcons + applicationIcons + folderIcons;
        bundled.sort();
        expected.sort();
        QCOMPARE(bundled, expected);
    }
};

QTEST_GUILESS_MAIN(TestIconCatalog)
#include "tst_iconcatalog.moc"
