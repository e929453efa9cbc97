// The controls of the attendance window: its menus, the month selector and the
// lesson-days box, the view options, the grid in its focus frame and the buttons.

#include "attendance/AttendanceWindow.h"

#include "attendance/DayCount.h"
#include "frame/ReportActions.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>

AttendanceWindow::AttendanceWindow(AppContext& ctx, QWidget* parent) : ChildWindow(ctx, parent)
{
    setObjectName(QStringLiteral("AttendanceWindow"));
    setWindowTitle(QStringLiteral("出席状況入力"));
    buildMenus();
    buildControls();
}

// Wide enough for the name and every count column without scrolling sideways.
QSize AttendanceWindow::sizeHint() const
{
    const int em = fontMetrics().horizontalAdvance(QStringLiteral("必"));
    return {qMax(900, em * 64), qMax(640, fontMetrics().height() * 36)};
}


namespace {

// The tally commands of the class's terms: "１学期集計(&1)" .. or "前期集計(&1)",
// "後期集計(&2)" (the third then has none), and "年度末集計(&N)".
QStringList tallyCaptionsOf(const TermPlan& plan)
{
    if (plan.count == 3)
        return {QStringLiteral("１学期集計(&1)"), QStringLiteral("２学期集計(&2)"), QStringLiteral("３学期集計(&3)"),
                QStringLiteral("年度末集計(&N)")};
    return {QStringLiteral("前期集計(&1)"), QStringLiteral("後期集計(&2)"), QString(), QStringLiteral("年度末集計(&N)")};
}

}  // namespace

void AttendanceWindow::buildMenus()
{
    menuBar = new QMenuBar(this);
    const auto named = [this](QAction* action, const char* name, const QKeySequence& shortcut = {}) {
        action->setObjectName(QLatin1String(name));
        if (!shortcut.isEmpty()) {
            // The shortcut belongs to this window only, not to the whole frame.
            action->setShortcut(shortcut);
            action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
            addAction(action);
        }
        return action;
    };
    fileMenu = menuBar->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    fileMenu->setObjectName(QStringLiteral("fileMenu"));
    // 印刷, 印刷プレビュー, CSV保存 and xlsx保存: the window's output commands, shared with its buttons.
    ReportActions* outputs = makeReportActions(QStringLiteral("印刷(&P)"), QStringLiteral("印刷プレビュー(&O)"));
    QAction* print = named(outputs->printAction(), "printAction", QKeySequence(Qt::CTRL | Qt::Key_P));
    fileMenu->addActions({print, outputs->previewAction(), outputs->csvAction(), outputs->xlsxAction()});
    fileMenu->addSeparator();
    closeAction = named(fileMenu->addAction(QStringLiteral("終了(&X)")), "closeAction", QKeySequence(Qt::CTRL | Qt::Key_F4));
    connect(closeAction, &QAction::triggered, this, &AttendanceWindow::closeIfLessonDaysGiven);

    inputMenu = menuBar->addMenu(QStringLiteral("入力(&I)"));
    inputMenu->setObjectName(QStringLiteral("inputMenu"));
    monthlyInputAction = named(inputMenu->addAction(QStringLiteral("各月入力(&I)")), "monthlyInputAction");
    fillRequiredDaysAction = named(inputMenu->addAction(QStringLiteral("必要日数揃え(&S)")), "fillRequiredDaysAction");
    connect(monthlyInputAction, &QAction::triggered, this, &AttendanceWindow::startMonthlyInput);
    connect(fillRequiredDaysAction, &QAction::triggered, this, &AttendanceWindow::fillRequiredDays);

    tallyMenu = menuBar->addMenu(QStringLiteral("集計(&S)"));
    tallyMenu->setObjectName(QStringLiteral("tallyMenu"));
    const QStringList tallyCaptions = tallyCaptionsOf(ctx.data.termPlan);
    for (int tally = 0; tally < AttendanceTally::TallyCount; ++tally) {
        tallyActions[tally] = tallyMenu->addAction(tallyCaptions[tally]);
        tallyActions[tally]->setObjectName(QStringLiteral("tallyAction%1").arg(tally));
        tallyActions[tally]->setVisible(!tallyCaptions[tally].isEmpty());
        connect(tallyActions[tally], &QAction::triggered, this, [this, tally] { startTally(tally); });
    }

    helpAction = named(menuBar->addAction(QStringLiteral("ﾍﾙﾌﾟ(&H)")), "helpAction");
    connect(helpAction, &QAction::triggered, this, &AttendanceWindow::showHelp);
}

void AttendanceWindow::buildControls()
{
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);

    periodFrame = new QFrame(this);
    periodFrame->setObjectName(QStringLiteral("periodFrame"));
    periodFrame->setFrameShape(QFrame::StyledPanel);
    periodSelector = new QComboBox(periodFrame);
    periodSelector->setObjectName(QStringLiteral("periodSelector"));
    periodSelector->setToolTip(QStringLiteral("入力月または集計学期をを選んでください。"));
    periodSelector->setMinimumContentsLength(7);
    lessonDaysCaption = new QLabel(QStringLiteral("授業日数"), periodFrame);
    lessonDaysCaption->setObjectName(QStringLiteral("lessonDaysCaption"));
    lessonDaysInput = new QLineEdit(QStringLiteral("20"), periodFrame);
    lessonDaysInput->setObjectName(QStringLiteral("lessonDaysInput"));
    lessonDaysInput->setToolTip(QStringLiteral("今月の授業日数を入力してください"));
    lessonDaysInput->setValidator(new DayCountValidator(lessonDaysInput));
    lessonDaysInput->setMaxLength(3);
    lessonDaysInput->setFixedWidth(lessonDaysInput->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 16);
    lessonDaysCaption->setBuddy(lessonDaysInput);
    auto* periodLayout = new QHBoxLayout(periodFrame);
    periodLayout->addWidget(periodSelector);
    periodLayout->addSpacing(12);
    periodLayout->addWidget(lessonDaysCaption);
    periodLayout->addWidget(lessonDaysInput);

    viewGroup = new QGroupBox(this);
    viewGroup->setObjectName(QStringLiteral("viewGroup"));
    detailedViewOption = new QRadioButton(QStringLiteral("詳細表示"), viewGroup);
    detailedViewOption->setObjectName(QStringLiteral("detailedViewOption"));
    recordBookViewOption = new QRadioButton(QStringLiteral("指導要録用"), viewGroup);
    recordBookViewOption->setObjectName(QStringLiteral("recordBookViewOption"));
    detailedViewOption->setChecked(true);
    auto* viewLayout = new QHBoxLayout(viewGroup);
    for (QRadioButton* option : {detailedViewOption, recordBookViewOption}) {
        viewLayout->addWidget(option);
        connect(option, &QRadioButton::clicked, this, &AttendanceWindow::viewChosen);
    }

    auto* top = new QHBoxLayout;
    top->addWidget(periodFrame);
    top->addWidget(viewGroup);
    top->addStretch(1);
    layout->addLayout(top);

    valuePromptHint = new QLabel(QStringLiteral("セルをダブルクリックするか Shift+Enter で、値を直接入力できます"), this);
    valuePromptHint->setObjectName(QStringLiteral("valuePromptHint"));
    layout->addWidget(valuePromptHint);

    // The frame of the grid: a thick border while the grid has the focus. The
    // margin makes up the difference so that the grid itself never moves.
    gridFrame = new QFrame(this);
    gridFrame->setObjectName(QStringLiteral("gridFrame"));
    gridFrame->setFrameStyle(QFrame::Box | QFrame::Plain);
    gridFrame->setLineWidth(1);
    auto* frameLayout = new QVBoxLayout(gridFrame);
    frameLayout->setContentsMargins(2, 2, 2, 2);
    attendanceGrid = new QTableView(gridFrame);
    attendanceGrid->setObjectName(QStringLiteral("attendanceGrid"));
    attendanceGrid->setFrameShape(QFrame::NoFrame);
    attendanceGrid->verticalHeader()->hide();
    attendanceGrid->verticalHeader()->setDefaultSectionSize(attendanceGrid->fontMetrics().height() + 8);
    attendanceGrid->horizontalHeader()->setSectionsClickable(false);
    attendanceGrid->horizontalHeader()->setHighlightSections(false);
    attendanceGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    attendanceGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    attendanceGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    attendanceGrid->setSelectionBehavior(QAbstractItemView::SelectItems);
    attendanceGrid->setTabKeyNavigation(true);
    attendanceGrid->setWordWrap(false);
    frameLayout->addWidget(attendanceGrid);
    setUpGridModels();
    attendanceGrid->installEventFilter(this);
    attendanceGrid->viewport()->installEventFilter(this);
    lessonDaysInput->installEventFilter(this);
    connect(attendanceGrid, &QTableView::doubleClicked, this,
            [this](const QModelIndex& cell) { cellDoubleClicked(cell.row() + 1, cell.column()); });
    connect(lessonDaysInput, &QLineEdit::textChanged, this, &AttendanceWindow::lessonDaysTyped);
    connect(periodSelector, &QComboBox::activated, this, &AttendanceWindow::periodChosen);

    auto* body = new QHBoxLayout;
    body->addWidget(gridFrame, 1);
    body->addLayout(buildButtons());
    layout->addLayout(body, 1);

    setTabOrder(periodSelector, lessonDaysInput);
    setTabOrder(lessonDaysInput, attendanceGrid);
}

QVBoxLayout* AttendanceWindow::buildButtons()
{
    const auto button = [this](const QString& caption, const QString& name) {
        auto* made = new QPushButton(caption, this);
        made->setObjectName(name);
        return made;
    };
    monthlyInputButton = button(QStringLiteral("各月入力(&I)"), QStringLiteral("monthlyInputButton"));
    fillRequiredDaysButton = button(QStringLiteral("必要日揃え(&S)"), QStringLiteral("fillRequiredDaysButton"));
    closeButton = button(QStringLiteral("閉じる"), QStringLiteral("closeButton"));
    const QStringList tallyCaptions = tallyCaptionsOf(ctx.data.termPlan);
    for (int tally = 0; tally < AttendanceTally::TallyCount; ++tally) {
        tallyButtons[tally] = button(tallyCaptions[tally], QStringLiteral("tallyButton%1").arg(tally));
        if (tallyCaptions[tally].isEmpty())
            tallyButtons[tally]->hide();
    }

    auto* column = new QVBoxLayout;
    column->addWidget(monthlyInputButton);
    column->addWidget(fillRequiredDaysButton);
    column->addSpacing(16);
    for (int tally = 0; tally < AttendanceTally::TallyCount; ++tally) {
        column->addWidget(tallyButtons[tally]);
        connect(tallyButtons[tally], &QPushButton::clicked, this, [this, tally] { startTally(tally); });
    }
    column->addSpacing(16);
    // The output buttons show the window's output commands.
    column->addWidget(reportActions()->button(ReportDestination::Printer, this, QStringLiteral("印刷(&P)")));
    column->addWidget(reportActions()->button(ReportDestination::Preview, this, QStringLiteral("プレビュー(&O)")));
    column->addWidget(reportActions()->button(ReportDestination::Csv, this));
    column->addWidget(reportActions()->button(ReportDestination::Xlsx, this));
    column->addStretch(1);
    column->addWidget(closeButton);
    connect(monthlyInputButton, &QPushButton::clicked, this, &AttendanceWindow::startMonthlyInput);
    connect(fillRequiredDaysButton, &QPushButton::clicked, this, &AttendanceWindow::fillRequiredDays);
    connect(closeButton, &QPushButton::clicked, this, &AttendanceWindow::closeIfLessonDaysGiven);
    return column;
}
