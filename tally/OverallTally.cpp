#include "tally/OverallTally.h"

#include "tally/Evaluation.h"

OverallTally computeOverallTally(const ClassData& data, int subject, const QList<int>& chosenTests)
{
    OverallTally tally;
    tally.pupils = qBound(0, data.pupilCount, Limits::Pupils);
    tally.names = data.pupilName;
    for (int v = 1; v <= Limits::Viewpoints; ++v)
        tally.viewpointNames[v] = data.viewpointName[subject][v];
    const TestSet& set = data.tests;
    std::array<bool, Limits::Tests + 1> chosen{};
    for (int t : chosenTests)
        if (t >= 1 && t <= Limits::Tests)
            chosen[size_t(t)] = true;
    for (int t = 1; t <= qBound(0, set.count, Limits::Tests); ++t)
        if (chosen[size_t(t)]) {
            tally.chosenTests.append(t);
            tally.chosenTestNames.append(set.name[t]);
            tally.chosenTestWeights.append(Tally::weightOf(set, t));
            tally.weighted = tally.weighted || Tally::weightOf(set, t) != 1.0;
        }
    tally.overrulingTests = GradeOverrulings::testsKey(tally.chosenTests, set.count);

    const SubjectCriteria& criteria = criteriaOf(data, subject);
    const int classSize = data.pupilCount;
    std::vector<float> values(size_t(tally.pupils));
    for (int p = 1; p <= tally.pupils; ++p)
        values[size_t(p - 1)] = Tally::meanPercent(set, p, [&chosen](int t, int) { return chosen[size_t(t)]; });
    tally.overallClassAverage =
        Tally::rankFigures(values, tally.overall, tally.order[0], [&criteria, classSize](float average, int rank) {
            return overallGrade(criteria.overall(), classSize, average, rank);
        });

    for (int v = 1; v <= Limits::Viewpoints; ++v) {
        const auto measuresV = [&set, &chosen, v](int t, int c) {
            return chosen[size_t(t)] && Tally::viewpointOf(set, t, c) == v;
        };
        for (int p = 1; p <= tally.pupils; ++p)
            values[size_t(p - 1)] = Tally::meanPercent(set, p, measuresV);
        tally.classAverage[v] =
            Tally::rankFigures(values, tally.viewpoint[v], tally.order[v], [&criteria, classSize, v](float average, int rank) {
                return viewpointGrade(criteria.viewpoint(v), classSize, average, rank);
            });
        int columns = 0;
        for (int t = 1; t <= qBound(0, set.count, Limits::Tests); ++t)
            for (int c = 1; c <= qBound(0, set.columnCount[t], Limits::Columns); ++c)
                if (measuresV(t, c))
                    ++columns;
        tally.testCount[v] = columns;
    }
    tally.overallRule = GradeOverrulings::overallRule(criteria);
    applyOverrulings(tally, data.overrulings);
    return tally;
}

PupilFigures figuresOf(OverallTally& tally)
{
    return {tally.pupils, tally.overall, tally.viewpoint};
}

void applyOverrulings(OverallTally& tally, const QList<Overruling>& overrulings)
{
    GradeOverrulings::apply(figuresOf(tally), overrulings, tally.overrulingTests, tally.overallRule);
}

int pupilAt(const OverallTally& tally, OverallOrder order, int position)
{
    if (!order.byScore)
        return position;
    const int group = qBound(0, order.viewpoint, Limits::Viewpoints);
    return tally.order[group][position];
}
