#pragma once
// "集計テストの選択": the tests of the unit in a list; the teacher picks the tests
// the overall tally covers. Run modally (ctx.ui.runModal) by the overall tally,
// which hands it the tests and takes the chosen ones back. Closed by its frame,
// it chooses none.

#include "frame/AppContext.h"

#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;

class TestPickerDialog : public QDialog {
    Q_OBJECT
public:
    explicit TestPickerDialog(AppContext& ctx, QWidget* parent = nullptr);

    // Lists the tests, none selected, and sets the hint.
    void prepare(const TestSet& tests);
    // The numbers of the tests chosen by 「O K」 or 「全テスト」, ascending.
    const QList<int>& chosenTests() const { return chosen; }
    void Command1_Click();
    void Bt_All_Click();

    QListWidget* Lt_Test = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Bt_All = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    AppContext& ctx;
    QList<int> chosen;
};
