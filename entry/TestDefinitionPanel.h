#pragma once
// The upper half of score entry (テスト情報): the test's number and name, the
// 観点数 box, the test's kind (点数 or 観察（Ａ・Ｂ・Ｃ）), weight (重み) and term (学期), and one
// viewpoint list and full-marks box per score column. It is
// bound to a TestDefinition: it shows the value it is given and, when the teacher
// changes a control, hands the changed value on (edited). The boxes are only its
// way of showing and editing the value; nothing else reads them.

#include "model/TestDefinition.h"

#include <QGroupBox>
#include <array>

class QComboBox;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class Ui;
class UpDownButtons;

class TestDefinitionPanel : public QGroupBox {
    Q_OBJECT
public:
    // What a change touched. Changes of one field while its control keeps the focus
    // make one step; an undone step gives that field's control the focus.
    enum Field {
        NameField = 0,
        CountField = 1,
        ViewpointField = 2,
        FullMarksField = 6,
        WholeField = 10,
        KindField = 11,
        WeightField = 12,
        TermField = 13
    };
    // The weights the list offers: 0.5 to 5 in steps of 0.5.
    static QList<double> weights();

    TestDefinitionPanel(Ui& ui, QWidget* parent);

    // Fills each viewpoint list: "（な　し）", then the four names.
    void setViewpointNames(const QStringList& names);
    // The term list: "（なし）" then the class's terms (model/Terms.h choices()).
    void setTermChoices(const QStringList& choices);
    // The 参照 button, for another class's test, is for specialist mode only.
    void setOtherClassAllowed(bool allowed);
    // Shows test `number` with its definition, as no change of the teacher's; the
    // columns beyond its count are switched off.
    void showDefinition(const QString& number, const TestDefinition& definition);
    const TestDefinition& definition() const { return value; }
    // Takes another class's test as the teacher's own change of the whole definition.
    void adopt(const TestDefinition& definition);

    void focusName();
    void selectName();
    // Gives the control of a field the focus (the name box when that one is off).
    void focusField(int field);
    // The boxes in the order Tab visits them, and the 参照 button. The kind and the
    // weight, seldom changed, come last, so that Enter goes from the boxes of the
    // columns straight to the grid.
    QList<QWidget*> tabChain() const;
    QWidget* otherClassControl() const;
    QList<QWidget*> kindControls() const;

signals:
    // The teacher changed the definition: `field` tells what, `visit` counts the
    // times a control of the panel took the focus.
    void edited(const TestDefinition& definition, int field, int visit);
    void previousTestClicked();
    void nextTestClicked();
    void otherClassClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLayout* buildTop();
    QLayout* buildKind();
    QLayout* buildColumns();
    void connectBoxes();
    // Puts a definition into the controls, as no change of the teacher's.
    void showInControls(const TestDefinition& definition);
    // The columns beyond n are off; an observation's full marks are fixed at 3.
    void enableColumns(int n, bool observation);
    // The kind chosen: an observation has full marks 3 in every column.
    void kindChosen();
    // Takes the box of a field into the value.
    void boxChanged(int field);
    void commit(const TestDefinition& next, int field);
    // Leaving the 観点数 box: a count of 1..4 lets go of the viewpoints beyond it.
    void columnCountLeft();
    // The arrow keys step a full-mark box between the usual full marks 0, 50 and 100.
    void stepFullMarks(QLineEdit* box, int key);

    Ui& ui;
    QLabel* testNumber = nullptr;
    UpDownButtons* testNumberArrows = nullptr;
    QLineEdit* testName = nullptr;
    QPushButton* otherClassButton = nullptr;
    QLineEdit* columnCount = nullptr;
    QComboBox* kindBox = nullptr;
    QComboBox* weightBox = nullptr;
    QComboBox* termBox = nullptr;
    std::array<QComboBox*, Limits::Columns> viewpointBoxes{};
    std::array<QLineEdit*, Limits::Columns> fullMarksBoxes{};
    TestDefinition value;
    // While the panel shows a value it was given, its controls' changes are none of the teacher's.
    bool showing = false;
    int visit = 0;
};
