#include "reports/OverallTallyWindow.h"

#include "model/RosterFile.h"
#include "model/ScoreFile.h"
#include "reports/TestPickerDialog.h"
#include "reports/TallyGrid.h"
#include "frame/MainFrame.h"

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

namespace {
const QString NoPupils = QStringLiteral("クラス人数が0のままです.編集の氏名ﾒﾝﾃﾅﾝｽで氏名を入力してください.");
}

OverallTallyWindow::OverallTallyWindow(AppContext& ctx, QWidget* parent) : TallyWindow(ctx, true, parent)
{
    setObjectName(QStringLiteral("OverallTallyWindow"));
    setWindowTitle(QStringLiteral("総合成績集計"));
    buildControls();
}

OverallTallyWindow::~OverallTallyWindow() = default;

void OverallTallyWindow::buildControls()
{
    Grid1 = TallyGrid::make(this, QStringLiteral("Grid1"), OverallTallyText::headings(), 2);
    // Number and name, then per group average, rank and evaluation.
    const int groupWidths[3] = {54, 42, 40};
    Grid1->setColumnWidth(0, 40);
    Grid1->setColumnWidth(1, 120);
    for (int c = 2; c < OverallTallyText::Columns; ++c)
        Grid1->setColumnWidth(c, groupWidths[(c - 2) % 3]);
    QList<int> rightAligned{0};
    for (int c = 2; c < OverallTallyText::Columns; ++c)
        rightAligned.append(c);
    TallyGrid::alignColumns(Grid1, rightAligned, Qt::AlignRight | Qt::AlignVCenter);

    Grid2 = TallyGrid::make(this, QStringLiteral("Grid2"),
                            {QStringLiteral("番号"), QStringLiteral("観　点　名"), QStringLiteral("平　均"),
                             QStringLiteral("該当テスト数")});
    Grid2->setRowCount(4);
    TallyGrid::keepProportionalWidths(Grid2, {0.7, 3.3, 1.4, 1.8}, 7.2);
    Grid2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Grid2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Grid2->setFixedHeight(Grid2->horizontalHeader()->sizeHint().height() + 4 * Grid2->verticalHeader()->defaultSectionSize() + 4);
    Grid2->setMinimumWidth(360);

    lstDisplay = new QListWidget(this);
    lstDisplay->setObjectName(QStringLiteral("lstDisplay"));
    for (const char* text : {"平均点を表示", "順位を表示", "評定を表示"}) {
        auto* item = new QListWidgetItem(QString::fromUtf8(text), lstDisplay);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        item->setCheckState(Qt::Unchecked);
    }
    lstDisplay->setFixedHeight(3 * lstDisplay->sizeHintForRow(0) + 2 * lstDisplay->frameWidth() + 4);
    lstDisplay->setFixedWidth(140);

    Frame1 = new QGroupBox(QStringLiteral("並べ方"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Op_Mode[0] = new QRadioButton(QStringLiteral("出席番号順"), Frame1);
    Op_Mode[1] = new QRadioButton(QStringLiteral("成績順"), Frame1);
    Op_Mode[0]->setObjectName(QStringLiteral("Op_Mode_0"));
    Op_Mode[1]->setObjectName(QStringLiteral("Op_Mode_1"));
    Cb_RyoikiName = new QComboBox(Frame1);
    Cb_RyoikiName->setObjectName(QStringLiteral("Cb_RyoikiName"));
    Cb_RyoikiName->setMinimumWidth(150);
    auto* order = new QVBoxLayout(Frame1);
    auto* modes = new QHBoxLayout;
    modes->addWidget(Op_Mode[0]);
    modes->addWidget(Op_Mode[1]);
    order->addLayout(modes);
    order->addWidget(Cb_RyoikiName);

    Label1 = new QLabel(QStringLiteral("総合平均点"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    lbSouAvarage = new QLabel(QStringLiteral("0.00"), this);
    lbSouAvarage->setObjectName(QStringLiteral("lbSouAvarage"));
    lbSouAvarage->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    lbSouAvarage->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lbSouAvarage->setMinimumWidth(64);
    auto* average = new QHBoxLayout;
    average->addWidget(Label1);
    average->addWidget(lbSouAvarage);

    CmdPrint[0] = new QPushButton(QStringLiteral("印 刷(&P)"), this);
    CmdPrint[1] = new QPushButton(QStringLiteral("ﾌﾟﾚﾋﾞｭｰ(&O)"), this);
    Command1 = new QPushButton(QStringLiteral("閉じる"), this);
    CmdPrint[0]->setObjectName(QStringLiteral("CmdPrint_0"));
    CmdPrint[1]->setObjectName(QStringLiteral("CmdPrint_1"));
    CmdCsv = new QPushButton(QStringLiteral("CSV保存"), this);
    CmdCsv->setObjectName(QStringLiteral("CmdCsv"));
    Command1->setObjectName(QStringLiteral("Command1"));
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(CmdPrint[0]);
    buttons->addWidget(CmdPrint[1]);
    buttons->addWidget(CmdCsv);
    buttons->addWidget(Command1);
    buttons->addStretch();

    auto* side = new QVBoxLayout;
    side->addWidget(Frame1);
    side->addLayout(average);
    side->addStretch();

    auto* top = new QHBoxLayout;
    top->addWidget(Grid2, 0, Qt::AlignTop);
    top->addWidget(lstDisplay, 0, Qt::AlignTop);
    top->addLayout(side);
    top->addLayout(buttons);
    top->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(Grid1, 1);

    // Command1 is the window's cancel button: Esc closes the window.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, Command1, &QPushButton::click);
    for (int index = 0; index < 2; ++index)
        connect(CmdPrint[index], &QPushButton::clicked, this, [this, index] { CmdPrint_Click(index); });
    connect(CmdCsv, &QPushButton::clicked, this, [this] { CmdPrint_Click(2); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
}

QSize OverallTallyWindow::sizeHint() const
{
    return TallyGrid::fitOnScreen(this, QSize(980, 680));
}

bool OverallTallyWindow::prepare()
{
    ClassData& data = ctx.data;
    setWindowTitle(QStringLiteral("総合成績集計-") + data.unitName());

    Cb_RyoikiName->clear();
    Cb_RyoikiName->addItem(QStringLiteral("総合成績順"));
    for (int v = 1; v <= Limits::Viewpoints; ++v)
        Cb_RyoikiName->addItem(data.viewpointName[data.subject][v]);
    Cb_RyoikiName->setCurrentIndex(0);
    Cb_RyoikiName->setEnabled(false);
    Op_Mode[0]->setChecked(true);
    for (int i = 0; i < lstDisplay->count(); ++i)
        lstDisplay->item(i)->setCheckState(Qt::Checked);

    if (!ctx.check(RosterFile::load(data), this))
        return false;
    if (data.pupilCount <= 0) {
        ctx.ui.message(this, NoPupils);
        return false;
    }
    Grid1->setRowCount(data.pupilCount);
    if (!ctx.check(ScoreFile::load(data), this))
        return false;
    const QList<int> chosen = chooseTests();

    {
        BusyCursor busy(ctx.ui);
        figures = std::make_unique<OverallTally>(computeOverallTally(data, data.subject, chosen));
    }
    for (int v = 1; v <= Limits::Viewpoints; ++v)
        TallyGrid::setRow(Grid2, v - 1, OverallTallyText::viewpointRow(*figures, v));
    SortbyNumber();

    connect(Cb_RyoikiName, &QComboBox::currentIndexChanged, this, [this] { Cb_RyoikiName_Click(); });
    for (int index = 0; index < 2; ++index)
        connect(Op_Mode[index], &QRadioButton::toggled, this, [this, index](bool on) {
            if (on)
                Op_Mode_Click(index);
        });
    connect(lstDisplay, &QListWidget::itemChanged, this, [this] { lstDisplay_Click(); });
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

OverallOrder OverallTallyWindow::currentOrder() const
{
    OverallOrder order;
    order.byScore = Op_Mode[1]->isChecked();
    order.viewpoint = qMax(0, Cb_RyoikiName->currentIndex());
    return order;
}

ShownFigures OverallTallyWindow::shownFigures() const
{
    ShownFigures shown;
    shown.average = lstDisplay->item(0)->checkState() == Qt::Checked;
    shown.rank = lstDisplay->item(1)->checkState() == Qt::Checked;
    shown.evaluation = lstDisplay->item(2)->checkState() == Qt::Checked;
    return shown;
}

void OverallTallyWindow::GridClear()
{
    Grid1->clearContents();
    Grid1->setCurrentCell(0, 0);
    Grid1->scrollToTop();
}

void OverallTallyWindow::showRows()
{
    if (!figures)
        return;
    BusyCursor busy(ctx.ui);
    Grid1->setUpdatesEnabled(false);
    GridClear();
    OverallOrder order = currentOrder();
    TallyGrid::setRows(Grid1, overallGridRows(*figures, order, shownFigures()));
    Grid1->setCurrentCell(0, 0);
    Grid1->setUpdatesEnabled(true);
    lbSouAvarage->setText(OverallTallyText::overallAverage(*figures));
}

void OverallTallyWindow::SortbyNumber()
{
    showRows();
}

void OverallTallyWindow::SortbySougou()
{
    showRows();
}

void OverallTallyWindow::SortbyRyoiki()
{
    showRows();
}

void OverallTallyWindow::Cb_RyoikiName_Click()
{
    if (Cb_RyoikiName->currentIndex() >= 1)
        SortbyRyoiki();
    else
        SortbySougou();
}

void OverallTallyWindow::Op_Mode_Click(int index)
{
    if (index == 1) {
        Cb_RyoikiName->setEnabled(true);
        if (Cb_RyoikiName->currentIndex() >= 1)
            SortbyRyoiki();
        else
            SortbySougou();
        Cb_RyoikiName->setFocus();
    } else {
        Cb_RyoikiName->setEnabled(false);
        SortbyNumber();
    }
}

void OverallTallyWindow::lstDisplay_Click()
{
    if (Op_Mode[0]->isChecked())
        SortbyNumber();
    else if (Cb_RyoikiName->currentIndex() >= 1)
        SortbyRyoiki();
    else
        SortbySougou();
}

void OverallTallyWindow::CmdPrint_Click(int index)
{
    BusyCursor busy(ctx.ui);
    KAll_Print(index);
}

// The sheet is the list exactly as shown: the grid's texts in their order, the
// class average as the label shows it, and the viewpoint figures of the tally.
void OverallTallyWindow::KAll_Print(int index)
{
    if (!figures)
        return;
    QList<QStringList> rows;
    for (int r = 0; r < Grid1->rowCount(); ++r)
        rows.append(TallyGrid::rowTexts(Grid1, r));
    const OverallOrder order = currentOrder();
    const ReportSheet sheet = aryoikiSheet(*figures, windowTitle(), order, lbSouAvarage->text(), rows);
    ctx.check(ctx.reports.run(this, sheet, destinationOf(index),
                              aryoikiPreviewTitle(*figures, windowTitle(), order)),
              this);
}

void OverallTallyWindow::Command1_Click()
{
    closeWindow();
}


