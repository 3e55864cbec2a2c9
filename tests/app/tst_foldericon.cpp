// The folder icon tab and its designer, driven as a person would, against a private store.
#include "AppFixture.h"

#include "ColorSwatch.h"
#include "FolderIconDesigner.h"
#include "FolderIconPage.h"
#include "ReorderTable.h"

#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QTest>

using namespace Qt::StringLiterals;

using namespace pallstone;

namespace {

QString writePicture(const QString& path, QSize size, QColor color)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(color);
    image.save(path, "PNG");
    return path;
}

Value lastRecord()
{
    const QList<Value> records = AppFixture::list(StoreKey::folderIcon).list();
    return records.isEmpty() ? Value() : records.last();
}

} // namespace

class TestFolderIcon : public QObject
{
    Q_OBJECT

private:
    AppFixture m_app;

    FolderIconDesigner* openDesigner(FolderIconPage& page)
    {
        page.onAddMake();
        return page.addIconWinCtl();
    }

private Q_SLOTS:
    void init() { m_app.reset(); }

    void firstStartOffersTheDefaultIconsAndAnEmptiedListStaysEmpty()
    {
        FolderIconPage page;
        QCOMPARE(AppFixture::list(StoreKey::folderIcon).count(), 20);
        MenuStore::sharedDefaults().setObject(Value::array(), StoreKey::folderIcon);
        page.refresh();
        QCOMPARE(page.tableView()->rowCount(), 0);
    }

    // "Select Folder Icon": the picture keeps its proportions inside 120 by 120.
    void chosenPictureIsStoredWithinTheSquare()
    {
        FolderIconPage page;
        const QString wide =
            writePicture(m_app.home() + u"/wide banner.png"_s, {300, 150}, Qt::red);
        m_app.prompter.paths.push_back(QStringList{wide});
        page.onAddSelect();
        const Value record = lastRecord();
        QCOMPARE(record.value(u"displayName"_s).string(), u"wide banner"_s);
        const QString key = record.value(u"key"_s).string();
        const QString iconPath = record.value(u"iconPath"_s).string();
        QCOMPARE(iconPath, MenuStore::folderIconFolder() + u'/' + key + u".png"_s);
        QCOMPARE(QImage(iconPath).size(), QSize(120, 60));
        QCOMPARE(page.tableView()->rowCount(), 21);
    }

    void unreadablePictureAddsNothing()
    {
        FolderIconPage page;
        const QDir folder(MenuStore::folderIconFolder());
        const QStringList before = folder.entryList(QDir::Files);
        QFile text(m_app.home() + u"/notes.png"_s);
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("not a picture");
        text.close();
        m_app.prompter.paths.push_back(QStringList{text.fileName()});
        page.onAddSelect();
        QCOMPARE(AppFixture::list(StoreKey::folderIcon).count(), 20);
        QCOMPARE(m_app.prompter.informatives(),
                 QStringList{Localizer::text(u"Picture Unreadable Tip"_s)});
        QCOMPARE(folder.entryList(QDir::Files), before);
    }

    void sixtyFirstEntryShowsTheLimitTip()
    {
        Value list = Value::array();
        for (int i = 0; i < 60; ++i) {
            Value record = Value::dictionary();
            record.insert(u"key"_s, u"icon"_s + QString::number(i));
            list.append(record);
        }
        MenuStore::sharedDefaults().setObject(list, StoreKey::folderIcon);
        FolderIconPage page;
        page.onAdd();
        QCOMPARE(m_app.prompter.informatives(),
                 QStringList{Localizer::text(u"Submenu Limit Tip"_s)});
        QVERIFY(!page.addPopMenu()->isVisible());
        list.removeAt(59);
        MenuStore::sharedDefaults().setObject(list, StoreKey::folderIcon);
        page.refresh();
        page.onAdd();
        QCOMPARE(m_app.prompter.alerts.size(), 1);
        QVERIFY(page.addPopMenu()->isVisible());
        page.addPopMenu()->hide();
    }

    void renamingToEmptyKeepsTheName()
    {
        FolderIconPage page;
        page.addPicture(writePicture(m_app.home() + u"/cat.png"_s, {64, 64}, Qt::blue));
        const QString key = lastRecord().value(u"key"_s).string();
        page.selectRow(page.tableView()->rowCount() - 1);
        m_app.prompter.names.push_back(u"  "_s);
        page.onEditName();
        QCOMPARE(AppFixture::record(StoreKey::folderIcon, key).value(u"displayName"_s).string(),
                 u"cat"_s);
        page.selectRow(page.tableView()->rowCount() - 1);
        m_app.prompter.names.push_back(u"Kitten"_s);
        page.onEditName();
        QCOMPARE(AppFixture::record(StoreKey::folderIcon, key).value(u"displayName"_s).string(),
                 u"Kitten"_s);
    }

    // OK without a name: a 120 by 120 PNG under "Untitled"; Cancel stores nothing and the
    // designer opens again as it was left.
    void designerStoresASquareIconAndKeepsItsState()
    {
        FolderIconPage page;
        FolderIconDesigner* designer = openDesigner(page);
        QVERIFY(designer && designer->isVisible());
        QVERIFY(designer->glyphModel()->rowCount() > 100);
        // No missing-glyph box, and every symbol has a name a person can read.
        const GlyphModel* glyphs = designer->glyphModel();
        for (int row = 0; row < glyphs->rowCount(); ++row) {
            const QString name = glyphs->data(glyphs->index(row), Qt::ToolTipRole).toString();
            QVERIFY2(glyphs->glyphAt(row) != 0 && !name.isEmpty() && !name.startsWith(u"uni"),
                     qPrintable(name));
        }
        QTest::mouseClick(designer->swatch(3), Qt::LeftButton);
        const QImage tinted = designer->folderImage();
        designer->onCancel();
        QCOMPARE(AppFixture::list(StoreKey::folderIcon).count(), 20);
        QCOMPARE(openDesigner(page), designer);
        QCOMPARE(designer->folderImage(), tinted);

        designer->displayNameField()->clear();
        designer->onSure();
        QVERIFY(!designer->isVisible());
        const Value record = lastRecord();
        QCOMPARE(record.value(u"displayName"_s).string(), Localizer::text(u"Untitled"_s));
        QCOMPARE(QImage(record.value(u"iconPath"_s).string()).size(), QSize(120, 120));
        QCOMPARE(AppFixture::list(StoreKey::folderIcon).count(), 21);
    }

    void twoSwatchesInARowGiveTheSecondTintOnly()
    {
        FolderIconPage page;
        FolderIconDesigner* designer = openDesigner(page);
        const QImage untinted = designer->folderImage();
        QTest::mouseClick(designer->swatch(0), Qt::LeftButton);
        QTest::mouseClick(designer->swatch(5), Qt::LeftButton);
        const QImage twice = designer->folderImage();
        designer->onReset();
        QCOMPARE(designer->folderImage(), untinted);
        QTest::mouseClick(designer->swatch(5), Qt::LeftButton);
        QVERIFY(twice != untinted);
        QCOMPARE(twice, designer->folderImage());
        // The corner around the folder stays transparent.
        QCOMPARE(qAlpha(twice.pixel(0, 0)), qAlpha(untinted.pixel(0, 0)));
    }

    void symbolAfterLocalPictureDropsThePicture()
    {
        FolderIconPage page;
        FolderIconDesigner* designer = openDesigner(page);
        const QString picture =
            writePicture(m_app.home() + u"/magenta.png"_s, {52, 52}, Qt::magenta);
        m_app.prompter.paths.push_back(QStringList{picture});
        designer->onSelectLocalIcon();
        QCOMPARE(designer->localIconPath(), picture);
        QCOMPARE(designer->displayNameField()->text(), u"magenta"_s);
        const QPoint centre(64, 64 + 3);
        QCOMPARE(designer->preview().pixelColor(centre), QColor(Qt::magenta));

        const GlyphModel* glyphs = designer->glyphModel();
        designer->collectionView()->setCurrentIndex(glyphs->index(10));
        QVERIFY(designer->localIconPath().isEmpty());
        QCOMPARE(designer->currentGlyph(), glyphs->glyphAt(10));
        QVERIFY(!designer->displayNameField()->text().isEmpty()); // the glyph's name
        QVERIFY(designer->displayNameField()->text() != u"magenta"_s);
        QVERIFY(designer->preview().pixelColor(centre) != QColor(Qt::magenta));
    }

    void fontFileInUpperCaseReplacesTheSymbols()
    {
        FolderIconPage page;
        FolderIconDesigner* designer = openDesigner(page);
        const QString font = m_app.home() + u"/ICONS.TTF"_s;
        QVERIFY(QFile::copy(FolderIconDesigner::defaultFontPath(), font));
        m_app.prompter.paths.push_back(QStringList{font});
        designer->onSelectLocalIcon();
        QCOMPARE(designer->glyphModel()->font().path(), font);
        QVERIFY(designer->glyphModel()->rowCount() > 100);
        QVERIFY(designer->localIconPath().isEmpty());
        QVERIFY(m_app.prompter.alerts.isEmpty());
    }
};

QTEST_MAIN(TestFolderIcon)
#include "tst_foldericon.moc"
