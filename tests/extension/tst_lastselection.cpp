// What the palette works on, from the menu requests a file manager sends.
#include "LastSelection.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace pallstone;

class TestLastSelection : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void theSelectionOutlivesItsOwnBackgroundRequestButNotALaterOne()
    {
        const MenuRequest items(MenuKind::Items, {u"/home/me/docs/a.txt"_s}, u"/home/me/docs"_s);
        const MenuRequest background(MenuKind::Background, {}, u"/home/me/docs"_s);
        LastSelection last;
        QVERIFY(!last.request());
        last.note(items, 1000);
        last.note(background, 1010); // the same selection change
        last.note(MenuRequest(MenuKind::Toolbar, {}, u"/home/me"_s), 1020);
        QCOMPARE(last.request()->selectedPaths, items.selectedPaths);
        last.note(background, 9000); // the selection was cleared
        QCOMPARE(last.request()->kind, MenuKind::Background);
        QVERIFY(last.request()->selectedPaths.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestLastSelection)
#include "tst_lastselection.moc"
