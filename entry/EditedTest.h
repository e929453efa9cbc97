#pragma once
// The test score entry edits: its definition and its scores, taken from the class's
// tests when the screen shows a test and put back into them when it leaves it. The
// screen's panel shows the definition and its grid the scores; every change the
// teacher makes lands here, and every check reads it from here.

#include "entry/ScoreTableModel.h"
#include "model/ClassData.h"
#include "model/TestDefinition.h"

#include <memory>

class EditedTest {
public:
    // The scores are a child of `modelParent`.
    EditedTest(ClassData& data, QObject* modelParent);
    ~EditedTest();

    ScoreTableModel& scores() const { return *model; }
    const TestDefinition& definition() const { return shown; }
    // The grid follows the kind: an observation shows its letters.
    void setDefinition(const TestDefinition& definition);
    // The number of the test, 1..count: ClassData's current test.
    int number() const;
    int count() const;

    // Makes test t current: its definition, with the viewpoints of the columns
    // beyond its count let go, and its scores.
    void show(int t);
    // An empty score file: test 1, a new test, is current.
    void startFirst();
    // Writes the definition and the scores into ClassData's current test, unchecked.
    void store();
    void storeInto(TestSet& set, int t) const;
    // Stores the current test, appends an empty new test after the last and makes
    // it current.
    void append();
    // Takes the last of two or more tests away, storing the current test first
    // unless it is the one taken away; some test is to be shown next.
    void removeLast();

    // For each of tests 1..tests, the number of pupils with a cell never typed (未入力)
    // in the test's columns, as the class's tests hold them (store() first).
    QList<int> notEnteredPupils(int tests) const;
    // Every cell never typed of tests 1..tests becomes a 0, in the class's tests and
    // on the screen.
    void zeroNotEntered(int tests);

    // Takes what the class's tests and the current test hold now as what was saved.
    void markSaved();
    // Whether the tests, with the current one as it stands, differ from what was saved.
    bool holdsUnsavedChanges() const;

private:
    // The grid shows the current test's scores as the class's tests hold them.
    void showScores();

    ClassData& data;
    ScoreTableModel* model;
    TestDefinition shown;
    std::unique_ptr<TestSet> saved;
};
