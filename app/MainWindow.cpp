#include "app/MainWindow.h"

#include "attendance/AttendanceWindow.h"
#include "reports/ReportCardWindow.h"
#include "model/AppSettings.h"
#include "model/NewClass.h"
#include "entry/ScoreEntryWindow.h"
#include "maintenance/RosterWindow.h"
#include "maintenance/TestListWindow.h"
#include "reports/PupilResultsWindow.h"
#include "reports/OverallTallyWindow.h"
#include "reports/CommentWindow.h"
#include "reports/StatisticsWindow.h"
#include "reports/TestTallyWindow.h"
#include "app/SettingsWindow.h"
#include "app/BackupWindow.h"
#include "app/SplashWindow.h"
#include "frame/MnemonicRouter.h"
#include "frame/WindowFit.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

// The band that holds the three toolbars; a right click on it pops up the unit menu.
class ToolbarBand : public QWidget {
public:
    explicit ToolbarBand(std::function<void(const QPoint&)> popup) : popup(std::move(popup)) {}

protected:
    void contextMenuEvent(QContextMenuEvent* event) override { popup(event->globalPos()); }

private:
    std::function<void(const QPoint&)> popup;
};

}  // namespace

MainWindow::MainWindow(AppContext& ctx, QWidget* parent) : QMainWindow(parent), ctx(ctx)
{
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QStringLiteral("小学校成績処理 「かざね」"));
    ctx.frame = this;

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    toolbarBand = new ToolbarBand(
        [this](const QPoint& at) { (this->ctx.data.specialistMode ? classMenu : subjectMenu)->popup(at); });
    toolbarBand->setObjectName(QStringLiteral("toolbarBand"));
    layout->addWidget(toolbarBand);
    windowArea = new QMdiArea(central);
    windowArea->setObjectName(QStringLiteral("windowArea"));
    windowArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    windowArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    layout->addWidget(windowArea, 1);
    setCentralWidget(central);

    buildActions();
    buildMenus();
    buildToolbars();
    buildStatusBar();
    // The active child window's own Alt+letter captions win over these menus.
    new MnemonicRouter(*windowArea, ctx.ui, this);

    connect(windowArea, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* frame) {
        if (!frame)
            return;
        if (auto* child = qobject_cast<ChildWindow*>(frame->widget()); child && !child->isUnloaded()) {
            child->activated();
            updatePrintCommands();
        }
    });
}

MainWindow::~MainWindow()
{
    ctx.frame = nullptr;
    ctx.reports.setStatusLine({});
}

// ---- command states ---------------------------------------------------------

void MainWindow::disablePrint()
{
    printAction->setEnabled(false);
    previewAction->setEnabled(false);
}

void MainWindow::enablePrint()
{
    printAction->setEnabled(true);
    previewAction->setEnabled(true);
}

void MainWindow::outputActiveWindow(ReportDestination destination)
{
    if (ChildWindow* child = activeChild(); child && child->printsNow())
        child->output(destination);
}

void MainWindow::updatePrintCommands()
{
    const ChildWindow* child = activeChild();
    if (child && child->printsNow())
        enablePrint();
    else
        disablePrint();
}

// A child window with its own menus takes the place of the main window's menus
// while it is active; here the main window's commands are switched off instead, so
// that no second editing window can be opened over it. かざねの終了 (menu and
// toolbar alike) stays on: a window holding unsaved work asks before the program
// ends.
void MainWindow::setCommandsEnabled(bool enabled)
{
    for (QAction* action : commandBarCommands())
        action->setEnabled(enabled);
    for (QAction* action : {backupAction, formatFloppyAction, commentsAction})
        action->setEnabled(enabled);
    for (QMenu* menu : {editMenu, subjectMenu, classMenu, tallyMenu})
        menu->setEnabled(enabled);
}

void MainWindow::disableAllCommands()
{
    setCommandsEnabled(false);
    disableUnitButtons();
}

void MainWindow::enableAllCommands()
{
    setCommandsEnabled(true);
    enableUnitButtons();
    keepUnavailableCommandsOff();
}

QList<QAction*> MainWindow::editingCommands() const
{
    return {scoreEntryAction, attendanceAction, settingsAction, rosterAction, testListAction, commentsAction};
}

QList<QMenu*> MainWindow::editingMenus() const
{
    return {editMenu, classMenu, subjectMenu};
}

void MainWindow::lockForTally()
{
    for (QAction* command : editingCommands())
        command->setEnabled(false);
    for (QMenu* menu : editingMenus())
        menu->setEnabled(false);
    disableUnitButtons();
}

void MainWindow::unlockAfterTally()
{
    for (QAction* command : editingCommands())
        command->setEnabled(true);
    for (QMenu* menu : editingMenus())
        menu->setEnabled(true);
    enableUnitButtons();
    keepUnavailableCommandsOff();
}

// In specialist mode the one attendance file of the data folder belongs to no class
// of the specialist: the attendance command stays off whatever else is switched on.
// A folder open read-only keeps every command off that writes to it: score entry,
// roster and test maintenance, attendance (saved on every close). The tallies,
// printing, backup (it copies out of the folder) and the settings (to open another
// folder) stay.
void MainWindow::keepUnavailableCommandsOff()
{
    if (readOnly)
        for (QAction* command : {scoreEntryAction, attendanceAction, rosterAction, testListAction, commentsAction})
            command->setEnabled(false);
    if (ctx.data.specialistMode) {
        attendanceAction->setEnabled(false);
        reportCardAction->setEnabled(false);
    }
}

// The head button goes off with the unit buttons. In specialist mode it comes back
// with them; on the subject bar it stays as it is, and only the subjects in use
// come back.
void MainWindow::disableUnitButtons()
{
    const bool specialist = ctx.data.specialistMode;
    (specialist ? classBarHead : subjectBarHead)->setEnabled(false);
    const auto units = (specialist ? classActions : subjectActions)->actions();
    for (QAction* unit : units)
        unit->setEnabled(false);
}

void MainWindow::enableUnitButtons()
{
    if (ctx.data.specialistMode) {
        classBarHead->setEnabled(true);
        const auto classes = classActions->actions();
        for (QAction* unit : classes)
            unit->setEnabled(true);
        return;
    }
    const auto subjects = subjectActions->actions();
    for (QAction* subject : subjects)
        subject->setEnabled(ctx.data.subjectInUse[subject->data().toInt()] == 1);
}

// ---- settings, mode and data folder ------------------------------------------

void MainWindow::applyMode()
{
    const ClassData& data = ctx.data;
    const bool showUnits = showUnitBarsAction->isChecked();
    subjectBar->setVisible(showUnits && !data.specialistMode);
    classBar->setVisible(showUnits && data.specialistMode);
    classMenu->menuAction()->setVisible(data.specialistMode);
    subjectMenu->menuAction()->setVisible(!data.specialistMode);
    subjectTaughtLabel->setText(QStringLiteral("担当教科：%1").arg(Names::subjects()[qBound(1, data.subject, Limits::Units)]));
    if (data.specialistMode) {
        printAction->setEnabled(false);
        showCurrentClass();
    } else {
        attendanceAction->setEnabled(true);
        const auto subjects = subjectActions->actions();
        for (QAction* subject : subjects)
            subject->setEnabled(data.subjectInUse[subject->data().toInt()] == 1);
        selectSubject(data.subject);
    }
    keepUnavailableCommandsOff();
}

void MainWindow::loadSettings()
{
    const Status status = AppSettings::load(ctx.data, ctx.settings, ctx.programFolder);
    applyMode();
    ctx.check(status, this);
}

void MainWindow::applySettings()
{
    const Status status = AppSettings::takeEffect(ctx.data);
    applyMode();
    ctx.check(status, this);
}

void MainWindow::selectSubject(int subject)
{
    ctx.data.subject = subject;
    subjectActions->actions().at(subject - 1)->setChecked(true);
}

void MainWindow::showCurrentClass()
{
    classActions->actions().at(ctx.data.classNumber - 1)->setChecked(true);
}

// ---- start-up and end ----------------------------------------------------------

bool MainWindow::startUp()
{
    {
        SplashWindow splash(ctx, this);
        ctx.ui.runModal(splash);
    }
    // The application title "小学校成績処理かざね" is the title of the program's
    // message boxes (Ui). It is not made Qt's application display name: the window
    // system would append that to the main window's title as soon as the title is
    // set again (when the first child window closes).
    showOnScreen();
    ctx.data.setDefaultViewpointNames();
    loadSettings();
    if (!openDataFolder(ctx.data.dataFolder))
        return false;
    disablePrint();
    ctx.reports.removeLeftoverStores();
    started = true;
    return true;
}

// Maximised; where the window system does not maximise, the window is centred on
// the work area with room for its title bar, so that every part of it is on screen.
void MainWindow::showOnScreen()
{
    if (QScreen* screen = QApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        const QSize room(40, 60);  // the frame and the title bar
        resize(area.size().shrunkBy(QMargins(0, 0, room.width(), room.height())));
        move(area.center() - QPoint(width() / 2, height() / 2) + QPoint(0, room.height() / 4));
    }
    showMaximized();
}

// Ending the program saves nothing, except what a window keeps on every close of
// its own (the attendance window). When that cannot be written, the teacher may
// stay in the program instead of losing it.
bool MainWindow::notifyProgramEnd()
{
    if (programEnding)
        return true;
    programEnding = true;
    const auto frames = windowArea->subWindowList();
    for (QMdiSubWindow* frame : frames)
        if (auto* child = qobject_cast<ChildWindow*>(frame->widget()); child && !child->isUnloaded())
            if (!child->programEnding()) {
                programEnding = false;
                return false;
            }
    return true;
}

// A window holding work that is not saved (score entry) asks first; its answer
// may keep the program running.
bool MainWindow::childrenAllowProgramEnd()
{
    if (programEnding)
        return true;
    const auto frames = windowArea->subWindowList();
    for (QMdiSubWindow* frame : frames)
        if (auto* child = qobject_cast<ChildWindow*>(frame->widget()); child && !child->isUnloaded())
            if (!child->mayEndProgram())
                return false;
    return true;
}

void MainWindow::endProgram()
{
    if (!childrenAllowProgramEnd() || !notifyProgramEnd())
        return;
    QApplication::closeAllWindows();
    QApplication::quit();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!childrenAllowProgramEnd() || !notifyProgramEnd()) {
        event->ignore();
        return;
    }
    event->accept();
}

void MainWindow::formatFloppy()
{
    // There is no removable drive to format on this platform: the command finds
    // none and does nothing.
}

void MainWindow::showAbout()
{
    auto* about = new SplashWindow(ctx, this);
    about->setAttribute(Qt::WA_DeleteOnClose);
    about->show();
}

// ---- child windows ---------------------------------------------------------------

ChildWindow* MainWindow::activeChild() const
{
    QMdiSubWindow* frame = windowArea->activeSubWindow();
    return frame ? qobject_cast<ChildWindow*>(frame->widget()) : nullptr;
}

void MainWindow::cascade()
{
    windowArea->cascadeSubWindows();
    WindowFit::keepAllInside(*windowArea);
}

// Every window that needs pupils says where the names of a new class are typed.
bool MainWindow::refuseWithoutPupils()
{
    if (ctx.data.pupilCount != 0)
        return false;
    ctx.ui.message(this, NewClass::noPupilsMessage());
    return true;
}

ChildWindow* MainWindow::openChild(ChildWindow* window, const QString& caption, bool withCascade)
{
    if (!window->prepare()) {
        delete window;
        return nullptr;
    }
    QMdiSubWindow* frame = windowArea->addSubWindow(window);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    window->claimCloseKey();
    if (!caption.isEmpty())
        window->setWindowTitle(caption);
    frame->show();
    if (withCascade)
        cascade();
    else
        WindowFit::keepInside(*frame);
    windowArea->setActiveSubWindow(frame);
    return window;
}

ChildWindow* MainWindow::openScoreEntryWindow()
{
    if (!mayOpen(true, false) || refuseWithoutPupils())
        return nullptr;
    return openChild(new ScoreEntryWindow(ctx),
                     QStringLiteral("成績入力-") + ctx.data.unitName() + QStringLiteral("-通常入力"), true);
}

ChildWindow* MainWindow::openTestTallyWindow()
{
    if (!mayOpen(false, false) || refuseWithoutPupils())
        return nullptr;
    return openChild(new TestTallyWindow(ctx), QStringLiteral("テスト別成績集計-") + ctx.data.unitName(), true);
}

ChildWindow* MainWindow::openOverallTallyWindow()
{
    if (!mayOpen(false, false) || refuseWithoutPupils())
        return nullptr;
    return openChild(new OverallTallyWindow(ctx), QStringLiteral("総合集計一覧表-") + ctx.data.unitName(), true);
}

ChildWindow* MainWindow::openPupilResultsWindow()
{
    if (!mayOpen(false, false) || refuseWithoutPupils())
        return nullptr;
    return openChild(new PupilResultsWindow(ctx), QStringLiteral("個人別成績集計-") + ctx.data.unitName(), true);
}

ChildWindow* MainWindow::openStatisticsWindow(bool withCascade)
{
    if (!mayOpen(false, false) || refuseWithoutPupils())
        return nullptr;
    return openChild(new StatisticsWindow(ctx), QString(), withCascade);
}

// The comments belong to the roster, and the figures beside them to the current
// subject (in specialist mode, the class).
ChildWindow* MainWindow::openCommentWindow()
{
    if (!mayOpen(true, !ctx.data.specialistMode) || refuseWithoutPupils())
        return nullptr;
    return openChild(new CommentWindow(ctx), QString(), true);
}

ChildWindow* MainWindow::openAttendanceWindow()
{
    if (!mayOpen(true, true))
        return nullptr;
    return openChild(new AttendanceWindow(ctx), QString(), true);
}

// The report card reads every subject's files and the attendance; it writes
// nothing of the class, so a folder open read-only may print it too.
ChildWindow* MainWindow::openReportCardWindow()
{
    if (!mayOpen(false, true) || refuseWithoutPupils())
        return nullptr;
    return openChild(new ReportCardWindow(ctx), QString(), true);
}

ChildWindow* MainWindow::openSettingsWindow()
{
    // One settings window at a time: when it is open already (its own 終了 reopens
    // the data folder, which asks for it again), it is brought to the front.
    const auto frames = windowArea->subWindowList();
    for (QMdiSubWindow* frame : frames)
        if (auto* open = qobject_cast<SettingsWindow*>(frame->widget()); open && !open->isUnloaded()) {
            windowArea->setActiveSubWindow(frame);
            return open;
        }
    return openChild(new SettingsWindow(ctx), QString(), true);
}

ChildWindow* MainWindow::openBackupWindow()
{
    return openChild(new BackupWindow(ctx), QString(), true);
}

ChildWindow* MainWindow::openRosterWindow()
{
    // Transfers rewrite the attendance file with the roster.
    if (!mayOpen(true, true))
        return nullptr;
    return openChild(new RosterWindow(ctx), QString(), true);
}

ChildWindow* MainWindow::openTestListWindow()
{
    // The score files are read and written with the roster's class size.
    if (!mayOpen(true, false))
        return nullptr;
    return openChild(new TestListWindow(ctx), QString(), true);
}
