#pragma once
// The steps score entry can undo and redo: scores changed in the grid, a test's
// definition changed (name, column count, viewpoints, full marks) and a test
// appended. Each command keeps what it needs to go both ways and asks the screen,
// through EntryEdits, to show the test it belongs to and put the values back.

#include "entry/ScoreTableModel.h"
#include "model/TestDefinition.h"

#include <QList>
#include <QUndoCommand>

// One cell of the grid before and after a change: pupil 1..n, score column 1..4.
struct ScoreChange {
    int pupil = 0;
    int column = 0;
    ScoreCell before = ScoreCell::blank();
    ScoreCell after = ScoreCell::blank();
    // The pupil's total as the grid showed it before the change, which an undo
    // shows again (a total read from the file may say 欠席 where a sum would not).
    ScoreCell totalBefore = ScoreCell::blank();
};

// Puts the cell into the pupil's score column (1..4) and adds the change to
// `changes`; nothing when the cell holds that already.
void changeScore(ScoreTableModel& scores, int pupil, int column, const ScoreCell& cell, QList<ScoreChange>& changes);
// Puts each cell back as it was before the changes (undo: the totals as they were
// shown) or after them (redo: the totals summed again).
void putChanges(ScoreTableModel& scores, const QList<ScoreChange>& changes, bool undo);

// What the commands ask of the screen. Each call first shows the test it names.
class EntryEdits {
public:
    // Puts each cell's value before (undo) or after (redo) the change into the
    // grid, with the row totals as they were (undo) or summed again (redo), and
    // places the cursor on the first cell.
    virtual void putScores(int test, const QList<ScoreChange>& changes, bool undo) = 0;
    // Shows the definition for the test; `field` says which control to focus.
    virtual void putDefinition(int test, const TestDefinition& definition, int field) = 0;
    // Appends a new test and shows it.
    virtual void appendTest() = 0;
    // Takes the last test away and shows test `shown`.
    virtual void removeLastTest(int shown) = 0;

protected:
    ~EntryEdits() = default;
};

// Scores typed, pasted or cleared in the grid. The screen has already changed
// them when the command is pushed, so the first redo does nothing. A score typed
// as two digits is one step: the command of the first digit is left open and the
// second digit's command, for the same cell and entry, merges into it.
class ScoreEditCommand : public QUndoCommand {
public:
    ScoreEditCommand(EntryEdits& screen, int test, const QList<ScoreChange>& changes, int entry, bool open);

    void undo() override;
    void redo() override;
    int id() const override { return 1; }
    bool mergeWith(const QUndoCommand* other) override;

private:
    EntryEdits& screen;
    int test;
    QList<ScoreChange> changes;
    int entry;  // which typed entry made the change (0: not typed key by key)
    bool open;  // a first digit waits for its second
    bool done = true;
};

// A change of the test's definition. Changes of one control while it keeps the
// focus (`session`) merge into one step, so a name typed letter by letter is
// undone whole.
class DefinitionEditCommand : public QUndoCommand {
public:
    DefinitionEditCommand(EntryEdits& screen, int test, const TestDefinition& before, const TestDefinition& after,
                          int field, int session);

    void undo() override;
    void redo() override;
    int id() const override { return 2; }
    bool mergeWith(const QUndoCommand* other) override;

private:
    EntryEdits& screen;
    int test;
    TestDefinition before;
    TestDefinition after;
    int field;
    int session;
    bool done = true;
};

// 新規テスト: a test appended after the last one; undone, it is taken away again.
class AppendTestCommand : public QUndoCommand {
public:
    AppendTestCommand(EntryEdits& screen, int shownBefore);

    void undo() override { screen.removeLastTest(shownBefore); }
    void redo() override { screen.appendTest(); }

private:
    EntryEdits& screen;
    int shownBefore;
};
