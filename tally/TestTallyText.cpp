#include "tally/TestTallyText.h"

#include "model/Format.h"
#include "tally/TallyText.h"

#include <algorithm>

namespace {

enum class Place { Screen, Sheet };

const QString Dash = QStringLiteral("-");

// Totals and scores: the number, "0" for 0.
CellText pointsText(Place place)
{
    return {QStringLiteral("###"), QStringLiteral("0"), TestTallyText::Absent, Dash,
            place == Place::Sheet ? Dash : QString()};
}

CellText rankText(TallyOrder order)
{
    return {QStringLiteral("##"), {}, {}, order == TallyOrder::Score ? QStringLiteral("  -  ") : QStringLiteral("- "), {}};
}

// Column and class averages; a column beyond the test's own has none and shows the
// dash of every missing value.
CellText averageText()
{
    return {QStringLiteral("###.0"), {}, {}, TestTallyText::NoAverage, TestTallyText::NoAverage};
}

// A total: of an observation test the letter of its one column ("-" over several
// columns); a total of some columns only with the full marks of those ("25/50").
QString totalCell(const TestTally& tally, const TestTallyRow& row, const CellText& points)
{
    if (tally.observation && row.total.hasValue())
        return tally.columns == 1 ? TallyText::observation(row.total, points) : Dash;
    const QString total = TallyText::cell(row.total, points);
    return row.partialFullMarks > 0 ? total + QLatin1Char('/') + QString::number(row.partialFullMarks) : total;
}

QStringList rowCells(const TestTally& tally, const TestTallyRow& row, Place place)
{
    const TallyOrder order = tally.order;
    const CellText points = pointsText(place);
    const QString rank = TallyText::cell(row.rank, rankText(order));
    const QString number = Format::hashes(row.pupil);
    const bool byScore = order == TallyOrder::Score;
    QStringList cells{byScore ? rank : number, row.name, totalCell(tally, row, points)};
    for (const TallyNumber& score : row.scores)
        cells.append(tally.observation ? TallyText::observation(score, points) : TallyText::cell(score, points));
    cells.append(byScore ? number : rank);
    return cells;
}

QList<QStringList> rowsAt(const TestTally& tally, Place place)
{
    QList<QStringList> rows;
    rows.reserve(tally.rows.size());
    for (const TestTallyRow& row : tally.rows)
        rows.append(rowCells(tally, row, place));
    return rows;
}

}  // namespace

QString TestTallyText::testNumber(const TestTally& tally)
{
    return QString::number(tally.test) + QStringLiteral("個目のテスト");
}

QStringList TestTallyText::headings(const TestTally& tally)
{
    const bool byScore = tally.order == TallyOrder::Score;
    const QString number = QStringLiteral("番号");
    const QString rank = QStringLiteral("順位");
    return {byScore ? rank : number, QStringLiteral("氏 名"), QStringLiteral("総 点"), QStringLiteral("Ⅰ"),
            QStringLiteral("Ⅱ"),     QStringLiteral("Ⅲ"),    QStringLiteral("Ⅳ"),    byScore ? number : rank};
}

QString TestTallyText::classAverage(const TestTally& tally)
{
    return TallyText::cell(tally.classAverage, averageText());
}

QString TestTallyText::fullMarks(const TestTally& tally)
{
    return Format::pattern(tally.fullMarks, QStringLiteral("###"));
}

QString TestTallyText::columnAverage(const TestTally& tally, int k)
{
    return TallyText::cell(tally.columnAverages[size_t(k)], averageText());
}

QString TestTallyText::columnFullMarks(const TestTally& tally, int k)
{
    return Format::pattern(tally.columnFullMarks[size_t(k)], QStringLiteral("###"));
}

QList<QStringList> TestTallyText::gridRows(const TestTally& tally)
{
    return rowsAt(tally, Place::Screen);
}

QString DistributionText::binLabel(int bin)
{
    const int from = qBound(0, bin, ScoreDistribution::Bins - 1) * 10;
    return QStringLiteral("%1～%2").arg(from).arg(from == 90 ? 100 : from + 9);
}

QString DistributionText::average(const ScoreDistribution& distribution)
{
    return TallyText::cell(distribution.average, {QStringLiteral("平均 ###.0"), {}, {}, {}, {}});
}

QString DistributionText::counts(const ScoreDistribution& distribution)
{
    const QString counts = QStringLiteral("人数 %1人　欠席 %2人").arg(distribution.counted).arg(distribution.absent);
    return distribution.notEntered > 0 ? counts + QStringLiteral("　未入力 %1人").arg(distribution.notEntered) : counts;
}

QStringList DistributionText::lines(const ScoreDistribution& distribution)
{
    QStringList lines;
    for (int bin = 0; bin < ScoreDistribution::Bins; ++bin)
        lines.prepend(QStringLiteral("%1点：%2人").arg(binLabel(bin)).arg(distribution.counts[size_t(bin)]));
    if (!distribution.bestFirst)
        std::reverse(lines.begin(), lines.end());
    if (distribution.average.hasValue())
        lines.append(average(distribution));
    lines.append(counts(distribution));
    return lines;
}

QString testDisplayCaption(const ClassData& data)
{
    return QStringLiteral("テスト別成績集計-") + data.unitName();
}

ReportSheet testdispSheet(const TestTally& tally, const QString& caption)
{
    ReportSheet sheet;
    sheet.stem = QStringLiteral("testdisp");
    sheet.titleFields = {QStringLiteral("Title"),    QStringLiteral("SortWay"),   QStringLiteral("TestTitle"),
                         QStringLiteral("TestManten"), QStringLiteral("TestAvarage"), QStringLiteral("Kanten1"),
                         QStringLiteral("Kanten2"),  QStringLiteral("Kanten3"),   QStringLiteral("Kanten4"),
                         QStringLiteral("Heikin1"),  QStringLiteral("Heikin2"),   QStringLiteral("Heikin3"),
                         QStringLiteral("Heikin4"),  QStringLiteral("Manten1"),   QStringLiteral("Manten2"),
                         QStringLiteral("Manten3"),  QStringLiteral("Manten4"),   QStringLiteral("LeftIndex"),
                         QStringLiteral("RightIndex")};
    sheet.dataFields = {QStringLiteral("Number"), QStringLiteral("Name"),   QStringLiteral("Souten"),
                        QStringLiteral("Tensu1"), QStringLiteral("Tensu2"), QStringLiteral("Tensu3"),
                        QStringLiteral("Tensu4"), QStringLiteral("Rank")};
    sheet.dataIndexName = QStringLiteral("Number");

    // A column without a viewpoint name prints " -" for its name and full marks, and
    // a column beyond the test's own for its average too.
    QStringList kanten, heikin, manten;
    for (int k = 0; k < Limits::Columns; ++k) {
        const bool named = !tally.viewpointNames[size_t(k)].isEmpty();
        const bool inTest = tally.columnAverages[size_t(k)].state != TallyNumber::State::NotInTest;
        kanten.append(named ? tally.viewpointNames[size_t(k)] : QStringLiteral(" -"));
        heikin.append(inTest ? TestTallyText::columnAverage(tally, k) : QStringLiteral(" -"));
        manten.append(named ? TestTallyText::columnFullMarks(tally, k) : QStringLiteral(" -"));
    }
    const QStringList headings = TestTallyText::headings(tally);
    const bool byScore = tally.order == TallyOrder::Score;
    sheet.titleValues = QStringList{QStringLiteral("【") + caption + QStringLiteral("】"),
                                    byScore ? QStringLiteral("成績順") : QStringLiteral("番号順"), tally.testName,
                                    TestTallyText::fullMarks(tally), TestTallyText::classAverage(tally)}
        + kanten + heikin + manten + QStringList{headings.first(), headings.last()};
    sheet.rows = rowsAt(tally, Place::Sheet);
    sheet.scoreChart = tally.distribution;
    return sheet;
}

QString testdispPreviewTitle(const TestTally& tally)
{
    return QStringLiteral("テスト別集計-") + tally.testName;
}
