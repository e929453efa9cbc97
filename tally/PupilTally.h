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
//   Absent, or NotEntered when no cell was typed yet); its rank is on the
//   percentage of the full marks of the columns sat (NoValue without one).
// - Under each viewpoint a test shows the sum of every column of the test that
//   measures it: two 知識・技能 columns of 50 show their sum out of 100.
// - The overall average is the weighted mean, over every entered score of every
//   test, of the score as a percentage of its column's full marks, each weighted
//   by its test's weight (tally/TallyFigure.h). A viewpoint average takes only the
//   columns that measure that viewpoint.
// - A column with full marks 0 gives no percentage: its scores are left out of
//   every average. A column measuring no viewpoint (kind 0) counts in the overall
//   average only, and shows under no viewpoint in the pupil's row.
// - The teacher's own grades kept for every test are applied (tally/GradeOverrulings.h).

#include "model/ClassData.h"
#include "tally/GradeOverrulings.h"
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
    int testPartialFullMarks[Limits::Tests + 1][Limits::Pupils + 1]{};  // as TestTallyRow::partialFullMarks
    TallyNumber testRank[Limits::Tests + 1][Limits::Pupils + 1];
    TallyFigure overall[Limits::Pupils + 1];
    TallyFigure viewpoint[Limits::Viewpoints + 1][Limits::Pupils + 1];
    bool weighted = false;     // a test weighs other than 1
    int notEnteredPupils = 0;  // pupils with a cell of some test not entered yet
    OverallRule overallRule;
};

// One test seen from one pupil.
struct PupilTestRow {
    int test = 0;
    QString testName;
    double weight = 1;
    bool observation = false;  // A/B/C typed straight in (3/2/1 of 3)
    int columns = 0;           // the test's columns
    TallyNumber total;
    int partialFullMarks = 0;  // with some columns missed: the full marks of those sat; else 0
    // Under each viewpoint 1..4 (index 0..3): the sum of the scores of the test's
    // columns that measure it, Absent (NotEntered when every missed cell is not
    // entered yet) when none has a score, NotInTest when no column measures it.
    std::array<TallyNumber, Limits::Viewpoints> viewpointScores;
    std::array<int, Limits::Viewpoints> viewpointColumns{};      // columns measuring it
    std::array<int, Limits::Viewpoints> viewpointPartialFullMarks{};  // as partialFullMarks, for its columns
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
// The grades settled again with `overrulings` (after the teacher gave or cleared one).
void applyOverrulings(PupilTally& tally, const QList<Overruling>& overrulings);
