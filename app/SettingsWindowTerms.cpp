// 学期 in the settings window: three terms (1学期・2学期・3学期) or two (前期・後期),
// and the month each term after the first begins. The first term begins in April
// and each term ends where the next begins; attendance's term tallies, the tests'
// terms and the 所見 follow this choice.

#include "app/SettingsWindow.h"

#include "model/Terms.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>

void SettingsWindow::buildTermGroup()
{
    termGroup = new QGroupBox(QStringLiteral("学期"), this);
    termGroup->setObjectName(QStringLiteral("termGroup"));
    auto* layout = new QHBoxLayout(termGroup);
    auto* counts = new QButtonGroup(this);
    threeTermsOption = new QRadioButton(QStringLiteral("3学期制"), termGroup);
    threeTermsOption->setObjectName(QStringLiteral("threeTermsOption"));
    twoTermsOption = new QRadioButton(QStringLiteral("前期・後期"), termGroup);
    twoTermsOption->setObjectName(QStringLiteral("twoTermsOption"));
    counts->addButton(threeTermsOption);
    counts->addButton(twoTermsOption);
    twoTermsOption->setToolTip(QStringLiteral("2学期制：前期と後期"));
    layout->addWidget(threeTermsOption);
    layout->addWidget(twoTermsOption);
    layout->addSpacing(8);
    for (int i = 0; i < 2; ++i) {
        termStartLabels[size_t(i)] = new QLabel(termGroup);
        auto* box = new QComboBox(termGroup);
        box->setObjectName(QStringLiteral("termStartBox%1").arg(i + 2));
        box->setToolTip(QStringLiteral("この学期が始まる月（前の学期はその前の月まで）"));
        for (int month = 2; month <= 12; ++month)
            box->addItem(QStringLiteral("%1月～").arg(Terms::calendarMonth(month)), month);
        termStartLabels[size_t(i)]->setBuddy(box);
        termStartBoxes[size_t(i)] = box;
        layout->addWidget(termStartLabels[size_t(i)]);
        layout->addWidget(box);
    }
    connect(threeTermsOption, &QRadioButton::clicked, this, &SettingsWindow::termCountChosen);
    connect(twoTermsOption, &QRadioButton::clicked, this, &SettingsWindow::termCountChosen);
}

void SettingsWindow::showTermPlan(const TermPlan& plan)
{
    shownTermPlan = plan;
    (plan.count == 2 ? twoTermsOption : threeTermsOption)->setChecked(true);
    for (int i = 0; i < 2; ++i) {
        const int term = i + 2;
        const bool used = term <= plan.count;
        termStartLabels[size_t(i)]->setText(Terms::name(plan, term));
        termStartLabels[size_t(i)]->setVisible(used);
        termStartBoxes[size_t(i)]->setVisible(used);
        if (used)
            termStartBoxes[size_t(i)]->setCurrentIndex(termStartBoxes[size_t(i)]->findData(plan.firstMonth(term)));
    }
}

// The boxes hold the months of the count shown; the other count keeps its own.
TermPlan SettingsWindow::chosenTermPlan() const
{
    TermPlan plan = shownTermPlan;
    for (int term = 2; term <= shownTermPlan.count; ++term) {
        const int month = termStartBoxes[size_t(term - 2)]->currentData().toInt();
        if (shownTermPlan.count == 2)
            plan.twoStarts[size_t(term - 1)] = month;
        else
            plan.threeStarts[size_t(term - 1)] = month;
    }
    plan.count = twoTermsOption->isChecked() ? 2 : 3;
    return plan;
}

void SettingsWindow::termCountChosen()
{
    showTermPlan(chosenTermPlan());
}
