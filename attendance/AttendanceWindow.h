#pragma once
// "出席状況入力": the monthly attendance of the class. The teacher picks a month,
// types the lesson days and each pupil's seven counts (one digit per key press,
// larger values through the value prompt), lets the window fill in the required
// days, and switches to the term and year tallies, which it prints. The grid shows
// one of two models of numbers: the month being typed (AttendanceMonthModel) or the
// tally shown (AttendanceTallyModel). The class data is changed only when a month is
// left (storeShownMonth); the attendance file is written whenever the window closes,
// by any means, and when the program ends.

#include "tally/AttendanceTally.h"
#include "attendance/CountPrompt.h"
#include "frame/ChildWindow.h"
#include "platform/HelpTopics.h"

#include <QPointer>
#include <array>

class AttendanceMonthModel;
class AttendanceTallyModel;
class QAbstractItemModel;
class QAction;
class QComboBox;
class QFrame;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class QRadioButton;
class QTableView;
class QVBoxLayout;

class AttendanceWindow : public ChildWindow {
    Q_OBJECT
public:
    explicit AttendanceWindow(AppContext& ctx, QWidget* parent = nullptr);

    bool prepare() override;
    QString helpPage() const override { return HelpTopics::pageOf(11); }
    void activated() override;
    bool mayClose() override;
    void closeByKey() override { closeIfLessonDaysGiven(); }
    void closed() override;
    bool programEnding() override;
    // Prints, previews or saves the tally shown; nothing in the monthly input.
    void output(ReportDestination destination) override;
    QSize sizeHint() const override;

    // The month (1..12) whose counts the grid shows for input; 99 while none is.
    int monthShown() const;
    // Whether the grid shows a tally, and the months it sums.
    bool showingTally() const { return tallyShown; }
    AttendanceTally::MonthRange tallyRange() const { return AttendanceTally::range(ctx.data.termPlan, tallyIndex); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static constexpr int NoMonth = 99;

    // AttendanceWindowControls.cpp
    void buildMenus();
    void buildControls();
    QVBoxLayout* buildButtons();  // the column of buttons beside the grid
    void setTallyControls(bool tally);

    // Closing.
    void closeIfLessonDaysGiven();
    bool saveAttendance();
    void showHelp();

    // The grid with the pupils as rows 1..n (row 0 is the heading).
    void setUpGridModels();
    int gridRow() const;      // current row, 0 when there is none
    int gridColumn() const;   // current column
    void setGridCell(int row, int column);
    // Shows the month model (every count empty until a month is loaded) or the tally.
    void showMonthGrid();
    void showTallyGrid();
    void showGridModel(QAbstractItemModel* model, bool tally);
    void layoutColumns();

    // Monthly input.
    void listMonths();
    void chooseTodaysMonth();
    void periodChosen();
    // Stores the shown month (lesson days and every count) in the model.
    void storeShownMonth();
    // Shows the month chosen in the selector.
    void showChosenMonth();
    bool lessonDaysMissing() const;
    void lessonDaysTyped();
    bool leaveShownMonth();
    void lessonDaysLeft();
    void typeKey(QChar key);
    // Counts that cannot be: refused when typed, and at close shown in the grid.
    void refuseCount(const QString& refusal);
    void showProblem(const AttendanceTally::Problem& problem);
    void scrollAtRowEnd();
    void fillRequiredDays();
    void startMonthlyInput();

    // The value prompt.
    void cellDoubleClicked(int row, int column);
    void openValuePrompt(int row, int column);
    void closeValuePrompt();
    void setCountFromPrompt(int row, int column, std::optional<int> count);

    // Tallies.
    void listTallies();
    void startTally(int tally);
    // Sums the months of `tally` (0..3) and shows them in the chosen view.
    void showTallyOf(int tally);
    void showTally();
    void viewChosen();
    AttendanceTally::View chosenView() const;

    // Keys and focus.
    bool gridKeyPressed(QKeyEvent* event);
    void gridFocusChanged(bool gotFocus, Qt::FocusReason reason);

    QMenuBar* menuBar = nullptr;
    QMenu* fileMenu = nullptr;
    QAction* closeAction = nullptr;
    QMenu* inputMenu = nullptr;
    QAction* monthlyInputAction = nullptr;
    QAction* fillRequiredDaysAction = nullptr;
    QMenu* tallyMenu = nullptr;
    std::array<QAction*, AttendanceTally::TallyCount> tallyActions{};  // １学期 .. 年度末
    QAction* helpAction = nullptr;

    QFrame* periodFrame = nullptr;
    QComboBox* periodSelector = nullptr;  // the months in input, the tallies while one is shown
    QLabel* lessonDaysCaption = nullptr;
    QLineEdit* lessonDaysInput = nullptr;
    QGroupBox* viewGroup = nullptr;
    QRadioButton* detailedViewOption = nullptr;
    QRadioButton* recordBookViewOption = nullptr;
    QLabel* valuePromptHint = nullptr;
    QFrame* gridFrame = nullptr;  // its border is thick while the grid has the focus
    QTableView* attendanceGrid = nullptr;
    AttendanceMonthModel* monthModel = nullptr;
    AttendanceTallyModel* tallyModel = nullptr;
    QPushButton* monthlyInputButton = nullptr;
    QPushButton* fillRequiredDaysButton = nullptr;
    std::array<QPushButton*, AttendanceTally::TallyCount> tallyButtons{};
    QPushButton* closeButton = nullptr;

    bool tallyShown = false;
    QPointer<CountPrompt> prompt;
    bool programEnded = false;
    int tallyIndex = 0;  // the tally shown, 0..3
};
