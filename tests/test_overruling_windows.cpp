// Grading in the real windows, as a teacher uses them: the class of
// test_grading_tally (weights, cells not entered yet, an observation test) graded
// against goals; a grade overruled in 総合集計 by a double-click, with its reason, shown
// with ＊ on screen, on the sheet and in the CSV file (the window's and
// kazane-export's alike), then cleared; one overruled in 個人集計 and the list of
// them; テスト別 and the statistics; a class file that cannot be read or written.

#include "ClassFileStandIn.h"
#include "Controls.h"
#include "DataFiles.h"
#include "ExportRun.h"
#include "PdfText.h"
#include "TallyReadBack.h"
#include "TestEnv.h"
#include "app/MainWindow.h"
#include "reports/OverallTallyWindow.h"
#include "reports/PupilResultsWindow.h"
#include "reports/StatisticsWindow.h"
#include "reports/TestTallyWindow.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

using Controls::child;
using namespace DataFiles;
using namespace TallyReadBack;

namespace {

const QString Kokugo = QStringLiteral("国語");
const QDate Today(2024, 7, 12);

// The class of test_grading_tally: 未入力 cells are 0 in the score file.
void writeClass(TestEnv& env, ClassFileStandIn& classFile)
{
    env.makeClass({QStringLiteral("青木"), QStringLiteral("石田"), QStringLiteral("上田"), QStringLiteral("江藤")});
    env.writeFile(QStringLiteral("国語.dat"),
                  scoreLines({{QStringLiteral("漢字テスト"), {{1, 50, {40, 30, 50, -1}}, {1, 50, {45, -1, 0, -1}}}},
                              {QStringLiteral("計算"), {{2, 20, {10, 20, 0, 15}}}},
                              {QStringLiteral("発表の様子"), {{3, 3, {3, 2, 1, 2}}}}}));
    classFile.weights[Kokugo] = {{1, 2.0}, {3, 0.5}};
    classFile.observationTests[Kokugo] = {3};
    classFile.notEntered[Kokugo] = {{1, 2, 3}, {2, 1, 3}};
    // 国語 graded against goals, 80 / 50 and 2.5 / 1.5.
    env.settings->setValue(QStringLiteral("UseMode/sHyoteiMode1"), QStringLiteral("3"));
    for (int v = 1; v <= 4; ++v)
        env.settings->setValue(QStringLiteral("UseMode/rHyoteiMode1%1").arg(v), QStringLiteral("3"));
    env.settings->sync();
}

MainWindow& start(TestEnv& env)
{
    MainWindow& window = env.startMainWindow();
    env.ctx->today = [] { return Today; };
    return window;
}

OverallTallyWindow* openOverall(TestEnv& env, MainWindow& window)
{
    env.ui.modalHandlers.push_back([](QDialog& d) { child<QPushButton>(&d, "allButton")->click(); });
    return qobject_cast<OverallTallyWindow*>(window.openOverallTallyWindow());
}

void doubleClickCell(QTableWidget* grid, int row, int column)
{
    grid->scrollToItem(grid->item(row, column));
    const QRect cell = grid->visualItemRect(grid->item(row, column));
    // The view takes a double-click on the cell it was pressed on, as a real one is.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

// Answers the overruling dialog: the grade and the reason, then 変更する.
std::function<void(QDialog&)> giveGrade(const QString& grade, const QString& reason, QStringList* seen = nullptr)
{
    return [=](QDialog& d) {
        if (seen)
            *seen << child<QLabel>(&d, "pupilLabel")->text() << child<QLabel>(&d, "groupLabel")->text()
                  << child<QLabel>(&d, "computedLabel")->text();
        child<QComboBox>(&d, "gradeChooser")->setCurrentText(grade);
        child<QLineEdit>(&d, "reasonInput")->setText(reason);
        child<QPushButton>(&d, "giveButton")->click();
    };
}

QString csvOf(TestEnv& env, QWidget* window, const QString& name)
{
    const QString path = env.dir.filePath(name);
    env.ui.saveNames.push_back(path);
    child<QPushButton>(window, "csvButton")->click();
    QFile file(path + QStringLiteral(".csv"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

}  // namespace

class OverrulingWindowsTest : public QObject {
    Q_OBJECT

private slots:
    // Overruled by a double-click, shown with ＊ everywhere, cleared again.
    void overallTallyOverrulesAndClearsAGrade()
    {
        TestEnv env;
        ClassFileStandIn classFile;
        writeClass(env, classFile);
        MainWindow& window = start(env);
        OverallTallyWindow* w = openOverall(env, window);
        QVERIFY(w);
        auto* grid = child<QTableWidget>(w, "pupilGrid");
        const QStringList noFourth{" -", " -", " -"};
        QCOMPARE(gridRow(grid, 1), QStringList({"2", "石田", "72.4", "3", "2", "60.0", "3", "B", "100.0", "1", "A", "66.7",
                                                "2", "B"}) + noFourth);
        QCOMPARE(gridRow(grid, 2).mid(2, 6), QStringList({"86.7", "1", "2", "100.0", "1", "A"}));
        QVERIFY(child<QLabel>(w, "weightNote")->isVisibleTo(w));
        QVERIFY(child<QLabel>(w, "weightNote")->text().contains(QStringLiteral("漢字テスト（重み2）")));

        // No reason: refused, the dialog stays; with one: kept.
        env.ui.messages.clear();
        QStringList seen;
        env.ui.modalHandlers.push_back([&seen](QDialog& d) {
            child<QComboBox>(&d, "gradeChooser")->setCurrentText(QStringLiteral("3"));
            child<QPushButton>(&d, "giveButton")->click();
            QVERIFY(d.isVisible() || d.result() != QDialog::Accepted);
            giveGrade(QStringLiteral("3"), QStringLiteral("面談で理解を確かめた"), &seen)(d);
        });
        doubleClickCell(grid, 1, 4);
        QCOMPARE(env.ui.messageTexts(), QStringList{QStringLiteral("評定を変える理由を入力してください。")});
        QCOMPARE(seen, (QStringList{"2番 石田", "評定", "2"}));
        QCOMPARE(gridRow(grid, 1)[4], QStringLiteral("3＊"));
        const Overruling kept{2, 0, {}, QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("面談で理解を確かめた"), Today};
        QCOMPARE(classFile.overrulings[Kokugo], QList<Overruling>{kept});
        QCOMPARE(env.data.overrulings, QList<Overruling>{kept});

        // On the sheet and in the CSV file, and kazane-export gives the same file.
        env.ui.clear();
        const QString csv = csvOf(env, w, QStringLiteral("window"));
        QVERIFY2(csv.contains(QStringLiteral("2,石田,72.4,3,3＊,60.0,3,B,")), qPrintable(csv));
        const QString exported = env.dir.filePath(QStringLiteral("export.csv"));
        QCOMPARE(runExport(env, {"aryoiki", "--csv", exported}).code, 0);
        QFile exportedFile(exported);
        QVERIFY(exportedFile.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(exportedFile.readAll()), csv);
        env.ui.previewFolder = env.dir.path();
        child<QPushButton>(w, "previewButton")->click();
        const QString page = PdfText::pages(env.ui.previews.last().pdfPath).value(0);
        QVERIFY2(page.contains(QStringLiteral("3＊")), qPrintable(page));
        QVERIFY2(page.contains(QStringLiteral("重み付きの平均")), qPrintable(page));

        // Cleared: the computed grade again, and the list of the class is empty.
        env.ui.modalHandlers.push_back([](QDialog& d) {
            QCOMPARE(child<QComboBox>(&d, "gradeChooser")->currentText(), QStringLiteral("3"));
            QCOMPARE(child<QLineEdit>(&d, "reasonInput")->text(), QStringLiteral("面談で理解を確かめた"));
            child<QPushButton>(&d, "clearButton")->click();
        });
        doubleClickCell(grid, 1, 4);
        QCOMPARE(gridRow(grid, 1)[4], QStringLiteral("2"));
        QVERIFY(classFile.overrulings[Kokugo].isEmpty());

        // A viewpoint through 評定を変える on the current cell; a grade equal to the
        // computed one is refused.
        grid->setCurrentCell(3, 13);  // 江藤, 評定3 (B)
        env.ui.clear();
        env.ui.modalHandlers.push_back([](QDialog& d) {
            giveGrade(QStringLiteral("B"), QStringLiteral("同じ"))(d);
            giveGrade(QStringLiteral("A"), QStringLiteral("発表の記録から"))(d);
        });
        child<QPushButton>(w, "overruleButton")->click();
        QCOMPARE(env.ui.messageTexts(), QStringList{QStringLiteral("計算した値と同じです。変えるときは別の値を選んでください。")});
        QCOMPARE(gridRow(grid, 3)[13], QStringLiteral("A＊"));
        // 評定 from the viewpoints as shown: Ⅱ B, Ⅲ A → 2.5 → 3.
        QCOMPARE(gridRow(grid, 3)[4], QStringLiteral("3"));
        QCOMPARE(grid->currentRow(), 3);
        QCOMPARE(grid->currentColumn(), 13);
    }

    // A class file that cannot be written: nothing changes, and the teacher is told.
    void anOverrulingThatCannotBeKeptChangesNothing()
    {
        TestEnv env;
        ClassFileStandIn classFile;
        writeClass(env, classFile);
        MainWindow& window = start(env);
        OverallTallyWindow* w = openOverall(env, window);
        QVERIFY(w);
        classFile.refusedWrite = QStringLiteral("assessment.json に書き込めません（ディスクがいっぱいです）。");
        env.ui.modalHandlers.push_back(giveGrade(QStringLiteral("1"), QStringLiteral("提出物")));
        doubleClickCell(child<QTableWidget>(w, "pupilGrid"), 0, 4);
        QCOMPARE(env.ui.lastMessage(), classFile.refusedWrite);
        QCOMPARE(gridRow(child<QTableWidget>(w, "pupilGrid"), 0)[4], QStringLiteral("3"));
        QVERIFY(env.data.overrulings.isEmpty());
        QCOMPARE(classFile.saves, 0);
        // A double-click on a cell that is no grade asks nothing.
        doubleClickCell(child<QTableWidget>(w, "pupilGrid"), 0, 2);
        QCOMPARE(env.ui.modalDialogs.count(QStringLiteral("overrulingDialog")), 1);
    }

    // 個人集計: a viewpoint grade overruled by a double-click on it, the sheet and the
    // list of every overruling of the class.
    void pupilResultsOverruleAndListThem()
    {
        TestEnv env;
        ClassFileStandIn classFile;
        writeClass(env, classFile);
        classFile.overrulings[QStringLiteral("算数")] = {
            {1, 0, {2}, QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("算数の理由"), Today}};
        MainWindow& window = start(env);
        auto* w = qobject_cast<PupilResultsWindow*>(window.openPupilResultsWindow());
        QVERIFY(w);
        QCOMPARE(child<QLabel>(w, "noteLabel")->text(),
                 QStringLiteral("平均は重み付きの平均（テスト名の後の（重み）がそのテストの重み）　未入力のある児童：1人"));
        child<QComboBox>(w, "pupilChooser")->setCurrentIndex(1);
        QCOMPARE(gridRow(child<QTableWidget>(w, "testGrid"), 0),
                 (QStringList{"1", "漢字テスト（重み2）", "30/50", "30/50", "", "", "", "3"}));

        child<QComboBox>(w, "pupilChooser")->setCurrentIndex(3);  // 江藤
        QCOMPARE(child<QLabel>(w, "viewpointGrade3")->text(), QStringLiteral("B"));
        QCOMPARE(child<QLabel>(w, "overallGrade")->text(), QStringLiteral("2"));
        QStringList seen;
        env.ui.modalHandlers.push_back(giveGrade(QStringLiteral("A"), QStringLiteral("発表の記録から"), &seen));
        QTest::mouseDClick(child<QLabel>(w, "viewpointGrade3"), Qt::LeftButton);
        QCOMPARE(seen[1], QStringLiteral("観点Ⅲ ") + env.data.viewpointName[1][3]);
        QCOMPARE(child<QLabel>(w, "viewpointGrade3")->text(), QStringLiteral("A＊"));
        QCOMPARE(child<QLabel>(w, "overallGrade")->text(), QStringLiteral("3"));
        const QString csv = csvOf(env, w, QStringLiteral("kojin"));
        QVERIFY2(csv.contains(QStringLiteral(",A＊,")), qPrintable(csv));

        // 評定を変える asks which grade; キャンセル asks nothing more.
        env.ui.choices.push_back(5);
        child<QPushButton>(w, "overruleButton")->click();
        QVERIFY(env.ui.modalDialogs.count(QStringLiteral("overrulingDialog")) == 1);

        // The list: 算数's and 国語's, by subject.
        QList<QStringList> listed;
        env.ui.modalHandlers.push_back([&](QDialog& d) {
            auto* table = child<QTableWidget>(&d, "overrulingTable");
            for (int r = 0; r < table->rowCount(); ++r)
                listed << gridRow(table, r);
            const QString path = env.dir.filePath(QStringLiteral("list"));
            env.ui.saveNames.push_back(path);
            child<QPushButton>(&d, "csvButton")->click();
            env.ui.previewFolder = env.dir.path();
            child<QPushButton>(&d, "previewButton")->click();
            child<QPushButton>(&d, "closeButton")->click();
        });
        child<QPushButton>(w, "overrulingListButton")->click();
        // The printed list, from its own layout.
        QCOMPARE(env.ui.previews.last().title, QStringLiteral("評定の変更一覧-全教科"));
        const QString page = PdfText::pages(env.ui.previews.last().pdfPath).value(0);
        QVERIFY2(page.contains(QStringLiteral("【評定の変更一覧】")) && page.contains(QStringLiteral("発表の記録から"))
                     && page.contains(QStringLiteral("算数の理由")) && page.contains(QStringLiteral("2件")),
                 qPrintable(page));
        const QString viewpoint3 = QStringLiteral("観点Ⅲ ") + env.data.viewpointName[1][3];
        QCOMPARE(listed, (QList<QStringList>{
                             {"国語", "4", "江藤", viewpoint3, "すべて", "B", "A", "発表の記録から", "2024/07/12"},
                             {"算数", "1", "青木", "評定", "（テスト2）", "2", "3", "算数の理由", "2024/07/12"}}));
        QFile list(env.dir.filePath(QStringLiteral("list.csv")));
        QVERIFY(list.open(QIODevice::ReadOnly));
        const QString listCsv = QString::fromUtf8(list.readAll());
        QVERIFY2(listCsv.contains(QStringLiteral("1,国語,4,江藤,") + viewpoint3 + QStringLiteral(",すべて,B,A,発表の記録から,2024/07/12")),
                 qPrintable(listCsv));
    }

    // テスト別: totals of the columns sat, 未 and the letters of the observation test.
    void testTallyShowsWhatWasSat()
    {
        TestEnv env;
        ClassFileStandIn classFile;
        writeClass(env, classFile);
        MainWindow& window = start(env);
        auto* w = qobject_cast<TestTallyWindow*>(window.openTestTallyWindow());
        QVERIFY(w);
        auto* grid = child<QTableWidget>(w, "pupilGrid");
        QCOMPARE(gridRow(grid, 1), (QStringList{"2", "石田", "30/50", "30", "欠", "", "", "3"}));
        QCOMPARE(gridRow(grid, 2), (QStringList{"3", "上田", "50/50", "50", "未", "", "", "1"}));
        QCOMPARE(child<QLabel>(w, "classAverage")->text(), QStringLiteral("81.7"));
        QCOMPARE(DistributionText::counts(w->shownTally().distribution), QStringLiteral("人数 3人　欠席 1人　未入力 1人"));
        child<QComboBox>(w, "testChooser")->setCurrentIndex(2);
        QCOMPARE(gridRow(grid, 2), (QStringList{"3", "上田", "C", "C", "", "", "", "4"}));
    }

    // A class file that cannot be read is named, and the scores open without it.
    void anUnreadableClassFileIsNamedAndTheScoresOpen()
    {
        TestEnv env;
        ClassFileStandIn classFile;
        writeClass(env, classFile);
        classFile.refusedRead = QStringLiteral("assessment.json の 3 行目が読めません。");
        MainWindow& window = start(env);
        // Grades of another unit still in memory are not taken for this one.
        env.data.overrulings = {{1, 0, {}, QStringLiteral("3"), QStringLiteral("1"), QStringLiteral("算数の"), Today}};
        OverallTallyWindow* w = openOverall(env, window);
        QVERIFY(w);
        QVERIFY(env.data.overrulings.isEmpty());
        QVERIFY(!gridRow(child<QTableWidget>(w, "pupilGrid"), 0)[4].contains(QStringLiteral("＊")));
        QVERIFY(env.ui.messageTexts().contains(classFile.refusedRead));
        // Unweighted, and the cells not entered read as the 0 the score file holds.
        QVERIFY(!child<QLabel>(w, "weightNote")->isVisibleTo(w));
        // 上田: (100 + 0 + 0 + 33.3) / 4.
        QCOMPARE(gridRow(child<QTableWidget>(w, "pupilGrid"), 2)[2], QStringLiteral("33.3"));
        // kazane-export refuses rather than print unweighted figures.
        const ExportRun run = runExport(env, {"aryoiki", "--csv", env.dir.filePath(QStringLiteral("x.csv"))});
        QVERIFY(run.code != 0);
        QVERIFY2(run.err.contains(classFile.refusedRead), qPrintable(run.err));
    }

    // The statistics say when the average they give is weighted.
    void statisticsSayWhenTheAverageIsWeighted()
    {
        TestEnv env;
        ClassFileStandIn classFile;
        writeClass(env, classFile);
        MainWindow& window = start(env);
        auto* w = qobject_cast<StatisticsWindow*>(window.openStatisticsWindow(true));
        QVERIFY(w);
        auto* grid = child<QTableWidget>(w, "scoreGrid");
        QCOMPARE(grid->item(2, 3)->text(), QStringLiteral("未"));
        QCOMPARE(grid->item(0, 5)->text(), QStringLiteral("A"));
        grid->setRangeSelected(QTableWidgetSelectionRange(0, 2, 0, 5), true);
        child<QPushButton>(w, "calculateButton")->click();
        QCOMPARE(child<QLabel>(w, "convertedAverage")->text(), QStringLiteral(" 80"));
        QCOMPARE(child<QLabel>(w, "weightNote")->text(), QStringLiteral("重み付きの平均"));
    }
};

QTEST_MAIN(OverrulingWindowsTest)
#include "test_overruling_windows.moc"
