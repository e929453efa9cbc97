// The report renderer: layout statements and their errors, pages and page breaks,
// headings repeated, cells that never spill into their neighbours, real text in PDF.

#include "TestEnv.h"
#include "DataFiles.h"
#include "PdfText.h"
#include "output/PdfTextRepair.h"
#include "output/PdfWriter.h"
#include "output/ReportRenderer.h"
#include "output/ScoreChart.h"

#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace DataFiles;

namespace {

ReportSheet listSheet(int rows)
{
    ReportSheet sheet;
    sheet.stem = QStringLiteral("sample");
    sheet.titleFields = {QStringLiteral("Title"), QStringLiteral("Mode")};
    sheet.titleValues = {QStringLiteral("【児童氏名一覧表】"), QStringLiteral("２学期集計")};
    sheet.dataFields = {QStringLiteral("Number"), QStringLiteral("Name"), QStringLiteral("datas1")};
    sheet.dataIndexName = QStringLiteral("Number");
    const QStringList names = pupilNames(45, NameStyle::Full);
    for (int r = 1; r <= rows; ++r)
        sheet.rows.append({QString::number(r), names[(r - 1) % 45], QString::number(r * 3)});
    return sheet;
}

// A4 portrait, 10 mm margins: 190 x 277 mm inside; rows of 10 mm from the top.
const QString ListLayout = QStringLiteral(
    "# a plain list\n"
    "paper A4\n"
    "margins 10 10 10 10\n"
    "font \"IPAexGothic\" 10\n"
    "text 0 0 190 center 14 bold mincho \"{Title}\"\n"
    "table 20\n"
    "row 10\n"
    "column Number 20 right \"番号\"\n"
    "column Name 60 left \"氏名\"\n"
    "column Datas1 30 right \"{Mode}\"\n"
    "footer right \"{page}/{pages}\"\n");

Status parse(const QString& text)
{
    ReportRenderer engine;
    return engine.parseLayout(text, QStringLiteral("sample.rpt"));
}

// The pages as the program writes them into a PDF file.
QString pdfOf(const ReportRenderer& engine, const QString& folder, const QString& name)
{
    const QString path = folder + QLatin1Char('/') + name;
    return PdfWriter::write(engine, path, name).ok ? path : QString();
}

QString pdfInfo(const QString& path)
{
    QProcess process;
    process.start(QStringLiteral("pdfinfo"), {path});
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

}  // namespace

class ReportRendererTest : public QObject {
    Q_OBJECT
private slots:
    void layoutErrorsNameTheFileAndTheLine_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<int>("line");
        QTest::newRow("unknown statement") << QStringLiteral("paper A4\n\nfooter center \"x\"\npicture 1 2\n") << 4;
        QTest::newRow("unknown paper") << QStringLiteral("paper A7\n") << 1;
        QTest::newRow("orientation") << QStringLiteral("# c\norientation sideways\n") << 2;
        QTest::newRow("margins missing") << QStringLiteral("margins 10 10 10\n") << 1;
        QTest::newRow("negative length") << QStringLiteral("box 0 0 -5 5\n") << 1;
        QTest::newRow("not a number") << QStringLiteral("text 0 abc 100 left 10 \"x\"\n") << 1;
        QTest::newRow("unclosed quote") << QStringLiteral("text 0 0 100 left 10 \"x\n") << 1;
        QTest::newRow("bad alignment") << QStringLiteral("table 0\ncolumn Name 20 middle \"x\"\n") << 2;
        QTest::newRow("bad text flag") << QStringLiteral("text 0 0 100 left 10 italic \"x\"\n") << 1;
        QTest::newRow("headings") << QStringLiteral("headings sometimes\n") << 1;
        QTest::newRow("column without table") << QStringLiteral("row 5\ncolumn Name 20 left \"x\"\n") << 2;
        QTest::newRow("table without columns") << QStringLiteral("table 10\n") << 1;
        QTest::newRow("columns too wide") << QStringLiteral("table 0\ncolumn A 100 left\ncolumn B 100 left\n") << 3;
        QTest::newRow("table too low") << QStringLiteral("row 10\ntable 265\ncolumn A 10 left\n") << 2;
        // Lengths that would overflow the page arithmetic, and type sizes beyond use.
        QTest::newRow("row of 1e-30 mm") << QStringLiteral("paper A4\ntable 10\nrow 1e-30\ncolumn A 10 left\n") << 3;
        QTest::newRow("row below 1 mm") << QStringLiteral("row 0.5\n") << 1;
        QTest::newRow("length of 5 m") << QStringLiteral("box 0 0 5000 10\n") << 1;
        QTest::newRow("font of 1e-30 points") << QStringLiteral("font \"IPAexGothic\" 1e-30\n") << 1;
        QTest::newRow("chart without height") << QStringLiteral("paper A4\nchart 0 0 50\n") << 2;
        QTest::newRow("chart off the paper") << QStringLiteral("margins 10 10 10 10\n\nchart 150 0 50 40\n") << 3;
        QTest::newRow("text of 5000 points") << QStringLiteral("\ntext 0 0 100 left 5000 \"x\"\n") << 2;
    }

    void layoutErrorsNameTheFileAndTheLine()
    {
        QFETCH(QString, layout);
        QFETCH(int, line);
        const Status status = parse(layout);
        QVERIFY(!status.ok);
        QVERIFY2(status.message.startsWith(QStringLiteral("印刷のレイアウトファイル「sample.rpt」の%1行目").arg(line)),
                 qPrintable(status.message));
    }

    void aGoodLayoutAndItsFieldsAgainstTheSheet()
    {
        ReportRenderer engine;
        QVERIFY(engine.parseLayout(ListLayout, QStringLiteral("sample.rpt")).ok);
        engine.setSheet(listSheet(3));
        QVERIFY(engine.checkSheet().ok);  // "Datas1" finds "datas1"

        QVERIFY(engine.parseLayout(ListLayout + QStringLiteral("text 0 270 50 left 9 \"{Missing}\"\n"), QStringLiteral("sample.rpt")).ok);
        Status status = engine.checkSheet();
        QVERIFY(!status.ok);
        QVERIFY(status.message.contains(QStringLiteral("12行目")));
        QVERIFY(status.message.contains(QStringLiteral("Missing")));

        QVERIFY(engine.parseLayout(QStringLiteral("table 0\ncolumn Score 20 left \"点\"\n"), QStringLiteral("sample.rpt")).ok);
        status = engine.checkSheet();
        QVERIFY(!status.ok);
        QVERIFY(status.message.contains(QStringLiteral("2行目")));
        QVERIFY(status.message.contains(QStringLiteral("Score")));

        // The smallest row and the largest type still do.
        QVERIFY(engine.parseLayout(QStringLiteral("row 1\nfont IPAexGothic 200\ntable 0\ncolumn Name 20 left\n"),
                                   QStringLiteral("sample.rpt")).ok);

        // Words are read without regard to case.
        QVERIFY(engine.parseLayout(QStringLiteral("Paper b5\nORIENTATION Landscape\nfont IPAexMincho 9\ntable 0\nColumn Name 20 Right\n"),
                                   QStringLiteral("sample.rpt")).ok);

        // A missing layout file names the file.
        status = engine.loadLayout(QDir::temp().filePath(QStringLiteral("no-such-layout.rpt")));
        QVERIFY(!status.ok);
        QVERIFY(status.message.contains(QStringLiteral("「no-such-layout.rpt」が見つかりません")));
    }

    void rowsBreakIntoPages()
    {
        ReportRenderer engine;
        QVERIFY(engine.parseLayout(ListLayout, QStringLiteral("sample.rpt")).ok);
        // 277 mm - footer (10 pt line + 1 mm) - table top 20 - heading row 10: 24 rows of 10 mm.
        engine.setSheet(listSheet(24));
        QCOMPARE(engine.pageCount(), 1);
        engine.setSheet(listSheet(25));
        QCOMPARE(engine.pageCount(), 2);
        engine.setSheet(listSheet(0));
        QCOMPARE(engine.pageCount(), 1);
        // Without a heading row one more row fits; with the first row as headings
        // that row is not counted as data.
        QVERIFY(engine.parseLayout(ListLayout + QStringLiteral("headings off\n"), QStringLiteral("sample.rpt")).ok);
        engine.setSheet(listSheet(25));
        QCOMPARE(engine.pageCount(), 1);
        QVERIFY(engine.parseLayout(ListLayout + QStringLiteral("headings first-row\n"), QStringLiteral("sample.rpt")).ok);
        engine.setSheet(listSheet(25));
        QCOMPARE(engine.pageCount(), 1);
        // Landscape: 190 mm high inside, 15 rows after the heading.
        QVERIFY(engine.parseLayout(ListLayout + QStringLiteral("orientation landscape\n"), QStringLiteral("sample.rpt")).ok);
        engine.setSheet(listSheet(45));
        QCOMPARE(engine.pageCount(), 3);
    }

    void pdfHoldsRealTextAndRepeatsHeadings()
    {
        QTemporaryDir dir;
        ReportRenderer engine;
        QVERIFY(engine.parseLayout(ListLayout + QStringLiteral("headings first-row\n"), QStringLiteral("sample.rpt")).ok);
        ReportSheet sheet = listSheet(45);
        sheet.rows.prepend({QStringLiteral("番号"), QStringLiteral("氏名"), QStringLiteral("出席日数")});
        engine.setSheet(sheet);
        QCOMPARE(engine.pageCount(), 2);
        const QString pdf = pdfOf(engine, dir.path(), QStringLiteral("list.pdf"));
        QVERIFY(!pdf.isEmpty());
        const QStringList pages = PdfText::pages(pdf);
        QCOMPARE(pages.size(), 2);
        for (int i = 0; i < 2; ++i) {
            QVERIFY(pages[i].contains(QStringLiteral("【児童氏名一覧表】")));
            QVERIFY(pages[i].contains(QRegularExpression(QStringLiteral("番号\\s+氏名\\s+出席日数"))));
            QVERIFY(pages[i].contains(QStringLiteral("%1/2").arg(i + 1)));
        }
        const QStringList names = pupilNames(45, NameStyle::Full);
        for (int r = 1; r <= 45; ++r) {
            const int page = r <= 24 ? 0 : 1;
            QVERIFY2(pages[page].contains(QRegularExpression(QStringLiteral("\\b%1\\s+%2\\s+%3\\b").arg(r).arg(names[r - 1]).arg(r * 3))),
                     qPrintable(names[r - 1]));
        }
        // Kanji that share their glyph with a radical read back as kanji.
        QVERIFY(pages[0].contains(QStringLiteral("青木一郎")));
        QVERIFY(pages[0].contains(QStringLiteral("土屋陽菜")));
        QVERIFY(!pages.join(QString()).contains(QChar(0x2F00)));  // ⼀
        QVERIFY(pdfInfo(pdf).contains(QStringLiteral("595 x 842 pts (A4)")));
    }

    void paperAndOrientationComeFromTheLayout()
    {
        QTemporaryDir dir;
        ReportRenderer engine;
        QVERIFY(engine.parseLayout(QStringLiteral("paper B5\norientation landscape\ntext 0 0 100 left 12 \"横向き\"\n"),
                                   QStringLiteral("b5.rpt")).ok);
        engine.setSheet(listSheet(0));
        const QString pdf = pdfOf(engine, dir.path(), QStringLiteral("b5.pdf"));
        // JIS B5 is 182 x 257 mm: 516 x 729 points, turned.
        QVERIFY2(pdfInfo(pdf).contains(QRegularExpression(QStringLiteral("Page size:\\s+729 x 516 pts"))), qPrintable(pdfInfo(pdf)));
        QVERIFY(PdfText::pages(pdf).value(0).contains(QStringLiteral("横向き")));
    }

    void cellTextsStayInsideTheirCells()
    {
        // Two columns at 10 dots per mm, no grid lines: whatever is drawn for the
        // first cell must stay left of the second.
        ReportRenderer engine;
        QVERIFY(engine.parseLayout(QStringLiteral("paper A5\nmargins 0 0 0 0\ngrid off\nheadings off\ntable 0\nrow 8\n"
                                                  "column Name 20 left\ncolumn Number 30 left\n"),
                                   QStringLiteral("clip.rpt")).ok);
        ReportSheet sheet = listSheet(0);
        sheet.rows.append({QString(), QStringLiteral("とても長い名前のテストが二十文字以上もあるとき"), QString()});
        engine.setSheet(sheet);
        QImage image(1480, 2100, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            engine.paintPage(painter, 1, 10.0);
        }
        auto inkIn = [&](int x0, int x1) {
            int dark = 0;
            for (int y = 0; y < 80; ++y)
                for (int x = x0; x < x1; ++x)
                    if (qGray(image.pixel(x, y)) < 128)
                        ++dark;
            return dark;
        };
        QVERIFY(inkIn(0, 200) > 100);  // the name is drawn ...
        QCOMPARE(inkIn(200, 500), 0);  // ... and cut at its cell's edge

        // A text a little too wide is drawn smaller instead of cut: all of it shows.
        QTemporaryDir dir;
        QVERIFY(engine.parseLayout(QStringLiteral("headings off\ntable 0\nrow 8\ncolumn Name 22 left\ncolumn Number 20 left\n"),
                                   QStringLiteral("fit.rpt")).ok);
        sheet.rows = {{QStringLiteral("1"), QStringLiteral("長谷川ひかり"), QString()}};
        engine.setSheet(sheet);
        const QString pdf = pdfOf(engine, dir.path(), QStringLiteral("fit.pdf"));
        QVERIFY(PdfText::pages(pdf).value(0).contains(QStringLiteral("長谷川ひかり")));
    }

    void templatesTakeTitleFieldsAndQuotes()
    {
        QTemporaryDir dir;
        ReportRenderer engine;
        QVERIFY(engine.parseLayout(QStringLiteral("text 0 0 180 left 10 \"{TITLE}は\"\"{mode}\"\"です {page}/{pages} {nofield\"\n"),
                                   QStringLiteral("t.rpt")).ok);
        engine.setSheet(listSheet(0));
        QVERIFY(engine.checkSheet().ok);
        const QString text = PdfText::pages(pdfOf(engine, dir.path(), QStringLiteral("t.pdf"))).value(0);
        QVERIFY2(text.contains(QStringLiteral("【児童氏名一覧表】は\"２学期集計\"です 1/1 {nofield")), qPrintable(text));
    }

    void repairLeavesOtherTablesAlone()
    {
        QByteArray pdf("1 0 obj\n<< /Type /Font /BaseFont /NoSuchFontAtAll /ToUnicode 2 0 R>>\nendobj\n"
                       "2 0 obj\n<< /Length 60 >>\nstream\nbegincmap\n1 beginbfchar\n<0001> <2F00>\nendbfchar\nendstream\nendobj\n");
        const QByteArray before = pdf;
        QCOMPARE(PdfTextRepair::repair(pdf), 0);
        QCOMPARE(pdf, before);
        pdf.replace("NoSuchFontAtAll", "IPAexMincho");
        QCOMPARE(PdfTextRepair::repair(pdf), 1);
        QVERIFY(pdf.contains("<0001> <4E00>"));
        QCOMPARE(pdf.size(), before.size() - QByteArray("NoSuchFontAtAll").size() + QByteArray("IPAexMincho").size());
    }

    // The chart goes where the layout places it, on the first page of each sheet
    // only: painted with and without the distribution, the pages differ inside the
    // chart's rectangle and nowhere else; the second page is the same either way.
    void chartIsPaintedInItsPlaceOnTheFirstPageOnly()
    {
        ReportRenderer engine;
        // Chart at 120..180 x 20..60 mm inside margins of 10 mm; 26 rows of 10 mm from 20 mm break after 25.
        QVERIFY(engine.parseLayout(ListLayout + QStringLiteral("chart 120 20 60 40 8\n"), QStringLiteral("chart.rpt")).ok);
        ReportSheet sheet = listSheet(30);
        ScoreDistribution d;
        d.counts = {0, 1, 0, 2, 0, 5, 0, 0, 3, 1};
        d.counted = 12;
        d.absent = 2;
        d.average = TallyNumber::of(58.3);
        auto render = [&](bool withChart, int page) {
            ReportSheet shown = sheet;
            if (withChart)
                shown.scoreChart = d;
            engine.setSheet(shown);
            QImage image(840, 1188, QImage::Format_RGB32);  // A4 at 4 dots per mm
            image.fill(Qt::white);
            QPainter painter(&image);
            engine.paintPage(painter, page, 4.0);
            return image;
        };
        engine.setSheet(sheet);
        QCOMPARE(engine.pageCount(), 2);
        const QImage with = render(true, 1), without = render(false, 1);
        const QRect chart(4 * 130, 4 * 30, 4 * 60, 4 * 40);
        int inside = 0, outside = 0, bar = 0;
        for (int y = 0; y < with.height(); ++y)
            for (int x = 0; x < with.width(); ++x) {
                if (with.pixel(x, y) == without.pixel(x, y))
                    continue;
                ++(chart.contains(x, y) ? inside : outside);
                if ((with.pixel(x, y) & 0xffffff) == (ScoreChart::barColor().rgb() & 0xffffff))
                    ++bar;
            }
        QVERIFY(inside > 1000);
        QCOMPARE(outside, 0);
        QVERIFY(bar > 200);
        QCOMPARE(render(true, 2), render(false, 2));

        // Its texts are real text in the PDF, on page 1.
        QTemporaryDir dir;
        sheet.scoreChart = d;
        engine.setSheet(sheet);
        const QStringList pages = PdfText::pages(pdfOf(engine, dir.path(), QStringLiteral("chart.pdf")));
        QCOMPARE(pages.size(), 2);
        QVERIFY2(pages[0].contains(QRegularExpression(QStringLiteral("平均\\s*58\\.3"))), qPrintable(pages[0]));
        QVERIFY(pages[0].contains(QRegularExpression(QStringLiteral("人数\\s*12人\\s*欠席\\s*2人"))));
        QVERIFY(!pages[1].contains(QStringLiteral("欠席")));
    }

    // A page field fills a template like a "Titles" field, and counts as known.
    void pageFieldsFillTemplates()
    {
        ReportRenderer engine;
        QVERIFY(engine.parseLayout(ListLayout + QStringLiteral("text 0 270 190 left 8 \"{Counted}\"\n"),
                                   QStringLiteral("page.rpt")).ok);
        ReportSheet sheet = listSheet(3);
        engine.setSheet(sheet);
        QVERIFY(!engine.checkSheet().ok);
        sheet.pageFields = {QStringLiteral("Counted")};
        sheet.pageValues = {QStringLiteral("集計したテスト（2）：漢字、計算")};
        engine.setSheet(sheet);
        QVERIFY(engine.checkSheet().ok);
        QTemporaryDir dir;
        const QStringList pages = PdfText::pages(pdfOf(engine, dir.path(), QStringLiteral("page.pdf")));
        QVERIFY(pages.value(0).contains(QStringLiteral("集計したテスト（2）：漢字、計算")));
    }
};

QTEST_MAIN(ReportRendererTest)
#include "test_report_renderer.moc"
