#include "output/SheetTable.h"

#include "tally/OverrulingSheet.h"

#include <QRegularExpression>

namespace {

QString valueOf(const ReportSheet& sheet, const QString& field)
{
    return sheet.fieldValue(field).value_or(QString()).trimmed();
}

// A viewpoint without a name shows "-" in its place.
bool isUnnamed(const QString& name)
{
    return name.isEmpty() || name == QLatin1String("-");
}

QString columnName(const QString& name, int k)
{
    return isUnnamed(name) ? QStringLiteral("観点%1").arg(k) : name;
}

QString labelled(const QString& what, const QString& name)
{
    return what + QStringLiteral("（") + name + QStringLiteral("）");
}

// "【総合集計一覧表-国語】教科内総合集計一覧表" -> "総合集計一覧表".
QString tallyName(const QString& title)
{
    QString name = title.section(QStringLiteral("】"), 0, 0);
    name.remove(QStringLiteral("【"));
    return name.section(QLatin1Char('-'), 0, 0).trimmed();
}

void appendPair(QStringList& about, const QString& label, const QString& value)
{
    about << label << value;
}

SheetTable testTally(const ReportSheet& sheet)
{
    SheetTable table;
    table.headings << valueOf(sheet, QStringLiteral("LeftIndex")) << QStringLiteral("氏名") << QStringLiteral("合計");
    appendPair(table.about, QStringLiteral("並べ方"), valueOf(sheet, QStringLiteral("SortWay")));
    appendPair(table.about, QStringLiteral("テスト"), valueOf(sheet, QStringLiteral("TestTitle")));
    appendPair(table.about, QStringLiteral("満点"), valueOf(sheet, QStringLiteral("TestManten")));
    appendPair(table.about, QStringLiteral("クラスの平均"), valueOf(sheet, QStringLiteral("TestAvarage")));
    for (int k = 1; k <= 4; ++k) {
        const QString name = valueOf(sheet, QStringLiteral("Kanten%1").arg(k));
        table.headings << columnName(name, k);
        if (isUnnamed(name))
            continue;
        appendPair(table.about, labelled(QStringLiteral("満点"), name), valueOf(sheet, QStringLiteral("Manten%1").arg(k)));
        appendPair(table.about, labelled(QStringLiteral("クラスの平均"), name), valueOf(sheet, QStringLiteral("Heikin%1").arg(k)));
    }
    table.headings << valueOf(sheet, QStringLiteral("RightIndex"));
    table.rows = sheet.rows;
    return table;
}

SheetTable overallTally(const ReportSheet& sheet)
{
    SheetTable table;
    table.headings << QStringLiteral("番号") << QStringLiteral("氏名") << QStringLiteral("総平均") << QStringLiteral("総順位")
                   << QStringLiteral("総評定");
    appendPair(table.about, QStringLiteral("並べ方"), valueOf(sheet, QStringLiteral("SortWay")));
    appendPair(table.about, QStringLiteral("クラスの総平均"), valueOf(sheet, QStringLiteral("SougouAva")));
    for (int v = 1; v <= 4; ++v) {
        const QString name = valueOf(sheet, QStringLiteral("Ryoiki%1").arg(v));
        const QString column = columnName(name, v);
        table.headings << labelled(QStringLiteral("平均"), column) << labelled(QStringLiteral("順位"), column)
                       << labelled(QStringLiteral("評定"), column);
        if (isUnnamed(name))
            continue;
        appendPair(table.about, labelled(QStringLiteral("テスト数"), name), valueOf(sheet, QStringLiteral("TestCount%1").arg(v)));
        appendPair(table.about, labelled(QStringLiteral("クラスの平均"), name), valueOf(sheet, QStringLiteral("Avarage%1").arg(v)));
    }
    const QString counted = valueOf(sheet, QStringLiteral("CountedTests"));
    if (!counted.isEmpty())
        appendPair(table.about, QStringLiteral("集計したテスト"), counted);
    // The store's first row repeats the printed headings; the table has its own.
    table.rows = sheet.rows.mid(1);
    return table;
}

SheetTable pupilTally(const ReportSheet& sheet)
{
    SheetTable table;
    table.headings << QStringLiteral("テスト番号") << QStringLiteral("テスト名") << QStringLiteral("合計");
    appendPair(table.about, QStringLiteral("児童"), valueOf(sheet, QStringLiteral("Name")));
    appendPair(table.about, QStringLiteral("総平均"), valueOf(sheet, QStringLiteral("AHeikin")));
    appendPair(table.about, QStringLiteral("総順位"), valueOf(sheet, QStringLiteral("ARank")));
    appendPair(table.about, QStringLiteral("総評定"), valueOf(sheet, QStringLiteral("AHyotei")));
    for (int k = 1; k <= 4; ++k) {
        // "1:関心,意欲,態度"
        const QString name = valueOf(sheet, QStringLiteral("KNames%1").arg(k)).section(QLatin1Char(':'), 1);
        table.headings << columnName(name, k);
        if (isUnnamed(name))
            continue;
        appendPair(table.about, labelled(QStringLiteral("平均"), name), valueOf(sheet, QStringLiteral("KHeikin%1").arg(k)));
        appendPair(table.about, labelled(QStringLiteral("順位"), name), valueOf(sheet, QStringLiteral("KRank%1").arg(k)));
        appendPair(table.about, labelled(QStringLiteral("評定"), name), valueOf(sheet, QStringLiteral("KHyotei%1").arg(k)));
    }
    table.headings << QStringLiteral("順位");
    const QString note = valueOf(sheet, QStringLiteral("AverageNote"));
    if (!note.isEmpty())
        appendPair(table.about, QStringLiteral("平均の出し方"), note);
    table.rows = sheet.rows;
    return table;
}

bool blankColumn(const QList<QStringList>& rows, qsizetype column)
{
    for (const QStringList& row : rows)
        if (!row.value(column).trimmed().isEmpty())
            return false;
    return true;
}

SheetTable attendanceTally(const ReportSheet& sheet)
{
    SheetTable table;
    appendPair(table.about, QStringLiteral("集計"), valueOf(sheet, QStringLiteral("Mode")));
    appendPair(table.about, QStringLiteral("授業日数"), valueOf(sheet, QStringLiteral("JugyoSu")));
    const QStringList printed = sheet.rows.value(0);
    const QList<QStringList> rows = sheet.rows.mid(1);
    // The record book's sheet has a last column that holds nothing under a heading
    // repeated from an earlier one; the table leaves it out.
    QList<qsizetype> kept;
    for (qsizetype c = 0; c < printed.size(); ++c) {
        const QString heading = printed[c].trimmed();
        const bool repeated = heading.isEmpty() || printed.mid(0, c).contains(printed[c]);
        if (repeated && blankColumn(rows, c))
            continue;
        kept << c;
        table.headings << heading;
    }
    for (const QStringList& row : rows) {
        QStringList cells;
        for (qsizetype c : kept)
            cells << row.value(c);
        table.rows << cells;
    }
    return table;
}

SheetTable list(const ReportSheet& sheet)
{
    SheetTable table;
    QString what = valueOf(sheet, QStringLiteral("Names"));
    what.remove(QChar(0x3000));
    table.headings << QStringLiteral("番号") << what;
    appendPair(table.about, QStringLiteral("クラス"), valueOf(sheet, QStringLiteral("ClassName")));
    table.rows = sheet.rows;
    return table;
}

SheetTable overrulings(const ReportSheet& sheet)
{
    SheetTable table;
    table.headings << QStringLiteral("連番") << OverrulingSheet::headings();
    appendPair(table.about, QStringLiteral("クラス"), valueOf(sheet, QStringLiteral("ClassName")));
    appendPair(table.about, QStringLiteral("件数"), valueOf(sheet, QStringLiteral("Count")));
    table.rows = sheet.rows;
    return table;
}

bool isStem(const ReportSheet& sheet, const char* stem)
{
    return sheet.stem.compare(QLatin1String(stem), Qt::CaseInsensitive) == 0;
}

}  // namespace

SheetTable SheetTable::of(const ReportSheet& sheet)
{
    SheetTable table;
    if (isStem(sheet, "testdisp"))
        table = testTally(sheet);
    else if (isStem(sheet, "aryoiki"))
        table = overallTally(sheet);
    else if (isStem(sheet, "kojin"))
        table = pupilTally(sheet);
    else if (isStem(sheet, "Shuseki"))
        table = attendanceTally(sheet);
    else if (isStem(sheet, "Mente"))
        table = list(sheet);
    else if (isStem(sheet, "Hyotei"))
        table = overrulings(sheet);
    else {
        // A sheet whose layout names its fields in Japanese (the report cards'
        // class record): its first title field is the title, the others are pairs.
        for (qsizetype i = 1; i < sheet.titleFields.size(); ++i)
            appendPair(table.about, sheet.titleFields[i], sheet.titleValues.value(i));
        table.headings = sheet.dataFields;
        table.rows = sheet.rows;
    }
    QString title = sheet.fieldValue(QStringLiteral("Title")).value_or(QString());
    if (title.isEmpty() && !sheet.titleFields.contains(QStringLiteral("Title")))
        title = sheet.titleValues.value(0);
    table.about.prepend(title);
    table.sheetName = tallyName(title);
    if (table.sheetName.isEmpty())
        table.sheetName = sheet.stem;
    for (QStringList& row : table.rows)
        while (row.size() < table.headings.size())
            row << QString();
    return table;
}

bool SheetCells::isNumber(const QString& cell)
{
    static const QRegularExpression plain(QRegularExpression::anchoredPattern(QStringLiteral("-?([0-9]+(\\.[0-9]+)?|\\.[0-9]+)")));
    return plain.match(cell.trimmed()).hasMatch();
}

double SheetCells::number(const QString& cell)
{
    return cell.trimmed().toDouble();
}
