#pragma once
// The per-test tally as numbers, without a window: for one test of the current
// unit every pupil's total, scores and rank in attendance-number or score order,
// the viewpoint names, column averages and full marks, the class average and the
// spread of the percentages. Its texts (the window's grid and labels, the
// "testdisp" sheet) are made by tally/TestTallyText.h.
//
// States: a total is Absent when the pupil has no entered column (NotEntered when
// every cell is not entered yet); a score is Absent when absent, NotEntered when
// not typed yet and NotInTest beyond the test's columns; a rank is NoValue for a
// pupil without a percentage. A pupil who missed some columns is ranked on the
// columns sat (tally/TestTotals.h); the row says so with the full marks of those. A column average is NoValue when no
// pupil entered a score in it and NotInTest beyond the test's columns; the class
// average is NoValue when no pupil has a percentage.

#include "model/ClassData.h"
#include "tally/ScoreDistribution.h"
#include "tally/TallyNumber.h"

#include <QList>
#include <QString>
#include <array>

enum class TallyOrder { AttendanceNumber, Score };  // "出席番号順", "成績順"

// One pupil's row of the tally.
struct TestTallyRow {
    int pupil = 0;  // attendance number
    QString name;
    TallyNumber total;
    int partialFullMarks = 0;  // with some columns missed: the full marks of those sat; else 0
    std::array<TallyNumber, Limits::Columns> scores;  // columns 1..4 at 0..3
    TallyNumber rank;
};

struct TestTally {
    int test = 0;
    TallyOrder order = TallyOrder::AttendanceNumber;
    QString testName;
    int fullMarks = 0;            // of the whole test
    bool observation = false;     // the scores are A/B/C typed straight in (3/2/1)
    int columns = 0;              // the test's columns
    TallyNumber classAverage;     // mean percentage of the pupils with a total
    std::array<QString, Limits::Columns> viewpointNames;       // of the columns' viewpoints; empty beyond
    std::array<TallyNumber, Limits::Columns> columnAverages;   // mean entered score of each column
    std::array<int, Limits::Columns> columnFullMarks{};
    QList<TestTallyRow> rows;     // one per pupil, in the order
    // The spread of the percentages; drawn best first in score order. The class
    // average above is its average.
    ScoreDistribution distribution;
};

// The tally of test `test` (1..count) of the loaded test set, with the viewpoint
// names of `subject`; a test outside the set gives a tally without rows.
TestTally computeTestTally(const ClassData& data, int subject, int test, TallyOrder order);
