#include "tally/PupilTally.h"

#include "tally/Evaluation.h"
#include "tally/TestTotals.h"

PupilTally computePupilTally(const ClassData& data, int subject)
{
    PupilTally tally;
    tally.pupils = qBound(0, data.pupilCount, Limits::Pupils);
    tally.set = data.tests;
    tally.names = data.pupilName;
    for (int k = 1; k <= Limits::Viewpoints; ++k)
        tally.viewpointNames[k] = data.viewpointName[subject][k];

    const int tests = qBound(0, tally.set.count, Limits::Tests);
    for (int t = 1; t <= tests; ++t) {
        const TestTotals totals = computeTestTotals(data, t);
        const Ranking ranking = rank(totals.percents());
        for (int p = 1; p <= tally.pupils; ++p) {
            const int total = totals.pupilTotal[p];
            tally.testTotal[t][p] = total < 0 ? TallyNumber::absent() : TallyNumber::of(total);
            tally.testRank[t][p] = totals.percent[p] >= 0 ? TallyNumber::of(ranking.rankOf(p)) : TallyNumber::none();
        }
    }

    const TestSet& set = tally.set;
    const SubjectCriteria& criteria = criteriaOf(data, subject);
    const int classSize = data.pupilCount;
    std::vector<float> values(size_t(tally.pupils));
    for (int p = 1; p <= tally.pupils; ++p)
        values[size_t(p - 1)] = Tally::meanPercent(set, p, [](int, int) { return true; });
    Tally::rankFigures(values, tally.overall, nullptr, [&criteria, classSize](float average, int rank) {
        return overallGrade(criteria.overall(), classSize, average, rank);
    });

    for (int k = 1; k <= Limits::Viewpoints; ++k) {
        for (int p = 1; p <= tally.pupils; ++p)
            values[size_t(p - 1)] =
                Tally::meanPercent(set, p, [&set, k](int t, int c) { return Tally::viewpointOf(set, t, c) == k; });
        Tally::rankFigures(values, tally.viewpoint[k], nullptr, [&criteria, classSize, k](float average, int rank) {
            return viewpointGrade(criteria.viewpoint(k), classSize, average, rank);
        });
    }
    return tally;
}

QList<PupilTestRow> pupilTestRows(const PupilTally& tally, int pupil)
{
    QList<PupilTestRow> rows;
    if (pupil < 1 || pupil > tally.pupils)
        return rows;
    const TestSet& set = tally.set;
    const int tests = qBound(0, set.count, Limits::Tests);
    rows.reserve(tests);
    for (int t = 1; t <= tests; ++t) {
        PupilTestRow row;
        row.test = t;
        row.testName = set.name[t];
        row.total = tally.testTotal[t][pupil];
        row.viewpointScores.fill(TallyNumber::notInTest());
        const int columns = qBound(0, set.columnCount[t], Limits::Columns);
        for (int c = 1; c <= columns; ++c) {
            const int v = Tally::viewpointOf(set, t, c);
            if (v == 0)
                continue;  // measures no viewpoint: counted in the total only
            const int score = set.score[t][c][pupil];
            row.viewpointScores[size_t(v - 1)] = score < 0 ? TallyNumber::absent() : TallyNumber::of(score);
        }
        row.rank = tally.testRank[t][pupil];
        rows.append(row);
    }
    return rows;
}

TallyFigure pupilFigure(const PupilTally& tally, int pupil, int group)
{
    if (pupil < 1 || pupil > tally.pupils || group < 0 || group > Limits::Viewpoints)
        return {};
    return group == 0 ? tally.overall[pupil] : tally.viewpoint[group][pupil];
}
