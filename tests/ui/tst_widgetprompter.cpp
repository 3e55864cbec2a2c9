#include "Localizer.h"
#include "PaletteWindow.h"
#include "ProgressWindow.h"
#include "ScreenMagnifier.h"
#include "WidgetPrompter.h"

#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace pallstone;

namespace {

template <typename Widget> Widget* visibleTopLevel(const QString& objectName)
{
    const auto widgets = QApplication::topLevelWidgets();
    for (QWidget* widget : widgets) {
        auto* found = qobject_cast<Widget*>(widget);
        if (found && found->isVisible() && found->objectName() == objectName)
            return found;
    }
    return nullptr;
}

// Runs the check once the modal window is up; retried until it is.
void whenShown(const std::function<bool()>& check, int attempts = 100)
{
    QTimer::singleShot(20, qApp, [check, attempts] {
        if (!check() && attempts > 0)
            whenShown(check, attempts - 1);
    });
}

} // namespace

class TestWidgetPrompter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void alertButtonsAnswerByPosition_data()
    {
        QTest::addColumn<QString>("clicked");
        QTest::addColumn<int>("expected");
        QTest::newRow("first") << "Replace" << kAlertFirstButton;
        QTest::newRow("second") << "Keep Both" << kAlertSecondButton;
        QTest::newRow("third") << "Stop" << kAlertThirdButton;
    }

    void alertButtonsAnswerByPosition()
    {
        QFETCH(QString, clicked);
        QFETCH(int, expected);
        QStringList shown;
        whenShown([&] {
            QMessageBox* box = visibleTopLevel<QMessageBox>(QStringLiteral("alert"));
            if (!box)
                return false;
            const auto buttons = box->buttons();
            for (QAbstractButton* button : buttons) {
                shown << button->text();
                if (button->text() == clicked)
                    button->click();
            }
            return true;
        });
        WidgetPrompter prompter;
        const int answer = prompter.alert(
            {AlertRequest::Style::Warning,
             QStringLiteral("Exists"),
             QStringLiteral("Really?"),
             {QStringLiteral("Replace"), QStringLiteral("Keep Both"), QStringLiteral("Stop")},
             {}});
        QCOMPARE(answer, expected);
        QCOMPARE(shown.size(), 3);
    }

    void alertWithoutButtonsShowsOneOk()
    {
        QStringList shown;
        whenShown([&] {
            QMessageBox* box = visibleTopLevel<QMessageBox>(QStringLiteral("alert"));
            if (!box)
                return false;
            const auto buttons = box->buttons();
            for (QAbstractButton* button : buttons)
                shown << button->text();
            buttons.first()->click();
            return true;
        });
        WidgetPrompter prompter;
        QCOMPARE(prompter.alert(
                     {AlertRequest::Style::Informational, QStringLiteral("Done"), {}, {}, {}}),
                 kAlertFirstButton);
        QCOMPARE(shown, QStringList{Localizer::text(QStringLiteral("OK"))});
    }

    void aLongHeadingShowsItsWholeText()
    {
        QSize needed;
        QRect shown;
        QRect window;
        whenShown([&] {
            QMessageBox* box = visibleTopLevel<QMessageBox>(QStringLiteral("alert"));
            if (!box)
                return false;
            const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
            needed = label->wordWrap() ? QSize(0, label->heightForWidth(label->width()))
                                       : label->sizeHint();
            shown = label->geometry();
            window = box->rect();
            box->buttons().first()->click();
            return true;
        });
        WidgetPrompter prompter;
        prompter.alert({AlertRequest::Style::Informational,
                        QStringLiteral("Enjoying Pallstone? A star or a few words on the project "
                                       "page help others find it."),
                        {},
                        {QStringLiteral("Go Review"), QStringLiteral("Next Time")},
                        {}});
        QVERIFY(needed.height() > 0);
        QVERIFY2(shown.width() >= needed.width() && shown.height() >= needed.height() &&
                     window.contains(shown),
                 qPrintable(QStringLiteral("label %1x%2 needs %3x%4")
                                .arg(shown.width())
                                .arg(shown.height())
                                .arg(needed.width())
                                .arg(needed.height())));
    }

    void requiredNameCannotBeConfirmedWhileBlank()
    {
        QList<bool> enabled;
        whenShown([&] {
            QDialog* dialog = visibleTopLevel<QDialog>(QStringLiteral("nameDialog"));
            if (!dialog)
                return false;
            auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("nameField"));
            auto* ok = dialog->findChild<QPushButton*>(QStringLiteral("okButton"));
            enabled << ok->isEnabled();
            field->setText(QStringLiteral("   "));
            enabled << ok->isEnabled();
            field->setText(QStringLiteral("Profile 2"));
            enabled << ok->isEnabled();
            ok->click();
            return true;
        });
        WidgetPrompter prompter;
        NameRequest request;
        request.required = true;
        QCOMPARE(prompter.askName(request), QStringLiteral("Profile 2"));
        QCOMPARE(enabled, (QList<bool>{false, false, true}));
    }

    void optionalNameMayStayBlank()
    {
        bool enabled = false;
        whenShown([&] {
            QDialog* dialog = visibleTopLevel<QDialog>(QStringLiteral("nameDialog"));
            if (!dialog)
                return false;
            auto* ok = dialog->findChild<QPushButton*>(QStringLiteral("okButton"));
            enabled = ok->isEnabled();
            ok->click();
            return true;
        });
        WidgetPrompter prompter;
        QCOMPARE(prompter.askName({}), QString());
        QVERIFY(enabled);
    }

    void aBoldHeadingKeepsItsWholeLine()
    {
        const QString heading = QStringLiteral("The address was copied to the clipboard");
        int shown = 0;
        whenShown([&] {
            auto* box = visibleTopLevel<QMessageBox>(QStringLiteral("alert"));
            if (!box)
                return false;
            shown = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))->width();
            box->buttons().first()->click();
            return true;
        });
        WidgetPrompter prompter;
        AlertRequest request;
        request.message = heading;
        request.informative = QStringLiteral("https://example.org");
        prompter.alert(request);
        QFont bold = QApplication::font();
        bold.setWeight(QFont::DemiBold);
        QVERIFY(shown >= QFontMetrics(bold).horizontalAdvance(heading));
    }

    void theMagnifierSitsOnThePointer()
    {
        QCursor::setPos(400, 300);
        ScreenMagnifier magnifier;
        magnifier.start();
        // Its marker, the window's centre, is on the pixel the click will pick.
        QVERIFY((magnifier.geometry().center() - QCursor::pos()).manhattanLength() <= 2);
    }

    void thePaletteFiltersMovesWithArrowsAndRunsWithEnter()
    {
        PaletteRequest request;
        request.header = QStringLiteral("“notes.txt” in ~/docs");
        for (const char* title : {"New File › Text Document", "Compress with Password", "Copy Path",
                                  "Copy To › Choose Folder…"})
            request.rows.append({QString::fromUtf8(title), {}, {}, {QString::fromUtf8(title)}});
        QStringList shown;
        whenShown([&] {
            auto* window = visibleTopLevel<PaletteWindow>(QStringLiteral("paletteWindow"));
            if (!window)
                return false;
            shown << window->header()->text();
            QTest::keyClicks(window->filterField(), QStringLiteral("cp"));
            shown << window->list()->currentItem()->text();
            QTest::keyClick(window->filterField(), Qt::Key_Down);
            shown << window->list()->currentItem()->text();
            QTest::keyClick(window->filterField(), Qt::Key_Up);
            QTest::keyClick(window->filterField(), Qt::Key_Return);
            return true;
        });
        WidgetPrompter prompter;
        QCOMPARE(prompter.choosePaletteRow(request), 2);
        QCOMPARE(shown, (QStringList{request.header, QStringLiteral("Copy Path"),
                                     QStringLiteral("Compress with Password")}));

        whenShown([&] {
            auto* window = visibleTopLevel<PaletteWindow>(QStringLiteral("paletteWindow"));
            if (!window)
                return false;
            QTest::keyClick(window->filterField(), Qt::Key_Escape);
            return true;
        });
        QCOMPARE(prompter.choosePaletteRow(request), std::nullopt);
    }

    void progressWindowCancelsOnceAndClosesAfterSuccess()
    {
        QCOMPARE(ProgressWindow::percentText(42.5), QStringLiteral("42.5%"));
        QCOMPARE(ProgressWindow::percentText(100), QStringLiteral("100.0%"));

        WidgetPrompter prompter;
        int cancelled = 0;
        prompter.progress({ProgressEvent::State::Open,
                           0,
                           QStringLiteral("Compressing"),
                           [&cancelled] { ++cancelled; },
                           {}});
        QPointer<ProgressWindow> window = prompter.progressWindow();
        QVERIFY(window && window->isVisible());
        QVERIFY(!window->isCancelVisible()); // nothing to stop before the job measures itself
        prompter.progress({ProgressEvent::State::Percent, 42.5, {}, {}, {}});
        QCOMPARE(window->tipText(), QStringLiteral("42.5%"));
        QVERIFY(window->isCancelVisible());
        auto* cancel = window->findChild<QPushButton*>(QStringLiteral("cancelButton"));
        cancel->click();
        QCOMPARE(cancelled, 1);
        QTRY_VERIFY(!window); // closed and deleted

        bool closed = false;
        prompter.progress({ProgressEvent::State::Open, 0, QStringLiteral("Copying"), {}, {}});
        prompter.progress({ProgressEvent::State::Success, 0, QStringLiteral("Done"), {}, [&closed] {
                               closed = true;
                           }});
        window = prompter.progressWindow();
        QVERIFY(window);
        QCOMPARE(window->tipText(), QStringLiteral("Done"));
        QVERIFY(!closed);
        QTRY_VERIFY_WITH_TIMEOUT(closed && !window, 5000);
        QCOMPARE(cancelled, 1);
    }

    void aJobStartedWhileTheLastSuccessShowsKeepsItsWindowAndItsCancel()
    {
        WidgetPrompter prompter;
        prompter.progress({ProgressEvent::State::Open, 0, QStringLiteral("Compressing"), {}, {}});
        prompter.progress({ProgressEvent::State::Success, 0, QStringLiteral("Done"), {}, {}});
        QPointer<ProgressWindow> first = prompter.progressWindow();
        QVERIFY(first && first->isSuccessMarkVisible());

        int cancelled = 0;
        prompter.progress({ProgressEvent::State::Open,
                           0,
                           QStringLiteral("Compressing"),
                           [&cancelled] { ++cancelled; },
                           {}});
        QPointer<ProgressWindow> second = prompter.progressWindow();
        prompter.progress({ProgressEvent::State::Percent, 10, {}, {}, {}});
        QVERIFY(second->isCancelVisible());
        QVERIFY(!second->isSuccessMarkVisible());
        // The first job's window goes a second later; the second job's stays.
        QTRY_VERIFY_WITH_TIMEOUT(!first, 5000);
        QTest::qWait(200);
        QVERIFY(second && second->isVisible());
        second->findChild<QPushButton*>(QStringLiteral("cancelButton"))->click();
        QCOMPARE(cancelled, 1);
    }

    void runningJobsShareOneWindowAndNeverCloseEachOther()
    {
        WidgetPrompter prompter;
        const quint64 first = ProgressEvent::nextJob();
        const quint64 second = ProgressEvent::nextJob();
        QVERIFY(first != second && first != 0);
        prompter.progress(
            {ProgressEvent::State::Open, 0, QStringLiteral("Convert"), {}, {}, first});
        prompter.progress(
            {ProgressEvent::State::Open, 0, QStringLiteral("Convert"), {}, {}, second});
        prompter.progress({ProgressEvent::State::Percent, 30, {}, {}, {}, second});
        QList<QWidget*> windows;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->isVisible())
                windows.append(w);
        }
        QCOMPARE(windows.size(), 1);
        const QPointer<QWidget> shared = windows.first();
        QList<QPointer<ProgressWindow>> rows;
        for (ProgressWindow* row : shared->findChildren<ProgressWindow*>())
            rows.append(row);
        QCOMPARE(rows.size(), 2);
        prompter.progress({ProgressEvent::State::Close, 0, {}, {}, {}, first});
        QTRY_VERIFY(!rows.at(0) || !rows.at(1));
        const QPointer<ProgressWindow> left = rows.at(0) ? rows.at(0) : rows.at(1);
        QVERIFY(left && left->isVisible() && shared->isVisible());
        QCOMPARE(left->tipText(), QStringLiteral("30.0%"));
        prompter.progress({ProgressEvent::State::Close, 0, {}, {}, {}, second});
        QTRY_VERIFY(!shared);
    }
};

QTEST_MAIN(TestWidgetPrompter)
#include "tst_widgetprompter.moc"
