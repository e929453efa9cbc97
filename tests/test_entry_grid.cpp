// Typing scores into the grid of the score-entry screen, key by key, in both input
// modes, as a teacher does with the keypad.

#include "EntryTestSupport.h"
#include "entry/FixedValuesDialog.h"

#include <QAction>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSettings>

using namespace EntryTest;

class EntryGridTest : public QObject {
    Q_OBJECT
private slots:
    void twoDigitEntryAgainstFullMarks()
    {
        TestEnv env;
        env.makeClass(pupilNames(3));
        env.writeFile(QStringLiteral("国語.dat"), scoreLines({{QStringLiteral("小テスト"), {{1, 50, {0, 0, 0}}}}}));
        EntryScreen entry = openEntry(env);
        QVERIFY(entry);
        QCOMPARE(entry.cursorRow(), 1);
        QCOMPARE(entry.cursorCol(), 3);

        entry.type(QStringLiteral("4"));
        QCOMPARE(entry.cellText(1, 3), QStringLiteral("4"));
        QCOMPARE(entry.cursorRow(), 1);  // waits for the second digit
        entry.type(QStringLiteral("5"));
        QCOMPARE(entry.rowCells(1), (QStringList{"45", "45", "", "", ""}));
        QCOMPARE(entry.cursorRow(), 2);  // one viewpoint: straight down
        QCOMPARE(entry.cursorCol(), 3);

        // Above the full marks of 50: refused with the stop icon, the cursor stays.
        entry.type(QStringLiteral("60"));
        QCOMPARE(entry.cellText(2, 3), QStringLiteral("60"));
        QCOMPARE(entry.cellText(2, 2), QStringLiteral("0"));
        QCOMPARE(env.ui.messages.size(), 1);
        QCOMPARE(env.ui.messages[0].text, QStringLiteral("満点を超えた点数です"));
        QCOMPARE(env.ui.messages[0].icon, Ui::Icon::Critical);
        QCOMPARE(env.ui.messages[0].buttons, Ui::Buttons::Ok);
        QCOMPARE(entry.cursorRow(), 2);
        entry.type(QStringLiteral("*"));
        QCOMPARE(entry.cellText(2, 3), QStringLiteral("100"));
        QCOMPARE(env.ui.messages.size(), 2);
        QCOMPARE(entry.cursorRow(), 2);

        // "0" "0" enters 0 and moves on.
        entry.type(QStringLiteral("00"));
        QCOMPARE(entry.rowCells(2), (QStringList{"0", "0", "", "", ""}));
        QCOMPARE(entry.cursorRow(), 3);

        // A lone digit stays in the cell; "/" replaces it with 欠席 and commits. In the
        // last row the cursor stays where it is.
        entry.type(QStringLiteral("7"));
        QCOMPARE(entry.cellText(3, 3), QStringLiteral("7"));
        QCOMPARE(entry.cursorRow(), 3);
        entry.type(QStringLiteral("/"));
        // Absent in its only column, the total says 欠席 at once, as after a reload.
        QCOMPARE(entry.rowCells(3), (QStringList{"欠席", "欠席", "", "", ""}));
        QCOMPARE(entry.cursorRow(), 3);
        QCOMPARE(entry.cursorCol(), 3);
        QCOMPARE(env.ui.beeps, 0);
        QCOMPARE(env.ui.messages.size(), 2);
    }

    void refusedKeysBeepAndForgetTheFirstDigit()
    {
        TestEnv env;
        env.makeClass(pupilNames(2));
        env.writeFile(QStringLiteral("国語.dat"), scoreLines({{QStringLiteral("小テスト"), {{1, 100, {0, 0}}}}}));
        EntryScreen entry = openEntry(env);
        entry.type(QStringLiteral("a"));
        QCOMPARE(env.ui.beeps, 1);
        // Full-width characters from an input method count as their keys.
        QKeyEvent wide(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("＊"));
        QApplication::sendEvent(entry.grid, &wide);
        QCOMPARE(entry.cellText(1, 3), QStringLiteral("100"));
        QCOMPARE(entry.cursorRow(), 2);
        entry.clickCell(1, 3);
        QVERIFY(!entry.grid->testAttribute(Qt::WA_InputMethodEnabled));
        entry.type(QStringLiteral("1-"));
        QTest::keyClick(entry.grid, Qt::Key_Return);  // no digit waits: refused too
        QCOMPARE(env.ui.beeps, 3);
        // The "1" is forgotten: "2" starts a new number.
        entry.type(QStringLiteral("2"));
        QCOMPARE(entry.cellText(1, 3), QStringLiteral("2"));
        QCOMPARE(entry.cursorRow(), 1);
        entry.type(QStringLiteral("3"));
        QCOMPARE(entry.cellText(1, 3), QStringLiteral("23"));
        QCOMPARE(entry.cursorRow(), 2);

        // Keys in the number, name and total columns do nothing at all.
        QTest::keyClick(entry.grid, Qt::Key_Left);
        QCOMPARE(entry.cursorCol(), 2);
        entry.type(QStringLiteral("5/a"));
        QTest::keyClick(entry.grid, Qt::Key_Left);
        QCOMPARE(entry.cursorCol(), 1);
        entry.type(QStringLiteral("5/a"));
        QTest::keyClick(entry.grid, Qt::Key_Left);  // the number column is fixed
        QCOMPARE(entry.cursorCol(), 1);
        QCOMPARE(entry.rowCells(2), (QStringList{"0", "0", "", "", ""}));
        QCOMPARE(entry.cellText(2, 1), QStringLiteral("児童02"));
        QCOMPARE(env.ui.beeps, 3);
        QVERIFY(env.ui.messages.isEmpty());
    }

    // Moving the cursor ends an entry of one digit: the digit stays as that pupil's
    // score, the row total follows it, and the next digit starts a new entry in the
    // cell it is typed into. Arrow keys, a click, Enter and leaving the grid all do.
    void cursorMoveEndsAOneDigitEntry()
    {
        TestEnv env;
        env.makeClass(pupilNames(5));
        env.writeFile(QStringLiteral("国語.dat"),
                      scoreLines({{QStringLiteral("小テスト"), {{1, 50, {0, 0, 0, 0, 0}}, {2, 8, {0, 0, 0, 0, 0}}}}}));
        EntryScreen entry = openEntry(env);
        QCOMPARE(entry.cursorRow(), 1);
        QCOMPARE(entry.cursorCol(), 3);

        entry.type(QStringLiteral("4"));
        QTest::keyClick(entry.grid, Qt::Key_Down);
        entry.type(QStringLiteral("5"));
        QCOMPARE(entry.rowCells(1), (QStringList{"4", "4", "0", "", ""}));
        QCOMPARE(entry.rowCells(2), (QStringList{"0", "5", "0", "", ""}));
        QCOMPARE(entry.cursorRow(), 2);  // "5" waits for its second digit
        QCOMPARE(entry.cursorCol(), 3);

        // To the right with the arrow key, then a click on the next pupil's cell.
        QTest::keyClick(entry.grid, Qt::Key_Right);
        QCOMPARE(entry.rowCells(2), (QStringList{"5", "5", "0", "", ""}));
        entry.type(QStringLiteral("7"));
        entry.clickCell(3, 4);
        QCOMPARE(entry.cursorRow(), 3);
        QCOMPARE(entry.cursorCol(), 4);
        QCOMPARE(entry.rowCells(2), (QStringList{"12", "5", "7", "", ""}));

        // A lone digit above the column's full marks of 8 is refused as any score is:
        // the message, and the cursor back on the cell with the total unchanged.
        entry.type(QStringLiteral("9"));
        QTest::keyClick(entry.grid, Qt::Key_Up);
        QTRY_COMPARE(env.ui.messageTexts(), QStringList{"満点を超えた点数です"});
        QCOMPARE(env.ui.messages[0].icon, Ui::Icon::Critical);
        QCOMPARE(entry.cursorRow(), 3);
        QCOMPARE(entry.cursorCol(), 4);
        QCOMPARE(entry.rowCells(3), (QStringList{"0", "0", "9", "", ""}));

        // Enter confirms a lone digit and moves on as a second digit would.
        entry.type(QStringLiteral("6"));
        QTest::keyClick(entry.grid, Qt::Key_Return);
        QCOMPARE(entry.rowCells(3), (QStringList{"6", "0", "6", "", ""}));
        QCOMPARE(entry.cursorRow(), 4);
        QCOMPARE(entry.cursorCol(), 3);

        // Leaving the grid for another control ends the entry too.
        entry.type(QStringLiteral("3"));
        entry.newTestButton->setFocus(Qt::TabFocusReason);
        QCOMPARE(entry.rowCells(4), (QStringList{"3", "3", "0", "", ""}));
        entry.grid->setFocus(Qt::MouseFocusReason);
        entry.type(QStringLiteral("2"));
        QCOMPARE(entry.cellText(4, 3), QStringLiteral("2"));
        QCOMPARE(env.ui.beeps, 0);
        QCOMPARE(env.ui.messages.size(), 1);

        QTest::mouseClick(entry.saveAndCloseButton, Qt::LeftButton);
        QCOMPARE(env.readBytes(QStringLiteral("国語.dat")),
                 crlf({"1", "\"小テスト\"", "2", "1", "50", "4", "5", "0", "2", "0", "2", "8", "0", "7", "6", "0", "0"}));
    }

    void noViewpointChosen()
    {
        TestEnv env;
        env.makeClass(pupilNames(2));
        EntryScreen entry = openEntry(env);  // empty score file: a new test
        entry.clickCell(1, 3);
        entry.type(QStringLiteral("5"));
        QCOMPARE(env.ui.lastMessage(), QStringLiteral("観点を一つは選んでください"));
        QCOMPARE(env.ui.messages.last().icon, Ui::Icon::None);
        QCOMPARE(entry.cellText(1, 3), QString());
        QCOMPARE(entry.cursorRow(), 1);
    }

    void threeViewpointsMoveAlongTheRow()
    {
        TestEnv env;
        env.makeClass(pupilNames(2));
        EntryScreen entry = openEntry(env);
        entry.defineColumns({{1, QStringLiteral("100")}, {2, QStringLiteral("100")}, {3, QStringLiteral("100")}});
        entry.clickCell(1, 3);
        entry.type(QStringLiteral("11"));
        QCOMPARE(entry.cursorCol(), 4);
        entry.type(QStringLiteral("22"));
        QCOMPARE(entry.cursorCol(), 5);
        entry.type(QStringLiteral("33"));
        QCOMPARE(entry.rowCells(1), (QStringList{"66", "11", "22", "33", ""}));
        QCOMPARE(entry.cursorRow(), 2);
        QCOMPARE(entry.cursorCol(), 3);

        // Column Ⅳ holds no viewpoint: every key there is ignored.
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(entry.grid, Qt::Key_Right);
        QCOMPARE(entry.cursorCol(), 6);
        entry.type(QStringLiteral("55/*+x"));
        QCOMPARE(entry.rowCells(2), (QStringList{"", "", "", "", ""}));
        QCOMPARE(entry.cursorCol(), 6);
        QCOMPARE(env.ui.beeps, 0);
        QVERIFY(env.ui.messages.isEmpty());

        // The last pupil's last column: the cursor stays.
        entry.clickCell(2, 5);
        entry.type(QStringLiteral("40"));
        QCOMPARE(entry.cursorRow(), 2);
        QCOMPARE(entry.cursorCol(), 5);
        QCOMPARE(entry.cellText(2, 2), QStringLiteral("40"));
    }

    void plusGivesTheWholeRowFullMarks()
    {
        TestEnv env;
        env.makeClass(pupilNames(2));
        EntryScreen entry = openEntry(env);
        entry.defineColumns({{1, QStringLiteral("20")}, {3, QStringLiteral("30")}});
        entry.clickCell(1, 4);  // wherever the cursor is in the row
        entry.type(QStringLiteral("+"));
        QCOMPARE(entry.rowCells(1), (QStringList{"50", "20", "30", "", ""}));
        QCOMPARE(entry.cursorRow(), 2);
        QCOMPARE(entry.cursorCol(), 3);
        // A full-marks box left empty holds full marks of 0, as the file will keep them.
        entry.fullMarksBoxes[1]->clear();
        entry.grid->setFocus();
        entry.type(QStringLiteral("+"));
        QCOMPARE(entry.rowCells(2), (QStringList{"20", "20", "0", "", ""}));
    }

    void fixedModeEntersThePresetValues()
    {
        TestEnv env;
        env.makeClass(pupilNames(5));
        env.writeFile(QStringLiteral("国語.dat"),
                      scoreLines({{QStringLiteral("音読"), {{1, 100, {0, 0, 0, 0, 0}}}}}));
        EntryScreen entry = openEntry(env);
        QMdiSubWindow* frame = entry.window->subWindow();
        QCOMPARE(frame->windowTitle(), QStringLiteral("成績入力-国語-通常入力"));
        QTest::mouseClick(entry.fixedModeButton, Qt::LeftButton);
        QCOMPARE(entry.window->windowTitle(), QStringLiteral("成績入力-国語-固定入力"));
        QCOMPARE(frame->windowTitle(), QStringLiteral("成績入力-国語-固定入力"));
        QVERIFY(entry.fixedModeAction->isChecked());
        QVERIFY(!entry.normalModeAction->isChecked());
        QVERIFY(entry.fixedModeButton->isChecked());

        entry.type(QStringLiteral("123*"));
        QCOMPARE(entry.cellText(1, 3), QStringLiteral("60"));
        QCOMPARE(entry.cellText(2, 3), QStringLiteral("80"));
        QCOMPARE(entry.cellText(3, 3), QStringLiteral("100"));
        QCOMPARE(entry.cellText(4, 3), QStringLiteral("100"));
        QCOMPARE(entry.cellText(4, 2), QStringLiteral("100"));
        QCOMPARE(entry.cursorRow(), 5);
        entry.type(QStringLiteral("4+0"));
        QCOMPARE(env.ui.beeps, 3);
        QCOMPARE(entry.cellText(5, 3), QStringLiteral("0"));
        entry.type(QStringLiteral("/"));
        QCOMPARE(entry.cellText(5, 3), QStringLiteral("欠席"));

        // A preset above the column's full marks is refused like a typed score.
        entry.fullMarksBoxes[0]->setText(QStringLiteral("70"));
        entry.clickCell(1, 3);
        entry.type(QStringLiteral("3"));
        QCOMPARE(env.ui.lastMessage(), QStringLiteral("満点を超えた点数です"));
        QCOMPARE(entry.cursorRow(), 1);

        // Back to normal mode through the menu.
        entry.normalModeAction->trigger();
        QCOMPARE(frame->windowTitle(), QStringLiteral("成績入力-国語-通常入力"));
        QVERIFY(entry.normalModeAction->isChecked());
        QVERIFY(!entry.fixedModeAction->isChecked());
        QVERIFY(entry.normalModeButton->isChecked());
        entry.type(QStringLiteral("69"));
        QCOMPARE(entry.cellText(1, 3), QStringLiteral("69"));
        QCOMPARE(entry.cursorRow(), 2);
    }

    void bothModesOnOneTestAreSaved()
    {
        TestEnv env;
        env.makeClass(pupilNames(3));
        EntryScreen entry = openEntry(env);
        MainWindow* window = env.mainWindow();
        entry.testName->setText(QStringLiteral("小テスト"));
        entry.defineColumns({{1, QStringLiteral("10")}, {3, QStringLiteral("20")}});
        entry.clickCell(1, 3);
        entry.type(QStringLiteral("0815"));
        QCOMPARE(entry.rowCells(1), (QStringList{"23", "8", "15", "", ""}));

        // Presets that suit these full marks, set in the fixed-value window.
        QTest::mouseClick(entry.fixedValuesButton, Qt::LeftButton);
        FixedValuesDialog* fixedValues = entry.window->fixedValuesDialog();
        QVERIFY(fixedValues && fixedValues->isVisible() && !fixedValues->isModal());
        fixedValueBox(fixedValues, 1)->setText(QStringLiteral("5"));
        fixedValueBox(fixedValues, 2)->setText(QStringLiteral("8"));
        fixedValueBox(fixedValues, 3)->setText(QStringLiteral("10"));
        QTest::mouseClick(button(fixedValues, "okButton"), Qt::LeftButton);
        QTRY_VERIFY(!entry.window->fixedValuesDialog());

        entry.fixedModeAction->trigger();
        entry.type(QStringLiteral("32/1"));
        QCOMPARE(entry.rowCells(2), (QStringList{"18", "10", "8", "", ""}));
        QCOMPARE(entry.rowCells(3), (QStringList{"5", "欠席", "5", "", ""}));

        QTest::mouseClick(entry.saveAndCloseButton, Qt::LeftButton);
        QVERIFY(env.ui.messages.isEmpty());
        QCOMPARE(env.readBytes(QStringLiteral("国語.dat")),
                 crlf({"1", "\"小テスト\"", "2", "1", "10", "8", "10", "-1", "3", "20", "15", "8", "5"}));
        QCOMPARE(env.readBytes(QStringLiteral("国語.Bak")), crlf({"0"}));
        QCOMPARE(env.settings->value(QStringLiteral("UseMode/Kotei1")).toString(), QStringLiteral("5"));
        QTRY_VERIFY(window->mdiArea()->subWindowList().isEmpty());

        // Opened again, the screen shows what was saved.
        EntryScreen again(qobject_cast<ScoreEntryWindow*>(window->openScoreEntryWindow()));
        QVERIFY(again);
        QCOMPARE(again.testName->text(), QStringLiteral("小テスト"));
        QCOMPARE(again.rowCells(1), (QStringList{"23", "8", "15", "", ""}));
        QCOMPARE(again.rowCells(3), (QStringList{"欠席", "欠席", "5", "", ""}));
        QCOMPARE(again.window->windowTitle(), QStringLiteral("成績入力-国語-通常入力"));
        QVERIFY(again.normalModeAction->isChecked());
    }

    void fullClassScrollsPastRowTwelve()
    {
        TestEnv env;
        env.makeClass(pupilNames(45));
        EntryScreen entry = openEntry(env);
        QVERIFY(entry);
        QCOMPARE(entry.grid->model()->rowCount(), 45);
        // A frame tall enough to show well over twelve rows.
        entry.window->subWindow()->resize(720, 1100);
        QApplication::processEvents();
        QScrollBar* bar = entry.grid->verticalScrollBar();
        QVERIFY(entry.grid->rowAt(entry.grid->viewport()->height() - 1) >= 14);
        entry.defineColumns({{2, QStringLiteral("100")}});
        entry.clickCell(1, 3);
        for (int p = 1; p <= 45; ++p) {
            entry.type(QString::number(50 + p).right(2));
            const int row = entry.cursorRow();
            QCOMPARE(row, qMin(p + 1, 45));
            // From row 12 on every step down also scrolls one row: the cursor keeps
            // its place eleven rows below the top.
            const int expectedTop = row >= 12 ? qMin(row - 10, bar->maximum() + 1) : 1;
            QCOMPARE(entry.topRow(), expectedTop);
            const QRect cell = entry.grid->visualRect(entry.grid->currentIndex());
            QVERIFY(entry.grid->viewport()->rect().contains(cell));
        }
        QCOMPARE(entry.cellText(45, 3), QStringLiteral("95"));
        QCOMPARE(entry.cellText(12, 2), QStringLiteral("62"));
    }

    void smallWindowKeepsTheCursorInSight()
    {
        TestEnv env;
        env.makeClass(pupilNames(45));
        EntryScreen entry = openEntry(env);
        entry.window->subWindow()->resize(720, 560);
        QApplication::processEvents();
        entry.defineColumns({{1, QStringLiteral("50")}, {2, QStringLiteral("50")}});
        entry.clickCell(1, 3);
        for (int p = 1; p <= 45; ++p) {
            entry.type(QStringLiteral("+"));
            const QRect cell = entry.grid->visualRect(entry.grid->currentIndex());
            QVERIFY(entry.grid->viewport()->rect().contains(cell));
        }
        QVERIFY(entry.topRow() > 12);
        QCOMPARE(entry.cellText(45, 2), QStringLiteral("100"));

        // A refused score scrolls back to the top but leaves its cell in sight.
        entry.clickCell(40, 3);
        entry.type(QStringLiteral("77"));
        QCOMPARE(env.ui.lastMessage(), QStringLiteral("満点を超えた点数です"));
        QVERIFY(entry.grid->viewport()->rect().contains(entry.grid->visualRect(entry.grid->currentIndex())));
    }
};

QTEST_MAIN(EntryGridTest)
#include "test_entry_grid.moc"
