#pragma once
// "教科内自由集計": every score of the unit in one grid (a row per pupil, a column
// per test column). The labels above follow the current column (test, viewpoint,
// full marks); 計 算 gives for the selected block of scores the average converted
// to 100 points, the average on the column's own full marks (one column only), the
// highest and the lowest score. Opened from 教科内自由集計 and from クラス観点別傾向.
// The figures come from tally/Statistics.h.

#include "tally/Statistics.h"
#include "frame/TallyWindow.h"

class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QTableWidget;

class StatisticsWindow : public TallyWindow {
    Q_OBJECT
public:
    explicit StatisticsWindow(AppContext& ctx, QWidget* parent = nullptr);

    bool prepare() override;
    QSize sizeHint() const override;

    void Grid1_RowColChange();
    void B_CalcAvrg_Click();
    void Bt_End_Click();

    // The selected block in data cells (pupils, data columns), corners in order;
    // columns 0 and 1 (number, name) are left out.
    StatisticsBlock selectedBlock() const;
    const StatisticsTable& table() const { return scores; }

    QTableWidget* Grid1 = nullptr;
    QFrame* Picture1 = nullptr;
    QLabel* L_TestTitle = nullptr;
    QLabel* L_RyoikiName = nullptr;
    QLabel* L_Manten = nullptr;
    QGroupBox* frameStatistics = nullptr;  // "統計計算"
    QPushButton* B_CalcAvrg = nullptr;
    QLabel* L_Avrg2 = nullptr;  // average on the columns' own full marks
    QLabel* L_Avrg1 = nullptr;  // average converted to 100 points
    QLabel* L_Max = nullptr;
    QLabel* L_Min = nullptr;
    QLabel* Label9 = nullptr;   // " ﾃｽﾄ数："
    QLabel* L_TestSu = nullptr;
    QPushButton* Bt_End = nullptr;

private:
    void buildControls();
    void fillGrid();

    StatisticsTable scores;
    bool ready = false;  // the grid is filled: the labels may follow the current column
};
