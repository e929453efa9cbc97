#pragma once
// 他クラステスト名参照: while a new test is being defined in score entry (specialist
// mode), the teacher picks a test already defined for another class; its name,
// column count, viewpoints and full marks are copied into the score-entry
// controls. Scores are not copied. Run modally through the Ui seam.

#include "model/ClassData.h"
#include "frame/AppContext.h"

#include <QDialog>

class ScoreEntryWindow;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

class OtherClassTestPicker : public QDialog {
    Q_OBJECT
public:
    OtherClassTestPicker(AppContext& ctx, ScoreEntryWindow& entry, QWidget* parent = nullptr);

    // Fills the class list and lists the tests of the class before the current one
    // (class 1 when the current class is class 1).
    void prepare();
    void Cb_ClassName_Click();
    // Lists the tests of class k (1..9) and keeps their columns in the arrays below.
    void loadldata(int k);
    void Lt_TestName_DblClick();
    // 0: 引用 (copy the selected test and close), 1: ｷｬﾝｾﾙ.
    void Bt_OK_Click(int index);

    QLabel* Label1 = nullptr;
    QComboBox* Cb_ClassName = nullptr;
    QListWidget* Lt_TestName = nullptr;
    QPushButton* Bt_OK[2] = {};

    // Columns of the listed tests. A later class overwrites only the slots its own
    // tests use; the others keep what an earlier class left in them.
    int OtherViewpointCount[Limits::Tests + 1] = {};
    int OtherViewpointKind[Limits::Tests + 1][Limits::Columns + 1] = {};
    int OtherFullMarks[Limits::Tests + 1][Limits::Columns + 1] = {};

protected:
    bool event(QEvent* event) override;

private:
    void copySelected();

    AppContext& ctx;
    ScoreEntryWindow& entry;
};
