// The report path shared by every sheet: the store in the program's folder, read
// back with SQL; a leftover store replaced; the store gone afterwards; the layout's
// faults reported; the pages painted from the sheet in memory; printing without a
// printer offering a PDF file; a PDF printed from the preview written whole.

#include "FailingDisk.h"
#include "TestEnv.h"
#include "DataFiles.h"
#include "PdfText.h"
#include "output/ReportStore.h"
#include "output/ReportOutput.h"

#include <QFile>
#include <QPrinter>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

using namespace DataFiles;

namespace {

const QString Layout = QStringLiteral(
    "paper A4\n"
    "text 0 0 180 center 14 \"{Title}\"\n"
    "table 12\n"
    "headings first-row\n"
    "column data01 15 right\n"
    "column data02 50 left\n"
    "column data03 20 right\n"
    "footer center \"{page} / {pages}\"\n");

// A sheet in the manner of the overall tally: "data01".. fields, index "Data01",
// the heading row as the first data row.
ReportSheet aryoikiLike(int pupils)
{
    ReportSheet sheet;
    sheet.stem = QStringLiteral("aryoiki");
    sheet.titleFields = {QStringLiteral("Title"), QStringLiteral("SortWay")};
    sheet.titleValues = {QStringLiteral("【教科内総合集計一覧表】"), QStringLiteral("番号順")};
    sheet.dataFields = {QStringLiteral("data01"), QStringLiteral("data02"), QStringLiteral("data03")};
    sheet.dataIndexName = QStringLiteral("Data01");
    sheet.rows.append({QStringLiteral("番号"), QStringLiteral("氏名"), QStringLiteral("総平均")});
    const QStringList names = pupilNames(pupils, NameStyle::Full);
    for (int p = 1; p <= pupils; ++p)
        sheet.rows.append({QString::number(p), names[p - 1], QStringLiteral("%1.5").arg(50 + p)});
    return sheet;
}

struct Setup {
    TestEnv env;
    QTemporaryDir layouts;
    std::unique_ptr<ReportOutput> output;
    QStringList copies;

    explicit Setup(const QString& layout = Layout)
    {
        QFile file(layouts.filePath(QStringLiteral("aryoiki.rpt")));
        file.open(QIODevice::WriteOnly);
        file.write(layout.toUtf8());
        file.close();
        output = std::make_unique<ReportOutput>(env.ui, env.programFolder(), layouts.path());
        output->setStoreObserver([this](const QString& store) {
            const QString copy = env.dir.filePath(QStringLiteral("store%1.mdb").arg(copies.size() + 1));
            QFile::copy(store, copy);
            copies.append(copy);
        });
        output->setPrinterCheck([] { return false; });
    }
};

}  // namespace

class ReportOutputTest : public QObject {
    Q_OBJECT
private slots:
    void theStoreHoldsTheSheetAsText()
    {
        Setup setup;
        // A leftover store of an interrupted run (not even a database) is replaced.
        const QString store = setup.output->storePath(QStringLiteral("aryoiki"));
        QCOMPARE(store, setup.env.programFolder() + QStringLiteral("/aryoiki.mdb"));
        QFile leftover(store);
        QVERIFY(leftover.open(QIODevice::WriteOnly));
        leftover.write("left over from yesterday");
        leftover.close();

        QVERIFY(setup.output->run(nullptr, aryoikiLike(3), ReportDestination::Preview, QStringLiteral("総合集計一覧表-国語")).ok);
        QCOMPARE(setup.env.ui.previews.size(), 1);
        QCOMPARE(setup.env.ui.previews[0].title, QStringLiteral("総合集計一覧表-国語"));
        QVERIFY(!QFile::exists(store));
        QCOMPARE(setup.env.ui.busyDepth, 0);
        QCOMPARE(setup.copies.size(), 1);

        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("read"));
            db.setDatabaseName(setup.copies[0]);
            QVERIFY(db.open());
            QSqlQuery query(db);
            QVERIFY(query.exec(QStringLiteral("SELECT name, tbl_name, sql FROM sqlite_master ORDER BY name")));
            QStringList schema;
            while (query.next())
                schema.append(query.value(0).toString() + QLatin1Char('|') + query.value(1).toString() + QLatin1Char('|')
                              + query.value(2).toString());
            QCOMPARE(schema, (QStringList{
                QStringLiteral("Data01|Datas|CREATE INDEX \"Data01\" ON \"Datas\" (\"data01\")"),
                QStringLiteral("Datas|Datas|CREATE TABLE \"Datas\" (\"data01\" TEXT, \"data02\" TEXT, \"data03\" TEXT)"),
                QStringLiteral("Title|Titles|CREATE INDEX \"Title\" ON \"Titles\" (\"Title\")"),
                QStringLiteral("Titles|Titles|CREATE TABLE \"Titles\" (\"Title\" TEXT, \"SortWay\" TEXT)")}));
            QVERIFY(query.exec(QStringLiteral("SELECT data01, data02, data03, typeof(data01), typeof(data03) FROM Datas ORDER BY rowid")));
            QStringList rows;
            while (query.next())
                rows.append(QStringList{query.value(0).toString(), query.value(1).toString(), query.value(2).toString(),
                                        query.value(3).toString(), query.value(4).toString()}
                                .join(QLatin1Char(',')));
            const QStringList names = pupilNames(3, NameStyle::Full);
            QCOMPARE(rows, (QStringList{QStringLiteral("番号,氏名,総平均,text,text"), QStringLiteral("1,") + names[0] + QStringLiteral(",51.5,text,text"),
                                        QStringLiteral("2,") + names[1] + QStringLiteral(",52.5,text,text"),
                                        QStringLiteral("3,") + names[2] + QStringLiteral(",53.5,text,text")}));
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("read"));

        // Read back through the store's own reader.
        ReportSheet back;
        QVERIFY(ReportStore::read(setup.copies[0], back).ok);
        QCOMPARE(back.titleValues, aryoikiLike(3).titleValues);
        QCOMPARE(back.rows, aryoikiLike(3).rows);
        QCOMPARE(back.dataIndexName, QStringLiteral("Data01"));
    }

    void onlyTheKnownStoresAreRemoved()
    {
        Setup setup;
        const QString folder = setup.env.programFolder() + QLatin1Char('/');
        for (const QString& name : {QStringLiteral("testdisp.mdb"), QStringLiteral("Shuseki.mdb"), QStringLiteral("teacher.mdb")}) {
            QFile file(folder + name);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        // A store half-written by a program that ended, and one a running program
        // (this one) is writing.
        const QString abandoned = folder + QStringLiteral(".kojin.mdb.kazane-2147483646-1.tmp");
        const QString running = folder + QStringLiteral(".kojin.mdb.kazane-%1-1.tmp").arg(QCoreApplication::applicationPid());
        for (const QString& path : {abandoned, abandoned + QStringLiteral("-journal"), running}) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        setup.output->removeLeftoverStores();
        QVERIFY(!QFile::exists(abandoned));
        QVERIFY(!QFile::exists(abandoned + QStringLiteral("-journal")));
        QVERIFY(QFile::exists(running));
        QVERIFY(!QFile::exists(folder + QStringLiteral("testdisp.mdb")));
        QVERIFY(!QFile::exists(folder + QStringLiteral("Shuseki.mdb")));
        QVERIFY(QFile::exists(folder + QStringLiteral("teacher.mdb")));
    }

    void layoutFaultsAreReportedAndTheStoreIsGone()
    {
        {
            Setup setup(QStringLiteral("paper A4\ntable 10\ncolumn data09 20 left\n"));
            const Status status = setup.output->run(nullptr, aryoikiLike(2), ReportDestination::Printer, QStringLiteral("x"));
            QVERIFY(!status.ok);
            QVERIFY2(status.message.contains(QStringLiteral("「aryoiki.rpt」の3行目")), qPrintable(status.message));
            QVERIFY(!QFile::exists(setup.output->storePath(QStringLiteral("aryoiki"))));
            QVERIFY(setup.env.ui.messages.isEmpty());  // nothing was offered
        }
        {
            Setup setup;
            ReportSheet sheet = aryoikiLike(2);
            sheet.stem = QStringLiteral("kojin");  // no kojin.rpt in the layout folder
            const Status status = setup.output->run(nullptr, sheet, ReportDestination::Preview, QStringLiteral("x"));
            QVERIFY(!status.ok);
            QVERIFY(status.message.contains(QStringLiteral("「kojin.rpt」が見つかりません")));
            QVERIFY(setup.env.ui.previews.isEmpty());
            QVERIFY(!QFile::exists(setup.output->storePath(QStringLiteral("kojin"))));
        }
        {
            // A store folder that cannot be written: a message, no crash.
            Setup setup;
            ReportOutput nowhere(setup.env.ui, setup.env.dir.filePath(QStringLiteral("no/such/folder")), setup.layouts.path());
            const Status status = nowhere.run(nullptr, aryoikiLike(2), ReportDestination::Preview, QStringLiteral("x"));
            QVERIFY(!status.ok);
            QVERIFY(status.message.contains(QStringLiteral("aryoiki.mdb")));
        }
    }

    void withoutAPrinterPrintingOffersAPdf()
    {
        Setup setup;
        const QString pdf = setup.env.dir.filePath(QStringLiteral("一覧表"));  // ".pdf" is added
        setup.env.ui.answers = {Ui::Answer::Ok};
        setup.env.ui.saveNames = {pdf};
        QVERIFY(setup.output->run(nullptr, aryoikiLike(45), ReportDestination::Printer, QStringLiteral("総合集計一覧表-国語")).ok);
        QCOMPARE(setup.env.ui.messages.size(), 2);
        QCOMPARE(setup.env.ui.messages[0].text, QStringLiteral("プリンタが見つかりません。\n印刷する代わりにPDFファイルとして保存しますか？"));
        QCOMPARE(setup.env.ui.messages[0].buttons, Ui::Buttons::OkCancel);
        QVERIFY(setup.env.ui.messages[1].text.startsWith(QStringLiteral("PDFファイル「")));
        QVERIFY(setup.env.ui.messages[1].text.contains(QStringLiteral("一覧表.pdf")));
        const QStringList pages = PdfText::pages(pdf + QStringLiteral(".pdf"));
        QCOMPARE(pages.size(), 2);
        const QString text = pages.join(QLatin1Char('\n'));
        for (const QString& name : pupilNames(45, NameStyle::Full))
            QVERIFY2(text.contains(name), qPrintable(name));
        QVERIFY(pages[1].contains(QStringLiteral("総平均")));
        QVERIFY(!QFile::exists(setup.output->storePath(QStringLiteral("aryoiki"))));
        QCOMPARE(setup.env.ui.busyDepth, 0);
    }

    void thePdfOfferCanBeDeclined()
    {
        Setup setup;
        setup.env.ui.answers = {Ui::Answer::Cancel};
        setup.env.ui.saveNames = {setup.env.dir.filePath(QStringLiteral("never.pdf"))};
        QVERIFY(setup.output->run(nullptr, aryoikiLike(3), ReportDestination::Printer, QStringLiteral("x")).ok);
        QCOMPARE(setup.env.ui.messages.size(), 1);
        QCOMPARE(setup.env.ui.saveNames.size(), size_t(1));  // no file was asked for
        QVERIFY(!QFile::exists(setup.env.dir.filePath(QStringLiteral("never.pdf"))));

        // Agreed, but the file dialog cancelled: nothing more happens.
        setup.env.ui.clear();
        setup.env.ui.answers = {Ui::Answer::Ok};
        setup.env.ui.saveNames.clear();
        QVERIFY(setup.output->run(nullptr, aryoikiLike(3), ReportDestination::Printer, QStringLiteral("x")).ok);
        QCOMPARE(setup.env.ui.messages.size(), 1);

        // A PDF that cannot be written is a failure with its own message.
        setup.env.ui.clear();
        setup.env.ui.answers = {Ui::Answer::Ok};
        setup.env.ui.saveNames = {setup.env.dir.filePath(QStringLiteral("no/such/folder/x.pdf"))};
        const Status status = setup.output->run(nullptr, aryoikiLike(3), ReportDestination::Printer, QStringLiteral("x"));
        QVERIFY(!status.ok);
        QVERIFY(status.message.contains(QStringLiteral("保存できませんでした")));
    }

    void aPrinterSetToAFilePrintsThere()
    {
        Setup setup;
        const QString pdf = setup.env.dir.filePath(QStringLiteral("printer.pdf"));
        setup.output->printer().setOutputFormat(QPrinter::PdfFormat);
        setup.output->printer().setOutputFileName(pdf);
        QVERIFY(setup.output->run(nullptr, aryoikiLike(5), ReportDestination::Printer, QStringLiteral("x")).ok);
        QVERIFY(setup.env.ui.messages.isEmpty());
        QVERIFY(PdfText::pages(pdf).value(0).contains(QStringLiteral("【教科内総合集計一覧表】")));
    }

    // The store is the program's outside record; the pages come from the sheet
    // itself, whatever the store's file holds once it is written.
    void thePagesComeFromTheSheetNotTheStore()
    {
        Setup setup;
        ReportSheet other = aryoikiLike(1);
        other.rows[1][1] = QStringLiteral("別人");
        setup.output->setStoreObserver([&other](const QString& store) { QVERIFY(ReportStore::write(store, other).ok); });
        const QString pdf = setup.env.dir.filePath(QStringLiteral("printer.pdf"));
        setup.output->printer().setOutputFormat(QPrinter::PdfFormat);
        setup.output->printer().setOutputFileName(pdf);
        QVERIFY(setup.output->run(nullptr, aryoikiLike(3), ReportDestination::Printer, QStringLiteral("x")).ok);
        const QString text = PdfText::pages(pdf).value(0);
        for (const QString& name : pupilNames(3, NameStyle::Full))
            QVERIFY2(text.contains(name), qPrintable(text));
        QVERIFY(!text.contains(QStringLiteral("別人")));
    }

    // Printed from the preview into a PDF file, the file is written whole or not at
    // all, and a failure is told once the preview closes.
    void aPreviewPrintedIntoAFileIsWrittenWhole()
    {
        Setup setup;
        setup.env.ui.previewFolder = setup.env.dir.path();
        std::optional<FileSizeLimit> limit;
        setup.output->setStoreObserver([&limit](const QString&) { limit.emplace(1024); });
        const Status refused = setup.output->run(nullptr, aryoikiLike(45), ReportDestination::Preview, QStringLiteral("総合集計一覧表-国語"));
        limit.reset();
        QVERIFY(!refused.ok);
        QVERIFY2(refused.message.contains(QStringLiteral("ディスクの空き容量が足りません")), qPrintable(refused.message));
        QCOMPARE(setup.env.ui.previews.size(), 1);
        QVERIFY(!QFile::exists(setup.env.ui.previews[0].pdfPath));

        setup.output->setStoreObserver({});
        QVERIFY(setup.output->run(nullptr, aryoikiLike(45), ReportDestination::Preview, QStringLiteral("総合集計一覧表-国語")).ok);
        QCOMPARE(setup.env.ui.previews.size(), 2);
        const QString text = PdfText::pages(setup.env.ui.previews[1].pdfPath).join(QLatin1Char('\n'));
        QVERIFY(text.contains(QStringLiteral("【教科内総合集計一覧表】")));
        // 田中 and the other names read back as the characters drawn.
        for (const QString& name : pupilNames(45, NameStyle::Full))
            QVERIFY2(text.contains(name), qPrintable(name));
        QCOMPARE(setup.env.ui.busyDepth, 0);
    }
};

QTEST_MAIN(ReportOutputTest)
#include "test_report_output.moc"
