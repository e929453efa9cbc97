#pragma once
// Score entry's input modes: 通常入力 (two digits make a score) and 固定入力 (the
// keys 1, 2 and 3 type fixed values), chosen by the option buttons beside the grid
// or the 入力ﾓｰﾄﾞ menu; the key hint below the grid that names the keys of the mode;
// and the fixed-values window (モード設定).

#include "entry/ScoreKeys.h"

#include <QGroupBox>
#include <QPointer>

class FixedValuesDialog;
class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QRadioButton;
struct AppContext;

class InputModeControls : public QGroupBox {
    Q_OBJECT
public:
    // The fixed-values window opens over `screen`.
    InputModeControls(AppContext& ctx, QWidget* screen);

    // Adds the two modes and モード設定 to the menu.
    void fillMenu(QMenu* menu);
    QLabel* keyHint() const { return hint; }
    // Shows the mode on the buttons and in the menu, and its keys in the hint.
    void showMode(ScoreKeys::InputMode mode);
    // Names the keys of the mode with the fixed values as they are now, or the keys
    // of an observation (Ａ・Ｂ・Ｃ), which are the same in both modes.
    void writeKeyHint();
    void setObservation(bool observation);
    // The fixed-values window while it is open.
    FixedValuesDialog* fixedValuesDialog() const;
    void closeFixedValues();
    // The option buttons and モード設定 in the order Tab visits them.
    QList<QWidget*> tabChain() const;

signals:
    void modeChosen(ScoreKeys::InputMode mode);
    // The fixed-values window closed; its values may have changed.
    void fixedValuesClosed();

private:
    void openFixedValues();

    AppContext& ctx;
    QWidget* screen;
    QRadioButton* normalButton = nullptr;
    QRadioButton* fixedButton = nullptr;
    QPushButton* fixedValuesButton = nullptr;
    QAction* normalAction = nullptr;
    QAction* fixedAction = nullptr;
    QLabel* hint = nullptr;
    QPointer<FixedValuesDialog> fixedValues;
    ScoreKeys::InputMode mode = ScoreKeys::InputMode::Normal;
    bool observation = false;
};
