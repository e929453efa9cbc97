#include "entry/EditedTest.h"

#include "model/TestChecks.h"

namespace {

// A test just appended, and the first test of an empty score file: one column of
// 100 points without a viewpoint.
TestDefinition newTestDefinition()
{
    TestDefinition test;
    test.name = QStringLiteral("新規テスト");
    test.columnCount = 1;
    test.column(1).fullMarks = 100;
    return test;
}

// Nothing typed: every cell 未入力, weight 1, a test of scores without a term.
void clearTest(TestSet& set, int t)
{
    set.name[t].clear();
    set.columnCount[t] = 0;
    for (int c = 0; c <= Limits::Columns + 1; ++c) {
        set.viewpoint[t][c] = 0;
        set.fullMarks[t][c] = 0;
        for (int p = 0; p <= Limits::Pupils; ++p)
            set.score[t][c][p] = NotEntered;
    }
    set.weight[size_t(t)] = 1.0;
    set.kind[size_t(t)] = TestKind::Scores;
    set.term[size_t(t)] = 0;
}

}  // namespace

EditedTest::EditedTest(ClassData& data, QObject* modelParent) : data(data), model(new ScoreTableModel(modelParent))
{
    model->setObjectName(QStringLiteral("scores"));
}

EditedTest::~EditedTest() = default;

int EditedTest::number() const { return data.currentTest; }
int EditedTest::count() const { return data.tests.count; }

void EditedTest::show(int t)
{
    data.currentTest = t;
    shown = TestDefinition::of(data.tests, t);
    shown.keepViewpointsOf(shown.columnCount);
    model->showTest(data.tests, t);
}

void EditedTest::startFirst()
{
    data.currentTest = 1;
    data.tests.count = 1;
    clearTest(data.tests, 1);
    shown = newTestDefinition();
    model->showTest(data.tests, 1);
}

void EditedTest::setDefinition(const TestDefinition& definition)
{
    shown = definition;
    model->setObservation(definition.kind == TestKind::Observation);
}

void EditedTest::showScores()
{
    model->showTest(data.tests, data.currentTest);
    model->setObservation(shown.kind == TestKind::Observation);
}

QList<int> EditedTest::notEnteredPupils(int tests) const
{
    QList<int> counts;
    const TestSet& set = data.tests;
    for (int t = 1; t <= qBound(0, tests, set.count); ++t) {
        int pupils = 0;
        for (int p = 1; p <= data.pupilCount; ++p)
            for (int c = 1; c <= qBound(0, set.columnCount[size_t(t)], Limits::Columns); ++c)
                if (set.score[t][c][p] == NotEntered) {
                    ++pupils;
                    break;
                }
        counts.append(pupils);
    }
    return counts;
}

void EditedTest::zeroNotEntered(int tests)
{
    TestSet& set = data.tests;
    for (int t = 1; t <= qBound(0, tests, set.count); ++t)
        for (int c = 1; c <= Limits::Columns + 1; ++c)
            for (int p = 1; p <= Limits::Pupils; ++p)
                if (set.score[t][c][p] == NotEntered)
                    set.score[t][c][p] = 0;
    showScores();
}

void EditedTest::store()
{
    storeInto(data.tests, data.currentTest);
}

void EditedTest::storeInto(TestSet& set, int t) const
{
    shown.storeInto(set, t);
    model->storeScores(set, t, shown.columnCount);
}

void EditedTest::append()
{
    TestSet& set = data.tests;
    store();
    const int t = ++set.count;
    // The new slot starts empty whatever an earlier use of the set left in it.
    clearTest(set, t);
    data.currentTest = t;
    shown = newTestDefinition();
    model->showTest(set, t);
}

void EditedTest::removeLast()
{
    TestSet& set = data.tests;
    if (set.count <= 1)
        return;
    if (data.currentTest != set.count)
        store();
    clearTest(set, set.count);
    --set.count;
}

void EditedTest::markSaved()
{
    saved = std::make_unique<TestSet>(data.tests);
    storeInto(*saved, data.currentTest);
}

bool EditedTest::holdsUnsavedChanges() const
{
    if (!saved)
        return false;
    auto now = std::make_unique<TestSet>(data.tests);
    storeInto(*now, data.currentTest);
    return !TestChecks::sameTests(*saved, *now, data.pupilCount);
}
