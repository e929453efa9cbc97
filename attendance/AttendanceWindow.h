#pragma once
// "出席状況入力": the monthly attendance of the class. The teacher picks a month,
// types the lesson days and each pupil's seven counts (one digit per key press,
// larger values through the value prompt), lets the window fill in the required
// days, and switches to the term and year tallies, which it prints. The model is
// changed only when a month is left (storeShownMonth); the attendance file is
// written whenever the window closes, by any means, and when the program ends.

#include "tally/AttendanceTally.h"
#include "attendance/CountPrompt.h"
#include "frame/ChildWindow.h"
#include "platform/HelpTopics.h"

#include <QPointer>
#include <array>

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
class QTableWidget;
class QVBoxLayout;

class AttendanceWindow : public ChildWindow {
    Q_OBJECT
public:
    explicit AttendanceWindow(AppContext& ctx, QWidget* parent = nullptr);

    bool prepare() override;
    QString helpPage() const override { return HelpTopics::pageOf(11); }
    void activated() override;
    bool mayClose() override;
    void closed() override;
    bool programEnding() override;
    // Prints, previews or saves the tally shown; nothing in the monthly input.
    void output(ReportDestination destination) override;
    QSize sizeHint() const override;

    // The month (1..12) whose counts the grid shows for input; 99 while none is.
    int monthShown() const { return currentMonth; }
    // Whether the grid shows a tally, and the months it sums.
    bool showingTally() const { return tallyShown; }
    AttendanceTally::Range tallyRange() const { return AttendanceTally::range(tallyIndex); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static constexpr int Columns = 10;  // number, name, seven counts, 出席日数 of a tally
    static constexpr int NoMonth = 99;

    // AttendanceWindowControls.cpp
    void buildMenus();
    void buildControls();
    QVBoxLayout* buildButtons();  // the column of buttons beside the grid
    void setTallyControls(bool tally);
    void claimCloseShortcut();

    // Closing.
    void closeIfLessonDaysGiven();
    bool saveAttendance();
    void showHelp();

    // The grid with its heading row as row 0 and the pupils as rows 1..pupilCount.
    QString cellText(int row, int column) const;
    void setCell(int row, int column, const QString& text);
    int gridRow() const;      // current row, 0 when there is none
    int gridColumn() const;   // current column
    void setGridCell(int row, int column);
    // Numbers, names and headings of the current state, every count empty.
    void resetGrid();
    void layoutColumns();

    // Monthly input.
    void listMonths();
    void chooseTodaysMonth();
    void periodChosen();
    // Stores the shown month (lesson days and every count) in the model.
    void storeShownMonth();
    // Shows the month chosen in the selector.
    void showChosenMonth();
    int lessonDaysShown() const;
    bool lessonDaysMissing() const;
    bool leaveShownMonth();
    void lessonDaysLeft();
    void typeKey(QChar key);
    void recomputeRow();
    void fillRequiredDays();
    void startMonthlyInput();

    // The value prompt.
    void cellDoubleClicked(int row, int column);
    void openValuePrompt(int row, int column);
    void closeValuePrompt();
    void setCountFromPrompt(int row, int column, const QString& text);

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
    QTableWidget* attendanceGrid = nullptr;
    QPushButton* monthlyInputButton = nullptr;
    QPushButton* fillRequiredDaysButton = nullptr;
    std::array<QPushButton*, AttendanceTally::TallyCount> tallyButtons{};
    QPushButton* closeButton = nullptr;

    int currentMonth = NoMonth;
    bool tallyShown = false;
    QPointer<CountPrompt> prompt;
    bool programEnded = false;
    // The lesson days the shown 必要日数 were filled in from (or loaded with).
    int lessonDaysApplied = -1;
    // The tally shown (its index 0..3 and the table), which is what prints.
    int tallyIndex = 0;
    AttendanceTally::Table shownTally;
};
