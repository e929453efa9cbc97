#include "entry/EditCommands.h"

#include "entry/EditedTest.h"
#include "entry/ScoreClipboard.h"
#include "entry/ScoreGridController.h"
#include "frame/ChildWindow.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QMenu>
#include <QSet>
#include <QTableView>
#include <QUndoStack>

using namespace ScoreKeys;

EditCommands::EditCommands(AppContext& ctx, ChildWindow& screen, EntryEdits& steps, EditedTest& test,
                           ScoreGridController& grid)
    : QObject(&screen), ctx(ctx), screen(screen), steps(steps), test(test), grid(grid), stack(new QUndoStack(this))
{
    stack->setObjectName(QStringLiteral("undoStack"));
}

void EditCommands::fillMenu(QMenu* menu)
{
    const auto add = [menu](const QString& caption, const QString& name) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(name);
        return a;
    };
    QAction* undoAction = add(QStringLiteral("元に戻す(&U)"), QStringLiteral("undoAction"));
    undoAction->setShortcut(QKeySequence(Qt::ControlModifier | Qt::Key_Z));
    QAction* redoAction = add(QStringLiteral("やり直し(&R)"), QStringLiteral("redoAction"));
    redoAction->setShortcuts({QKeySequence(Qt::ControlModifier | Qt::Key_Y),
                              QKeySequence(Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_Z)});
    menu->addSeparator();
    QAction* copyAction = add(QStringLiteral("コピー(&C)"), QStringLiteral("copyAction"));
    copyAction->setShortcut(QKeySequence(Qt::ControlModifier | Qt::Key_C));
    QAction* pasteAction = add(QStringLiteral("貼り付け(&P)"), QStringLiteral("pasteAction"));
    pasteAction->setShortcut(QKeySequence(Qt::ControlModifier | Qt::Key_V));
    // Delete and Backspace reach the grid itself; the menu shows the key only.
    QAction* clearAction = add(QStringLiteral("消去(&D)\tDelete"), QStringLiteral("clearAction"));
    for (QAction* a : {undoAction, redoAction, copyAction, pasteAction, clearAction}) {
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        screen.addAction(a);
    }
    undoAction->setEnabled(false);
    redoAction->setEnabled(false);
    connect(stack, &QUndoStack::canUndoChanged, undoAction, &QAction::setEnabled);
    connect(stack, &QUndoStack::canRedoChanged, redoAction, &QAction::setEnabled);
    connect(undoAction, &QAction::triggered, this, &EditCommands::undo);
    connect(redoAction, &QAction::triggered, this, &EditCommands::redo);
    connect(copyAction, &QAction::triggered, this, &EditCommands::copyScores);
    connect(pasteAction, &QAction::triggered, this, &EditCommands::pasteScores);
    connect(clearAction, &QAction::triggered, this, &EditCommands::clearScores);
}

void EditCommands::clearSteps()
{
    stack->clear();
}

// ---- recording steps ---------------------------------------------------------------

void EditCommands::recordScores(const QList<ScoreChange>& changes, int entry, bool open)
{
    if (!changes.isEmpty())
        stack->push(new ScoreEditCommand(steps, test.number(), changes, entry, open));
}

void EditCommands::recordDefinition(const TestDefinition& before, const TestDefinition& after, int field, int visit)
{
    stack->push(new DefinitionEditCommand(steps, test.number(), before, after, field, visit));
}

void EditCommands::appendTest()
{
    stack->push(new AppendTestCommand(steps, test.number()));
}

void EditCommands::undo()
{
    grid.finishEntry();
    if (!stack->canUndo()) {
        ctx.ui.beep();
        return;
    }
    stack->undo();
}

void EditCommands::redo()
{
    grid.finishEntry();
    if (!stack->canRedo()) {
        ctx.ui.beep();
        return;
    }
    stack->redo();
}

// ---- the clipboard --------------------------------------------------------------------

QRect EditCommands::selectedBlock() const
{
    const QTableView* view = grid.view();
    const QModelIndexList cells = view->selectionModel()->selectedIndexes();
    if (cells.isEmpty()) {
        const QModelIndex current = view->currentIndex();
        return current.isValid() ? QRect(current.column(), current.row(), 1, 1) : QRect();
    }
    QRect block(cells.first().column(), cells.first().row(), 1, 1);
    for (const QModelIndex& cell : cells)
        block |= QRect(cell.column(), cell.row(), 1, 1);
    return block;
}

void EditCommands::copyScores()
{
    const QRect block = selectedBlock();
    if (block.isEmpty())
        return;
    const ScoreTableModel& scores = test.scores();
    QList<QStringList> rows;
    for (int r = block.top(); r <= block.bottom(); ++r) {
        QStringList cells;
        for (int c = block.left(); c <= block.right(); ++c)
            cells << scores.index(r, c).data().toString();
        rows << cells;
    }
    QGuiApplication::clipboard()->setText(ScoreClipboard::toText(rows));
}

void EditCommands::pasteScores()
{
    const QList<QStringList> rows = ScoreClipboard::parse(QGuiApplication::clipboard()->text());
    if (rows.isEmpty()) {
        ctx.ui.message(&screen, QStringLiteral("貼り付ける点数がクリップボードにありません。"));
        return;
    }
    if (grid.cursorCol() < FirstScoreColumn) {
        ctx.ui.message(&screen, QStringLiteral("点数の列（Ⅰ～Ⅳ）にカーソルを置いてから貼り付けてください。"));
        return;
    }
    const TestDefinition& definition = test.definition();
    const int chosen = definition.chosenViewpoints();
    if (chosen == 0) {
        ctx.ui.message(&screen, QStringLiteral("観点を一つは選んでください"));
        return;
    }
    grid.finishEntry();
    ScoreTableModel& scores = test.scores();
    ScoreClipboard::Target target;
    target.pupil = grid.cursorRow();
    target.column = grid.cursorCol() - FirstScoreColumn + 1;
    target.columns = qMin(chosen, qBound(0, definition.columnCount, Limits::Columns));
    for (int c = 1; c <= Limits::Columns; ++c)
        target.fullMarks[size_t(c - 1)] = definition.column(c).fullMarks;
    for (int p = 1; p <= scores.pupilCount(); ++p)
        target.pupilNames << scores.index(p - 1, NameColumn).data().toString();
    target.observation = definition.kind == TestKind::Observation;
    const ScoreClipboard::Plan plan = ScoreClipboard::plan(rows, target);
    if (!plan.refusal.isEmpty()) {
        ctx.ui.message(&screen, plan.refusal, Ui::Buttons::Ok, Ui::Icon::Warning);
        return;
    }
    QList<ScoreChange> changes;
    QSet<int> pupils;
    int lastPupil = target.pupil;
    int lastColumn = target.column;
    for (const ScoreClipboard::PastedCell& pasted : plan.cells) {
        changeScore(scores, pasted.pupil, pasted.column, pasted.cell, changes);
        pupils.insert(pasted.pupil);
        lastPupil = qMax(lastPupil, pasted.pupil);
        lastColumn = qMax(lastColumn, pasted.column);
    }
    for (int pupil : pupils)
        scores.updateTotal(pupil);
    recordScores(changes, 0, false);
    // The pasted block stays selected, the cursor on its first cell.
    QItemSelectionModel* selection = grid.view()->selectionModel();
    const QModelIndex first = scores.index(target.pupil - 1, target.column + FirstScoreColumn - 1);
    selection->setCurrentIndex(first, QItemSelectionModel::ClearAndSelect);
    selection->select(QItemSelection(first, scores.index(lastPupil - 1, lastColumn + FirstScoreColumn - 1)),
                      QItemSelectionModel::Select);
}

void EditCommands::clearScores()
{
    const QRect block = selectedBlock();
    const int left = qMax(block.left(), FirstScoreColumn);
    if (block.isEmpty() || left > block.right()) {
        ctx.ui.beep();  // no score cell is selected
        return;
    }
    grid.finishEntry();
    ScoreTableModel& scores = test.scores();
    QList<ScoreChange> changes;
    QSet<int> pupils;
    for (int r = block.top(); r <= block.bottom(); ++r)
        for (int c = left; c <= block.right(); ++c)
            if (!scores.score(r + 1, c - FirstScoreColumn + 1).isBlank()) {
                changeScore(scores, r + 1, c - FirstScoreColumn + 1, ScoreCell::blank(), changes);
                pupils.insert(r + 1);
            }
    for (int pupil : pupils)
        scores.updateTotal(pupil);
    recordScores(changes, 0, false);
}
