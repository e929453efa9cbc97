#pragma once
// The checks score entry runs on a test before the score file is written, and the
// comparison that tells whether the screen holds changes that were not saved.

#include "model/ClassData.h"

#include <QString>

namespace TestChecks {
// Why a test may not be written: the message the teacher sees (empty when it
// passes) and, for a score above its full marks, the first such cell.
struct Refusal {
    QString message;
    int pupil = 0;   // 1..pupils, when a score is above its full marks
    int column = 0;  // 1..4, likewise
};

// Why test t of the set may not be written, as the message the teacher sees; empty
// when it passes. In order: a name, a name the file can hold, a column count of 1
// to 4, at least one viewpoint, full marks of at most 100 in all four columns, no
// score above its column's full marks (pupils absent in column 1 are not checked).
QString refusalMessage(const TestSet& set, int t, int pupils);
// The same checks, with the first score above its full marks (the lowest pupil,
// then the leftmost column).
Refusal checkTest(const TestSet& set, int t, int pupils);

// Whether test t is a test appended by mistake: still named "新規テスト", without
// any viewpoint and without any score or absence in its columns (each cell 0 or 未入力).
bool isUnusedNewTest(const TestSet& set, int t, int pupils);

// Whether two sets hold the same tests as the score file and the class file would
// record them (a cell 未入力 differs from a 0).
bool sameTests(const TestSet& a, const TestSet& b, int pupils);
}
