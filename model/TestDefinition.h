#pragma once
// What defines a test apart from its scores (テスト情報): its name, its score columns
// with each column's viewpoint and full marks, and its weight, kind and term. Score
// entry keeps the definition of the test being edited as one of these and shows it
// in its upper half; every check reads it; the other-class picker hands one over.

#include "model/ClassData.h"

#include <QString>
#include <array>

// One score column of a test.
struct TestColumn {
    int viewpoint = 0;  // 0 none, 1..4 観点Ⅰ..Ⅳ
    int fullMarks = 0;

    bool operator==(const TestColumn& other) const
    {
        return viewpoint == other.viewpoint && fullMarks == other.fullMarks;
    }
    bool operator!=(const TestColumn& other) const { return !(*this == other); }
};

struct TestDefinition {
    QString name;
    // The columns in use: 1..4 for a test that may be saved; the four slots keep
    // what they hold whatever the count says.
    int columnCount = 0;
    // Columns 1..4 at indexes 0..3.
    std::array<TestColumn, Limits::Columns> columns{};
    // The weight, kind and term are kept in the class file (assessment.json), not
    // in the score file; the TestSet carries them beside the scores.
    double weight = 1.0;
    TestKind kind = TestKind::Scores;
    int term = 0;  // 0: no term

    // Test t of a set.
    static TestDefinition of(const TestSet& set, int t);
    // Writes the definition into test t of a set; its scores stay as they are.
    void storeInto(TestSet& set, int t) const;

    // Column c, 1..4.
    const TestColumn& column(int c) const { return columns[size_t(c - 1)]; }
    TestColumn& column(int c) { return columns[size_t(c - 1)]; }
    // The number of columns with a viewpoint chosen, over all four.
    int chosenViewpoints() const;
    // The viewpoints of the columns after the first n go back to none.
    void keepViewpointsOf(int n);

    bool operator==(const TestDefinition& other) const;
    bool operator!=(const TestDefinition& other) const { return !(*this == other); }
};
