#include "attendance/AttendanceWindow.h"

#include "attendance/DayCount.h"
#include "attendance/CountPrompt.h"
#include "model/AttendanceFile.h"
#include "frame/MainFrame.h"
#include "frame/ReportActions.h"

#include <QAction>
#include <QComboBox>
#include <QFocusEvent>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLayout>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>

using namespace AttendanceTally;

namespace {
const QString NoLessonDays = QStringLiteral("授業数を指定してください。未定の場合０を入力してください.");

// Column widths as shares of the grid's width: number, name, then each count.
constexpr double NumberShare = 0.05;
constexpr double CountShare = 0.09;
}  // namespace

// ---- opening, activation, closing -------------------------------------------------

bool AttendanceWindow::prepare()
{
    ShowingTally = false;
    NameSet();
    SetCbMonth();
    CurrentMonth = 99;
    chooseTodaysMonth();
    setGridCell(1, 2);
    setTallyControls(false);
    Grid1->setFocus();
    return true;
}

void AttendanceWindow::activated()
{
    reportActions()->setEnabled(ShowingTally);
    if (ctx.frame) {
        ctx.frame->disableAllCommands();
        ctx.frame->updatePrintCommands();
    }
    OpMode[0]->setEnabled(ShowingTally);
    OpMode[1]->setEnabled(ShowingTally);
    cmdSet->setEnabled(!ShowingTally);
    claimCloseShortcut();
}

// The frame's own "Close" entry answers Ctrl+F4 as well; in this window Ctrl+F4 is
// 終了(&X), which checks the lesson days before closing, so the frame gives it up.
void AttendanceWindow::claimCloseShortcut()
{
    QMdiSubWindow* frame = subWindow();
    if (!frame || !frame->systemMenu())
        return;
    for (QAction* action : frame->systemMenu()->actions()) {
        QList<QKeySequence> keys = action->shortcuts();
        if (keys.removeAll(menuSave->shortcut()) > 0)
            action->setShortcuts(keys);
    }
}

// Every close stores the month shown and writes the attendance file; when the file
// cannot be written the window stays open with everything still in it.
bool AttendanceWindow::mayClose()
{
    if (programEnded)
        return true;
    if (!ShowingTally)
        Grid2Value();
    return saveAttendance();
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
    if (!ShowingTally)
        Grid2Value();
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

void AttendanceWindow::cmdEnd_Click()
{
    if (lessonDaysMissing()) {
        ctx.ui.message(this, NoLessonDays);
        return;
    }
    closeWindow();
}

void AttendanceWindow::menuHelp_Click()
{
    ctx.ui.showHelp(this, 11);
}

// ---- grid texts ---------------------------------------------------------------------

QString AttendanceWindow::cellText(int row, int column) const
{
    if (row == 0) {
        const QTableWidgetItem* heading = Grid1->horizontalHeaderItem(column);
        return heading ? heading->text() : QString();
    }
    const QTableWidgetItem* item = Grid1->item(row - 1, column);
    return item ? item->text() : QString();
}

void AttendanceWindow::setCell(int row, int column, const QString& text)
{
    if (QTableWidgetItem* item = Grid1->item(row - 1, column))
        item->setText(text);
}

int AttendanceWindow::gridRow() const
{
    return Grid1->currentRow() + 1;
}

int AttendanceWindow::gridColumn() const
{
    return Grid1->currentColumn();
}

void AttendanceWindow::setGridCell(int row, int column)
{
    if (row >= 1 && row <= Grid1->rowCount())
        Grid1->setCurrentCell(row - 1, column);
}

int AttendanceWindow::lessonDaysShown() const
{
    return DayCount::parse(TxJugyoSu->text()).value_or(0);
}

bool AttendanceWindow::lessonDaysMissing() const
{
    return TxJugyoSu->text().trimmed().isEmpty();
}

void AttendanceWindow::NameSet()
{
    const int pupils = qBound(0, ctx.data.pupilCount, Limits::Pupils);
    const QStringList headings = ShowingTally ? tallyHeadings(View::Detailed) : inputHeadings();
    const QBrush fixedBackground = palette().brush(QPalette::Window);
    const QBrush fixedText = palette().brush(QPalette::WindowText);
    Grid1->setUpdatesEnabled(false);
    Grid1->clear();
    Grid1->setRowCount(pupils);
    for (int c = 0; c < Columns; ++c)
        Grid1->setHorizontalHeaderItem(c, new QTableWidgetItem(c < headings.size() ? headings[c] : QString()));
    for (int p = 1; p <= pupils; ++p) {
        for (int c = 0; c < Columns; ++c) {
            auto* item = new QTableWidgetItem;
            if (c < 2) {
                // The number and name columns are fixed: the current cell never lands there.
                item->setText(c == 0 ? numberText(p) : ctx.data.pupilName[p]);
                item->setFlags(Qt::NoItemFlags);
                item->setBackground(fixedBackground);
                item->setForeground(fixedText);
                item->setTextAlignment(c == 0 ? Qt::Alignment(Qt::AlignCenter) : (Qt::AlignLeft | Qt::AlignVCenter));
            } else {
                item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
                item->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            }
            Grid1->setItem(p - 1, c, item);
        }
    }
    Grid1->setColumnHidden(9, !ShowingTally);
    layoutColumns();
    Grid1->setUpdatesEnabled(true);
}

void AttendanceWindow::layoutColumns()
{
    const int width = Grid1->viewport()->width();
    const QFontMetrics metrics = Grid1->horizontalHeader()->fontMetrics();
    const int countWidth = qMax(int(width * CountShare), metrics.horizontalAdvance(QStringLiteral("必要日数")) + 14);
    const int numberWidth = qMax(int(width * NumberShare), metrics.horizontalAdvance(QStringLiteral("番号")) + 14);
    const int counts = ShowingTally ? 8 : 7;
    const int nameWidth = qMax(width - numberWidth - counts * countWidth, metrics.horizontalAdvance(QStringLiteral("氏名")) * 4);
    Grid1->setColumnWidth(0, numberWidth);
    Grid1->setColumnWidth(1, nameWidth);
    for (int c = 2; c < Columns; ++c)
        Grid1->setColumnWidth(c, countWidth);
}

void AttendanceWindow::SetCbMonth()
{
    CbMonth->clear();
    CbMonth->addItems(monthNames());
}

void AttendanceWindow::SetCbGakki()
{
    CbMonth->clear();
    CbMonth->addItems(tallyNames());
}

void AttendanceWindow::chooseTodaysMonth()
{
    CbMonth->setCurrentIndex(monthItem(ctx.today()));
    CbMonth_Click();
}

// ---- monthly input ------------------------------------------------------------------

void AttendanceWindow::Grid2Value()
{
    if (CurrentMonth < 1 || CurrentMonth > Limits::Months)
        return;
    ClassData& data = ctx.data;
    data.lessonDays[CurrentMonth] = lessonDaysShown();
    // The grid was laid for the class as it was at opening; should the roster have
    // changed meanwhile, its rows no longer match the pupils and are not stored.
    if (Grid1->rowCount() != data.pupilCount)
        return;
    for (int p = 1; p <= data.pupilCount; ++p)
        for (int k = 1; k <= Limits::Categories; ++k)
            data.attendance[CurrentMonth][p][k] = cellValue(cellText(p, k + 1));
}

void AttendanceWindow::Value2Grid()
{
    const int m = CbMonth->currentIndex() + 1;
    if (m < 1 || m > Limits::Months)
        return;
    const ClassData& data = ctx.data;
    TxJugyoSu->setText(QString::number(data.lessonDays[m]));
    lessonDaysApplied = data.lessonDays[m];
    Grid1->setUpdatesEnabled(false);
    const int pupils = qMin(Grid1->rowCount(), data.pupilCount);
    for (int p = 1; p <= pupils; ++p)
        for (int k = 1; k <= Limits::Categories; ++k)
            setCell(p, k + 1, countText(data.attendance[m][p][k]));
    Grid1->setUpdatesEnabled(true);
}

void AttendanceWindow::CbMonth_Click()
{
    if (ShowingTally) {
        BusyCursor busy(ctx.ui);
        SetShukei(CbMonth->currentIndex());
        return;
    }
    if (CurrentMonth != 99 && lessonDaysMissing()) {
        ctx.ui.message(this, NoLessonDays);
        CbMonth->setCurrentIndex(CurrentMonth - 1);
        return;
    }
    BusyCursor busy(ctx.ui);
    closeValuePrompt();
    Grid2Value();
    CurrentMonth = CbMonth->currentIndex() + 1;
    Value2Grid();
}

void AttendanceWindow::Grid1_KeyPress(QChar key)
{
    if (ShowingTally) {
        // A tally shows sums of the stored months; it is not typed over.
        ctx.ui.beep();
        return;
    }
    const int row = gridRow();
    const int column = gridColumn();
    if (row < 1 || column < 2 || column == 4)
        return;
    const int digit = DayCount::digitOf(key);
    if (digit < 0) {
        ctx.ui.beep();
        return;
    }
    setCell(row, column, digit == 0 ? QString() : QString::number(digit));
    RecalcRow();
}

void AttendanceWindow::RecalcRow()
{
    const int row = gridRow();
    const int column = gridColumn();
    if (row < 1)
        return;
    if (column == 2 || column == 3) {
        setCell(row, 4, requiredDaysText(lessonDaysShown(), cellValue(cellText(row, 2)), cellValue(cellText(row, 3))));
    } else if (column >= 8 && row != ctx.data.pupilCount && row > 11) {
        // At the end of a row, bring the next rows into view, keeping this one shown.
        QScrollBar* bar = Grid1->verticalScrollBar();
        bar->setValue(bar->value() + 1);
        if (Grid1->rowAt(0) > row - 1)
            bar->setValue(bar->value() - 1);
    }
}

void AttendanceWindow::cmdSet_Click()
{
    if (ShowingTally)
        return;
    const int lessonDays = lessonDaysShown();
    lessonDaysApplied = lessonDays;
    Grid1->setUpdatesEnabled(false);
    for (int p = 1; p <= Grid1->rowCount(); ++p)
        setCell(p, 4, requiredDaysText(lessonDays, cellValue(cellText(p, 2)), cellValue(cellText(p, 3))));
    Grid1->setUpdatesEnabled(true);
}

// Only a new number of lesson days fills in every 必要日数 again: leaving the box as
// it was keeps the values typed through the value prompt, and an empty box gives
// nothing to count from.
void AttendanceWindow::TxJugyoSu_LostFocus()
{
    if (ShowingTally || programEnded || isUnloaded())
        return;
    const std::optional<int> days = DayCount::parse(TxJugyoSu->text());
    if (days && *days != lessonDaysApplied)
        cmdSet_Click();
}

void AttendanceWindow::Grid1_DblClick(int row, int column)
{
    if (row >= 1 && column >= 2 && column != 3)
        openValuePrompt(row, column);
}

void AttendanceWindow::openValuePrompt(int row, int column)
{
    if (ShowingTally) {
        ctx.ui.beep();
        return;
    }
    if (row < 1 || row > Grid1->rowCount() || column < 2 || column > 8)
        return;
    closeValuePrompt();
    prompt = new CountPrompt(ctx, *this, row, column);
    // Just under the cell it is for, so the teacher sees which cell takes the value.
    prompt->adjustSize();
    const QRect cell = Grid1->visualItemRect(Grid1->item(row - 1, column));
    QPoint at = Grid1->viewport()->mapToGlobal(cell.bottomLeft() + QPoint(0, 4));
    if (const QScreen* shownOn = screen()) {
        const QRect area = shownOn->availableGeometry();
        if (at.y() + prompt->height() > area.bottom())
            at.setY(Grid1->viewport()->mapToGlobal(cell.topLeft()).y() - prompt->height() - 4);
        at.setX(qBound(area.left(), at.x(), qMax(area.left(), area.right() - prompt->width())));
        at.setY(qMax(area.top(), at.y()));
    }
    prompt->move(at);
    prompt->show();
    prompt->raise();
    prompt->activateWindow();
}

void AttendanceWindow::closeValuePrompt()
{
    if (prompt) {
        CountPrompt* open = prompt;
        prompt.clear();
        open->reject();
    }
}

void AttendanceWindow::FrmValue_Ok(int row, int column, const QString& text)
{
    if (ShowingTally || row < 1 || row > Grid1->rowCount() || column < 2 || column > 8)
        return;
    setCell(row, column, text);
    if (column == 2 || column == 3) {
        const int required = lessonDaysShown() - (cellValue(cellText(row, 2)) + cellValue(cellText(row, 3)));
        setCell(row, 4, QString::number(required));
    }
    setGridCell(row, column);
}

void AttendanceWindow::cmdInput_Click()
{
    if (!ShowingTally) {
        // Already in monthly input: keep the month shown before the selector moves.
        if (lessonDaysMissing()) {
            ctx.ui.message(this, NoLessonDays);
            return;
        }
        Grid2Value();
    }
    closeValuePrompt();
    ShowingTally = false;
    setTallyControls(false);
    NameSet();
    SetCbMonth();
    CurrentMonth = 99;
    chooseTodaysMonth();
    setGridCell(1, 2);
}

void AttendanceWindow::setTallyControls(bool tally)
{
    reportActions()->setEnabled(tally);
    for (QRadioButton* view : OpMode)
        view->setEnabled(tally);
    cmdSet->setEnabled(!tally);
    menuSet->setEnabled(!tally);
    TxJugyoSu->setEnabled(!tally);
    Label2->setEnabled(!tally);  // a tally takes no values
}

// ---- tallies ------------------------------------------------------------------------

View AttendanceWindow::chosenView() const
{
    return OpMode[1]->isChecked() ? View::RecordBook : View::Detailed;
}

void AttendanceWindow::cmdShukei_Click(int Index)
{
    if (range(Index).EndMonth < range(Index).StartMonth)
        return;
    // The month being typed is stored first, so the tally counts it. An empty
    // lesson-days box is refused as a month change refuses it.
    if (!ShowingTally) {
        if (lessonDaysMissing()) {
            ctx.ui.message(this, NoLessonDays);
            return;
        }
        Grid2Value();
    }
    closeValuePrompt();
    ShowingTally = true;
    setTallyControls(true);
    SetCbGakki();
    SetShukei(Index);
}

void AttendanceWindow::SetShukei(int Index)
{
    const Range months = range(Index);
    if (months.EndMonth < months.StartMonth)
        return;
    StartMonth = months.StartMonth;
    EndMonth = months.EndMonth;
    tallyIndex = Index;
    StatisticsWindow();
    CbMonth->setCurrentIndex(Index);
}

void AttendanceWindow::StatisticsWindow()
{
    NameSet();
    shownTally = table(ctx.data, tallyIndex, chosenView());
    TxJugyoSu->setText(QString::number(shownTally.lessonDays));
    Grid1->setUpdatesEnabled(false);
    Grid1->setHorizontalHeaderLabels(shownTally.headings);
    for (int p = 1; p <= Grid1->rowCount() && p <= shownTally.rows.size(); ++p)
        for (int c = 2; c < Columns; ++c)
            setCell(p, c, shownTally.rows[p - 1][c]);
    Grid1->setUpdatesEnabled(true);
}

void AttendanceWindow::OpMode_Click(int)
{
    if (ShowingTally)
        StatisticsWindow();
}

// The sheet of the tally shown, made from the table the window keeps.
void AttendanceWindow::output(ReportDestination destination)
{
    if (!ShowingTally)
        return;
    BusyCursor busy(ctx.ui);
    ctx.check(ctx.reports.run(this, sheet(shownTally), destination, previewTitle(shownTally.name)), this);
}

// ---- keys and focus -----------------------------------------------------------------

bool AttendanceWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Grid1) {
        if (event->type() == QEvent::KeyPress)
            return Grid1_KeyDown(static_cast<QKeyEvent*>(event));
        if (event->type() == QEvent::InputMethod) {
            // With the input method on, each committed character counts as a key press.
            const QString committed = static_cast<QInputMethodEvent*>(event)->commitString();
            for (QChar key : committed)
                Grid1_KeyPress(key);
            return true;
        }
        if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)
            Grid1_FocusChange(event->type() == QEvent::FocusIn, static_cast<QFocusEvent*>(event)->reason());
    } else if (watched == Grid1->viewport() && event->type() == QEvent::Resize) {
        layoutColumns();
    } else if (watched == TxJugyoSu && event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        // Leaving the box for another control, not for another window or a pop-up.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            TxJugyoSu_LostFocus();
    }
    return ChildWindow::eventFilter(watched, event);
}

bool AttendanceWindow::Grid1_KeyDown(QKeyEvent* event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (modifiers & Qt::ShiftModifier)) {
        openValuePrompt(gridRow(), gridColumn());
        return true;
    }
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    if (event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace) {
        Grid1_KeyPress(QLatin1Char('0'));  // empties the cell, as '0' does
        return true;
    }
    const QString text = event->text();
    if (!text.isEmpty() && text.at(0).isPrint()) {
        Grid1_KeyPress(text.at(0));
        return true;
    }
    return false;
}

void AttendanceWindow::Grid1_FocusChange(bool gotFocus, Qt::FocusReason reason)
{
    const int margin = gotFocus ? 0 : 2;
    Shape2->layout()->setContentsMargins(margin, margin, margin, margin);
    Shape2->setLineWidth(gotFocus ? 3 : 1);
    // Coming to the grid from another control starts at the first pupil's first
    // count; coming back from another window (the value prompt, a message) or by a
    // click keeps the cell the teacher was on or clicked.
    if (gotFocus && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason
        && reason != Qt::MouseFocusReason) {
        setGridCell(1, 2);
        Grid1->scrollToTop();
    }
}
