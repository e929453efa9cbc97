#include "entry/TestDefinitionPanel.h"

#include "entry/EntryWidgets.h"
#include "model/TestList.h"
#include "platform/Ui.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScopedValueRollback>
#include <QTimer>
#include <QVBoxLayout>

namespace {

using TestList::ObservationFullMarks;

// The number a box holds: a whole number (blanks around it allowed), otherwise 0.
int numberIn(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? value : 0;
}

bool isUndoOrRedoKey(const QKeyEvent* key)
{
    const QKeyCombination combination = key->keyCombination();
    return key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo)
        || combination == QKeyCombination(Qt::ControlModifier, Qt::Key_Y)
        || combination == QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z);
}

}  // namespace

TestDefinitionPanel::TestDefinitionPanel(Ui& ui, QWidget* parent)
    : QGroupBox(QStringLiteral("テスト情報"), parent), ui(ui)
{
    setObjectName(QStringLiteral("testInfo"));
    auto* info = new QVBoxLayout(this);
    info->addLayout(buildTop());
    info->addLayout(buildKind());
    info->addLayout(buildColumns());
    connectBoxes();
}

QLayout* TestDefinitionPanel::buildTop()
{
    auto* top = new QHBoxLayout;
    auto* numberLabel = new QLabel(QStringLiteral("No."), this);
    testNumber = new QLabel(this);
    testNumber->setObjectName(QStringLiteral("testNumber"));
    testNumber->setMinimumWidth(28);
    testNumber->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    testNumber->setFrameShape(QFrame::StyledPanel);
    testNumberArrows = new UpDownButtons(this);
    testNumberArrows->setObjectName(QStringLiteral("testNumberArrows"));
    testName = new QLineEdit(this);
    testName->setObjectName(QStringLiteral("testName"));
    testName->setToolTip(QStringLiteral("テスト名を入力してください"));
    testName->setPlaceholderText(QStringLiteral("テスト名を入力してください"));
    otherClassButton = new QPushButton(QStringLiteral("参照"), this);
    otherClassButton->setObjectName(QStringLiteral("otherClassButton"));
    otherClassButton->setAutoDefault(false);
    auto* countLabel = new QLabel(QStringLiteral("観点数"), this);
    columnCount = new QLineEdit(this);
    columnCount->setObjectName(QStringLiteral("columnCount"));
    // A one-digit field: one digit or nothing.
    columnCount->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]?")), columnCount));
    columnCount->setMaxLength(1);
    columnCount->setFixedWidth(32);
    columnCount->setAlignment(Qt::AlignCenter);
    top->addWidget(numberLabel);
    top->addWidget(testNumber);
    top->addWidget(testNumberArrows);
    top->addSpacing(8);
    top->addWidget(testName, 1);
    top->addWidget(otherClassButton);
    top->addSpacing(12);
    top->addWidget(countLabel);
    top->addWidget(columnCount);
    return top;
}

// The kind of test and its weight in averages over several tests, on a line of
// their own so that the name keeps its room.
QLayout* TestDefinitionPanel::buildKind()
{
    auto* line = new QHBoxLayout;
    auto* kindLabel = new QLabel(QStringLiteral("種類"), this);
    kindBox = new QComboBox(this);
    kindBox->setObjectName(QStringLiteral("kindBox"));
    kindBox->addItem(QStringLiteral("点数"));
    kindBox->addItem(QStringLiteral("観察（Ａ・Ｂ・Ｃ）"));
    kindBox->setToolTip(QStringLiteral("点数のテストか、Ａ・Ｂ・Ｃで入力する観察かを選んでください"));
    auto* weightLabel = new QLabel(QStringLiteral("重み"), this);
    weightBox = new QComboBox(this);
    weightBox->setObjectName(QStringLiteral("weightBox"));
    for (double weight : weights())
        weightBox->addItem(QString::number(weight), weight);
    weightBox->setToolTip(QStringLiteral("いくつものテストの平均で、このテストを何回分に数えるか（0.5～5）"));
    line->addWidget(kindLabel);
    line->addWidget(kindBox);
    line->addSpacing(12);
    line->addWidget(weightLabel);
    line->addWidget(weightBox);
    auto* termLabel = new QLabel(QStringLiteral("学期"), this);
    termBox = new QComboBox(this);
    termBox->setObjectName(QStringLiteral("termBox"));
    // Its choices come with the class's terms: the box follows their width.
    termBox->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    termBox->setToolTip(QStringLiteral("このテストがどの学期の成績に入るかを選んでください"));
    line->addSpacing(12);
    line->addWidget(termLabel);
    line->addWidget(termBox);
    line->addStretch();
    return line;
}

QList<double> TestDefinitionPanel::weights()
{
    QList<double> list;
    for (int halves = 1; halves <= 10; ++halves)
        list.append(halves / 2.0);
    return list;
}

// One box per score column: its viewpoint and its full marks. Object names count
// the columns from 1, as their titles 観点Ⅰ..観点Ⅳ do.
QLayout* TestDefinitionPanel::buildColumns()
{
    auto* columns = new QHBoxLayout;
    for (int k = 0; k < Limits::Columns; ++k) {
        auto* column = new QGroupBox(Names::viewpointHeading(k + 1), this);
        column->setObjectName(QStringLiteral("viewpointColumn%1").arg(k + 1));
        auto* box = new QGridLayout(column);
        auto* list = new QComboBox(column);
        list->setObjectName(QStringLiteral("viewpointBox%1").arg(k + 1));
        list->setToolTip(QStringLiteral("観点を選んでください"));
        list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        auto* marksLabel = new QLabel(QStringLiteral("満点"), column);
        auto* marks = new QLineEdit(column);
        marks->setObjectName(QStringLiteral("fullMarksBox%1").arg(k + 1));
        marks->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), marks));
        marks->setFixedWidth(48);
        marks->setAlignment(Qt::AlignRight);
        box->addWidget(list, 0, 0, 1, 3);
        box->addWidget(marksLabel, 1, 1, Qt::AlignRight);
        box->addWidget(marks, 1, 2);
        box->setColumnStretch(0, 1);
        giveTitleRoom(column);
        columns->addWidget(column, 1);
        viewpointBoxes[size_t(k)] = list;
        fullMarksBoxes[size_t(k)] = marks;
    }
    return columns;
}

void TestDefinitionPanel::connectBoxes()
{
    connect(testNumberArrows, &UpDownButtons::downClicked, this, &TestDefinitionPanel::previousTestClicked);
    connect(testNumberArrows, &UpDownButtons::upClicked, this, &TestDefinitionPanel::nextTestClicked);
    connect(otherClassButton, &QPushButton::clicked, this, &TestDefinitionPanel::otherClassClicked);
    // Every change of a control is a change of the definition.
    connect(testName, &QLineEdit::textChanged, this, [this] { boxChanged(NameField); });
    connect(columnCount, &QLineEdit::textChanged, this, [this] { boxChanged(CountField); });
    connect(kindBox, &QComboBox::currentIndexChanged, this, &TestDefinitionPanel::kindChosen);
    connect(weightBox, &QComboBox::currentIndexChanged, this, [this] { boxChanged(WeightField); });
    connect(termBox, &QComboBox::currentIndexChanged, this, [this] { boxChanged(TermField); });
    for (int k = 0; k < Limits::Columns; ++k) {
        connect(viewpointBoxes[size_t(k)], &QComboBox::currentIndexChanged, this,
                [this, k] { boxChanged(ViewpointField + k); });
        connect(fullMarksBoxes[size_t(k)], &QLineEdit::textChanged, this, [this, k] { boxChanged(FullMarksField + k); });
    }
    for (QWidget* control : tabChain() + kindControls())
        control->installEventFilter(this);
}

void TestDefinitionPanel::setViewpointNames(const QStringList& names)
{
    const QScopedValueRollback<bool> quiet(showing, true);
    for (QComboBox* list : viewpointBoxes) {
        list->clear();
        list->addItem(QStringLiteral("（な　し）"));
        list->addItems(names);
    }
}

void TestDefinitionPanel::setTermChoices(const QStringList& choices)
{
    const QScopedValueRollback<bool> quiet(showing, true);
    termBox->clear();
    termBox->addItems(choices);
    // Full-width brackets are wider than the box reckons: room for the longest choice.
    int widest = 0;
    for (const QString& choice : choices)
        widest = qMax(widest, termBox->fontMetrics().horizontalAdvance(choice));
    termBox->setMinimumWidth(widest + 40);
    showInControls(value);
}

void TestDefinitionPanel::setOtherClassAllowed(bool allowed)
{
    otherClassButton->setEnabled(allowed);
}

void TestDefinitionPanel::showDefinition(const QString& number, const TestDefinition& definition)
{
    testNumber->setText(number);
    value = definition;
    showInControls(definition);
    enableColumns(definition.columnCount, definition.kind == TestKind::Observation);
}

void TestDefinitionPanel::showInControls(const TestDefinition& definition)
{
    const QScopedValueRollback<bool> quiet(showing, true);
    testName->setText(definition.name);
    columnCount->setText(QString::number(definition.columnCount));
    kindBox->setCurrentIndex(definition.kind == TestKind::Observation ? 1 : 0);
    // A weight not on the list (a hand-edited class file) shows the nearest one.
    int nearest = 0;
    for (int i = 1; i < weightBox->count(); ++i)
        if (qAbs(weightBox->itemData(i).toDouble() - definition.weight)
            < qAbs(weightBox->itemData(nearest).toDouble() - definition.weight))
            nearest = i;
    weightBox->setCurrentIndex(nearest);
    // A term the class no longer has (三学期 after a change to 前期・後期) shows as itself.
    while (termBox->count() > 0 && termBox->count() <= definition.term)
        termBox->addItem(QStringLiteral("%1学期").arg(termBox->count()));
    termBox->setCurrentIndex(qBound(0, definition.term, Limits::Terms));
    for (int k = 0; k < Limits::Columns; ++k) {
        const TestColumn& column = definition.columns[size_t(k)];
        viewpointBoxes[size_t(k)]->setCurrentIndex(qBound(0, column.viewpoint, Limits::Viewpoints));
        fullMarksBoxes[size_t(k)]->setText(QString::number(column.fullMarks));
    }
}

void TestDefinitionPanel::enableColumns(int n, bool observation)
{
    for (int k = 0; k < Limits::Columns; ++k) {
        viewpointBoxes[size_t(k)]->setEnabled(k < n);
        fullMarksBoxes[size_t(k)]->setEnabled(k < n && !observation);
    }
}

void TestDefinitionPanel::kindChosen()
{
    if (showing)
        return;
    TestDefinition next = value;
    next.kind = kindBox->currentIndex() == 1 ? TestKind::Observation : TestKind::Scores;
    // A, B and C are 3, 2 and 1 points out of 3 in every column, so that every
    // reader of the score file counts them.
    if (next.kind == TestKind::Observation) {
        for (TestColumn& column : next.columns)
            column.fullMarks = ObservationFullMarks;
        const QScopedValueRollback<bool> quiet(showing, true);
        for (QLineEdit* box : fullMarksBoxes)
            box->setText(QString::number(ObservationFullMarks));
    }
    for (int k = 0; k < Limits::Columns; ++k)
        fullMarksBoxes[size_t(k)]->setEnabled(viewpointBoxes[size_t(k)]->isEnabled() && next.kind != TestKind::Observation);
    commit(next, KindField);
}

void TestDefinitionPanel::boxChanged(int field)
{
    if (showing)
        return;
    TestDefinition next = value;
    if (field == NameField) {
        next.name = testName->text();
    } else if (field == CountField) {
        next.columnCount = numberIn(columnCount->text());
    } else if (field == WeightField) {
        next.weight = weightBox->currentData().toDouble();
    } else if (field == TermField) {
        next.term = qMax(0, termBox->currentIndex());
    } else if (field < FullMarksField) {
        const int k = field - ViewpointField;
        next.columns[size_t(k)].viewpoint = viewpointBoxes[size_t(k)]->currentIndex();
    } else {
        const int k = field - FullMarksField;
        next.columns[size_t(k)].fullMarks = numberIn(fullMarksBoxes[size_t(k)]->text());
    }
    commit(next, field);
}

void TestDefinitionPanel::commit(const TestDefinition& next, int field)
{
    if (next == value)
        return;
    value = next;
    emit edited(value, field, visit);
}

void TestDefinitionPanel::adopt(const TestDefinition& definition)
{
    // The borrowed definition is a step of its own.
    ++visit;
    TestDefinition next = definition;
    // The copied column count governs the lists at once, so that no score can be
    // typed into a column the test does not keep.
    const bool counted = next.columnCount >= 1 && next.columnCount <= Limits::Columns;
    if (counted)
        next.keepViewpointsOf(next.columnCount);
    showInControls(next);
    if (counted)
        enableColumns(next.columnCount, next.kind == TestKind::Observation);
    commit(next, WholeField);
}

void TestDefinitionPanel::columnCountLeft()
{
    if (columnCount->text().trimmed().isEmpty())
        return;
    const int n = value.columnCount;
    if (n < 1 || n > Limits::Columns) {
        ui.beep();
        QTimer::singleShot(0, columnCount, [this] { columnCount->setFocus(Qt::OtherFocusReason); });
        return;
    }
    // The lists the count turns off are part of the count's step.
    TestDefinition next = value;
    next.keepViewpointsOf(n);
    {
        const QScopedValueRollback<bool> quiet(showing, true);
        for (int k = n; k < Limits::Columns; ++k)
            viewpointBoxes[size_t(k)]->setCurrentIndex(0);
        enableColumns(n, value.kind == TestKind::Observation);
    }
    commit(next, CountField);
}

void TestDefinitionPanel::stepFullMarks(QLineEdit* box, int key)
{
    const QString text = box->text();
    if (key == Qt::Key_Up) {
        if (text == QLatin1String("0"))
            box->setText(QStringLiteral("50"));
        else if (text == QLatin1String("50"))
            box->setText(QStringLiteral("100"));
    } else if (key == Qt::Key_Down && text == QLatin1String("100")) {
        box->setText(QStringLiteral("50"));
    }
}

void TestDefinitionPanel::focusName()
{
    testName->setFocus(Qt::OtherFocusReason);
    testName->selectAll();
}

void TestDefinitionPanel::selectName()
{
    testName->selectAll();
}

void TestDefinitionPanel::focusField(int field)
{
    QWidget* control = testName;
    if (field == CountField)
        control = columnCount;
    else if (field == KindField)
        control = kindBox;
    else if (field == WeightField)
        control = weightBox;
    else if (field == TermField)
        control = termBox;
    else if (field >= ViewpointField && field < ViewpointField + Limits::Columns)
        control = viewpointBoxes[size_t(field - ViewpointField)];
    else if (field >= FullMarksField && field < FullMarksField + Limits::Columns)
        control = fullMarksBoxes[size_t(field - FullMarksField)];
    if (!control->isEnabled())
        control = testName;
    control->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        edit->selectAll();
}

QList<QWidget*> TestDefinitionPanel::tabChain() const
{
    QList<QWidget*> chain{testName, columnCount};
    for (int k = 0; k < Limits::Columns; ++k)
        chain << viewpointBoxes[size_t(k)] << fullMarksBoxes[size_t(k)];
    return chain;
}

QWidget* TestDefinitionPanel::otherClassControl() const
{
    return otherClassButton;
}

QList<QWidget*> TestDefinitionPanel::kindControls() const
{
    return {kindBox, weightBox, termBox};
}

bool TestDefinitionPanel::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::FocusIn)
        ++visit;  // changes from here on are a step of their own
    auto* edit = qobject_cast<QLineEdit*>(watched);
    // Ctrl+Z and its kin undo the screen's last step, not the typing of one box.
    if (type == QEvent::ShortcutOverride && edit && isUndoOrRedoKey(static_cast<QKeyEvent*>(event)))
        return true;
    if (type == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // Enter moves on as Tab does.
            focusNextChild();
            return true;
        }
    }
    if (edit && type == QEvent::FocusIn) {
        edit->selectAll();
        // A click places the caret after the focus arrives; select once it has.
        if (static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason)
            QTimer::singleShot(0, edit, [edit] { edit->selectAll(); });
    }
    if (watched == columnCount && type == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            columnCountLeft();
    }
    if (type == QEvent::KeyRelease)
        for (QLineEdit* box : fullMarksBoxes)
            if (watched == box)
                stepFullMarks(box, static_cast<QKeyEvent*>(event)->key());
    return QGroupBox::eventFilter(watched, event);
}
