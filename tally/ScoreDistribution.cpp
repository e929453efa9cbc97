#include "tally/ScoreDistribution.h"

#include <algorithm>

int ScoreDistribution::largest() const
{
    return *std::max_element(counts.begin(), counts.end());
}

ScoreDistribution scoreDistribution(const TestTotals& totals)
{
    ScoreDistribution distribution;
    double sum = 0;
    distribution.notEntered = totals.notEnteredPupils();
    for (int p = 1; p <= totals.pupils; ++p) {
        const int total = totals.pupilTotal[p];
        if (total < 0) {
            if (totals.total(p).state == TallyNumber::State::Absent)
                ++distribution.absent;
            continue;
        }
        if (totals.percent[p] < 0)
            continue;
        // A total above the full marks (a file written by hand) still counts at the top.
        const int bin = qBound(0, int(qint64(total) * 10 / totals.satFullMarks[p]), ScoreDistribution::Bins - 1);
        ++distribution.counts[bin];
        ++distribution.counted;
        sum += totals.percent[p];
    }
    if (distribution.counted > 0)
        distribution.average = TallyNumber::of(sum / distribution.counted);
    return distribution;
}
