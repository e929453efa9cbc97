#pragma once
// The individual results as numbers: every test of the unit seen from one pupil,
// and the pupil's overall and per-viewpoint averages over all tests with their
// ranks in the class and their evaluations. Their texts (the window's grid and
// lines, the "kojin" sheet) are made by tally/PupilTallyText.h.
//
// The whole class is tallied once (computePupilTally); switching to another pupil
// only reads the tally. The tally keeps its own copy of the tests and names, so
// what a window shows does not change when another window reloads the model.
//
// Rules:
// - A test's total is the sum of the pupil's entered columns (no entered column:
//   Absent); its rank is on the percentage of the test's full marks (NoValue
//   without one).
// - The overall average is the mean, over every entered score of every test, of
//   the score as a percentage of its column's full marks; every column weighs the
//   same. A viewpoint average takes only the columns that measure that viewpoint.
// - A column with full marks 0 gives no percentage: its scores are left out of
//   every average. A column measuring no viewpoint (kind 0) counts in the overall
//   average only, and shows under no viewpoint in the pupil's row.

#include "model/ClassData.h"
#include "tally/TallyFigure.h"
#include "tally/TallyNumber.h"

#include <QList>
#include <QString>
#include <array>

struct PupilTally {
    int pupils = 0;
    TestSet set;  // the tests as loaded when the tally was made
    std::array<QString, Limits::Pupils + 1> names;
    QString viewpointNames[Limits::Viewpoints + 1];  // of the subject, index 1..4
    TallyNumber testTotal[Limits::Tests + 1][Limits::Pupils + 1];
    TallyNumber testRank[Limits::Tests + 1][Limits::Pupils + 1];
    TallyFigure overall[Limits::Pupils + 1];
    TallyFigure viewpoint[Limits::Viewpoints + 1][Limits::Pupils + 1];
};

// One test seen from one pupil.
struct PupilTestRow {
    int test = 0;
    QString testName;
    TallyNumber total;
    // The score under each viewpoint 1..4 (index 0..3): of the test's column that
    // measures it (the last one when several do), Absent when not entered,
    // NotInTest when no column of the test measures it.
    std::array<TallyNumber, Limits::Viewpoints> viewpointScores;
    TallyNumber rank;
};

// Tallies every pupil over every test of data.tests, with the viewpoint names and
// the criteria of `subject` (1..9).
PupilTally computePupilTally(const ClassData& data, int subject);

// One row per test for the pupil (none for a pupil outside the class).
QList<PupilTestRow> pupilTestRows(const PupilTally& tally, int pupil);
// The pupil's figure in group 0 (overall) or viewpoint 1..4; a figure without a
// value for a pupil outside the class.
TallyFigure pupilFigure(const PupilTally& tally, int pupil, int group);
