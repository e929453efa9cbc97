#include "app/CriteriaEditor.h"

#include "app/GroupCriteriaEditor.h"
#include "model/ViewpointNames.h"
#include "platform/Ui.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

CriteriaEditor::CriteriaEditor(Ui& ui, QWidget* parent) : QGroupBox(QStringLiteral("評定基準"), parent), ui(ui)
{
    setObjectName(QStringLiteral("criteriaEditor"));
    auto* grid = new QGridLayout(this);
    grid->setVerticalSpacing(2);
    grid->setContentsMargins(6, 4, 6, 4);
    auto* subjectRow = new QHBoxLayout;
    subjectRow->addWidget(new QLabel(QStringLiteral("教科"), this));
    subjectBox = new QComboBox(this);
    subjectBox->setObjectName(QStringLiteral("criteriaSubjectBox"));
    for (int s = 1; s <= Limits::Units; ++s)
        subjectBox->addItem(Names::subjects()[s]);
    subjectRow->addWidget(subjectBox);
    subjectRow->addStretch();
    goalsButton = new QPushButton(QStringLiteral("目標に準拠の評価にする"), this);
    goalsButton->setObjectName(QStringLiteral("goalsButton"));
    goalsButton->setToolTip(QStringLiteral("全教科の観点を「到達率で」（80％以上がＡ、50％未満がＣ）、総合を「観点から」"
                                           "（2.5以上が３、1.5以下が１）にします"));
    subjectRow->addWidget(goalsButton);
    connect(subjectBox, &QComboBox::activated, this, &CriteriaEditor::subjectChosen);
    connect(goalsButton, &QPushButton::clicked, this, &CriteriaEditor::gradeAgainstGoals);
    for (int group = 0; group <= Limits::Viewpoints; ++group)
        groupEditors[group] = new GroupCriteriaEditor(group, this);
    // 総合 under the subject box, the viewpoints two by two beside and below it.
    auto* overallColumn = new QVBoxLayout;
    overallColumn->addLayout(subjectRow);
    overallColumn->addWidget(groupEditors[SubjectCriteria::Overall]);
    grid->addLayout(overallColumn, 0, 0);
    for (int v = 1; v <= Limits::Viewpoints; ++v)
        grid->addWidget(groupEditors[v], v / 2, v % 2);
    grid->addWidget(buildViewpointNamesGroup(), 2, 1);
    grid->setRowStretch(3, 1);
}

// The names of the shown subject's four viewpoints, and the two buttons that set
// every subject's names at once.
QGroupBox* CriteriaEditor::buildViewpointNamesGroup()
{
    // Titled from the start ("国語の観点名" once a subject is shown): a title that
    // came later would make the frame taller than the window was sized for.
    viewpointNamesGroup = new QGroupBox(QStringLiteral("観点名"), this);
    viewpointNamesGroup->setObjectName(QStringLiteral("viewpointNamesGroup"));
    auto* layout = new QGridLayout(viewpointNamesGroup);
    layout->setVerticalSpacing(1);
    layout->setContentsMargins(6, 2, 6, 2);
    for (int v = 1; v <= Limits::Viewpoints; ++v) {
        auto* box = new QLineEdit(viewpointNamesGroup);
        box->setObjectName(QStringLiteral("viewpointNameInput%1").arg(v));
        box->setMaxLength(ViewpointNames::MaxLength);
        auto* label = new QLabel(Names::viewpointHeading(v), viewpointNamesGroup);
        label->setBuddy(box);
        layout->addWidget(label, v - 1, 0);
        layout->addWidget(box, v - 1, 1, 1, 2);
        connect(box, &QLineEdit::textEdited, this, &CriteriaEditor::showViewpointCaptions);
        viewpointNameInputs[v] = box;
    }
    viewpointNameInputs[4]->setPlaceholderText(QStringLiteral("（なし）"));
    currentCurriculumButton = new QPushButton(QStringLiteral("全教科を３観点に"), viewpointNamesGroup);
    currentCurriculumButton->setObjectName(QStringLiteral("currentCurriculumButton"));
    currentCurriculumButton->setToolTip(QStringLiteral("全教科の観点名を「知識・技能」「思考・判断・表現」"
                                                       "「主体的に学習に取り組む態度」にします（観点Ⅳはなし）"));
    olderNamesButton = new QPushButton(QStringLiteral("全教科を元の観点名に"), viewpointNamesGroup);
    olderNamesButton->setObjectName(QStringLiteral("olderNamesButton"));
    olderNamesButton->setToolTip(QStringLiteral("全教科の観点名を、かざねの元の４観点の名前に戻します"));
    layout->addWidget(currentCurriculumButton, Limits::Viewpoints, 1);
    layout->addWidget(olderNamesButton, Limits::Viewpoints, 2);
    layout->setColumnStretch(1, 1);
    layout->setColumnStretch(2, 1);
    connect(currentCurriculumButton, &QPushButton::clicked, this, [this] {
        fillViewpointNames(ViewpointNames::currentCurriculum(),
                           QStringLiteral("全教科の観点名を「知識・技能」「思考・判断・表現」「主体的に学習に取り組む態度」"
                                          "の３観点にします（観点Ⅳはなし）。\n「終了」を押すと保存されます。"));
    });
    connect(olderNamesButton, &QPushButton::clicked, this, [this] {
        fillViewpointNames(ViewpointNames::olderTable(),
                           QStringLiteral("全教科の観点名を元の４観点の名前に戻します。\n「終了」を押すと保存されます。"));
    });
    return viewpointNamesGroup;
}

void CriteriaEditor::load(const ClassData& data)
{
    edited = data.criteria;
    for (SubjectCriteria& subject : edited)
        for (GroupCriteria& group : subject.groups) {
            // A stored basis the window cannot show is offered as "順位で", the default.
            const int basis = int(group.basis);
            if (basis < 0 || basis > int(GradeBasis::Goals))
                group.basis = GradeBasis::Rank;
        }
    editedNames = data.viewpointName;
    {
        const QSignalBlocker blocker(subjectBox);
        subjectBox->setCurrentIndex(data.subject - 1);
    }
    showSubject(data.subject);
}

void CriteriaEditor::showSubject(int subject)
{
    showViewpointNames(subject);
    for (int group = 0; group <= Limits::Viewpoints; ++group)
        groupEditors[group]->showCriteria(edited[subject]);
    shown = subject;
}

bool CriteriaEditor::storeShownSubject()
{
    SubjectCriteria read = edited[shown];
    for (int group = 0; group <= Limits::Viewpoints; ++group)
        if (const auto problem = groupEditors[group]->readCriteria(shown, read)) {
            ui.message(this, problem->message, Ui::Buttons::Ok, Ui::Icon::Warning);
            groupEditors[group]->focusBox(problem->box);
            return false;
        }
    std::array<QString, Limits::Viewpoints + 1> names;
    for (int v = 1; v <= Limits::Viewpoints; ++v) {
        names[v] = viewpointNameInputs[v]->text().trimmed();
        if (const QString problem = ViewpointNames::problem(shown, v, names[v]); !problem.isEmpty()) {
            ui.message(this, problem, Ui::Buttons::Ok, Ui::Icon::Warning);
            focusViewpointName(shown, v);
            return false;
        }
    }
    edited[shown] = read;
    for (int v = 1; v <= Limits::Viewpoints; ++v)
        editedNames[shown][v] = names[v];
    return true;
}

bool CriteriaEditor::checkAll()
{
    if (!storeShownSubject())
        return false;
    for (int s = 1; s <= Limits::Units; ++s)
        for (int group = 0; group <= Limits::Viewpoints; ++group)
            if (const auto problem = GroupCriteriaEditor::firstProblem(s, group, edited[s])) {
                ui.message(this, problem->message, Ui::Buttons::Ok, Ui::Icon::Warning);
                switchToSubject(s);
                groupEditors[group]->focusBox(problem->box);
                return false;
            }
    if (const auto problem = ViewpointNames::firstProblem(editedNames)) {
        ui.message(this, problem->message, Ui::Buttons::Ok, Ui::Icon::Warning);
        focusViewpointName(problem->subject, problem->viewpoint);
        return false;
    }
    return true;
}

void CriteriaEditor::subjectChosen()
{
    const int subject = subjectBox->currentIndex() + 1;
    if (subject == shown)
        return;
    if (!storeShownSubject()) {
        // The shown subject stays until its boxes hold sensible numbers.
        const QSignalBlocker blocker(subjectBox);
        subjectBox->setCurrentIndex(shown - 1);
        return;
    }
    showSubject(subject);
}

void CriteriaEditor::switchToSubject(int subject)
{
    if (subject == shown)
        return;
    const QSignalBlocker blocker(subjectBox);
    subjectBox->setCurrentIndex(subject - 1);
    showSubject(subject);
}

// Every subject graded against goals: the viewpoints by attainment, 80 % for "A" and
// below 50 % for "C", the overall grade from the viewpoints, 2.5 for "3" and 1.5 for
// "1". Like every setting of the window it takes effect with 終了.
void CriteriaEditor::gradeAgainstGoals()
{
    if (ui.message(this,
                   QStringLiteral("全教科の評定基準を目標に準拠の評価にします。\n\n"
                                  "観点：到達率で（80％以上がＡ、50％未満がＣ）\n"
                                  "総合：観点から（Ａ＝３、Ｂ＝２、Ｃ＝１の平均が2.5以上で３、1.5以下で１）\n\n"
                                  "「終了」を押すと保存されます。"),
                   Ui::Buttons::OkCancel, Ui::Icon::Question) != Ui::Answer::Ok)
        return;
    // What the shown boxes hold is kept first, then every subject changes.
    if (!storeShownSubject())
        return;
    const SubjectCriteria defaults;
    for (int s = 1; s <= Limits::Units; ++s) {
        SubjectCriteria& subject = edited[s];
        subject.groups[SubjectCriteria::Overall].basis = GradeBasis::Goals;
        subject.fromViewpoints.bestFromPoints = defaults.fromViewpoints.bestFromPoints;
        subject.fromViewpoints.lowestUpToPoints = defaults.fromViewpoints.lowestUpToPoints;
        for (int v = 1; v <= Limits::Viewpoints; ++v) {
            GroupCriteria& group = subject.groups[v];
            group.basis = GradeBasis::Goals;
            group.attainedFromPercent = defaults.viewpoint(v).attainedFromPercent;
            group.lowestBelowPercent = defaults.viewpoint(v).lowestBelowPercent;
        }
    }
    showSubject(shown);
}

// ---- viewpoint names --------------------------------------------------------------

void CriteriaEditor::showViewpointNames(int subject)
{
    viewpointNamesGroup->setTitle(QStringLiteral("%1の観点名").arg(Names::subjects()[subject]));
    for (int v = 1; v <= Limits::Viewpoints; ++v)
        viewpointNameInputs[v]->setText(editedNames[subject][v]);
    showViewpointCaptions();
}

void CriteriaEditor::showViewpointCaptions()
{
    for (int v = 1; v <= Limits::Viewpoints; ++v)
        groupEditors[v]->setTitle(Names::viewpointHeading(v) + viewpointNameInputs[v]->text().trimmed());
}

void CriteriaEditor::focusViewpointName(int subject, int viewpoint)
{
    switchToSubject(subject);
    QLineEdit* box = viewpointNameInputs[viewpoint];
    box->setFocus();
    box->selectAll();
}

// The names take effect with 終了, like every other setting of the window.
void CriteriaEditor::fillViewpointNames(const ViewpointNameTable& names, const QString& question)
{
    if (ui.message(this, question, Ui::Buttons::OkCancel, Ui::Icon::Question) != Ui::Answer::Ok)
        return;
    editedNames = names;
    showViewpointNames(shown);
}
