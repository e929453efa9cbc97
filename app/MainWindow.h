#pragma once
// The main window "小学校成績処理 「かざね」": the frame that holds every other window,
// its menus and three toolbars, the current subject or class, the command states
// that child windows switch, and the start-up sequence. It holds the lock of the
// open data folder (or knows the folder is open read-only) and remembers which of
// the class's files could not be read, so that nothing is written over them.

#include "model/DataFolderLock.h"
#include "frame/AppContext.h"
#include "frame/MainFrame.h"
#include "tally/ReportSheet.h"

#include <QMainWindow>
#include <array>

class ChildWindow;
class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QToolBar;

class MainWindow : public QMainWindow, public MainFrame {
    Q_OBJECT
public:
    explicit MainWindow(AppContext& ctx, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The start-up sequence: splash, settings, data folder, leftover stores. False
    // when the teacher chose to end the program instead of opening a data folder
    // that another copy of the program holds.
    bool startUp();

    // MainFrame
    void disablePrint() override;
    void enablePrint() override;
    void updatePrintCommands() override;
    void disableAllCommands() override;
    void enableAllCommands() override;
    void lockForTally() override;
    void unlockAfterTally() override;
    void loadSettings() override;
    // Takes the folder's lock first; false when the teacher chose to end the program
    // because another copy holds it (the program then ends).
    bool openDataFolder(const QString& folder) override;
    void cascade() override;
    bool dataFolderReadOnly() const override { return readOnly; }
    void ensureDataFiles(const QString& folder) override;

    // Opens a child window with its caption; refuses score and tally windows while
    // the class has no pupils. Returns the window, or nullptr when nothing opened.
    ChildWindow* openScoreEntryWindow();
    ChildWindow* openTestTallyWindow();
    ChildWindow* openOverallTallyWindow();
    ChildWindow* openPupilResultsWindow();
    ChildWindow* openStatisticsWindow(bool withCascade);
    ChildWindow* openAttendanceWindow();
    ChildWindow* openSettingsWindow();
    ChildWindow* openBackupWindow();
    ChildWindow* openRosterWindow();
    ChildWindow* openTestListWindow();

    ChildWindow* activeChild() const;
    QMdiArea* mdiArea() const { return windowArea; }
    void endProgram();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void buildFileAndEditMenus();
    void buildUnitMenus();
    void buildTallyMenus();
    void buildStatusBar();
    void buildToolbars();
    void buildCommandBar();
    QToolBar* buildUnitBar(const char* name, const QString& head, const std::array<QString, 10>& names,
                           QAction*& headButton, std::array<QAction*, 9>& buttons, void (MainWindow::*select)(int));
    // Every button of the command toolbar.
    QList<QAction*> commandButtons() const;
    // The toolbar buttons and menu entries that a tally window locks.
    QList<QAction*> editingCommands() const;
    QList<QMenu*> editingMenus() const;

    // Applies the mode of ClassData to the menus and toolbars.
    void applyMode();
    // Makes subject or class `number` (1..9) current.
    void selectSubject(int subject);
    void selectClass(int classNumber);
    void showCurrentClass();  // checks the current class in the menu and toolbar
    void disableUnitButtons();
    void enableUnitButtons();
    // 印刷 and ﾌﾟﾚﾋﾞｭｰ of the main toolbar: the active window's output, when it
    // has a sheet to print now.
    void outputActiveWindow(ReportDestination destination);

    ChildWindow* openChild(ChildWindow* window, const QString& caption, bool withCascade);
    bool refuseWithoutPupils();
    void showOnScreen();
    // Switches off what the mode or a read-only folder does not allow, whatever
    // else was switched on.
    void keepUnavailableCommandsOff();
    void setEditingMenusEnabled(bool enabled);
    void formatFloppy();
    // False when a window holds the program back.
    bool notifyProgramEnd();
    bool childrenAllowProgramEnd();
    void showAbout();

    // The data folder (MainWindowFolder.cpp).
    bool claimDataFolder(const QString& folder);
    bool mayWriteTo(const QString& folder) const;
    void setReadOnly(bool on);
    bool readRoster();
    bool readAttendance();
    void showFolderState();
    // Before a window opens: false (after the message) when it would write to a
    // folder open read-only, or when a file it works on was refused and still
    // cannot be read.
    bool mayOpen(bool writes, bool needsAttendance);
    bool mayWriteDataFolder();
    bool refusedFilesReadAgain(bool needsAttendance);

    AppContext& ctx;
    QMdiArea* windowArea = nullptr;

    // Menus and their entries.
    QMenu* fileMenu = nullptr;
    QAction* settingsAction = nullptr;
    QAction* printerSetupAction = nullptr;
    QAction* backupAction = nullptr;
    QAction* formatFloppyAction = nullptr;
    QAction* endAction = nullptr;
    QMenu* editMenu = nullptr;
    QAction* rosterAction = nullptr;
    QAction* testListAction = nullptr;
    QMenu* viewMenu = nullptr;
    QAction* showCommandBarAction = nullptr;
    QAction* showUnitBarsAction = nullptr;
    QMenu* subjectMenu = nullptr;                 // homeroom mode
    std::array<QAction*, 9> subjectActions{};    // subjects 1..9
    QMenu* classMenu = nullptr;                   // specialist mode
    std::array<QAction*, 9> classActions{};      // classes 1..9
    QAction* scoreEntryAction = nullptr;
    QMenu* tallyMenu = nullptr;
    QAction* testTallyAction = nullptr;
    QAction* overallTallyAction = nullptr;
    QAction* pupilResultsAction = nullptr;
    QAction* viewpointTrendsAction = nullptr;     // the statistics window, not cascaded
    QAction* freeStatisticsAction = nullptr;      // the statistics window, cascaded
    QAction* attendanceAction = nullptr;
    QMenu* helpMenu = nullptr;
    QAction* helpAction = nullptr;
    QAction* aboutAction = nullptr;

    // The band of the three toolbars and their buttons.
    QWidget* toolbarBand = nullptr;
    QToolBar* commandBar = nullptr;
    QAction* scoreEntryButton = nullptr;
    QAction* testTallyButton = nullptr;
    QAction* overallTallyButton = nullptr;
    QAction* pupilResultsButton = nullptr;
    QAction* statisticsButton = nullptr;
    QAction* attendanceButton = nullptr;
    QAction* printButton = nullptr;
    QAction* previewButton = nullptr;
    QAction* settingsButton = nullptr;
    QAction* rosterButton = nullptr;
    QAction* testListButton = nullptr;
    QAction* endButton = nullptr;
    QToolBar* subjectBar = nullptr;               // homeroom mode
    QAction* subjectBarHead = nullptr;
    std::array<QAction*, 9> subjectButtons{};    // subjects 1..9
    QToolBar* classBar = nullptr;                 // specialist mode
    QLabel* subjectTaughtLabel = nullptr;         // on the class bar: "担当教科：音楽"
    QAction* classBarHead = nullptr;
    std::array<QAction*, 9> classButtons{};      // classes 1..9

    QLabel* folderState = nullptr;
    bool programEnding = false;
    bool started = false;
    DataFolderLock folderLock;
    bool readOnly = false;
    QString rosterRefusal;
    QString attendanceRefusal;
};
