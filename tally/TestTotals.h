#pragma once
// The figures of one test: each pupil's total over the test's columns and its
// percentage, and per column the sum of the entered scores and the number of
// pupils without one. Shared by the per-test tally and the individual results.
//
// A pupil's total is the sum of the columns with a score; a column missed (absent,
// or not entered yet) is left out, so a pupil who missed column 1 but sat column 2
// has the column 2 score as total, and the percentage is of the full marks of the
// columns sat (column 2's), which the pupil is ranked on. A pupil with no score in
// any column has no total (-1). Full marks that add up to 0 give no percentage
// (-1), so nobody is ranked on them.
//
// Columns beyond the test's column count take no part: their sum is 0 and nobody
// counts as missing there, so their average is 0.

#include "model/ClassData.h"
#include "tally/TallyNumber.h"

#include <vector>

struct TestTotals {
    int test = 0;
    int pupils = 0;     // pupilCount, kept inside 0..45
    int columns = 0;    // columnCount of the test, kept inside 0..4
    int fullMarks = 0;  // sum of the full marks of columns 1..columns
    int pupilTotal[Limits::Pupils + 1]{};  // -1 = no total
    int satFullMarks[Limits::Pupils + 1]{};  // full marks of the columns with a score
    int missedColumns[Limits::Pupils + 1]{};  // columns without a score (absent or not entered)
    bool hasNotEntered[Limits::Pupils + 1]{};  // a cell never typed (未入力)
    bool hasAbsent[Limits::Pupils + 1]{};      // a cell marked absent (欠)
    float percent[Limits::Pupils + 1]{};   // of satFullMarks; -1 = no value
    int columnSum[Limits::Columns + 1]{};
    int columnMissing[Limits::Columns + 1]{};  // pupils without an entered score

    // Mean of the entered scores of column c over `pupils` pupils, or -1 when no
    // pupil has a score entered in a column of the test.
    double columnAverage(int c, int pupils) const;
    // The percentages of pupils 1..pupils in order, the values the test ranks on.
    std::vector<float> percents() const;
    // Whether the pupil has a total from some of the columns only.
    bool partial(int pupil) const { return pupilTotal[pupil] >= 0 && missedColumns[pupil] > 0; }
    // The pupil's total: the number, 欠 or, when every missed cell is not entered yet, 未.
    TallyNumber total(int pupil) const;
    // Pupils with a cell not entered yet.
    int notEnteredPupils() const;
};

TestTotals computeTestTotals(const ClassData& data, int test);
