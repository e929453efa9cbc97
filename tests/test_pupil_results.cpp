// The individual results window, opened from the main window as a teacher opens it:
// the per-test rows of one pupil, the overall and viewpoint lines, switching pupils,
// the "kojin" sheet read back from its store, and the main window's command states.

#include "model/NewClass.h"
#include "MainWindowControls.h"
#include "DataFiles.h"
#include "TallyReadBack.h"
#include "Controls.h"
#include "TestEnv.h"
#include "PdfText.h"
#include "reports/PupilResultsWindow.h"
#include "app/MainWindow.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

using namespace MainControls;
using namespace DataFiles;
using namespace TallyReadBack;

using Controls::child;

namespace {

// Overall line and the four viewpoint lines as the window shows them.
QStringList summaryLines(const PupilResultsWindow& w)
{
    auto text = [&w](const QString& name) { return child<QLabel>(&w, name)->text(); };
    QStringList lines{text(QStringLiteral("overallAverage")) + QLatin1Char('|') + text(QStringLiteral("overallRank"))
                      + QLatin1Char('|') + text(QStringLiteral("overallGrade"))};
    for (int k = 1; k <= 4; ++k)
        lines << text(QStringLiteral("viewpointAverage%1").arg(k)) + QLatin1Char('|')
                     + text(QStringLiteral("viewpointRank%1").arg(k)) + QLatin1Char('|')
                     + text(QStringLiteral("viewpointGrade%1").arg(k));
    return lines;
}

}  // namespace

class PupilResultsTest : public QObject {
    Q_OBJECT

    // Three pupils; one test: 観点Ⅰ out of 50 and 観点Ⅱ out of 10; 上田 absent throughout.
    void writeOneTest(TestEnv& env)
    {
        env.makeClass({QStringLiteral("青木"), QStringLiteral("石田"), QStringLiteral("上田")});
        env.writeFile(QStringLiteral("国語.dat"),
                      scoreLines({{QStringLiteral("漢字テスト"), {{1, 50, {45, 40, -1}}, {2, 10, {8, 6, -1}}}}}));
    }

    PupilResultsWindow* open(MainWindow& window)
    {
        auto* dialog = qobject_cast<PupilResultsWindow*>(window.openPupilResultsWindow());
        if (dialog)
            QTest::qWait(0);
        return dialog;
    }

private slots:
    void showsOnePupilAcrossTheTests()
    {
        TestEnv env;
        writeOneTest(env);
        MainWindow& window = env.startMainWindow();
        PupilResultsWindow* w = open(window);
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), QStringLiteral("個人別成績集計-国語"));
        QCOMPARE(child<QComboBox>(w, "pupilChooser")->count(), 3);
        QCOMPARE(child<QComboBox>(w, "pupilChooser")->itemText(0), QStringLiteral(" 1 青木"));
        QCOMPARE(child<QComboBox>(w, "pupilChooser")->currentText(), QStringLiteral(" 1 青木"));
        QCOMPARE(child<QLabel>(w, "viewpoint1")->text(), QStringLiteral("1:関心,意欲,態度"));
        QCOMPARE(child<QLabel>(w, "viewpoint4")->text(), QStringLiteral("4:言語の知識"));
        QCOMPARE(headings(child<QTableWidget>(w, "testGrid")), (QStringList{"番号", "テスト名", "総点", "観点Ⅰ", "観点Ⅱ", "観点Ⅲ", "観点Ⅳ", "順位"}));
        QCOMPARE(child<QTableWidget>(w, "testGrid")->rowCount(), 1);
        // 45 + 8 = 53 of 60 (88.3%) is first; 46 of 60 second.
        QCOMPARE(gridRow(child<QTableWidget>(w, "testGrid"), 0), (QStringList{"1", "漢字テスト", "53", "45", "8", "", "", "1"}));
        // Overall (90 + 80) / 2 = 85.0; 観点Ⅰ 45/50 = 90.0; 観点Ⅱ 8/10 = 80.0; no Ⅲ, Ⅳ.
        QCOMPARE(summaryLines(*w), (QStringList{"85.0|1|3", "90.0|1|A", "80.0|1|A", "  -  |-|-", "  -  |-|-"}));

        // The teacher steps to the next pupil with the arrow key.
        child<QComboBox>(w, "pupilChooser")->setFocus();
        QTest::keyClick(child<QComboBox>(w, "pupilChooser"), Qt::Key_Down);
        QCOMPARE(w->shownPupil(), 2);
        QCOMPARE(gridRow(child<QTableWidget>(w, "testGrid"), 0), (QStringList{"1", "漢字テスト", "46", "40", "6", "", "", "2"}));
        // (80 + 60) / 2 = 70.0, second in the class.
        QCOMPARE(summaryLines(*w), (QStringList{"70.0|2|3", "80.0|2|A", "60.0|2|A", "  -  |-|-", "  -  |-|-"}));

        // A pupil without any entered score.
        QTest::keyClick(child<QComboBox>(w, "pupilChooser"), Qt::Key_Down);
        QCOMPARE(w->shownPupil(), 3);
        QCOMPARE(gridRow(child<QTableWidget>(w, "testGrid"), 0), (QStringList{"1", "漢字テスト", "欠", "欠", "欠", "", "", "- "}));
        QCOMPARE(summaryLines(*w),
                 (QStringList{"  -  | -|-", "  -  |-|-", "  -  |-|-", "  -  |-|-", "  -  |-|-"}));
        QCOMPARE(env.data.currentTest, 1);
        QVERIFY(env.ui.messages.isEmpty());
    }

    // Two columns of one viewpoint, a column measuring no viewpoint, a column out of
    // 0 marks and a test where only the second column is entered.
    void placesEachColumnUnderItsViewpoint()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木"), QStringLiteral("石田"), QStringLiteral("上田")});
        env.writeFile(QStringLiteral("国語.dat"),
                      scoreLines({
                          {QStringLiteral("読解"), {{1, 20, {10, 20, 5}}, {1, 20, {15, 0, -1}}}},
                          {QStringLiteral("音読"), {{0, 10, {7, 5, 9}}, {2, 10, {6, -1, 10}}}},
                          {QStringLiteral("自由"), {{3, 0, {0, 0, -1}}}},
                          {QStringLiteral("まとめ"), {{4, 10, {-1, 5, -1}}, {4, 10, {8, -1, -1}}}},
                      }));
        MainWindow& window = env.startMainWindow();
        PupilResultsWindow* w = open(window);
        QVERIFY(w);
        // 読解: 10 + 15 = 25 of 40 (62.5%) first, 20 of 40 second, 5 of the 20 sat
        //   third; both 観点Ⅰ columns are summed in the 観点Ⅰ cell (25), never one alone.
        // 音読: the column of no viewpoint counts in the total (7 + 6 = 13) but in no
        //   viewpoint cell; 13, 5 and 19 of 20 rank 2, 3, 1.
        // 自由: out of 0 marks: the total 0 shows, there is no percentage and no rank.
        // まとめ: column 1 absent, column 2 entered: the total is 8 of the 10 sat (80%),
        //   first; 石田 5 of 10 (50%). Both columns measure Ⅳ: the cell shows the same.
        QCOMPARE(child<QTableWidget>(w, "testGrid")->rowCount(), 4);
        QCOMPARE(gridRow(child<QTableWidget>(w, "testGrid"), 0), (QStringList{"1", "読解", "25", "25", "", "", "", "1"}));
        QCOMPARE(gridRow(child<QTableWidget>(w, "testGrid"), 1), (QStringList{"2", "音読", "13", "", "6", "", "", "2"}));
        QCOMPARE(gridRow(child<QTableWidget>(w, "testGrid"), 2), (QStringList{"3", "自由", "0", "", "", "0", "", "- "}));
        QCOMPARE(gridRow(child<QTableWidget>(w, "testGrid"), 3), (QStringList{"4", "まとめ", "8/10", "", "", "", "8/10", "1"}));
        // 青木: percentages 50, 75 (Ⅰ), 70 (none), 60 (Ⅱ), 80 (Ⅳ); the 0-mark column is left out.
        //   Overall 335 / 5 = 67.0; Ⅰ 62.5; Ⅱ 60.0; Ⅲ none; Ⅳ 80.0.
        // 石田: 100, 0 (Ⅰ), 50 (none), 50 (Ⅳ): overall 50.0, Ⅰ 50.0, Ⅳ 50.0.
        // 上田: 25 (Ⅰ), 90 (none), 100 (Ⅱ): overall 215 / 3 = 71.7, Ⅰ 25.0, Ⅱ 100.0.
        QCOMPARE(summaryLines(*w), (QStringList{"67.0|2|3", "62.5|1|A", "60.0|2|A", "  -  |-|-", "80.0|1|A"}));
        child<QComboBox>(w, "pupilChooser")->setCurrentIndex(1);
        QCOMPARE(gridRow(child<QTableWidget>(w, "testGrid"), 3), (QStringList{"4", "まとめ", "5/10", "", "", "", "5/10", "2"}));
        QCOMPARE(summaryLines(*w), (QStringList{"50.0|3|3", "50.0|2|A", "  -  |-|-", "  -  |-|-", "50.0|2|A"}));
        child<QComboBox>(w, "pupilChooser")->setCurrentIndex(2);
        QCOMPARE(gridRow(child<QTableWidget>(w, "testGrid"), 1), (QStringList{"2", "音読", "19", "", "10", "", "", "1"}));
        QCOMPARE(summaryLines(*w), (QStringList{"71.7|1|3", "25.0|3|A", "100.0|1|A", "  -  |-|-", "  -  |-|-"}));
        QVERIFY(env.ui.messages.isEmpty());

        // On the sheet every cell has a blank before its digits; a zero stays visible.
        QString copy;
        env.reports->setStoreObserver([&](const QString& path) {
            copy = env.dir.path() + QStringLiteral("/kojin-copy.mdb");
            QFile::remove(copy);
            QFile::copy(path, copy);
        });
        child<QComboBox>(w, "pupilChooser")->setCurrentIndex(0);
        child<QPushButton>(w, "previewButton")->click();
        const Store store = readStore(copy);
        QCOMPARE(store.rows.size(), 4);
        QCOMPARE(store.rows[0], (QStringList{"1", "読解", " 25", " 25", "-", "-", "-", " 1"}));
        QCOMPARE(store.rows[1], (QStringList{"2", "音読", " 13", "-", " 6", "-", "-", " 2"}));
        QCOMPARE(store.rows[2], (QStringList{"3", "自由", " 0", "-", "-", " 0", "-", "- "}));
        QCOMPARE(store.rows[3], (QStringList{"4", "まとめ", " 8/10", "-", "-", "-", " 8/10", " 1"}));
        // 観点Ⅰ's 62.5 is written in its shortest form.
        QCOMPARE(store.title.mid(5, 4), (QStringList{"1:関心,意欲,態度", "62.5", "1", "A"}));
    }

    void withoutTestsShowsOnlyTheHeadings()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木"), QStringLiteral("石田")});
        MainWindow& window = env.startMainWindow();
        PupilResultsWindow* w = open(window);
        QVERIFY(w);
        QCOMPARE(child<QTableWidget>(w, "testGrid")->rowCount(), 0);
        QCOMPARE(child<QTableWidget>(w, "testGrid")->columnCount(), 8);
        QCOMPARE(summaryLines(*w),
                 (QStringList{"  -  | -|-", "  -  |-|-", "  -  |-|-", "  -  |-|-", "  -  |-|-"}));
        QVERIFY(env.ui.messages.isEmpty());
    }

    void printsAndPreviewsTheSheet()
    {
        TestEnv env;
        writeOneTest(env);
        MainWindow& window = env.startMainWindow();
        PupilResultsWindow* w = open(window);
        QVERIFY(w);
        QString copy;
        QString storePath;
        env.reports->setStoreObserver([&](const QString& path) {
            storePath = path;
            copy = env.dir.path() + QStringLiteral("/kojin-copy.mdb");
            QFile::remove(copy);
            QFile::copy(path, copy);
        });

        // Preview from the main toolbar's button, which reaches the window's ﾌﾟﾚﾋﾞｭｰ(&O).
        toolbarButton(window, "previewButton")->trigger();
        QCOMPARE(env.ui.previews.size(), 1);
        QCOMPARE(env.ui.previews[0].title, QStringLiteral("個人別成績集計-国語 1 青木"));
        QCOMPARE(QFileInfo(storePath).fileName(), QStringLiteral("kojin.mdb"));
        QCOMPARE(QFileInfo(storePath).absolutePath(), QFileInfo(env.programFolder()).absoluteFilePath());
        QVERIFY(!QFile::exists(storePath));
        Store store = readStore(copy);
        QCOMPARE(store.titleFields,
                 (QStringList{"Title", "Name", "AHeikin", "ARank", "AHyotei", "KNames1", "KHeikin1", "KRank1", "KHyotei1",
                              "KNames2", "KHeikin2", "KRank2", "KHyotei2", "KNames3", "KHeikin3", "KRank3", "KHyotei3",
                              "KNames4", "KHeikin4", "KRank4", "KHyotei4"}));
        // 観点Ⅰ's 90.0 on screen is written as 90.
        QCOMPARE(store.title,
                 (QStringList{"【個人別成績集計-国語】", " 1 青木", "85.0", "1", "3", "1:関心,意欲,態度", "90", "1", "A",
                              "2:表現の能力", "80", "1", "A", "3:理解の能力", "-", "-", "-", "4:言語の知識", "-", "-", "-"}));
        QCOMPARE(store.dataFields,
                 (QStringList{"Number", "TestTitle", "Souten", "Tensu1", "Tensu2", "Tensu3", "Tensu4", "Rank"}));
        QCOMPARE(store.rows, (QList<QStringList>{{"1", "漢字テスト", " 53", " 45", " 8", "-", "-", " 1"}}));
        // Without the window (an export) the tally gives the same sheet.
        const ReportSheet directSheet = kojinSheet(*w->tally(), 1, kojinCaption(env.data));
        QCOMPARE(directSheet.titleValues, store.title);
        QCOMPARE(directSheet.rows, store.rows);
        QCOMPARE(kojinPreviewTitle(*w->tally(), 1, w->windowTitle()), env.ui.previews[0].title);

        // The pupil without any score: every figure of the title row is "-".
        child<QComboBox>(w, "pupilChooser")->setCurrentIndex(2);
        child<QPushButton>(w, "previewButton")->click();
        store = readStore(copy);
        QCOMPARE(store.title,
                 (QStringList{"【個人別成績集計-国語】", " 3 上田", "-", "-", "-", "1:関心,意欲,態度", "-", "-", "-",
                              "2:表現の能力", "-", "-", "-", "3:理解の能力", "-", "-", "-", "4:言語の知識", "-", "-", "-"}));
        QCOMPARE(store.rows, (QList<QStringList>{{"1", "漢字テスト", "欠", "欠", "欠", "-", "-", "- "}}));
        QCOMPARE(env.ui.previews.last().title, QStringLiteral("個人別成績集計-国語 3 上田"));

        // Printing to the printer chosen in the print setup (here a PDF file).
        const QString pdf = env.dir.path() + QStringLiteral("/kojin.pdf");
        env.reports->printer().setOutputFormat(QPrinter::PdfFormat);
        env.reports->printer().setOutputFileName(pdf);
        child<QPushButton>(w, "printButton")->click();
        QVERIFY(QFileInfo(pdf).size() > 0);
        QVERIFY(!QFile::exists(storePath));
        QCOMPARE(env.ui.busyDepth, 0);
        QVERIFY(env.ui.messages.isEmpty());
    }

    // Every pupil's sheet in one go: one PDF of a page per pupil in attendance order,
    // each page naming its pupil with that pupil's figures; the printer gets the
    // same document.
    void savesEveryPupilsSheetInOnePdf()
    {
        TestEnv env;
        writeOneTest(env);
        MainWindow& window = env.startMainWindow();
        PupilResultsWindow* w = open(window);
        QVERIFY(w);
        int stores = 0;
        env.reports->setStoreObserver([&](const QString&) { ++stores; });
        const QString pdf = env.dir.path() + QStringLiteral("/全員");
        env.ui.saveNames = {pdf};
        QTest::mouseClick(child<QPushButton>(w, "allPdfButton"), Qt::LeftButton);
        // The name offered is the caption's, with ".pdf" added to the one typed.
        QCOMPARE(env.ui.messageTexts(),
                 QStringList{QStringLiteral("PDFファイル「%1.pdf」に保存しました。").arg(QDir::toNativeSeparators(pdf))});
        QCOMPARE(stores, 3);
        QStringList pages = PdfText::pages(pdf + QStringLiteral(".pdf"));
        QCOMPARE(pages.size(), 3);
        const QStringList names{QStringLiteral("青木"), QStringLiteral("石田"), QStringLiteral("上田")};
        for (int p = 0; p < 3; ++p) {
            QVERIFY2(pages[p].contains(QStringLiteral("%1 %2").arg(p + 1).arg(names[p])), qPrintable(pages[p]));
            for (int other = 0; other < 3; ++other)
                QCOMPARE(pages[p].contains(names[other]), other == p);
        }
        // Overall averages, each column weighing the same: 青木 (90 + 80) / 2 = 85.0,
        // 石田 (80 + 60) / 2 = 70.0; 上田 has none.
        QVERIFY(pages[0].contains(QStringLiteral("85.0")));
        QVERIFY(pages[1].contains(QStringLiteral("70.0")));
        QVERIFY(!pages[2].contains(QStringLiteral("85.0")) && !pages[2].contains(QStringLiteral("70.0")));
        // The pupil shown is unchanged.
        QCOMPARE(w->shownPupil(), 1);

        // Printed: the printer chosen in the print setup (a PDF file) gets all three.
        env.ui.clear();
        const QString printed = env.dir.path() + QStringLiteral("/printed.pdf");
        env.reports->printer().setOutputFormat(QPrinter::PdfFormat);
        env.reports->printer().setOutputFileName(printed);
        QTest::mouseClick(child<QPushButton>(w, "allPrintButton"), Qt::LeftButton);
        pages = PdfText::pages(printed);
        QCOMPARE(pages.size(), 3);
        QVERIFY(pages[2].contains(QStringLiteral("3 上田")));
        QVERIFY(env.ui.messages.isEmpty());
        QCOMPARE(env.ui.busyDepth, 0);

        // Cancelled in the file dialog: nothing written, nothing said.
        env.ui.clear();
        QTest::mouseClick(child<QPushButton>(w, "allPdfButton"), Qt::LeftButton);
        QVERIFY(env.ui.messages.isEmpty());
    }

    void switchesTheMainWindowsCommands()
    {
        TestEnv env;
        writeOneTest(env);
        MainWindow& window = env.startMainWindow();
        QVERIFY(!toolbarButton(window, "printButton")->isEnabled());
        PupilResultsWindow* w = open(window);
        QVERIFY(w);
        QCOMPARE(window.activeChild(), w);
        QVERIFY(toolbarButton(window, "printButton")->isEnabled());
        QVERIFY(toolbarButton(window, "previewButton")->isEnabled());
        QVERIFY(!toolbarButton(window, "scoreEntryButton")->isEnabled());
        QVERIFY(!menu(window, "editMenu")->isEnabled());
        QVERIFY(!menu(window, "subjectMenu")->isEnabled());
        QVERIFY(menuEntry(window, "overallTallyAction")->isEnabled());

        // A second tally window may be open beside it, here from the toolbar.
        toolbarButton(window, "pupilResultsButton")->trigger();
        auto* second = qobject_cast<PupilResultsWindow*>(window.activeChild());
        QVERIFY(second);
        QVERIFY(second != w);
        child<QPushButton>(second, "closeButton")->click();
        QTest::qWait(0);
        QVERIFY(!toolbarButton(window, "scoreEntryButton")->isEnabled());
        child<QPushButton>(w, "closeButton")->click();
        QTest::qWait(0);
        QVERIFY(window.activeChild() == nullptr);
        QVERIFY(toolbarButton(window, "scoreEntryButton")->isEnabled());
        QVERIFY(menu(window, "editMenu")->isEnabled());
        QVERIFY(!toolbarButton(window, "printButton")->isEnabled());
    }

    void refusesWhatItCannotShow()
    {
        {
            // A class without pupils: the main window refuses.
            TestEnv env;
            env.makeClass({});
            MainWindow& window = env.startMainWindow();
            env.ui.clear();
            QVERIFY(!window.openPupilResultsWindow());
            QCOMPARE(env.ui.lastMessage(), NewClass::noPupilsMessage());
        }
        {
            // A damaged score file: the teacher is told which file, nothing opens.
            TestEnv env;
            env.makeClass({QStringLiteral("青木"), QStringLiteral("石田")});
            env.writeFile(QStringLiteral("国語.dat"), {QStringLiteral("1"), QStringLiteral("\"漢字\""), QStringLiteral("1")});
            MainWindow& window = env.startMainWindow();
            env.ui.clear();
            QVERIFY(!window.openPupilResultsWindow());
            QCOMPARE(env.ui.messages.size(), 1);
            QVERIFY(env.ui.lastMessage().contains(QStringLiteral("国語.dat")));
            QVERIFY(window.activeChild() == nullptr);
            QVERIFY(toolbarButton(window, "scoreEntryButton")->isEnabled());
        }
    }
};

QTEST_MAIN(PupilResultsTest)
#include "test_pupil_results.moc"
