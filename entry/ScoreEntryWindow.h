#pragma once
// Score entry (点数入力): the tests of the current unit with their names, viewpoint
// columns and full marks, and the grid where a class's scores are typed without an
// edit box. Works on ClassData in place; the score file is written only by 保存終了.
// The key interpretation and the save-time checks live in ScoreKeys and TestChecks.

#include "entry/ScoreKeys.h"
#include "frame/ChildWindow.h"
#include "entry/FixedValuesDialog.h"

#include <QPointer>
#include <memory>

class FocusFrame;
class QAction;
class QKeyEvent;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class QRadioButton;
class QTableWidget;
class UpDownButtons;
struct TestSet;

class ScoreEntryWindow : public ChildWindow {
    Q_OBJECT
public:
    explicit ScoreEntryWindow(AppContext& ctx, QWidget* parent = nullptr);
    ~ScoreEntryWindow() override;

    bool prepare() override;
    void activated() override;
    bool mayClose() override;
    void closed() override;
    bool mayEndProgram() override;
    bool writesTestsBack() const override { return true; }
    // Whether the tests on screen differ from what was loaded from the score file.
    bool holdsUnsavedChanges() const;

    // Test information (upper half).
    void ResetTestInfo();
    void ClearGrid();
    void ShowTest();
    void StoreTest(int t);
    void UpDown1_UpClick();
    void UpDown1_DownClick();
    void menuNext_Click();
    void menuBefore_Click();
    void cmdNext_Click(int index);
    void cmdJump_Click(int index);
    void menuJump_Click(int index);
    void cmdNew_Click();
    void menuNewTest_Click();
    void Bt_Tname_Click();
    void Tx_RyoikiSu_LostFocus();
    void Tx_Manten_KeyUp(int index, int key);
    void menuHelp_Click();

    // Score grid (lower half).
    void Grid1_KeyPress(QChar key);
    bool CheckMax(int score);
    void CommitCell();
    void menuInputMode_Click(int index);
    void opMode_Click(int index);
    void cmdMode_Click();
    void menuModeSet_Click();
    bool ValidateTest(int t);
    void menuSave_Click(int index);
    void cmdEnd_Click(int index);
    void Grid1_GotFocus();
    void Grid1_LostFocus();

    // The grid's cells by pupil row (1..pupilCount) and column (0..6), and its cursor.
    QString cellText(int row, int col) const;
    int cursorRow() const;
    int cursorCol() const;
    void setCursor(int row, int col);
    // The pupil row shown at the top of the grid.
    int topRow() const;
    FixedValuesDialog* modeDialog() const { return kmode; }
    QSize sizeHint() const override;

    // Controls.
    QMenuBar* MenuBar = nullptr;
    QAction* menuNewTest = nullptr;
    QAction* menuSave[2] = {};
    QAction* menuBefore = nullptr;
    QAction* menuNext = nullptr;
    QAction* menuJump[2] = {};
    QAction* menuInputMode[2] = {};
    QAction* menuModeSet = nullptr;
    QAction* menuHelp = nullptr;
    QGroupBox* Frame2 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Lb_Numbers = nullptr;
    UpDownButtons* UpDown1 = nullptr;
    QLineEdit* TxTitle = nullptr;
    QPushButton* Bt_Tname = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Tx_RyoikiSu = nullptr;
    QGroupBox* Frame1[4] = {};
    QComboBox* Cb_Ryoiki[4] = {};
    QLabel* Label3[4] = {};
    QLineEdit* Tx_Manten[4] = {};
    QTableWidget* Grid1 = nullptr;
    FocusFrame* Shape2 = nullptr;
    QLabel* Label4 = nullptr;
    QPushButton* cmdNew = nullptr;
    QPushButton* cmdNext[2] = {};
    QPushButton* cmdJump[2] = {};
    QPushButton* cmdEnd[2] = {};
    QGroupBox* Frame3 = nullptr;
    QRadioButton* opMode[2] = {};
    QPushButton* cmdMode = nullptr;

    // Screen state.
    ScoreKeys::InputMode InputMode = ScoreKeys::InputMode::Normal;
    bool EntryPending = false;
    int EntryValue = 0;
    int ChosenViewpoints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class MnemonicFilter;

    // Building the controls (InputDialogLayout.cpp).
    void buildMenus();
    void buildTestInfo();
    void buildGridAndButtons();
    void connectControls();
    void setTabOrder();
    void fitColumns();

    // How the screen is being left when it holds changes.
    enum class Leaving { Close, Discard, ProgramEnd };
    // Asks 保存して終了 / 保存しないで終了 / キャンセル when there are changes; true when
    // the screen may go (saved, or the teacher chose not to save).
    bool mayLeave(Leaving how);
    // Checks every test and writes the score file; false (after the message, with
    // the failing test shown) when a check refuses or the write fails.
    bool saveTests();
    // A cursor move away from a cell with one digit typed ends that entry there.
    void endPendingEntry(int row, int col);
    void writeRowTotal(int row);
    bool withinFullMarks(int col, int score) const;

    void storeInto(TestSet& set, int t) const;
    void setCell(int row, int col, const QString& text);
    void scrollGridToTop();
    void scrollGridDown();
    void countChosenViewpoints();
    void applyViewpointCount(int n);
    void goToTest(int t);
    void focusTitle();
    void writeCaption();
    bool ownMnemonic(const QKeyEvent* key, bool trigger);

    // The test appended by 新規テスト and not yet stored: shown with default values.
    int freshTest = 0;
    // The tests as loaded, to tell whether closing by the frame would drop changes.
    std::unique_ptr<TestSet> loaded;
    bool closingByCommand = false;
    QPointer<FixedValuesDialog> kmode;
};
