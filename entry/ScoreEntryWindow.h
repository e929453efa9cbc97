#pragma once
// Score entry (点数入力): the tests of the current unit with their names, viewpoint
// columns and full marks, and the grid where a class's scores are typed without an
// edit box. The window composes its parts around the test being edited
// (EditedTest: its definition and its scores): the definition panel above, the grid
// and its keys (ScoreGridController) below, the 編集 menu's steps and clipboard
// (EditCommands) and the input modes. It moves between the tests, puts back what an
// undone step names (EntryEdits), and writes the score file only by 保存終了, after
// the checks of TestChecks.

#include "entry/EditedTest.h"
#include "entry/EntryCommands.h"
#include "entry/ScoreKeys.h"
#include "frame/ChildWindow.h"
#include "platform/HelpTopics.h"

class EditCommands;
class FixedValuesDialog;
class InputModeControls;
class QAction;
class QKeyEvent;
class QMenuBar;
class ScoreGridController;
class TestDefinitionPanel;

class ScoreEntryWindow : public ChildWindow, private EntryEdits {
    Q_OBJECT
public:
    explicit ScoreEntryWindow(AppContext& ctx, QWidget* parent = nullptr);
    ~ScoreEntryWindow() override;

    bool prepare() override;
    QString helpPage() const override { return HelpTopics::pageOf(5); }
    void activated() override;
    bool mayClose() override;
    void closed() override;
    bool mayEndProgram() override;
    bool writesTestsBack() const override { return true; }
    // Whether the tests on screen differ from what was loaded from the score file.
    bool holdsUnsavedChanges() const { return edited.holdsUnsavedChanges(); }
    // The fixed-values window while it is open.
    FixedValuesDialog* fixedValuesDialog() const;
    QSize sizeHint() const override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Building the window (ScoreEntryLayout.cpp): the menus with their commands,
    // then the parts laid out with the buttons beside the grid, a button giving the
    // command of its menu entry.
    struct Commands {
        QAction* newTest = nullptr;
        QAction* save = nullptr;
        QAction* discard = nullptr;
        QAction* previous = nullptr;
        QAction* next = nullptr;
        QAction* first = nullptr;
        QAction* last = nullptr;
    };
    QMenuBar* buildMenus(Commands& commands);
    void buildBody(QMenuBar* menuBar, const Commands& commands);

    // The test shown and the moves between tests (ScoreEntryWindow.cpp).
    // Makes test t current and shows it in the panel and the grid, the cursor on
    // its first cell.
    void showTest(int t);
    // The key hint follows the kind of the test shown.
    void showKind();
    void goToTest(int t);
    // The previous (-1) or next (+1) test; a beep at either end.
    void stepTest(int step);
    void addTest();
    void copyOtherClassTest();
    // The panel's change of the definition is the edited test's, and a step.
    void definitionEdited(const TestDefinition& definition, int field, int visit);
    void setInputMode(ScoreKeys::InputMode mode);

    // What the steps ask of the window (EntryEdits).
    void putScores(int test, const QList<ScoreChange>& changes, bool undo) override;
    void putDefinition(int test, const TestDefinition& definition, int field) override;
    void appendTest() override;
    void removeLastTest(int shown) override;
    // Shows test t unless it is shown already, storing the one shown first.
    void showTestToEdit(int t);

    // Leaving (ScoreEntrySaving.cpp).
    enum class Leaving { Close, Discard, ProgramEnd };
    // Asks 保存して終了 / 保存しないで終了 / キャンセル when there are changes; true when
    // the screen may go (saved, or the teacher chose not to save).
    bool mayLeave(Leaving how);
    // Checks every test and writes the score file; false (after the message, with
    // the failing test shown) when a check refuses or the write fails.
    bool saveTests();
    // When tests 1..tests hold cells never typed (未入力), asks once, naming how many
    // pupils in each test: keep them 未入力, make them 0, or cancel (false).
    bool settleNotEntered(int tests);
    // The message of a refused test; for a score above its full marks, the pupil
    // and column are named and the cursor goes to that cell.
    void reportRefusal(int t);
    void saveAndClose();
    void closeWithoutSaving();

    EditedTest edited;
    TestDefinitionPanel* panel = nullptr;
    ScoreGridController* grid = nullptr;
    EditCommands* edits = nullptr;
    InputModeControls* modes = nullptr;
    bool closingByCommand = false;
};
