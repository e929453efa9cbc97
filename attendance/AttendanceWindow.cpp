#include "attendance/AttendanceWindow.h"

#include "attendance/AttendanceMonthModel.h"
#include "attendance/AttendanceTallyModel.h"
#include "attendance/CountPrompt.h"
#include "attendance/DayCount.h"
#include "model/AttendanceFile.h"
#include "frame/MainFrame.h"
#include "frame/ReportActions.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableView>

using namespace AttendanceTally;

namespace {
const QString NoLessonDays = QStringLiteral("授業数を指定してください。未定の場合０を入力してください.");
}  // namespace

// ---- opening, activation, closing -------------------------------------------------

bool AttendanceWindow::prepare()
{
    tallyShown = false;
    showMonthGrid();
    listMonths();
    chooseTodaysMonth();
    setGridCell(1, 2);
    setTallyControls(false);
    attendanceGrid->setFocus();
    return true;
}

void AttendanceWindow::activated()
{
    reportActions()->setEnabled(tallyShown);
    if (ctx.frame) {
        ctx.frame->disableAllCommands();
        ctx.frame->updatePrintCommands();
    }
    detailedViewOption->setEnabled(tallyShown);
    recordBookViewOption->setEnabled(tallyShown);
    fillRequiredDaysButton->setEnabled(!tallyShown);
}

// Every close stores the month shown and writes the attendance file; when the file
// cannot be written the window stays open with everything still in it.
bool AttendanceWindow::mayClose()
{
    if (programEnded)
        return true;
    if (!tallyShown)
        storeShownMonth();
    if (const std::optional<Problem> problem = firstProblem(ctx.data)) {
        ctx.ui.message(this, problem->text + QStringLiteral("\n\n数を直してから閉じてください。"), Ui::Buttons::Ok,
                       Ui::Icon::Warning);
        showProblem(*problem);
        return false;
    }
    return saveAttendance();
}

// The month and the pupil of counts that cannot be, in the monthly input.
void AttendanceWindow::showProblem(const Problem& problem)
{
    if (tallyShown)
        startMonthlyInput();
    if (monthModel->month() != problem.month) {
        periodSelector->setCurrentIndex(problem.month - 1);
        periodChosen();
    }
    setGridCell(problem.pupil, AttendanceGridModel::FirstFigureColumn);
    attendanceGrid->setFocus();
}

void AttendanceWindow::closed()
{
    closeValuePrompt();
    if (ctx.frame) {
        ctx.frame->enableAllCommands();
        ctx.frame->disablePrint();
    }
}

// Ending the program keeps what closing the window keeps. When the file cannot be
// written, the teacher chooses between staying (the window keeps every count) and
// ending without saving.
bool AttendanceWindow::programEnding()
{
    if (programEnded || isUnloaded())
        return true;
    if (!tallyShown)
        storeShownMonth();
    // Counts that cannot be are kept as typed when the teacher ends all the same.
    if (const std::optional<Problem> problem = firstProblem(ctx.data)) {
        const QString question = problem->text
            + QStringLiteral("\n\n出席状況入力の画面に戻って直しますか？\n「はい」で画面に戻ります。"
                             "「いいえ」を選ぶと、このまま保存して、かざねを終了します。");
        if (ctx.ui.message(this, question, Ui::Buttons::YesNo, Ui::Icon::Warning) != Ui::Answer::No) {
            showProblem(*problem);
            return false;
        }
    }
    if (const Status saved = AttendanceFile::save(ctx.data); !saved) {
        const QString question = QStringLiteral("出席データを保存できませんでした。\n") + saved.message
            + QStringLiteral("\n\n出席状況入力の画面に戻りますか？\n「はい」で画面に戻ります（入力した数はそのまま残っています）。"
                             "「いいえ」を選ぶと、出席データを保存しないで、かざねを終了します。");
        if (ctx.ui.message(this, question, Ui::Buttons::YesNo, Ui::Icon::Warning) != Ui::Answer::No)
            return false;
    }
    programEnded = true;
    closeValuePrompt();
    return true;
}

bool AttendanceWindow::saveAttendance()
{
    const Status saved = AttendanceFile::save(ctx.data);
    if (saved)
        return true;
    ctx.ui.message(this, QStringLiteral("出席データを保存できませんでした。\n") + saved.message, Ui::Buttons::Ok,
                   Ui::Icon::Warning);
    return false;
}

void AttendanceWindow::closeIfLessonDaysGiven()
{
    if (lessonDaysMissing()) {
        ctx.ui.message(this, NoLessonDays);
        return;
    }
    closeWindow();
}

void AttendanceWindow::showHelp()
{
    ctx.ui.showHelp(this, 11);
}

// ---- the month and tally selector -------------------------------------------------

void AttendanceWindow::listMonths()
{
    periodSelector->clear();
    periodSelector->addItems(monthNames());
}

void AttendanceWindow::listTallies()
{
    // The class's terms: with two, 前期集計, 後期集計 and 年度末集計.
    periodSelector->clear();
    for (int tally : tallies(ctx.data.termPlan))
        periodSelector->addItem(tallyName(ctx.data.termPlan, tally), tally);
}

void AttendanceWindow::chooseTodaysMonth()
{
    periodSelector->setCurrentIndex(monthItem(ctx.today()));
    periodChosen();
}

// ---- monthly input ------------------------------------------------------------------

int AttendanceWindow::monthShown() const
{
    return monthModel->month() == 0 ? NoMonth : monthModel->month();
}

// The box of the month shown is empty; a tally always has its lesson days.
bool AttendanceWindow::lessonDaysMissing() const
{
    return !tallyShown && !monthModel->lessonDays().has_value();
}

// The box holds the month's lesson days while a month is shown; in a tally it shows
// the tally's sum, which is no month's.
void AttendanceWindow::lessonDaysTyped()
{
    if (!tallyShown)
        monthModel->setLessonDays(DayCount::parse(lessonDaysInput->text()));
}

void AttendanceWindow::storeShownMonth()
{
    monthModel->store(ctx.data);
}

void AttendanceWindow::showChosenMonth()
{
    const int m = periodSelector->currentIndex() + 1;
    if (m < 1 || m > Limits::Months)
        return;
    monthModel->load(ctx.data, m);
    lessonDaysInput->setText(QString::number(monthModel->lessonDays().value_or(0)));
    lessonDaysTyped();  // the box may hold fewer digits than the class gave
}

void AttendanceWindow::periodChosen()
{
    if (tallyShown) {
        BusyCursor busy(ctx.ui);
        showTallyOf(periodSelector->currentData().toInt());
        return;
    }
    if (monthModel->month() != 0 && lessonDaysMissing()) {
        ctx.ui.message(this, NoLessonDays);
        periodSelector->setCurrentIndex(monthModel->month() - 1);
        return;
    }
    BusyCursor busy(ctx.ui);
    closeValuePrompt();
    storeShownMonth();
    showChosenMonth();
}

void AttendanceWindow::typeKey(QChar key)
{
    if (tallyShown) {
        // A tally shows sums of the stored months; it is not typed over.
        ctx.ui.beep();
        return;
    }
    const std::optional<Category> category = AttendanceMonthModel::categoryAt(gridColumn());
    if (gridRow() < 1 || !category || *category == Category::RequiredDays)
        return;
    const int digit = DayCount::digitOf(key);
    if (digit < 0) {
        ctx.ui.beep();
        return;
    }
    if (const QString refusal = monthModel->typeDigit(gridRow(), *category, digit); !refusal.isEmpty()) {
        refuseCount(refusal);
        return;
    }
    if (*category == Category::LeftEarly)
        scrollAtRowEnd();
}

void AttendanceWindow::refuseCount(const QString& refusal)
{
    ctx.ui.message(this, refusal + QStringLiteral("\nこの数は入力できません。"), Ui::Buttons::Ok, Ui::Icon::Warning);
}

// At the end of a low row, bring the next rows into view, keeping this one shown.
void AttendanceWindow::scrollAtRowEnd()
{
    const int row = gridRow();
    if (row == ctx.data.pupilCount || row <= 11)
        return;
    QScrollBar* bar = attendanceGrid->verticalScrollBar();
    bar->setValue(bar->value() + 1);
    if (attendanceGrid->rowAt(0) > row - 1)
        bar->setValue(bar->value() - 1);
}

void AttendanceWindow::fillRequiredDays()
{
    if (!tallyShown)
        monthModel->fillRequiredDays();
}

// Only a new number of lesson days fills in every 必要日数 again: leaving the box as
// it was keeps the values typed through the value prompt, and an empty box gives
// nothing to count from.
void AttendanceWindow::lessonDaysLeft()
{
    if (tallyShown || programEnded || isUnloaded())
        return;
    const std::optional<int> days = monthModel->lessonDays();
    if (days && *days != monthModel->requiredDaysBasis())
        fillRequiredDays();
}


// Before the window shows something else, the month being typed is stored (so a
// tally counts it, and the selector may move); an empty lesson-days box is refused
// as a month change refuses it. False when refused.
bool AttendanceWindow::leaveShownMonth()
{
    if (!tallyShown) {
        if (lessonDaysMissing()) {
            ctx.ui.message(this, NoLessonDays);
            return false;
        }
        storeShownMonth();
    }
    closeValuePrompt();
    return true;
}

void AttendanceWindow::startMonthlyInput()
{
    if (!leaveShownMonth())
        return;
    tallyShown = false;
    setTallyControls(false);
    showMonthGrid();
    listMonths();
    chooseTodaysMonth();
    setGridCell(1, 2);
}

void AttendanceWindow::setTallyControls(bool tally)
{
    reportActions()->setEnabled(tally);
    for (QRadioButton* view : {detailedViewOption, recordBookViewOption})
        view->setEnabled(tally);
    fillRequiredDaysButton->setEnabled(!tally);
    fillRequiredDaysAction->setEnabled(!tally);
    lessonDaysInput->setEnabled(!tally);
    valuePromptHint->setEnabled(!tally);  // a tally takes no values
}

// ---- tallies ------------------------------------------------------------------------

View AttendanceWindow::chosenView() const
{
    return recordBookViewOption->isChecked() ? View::RecordBook : View::Detailed;
}

void AttendanceWindow::startTally(int tally)
{
    if (range(ctx.data.termPlan, tally).isEmpty())
        return;
    if (!leaveShownMonth())
        return;
    tallyShown = true;
    setTallyControls(true);
    listTallies();
    showTallyOf(tally);
}

void AttendanceWindow::showTallyOf(int tally)
{
    if (range(ctx.data.termPlan, tally).isEmpty())
        return;
    tallyIndex = tally;
    showTally();
    periodSelector->setCurrentIndex(periodSelector->findData(tally));
}

void AttendanceWindow::showTally()
{
    tallyModel->show(table(ctx.data, tallyIndex, chosenView()));
    showTallyGrid();
    lessonDaysInput->setText(QString::number(tallyModel->table().lessonDays));
}

void AttendanceWindow::viewChosen()
{
    if (tallyShown)
        showTally();
}

// The sheet of the tally shown, made from the table the grid shows.
void AttendanceWindow::output(ReportDestination destination)
{
    if (!tallyShown)
        return;
    BusyCursor busy(ctx.ui);
    const Table& shown = tallyModel->table();
    ctx.check(ctx.reports.run(this, sheet(shown), destination, previewTitle(shown.name)), this);
}
