// The main window's commands, its menus, its band of three toolbars (the commands,
// the subjects, the classes) and its status bar. Each command is one action: the
// menu entry and the toolbar button show the same action, so they run the same
// code and are switched on and off together. A toolbar button may be captioned
// more briefly than the menu entry (the action's icon text); its picture is the
// button's own (ToolbarButton).

#include "app/MainWindow.h"

#include "frame/ChildWindow.h"
#include "frame/ToolbarButton.h"
#include "frame/ToolbarIcon.h"
#include "platform/HelpTopics.h"

#include <QActionGroup>
#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

QMenu* named(QMenu* menu, const char* name)
{
    menu->setObjectName(QLatin1String(name));
    return menu;
}

// The menu captions of classes 1..9; their toolbar buttons carry the class names.
const std::array<QString, 10>& classMenuCaptions()
{
    static const std::array<QString, 10> captions{
        QString(),           QStringLiteral("４－１"), QStringLiteral("４－２"), QStringLiteral("４－３"),
        QStringLiteral("５－１"), QStringLiteral("５－２"), QStringLiteral("５－３"), QStringLiteral("６－１"),
        QStringLiteral("６－２"), QStringLiteral("６－３")};
    return captions;
}

}  // namespace

// ---- the actions ------------------------------------------------------------------

void MainWindow::buildActions()
{
    const auto command = [this](QAction*& action, const char* name, const char* caption) {
        action = new QAction(QString::fromUtf8(caption), this);
        action->setObjectName(QLatin1String(name));
    };
    command(settingsAction, "settingsAction", "かざね使用環境の設定 (&C)");
    command(printerSetupAction, "printerSetupAction", "プリンタの設定(&U)");
    command(backupAction, "backupAction", "データのバックアップ(&B)");
    command(formatFloppyAction, "formatFloppyAction", "フロッピーの初期化");
    command(endAction, "endAction", "かざねの終了 (&X)");
    command(rosterAction, "rosterAction", "氏名のメンテナンス (&N)");
    command(testListAction, "testListAction", "テストのメンテナンス (&T)");
    command(showCommandBarAction, "showCommandBarAction", "入力・集計ツールバーの表示");
    command(showUnitBarsAction, "showUnitBarsAction", "教科・クラス名ツールバーの表示");
    command(scoreEntryAction, "scoreEntryAction", "点数入力(&I)");
    command(testTallyAction, "testTallyAction", "テスト別成績集計 (&T)");
    command(overallTallyAction, "overallTallyAction", "総合成績集計 (&S)");
    command(pupilResultsAction, "pupilResultsAction", "個人別成績一覧 (&K)");
    command(viewpointTrendsAction, "viewpointTrendsAction", "クラス観点別傾向  (&C)");
    command(freeStatisticsAction, "freeStatisticsAction", "教科内自由集計 (&F)");
    command(attendanceAction, "attendanceAction", "出欠管理(&A)");
    command(reportCardAction, "reportCardAction", "通知表・指導要録 (&R)");
    command(commentsAction, "commentsAction", "所見(&O)");
    command(printAction, "printAction", "印　刷");
    command(previewAction, "previewAction", "ﾌﾟﾚﾋﾞｭｰ");
    // The menu shows the shortcut F1 beside the caption by itself.
    command(helpAction, "helpAction", "ヘルプ");
    command(aboutAction, "aboutAction", "かざねについて (&A)");
    buildFileActions();
    buildWindowActions();
    buildHelpActions();
    subjectActions = buildUnitActions("subject", Names::subjects(), Names::subjects(), &MainWindow::selectSubject);
    classActions = buildUnitActions("class", classMenuCaptions(), Names::classes(), &MainWindow::selectClass);
}

void MainWindow::buildFileActions()
{
    connect(settingsAction, &QAction::triggered, this, &MainWindow::openSettingsWindow);
    connect(printerSetupAction, &QAction::triggered, this, [this] { ctx.check(ctx.reports.printerSetup(this), this); });
    connect(backupAction, &QAction::triggered, this, &MainWindow::openBackupWindow);
    connect(formatFloppyAction, &QAction::triggered, this, &MainWindow::formatFloppy);
    connect(endAction, &QAction::triggered, this, &MainWindow::endProgram);
    for (QAction* shows : {showCommandBarAction, showUnitBarsAction}) {
        shows->setCheckable(true);
        shows->setChecked(true);
    }
    connect(showCommandBarAction, &QAction::triggered, this, [this](bool checked) { commandBar->setVisible(checked); });
    connect(showUnitBarsAction, &QAction::triggered, this, [this](bool checked) {
        subjectBar->setVisible(checked && !ctx.data.specialistMode);
        classBar->setVisible(checked && ctx.data.specialistMode);
    });
}

void MainWindow::buildWindowActions()
{
    connect(rosterAction, &QAction::triggered, this, &MainWindow::openRosterWindow);
    connect(testListAction, &QAction::triggered, this, &MainWindow::openTestListWindow);
    connect(scoreEntryAction, &QAction::triggered, this, &MainWindow::openScoreEntryWindow);
    connect(testTallyAction, &QAction::triggered, this, &MainWindow::openTestTallyWindow);
    connect(overallTallyAction, &QAction::triggered, this, &MainWindow::openOverallTallyWindow);
    connect(pupilResultsAction, &QAction::triggered, this, &MainWindow::openPupilResultsWindow);
    connect(viewpointTrendsAction, &QAction::triggered, this, [this] { openStatisticsWindow(false); });
    connect(freeStatisticsAction, &QAction::triggered, this, [this] { openStatisticsWindow(true); });
    connect(attendanceAction, &QAction::triggered, this, &MainWindow::openAttendanceWindow);
    connect(reportCardAction, &QAction::triggered, this, &MainWindow::openReportCardWindow);
    connect(commentsAction, &QAction::triggered, this, &MainWindow::openCommentWindow);
    connect(printAction, &QAction::triggered, this, [this] { outputActiveWindow(ReportDestination::Printer); });
    connect(previewAction, &QAction::triggered, this, [this] { outputActiveWindow(ReportDestination::Preview); });
}

void MainWindow::buildHelpActions()
{
    helpAction->setShortcut(QKeySequence(Qt::Key_F1));
    helpAction->setShortcutContext(Qt::ApplicationShortcut);
    // F1 opens the section of a dialog in front (fixed values, the count prompt),
    // else the page of the active window, or the main window's own page.
    connect(helpAction, &QAction::triggered, this, [this] {
        const QWidget* front = QApplication::activeWindow();
        QString page;
        if (front && front != this)
            page = HelpTopics::pageOfDialog(QString::fromLatin1(front->metaObject()->className()));
        const ChildWindow* child = activeChild();
        if (page.isEmpty() && child)
            page = child->helpPage();
        if (page.isEmpty())
            ctx.ui.showHelp(this, 1);
        else
            ctx.ui.showHelpPage(this, page);
    });
    connect(aboutAction, &QAction::triggered, this, &MainWindow::showAbout);
}

// Units 1..9 ("subjectAction1", ...): checkable, one checked at a time; the unit
// number is the action's data.
QActionGroup* MainWindow::buildUnitActions(const char* prefix, const std::array<QString, 10>& menuCaptions,
                                           const std::array<QString, 10>& buttonCaptions,
                                           void (MainWindow::*select)(int))
{
    auto* group = new QActionGroup(this);
    for (int unit = 1; unit <= Limits::Units; ++unit) {
        QAction* action = group->addAction(menuCaptions[unit]);
        action->setObjectName(QLatin1String(prefix) + QStringLiteral("Action%1").arg(unit));
        action->setIconText(buttonCaptions[unit]);
        action->setCheckable(true);
        action->setData(unit);
    }
    connect(group, &QActionGroup::triggered, this, [this, select](QAction* action) { (this->*select)(action->data().toInt()); });
    return group;
}

// ---- the menus ----------------------------------------------------------------------

void MainWindow::buildMenus()
{
    QMenuBar* bar = menuBar();
    fileMenu = named(bar->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)")), "fileMenu");
    fileMenu->addActions({settingsAction, printerSetupAction, backupAction, formatFloppyAction});
    fileMenu->addSeparator();
    fileMenu->addAction(endAction);
    editMenu = named(bar->addMenu(QStringLiteral("編集 (&E)")), "editMenu");
    editMenu->addActions({rosterAction, testListAction});
    viewMenu = named(bar->addMenu(QStringLiteral("表示(&V)")), "viewMenu");
    viewMenu->addActions({showCommandBarAction, showUnitBarsAction});
    subjectMenu = named(bar->addMenu(QStringLiteral("教科(&K)")), "subjectMenu");
    subjectMenu->addActions(subjectActions->actions());
    classMenu = named(bar->addMenu(QStringLiteral("ｸﾗｽ(&C)")), "classMenu");
    classMenu->addActions(classActions->actions());
    bar->addAction(scoreEntryAction);
    tallyMenu = named(bar->addMenu(QStringLiteral("集 計(&S)")), "tallyMenu");
    tallyMenu->addActions({testTallyAction, overallTallyAction, pupilResultsAction, viewpointTrendsAction, freeStatisticsAction});
    tallyMenu->addSeparator();
    tallyMenu->addAction(reportCardAction);
    bar->addAction(attendanceAction);
    bar->addAction(commentsAction);
    helpMenu = named(bar->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)")), "helpMenu");
    helpMenu->addActions({helpAction, aboutAction});
}

// ---- the toolbars ---------------------------------------------------------------------

void MainWindow::buildToolbars()
{
    auto* band = new QVBoxLayout(toolbarBand);
    band->setContentsMargins(2, 2, 2, 2);
    band->setSpacing(0);
    buildCommandBar();
    band->addWidget(commandBar);
    subjectBar = buildUnitBar("subjectBar", QStringLiteral("教科"), subjectActions, subjectBarHead);
    band->addWidget(subjectBar);
    classBar = buildUnitBar("classBar", QStringLiteral("クラス"), classActions, classBarHead);
    // A specialist teaches one subject to every class: the bar says which.
    subjectTaughtLabel = new QLabel(classBar);
    subjectTaughtLabel->setObjectName(QStringLiteral("subjectTaughtLabel"));
    subjectTaughtLabel->setContentsMargins(6, 0, 10, 0);
    classBar->insertWidget(classBarHead, subjectTaughtLabel);
    band->addWidget(classBar);
}

// The buttons of the commands with their pictures, short captions (the actions'
// icon text) and tips; each button is named for the command ("scoreEntryButton").
void MainWindow::buildCommandBar()
{
    commandBar = new QToolBar(QStringLiteral("commandBar"), toolbarBand);
    commandBar->setObjectName(QStringLiteral("commandBar"));
    commandBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    commandBar->setIconSize(QSize(24, 24));
    const auto drawn = [this](QAction* action, const char* name, const char* caption, const char* tooltip,
                              const QIcon& icon) {
        action->setIconText(QString::fromUtf8(caption));
        action->setToolTip(QString::fromUtf8(tooltip));
        ToolbarButton::add(*commandBar, action, icon, QLatin1String(name));
    };
    const auto button = [this, drawn](QAction* action, const char* name, const char* caption, const char* tooltip,
                                      QStyle::StandardPixmap icon) {
        drawn(action, name, caption, tooltip, ToolbarIcon::standard(icon, *style(), commandBar->iconSize()));
    };
    // A printer for 印刷 and a page under a glass for ﾌﾟﾚﾋﾞｭｰ (the style has neither).
    const auto pictureOr = [this](const QIcon& picture, QStyle::StandardPixmap fallback) {
        return picture.isNull() ? ToolbarIcon::standard(fallback, *style(), commandBar->iconSize()) : picture;
    };
    commandBar->addSeparator();
    button(scoreEntryAction, "scoreEntryButton", "点数入力", "点数を入力します", QStyle::SP_FileDialogDetailedView);
    commandBar->addSeparator();
    button(testTallyAction, "testTallyButton", "テスト別", "テスト別に成績を集計", QStyle::SP_FileDialogListView);
    button(overallTallyAction, "overallTallyButton", "総合集計", "総合成績一覧", QStyle::SP_FileDialogContentsView);
    button(pupilResultsAction, "pupilResultsButton", "個人集計", "個人別成績詳細", QStyle::SP_FileDialogInfoView);
    button(freeStatisticsAction, "statisticsButton", "自由集計", "自由な集計", QStyle::SP_FileDialogToParent);
    commandBar->addSeparator();
    button(attendanceAction, "attendanceButton", "出欠処理", "出席関係の処理", QStyle::SP_DialogApplyButton);
    drawn(printAction, "printButton", "印　刷", "印刷します",
          pictureOr(ToolbarIcon::printer(commandBar->iconSize()), QStyle::SP_FileIcon));
    drawn(previewAction, "previewButton", "ﾌﾟﾚﾋﾞｭｰ", "ﾌﾟﾚﾋﾞｭｰを表示します",
          pictureOr(ToolbarIcon::preview(commandBar->iconSize()), QStyle::SP_FileDialogContentsView));
    commandBar->addSeparator();
    button(settingsAction, "settingsButton", "設定", "使用環境を設定します", QStyle::SP_ComputerIcon);
    button(rosterAction, "rosterButton", "氏名設定", "氏名のメンテナンス", QStyle::SP_DirHomeIcon);
    button(testListAction, "testListButton", "ﾃｽﾄ設定", "テストのメンテナンス", QStyle::SP_FileIcon);
    commandBar->addSeparator();
    button(endAction, "endButton", "終　了", "かざねを終了", QStyle::SP_DialogCloseButton);
}

// A head button, then the buttons of the units ("subjectButton1", ...), then a separator.
QToolBar* MainWindow::buildUnitBar(const char* name, const QString& head, QActionGroup* units, QAction*& headButton)
{
    auto* bar = new QToolBar(QLatin1String(name), toolbarBand);
    bar->setObjectName(QLatin1String(name));
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    const QString prefix = QString::fromLatin1(name).chopped(3);  // "subject", "class"
    headButton = bar->addAction(head);
    bar->widgetForAction(headButton)->setObjectName(QLatin1String(name) + QStringLiteral("Head"));
    const auto actions = units->actions();
    for (QAction* unit : actions) {
        bar->addAction(unit);
        bar->widgetForAction(unit)->setObjectName(prefix + QStringLiteral("Button%1").arg(unit->data().toInt()));
    }
    bar->addSeparator();
    return bar;
}

void MainWindow::buildStatusBar()
{
    folderState = new QLabel(this);
    folderState->setObjectName(QStringLiteral("folderState"));
    statusBar()->addWidget(folderState, 1);
    statusBar()->hide();
    // Where a print went shows for a while, also when the bar has nothing else to say.
    ctx.reports.setSettings(&ctx.settings);
    ctx.reports.setStatusLine([this](const QString& text) {
        statusBar()->show();
        statusBar()->showMessage(text, 30000);
    });
    connect(statusBar(), &QStatusBar::messageChanged, this, [this](const QString& text) {
        if (text.isEmpty() && folderState->text().isEmpty())
            statusBar()->hide();
    });
}

QList<QAction*> MainWindow::commandBarCommands() const
{
    return {scoreEntryAction, testTallyAction,   overallTallyAction, pupilResultsAction,
            freeStatisticsAction, attendanceAction, printAction,      previewAction,
            settingsAction,   rosterAction,      testListAction};
}
