#include "tally/OverallTally.h"

#include "model/Format.h"
#include "tally/Evaluation.h"

namespace {

// A cell the sheet cannot leave empty.
QString sheetCell(const QString& text)
{
    if (text.isEmpty())
        return QStringLiteral("-");
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return (ok && value < 0) ? QStringLiteral("-") : text;
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

namespace {
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
        runs << (j == i ? QString::number(numbers[i])
                        : QStringLiteral("%1～%2").arg(numbers[i]).arg(numbers[j]));
        i = j + 1;
    }
    return runs.join(QStringLiteral("、"));
}
}  // namespace

QString OverallTallyText::countedTests(const OverallTally& tally)
{
    if (tally.chosenTests.isEmpty())
        return QStringLiteral("集計したテスト：なし");
    const QString head = QStringLiteral("集計したテスト（%1）：").arg(tally.chosenTests.size());
    const QString names = head + tally.chosenTestNames.join(QStringLiteral("、"));
    if (names.size() <= CountedTestsRoom)
        return names;
    return head + QStringLiteral("テスト番号 ") + numberRuns(tally.chosenTests);
}

QString OverallTallyText::overallAverage(const OverallTally& tally)
{
    return tally.overallClassAverage < 0 ? QStringLiteral("-") : Format::oneDecimal(tally.overallClassAverage);
}

QStringList OverallTallyText::viewpointRow(const OverallTally& tally, int v)
{
    QStringList cells{Format::hashes(v), tally.viewpointNames[v]};
    if (tally.classAverage[v] < 0)
        cells << QStringLiteral(" -") << QStringLiteral(" -");
    else
        cells << Format::oneDecimal(tally.classAverage[v]) << Format::pattern(tally.testCount[v], QStringLiteral("###"));
    return cells;
}

QString overallTallyCaption(const ClassData& data)
{
    return QStringLiteral("総合集計一覧表-") + data.unitName();
}

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
        }

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
    return tally;
}

int pupilAt(const OverallTally& tally, OverallOrder order, int position)
{
    if (!order.byScore)
        return position;
    const int group = qBound(0, order.viewpoint, Limits::Viewpoints);
    return tally.order[group][position];
}

QList<QStringList> overallGridRows(const OverallTally& tally, OverallOrder order, ShownFigures shown)
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
        for (int group = 0; group <= Limits::Viewpoints; ++group) {
            const TallyFigure& figure = group == 0 ? tally.overall[p] : tally.viewpoint[group][p];
            const QString& dash = group == 0 ? overallDash : viewpointDash;
            const int at = 2 + 3 * group;
            if (shown.average)
                cells[at] = figure.hasValue() ? Format::oneDecimal(figure.average) : dash;
            if (shown.rank)
                cells[at + 1] = figure.hasValue() ? Format::hashes(figure.rank) : dash;
            if (shown.evaluation)
                cells[at + 2] = figure.hasValue() ? figure.evaluation : dash;
        }
        rows.append(cells);
    }
    return rows;
}

ReportSheet aryoikiSheet(const OverallTally& tally, const QString& caption, OverallOrder order,
                         const QString& overallAverageText, const QList<QStringList>& gridRows)
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

    const QString dash = QStringLiteral("-");
    QStringList& title = sheet.titleValues;
    title << QStringLiteral("【") + caption + QStringLiteral("】教科内総合集計一覧表") << overallAverageText;
    title << tally.viewpointNames[1] << tally.viewpointNames[2] << tally.viewpointNames[3];
    title << (tally.viewpointNames[4].isEmpty() ? dash : tally.viewpointNames[4]);
    title << OverallTallyText::orderText(tally, order);
    for (int v = 1; v <= Limits::Viewpoints; ++v)
        title << (tally.classAverage[v] < 0 ? dash : Format::oneDecimal(tally.classAverage[v]));
    for (int v = 1; v <= Limits::Viewpoints; ++v)
        title << (tally.classAverage[v] < 0 ? dash : Format::hashes(tally.testCount[v]));

    QList<QStringList> lines;
    lines.append(OverallTallyText::headings());
    lines.append(gridRows);
    for (const QStringList& line : std::as_const(lines)) {
        QStringList values = line;
        values.resize(OverallTallyText::Columns);
        for (QString& value : values)
            value = sheetCell(value);
        sheet.rows.append(values);
    }
    return sheet;
}

ReportSheet aryoikiSheet(const OverallTally& tally, const QString& caption, OverallOrder order, ShownFigures shown)
{
    return aryoikiSheet(tally, caption, order, OverallTallyText::overallAverage(tally),
                        overallGridRows(tally, order, shown));
}

QString aryoikiPreviewTitle(const OverallTally& tally, const QString& caption, OverallOrder order)
{
    return caption + QLatin1Char('-') + OverallTallyText::orderText(tally, order);
}
