#include "reports/TestPickerDialog.h"

#include "frame/MainFrame.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TestPickerDialog::TestPickerDialog(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx(ctx)
{
    setObjectName(QStringLiteral("TestPickerDialog"));
    setWindowTitle(QStringLiteral("集計テストの選択"));

    testList = new QListWidget(this);
    testList->setObjectName(QStringLiteral("testList"));
    testList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    hintLabel = new QLabel(this);
    hintLabel->setObjectName(QStringLiteral("hint"));
    hintLabel->setWordWrap(true);
    auto* okButton = new QPushButton(QStringLiteral("&O K"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setDefault(true);
    auto* allButton = new QPushButton(QStringLiteral("(&A)全テスト"), this);
    allButton->setObjectName(QStringLiteral("allButton"));

    auto* termLine = new QHBoxLayout;
    const QStringList terms = Terms::names(ctx.data.termPlan);
    for (int t = 1; t <= terms.size(); ++t) {
        auto* button = new QPushButton(QStringLiteral("%1のテスト(&%2)").arg(terms[t - 1]).arg(t), this);
        button->setObjectName(QStringLiteral("termButton%1").arg(t));
        connect(button, &QPushButton::clicked, this, [this, t] { acceptTerm(t); });
        termButtons.append(button);
        termLine->addWidget(button);
    }
    termLine->addStretch();

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addWidget(allButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(testList, 1);
    layout->addWidget(hintLabel);
    layout->addLayout(termLine);
    layout->addLayout(buttons);
    resize(420, 420);

    connect(okButton, &QPushButton::clicked, this, [this] { acceptSelected(); });
    connect(allButton, &QPushButton::clicked, this, [this] { acceptAll(); });
}

void TestPickerDialog::prepare(const TestSet& tests)
{
    chosen.clear();
    testList->clear();
    testTerms.clear();
    for (int t = 1; t <= qBound(0, tests.count, Limits::Tests); ++t) {
        testList->addItem(tests.name[t]);
        testTerms.append(tests.term[size_t(t)]);
    }
    // A term without tests has nothing to choose.
    for (int term = 1; term <= termButtons.size(); ++term) {
        QPushButton* button = termButtons[term - 1];
        button->setEnabled(testTerms.contains(term));
        button->setToolTip(button->isEnabled() ? QString()
                                               : QStringLiteral("%1のテストはありません。テストの学期は、得点入力の"
                                                                "テスト情報かテストのメンテナンスで決めます。")
                                                     .arg(Terms::name(ctx.data.termPlan, term)));
    }
    testList->clearSelection();
    if (testList->count() > 0)
        testList->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    hintLabel->setText(QStringLiteral("CTRL+ﾏｳｽｸﾘｯｸで飛び飛びに、SHIFT+ﾏｳｽｸﾘｯｸで連続したテストを選択することができます"));
}

void TestPickerDialog::acceptSelected()
{
    chosen.clear();
    for (int t = 1; t <= testList->count(); ++t)
        if (testList->item(t - 1)->isSelected())
            chosen.append(t);
    accept();
}

void TestPickerDialog::acceptAll()
{
    chosen.clear();
    for (int t = 1; t <= testList->count(); ++t) {
        testList->item(t - 1)->setSelected(true);
        chosen.append(t);
    }
    accept();
}

void TestPickerDialog::acceptTerm(int term)
{
    chosen.clear();
    for (int t = 1; t <= testList->count(); ++t) {
        const bool inTerm = testTerms.value(t - 1) == term;
        testList->item(t - 1)->setSelected(inTerm);
        if (inTerm)
            chosen.append(t);
    }
    if (!chosen.isEmpty())
        accept();
}

void TestPickerDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (ctx.frame)
        ctx.frame->disablePrint();
}
