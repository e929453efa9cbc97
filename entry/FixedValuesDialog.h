#pragma once
// 固定入力モードの設定: the three values that the keys 1, 2 and 3 enter in the
// fixed-input mode of score entry. Opened without blocking score entry; 決定 stores
// the values in ClassData and the settings store.

#include "frame/AppContext.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class FixedValuesDialog : public QDialog {
    Q_OBJECT
public:
    explicit FixedValuesDialog(AppContext& ctx, QWidget* parent = nullptr);

    // Centres the window and shows the current values.
    void prepare();
    // 0: 決定, 1: ｷｬﾝｾﾙ.
    void Command1_Click(int index);

    // Tx_Ten 0 holds the value of key 3, 1 of key 2, 2 of key 1.
    QLineEdit* Tx_Ten[3] = {};
    QLabel* Label1[3] = {};
    QPushButton* Command1[2] = {};

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    AppContext& ctx;
};
