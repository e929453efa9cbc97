// Printing on a real print system: a CUPS daemon of the test's own with two PDF
// printers. テスト別成績集計, 総合集計 and 全員を印刷 are printed as a teacher
// prints them; the document the daemon keeps of each job is read back (its text
// has the kanji the sheet shows, never a radical of the same shape; its pages;
// the job's name), and the PDF printer is seen to write the pages.

#include "ChildWindows.h"
#include "Controls.h"
#include "MainWindowControls.h"
#include "PdfText.h"
#include "PrintingClass.h"
#include "PrivateCups.h"
#include "TestEnv.h"
#include "app/MainWindow.h"
#include "reports/PupilResultsWindow.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMap>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

using namespace Controls;
using namespace MainControls;
using namespace PrintingClass;

class PrintingTest : public QObject {
    Q_OBJECT

    PrivateCups cups;
    QMap<QString, int> printedSoFar;  // files each PDF printer has written

    // The PDF printer writes a file of the job's pages.
    int pagesPrintedBy(const QString& printer)
    {
        const int expected = ++printedSoFar[printer];
        const QStringList files = cups.printedFiles(printer, expected);
        return files.size() == expected ? PrivateCups::pageCount(files.last()) : -1;
    }

    static void checkText(const QString& text, const QStringList& expected)
    {
        QVERIFY2(radicalsIn(text).isEmpty(), qPrintable(QStringLiteral("radicals: ") + radicalsIn(text)));
        for (const QString& part : expected)
            QVERIFY2(text.contains(part), qPrintable(part + QStringLiteral(" not in:\n") + text));
    }

private slots:
    void initTestCase()
    {
        PRIVATE_CUPS_START(cups);
        QVERIFY(cups.addPdfPrinter(QStringLiteral("Kyoshitsu"), true));
        QVERIFY(cups.addPdfPrinter(QStringLiteral("Shokuin")));
    }

    // 印刷 on the test tally asks nothing, goes to the default printer and says so.
    void testTallyGoesToTheDefaultPrinter()
    {
        TestEnv env;
        MainWindow& window = open(env);
        QVERIFY(window.openTestTallyWindow());
        const Handed handed = handedBy(cups, [&] { toolbarButton(window, QStringLiteral("printButton"))->trigger(); });
        QVERIFY2(env.ui.messages.isEmpty(), qPrintable(env.ui.lastMessage()));
        QVERIFY(env.ui.modalDialogs.isEmpty());
        QVERIFY2(!handed.document.isEmpty(), "no job reached the print system");
        checkText(handed.text, names() + QStringList{firstTest(), QStringLiteral("テスト別成績集計-算数")});
        QCOMPARE(handed.pages, 1);
        const QString title = QStringLiteral("テスト別成績集計-算数-漢字テスト①");
        QCOMPARE(handed.job.title, title);
        QCOMPARE(handed.job.printer, QStringLiteral("Kyoshitsu"));
        QCOMPARE(handed.job.copies, 1);
        QCOMPARE(handed.job.media, QStringLiteral("iso_a4_210x297mm"));
        // Sent, or already printed when the printer was quick.
        const QString line = statusLine(window);
        QVERIFY2(line == QStringLiteral("「%1」をプリンタ「Kyoshitsu」に送りました（1ページ）。").arg(title)
                     || line == QStringLiteral("「%1」をプリンタ「Kyoshitsu」で印刷しました（1ページ）。").arg(title),
                 qPrintable(line));
        QCOMPARE(pagesPrintedBy(QStringLiteral("Kyoshitsu")), 1);
        QCOMPARE(env.ui.busyDepth, 0);
    }

    // The preview's print command takes the same road: the sheet's own name, the
    // printer of プリンタの設定, the repaired text.
    void previewPrintsThroughTheSameRoad()
    {
        TestEnv env;
        MainWindow& window = open(env);
        QVERIFY(window.openTestTallyWindow());
        env.ui.printFromPreview = true;
        const Handed handed = handedBy(cups, [&] { toolbarButton(window, QStringLiteral("previewButton"))->trigger(); });
        QCOMPARE(env.ui.previews.size(), 1);
        QVERIFY2(!handed.document.isEmpty(), "the preview's print reached no printer");
        QCOMPARE(handed.job.title, QStringLiteral("テスト別成績集計-算数-漢字テスト①"));
        QCOMPARE(handed.job.printer, QStringLiteral("Kyoshitsu"));
        checkText(handed.text, names());
        QVERIFY(statusLine(window).contains(QStringLiteral("プリンタ「Kyoshitsu」")));
        QCOMPARE(pagesPrintedBy(QStringLiteral("Kyoshitsu")), 1);
    }

    // The overall tally, landscape by its layout, on the printer chosen in
    // プリンタの設定 (not the default), in two copies.
    void overallTallyGoesToTheChosenPrinter()
    {
        TestEnv env;
        MainWindow& window = open(env);
        env.ui.modalHandlers.push_back([](QDialog& dialog) {
            auto* printers = child<QComboBox>(&dialog, "printerChoice");
            printers->setCurrentIndex(printers->findData(QStringLiteral("Shokuin")));
            child<QSpinBox>(&dialog, "copiesBox")->setValue(2);
            child<QPushButton>(&dialog, "okButton")->click();
        });
        menuEntry(window, QStringLiteral("printerSetupAction"))->trigger();
        QCOMPARE(env.settings->value(QStringLiteral("Printing/Printer")).toString(), QStringLiteral("Shokuin"));
        QCOMPARE(env.settings->value(QStringLiteral("Printing/Copies")).toString(), QStringLiteral("2"));

        env.ui.modalHandlers.push_back([](QDialog& d) { child<QPushButton>(&d, "allButton")->click(); });
        ChildWindow* overall = window.openOverallTallyWindow();
        QVERIFY(overall);
        env.ui.clear();
        const Handed handed = handedBy(cups, [&] { child<QPushButton>(overall, "printButton")->click(); });
        QVERIFY2(env.ui.messages.isEmpty(), qPrintable(env.ui.lastMessage()));
        QVERIFY2(!handed.document.isEmpty(), "no job reached the print system");
        checkText(handed.text, names() + QStringList{QStringLiteral("総合集計一覧表-算数")});
        QCOMPARE(handed.pages, 1);
        // A4 landscape, in points.
        const QSizeF page = PrivateCups::pageSize(handed.document);
        QCOMPARE(qRound(page.width()), 842);
        QCOMPARE(qRound(page.height()), 595);
        QCOMPARE(handed.job.title, QStringLiteral("総合集計一覧表-算数-出席番号順"));
        QCOMPARE(handed.job.printer, QStringLiteral("Shokuin"));
        QCOMPARE(handed.job.copies, 2);
        QVERIFY(statusLine(window).contains(QStringLiteral("プリンタ「Shokuin」")));
        QVERIFY(statusLine(window).contains(QStringLiteral("1ページ、2部")));
        // Both copies, one after the other.
        QCOMPARE(pagesPrintedBy(QStringLiteral("Shokuin")), 2);
    }

    // 全員を印刷 first says how many pages go where; the teacher leaves two pupils
    // out; the job holds the other ten pages.
    void everyPupilIsConfirmedFirst()
    {
        TestEnv env;
        MainWindow& window = open(env);
        auto* results = qobject_cast<PupilResultsWindow*>(window.openPupilResultsWindow());
        QVERIFY(results);
        QString summaryBefore, summaryAfter;
        env.ui.modalHandlers.push_back([&](QDialog& dialog) {
            summaryBefore = child<QLabel>(&dialog, "summaryLabel")->text();
            auto* list = child<QListWidget>(&dialog, "sheetList");
            list->item(1)->setCheckState(Qt::Unchecked);
            list->item(3)->setCheckState(Qt::Unchecked);
            summaryAfter = child<QLabel>(&dialog, "summaryLabel")->text();
            child<QPushButton>(&dialog, "confirmPrintButton")->click();
        });
        const Handed handed = handedBy(cups, [&] { child<QPushButton>(results, "allPrintButton")->click(); });
        QCOMPARE(env.ui.modalDialogs, QStringList{QStringLiteral("printConfirmDialog")});
        QCOMPARE(summaryBefore, QStringLiteral("12人分、12ページを1部、プリンタ「Kyoshitsu」に印刷します。"));
        QCOMPARE(summaryAfter, QStringLiteral("10人分、10ページを1部、プリンタ「Kyoshitsu」に印刷します。"));
        QVERIFY2(!handed.document.isEmpty(), "no job reached the print system");
        QCOMPARE(handed.pages, 10);
        QStringList printed = names();
        printed.removeAt(3);
        printed.removeAt(1);
        checkText(handed.text, printed);
        QVERIFY(!handed.text.contains(names()[1]) && !handed.text.contains(names()[3]));
        QCOMPARE(handed.job.title, QStringLiteral("個人別成績集計-算数-10人"));
        QCOMPARE(pagesPrintedBy(QStringLiteral("Kyoshitsu")), 10);

        // Given up in the confirmation: nothing reaches the print system.
        env.ui.clear();
        env.ui.modalHandlers.push_back([](QDialog& dialog) { child<QPushButton>(&dialog, "cancelButton")->click(); });
        QCOMPARE(handedBy(cups, [&] { child<QPushButton>(results, "allPrintButton")->click(); }).document, QString());
        QVERIFY(env.ui.messages.isEmpty());
    }
};

QTEST_MAIN(PrintingTest)
#include "test_printing.moc"
