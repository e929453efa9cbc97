#include "attendance/CountPrompt.h"

#include "attendance/DayCount.h"
#include "attendance/AttendanceWindow.h"
#include "frame/MainFrame.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString NotACount = QStringLiteral("値は0から999までの整数で入力してください。");
}

CountPrompt::CountPrompt(AppContext& ctx, AttendanceWindow& owner, int row, int column)
    : QDialog(&owner), ctx(ctx), owner(owner), targetRow(row), targetColumn(column)
{
    setObjectName(QStringLiteral("CountPrompt"));
    setWindowTitle(QStringLiteral("数値の入力"));
    setModal(false);

    Label1 = new QLabel(QStringLiteral("このセルの値は？"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setMaxLength(10);
    Label1->setBuddy(Text1);
    BtEnd[0] = new QPushButton(QStringLiteral("OK"), this);
    BtEnd[1] = new QPushButton(QStringLiteral("Cancel"), this);
    BtEnd[0]->setObjectName(QStringLiteral("BtEnd0"));
    BtEnd[1]->setObjectName(QStringLiteral("BtEnd1"));
    BtEnd[0]->setDefault(true);
    BtEnd[0]->setAutoDefault(true);
    BtEnd[1]->setAutoDefault(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Text1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BtEnd[0]);
    buttons->addWidget(BtEnd[1]);
    layout->addLayout(buttons);
    setMinimumWidth(240);

    connect(BtEnd[0], &QPushButton::clicked, this, [this] { BtEnd_Click(0); });
    connect(BtEnd[1], &QPushButton::clicked, this, [this] { BtEnd_Click(1); });
    // Esc and the close box cancel; the prompt is discarded once it has closed.
    connect(this, &QDialog::finished, this, &QObject::deleteLater);
    Text1->setFocus();
}

void CountPrompt::BtEnd_Click(int Index)
{
    if (Index != 0) {
        reject();
        return;
    }
    const QString typed = DayCount::halfWidth(Text1->text()).trimmed();
    QString value;
    if (!typed.isEmpty()) {
        const std::optional<int> number = DayCount::parse(typed);
        if (!number) {
            ctx.ui.message(this, NotACount, Ui::Buttons::Ok, Ui::Icon::Warning);
            Text1->selectAll();
            Text1->setFocus();
            return;
        }
        value = QString::number(*number);
    }
    owner.FrmValue_Ok(targetRow, targetColumn, value);
    accept();
}

void CountPrompt::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && ctx.frame)
        ctx.frame->disablePrint();
    QDialog::changeEvent(event);
}
