#include "entry/InputModeControls.h"

#include "entry/FixedValuesDialog.h"

#include <QAction>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>

using ScoreKeys::InputMode;

InputModeControls::InputModeControls(AppContext& ctx, QWidget* screen) : QGroupBox(screen), ctx(ctx), screen(screen)
{
    setObjectName(QStringLiteral("inputModes"));
    auto* modes = new QGridLayout(this);
    normalButton = new QRadioButton(QStringLiteral("通常入力"), this);
    normalButton->setObjectName(QStringLiteral("normalModeButton"));
    fixedButton = new QRadioButton(QStringLiteral("固定入力"), this);
    fixedButton->setObjectName(QStringLiteral("fixedModeButton"));
    normalButton->setChecked(true);
    fixedValuesButton = new QPushButton(QStringLiteral("モード設定"), this);
    fixedValuesButton->setObjectName(QStringLiteral("fixedValuesButton"));
    fixedValuesButton->setAutoDefault(false);
    modes->addWidget(normalButton, 0, 0);
    modes->addWidget(fixedButton, 0, 1);
    modes->addWidget(fixedValuesButton, 1, 0, 1, 2);
    hint = new QLabel(screen);
    hint->setObjectName(QStringLiteral("keyHint"));
    hint->setWordWrap(true);
    connect(normalButton, &QRadioButton::clicked, this, [this] { emit modeChosen(InputMode::Normal); });
    connect(fixedButton, &QRadioButton::clicked, this, [this] { emit modeChosen(InputMode::Fixed); });
    connect(fixedValuesButton, &QPushButton::clicked, this, &InputModeControls::openFixedValues);
}

void InputModeControls::fillMenu(QMenu* menu)
{
    normalAction = menu->addAction(QStringLiteral("通常入力モード"));
    normalAction->setObjectName(QStringLiteral("normalModeAction"));
    fixedAction = menu->addAction(QStringLiteral("固定入力モード"));
    fixedAction->setObjectName(QStringLiteral("fixedModeAction"));
    for (QAction* a : {normalAction, fixedAction})
        a->setCheckable(true);
    normalAction->setChecked(true);
    menu->addSeparator();
    QAction* fixedValuesAction = menu->addAction(QStringLiteral("モード設定(&M)"));
    fixedValuesAction->setObjectName(QStringLiteral("fixedValuesAction"));
    connect(normalAction, &QAction::triggered, this, [this] { emit modeChosen(InputMode::Normal); });
    connect(fixedAction, &QAction::triggered, this, [this] { emit modeChosen(InputMode::Fixed); });
    connect(fixedValuesAction, &QAction::triggered, this, &InputModeControls::openFixedValues);
}

void InputModeControls::showMode(InputMode shown)
{
    const bool fixed = shown == InputMode::Fixed;
    normalAction->setChecked(!fixed);
    fixedAction->setChecked(fixed);
    (fixed ? fixedButton : normalButton)->setChecked(true);
    mode = shown;
    writeKeyHint();
}

void InputModeControls::setObservation(bool shown)
{
    observation = shown;
    writeKeyHint();
}

void InputModeControls::writeKeyHint()
{
    if (observation) {
        hint->setText(QStringLiteral("　入力キー（観察）：Ａ「a」「3」、Ｂ「b」「2」、Ｃ「c」「1」、欠席「/」、全観点Ａ「+」"));
    } else if (mode == InputMode::Fixed) {
        const auto& values = ctx.data.fixedValues;
        hint->setText(QStringLiteral("　入力キー（固定入力）：%1点「1」、%2点「2」、%3点「3」または「*」、欠席「/」")
                          .arg(values[1])
                          .arg(values[2])
                          .arg(values[3]));
    } else {
        hint->setText(QStringLiteral("　入力キー：100点「*」、欠席「/」、全観点一括満点入力「+」"));
    }
}

void InputModeControls::openFixedValues()
{
    if (fixedValues) {
        fixedValues->raise();
        fixedValues->activateWindow();
        return;
    }
    fixedValues = new FixedValuesDialog(ctx, screen);
    fixedValues->setAttribute(Qt::WA_DeleteOnClose);
    connect(fixedValues, &QDialog::finished, this, &InputModeControls::fixedValuesClosed);
    fixedValues->prepare();
    fixedValues->show();
}

void InputModeControls::closeFixedValues()
{
    if (fixedValues)
        fixedValues->close();
}

QList<QWidget*> InputModeControls::tabChain() const
{
    return {normalButton, fixedButton, fixedValuesButton};
}

FixedValuesDialog* InputModeControls::fixedValuesDialog() const
{
    return fixedValues;
}
