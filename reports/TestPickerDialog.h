#pragma once
// "集計テストの選択": the tests of the unit in a list; the teacher picks the tests
// the overall tally covers. Run modally (ctx.ui.runModal) by the overall tally,
// which hands it the tests and takes the chosen ones back. A button per term of
// the class (「1学期のテスト」 …) chooses that term's tests in one step. Closed by
// its frame, it chooses none.

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

protected:
    void showEvent(QShowEvent* event) override;

private:
    // O K: the selected tests are chosen.
    void acceptSelected();
    // 全テスト: every test is chosen.
    void acceptAll();
    // 「1学期のテスト」: the tests of term t are chosen.
    void acceptTerm(int term);

    AppContext& ctx;
    QListWidget* testList = nullptr;
    QLabel* hintLabel = nullptr;
    QList<QPushButton*> termButtons;  // term 1 first
    QList<int> testTerms;              // the term of each listed test
    QList<int> chosen;
};
