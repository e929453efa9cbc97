// The main window's menus, its band of three toolbars (the commands, the subjects,
// the classes) and its status bar. Each menu entry and toolbar button opens its
// window or runs its command directly.

#include "app/MainWindow.h"

#include "frame/ChildWindow.h"
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

QAction* named(QAction* action, const char* name)
{
    action->setObjectName(QLatin1String(name));
    return action;
}

QMenu* named(QMenu* menu, const char* name)
{
    menu->setObjectName(QLatin1String(name));
    return menu;
}

}  // namespace

void MainWindow::buildMenus()
{
    buildFileAndEditMenus();
    buildUnitMenus();
    buildTallyMenus();
}

void MainWindow::buildFileAndEditMenus()
{
    QMenuBar* bar = menuBar();
    fileMenu = named(bar->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)")), "fileMenu");
    settingsAction = named(fileMenu->addAction(QStringLiteral("かざね使用環境の設定 (&C)")), "settingsAction");
    printerSetupAction = named(fileMenu->addAction(QStringLiteral("プリンタの設定(&U)")), "printerSetupAction");
    backupAction = named(fileMenu->addAction(QStringLiteral("データのバックアップ(&B)")), "backupAction");
    formatFloppyAction = named(fileMenu->addAction(QStringLiteral("フロッピーの初期化")), "formatFloppyAction");
    fileMenu->addSeparator();
    endAction = named(fileMenu->addAction(QStringLiteral("かざねの終了 (&X)")), "endAction");
    connect(settingsAction, &QAction::triggered, this, &MainWindow::openSettingsWindow);
    connect(printerSetupAction, &QAction::triggered, this, [this] { ctx.ui.printerSetup(this, ctx.reports.printer()); });
    connect(backupAction, &QAction::triggered, this, &MainWindow::openBackupWindow);
    connect(formatFloppyAction, &QAction::triggered, this, &MainWindow::formatFloppy);
    connect(endAction, &QAction::triggered, this, &MainWindow::endProgram);

    editMenu = named(bar->addMenu(QStringLiteral("編集 (&E)")), "editMenu");
    rosterAction = named(editMenu->addAction(QStringLiteral("氏名のメンテナンス (&N)")), "rosterAction");
    testListAction = named(editMenu->addAction(QStringLiteral("テストのメンテナンス (&T)")), "testListAction");
    connect(rosterAction, &QAction::triggered, this, &MainWindow::openRosterWindow);
    connect(testListAction, &QAction::triggered, this, &MainWindow::openTestListWindow);

    viewMenu = named(bar->addMenu(QStringLiteral("表示(&V)")), "viewMenu");
    showCommandBarAction = named(viewMenu->addAction(QStringLiteral("入力・集計ツールバーの表示")), "showCommandBarAction");
    showUnitBarsAction = named(viewMenu->addAction(QStringLiteral("教科・クラス名ツールバーの表示")), "showUnitBarsAction");
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

void MainWindow::buildUnitMenus()
{
    QMenuBar* bar = menuBar();
    subjectMenu = named(bar->addMenu(QStringLiteral("教科(&K)")), "subjectMenu");
    for (int subject = 1; subject <= 9; ++subject) {
        QAction* action = subjectMenu->addAction(Names::subjects()[subject]);
        action->setObjectName(QStringLiteral("subjectAction%1").arg(subject));
        action->setCheckable(true);
        connect(action, &QAction::triggered, this, [this, subject] { selectSubject(subject); });
        subjectActions[subject - 1] = action;
    }
    classMenu = named(bar->addMenu(QStringLiteral("ｸﾗｽ(&C)")), "classMenu");
    static const char* const classCaptions[9] = {"４－１", "４－２", "４－３", "５－１", "５－２",
                                                 "５－３", "６－１", "６－２", "６－３"};
    for (int classNumber = 1; classNumber <= 9; ++classNumber) {
        QAction* action = classMenu->addAction(QString::fromUtf8(classCaptions[classNumber - 1]));
        action->setObjectName(QStringLiteral("classAction%1").arg(classNumber));
        action->setCheckable(true);
        connect(action, &QAction::triggered, this, [this, classNumber] { selectClass(classNumber); });
        classActions[classNumber - 1] = action;
    }
}

void MainWindow::buildTallyMenus()
{
    QMenuBar* bar = menuBar();
    scoreEntryAction = named(bar->addAction(QStringLiteral("点数入力(&I)")), "scoreEntryAction");
    connect(scoreEntryAction, &QAction::triggered, this, &MainWindow::openScoreEntryWindow);

    tallyMenu = named(bar->addMenu(QStringLiteral("集 計(&S)")), "tallyMenu");
    testTallyAction = named(tallyMenu->addAction(QStringLiteral("テスト別成績集計 (&T)")), "testTallyAction");
    overallTallyAction = named(tallyMenu->addAction(QStringLiteral("総合成績集計 (&S)")), "overallTallyAction");
    pupilResultsAction = named(tallyMenu->addAction(QStringLiteral("個人別成績一覧 (&K)")), "pupilResultsAction");
    viewpointTrendsAction = named(tallyMenu->addAction(QStringLiteral("クラス観点別傾向  (&C)")), "viewpointTrendsAction");
    freeStatisticsAction = named(tallyMenu->addAction(QStringLiteral("教科内自由集計 (&F)")), "freeStatisticsAction");
    connect(testTallyAction, &QAction::triggered, this, &MainWindow::openTestTallyWindow);
    connect(overallTallyAction, &QAction::triggered, this, &MainWindow::openOverallTallyWindow);
    connect(pupilResultsAction, &QAction::triggered, this, &MainWindow::openPupilResultsWindow);
    connect(viewpointTrendsAction, &QAction::triggered, this, [this] { openStatisticsWindow(false); });
    connect(freeStatisticsAction, &QAction::triggered, this, [this] { openStatisticsWindow(true); });

    attendanceAction = named(bar->addAction(QStringLiteral("出欠管理(&A)")), "attendanceAction");
    connect(attendanceAction, &QAction::triggered, this, &MainWindow::openAttendanceWindow);

    helpMenu = named(bar->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)")), "helpMenu");
    // The menu shows the shortcut F1 beside the caption by itself.
    helpAction = named(helpMenu->addAction(QStringLiteral("ヘルプ")), "helpAction");
    helpAction->setShortcut(QKeySequence(Qt::Key_F1));
    helpAction->setShortcutContext(Qt::ApplicationShortcut);
    aboutAction = named(helpMenu->addAction(QStringLiteral("かざねについて (&A)")), "aboutAction");
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

void MainWindow::buildToolbars()
{
    auto* band = new QVBoxLayout(toolbarBand);
    band->setContentsMargins(2, 2, 2, 2);
    band->setSpacing(0);
    buildCommandBar();
    band->addWidget(commandBar);
    subjectBar = buildUnitBar("subjectBar", QStringLiteral("教科"), Names::subjects(), subjectBarHead, subjectButtons,
                              &MainWindow::selectSubject);
    band->addWidget(subjectBar);
    classBar = buildUnitBar("classBar", QStringLiteral("クラス"), Names::classes(), classBarHead, classButtons,
                            &MainWindow::selectClass);
    // A specialist teaches one subject to every class: the bar says which.
    subjectTaughtLabel = new QLabel(classBar);
    subjectTaughtLabel->setObjectName(QStringLiteral("subjectTaughtLabel"));
    subjectTaughtLabel->setContentsMargins(6, 0, 10, 0);
    classBar->insertWidget(classBarHead, subjectTaughtLabel);
    band->addWidget(classBar);
}

void MainWindow::buildCommandBar()
{
    commandBar = new QToolBar(QStringLiteral("commandBar"), toolbarBand);
    commandBar->setObjectName(QStringLiteral("commandBar"));
    commandBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    commandBar->setIconSize(QSize(24, 24));
    const auto button = [this](const char* name, const char* caption, const char* tooltip, QStyle::StandardPixmap icon) {
        QAction* action =
            commandBar->addAction(ToolbarIcon::standard(icon, *style(), commandBar->iconSize()), QString::fromUtf8(caption));
        action->setObjectName(QLatin1String(name));
        action->setToolTip(QString::fromUtf8(tooltip));
        return action;
    };
    commandBar->addSeparator();
    scoreEntryButton = button("scoreEntryButton", "点数入力", "点数を入力します", QStyle::SP_FileDialogDetailedView);
    commandBar->addSeparator();
    testTallyButton = button("testTallyButton", "テスト別", "テスト別に成績を集計", QStyle::SP_FileDialogListView);
    overallTallyButton = button("overallTallyButton", "総合集計", "総合成績一覧", QStyle::SP_FileDialogContentsView);
    pupilResultsButton = button("pupilResultsButton", "個人集計", "個人別成績詳細", QStyle::SP_FileDialogInfoView);
    statisticsButton = button("statisticsButton", "自由集計", "自由な集計", QStyle::SP_FileDialogToParent);
    commandBar->addSeparator();
    attendanceButton = button("attendanceButton", "出欠処理", "出席関係の処理", QStyle::SP_DialogApplyButton);
    printButton = button("printButton", "印　刷", "印刷します", QStyle::SP_DialogSaveButton);
    previewButton = button("previewButton", "ﾌﾟﾚﾋﾞｭｰ", "ﾌﾟﾚﾋﾞｭｰを表示します", QStyle::SP_FileDialogStart);
    commandBar->addSeparator();
    settingsButton = button("settingsButton", "設定", "使用環境を設定します", QStyle::SP_ComputerIcon);
    rosterButton = button("rosterButton", "氏名設定", "氏名のメンテナンス", QStyle::SP_DirHomeIcon);
    testListButton = button("testListButton", "ﾃｽﾄ設定", "テストのメンテナンス", QStyle::SP_FileIcon);
    commandBar->addSeparator();
    endButton = button("endButton", "終　了", "かざねを終了", QStyle::SP_DialogCloseButton);

    connect(scoreEntryButton, &QAction::triggered, this, &MainWindow::openScoreEntryWindow);
    connect(testTallyButton, &QAction::triggered, this, &MainWindow::openTestTallyWindow);
    connect(overallTallyButton, &QAction::triggered, this, &MainWindow::openOverallTallyWindow);
    connect(pupilResultsButton, &QAction::triggered, this, &MainWindow::openPupilResultsWindow);
    connect(statisticsButton, &QAction::triggered, this, [this] { openStatisticsWindow(true); });
    connect(attendanceButton, &QAction::triggered, this, &MainWindow::openAttendanceWindow);
    connect(printButton, &QAction::triggered, this, [this] { outputActiveWindow(ReportDestination::Printer); });
    connect(previewButton, &QAction::triggered, this, [this] { outputActiveWindow(ReportDestination::Preview); });
    connect(settingsButton, &QAction::triggered, this, &MainWindow::openSettingsWindow);
    connect(rosterButton, &QAction::triggered, this, &MainWindow::openRosterWindow);
    connect(testListButton, &QAction::triggered, this, &MainWindow::openTestListWindow);
    connect(endButton, &QAction::triggered, this, &MainWindow::endProgram);
}

// A head button, then one checkable button per unit, then a separator.
QToolBar* MainWindow::buildUnitBar(const char* name, const QString& head, const std::array<QString, 10>& names,
                                   QAction*& headButton, std::array<QAction*, 9>& buttons,
                                   void (MainWindow::*select)(int))
{
    auto* bar = new QToolBar(QLatin1String(name), toolbarBand);
    bar->setObjectName(QLatin1String(name));
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto* group = new QActionGroup(bar);
    const QString prefix = QString::fromLatin1(name).chopped(3);  // "subject", "class"
    headButton = bar->addAction(head);
    headButton->setObjectName(QLatin1String(name) + QStringLiteral("Head"));
    for (int unit = 1; unit <= 9; ++unit) {
        QAction* action = bar->addAction(names[unit]);
        action->setObjectName(prefix + QStringLiteral("Button%1").arg(unit));
        action->setCheckable(true);
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, select, unit] { (this->*select)(unit); });
        buttons[unit - 1] = action;
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
}

QList<QAction*> MainWindow::commandButtons() const
{
    return {scoreEntryButton, testTallyButton, overallTallyButton, pupilResultsButton, statisticsButton, attendanceButton,
            printButton, previewButton, settingsButton, rosterButton, testListButton, endButton};
}
