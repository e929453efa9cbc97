#include "reports/PupilResultsWindow.h"

#include "model/RosterFile.h"
#include "model/ScoreFile.h"
#include "reports/TallyGrid.h"
#include "frame/MainFrame.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const QString NoPupils = QStringLiteral("クラス人数が0のままです.編集の氏名ﾒﾝﾃﾅﾝｽで氏名を入力してください.");

// A label that shows a figure, framed like an output field.
QLabel* figureLabel(QWidget* parent, const QString& name, int minimumWidth)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setMinimumWidth(minimumWidth);
    return label;
}

QLabel* caption(QWidget* parent, const QString& name, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

}  // namespace

PupilResultsWindow::PupilResultsWindow(AppContext& ctx, QWidget* parent) : TallyWindow(ctx, true, parent)
{
    setObjectName(QStringLiteral("PupilResultsWindow"));
    setWindowTitle(QStringLiteral("個人別成績一覧"));
    buildControls();
}

PupilResultsWindow::~PupilResultsWindow() = default;

void PupilResultsWindow::buildControls()
{
    auto* chooser = new QHBoxLayout;
    Label1 = caption(this, QStringLiteral("Label1"), QStringLiteral("児童氏名"));
    Cb_Name = new QComboBox(this);
    Cb_Name->setObjectName(QStringLiteral("Cb_Name"));
    Cb_Name->setMinimumWidth(220);
    Cb_Name->setMaxVisibleItems(20);
    chooser->addWidget(Label1);
    chooser->addWidget(Cb_Name);
    chooser->addStretch();

    Grid1 = TallyGrid::make(this, QStringLiteral("Grid1"), PupilTallyText::headings());
    TallyGrid::keepProportionalWidths(Grid1, {2, 9, 3, 3, 3, 3, 3, 2}, 28);

    frameOverall = new QGroupBox(QStringLiteral("教科内総合"), this);
    auto* overall = new QHBoxLayout(frameOverall);
    Label2[0] = caption(frameOverall, QStringLiteral("Label2_0"), QStringLiteral("平均"));
    Lb_Avarage[0] = figureLabel(frameOverall, QStringLiteral("Lb_Avarage_0"), 56);
    Label4 = caption(frameOverall, QStringLiteral("Label4"), QStringLiteral("点"));
    Lb_SouJuni = figureLabel(frameOverall, QStringLiteral("Lb_SouJuni"), 36);
    Label5 = caption(frameOverall, QStringLiteral("Label5"), QStringLiteral("位"));
    Label6 = caption(frameOverall, QStringLiteral("Label6"), QStringLiteral("評定"));
    lbsHyotei = figureLabel(frameOverall, QStringLiteral("lbsHyotei"), 30);
    lbsHyotei->setAlignment(Qt::AlignCenter);
    for (QWidget* w : std::initializer_list<QWidget*>{Label2[0], Lb_Avarage[0], Label4, Lb_SouJuni, Label5})
        overall->addWidget(w);
    overall->addSpacing(16);
    overall->addWidget(Label6);
    overall->addWidget(lbsHyotei);
    overall->addStretch();

    frameViewpoints = new QGroupBox(QStringLiteral("観点別平均点"), this);
    auto* viewpoints = new QGridLayout(frameViewpoints);
    viewpoints->addWidget(new QLabel(QStringLiteral("平均"), frameViewpoints), 0, 1, Qt::AlignCenter);
    viewpoints->addWidget(new QLabel(QStringLiteral("順位"), frameViewpoints), 0, 2, Qt::AlignCenter);
    viewpoints->addWidget(new QLabel(QStringLiteral("評定"), frameViewpoints), 0, 3, Qt::AlignCenter);
    for (int k = 1; k <= 4; ++k) {
        Label2[k] = caption(frameViewpoints, QStringLiteral("Label2_%1").arg(k), QString());
        Lb_Avarage[k] = figureLabel(frameViewpoints, QStringLiteral("Lb_Avarage_%1").arg(k), 56);
        Label3[k - 1] = figureLabel(frameViewpoints, QStringLiteral("Label3_%1").arg(k - 1), 36);
        lbHyotei[k - 1] = figureLabel(frameViewpoints, QStringLiteral("lbHyotei_%1").arg(k - 1), 30);
        lbHyotei[k - 1]->setAlignment(Qt::AlignCenter);
        viewpoints->addWidget(Label2[k], k, 0);
        viewpoints->addWidget(Lb_Avarage[k], k, 1);
        viewpoints->addWidget(Label3[k - 1], k, 2);
        viewpoints->addWidget(lbHyotei[k - 1], k, 3);
    }
    viewpoints->setColumnStretch(0, 1);

    CmdPrint[0] = new QPushButton(QStringLiteral("印 刷(&P)"), this);
    CmdPrint[1] = new QPushButton(QStringLiteral("ﾌﾟﾚﾋﾞｭｰ(&O)"), this);
    Bt_End = new QPushButton(QStringLiteral("閉じる"), this);
    CmdPrint[0]->setObjectName(QStringLiteral("CmdPrint_0"));
    CmdPrint[1]->setObjectName(QStringLiteral("CmdPrint_1"));
    CmdCsv = new QPushButton(QStringLiteral("CSV保存"), this);
    CmdCsv->setObjectName(QStringLiteral("CmdCsv"));
    Bt_End->setObjectName(QStringLiteral("Bt_End"));
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(CmdPrint[0]);
    buttons->addWidget(CmdPrint[1]);
    buttons->addWidget(CmdCsv);
    buttons->addStretch();
    buttons->addWidget(Bt_End);

    auto* frames = new QVBoxLayout;
    frames->addWidget(frameOverall);
    frames->addWidget(frameViewpoints);
    auto* bottom = new QHBoxLayout;
    bottom->addLayout(frames, 1);
    bottom->addLayout(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(chooser);
    layout->addWidget(Grid1, 1);
    layout->addLayout(bottom);

    for (int index = 0; index < 2; ++index)
        connect(CmdPrint[index], &QPushButton::clicked, this, [this, index] { CmdPrint_Click(index); });
    connect(CmdCsv, &QPushButton::clicked, this, [this] { CmdPrint_Click(2); });
    connect(Bt_End, &QPushButton::clicked, this, [this] { Bt_End_Click(); });
}

QSize PupilResultsWindow::sizeHint() const
{
    return TallyGrid::fitOnScreen(this, QSize(680, 640));
}

bool PupilResultsWindow::prepare()
{
    ClassData& data = ctx.data;
    setWindowTitle(kojinCaption(data));
    if (!CalKojinData())
        return false;
    Cb_Name->clear();
    for (int p = 1; p <= figures->pupils; ++p)
        Cb_Name->addItem(PupilTallyText::pupilItem(*figures, p));
    Cb_Name->setCurrentIndex(0);
    for (int k = 1; k <= 4; ++k)
        Label2[k]->setText(figures->viewpointLabel[k]);
    CalRyoiki();
    ShowOverall();
    connect(Cb_Name, &QComboBox::currentIndexChanged, this, [this] { Cb_Name_Click(); });
    return true;
}

bool PupilResultsWindow::CalKojinData()
{
    ClassData& data = ctx.data;
    if (!ctx.check(RosterFile::load(data), this) || !ctx.check(ScoreFile::load(data), this))
        return false;
    if (data.pupilCount <= 0) {
        ctx.ui.message(this, NoPupils);
        return false;
    }
    BusyCursor busy(ctx.ui);
    figures = std::make_unique<PupilTally>(computePupilTally(data, data.subject));
    CurrentPupil = 1;
    DspKojin(CurrentPupil);
    return true;
}

void PupilResultsWindow::Cb_Name_Click()
{
    if (!figures || Cb_Name->currentIndex() < 0)
        return;
    CurrentPupil = Cb_Name->currentIndex() + 1;
    DspKojin(CurrentPupil);
    CalRyoiki();
    ShowOverall();
}

void PupilResultsWindow::DspKojin(int pupil)
{
    TallyGrid::setRows(Grid1, pupilTestRows(*figures, pupil));
    Grid1->scrollToTop();
}

void PupilResultsWindow::CalRyoiki()
{
    const PupilSummary summary = pupilSummary(*figures, CurrentPupil);
    for (int k = 1; k <= 4; ++k) {
        Lb_Avarage[k]->setText(summary.average[k]);
        Label3[k - 1]->setText(summary.rank[k]);
        lbHyotei[k - 1]->setText(summary.evaluation[k]);
    }
}

void PupilResultsWindow::ShowOverall()
{
    const PupilSummary summary = pupilSummary(*figures, CurrentPupil);
    Lb_Avarage[0]->setText(summary.average[0]);
    Lb_SouJuni->setText(summary.rank[0]);
    lbsHyotei->setText(summary.evaluation[0]);
}

// The sheet carries what the window shows: the chosen pupil, the summary lines and
// the grid rows.
void PupilResultsWindow::CmdPrint_Click(int index)
{
    if (!figures)
        return;
    BusyCursor busy(ctx.ui);
    PupilSummary shown;
    QString labels[5];
    shown.average[0] = Lb_Avarage[0]->text();
    shown.rank[0] = Lb_SouJuni->text();
    shown.evaluation[0] = lbsHyotei->text();
    for (int k = 1; k <= 4; ++k) {
        labels[k] = Label2[k]->text();
        shown.average[k] = Lb_Avarage[k]->text();
        shown.rank[k] = Label3[k - 1]->text();
        shown.evaluation[k] = lbHyotei[k - 1]->text();
    }
    QList<QStringList> rows;
    for (int r = 0; r < Grid1->rowCount(); ++r)
        rows.append(TallyGrid::rowTexts(Grid1, r));
    const QString nameText = Cb_Name->currentText();
    const ReportSheet sheet = kojinSheet(windowTitle(), nameText, labels, shown, rows);
    ctx.check(ctx.reports.run(this, sheet, destinationOf(index),
                              windowTitle() + nameText),
              this);
}

void PupilResultsWindow::Bt_End_Click()
{
    closeWindow();
}


