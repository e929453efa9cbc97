#pragma once
// The per-test tally window "テスト別成績集計-<unit>": one test of the open class at
// a time, every pupil's scores, total and rank, the column averages and the class
// average as a percentage of the full marks, by attendance number or by score, with
// print and preview of the "testdisp" sheet. The figures come from
// computeTestTally; the window only shows them.

#include "tally/TestTally.h"
#include "frame/TallyWindow.h"

class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTableWidget;

class TestTallyWindow : public TallyWindow {
    Q_OBJECT
public:
    explicit TestTallyWindow(AppContext& ctx, QWidget* parent = nullptr);

    bool prepare() override;

    // Reloads the roster and the tests, then shows the chosen test in the chosen order.
    void ShowTestTally();
    void Cb_TestTitle_Click();
    void Op_Mode_Click(int index);
    void CmdPrint_Click(int index);  // 0 print, 1 preview
    void Bt_End_Click();

    // What is shown now (empty before the first test is shown).
    const TestTally& shownTally() const { return shown; }

    // Controls, named as the program names them.
    QTableWidget* Grid1 = nullptr;
    QComboBox* Cb_TestTitle = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Lb_Avrg = nullptr;
    QLabel* L_Title = nullptr;
    QLabel* Label1[4] = {};
    QLabel* RyoikiMei[4] = {};
    QLabel* lbAvarage[8] = {};  // 0..3 column averages, 4..7 full marks
    QRadioButton* Op_Mode[2] = {};
    QPushButton* CmdPrint[2] = {};
    QPushButton* CmdCsv = nullptr;  // CSV保存: the sheet as a spreadsheet table
    QPushButton* Bt_End = nullptr;

    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void setColumnWidths();
    void showTally(const TestTally& tally);
    TallyOrder order() const;

    TestTally shown;
};
