#pragma once
// 他クラステスト名参照: while a new test is being defined in score entry (specialist
// mode), the teacher picks a test already defined for another class. The picker
// hands back that test's definition (name, column count, viewpoints and full
// marks); score entry shows it. Scores are not copied. Run modally through the Ui seam.

#include "model/TestDefinition.h"
#include "frame/AppContext.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

class OtherClassTestPicker : public QDialog {
    Q_OBJECT
public:
    explicit OtherClassTestPicker(AppContext& ctx, QWidget* parent = nullptr);

    // Fills the class list and lists the tests of the class before the current one
    // (class 1 when the current class is class 1).
    void prepare();
    // The definition of the test picked by 引用 or a double click, once accepted.
    const TestDefinition& chosenTest() const { return chosen; }

protected:
    bool event(QEvent* event) override;

private:
    // Lists the tests of class k (1..9) and keeps their definitions.
    void listTestsOf(int k);
    void copySelected();

    AppContext& ctx;
    QLabel* classLabel = nullptr;
    QComboBox* classList = nullptr;
    QListWidget* testList = nullptr;
    QPushButton* copyButton = nullptr;
    QPushButton* cancelButton = nullptr;
    // The definitions of the listed tests by list row + 1. A later class replaces
    // only the columns its own tests use; the columns beyond keep what an earlier
    // class left in them, and come over with the test.
    std::array<TestDefinition, Limits::Tests + 1> listed;
    TestDefinition chosen;
};
