#include "tally/Statistics.h"

#include "tally/TallyFigure.h"

#include <algorithm>
#include <cmath>

double roundToTenth(double value)
{
    // Half away from zero, as every average the program shows is rounded
    // (Format::pattern): a margin far below a tenth absorbs the binary error of a
    // half computed as 0.04999999.
    const double tenths = std::floor(std::fabs(value) * 10.0 + 0.5 + 1e-9);
    return (value < 0 ? -tenths : tenths) / 10.0;
}

StatisticsTable buildStatisticsTable(const ClassData& data, int subject)
{
    StatisticsTable table;
    const TestSet& set = data.tests;
    table.pupils = qBound(0, data.pupilCount, Limits::Pupils);
    table.tests = qBound(0, set.count, Limits::Tests);
    table.names = data.pupilName;
    table.testNames = set.name;
    for (int v = 1; v <= Limits::Viewpoints; ++v)
        table.viewpointNames[v] = data.viewpointName[subject][v];
    for (int t = 1; t <= table.tests; ++t) {
        const int columns = qBound(0, set.columnCount[t], Limits::Columns);
        for (int c = 1; c <= columns; ++c) {
            StatisticsColumn column;
            column.test = t;
            column.kind = set.viewpoint[t][c];
            column.fullMarks = set.fullMarks[t][c];
            column.firstOfTest = c == 1;
            column.weight = Tally::weightOf(set, t);
            column.observation = set.kind[size_t(t)] == TestKind::Observation;
            for (int p = 1; p <= table.pupils; ++p)
                column.score[p] = Tally::scoreNumber(set.score[t][c][p]);
            table.columns.push_back(column);
        }
    }
    return table;
}

StatisticsResult computeStatistics(const StatisticsTable& table, StatisticsBlock block)
{
    StatisticsResult result;
    const int top = std::max(1, std::min(block.top, block.bottom));
    const int bottom = std::min(table.pupils, std::max(block.top, block.bottom));
    const int left = std::max(1, std::min(block.left, block.right));
    const int right = std::min(int(table.columns.size()), std::max(block.left, block.right));
    result.singleColumn = left == right;

    double percentSum = 0;
    double percentWeight = 0;
    long long rawSum = 0;
    int maximum = 0;
    int minimum = 0;
    for (int n = left; n <= right; ++n) {
        const StatisticsColumn& column = table.columns[size_t(n - 1)];
        for (int p = top; p <= bottom; ++p) {
            if (!column.score[p].hasValue())
                continue;
            const int score = int(column.score[p].value);
            if (column.fullMarks > 0) {
                // With weight 1 exactly the plain sum and count.
                percentSum += column.weight * (score * (100.0 / column.fullMarks));
                percentWeight += column.weight;
                result.weighted = result.weighted || column.weight != 1.0;
            }
            rawSum += score;
            if (result.count == 0 || score > maximum)
                maximum = score;
            if (result.count == 0 || score < minimum)
                minimum = score;
            ++result.count;
        }
    }
    if (result.count > 0) {
        result.convertedAverage = percentWeight > 0 ? TallyNumber::of(roundToTenth(percentSum / percentWeight)) : TallyNumber::none();
        result.rawAverage = TallyNumber::of(roundToTenth(double(rawSum) / result.count));
        result.maximum = TallyNumber::of(maximum);
        result.minimum = TallyNumber::of(minimum);
    }
    return result;
}
