#pragma once
// The teacher's own grades (model/Overruling.h) in the tallies over several tests.
//
// An overruling is kept for the tests its tally covered: the chosen tests in
// ascending order, or none when they were every test of the unit (so it stays with
// "every test" when a test is added). A tally applies the overrulings kept for the
// tests it covers, and only those.
//
// The grades of a tally are settled in this order: every viewpoint's computed grade,
// the teacher's viewpoint grades over them; then the overall grade, computed from
// the average or, against goals (観点から), from the viewpoint grades as shown, the
// teacher's among them; then the teacher's overall grade over it. A figure keeps its
// computed grade, so the overrulings can be applied again after a change.

#include "model/Criteria.h"
#include "model/Overruling.h"
#include "tally/TallyFigure.h"

#include <QList>
#include <QString>

// How the overall grade is settled once the viewpoint grades are known.
struct OverallRule {
    bool fromViewpoints = false;  // 観点から
    ViewpointPointsCriteria points;
};

// A tally's figures: overall[p] and viewpoint[v][p], pupils 1..pupils.
struct PupilFigures {
    int pupils = 0;
    TallyFigure* overall = nullptr;
    TallyFigure (*viewpoint)[Limits::Pupils + 1] = nullptr;  // [Limits::Viewpoints + 1]
};

namespace GradeOverrulings {
// The tests an overruling of a tally over `chosen` is kept for: none when `chosen`
// is every test 1..testCount, else `chosen` ascending without repeats.
QList<int> testsKey(const QList<int>& chosen, int testCount);
// The index in `list` of the overruling of the pupil's group kept for `tests`, or -1.
int find(const QList<Overruling>& list, int pupil, int group, const QList<int>& tests);
// The rule of the overall grade of the criteria.
OverallRule overallRule(const SubjectCriteria& criteria);
// Settles every grade of the figures from their computed grades, as the header says.
void apply(PupilFigures figures, const QList<Overruling>& list, const QList<int>& tests, const OverallRule& rule);
// "評定" for the overall group, "観点Ⅰ".."観点Ⅳ" for a viewpoint.
QString groupName(int group);
// The grades the teacher may give in a group: "3" "2" "1" or "A" "B" "C".
QStringList gradesOf(int group);
}
