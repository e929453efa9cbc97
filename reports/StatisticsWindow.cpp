#include "reports/StatisticsWindow.h"

#include "model/ClassFileHook.h"
#include "model/NewClass.h"
#include "model/RosterFile.h"
#include "model/ScoreFile.h"
#include "reports/TallyGrid.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

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
    FrozenColumnsTable* grid = TallyGrid::make(this, QStringLiteral("scoreGrid"), {});
    // One block of cells: dragged from either corner, or whole columns by their heading.
    grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    grid->horizontalHeader()->setDefaultSectionSize(46);
    // Number and name stay in view while the scores scroll sideways.
    grid->setFrozenColumns(FirstDataColumn);
    scoreGrid = grid;

    auto* columnInfo = new QFrame(this);
    columnInfo->setObjectName(QStringLiteral("columnInfo"));
    columnInfo->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    testNameLabel = new QLabel(QStringLiteral("テスト情報"), columnInfo);
    viewpointLabel = new QLabel(QStringLiteral("観点名"), columnInfo);
    fullMarksLabel = new QLabel(QStringLiteral("満点"), columnInfo);
    testNameLabel->setObjectName(QStringLiteral("testName"));
    viewpointLabel->setObjectName(QStringLiteral("viewpointName"));
    fullMarksLabel->setObjectName(QStringLiteral("fullMarks"));
    auto* countCaption = new QLabel(QStringLiteral(" ﾃｽﾄ数："), columnInfo);
    countCaption->setObjectName(QStringLiteral("testCountCaption"));
    testCountLabel = new QLabel(columnInfo);
    testCountLabel->setObjectName(QStringLiteral("testCount"));
    auto* info = new QVBoxLayout(columnInfo);
    info->addWidget(testNameLabel);
    info->addWidget(viewpointLabel);
    info->addWidget(fullMarksLabel);
    auto* count = new QHBoxLayout;
    count->addWidget(countCaption);
    count->addWidget(testCountLabel);
    count->addStretch();
    info->addLayout(count);
    info->addStretch();

    auto* statisticsBox = new QGroupBox(QStringLiteral("統計計算"), this);
    statisticsBox->setObjectName(QStringLiteral("statisticsBox"));
    auto* calculateButton = new QPushButton(QStringLiteral("計 算(&C)"), statisticsBox);
    calculateButton->setObjectName(QStringLiteral("calculateButton"));
    ownAverageLabel = resultLabel(statisticsBox, QStringLiteral("ownAverage"));
    convertedAverageLabel = resultLabel(statisticsBox, QStringLiteral("convertedAverage"));
    highestLabel = resultLabel(statisticsBox, QStringLiteral("highest"));
    lowestLabel = resultLabel(statisticsBox, QStringLiteral("lowest"));
    weightNoteLabel = new QLabel(statisticsBox);
    weightNoteLabel->setObjectName(QStringLiteral("weightNote"));
    auto* figures = new QGridLayout(statisticsBox);
    figures->addWidget(new QLabel(QStringLiteral("元満点"), statisticsBox), 0, 1, Qt::AlignCenter);
    figures->addWidget(new QLabel(QStringLiteral("100満点換算"), statisticsBox), 0, 2, Qt::AlignCenter);
    figures->addWidget(new QLabel(QStringLiteral("平 均"), statisticsBox), 1, 0);
    figures->addWidget(ownAverageLabel, 1, 1);
    figures->addWidget(convertedAverageLabel, 1, 2);
    figures->addWidget(new QLabel(QStringLiteral("最大値"), statisticsBox), 2, 0);
    figures->addWidget(highestLabel, 2, 1);
    figures->addWidget(new QLabel(QStringLiteral("最小値"), statisticsBox), 3, 0);
    figures->addWidget(lowestLabel, 3, 1);
    figures->addWidget(weightNoteLabel, 2, 2, Qt::AlignCenter);
    figures->addWidget(calculateButton, 1, 3, 3, 1);

    auto* closeButton = new QPushButton(QStringLiteral("閉じる"), this);
    closeButton->setObjectName(QStringLiteral("closeButton"));
    auto* end = new QVBoxLayout;
    end->addStretch();
    end->addWidget(closeButton);

    auto* top = new QHBoxLayout;
    top->addWidget(columnInfo, 1);
    top->addWidget(statisticsBox);
    top->addLayout(end);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(scoreGrid, 1);

    connect(scoreGrid, &QTableWidget::currentCellChanged, this, [this] { showCurrentColumn(); });
    connect(calculateButton, &QPushButton::clicked, this, [this] { calculate(); });
    connect(closeButton, &QPushButton::clicked, this, [this] { closeWindow(); });
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
    ctx.check(ClassFileHook::load(data), this);
    if (data.pupilCount <= 0) {
        ctx.ui.message(this, NewClass::noPupilsMessage());
        return false;
    }
    BusyCursor busy(ctx.ui);
    scores = buildStatisticsTable(data, data.subject);
    testCountLabel->setText(StatisticsText::testCount(scores));
    fillGrid();
    ready = true;
    scoreGrid->setCurrentCell(0, FirstDataColumn);
    return true;
}

void StatisticsWindow::fillGrid()
{
    const int dataColumns = int(scores.columns.size());
    scoreGrid->setUpdatesEnabled(false);
    scoreGrid->setColumnCount(dataColumns < 2 ? 4 : dataColumns + FirstDataColumn);
    scoreGrid->setRowCount(scores.pupils);
    scoreGrid->setHorizontalHeaderLabels(StatisticsText::headings(scores, scoreGrid->columnCount()));
    for (int p = 1; p <= scores.pupils; ++p) {
        scoreGrid->setItem(p - 1, 0, new QTableWidgetItem(StatisticsText::pupilNumber(p)));
        scoreGrid->setItem(p - 1, 1, new QTableWidgetItem(scores.names[p]));
        for (int n = 1; n <= dataColumns; ++n)
            scoreGrid->setItem(p - 1, n + 1, new QTableWidgetItem(StatisticsText::cell(scores.columns[size_t(n - 1)], p)));
    }
    scoreGrid->setColumnWidth(0, 36);
    scoreGrid->setColumnWidth(1, qMax(100, scoreGrid->width() / 5));
    scoreGrid->setUpdatesEnabled(true);
}

void StatisticsWindow::showCurrentColumn()
{
    const int column = scoreGrid->currentColumn();
    if (!ready || column < FirstDataColumn)
        return;
    const int n = column - 1;
    testNameLabel->setText(StatisticsText::testTitle(scores, n));
    viewpointLabel->setText(StatisticsText::viewpointName(scores, n));
    fullMarksLabel->setText(StatisticsText::fullMarks(scores, n));
}

StatisticsBlock StatisticsWindow::selectedBlock() const
{
    int top = -1, bottom = -1, left = -1, right = -1;
    const auto ranges = scoreGrid->selectedRanges();
    for (const QTableWidgetSelectionRange& range : ranges) {
        top = top < 0 ? range.topRow() : qMin(top, range.topRow());
        bottom = qMax(bottom, range.bottomRow());
        left = left < 0 ? range.leftColumn() : qMin(left, range.leftColumn());
        right = qMax(right, range.rightColumn());
    }
    if (ranges.isEmpty()) {
        top = bottom = scoreGrid->currentRow();
        left = right = scoreGrid->currentColumn();
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

void StatisticsWindow::calculate()
{
    BusyCursor busy(ctx.ui);
    const StatisticsBlock block = selectedBlock();
    const StatisticsResult result = block.left > 0 ? computeStatistics(scores, block) : StatisticsResult{};
    const StatisticsText::Texts texts = StatisticsText::results(result);
    convertedAverageLabel->setText(texts.converted);
    ownAverageLabel->setText(texts.raw);
    highestLabel->setText(texts.maximum);
    lowestLabel->setText(texts.minimum);
    weightNoteLabel->setText(texts.note);
    if (result.count == 0)
        ctx.ui.message(this, NoScores);
}
