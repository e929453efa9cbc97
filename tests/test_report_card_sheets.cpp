// The report card on paper: the layout statements it added (note, merge, a table's
// height), the three shipped layouts with a full class of 45 pupils, nine subjects
// and the longest comment (one page a pupil, nothing outside its box), and the files
// kazane-export --report-card makes.

#include "DataFiles.h"
#include "ExportRun.h"
#include "FailingDisk.h"
#include "PdfText.h"
#include "ReportCardClass.h"
#include "TestEnv.h"
#include "model/AppSettings.h"
#include "model/ReportCardSettings.h"
#include "model/UnitSets.h"
#include "model/ViewpointNames.h"
#include "output/CsvWriter.h"
#include "output/FittedText.h"
#include "output/PdfWriter.h"
#include "output/ReportRenderer.h"
#include "tally/ReportCardSheet.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

namespace {

// A comment far over the usual limit of 200 全角: 400 characters.
QString longestComment()
{
    const QString sentence = QStringLiteral("学習に進んで取り組み、友達の考えをよく聞いて自分の考えを深めることができました。");
    QString text;
    while (text.size() < 400)
        text += sentence;
    return text.left(400);
}

// Every pupil of a full class with every subject's viewpoints of the older table
// (35 rows), grades in every cell and the longest comment.
QList<ReportCard::Card> fullClassCards(int term)
{
    const QStringList names = DataFiles::pupilNames(45, DataFiles::NameStyle::Full);
    const ViewpointNameTable& table = ViewpointNames::olderTable();
    QList<ReportCard::Card> cards;
    for (int p = 1; p <= 45; ++p) {
        ReportCard::Card card;
        card.pupil = p;
        card.name = names[p - 1];
        card.term = term;
        card.termName = ReportCard::termName(ClassData(), term);
        for (int s = 1; s <= Limits::Units; ++s) {
            ReportCard::Subject subject;
            subject.number = s;
            subject.name = Names::subjects()[size_t(s)];
            for (int v = 1; v <= Limits::Viewpoints; ++v)
                if (!table[size_t(s)][size_t(v)].isEmpty())
                    subject.viewpoints.append({v, table[size_t(s)][size_t(v)], QString(QChar(u'A' + (p + v + s) % 3)), false});
            subject.grade = QString::number(1 + (p + s) % 3);
            card.subjects.append(subject);
        }
        card.attendance = {72, 2, 70, 3, 67};
        card.comment = longestComment();
        cards.append(card);
    }
    return cards;
}

ReportCardSheet::Heading fullHeading(ReportCardSheet::Paper paper)
{
    ReportCardSheet::Heading heading;
    heading.texts = {QStringLiteral("かざね市立さくらが丘南小学校"), QStringLiteral("第６学年３組"), QStringLiteral("長谷川　ひかり"), false};
    heading.schoolYear = QStringLiteral("2026年度");
    heading.paper = paper;
    return heading;
}

std::shared_ptr<const ReportLayout> shippedLayout(const QString& stem)
{
    auto layout = std::make_shared<ReportLayout>();
    const Status read = ReportLayout::read(TestEnv::buildFolder() + QLatin1Char('/') + stem + QStringLiteral(".rpt"), *layout);
    if (!read.ok)
        qWarning() << read.message;
    return read.ok ? layout : nullptr;
}

// Dark pixels of an image inside a rectangle.
int inkIn(const QImage& image, const QRect& area)
{
    int dark = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) < 160)
                ++dark;
    return dark;
}

QString pdfPages(const QString& path)
{
    QProcess process;
    process.start(QStringLiteral("pdfinfo"), {path});
    process.waitForFinished(30000);
    const QString info = QString::fromUtf8(process.readAllStandardOutput());
    for (const QString& line : info.split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1String("Pages:")))
            return line.mid(6).trimmed();
    return {};
}

// A text without any blank (pdftotext writes the full-width blank as spaces).
QString solid(QString text)
{
    text.remove(QRegularExpression(QStringLiteral("[\\s\u3000]")));
    return text;
}

// Keeps a copy of a PDF for a person to look at when KAZANE_KEEP_SHEETS names a folder.
void keep(const QString& path)
{
    const QString folder = qEnvironmentVariable("KAZANE_KEEP_SHEETS");
    if (folder.isEmpty())
        return;
    QDir().mkpath(folder);
    const QString target = QDir(folder).filePath(QFileInfo(path).fileName());
    QFile::remove(target);
    QFile::copy(path, target);
}

}  // namespace

class TestReportCardSheets : public QObject {
    Q_OBJECT

private slots:
    void newStatementsAndTheirErrors_data();
    void newStatementsAndTheirErrors();
    void mergedCellsSpanTheirGroup();
    void noteWrapsShrinksAndStaysInItsBox();
    void shippedLayoutsPrintOnePagePerPupil_data();
    void shippedLayoutsPrintOnePagePerPupil();
    void exportMakesTheFilesOfTheWindow();
    void aDiskThatRefusesLeavesNoFile();
    void exportRefusesWrongUse_data();
    void exportRefusesWrongUse();
};

void TestReportCardSheets::newStatementsAndTheirErrors_data()
{
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QString>("error");  // empty: read
    QTest::newRow("note") << "note 0 0 100 30 9 mincho \"{Comment}\"" << "";
    QTest::newRow("note without height") << "note 0 0 100 9 \"{Comment}\"" << "1行目";
    QTest::newRow("note with a wrong word") << "note 0 0 100 30 9 italic \"x\"" << "「italic」は note に付けられません";
    QTest::newRow("note below the paper") << "note 0 250 100 30 9 \"x\"" << "文字の枠（note）が用紙";
    QTest::newRow("table with height") << "table 40 0 100\ncolumn A 20 left \"a\"" << "";
    QTest::newRow("table height zero") << "table 40 0 0\ncolumn A 20 left \"a\"" << "位置と高さ";
    QTest::newRow("merged column") << "table 40\ncolumn A 20 center merge \"a\"\ncolumn B 20 left" << "";
    QTest::newRow("merge after the heading") << "table 40\ncolumn A 20 center \"a\" merge" << "column 項目名";
    QTest::newRow("table too low for its height") << "table 40 0 3\nrow 5\ncolumn A 20 left \"a\"" << "一行も入りません";
}

void TestReportCardSheets::newStatementsAndTheirErrors()
{
    QFETCH(QString, layout);
    QFETCH(QString, error);
    ReportLayout read;
    const Status status = ReportLayout::parse(layout, QStringLiteral("card.rpt"), read);
    if (error.isEmpty()) {
        QVERIFY2(status.ok, qPrintable(status.message));
    } else {
        QVERIFY(!status.ok);
        QVERIFY2(status.message.contains(error), qPrintable(status.message));
    }
}

void TestReportCardSheets::mergedCellsSpanTheirGroup()
{
    // Two columns of 20 mm at 10 dots per mm, rows of 10 mm under a heading row: the
    // first group has three rows, the second one.
    ReportRenderer engine;
    QVERIFY(engine.parseLayout(QStringLiteral("paper A5\nmargins 0 0 0 0\ntable 0 0 60\nrow 10\n"
                                              "column Subject 20 center merge \"教科\"\ncolumn Viewpoint 20 left \"観点\"\n"),
                               QStringLiteral("merge.rpt")).ok);
    ReportSheet sheet;
    sheet.dataFields = {QStringLiteral("Subject"), QStringLiteral("Viewpoint")};
    sheet.rows = {{QStringLiteral("国語"), QStringLiteral("一")}, {QString(), QStringLiteral("二")},
                  {QString(), QStringLiteral("三")}, {QStringLiteral("算数"), QStringLiteral("四")}};
    engine.setSheet(sheet);
    QCOMPARE(engine.pageCount(), 1);
    QImage image(1480, 2100, QImage::Format_RGB32);
    image.setDotsPerMeterX(10000);
    image.setDotsPerMeterY(10000);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        engine.paintPage(painter, 1, 10.0);
    }
    // The line between rows 1 and 2 (y 200) crosses the viewpoint column only.
    QVERIFY(inkIn(image, QRect(220, 198, 160, 4)) > 100);
    QCOMPARE(inkIn(image, QRect(40, 198, 120, 4)), 0);
    QCOMPARE(inkIn(image, QRect(40, 298, 120, 4)), 0);
    // Under the group (y 400) the line crosses both.
    QVERIFY(inkIn(image, QRect(40, 398, 120, 4)) > 100);
    // 国語 stands in the middle of its three rows (y 100 to 400), not in the first.
    QCOMPARE(inkIn(image, QRect(30, 110, 140, 80)), 0);
    QVERIFY(inkIn(image, QRect(30, 210, 140, 80)) > 50);
}

void TestReportCardSheets::noteWrapsShrinksAndStaysInItsBox()
{
    const QFont font = [] {
        QFont f(ReportLayout::minchoFamily());
        f.setPointSizeF(9.5);
        return f;
    }();
    // The A4 card's comment box (176 x 30 mm) at 10 dots per mm.
    const QRectF box(100, 100, 1760, 300);
    QImage image(2000, 600, QImage::Format_RGB32);
    image.setDotsPerMeterX(10000);  // 10 dots per mm, as the box
    image.setDotsPerMeterY(10000);
    image.fill(Qt::white);
    bool fitted = false;
    {
        QPainter painter(&image);
        fitted = FittedText::drawWrapped(painter, box, Qt::AlignLeft, font, longestComment());
    }
    QVERIFY(fitted);
    QCOMPARE(inkIn(image, QRect(0, 0, 2000, 99)), 0);
    QCOMPARE(inkIn(image, QRect(0, 401, 2000, 199)), 0);
    QCOMPARE(inkIn(image, QRect(1861, 0, 139, 600)), 0);
    // The last line is near the bottom: the text took the box, several lines deep.
    QVERIFY(inkIn(image, QRect(100, 300, 1760, 100)) > 200);
    // A text ten times as long cannot fit even at half size: cut, and said so.
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        fitted = FittedText::drawWrapped(painter, box, Qt::AlignLeft, font, longestComment().repeated(10));
    }
    QVERIFY(!fitted);
    QCOMPARE(inkIn(image, QRect(0, 401, 2000, 199)), 0);
}

void TestReportCardSheets::shippedLayoutsPrintOnePagePerPupil_data()
{
    QTest::addColumn<int>("term");
    QTest::addColumn<int>("paper");
    QTest::addColumn<QString>("stem");
    QTest::addColumn<QString>("size");  // pdfinfo's page size in points
    QTest::newRow("A4") << 1 << int(ReportCardSheet::Paper::A4) << "tsuchihyo" << "595 x 842 pts (A4)";
    QTest::newRow("A3 folded") << 2 << int(ReportCardSheet::Paper::A3Folded) << "tsuchihyo_a3" << "1191 x 842 pts (A3)";
    QTest::newRow("指導要録") << int(ReportCard::Year) << int(ReportCardSheet::Paper::A4) << "yoroku" << "595 x 842 pts (A4)";
}

void TestReportCardSheets::shippedLayoutsPrintOnePagePerPupil()
{
    QFETCH(int, term);
    QFETCH(int, paper);
    QFETCH(QString, stem);
    QFETCH(QString, size);
    const auto heading = fullHeading(ReportCardSheet::Paper(paper));
    const QList<ReportSheet> sheets = ReportCardSheet::sheets(fullClassCards(term), heading);
    QCOMPARE(sheets.first().stem, stem);
    const auto layout = shippedLayout(stem);
    QVERIFY(layout);
    ReportRenderer engine;
    engine.setLayout(layout);
    engine.setSheets(sheets);
    QVERIFY2(engine.checkSheet().ok, qPrintable(engine.checkSheet().message));
    QCOMPARE(engine.pageCount(), 45);

    // The comment fits its box on every layout (drawn smaller, never cut).
    for (const ReportLayout::Text& note : layout->notes) {
        QImage scratch(10, 10, QImage::Format_RGB32);
        scratch.setDotsPerMeterX(10000);
        scratch.setDotsPerMeterY(10000);
        QPainter painter(&scratch);
        QFont font(note.family.isEmpty() ? layout->family : note.family);
        font.setPointSizeF(note.points);
        QVERIFY(FittedText::drawWrapped(painter, QRectF(0, 0, note.width * 10, note.height * 10), Qt::AlignLeft, font,
                                        longestComment()));
    }

    QTemporaryDir dir;
    const QString path = dir.filePath(stem + QStringLiteral("_45.pdf"));
    QByteArray pdf;
    QVERIFY(PdfWriter::render(sheets, layout, stem, pdf).ok);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(pdf);
    file.close();
    keep(path);
    QCOMPARE(pdfPages(path), QStringLiteral("45"));
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {path});
    info.waitForFinished(30000);
    const QString infoText = QString::fromUtf8(info.readAllStandardOutput());
    QVERIFY2(infoText.contains(size), qPrintable(infoText));
    // The last pupil's page holds the school's texts, the subjects, the figures and
    // the comment's start as real text.
    const QString last = solid(PdfText::pages(path).value(44));
    for (const QString& expected : {QStringLiteral("かざね市立さくらが丘南小学校"), QStringLiteral("第６学年３組"),
                                    QStringLiteral("長谷川　ひかり"), sheets.last().fieldValue(QStringLiteral("Name")).value(),
                                    QStringLiteral("体育"), QStringLiteral("鑑賞の能力"), QStringLiteral("出席しなければならない日数"),
                                    QStringLiteral("67"), QStringLiteral("学習に進んで取り組み")})
        QVERIFY2(last.contains(solid(expected)), qPrintable(expected + QStringLiteral(" missing in:\n") + last));
}

void TestReportCardSheets::exportMakesTheFilesOfTheWindow()
{
    TestEnv env;
    ReportCardClass::write(env);
    QVERIFY(AppSettings::save(env.data, *env.settings).ok);
    QVERIFY(AppSettings::saveCriteria(env.data, *env.settings).ok);
    ReportCardSettings chosen;
    chosen.school = QStringLiteral("さくら小学校");
    chosen.className = QStringLiteral("第４学年２組");
    chosen.teacher = QStringLiteral("山田　太郎");
    chosen.a3Folded = true;
    QVERIFY(chosen.write(*env.settings).ok);
    const QString out = env.dir.filePath(QStringLiteral("cards/1学期"));

    ExportRun run = runExport(env, {QStringLiteral("--report-card"), out, QStringLiteral("--term"), QStringLiteral("1")});
    QVERIFY2(run.code == 0, qPrintable(run.err));
    QCOMPARE(filesIn(out), (QStringList{QStringLiteral("通知表_１学期_01_青木　一郎.pdf"), QStringLiteral("通知表_１学期_02_石田　花子.pdf"),
                                        QStringLiteral("通知表_１学期_03_上野　蓮.pdf")}));
    const QString second = solid(PdfText::pages(out + QStringLiteral("/通知表_１学期_02_石田　花子.pdf")).value(0));
    for (const QString& expected : {QStringLiteral("さくら小学校"), QStringLiteral("山田　太郎"), QStringLiteral("石田　花子"),
                                    QStringLiteral("知識・技能"), QStringLiteral("家庭から")})
        QVERIFY2(second.contains(solid(expected)), qPrintable(expected + QStringLiteral(" missing in:\n") + second));
    QCOMPARE(pdfPages(out + QStringLiteral("/通知表_１学期_02_石田　花子.pdf")), QStringLiteral("1"));
    QVERIFY(run.err.contains(QStringLiteral("作成しました")));

    const QString oneFile = env.dir.filePath(QStringLiteral("one"));
    run = runExport(env, {QStringLiteral("--report-card"), oneFile, QStringLiteral("--term"), QStringLiteral("2"),
                          QStringLiteral("--one-file")});
    QVERIFY2(run.code == 0, qPrintable(run.err));
    QCOMPARE(filesIn(oneFile), QStringList{QStringLiteral("通知表_２学期.pdf")});
    QCOMPARE(pdfPages(oneFile + QStringLiteral("/通知表_２学期.pdf")), QStringLiteral("3"));

    // The year: a record per pupil and the class's table, the same as the window's.
    const QString year = env.dir.filePath(QStringLiteral("year"));
    run = runExport(env, {QStringLiteral("--report-card"), year, QStringLiteral("--term"), QStringLiteral("year")});
    QVERIFY2(run.code == 0, qPrintable(run.err));
    QCOMPARE(filesIn(year).size(), 4);
    QList<UnitSets::Unit> units;
    QVERIFY(UnitSets::load(env.data, units).ok);
    ReportCardSheet::Heading heading;
    heading.texts = {chosen.school, chosen.className, chosen.teacher, false};
    heading.schoolYear = ReportCardSheet::schoolYear(QDate::currentDate());
    const QByteArray csv = CsvWriter::build(
        ReportCardSheet::classRecord(ReportCard::compute(env.data, units, ReportCard::Year, heading.texts), heading));
    QCOMPARE(fileBytes(year + QStringLiteral("/指導要録.csv")), csv);
    QVERIFY(csv.contains("2,石田　花子,B,C,B,2,B,,,2,50,0,50,0,50,"));
    QVERIFY(PdfText::pages(year + QStringLiteral("/指導要録_03_上野　蓮.pdf")).value(0).contains(QStringLiteral("総合所見")));

    const ExportRun help = runExport(env, {QStringLiteral("--help")});
    QVERIFY(help.out.contains(QStringLiteral("--report-card フォルダ --term 1|2|3|year [--one-file]")));
}

void TestReportCardSheets::aDiskThatRefusesLeavesNoFile()
{
    TestEnv env;
    ReportCardClass::write(env);
    QVERIFY(AppSettings::save(env.data, *env.settings).ok);
    // The first file in the folder already: it is neither cut short nor lost.
    const QString out = env.dir.filePath(QStringLiteral("cards"));
    QVERIFY(QDir().mkpath(out));
    const QString first = out + QStringLiteral("/通知表_１学期_01_青木　一郎.pdf");
    {
        QFile file(first);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("an older card");
    }
    ExportRun run;
    {
        const FileSizeLimit limit(4096);  // far less than a card
        run = runExport(env, {QStringLiteral("--report-card"), out, QStringLiteral("--term"), QStringLiteral("1")});
    }
    QCOMPARE(run.code, 1);
    QVERIFY2(run.err.contains(QStringLiteral("ディスク")) || run.err.contains(QStringLiteral("大きすぎ")), qPrintable(run.err));
    QCOMPARE(filesIn(out), QStringList{QFileInfo(first).fileName()});
    QCOMPARE(fileBytes(first), QByteArray("an older card"));
    // A folder the run would have made is not left behind.
    const QString made = env.dir.filePath(QStringLiteral("new/cards"));
    {
        const FileSizeLimit limit(4096);
        run = runExport(env, {QStringLiteral("--report-card"), made, QStringLiteral("--term"), QStringLiteral("1")});
    }
    QCOMPARE(run.code, 1);
    QVERIFY(!QFileInfo::exists(env.dir.filePath(QStringLiteral("new"))));
}

void TestReportCardSheets::exportRefusesWrongUse_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    QTest::newRow("no term") << QStringList{"--report-card", "OUT"} << 2 << "--report-card には --term";
    QTest::newRow("bad term") << QStringList{"--report-card", "OUT", "--term", "4"} << 2 << "--term には 1、2、3、year";
    QTest::newRow("one file alone") << QStringList{"--one-file", "names", "--csv", "OUT/a.csv"} << 2 << "--one-file は --report-card と";
    QTest::newRow("with the pack") << QStringList{"--report-card", "OUT", "--term", "1", "--term-pack", "OUT2"} << 2
                                   << "同時に指定できません";
    QTest::newRow("specialist") << QStringList{"--report-card", "OUT", "--term", "1", "--mode", "specialist"} << 1
                                << "学級担任用";
}

void TestReportCardSheets::exportRefusesWrongUse()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, code);
    QFETCH(QString, message);
    TestEnv env;
    ReportCardClass::write(env);
    for (QString& argument : arguments)
        argument.replace(QStringLiteral("OUT"), env.dir.filePath(QStringLiteral("out")));
    const ExportRun run = runExport(env, arguments);
    QCOMPARE(run.code, code);
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    QVERIFY(!QFileInfo::exists(env.dir.filePath(QStringLiteral("out"))));
}

QTEST_MAIN(TestReportCardSheets)
#include "test_report_card_sheets.moc"
