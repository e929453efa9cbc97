#pragma once
// The per-test tally window "テスト別成績集計-<unit>": one test of the open class at
// a time, every pupil's scores, total and rank, the column averages and the class
// average as a percentage of the full marks, by attendance number or by score, and
// beside the list the chart of how the scores spread.
// The window keeps the tally it shows (computeTestTally), shows its texts
// (tally/TestTallyText.h) and prints, previews or saves the "testdisp" sheet made
// from that same tally.

#include "tally/TestTallyText.h"
#include "frame/TallyWindow.h"

#include <array>

class QComboBox;
class QLabel;
class QRadioButton;
class QTableWidget;
class ScoreChartView;

class TestTallyWindow : public TallyWindow {
    Q_OBJECT
public:
    explicit TestTallyWindow(AppContext& ctx, QWidget* parent = nullptr);

    bool prepare() override;
    QString helpPage() const override { return QStringLiteral("test-tally.html"); }
    void output(ReportDestination destination) override;
    QSize sizeHint() const override;

    // What is shown now (empty before the first test is shown).
    const TestTally& shownTally() const { return shown; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void setColumnWidths();
    // Reloads the roster and the tests, then shows the chosen test in the chosen order.
    void showChosenTest();
    void showTally(const TestTally& tally);
    TallyOrder order() const;

    QTableWidget* pupilGrid = nullptr;
    QComboBox* testChooser = nullptr;
    QLabel* testNumberLabel = nullptr;
    QLabel* classAverageLabel = nullptr;
    std::array<QLabel*, 4> viewpointNameLabels{};
    std::array<QLabel*, 4> columnAverageLabels{};
    std::array<QLabel*, 4> fullMarksLabels{};
    QRadioButton* numberOrderButton = nullptr;
    QRadioButton* scoreOrderButton = nullptr;
    ScoreChartView* scoreChart = nullptr;

    TestTally shown;
    QString caption;  // "テスト別成績集計-" + the unit, the sheet's title
};
