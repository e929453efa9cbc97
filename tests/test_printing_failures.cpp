// Printing when the print system does not print: a queue that refuses jobs, a
// printer paused or holding jobs, the chosen printer or the default one deleted
// while the program runs. Each time the teacher is told which printer and why,
// nothing is said to be printed, and the same sheet can be saved as a PDF file
// instead; a printer that is gone is replaced by the default one, never by
// nothing. On a CUPS daemon of the test's own with PDF printers.

#include "Controls.h"
#include "MainWindowControls.h"
#include "PdfText.h"
#include "PrintingClass.h"
#include "PrivateCups.h"
#include "TestEnv.h"
#include "app/MainWindow.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace Controls;
using namespace MainControls;
using namespace PrintingClass;

namespace {

const QString Title = QStringLiteral("テスト別成績集計-算数-漢字テスト①");
const QString NotPrinted = QStringLiteral("「テスト別成績集計-算数-漢字テスト①」は印刷されていません。");
const QStringList WaysOut{QStringLiteral("PDFとして保存"), QStringLiteral("閉じる")};

}  // namespace

class PrintingFailuresTest : public QObject {
    Q_OBJECT

    PrivateCups cups;
    std::unique_ptr<TestEnv> env;
    MainWindow* window = nullptr;

    void print()
    {
        toolbarButton(*window, QStringLiteral("printButton"))->trigger();
    }

    // The class open on the test tally, printing to `printer` as プリンタの設定 chose.
    void openTestTally(const QString& printer = {})
    {
        env = std::make_unique<TestEnv>();
        window = &open(*env);
        if (!printer.isEmpty())
            env->settings->setValue(QStringLiteral("Printing/Printer"), printer);
        QVERIFY(window->openTestTallyWindow());
        env->ui.clear();
    }

    // The question asked first: naming the printer and the reason, with the PDF as
    // the way out; and nothing said to be printed.
    void checkAsked(const QStringList& parts)
    {
        QVERIFY(!env->ui.messages.isEmpty());
        const ScriptedUi::Message& asked = env->ui.messages.first();
        QCOMPARE(asked.choices, WaysOut);
        QCOMPARE(asked.icon, Ui::Icon::Warning);
        for (const QString& part : parts)
            QVERIFY2(asked.text.contains(part), qPrintable(asked.text));
        QCOMPARE(statusLine(*window), NotPrinted);
    }

    // The PDF saved instead holds the sheet, with the kanji the sheet shows.
    void checkSavedPdf(const QString& file)
    {
        QCOMPARE(env->ui.messages.last().text,
                 QStringLiteral("PDFファイル「%1」に保存しました。").arg(QDir::toNativeSeparators(file)));
        const QString text = PdfText::pages(file).join(QLatin1Char('\n'));
        QVERIFY2(radicalsIn(text).isEmpty(), qPrintable(text));
        for (const QString& name : names())
            QVERIFY2(text.contains(name), qPrintable(name));
    }

private slots:
    void initTestCase()
    {
        PRIVATE_CUPS_START(cups);
        QVERIFY(cups.addPdfPrinter(QStringLiteral("Kyoshitsu"), true));
    }

    void cleanup()
    {
        window = nullptr;
        env.reset();
    }

    // cupsreject: refused at once; the teacher saves the PDF instead.
    void queueRefusingJobs()
    {
        QVERIFY(cups.addPdfPrinter(QStringLiteral("Refusing")));
        QVERIFY(cups.admin(QStringLiteral("cupsreject"), {QStringLiteral("-r"), QStringLiteral("トナー交換中"),
                                                          QStringLiteral("Refusing")}));
        openTestTally(QStringLiteral("Refusing"));
        const QString pdf = env->dir.filePath(QStringLiteral("代わり.pdf"));
        env->ui.choices = {0};
        env->ui.saveNames = {pdf};
        QCOMPARE(handedBy(cups, [&] { print(); }).document, QString());
        checkAsked({QStringLiteral("プリンタ「Refusing」は今、印刷を受け付けていません"), QStringLiteral("トナー交換中")});
        QCOMPARE(env->ui.messages.size(), 2);
        checkSavedPdf(pdf);
        QCOMPARE(env->ui.busyDepth, 0);
    }

    // cupsdisable: the job waits in the queue. Closed, it stays there and prints
    // once the printer goes on; saved as a PDF, it is taken out of the queue.
    void pausedPrinter()
    {
        QVERIFY(cups.addPdfPrinter(QStringLiteral("Paused")));
        QVERIFY(cups.admin(QStringLiteral("cupsdisable"), {QStringLiteral("-r"), QStringLiteral("紙づまり"),
                                                           QStringLiteral("Paused")}));
        openTestTally(QStringLiteral("Paused"));
        env->ui.choices = {1};
        const Handed kept = handedBy(cups, [&] { print(); });
        checkAsked({QStringLiteral("プリンタ「Paused」が一時停止している"), QStringLiteral("紙づまり"),
                    QStringLiteral("待っている印刷を取り消して")});
        QCOMPARE(env->ui.messages.size(), 1);
        QCOMPARE(kept.job.state, 3);  // pending

        env->ui.clear();
        const QString pdf = env->dir.filePath(QStringLiteral("一時停止.pdf"));
        env->ui.choices = {0};
        env->ui.saveNames = {pdf};
        const Handed taken = handedBy(cups, [&] { print(); });
        QVERIFY(!taken.document.isEmpty());
        QCOMPARE(PrivateCups::job(taken.job.id).state, 7);  // canceled
        checkSavedPdf(pdf);
        QCOMPARE(PrivateCups::job(kept.job.id).state, 3);

        QVERIFY(cups.admin(QStringLiteral("cupsenable"), {QStringLiteral("Paused")}));
        QCOMPARE(cups.printedFiles(QStringLiteral("Paused"), 1).size(), 1);
    }

    // A queue that holds every job until someone releases it.
    void heldJob()
    {
        QVERIFY(cups.addPdfPrinter(QStringLiteral("Holding")));
        QVERIFY(cups.admin(QStringLiteral("lpadmin"), {QStringLiteral("-p"), QStringLiteral("Holding"), QStringLiteral("-o"),
                                                       QStringLiteral("job-hold-until-default=indefinite")}));
        openTestTally(QStringLiteral("Holding"));
        env->ui.choices = {1};
        const Handed held = handedBy(cups, [&] { print(); });
        checkAsked({QStringLiteral("プリンタ「Holding」で保留されていて"), QStringLiteral("保留するように設定されています")});
        QCOMPARE(env->ui.messages.size(), 1);
        QCOMPARE(held.job.state, 4);
    }

    // The printer chosen in プリンタの設定 is deleted: the default one prints, and
    // the status line says so in one line.
    void chosenPrinterDeleted()
    {
        QVERIFY(cups.addPdfPrinter(QStringLiteral("Removed")));
        openTestTally(QStringLiteral("Removed"));
        QVERIFY(cups.admin(QStringLiteral("lpadmin"), {QStringLiteral("-x"), QStringLiteral("Removed")}));
        const Handed handed = handedBy(cups, [&] { print(); });
        QVERIFY2(env->ui.messages.isEmpty(), qPrintable(env->ui.lastMessage()));
        QCOMPARE(handed.job.printer, QStringLiteral("Kyoshitsu"));
        QCOMPARE(handed.job.title, Title);
        QVERIFY2(statusLine(*window).endsWith(
                     QStringLiteral("（1ページ）。 プリンタ「Removed」が見つからないため、既定のプリンタ「Kyoshitsu」に送りました。")),
                 qPrintable(statusLine(*window)));
    }

    // The default printer is deleted while the program runs and two others are
    // left: nothing is printed without a word; once another printer is chosen in
    // プリンタの設定, 印刷 prints there.
    void defaultPrinterDeletedWithOthersLeft()
    {
        QVERIFY(cups.addPdfPrinter(QStringLiteral("Honkan"), true));
        QVERIFY(cups.addPdfPrinter(QStringLiteral("Bekkan")));
        openTestTally();
        QCOMPARE(handedBy(cups, [&] { print(); }).job.printer, QStringLiteral("Honkan"));
        QVERIFY(cups.admin(QStringLiteral("lpadmin"), {QStringLiteral("-x"), QStringLiteral("Honkan")}));
        env->ui.clear();
        env->ui.choices = {1};
        QCOMPARE(handedBy(cups, [&] { print(); }).document, QString());
        checkAsked({QStringLiteral("既定のプリンタが決まっていません"), QStringLiteral("プリンタの設定")});
        QCOMPARE(env->ui.messages.size(), 1);

        env->ui.clear();
        env->ui.modalHandlers.push_back([](QDialog& dialog) {
            auto* printers = child<QComboBox>(&dialog, "printerChoice");
            QCOMPARE(printers->itemText(0), QStringLiteral("既定のプリンタ（決まっていません）"));
            printers->setCurrentIndex(printers->findData(QStringLiteral("Bekkan")));
            child<QPushButton>(&dialog, "okButton")->click();
        });
        menuEntry(*window, QStringLiteral("printerSetupAction"))->trigger();
        const Handed handed = handedBy(cups, [&] { print(); });
        QVERIFY2(env->ui.messages.isEmpty(), qPrintable(env->ui.lastMessage()));
        QCOMPARE(handed.job.printer, QStringLiteral("Bekkan"));
    }
};

QTEST_MAIN(PrintingFailuresTest)
#include "test_printing_failures.moc"
