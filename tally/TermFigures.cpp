#include "tally/TermFigures.h"

#include "tally/AttendanceTally.h"
#include "tally/OverallTally.h"

QList<int> TermFiguresTally::testsOf(const TestSet& set, int term)
{
    QList<int> tests;
    for (int t = 1; t <= qBound(0, set.count, Limits::Tests); ++t)
        if (set.term[size_t(t)] == term)
            tests.append(t);
    return tests;
}

TermFigures TermFiguresTally::of(const ClassData& data, int term, int pupil)
{
    TermFigures figures;
    figures.subjectName = Names::subjects()[size_t(qBound(1, data.subject, Limits::Units))];
    const QList<int> tests = testsOf(data.tests, term);
    figures.testCount = int(tests.size());
    if (pupil < 1 || pupil > qBound(0, data.pupilCount, Limits::Pupils))
        return figures;
    if (!tests.isEmpty()) {
        const OverallTally tally = computeOverallTally(data, data.subject, tests);
        for (int v = 1; v <= Limits::Viewpoints; ++v)
            if (tally.testCount[v] > 0)
                figures.viewpoints.append({tally.viewpointNames[v], tally.viewpoint[v][pupil].evaluation});
        figures.grade = tally.overall[pupil].evaluation;
    }
    if (!data.specialistMode) {
        const AttendanceTally::Sums sums = AttendanceTally::sum(data, AttendanceTally::range(data.termPlan, term - 1));
        const AttendanceTally::PupilSums& sum = sums.pupils[size_t(pupil)];
        figures.attendance = TermFigures::Attendance{sum.lessonDays, sum.leaveDays(),
                                                     sum[AttendanceTally::Category::RequiredDays], sum.absenceDays(),
                                                     sum.attendanceDays()};
    }
    return figures;
}
