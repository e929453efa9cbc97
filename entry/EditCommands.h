#pragma once
// Score entry's 編集 menu: the steps back and forth (an undo stack of the commands
// of EntryCommands) and the exchange of score blocks with spreadsheets through the
// clipboard (ScoreClipboard). Its commands act wherever the focus is inside the
// screen, and only there.

#include "entry/EntryCommands.h"

#include <QObject>
#include <QRect>

class ChildWindow;
class EditedTest;
class QMenu;
class QUndoStack;
class ScoreGridController;
struct AppContext;

class EditCommands : public QObject {
    Q_OBJECT
public:
    // `screen` shows what the steps put back.
    EditCommands(AppContext& ctx, ChildWindow& screen, EntryEdits& steps, EditedTest& test, ScoreGridController& grid);

    // Adds 元に戻す, やり直し, コピー, 貼り付け and 消去 with their keys.
    void fillMenu(QMenu* menu);
    // What the screen holds now is where undoing stops.
    void clearSteps();

    // Steps of the edited test: scores the grid changed, a change of the definition
    // (changes of one field in one visit of its control are one step) and a new test.
    void recordScores(const QList<ScoreChange>& changes, int entry, bool open);
    void recordDefinition(const TestDefinition& before, const TestDefinition& after, int field, int visit);
    void appendTest();

    void undo();
    void redo();
    void copyScores();
    void pasteScores();
    void clearScores();

private:
    // The selected cells' rows and columns (the cursor's cell when none is selected).
    QRect selectedBlock() const;

    AppContext& ctx;
    ChildWindow& screen;
    EntryEdits& steps;
    EditedTest& test;
    ScoreGridController& grid;
    QUndoStack* stack = nullptr;
};
