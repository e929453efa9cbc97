// Monthly attendance input and the value prompt, through the real main window.

#include "Controls.h"
#include "MainWindowControls.h"
#include "AttendanceDriver.h"
#include "model/AttendanceFile.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QScrollBar>

using namespace MainControls;
using namespace AttendanceDriver;
using namespace DataFiles;

using Controls::child;

namespace {
const QString NoLessonDays = QStringLiteral("授業数を指定してください。未定の場合０を入力してください.");
}  // namespace

class AttendanceEntryTest : public QObject {
    Q_OBJECT
private slots:
    void opensOnTodaysMonthWithItsValues();
    void opensOnEachCalendarMonth_data();
    void opensOnEachCalendarMonth();
    void singleDigitTypingAndRequiredDays();
    void requiredDaysForTheWholeMonth();
    void valuePromptOpensWhereItShould();
    void valuePromptWritesAndRecomputes();
    void valuePromptRefusesWhatCannotBeStored();
    void monthChangeStoresTheMonthLeft();
    void emptyLessonDaysBlocksMonthChangeAndClosing();
    void lessonDaysBoxTakesOnlyDayCounts();
    void closingByAnyMeansWritesTheFile_data();
    void closingByAnyMeansWritesTheFile();
    void closeBoxWithEmptyLessonDaysStoresZero();
    void failedSaveKeepsTheWindowOpen();
    void commandStatesOfTheMainWindow();
    void specialistModeHasNoAttendance();
    void focusFrameAndStartCell();
    void scrollsAtTheEndOfALowRow();
    void emptyClassOpensWithEmptyGrid();
    void menusShortcutsAndHelp();
};

void AttendanceEntryTest::opensOnTodaysMonthWithItsValues()
{
    TestEnv env;
    startClass(env, QDate(2027, 1, 15));
    QStringList lines = attendanceLines(attendanceYear(3));
    // January is month 10: its lesson-days line is 9 * 4 = line index 36.
    lines[36] = QStringLiteral("18");
    lines[37] = QStringLiteral("1,0,17,2,0,0,3");
    env.writeFile(QStringLiteral("shuketu.dat"), lines);
    AttendanceWindow* w = open(env);
    QVERIFY(w);

    QCOMPARE(w->windowTitle(), QStringLiteral("出席状況入力"));
    QCOMPARE(periodSelector(w)->count(), 12);
    QCOMPARE(periodSelector(w)->itemText(0), QStringLiteral("４月"));
    QCOMPARE(periodSelector(w)->itemText(6), QStringLiteral("10月"));
    QCOMPARE(periodSelector(w)->currentText(), QStringLiteral("１月"));
    QCOMPARE(w->monthShown(), 10);
    QCOMPARE(lessonDaysInput(w)->text(), QStringLiteral("18"));
    QCOMPARE(rowTexts(w, 0), (QStringList{"番号", "氏名", "忌引", "出停", "必要日数", "病欠", "事欠", "遅刻", "早退", ""}));
    QCOMPARE(rowTexts(w, 1), (QStringList{"1", "青木", "1", "", "17", "2", "", "", "3", ""}));
    QCOMPARE(rowTexts(w, 3), (QStringList{"3", "上田", "", "", "", "", "", "", "", ""}));
    QVERIFY(grid(w)->isColumnHidden(9));
    QCOMPARE(gridRow(w), 1);
    QCOMPARE(gridColumn(w), 2);
    QVERIFY(!w->showingTally());
    QVERIFY(!printButton(w)->isEnabled());
    QVERIFY(!previewButton(w)->isEnabled());
    QVERIFY(!csvButton(w)->isEnabled());
    QVERIFY(!detailedViewOption(w)->isEnabled());
    QVERIFY(detailedViewOption(w)->isChecked());
    QVERIFY(!printAction(w)->isEnabled());
    QVERIFY(fillRequiredDaysButton(w)->isEnabled());
    QCOMPARE(valuePromptHint(w)->text(), QStringLiteral("セルをダブルクリックするか Shift+Enter で、値を直接入力できます"));
    QCOMPARE(periodSelector(w)->toolTip(), QStringLiteral("入力月または集計学期をを選んでください。"));
    QCOMPARE(lessonDaysInput(w)->toolTip(), QStringLiteral("今月の授業日数を入力してください"));
    QVERIFY(env.ui.messages.isEmpty());
}

void AttendanceEntryTest::opensOnEachCalendarMonth_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("month");
    QTest::newRow("April") << QDate(2026, 4, 1) << QStringLiteral("４月") << 1;
    QTest::newRow("August") << QDate(2026, 8, 20) << QStringLiteral("８月") << 5;
    QTest::newRow("December") << QDate(2026, 12, 31) << QStringLiteral("12月") << 9;
    QTest::newRow("March") << QDate(2027, 3, 3) << QStringLiteral("３月") << 12;
}

void AttendanceEntryTest::opensOnEachCalendarMonth()
{
    QFETCH(QDate, today);
    TestEnv env;
    startClass(env, today);
    AttendanceWindow* w = open(env);
    QFETCH(QString, shown);
    QFETCH(int, month);
    QCOMPARE(periodSelector(w)->currentText(), shown);
    QCOMPARE(w->monthShown(), month);
}

void AttendanceEntryTest::singleDigitTypingAndRequiredDays()
{
    TestEnv env;
    startClass(env, QDate(2026, 6, 15));
    AttendanceWindow* w = open(env);
    typeLessonDays(w, QStringLiteral("20"));
    leaveLessonDays(w);

    // 忌引 2, then 出停 1: 必要日数 follows right after the second digit.
    setGridCell(w, 1, 2);
    QTest::keyClick(grid(w), Qt::Key_2);
    QCOMPARE(cellText(w, 1, 4), QStringLiteral("18"));
    QTest::keyClick(grid(w), Qt::Key_Right);
    QCOMPARE(gridColumn(w), 3);
    QTest::keyClick(grid(w), Qt::Key_1);
    QCOMPARE(cellText(w, 1, 3), QStringLiteral("1"));
    QCOMPARE(cellText(w, 1, 4), QStringLiteral("17"));
    QCOMPARE(gridColumn(w), 3);  // the current cell stays

    // '0' empties a cell; with 忌引 0 and 出停 0 the row needs all 20 days.
    QTest::keyClick(grid(w), Qt::Key_0);
    QTest::keyClick(grid(w), Qt::Key_Left);
    QTest::keyClick(grid(w), Qt::Key_0);
    QCOMPARE(cellText(w, 1, 2), QString());
    QCOMPARE(cellText(w, 1, 3), QString());
    QCOMPARE(cellText(w, 1, 4), QStringLiteral("20"));

    // Each digit replaces the cell: "1" then "2" is 2, not 12.
    typeAt(w, 2, 5, QStringLiteral("12"));
    QCOMPARE(cellText(w, 2, 5), QStringLiteral("2"));
    // Full-width digits from an input method count as digits.
    typeAt(w, 2, 6, QStringLiteral("３"));
    QCOMPARE(cellText(w, 2, 6), QStringLiteral("3"));
    // So do characters committed by the input method.
    QInputMethodEvent committed;
    committed.setCommitString(QStringLiteral("４"));
    QApplication::sendEvent(grid(w), &committed);
    QCOMPARE(cellText(w, 2, 6), QStringLiteral("4"));
    // Delete empties the cell as '0' does.
    QTest::keyClick(grid(w), Qt::Key_Delete);
    QCOMPARE(cellText(w, 2, 6), QString());

    // Any other key beeps and changes nothing.
    typeAt(w, 2, 5, QStringLiteral("a"));
    QTest::keyClick(grid(w), Qt::Key_Minus);
    QCOMPARE(env.ui.beeps, 2);
    QCOMPARE(cellText(w, 2, 5), QStringLiteral("2"));

    // In 必要日数 a key press does nothing at all.
    const QString before = cellText(w, 2, 4);
    typeAt(w, 2, 4, QStringLiteral("5x"));
    QCOMPARE(cellText(w, 2, 4), before);
    QCOMPARE(env.ui.beeps, 2);

    // More leave days than lesson days cannot be typed: the month, the pupil and
    // the figures are named, and the row stays as it was.
    typeLessonDays(w, QStringLiteral("1"));
    leaveLessonDays(w);
    typeAt(w, 3, 2, QStringLiteral("4"));
    QCOMPARE(env.ui.lastMessage(),
             QStringLiteral("６月　3番 上田：忌引 4日と出停 0日で計 4日となり、授業日数 1日を超えます。\nこの数は入力できません。"));
    QCOMPARE(cellText(w, 3, 2), QString());
    QCOMPARE(cellText(w, 3, 4), QStringLiteral("1"));
    // Lesson days lowered below the leave days typed show the shortfall with its sign.
    typeLessonDays(w, QStringLiteral("20"));
    leaveLessonDays(w);
    typeAt(w, 3, 2, QStringLiteral("4"));
    typeLessonDays(w, QStringLiteral("1"));
    leaveLessonDays(w);
    QCOMPARE(cellText(w, 3, 4), QStringLiteral("-3"));
    // Arrow keys never land on the number or name column.
    setGridCell(w, 3, 2);
    QTest::keyClick(grid(w), Qt::Key_Left);
    QCOMPARE(gridColumn(w), 2);
}

void AttendanceEntryTest::requiredDaysForTheWholeMonth()
{
    TestEnv env;
    startClass(env, QDate(2026, 6, 15));
    AttendanceWindow* w = open(env);
    typeLessonDays(w, QStringLiteral("20"));
    typeAt(w, 1, 2, QStringLiteral("3"));
    typeAt(w, 2, 3, QStringLiteral("5"));
    promptAt(w, 3, 2, QStringLiteral("20"));
    promptAt(w, 2, 4, QStringLiteral("9"));  // a value typed into 必要日数 ...
    QCOMPARE(cellText(w, 3, 4), QStringLiteral("0"));

    fillRequiredDaysButton(w)->click();  // ... is overwritten by 必要日揃え
    QCOMPARE(cellText(w, 1, 4), QStringLiteral("17"));
    QCOMPARE(cellText(w, 2, 4), QStringLiteral("15"));
    QCOMPARE(cellText(w, 3, 4), QString());  // 20 - 20 = 0 leaves the cell empty

    // The menu entry does the same, and so does leaving the lesson-days box.
    typeLessonDays(w, QStringLiteral("22"));
    fillRequiredDaysAction(w)->trigger();
    QCOMPARE(cellText(w, 1, 4), QStringLiteral("19"));
    typeLessonDays(w, QStringLiteral("21"));
    QCOMPARE(cellText(w, 1, 4), QStringLiteral("19"));
    leaveLessonDays(w);
    QCOMPARE(cellText(w, 1, 4), QStringLiteral("18"));
    QCOMPARE(cellText(w, 2, 4), QStringLiteral("16"));
    QCOMPARE(cellText(w, 3, 4), QStringLiteral("1"));
}

void AttendanceEntryTest::valuePromptOpensWhereItShould()
{
    TestEnv env;
    startClass(env, QDate(2026, 6, 15));
    AttendanceWindow* w = open(env);
    const auto doubleClick = [w](int row, int column) {
        const QRect cell = cellRect(w, row, column);
        QTest::mouseClick(grid(w)->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(grid(w)->viewport(), Qt::LeftButton, {}, cell.center());
    };

    // A double-click on 出停 does nothing; on the number or name column neither.
    doubleClick(2, 3);
    QVERIFY(!valuePrompt(w));
    doubleClick(2, 1);
    QVERIFY(!valuePrompt(w));

    // A double-click on 忌引 or 必要日数 opens the prompt, empty, without blocking.
    doubleClick(2, 2);
    QVERIFY(valuePrompt(w));
    CountPrompt* prompt = valuePrompt(w);
    QCOMPARE(prompt->windowTitle(), QStringLiteral("数値の入力"));
    QCOMPARE(child<QLabel>(prompt, "question")->text(), QStringLiteral("このセルの値は？"));
    QCOMPARE(okButton(prompt)->text(), QStringLiteral("OK"));
    QCOMPARE(cancelButton(prompt)->text(), QStringLiteral("キャンセル"));
    QVERIFY(countInput(prompt)->text().isEmpty());
    QVERIFY(!prompt->isModal());
    QCOMPARE(prompt->row(), 2);
    QCOMPARE(prompt->column(), 2);
    cancelButton(prompt)->click();
    QVERIFY(!valuePrompt(w) || !valuePrompt(w)->isVisible());

    doubleClick(1, 4);
    QVERIFY(valuePrompt(w));
    QCOMPARE(valuePrompt(w)->column(), 4);
    QTest::keyClick(valuePrompt(w), Qt::Key_Escape);
    QVERIFY(!valuePrompt(w) || !valuePrompt(w)->isVisible());

    // Shift+Return opens it on 出停 too, and on any count column.
    setGridCell(w, 3, 3);
    QTest::keyClick(grid(w), Qt::Key_Return, Qt::ShiftModifier);
    QVERIFY(valuePrompt(w));
    QCOMPARE(valuePrompt(w)->row(), 3);
    QCOMPARE(valuePrompt(w)->column(), 3);
    // A second prompt replaces the first; the value goes to the cell it was opened on.
    setGridCell(w, 1, 8);
    QTest::keyClick(grid(w), Qt::Key_Return, Qt::ShiftModifier);
    QCOMPARE(valuePrompt(w)->column(), 8);
    QTest::keyClicks(countInput(valuePrompt(w)), QStringLiteral("11"));
    setGridCell(w, 2, 5);  // the teacher clicks elsewhere meanwhile
    QTest::keyClick(countInput(valuePrompt(w)), Qt::Key_Return);  // Enter is OK
    QCOMPARE(cellText(w, 1, 8), QStringLiteral("11"));
    QCOMPARE(cellText(w, 2, 5), QString());
    QCOMPARE(gridRow(w), 1);
    QCOMPARE(gridColumn(w), 8);
    QTRY_VERIFY(!valuePrompt(w));
}

void AttendanceEntryTest::valuePromptWritesAndRecomputes()
{
    TestEnv env;
    startClass(env, QDate(2026, 6, 15));
    AttendanceWindow* w = open(env);
    typeLessonDays(w, QStringLiteral("20"));
    leaveLessonDays(w);
    typeAt(w, 1, 3, QStringLiteral("1"));

    // OK with "3" on 忌引 with 出停 1: 3 there and 16 in 必要日数.
    promptAt(w, 1, 2, QStringLiteral("3"));
    QCOMPARE(cellText(w, 1, 2), QStringLiteral("3"));
    QCOMPARE(cellText(w, 1, 4), QStringLiteral("16"));
    QCOMPARE(gridColumn(w), 2);

    // 出停 of 20 leaves 0 required days, written as "0" by the prompt.
    promptAt(w, 2, 3, QStringLiteral("20"));
    QCOMPARE(cellText(w, 2, 4), QStringLiteral("0"));
    // Full-width digits are taken.
    promptAt(w, 2, 3, QStringLiteral("１２"));
    QCOMPARE(cellText(w, 2, 3), QStringLiteral("12"));
    QCOMPARE(cellText(w, 2, 4), QStringLiteral("8"));

    // OK on 必要日数 writes the value and recomputes nothing; one above the lesson
    // days less the leave days (3 + 1 + 18 of 20) is refused.
    promptAt(w, 1, 4, QStringLiteral("15"));
    QCOMPARE(cellText(w, 1, 4), QStringLiteral("15"));
    QCOMPARE(cellText(w, 1, 2), QStringLiteral("3"));
    QVERIFY(env.ui.messages.isEmpty());
    promptAt(w, 1, 4, QStringLiteral("18"));
    QCOMPARE(env.ui.messageTexts(), QStringList{"６月　1番 青木：忌引 3日、出停 1日、必要日数 18日で計 22日となり、"
                                                "授業日数 20日を超えます。\nこの数は入力できません。"});
    QCOMPARE(cellText(w, 1, 4), QStringLiteral("15"));
    env.ui.clear();

    // An empty box empties the cell; キャンセル changes nothing.
    promptAt(w, 1, 2, QString());
    QCOMPARE(cellText(w, 1, 2), QString());
    QCOMPARE(cellText(w, 1, 4), QStringLiteral("19"));
    promptAt(w, 1, 3, QStringLiteral("7"), 1);
    QCOMPARE(cellText(w, 1, 3), QStringLiteral("1"));
    QCOMPARE(cellText(w, 1, 4), QStringLiteral("19"));

    // The values reach the model when the month is left.
    choose(w, 3);
    QCOMPARE(env.data.attendance[3][1][3], 19);
    QCOMPARE(env.data.attendance[3][2][2], 12);
    QCOMPARE(env.data.attendance[3][2][3], 8);
    QVERIFY(env.ui.messages.isEmpty());
}

void AttendanceEntryTest::valuePromptRefusesWhatCannotBeStored()
{
    TestEnv env;
    startClass(env, QDate(2026, 6, 15));
    AttendanceWindow* w = open(env);
    typeAt(w, 1, 5, QStringLiteral("4"));
    const QString refusal = QStringLiteral("値は0から999までの整数で入力してください。");
    for (const QString& bad : {QStringLiteral("abc"), QStringLiteral("1000"), QStringLiteral("-1"), QStringLiteral("2.5"),
                               QStringLiteral("99999999999")}) {
        env.ui.clear();
        promptAt(w, 1, 5, bad);
        QCOMPARE(env.ui.messages.size(), 1);
        QCOMPARE(env.ui.lastMessage(), refusal);
        QCOMPARE(env.ui.messages.first().icon, Ui::Icon::Warning);
        QVERIFY2(valuePrompt(w) && valuePrompt(w)->isVisible(), qPrintable(bad));
        QCOMPARE(cellText(w, 1, 5), QStringLiteral("4"));
        cancelButton(valuePrompt(w))->click();
    }
    // The teacher corrects the text in the prompt that stayed open.
    promptAt(w, 1, 5, QStringLiteral("x"));
    CountPrompt* prompt = valuePrompt(w);
    QVERIFY(prompt);
    countInput(prompt)->setText(QStringLiteral(" 999 "));
    okButton(prompt)->click();
    QCOMPARE(cellText(w, 1, 5), QStringLiteral("999"));
}

void AttendanceEntryTest::monthChangeStoresTheMonthLeft()
{
    TestEnv env;
    startClass(env, QDate(2026, 4, 8));
    AttendanceWindow* w = open(env);
    QCOMPARE(w->monthShown(), 1);
    typeLessonDays(w, QStringLiteral("18"));
    leaveLessonDays(w);
    typeAt(w, 2, 5, QStringLiteral("3"));
    typeAt(w, 3, 7, QStringLiteral("1"));
    QCOMPARE(env.data.lessonDays[1], 0);  // nothing is stored while the month is shown

    choose(w, 1);  // May
    QCOMPARE(w->monthShown(), 2);
    QCOMPARE(env.data.lessonDays[1], 18);
    QCOMPARE(env.data.attendance[1][2][4], 3);
    QCOMPARE(env.data.attendance[1][3][6], 1);
    QCOMPARE(env.data.attendance[1][1][3], 18);
    QCOMPARE(env.data.attendance[1][1][4], 0);
    QCOMPARE(lessonDaysInput(w)->text(), QStringLiteral("0"));
    QCOMPARE(rowTexts(w, 2).mid(2, 7), QStringList(7, QString()));
    QCOMPARE(env.ui.busyDepth, 0);

    typeLessonDays(w, QStringLiteral("19"));
    leaveLessonDays(w);
    choose(w, 0);  // back to April: shown again, zeros as empty cells
    QCOMPARE(env.data.lessonDays[2], 19);
    QCOMPARE(lessonDaysInput(w)->text(), QStringLiteral("18"));
    QCOMPARE(rowTexts(w, 2), (QStringList{"2", "石田", "", "", "18", "3", "", "", "", ""}));
    QCOMPARE(rowTexts(w, 3), (QStringList{"3", "上田", "", "", "18", "", "", "1", "", ""}));
    QVERIFY(env.ui.messages.isEmpty());
}

void AttendanceEntryTest::emptyLessonDaysBlocksMonthChangeAndClosing()
{
    TestEnv env;
    startClass(env, QDate(2026, 6, 15));
    AttendanceWindow* w = open(env);
    typeAt(w, 1, 6, QStringLiteral("2"));
    typeLessonDays(w, QString());
    QVERIFY(lessonDaysInput(w)->text().isEmpty());

    choose(w, 5);
    QCOMPARE(env.ui.messageTexts(), QStringList{NoLessonDays});
    QCOMPARE(env.ui.messages.first().buttons, Ui::Buttons::Ok);
    QCOMPARE(periodSelector(w)->currentIndex(), 2);  // back on June
    QCOMPARE(w->monthShown(), 3);
    QCOMPARE(cellText(w, 1, 6), QStringLiteral("2"));
    QCOMPARE(env.data.attendance[3][1][5], 0);

    // 閉じる and 終了(&X) refuse too; the window stays open and nothing is written.
    const QByteArray before = env.readBytes(QStringLiteral("shuketu.dat"));
    closeButton(w)->click();
    closeAction(w)->trigger();
    QTest::keyClick(grid(w), Qt::Key_F4, Qt::ControlModifier);
    QCOMPARE(env.ui.messageTexts(), (QStringList{NoLessonDays, NoLessonDays, NoLessonDays, NoLessonDays}));
    QVERIFY(!w->isUnloaded());
    QCOMPARE(env.mainWindow()->mdiArea()->subWindowList().size(), 1);
    QCOMPARE(env.readBytes(QStringLiteral("shuketu.dat")), before);

    // 各月入力 while a month is shown refuses the same way.
    monthlyInputButton(w)->click();
    QCOMPARE(env.ui.messages.size(), 5);
    QCOMPARE(cellText(w, 1, 6), QStringLiteral("2"));
}

void AttendanceEntryTest::lessonDaysBoxTakesOnlyDayCounts()
{
    TestEnv env;
    startClass(env, QDate(2026, 6, 15));
    AttendanceWindow* w = open(env);
    typeLessonDays(w, QStringLiteral("2a-x.5"));
    QCOMPARE(lessonDaysInput(w)->text(), QStringLiteral("25"));
    typeLessonDays(w, QStringLiteral("１２３４"));
    QCOMPARE(lessonDaysInput(w)->text(), QStringLiteral("123"));
    typeLessonDays(w, QStringLiteral("0"));
    choose(w, 3);
    QCOMPARE(env.data.lessonDays[3], 0);
    QVERIFY(env.ui.messages.isEmpty());
}

void AttendanceEntryTest::closingByAnyMeansWritesTheFile_data()
{
    QTest::addColumn<QString>("means");
    QTest::newRow("閉じる") << QStringLiteral("closeButton");
    QTest::newRow("終了(&X)") << QStringLiteral("closeAction");
    QTest::newRow("Ctrl+F4") << QStringLiteral("ctrlF4");
    QTest::newRow("close box") << QStringLiteral("closeBox");
    QTest::newRow("program end") << QStringLiteral("endAction");
    QTest::newRow("main window closed") << QStringLiteral("mainClose");
}

void AttendanceEntryTest::closingByAnyMeansWritesTheFile()
{
    QFETCH(QString, means);
    TestEnv env;
    startClass(env, QDate(2026, 5, 20));
    QStringList lines = attendanceLines(attendanceYear(3));
    lines[0] = QStringLiteral("17");
    lines[1] = QStringLiteral("\"1\",\"0\",\"16\",\"0\",\"0\",\"0\",\"0\"");  // quoted items are read too
    env.writeFile(QStringLiteral("shuketu.dat"), lines);
    AttendanceWindow* w = open(env);
    QCOMPARE(w->monthShown(), 2);
    typeLessonDays(w, QStringLiteral("19"));
    leaveLessonDays(w);
    typeAt(w, 1, 2, QStringLiteral("2"));
    typeAt(w, 3, 8, QStringLiteral("1"));
    promptAt(w, 2, 5, QStringLiteral("10"));

    if (means == QLatin1String("closeButton"))
        closeButton(w)->click();
    else if (means == QLatin1String("closeAction"))
        closeAction(w)->trigger();
    else if (means == QLatin1String("ctrlF4"))
        QTest::keyClick(grid(w), Qt::Key_F4, Qt::ControlModifier);
    else if (means == QLatin1String("closeBox"))
        w->subWindow()->close();
    else if (means == QLatin1String("endAction"))
        menuEntry(*env.mainWindow(), "endAction")->trigger();
    else
        env.mainWindow()->close();

    QStringList expected = attendanceLines(attendanceYear(3));
    expected[0] = QStringLiteral("17");
    expected[1] = QStringLiteral("1,0,16,0,0,0,0");
    expected[4] = QStringLiteral("19");
    expected[5] = QStringLiteral("2,0,17,0,0,0,0");
    expected[6] = QStringLiteral("0,0,19,10,0,0,0");
    expected[7] = QStringLiteral("0,0,19,0,0,0,1");
    QCOMPARE(env.readBytes(QStringLiteral("shuketu.dat")), crlf(expected));
    QVERIFY(env.ui.messages.isEmpty());
    if (means != QLatin1String("endAction") && means != QLatin1String("mainClose")) {
        QTRY_COMPARE(env.mainWindow()->mdiArea()->subWindowList().size(), 0);
        // Closing gives the main window its commands back.
        QVERIFY(menuEntry(*env.mainWindow(), "attendanceAction")->isEnabled());
        QVERIFY(toolbarButton(*env.mainWindow(), "scoreEntryButton")->isEnabled());
        QVERIFY(!toolbarButton(*env.mainWindow(), "printButton")->isEnabled());
    }
}

void AttendanceEntryTest::closeBoxWithEmptyLessonDaysStoresZero()
{
    TestEnv env;
    startClass(env, QDate(2026, 6, 15));
    AttendanceWindow* w = open(env);
    typeLessonDays(w, QStringLiteral("21"));
    leaveLessonDays(w);
    choose(w, 0);  // April, then back to June, with June's days in the model
    choose(w, 2);
    typeAt(w, 2, 6, QStringLiteral("4"));
    typeLessonDays(w, QString());
    w->subWindow()->close();
    QVERIFY(env.ui.messages.isEmpty());
    const QStringList lines = env.readLines(QStringLiteral("shuketu.dat"));
    QCOMPARE(lines.size(), 48);
    QCOMPARE(lines[8], QStringLiteral("0"));  // June's lesson days
    QCOMPARE(lines[10], QStringLiteral("0,0,21,0,4,0,0"));  // nothing typed is lost
}

void AttendanceEntryTest::failedSaveKeepsTheWindowOpen()
{
    TestEnv env;
    startClass(env, QDate(2026, 6, 15));
    AttendanceWindow* w = open(env);
    typeLessonDays(w, QStringLiteral("20"));
    leaveLessonDays(w);
    typeAt(w, 3, 7, QStringLiteral("5"));

    // The file cannot be replaced: a folder stands where it should be written.
    const QString file = env.dataFolder() + QStringLiteral("shuketu.dat");
    QVERIFY(QFile::remove(file));
    QVERIFY(QDir().mkdir(file));
    closeButton(w)->click();
    QCOMPARE(env.ui.messages.size(), 1);
    QVERIFY(env.ui.lastMessage().startsWith(QStringLiteral("出席データを保存できませんでした。")));
    QVERIFY(env.ui.lastMessage().contains(QStringLiteral("shuketu.dat")));
    QVERIFY(!w->isUnloaded());
    QCOMPARE(env.mainWindow()->mdiArea()->subWindowList().size(), 1);
    QCOMPARE(cellText(w, 3, 7), QStringLiteral("5"));

    // The close box fails the same way; once the folder is gone, closing writes it all.
    w->subWindow()->close();
    QCOMPARE(env.ui.messages.size(), 2);
    QVERIFY(!w->isUnloaded());
    QVERIFY(QDir().rmdir(file));
    closeButton(w)->click();
    QCOMPARE(env.ui.messages.size(), 2);
    const QStringList lines = env.readLines(QStringLiteral("shuketu.dat"));
    QCOMPARE(lines[8], QStringLiteral("20"));
    QCOMPARE(lines[11], QStringLiteral("0,0,20,0,0,5,0"));
}

void AttendanceEntryTest::commandStatesOfTheMainWindow()
{
    TestEnv env;
    startClass(env, QDate(2026, 6, 15));
    AttendanceWindow* w = open(env);
    MainWindow& main = *env.mainWindow();
    const QStringList keys{"scoreEntryButton", "testTallyButton", "overallTallyButton", "pupilResultsButton",
                           "statisticsButton", "attendanceButton", "printButton",        "previewButton",
                           "settingsButton",   "rosterButton",     "testListButton",     "endButton"};
    // Active in monthly input: every command of the main window is off but 終了,
    // which asks the windows first.
    for (const QString& key : keys)
        QVERIFY2(toolbarButton(main, key)->isEnabled() == (key == QLatin1String("endButton")), qPrintable(key));
    QVERIFY(!menuEntry(main, "attendanceAction")->isEnabled());

    // A tally switches the print buttons on; the toolbar's 印刷 reaches this window.
    tallyButton(w, 0)->click();
    QVERIFY(toolbarButton(main, "printButton")->isEnabled());
    QVERIFY(toolbarButton(main, "previewButton")->isEnabled());
    QVERIFY(!toolbarButton(main, "scoreEntryButton")->isEnabled());
    w->activated();
    QVERIFY(toolbarButton(main, "previewButton")->isEnabled());
    QVERIFY(recordBookViewOption(w)->isEnabled());
    QVERIFY(!fillRequiredDaysButton(w)->isEnabled());
    toolbarButton(main, "previewButton")->trigger();
    QCOMPARE(env.ui.previews.size(), 1);

    // Back in monthly input the print buttons go off again.
    monthlyInputButton(w)->click();
    QVERIFY(!toolbarButton(main, "previewButton")->isEnabled());
    toolbarButton(main, "previewButton")->trigger();
    previewButton(w)->click();
    QCOMPARE(env.ui.previews.size(), 1);

    // Closing gives every command back, print buttons excepted.
    closeButton(w)->click();
    for (const QString& key : keys)
        QCOMPARE(toolbarButton(main, key)->isEnabled(), key != QLatin1String("printButton") && key != QLatin1String("previewButton"));
    QVERIFY(menuEntry(main, "attendanceAction")->isEnabled());
}

void AttendanceEntryTest::specialistModeHasNoAttendance()
{
    // The one attendance file of the folder belongs to no class of a specialist.
    TestEnv env;
    env.makeClass({QStringLiteral("青木"), QStringLiteral("石田")}, true);
    MainWindow& main = env.startMainWindow();
    QVERIFY(!menuEntry(main, "attendanceAction")->isEnabled());
    QVERIFY(!toolbarButton(main, "attendanceButton")->isEnabled());
    main.unlockAfterTally();
    main.enableAllCommands();
    QVERIFY(!menuEntry(main, "attendanceAction")->isEnabled());
    QVERIFY(!toolbarButton(main, "attendanceButton")->isEnabled());
    QVERIFY(!env.exists(QStringLiteral("shuketu.dat")));
}

void AttendanceEntryTest::focusFrameAndStartCell()
{
    TestEnv env;
    startClass(env, QDate(2026, 6, 15));
    AttendanceWindow* w = open(env);
    QVERIFY(grid(w)->hasFocus());
    QCOMPARE(gridFrame(w)->lineWidth(), 3);
    const QRect gridAt = grid(w)->geometry();

    setGridCell(w, 3, 6);
    lessonDaysInput(w)->setFocus(Qt::TabFocusReason);
    QCOMPARE(gridFrame(w)->lineWidth(), 1);
    QCOMPARE(grid(w)->geometry(), gridAt);  // the grid never moves with the frame

    // Coming back by Tab starts at the first pupil's 忌引; a click keeps the cell clicked.
    grid(w)->setFocus(Qt::TabFocusReason);
    QCOMPARE(gridFrame(w)->lineWidth(), 3);
    QCOMPARE(gridRow(w), 1);
    QCOMPARE(gridColumn(w), 2);
    lessonDaysInput(w)->setFocus(Qt::TabFocusReason);
    const QRect cell = cellRect(w, 3, 7);
    QTest::mouseClick(grid(w)->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(gridRow(w), 3);
    QCOMPARE(gridColumn(w), 7);
}

void AttendanceEntryTest::scrollsAtTheEndOfALowRow()
{
    TestEnv env;
    startClass(env, QDate(2026, 6, 15), 45);
    AttendanceWindow* w = open(env);
    QCOMPARE(gridRows(w), 45);
    QCOMPARE(cellText(w, 45, 0), QStringLiteral("45"));
    setGridCell(w, 14, 8);
    QScrollBar* bar = grid(w)->verticalScrollBar();
    const int first = bar->value();
    QTest::keyClick(grid(w), Qt::Key_1);
    QCOMPARE(bar->value(), first + 1);
    QVERIFY(grid(w)->rowAt(0) <= 13);  // the row typed into stays in view
    // Not for a row up to 11, nor before the end of the row.
    setGridCell(w, 11, 8);
    int top = bar->value();
    QTest::keyClick(grid(w), Qt::Key_1);
    QCOMPARE(bar->value(), top);
    setGridCell(w, 20, 7);
    top = bar->value();
    QTest::keyClick(grid(w), Qt::Key_1);
    QCOMPARE(bar->value(), top);
}

void AttendanceEntryTest::emptyClassOpensWithEmptyGrid()
{
    TestEnv env;
    env.writeSettings();
    env.writeFile(QStringLiteral("Class.Nam"), {QStringLiteral("0")});
    env.writeFile(QStringLiteral("shuketu.dat"), attendanceLines(attendanceYear(0)));
    env.ctx->today = [] { return QDate(2026, 9, 1); };
    AttendanceWindow* w = open(env);
    QVERIFY(w);
    QCOMPARE(env.data.pupilCount, 0);
    QCOMPARE(gridRows(w), 0);
    QCOMPARE(cellText(w, 0, 2), QStringLiteral("忌引"));
    QTest::keyClick(grid(w), Qt::Key_5);
    QCOMPARE(env.ui.beeps, 0);
    typeLessonDays(w, QStringLiteral("20"));
    leaveLessonDays(w);
    fillRequiredDaysButton(w)->click();
    tallyButton(w, 3)->click();
    QCOMPARE(lessonDaysInput(w)->text(), QStringLiteral("20"));
    QCOMPARE(gridRows(w), 0);
    closeButton(w)->click();
    QStringList expected = attendanceLines(attendanceYear(0));
    expected[5] = QStringLiteral("20");
    QCOMPARE(env.readBytes(QStringLiteral("shuketu.dat")), crlf(expected));
    QVERIFY(env.ui.messages.isEmpty());
}

void AttendanceEntryTest::menusShortcutsAndHelp()
{
    TestEnv env;
    startClass(env, QDate(2026, 6, 15));
    AttendanceWindow* w = open(env);
    const auto captions = [](QMenu* menu) {
        QStringList texts;
        for (QAction* action : menu->actions())
            texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
        return texts;
    };
    QCOMPARE(fileMenu(w)->title(), QStringLiteral("ﾌｧｲﾙ(&F)"));
    QCOMPARE(captions(fileMenu(w)), (QStringList{"印刷(&P)", "印刷プレビュー(&O)", "CSV保存", "xlsx保存", "-", "終了(&X)"}));
    QCOMPARE(inputMenu(w)->title(), QStringLiteral("入力(&I)"));
    QCOMPARE(captions(inputMenu(w)), (QStringList{"各月入力(&I)", "必要日数揃え(&S)"}));
    QCOMPARE(tallyMenu(w)->title(), QStringLiteral("集計(&S)"));
    QCOMPARE(captions(tallyMenu(w)), (QStringList{"１学期集計(&1)", "２学期集計(&2)", "３学期集計(&3)", "年度末集計(&N)"}));
    QCOMPARE(helpAction(w)->text(), QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    QCOMPARE(printAction(w)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
    QCOMPARE(closeAction(w)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F4));
    QCOMPARE(fillRequiredDaysButton(w)->text(), QStringLiteral("必要日揃え(&S)"));
    QCOMPARE(closeButton(w)->text(), QStringLiteral("閉じる"));
    QCOMPARE(printButton(w)->text(), QStringLiteral("印刷(&P)"));
    QCOMPARE(previewButton(w)->text(), QStringLiteral("プレビュー(&O)"));
    QCOMPARE(recordBookViewOption(w)->text(), QStringLiteral("指導要録用"));
    QCOMPARE(lessonDaysCaption(w)->text(), QStringLiteral("授業日数"));

    helpAction(w)->trigger();
    QCOMPARE(env.ui.helpTopics, QList<int>{11});

    // Ctrl+P prints only while a tally is shown.
    QTest::keyClick(grid(w), Qt::Key_P, Qt::ControlModifier);
    QVERIFY(env.ui.previews.isEmpty());
    QCOMPARE(env.ui.messages.size(), 0);
    tallyAction(w, 2)->trigger();
    QCOMPARE(periodSelector(w)->currentText(), QStringLiteral("３学期集計"));
    QVERIFY(printAction(w)->isEnabled());
    // Without a printer the sheet can go to a PDF file instead.
    const QString pdf = env.dir.path() + QStringLiteral("/sheet.pdf");
    env.ui.saveNames.push_back(pdf);
    QTest::keyClick(grid(w), Qt::Key_P, Qt::ControlModifier);
    QVERIFY(QFile::exists(pdf));
    QVERIFY(!QFile::exists(env.programFolder() + QStringLiteral("/Shuseki.mdb")));
}

QTEST_MAIN(AttendanceEntryTest)
#include "test_attendance_entry.moc"
