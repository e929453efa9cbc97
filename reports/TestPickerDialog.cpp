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

    Lt_Test = new QListWidget(this);
    Lt_Test->setObjectName(QStringLiteral("Lt_Test"));
    Lt_Test->setSelectionMode(QAbstractItemView::ExtendedSelection);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    Command1 = new QPushButton(QStringLiteral("&O K"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    Bt_All = new QPushButton(QStringLiteral("(&A)全テスト"), this);
    Bt_All->setObjectName(QStringLiteral("Bt_All"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    buttons->addWidget(Bt_All);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Lt_Test, 1);
    layout->addWidget(Label1);
    layout->addLayout(buttons);
    resize(420, 420);

    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Bt_All, &QPushButton::clicked, this, [this] { Bt_All_Click(); });
}

void TestPickerDialog::prepare(const TestSet& tests)
{
    chosen.clear();
    Lt_Test->clear();
    for (int t = 1; t <= qBound(0, tests.count, Limits::Tests); ++t)
        Lt_Test->addItem(tests.name[t]);
    Lt_Test->clearSelection();
    if (Lt_Test->count() > 0)
        Lt_Test->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    Label1->setText(QStringLiteral("CTRL+ﾏｳｽｸﾘｯｸで飛び飛びに、SHIFT+ﾏｳｽｸﾘｯｸで連続したテストを選択することができます"));
}

void TestPickerDialog::Command1_Click()
{
    chosen.clear();
    for (int t = 1; t <= Lt_Test->count(); ++t)
        if (Lt_Test->item(t - 1)->isSelected())
            chosen.append(t);
    accept();
}

void TestPickerDialog::Bt_All_Click()
{
    chosen.clear();
    for (int t = 1; t <= Lt_Test->count(); ++t) {
        Lt_Test->item(t - 1)->setSelected(true);
        chosen.append(t);
    }
    accept();
}

void TestPickerDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (ctx.frame)
        ctx.frame->disablePrint();
}
