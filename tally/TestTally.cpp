#include "tally/TestTally.h"

#include "model/Format.h"
#include "tally/Evaluation.h"
#include "tally/TestTotals.h"

namespace {

QString totalText(int total)
{
    if (total < 0)
        return TestTallyText::Absent;
    return total == 0 ? QStringLiteral("0") : Format::pattern(total, QStringLiteral("###"));
}

QString scoreText(const TestTotals& totals, const ClassData& data, int c, int p)
{
    if (c > totals.columns)
        return QString();
    const int score = data.tests.score[totals.test][c][p];
    return score < 0 ? TestTallyText::Absent : QString::number(score);
}

QString averageText(double average)
{
    return average < 0 ? TestTallyText::NoAverage : Format::oneDecimal(average);
}

}  // namespace

TestTally computeTestTally(const ClassData& data, int subject, int test, TallyOrder order)
{
    TestTally tally;
    const TestSet& set = data.tests;
    const int pupils = qBound(0, data.pupilCount, Limits::Pupils);
    tally.test = test;
    tally.order = order;
    if (test < 1 || test > qMin(set.count, Limits::Tests))
        return tally;
    tally.testName = set.name[test];
    tally.testNumberText = QString::number(test) + QStringLiteral("個目のテスト");

    const TestTotals totals = computeTestTotals(data, test);
    const int s = qBound(1, subject, Limits::Units);
    for (int c = 1; c <= totals.columns; ++c)
        tally.viewpointNames[c - 1] = data.viewpointName[s][qBound(0, set.viewpoint[test][c], Limits::Viewpoints)];
    for (int c = 1; c <= Limits::Columns; ++c) {
        // Columns beyond the test's own have no scores and show an average of 0.
        tally.columnAverages[c - 1] = c > totals.columns ? Format::oneDecimal(0) : averageText(totals.columnAverage(c, pupils));
        tally.columnFullMarks[c - 1] = Format::pattern(set.fullMarks[test][c], QStringLiteral("###"));
    }
    tally.fullMarks = Format::pattern(totals.fullMarks, QStringLiteral("###"));

    const Ranking ranking = rank(totals.percents());
    tally.distribution = scoreDistribution(totals);
    tally.distribution.bestFirst = order == TallyOrder::Score;
    tally.classAverage = averageText(tally.distribution.average);

    const bool byScore = order == TallyOrder::Score;
    const QString number = QStringLiteral("番号");
    const QString rank = QStringLiteral("順位");
    tally.headings = {byScore ? rank : number, QStringLiteral("氏 名"), QStringLiteral("総 点"),
                      QStringLiteral("Ⅰ"), QStringLiteral("Ⅱ"), QStringLiteral("Ⅲ"), QStringLiteral("Ⅳ"),
                      byScore ? number : rank};
    for (int row = 1; row <= pupils; ++row) {
        const int p = byScore ? ranking.pupilAt(row) : row;
        tally.pupilOfRow[row] = p;
        const QString rankText = totals.percent[p] >= 0 ? Format::hashes(ranking.rankOf(p))
                                                         : (byScore ? QStringLiteral("  -  ") : QStringLiteral("- "));
        const QString numberText = Format::hashes(p);
        QStringList cells{byScore ? rankText : numberText, data.pupilName[p], totalText(totals.pupilTotal[p])};
        for (int c = 1; c <= Limits::Columns; ++c)
            cells.append(scoreText(totals, data, c, p));
        cells.append(byScore ? numberText : rankText);
        tally.rows.append(cells);
    }
    return tally;
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

    const bool byScore = tally.order == TallyOrder::Score;
    QStringList kanten, manten;
    for (int k = 0; k < 4; ++k) {
        const bool named = !tally.viewpointNames[k].isEmpty();
        kanten.append(named ? tally.viewpointNames[k] : QStringLiteral(" -"));
        manten.append(named ? tally.columnFullMarks[k] : QStringLiteral(" -"));
    }
    sheet.titleValues = QStringList{QStringLiteral("【") + caption + QStringLiteral("】"),
                                    byScore ? QStringLiteral("成績順") : QStringLiteral("番号順"), tally.testName,
                                    tally.fullMarks, tally.classAverage}
        + kanten + QStringList(tally.columnAverages.begin(), tally.columnAverages.end()) + manten
        + QStringList{byScore ? QStringLiteral("順位") : QStringLiteral("番号"),
                      byScore ? QStringLiteral("番号") : QStringLiteral("順位")};

    for (const QStringList& cells : tally.rows) {
        QStringList row = cells;
        for (int i = 2; i < row.size(); ++i)
            if (row[i].isEmpty())
                row[i] = QStringLiteral("-");
        sheet.rows.append(row);
    }
    sheet.scoreChart = tally.distribution;
    return sheet;
}

QString testdispPreviewTitle(const TestTally& tally)
{
    return QStringLiteral("テスト別集計-") + tally.testName;
}
