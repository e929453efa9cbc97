#pragma once
// The grid of score entry, where a class's scores are typed without an edit box:
// the keys typed into it (read by ScoreKeys), the cursor and where it goes after a
// score, the first digit waiting for its second, the full-marks check against the
// edited test's definition, and the frame shown while the grid has the focus. What
// a key changes goes into the edited test's scores and is handed on as one step
// (scoresTyped).

#include "entry/EntryCommands.h"
#include "entry/ScoreKeys.h"

#include <QObject>

class ChildWindow;
class EditedTest;
class FocusFrame;
class QTableView;
struct AppContext;

class ScoreGridController : public QObject {
    Q_OBJECT
public:
    // Builds the grid over the test's scores inside a holder, a child of `screen`.
    ScoreGridController(AppContext& ctx, ChildWindow& screen, EditedTest& test);

    // The grid inside the holder that also holds its focus frame.
    QWidget* holder() const;
    QTableView* view() const { return grid; }
    void setInputMode(ScoreKeys::InputMode mode) { inputMode = mode; }

    // The cursor: pupil rows from 1, the columns of ScoreKeys.
    int cursorRow() const;
    int cursorCol() const;
    // Places the cursor. A digit typed so far stays where it was typed and is never
    // carried along: it is that pupil's score, unchecked.
    void setCursor(int row, int col);
    void scrollToTop();
    // A digit waiting for its second one becomes the pupil's score, unchecked.
    void finishEntry();
    // A digit waiting for its second one is forgotten: its cell is about to show
    // another test or what a step puts back.
    void forgetEntry() { pending = ScoreKeys::PendingDigit::none(); }

signals:
    // The scores one key changed: `entry` numbers the typed entry (the two digits of
    // one score share it) and `open` tells that its second digit is still to come.
    void scoresTyped(const QList<ScoreChange>& changes, int entry, bool open);
    // Delete or Backspace in the grid.
    void clearRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void typeKey(QChar key);
    bool withinFullMarks(int col, int score) const;
    // False (after the message) when the score is above the full marks of the
    // cursor's column.
    bool checkFullMarks(int score);
    // The score is in: the row total follows and the cursor moves on.
    void commitScore(int chosen);
    // A cursor move away from a cell with one digit typed ends that entry there.
    void endPendingEntry(int row, int col);
    // Shows the focus frame; the selection shrinks to the cursor's cell unless the
    // focus comes back from a menu or another window.
    void focusIn(bool shrinkSelection);
    void enterScoreColumns();
    void fitColumns();

    AppContext& ctx;
    ChildWindow& screen;
    EditedTest& test;
    QTableView* grid = nullptr;
    FocusFrame* focusFrame = nullptr;
    ScoreKeys::InputMode inputMode = ScoreKeys::InputMode::Normal;
    ScoreKeys::PendingDigit pending;
    // Counts the typed entries.
    int entrySerial = 0;
    // What the key being handled changed.
    QList<ScoreChange> typed;
};
