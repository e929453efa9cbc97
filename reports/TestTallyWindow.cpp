#include "reports/TestTallyWindow.h"

#include "model/ClassFileHook.h"
#include "model/RosterFile.h"
#include "model/ScoreFile.h"
#include "reports/ScoreChartView.h"
#include "frame/ReportActions.h"

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
constexpr int WindowWidth = 920;
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
    auto* info = named(new QGroupBox(QStringLiteral("テストの情報"), this), QStringLiteral("testInfo"));
    testChooser = named(new QComboBox(info), QStringLiteral("testChooser"));
    testChooser->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    testChooser->setMinimumContentsLength(16);
    testChooser->setMaxVisibleItems(20);
    testNumberLabel = named(new QLabel(info), QStringLiteral("testNumber"));
    auto* averageCaption = new QLabel(QStringLiteral("クラス平均"), info);
    classAverageLabel = named(new QLabel(info), QStringLiteral("classAverage"));
    classAverageLabel->setMinimumWidth(56);
    classAverageLabel->setFrameShape(QFrame::StyledPanel);
    classAverageLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    classAverageLabel->setToolTip(QStringLiteral("合計点を100点満点に換算したクラスの平均です"));
    auto* infoLayout = new QGridLayout(info);
    infoLayout->addWidget(testChooser, 0, 0, 1, 3);
    infoLayout->addWidget(testNumberLabel, 1, 0);
    infoLayout->addWidget(averageCaption, 1, 1, Qt::AlignRight);
    infoLayout->addWidget(classAverageLabel, 1, 2);
    infoLayout->setColumnStretch(0, 1);

    // 並べ方: attendance-number or score order.
    auto* orderBox = named(new QGroupBox(QStringLiteral("並べ方"), this), QStringLiteral("orderBox"));
    numberOrderButton = named(new QRadioButton(QStringLiteral("出席番号順"), orderBox), QStringLiteral("numberOrder"));
    scoreOrderButton = named(new QRadioButton(QStringLiteral("成績順"), orderBox), QStringLiteral("scoreOrder"));
    numberOrderButton->setChecked(true);
    auto* orderLayout = new QVBoxLayout(orderBox);
    orderLayout->addWidget(numberOrderButton);
    orderLayout->addWidget(scoreOrderButton);

    // 各観点の内容: per column its viewpoint, average and full marks.
    auto* viewpoints = named(new QGroupBox(QStringLiteral("各観点の内容"), this), QStringLiteral("viewpointBox"));
    auto* viewpointLayout = new QGridLayout(viewpoints);
    viewpointLayout->setVerticalSpacing(2);
    viewpointLayout->addWidget(new QLabel(QStringLiteral("平均"), viewpoints), 0, 2, Qt::AlignRight);
    viewpointLayout->addWidget(new QLabel(QStringLiteral("満点"), viewpoints), 0, 3, Qt::AlignRight);
    for (int k = 0; k < 4; ++k) {
        auto* heading = new QLabel(Names::viewpointHeading(k + 1), viewpoints);
        viewpointNameLabels[k] = named(new QLabel(viewpoints), QStringLiteral("viewpointName%1").arg(k + 1));
        viewpointNameLabels[k]->setFrameShape(QFrame::StyledPanel);
        viewpointNameLabels[k]->setMinimumWidth(150);
        columnAverageLabels[k] = named(new QLabel(viewpoints), QStringLiteral("columnAverage%1").arg(k + 1));
        fullMarksLabels[k] = named(new QLabel(viewpoints), QStringLiteral("fullMarks%1").arg(k + 1));
        for (QLabel* figure : {columnAverageLabels[k], fullMarksLabels[k]}) {
            figure->setFrameShape(QFrame::StyledPanel);
            figure->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            figure->setMinimumWidth(48);
        }
        viewpointLayout->addWidget(heading, k + 1, 0);
        viewpointLayout->addWidget(viewpointNameLabels[k], k + 1, 1);
        viewpointLayout->addWidget(columnAverageLabels[k], k + 1, 2);
        viewpointLayout->addWidget(fullMarksLabels[k], k + 1, 3);
    }
    viewpointLayout->setColumnStretch(1, 1);

    pupilGrid = named(new QTableWidget(0, 8, this), QStringLiteral("pupilGrid"));
    pupilGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    pupilGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    pupilGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    pupilGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    pupilGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    pupilGrid->verticalHeader()->hide();
    pupilGrid->verticalHeader()->setDefaultSectionSize(pupilGrid->fontMetrics().height() + 6);
    pupilGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    pupilGrid->horizontalHeader()->setHighlightSections(false);
    pupilGrid->setAlternatingRowColors(true);
    pupilGrid->setWordWrap(false);
    pupilGrid->setHorizontalHeaderLabels({QStringLiteral("番号"), QStringLiteral("氏 名"), QStringLiteral("総 点"),
                                          QStringLiteral("Ⅰ"), QStringLiteral("Ⅱ"), QStringLiteral("Ⅲ"),
                                          QStringLiteral("Ⅳ"), QStringLiteral("順位")});

    // 得点の分布: the chart of the test shown, beside the list.
    auto* chartBox = named(new QGroupBox(QStringLiteral("得点の分布（100点満点に換算）"), this), QStringLiteral("chartBox"));
    scoreChart = named(new ScoreChartView(chartBox), QStringLiteral("scoreChart"));
    auto* chartLayout = new QVBoxLayout(chartBox);
    chartLayout->addWidget(scoreChart);
    chartBox->setFixedWidth(300);
    chartBox->setMaximumHeight(340);

    auto* closeButton = named(new QPushButton(QStringLiteral("閉じる"), this), QStringLiteral("closeButton"));
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(reportActions()->button(ReportDestination::Printer, this));
    buttons->addWidget(reportActions()->button(ReportDestination::Preview, this));
    buttons->addWidget(reportActions()->button(ReportDestination::Csv, this));
    buttons->addWidget(reportActions()->button(ReportDestination::Xlsx, this));
    buttons->addStretch(1);
    buttons->addWidget(closeButton);

    auto* top = new QHBoxLayout;
    top->addWidget(info, 1);
    top->addWidget(orderBox);
    auto* middle = new QHBoxLayout;
    middle->addWidget(viewpoints, 1);
    middle->addLayout(buttons);
    auto* chartColumn = new QVBoxLayout;
    chartColumn->addWidget(chartBox, 1);
    chartColumn->addStretch(0);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(pupilGrid, 1);
    bottom->addLayout(chartColumn);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(middle);
    layout->addLayout(bottom, 1);

    connect(testChooser, &QComboBox::currentIndexChanged, this, [this] { showChosenTest(); });
    for (QRadioButton* orderButton : {numberOrderButton, scoreOrderButton})
        connect(orderButton, &QRadioButton::clicked, this, [this] { showChosenTest(); });
    connect(closeButton, &QPushButton::clicked, this, [this] { closeWindow(); });
}

bool TestTallyWindow::prepare()
{
    ClassData& data = ctx.data;
    caption = testDisplayCaption(data);
    // Refuse to open on a roster or score file that cannot be read: the model would
    // still hold another unit's tests.
    if (!ctx.check(RosterFile::load(data), this) || !ctx.check(ScoreFile::load(data), this))
        return false;
    // A class file that cannot be read is named once; the scores open without it.
    ctx.check(ClassFileHook::load(data), this);
    if (data.tests.count == 0) {
        testNumberLabel->setText(QStringLiteral("テストがありません"));
        return true;
    }
    {
        const QSignalBlocker quiet(testChooser);
        for (int t = 1; t <= data.tests.count; ++t)
            testChooser->addItem(data.tests.name[t]);
        testChooser->setCurrentIndex(0);
    }
    showChosenTest();
    return true;
}

TallyOrder TestTallyWindow::order() const
{
    return scoreOrderButton->isChecked() ? TallyOrder::Score : TallyOrder::AttendanceNumber;
}

void TestTallyWindow::showChosenTest()
{
    if (testChooser->currentIndex() < 0)
        return;
    BusyCursor busy(ctx.ui);
    ClassData& data = ctx.data;
    // Every display shows what was last saved; a file that cannot be read leaves
    // the model as it was, and the message says why.
    ctx.check(RosterFile::load(data), this);
    const Status scores = ScoreFile::load(data);
    if (scores.ok)
        ClassFileHook::load(data);  // a class file that cannot be read was named when the window opened
    else
        ctx.check(scores, this);
    const int test = testChooser->currentIndex() + 1;
    if (test <= qMin(data.tests.count, Limits::Tests))
        data.currentTest = test;  // the test shown is the current test
    showTally(computeTestTally(data, data.subject, test, order()));
}

void TestTallyWindow::showTally(const TestTally& tally)
{
    shown = tally;
    pupilGrid->setUpdatesEnabled(false);
    testNumberLabel->setText(TestTallyText::testNumber(tally));
    for (int k = 0; k < 4; ++k) {
        viewpointNameLabels[k]->setText(tally.viewpointNames[k]);
        columnAverageLabels[k]->setText(TestTallyText::columnAverage(tally, k));
        fullMarksLabels[k]->setText(TestTallyText::columnFullMarks(tally, k));
    }
    classAverageLabel->setText(TestTallyText::classAverage(tally));
    scoreChart->setDistribution(tally.distribution);
    pupilGrid->setHorizontalHeaderLabels(TestTallyText::headings(tally));
    pupilGrid->clearContents();
    const QList<QStringList> rows = TestTallyText::gridRows(tally);
    pupilGrid->setRowCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < rows[r].size(); ++c) {
            auto* item = new QTableWidgetItem(rows[r][c]);
            item->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            pupilGrid->setItem(r, c, item);
        }
    pupilGrid->scrollToTop();
    pupilGrid->setUpdatesEnabled(true);
}

// The sheet of the tally shown, under the window's caption.
void TestTallyWindow::output(ReportDestination destination)
{
    if (shown.test == 0) {
        ctx.ui.message(this, QStringLiteral("印刷するテストがありません。"), Ui::Buttons::Ok, Ui::Icon::Information);
        return;
    }
    ctx.check(ctx.reports.run(this, testdispSheet(shown, caption), destination, testdispPreviewTitle(shown)), this,
              Ui::Icon::Warning);
    // Back to the list: the Enter or Space that closes the last message must not
    // press the output button again.
    pupilGrid->setFocus();
}

QSize TestTallyWindow::sizeHint() const
{
    // Tall enough for a class of thirty at a glance; the frame may make it smaller.
    return QSize(WindowWidth, 720);
}

void TestTallyWindow::setColumnWidths()
{
    const int width = pupilGrid->viewport()->width();
    double total = 0;
    for (double unit : ColumnUnits)
        total += unit;
    int used = 0;
    for (int c = 0; c < 8; ++c) {
        const int w = c == 7 ? width - used : int(width * ColumnUnits[c] / total);
        pupilGrid->setColumnWidth(c, w);
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
