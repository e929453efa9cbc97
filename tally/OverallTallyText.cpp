#include "tally/OverallTallyText.h"

#include "model/Format.h"
#include "tally/TallyText.h"

namespace {

enum class Place { Screen, Sheet };

const QString Dash = QStringLiteral("-");

// What fits on the printed line at the smallest size its text may shrink to.
constexpr qsizetype CountedTestsRoom = 140;

// "1～12、15、20～31" for ascending numbers.
QString numberRuns(const QList<int>& numbers)
{
    QStringList runs;
    for (qsizetype i = 0; i < numbers.size();) {
        qsizetype j = i;
        while (j + 1 < numbers.size() && numbers[j + 1] == numbers[j] + 1)
            ++j;
        runs << (j == i ? QString::number(numbers[i]) : QStringLiteral("%1～%2").arg(numbers[i]).arg(numbers[j]));
        i = j + 1;
    }
    return runs.join(QStringLiteral("、"));
}

// The three cells of one group at cells[at..at + 2]. A group without a value
// shows `dash`; a figure not shown is left as it is.
void writeGroup(QStringList& cells, int at, const TallyFigure& figure, const QString& dash, ShownFigures shown)
{
    if (shown.average)
        cells[at] = TallyText::cell(figure.average, {QStringLiteral("###.0"), {}, {}, dash, {}});
    if (shown.rank)
        cells[at + 1] = TallyText::cell(figure.rank, {QStringLiteral("##"), {}, {}, dash, {}});
    if (shown.evaluation)
        cells[at + 2] = TallyText::grade(figure, dash);
}

QList<QStringList> rowsAt(const OverallTally& tally, OverallOrder order, ShownFigures shown, Place place)
{
    // Placeholders of a group without a value differ between the number order and
    // the score orders.
    const QString overallDash = order.byScore ? QStringLiteral(" -") : QStringLiteral("  -  ");
    const QString viewpointDash = order.byScore ? QStringLiteral("  -  ") : QStringLiteral(" -");
    QList<QStringList> rows;
    rows.reserve(tally.pupils);
    for (int position = 1; position <= tally.pupils; ++position) {
        const int p = pupilAt(tally, order, position);
        QStringList cells(OverallTallyText::Columns);
        cells[0] = Format::hashes(p);
        cells[1] = tally.names[p];
        writeGroup(cells, 2, tally.overall[p], overallDash, shown);
        for (int v = 1; v <= Limits::Viewpoints; ++v)
            writeGroup(cells, 2 + 3 * v, tally.viewpoint[v][p], viewpointDash, shown);
        if (place == Place::Sheet)
            for (QString& cell : cells)
                if (cell.isEmpty())
                    cell = Dash;
        rows.append(cells);
    }
    return rows;
}

}  // namespace

QStringList OverallTallyText::headings()
{
    QStringList texts{QStringLiteral("番号"), QStringLiteral("氏名"), QStringLiteral("総平均"), QStringLiteral("総順位"),
                      QStringLiteral("総評定")};
    for (int v = 1; v <= Limits::Viewpoints; ++v)
        texts << QStringLiteral("平均%1").arg(v) << QStringLiteral("順位%1").arg(v) << QStringLiteral("評定%1").arg(v);
    return texts;
}

QStringList OverallTallyText::orderItems(const OverallTally& tally)
{
    QStringList items{QStringLiteral("総合成績順")};
    for (int v = 1; v <= Limits::Viewpoints; ++v)
        items << tally.viewpointNames[v];
    return items;
}

QString OverallTallyText::orderText(const OverallTally& tally, OverallOrder order)
{
    if (!order.byScore)
        return QStringLiteral("出席番号順");
    if (order.viewpoint >= 1 && order.viewpoint <= Limits::Viewpoints)
        return tally.viewpointNames[order.viewpoint] + QStringLiteral("成績順");
    return QStringLiteral("総合成績順");
}

QString OverallTallyText::countedTests(const OverallTally& tally)
{
    if (tally.chosenTests.isEmpty())
        return QStringLiteral("集計したテスト：なし");
    if (tally.weighted)
        return weightedTests(tally);
    const QString head = QStringLiteral("集計したテスト（%1）：").arg(tally.chosenTests.size());
    const QString names = head + tally.chosenTestNames.join(QStringLiteral("、"));
    if (names.size() <= CountedTestsRoom)
        return names;
    return head + QStringLiteral("テスト番号 ") + numberRuns(tally.chosenTests);
}

QString OverallTallyText::weightedTests(const OverallTally& tally)
{
    if (!tally.weighted)
        return {};
    const QString head = QStringLiteral("集計したテスト（%1）・重み付きの平均：").arg(tally.chosenTests.size());
    QStringList names;
    QStringList weights;  // "3は2": the tests that weigh other than 1, by number
    for (qsizetype i = 0; i < tally.chosenTests.size(); ++i) {
        const double weight = tally.chosenTestWeights.value(i, 1.0);
        const QString mark = weight == 1.0 ? QString() : TallyText::weight(weight);
        names << tally.chosenTestNames[i] + mark;
        if (!mark.isEmpty())
            weights << QString::number(tally.chosenTests[i]) + mark;
    }
    const QString text = head + names.join(QStringLiteral("、"));
    if (text.size() <= CountedTestsRoom)
        return text;
    return head + QStringLiteral("テスト番号 ") + numberRuns(tally.chosenTests) + QStringLiteral("　") +
           weights.join(QStringLiteral("、"));
}

QString OverallTallyText::overallAverage(const OverallTally& tally)
{
    return TallyText::cell(tally.overallClassAverage, {QStringLiteral("###.0"), {}, {}, Dash, {}});
}

QStringList OverallTallyText::viewpointRow(const OverallTally& tally, int v)
{
    QStringList cells{Format::hashes(v), tally.viewpointNames[v]};
    if (!tally.classAverage[v].hasValue())
        cells << QStringLiteral(" -") << QStringLiteral(" -");
    else
        cells << Format::oneDecimal(tally.classAverage[v].value) << Format::pattern(tally.testCount[v], QStringLiteral("###"));
    return cells;
}

QString overallTallyCaption(const ClassData& data)
{
    return QStringLiteral("総合集計一覧表-") + data.unitName();
}

QList<QStringList> overallGridRows(const OverallTally& tally, OverallOrder order, ShownFigures shown)
{
    return rowsAt(tally, order, shown, Place::Screen);
}

ReportSheet aryoikiSheet(const OverallTally& tally, const QString& caption, OverallOrder order, ShownFigures shown)
{
    ReportSheet sheet;
    sheet.stem = QStringLiteral("aryoiki");
    sheet.titleFields = QStringList{QStringLiteral("Title"),   QStringLiteral("SougouAva"), QStringLiteral("Ryoiki1"),
                                    QStringLiteral("Ryoiki2"), QStringLiteral("Ryoiki3"),   QStringLiteral("Ryoiki4"),
                                    QStringLiteral("SortWay")};
    for (int v = 1; v <= Limits::Viewpoints; ++v)
        sheet.titleFields << QStringLiteral("Avarage%1").arg(v);
    for (int v = 1; v <= Limits::Viewpoints; ++v)
        sheet.titleFields << QStringLiteral("TestCount%1").arg(v);
    for (int n = 1; n <= OverallTallyText::Columns; ++n)
        sheet.dataFields << QStringLiteral("data%1").arg(n, 2, 10, QLatin1Char('0'));
    sheet.dataIndexName = QStringLiteral("Data01");
    // The store's fields are fixed; the tests counted are printed only.
    sheet.pageFields = QStringList{QStringLiteral("CountedTests")};
    sheet.pageValues = QStringList{OverallTallyText::countedTests(tally)};

    QStringList& title = sheet.titleValues;
    title << QStringLiteral("【") + caption + QStringLiteral("】教科内総合集計一覧表") << OverallTallyText::overallAverage(tally);
    title << tally.viewpointNames[1] << tally.viewpointNames[2] << tally.viewpointNames[3];
    title << (tally.viewpointNames[4].isEmpty() ? Dash : tally.viewpointNames[4]);
    title << OverallTallyText::orderText(tally, order);
    for (int v = 1; v <= Limits::Viewpoints; ++v)
        title << TallyText::cell(tally.classAverage[v], {QStringLiteral("###.0"), {}, {}, Dash, {}});
    for (int v = 1; v <= Limits::Viewpoints; ++v)
        title << (tally.classAverage[v].hasValue() ? Format::hashes(tally.testCount[v]) : Dash);

    sheet.rows.append(OverallTallyText::headings());
    sheet.rows.append(rowsAt(tally, order, shown, Place::Sheet));
    return sheet;
}

QString aryoikiPreviewTitle(const OverallTally& tally, const QString& caption, OverallOrder order)
{
    return caption + QLatin1Char('-') + OverallTallyText::orderText(tally, order);
}
