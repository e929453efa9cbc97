#include "reports/OverrulingDialog.h"

#include "platform/Ui.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

OverrulingDialog::OverrulingDialog(Ui& ui, const Shown& shown, QWidget* parent)
    : QDialog(parent), ui(ui), computed(shown.computed)
{
    setObjectName(QStringLiteral("overrulingDialog"));
    setWindowTitle(QStringLiteral("評定を変える"));

    auto* form = new QFormLayout;
    const auto addLine = [this, form](const QString& caption, const QString& text, const char* name) {
        auto* label = new QLabel(text, this);
        label->setObjectName(QLatin1String(name));
        form->addRow(caption, label);
    };
    addLine(QStringLiteral("児童"), shown.pupil, "pupilLabel");
    addLine(QStringLiteral("評定の欄"), shown.group, "groupLabel");
    addLine(QStringLiteral("集計したテスト"), shown.tests, "testsLabel");
    addLine(QStringLiteral("計算した値"), shown.computed, "computedLabel");

    gradeChooser = new QComboBox(this);
    gradeChooser->setObjectName(QStringLiteral("gradeChooser"));
    gradeChooser->addItems(shown.grades);
    const int givenIndex = int(shown.grades.indexOf(shown.given));
    const int computedIndex = int(shown.grades.indexOf(shown.computed));
    gradeChooser->setCurrentIndex(givenIndex >= 0 ? givenIndex : qMax(0, computedIndex));
    form->addRow(QStringLiteral("変更後の値"), gradeChooser);

    reasonInput = new QLineEdit(shown.reason, this);
    reasonInput->setObjectName(QStringLiteral("reasonInput"));
    reasonInput->setMaxLength(200);
    reasonInput->setMinimumWidth(320);
    reasonInput->setPlaceholderText(QStringLiteral("変更の理由（必ず入力）"));
    form->addRow(QStringLiteral("理由"), reasonInput);

    auto* buttons = new QDialogButtonBox(this);
    auto* giveButton = buttons->addButton(QStringLiteral("変更する"), QDialogButtonBox::AcceptRole);
    giveButton->setObjectName(QStringLiteral("giveButton"));
    giveButton->setDefault(true);
    clearButton = buttons->addButton(QStringLiteral("計算どおりに戻す"), QDialogButtonBox::ResetRole);
    clearButton->setObjectName(QStringLiteral("clearButton"));
    clearButton->setEnabled(!shown.given.isEmpty());
    auto* cancelButton = buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    connect(giveButton, &QPushButton::clicked, this, &OverrulingDialog::giveGrade);
    connect(clearButton, &QPushButton::clicked, this, [this] {
        chosen = Choice::Cleared;
        accept();
    });
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    reasonInput->setFocus();
}

QString OverrulingDialog::grade() const
{
    return gradeChooser->currentText();
}

QString OverrulingDialog::reason() const
{
    return reasonInput->text().simplified();
}

void OverrulingDialog::giveGrade()
{
    if (reason().isEmpty()) {
        ui.message(this, QStringLiteral("評定を変える理由を入力してください。"), Ui::Buttons::Ok, Ui::Icon::Warning);
        reasonInput->setFocus();
        return;
    }
    if (grade() == computed) {
        ui.message(this, QStringLiteral("計算した値と同じです。変えるときは別の値を選んでください。"), Ui::Buttons::Ok,
                   Ui::Icon::Warning);
        gradeChooser->setFocus();
        return;
    }
    chosen = Choice::Given;
    accept();
}
