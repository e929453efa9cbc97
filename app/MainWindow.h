#pragma once
// The main window "小学校成績処理 「かざね」": the frame that holds every other window,
// its menus and three toolbars, the current subject or class, the command states
// that child windows switch, and the start-up sequence. It holds the lock of the
// open data folder (or knows the folder is open read-only) and remembers which of
// the class's files could not be read, so that nothing is written over them.

#include "model/DataFolderLock.h"
#include "frame/AppContext.h"
#include "frame/MainFrame.h"

#include <QHash>
#include <QMainWindow>

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
    // Takes the folder's lock first; false when the teacher chose to end the program
    // because another copy holds it (the program then ends).
    bool openDataFolder(const QString& folder) override;
    void cascade() override;
    bool dataFolderReadOnly() const override { return readOnly; }

    void ensureDataFiles(const QString& folder) override;
    void DisableUnitButtons();
    // The file whose refusal keeps the class's windows shut, and its message; empty
    // when the file was read.
    QString refusedRoster() const { return rosterRefusal; }
    QString refusedAttendance() const { return attendanceRefusal; }
    void EnableUnitButtons();
    // Applies the mode of ClassData to the menus and toolbars.
    void applyMode();

    void selectSubject(int index);  // menu_subject index 0..8
    void selectClass(int index);    // menu_subclass index 0..8
    void showCurrentClass();        // checks the current class in the menu and toolbar
    // The toolbar button of a key ("inputdialog", ...); the toolbar's keyed dispatch.
    QAction* button(const QString& key) const;
    void Toolbar1_ButtonClick(const QString& key);

    // Opens a child window with its caption; refuses score and tally windows while
    // the class has no pupils. Returns the window, or nullptr when nothing opened.
    ChildWindow* openScoreEntryWindow();
    ChildWindow* openTestTallyWindow();
    ChildWindow* openOverallTallyWindow();
    ChildWindow* openPupilResultsWindow();
    ChildWindow* openStatisticsWindow(bool withCascade);
    ChildWindow* openAttendance();
    ChildWindow* openSettingsWindow();
    ChildWindow* openBackup();
    ChildWindow* openRosterWindow();
    ChildWindow* openTestListWindow();

    ChildWindow* activeChild() const;
    QMdiArea* mdiArea() const { return mdi; }
    void endProgram();

    // Controls, named as the program names them.
    QWidget* CoolBar1 = nullptr;
    QToolBar* Toolbar1 = nullptr;
    QToolBar* Toolbar2 = nullptr;
    QToolBar* Toolbar3 = nullptr;
    QMenu* menu_file = nullptr;
    QMenu* menu_edit = nullptr;
    QMenu* menu_disp = nullptr;
    QMenu* menu_kyoka = nullptr;
    QMenu* menu_class = nullptr;
    QMenu* menu_shukei = nullptr;
    QMenu* menu_help = nullptr;
    QAction* menu_custom = nullptr;
    QAction* menuPrinterSet = nullptr;
    QAction* menu_backup = nullptr;
    QAction* menuFDFormat = nullptr;
    QAction* menu_end = nullptr;
    QAction* menu_Name = nullptr;
    QAction* menu_test = nullptr;
    QAction* menu_disp_icon = nullptr;
    QAction* menu_disp_kyoka = nullptr;
    QAction* menu_subject[9] = {};
    QAction* menu_subclass[9] = {};
    QAction* menu_input = nullptr;
    QAction* menu_datadsp = nullptr;
    QAction* menu_ryoiki = nullptr;
    QAction* menu_kjtest = nullptr;
    QAction* menu_clsryo = nullptr;
    QAction* menu_free = nullptr;
    QAction* Mn_Shuketu = nullptr;
    QAction* menu_nhelp = nullptr;
    QAction* menu_about = nullptr;
    // Buttons 1.. of the subject and class toolbars (index 0 unused).
    QList<QAction*> Toolbar2Buttons;
    QList<QAction*> Toolbar3Buttons;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void buildStatusBar();
    void buildToolbars();
    ChildWindow* openChild(ChildWindow* window, const QString& caption, bool withCascade);
    bool refuseWithoutPupils(const QString& message);
    // Switches off what the mode or a read-only folder does not allow, whatever
    // else was switched on.
    void keepUnavailableCommandsOff();
    void setEditingMenusEnabled(bool enabled);
    void menuFDFormat_Click();
    // False when a window holds the program back.
    bool notifyProgramEnd();
    bool childrenAllowProgramEnd();
    void showAbout();

    // The data folder (KAZANEFolder.cpp).
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
    QMdiArea* mdi = nullptr;
    QHash<QString, QAction*> toolbarButtons;
    QLabel* folderState = nullptr;
    bool programEnding = false;
    bool started = false;
    DataFolderLock folderLock;
    bool readOnly = false;
    QString rosterRefusal;
    QString attendanceRefusal;
};
