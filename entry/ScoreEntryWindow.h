#pragma once
// Score entry (点数入力): the tests of the current unit with their names, viewpoint
// columns and full marks, and the grid where a class's scores are typed without an
// edit box. The grid shows a ScoreTableModel over the test being edited; a key goes
// through the key rules (ScoreKeys) into that model, the model's scores go into
// ClassData's tests when the teacher leaves the test, and the score file is written
// only by 保存終了, after the checks of TestChecks. Every change of the scores and
// of the tests' definitions is a step on an undo stack (EntryCommands), and the
// grid exchanges blocks of scores with spreadsheets through the clipboard.

#include "entry/EntryCommands.h"
#include "entry/FixedValuesDialog.h"
#include "entry/ScoreKeys.h"
#include "entry/ScoreTableModel.h"
#include "model/TestDefinition.h"
#include "frame/ChildWindow.h"
#include "platform/HelpTopics.h"

#include <QPointer>
#include <array>
#include <memory>

class FocusFrame;
class QAction;
class QComboBox;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenuBar;
class QPushButton;
class QRadioButton;
class QTableView;
class QUndoStack;
class UpDownButtons;

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
    bool holdsUnsavedChanges() const;
    // The fixed-values window while it is open.
    FixedValuesDialog* fixedValuesDialog() const { return fixedValues; }
    QSize sizeHint() const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    class MnemonicFilter;
    // What a change of the definition touched, for merging steps and for the
    // control an undo gives the focus to.
    enum Field { NameField = 0, CountField = 1, ViewpointField = 2, FullMarksField = 6, WholeField = 10 };

    // Building the controls (ScoreEntryLayout.cpp).
    void buildMenus();
    void buildTestInfo();
    void buildGridAndButtons();
    void connectControls();
    void setTabOrder();
    void fitColumns();
    bool ownMnemonic(const QKeyEvent* key, bool trigger);

    // The test shown and the moves between tests (ScoreEntryWindow.cpp).
    TestDefinition shownDefinition() const;
    void showDefinition(const TestDefinition& test);
    // Shows ClassData's current test: its definition and its scores.
    void showTest();
    // Stores what the screen shows into ClassData's current test, unchecked.
    void storeTest();
    void storeInto(TestSet& set, int t) const;
    // Enables the lists and boxes of the first n columns; the lists beyond go back
    // to "（な　し）".
    void applyColumnCount(int n);
    void goToTest(int t);
    void previousTest();
    void nextTest();
    void firstTest();
    void lastTest();
    void addTest();
    void copyOtherClassTest();
    void columnCountLeft();
    // Enables the lists and boxes of the first n columns and disables the others,
    // leaving what they show.
    void enableColumns(int n);
    void stepFullMarks(QLineEdit* box, int key);
    void focusTestName();
    void showHelp();

    // The score grid (ScoreEntryGrid.cpp). Rows are pupils 1..n, columns those of
    // ScoreKeys (the score columns are FirstScoreColumn..LastScoreColumn).
    void typeKey(QChar key);
    int chosenViewpoints() const;
    bool withinFullMarks(int col, int score) const;
    // False (after the message) when the score is above the full marks of the
    // cursor's column.
    bool checkFullMarks(int score);
    // The score is in: the row total follows and the cursor moves on.
    void commitScore(int chosen);
    // A cursor move away from a cell with one digit typed ends that entry there.
    void endPendingEntry(int row, int col);
    void setScore(int row, int col, const ScoreCell& cell);
    int cursorRow() const;
    int cursorCol() const;
    void setCursor(int row, int col);
    void scrollGridToTop();
    void scrollGridDown();
    // Shows the focus frame; the selection shrinks to the cursor's cell unless the
    // focus comes back from a menu or another window.
    void gridFocusIn(bool shrinkSelection);
    void setInputMode(ScoreKeys::InputMode mode);
    void writeCaption();
    void writeKeyHint();
    void openFixedValues();
    void fixedValuesClosed();

    // Undo, redo and the clipboard (ScoreEntryEdits.cpp).
    void putScores(int test, const QList<ScoreChange>& changes, bool undo) override;
    void putDefinition(int test, const TestDefinition& definition, int field) override;
    void appendTest() override;
    void removeLastTest(int shown) override;
    // Shows test t unless it is shown already, storing the one shown first.
    void showTestToEdit(int t);
    // Makes the changes of the definition since it was last recorded one step.
    void recordDefinition(int field);
    // Makes the scores changed since the last step one step: `entry` names the
    // typed entry and `open` tells that its second digit is still to come.
    void recordScores(int entry, bool open);
    // A digit waiting for its second one becomes the pupil's score, unchecked.
    void finishEntry();
    void undoEdit();
    void redoEdit();
    // The selected cells' rows and columns (the cursor's cell when none is selected).
    QRect selectedBlock() const;
    void copyScores();
    void pasteScores();
    void clearScores();

    // Leaving (ScoreEntryGrid.cpp).
    enum class Leaving { Close, Discard, ProgramEnd };
    // Asks 保存して終了 / 保存しないで終了 / キャンセル when there are changes; true when
    // the screen may go (saved, or the teacher chose not to save).
    bool mayLeave(Leaving how);
    // Checks every test and writes the score file; false (after the message, with
    // the failing test shown) when a check refuses or the write fails.
    bool saveTests();
    // The message of a refused test; for a score above its full marks, the pupil
    // and column are named and the cursor goes to that cell.
    void reportRefusal(int t);
    void saveAndClose();
    void closeWithoutSaving();

    // Menus.
    QMenuBar* menuBar = nullptr;
    QAction* newTestAction = nullptr;
    QAction* saveAndCloseAction = nullptr;
    QAction* discardAndCloseAction = nullptr;
    QAction* previousTestAction = nullptr;
    QAction* nextTestAction = nullptr;
    QAction* firstTestAction = nullptr;
    QAction* lastTestAction = nullptr;
    QAction* normalModeAction = nullptr;
    QAction* fixedModeAction = nullptr;
    QAction* fixedValuesAction = nullptr;
    QAction* helpAction = nullptr;
    QAction* undoAction = nullptr;
    QAction* redoAction = nullptr;
    QAction* copyAction = nullptr;
    QAction* pasteAction = nullptr;
    QAction* clearAction = nullptr;
    // The test (upper half).
    QGroupBox* testInfo = nullptr;
    QLabel* testNumber = nullptr;
    UpDownButtons* testNumberArrows = nullptr;
    QLineEdit* testName = nullptr;
    QPushButton* otherClassButton = nullptr;
    QLineEdit* columnCount = nullptr;
    std::array<QGroupBox*, Limits::Columns> viewpointColumns{};
    std::array<QComboBox*, Limits::Columns> viewpointBoxes{};
    std::array<QLineEdit*, Limits::Columns> fullMarksBoxes{};
    // The scores (lower half) and the commands beside them.
    QTableView* scoreGrid = nullptr;
    FocusFrame* gridFocusFrame = nullptr;
    QLabel* keyHint = nullptr;
    QPushButton* newTestButton = nullptr;
    QPushButton* previousTestButton = nullptr;
    QPushButton* nextTestButton = nullptr;
    QPushButton* firstTestButton = nullptr;
    QPushButton* lastTestButton = nullptr;
    QGroupBox* inputModes = nullptr;
    QRadioButton* normalModeButton = nullptr;
    QRadioButton* fixedModeButton = nullptr;
    QPushButton* fixedValuesButton = nullptr;
    QPushButton* saveAndCloseButton = nullptr;
    QPushButton* closeWithoutSavingButton = nullptr;

    ScoreTableModel* scores = nullptr;
    ScoreKeys::InputMode inputMode = ScoreKeys::InputMode::Normal;
    // A first digit typed in normal mode waits for its second one.
    ScoreKeys::PendingDigit pending;
    // The tests as loaded, to tell whether closing by the frame would drop changes.
    std::unique_ptr<TestSet> loaded;
    bool closingByCommand = false;
    QPointer<FixedValuesDialog> fixedValues;

    QUndoStack* undoStack = nullptr;
    // Scores changed by the key being handled, made one step once it is done.
    QList<ScoreChange> typedChanges;
    // Counts the typed entries: the two digits of one score share a number.
    int entrySerial = 0;
    // Counts the times a control of the test information took the focus.
    int editSession = 0;
    // The definition as last recorded on the undo stack.
    TestDefinition recordedDefinition;
    // While the screen itself shows a definition, its changes are no steps.
    bool showingDefinition = false;
    // When set (>= 0), the field that every change recorded now counts as.
    int fieldOverride = -1;
};
