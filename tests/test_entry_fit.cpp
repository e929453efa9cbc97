// Score entry on a small laptop screen: the screen fits the main window's work area
// with its buttons and key hint in sight, Down in a full-marks box moves nothing
// else, the focus comes back to the grid after モード設定, and the key hint follows
// the input mode.

#include "EntryTestSupport.h"
#include "entry/FixedValuesDialog.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>

using namespace EntryTest;

namespace {

// Whether the whole of `control` lies inside the visible part of the work area.
bool inSight(const QWidget* control, const QMdiArea* area)
{
    const QRect shown(control->mapTo(area->viewport(), QPoint(0, 0)), control->size());
    return control->isVisible() && area->viewport()->rect().contains(shown);
}

}  // namespace

class EntryFitTest : public QObject {
    Q_OBJECT
private slots:
    // The main window filling a 1366×768 laptop screen less its taskbar, and a
    // 1280×720 one: score entry opens inside the work area with 保存終了, 中止 and the
    // key hint in sight, and the grid scrolls through the 45 pupils inside it.
    void fitsASmallScreen_data()
    {
        QTest::addColumn<QSize>("screen");
        QTest::newRow("1366x768") << QSize(1366, 728);
        QTest::newRow("1280x720") << QSize(1280, 680);
    }

    void fitsASmallScreen()
    {
        QFETCH(QSize, screen);
        TestEnv env;
        env.makeClass(pupilNames(45));
        env.writeFile(QStringLiteral("国語.dat"), simpleTests(2, 45));
        MainWindow& window = env.startMainWindow();
        window.setGeometry(QRect(QPoint(0, 0), screen));
        EntryScreen entry(qobject_cast<ScoreEntryWindow*>(window.openScoreEntryWindow()));
        QVERIFY(entry);
        QMdiArea* area = window.mdiArea();
        QMdiSubWindow* frame = entry.window->subWindow();
        QVERIFY(area->viewport()->rect().contains(frame->geometry()));
        for (const QWidget* control : std::initializer_list<const QWidget*>{
                 entry.saveAndCloseButton, entry.closeWithoutSavingButton, entry.keyHint, entry.newTestButton,
                 entry.fixedValuesButton, entry.fullMarksBoxes[3]})
            QVERIFY2(inSight(control, area), qPrintable(control->objectName()));
        QVERIFY(entry.grid->verticalScrollBar()->maximum() > 0);

        // Made as small as it goes, the screen still shows every command, and a few
        // pupils in the grid.
        frame->resize(frame->minimumSizeHint());
        QVERIFY(frame->height() < 480);
        QTest::qWait(10);
        for (const QWidget* control : std::initializer_list<const QWidget*>{
                 entry.saveAndCloseButton, entry.closeWithoutSavingButton, entry.keyHint, entry.lastTestButton})
            QVERIFY2(inSight(control, area), qPrintable(control->objectName()));
        QVERIFY(entry.grid->viewport()->height() >= 3 * entry.grid->verticalHeader()->defaultSectionSize());
    }

    // Down in a full-mark box that holds no 100 does nothing; in particular the work
    // area does not scroll the screen away.
    void downInAFullMarksBoxMovesNothing()
    {
        TestEnv env;
        env.makeClass(pupilNames(45));
        env.writeFile(QStringLiteral("国語.dat"), simpleTests(1, 45));
        MainWindow& window = env.startMainWindow();
        window.setGeometry(QRect(0, 0, 1000, 420));  // the screen sticks out: the area scrolls
        EntryScreen entry(qobject_cast<ScoreEntryWindow*>(window.openScoreEntryWindow()));
        QVERIFY(entry);
        QScrollBar* areaBar = window.mdiArea()->verticalScrollBar();
        QTRY_VERIFY(areaBar->maximum() > 0);
        const int shown = areaBar->value();
        const int gridTop = entry.grid->verticalScrollBar()->value();
        QLineEdit* box = entry.fullMarksBoxes[0];
        box->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(box->hasFocus());
        box->setText(QStringLiteral("30"));
        for (int i = 0; i < 3; ++i) {
            QTest::keyClick(box, Qt::Key_Down);
            QTest::keyClick(box, Qt::Key_PageDown);
        }
        QCOMPARE(areaBar->value(), shown);
        QCOMPARE(entry.grid->verticalScrollBar()->value(), gridTop);
        QCOMPARE(box->text(), QStringLiteral("30"));
        QVERIFY(box->hasFocus());
    }

    // モード設定 → 決定: the focus is back in the grid, so the next keys are scores,
    // and the key hint of fixed input names the values just set.
    void afterFixedValuesTheGridTakesTheKeys()
    {
        TestEnv env;
        env.makeClass(pupilNames(3));
        env.writeFile(QStringLiteral("国語.dat"), simpleTests(1, 3));
        EntryScreen entry = openEntry(env);
        QCOMPARE(entry.keyHint->text(), QStringLiteral("　入力キー：100点「*」、欠席「/」、全観点一括満点入力「+」"));
        entry.fixedModeAction->trigger();
        QCOMPARE(entry.keyHint->text(),
                 QStringLiteral("　入力キー（固定入力）：60点「1」、80点「2」、100点「3」または「*」、欠席「/」"));

        QTest::mouseClick(entry.fixedValuesButton, Qt::LeftButton);
        FixedValuesDialog* fixedValues = entry.window->fixedValuesDialog();
        QVERIFY(fixedValues);
        QVERIFY(QTest::qWaitForWindowActive(fixedValues));
        fixedValueBox(fixedValues, 1)->setText(QStringLiteral("40"));
        fixedValueBox(fixedValues, 2)->setText(QStringLiteral("70"));
        fixedValueBox(fixedValues, 3)->setText(QStringLiteral("90"));
        QTest::mouseClick(button(fixedValues, "okButton"), Qt::LeftButton);
        QTRY_VERIFY(!entry.window->fixedValuesDialog());
        QTRY_VERIFY(entry.grid->hasFocus());
        QCOMPARE(entry.keyHint->text(),
                 QStringLiteral("　入力キー（固定入力）：40点「1」、70点「2」、90点「3」または「*」、欠席「/」"));

        // Typed straight away, without a click: the keys are scores.
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("12"));
        QCOMPARE(entry.rowCells(1), (QStringList{"40", "40", "", "", ""}));
        QCOMPARE(entry.rowCells(2), (QStringList{"70", "70", "", "", ""}));

        // Back in normal input, the hint names the normal keys again.
        entry.normalModeAction->trigger();
        QCOMPARE(entry.keyHint->text(), QStringLiteral("　入力キー：100点「*」、欠席「/」、全観点一括満点入力「+」"));
    }
};

QTEST_MAIN(EntryFitTest)
#include "test_entry_fit.moc"
