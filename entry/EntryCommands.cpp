#include "entry/EntryCommands.h"

#include <QSet>

void changeScore(ScoreTableModel& scores, int pupil, int column, const ScoreCell& cell, QList<ScoreChange>& changes)
{
    const ScoreCell before = scores.score(pupil, column);
    if (before == cell)
        return;
    scores.setScore(pupil, column, cell);
    changes << ScoreChange{pupil, column, before, cell, scores.total(pupil)};
}

void putChanges(ScoreTableModel& scores, const QList<ScoreChange>& changes, bool undo)
{
    if (undo) {
        // Last change first, so that each pupil ends with the total shown before
        // the first change of the step.
        for (auto change = changes.crbegin(); change != changes.crend(); ++change) {
            scores.setScore(change->pupil, change->column, change->before);
            scores.setTotal(change->pupil, change->totalBefore);
        }
        return;
    }
    QSet<int> pupils;
    for (const ScoreChange& change : changes) {
        scores.setScore(change.pupil, change.column, change.after);
        pupils.insert(change.pupil);
    }
    for (int pupil : pupils)
        scores.updateTotal(pupil);
}

// ---- scores -------------------------------------------------------------------------

ScoreEditCommand::ScoreEditCommand(EntryEdits& screen, int test, const QList<ScoreChange>& changes, int entry, bool open)
    : screen(screen), test(test), changes(changes), entry(entry), open(open)
{
}

void ScoreEditCommand::undo()
{
    screen.putScores(test, changes, true);
    done = false;
}

void ScoreEditCommand::redo()
{
    if (done)
        return;  // pushed after the screen made the change itself
    screen.putScores(test, changes, false);
    done = true;
}

bool ScoreEditCommand::mergeWith(const QUndoCommand* other)
{
    const auto* next = static_cast<const ScoreEditCommand*>(other);
    if (!open || entry == 0 || next->entry != entry || next->test != test || changes.size() != 1
        || next->changes.size() != 1)
        return false;
    ScoreChange& mine = changes.first();
    const ScoreChange& theirs = next->changes.first();
    if (mine.pupil != theirs.pupil || mine.column != theirs.column)
        return false;
    mine.after = theirs.after;
    open = next->open;
    setObsolete(mine.before == mine.after);
    return true;
}

// ---- the definition -----------------------------------------------------------------

DefinitionEditCommand::DefinitionEditCommand(EntryEdits& screen, int test, const TestDefinition& before,
                                             const TestDefinition& after, int field, int session)
    : screen(screen), test(test), before(before), after(after), field(field), session(session)
{
}

void DefinitionEditCommand::undo()
{
    screen.putDefinition(test, before, field);
    done = false;
}

void DefinitionEditCommand::redo()
{
    if (done)
        return;  // pushed after the teacher made the change on the screen
    screen.putDefinition(test, after, field);
    done = true;
}

bool DefinitionEditCommand::mergeWith(const QUndoCommand* other)
{
    const auto* next = static_cast<const DefinitionEditCommand*>(other);
    if (next->test != test || next->field != field || next->session != session)
        return false;
    after = next->after;
    setObsolete(before == after);
    return true;
}

// ---- appending ------------------------------------------------------------------------

AppendTestCommand::AppendTestCommand(EntryEdits& screen, int shownBefore) : screen(screen), shownBefore(shownBefore) {}
