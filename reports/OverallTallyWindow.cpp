#include "reports/OverallTallyWindow.h"

#include "model/ClassFileHook.h"
#include "model/NewClass.h"
#include "model/RosterFile.h"
#include "model/ScoreFile.h"
#include "model/ViewpointNames.h"
#include "reports/OverrulingEdit.h"
#include "reports/OverrulingList.h"
#include "reports/TestPickerDialog.h"
#include "reports/TallyGrid.h"
#include "frame/MainFrame.h"
#include "frame/ReportActions.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

OverallTallyWindow::OverallTallyWindow(AppContext& ctx, QWidget* parent) : TallyWindow(ctx, true, parent)
{
    setObjectName(QStringLiteral("OverallTallyWindow"));
    setWindowTitle(QStringLiteral("総合成績集計"));
    buildControls();
}

OverallTallyWindow::~OverallTallyWindow() = default;

void OverallTallyWindow::buildControls()
{
    pupilGrid = TallyGrid::make(this, QStringLiteral("pupilGrid"), OverallTallyText::headings(), 2);
    // Number and name, then per group average, rank and evaluation.
    const int groupWidths[3] = {54, 42, 40};
    pupilGrid->setColumnWidth(0, 40);
    pupilGrid->setColumnWidth(1, 120);
    for (int c = 2; c < OverallTallyText::Columns; ++c)
        pupilGrid->setColumnWidth(c, groupWidths[(c - 2) % 3]);
    QList<int> rightAligned{0};
    for (int c = 2; c < OverallTallyText::Columns; ++c)
        rightAligned.append(c);
    TallyGrid::alignColumns(pupilGrid, rightAligned, Qt::AlignRight | Qt::AlignVCenter);

    viewpointGrid = TallyGrid::make(this, QStringLiteral("viewpointGrid"),
                                    {QStringLiteral("番号"), QStringLiteral("観　点　名"), QStringLiteral("平　均"),
                                     QStringLiteral("該当テスト数")});
    viewpointGrid->setRowCount(4);
    TallyGrid::keepProportionalWidths(viewpointGrid, {0.7, 3.3, 1.4, 1.8}, 7.2);
    viewpointGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewpointGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewpointGrid->setFixedHeight(viewpointGrid->horizontalHeader()->sizeHint().height()
                                  + 4 * viewpointGrid->verticalHeader()->defaultSectionSize() + 4);
    viewpointGrid->setMinimumWidth(360);

    figureChoices = new QListWidget(this);
    figureChoices->setObjectName(QStringLiteral("figureChoices"));
    for (const char* text : {"平均点を表示", "順位を表示", "評定を表示"}) {
        auto* item = new QListWidgetItem(QString::fromUtf8(text), figureChoices);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        item->setCheckState(Qt::Unchecked);
    }
    figureChoices->setFixedHeight(3 * figureChoices->sizeHintForRow(0) + 2 * figureChoices->frameWidth() + 4);
    figureChoices->setFixedWidth(140);

    auto* orderBox = new QGroupBox(QStringLiteral("並べ方"), this);
    orderBox->setObjectName(QStringLiteral("orderBox"));
    numberOrderButton = new QRadioButton(QStringLiteral("出席番号順"), orderBox);
    scoreOrderButton = new QRadioButton(QStringLiteral("成績順"), orderBox);
    numberOrderButton->setObjectName(QStringLiteral("numberOrder"));
    scoreOrderButton->setObjectName(QStringLiteral("scoreOrder"));
    orderChooser = new QComboBox(orderBox);
    orderChooser->setObjectName(QStringLiteral("orderChooser"));
    orderChooser->setMinimumWidth(150);
    auto* orderLayout = new QVBoxLayout(orderBox);
    auto* modes = new QHBoxLayout;
    modes->addWidget(numberOrderButton);
    modes->addWidget(scoreOrderButton);
    orderLayout->addLayout(modes);
    orderLayout->addWidget(orderChooser);

    auto* averageCaption = new QLabel(QStringLiteral("総合平均点"), this);
    averageCaption->setObjectName(QStringLiteral("overallAverageCaption"));
    overallAverageLabel = new QLabel(QStringLiteral("0.00"), this);
    overallAverageLabel->setObjectName(QStringLiteral("overallAverage"));
    overallAverageLabel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    overallAverageLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    overallAverageLabel->setMinimumWidth(64);
    auto* average = new QHBoxLayout;
    average->addWidget(averageCaption);
    average->addWidget(overallAverageLabel);

    auto* closeButton = new QPushButton(QStringLiteral("閉じる"), this);
    closeButton->setObjectName(QStringLiteral("closeButton"));
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(reportActions()->button(ReportDestination::Printer, this));
    buttons->addWidget(reportActions()->button(ReportDestination::Preview, this));
    buttons->addWidget(reportActions()->button(ReportDestination::Csv, this));
    buttons->addWidget(reportActions()->button(ReportDestination::Xlsx, this));
    buttons->addWidget(closeButton);
    buttons->addStretch();

    auto* overruleButton = new QPushButton(QStringLiteral("評定を変える"), this);
    overruleButton->setObjectName(QStringLiteral("overruleButton"));
    overruleButton->setToolTip(QStringLiteral("選んだ欄の評定（総評定・評定1～4）を先生の判断で変えます（評定の欄をダブルクリックしても同じ）"));
    auto* listButton = new QPushButton(QStringLiteral("評定の変更一覧"), this);
    listButton->setObjectName(QStringLiteral("overrulingListButton"));
    listButton->setToolTip(QStringLiteral("このクラスで変えた評定をすべて一覧にします"));

    auto* side = new QVBoxLayout;
    side->addWidget(orderBox);
    side->addLayout(average);
    side->addWidget(overruleButton);
    side->addWidget(listButton);
    side->addStretch();

    weightNoteLabel = new QLabel(this);
    weightNoteLabel->setObjectName(QStringLiteral("weightNote"));
    weightNoteLabel->setWordWrap(true);
    weightNoteLabel->hide();

    auto* top = new QHBoxLayout;
    top->addWidget(viewpointGrid, 0, Qt::AlignTop);
    top->addWidget(figureChoices, 0, Qt::AlignTop);
    top->addLayout(side);
    top->addLayout(buttons);
    top->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(weightNoteLabel);
    layout->addWidget(pupilGrid, 1);

    // 閉じる is the window's cancel button: Esc closes the window.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, closeButton, &QPushButton::click);
    connect(closeButton, &QPushButton::clicked, this, [this] { closeWindow(); });
    connect(pupilGrid, &QTableWidget::cellDoubleClicked, this, [this](int row, int column) {
        int pupil = 0, group = 0;
        if (gradeAt(row, column, pupil, group))
            overruleAt(row, column);
    });
    connect(overruleButton, &QPushButton::clicked, this,
            [this] { overruleAt(pupilGrid->currentRow(), pupilGrid->currentColumn()); });
    connect(listButton, &QPushButton::clicked, this, [this] { OverrulingList::open(ctx, this); });
}

QSize OverallTallyWindow::sizeHint() const
{
    return TallyGrid::fitOnScreen(this, QSize(980, 680));
}

bool OverallTallyWindow::prepare()
{
    ClassData& data = ctx.data;
    setWindowTitle(QStringLiteral("総合成績集計-") + data.unitName());
    caption = overallTallyCaption(data);

    orderChooser->clear();
    orderChooser->addItem(QStringLiteral("総合成績順"));
    for (int v = 1; v <= Limits::Viewpoints; ++v)
        orderChooser->addItem(ViewpointNames::listName(data.viewpointName, data.subject, v));
    orderChooser->setCurrentIndex(0);
    orderChooser->setEnabled(false);
    numberOrderButton->setChecked(true);
    for (int i = 0; i < figureChoices->count(); ++i)
        figureChoices->item(i)->setCheckState(Qt::Checked);

    if (!ctx.check(RosterFile::load(data), this))
        return false;
    if (data.pupilCount <= 0) {
        ctx.ui.message(this, NewClass::noPupilsMessage());
        return false;
    }
    pupilGrid->setRowCount(data.pupilCount);
    if (!ctx.check(ScoreFile::load(data), this))
        return false;
    const QList<int> chosen = chooseTests();

    // A class file that cannot be read is named; the scores open without it.
    ctx.check(ClassFileHook::load(data), this);
    {
        BusyCursor busy(ctx.ui);
        figures = std::make_unique<OverallTally>(computeOverallTally(data, data.subject, chosen));
    }
    tallySubject = data.subject;
    tallyClassNumber = data.classNumber;
    weightNoteLabel->setText(OverallTallyText::weightedTests(*figures));
    weightNoteLabel->setVisible(figures->weighted);
    for (int v = 1; v <= Limits::Viewpoints; ++v)
        TallyGrid::setRow(viewpointGrid, v - 1, OverallTallyText::viewpointRow(*figures, v));
    showRows();

    connect(orderChooser, &QComboBox::currentIndexChanged, this, [this] { showRows(); });
    connect(numberOrderButton, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            orderModeChosen(false);
    });
    connect(scoreOrderButton, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            orderModeChosen(true);
    });
    connect(figureChoices, &QListWidget::itemChanged, this, [this] { showRows(); });
    return true;
}

QList<int> OverallTallyWindow::chooseTests()
{
    QWidget* owner = ctx.frame ? dynamic_cast<QWidget*>(ctx.frame) : nullptr;
    TestPickerDialog selection(ctx, owner ? owner : this);
    selection.prepare(ctx.data.tests);
    ctx.ui.runModal(selection);
    return selection.chosenTests();
}

// Score order lets the teacher choose the overall or a viewpoint's score.
void OverallTallyWindow::orderModeChosen(bool byScore)
{
    orderChooser->setEnabled(byScore);
    showRows();
    if (byScore)
        orderChooser->setFocus();
}

void OverallTallyWindow::showRows()
{
    if (!figures)
        return;
    BusyCursor busy(ctx.ui);
    order.byScore = scoreOrderButton->isChecked();
    order.viewpoint = qMax(0, orderChooser->currentIndex());
    figuresShown.average = figureChoices->item(0)->checkState() == Qt::Checked;
    figuresShown.rank = figureChoices->item(1)->checkState() == Qt::Checked;
    figuresShown.evaluation = figureChoices->item(2)->checkState() == Qt::Checked;
    pupilGrid->setUpdatesEnabled(false);
    pupilGrid->clearContents();
    pupilGrid->setCurrentCell(0, 0);
    pupilGrid->scrollToTop();
    TallyGrid::setRows(pupilGrid, overallGridRows(*figures, order, figuresShown));
    pupilGrid->setCurrentCell(0, 0);
    pupilGrid->setUpdatesEnabled(true);
    overallAverageLabel->setText(OverallTallyText::overallAverage(*figures));
}

bool OverallTallyWindow::gradeAt(int row, int column, int& pupil, int& group) const
{
    if (!figures || row < 0 || row >= figures->pupils || column < 4 || (column - 4) % 3 != 0)
        return false;
    pupil = pupilAt(*figures, order, row + 1);
    group = (column - 4) / 3;
    return pupil >= 1 && group <= Limits::Viewpoints;
}

void OverallTallyWindow::overruleAt(int row, int column)
{
    int pupil = 0, group = 0;
    if (!gradeAt(row, column, pupil, group)) {
        if (!figures || row < 0 || row >= figures->pupils) {
            ctx.ui.message(this, QStringLiteral("評定を変える児童の欄を選んでください。"), Ui::Buttons::Ok, Ui::Icon::Information);
            return;
        }
        column = 4;  // the row's overall grade
        gradeAt(row, column, pupil, group);
    }
    const TallyFigure& figure = group == 0 ? figures->overall[pupil] : figures->viewpoint[group][pupil];
    OverrulingEdit::Request request =
        OverrulingEdit::requestFor(tallySubject, tallyClassNumber, pupil, figures->names[pupil], group,
                                   figures->viewpointNames[group], figure.computed);
    request.tests = figures->overrulingTests;
    if (!request.tests.isEmpty())
        request.testsText = figures->chosenTestNames.join(QStringLiteral("、"));
    const std::optional<QList<Overruling>> changed = OverrulingEdit::edit(ctx, this, request);
    if (!changed)
        return;
    applyOverrulings(*figures, *changed);
    showRows();
    pupilGrid->setCurrentCell(row, column);
}

// The sheet is the list as last shown: the tally in the order and with the figures
// of the last display.
void OverallTallyWindow::output(ReportDestination destination)
{
    if (!figures)
        return;
    BusyCursor busy(ctx.ui);
    ctx.check(ctx.reports.run(this, aryoikiSheet(*figures, caption, order, figuresShown), destination,
                              aryoikiPreviewTitle(*figures, caption, order)),
              this);
}
