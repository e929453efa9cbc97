#pragma once
// "個人別成績一覧": one pupil across every test of the unit — per test the total,
// each score under the viewpoint its column measures and the rank in the class —
// with the overall and four viewpoint lines (average, rank, evaluation) below.
// The pupil's sheet "kojin" is printed or previewed. The figures come from
// tally/PupilTally.h; the window only shows them.

#include "tally/PupilTally.h"
#include "frame/TallyWindow.h"

#include <memory>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTableWidget;

class PupilResultsWindow : public TallyWindow {
    Q_OBJECT
public:
    explicit PupilResultsWindow(AppContext& ctx, QWidget* parent = nullptr);
    ~PupilResultsWindow() override;

    bool prepare() override;
    QSize sizeHint() const override;

    // Reloads roster and tests, tallies the class and shows the first pupil.
    bool CalKojinData();
    void Cb_Name_Click();
    void DspKojin(int pupil);
    void CalRyoiki();
    void ShowOverall();
    void CmdPrint_Click(int index);
    void Bt_End_Click();

    int CurrentPupil = 1;
    const PupilTally* tally() const { return figures.get(); }

    QTableWidget* Grid1 = nullptr;
    QLabel* Label1 = nullptr;
    QComboBox* Cb_Name = nullptr;
    QGroupBox* frameOverall = nullptr;     // "教科内総合"
    QGroupBox* frameViewpoints = nullptr;  // "観点別平均点"
    QLabel* Label2[5] = {};      // 0 "平均", 1..4 the viewpoint labels
    QLabel* Lb_Avarage[5] = {};  // 0 overall average, 1..4 viewpoint averages
    QLabel* Label4 = nullptr;    // "点"
    QLabel* Lb_SouJuni = nullptr;
    QLabel* Label5 = nullptr;    // "位"
    QLabel* Label6 = nullptr;    // "評定"
    QLabel* lbsHyotei = nullptr;
    QLabel* Label3[4] = {};      // viewpoint ranks
    QLabel* lbHyotei[4] = {};    // viewpoint evaluations
    QPushButton* CmdPrint[2] = {};
    QPushButton* CmdCsv = nullptr;  // CSV保存: the sheet as a spreadsheet table
    QPushButton* Bt_End = nullptr;

private:
    void buildControls();
    std::unique_ptr<PupilTally> figures;
};
