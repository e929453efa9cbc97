#include "tally/Statistics.h"

#include "model/Format.h"

#include <algorithm>
#include <cmath>

namespace {

QString blankThen(double value)
{
    return QLatin1Char(' ') + QString::number(value, 'g', 10);
}

const StatisticsColumn* columnAt(const StatisticsTable& table, int column)
{
    if (column < 1 || column > int(table.columns.size()))
        return nullptr;
    return &table.columns[size_t(column - 1)];
}

}  // namespace

double cutToTenth(double value)
{
    // A whole number of tenths computed as 699.99999999 must stay 70.0: a margin far
    // below a tenth absorbs the binary error before the cut.
    return std::floor(value * 10.0 + 1e-9) / 10.0;
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
            for (int p = 1; p <= table.pupils; ++p)
                column.score[p] = set.score[t][c][p];
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
    int percentCount = 0;
    long long rawSum = 0;
    for (int n = left; n <= right; ++n) {
        const StatisticsColumn& column = table.columns[size_t(n - 1)];
        for (int p = top; p <= bottom; ++p) {
            const int score = column.score[p];
            if (score < 0)
                continue;
            if (column.fullMarks > 0) {
                percentSum += score * (100.0 / column.fullMarks);
                ++percentCount;
            }
            rawSum += score;
            if (result.count == 0 || score > result.maximum)
                result.maximum = score;
            if (result.count == 0 || score < result.minimum)
                result.minimum = score;
            ++result.count;
        }
    }
    if (result.count > 0) {
        result.convertedAverage = percentCount > 0 ? cutToTenth(percentSum / percentCount) : -1;
        result.rawAverage = cutToTenth(double(rawSum) / result.count);
    }
    return result;
}

StatisticsText::Texts StatisticsText::results(const StatisticsResult& result)
{
    Texts texts;
    if (result.count == 0)
        return texts;
    texts.converted = result.convertedAverage < 0 ? QStringLiteral(" -") : blankThen(result.convertedAverage);
    texts.raw = result.singleColumn ? blankThen(result.rawAverage) : QString();
    texts.maximum = blankThen(result.maximum);
    texts.minimum = blankThen(result.minimum);
    return texts;
}

QString StatisticsText::testTitle(const StatisticsTable& table, int column)
{
    const StatisticsColumn* at = columnAt(table, column);
    if (!at)
        return {};
    return Format::pattern(at->test, QStringLiteral("【##】")) + QLatin1Char(' ') + table.testNames[at->test];
}

QString StatisticsText::viewpointName(const StatisticsTable& table, int column)
{
    const StatisticsColumn* at = columnAt(table, column);
    if (!at || at->kind < 0 || at->kind > Limits::Viewpoints)
        return {};
    return table.viewpointNames[at->kind];
}

QString StatisticsText::fullMarks(const StatisticsTable& table, int column)
{
    const StatisticsColumn* at = columnAt(table, column);
    if (!at)
        return {};
    return QStringLiteral("満点:") + Format::pattern(at->fullMarks, QStringLiteral("###"));
}

QString StatisticsText::testCount(const StatisticsTable& table)
{
    return QLatin1Char(' ') + QString::number(table.tests) + QLatin1Char(' ');
}

QString StatisticsText::cell(int score)
{
    return score < 0 ? QStringLiteral("欠") : QString::number(score);
}
