#include "entry/ScoreEntryWindow.h"

#include "entry/OtherClassTestPicker.h"
#include "frame/MainFrame.h"
#include "model/Format.h"
#include "model/NewClass.h"
#include "model/RosterFile.h"
#include "model/ScoreFile.h"
#include "model/TestChecks.h"
#include "model/ViewpointNames.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTableView>
#include <QTimer>
#include <QUndoStack>

using namespace ScoreKeys;

namespace {
const QString NewTestName = QStringLiteral("新規テスト");
const QString NoViewpoint = QStringLiteral("（な　し）");

// A test just appended, and the first test of an empty score file: one column of
// 100 points without a viewpoint.
TestDefinition newTestDefinition()
{
    TestDefinition test;
    test.name = NewTestName;
    test.columnCount = 1;
    test.column(1).fullMarks = 100;
    return test;
}

void clearTest(TestSet& set, int t)
{
    set.name[t].clear();
    set.columnCount[t] = 0;
    for (int c = 0; c <= Limits::Columns + 1; ++c) {
        set.viewpoint[t][c] = 0;
        set.fullMarks[t][c] = 0;
        for (int p = 0; p <= Limits::Pupils; ++p)
            set.score[t][c][p] = 0;
    }
}
}  // namespace

ScoreEntryWindow::ScoreEntryWindow(AppContext& ctx, QWidget* parent) : ChildWindow(ctx, parent)
{
    setObjectName(QStringLiteral("ScoreEntryWindow"));
    setWindowTitle(QStringLiteral("点数入力"));
    buildMenus();
    buildTestInfo();
    buildGridAndButtons();
    connectControls();
    setTabOrder();
}

ScoreEntryWindow::~ScoreEntryWindow() = default;

QSize ScoreEntryWindow::sizeHint() const
{
    // Wide enough for the four viewpoint lists, tall enough for a dozen pupils: the
    // screen at its smallest with the grid grown to its heading and twelve rows.
    // A shorter frame shrinks the grid, which then scrolls.
    const int rows = 12;
    const int gridHeight = scoreGrid->horizontalHeader()->sizeHint().height()
        + rows * scoreGrid->verticalHeader()->defaultSectionSize() + 2 * scoreGrid->frameWidth();
    const QSize smallest = layout()->minimumSize();
    return QSize(qMax(720, smallest.width()), smallest.height() + qMax(0, gridHeight - scoreGrid->minimumHeight()));
}

// ---- opening and closing ---------------------------------------------------------

bool ScoreEntryWindow::prepare()
{
    // What the screen shows on opening is where undoing stops, not a step.
    const QScopedValueRollback<bool> quiet(showingDefinition, true);
    ClassData& data = ctx.data;
    otherClassButton->setEnabled(data.specialistMode);
    // The screen starts from the files. A roster or score file that cannot be read
    // keeps the screen closed: saving would otherwise write another unit's tests.
    if (!ctx.check(RosterFile::load(data), this) || !ctx.check(ScoreFile::load(data), this))
        return false;
    if (data.pupilCount <= 0) {
        ctx.ui.message(this, NewClass::noPupilsMessage());
        return false;
    }
    QStringList names;
    for (int p = 1; p <= data.pupilCount; ++p)
        names << data.pupilName[p];
    scores->setPupils(names);
    scores->setNumberColumnColours(palette().color(QPalette::Button), palette().color(QPalette::ButtonText));
    for (QComboBox* list : viewpointBoxes) {
        list->clear();
        list->addItem(NoViewpoint);
        for (int v = 1; v <= Limits::Viewpoints; ++v)
            list->addItem(ViewpointNames::listName(data.viewpointName, data.subject, v));
    }
    if (data.tests.count != 0) {
        data.currentTest = data.tests.count;
        showTest();
    } else {
        // An empty score file: the screen starts on a new first test, nothing typed.
        data.currentTest = 1;
        data.tests.count = 1;
        testNumber->setText(QStringLiteral("1"));
        showDefinition(newTestDefinition());
        applyColumnCount(1);
        setCursor(1, NameColumn);
    }
    // What the screen holds now is what the files hold.
    loaded = std::make_unique<TestSet>(data.tests);
    storeInto(*loaded, data.currentTest);
    recordedDefinition = shownDefinition();
    undoStack->clear();
    writeKeyHint();
    return true;
}

void ScoreEntryWindow::activated()
{
    if (ctx.frame) {
        ctx.frame->disableAllCommands();
        ctx.frame->disablePrint();
    }
}

bool ScoreEntryWindow::holdsUnsavedChanges() const
{
    if (!loaded)
        return false;
    auto now = std::make_unique<TestSet>(ctx.data.tests);
    storeInto(*now, ctx.data.currentTest);
    return !TestChecks::sameTests(*loaded, *now, ctx.data.pupilCount);
}

// Closing by the frame (close box, Ctrl+F4) would drop what was typed: ask first.
bool ScoreEntryWindow::mayClose()
{
    if (closingByCommand)
        return true;
    return mayLeave(Leaving::Close);
}

// Ending the program while scores are typed but not saved asks the same question.
bool ScoreEntryWindow::mayEndProgram()
{
    if (closingByCommand || isUnloaded())
        return true;
    if (!mayLeave(Leaving::ProgramEnd))
        return false;
    closingByCommand = true;  // answered: the window goes without asking again
    return true;
}

bool ScoreEntryWindow::mayLeave(Leaving how)
{
    if (!holdsUnsavedChanges())
        return true;
    const QString text = how == Leaving::ProgramEnd
        ? QStringLiteral("入力した点数はまだ保存されていません。\n保存してから、かざねを終了しますか？")
        : QStringLiteral("入力した点数はまだ保存されていません。\n保存してから、点数入力を終了しますか？");
    enum { Save, DontSave, Cancel };
    // 中止 means to leave without saving, so Enter keeps that meaning there; every
    // other way out defaults to saving.
    const int chosen = ctx.ui.ask(this, text,
                                  {QStringLiteral("保存して終了"), QStringLiteral("保存しないで終了"), QStringLiteral("キャンセル")},
                                  how == Leaving::Discard ? DontSave : Save, Cancel, Ui::Icon::Question);
    if (chosen == Save)
        return saveTests();
    return chosen == DontSave;
}

void ScoreEntryWindow::closed()
{
    if (fixedValues)
        fixedValues->close();
    if (ctx.frame) {
        ctx.frame->enableAllCommands();
        ctx.frame->disablePrint();
    }
}

// ---- the test shown --------------------------------------------------------------

TestDefinition ScoreEntryWindow::shownDefinition() const
{
    TestDefinition test;
    test.name = testName->text();
    test.columnCount = numberIn(columnCount->text());
    for (int k = 0; k < Limits::Columns; ++k) {
        test.columns[size_t(k)] = {viewpointBoxes[size_t(k)]->currentIndex(), numberIn(fullMarksBoxes[size_t(k)]->text())};
    }
    return test;
}

void ScoreEntryWindow::showDefinition(const TestDefinition& test)
{
    testName->setText(test.name);
    columnCount->setText(QString::number(test.columnCount));
    for (int k = 0; k < Limits::Columns; ++k) {
        viewpointBoxes[size_t(k)]->setCurrentIndex(qBound(0, test.columns[size_t(k)].viewpoint, Limits::Viewpoints));
        fullMarksBoxes[size_t(k)]->setText(QString::number(test.columns[size_t(k)].fullMarks));
    }
}

void ScoreEntryWindow::applyColumnCount(int n)
{
    for (int k = qMax(n, 0); k < Limits::Columns; ++k)
        viewpointBoxes[size_t(k)]->setCurrentIndex(0);
    enableColumns(n);
}

void ScoreEntryWindow::enableColumns(int n)
{
    for (int k = 0; k < Limits::Columns; ++k) {
        viewpointBoxes[size_t(k)]->setEnabled(k < n);
        fullMarksBoxes[size_t(k)]->setEnabled(k < n);
    }
}

void ScoreEntryWindow::showTest()
{
    const ClassData& data = ctx.data;
    const int t = data.currentTest;
    {
        const QScopedValueRollback<bool> quiet(showingDefinition, true);
        testNumber->setText(Format::hashes(t));
        showDefinition(TestDefinition::of(data.tests, t));
        applyColumnCount(numberIn(columnCount->text()));
        recordedDefinition = shownDefinition();
    }
    pending = PendingDigit::none();  // the cell it was typed into shows the other test now
    scores->showTest(data.tests, t);
    testName->selectAll();
    setCursor(1, FirstScoreColumn);
}

void ScoreEntryWindow::storeTest()
{
    storeInto(ctx.data.tests, ctx.data.currentTest);
}

void ScoreEntryWindow::storeInto(TestSet& set, int t) const
{
    const TestDefinition test = shownDefinition();
    test.storeInto(set, t);
    scores->storeScores(set, t, test.columnCount);
}

void ScoreEntryWindow::focusTestName()
{
    testName->setFocus(Qt::OtherFocusReason);
    testName->selectAll();
}

void ScoreEntryWindow::goToTest(int t)
{
    storeTest();
    ctx.data.currentTest = t;
    showTest();
    focusTestName();
}

void ScoreEntryWindow::nextTest()
{
    if (ctx.data.currentTest >= ctx.data.tests.count) {
        ctx.ui.beep();
        return;
    }
    goToTest(ctx.data.currentTest + 1);
}

void ScoreEntryWindow::previousTest()
{
    if (ctx.data.currentTest <= 1) {
        ctx.ui.beep();
        return;
    }
    goToTest(ctx.data.currentTest - 1);
}

void ScoreEntryWindow::firstTest()
{
    goToTest(1);
    scrollGridToTop();
}

void ScoreEntryWindow::lastTest()
{
    goToTest(ctx.data.tests.count);
    scrollGridToTop();
}

void ScoreEntryWindow::addTest()
{
    if (ctx.data.tests.count >= Limits::Tests) {
        ctx.ui.message(this,
                       QStringLiteral("テストは%1件までです。これ以上は追加できません。\n"
                                      "使わなくなったテストは、「編集」の「テストのメンテナンス」で削除できます。")
                           .arg(Limits::Tests),
                       Ui::Buttons::Ok, Ui::Icon::Information);
        return;
    }
    undoStack->push(new AppendTestCommand(*this, ctx.data.currentTest));
}

void ScoreEntryWindow::appendTest()
{
    ClassData& data = ctx.data;
    TestSet& set = data.tests;
    storeTest();
    const int t = ++set.count;
    // The new slot starts empty whatever an earlier use of the set left in it.
    clearTest(set, t);
    data.currentTest = t;
    {
        const QScopedValueRollback<bool> quiet(showingDefinition, true);
        testNumber->setText(Format::hashes(t));
        showDefinition(newTestDefinition());
        applyColumnCount(1);
        recordedDefinition = shownDefinition();
    }
    pending = PendingDigit::none();
    scores->showTest(set, t);
    setCursor(1, FirstScoreColumn);
    focusTestName();
    scrollGridToTop();
}

void ScoreEntryWindow::removeLastTest(int shown)
{
    ClassData& data = ctx.data;
    TestSet& set = data.tests;
    if (set.count <= 1)
        return;
    if (data.currentTest != set.count)
        storeTest();
    clearTest(set, set.count);
    --set.count;
    data.currentTest = qBound(1, shown, set.count);
    showTest();
    focusTestName();
    scrollGridToTop();
}

void ScoreEntryWindow::copyOtherClassTest()
{
    if (testName->text() != NewTestName) {
        ctx.ui.beep();
        return;
    }
    OtherClassTestPicker picker(ctx, this);
    picker.prepare();
    if (ctx.ui.runModal(picker) == QDialog::Accepted) {
        // The borrowed definition is one step.
        ++editSession;
        const QScopedValueRollback<int> whole(fieldOverride, WholeField);
        const TestDefinition& test = picker.chosenTest();
        showDefinition(test);
        // The copied column count governs the lists at once, so that no score can be
        // typed into a column the test does not keep.
        if (test.columnCount >= 1 && test.columnCount <= Limits::Columns)
            applyColumnCount(test.columnCount);
    }
    scoreGrid->setFocus(Qt::OtherFocusReason);
    setCursor(1, FirstScoreColumn);
    scrollGridToTop();
}

void ScoreEntryWindow::columnCountLeft()
{
    bool numeric = false;
    const int n = columnCount->text().trimmed().toInt(&numeric);
    if (!numeric)
        return;
    if (n < 1 || n > Limits::Columns) {
        ctx.ui.beep();
        QTimer::singleShot(0, columnCount, [this] { columnCount->setFocus(Qt::OtherFocusReason); });
        return;
    }
    // The lists the count turns off are part of the count's step.
    const QScopedValueRollback<int> asCount(fieldOverride, CountField);
    applyColumnCount(n);
}

// The arrow keys step a full-mark box between the usual full marks 0, 50 and 100.
void ScoreEntryWindow::stepFullMarks(QLineEdit* box, int key)
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

void ScoreEntryWindow::showHelp()
{
    ctx.ui.showHelp(this, 5);
}
