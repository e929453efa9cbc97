#pragma once
// 固定入力モードの設定: the three values that the keys 1, 2 and 3 enter in the
// fixed-input mode of score entry. Opened without blocking score entry; 決定 stores
// the values in ClassData and the settings store.

#include "frame/AppContext.h"

#include <QDialog>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

class FixedValuesDialog : public QDialog {
    Q_OBJECT
public:
    explicit FixedValuesDialog(AppContext& ctx, QWidget* parent = nullptr);

    // Centres the window and shows the current values.
    void prepare();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // 決定: checks the three values and stores them; the window stays open when a
    // value is refused or cannot be stored.
    void storeValues();

    AppContext& ctx;
    // By key 1..3 (index 0 unused); the key 3 row stands at the top.
    std::array<QLabel*, 4> keyLabels{};
    std::array<QLineEdit*, 4> valueBoxes{};
    QPushButton* okButton = nullptr;
    QPushButton* cancelButton = nullptr;
};
