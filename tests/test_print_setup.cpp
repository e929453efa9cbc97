// プリンタの設定 on a real print system (a CUPS daemon of the test's own): it
// offers every queue the system has and only the papers the chosen printer takes;
// the choice is stored and applied by every later 印刷: the printer, the paper (the
// sheet drawn to fit it), the orientation where the sheet fits it, the copies.

#include "Controls.h"
#include "MainWindowControls.h"
#include "PrintingClass.h"
#include "PrivateCups.h"
#include "TestEnv.h"
#include "app/MainWindow.h"
#include "frame/ChildWindow.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

using namespace Controls;
using namespace MainControls;
using namespace PrintingClass;

namespace {

QStringList itemsOf(QComboBox* box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

// Every queue as lpstat lists it, the program's code aside.
QStringList queuesListed()
{
    QProcess lpstat;
    lpstat.start(QStringLiteral("lpstat"), {QStringLiteral("-e")});
    lpstat.waitForFinished(10000);
    QStringList names = QString::fromUtf8(lpstat.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    names.sort();
    return names;
}

}  // namespace

class PrintSetupTest : public QObject {
    Q_OBJECT

    PrivateCups cups;

    void choose(TestEnv& env, MainWindow& window, const std::function<void(QDialog&)>& drive)
    {
        env.ui.modalHandlers.push_back(drive);
        menuEntry(window, QStringLiteral("printerSetupAction"))->trigger();
    }

    static QStringList stored(TestEnv& env)
    {
        QStringList values;
        for (const char* key : {"Printer", "Paper", "Orientation", "Copies"})
            values << env.settings->value(QStringLiteral("Printing/") + QLatin1String(key)).toString();
        return values;
    }

private slots:
    void initTestCase()
    {
        PRIVATE_CUPS_START(cups);
        QVERIFY(cups.addPdfPrinter(QStringLiteral("Kyoshitsu"), true));
        QVERIFY(cups.addPdfPrinter(QStringLiteral("Narrow"), false, {QStringLiteral("A4"), QStringLiteral("JISB5")}));
        QVERIFY(cups.addPdfPrinter(QStringLiteral("Shokuin")));
    }

    void offersEveryQueueAndOnlyThePapersItTakes()
    {
        TestEnv env;
        MainWindow& window = open(env);
        QStringList printers, defaultPapers, narrowPapers, note;
        choose(env, window, [&](QDialog& dialog) {
            auto* printerChoice = child<QComboBox>(&dialog, "printerChoice");
            printers = itemsOf(printerChoice);
            defaultPapers = itemsOf(child<QComboBox>(&dialog, "paperChoice"));
            printerChoice->setCurrentIndex(printerChoice->findData(QStringLiteral("Narrow")));
            narrowPapers = itemsOf(child<QComboBox>(&dialog, "paperChoice"));
            note << child<QLabel>(&dialog, "orientationNote")->text();
            dialog.reject();
        });
        QStringList queues = printers.mid(1);
        queues.sort();
        QCOMPARE(queues, queuesListed());
        QCOMPARE(printers.first(), QStringLiteral("既定のプリンタ（今は Kyoshitsu）"));
        QCOMPARE(defaultPapers, (QStringList{QStringLiteral("一覧表どおり"), QStringLiteral("A3（297×420 mm）"),
                                             QStringLiteral("A4（210×297 mm）"), QStringLiteral("A5（148×210 mm）"),
                                             QStringLiteral("B4（257×364 mm）"), QStringLiteral("B5（182×257 mm）"),
                                             QStringLiteral("Letter（216×279 mm）")}));
        QCOMPARE(narrowPapers, (QStringList{QStringLiteral("一覧表どおり"), QStringLiteral("A4（210×297 mm）"),
                                            QStringLiteral("B5（182×257 mm）")}));
        // The shipped overall tally fits its landscape page only.
        QCOMPARE(note, QStringList{QStringLiteral("総合集計一覧表は縦に収まらないため、いつも横で印刷します。")});
        // Cancelled: nothing stored.
        QCOMPARE(stored(env), QStringList({{}, {}, {}, {}}));
    }

    // B5, landscape, three copies on Narrow: stored, shown again, and applied.
    void choiceIsStoredAndApplied()
    {
        TestEnv env;
        MainWindow& window = open(env);
        choose(env, window, [](QDialog& dialog) {
            auto* printerChoice = child<QComboBox>(&dialog, "printerChoice");
            printerChoice->setCurrentIndex(printerChoice->findData(QStringLiteral("Narrow")));
            auto* paper = child<QComboBox>(&dialog, "paperChoice");
            paper->setCurrentIndex(paper->findData(QStringLiteral("B5")));
            child<QRadioButton>(&dialog, "orientationLandscape")->click();
            child<QSpinBox>(&dialog, "copiesBox")->setValue(3);
            child<QPushButton>(&dialog, "okButton")->click();
        });
        QCOMPARE(stored(env), (QStringList{QStringLiteral("Narrow"), QStringLiteral("B5"), QStringLiteral("landscape"),
                                           QStringLiteral("3")}));
        QStringList shown;
        choose(env, window, [&](QDialog& dialog) {
            shown << child<QComboBox>(&dialog, "printerChoice")->currentData().toString()
                  << child<QComboBox>(&dialog, "paperChoice")->currentData().toString()
                  << QString::number(child<QRadioButton>(&dialog, "orientationLandscape")->isChecked())
                  << QString::number(child<QSpinBox>(&dialog, "copiesBox")->value());
            dialog.reject();
        });
        QCOMPARE(shown, (QStringList{QStringLiteral("Narrow"), QStringLiteral("B5"), QStringLiteral("1"), QStringLiteral("3")}));

        QVERIFY(window.openTestTallyWindow());
        env.ui.clear();
        const Handed handed = handedBy(cups, [&] { toolbarButton(window, QStringLiteral("printButton"))->trigger(); });
        QVERIFY2(env.ui.messages.isEmpty(), qPrintable(env.ui.lastMessage()));
        QCOMPARE(handed.job.printer, QStringLiteral("Narrow"));
        QCOMPARE(handed.job.copies, 3);
        // B5 by the name the printer gives it (its model rounds JIS B5 to 182.74 × 256.47 mm).
        QVERIFY2(handed.job.media == QStringLiteral("jis_b5_182x257mm")
                     || handed.job.media.startsWith(QStringLiteral("custom_182.74x256.47mm")),
                 qPrintable(handed.job.media));
        // JIS B5 turned: 257 × 182 mm.
        const QSizeF page = PrivateCups::pageSize(handed.document);
        QCOMPARE(qRound(page.width() * 25.4 / 72), 257);
        QCOMPARE(qRound(page.height() * 25.4 / 72), 182);
        QVERIFY(radicalsIn(handed.text).isEmpty());
        QVERIFY(handed.text.contains(names().first()));
        QVERIFY2(statusLine(window).contains(QStringLiteral("、3部）")), qPrintable(statusLine(window)));
    }

    // Portrait chosen: a portrait sheet prints portrait, the overall tally stays
    // landscape and the status line says why.
    void sheetThatDoesNotFitTurnedKeepsItsOrientation()
    {
        TestEnv env;
        MainWindow& window = open(env);
        choose(env, window, [](QDialog& dialog) {
            child<QRadioButton>(&dialog, "orientationPortrait")->click();
            child<QPushButton>(&dialog, "okButton")->click();
        });
        env.ui.modalHandlers.push_back([](QDialog& d) { child<QPushButton>(&d, "allButton")->click(); });
        ChildWindow* overall = window.openOverallTallyWindow();
        QVERIFY(overall);
        env.ui.clear();
        const Handed handed = handedBy(cups, [&] { child<QPushButton>(overall, "printButton")->click(); });
        QCOMPARE(handed.job.printer, QStringLiteral("Kyoshitsu"));
        const QSizeF page = PrivateCups::pageSize(handed.document);
        QVERIFY2(page.width() > page.height(), "the overall tally was turned to portrait");
        QVERIFY2(statusLine(window).endsWith(QStringLiteral("この一覧表は縦に収まらないため、横で印刷しました。")),
                 qPrintable(statusLine(window)));
    }
};

QTEST_MAIN(PrintSetupTest)
#include "test_print_setup.moc"
