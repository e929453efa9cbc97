#pragma once
// The overall tally of one subject over the tests chosen for it, as numbers:
// per pupil the overall average of every chosen column with its rank and
// evaluation "3"/"2"/"1", and per viewpoint the average of the columns measuring
// it with its rank and evaluation "A"/"B"/"C"; per viewpoint the class average and
// the number of chosen columns; the class's overall average. Its texts (the pupil
// grid for each order and choice of shown figures, the "aryoiki" sheet) are made
// by tally/OverallTallyText.h.
//
// Averages are means of percentages of the columns' full marks, each column
// weighted by its test's weight (tally/TallyFigure.h); absent and not-entered cells
// are left out; a column with full marks 0 gives no percentage and is left out; a
// column measuring no viewpoint counts in the overall average only. The teacher's
// own grades kept for the chosen tests are applied (tally/GradeOverrulings.h).
// The tally is made once; the orders and the shown figures only change the texts.

#include "model/ClassData.h"
#include "tally/GradeOverrulings.h"
#include "tally/TallyFigure.h"
#include "tally/TallyNumber.h"

#include <QList>
#include <QString>
#include <QStringList>

struct OverallTally {
    int pupils = 0;
    QList<int> chosenTests;  // the tests of the set it covers, ascending
    QStringList chosenTestNames;  // their names, in the same order
    QList<double> chosenTestWeights;  // their weights, in the same order
    bool weighted = false;            // a chosen test weighs other than 1
    QList<int> overrulingTests;       // the tests the teacher's grades are kept for (GradeOverrulings::testsKey)
    OverallRule overallRule;
    std::array<QString, Limits::Pupils + 1> names;
    QString viewpointNames[Limits::Viewpoints + 1];  // of the subject, index 1..4
    TallyFigure overall[Limits::Pupils + 1];
    TallyFigure viewpoint[Limits::Viewpoints + 1][Limits::Pupils + 1];
    TallyNumber classAverage[Limits::Viewpoints + 1];  // mean of the pupils' averages; NoValue when none has one
    int testCount[Limits::Viewpoints + 1]{};            // chosen columns measuring the viewpoint
    TallyNumber overallClassAverage;                    // mean of the overall averages
    // Position 1..pupils to attendance number: best first, ties by number, pupils
    // without a value last. Index 0 of viewpointOrder is the overall order.
    int order[Limits::Viewpoints + 1][Limits::Pupils + 1]{};
};

// How the grid is listed: by attendance number, or by score of the overall average
// (viewpoint 0) or of viewpoint 1..4.
struct OverallOrder {
    bool byScore = false;
    int viewpoint = 0;
};

// Which figures of each group are shown (the window's three ticks).
struct ShownFigures {
    bool average = true;
    bool rank = true;
    bool evaluation = true;
};

// Tallies data.tests over the chosen tests (numbers outside the set are left
// out), with the viewpoint names and the criteria of `subject` (1..9).
OverallTally computeOverallTally(const ClassData& data, int subject, const QList<int>& chosenTests);

// Position 1..pupils to attendance number for the order.
int pupilAt(const OverallTally& tally, OverallOrder order, int position);
// The figures of every group of the tally.
PupilFigures figuresOf(OverallTally& tally);
// The grades settled again with `overrulings` (after the teacher gave or cleared one).
void applyOverrulings(OverallTally& tally, const QList<Overruling>& overrulings);
