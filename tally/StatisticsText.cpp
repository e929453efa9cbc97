#include "tally/StatisticsText.h"

#include "model/Format.h"
#include "tally/TallyText.h"

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

StatisticsText::Texts StatisticsText::results(const StatisticsResult& result)
{
    Texts texts;
    if (result.count == 0)
        return texts;
    texts.converted = result.convertedAverage.hasValue() ? blankThen(result.convertedAverage.value) : QStringLiteral(" -");
    texts.raw = result.singleColumn ? blankThen(result.rawAverage.value) : QString();
    texts.maximum = blankThen(result.maximum.value);
    texts.minimum = blankThen(result.minimum.value);
    if (result.weighted)
        texts.note = QStringLiteral("重み付きの平均");
    return texts;
}

QStringList StatisticsText::headings(const StatisticsTable& table, int columnCount)
{
    QStringList headings{QStringLiteral("番号"), QStringLiteral("氏名")};
    for (const StatisticsColumn& column : table.columns)
        headings << (column.firstOfTest ? QLatin1Char(' ') + QString::number(column.test) : QString());
    while (headings.size() < columnCount)
        headings << QString();
    return headings;
}

QString StatisticsText::pupilNumber(int pupil)
{
    return QLatin1Char(' ') + QString::number(pupil);
}

QString StatisticsText::testTitle(const StatisticsTable& table, int column)
{
    const StatisticsColumn* at = columnAt(table, column);
    if (!at)
        return {};
    const QString title = Format::pattern(at->test, QStringLiteral("【##】")) + QLatin1Char(' ') + table.testNames[at->test];
    return at->weight == 1.0 ? title : title + TallyText::weight(at->weight);
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

QString StatisticsText::cell(const StatisticsColumn& column, int pupil)
{
    const CellText style{QStringLiteral("###"), QStringLiteral("0"), TallyText::Absent, {}, {}};
    const TallyNumber& score = column.score[size_t(pupil)];
    return column.observation ? TallyText::observation(score, style) : TallyText::cell(score, style);
}
