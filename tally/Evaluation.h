#pragma once
// Ranking and evaluation shared by every tally.
//
// computeRanks ranks the pupils 1..pupilCount on RankValue (negative = no value):
// values that come to the same tenth share a rank and the next rank is skipped
// (1, 2, 2, 4); RankOrder lists pupils with a value by descending value, ties by
// attendance number, then the pupils without a value in descending attendance
// number. RankOf of a pupil without a value is 0.
//
// overallGrade gives the overall evaluation "3", "2", "1" of the current subject and
// viewpointGrade the evaluation "A", "B", "C" of one viewpoint, by rank (mode 0), by
// average (mode 1) or by share of the class (mode 2), with the thresholds of the
// settings. An unknown mode gives an empty text; a negative average gives " -"
// from overallGrade (viewpointGrade is only asked about pupils with a value).

#include "model/ClassData.h"

#include <QString>

void computeRanks(ClassData& data);
// The key a value is ranked by: its tenths, rounded to the nearest integer with
// halves to the even neighbour, kept inside 0..1000 (a value above 100 ranks as
// 100). -1 for a negative value (or not a number): no rank.
int rankKey(float value);
QString overallGrade(const ClassData& data, float average, int rank);
QString viewpointGrade(const ClassData& data, int viewpoint, float average, int rank);
