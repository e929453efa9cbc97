#pragma once
// Ranking and evaluation shared by every tally.
//
// rank() ranks the pupils on one value each (negative = no value): values that
// come to the same tenth share a rank and the next rank is skipped (1, 2, 2, 4).
// The order lists pupils with a value by descending value, ties by attendance
// number, then the pupils without a value in descending attendance number.
//
// overallGrade gives the overall grade "3", "2", "1" of a subject and
// viewpointGrade the grade "A", "B", "C" of one viewpoint, by rank, by average or
// by share of the class, with the thresholds of the group's criteria. Against goals
// a viewpoint's grade comes from its average as shown with one decimal (到達率で),
// and the overall grade from the viewpoints' grades (gradeFromViewpoints, 観点から),
// which overallGrade cannot know: it gives an empty text there. An unknown basis
// gives an empty text; a negative average gives " -" from overallGrade
// (viewpointGrade is only asked about pupils with a value).

#include "model/ClassData.h"

#include <QString>
#include <array>
#include <vector>

// The result of a ranking of pupils 1..pupils().
class Ranking {
public:
    int pupils() const { return int(ranks.size()) - 1; }
    // The pupil's rank, 1 = best; 0 for a pupil without a value (or no such pupil).
    int rankOf(int pupil) const;
    // The attendance number at position 1..pupils() of the score order; 0 outside.
    int pupilAt(int position) const;

private:
    friend Ranking rank(const std::vector<float>& values);
    std::vector<int> ranks{0};   // by attendance number, index 0 unused
    std::vector<int> order{0};   // by position, index 0 unused
};

// Ranks the values: values[i] is the value of attendance number i + 1.
Ranking rank(const std::vector<float>& values);

// The key a value is ranked by: its tenths, rounded to the nearest integer with
// halves to the even neighbour, kept inside 0..1000 (a value above 100 ranks as
// 100). -1 for a negative value (or not a number): no rank.
int rankKey(float value);

// The counting table a ranking reads its ranks from: entry j (1..1001) is 1 + the
// number of values whose key is j or more, so entry key + 1 is the rank of a key.
using RankTable = std::array<int, 1002>;
RankTable rankTable(const std::vector<float>& values);

// The criteria of a subject 1..9 (a number outside is taken as the nearest).
const SubjectCriteria& criteriaOf(const ClassData& data, int subject);

// `classSize` is the number of pupils in the class, those without a value included.
QString overallGrade(const GroupCriteria& criteria, int classSize, float average, int rank);
QString viewpointGrade(const GroupCriteria& criteria, int classSize, float average, int rank);

// The average in tenths as "###.0" shows it (49.95 is shown 50.0 and gives 500).
int shownTenths(double average);
// 観点から: "3", "2" or "1" from the grades "A"/"B"/"C" of viewpoints 1..4 (index 0
// unused; an empty or other text is no grade); empty when no counted viewpoint
// has a grade.
QString gradeFromViewpoints(const ViewpointPointsCriteria& criteria, const std::array<QString, 5>& viewpointGrades);
