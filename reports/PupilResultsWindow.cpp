#include "reports/PupilResultsWindow.h"

#include "model/ClassFileHook.h"
#include "model/NewClass.h"
#include "model/RosterFile.h"
#include "model/ScoreFile.h"
#include "reports/OverrulingEdit.h"
#include "reports/OverrulingList.h"
#include "reports/TallyGrid.h"
#include "frame/ReportActions.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

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
    pupilChooser = new QComboBox(this);
    pupilChooser->setObjectName(QStringLiteral("pupilChooser"));
    pupilChooser->setMinimumWidth(220);
    pupilChooser->setMaxVisibleItems(20);
    chooser->addWidget(new QLabel(QStringLiteral("児童氏名"), this));
    chooser->addWidget(pupilChooser);
    chooser->addStretch();

    testGrid = TallyGrid::make(this, QStringLiteral("testGrid"), PupilTallyText::headings());
    TallyGrid::keepProportionalWidths(testGrid, {2, 9, 3, 3, 3, 3, 3, 2}, 28);

    auto* overallBox = new QGroupBox(QStringLiteral("教科内総合"), this);
    overallBox->setObjectName(QStringLiteral("overallBox"));
    auto* overall = new QHBoxLayout(overallBox);
    overallAverageLabel = figureLabel(overallBox, QStringLiteral("overallAverage"), 56);
    overallRankLabel = figureLabel(overallBox, QStringLiteral("overallRank"), 36);
    overallGradeLabel = figureLabel(overallBox, QStringLiteral("overallGrade"), 30);
    overallGradeLabel->setAlignment(Qt::AlignCenter);
    overall->addWidget(new QLabel(QStringLiteral("平均"), overallBox));
    overall->addWidget(overallAverageLabel);
    overall->addWidget(new QLabel(QStringLiteral("点"), overallBox));
    overall->addWidget(overallRankLabel);
    overall->addWidget(new QLabel(QStringLiteral("位"), overallBox));
    overall->addSpacing(16);
    overall->addWidget(new QLabel(QStringLiteral("評定"), overallBox));
    overall->addWidget(overallGradeLabel);
    overall->addStretch();

    auto* viewpointBox = new QGroupBox(QStringLiteral("観点別平均点"), this);
    viewpointBox->setObjectName(QStringLiteral("viewpointBox"));
    auto* viewpoints = new QGridLayout(viewpointBox);
    viewpoints->addWidget(new QLabel(QStringLiteral("平均"), viewpointBox), 0, 1, Qt::AlignCenter);
    viewpoints->addWidget(new QLabel(QStringLiteral("順位"), viewpointBox), 0, 2, Qt::AlignCenter);
    viewpoints->addWidget(new QLabel(QStringLiteral("評定"), viewpointBox), 0, 3, Qt::AlignCenter);
    for (int k = 0; k < 4; ++k) {
        viewpointLabels[k] = new QLabel(viewpointBox);
        viewpointLabels[k]->setObjectName(QStringLiteral("viewpoint%1").arg(k + 1));
        viewpointAverageLabels[k] = figureLabel(viewpointBox, QStringLiteral("viewpointAverage%1").arg(k + 1), 56);
        viewpointRankLabels[k] = figureLabel(viewpointBox, QStringLiteral("viewpointRank%1").arg(k + 1), 36);
        viewpointGradeLabels[k] = figureLabel(viewpointBox, QStringLiteral("viewpointGrade%1").arg(k + 1), 30);
        viewpointGradeLabels[k]->setAlignment(Qt::AlignCenter);
        viewpoints->addWidget(viewpointLabels[k], k + 1, 0);
        viewpoints->addWidget(viewpointAverageLabels[k], k + 1, 1);
        viewpoints->addWidget(viewpointRankLabels[k], k + 1, 2);
        viewpoints->addWidget(viewpointGradeLabels[k], k + 1, 3);
    }
    viewpoints->setColumnStretch(0, 1);
    // A double-click on a grade gives the teacher's own.
    overallGradeLabel->installEventFilter(this);
    overallGradeLabel->setToolTip(QStringLiteral("ダブルクリックで評定を変えます"));
    for (QLabel* label : viewpointGradeLabels) {
        label->installEventFilter(this);
        label->setToolTip(QStringLiteral("ダブルクリックで評定を変えます"));
    }

    noteLabel = new QLabel(this);
    noteLabel->setObjectName(QStringLiteral("noteLabel"));
    noteLabel->setWordWrap(true);

    auto* closeButton = new QPushButton(QStringLiteral("閉じる"), this);
    closeButton->setObjectName(QStringLiteral("closeButton"));
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(reportActions()->button(ReportDestination::Printer, this));
    buttons->addWidget(reportActions()->button(ReportDestination::Preview, this));
    buttons->addWidget(reportActions()->button(ReportDestination::Csv, this));
    buttons->addWidget(reportActions()->button(ReportDestination::Xlsx, this));
    auto* allPrintButton = new QPushButton(QStringLiteral("全員を印刷"), this);
    allPrintButton->setObjectName(QStringLiteral("allPrintButton"));
    allPrintButton->setToolTip(QStringLiteral("クラス全員の個人別成績集計を1人1ページで印刷します"));
    auto* allPdfButton = new QPushButton(QStringLiteral("全員をPDF保存"), this);
    allPdfButton->setObjectName(QStringLiteral("allPdfButton"));
    allPdfButton->setToolTip(QStringLiteral("クラス全員の個人別成績集計を1つのPDFファイル（1人1ページ）に保存します"));
    auto* overruleButton = new QPushButton(QStringLiteral("評定を変える"), this);
    overruleButton->setObjectName(QStringLiteral("overruleButton"));
    overruleButton->setToolTip(QStringLiteral("この児童の評定を先生の判断で変えます（評定の欄をダブルクリックしても同じ）"));
    auto* listButton = new QPushButton(QStringLiteral("評定の変更一覧"), this);
    listButton->setObjectName(QStringLiteral("overrulingListButton"));
    buttons->addSpacing(8);
    buttons->addWidget(allPrintButton);
    buttons->addWidget(allPdfButton);
    buttons->addSpacing(8);
    buttons->addWidget(overruleButton);
    buttons->addWidget(listButton);
    buttons->addStretch();
    buttons->addWidget(closeButton);

    auto* frames = new QVBoxLayout;
    frames->addWidget(overallBox);
    frames->addWidget(viewpointBox);
    auto* bottom = new QHBoxLayout;
    bottom->addLayout(frames, 1);
    bottom->addLayout(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(chooser);
    layout->addWidget(noteLabel);
    layout->addWidget(testGrid, 1);
    layout->addLayout(bottom);

    connect(closeButton, &QPushButton::clicked, this, [this] { closeWindow(); });
    connect(allPrintButton, &QPushButton::clicked, this, [this] { outputAll(false); });
    connect(allPdfButton, &QPushButton::clicked, this, [this] { outputAll(true); });
    connect(overruleButton, &QPushButton::clicked, this, [this] { chooseGradeToOverrule(); });
    connect(listButton, &QPushButton::clicked, this, [this] { OverrulingList::open(ctx, this); });
}

QSize PupilResultsWindow::sizeHint() const
{
    return TallyGrid::fitOnScreen(this, QSize(680, 640));
}

bool PupilResultsWindow::prepare()
{
    ClassData& data = ctx.data;
    caption = kojinCaption(data);
    setWindowTitle(caption);
    if (!tallyClass())
        return false;
    pupilChooser->clear();
    for (int p = 1; p <= figures->pupils; ++p)
        pupilChooser->addItem(PupilTallyText::pupilItem(*figures, p));
    pupilChooser->setCurrentIndex(0);
    for (int k = 1; k <= 4; ++k)
        viewpointLabels[k - 1]->setText(PupilTallyText::viewpointLabel(*figures, k));
    showPupil(1);
    connect(pupilChooser, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            showPupil(index + 1);
    });
    return true;
}

bool PupilResultsWindow::tallyClass()
{
    ClassData& data = ctx.data;
    if (!ctx.check(RosterFile::load(data), this) || !ctx.check(ScoreFile::load(data), this))
        return false;
    // A class file that cannot be read is named; the scores open without it.
    ctx.check(ClassFileHook::load(data), this);
    if (data.pupilCount <= 0) {
        ctx.ui.message(this, NewClass::noPupilsMessage());
        return false;
    }
    BusyCursor busy(ctx.ui);
    figures = std::make_unique<PupilTally>(computePupilTally(data, data.subject));
    tallySubject = data.subject;
    tallyClassNumber = data.classNumber;
    QStringList notes{PupilTallyText::averageNote(*figures), PupilTallyText::notEnteredNote(*figures)};
    notes.removeAll(QString());
    noteLabel->setText(notes.join(QStringLiteral("　")));
    noteLabel->setVisible(!notes.isEmpty());
    return true;
}

void PupilResultsWindow::showPupil(int chosen)
{
    if (!figures)
        return;
    pupil = chosen;
    TallyGrid::setRows(testGrid, PupilTallyText::gridRows(*figures, pupil));
    testGrid->scrollToTop();
    const PupilSummary summary = PupilTallyText::summary(*figures, pupil);
    for (int k = 1; k <= 4; ++k) {
        viewpointAverageLabels[k - 1]->setText(summary.average[k]);
        viewpointRankLabels[k - 1]->setText(summary.rank[k]);
        viewpointGradeLabels[k - 1]->setText(summary.evaluation[k]);
    }
    overallAverageLabel->setText(summary.average[0]);
    overallRankLabel->setText(summary.rank[0]);
    overallGradeLabel->setText(summary.evaluation[0]);
}

bool PupilResultsWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == overallGradeLabel) {
            overrule(0);
            return true;
        }
        for (int k = 0; k < 4; ++k)
            if (watched == viewpointGradeLabels[k]) {
                overrule(k + 1);
                return true;
            }
    }
    return TallyWindow::eventFilter(watched, event);
}

void PupilResultsWindow::chooseGradeToOverrule()
{
    if (!figures)
        return;
    QStringList choices{GradeOverrulings::groupName(0)};
    for (int v = 1; v <= Limits::Viewpoints; ++v)
        choices << GradeOverrulings::groupName(v);
    choices << QStringLiteral("キャンセル");
    const int chosen = ctx.ui.ask(this,
                                  QStringLiteral("%1の、どの評定を変えますか。")
                                      .arg(Names::numberedPupil(pupil, figures->names[pupil])),
                                  choices, 0, int(choices.size()) - 1);
    if (chosen >= 0 && chosen <= Limits::Viewpoints)
        overrule(chosen);
}

void PupilResultsWindow::overrule(int group)
{
    if (!figures)
        return;
    // Over every test of the unit.
    const OverrulingEdit::Request request =
        OverrulingEdit::requestFor(tallySubject, tallyClassNumber, pupil, figures->names[pupil], group,
                                   figures->viewpointNames[qBound(0, group, Limits::Viewpoints)],
                                   pupilFigure(*figures, pupil, group).computed);
    const std::optional<QList<Overruling>> changed = OverrulingEdit::edit(ctx, this, request);
    if (!changed)
        return;
    applyOverrulings(*figures, *changed);
    showPupil(pupil);
}

// The sheet of the pupil shown, from the tally the window keeps.
void PupilResultsWindow::output(ReportDestination destination)
{
    if (!figures)
        return;
    BusyCursor busy(ctx.ui);
    ctx.check(ctx.reports.run(this, kojinSheet(*figures, pupil, caption), destination,
                              kojinPreviewTitle(*figures, pupil, caption)),
              this);
}

// Every pupil's sheet from the same tally, a page (or more) per pupil.
void PupilResultsWindow::outputAll(bool asPdf)
{
    if (!figures)
        return;
    QList<ReportSheet> sheets;
    {
        BusyCursor busy(ctx.ui);
        sheets = kojinSheets(*figures, caption);
    }
    const QString title = kojinAllPreviewTitle(caption);
    ctx.check(asPdf ? ctx.reports.saveAllAsPdf(this, sheets, title)
                    : ctx.reports.runAll(this, sheets, ReportDestination::Printer, title),
              this);
}
