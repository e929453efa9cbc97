// The score grid of score entry: typing, the full-marks check, the row total and
// the cursor advance, the input modes, and leaving the screen with or without saving.

#include "entry/ScoreEntryWindow.h"

#include "model/ScoreFile.h"
#include "entry/EntryWidgets.h"
#include "model/TestChecks.h"
#include "entry/FixedValuesDialog.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTimer>

using namespace ScoreKeys;

// ---- the score grid --------------------------------------------------------------

QString ScoreEntryWindow::cellText(int row, int col) const
{
    const QTableWidgetItem* item = Grid1->item(row - 1, col);
    return item ? item->text() : QString();
}

void ScoreEntryWindow::setCell(int row, int col, const QString& text)
{
    if (QTableWidgetItem* item = Grid1->item(row - 1, col))
        item->setText(text);
}

int ScoreEntryWindow::cursorRow() const { return Grid1->currentRow() + 1; }
int ScoreEntryWindow::cursorCol() const { return Grid1->currentColumn(); }

void ScoreEntryWindow::setCursor(int row, int col)
{
    if (row < 1 || row > Grid1->rowCount())
        return;
    // The screen places the cursor itself after a score and when it shows a test: a
    // digit typed so far stays where it was typed and is never carried along.
    if (EntryPending) {
        EntryPending = false;
        writeRowTotal(cursorRow());
    }
    Grid1->setCurrentCell(row - 1, col);
}

// The teacher moved the cursor (arrow keys, a click, leaving the grid) while a first
// digit waited for its second: that digit is the pupil's score, checked against the
// full marks like any other, and the next digit starts a new entry wherever it is
// typed.
void ScoreEntryWindow::endPendingEntry(int row, int col)
{
    if (!EntryPending)
        return;
    EntryPending = false;
    if (withinFullMarks(col, EntryValue)) {
        writeRowTotal(row);
        return;
    }
    // Refused as any score above the full marks is: the cursor goes back to the cell
    // and the teacher is told, once the move that ended the entry is over.
    const int value = EntryValue;
    QTimer::singleShot(0, this, [this, row, col, value] {
        if (isUnloaded())
            return;
        setCursor(row, col);
        Grid1->setFocus(Qt::OtherFocusReason);
        CheckMax(value);
    });
}

void ScoreEntryWindow::writeRowTotal(int row)
{
    if (row < 1 || row > Grid1->rowCount())
        return;
    std::array<QString, 4> cells;
    for (int i = 0; i < 4; ++i)
        cells[size_t(i)] = cellText(row, FirstScoreColumn + i);
    setCell(row, TotalColumn, QString::number(rowTotal(cells)));
}

bool ScoreEntryWindow::withinFullMarks(int col, int score) const
{
    if (col < FirstScoreColumn || col > LastScoreColumn)
        return true;
    return numberIn(Tx_Manten[col - FirstScoreColumn]->text()) >= score;
}

int ScoreEntryWindow::topRow() const
{
    return Grid1->verticalScrollBar()->value() + 1;
}

void ScoreEntryWindow::scrollGridToTop()
{
    Grid1->verticalScrollBar()->setValue(0);
    // The cell under the cursor stays in sight: the teacher types into it next.
    if (Grid1->currentIndex().isValid())
        Grid1->scrollTo(Grid1->currentIndex());
}

void ScoreEntryWindow::scrollGridDown()
{
    QScrollBar* bar = Grid1->verticalScrollBar();
    bar->setValue(bar->value() + 1);
}

void ScoreEntryWindow::countChosenViewpoints()
{
    ChosenViewpoints = 0;
    for (QComboBox* list : Cb_Ryoiki)
        if (list->currentIndex() > 0)
            ++ChosenViewpoints;
}

void ScoreEntryWindow::Grid1_KeyPress(QChar key)
{
    const int row = cursorRow();
    const int col = cursorCol();
    if (row < 1 || col < FirstScoreColumn)
        return;
    countChosenViewpoints();
    if (ChosenViewpoints == 0) {
        ctx.ui.message(this, QStringLiteral("観点を一つは選んでください"));
        return;
    }
    if (ChosenViewpoints < col - 2)
        return;
    const KeyResult result = interpretKey(key, InputMode, EntryPending, EntryValue, ctx.data.fixedValues);
    switch (result.action) {
    case KeyAction::Beep:
        ctx.ui.beep();
        break;
    case KeyAction::Absent:
        setCell(row, col, absentText());
        CommitCell();
        break;
    case KeyAction::Show:
        setCell(row, col, QString::number(result.value));
        if (result.check && CheckMax(result.value))
            CommitCell();
        break;
    case KeyAction::FullMarks: {
        const int n = qBound(0, numberIn(Tx_RyoikiSu->text()), Limits::Columns);
        for (int i = 1; i <= n; ++i) {
            setCursor(row, i + 2);
            setCell(row, i + 2, Tx_Manten[i - 1]->text());
        }
        CommitCell();
        break;
    }
    }
}

bool ScoreEntryWindow::CheckMax(int score)
{
    if (withinFullMarks(cursorCol(), score))
        return true;
    ctx.ui.message(this, QStringLiteral("満点を超えた点数です"), Ui::Buttons::Ok, Ui::Icon::Critical);
    Grid1->setFocus(Qt::OtherFocusReason);
    scrollGridToTop();
    return false;
}

void ScoreEntryWindow::CommitCell()
{
    const int row = cursorRow();
    const int col = cursorCol();
    writeRowTotal(row);
    const Advance next = nextCell(row, col, ChosenViewpoints, ctx.data.pupilCount, numberIn(Tx_RyoikiSu->text()));
    setCursor(next.row, next.col);
    if (next.scrollDown)
        scrollGridDown();
}

void ScoreEntryWindow::writeCaption()
{
    const bool fixed = InputMode == InputMode::Fixed;
    setWindowTitle(QStringLiteral("成績入力-") + ctx.data.unitName()
                   + (fixed ? QStringLiteral("-固定入力") : QStringLiteral("-通常入力")));
}

void ScoreEntryWindow::menuInputMode_Click(int index)
{
    menuInputMode[0]->setChecked(index == 0);
    menuInputMode[1]->setChecked(index == 1);
    opMode[index]->setChecked(true);
    InputMode = index == 1 ? InputMode::Fixed : InputMode::Normal;
    writeCaption();
    Grid1->setFocus(Qt::OtherFocusReason);
    scrollGridToTop();
}

void ScoreEntryWindow::opMode_Click(int index) { menuInputMode_Click(index); }

void ScoreEntryWindow::menuModeSet_Click()
{
    if (kmode) {
        kmode->raise();
        kmode->activateWindow();
        return;
    }
    kmode = new FixedValuesDialog(ctx, this);
    kmode->setAttribute(Qt::WA_DeleteOnClose);
    kmode->prepare();
    kmode->show();
}

void ScoreEntryWindow::cmdMode_Click() { menuModeSet_Click(); }

bool ScoreEntryWindow::ValidateTest(int t)
{
    const QString problem = TestChecks::ValidateTest(ctx.data.tests, t, ctx.data.pupilCount);
    if (problem.isEmpty())
        return true;
    ctx.ui.message(this, problem);
    return false;
}

void ScoreEntryWindow::menuSave_Click(int index)
{
    if (index == 0 ? !saveTests() : !mayLeave(Leaving::Discard))
        return;  // the screen stays as it is: nothing typed is lost
    closingByCommand = true;
    closeWindow();
}

bool ScoreEntryWindow::saveTests()
{
    ClassData& data = ctx.data;
    // A digit waiting for its second one is that pupil's score.
    if (EntryPending) {
        EntryPending = false;
        writeRowTotal(cursorRow());
    }
    const int shown = data.currentTest;
    int failing = 0;
    Status saved;
    {
        BusyCursor busy(ctx.ui);
        StoreTest(shown);
        for (int t = 1; t <= data.tests.count && failing == 0; ++t)
            if (!TestChecks::ValidateTest(data.tests, t, data.pupilCount).isEmpty())
                failing = t;
        if (failing == 0)
            saved = ScoreFile::save(data);
    }
    if (failing != 0) {
        data.currentTest = failing;
        ValidateTest(failing);
        ShowTest();
        return false;
    }
    if (!ctx.check(saved, this, Ui::Icon::Critical))
        return false;
    data.currentTest = data.tests.count;
    return true;
}

void ScoreEntryWindow::cmdEnd_Click(int index) { menuSave_Click(index); }

void ScoreEntryWindow::Grid1_GotFocus()
{
    if (Grid1->currentIndex().isValid())
        Grid1->setCurrentIndex(Grid1->currentIndex());
    Shape2->fit();
    Shape2->show();
}

void ScoreEntryWindow::Grid1_LostFocus()
{
    Shape2->hide();
}
