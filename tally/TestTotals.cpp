#include "tally/TestTotals.h"

double TestTotals::columnAverage(int c, int pupils) const
{
    if (c < 1 || c > Limits::Columns)
        return -1.0;
    const int entered = pupils - columnMissing[c];
    return entered > 0 ? double(columnSum[c]) / entered : -1.0;
}

TestTotals computeTestTotals(const ClassData& data, int test)
{
    TestTotals totals;
    if (test < 1 || test > Limits::Tests)
        return totals;
    const TestSet& set = data.tests;
    totals.test = test;
    totals.columns = qBound(0, set.columnCount[test], Limits::Columns);
    for (int c = 1; c <= totals.columns; ++c)
        totals.fullMarks += set.fullMarks[test][c];
    const int pupils = qBound(0, data.pupilCount, Limits::Pupils);
    totals.pupils = pupils;
    for (int p = 1; p <= pupils; ++p) {
        int total = -1;
        for (int c = 1; c <= totals.columns; ++c) {
            const int score = set.score[test][c][p];
            if (score < 0) {
                ++totals.columnMissing[c];
                ++totals.missedColumns[p];
                (score == NotEntered ? totals.hasNotEntered : totals.hasAbsent)[p] = true;
                continue;
            }
            total = (total < 0 ? 0 : total) + score;
            totals.satFullMarks[p] += set.fullMarks[test][c];
            totals.columnSum[c] += score;
        }
        totals.pupilTotal[p] = total;
        // The percentage scale is taken in double precision, as total x (100 / full
        // marks), and kept as a single-precision value like every ranked value.
        const int full = totals.satFullMarks[p];
        totals.percent[p] = (total < 0 || full <= 0) ? -1.0f : float(double(total) * (100.0 / double(full)));
    }
    return totals;
}

TallyNumber TestTotals::total(int pupil) const
{
    if (pupilTotal[pupil] >= 0)
        return TallyNumber::of(pupilTotal[pupil]);
    return hasNotEntered[pupil] && !hasAbsent[pupil] ? TallyNumber::notEntered() : TallyNumber::absent();
}

int TestTotals::notEnteredPupils() const
{
    int count = 0;
    for (int p = 1; p <= pupils; ++p)
        count += hasNotEntered[p] ? 1 : 0;
    return count;
}

std::vector<float> TestTotals::percents() const
{
    return std::vector<float>(percent + 1, percent + 1 + pupils);
}
