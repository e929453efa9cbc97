#pragma once
// The figures of one test: each pupil's total over the test's columns and its
// percentage of the test's full marks, and per column the sum of the entered scores
// and the number of pupils without one. Shared by the per-test tally and the
// individual results.
//
// A pupil's total is the sum of the columns entered (a column not entered counts
// 0), so a pupil who missed column 1 but sat column 2 has the column 2 score as
// total; a pupil with no entered column has no total (-1). A test whose full marks
// add up to 0 gives no percentage (-1), so nobody is ranked on it.
//
// Columns beyond the test's column count take no part: their sum is 0 and nobody
// counts as missing there, so their average is 0.

#include "model/ClassData.h"

#include <vector>

struct TestTotals {
    int test = 0;
    int pupils = 0;     // pupilCount, kept inside 0..45
    int columns = 0;    // columnCount of the test, kept inside 0..4
    int fullMarks = 0;  // sum of the full marks of columns 1..columns
    int pupilTotal[Limits::Pupils + 1]{};  // -1 = no total
    float percent[Limits::Pupils + 1]{};   // -1 = no value
    int columnSum[Limits::Columns + 1]{};
    int columnMissing[Limits::Columns + 1]{};  // pupils without an entered score

    // Mean of the entered scores of column c over `pupils` pupils, or -1 when no
    // pupil has a score entered in a column of the test.
    double columnAverage(int c, int pupils) const;
    // The percentages of pupils 1..pupils in order, the values the test ranks on.
    std::vector<float> percents() const;
};

TestTotals computeTestTotals(const ClassData& data, int test);
