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
class QActionGroup;
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
    void applySettings() override;
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
    // The actions first, then the menus and the toolbars that show them
    // (MainWindowBars.cpp).
    void buildActions();
    void buildFileActions();
    void buildWindowActions();
    void buildHelpActions();
    QActionGroup* buildUnitActions(const char* prefix, const std::array<QString, 10>& menuCaptions,
                                   const std::array<QString, 10>& buttonCaptions, void (MainWindow::*select)(int));
    void buildMenus();
    void buildStatusBar();
    void buildToolbars();
    void buildCommandBar();
    QToolBar* buildUnitBar(const char* name, const QString& head, QActionGroup* units, QAction*& headButton);
    // Every command of the command toolbar but 終了.
    QList<QAction*> commandBarCommands() const;
    // The commands and menus that a tally window locks.
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
    void setCommandsEnabled(bool enabled);
    void formatFloppy();
    // False when a window holds the program back.
    bool notifyProgramEnd();
    bool childrenAllowProgramEnd();
    void showAbout();

    // The data folder (MainWindowFolder.cpp).
    bool claimDataFolder(const QString& folder);
    // Finishes or undoes a change left halfway, brings back missing files and
    // compares the class's files (app/FolderRepair.h); read-only when they disagree.
    void repairClassFiles(const QString& folder);
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
    // Files of the class saved as UTF-8, offered for conversion before they are read
    // (MainWindowEncoding.cpp).
    void offerUtf8Conversions(bool everyUnit, bool withAttendance);
    void offerUtf8Conversion(const QString& path, const QString& backupPath);

    AppContext& ctx;
    QMdiArea* windowArea = nullptr;

    // The menus.
    QMenu* fileMenu = nullptr;
    QMenu* editMenu = nullptr;
    QMenu* viewMenu = nullptr;
    QMenu* subjectMenu = nullptr;  // homeroom mode
    QMenu* classMenu = nullptr;    // specialist mode
    QMenu* tallyMenu = nullptr;
    QMenu* helpMenu = nullptr;

    // One action per command, in the menus and, where it has a button, on the
    // command toolbar as well (MainWindowBars.cpp).
    QAction* settingsAction = nullptr;
    QAction* printerSetupAction = nullptr;
    QAction* backupAction = nullptr;
    QAction* formatFloppyAction = nullptr;
    QAction* endAction = nullptr;
    QAction* rosterAction = nullptr;
    QAction* testListAction = nullptr;
    QAction* showCommandBarAction = nullptr;
    QAction* showUnitBarsAction = nullptr;
    QAction* scoreEntryAction = nullptr;
    QAction* testTallyAction = nullptr;
    QAction* overallTallyAction = nullptr;
    QAction* pupilResultsAction = nullptr;
    QAction* viewpointTrendsAction = nullptr;  // the statistics window, not cascaded
    QAction* freeStatisticsAction = nullptr;   // the statistics window, cascaded
    QAction* attendanceAction = nullptr;
    QAction* printAction = nullptr;            // toolbar only
    QAction* previewAction = nullptr;          // toolbar only
    QAction* helpAction = nullptr;
    QAction* aboutAction = nullptr;
    // Subjects 1..9 (homeroom mode) and classes 1..9 (specialist mode): one
    // checkable action each, in the unit's menu and on its toolbar.
    QActionGroup* subjectActions = nullptr;
    QActionGroup* classActions = nullptr;

    // The band of the three toolbars.
    QWidget* toolbarBand = nullptr;
    QToolBar* commandBar = nullptr;
    QToolBar* subjectBar = nullptr;               // homeroom mode
    QAction* subjectBarHead = nullptr;
    QToolBar* classBar = nullptr;                 // specialist mode
    QLabel* subjectTaughtLabel = nullptr;         // on the class bar: "担当教科：音楽"
    QAction* classBarHead = nullptr;

    QLabel* folderState = nullptr;
    bool programEnding = false;
    bool started = false;
    DataFolderLock folderLock;
    bool readOnly = false;
    QString readOnlyReason;  // why the folder is read-only, when this copy holds it
    QString rosterRefusal;
    QString attendanceRefusal;
};
