#include "app/GroupCriteriaEditor.h"

#include "model/ClassData.h"

#include <QButtonGroup>
#include <QGridLayout>
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
        if (value < 0 || value > 100)
            return QStringLiteral("には0から100までの数を入力してください。");
        break;
    }
    return {};
}

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
    layout->setColumnStretch(4, 1);
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
    return QStringLiteral("「%1」の評定基準「%2」の「%3」%4")
        .arg(Names::subjects()[subject], groupName(group), caption(threshold, group), why);
}

void GroupCriteriaEditor::showCriteria(const GroupCriteria& criteria)
{
    basisOptions->button(int(criteria.basis))->setChecked(true);
    enableBoxesOf(criteria.basis);
    for (const Threshold& threshold : thresholds())
        (this->*threshold.box)->setText(QString::number(criteria.*threshold.value));
}

std::optional<GroupCriteriaEditor::Problem> GroupCriteriaEditor::readCriteria(int subject, GroupCriteria& into) const
{
    GroupCriteria read;
    read.basis = GradeBasis(basisOptions->checkedId());
    for (const Threshold& threshold : thresholds()) {
        const std::optional<int> number = wholeNumber((this->*threshold.box)->text());
        if (!number)
            return Problem{threshold.value, problemWith(threshold, subject, group, QStringLiteral("には整数を入力してください。"))};
        if (const QString why = rangeProblem(threshold.basis, *number); !why.isEmpty())
            return Problem{threshold.value, problemWith(threshold, subject, group, why)};
        read.*threshold.value = *number;
    }
    into = read;
    return std::nullopt;
}

std::optional<GroupCriteriaEditor::Problem> GroupCriteriaEditor::firstProblem(int subject, int group,
                                                                              const GroupCriteria& criteria)
{
    for (const Threshold& threshold : thresholds())
        if (const QString why = rangeProblem(threshold.basis, criteria.*threshold.value); !why.isEmpty())
            return Problem{threshold.value, problemWith(threshold, subject, group, why)};
    return std::nullopt;
}

void GroupCriteriaEditor::focusBox(int GroupCriteria::*field)
{
    for (const Threshold& threshold : thresholds()) {
        QLineEdit* box = this->*threshold.box;
        if (threshold.value == field && box->isEnabled()) {
            box->setFocus();
            box->selectAll();
        }
    }
}

void GroupCriteriaEditor::enableBoxesOf(GradeBasis basis)
{
    for (const Threshold& threshold : thresholds())
        (this->*threshold.box)->setEnabled(threshold.basis == basis);
}
