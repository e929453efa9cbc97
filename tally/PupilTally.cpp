#include "tally/PupilTally.h"

#include "model/Format.h"
#include "tally/Evaluation.h"
#include "tally/TestTotals.h"

namespace {

const QString AbsentMark = QStringLiteral("欠");

// A text as the screen shows it, read back as a number; -1 when it is not one.
double numberOf(const QString& text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok ? value : -1.0;
}

// A grid cell as the sheet prints it: a blank before the digits. A zero stays a
// visible "0" (the " ###" pattern alone would print nothing for it); a text that
// is not a number ("欠", "- ") is kept.
QString spacedNumber(const QString& text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (ok && value == 0)
        return QStringLiteral(" 0");
    return Format::textPattern(text, QStringLiteral(" ###"));
}

// Ranks every pupil on their values and keeps each pupil's figure in `figures`.

}  // namespace

QStringList PupilTallyText::headings()
{
    return {QStringLiteral("番号"),  QStringLiteral("テスト名"), QStringLiteral("総点"),
            QStringLiteral("観点Ⅰ"), QStringLiteral("観点Ⅱ"),   QStringLiteral("観点Ⅲ"),
            QStringLiteral("観点Ⅳ"), QStringLiteral("順位")};
}

QString PupilTallyText::pupilItem(const PupilTally& tally, int pupil)
{
    return QLatin1Char(' ') + QString::number(pupil) + QLatin1Char(' ') + tally.names[pupil];
}

QString kojinCaption(const ClassData& data)
{
    return QStringLiteral("個人別成績集計-") + data.unitName();
}

QString kojinPreviewTitle(const PupilTally& tally, int pupil, const QString& caption)
{
    return caption + PupilTallyText::pupilItem(tally, pupil);
}

PupilTally computePupilTally(const ClassData& data, int subject)
{
    PupilTally tally;
    tally.pupils = qBound(0, data.pupilCount, Limits::Pupils);
    tally.set = data.tests;
    tally.names = data.pupilName;
    for (int k = 1; k <= Limits::Viewpoints; ++k)
        tally.viewpointLabel[k] = QString::number(k) + QLatin1Char(':') + data.viewpointName[subject][k];

    const int tests = qBound(0, tally.set.count, Limits::Tests);
    for (int t = 1; t <= tests; ++t) {
        const TestTotals totals = computeTestTotals(data, t);
        const Ranking ranking = rank(totals.percents());
        for (int p = 1; p <= tally.pupils; ++p) {
            tally.testTotal[t][p] = totals.pupilTotal[p];
            tally.testRank[t][p] = totals.percent[p] >= 0 ? ranking.rankOf(p) : -1;
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

QList<QStringList> pupilTestRows(const PupilTally& tally, int pupil)
{
    QList<QStringList> rows;
    if (pupil < 1 || pupil > tally.pupils)
        return rows;
    const TestSet& set = tally.set;
    const int tests = qBound(0, set.count, Limits::Tests);
    rows.reserve(tests);
    for (int t = 1; t <= tests; ++t) {
        QStringList cells(8);
        cells[0] = Format::hashes(t);
        cells[1] = set.name[t];
        const int total = tally.testTotal[t][pupil];
        cells[2] = total < 0 ? AbsentMark : total == 0 ? QStringLiteral("0") : Format::pattern(total, QStringLiteral("###"));
        const int columns = qBound(0, set.columnCount[t], Limits::Columns);
        for (int c = 1; c <= columns; ++c) {
            const int v = Tally::viewpointOf(set, t, c);
            if (v == 0)
                continue;  // measures no viewpoint: counted in the total only
            const int score = set.score[t][c][pupil];
            cells[v + 2] = score < 0 ? AbsentMark : QString::number(score);
        }
        const int rank = tally.testRank[t][pupil];
        cells[7] = rank >= 0 ? Format::hashes(rank) : QStringLiteral("- ");
        rows.append(cells);
    }
    return rows;
}

PupilSummary pupilSummary(const PupilTally& tally, int pupil)
{
    PupilSummary summary;
    const bool known = pupil >= 1 && pupil <= tally.pupils;
    const TallyFigure none;
    const TallyFigure& overall = known ? tally.overall[pupil] : none;
    if (overall.hasValue()) {
        summary.average[0] = Format::oneDecimal(overall.average);
        summary.rank[0] = Format::hashes(overall.rank);
        summary.evaluation[0] = overall.evaluation;
    } else {
        summary.average[0] = QStringLiteral("  -  ");
        summary.rank[0] = QStringLiteral(" -");
        summary.evaluation[0] = QStringLiteral("-");
    }
    for (int k = 1; k <= Limits::Viewpoints; ++k) {
        const TallyFigure& figure = known ? tally.viewpoint[k][pupil] : none;
        if (figure.hasValue()) {
            summary.average[k] = Format::oneDecimal(figure.average);
            summary.rank[k] = Format::hashes(figure.rank);
            summary.evaluation[k] = figure.evaluation;
        } else {
            summary.average[k] = QStringLiteral("  -  ");
            summary.rank[k] = QStringLiteral("-");
            summary.evaluation[k] = QStringLiteral("-");
        }
    }
    return summary;
}

ReportSheet kojinSheet(const QString& caption, const QString& nameText, const QString (&viewpointLabels)[5],
                       const PupilSummary& summary, const QList<QStringList>& rows)
{
    ReportSheet sheet;
    sheet.stem = QStringLiteral("kojin");
    sheet.titleFields = QStringList{QStringLiteral("Title"), QStringLiteral("Name"), QStringLiteral("AHeikin"),
                                    QStringLiteral("ARank"), QStringLiteral("AHyotei")};
    for (int k = 1; k <= Limits::Viewpoints; ++k)
        for (const char* field : {"KNames", "KHeikin", "KRank", "KHyotei"})
            sheet.titleFields.append(QLatin1String(field) + QString::number(k));
    sheet.dataFields = QStringList{QStringLiteral("Number"), QStringLiteral("TestTitle"), QStringLiteral("Souten"),
                                   QStringLiteral("Tensu1"), QStringLiteral("Tensu2"),    QStringLiteral("Tensu3"),
                                   QStringLiteral("Tensu4"), QStringLiteral("Rank")};
    sheet.dataIndexName = QStringLiteral("Number");

    const QString dash = QStringLiteral("-");
    QStringList& title = sheet.titleValues;
    title << QStringLiteral("【") + caption + QStringLiteral("】") << nameText;
    const double overallAverage = numberOf(summary.average[0]);
    const double overallRank = numberOf(summary.rank[0]);
    if (overallAverage == -1) {
        title << dash << dash << dash;
    } else {
        title << Format::oneDecimal(overallAverage) << Format::pattern(overallRank, QStringLiteral("###"))
              << Format::textPattern(summary.evaluation[0], QStringLiteral("##"));
    }
    for (int k = 1; k <= Limits::Viewpoints; ++k) {
        const double average = numberOf(summary.average[k]);
        const double rank = numberOf(summary.rank[k]);
        title << viewpointLabels[k];
        title << (average == -1 ? dash : Format::shortest(float(average)));
        title << (rank == -1 ? dash : QString::number(qRound(rank)));
        title << (rank == -1 ? dash : summary.evaluation[k]);
    }

    for (const QStringList& row : rows) {
        QStringList cells = row;
        cells.resize(8);
        for (QString& cell : cells)
            if (cell.isEmpty())
                cell = dash;
        QStringList values;
        values << Format::textPattern(cells[0], QStringLiteral("###")) << cells[1];
        for (int c = 2; c <= 7; ++c)
            values << spacedNumber(cells[c]);
        sheet.rows.append(values);
    }
    return sheet;
}

ReportSheet kojinSheet(const PupilTally& tally, int pupil, const QString& caption)
{
    return kojinSheet(caption, PupilTallyText::pupilItem(tally, pupil), tally.viewpointLabel, pupilSummary(tally, pupil),
                      pupilTestRows(tally, pupil));
}

QList<ReportSheet> kojinSheets(const PupilTally& tally, const QString& caption)
{
    QList<ReportSheet> sheets;
    for (int p = 1; p <= tally.pupils; ++p)
        sheets.append(kojinSheet(tally, p, caption));
    return sheets;
}

QString kojinAllPreviewTitle(const QString& caption)
{
    return caption + QStringLiteral("-全員");
}
