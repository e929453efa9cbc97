#include "attendance/CountPrompt.h"

#include "attendance/DayCount.h"
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

CountPrompt::CountPrompt(AppContext& ctx, QWidget* owner, int row, int column)
    : QDialog(owner), ctx(ctx), targetRow(row), targetColumn(column)
{
    setObjectName(QStringLiteral("CountPrompt"));
    setWindowTitle(QStringLiteral("数値の入力"));
    setModal(false);

    question = new QLabel(QStringLiteral("このセルの値は？"), this);
    question->setObjectName(QStringLiteral("question"));
    countInput = new QLineEdit(this);
    countInput->setObjectName(QStringLiteral("countInput"));
    countInput->setMaxLength(10);
    question->setBuddy(countInput);
    okButton = new QPushButton(QStringLiteral("OK"), this);
    cancelButton = new QPushButton(QStringLiteral("キャンセル"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    okButton->setDefault(true);
    okButton->setAutoDefault(true);
    cancelButton->setAutoDefault(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(question);
    layout->addWidget(countInput);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    layout->addLayout(buttons);
    setMinimumWidth(240);

    connect(okButton, &QPushButton::clicked, this, &CountPrompt::confirm);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    // Esc and the close box cancel; the prompt is discarded once it has closed.
    connect(this, &QDialog::finished, this, &QObject::deleteLater);
    countInput->setFocus();
}

void CountPrompt::confirm()
{
    const QString typed = DayCount::halfWidth(countInput->text()).trimmed();
    const std::optional<int> count = DayCount::parse(typed);
    if (!typed.isEmpty() && !count) {
        ctx.ui.message(this, NotACount, Ui::Buttons::Ok, Ui::Icon::Warning);
        countInput->selectAll();
        countInput->setFocus();
        return;
    }
    emit countEntered(targetRow, targetColumn, count);
    accept();
}

void CountPrompt::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && ctx.frame)
        ctx.frame->disablePrint();
    QDialog::changeEvent(event);
}
