#pragma once
// "総合集計一覧表": the overall tally of the unit over the tests the teacher chooses
// when the window opens (TestPickerDialog). The pupil grid lists every pupil with
// the overall and four viewpoint groups (average, rank, evaluation); the viewpoint
// grid shows each viewpoint's class average and number of columns. The list is
// ordered by attendance number, by overall score or by one viewpoint's score, and
// shows the ticked kinds of figures. The tally (tally/OverallTally.h) is made once
// and kept with the order and figures last shown; the grid's texts and the
// "aryoiki" sheet are both written from them (tally/OverallTallyText.h), so the
// sheet is the list exactly as shown.
//
// A double-click on a grade cell (総評定, 評定1..4), or 評定を変える on the current
// cell, lets the teacher give the pupil's grade for the chosen tests in place of the
// computed one (reports/OverrulingEdit.h); the grade shows with "＊". 評定の変更一覧
// opens the list of every grade the teacher gave in the class.

#include "tally/OverallTallyText.h"
#include "frame/TallyWindow.h"

#include <memory>

class QComboBox;
class QLabel;
class QListWidget;
class QRadioButton;
class QTableWidget;

class OverallTallyWindow : public TallyWindow {
    Q_OBJECT
public:
    explicit OverallTallyWindow(AppContext& ctx, QWidget* parent = nullptr);
    ~OverallTallyWindow() override;

    bool prepare() override;
    QString helpPage() const override { return QStringLiteral("overall-tally.html"); }
    void output(ReportDestination destination) override;
    QSize sizeHint() const override;

    // The tally, and the order and figures of the list shown now.
    const OverallTally* tally() const { return figures.get(); }
    OverallOrder shownOrder() const { return order; }
    ShownFigures shownFigures() const { return figuresShown; }

private:
    void buildControls();
    // Runs the test selection and returns the chosen tests.
    QList<int> chooseTests();
    void orderModeChosen(bool byScore);
    // The pupil and group of a grid cell: group 0 the overall grade, 1..4 a
    // viewpoint; false for a cell of no grade.
    bool gradeAt(int row, int column, int& pupil, int& group) const;
    // Gives or clears the grade of the cell (row, column), or of the row's overall
    // grade when the cell holds none.
    void overruleAt(int row, int column);
    // Shows the rows in the order and with the figures chosen in the controls.
    void showRows();

    QTableWidget* pupilGrid = nullptr;
    QTableWidget* viewpointGrid = nullptr;
    QListWidget* figureChoices = nullptr;  // 平均点, 順位, 評定 を表示
    QRadioButton* numberOrderButton = nullptr;
    QRadioButton* scoreOrderButton = nullptr;
    QComboBox* orderChooser = nullptr;      // 総合成績順 or a viewpoint
    QLabel* overallAverageLabel = nullptr;
    QLabel* weightNoteLabel = nullptr;  // the weighted tests, when a test weighs other than 1

    std::unique_ptr<OverallTally> figures;
    OverallOrder order;
    ShownFigures figuresShown;
    QString caption;  // "総合集計一覧表-" + the unit, the sheet's title
    int tallySubject = 1;      // the unit tallied
    int tallyClassNumber = 1;
};
