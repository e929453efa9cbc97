// The parts of printing that need no print system: the stored choice of
// プリンタの設定, the printer a print goes to when the chosen one is gone, the
// papers a queue takes, the job's name, which sheets fit their paper turned, and
// a sheet drawn on another paper.

#include "PdfText.h"
#include "PrivateCups.h"
#include "TestEnv.h"
#include "output/PdfWriter.h"
#include "output/PrintChoice.h"
#include "output/PrintJobTitle.h"
#include "output/ReportRenderer.h"
#include "platform/PrintSystem.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {

ReportSheet sheetOf(const QString& stem, const QStringList& fields, const QStringList& values)
{
    ReportSheet sheet;
    sheet.stem = stem;
    sheet.titleFields = fields;
    sheet.titleValues = values;
    return sheet;
}

}  // namespace

class PrintChoiceTest : public QObject {
    Q_OBJECT

private slots:
    // Stored as text under "Printing", read back the same; what is not understood
    // (hand-edited, an older file) is the default, never a failure.
    void choiceIsStoredAndReadBack()
    {
        QTemporaryDir dir;
        QSettings store(dir.filePath(QStringLiteral("Kazane.ini")), QSettings::IniFormat);
        QCOMPARE(PrintChoice::load(store), PrintChoice());
        PrintChoice chosen{QStringLiteral("教室"), QStringLiteral("B5"), PrintChoice::Orientation::Landscape, 2};
        QVERIFY(chosen.store(store));
        QSettings again(dir.filePath(QStringLiteral("Kazane.ini")), QSettings::IniFormat);
        QCOMPARE(PrintChoice::load(again), chosen);
        QCOMPARE(again.value(QStringLiteral("Printing/Orientation")).toString(), QStringLiteral("landscape"));
        QCOMPARE(again.value(QStringLiteral("Printing/Copies")).toString(), QStringLiteral("2"));

        const auto withJunk = [&again](const char* key, const char* junk) {
            again.setValue(QLatin1String(key), QString::fromUtf8(junk));
            return PrintChoice::load(again);
        };
        QCOMPARE(withJunk("Printing/Paper", "B6").paper, QString());
        QCOMPARE(withJunk("Printing/Orientation", "斜め").orientation, PrintChoice::Orientation::Sheet);
        QCOMPARE(withJunk("Printing/Copies", "0").copies, 1);
        QCOMPARE(withJunk("Printing/Copies", "100").copies, 1);
        QCOMPARE(withJunk("Printing/Copies", "x").copies, 1);
        QCOMPARE(withJunk("Printing/Copies", "99").copies, 99);
        QCOMPARE(PrintChoice::load(again).printer, QStringLiteral("教室"));
    }

    void orientationOfASheet()
    {
        PrintChoice choice;
        QCOMPARE(choice.orientationFor(QPageLayout::Landscape), QPageLayout::Landscape);
        choice.orientation = PrintChoice::Orientation::Portrait;
        QCOMPARE(choice.orientationFor(QPageLayout::Landscape), QPageLayout::Portrait);
        choice.orientation = PrintChoice::Orientation::Landscape;
        QCOMPARE(choice.orientationFor(QPageLayout::Portrait), QPageLayout::Landscape);
    }

    void printTarget_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QList<PrintQueue>>("queues");
        QTest::addColumn<QString>("queue");
        QTest::addColumn<QString>("note");
        QTest::addColumn<QString>("problem");
        const PrintQueue a{QStringLiteral("A"), {}, true};
        const PrintQueue b{QStringLiteral("B"), {}, false};
        const PrintQueue c{QStringLiteral("C"), {}, false};
        QTest::newRow("stored exists") << "B" << QList<PrintQueue>{a, b} << "B" << "" << "";
        QTest::newRow("none stored: the default") << "" << QList<PrintQueue>{b, a} << "A" << "" << "";
        QTest::newRow("stored gone: the default, said")
            << "X" << QList<PrintQueue>{a, b} << "A" << "プリンタ「X」が見つからないため、既定のプリンタ「A」に送りました。" << "";
        QTest::newRow("no default: the only printer") << "" << QList<PrintQueue>{b} << "B" << "" << "";
        QTest::newRow("stored gone, no default: the only printer, said")
            << "X" << QList<PrintQueue>{b} << "B" << "プリンタ「X」が見つからないため、ただ一つのプリンタ「B」に送りました。" << "";
        QTest::newRow("no default among several") << "" << QList<PrintQueue>{b, c} << "" << "" << "既定のプリンタが決まっていません。";
        QTest::newRow("stored gone, no default among several")
            << "X" << QList<PrintQueue>{b, c} << "" << ""
            << "プリンタ「X」が見つかりません（削除されたか、名前が変わりました）。";
    }
    void printTarget()
    {
        QFETCH(QString, stored);
        QFETCH(QList<PrintQueue>, queues);
        const PrintTarget target = resolvePrintTarget(stored, queues);
        QTEST(target.queue, "queue");
        QTEST(target.note, "note");
        QTEST(target.problem, "problem");
    }

    // Papers are matched by size: printers' own tables round them ("custom_…").
    void papersOfAQueue()
    {
        QCOMPARE(PrintPapers::sizeOf(QStringLiteral("na_letter_8.5x11in")), QSizeF(215.9, 279.4));
        QCOMPARE(PrintPapers::sizeOf(QStringLiteral("custom_182.74x256.47mm_182.74x256.47mm")), QSizeF(182.74, 256.47));
        QCOMPARE(PrintPapers::sizeOf(QStringLiteral("custom_min_0.5x0.5in")), QSizeF(12.7, 12.7));
        QVERIFY(!PrintPapers::sizeOf(QStringLiteral("auto")));
        QVERIFY(!PrintPapers::sizeOf(QStringLiteral("iso_a4_210xmm")));
        const QStringList queue{QStringLiteral("iso_a4_210x297mm"), QStringLiteral("iso_b5_176x250mm"),
                                QStringLiteral("custom_182.74x256.47mm_182.74x256.47mm")};
        QCOMPARE(PrintPapers::queueNameOf(QPageSize::JisB5, queue), queue[2]);
        QCOMPARE(PrintPapers::queueNameOf(QPageSize::A3, queue), QString());
        QStringList taken;
        for (const PrintPapers::Paper& paper : PrintPapers::takenBy(queue))
            taken << paper.name;
        QCOMPARE(taken, (QStringList{QStringLiteral("A4"), QStringLiteral("B5")}));
    }

    void jobTitle_data()
    {
        QTest::addColumn<QList<ReportSheet>>("sheets");
        QTest::addColumn<int>("offered");
        QTest::addColumn<QString>("title");
        const QStringList testFields{QStringLiteral("Title"), QStringLiteral("SortWay"), QStringLiteral("TestTitle")};
        const ReportSheet test = sheetOf(QStringLiteral("testdisp"), testFields,
                                         {QStringLiteral("【テスト別成績集計-算数】"), QStringLiteral("番号順"),
                                          QStringLiteral("漢字テスト①")});
        const ReportSheet overall = sheetOf(QStringLiteral("aryoiki"), {QStringLiteral("Title"), QStringLiteral("SortWay")},
                                            {QStringLiteral("【総合集計一覧表-国語】教科内総合集計一覧表"),
                                             QStringLiteral("総合成績順")});
        const QStringList pupilFields{QStringLiteral("Title"), QStringLiteral("Name")};
        const ReportSheet first = sheetOf(QStringLiteral("kojin"), pupilFields,
                                          {QStringLiteral("【個人別成績集計-国語】"), QStringLiteral(" 1 青木")});
        const ReportSheet second = sheetOf(QStringLiteral("kojin"), pupilFields,
                                           {QStringLiteral("【個人別成績集計-国語】"), QStringLiteral(" 2 石田")});
        const ReportSheet names = sheetOf(QStringLiteral("Mente"), {QStringLiteral("Title"), QStringLiteral("ClassName")},
                                          {QStringLiteral("【児童氏名一覧表】"), QStringLiteral("４－１")});
        const ReportSheet bare = sheetOf(QStringLiteral("other"), {QStringLiteral("Title")}, {QStringLiteral("一覧")});
        QTest::newRow("test") << QList<ReportSheet>{test} << 1 << "テスト別成績集計-算数-漢字テスト①";
        QTest::newRow("overall") << QList<ReportSheet>{overall} << 1 << "総合集計一覧表-国語-総合成績順";
        QTest::newRow("one pupil") << QList<ReportSheet>{first} << 1 << "個人別成績集計-国語-1 青木";
        QTest::newRow("every pupil") << QList<ReportSheet>{first, second} << 2 << "個人別成績集計-国語-全員";
        QTest::newRow("some pupils") << QList<ReportSheet>{first, second} << 3 << "個人別成績集計-国語-2人";
        QTest::newRow("names") << QList<ReportSheet>{names} << 1 << "児童氏名一覧表-４－１";
        QTest::newRow("no brackets") << QList<ReportSheet>{bare} << 1 << "一覧";
        QTest::newRow("nothing") << QList<ReportSheet>{} << 0 << "代わり";
    }
    void jobTitle()
    {
        QFETCH(QList<ReportSheet>, sheets);
        QFETCH(int, offered);
        QTEST(PrintJobTitle::of(sheets, offered, QStringLiteral("代わり")), "title");
    }

    // The shipped layouts: every portrait sheet fits landscape paper, the overall
    // tally fits only its landscape page; a text low on the page keeps it upright.
    void sheetsTurned_data()
    {
        QTest::addColumn<QString>("stem");
        QTest::addColumn<bool>("turns");
        for (const char* stem : {"testdisp", "kojin", "Mente", "Shuseki"})
            QTest::newRow(stem) << QString::fromLatin1(stem) << true;
        QTest::newRow("aryoiki") << QStringLiteral("aryoiki") << false;
    }
    void sheetsTurned()
    {
        QFETCH(QString, stem);
        ReportLayout layout;
        QVERIFY(ReportLayout::read(TestEnv::buildFolder() + QLatin1Char('/') + stem + QStringLiteral(".rpt"), layout));
        QVERIFY(layout.fitsPaper());
        const auto other = layout.orientation == QPageLayout::Portrait ? QPageLayout::Landscape : QPageLayout::Portrait;
        const std::optional<ReportLayout> turned = layout.turnedTo(other);
        QTEST(turned.has_value(), "turns");
        if (turned) {
            QCOMPARE(turned->orientation, other);
            QVERIFY(turned->rowsPerPage() < layout.rowsPerPage());
        }
        QVERIFY(layout.turnedTo(layout.orientation).has_value());
    }
    void textLowOnThePageKeepsItUpright()
    {
        ReportLayout layout;
        QVERIFY(ReportLayout::parse(QStringLiteral("text 0 200 100 left 10 \"下の方\"\n"), QStringLiteral("t.rpt"), layout));
        QVERIFY(layout.fitsPaper());
        QVERIFY(!layout.turnedTo(QPageLayout::Landscape));
        // A line too wide for the portrait page fits it turned.
        QVERIFY(ReportLayout::parse(QStringLiteral("line 0 0 250 0\n"), QStringLiteral("t.rpt"), layout));
        QVERIFY(!layout.fitsPaper());
        QVERIFY(layout.turnedTo(QPageLayout::Landscape));
    }

    // Drawn on JIS B5, an A4 sheet is scaled down whole: the page is B5 and
    // every name is still in its text.
    void sheetOnAnotherPaper()
    {
        ReportRenderer renderer;
        QVERIFY(renderer.loadLayout(TestEnv::buildFolder() + QStringLiteral("/Mente.rpt")));
        ReportSheet sheet = sheetOf(QStringLiteral("Mente"), {QStringLiteral("Title"), QStringLiteral("ClassName"),
                                                             QStringLiteral("Number"), QStringLiteral("Names")},
                                    {QStringLiteral("【児童氏名一覧表】"), QStringLiteral("４－１"), QStringLiteral("番号"),
                                     QStringLiteral("氏名")});
        sheet.dataFields = {QStringLiteral("Number"), QStringLiteral("Name")};
        sheet.dataIndexName = QStringLiteral("Number");
        sheet.rows = {{QStringLiteral("1"), QStringLiteral("田中一人")}, {QStringLiteral("2"), QStringLiteral("大山力")}};
        renderer.setSheet(sheet);
        QVERIFY(renderer.checkSheet());
        QByteArray pdf;
        QVERIFY(PdfWriter::render(renderer, QPageSize(QPageSize::JisB5), QStringLiteral("氏名"), pdf));
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("b5.pdf"));
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(pdf) == pdf.size());
        out.close();
        const QString text = PdfText::pages(file).join(QString());
        QVERIFY2(text.contains(QStringLiteral("田中一人")) && text.contains(QStringLiteral("大山力")), qPrintable(text));
        const QSizeF page = PrivateCups::pageSize(file);
        QCOMPARE(qRound(page.width() * 25.4 / 72), 182);
        QCOMPARE(qRound(page.height() * 25.4 / 72), 257);
    }
};

QTEST_MAIN(PrintChoiceTest)
#include "test_print_choice.moc"
