#pragma once
// "個人別成績一覧": one pupil across every test of the unit — per test the total,
// each score under the viewpoint its column measures and the rank in the class —
// with the overall and four viewpoint lines (average, rank, evaluation) below.
// The class is tallied once (tally/PupilTally.h); the window keeps that tally and
// the pupil shown, shows their texts (tally/PupilTallyText.h), and prints,
// previews or saves the pupil's "kojin" sheet made from them; two more buttons
// print every pupil's sheet, or save them as one PDF, a page per pupil.
//
// A double-click on a grade (評定 or a viewpoint's), or 評定を変える, lets the teacher
// give the pupil's grade over every test in place of the computed one
// (reports/OverrulingEdit.h); it shows with "＊". 評定の変更一覧 lists every grade
// the teacher gave in the class.

#include "tally/PupilTallyText.h"
#include "frame/TallyWindow.h"

#include <array>
#include <memory>

class QComboBox;
class QLabel;
class QTableWidget;

class PupilResultsWindow : public TallyWindow {
    Q_OBJECT
public:
    explicit PupilResultsWindow(AppContext& ctx, QWidget* parent = nullptr);
    ~PupilResultsWindow() override;

    bool prepare() override;
    QString helpPage() const override { return QStringLiteral("pupil-results.html"); }
    void output(ReportDestination destination) override;
    QSize sizeHint() const override;

    const PupilTally* tally() const { return figures.get(); }
    // The attendance number of the pupil shown.
    int shownPupil() const { return pupil; }

private:
    void buildControls();
    // Reloads roster and tests and tallies the class; false (after the message)
    // when there is nothing to tally.
    bool tallyClass();
    void showPupil(int pupil);
    // Every pupil's sheet in one document: printed, or saved as one PDF file.
    void outputAll(bool asPdf);
    // Gives or clears the shown pupil's grade of group 0 (評定) or viewpoint 1..4.
    void overrule(int group);
    // 評定を変える: asks which grade first.
    void chooseGradeToOverrule();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:

    QTableWidget* testGrid = nullptr;
    QComboBox* pupilChooser = nullptr;
    QLabel* overallAverageLabel = nullptr;
    QLabel* overallRankLabel = nullptr;
    QLabel* overallGradeLabel = nullptr;
    // Per viewpoint 1..4 (index 0..3): its name, average, rank and grade.
    std::array<QLabel*, 4> viewpointLabels{};
    std::array<QLabel*, 4> viewpointAverageLabels{};
    std::array<QLabel*, 4> viewpointRankLabels{};
    std::array<QLabel*, 4> viewpointGradeLabels{};
    QLabel* noteLabel = nullptr;  // weighted averages, pupils with cells not entered yet

    std::unique_ptr<PupilTally> figures;
    int pupil = 1;
    QString caption;  // "個人別成績集計-" + the unit, the sheet's title
    int tallySubject = 1;  // the unit tallied
    int tallyClassNumber = 1;
};
