#include "reports/StatisticsWindow.h"

#include "model/RosterFile.h"
#include "model/ScoreFile.h"
#include "reports/TallyGrid.h"
#include "frame/MainFrame.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const QString NoPupils = QStringLiteral("クラス人数が0のままです.編集の氏名ﾒﾝﾃﾅﾝｽで氏名を入力してください.");
const QString NoScores = QStringLiteral("指定範囲に有効な点数はありません.");
constexpr int FirstDataColumn = 2;

QLabel* resultLabel(QWidget* parent, const QString& name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setMinimumWidth(70);
    return label;
}

}  // namespace

StatisticsWindow::StatisticsWindow(AppContext& ctx, QWidget* parent) : TallyWindow(ctx, false, parent)
{
    setObjectName(QStringLiteral("StatisticsWindow"));
    setWindowTitle(QStringLiteral("集計ウインドウ（かざね）"));
    buildControls();
}

void StatisticsWindow::buildControls()
{
    FrozenColumnsTable* grid = TallyGrid::make(this, QStringLiteral("Grid1"), {});
    // One block of cells: dragged from either corner, or whole columns by their heading.
    grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    grid->horizontalHeader()->setDefaultSectionSize(46);
    // Number and name stay in view while the scores scroll sideways.
    grid->setFrozenColumns(FirstDataColumn);
    Grid1 = grid;

    Picture1 = new QFrame(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    L_TestTitle = new QLabel(QStringLiteral("テスト情報"), Picture1);
    L_RyoikiName = new QLabel(QStringLiteral("観点名"), Picture1);
    L_Manten = new QLabel(QStringLiteral("満点"), Picture1);
    L_TestTitle->setObjectName(QStringLiteral("L_TestTitle"));
    L_RyoikiName->setObjectName(QStringLiteral("L_RyoikiName"));
    L_Manten->setObjectName(QStringLiteral("L_Manten"));
    Label9 = new QLabel(QStringLiteral(" ﾃｽﾄ数："), Picture1);
    Label9->setObjectName(QStringLiteral("Label9"));
    L_TestSu = new QLabel(Picture1);
    L_TestSu->setObjectName(QStringLiteral("L_TestSu"));
    auto* info = new QVBoxLayout(Picture1);
    info->addWidget(L_TestTitle);
    info->addWidget(L_RyoikiName);
    info->addWidget(L_Manten);
    auto* count = new QHBoxLayout;
    count->addWidget(Label9);
    count->addWidget(L_TestSu);
    count->addStretch();
    info->addLayout(count);
    info->addStretch();

    frameStatistics = new QGroupBox(QStringLiteral("統計計算"), this);
    B_CalcAvrg = new QPushButton(QStringLiteral("計 算(&C)"), frameStatistics);
    B_CalcAvrg->setObjectName(QStringLiteral("B_CalcAvrg"));
    L_Avrg2 = resultLabel(frameStatistics, QStringLiteral("L_Avrg2"));
    L_Avrg1 = resultLabel(frameStatistics, QStringLiteral("L_Avrg1"));
    L_Max = resultLabel(frameStatistics, QStringLiteral("L_Max"));
    L_Min = resultLabel(frameStatistics, QStringLiteral("L_Min"));
    auto* figures = new QGridLayout(frameStatistics);
    figures->addWidget(new QLabel(QStringLiteral("元満点"), frameStatistics), 0, 1, Qt::AlignCenter);
    figures->addWidget(new QLabel(QStringLiteral("100満点換算"), frameStatistics), 0, 2, Qt::AlignCenter);
    figures->addWidget(new QLabel(QStringLiteral("平 均"), frameStatistics), 1, 0);
    figures->addWidget(L_Avrg2, 1, 1);
    figures->addWidget(L_Avrg1, 1, 2);
    figures->addWidget(new QLabel(QStringLiteral("最大値"), frameStatistics), 2, 0);
    figures->addWidget(L_Max, 2, 1);
    figures->addWidget(new QLabel(QStringLiteral("最小値"), frameStatistics), 3, 0);
    figures->addWidget(L_Min, 3, 1);
    figures->addWidget(B_CalcAvrg, 1, 3, 3, 1);

    Bt_End = new QPushButton(QStringLiteral("閉じる"), this);
    Bt_End->setObjectName(QStringLiteral("Bt_End"));
    auto* end = new QVBoxLayout;
    end->addStretch();
    end->addWidget(Bt_End);

    auto* top = new QHBoxLayout;
    top->addWidget(Picture1, 1);
    top->addWidget(frameStatistics);
    top->addLayout(end);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(Grid1, 1);

    connect(Grid1, &QTableWidget::currentCellChanged, this, [this] { Grid1_RowColChange(); });
    connect(B_CalcAvrg, &QPushButton::clicked, this, [this] { B_CalcAvrg_Click(); });
    connect(Bt_End, &QPushButton::clicked, this, [this] { Bt_End_Click(); });
}

QSize StatisticsWindow::sizeHint() const
{
    return TallyGrid::fitOnScreen(this, QSize(960, 640));
}

bool StatisticsWindow::prepare()
{
    ClassData& data = ctx.data;
    setWindowTitle(QStringLiteral("教科内自由集計-") + data.unitName());
    ready = false;
    if (!ctx.check(RosterFile::load(data), this) || !ctx.check(ScoreFile::load(data), this))
        return false;
    if (data.pupilCount <= 0) {
        ctx.ui.message(this, NoPupils);
        return false;
    }
    BusyCursor busy(ctx.ui);
    scores = buildStatisticsTable(data, data.subject);
    L_TestSu->setText(StatisticsText::testCount(scores));
    fillGrid();
    ready = true;
    Grid1->setCurrentCell(0, FirstDataColumn);
    return true;
}

void StatisticsWindow::fillGrid()
{
    const int dataColumns = int(scores.columns.size());
    Grid1->setUpdatesEnabled(false);
    Grid1->setColumnCount(dataColumns < 2 ? 4 : dataColumns + FirstDataColumn);
    Grid1->setRowCount(scores.pupils);
    QStringList headings{QStringLiteral("番号"), QStringLiteral("氏名")};
    for (const StatisticsColumn& column : scores.columns)
        headings << (column.firstOfTest ? QLatin1Char(' ') + QString::number(column.test) : QString());
    while (headings.size() < Grid1->columnCount())
        headings << QString();
    Grid1->setHorizontalHeaderLabels(headings);
    for (int p = 1; p <= scores.pupils; ++p) {
        Grid1->setItem(p - 1, 0, new QTableWidgetItem(QLatin1Char(' ') + QString::number(p)));
        Grid1->setItem(p - 1, 1, new QTableWidgetItem(scores.names[p]));
        for (int n = 1; n <= dataColumns; ++n)
            Grid1->setItem(p - 1, n + 1, new QTableWidgetItem(StatisticsText::cell(scores.columns[size_t(n - 1)].score[p])));
    }
    Grid1->setColumnWidth(0, 36);
    Grid1->setColumnWidth(1, qMax(100, Grid1->width() / 5));
    Grid1->setUpdatesEnabled(true);
}

void StatisticsWindow::Grid1_RowColChange()
{
    const int column = Grid1->currentColumn();
    if (!ready || column < FirstDataColumn)
        return;
    const int n = column - 1;
    L_TestTitle->setText(StatisticsText::testTitle(scores, n));
    L_RyoikiName->setText(StatisticsText::viewpointName(scores, n));
    L_Manten->setText(StatisticsText::fullMarks(scores, n));
}

StatisticsBlock StatisticsWindow::selectedBlock() const
{
    int top = -1, bottom = -1, left = -1, right = -1;
    const auto ranges = Grid1->selectedRanges();
    for (const QTableWidgetSelectionRange& range : ranges) {
        top = top < 0 ? range.topRow() : qMin(top, range.topRow());
        bottom = qMax(bottom, range.bottomRow());
        left = left < 0 ? range.leftColumn() : qMin(left, range.leftColumn());
        right = qMax(right, range.rightColumn());
    }
    if (ranges.isEmpty()) {
        top = bottom = Grid1->currentRow();
        left = right = Grid1->currentColumn();
    }
    StatisticsBlock block;
    if (top < 0 || left < 0 || right < FirstDataColumn)
        return block;  // nothing, or only the number and name columns
    block.top = top + 1;
    block.bottom = bottom + 1;
    block.left = qMax(left, FirstDataColumn) - 1;
    block.right = right - 1;
    return block;
}

void StatisticsWindow::B_CalcAvrg_Click()
{
    BusyCursor busy(ctx.ui);
    const StatisticsBlock block = selectedBlock();
    const StatisticsResult result = block.left > 0 ? computeStatistics(scores, block) : StatisticsResult{};
    const StatisticsText::Texts texts = StatisticsText::results(result);
    L_Avrg1->setText(texts.converted);
    L_Avrg2->setText(texts.raw);
    L_Max->setText(texts.maximum);
    L_Min->setText(texts.minimum);
    if (result.count == 0)
        ctx.ui.message(this, NoScores);
}

void StatisticsWindow::Bt_End_Click()
{
    closeWindow();
}


