#pragma once
// "総合集計一覧表": the overall tally of the unit over the tests the teacher chooses
// when the window opens (TestPickerDialog). Grid1 lists every pupil with the overall and
// four viewpoint groups (average, rank, evaluation); Grid2 shows each viewpoint's
// class average and number of columns. The list is ordered by attendance number,
// by overall score or by one viewpoint's score, shows the ticked kinds of figures,
// and is printed or previewed as the "aryoiki" sheet exactly as shown. The figures
// come from tally/OverallTally.h and are fixed for the life of the window.

#include "tally/OverallTally.h"
#include "frame/TallyWindow.h"

#include <memory>

class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTableWidget;

class OverallTallyWindow : public TallyWindow {
    Q_OBJECT
public:
    explicit OverallTallyWindow(AppContext& ctx, QWidget* parent = nullptr);
    ~OverallTallyWindow() override;

    bool prepare() override;
    QSize sizeHint() const override;

    void SortbyNumber();
    void GridClear();
    void Cb_RyoikiName_Click();
    void Op_Mode_Click(int index);
    void lstDisplay_Click();
    void CmdPrint_Click(int index);
    void KAll_Print(int index);
    void Command1_Click();

    // The order and figures currently shown.
    OverallOrder currentOrder() const;
    ShownFigures shownFigures() const;
    const OverallTally* tally() const { return figures.get(); }

    QTableWidget* Grid1 = nullptr;
    QTableWidget* Grid2 = nullptr;
    QListWidget* lstDisplay = nullptr;
    QGroupBox* Frame1 = nullptr;
    QRadioButton* Op_Mode[2] = {};
    QComboBox* Cb_RyoikiName = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* lbSouAvarage = nullptr;
    QPushButton* CmdPrint[2] = {};
    QPushButton* CmdCsv = nullptr;  // CSV保存: the sheet as a spreadsheet table
    QPushButton* Command1 = nullptr;

private:
    void buildControls();
    void SortbySougou();
    void SortbyRyoiki();
    // Shows the rows of the current order with the ticked figures.
    void showRows();
    // Runs the test selection and returns the chosen tests.
    QList<int> chooseTests();

    std::unique_ptr<OverallTally> figures;
};
