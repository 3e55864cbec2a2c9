// The list editors of the settings window, driven as a person would, against a private store.
#include "AppFixture.h"

#include "AddMenuEntryDialog.h"
#include "Defaults.h"
#include "FavouritesPage.h"
#include "MainMenuPage.h"
#include "NewFilePage.h"
#include "NotificationCenter.h"
#include "OpenWithPage.h"
#include "ReorderTable.h"
#include "TemplateDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

using namespace pallstone;

namespace {

Value appRecord(const QString& name)
{
    Value record = Value::dictionary();
    record.insert(QStringLiteral("key"), name);
    record.insert(QStringLiteral("iconPath"), QStringLiteral(""));
    return record;
}

void fillList(const QString& listKey, int count, const QString& prefix)
{
    Value list = Value::array();
    for (int i = 0; i < count; ++i)
        list.append(appRecord(prefix + QString::number(i)));
    MenuStore::sharedDefaults().setObject(list, listKey);
}

QMimeData* rowDrag(const QString& text)
{
    auto* data = new QMimeData;
    data->setText(text);
    return data;
}

QStringList filesUnder(const QString& folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(it.next());
    return files;
}

} // namespace

class TestListEditors : public QObject
{
    Q_OBJECT

private:
    AppFixture m_app;

private Q_SLOTS:
    void init() { m_app.reset(); }

    // Dragging: the row index travels as text and lands in the gap it was dropped into.
    void dragIntoGapMovesEntry_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("landsAt");
        QTest::newRow("row 0 before row 3")
            << 0 << 3 << int(ReorderTable::DropPlace::AboveRow) << 2;
        QTest::newRow("row 3 before row 0")
            << 3 << 0 << int(ReorderTable::DropPlace::AboveRow) << 0;
        QTest::newRow("row 0 after row 3") << 0 << 3 << int(ReorderTable::DropPlace::BelowRow) << 3;
    }
    void dragIntoGapMovesEntry()
    {
        QFETCH(int, from);
        QFETCH(int, row);
        QFETCH(int, position);
        QFETCH(int, landsAt);
        MainMenuPage editor;
        const QString moved = AppFixture::keys(StoreKey::rightMenu).at(from);
        const qsizetype count = AppFixture::keys(StoreKey::rightMenu).size();
        std::unique_ptr<QMimeData> data(rowDrag(QString::number(from)));
        QVERIFY(editor.tableView()->performDrop(data.get(), editor.tableView(), row,
                                                ReorderTable::DropPlace(position)));
        const QStringList after = AppFixture::keys(StoreKey::rightMenu);
        QCOMPARE(after.indexOf(moved), landsAt);
        QCOMPARE(after.size(), count);
        QCOMPARE(editor.tableView()->item(landsAt, 0)->text(),
                 editor.tableData().at(landsAt)->menuTitle());
    }

    // A drop the table must refuse leaves the list as it was.
    void refusedDropChangesNothing_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("sameTable");
        QTest::addColumn<int>("position");
        QTest::newRow("onto a row") << u"0"_s << true << int(ReorderTable::DropPlace::OnRow);
        QTest::newRow("from another program")
            << u"0"_s << false << int(ReorderTable::DropPlace::AboveRow);
        QTest::newRow("index out of range")
            << u"999"_s << true << int(ReorderTable::DropPlace::AboveRow);
        QTest::newRow("negative index")
            << u"-1"_s << true << int(ReorderTable::DropPlace::AboveRow);
        QTest::newRow("text, not an index")
            << u"/home/user/file"_s << true << int(ReorderTable::DropPlace::AboveRow);
    }
    void refusedDropChangesNothing()
    {
        QFETCH(QString, text);
        QFETCH(bool, sameTable);
        QFETCH(int, position);
        MainMenuPage editor;
        QObject stranger;
        const QStringList before = AppFixture::keys(StoreKey::rightMenu);
        std::unique_ptr<QMimeData> data(rowDrag(text));
        QVERIFY(!editor.tableView()->performDrop(
            data.get(), sameTable ? static_cast<QObject*>(editor.tableView()) : &stranger, 3,
            ReorderTable::DropPlace(position)));
        QCOMPARE(AppFixture::keys(StoreKey::rightMenu), before);
    }

    void onlyTheEdgesOfARowAreGaps()
    {
        MainMenuPage editor;
        editor.resize(600, 900);
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        const ReorderTable* table = editor.tableView();
        const QRect row = table->visualItemRect(table->item(2, 0));
        using Place = ReorderTable::DropPlace;
        QCOMPARE(table->dropPlaceAt(row.center()), Place::OnRow);
        QCOMPARE(table->dropPlaceAt({row.center().x(), row.top() + 1}), Place::AboveRow);
        QCOMPARE(table->dropPlaceAt({row.center().x(), row.bottom() - 1}), Place::BelowRow);
    }

    void addWithEverythingPresentShowsTip()
    {
        MainMenuPage editor;
        editor.onAdd();
        QCOMPARE(m_app.prompter.informatives(),
                 QStringList{Localizer::text(QStringLiteral("No Menu To Add Tip"))});
        QVERIFY(!editor.addMenuWinCtl());
    }

    void removedEntryCanBeAddedBackFirst()
    {
        MainMenuPage editor;
        editor.selectRow(AppFixture::keys(StoreKey::rightMenu).indexOf(u"Copy to"_s));
        editor.onDelete();
        QVERIFY(!AppFixture::keys(StoreKey::rightMenu).contains(u"Copy to"_s));
        editor.onAdd();
        QVERIFY(m_app.prompter.alerts.isEmpty());
        AddMenuEntryDialog* window = editor.addMenuWinCtl();
        QVERIFY(window);
        QCOMPARE(window->tableData().count(), 1);
        window->addItem(0);
        QCOMPARE(AppFixture::keys(StoreKey::rightMenu).value(0), u"Copy to"_s);
        QCOMPARE(window->tableData().count(), 0); // the add window followed at once
        // and says that nothing is left rather than showing an empty table
        QVERIFY(window->findChild<QLabel*>(u"allAddedLabel"_s)->isVisibleTo(window));
        QVERIFY(!window->tableView()->isVisibleTo(window));
        QCOMPARE(editor.tableData().first()->key, u"Copy to"_s);
        window->close();
    }

    // "Recover" answered with "Cancel" must leave every list exactly as it was.
    void recoverThenCancelChangesNothing()
    {
        MainMenuPage general;
        NewFilePage newFile;
        OpenWithPage openWith;
        FavouritesPage favorite;
        favorite.addFolderPath(m_app.mkdir(u"Projects"_s));
        general.selectRow(0);
        general.onDelete();
        const Value before = MenuStore::sharedDefaults().dictionaryRepresentation();
        for (int i = 0; i < 4; ++i)
            m_app.prompter.alertAnswers.push_back(kAlertSecondButton);
        general.onRecover();
        newFile.onRecover();
        openWith.onRecover();
        favorite.onRecover();
        QCOMPARE(m_app.prompter.alerts.size(), 4);
        QVERIFY(MenuStore::sharedDefaults().dictionaryRepresentation() == before);
    }

    void recoverThenOkRestoresAndClearsMainMenuCopies()
    {
        OpenWithPage openWith;
        MainMenuPage general;
        const QString app = AppFixture::keys(StoreKey::commonApp).first();
        openWith.tableView()
            ->item(0, OpenWithPage::AddToMainMenuColumn)
            ->setCheckState(Qt::Checked);
        QCoreApplication::processEvents();
        QCOMPARE(AppFixture::keys(StoreKey::rightMenu).first(), app);
        general.onRecover();
        QVERIFY(!AppFixture::keys(StoreKey::rightMenu).contains(app));
        QVERIFY(!AppFixture::record(StoreKey::commonApp, app)
                     .value(QStringLiteral("toMainMenu"))
                     .readBool());
        QCOMPARE(AppFixture::list(StoreKey::rightMenu).count(),
                 DefaultCatalogue::defaultMainMenu().count());
    }

    // Deleting an application's main-menu copy in the General tab unticks its box elsewhere.
    void deletingMainMenuCopyClearsItsFlag()
    {
        OpenWithPage openWith;
        const QString app = AppFixture::keys(StoreKey::commonApp).first();
        openWith.tableView()
            ->item(0, OpenWithPage::AddToMainMenuColumn)
            ->setCheckState(Qt::Checked);
        QCoreApplication::processEvents();
        QVERIFY(!(openWith.tableView()->item(0, OpenWithPage::EnableColumn)->flags() &
                  Qt::ItemIsEnabled));
        MainMenuPage general;
        general.selectRow(0);
        QCOMPARE(general.selectItem()->key, app);
        general.onDelete();
        openWith.refresh();
        QCOMPARE(openWith.tableView()->item(0, OpenWithPage::AddToMainMenuColumn)->checkState(),
                 Qt::Unchecked);
        QVERIFY(openWith.tableView()->item(0, OpenWithPage::EnableColumn)->flags() &
                Qt::ItemIsEnabled);
    }

    // The editor loaded the list; then the extension recorded a cut. Switching an entry off must
    // not write the editor's old copy of the list over the extension's change.
    void editKeepsWhatTheExtensionWroteMeanwhile()
    {
        MainMenuPage editor;
        const QStringList cut = {m_app.home() + u"/a file.txt"_s};
        {
            Defaults extensionSide(MenuStore::sharedStorePath());
            QVERIFY(extensionSide.update([&](Value& root) {
                Value list = root.value(StoreKey::rightMenu).mutableCopy();
                for (qsizetype i = 0; i < list.count(); ++i) {
                    if (list.at(i).value(QStringLiteral("key")).string() == u"Cut Paste") {
                        Value record = list.at(i).mutableCopy();
                        record.insert(QStringLiteral("cutPaths"), Value(cut));
                        list.replace(i, record);
                    }
                }
                root.insert(StoreKey::rightMenu, list);
            }));
            Value kinds = root(extensionSide, StoreKey::newFile);
            Value added = appRecord(u"ABC"_s);
            kinds.append(added);
            QVERIFY(extensionSide.setObject(kinds, StoreKey::newFile));
        }
        const int row = int(AppFixture::keys(StoreKey::rightMenu).indexOf(u"Copy to"_s));
        editor.tableView()->item(row, MainMenuPage::EnableColumn)->setCheckState(Qt::Unchecked);
        QCoreApplication::processEvents();
        QVERIFY(AppFixture::record(StoreKey::rightMenu, u"Copy to"_s)
                    .value(QStringLiteral("disabled"))
                    .readBool());
        QCOMPARE(AppFixture::record(StoreKey::rightMenu, u"Cut Paste"_s)
                     .value(QStringLiteral("cutPaths"))
                     .stringList(),
                 cut);
        QVERIFY(AppFixture::keys(StoreKey::newFile).contains(u"ABC"_s));
    }

    void aClickAsTheWindowComesBackIsStoredAndShown()
    {
        MainMenuPage editor;
        editor.resize(600, 900);
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        const QString key = AppFixture::keys(StoreKey::rightMenu).at(1);
        editor.selectRow(1);
        ReorderTable* table = editor.tableView();
        // The click that brings the window back: the press arrives, then the window is active
        // again (a dialog just closed), then the release.
        auto clickBox = [&](int row) {
            // The box sits in the middle of its cell.
            const QPoint box =
                table->visualItemRect(table->item(row, MainMenuPage::EnableColumn)).center();
            QTest::mousePress(table->viewport(), Qt::LeftButton, {}, box);
            NotificationCenter::defaultCenter().postNotification(MainMenuPage::kWindowDidBecomeKey);
            QTest::mouseRelease(table->viewport(), Qt::LeftButton, {}, box);
            QTest::qWait(50);
        };
        const Qt::CheckState before = table->item(0, MainMenuPage::EnableColumn)->checkState();
        clickBox(0);
        const Qt::CheckState after = table->item(0, MainMenuPage::EnableColumn)->checkState();
        QVERIFY(after != before);
        QCOMPARE(
            AppFixture::record(StoreKey::rightMenu, AppFixture::keys(StoreKey::rightMenu).at(0))
                .value(QStringLiteral("disabled"))
                .readBool(),
            after == Qt::Unchecked);
        // The refresh after the store changed keeps the selected entry.
        QCOMPARE(editor.selectItem() ? editor.selectItem()->key : QString(), key);
    }

    void renameWithEmptyTextShowsDefaultTitle()
    {
        MainMenuPage editor;
        editor.selectRow(0);
        const QString key = editor.selectItem()->key;
        m_app.prompter.names.push_back(u"Mine"_s);
        editor.onEditName();
        QCOMPARE(editor.tableView()->item(0, 0)->text(), u"Mine"_s);
        editor.selectRow(0);
        m_app.prompter.names.push_back(QString());
        editor.onEditName();
        QCOMPARE(AppFixture::record(StoreKey::rightMenu, key)
                     .value(QStringLiteral("displayName"))
                     .string(),
                 QString());
        QCOMPARE(editor.tableView()->item(0, 0)->text(), Localizer::text(key));
    }

    void rowBoxesFollowTheExtensionState()
    {
        m_app.extensionEnabled = false;
        MainMenuPage editor;
        QVERIFY(!editor.enableButton()->isChecked());
        QVERIFY(!(editor.tableView()->item(0, MainMenuPage::EnableColumn)->flags() &
                  Qt::ItemIsEnabled));
        m_app.extensionEnabled = true;
        editor.refresh();
        QVERIFY(editor.enableButton()->isChecked());
        QVERIFY(editor.tableView()->item(0, MainMenuPage::EnableColumn)->flags() &
                Qt::ItemIsEnabled);
    }

    void optionBoxesOnlyInTheirRows()
    {
        MainMenuPage editor;
        const QStringList keys = AppFixture::keys(StoreKey::rightMenu);
        for (int row = 0; row < keys.size(); ++row) {
            const bool checkable =
                editor.tableView()->item(row, MainMenuPage::OptionsColumn)->flags() &
                Qt::ItemIsUserCheckable;
            QCOMPARE(checkable, keys.at(row) == u"Delete" || keys.at(row) == u"Color Picker");
        }
        const int row = int(keys.indexOf(u"Delete"_s));
        editor.tableView()->item(row, MainMenuPage::OptionsColumn)->setCheckState(Qt::Checked);
        QCoreApplication::processEvents();
        QVERIFY(MenuStore::sharedDefaults().boolForKey(StoreKey::prefCheck(0)));
        QVERIFY(!MenuStore::sharedDefaults().boolForKey(StoreKey::prefCheck(6)));
    }

    // The limits: "Add" at the limit says so and opens nothing; one below, it opens.
    void newFileLimitIsSixty()
    {
        fillList(StoreKey::newFile, 60, u"kind"_s);
        NewFilePage editor;
        editor.onAdd();
        QCOMPARE(m_app.prompter.informatives(),
                 QStringList{Localizer::text(QStringLiteral("Submenu Limit Tip"))});
        QVERIFY(!editor.addFileWinCtl());
        fillList(StoreKey::newFile, 59, u"kind"_s);
        editor.refresh();
        editor.onAdd();
        QCOMPARE(m_app.prompter.alerts.size(), 1);
        QVERIFY(editor.addFileWinCtl());
        editor.addFileWinCtl()->onCancel();
    }

    void openWithLimitIsFifty()
    {
        fillList(StoreKey::commonApp, 50, u"App "_s);
        OpenWithPage editor;
        int chooserShown = 0;
        editor.chooser = [&chooserShown] {
            ++chooserShown;
            return std::optional<DesktopApplications::Entry>();
        };
        editor.onAdd();
        QCOMPARE(chooserShown, 0);
        QCOMPARE(m_app.prompter.informatives(),
                 QStringList{Localizer::text(QStringLiteral("Submenu Limit Tip"))});
        fillList(StoreKey::commonApp, 49, u"App "_s);
        editor.refresh();
        editor.onAdd();
        QCOMPARE(chooserShown, 1);
    }

    void favouritesLimitIsSixty()
    {
        Value list = Value::array();
        for (int i = 0; i < 60; ++i) {
            Value record = Value::dictionary();
            record.insert(QStringLiteral("path"), u"/tmp/f"_s + QString::number(i));
            list.append(record);
        }
        MenuStore::sharedDefaults().setObject(list, StoreKey::commonPath);
        FavouritesPage editor;
        m_app.prompter.paths.push_back(QStringList{m_app.home()});
        editor.addFolder();
        QCOMPARE(m_app.prompter.paths.size(), size_t(1)); // no panel was shown
        QCOMPARE(AppFixture::list(StoreKey::commonPath).count(), 60);
    }

    void anAddedFolderIsScrolledFullyIntoView()
    {
        Value list = Value::array();
        for (int i = 0; i < 40; ++i) {
            Value record = Value::dictionary();
            record.insert(QStringLiteral("path"), u"/tmp/f"_s + QString::number(i));
            list.append(record);
        }
        MenuStore::sharedDefaults().setObject(list, StoreKey::commonPath);
        FavouritesPage editor;
        editor.resize(500, 300);
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        m_app.prompter.paths.push_back(QStringList{m_app.home()});
        editor.addFolder();
        QCoreApplication::processEvents();
        const ReorderTable* table = editor.tableView();
        const QRect last = table->visualItemRect(table->item(table->rowCount() - 1, 0));
        QVERIFY2(table->viewport()->rect().contains(last), "the new row is cut off");
    }

    void sameApplicationNameIsRefused()
    {
        OpenWithPage editor;
        const qsizetype before = AppFixture::list(StoreKey::commonApp).count();
        const DesktopApplications::Entry entry{u"Text Editor"_s, u"a.desktop"_s, {}};
        QVERIFY(editor.addApplication(entry));
        const Value added = AppFixture::record(StoreKey::commonApp, u"Text Editor"_s);
        const QString icon = added.value(QStringLiteral("iconPath")).string();
        QVERIFY(icon.startsWith(MenuStore::appIconFolder() + u'/'));
        QCOMPARE(QImage(icon).size(), QSize(60, 60));
        const DesktopApplications::Entry other{u"Text Editor"_s, u"b.desktop"_s, {}};
        QVERIFY(!editor.addApplication(other));
        QCOMPARE(m_app.prompter.informatives(),
                 QStringList{Localizer::text(QStringLiteral("App Exist Tip"))});
        QCOMPARE(AppFixture::list(StoreKey::commonApp).count(), before + 1);
    }

    void applicationNameWithSlashStaysInIconFolder()
    {
        const QString path = OpenWithPage::iconFilePath(u"../AC/DC"_s);
        QCOMPARE(QFileInfo(path).absolutePath(), MenuStore::appIconFolder());
    }

    // A special file's name made of dots (or blanks) would name the folder itself or its parent.
    void specialFileNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("three dots") << u"..."_s << false;
        QTest::newRow("two dots") << u".."_s << false;
        QTest::newRow("dots between blanks") << u"  ..  "_s << false;
        QTest::newRow("blanks") << u"   "_s << false;
        QTest::newRow("slash") << u"a/.env"_s << false;
        QTest::newRow(".gitignore") << u".gitignore"_s << true;
        QTest::newRow("Makefile") << u"Makefile"_s << true;
    }
    void specialFileNames()
    {
        QFETCH(QString, name);
        QFETCH(bool, accepted);
        TemplateDialog window;
        window.checkedSpecialFile()->setChecked(true);
        window.inputFileType()->setText(u"Ignore list"_s);
        window.inputSpecialName()->setText(name);
        QCOMPARE(window.sureBtn()->isEnabled(), accepted);
        window.onCancel();
    }

    void specialKindIsStoredWithItsWholeName()
    {
        NewFilePage editor;
        const QString source = m_app.home() + u"/my.gitignore"_s;
        {
            QFile f(source);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("*.o\n");
        }
        editor.onAdd();
        TemplateDialog* window = editor.addFileWinCtl();
        QVERIFY(window);
        window->checkedSpecialFile()->setChecked(true);
        QVERIFY(window->selectTemplate(source));
        window->inputSpecialName()->setText(u".gitignore"_s);
        const QString key = window->menuItem()->key;
        window->onSure();
        const Value stored = AppFixture::record(StoreKey::newFile, key);
        QVERIFY(stored.value(QStringLiteral("special")).readBool());
        QCOMPARE(stored.value(QStringLiteral("ext")).string(), QString());
        QCOMPARE(stored.value(QStringLiteral("fileName")).string(), u".gitignore"_s);
        const QString templ = stored.value(QStringLiteral("templatePath")).string();
        QCOMPARE(templ, MenuStore::fileTemplateFolder() + u'/' + key);
        QVERIFY(QFile::exists(templ));
        QVERIFY(filesUnder(MenuStore::cacheFolder()).isEmpty());
    }

    void ordinaryKindTakesTypeFromTemplate()
    {
        const QString source = m_app.home() + u"/report.DOCX"_s;
        {
            QFile f(source);
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        TemplateDialog window;
        QVERIFY(!window.sureBtn()->isEnabled());
        QVERIFY(window.selectTemplate(source));
        QCOMPARE(window.inputFileType()->text(), u"DOCX"_s);
        QCOMPARE(window.inputExtension()->text(), u"docx"_s);
        QVERIFY(window.sureBtn()->isEnabled());
        window.inputFileName()->setText(u"../x"_s);
        QVERIFY(!window.sureBtn()->isEnabled());
        window.onCancel();
    }

    void cancelLeavesNoFileBehind()
    {
        const QString source = m_app.home() + u"/t.txt"_s;
        {
            QFile f(source);
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        const QStringList templatesBefore = filesUnder(MenuStore::fileTemplateFolder());
        {
            TemplateDialog window;
            QVERIFY(window.selectTemplate(source));
            QImage image(10, 20, QImage::Format_ARGB32);
            image.fill(Qt::red);
            QVERIFY(window.saveImage(image));
            QCOMPARE(QImage(window.iconPath()).size(), QSize(60, 60));
            QCOMPARE(filesUnder(MenuStore::cacheFolder()).size(), 2);
            window.onCancel();
        }
        QVERIFY(filesUnder(MenuStore::cacheFolder()).isEmpty());
        QCOMPARE(filesUnder(MenuStore::fileTemplateFolder()), templatesBefore);
        QVERIFY(QFile::exists(source));
    }

    void iconPickerRefusesWhatIsNoPicture()
    {
        const QString text = m_app.home() + u"/notes.txt"_s;
        const QString fake = m_app.home() + u"/fake.png"_s;
        const QString real = m_app.home() + u"/real.png"_s;
        for (const QString& path : {text, fake}) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("not a picture\n");
        }
        QImage image(8, 8, QImage::Format_ARGB32);
        image.fill(Qt::blue);
        QVERIFY(image.save(real));
        TemplateDialog window;
        for (const QString& path : {text, fake}) {
            m_app.prompter.alerts.clear();
            QVERIFY(!window.selectIcon(path));
            QCOMPARE(m_app.prompter.informatives(),
                     QStringList{Localizer::text(u"Picture Unreadable Tip"_s)});
            QVERIFY(window.iconPath().isEmpty());
        }
        QVERIFY(window.selectIcon(real));
        QCOMPARE(QImage(window.iconPath()).size(), QSize(60, 60));
        window.onCancel();
    }

    void newFileFromWindowCannotBeDeleted()
    {
        NewFilePage editor;
        const int row = int(AppFixture::keys(StoreKey::newFile).indexOf(u"New File From Window"_s));
        QVERIFY(row >= 0);
        QCOMPARE(editor.tableView()->item(row, NewFilePage::ExtColumn)->text(), QString());
        editor.selectRow(row);
        QVERIFY(!editor.deleteButton()->isEnabled());
        editor.onDelete();
        QVERIFY(AppFixture::keys(StoreKey::newFile).contains(u"New File From Window"_s));
    }

    void homeFolderShowsAsTilde()
    {
        QCOMPARE(FavouritesPage::displayPath(m_app.home()), u"~"_s);
        QCOMPARE(FavouritesPage::displayPath(m_app.home() + u"/Projects/a b"_s),
                 u"~/Projects/a b"_s);
        // Only the whole folder name counts: a sibling sharing the prefix stays as it is.
        QCOMPARE(FavouritesPage::displayPath(m_app.home() + u"2/x"_s), m_app.home() + u"2/x"_s);
        QCOMPARE(FavouritesPage::displayPath(u"/etc"_s), u"/etc"_s);

        FavouritesPage editor;
        const QString folder = m_app.mkdir(u"Projects"_s);
        editor.addFolderPath(folder);
        QCOMPARE(editor.tableView()->item(0, FavouritesPage::PathColumn)->text(), u"~/Projects"_s);
        QCOMPARE(
            AppFixture::list(StoreKey::commonPath).at(0).value(QStringLiteral("path")).string(),
            folder);
    }

    void aFolderAlreadyListedIsRefused()
    {
        FavouritesPage editor;
        const QString folder = m_app.mkdir(u"Projects"_s);
        QVERIFY(editor.addFolderPath(folder));
        QVERIFY(!editor.addFolderPath(folder + u'/'));
        QCOMPARE(m_app.prompter.informatives(),
                 QStringList{Localizer::text(QStringLiteral("Folder Exist Tip"))});
        QCOMPARE(AppFixture::list(StoreKey::commonPath).count(), 1);
    }

    void favouriteRenamedBlankGetsFolderName()
    {
        FavouritesPage editor;
        editor.addFolderPath(m_app.mkdir(u"Projects"_s));
        editor.selectRow(0);
        m_app.prompter.names.push_back(u"  "_s);
        editor.onEditName();
        QCOMPARE(AppFixture::list(StoreKey::commonPath).at(0).value(u"displayName"_s).string(),
                 u"Projects"_s);
    }

    void favouriteSubmenuChoice()
    {
        FavouritesPage editor;
        // A fresh store selects the folder's contents, stores it, and says "20".
        QCOMPARE(MenuStore::sharedDefaults().integerForKey(StoreKey::commonPathNextMenu), 3);
        QCOMPARE(editor.popUpButton()->currentIndex(), 1);
        QVERIFY(editor.tipLabel()->text().contains(u"20"_s));
        QVERIFY(!editor.tipLabel()->isHidden());
        editor.onSelectPopUpType(3);
        QCOMPARE(MenuStore::sharedDefaults().integerForKey(StoreKey::commonPathNextMenu), 4);
        QVERIFY(editor.tipLabel()->text().contains(u"10"_s));
        editor.onSelectPopUpType(0);
        QCOMPARE(MenuStore::sharedDefaults().integerForKey(StoreKey::commonPathNextMenu), 1);
        QVERIFY(editor.tipLabel()->isHidden());
    }

private:
    static Value root(Defaults& store, const QString& key)
    {
        return store.object(key).mutableCopy();
    }
};

QTEST_MAIN(TestListEditors)
#include "tst_listeditors.moc"
