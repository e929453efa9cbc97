#include "reports/TestTotals.h"

double TestTotals::columnAverage(int c, int pupils) const
{
    const int entered = pupils - columnMissing[c];
    return entered > 0 ? double(columnSum[c]) / entered : -1.0;
}

TestTotals computeTestTotals(const ClassData& data, int test)
{
    TestTotals totals;
    const TestSetRecord& set = data.TestSet;
    totals.test = test;
    totals.columns = qBound(0, set.ViewpointCount[test], Limits::Columns);
    for (int c = 1; c <= totals.columns; ++c)
        totals.fullMarks += set.FullMarks[test][c];
    const int pupils = qBound(0, data.PupilCount, Limits::Pupils);
    for (int p = 1; p <= pupils; ++p) {
        int total = -1;
        for (int c = 1; c <= totals.columns; ++c) {
            const int score = set.Score[test][c][p];
            if (score < 0) {
                ++totals.columnMissing[c];
                continue;
            }
            total = (total < 0 ? 0 : total) + score;
            totals.columnSum[c] += score;
        }
        // Columns the test does not use count every pupil as without a score.
        for (int c = totals.columns + 1; c <= Limits::Columns; ++c)
            ++totals.columnMissing[c];
        totals.pupilTotal[p] = total;
        totals.percent[p] = (total < 0 || totals.fullMarks <= 0) ? -1.0f
                                                                 : float(total) * (100.0f / float(totals.fullMarks));
    }
    return totals;
}

void setRankValues(ClassData& data, const TestTotals& totals)
{
    for (int p = 1; p <= qBound(0, data.PupilCount, Limits::Pupils); ++p)
        data.RankValue[p] = totals.percent[p];
}
