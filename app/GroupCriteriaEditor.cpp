#include "app/GroupCriteriaEditor.h"

#include "model/ClassData.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

// One threshold: the field that holds it, the box bound to it, the basis whose
// option switches the box on, and the captions beside the box.
struct GroupCriteriaEditor::Threshold {
    int GroupCriteria::*value;
    QLineEdit* GroupCriteriaEditor::*box;
    GradeBasis basis;
    bool best;  // the threshold of the best grade (the left box of its row)
    const char* name;
    const char* overallCaption;
    const char* viewpointCaption;
};

namespace {

// The whole number typed into a box (full-width digits and blanks around it are
// accepted); nothing when it holds none or one that cannot be stored.
std::optional<int> wholeNumber(const QString& text)
{
    // NFKC turns full-width digits and signs ("３０", "－５") into their plain forms.
    QString plain = text.normalized(QString::NormalizationForm_KC).trimmed();
    plain.replace(QChar(0x2212), QLatin1Char('-'));  // minus sign
    if (plain.isEmpty())
        return std::nullopt;
    for (int i = 0; i < plain.size(); ++i) {
        const QChar c = plain.at(i);
        if (!(c.isDigit() && c.unicode() < 128) && !(i == 0 && (c == QLatin1Char('-') || c == QLatin1Char('+'))))
            return std::nullopt;
    }
    bool ok = false;
    const int value = plain.toInt(&ok);
    if (!ok || value < -32768 || value > 32767)
        return std::nullopt;
    return value;
}

// Why a value makes no sense for a threshold of the basis (a rank or share below 0,
// a score above 100, a share above 100); empty when it is fine.
QString rangeProblem(GradeBasis basis, int value)
{
    switch (basis) {
    case GradeBasis::Rank:
        if (value < 0)
            return QStringLiteral("には0以上の順位を入力してください。");
        break;
    case GradeBasis::Score:
        if (value > 100)
            return QStringLiteral("には100以下の点数を入力してください。");
        break;
    case GradeBasis::Share:
    case GradeBasis::Goals:
        if (value < 0 || value > 100)
            return QStringLiteral("には0から100までの数を入力してください。");
        break;
    }
    return {};
}

// The captions of the boxes against goals: a viewpoint's, then the overall grade's.
const char* const GoalCaptions[2][2] = {{"％以上がＡ", "％未満がＣ"}, {"以上が３", "以下が１"}};
const QString PointsRange = QStringLiteral("には1から3までの数（小数第2位まで）を入力してください。");

}  // namespace

// In the order of the fields of GroupCriteria.
const std::array<GroupCriteriaEditor::Threshold, 6>& GroupCriteriaEditor::thresholds()
{
    static const std::array<Threshold, 6> table{{
        {&GroupCriteria::bestUpToRank, &GroupCriteriaEditor::bestUpToRankBox, GradeBasis::Rank, true,
         "bestUpToRankBox", "位以内が３", "位以内がＡ"},
        {&GroupCriteria::lowestFromRank, &GroupCriteriaEditor::lowestFromRankBox, GradeBasis::Rank, false,
         "lowestFromRankBox", "位以下が１", "位以下がＣ"},
        {&GroupCriteria::bestFromScore, &GroupCriteriaEditor::bestFromScoreBox, GradeBasis::Score, true,
         "bestFromScoreBox", "点以上が３", "点以上がＡ"},
        {&GroupCriteria::lowestUpToScore, &GroupCriteriaEditor::lowestUpToScoreBox, GradeBasis::Score, false,
         "lowestUpToScoreBox", "点以下が１", "点以下がＣ"},
        {&GroupCriteria::bestSharePercent, &GroupCriteriaEditor::bestSharePercentBox, GradeBasis::Share, true,
         "bestSharePercentBox", "％が３", "％がＡ"},
        {&GroupCriteria::lowestSharePercent, &GroupCriteriaEditor::lowestSharePercentBox, GradeBasis::Share, false,
         "lowestSharePercentBox", "％が１", "％がＣ"},
    }};
    return table;
}

GroupCriteriaEditor::GroupCriteriaEditor(int group, QWidget* parent) : QGroupBox(groupName(group), parent), group(group)
{
    setObjectName(group == SubjectCriteria::Overall ? QStringLiteral("overallCriteria")
                                                    : QStringLiteral("viewpointCriteria%1").arg(group));
    auto* layout = new QGridLayout(this);
    layout->setHorizontalSpacing(6);
    // Tight rows: the window fits the height of a 1366 × 768 screen.
    layout->setVerticalSpacing(0);
    layout->setContentsMargins(6, 2, 6, 2);
    // One row per basis: its option, then its two boxes with their captions.
    basisOptions = new QButtonGroup(this);
    const auto option = [this, layout](QRadioButton*& member, const char* name, const char* caption, GradeBasis basis) {
        member = new QRadioButton(QString::fromUtf8(caption), this);
        member->setObjectName(QLatin1String(name));
        basisOptions->addButton(member, int(basis));
        layout->addWidget(member, int(basis), 0);
    };
    option(rankOption, "rankOption", "順位で", GradeBasis::Rank);
    option(scoreOption, "scoreOption", "点数で", GradeBasis::Score);
    option(shareOption, "shareOption", "％で", GradeBasis::Share);
    option(goalOption, "goalOption", group == SubjectCriteria::Overall ? "観点から" : "到達率で", GradeBasis::Goals);
    connect(basisOptions, &QButtonGroup::idClicked, this, [this](int basis) { enableBoxesOf(GradeBasis(basis)); });
    const int boxWidth = fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12;
    for (const Threshold& threshold : thresholds()) {
        auto* box = new QLineEdit(this);
        box->setObjectName(QLatin1String(threshold.name));
        box->setFixedWidth(boxWidth);
        box->setAlignment(Qt::AlignRight);
        box->setMaxLength(6);
        this->*threshold.box = box;
        auto* label = new QLabel(caption(threshold, group), this);
        label->setBuddy(box);
        const int column = threshold.best ? 1 : 3;
        layout->addWidget(box, int(threshold.basis), column);
        layout->addWidget(label, int(threshold.basis), column + 1);
    }
    buildGoalRow(layout);
    layout->setColumnStretch(4, 1);
}

// The row of the fourth option: its two boxes and, for the overall grade, the
// ticks of the viewpoints that count.
void GroupCriteriaEditor::buildGoalRow(QGridLayout* layout)
{
    const bool overall = group == SubjectCriteria::Overall;
    goalOption->setToolTip(overall ? QStringLiteral("観点のＡ・Ｂ・Ｃを３・２・１点とし、数える観点の平均点で評定を決めます")
                                   : QStringLiteral("観点の平均点（小数第1位まで表示した値）でＡ・Ｂ・Ｃを決めます"));
    const int boxWidth = fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12;
    const int row = int(GradeBasis::Goals);
    const auto box = [this, layout, boxWidth, row, overall](QLineEdit*& member, const char* name, int column, int k) {
        member = new QLineEdit(this);
        member->setObjectName(QLatin1String(name));
        member->setFixedWidth(boxWidth);
        member->setAlignment(Qt::AlignRight);
        member->setMaxLength(6);
        auto* label = new QLabel(QString::fromUtf8(GoalCaptions[overall ? 1 : 0][k]), this);
        label->setBuddy(member);
        layout->addWidget(member, row, column);
        layout->addWidget(label, row, column + 1);
    };
    box(goalBestBox, "goalBestBox", 1, 0);
    box(goalLowestBox, "goalLowestBox", 3, 1);
    if (!overall)
        return;
    auto* ticks = new QHBoxLayout;
    ticks->addWidget(new QLabel(QStringLiteral("数える観点"), this));
    for (int v = 1; v <= Limits::Viewpoints; ++v) {
        countedBoxes[size_t(v)] = new QCheckBox(Names::viewpointHeading(v).right(1), this);
        countedBoxes[size_t(v)]->setObjectName(QStringLiteral("countedViewpoint%1").arg(v));
        ticks->addWidget(countedBoxes[size_t(v)]);
    }
    ticks->addStretch();
    layout->addLayout(ticks, row + 1, 1, 1, 4);
}

QString GroupCriteriaEditor::groupName(int group)
{
    return group == SubjectCriteria::Overall ? QStringLiteral("総合") : Names::viewpointHeading(group);
}

QString GroupCriteriaEditor::caption(const Threshold& threshold, int group)
{
    return QString::fromUtf8(group == SubjectCriteria::Overall ? threshold.overallCaption : threshold.viewpointCaption);
}

QString GroupCriteriaEditor::problemWith(const Threshold& threshold, int subject, int group, const QString& why)
{
    return problemWith(caption(threshold, group), subject, group, why);
}

QString GroupCriteriaEditor::problemWith(const QString& caption, int subject, int group, const QString& why)
{
    return QStringLiteral("「%1」の評定基準「%2」の「%3」%4").arg(Names::subjects()[subject], groupName(group), caption, why);
}

void GroupCriteriaEditor::showCriteria(const SubjectCriteria& subject)
{
    const GroupCriteria& criteria = subject.groups[size_t(group)];
    basisOptions->button(int(criteria.basis))->setChecked(true);
    enableBoxesOf(criteria.basis);
    for (const Threshold& threshold : thresholds())
        (this->*threshold.box)->setText(QString::number(criteria.*threshold.value));
    if (group != SubjectCriteria::Overall) {
        goalBestBox->setText(QString::number(criteria.attainedFromPercent));
        goalLowestBox->setText(QString::number(criteria.lowestBelowPercent));
        return;
    }
    const ViewpointPointsCriteria& points = subject.fromViewpoints;
    goalBestBox->setText(Points::text(points.bestFromPoints));
    goalLowestBox->setText(Points::text(points.lowestUpToPoints));
    for (int v = 1; v <= Limits::Viewpoints; ++v)
        countedBoxes[size_t(v)]->setChecked(points.counted[size_t(v)]);
}

std::optional<GroupCriteriaEditor::Problem> GroupCriteriaEditor::readCriteria(int subject, SubjectCriteria& into) const
{
    GroupCriteria read = into.groups[size_t(group)];
    read.basis = GradeBasis(basisOptions->checkedId());
    for (const Threshold& threshold : thresholds()) {
        const std::optional<int> number = wholeNumber((this->*threshold.box)->text());
        if (!number)
            return Problem{QLatin1String(threshold.name),
                           problemWith(threshold, subject, group, QStringLiteral("には整数を入力してください。"))};
        if (const QString why = rangeProblem(threshold.basis, *number); !why.isEmpty())
            return Problem{QLatin1String(threshold.name), problemWith(threshold, subject, group, why)};
        read.*threshold.value = *number;
    }
    const bool overall = group == SubjectCriteria::Overall;
    const auto number = [overall](const QString& text) { return overall ? Points::parse(text) : wholeNumber(text); };
    std::optional<int> best = number(goalBestBox->text());
    std::optional<int> lowest = number(goalLowestBox->text());
    if (read.basis != GradeBasis::Goals) {
        // Not chosen: the boxes are off, and what they hold is kept only when it makes sense.
        if (!best || !lowest || goalProblem(subject, group, *best, *lowest)) {
            best = overall ? into.fromViewpoints.bestFromPoints : read.attainedFromPercent;
            lowest = overall ? into.fromViewpoints.lowestUpToPoints : read.lowestBelowPercent;
        }
    } else {
        const QString notNumber = overall ? PointsRange : QStringLiteral("には整数を入力してください。");
        if (!best)
            return Problem{goalBestBox->objectName(),
                           problemWith(QString::fromUtf8(GoalCaptions[overall][0]), subject, group, notNumber)};
        if (!lowest)
            return Problem{goalLowestBox->objectName(),
                           problemWith(QString::fromUtf8(GoalCaptions[overall][1]), subject, group, notNumber)};
        if (const auto problem = goalProblem(subject, group, *best, *lowest))
            return problem;
    }
    ViewpointPointsCriteria points = into.fromViewpoints;
    if (overall) {
        points.bestFromPoints = *best;
        points.lowestUpToPoints = *lowest;
        for (int v = 1; v <= Limits::Viewpoints; ++v)
            points.counted[size_t(v)] = countedBoxes[size_t(v)]->isChecked();
    } else {
        read.attainedFromPercent = *best;
        read.lowestBelowPercent = *lowest;
    }
    into.groups[size_t(group)] = read;
    into.fromViewpoints = points;
    return std::nullopt;
}

std::optional<GroupCriteriaEditor::Problem> GroupCriteriaEditor::goalProblem(int subject, int group, int best, int lowest)
{
    const bool overall = group == SubjectCriteria::Overall;
    const auto caption = [overall](int k) { return QString::fromUtf8(GoalCaptions[overall][k]); };
    const QString bestBox = QStringLiteral("goalBestBox");
    const QString lowestBox = QStringLiteral("goalLowestBox");
    if (overall) {
        if (best < 100 || best > 300)
            return Problem{bestBox, problemWith(caption(0), subject, group, PointsRange)};
        if (lowest < 100 || lowest > 300)
            return Problem{lowestBox, problemWith(caption(1), subject, group, PointsRange)};
    } else {
        if (const QString why = rangeProblem(GradeBasis::Goals, best); !why.isEmpty())
            return Problem{bestBox, problemWith(caption(0), subject, group, why)};
        if (const QString why = rangeProblem(GradeBasis::Goals, lowest); !why.isEmpty())
            return Problem{lowestBox, problemWith(caption(1), subject, group, why)};
    }
    if (lowest > best)
        return Problem{lowestBox, problemWith(caption(1), subject, group,
                                              QStringLiteral("には「%1」の数以下の数を入力してください。").arg(caption(0)))};
    return std::nullopt;
}

std::optional<GroupCriteriaEditor::Problem> GroupCriteriaEditor::firstProblem(int subject, int group,
                                                                              const SubjectCriteria& criteria)
{
    const GroupCriteria& groupCriteria = criteria.groups[size_t(group)];
    for (const Threshold& threshold : thresholds())
        if (const QString why = rangeProblem(threshold.basis, groupCriteria.*threshold.value); !why.isEmpty())
            return Problem{QLatin1String(threshold.name), problemWith(threshold, subject, group, why)};
    // The thresholds against goals matter only while they are chosen: a stored pair
    // of another basis is kept as it is.
    if (groupCriteria.basis != GradeBasis::Goals)
        return std::nullopt;
    if (group == SubjectCriteria::Overall)
        return goalProblem(subject, group, criteria.fromViewpoints.bestFromPoints, criteria.fromViewpoints.lowestUpToPoints);
    return goalProblem(subject, group, groupCriteria.attainedFromPercent, groupCriteria.lowestBelowPercent);
}

void GroupCriteriaEditor::focusBox(const QString& name)
{
    auto* box = findChild<QLineEdit*>(name);
    if (box && box->isEnabled()) {
        box->setFocus();
        box->selectAll();
    }
}

void GroupCriteriaEditor::enableBoxesOf(GradeBasis basis)
{
    for (const Threshold& threshold : thresholds())
        (this->*threshold.box)->setEnabled(threshold.basis == basis);
    const bool goals = basis == GradeBasis::Goals;
    goalBestBox->setEnabled(goals);
    goalLowestBox->setEnabled(goals);
    for (QCheckBox* box : countedBoxes)
        if (box)
            box->setEnabled(goals);
}
