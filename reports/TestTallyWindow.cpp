#include "reports/TestTallyWindow.h"

#include "model/RosterFile.h"
#include "model/ScoreFile.h"
#include "frame/MainFrame.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
constexpr int WindowWidth = 620;
// Grid column widths in sevenths of the grid's width.
constexpr double ColumnUnits[8] = {0.6, 1.6, 0.8, 0.7, 0.7, 0.7, 0.7, 0.6};
}  // namespace

TestTallyWindow::TestTallyWindow(AppContext& ctx, QWidget* parent) : TallyWindow(ctx, true, parent)
{
    setObjectName(QStringLiteral("TestTallyWindow"));
    setWindowTitle(QStringLiteral("テスト別集計ウインドウ"));
    buildControls();
    setFixedWidth(WindowWidth);
    resize(WindowWidth, 640);
}

void TestTallyWindow::buildControls()
{
    auto named = [](auto* widget, const QString& name) {
        widget->setObjectName(name);
        return widget;
    };

    // テストの情報: the test chooser, its number and the class average.
    auto* info = named(new QGroupBox(QStringLiteral("テストの情報"), this), QStringLiteral("FrameTest"));
    Cb_TestTitle = named(new QComboBox(info), QStringLiteral("Cb_TestTitle"));
    Cb_TestTitle->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    Cb_TestTitle->setMinimumContentsLength(16);
    Cb_TestTitle->setMaxVisibleItems(20);
    L_Title = named(new QLabel(info), QStringLiteral("L_Title"));
    Label2 = named(new QLabel(QStringLiteral("クラス平均"), info), QStringLiteral("Label2"));
    Lb_Avrg = named(new QLabel(info), QStringLiteral("Lb_Avrg"));
    Lb_Avrg->setMinimumWidth(56);
    Lb_Avrg->setFrameShape(QFrame::StyledPanel);
    Lb_Avrg->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Lb_Avrg->setToolTip(QStringLiteral("合計点を100点満点に換算したクラスの平均です"));
    auto* infoLayout = new QGridLayout(info);
    infoLayout->addWidget(Cb_TestTitle, 0, 0, 1, 3);
    infoLayout->addWidget(L_Title, 1, 0);
    infoLayout->addWidget(Label2, 1, 1, Qt::AlignRight);
    infoLayout->addWidget(Lb_Avrg, 1, 2);
    infoLayout->setColumnStretch(0, 1);

    // 並べ方: attendance-number or score order.
    auto* orderBox = named(new QGroupBox(QStringLiteral("並べ方"), this), QStringLiteral("FrameOrder"));
    Op_Mode[0] = named(new QRadioButton(QStringLiteral("出席番号順"), orderBox), QStringLiteral("Op_Mode0"));
    Op_Mode[1] = named(new QRadioButton(QStringLiteral("成績順"), orderBox), QStringLiteral("Op_Mode1"));
    Op_Mode[0]->setChecked(true);
    auto* orderLayout = new QVBoxLayout(orderBox);
    orderLayout->addWidget(Op_Mode[0]);
    orderLayout->addWidget(Op_Mode[1]);

    // 各観点の内容: per column its viewpoint, average and full marks.
    auto* viewpoints = named(new QGroupBox(QStringLiteral("各観点の内容"), this), QStringLiteral("FrameKanten"));
    auto* viewpointLayout = new QGridLayout(viewpoints);
    viewpointLayout->setVerticalSpacing(2);
    viewpointLayout->addWidget(new QLabel(QStringLiteral("平均"), viewpoints), 0, 2, Qt::AlignRight);
    viewpointLayout->addWidget(new QLabel(QStringLiteral("満点"), viewpoints), 0, 3, Qt::AlignRight);
    for (int k = 0; k < 4; ++k) {
        Label1[k] = named(new QLabel(Names::viewpointHeading(k + 1), viewpoints), QStringLiteral("Label1_%1").arg(k));
        RyoikiMei[k] = named(new QLabel(viewpoints), QStringLiteral("RyoikiMei%1").arg(k));
        RyoikiMei[k]->setFrameShape(QFrame::StyledPanel);
        RyoikiMei[k]->setMinimumWidth(150);
        lbAvarage[k] = named(new QLabel(viewpoints), QStringLiteral("lbAvarage%1").arg(k));
        lbAvarage[k + 4] = named(new QLabel(viewpoints), QStringLiteral("lbAvarage%1").arg(k + 4));
        for (QLabel* figure : {lbAvarage[k], lbAvarage[k + 4]}) {
            figure->setFrameShape(QFrame::StyledPanel);
            figure->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            figure->setMinimumWidth(48);
        }
        viewpointLayout->addWidget(Label1[k], k + 1, 0);
        viewpointLayout->addWidget(RyoikiMei[k], k + 1, 1);
        viewpointLayout->addWidget(lbAvarage[k], k + 1, 2);
        viewpointLayout->addWidget(lbAvarage[k + 4], k + 1, 3);
    }
    viewpointLayout->setColumnStretch(1, 1);

    CmdPrint[0] = named(new QPushButton(QStringLiteral("印 刷(&P)"), this), QStringLiteral("CmdPrint0"));
    CmdPrint[1] = named(new QPushButton(QStringLiteral("ﾌﾟﾚﾋﾞｭｰ(&O)"), this), QStringLiteral("CmdPrint1"));
    CmdCsv = named(new QPushButton(QStringLiteral("CSV保存"), this), QStringLiteral("CmdCsv"));
    Bt_End = named(new QPushButton(QStringLiteral("閉じる"), this), QStringLiteral("Bt_End"));

    Grid1 = named(new QTableWidget(0, 8, this), QStringLiteral("Grid1"));
    Grid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    Grid1->setSelectionMode(QAbstractItemView::SingleSelection);
    Grid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Grid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Grid1->verticalHeader()->hide();
    Grid1->verticalHeader()->setDefaultSectionSize(Grid1->fontMetrics().height() + 6);
    Grid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Grid1->horizontalHeader()->setHighlightSections(false);
    Grid1->setAlternatingRowColors(true);
    Grid1->setWordWrap(false);
    Grid1->setHorizontalHeaderLabels({QStringLiteral("番号"), QStringLiteral("氏 名"), QStringLiteral("総 点"),
                                      QStringLiteral("Ⅰ"), QStringLiteral("Ⅱ"), QStringLiteral("Ⅲ"),
                                      QStringLiteral("Ⅳ"), QStringLiteral("順位")});

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(CmdPrint[0]);
    buttons->addWidget(CmdPrint[1]);
    buttons->addWidget(CmdCsv);
    buttons->addStretch(1);
    buttons->addWidget(Bt_End);

    auto* top = new QHBoxLayout;
    top->addWidget(info, 1);
    top->addWidget(orderBox);
    auto* middle = new QHBoxLayout;
    middle->addWidget(viewpoints, 1);
    middle->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(middle);
    layout->addWidget(Grid1, 1);

    connect(Cb_TestTitle, &QComboBox::currentIndexChanged, this, [this] { Cb_TestTitle_Click(); });
    for (int i = 0; i < 2; ++i) {
        connect(Op_Mode[i], &QRadioButton::clicked, this, [this, i] { Op_Mode_Click(i); });
        connect(CmdPrint[i], &QPushButton::clicked, this, [this, i] { CmdPrint_Click(i); });
    connect(CmdCsv, &QPushButton::clicked, this, [this] { CmdPrint_Click(2); });
    }
    connect(Bt_End, &QPushButton::clicked, this, [this] { Bt_End_Click(); });
}

bool TestTallyWindow::prepare()
{
    ClassData& data = ctx.data;
    // Refuse to open on a roster or score file that cannot be read: the model would
    // still hold another unit's tests.
    if (!ctx.check(RosterFile::load(data), this) || !ctx.check(ScoreFile::load(data), this))
        return false;
    if (data.tests.count == 0) {
        L_Title->setText(QStringLiteral("テストがありません"));
        return true;
    }
    {
        const QSignalBlocker quiet(Cb_TestTitle);
        for (int t = 1; t <= data.tests.count; ++t)
            Cb_TestTitle->addItem(data.tests.name[t]);
        Cb_TestTitle->setCurrentIndex(0);
    }
    ShowTestTally();
    return true;
}



TallyOrder TestTallyWindow::order() const
{
    return Op_Mode[1]->isChecked() ? TallyOrder::Score : TallyOrder::AttendanceNumber;
}

void TestTallyWindow::ShowTestTally()
{
    if (Cb_TestTitle->currentIndex() < 0)
        return;
    BusyCursor busy(ctx.ui);
    ClassData& data = ctx.data;
    // Every display shows what was last saved; a file that cannot be read leaves
    // the model as it was, and the message says why.
    ctx.check(RosterFile::load(data), this);
    ctx.check(ScoreFile::load(data), this);
    const int test = Cb_TestTitle->currentIndex() + 1;
    if (test <= qMin(data.tests.count, Limits::Tests))
        data.currentTest = test;  // the test shown is the current test
    showTally(computeTestTally(data, data.subject, test, order()));
}

void TestTallyWindow::showTally(const TestTally& tally)
{
    shown = tally;
    Grid1->setUpdatesEnabled(false);
    L_Title->setText(tally.testNumberText);
    for (int k = 0; k < 4; ++k) {
        RyoikiMei[k]->setText(tally.viewpointNames[k]);
        lbAvarage[k]->setText(tally.columnAverages[k]);
        lbAvarage[k + 4]->setText(tally.columnFullMarks[k]);
    }
    Lb_Avrg->setText(tally.classAverage);
    Grid1->setHorizontalHeaderLabels(tally.headings);
    Grid1->clearContents();
    Grid1->setRowCount(int(tally.rows.size()));
    for (int r = 0; r < tally.rows.size(); ++r)
        for (int c = 0; c < tally.rows[r].size(); ++c) {
            auto* item = new QTableWidgetItem(tally.rows[r][c]);
            item->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            Grid1->setItem(r, c, item);
        }
    Grid1->scrollToTop();
    Grid1->setUpdatesEnabled(true);
}

void TestTallyWindow::Cb_TestTitle_Click()
{
    ShowTestTally();
}

void TestTallyWindow::Op_Mode_Click(int)
{
    ShowTestTally();
}

void TestTallyWindow::CmdPrint_Click(int index)
{
    if (shown.test == 0) {
        ctx.ui.message(this, QStringLiteral("印刷するテストがありません。"), Ui::Buttons::Ok, Ui::Icon::Information);
        return;
    }
    const QString caption = windowTitle().startsWith(QStringLiteral("テスト別成績集計-")) ? windowTitle()
                                                                                         : testDisplayCaption(ctx.data);
    ctx.check(ctx.reports.run(this, testdispSheet(shown, caption),
                              destinationOf(index), testdispPreviewTitle(shown)),
              this, Ui::Icon::Warning);
}

void TestTallyWindow::Bt_End_Click()
{
    closeWindow();
}

QSize TestTallyWindow::sizeHint() const
{
    // Tall enough for a class of thirty at a glance; the frame may make it smaller.
    return QSize(WindowWidth, 720);
}

void TestTallyWindow::setColumnWidths()
{
    const int width = Grid1->viewport()->width();
    double total = 0;
    for (double unit : ColumnUnits)
        total += unit;
    int used = 0;
    for (int c = 0; c < 8; ++c) {
        const int w = c == 7 ? width - used : int(width * ColumnUnits[c] / total);
        Grid1->setColumnWidth(c, w);
        used += w;
    }
}

void TestTallyWindow::resizeEvent(QResizeEvent* event)
{
    ChildWindow::resizeEvent(event);
    setColumnWidths();
}

void TestTallyWindow::showEvent(QShowEvent* event)
{
    ChildWindow::showEvent(event);
    // The window's width is fixed; only its height follows the frame.
    if (QMdiSubWindow* frame = subWindow())
        frame->setMaximumWidth(frame->minimumSizeHint().width());
    setColumnWidths();
}
