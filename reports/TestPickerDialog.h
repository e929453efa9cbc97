#pragma once
// "集計テストの選択": the tests of the unit in a list; the teacher picks the tests
// the overall tally covers. Run modally (ctx.ui.runModal) by the overall tally,
// which hands it savedTests and reads the choice back from its selected flags:
// -1 for a chosen test, 0 for one left out. Closed by its frame, it sets no flag.

#include "frame/AppContext.h"

#include <QDialog>

class QLabel;
class QListWidget;

class TestPickerDialog : public QDialog {
    Q_OBJECT
public:
    explicit TestPickerDialog(AppContext& ctx, QWidget* parent = nullptr);

    // Lists the tests of savedTests, none selected, and sets the hint.
    void prepare();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // O K: the selected tests are chosen.
    void acceptSelected();
    // 全テスト: every test is chosen.
    void acceptAll();

    AppContext& ctx;
    QListWidget* testList = nullptr;
    QLabel* hintLabel = nullptr;
};
