// The score grid of score entry: typing, the full-marks check, the row total and
// the cursor advance, the input modes, and leaving the screen with or without saving.

#include "entry/ScoreEntryWindow.h"

#include "entry/EntryWidgets.h"
#include "model/ScoreFile.h"
#include "model/TestChecks.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>
#include <QUndoStack>

using namespace ScoreKeys;

// ---- the cursor -----------------------------------------------------------------

int ScoreEntryWindow::cursorRow() const { return scoreGrid->currentIndex().row() + 1; }
int ScoreEntryWindow::cursorCol() const { return scoreGrid->currentIndex().column(); }

void ScoreEntryWindow::setCursor(int row, int col)
{
    if (row < 1 || row > scores->pupilCount())
        return;
    // The screen places the cursor itself after a score and when it shows a test: a
    // digit typed so far stays where it was typed and is never carried along.
    if (pending.waiting) {
        pending = PendingDigit::none();
        scores->updateTotal(cursorRow());
    }
    // The selection shrinks to the cursor whatever modifier keys are held: "*" and
    // "+" are typed with Shift, which would otherwise stretch it.
    scoreGrid->selectionModel()->setCurrentIndex(scores->index(row - 1, col), QItemSelectionModel::ClearAndSelect);
}

// The teacher moved the cursor (arrow keys, a click, leaving the grid) while a first
// digit waited for its second: that digit is the pupil's score, checked against the
// full marks like any other, and the next digit starts a new entry wherever it is
// typed.
void ScoreEntryWindow::endPendingEntry(int row, int col)
{
    if (!pending.waiting)
        return;
    const int value = pending.digit;
    pending = PendingDigit::none();
    if (withinFullMarks(col, value)) {
        scores->updateTotal(row);
        return;
    }
    // Refused as any score above the full marks is: the cursor goes back to the cell
    // and the teacher is told, once the move that ended the entry is over.
    QTimer::singleShot(0, this, [this, row, col, value] {
        if (isUnloaded())
            return;
        setCursor(row, col);
        scoreGrid->setFocus(Qt::OtherFocusReason);
        checkFullMarks(value);
    });
}

void ScoreEntryWindow::scrollGridToTop()
{
    scoreGrid->verticalScrollBar()->setValue(0);
    // The cell under the cursor stays in sight: the teacher types into it next.
    if (scoreGrid->currentIndex().isValid())
        scoreGrid->scrollTo(scoreGrid->currentIndex());
}

void ScoreEntryWindow::scrollGridDown()
{
    QScrollBar* bar = scoreGrid->verticalScrollBar();
    bar->setValue(bar->value() + 1);
}

void ScoreEntryWindow::gridFocusIn(bool shrinkSelection)
{
    if (shrinkSelection && scoreGrid->currentIndex().isValid())
        scoreGrid->selectionModel()->setCurrentIndex(scoreGrid->currentIndex(), QItemSelectionModel::ClearAndSelect);
    gridFocusFrame->fit();
    gridFocusFrame->show();
}

// ---- typing scores ----------------------------------------------------------------

void ScoreEntryWindow::setScore(int row, int col, const ScoreCell& cell)
{
    const int column = col - FirstScoreColumn + 1;
    const ScoreCell before = scores->score(row, column);
    if (before == cell)
        return;
    scores->setScore(row, column, cell);
    typedChanges << ScoreChange{row, column, before, cell, scores->total(row)};
}

bool ScoreEntryWindow::withinFullMarks(int col, int score) const
{
    if (col < FirstScoreColumn || col > LastScoreColumn)
        return true;
    return numberIn(fullMarksBoxes[size_t(col - FirstScoreColumn)]->text()) >= score;
}

int ScoreEntryWindow::chosenViewpoints() const
{
    int chosen = 0;
    for (const QComboBox* list : viewpointBoxes)
        if (list->currentIndex() > 0)
            ++chosen;
    return chosen;
}

void ScoreEntryWindow::typeKey(QChar key)
{
    const int row = cursorRow();
    const int col = cursorCol();
    if (row < 1 || col < FirstScoreColumn)
        return;
    const int chosen = chosenViewpoints();
    if (chosen == 0) {
        ctx.ui.message(this, QStringLiteral("観点を一つは選んでください"));
        return;
    }
    if (chosen < col - 2)
        return;
    // A key that does not complete a pending first digit starts an entry of its own.
    if (!pending.waiting)
        ++entrySerial;
    const KeyResult result = interpretKey(key, inputMode, pending, ctx.data.fixedValues);
    pending = result.pending;
    switch (result.action) {
    case KeyAction::Beep:
        ctx.ui.beep();
        break;
    case KeyAction::Absent:
        setScore(row, col, ScoreCell::absent());
        commitScore(chosen);
        break;
    case KeyAction::Show:
        setScore(row, col, ScoreCell::points(result.value));
        if (result.check && checkFullMarks(result.value))
            commitScore(chosen);
        break;
    case KeyAction::FullMarks: {
        // Every column of the test takes what its full-marks box holds.
        const int n = qBound(0, numberIn(columnCount->text()), Limits::Columns);
        for (int i = 1; i <= n; ++i) {
            const QString marks = fullMarksBoxes[size_t(i - 1)]->text();
            setCursor(row, i + 2);
            setScore(row, i + 2, marks.trimmed().isEmpty() ? ScoreCell::blank() : ScoreCell::points(numberIn(marks)));
        }
        commitScore(chosen);
        break;
    }
    }
    // Whatever the key changed is one step, even when the full marks refuse it.
    recordScores(entrySerial, pending.waiting);
}

bool ScoreEntryWindow::checkFullMarks(int score)
{
    if (withinFullMarks(cursorCol(), score))
        return true;
    ctx.ui.message(this, QStringLiteral("満点を超えた点数です"), Ui::Buttons::Ok, Ui::Icon::Critical);
    scoreGrid->setFocus(Qt::OtherFocusReason);
    scrollGridToTop();
    return false;
}

void ScoreEntryWindow::commitScore(int chosen)
{
    const int row = cursorRow();
    const int col = cursorCol();
    scores->updateTotal(row);
    const Advance next = nextCell(row, col, chosen, scores->pupilCount(), numberIn(columnCount->text()));
    setCursor(next.row, next.col);
    if (next.scrollDown)
        scrollGridDown();
}

// ---- input modes --------------------------------------------------------------------

void ScoreEntryWindow::writeCaption()
{
    const bool fixed = inputMode == InputMode::Fixed;
    setWindowTitle(QStringLiteral("成績入力-") + ctx.data.unitName()
                   + (fixed ? QStringLiteral("-固定入力") : QStringLiteral("-通常入力")));
}

void ScoreEntryWindow::setInputMode(InputMode mode)
{
    const bool fixed = mode == InputMode::Fixed;
    normalModeAction->setChecked(!fixed);
    fixedModeAction->setChecked(fixed);
    (fixed ? fixedModeButton : normalModeButton)->setChecked(true);
    inputMode = mode;
    writeCaption();
    writeKeyHint();
    scoreGrid->setFocus(Qt::OtherFocusReason);
    scrollGridToTop();
}

void ScoreEntryWindow::writeKeyHint()
{
    if (inputMode == InputMode::Fixed) {
        const auto& values = ctx.data.fixedValues;
        keyHint->setText(QStringLiteral("　入力キー（固定入力）：%1点「1」、%2点「2」、%3点「3」または「*」、欠席「/」")
                             .arg(values[1])
                             .arg(values[2])
                             .arg(values[3]));
    } else {
        keyHint->setText(QStringLiteral("　入力キー：100点「*」、欠席「/」、全観点一括満点入力「+」"));
    }
}

// The fixed values may have changed; the next keys are scores again.
void ScoreEntryWindow::fixedValuesClosed()
{
    if (isUnloaded())
        return;
    writeKeyHint();
    window()->activateWindow();
    scoreGrid->setFocus(Qt::OtherFocusReason);
}

void ScoreEntryWindow::openFixedValues()
{
    if (fixedValues) {
        fixedValues->raise();
        fixedValues->activateWindow();
        return;
    }
    fixedValues = new FixedValuesDialog(ctx, this);
    fixedValues->setAttribute(Qt::WA_DeleteOnClose);
    connect(fixedValues, &QDialog::finished, this, &ScoreEntryWindow::fixedValuesClosed);
    fixedValues->prepare();
    fixedValues->show();
}

// ---- saving and leaving ---------------------------------------------------------------

void ScoreEntryWindow::saveAndClose()
{
    if (!saveTests())
        return;  // the screen stays as it is: nothing typed is lost
    closingByCommand = true;
    closeWindow();
}

void ScoreEntryWindow::closeWithoutSaving()
{
    if (!mayLeave(Leaving::Discard))
        return;
    closingByCommand = true;
    closeWindow();
}

bool ScoreEntryWindow::saveTests()
{
    ClassData& data = ctx.data;
    // A digit waiting for its second one is that pupil's score.
    finishEntry();
    const int count = data.tests.count;
    int failing = 0;
    Status saved;
    {
        BusyCursor busy(ctx.ui);
        storeTest();
        // Tests appended by mistake at the end (still 新規テスト, nothing chosen or
        // typed) are left out rather than refused; any other unfinished test is refused.
        int kept = count;
        while (kept >= 1 && TestChecks::isUnusedNewTest(data.tests, kept, data.pupilCount))
            --kept;
        for (int t = 1; t <= kept && failing == 0; ++t)
            if (!TestChecks::refusalMessage(data.tests, t, data.pupilCount).isEmpty())
                failing = t;
        if (failing == 0) {
            data.tests.count = kept;
            saved = ScoreFile::save(data);
            if (!saved.ok)
                data.tests.count = count;  // the screen stays as the teacher left it
        }
    }
    if (failing != 0) {
        data.currentTest = failing;
        showTest();
        reportRefusal(failing);
        return false;
    }
    if (!ctx.check(saved, this, Ui::Icon::Critical))
        return false;
    data.currentTest = data.tests.count;
    return true;
}

void ScoreEntryWindow::reportRefusal(int t)
{
    const ClassData& data = ctx.data;
    const TestChecks::Refusal refusal = TestChecks::checkTest(data.tests, t, data.pupilCount);
    QString text = refusal.message;
    if (refusal.pupil > 0) {
        // Which pupil and column: the teacher finds the cell at once.
        const int p = refusal.pupil;
        const int c = refusal.column;
        const int kind = data.tests.viewpoint[t][c];
        const QString viewpoint = kind >= 1 && kind <= Limits::Viewpoints
            ? QStringLiteral("（%1）").arg(data.viewpointName[data.subject][kind])
            : QString();
        text += QStringLiteral("\n\n%1番 %2、%3%4：%5点（満点 %6点）")
                    .arg(QString::number(p), data.pupilName[size_t(p)], Names::viewpointHeading(c), viewpoint,
                         QString::number(data.tests.score[t][c][p]), QString::number(data.tests.fullMarks[t][c]));
        setCursor(p, c + FirstScoreColumn - 1);
        scoreGrid->scrollTo(scoreGrid->currentIndex());
        scoreGrid->setFocus(Qt::OtherFocusReason);
    }
    ctx.ui.message(this, text);
}
