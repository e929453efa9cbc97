#include "tally/TestTally.h"

#include "tally/Evaluation.h"
#include "tally/TallyFigure.h"
#include "tally/TestTotals.h"

TestTally computeTestTally(const ClassData& data, int subject, int test, TallyOrder order)
{
    TestTally tally;
    const TestSet& set = data.tests;
    const int pupils = qBound(0, data.pupilCount, Limits::Pupils);
    tally.test = test;
    tally.order = order;
    if (test < 1 || test > qMin(set.count, Limits::Tests))
        return tally;
    tally.testName = set.name[test];

    const TestTotals totals = computeTestTotals(data, test);
    const int s = qBound(1, subject, Limits::Units);
    for (int c = 1; c <= Limits::Columns; ++c) {
        const bool inTest = c <= totals.columns;
        if (inTest)
            tally.viewpointNames[c - 1] = data.viewpointName[s][qBound(0, set.viewpoint[test][c], Limits::Viewpoints)];
        tally.columnAverages[c - 1] = inTest ? TallyNumber::orNone(totals.columnAverage(c, pupils)) : TallyNumber::notInTest();
        tally.columnFullMarks[c - 1] = set.fullMarks[test][c];
    }
    tally.fullMarks = totals.fullMarks;
    tally.observation = set.kind[size_t(test)] == TestKind::Observation;
    tally.columns = totals.columns;

    const Ranking ranking = rank(totals.percents());
    tally.distribution = scoreDistribution(totals);
    tally.distribution.bestFirst = order == TallyOrder::Score;
    tally.classAverage = tally.distribution.average;

    for (int position = 1; position <= pupils; ++position) {
        TestTallyRow row;
        row.pupil = order == TallyOrder::Score ? ranking.pupilAt(position) : position;
        const int p = row.pupil;
        row.name = data.pupilName[p];
        row.total = totals.total(p);
        row.partialFullMarks = totals.partial(p) ? totals.satFullMarks[p] : 0;
        for (int c = 1; c <= Limits::Columns; ++c)
            row.scores[c - 1] = c > totals.columns ? TallyNumber::notInTest() : Tally::scoreNumber(set.score[test][c][p]);
        row.rank = totals.percent[p] >= 0 ? TallyNumber::of(ranking.rankOf(p)) : TallyNumber::none();
        tally.rows.append(row);
    }
    return tally;
}
