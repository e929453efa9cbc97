#pragma once
// "出席状況入力": the monthly attendance of the class. The teacher picks a month,
// types the lesson days and each pupil's seven counts (one digit per key press,
// larger values through the value prompt), lets the window fill in the required
// days, and switches to the term and year tallies, which it prints. The model is
// changed only when a month is left (Grid2Value); the attendance file is written
// whenever the window closes, by any means, and when the program ends.

#include "tally/AttendanceTally.h"
#include "attendance/CountPrompt.h"
#include "frame/ChildWindow.h"

#include <QPointer>

class QAction;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class QRadioButton;
class QTableWidget;

class AttendanceWindow : public ChildWindow {
    Q_OBJECT
public:
    explicit AttendanceWindow(AppContext& ctx, QWidget* parent = nullptr);

    bool prepare() override;
    void activated() override;
    bool mayClose() override;
    void closed() override;
    bool programEnding() override;
    // Prints, previews or saves the tally shown; nothing in the monthly input.
    void output(ReportDestination destination) override;

    // Grid texts: numbers, names and headings of the current state.
    void NameSet();
    // Stores the shown month (lesson days and every count) in the model.
    void Grid2Value();
    // Shows the month chosen in the selector.
    void Value2Grid();
    void SetCbMonth();
    void SetCbGakki();
    // Sums StartMonth..EndMonth and shows them in the chosen view.
    void StatisticsWindow();
    void SetShukei(int Index);

    // Handlers.
    void CbMonth_Click();
    void Grid1_KeyPress(QChar key);
    void Grid1_DblClick(int row, int column);
    void cmdInput_Click();
    void cmdSet_Click();
    void cmdShukei_Click(int Index);
    void OpMode_Click(int Index);
    void cmdEnd_Click();
    void menuHelp_Click();
    void TxJugyoSu_LostFocus();
    // The value prompt's OK for the cell it was opened on.
    void FrmValue_Ok(int row, int column, const QString& text);

    // The grid with its heading row as row 0 and the pupils as rows 1..pupilCount.
    QString cellText(int row, int column) const;
    int gridRow() const;      // current row, 0 when there is none
    int gridColumn() const;   // current column
    void setGridCell(int row, int column);
    CountPrompt* valuePrompt() const { return prompt; }
    QSize sizeHint() const override;

    // Controls.
    QMenuBar* menuBar = nullptr;
    QMenu* menuFile = nullptr;
    QAction* separater = nullptr;
    QAction* menuSave = nullptr;
    QMenu* menuInputTop = nullptr;
    QAction* Mn_Input = nullptr;
    QAction* menuSet = nullptr;
    QMenu* menuShukei = nullptr;
    QAction* Mn_gShu[4] = {};
    QAction* menuHelp = nullptr;

    QFrame* Frame1 = nullptr;
    QComboBox* CbMonth = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* TxJugyoSu = nullptr;
    QLabel* Label2 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QRadioButton* OpMode[2] = {};
    QFrame* Shape2 = nullptr;
    QTableWidget* Grid1 = nullptr;
    QPushButton* cmdInput = nullptr;
    QPushButton* cmdSet = nullptr;
    QPushButton* cmdShukei[4] = {};
    QPushButton* cmdEnd = nullptr;

    static constexpr int Columns = 10;  // number, name, seven counts, 出席日数 of a tally

    // State.
    int CurrentMonth = 99;  // month shown for input; 99 = none
    bool ShowingTally = false;
    int StartMonth = 0;
    int EndMonth = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void buildControls();
    void setTallyControls(bool tally);
    void claimCloseShortcut();
    void chooseTodaysMonth();
    void RecalcRow();
    void setCell(int row, int column, const QString& text);
    int lessonDaysShown() const;
    bool lessonDaysMissing() const;
    void openValuePrompt(int row, int column);
    void closeValuePrompt();
    bool Grid1_KeyDown(QKeyEvent* event);
    void Grid1_FocusChange(bool gotFocus, Qt::FocusReason reason);
    void layoutColumns();
    bool saveAttendance();
    AttendanceTally::View chosenView() const;

    QPointer<CountPrompt> prompt;
    bool programEnded = false;
    // The lesson days the shown 必要日数 were filled in from (or loaded with).
    int lessonDaysApplied = -1;
    // The tally shown (its index 0..3 and the table), which is what prints.
    int tallyIndex = 0;
    AttendanceTally::Table shownTally;
};
