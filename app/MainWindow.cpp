#include "app/MainWindow.h"

#include "attendance/AttendanceWindow.h"
#include "model/AppSettings.h"
#include "entry/ScoreEntryWindow.h"
#include "maintenance/RosterWindow.h"
#include "maintenance/TestListWindow.h"
#include "reports/PupilResultsWindow.h"
#include "reports/OverallTallyWindow.h"
#include "reports/StatisticsWindow.h"
#include "reports/TestTallyWindow.h"
#include "app/SettingsWindow.h"
#include "app/BackupWindow.h"
#include "app/SplashWindow.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

const QString NoPupilsForEntry = QStringLiteral("クラス人数が0のままです.「ﾌｧｲﾙ－設定」氏名を入力してください.");
const QString NoPupilsForTally = QStringLiteral("クラス人数が0のままです.編集の氏名ﾒﾝﾃﾅﾝｽで氏名を入力してください.");

// The band that holds the three toolbars; a right click on it pops up the unit menu.
class CoolBar : public QWidget {
public:
    explicit CoolBar(std::function<void(const QPoint&)> popup) : popup(std::move(popup)) {}

protected:
    void contextMenuEvent(QContextMenuEvent* event) override { popup(event->globalPos()); }

private:
    std::function<void(const QPoint&)> popup;
};

struct ToolButtonDef {
    const char* key;
    const char* caption;
    const char* tooltip;
    QStyle::StandardPixmap icon;
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
    CoolBar1 = new CoolBar([this](const QPoint& at) { (this->ctx.data.specialistMode ? menu_class : menu_kyoka)->popup(at); });
    CoolBar1->setObjectName(QStringLiteral("CoolBar1"));
    layout->addWidget(CoolBar1);
    mdi = new QMdiArea(central);
    mdi->setObjectName(QStringLiteral("MDIArea"));
    mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    layout->addWidget(mdi, 1);
    setCentralWidget(central);

    buildMenus();
    buildToolbars();
    buildStatusBar();

    connect(mdi, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* frame) {
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
}

void MainWindow::buildMenus()
{
    QMenuBar* bar = menuBar();
    auto named = [](QAction* action, const char* name) {
        action->setObjectName(QLatin1String(name));
        return action;
    };

    menu_file = bar->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    menu_file->setObjectName(QStringLiteral("menu_file"));
    menu_custom = named(menu_file->addAction(QStringLiteral("かざね使用環境の設定 (&C)")), "menu_custom");
    menuPrinterSet = named(menu_file->addAction(QStringLiteral("プリンタの設定(&U)")), "menuPrinterSet");
    menu_backup = named(menu_file->addAction(QStringLiteral("データのバックアップ(&B)")), "menu_backup");
    menuFDFormat = named(menu_file->addAction(QStringLiteral("フロッピーの初期化")), "menuFDFormat");
    menu_file->addSeparator();
    menu_end = named(menu_file->addAction(QStringLiteral("かざねの終了 (&X)")), "menu_end");
    connect(menu_custom, &QAction::triggered, this, [this] { openSettingsWindow(); });
    connect(menuPrinterSet, &QAction::triggered, this, [this] { this->ctx.ui.printerSetup(this, this->ctx.reports.printer()); });
    connect(menu_backup, &QAction::triggered, this, [this] { openBackup(); });
    connect(menuFDFormat, &QAction::triggered, this, [this] { menuFDFormat_Click(); });
    connect(menu_end, &QAction::triggered, this, [this] { endProgram(); });

    menu_edit = bar->addMenu(QStringLiteral("編集 (&E)"));
    menu_edit->setObjectName(QStringLiteral("menu_edit"));
    menu_Name = named(menu_edit->addAction(QStringLiteral("氏名のメンテナンス (&N)")), "menu_Name");
    menu_test = named(menu_edit->addAction(QStringLiteral("テストのメンテナンス (&T)")), "menu_test");
    connect(menu_Name, &QAction::triggered, this, [this] { openRosterWindow(); });
    connect(menu_test, &QAction::triggered, this, [this] { openTestListWindow(); });

    menu_disp = bar->addMenu(QStringLiteral("表示(&V)"));
    menu_disp->setObjectName(QStringLiteral("menu_disp"));
    menu_disp_icon = named(menu_disp->addAction(QStringLiteral("入力・集計ツールバーの表示")), "menu_disp_icon");
    menu_disp_kyoka = named(menu_disp->addAction(QStringLiteral("教科・クラス名ツールバーの表示")), "menu_disp_kyoka");
    menu_disp_icon->setCheckable(true);
    menu_disp_icon->setChecked(true);
    menu_disp_kyoka->setCheckable(true);
    menu_disp_kyoka->setChecked(true);
    connect(menu_disp_icon, &QAction::triggered, this, [this](bool checked) { Toolbar1->setVisible(checked); });
    connect(menu_disp_kyoka, &QAction::triggered, this, [this](bool checked) {
        Toolbar2->setVisible(checked && !this->ctx.data.specialistMode);
        Toolbar3->setVisible(checked && this->ctx.data.specialistMode);
    });

    menu_kyoka = bar->addMenu(QStringLiteral("教科(&K)"));
    menu_kyoka->setObjectName(QStringLiteral("menu_kyoka"));
    for (int i = 0; i < 9; ++i) {
        menu_subject[i] = menu_kyoka->addAction(Names::subjects()[i + 1]);
        menu_subject[i]->setObjectName(QStringLiteral("menu_subject%1").arg(i));
        menu_subject[i]->setCheckable(true);
        connect(menu_subject[i], &QAction::triggered, this, [this, i] { selectSubject(i); });
    }
    menu_class = bar->addMenu(QStringLiteral("ｸﾗｽ(&C)"));
    menu_class->setObjectName(QStringLiteral("menu_class"));
    static const char* const classCaptions[9] = {"４－１", "４－２", "４－３", "５－１", "５－２",
                                                 "５－３", "６－１", "６－２", "６－３"};
    for (int i = 0; i < 9; ++i) {
        menu_subclass[i] = menu_class->addAction(QString::fromUtf8(classCaptions[i]));
        menu_subclass[i]->setObjectName(QStringLiteral("menu_subclass%1").arg(i));
        menu_subclass[i]->setCheckable(true);
        connect(menu_subclass[i], &QAction::triggered, this, [this, i] { selectClass(i); });
    }

    menu_input = named(bar->addAction(QStringLiteral("点数入力(&I)")), "menu_input");
    connect(menu_input, &QAction::triggered, this, [this] { openScoreEntryWindow(); });

    menu_shukei = bar->addMenu(QStringLiteral("集 計(&S)"));
    menu_shukei->setObjectName(QStringLiteral("menu_shukei"));
    menu_datadsp = named(menu_shukei->addAction(QStringLiteral("テスト別成績集計 (&T)")), "menu_datadsp");
    menu_ryoiki = named(menu_shukei->addAction(QStringLiteral("総合成績集計 (&S)")), "menu_ryoiki");
    menu_kjtest = named(menu_shukei->addAction(QStringLiteral("個人別成績一覧 (&K)")), "menu_kjtest");
    menu_clsryo = named(menu_shukei->addAction(QStringLiteral("クラス観点別傾向  (&C)")), "menu_clsryo");
    menu_free = named(menu_shukei->addAction(QStringLiteral("教科内自由集計 (&F)")), "menu_free");
    connect(menu_datadsp, &QAction::triggered, this, [this] { openTestTallyWindow(); });
    connect(menu_ryoiki, &QAction::triggered, this, [this] { openOverallTallyWindow(); });
    connect(menu_kjtest, &QAction::triggered, this, [this] { openPupilResultsWindow(); });
    connect(menu_clsryo, &QAction::triggered, this, [this] { openStatisticsWindow(false); });
    connect(menu_free, &QAction::triggered, this, [this] { openStatisticsWindow(true); });

    Mn_Shuketu = named(bar->addAction(QStringLiteral("出欠管理(&A)")), "Mn_Shuketu");
    connect(Mn_Shuketu, &QAction::triggered, this, [this] { openAttendance(); });

    menu_help = bar->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    menu_help->setObjectName(QStringLiteral("menu_help"));
    menu_nhelp = named(menu_help->addAction(QStringLiteral("ヘルプ               F1")), "menu_nhelp");
    menu_nhelp->setShortcut(QKeySequence(Qt::Key_F1));
    menu_nhelp->setShortcutContext(Qt::ApplicationShortcut);
    menu_about = named(menu_help->addAction(QStringLiteral("かざねについて (&A)")), "menu_about");
    connect(menu_nhelp, &QAction::triggered, this, [this] { this->ctx.ui.showHelp(this, 1); });
    connect(menu_about, &QAction::triggered, this, [this] { showAbout(); });
}

void MainWindow::buildToolbars()
{
    auto* band = new QVBoxLayout(CoolBar1);
    band->setContentsMargins(2, 2, 2, 2);
    band->setSpacing(0);

    Toolbar1 = new QToolBar(QStringLiteral("Toolbar1"), CoolBar1);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    Toolbar1->setIconSize(QSize(24, 24));
    static const ToolButtonDef buttons[] = {
        {nullptr, nullptr, nullptr, QStyle::SP_CustomBase},
        {"inputdialog", "点数入力", "点数を入力します", QStyle::SP_FileDialogDetailedView},
        {nullptr, nullptr, nullptr, QStyle::SP_CustomBase},
        {"testdsp", "テスト別", "テスト別に成績を集計", QStyle::SP_FileDialogListView},
        {"ryoiki", "総合集計", "総合成績一覧", QStyle::SP_FileDialogContentsView},
        {"kojin", "個人集計", "個人別成績詳細", QStyle::SP_FileDialogInfoView},
        {"free", "自由集計", "自由な集計", QStyle::SP_FileDialogToParent},
        {nullptr, nullptr, nullptr, QStyle::SP_CustomBase},
        {"shuseki", "出欠処理", "出席関係の処理", QStyle::SP_DialogApplyButton},
        {"printdialog", "印　刷", "印刷します", QStyle::SP_DialogSaveButton},
        {"preview", "ﾌﾟﾚﾋﾞｭｰ", "ﾌﾟﾚﾋﾞｭｰを表示します", QStyle::SP_FileDialogStart},
        {nullptr, nullptr, nullptr, QStyle::SP_CustomBase},
        {"custom", "設定", "使用環境を設定します", QStyle::SP_ComputerIcon},
        {"namemente", "氏名設定", "氏名のメンテナンス", QStyle::SP_DirHomeIcon},
        {"testmente", "ﾃｽﾄ設定", "テストのメンテナンス", QStyle::SP_FileIcon},
        {nullptr, nullptr, nullptr, QStyle::SP_CustomBase},
        {"enddialog", "終　了", "かざねを終了", QStyle::SP_DialogCloseButton},
    };
    for (const ToolButtonDef& button : buttons) {
        if (!button.key) {
            Toolbar1->addSeparator();
            continue;
        }
        const QString key = QLatin1String(button.key);
        QAction* action = Toolbar1->addAction(style()->standardIcon(button.icon), QString::fromUtf8(button.caption));
        action->setObjectName(key);
        action->setData(key);
        action->setToolTip(QString::fromUtf8(button.tooltip));
        toolbarButtons.insert(key, action);
        connect(action, &QAction::triggered, this, [this, key] { Toolbar1_ButtonClick(key); });
    }
    band->addWidget(Toolbar1);

    auto unitBar = [this, band](const char* name, const QString& head, const std::array<QString, 10>& names,
                                QList<QAction*>& list, void (MainWindow::*select)(int)) {
        auto* bar = new QToolBar(QLatin1String(name), CoolBar1);
        bar->setObjectName(QLatin1String(name));
        bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
        auto* group = new QActionGroup(bar);
        list.append(nullptr);
        QAction* headButton = bar->addAction(head);
        headButton->setObjectName(QLatin1String(name) + QStringLiteral("_1"));
        list.append(headButton);
        for (int i = 1; i <= 9; ++i) {
            QAction* action = bar->addAction(names[i]);
            action->setObjectName(QLatin1String(name) + QStringLiteral("_%1").arg(i + 1));
            action->setCheckable(true);
            group->addAction(action);
            list.append(action);
            connect(action, &QAction::triggered, this, [this, select, i] { (this->*select)(i - 1); });
        }
        // The band's last position is a separator, so the unit buttons are 2..count-1.
        list.append(bar->addSeparator());
        band->addWidget(bar);
        return bar;
    };
    Toolbar2 = unitBar("Toolbar2", QStringLiteral("教科"), Names::subjects(), Toolbar2Buttons, &MainWindow::selectSubject);
    Toolbar3 = unitBar("Toolbar3", QStringLiteral("クラス"), Names::classes(), Toolbar3Buttons, &MainWindow::selectClass);
}

void MainWindow::buildStatusBar()
{
    folderState = new QLabel(this);
    folderState->setObjectName(QStringLiteral("folderState"));
    statusBar()->addWidget(folderState, 1);
    statusBar()->hide();
}

QAction* MainWindow::button(const QString& key) const
{
    return toolbarButtons.value(key);
}

void MainWindow::Toolbar1_ButtonClick(const QString& key)
{
    if (key == QLatin1String("inputdialog"))
        openScoreEntryWindow();
    else if (key == QLatin1String("testdsp"))
        openTestTallyWindow();
    else if (key == QLatin1String("ryoiki"))
        openOverallTallyWindow();
    else if (key == QLatin1String("kojin"))
        openPupilResultsWindow();
    else if (key == QLatin1String("free"))
        openStatisticsWindow(true);
    else if (key == QLatin1String("shuseki"))
        openAttendance();
    else if (key == QLatin1String("printdialog") || key == QLatin1String("preview")) {
        if (ChildWindow* child = activeChild(); child && child->printsNow())
            child->output(key == QLatin1String("printdialog") ? ReportDestination::Printer : ReportDestination::Preview);
    } else if (key == QLatin1String("custom"))
        openSettingsWindow();
    else if (key == QLatin1String("namemente"))
        openRosterWindow();
    else if (key == QLatin1String("testmente"))
        openTestListWindow();
    else if (key == QLatin1String("enddialog"))
        endProgram();
}

// ---- command states ---------------------------------------------------------

void MainWindow::disablePrint()
{
    button(QStringLiteral("printdialog"))->setEnabled(false);
    button(QStringLiteral("preview"))->setEnabled(false);
}

void MainWindow::enablePrint()
{
    button(QStringLiteral("printdialog"))->setEnabled(true);
    button(QStringLiteral("preview"))->setEnabled(true);
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
// that no second editing window can be opened over it.
void MainWindow::setEditingMenusEnabled(bool enabled)
{
    for (QAction* action : {menu_custom, menu_backup, menuFDFormat, menu_input, Mn_Shuketu})
        action->setEnabled(enabled);
    for (QMenu* menu : {menu_edit, menu_kyoka, menu_class, menu_shukei})
        menu->setEnabled(enabled);
}

void MainWindow::disableAllCommands()
{
    for (QAction* action : std::as_const(toolbarButtons))
        action->setEnabled(false);
    setEditingMenusEnabled(false);
    DisableUnitButtons();
}

void MainWindow::enableAllCommands()
{
    for (QAction* action : std::as_const(toolbarButtons))
        action->setEnabled(true);
    setEditingMenusEnabled(true);
    EnableUnitButtons();
    keepUnavailableCommandsOff();
}

void MainWindow::lockForTally()
{
    for (const char* key : {"inputdialog", "shuseki", "custom", "namemente", "testmente"})
        button(QLatin1String(key))->setEnabled(false);
    for (QAction* action : {menu_input, Mn_Shuketu, menu_custom})
        action->setEnabled(false);
    for (QMenu* menu : {menu_edit, menu_class, menu_kyoka})
        menu->setEnabled(false);
    DisableUnitButtons();
}

void MainWindow::unlockAfterTally()
{
    for (const char* key : {"inputdialog", "shuseki", "custom", "namemente", "testmente"})
        button(QLatin1String(key))->setEnabled(true);
    for (QAction* action : {menu_input, Mn_Shuketu, menu_custom})
        action->setEnabled(true);
    for (QMenu* menu : {menu_edit, menu_class, menu_kyoka})
        menu->setEnabled(true);
    EnableUnitButtons();
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
    menu_Name->setEnabled(!readOnly);
    menu_test->setEnabled(!readOnly);
    if (readOnly) {
        for (QAction* action : {menu_input, Mn_Shuketu})
            action->setEnabled(false);
        for (const char* key : {"inputdialog", "shuseki", "namemente", "testmente"})
            button(QLatin1String(key))->setEnabled(false);
    }
    if (!ctx.data.specialistMode)
        return;
    Mn_Shuketu->setEnabled(false);
    button(QStringLiteral("shuseki"))->setEnabled(false);
}

void MainWindow::DisableUnitButtons()
{
    if (ctx.data.specialistMode) {
        for (int i = 1; i < Toolbar3Buttons.size(); ++i)
            Toolbar3Buttons[i]->setEnabled(false);
    } else {
        const int count = int(Toolbar2Buttons.size()) - 1;
        for (int i = 1; i <= count - 1; ++i)
            Toolbar2Buttons[i]->setEnabled(false);
    }
}

void MainWindow::EnableUnitButtons()
{
    if (ctx.data.specialistMode) {
        for (int i = 1; i < Toolbar3Buttons.size(); ++i)
            Toolbar3Buttons[i]->setEnabled(true);
    } else {
        const int count = int(Toolbar2Buttons.size()) - 1;
        for (int i = 2; i <= count - 1; ++i)
            Toolbar2Buttons[i]->setEnabled(ctx.data.subjectInUse[i - 1] == 1);
    }
}

// ---- settings, mode and data folder ------------------------------------------

void MainWindow::applyMode()
{
    const ClassData& data = ctx.data;
    const bool showUnits = menu_disp_kyoka->isChecked();
    Toolbar2->setVisible(showUnits && !data.specialistMode);
    Toolbar3->setVisible(showUnits && data.specialistMode);
    menu_class->menuAction()->setVisible(data.specialistMode);
    menu_kyoka->menuAction()->setVisible(!data.specialistMode);
    if (data.specialistMode) {
        button(QStringLiteral("printdialog"))->setEnabled(false);
        showCurrentClass();
    } else {
        Mn_Shuketu->setEnabled(true);
        button(QStringLiteral("shuseki"))->setEnabled(true);
        for (int i = 1; i <= 9; ++i) {
            menu_subject[i - 1]->setEnabled(data.subjectInUse[i] == 1);
            Toolbar2Buttons[i + 1]->setEnabled(data.subjectInUse[i] == 1);
        }
        for (int i = 0; i < 9; ++i)
            menu_subject[i]->setChecked(i == data.subject - 1);
        Toolbar2Buttons[data.subject + 1]->setChecked(true);
    }
    keepUnavailableCommandsOff();
}

void MainWindow::loadSettings()
{
    const Status status = AppSettings::load(ctx.data, ctx.settings, ctx.programFolder);
    applyMode();
    ctx.check(status, this);
}

void MainWindow::selectSubject(int index)
{
    for (int i = 0; i < 9; ++i)
        menu_subject[i]->setChecked(i == index);
    ctx.data.subject = index + 1;
    Toolbar2Buttons[index + 2]->setChecked(true);
}

void MainWindow::showCurrentClass()
{
    const int index = ctx.data.classNumber - 1;
    for (int i = 0; i < 9; ++i)
        menu_subclass[i]->setChecked(i == index);
    Toolbar3Buttons[index + 2]->setChecked(true);
}

// ---- start-up and end ----------------------------------------------------------

bool MainWindow::startUp()
{
    {
        SplashWindow splash(ctx, this);
        ctx.ui.runModal(splash);
    }
    QApplication::setApplicationDisplayName(Ui::applicationTitle());
    if (QScreen* screen = QApplication::primaryScreen())
        setGeometry(screen->availableGeometry());
    show();
    ctx.data.setDefaultViewpointNames();
    loadSettings();
    if (!openDataFolder(ctx.data.dataFolder))
        return false;
    disablePrint();
    ctx.reports.removeLeftoverStores();
    started = true;
    return true;
}

// Ending the program saves nothing, except what a window keeps on every close of
// its own (the attendance window). When that cannot be written, the teacher may
// stay in the program instead of losing it.
bool MainWindow::notifyProgramEnd()
{
    if (programEnding)
        return true;
    programEnding = true;
    const auto frames = mdi->subWindowList();
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
    const auto frames = mdi->subWindowList();
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

void MainWindow::menuFDFormat_Click()
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
    QMdiSubWindow* frame = mdi->activeSubWindow();
    return frame ? qobject_cast<ChildWindow*>(frame->widget()) : nullptr;
}

void MainWindow::cascade()
{
    mdi->cascadeSubWindows();
}

bool MainWindow::refuseWithoutPupils(const QString& message)
{
    if (ctx.data.pupilCount != 0)
        return false;
    ctx.ui.message(this, message);
    return true;
}

ChildWindow* MainWindow::openChild(ChildWindow* window, const QString& caption, bool withCascade)
{
    if (!window->prepare()) {
        delete window;
        return nullptr;
    }
    QMdiSubWindow* frame = mdi->addSubWindow(window);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    if (!caption.isEmpty())
        window->setWindowTitle(caption);
    frame->show();
    if (withCascade)
        cascade();
    mdi->setActiveSubWindow(frame);
    return window;
}

ChildWindow* MainWindow::openScoreEntryWindow()
{
    if (!mayOpen(true, false) || refuseWithoutPupils(NoPupilsForEntry))
        return nullptr;
    return openChild(new ScoreEntryWindow(ctx),
                     QStringLiteral("成績入力-") + ctx.data.unitName() + QStringLiteral("-通常入力"), true);
}

ChildWindow* MainWindow::openTestTallyWindow()
{
    if (!mayOpen(false, false) || refuseWithoutPupils(NoPupilsForTally))
        return nullptr;
    return openChild(new TestTallyWindow(ctx), QStringLiteral("テスト別成績集計-") + ctx.data.unitName(), true);
}

ChildWindow* MainWindow::openOverallTallyWindow()
{
    if (!mayOpen(false, false) || refuseWithoutPupils(NoPupilsForTally))
        return nullptr;
    return openChild(new OverallTallyWindow(ctx), QStringLiteral("総合集計一覧表-") + ctx.data.unitName(), true);
}

ChildWindow* MainWindow::openPupilResultsWindow()
{
    if (!mayOpen(false, false) || refuseWithoutPupils(NoPupilsForTally))
        return nullptr;
    return openChild(new PupilResultsWindow(ctx), QStringLiteral("個人別成績集計-") + ctx.data.unitName(), true);
}

ChildWindow* MainWindow::openStatisticsWindow(bool withCascade)
{
    if (!mayOpen(false, false) || refuseWithoutPupils(NoPupilsForTally))
        return nullptr;
    return openChild(new StatisticsWindow(ctx), QString(), withCascade);
}

ChildWindow* MainWindow::openAttendance()
{
    if (!mayOpen(true, true))
        return nullptr;
    return openChild(new AttendanceWindow(ctx), QString(), true);
}

ChildWindow* MainWindow::openSettingsWindow()
{
    // One settings window at a time: when it is open already (its own 終了 reopens
    // the data folder, which asks for it again), it is brought to the front.
    const auto frames = mdi->subWindowList();
    for (QMdiSubWindow* frame : frames)
        if (auto* open = qobject_cast<SettingsWindow*>(frame->widget()); open && !open->isUnloaded()) {
            mdi->setActiveSubWindow(frame);
            return open;
        }
    return openChild(new SettingsWindow(ctx), QString(), true);
}

ChildWindow* MainWindow::openBackup()
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
