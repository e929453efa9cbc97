#include "tally/PupilTallyText.h"

#include "model/Format.h"
#include "tally/TallyText.h"

namespace {

enum class Place { Screen, Sheet };

const QString Dash = QStringLiteral("-");

// Totals and scores; the sheet puts a blank before the digits, and a zero stays a
// visible "0" (the " ###" pattern alone would print nothing for it).
CellText pointsText(Place place)
{
    if (place == Place::Sheet)
        return {QStringLiteral(" ###"), QStringLiteral(" 0"), TallyText::Absent, Dash, Dash};
    return {QStringLiteral("###"), QStringLiteral("0"), TallyText::Absent, Dash, QString()};
}

CellText rankText(Place place)
{
    return {place == Place::Sheet ? QStringLiteral(" ###") : QStringLiteral("##"), {}, {}, QStringLiteral("- "), Dash};
}

// A sum of scores: of an observation test the letter of its one column ("-" for a
// sum of several); a sum of some columns only with the full marks of those ("38/50").
QString pointsCell(const TallyNumber& number, bool observation, int columns, int partialFullMarks, const CellText& points)
{
    if (observation && number.hasValue())
        return columns == 1 ? TallyText::observation(number, points) : Dash;
    const QString text = TallyText::cell(number, points);
    return partialFullMarks > 0 ? text + QLatin1Char('/') + QString::number(partialFullMarks) : text;
}

QList<QStringList> rowsAt(const PupilTally& tally, int pupil, Place place)
{
    const CellText points = pointsText(place);
    const CellText rank = rankText(place);
    QList<QStringList> rows;
    for (const PupilTestRow& row : pupilTestRows(tally, pupil)) {
        QString name = row.testName;
        if (tally.weighted && row.weight != 1.0)
            name += TallyText::weight(row.weight);
        QStringList cells{Format::hashes(row.test), name,
                          pointsCell(row.total, row.observation, row.columns, row.partialFullMarks, points)};
        if (place == Place::Sheet && cells[1].isEmpty())
            cells[1] = Dash;
        for (size_t k = 0; k < row.viewpointScores.size(); ++k)
            cells.append(pointsCell(row.viewpointScores[k], row.observation, row.viewpointColumns[k],
                                    row.viewpointPartialFullMarks[k], points));
        cells.append(TallyText::cell(row.rank, rank));
        rows.append(cells);
    }
    return rows;
}

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

QString PupilTallyText::viewpointLabel(const PupilTally& tally, int k)
{
    return QString::number(k) + QLatin1Char(':') + tally.viewpointNames[k];
}

QList<QStringList> PupilTallyText::gridRows(const PupilTally& tally, int pupil)
{
    return rowsAt(tally, pupil, Place::Screen);
}

PupilSummary PupilTallyText::summary(const PupilTally& tally, int pupil)
{
    PupilSummary summary;
    for (int group = 0; group <= Limits::Viewpoints; ++group) {
        const TallyFigure figure = pupilFigure(tally, pupil, group);
        if (figure.hasValue()) {
            summary.average[group] = Format::oneDecimal(figure.average.value);
            summary.rank[group] = Format::hashes(figure.rank.value);
        } else {
            summary.average[group] = QStringLiteral("  -  ");
            summary.rank[group] = group == 0 ? QStringLiteral(" -") : Dash;
        }
        summary.evaluation[group] = TallyText::grade(figure, Dash);
    }
    return summary;
}

QString PupilTallyText::averageNote(const PupilTally& tally)
{
    return tally.weighted ? QStringLiteral("平均は重み付きの平均（テスト名の後の（重み）がそのテストの重み）") : QString();
}

QString PupilTallyText::notEnteredNote(const PupilTally& tally)
{
    return tally.notEnteredPupils > 0 ? QStringLiteral("未入力のある児童：%1人").arg(tally.notEnteredPupils) : QString();
}

QString kojinCaption(const ClassData& data)
{
    return QStringLiteral("個人別成績集計-") + data.unitName();
}

QString kojinPreviewTitle(const PupilTally& tally, int pupil, const QString& caption)
{
    return caption + PupilTallyText::pupilItem(tally, pupil);
}

ReportSheet kojinSheet(const PupilTally& tally, int pupil, const QString& caption)
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
    // The store's fields are fixed; the note on weighted averages is printed only.
    sheet.pageFields = QStringList{QStringLiteral("AverageNote")};
    sheet.pageValues = QStringList{PupilTallyText::averageNote(tally)};

    QStringList& title = sheet.titleValues;
    title << QStringLiteral("【") + caption + QStringLiteral("】") << PupilTallyText::pupilItem(tally, pupil);
    const TallyFigure overall = pupilFigure(tally, pupil, 0);
    if (overall.hasValue())
        title << Format::oneDecimal(overall.average.value) << Format::pattern(overall.rank.value, QStringLiteral("###"));
    else
        title << Dash << Dash;
    title << TallyText::grade(overall, Dash);
    // The viewpoints' averages print in their shortest form ("90", "66.7").
    for (int k = 1; k <= Limits::Viewpoints; ++k) {
        const TallyFigure figure = pupilFigure(tally, pupil, k);
        title << PupilTallyText::viewpointLabel(tally, k);
        if (figure.hasValue())
            title << TallyText::shortestTenth(figure.average.value) << QString::number(int(figure.rank.value));
        else
            title << Dash << Dash;
        title << TallyText::grade(figure, Dash);
    }
    sheet.rows = rowsAt(tally, pupil, Place::Sheet);
    return sheet;
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
