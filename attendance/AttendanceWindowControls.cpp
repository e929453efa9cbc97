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
#include <QTableWidget>
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
    menuFile = menuBar->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    menuFile->setObjectName(QStringLiteral("menuFile"));
    // 印刷, 印刷プレビュー and CSV保存: the window's output commands, shared with its buttons.
    ReportActions* outputs = makeReportActions(QStringLiteral("印刷(&P)"), QStringLiteral("印刷プレビュー(&O)"));
    QAction* print = outputs->printAction();
    print->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    print->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(print);
    menuFile->addActions({print, outputs->previewAction(), outputs->csvAction()});
    separater = menuFile->addSeparator();
    menuSave = named(menuFile->addAction(QStringLiteral("終了(&X)")), "menuSave", QKeySequence(Qt::CTRL | Qt::Key_F4));
    connect(menuSave, &QAction::triggered, this, [this] { cmdEnd_Click(); });

    menuInputTop = menuBar->addMenu(QStringLiteral("入力(&I)"));
    menuInputTop->setObjectName(QStringLiteral("menuInputTop"));
    Mn_Input = named(menuInputTop->addAction(QStringLiteral("各月入力(&I)")), "Mn_Input");
    menuSet = named(menuInputTop->addAction(QStringLiteral("必要日数揃え(&S)")), "menuSet");
    connect(Mn_Input, &QAction::triggered, this, [this] { cmdInput_Click(); });
    connect(menuSet, &QAction::triggered, this, [this] { cmdSet_Click(); });

    menuShukei = menuBar->addMenu(QStringLiteral("集計(&S)"));
    menuShukei->setObjectName(QStringLiteral("menuShukei"));
    const QStringList tallyCaptions{QStringLiteral("１学期集計(&1)"), QStringLiteral("２学期集計(&2)"),
                                    QStringLiteral("３学期集計(&3)"), QStringLiteral("年度末集計(&N)")};
    for (int i = 0; i < 4; ++i) {
        Mn_gShu[i] = menuShukei->addAction(tallyCaptions[i]);
        Mn_gShu[i]->setObjectName(QStringLiteral("Mn_gShu%1").arg(i));
        connect(Mn_gShu[i], &QAction::triggered, this, [this, i] { cmdShukei_Click(i); });
    }

    menuHelp = named(menuBar->addAction(QStringLiteral("ﾍﾙﾌﾟ(&H)")), "menuHelp");
    connect(menuHelp, &QAction::triggered, this, [this] { menuHelp_Click(); });
}

void AttendanceWindow::buildControls()
{
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);

    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameShape(QFrame::StyledPanel);
    CbMonth = new QComboBox(Frame1);
    CbMonth->setObjectName(QStringLiteral("CbMonth"));
    CbMonth->setToolTip(QStringLiteral("入力月または集計学期をを選んでください。"));
    CbMonth->setMinimumContentsLength(7);
    Label1 = new QLabel(QStringLiteral("授業日数"), Frame1);
    Label1->setObjectName(QStringLiteral("Label1"));
    TxJugyoSu = new QLineEdit(QStringLiteral("20"), Frame1);
    TxJugyoSu->setObjectName(QStringLiteral("TxJugyoSu"));
    TxJugyoSu->setToolTip(QStringLiteral("今月の授業日数を入力してください"));
    TxJugyoSu->setValidator(new DayCountValidator(TxJugyoSu));
    TxJugyoSu->setMaxLength(3);
    TxJugyoSu->setFixedWidth(TxJugyoSu->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 16);
    Label1->setBuddy(TxJugyoSu);
    auto* frame1Layout = new QHBoxLayout(Frame1);
    frame1Layout->addWidget(CbMonth);
    frame1Layout->addSpacing(12);
    frame1Layout->addWidget(Label1);
    frame1Layout->addWidget(TxJugyoSu);

    Frame2 = new QGroupBox(this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    OpMode[0] = new QRadioButton(QStringLiteral("詳細表示"), Frame2);
    OpMode[1] = new QRadioButton(QStringLiteral("指導要録用"), Frame2);
    OpMode[0]->setChecked(true);
    auto* frame2Layout = new QHBoxLayout(Frame2);
    for (int i = 0; i < 2; ++i) {
        OpMode[i]->setObjectName(QStringLiteral("OpMode%1").arg(i));
        frame2Layout->addWidget(OpMode[i]);
        connect(OpMode[i], &QRadioButton::clicked, this, [this, i] { OpMode_Click(i); });
    }

    auto* top = new QHBoxLayout;
    top->addWidget(Frame1);
    top->addWidget(Frame2);
    top->addStretch(1);
    layout->addLayout(top);

    Label2 = new QLabel(QStringLiteral("セルを DblClick or Shift+Return で値を直接入力できます"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    layout->addWidget(Label2);

    // Shape2 frames the grid: a thick border while the grid has the focus. The
    // margin makes up the difference so that the grid itself never moves.
    Shape2 = new QFrame(this);
    Shape2->setObjectName(QStringLiteral("Shape2"));
    Shape2->setFrameStyle(QFrame::Box | QFrame::Plain);
    Shape2->setLineWidth(1);
    auto* shapeLayout = new QVBoxLayout(Shape2);
    shapeLayout->setContentsMargins(2, 2, 2, 2);
    Grid1 = new QTableWidget(0, Columns, Shape2);
    Grid1->setObjectName(QStringLiteral("Grid1"));
    Grid1->setFrameShape(QFrame::NoFrame);
    Grid1->verticalHeader()->hide();
    Grid1->verticalHeader()->setDefaultSectionSize(Grid1->fontMetrics().height() + 8);
    Grid1->horizontalHeader()->setSectionsClickable(false);
    Grid1->horizontalHeader()->setHighlightSections(false);
    Grid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Grid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid1->setSelectionMode(QAbstractItemView::SingleSelection);
    Grid1->setSelectionBehavior(QAbstractItemView::SelectItems);
    Grid1->setTabKeyNavigation(true);
    Grid1->setWordWrap(false);
    shapeLayout->addWidget(Grid1);
    Grid1->installEventFilter(this);
    Grid1->viewport()->installEventFilter(this);
    TxJugyoSu->installEventFilter(this);
    connect(Grid1, &QTableWidget::cellDoubleClicked, this, [this](int row, int column) { Grid1_DblClick(row + 1, column); });

    cmdInput = new QPushButton(QStringLiteral("各月入力(&I)"), this);
    cmdSet = new QPushButton(QStringLiteral("必要日揃え(&S)"), this);
    cmdEnd = new QPushButton(QStringLiteral("閉じる"), this);
    cmdInput->setObjectName(QStringLiteral("cmdInput"));
    cmdSet->setObjectName(QStringLiteral("cmdSet"));
    cmdEnd->setObjectName(QStringLiteral("cmdEnd"));
    const QStringList tallyCaptions{QStringLiteral("１学期集計(&1)"), QStringLiteral("２学期集計(&2)"),
                                    QStringLiteral("３学期集計(&3)"), QStringLiteral("年度末集計(&N)")};
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdInput);
    buttons->addWidget(cmdSet);
    buttons->addSpacing(16);
    for (int i = 0; i < 4; ++i) {
        cmdShukei[i] = new QPushButton(tallyCaptions[i], this);
        cmdShukei[i]->setObjectName(QStringLiteral("cmdShukei%1").arg(i));
        buttons->addWidget(cmdShukei[i]);
        connect(cmdShukei[i], &QPushButton::clicked, this, [this, i] { cmdShukei_Click(i); });
    }
    buttons->addSpacing(16);
    buttons->addWidget(reportActions()->button(ReportDestination::Printer, this, QStringLiteral("印刷(&P)")));
    buttons->addWidget(reportActions()->button(ReportDestination::Preview, this, QStringLiteral("プレビュー(&O)")));
    buttons->addWidget(reportActions()->button(ReportDestination::Csv, this));
    buttons->addStretch(1);
    buttons->addWidget(cmdEnd);
    connect(cmdInput, &QPushButton::clicked, this, [this] { cmdInput_Click(); });
    connect(cmdSet, &QPushButton::clicked, this, [this] { cmdSet_Click(); });
    connect(cmdEnd, &QPushButton::clicked, this, [this] { cmdEnd_Click(); });
    connect(CbMonth, &QComboBox::activated, this, [this] { CbMonth_Click(); });

    auto* body = new QHBoxLayout;
    body->addWidget(Shape2, 1);
    body->addLayout(buttons);
    layout->addLayout(body, 1);

    setTabOrder(CbMonth, TxJugyoSu);
    setTabOrder(TxJugyoSu, Grid1);
}
