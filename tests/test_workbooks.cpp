// Every sheet kind of the sample class saved by kazane-export as a CSV file and as a
// workbook: the workbook is read back by openpyxl (a reader of its own, not the
// writer) and compared cell by cell with the CSV; figures are numbers, marks and
// dashes text, the heading row bold and frozen, the sheet named after the tally.
// The term pack writes CSV files and workbooks beside (or instead of) its PDFs.
// The help's tables of CSV columns are read and matched against the CSV headings.

#include "ExportRun.h"
#include "TestEnv.h"
#include "output/CsvWriter.h"
#include "output/SheetTable.h"
#include "output/XlsxWriter.h"
#include "tally/OverrulingSheet.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

namespace {

// The workbook as openpyxl reads it: the sheet's title, the frozen cell, and each
// cell as [kind, value, bold] with kind "n" (number), "s" (text) or "" (empty).
QJsonObject readWorkbook(const QString& path)
{
    static const char* script =
        "import json, sys, openpyxl\n"
        "wb = openpyxl.load_workbook(sys.argv[1])\n"
        "ws = wb.active\n"
        "rows = []\n"
        "for row in ws.iter_rows():\n"
        "    cells = []\n"
        "    for c in row:\n"
        "        v = c.value\n"
        "        kind = '' if v is None else ('n' if isinstance(v, (int, float)) else 's')\n"
        "        cells.append([kind, '' if v is None else v, bool(c.font and c.font.b)])\n"
        "    rows.append(cells)\n"
        "print(json.dumps({'title': ws.title, 'freeze': ws.freeze_panes, 'count': len(wb.worksheets), 'rows': rows}))\n";
    QProcess python;
    // Debian's own Python, which python3-openpyxl serves.
    python.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QString::fromLatin1(script), path});
    if (!python.waitForFinished(60000) || python.exitCode() != 0)
        return {{QStringLiteral("error"), QString::fromUtf8(python.readAllStandardError())}};
    return QJsonDocument::fromJson(python.readAllStandardOutput()).object();
}

QList<QStringList> csvRows(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? CsvWriter::parse(file.readAll()) : QList<QStringList>{};
}

// The CSV's formula guard ("'=1+1") is no part of the cell.
QString unguarded(const QString& cell)
{
    return cell.startsWith(QLatin1Char('\'')) ? cell.mid(1) : cell;
}

// Compares every cell; a failure names the row and column.
QString differences(const QList<QStringList>& csv, const QJsonArray& book)
{
    if (csv.size() != book.size())
        return QStringLiteral("rows: CSV %1, workbook %2").arg(csv.size()).arg(book.size());
    for (int r = 0; r < csv.size(); ++r) {
        const QJsonArray cells = book[r].toArray();
        const int width = int(qMax<qsizetype>(csv[r].size(), cells.size()));
        for (int c = 0; c < width; ++c) {
            const QString text = unguarded(csv[r].value(c));
            const QJsonArray cell = cells.at(c).toArray();
            const QString kind = cell.at(0).toString();
            const QString where = QStringLiteral("row %1 column %2 (%3): ").arg(r + 1).arg(c + 1).arg(text);
            if (kind.isEmpty() && !text.isEmpty())
                return where + QStringLiteral("empty in the workbook");
            if (kind == QLatin1String("n")
                && (!SheetCells::isNumber(text) || cell.at(1).toDouble() != text.trimmed().toDouble()))
                return where + QStringLiteral("number %1 in the workbook").arg(cell.at(1).toDouble());
            if (kind == QLatin1String("s") && cell.at(1).toString() != text)
                return where + QStringLiteral("text %1 in the workbook").arg(cell.at(1).toString());
        }
    }
    return {};
}

// The headings the help's table `id` lists for a CSV, as patterns: "◯◯" stands for a
// viewpoint's name, "／" separates headings either of which may stand there, and
// the rows marked per-viewpoint repeat together once for each of the 4 viewpoints.
QList<QRegularExpression> helpHeadings(const QString& page, const QString& id)
{
    const qsizetype start = page.indexOf(QStringLiteral("id=\"%1\"").arg(id));
    const qsizetype end = page.indexOf(QStringLiteral("</table>"), start);
    if (start < 0 || end < 0)
        return {};
    static const QRegularExpression row(QStringLiteral("<tr( class=\"per-viewpoint\")?><td>([^<]*)</td>"));
    QList<QRegularExpression> patterns;
    QStringList group;
    const auto flush = [&] {
        for (int v = 0; v < 4; ++v)
            for (const QString& heading : group)
                patterns << QRegularExpression(heading);
        group.clear();
    };
    auto it = row.globalMatch(page.mid(start, end - start));
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        QStringList choices = match.captured(2).split(QStringLiteral("／"));
        for (QString& choice : choices) {
            QStringList parts = choice.split(QStringLiteral("◯◯"));
            for (QString& part : parts)
                part = QRegularExpression::escape(part);
            choice = parts.join(QStringLiteral(".+"));
        }
        const QString pattern = QRegularExpression::anchoredPattern(choices.join(QLatin1Char('|')));
        if (match.captured(1).isEmpty()) {
            flush();
            patterns << QRegularExpression(pattern);
        } else {
            group << pattern;
        }
    }
    flush();
    return patterns;
}

QString helpPage(const QString& name)
{
    QFile file(QStringLiteral(TESTS_SOURCE_DIR "/../resources/help/") + name);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

}  // namespace

class WorkbooksTest : public QObject {
    Q_OBJECT

private slots:
    void workbookHoldsTheCsvCells_data()
    {
        QTest::addColumn<QStringList>("sheet");
        QTest::addColumn<QString>("sheetName");
        QTest::addColumn<QString>("figureHeading");  // a column of figures, numbers in the workbook
        QTest::newRow("テスト別 by number") << QStringList{"testdisp", "--test", "1"} << "テスト別成績集計" << "合計";
        QTest::newRow("テスト別 by score") << QStringList{"--subject", "算数", "testdisp", "--test", "2", "--order", "score"}
                                         << "テスト別成績集計" << "順位";
        QTest::newRow("個人別") << QStringList{"kojin", "--pupil", "3"} << "個人別成績集計" << "合計";
        QTest::newRow("総合集計") << QStringList{"aryoiki", "--order", "overall"} << "総合集計一覧表" << "総平均";
        QTest::newRow("氏名一覧") << QStringList{"names"} << "児童氏名一覧表" << "番号";
        QTest::newRow("テスト一覧") << QStringList{"tests"} << "テスト一覧表" << "番号";
        QTest::newRow("出欠 詳細") << QStringList{"shuseki", "--term", "1"} << "出欠集計一覧表" << "病欠";
        QTest::newRow("出欠 指導要録") << QStringList{"shuseki", "--term", "year", "--view", "record"} << "出欠集計一覧表"
                                    << "欠席日数";
    }

    void workbookHoldsTheCsvCells()
    {
        QFETCH(QStringList, sheet);
        QFETCH(QString, sheetName);
        QFETCH(QString, figureHeading);
        TestEnv env;
        env.loadSample(QStringLiteral("homeroom"));
        const QString csv = env.dir.filePath(QStringLiteral("sheet.csv"));
        const QString xlsx = env.dir.filePath(QStringLiteral("sheet.xlsx"));
        const ExportRun run = runExport(env, sheet + QStringList{"--csv", csv, "--xlsx", xlsx});
        QVERIFY2(run.code == 0, qPrintable(run.err));
        const QList<QStringList> rows = csvRows(csv);
        const QJsonObject book = readWorkbook(xlsx);
        QVERIFY2(!book.contains(QStringLiteral("error")), qPrintable(book.value(QStringLiteral("error")).toString()));
        const QJsonArray cells = book.value(QStringLiteral("rows")).toArray();
        const QString problem = differences(rows, cells);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));

        QCOMPARE(book.value(QStringLiteral("title")).toString(), sheetName);
        QCOMPARE(book.value(QStringLiteral("count")).toInt(), 1);
        QCOMPARE(book.value(QStringLiteral("freeze")).toString(), QStringLiteral("A3"));
        for (int c = 0; c < rows[1].size(); ++c)
            QVERIFY(cells[1].toArray().at(c).toArray().at(2).toBool());
        QVERIFY(!cells[2].toArray().at(0).toArray().at(2).toBool());
        // The column of figures holds numbers wherever the CSV holds a figure.
        const int column = int(rows[1].indexOf(figureHeading));
        QVERIFY2(column >= 0, qPrintable(rows[1].join(QLatin1Char(','))));
        int numbers = 0;
        for (int r = 2; r < cells.size(); ++r) {
            const QJsonArray cell = cells[r].toArray().at(column).toArray();
            QCOMPARE(cell.at(0).toString() == QLatin1String("n"), SheetCells::isNumber(rows[r][column]));
            numbers += cell.at(0).toString() == QLatin1String("n") ? 1 : 0;
        }
        QVERIFY(numbers > 0);
        // The names stay text even where they read as numbers.
        const int names = int(rows[1].indexOf(QStringLiteral("氏名")));
        for (int r = 2; names >= 0 && r < cells.size(); ++r)
            QCOMPARE(cells[r].toArray().at(names).toArray().at(0).toString(), QStringLiteral("s"));
    }

    // Absences and marks not entered are text; a name that reads as a number or a
    // formula stays a name.
    void marksAndOddNamesStayText()
    {
        ReportSheet sheet;
        sheet.stem = QStringLiteral("Mente");
        sheet.titleFields = {QStringLiteral("Title"), QStringLiteral("ClassName"), QStringLiteral("Number"), QStringLiteral("Names")};
        sheet.titleValues = {QStringLiteral("【児童氏名一覧表】"), QStringLiteral("４の１"), QStringLiteral("番号"), QStringLiteral("氏　　名")};
        sheet.dataFields = {QStringLiteral("Number"), QStringLiteral("Name")};
        sheet.rows = {{QStringLiteral(" 1"), QStringLiteral("=1+1")}, {QStringLiteral(" 2"), QStringLiteral("123")},
                      {QStringLiteral(" 3"), QStringLiteral("欠")}, {QStringLiteral(" 4"), QStringLiteral("未入力")}};
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("names.xlsx"));
        QVERIFY(XlsxWriter::write(path, sheet).ok);
        const QJsonArray cells = readWorkbook(path).value(QStringLiteral("rows")).toArray();
        QCOMPARE(cells.size(), 6);
        const QStringList expected{"=1+1", "123", "欠", "未入力"};
        for (int i = 0; i < expected.size(); ++i) {
            const QJsonArray row = cells[i + 2].toArray();
            QCOMPARE(row.at(0).toArray().at(0).toString(), QStringLiteral("n"));
            QCOMPARE(row.at(0).toArray().at(1).toInt(), i + 1);
            QCOMPARE(row.at(1).toArray().at(0).toString(), QStringLiteral("s"));
            QCOMPARE(row.at(1).toArray().at(1).toString(), expected[i]);
        }
        QCOMPARE(cells[1].toArray().at(1).toArray().at(1).toString(), QStringLiteral("氏名"));
    }

    void termPackWritesTheChosenKinds()
    {
        TestEnv env;
        env.loadSample(QStringLiteral("homeroom"));
        env.settings->setValue(QStringLiteral("UseMode/UseKyoka"), QStringLiteral("100000000"));
        env.settings->sync();
        const QString pack = env.dir.filePath(QStringLiteral("学期末"));
        const ExportRun run =
            runExport(env, {"--term-pack", pack, "--term", "1", "--format", "csv,xlsx", "--one-file-per-subject"});
        QVERIFY2(run.code == 0, qPrintable(run.err));
        const QStringList files = QDir(pack).entryList(QDir::Files, QDir::Name);
        QVERIFY(files.contains(QStringLiteral("国語_総合集計.csv")));
        QVERIFY(files.contains(QStringLiteral("国語_総合集計.xlsx")));
        QVERIFY(files.contains(QStringLiteral("国語_個人_01.xlsx")));
        QVERIFY(files.contains(QStringLiteral("出欠_１学期集計_指導要録用.csv")));
        QVERIFY(files.filter(QStringLiteral(".pdf")).isEmpty());
        QCOMPARE(files.filter(QStringLiteral(".csv")).size(), files.filter(QStringLiteral(".xlsx")).size());
        QCOMPARE(run.err.count(QStringLiteral("作成しました: ")), files.size());
        // A pack's workbook holds what its CSV holds.
        const QString problem =
            differences(csvRows(QDir(pack).filePath(QStringLiteral("国語_個人_01.csv"))),
                        readWorkbook(QDir(pack).filePath(QStringLiteral("国語_個人_01.xlsx"))).value(QStringLiteral("rows")).toArray());
        QVERIFY2(problem.isEmpty(), qPrintable(problem));

        const ExportRun wrong = runExport(env, {"--term-pack", pack, "--term", "1", "--format", "pdf,ods"});
        QCOMPARE(wrong.code, 2);
        QVERIFY(wrong.err.contains(QStringLiteral("「ods」")));
        const ExportRun alone = runExport(env, {"names", "--csv", env.dir.filePath("a.csv"), "--format", "csv"});
        QCOMPARE(alone.code, 2);
    }
    // The help's table of each CSV's columns lists exactly the headings the CSV
    // files have, in their order (the golden files of every sheet kind, and the
    // list of overruled grades, which only the windows save).
    void helpDescribesEveryCsvColumn_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("golden");
        const QList<QPair<const char*, const char*>> cases = {
            {"csv-testdisp", "c41_testdisp_t1_number.csv"},  {"csv-testdisp", "kokugo_testdisp_t3_score.csv"},
            {"csv-kojin", "kokugo_kojin_p01.csv"},           {"csv-kojin", "c52_kojin_p09.csv"},
            {"csv-aryoiki", "kokugo_aryoiki_all.csv"},       {"csv-aryoiki", "c52_aryoiki_v2_show.csv"},
            {"csv-shuseki-detail", "shuseki_term1_detail.csv"}, {"csv-shuseki-record", "shuseki_year_record.csv"},
            {"csv-names", "c41_names.csv"},                  {"csv-tests", "c41_tests.csv"}};
        for (const auto& [table, golden] : cases)
            QTest::newRow(golden) << table << QStringLiteral(TESTS_SOURCE_DIR "/golden/csv/") + QLatin1String(golden);
        QTest::newRow("評定の変更一覧") << "csv-overrulings" << QString();
    }

    void helpDescribesEveryCsvColumn()
    {
        QFETCH(QString, table);
        QFETCH(QString, golden);
        QStringList headings;
        if (golden.isEmpty())
            headings = CsvWriter::parse(CsvWriter::build(OverrulingSheet::sheet({}, QStringLiteral("全教科")))).value(1);
        else
            headings = csvRows(golden).value(1);
        const QList<QRegularExpression> patterns = helpHeadings(helpPage(QStringLiteral("term-end.html")), table);
        QVERIFY2(patterns.size() == headings.size(),
                 qPrintable(QStringLiteral("help %1, CSV %2: %3").arg(patterns.size()).arg(headings.size()).arg(headings.join(QLatin1Char(',')))));
        for (int c = 0; c < headings.size(); ++c)
            QVERIFY2(patterns[c].match(headings[c]).hasMatch(), qPrintable(headings[c] + QStringLiteral(" / ") + patterns[c].pattern()));
    }

    // The pages that speak of the CSV files and workbooks tell the new form.
    void helpTellsTheFirstLines()
    {
        const QString termEnd = helpPage(QStringLiteral("term-end.html"));
        QVERIFY(termEnd.contains(QStringLiteral("2行目：列の見出し")));
        QVERIFY(!termEnd.contains(QStringLiteral("4行目")));
        const QString printing = helpPage(QStringLiteral("printing.html"));
        QVERIFY(printing.contains(QStringLiteral("id=\"xlsx\"")));
        QVERIFY(!printing.contains(QStringLiteral("1行あけて")));
    }
};

QTEST_MAIN(WorkbooksTest)
#include "test_workbooks.moc"
