// Score entry's steps back and forth (the undo stack and what its commands ask of
// the screen) and the exchange of score blocks with spreadsheets.

#include "entry/ScoreEntryWindow.h"

#include "entry/ScoreClipboard.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QSet>
#include <QTableView>
#include <QUndoStack>
#include <algorithm>

using namespace ScoreKeys;

// ---- recording steps ---------------------------------------------------------------

void ScoreEntryWindow::recordDefinition(int field)
{
    if (showingDefinition || !undoStack)
        return;
    const TestDefinition now = shownDefinition();
    if (now == recordedDefinition)
        return;
    if (fieldOverride >= 0)
        field = fieldOverride;
    const TestDefinition before = recordedDefinition;
    recordedDefinition = now;
    undoStack->push(new DefinitionEditCommand(*this, ctx.data.currentTest, before, now, field, editSession));
}

void ScoreEntryWindow::recordScores(int entry, bool open)
{
    if (typedChanges.isEmpty())
        return;
    const QList<ScoreChange> changes = std::exchange(typedChanges, {});
    undoStack->push(new ScoreEditCommand(*this, ctx.data.currentTest, changes, entry, open));
}

void ScoreEntryWindow::finishEntry()
{
    if (!pending.waiting)
        return;
    pending = PendingDigit::none();
    scores->updateTotal(cursorRow());
}

void ScoreEntryWindow::undoEdit()
{
    finishEntry();
    if (!undoStack->canUndo()) {
        ctx.ui.beep();
        return;
    }
    undoStack->undo();
}

void ScoreEntryWindow::redoEdit()
{
    finishEntry();
    if (!undoStack->canRedo()) {
        ctx.ui.beep();
        return;
    }
    undoStack->redo();
}

// ---- what the steps ask of the screen ----------------------------------------------

void ScoreEntryWindow::showTestToEdit(int t)
{
    if (t == ctx.data.currentTest || t < 1 || t > ctx.data.tests.count)
        return;
    storeTest();
    ctx.data.currentTest = t;
    showTest();
}

void ScoreEntryWindow::putScores(int test, const QList<ScoreChange>& changes, bool undo)
{
    if (changes.isEmpty())
        return;
    showTestToEdit(test);
    pending = PendingDigit::none();
    if (undo) {
        // Last change first, so that each pupil ends with the total shown before
        // the first change of the step.
        for (auto change = changes.crbegin(); change != changes.crend(); ++change) {
            scores->setScore(change->pupil, change->column, change->before);
            scores->setTotal(change->pupil, change->totalBefore);
        }
    } else {
        QSet<int> pupils;
        for (const ScoreChange& change : changes) {
            scores->setScore(change.pupil, change.column, change.after);
            pupils.insert(change.pupil);
        }
        for (int pupil : pupils)
            scores->updateTotal(pupil);
    }
    const ScoreChange& first = changes.first();
    setCursor(first.pupil, first.column + FirstScoreColumn - 1);
    scoreGrid->scrollTo(scoreGrid->currentIndex());
    scoreGrid->setFocus(Qt::OtherFocusReason);
}

void ScoreEntryWindow::putDefinition(int test, const TestDefinition& definition, int field)
{
    showTestToEdit(test);
    {
        const QScopedValueRollback<bool> quiet(showingDefinition, true);
        showDefinition(definition);
        enableColumns(definition.columnCount);
        recordedDefinition = shownDefinition();
    }
    QWidget* control = testName;
    if (field == CountField)
        control = columnCount;
    else if (field >= ViewpointField && field < ViewpointField + Limits::Columns)
        control = viewpointBoxes[size_t(field - ViewpointField)];
    else if (field >= FullMarksField && field < FullMarksField + Limits::Columns)
        control = fullMarksBoxes[size_t(field - FullMarksField)];
    if (!control->isEnabled())
        control = testName;
    control->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        edit->selectAll();
}

// ---- the clipboard --------------------------------------------------------------------

QRect ScoreEntryWindow::selectedBlock() const
{
    const QModelIndexList cells = scoreGrid->selectionModel()->selectedIndexes();
    if (cells.isEmpty()) {
        const QModelIndex current = scoreGrid->currentIndex();
        return current.isValid() ? QRect(current.column(), current.row(), 1, 1) : QRect();
    }
    QRect block(cells.first().column(), cells.first().row(), 1, 1);
    for (const QModelIndex& cell : cells)
        block |= QRect(cell.column(), cell.row(), 1, 1);
    return block;
}

void ScoreEntryWindow::copyScores()
{
    const QRect block = selectedBlock();
    if (block.isEmpty())
        return;
    QList<QStringList> rows;
    for (int r = block.top(); r <= block.bottom(); ++r) {
        QStringList cells;
        for (int c = block.left(); c <= block.right(); ++c)
            cells << scores->index(r, c).data().toString();
        rows << cells;
    }
    QGuiApplication::clipboard()->setText(ScoreClipboard::toText(rows));
}

void ScoreEntryWindow::pasteScores()
{
    const QList<QStringList> rows = ScoreClipboard::parse(QGuiApplication::clipboard()->text());
    if (rows.isEmpty()) {
        ctx.ui.message(this, QStringLiteral("貼り付ける点数がクリップボードにありません。"));
        return;
    }
    if (cursorCol() < FirstScoreColumn) {
        ctx.ui.message(this, QStringLiteral("点数の列（Ⅰ～Ⅳ）にカーソルを置いてから貼り付けてください。"));
        return;
    }
    const int chosen = chosenViewpoints();
    if (chosen == 0) {
        ctx.ui.message(this, QStringLiteral("観点を一つは選んでください"));
        return;
    }
    finishEntry();
    ScoreClipboard::Target target;
    target.pupil = cursorRow();
    target.column = cursorCol() - FirstScoreColumn + 1;
    target.columns = qMin(chosen, qBound(0, numberIn(columnCount->text()), Limits::Columns));
    for (int k = 0; k < Limits::Columns; ++k)
        target.fullMarks[size_t(k)] = numberIn(fullMarksBoxes[size_t(k)]->text());
    for (int p = 1; p <= scores->pupilCount(); ++p)
        target.pupilNames << scores->index(p - 1, NameColumn).data().toString();
    const ScoreClipboard::Plan plan = ScoreClipboard::plan(rows, target);
    if (!plan.refusal.isEmpty()) {
        ctx.ui.message(this, plan.refusal, Ui::Buttons::Ok, Ui::Icon::Warning);
        return;
    }
    QSet<int> pupils;
    int lastPupil = target.pupil;
    int lastColumn = target.column;
    for (const ScoreClipboard::PastedCell& pasted : plan.cells) {
        setScore(pasted.pupil, pasted.column + FirstScoreColumn - 1, pasted.cell);
        pupils.insert(pasted.pupil);
        lastPupil = qMax(lastPupil, pasted.pupil);
        lastColumn = qMax(lastColumn, pasted.column);
    }
    for (int pupil : pupils)
        scores->updateTotal(pupil);
    recordScores(0, false);
    // The pasted block stays selected, the cursor on its first cell.
    const QModelIndex first = scores->index(target.pupil - 1, target.column + FirstScoreColumn - 1);
    scoreGrid->selectionModel()->setCurrentIndex(first, QItemSelectionModel::ClearAndSelect);
    scoreGrid->selectionModel()->select(
        QItemSelection(first, scores->index(lastPupil - 1, lastColumn + FirstScoreColumn - 1)),
        QItemSelectionModel::Select);
}

void ScoreEntryWindow::clearScores()
{
    const QRect block = selectedBlock();
    const int left = qMax(block.left(), FirstScoreColumn);
    if (block.isEmpty() || left > block.right()) {
        ctx.ui.beep();  // no score cell is selected
        return;
    }
    finishEntry();
    QSet<int> pupils;
    for (int r = block.top(); r <= block.bottom(); ++r)
        for (int c = left; c <= block.right(); ++c)
            if (!scores->score(r + 1, c - FirstScoreColumn + 1).isBlank()) {
                setScore(r + 1, c, ScoreCell::blank());
                pupils.insert(r + 1);
            }
    for (int pupil : pupils)
        scores->updateTotal(pupil);
    recordScores(0, false);
}
