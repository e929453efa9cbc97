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
    std::array<bool, Limits::Pupils + 1> hasNotEntered{};
    for (int t = 1; t <= tests; ++t) {
        const TestTotals totals = computeTestTotals(data, t);
        const Ranking ranking = rank(totals.percents());
        for (int p = 1; p <= tally.pupils; ++p) {
            tally.testTotal[t][p] = totals.total(p);
            tally.testPartialFullMarks[t][p] = totals.partial(p) ? totals.satFullMarks[p] : 0;
            tally.testRank[t][p] = totals.percent[p] >= 0 ? TallyNumber::of(ranking.rankOf(p)) : TallyNumber::none();
            hasNotEntered[size_t(p)] = hasNotEntered[size_t(p)] || totals.hasNotEntered[p];
        }
    }
    for (int p = 1; p <= tally.pupils; ++p)
        tally.notEnteredPupils += hasNotEntered[size_t(p)] ? 1 : 0;
    tally.weighted = !Tally::weightsAllOne(tally.set);

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
    tally.overallRule = GradeOverrulings::overallRule(criteria);
    applyOverrulings(tally, data.overrulings);
    return tally;
}

void applyOverrulings(PupilTally& tally, const QList<Overruling>& overrulings)
{
    // The individual results cover every test: the grades kept for every test.
    GradeOverrulings::apply({tally.pupils, tally.overall, tally.viewpoint}, overrulings, {}, tally.overallRule);
}

namespace {

// The cells under the viewpoints of test t for the pupil: the sum of each
// viewpoint's columns, as the header says.
void fillViewpointCells(const TestSet& set, int t, int pupil, PupilTestRow& row)
{
    std::array<int, Limits::Viewpoints> sum{};
    std::array<int, Limits::Viewpoints> satFull{};
    std::array<int, Limits::Viewpoints> sat{};
    std::array<bool, Limits::Viewpoints> absent{};
    for (int c = 1; c <= row.columns; ++c) {
        const int v = Tally::viewpointOf(set, t, c);
        if (v == 0)
            continue;  // measures no viewpoint: counted in the total only
        const size_t k = size_t(v - 1);
        ++row.viewpointColumns[k];
        const int score = set.score[t][c][pupil];
        if (score < 0) {
            absent[k] = absent[k] || score != NotEntered;
            continue;
        }
        sum[k] += score;
        satFull[k] += set.fullMarks[t][c];
        ++sat[k];
    }
    for (size_t k = 0; k < size_t(Limits::Viewpoints); ++k) {
        if (row.viewpointColumns[k] == 0)
            row.viewpointScores[k] = TallyNumber::notInTest();
        else if (sat[k] == 0)
            row.viewpointScores[k] = absent[k] ? TallyNumber::absent() : TallyNumber::notEntered();
        else
            row.viewpointScores[k] = TallyNumber::of(sum[k]);
        row.viewpointPartialFullMarks[k] = sat[k] > 0 && sat[k] < row.viewpointColumns[k] ? satFull[k] : 0;
    }
}

}  // namespace

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
        row.weight = Tally::weightOf(set, t);
        row.observation = set.kind[size_t(t)] == TestKind::Observation;
        row.columns = qBound(0, set.columnCount[t], Limits::Columns);
        row.total = tally.testTotal[t][pupil];
        row.partialFullMarks = tally.testPartialFullMarks[t][pupil];
        fillViewpointCells(set, t, pupil, row);
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
