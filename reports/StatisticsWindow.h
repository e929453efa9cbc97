#pragma once
// "教科内自由集計": every score of the unit in one grid (a row per pupil, a column
// per test column). The labels above follow the current column (test, viewpoint,
// full marks); 計 算 gives for the selected block of scores the average converted
// to 100 points, the average on the column's own full marks (one column only), the
// highest and the lowest score. Opened from 教科内自由集計 and from クラス観点別傾向.
// The figures come from tally/Statistics.h, their texts from tally/StatisticsText.h.

#include "tally/StatisticsText.h"
#include "frame/TallyWindow.h"

class QLabel;
class QTableWidget;

class StatisticsWindow : public TallyWindow {
    Q_OBJECT
public:
    explicit StatisticsWindow(AppContext& ctx, QWidget* parent = nullptr);

    bool prepare() override;
    QString helpPage() const override { return QStringLiteral("statistics.html"); }
    QSize sizeHint() const override;

    // The selected block in data cells (pupils, data columns), corners in order;
    // columns 0 and 1 (number, name) are left out.
    StatisticsBlock selectedBlock() const;
    const StatisticsTable& table() const { return scores; }

private:
    void buildControls();
    void fillGrid();
    // The labels above follow the current column: its test, viewpoint and full marks.
    void showCurrentColumn();
    // 計 算: the figures of the selected block.
    void calculate();

    QTableWidget* scoreGrid = nullptr;
    QLabel* testNameLabel = nullptr;
    QLabel* viewpointLabel = nullptr;
    QLabel* fullMarksLabel = nullptr;
    QLabel* testCountLabel = nullptr;
    QLabel* ownAverageLabel = nullptr;        // average on the columns' own full marks
    QLabel* convertedAverageLabel = nullptr;  // average converted to 100 points
    QLabel* highestLabel = nullptr;
    QLabel* lowestLabel = nullptr;
    QLabel* weightNoteLabel = nullptr;        // "重み付きの平均" when weights other than 1 were taken

    StatisticsTable scores;
    bool ready = false;  // the grid is filled: the labels may follow the current column
};
