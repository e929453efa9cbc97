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

QList<QStringList> rowsAt(const PupilTally& tally, int pupil, Place place)
{
    const CellText points = pointsText(place);
    const CellText rank = rankText(place);
    QList<QStringList> rows;
    for (const PupilTestRow& row : pupilTestRows(tally, pupil)) {
        QStringList cells{Format::hashes(row.test), row.testName, TallyText::cell(row.total, points)};
        if (place == Place::Sheet && cells[1].isEmpty())
            cells[1] = Dash;
        for (const TallyNumber& score : row.viewpointScores)
            cells.append(TallyText::cell(score, points));
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
            summary.evaluation[group] = figure.evaluation;
        } else {
            summary.average[group] = QStringLiteral("  -  ");
            summary.rank[group] = group == 0 ? QStringLiteral(" -") : Dash;
            summary.evaluation[group] = Dash;
        }
    }
    return summary;
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

    QStringList& title = sheet.titleValues;
    title << QStringLiteral("【") + caption + QStringLiteral("】") << PupilTallyText::pupilItem(tally, pupil);
    const TallyFigure overall = pupilFigure(tally, pupil, 0);
    if (overall.hasValue())
        title << Format::oneDecimal(overall.average.value) << Format::pattern(overall.rank.value, QStringLiteral("###"))
              << overall.evaluation;
    else
        title << Dash << Dash << Dash;
    // The viewpoints' averages print in their shortest form ("90", "66.7").
    for (int k = 1; k <= Limits::Viewpoints; ++k) {
        const TallyFigure figure = pupilFigure(tally, pupil, k);
        title << PupilTallyText::viewpointLabel(tally, k);
        if (figure.hasValue())
            title << TallyText::shortestTenth(figure.average.value) << QString::number(int(figure.rank.value))
                  << figure.evaluation;
        else
            title << Dash << Dash << Dash;
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
