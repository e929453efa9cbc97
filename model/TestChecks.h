#pragma once
// The checks score entry runs on a test before the score file is written, and the
// comparison that tells whether the screen holds changes that were not saved.

#include "model/ClassData.h"

#include <QString>

namespace TestChecks {
// Why test t of the set may not be written, as the message the teacher sees; empty
// when it passes. In order: a name, a name the file can hold, a column count of 1
// to 4, at least one viewpoint, full marks of at most 100 in all four columns, no
// score above its column's full marks (pupils absent in column 1 are not checked).
QString ValidateTest(const TestSet& set, int t, int pupils);

// Whether two sets hold the same tests as the score file would record them.
bool sameTests(const TestSet& a, const TestSet& b, int pupils);
}
