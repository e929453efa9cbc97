// The statistics window, opened from both of its menu entries: the grid of every
// score, the labels that follow the current column, and 計 算 on blocks selected
// with the mouse as a teacher selects them.

#include "model/NewClass.h"
#include "MainWindowControls.h"
#include "DataFiles.h"
#include "TallyReadBack.h"
#include "Controls.h"
#include "TestEnv.h"
#include "reports/StatisticsWindow.h"
#include "app/MainWindow.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

using namespace MainControls;
using namespace DataFiles;
using namespace TallyReadBack;

using Controls::child;

namespace {

const QString NoScores = QStringLiteral("指定範囲に有効な点数はありません.");

void clickCell(QTableWidget* grid, int row, int column, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    const QModelIndex index = grid->model()->index(row, column);
    grid->scrollTo(index);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, modifiers, grid->visualRect(index).center());
}

// Selects the block from one corner to the other: click, then SHIFT+click.
void selectBlock(QTableWidget* grid, int row1, int column1, int row2, int column2)
{
    clickCell(grid, row1, column1);
    clickCell(grid, row2, column2, Qt::ShiftModifier);
}

QStringList results(const StatisticsWindow& w)
{
    return {child<QLabel>(&w, "convertedAverage")->text(), child<QLabel>(&w, "ownAverage")->text(), child<QLabel>(&w, "highest")->text(), child<QLabel>(&w, "lowest")->text()};
}

}  // namespace

class StatisticsTest : public QObject {
    Q_OBJECT

    // 漢字: 観点Ⅰ out of 50 (40, 30, absent) and 観点Ⅳ out of 10; 計算: 観点Ⅱ out of 3;
    // 検定: no viewpoint, out of 200.
    void writeClass(TestEnv& env)
    {
        env.makeClass({QStringLiteral("青木"), QStringLiteral("石田"), QStringLiteral("上田")});
        env.writeFile(QStringLiteral("国語.dat"),
                      scoreLines({
                          {QStringLiteral("漢字"), {{1, 50, {40, 30, -1}}, {4, 10, {5, 10, 6}}}},
                          {QStringLiteral("計算"), {{2, 3, {2, 1, 2}}}},
                          {QStringLiteral("検定"), {{0, 200, {150, 120, 180}}}},
                      }));
    }

    StatisticsWindow* open(MainWindow& window, bool fromFreeMenu = true)
    {
        (fromFreeMenu ? menuEntry(window, "freeStatisticsAction") : menuEntry(window, "viewpointTrendsAction"))->trigger();
        auto* w = qobject_cast<StatisticsWindow*>(window.activeChild());
        if (w)
            w->resize(900, 500);
        return w;
    }

private slots:
    // One rounding rule for every average: the same column's average reads the same
    // in テスト別 and in 自由集計, also where rounding and cutting differ.
    void theSameAverageInEveryWindow_data()
    {
        QTest::addColumn<QList<int>>("scores");
        QTest::addColumn<QString>("average");
        QTest::newRow("31.75") << QList<int>{31, 32, 32, 32} << QStringLiteral("31.8");
        QList<int> twenty(19, 32);
        twenty << 31;  // 639 / 20 = 31.95, which a cut would show as 31.9
        QTest::newRow("31.95") << twenty << QStringLiteral("32.0");
        QTest::newRow("1.666") << QList<int>{2, 1, 2} << QStringLiteral("1.7");
        QTest::newRow("a half") << QList<int>{0, 1} << QStringLiteral(".5");
    }

    void theSameAverageInEveryWindow()
    {
        QFETCH(QList<int>, scores);
        QFETCH(QString, average);
        TestEnv env;
        env.makeClass(pupilNames(int(scores.size())));
        env.writeFile(QStringLiteral("国語.dat"), scoreLines({{QStringLiteral("漢字"), {{1, 50, scores}}}}));
        MainWindow& window = env.startMainWindow();
        menuEntry(window, "testTallyAction")->trigger();
        QCOMPARE(child<QLabel>(window.activeChild(), "columnAverage1")->text(), average);
        StatisticsWindow* w = open(window);
        QVERIFY(w);
        selectBlock(child<QTableWidget>(w, "scoreGrid"), 0, 2, int(scores.size()) - 1, 2);
        child<QPushButton>(w, "calculateButton")->click();
        QCOMPARE(child<QLabel>(w, "ownAverage")->text().toDouble(), average.toDouble());
    }

    void laysOutEveryScore()
    {
        TestEnv env;
        writeClass(env);
        MainWindow& window = env.startMainWindow();
        StatisticsWindow* w = open(window);
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), QStringLiteral("教科内自由集計-国語"));
        QCOMPARE(child<QTableWidget>(w, "scoreGrid")->rowCount(), 3);
        QCOMPARE(headings(child<QTableWidget>(w, "scoreGrid")), (QStringList{"番号", "氏名", " 1", "", " 2", " 3"}));
        QCOMPARE(gridRow(child<QTableWidget>(w, "scoreGrid"), 0), (QStringList{" 1", "青木", "40", "5", "2", "150"}));
        QCOMPARE(gridRow(child<QTableWidget>(w, "scoreGrid"), 2), (QStringList{" 3", "上田", "欠", "6", "2", "180"}));
        QCOMPARE(child<QLabel>(w, "testCount")->text(), QStringLiteral(" 3 "));
        QCOMPARE(child<QLabel>(w, "testCountCaption")->text(), QStringLiteral(" ﾃｽﾄ数："));
        QCOMPARE(child<QPushButton>(w, "calculateButton")->text(), QStringLiteral("計 算(&C)"));

        // The labels follow the current column.
        QCOMPARE(child<QTableWidget>(w, "scoreGrid")->currentColumn(), 2);
        QCOMPARE(child<QLabel>(w, "testName")->text(), QStringLiteral("【1】 漢字"));
        QCOMPARE(child<QLabel>(w, "viewpointName")->text(), QStringLiteral("関心,意欲,態度"));
        QCOMPARE(child<QLabel>(w, "fullMarks")->text(), QStringLiteral("満点:50"));
        clickCell(child<QTableWidget>(w, "scoreGrid"), 1, 3);
        QCOMPARE(child<QLabel>(w, "testName")->text(), QStringLiteral("【1】 漢字"));
        QCOMPARE(child<QLabel>(w, "viewpointName")->text(), QStringLiteral("言語の知識"));
        QCOMPARE(child<QLabel>(w, "fullMarks")->text(), QStringLiteral("満点:10"));
        QTest::keyClick(child<QTableWidget>(w, "scoreGrid"), Qt::Key_Right);
        QCOMPARE(child<QLabel>(w, "testName")->text(), QStringLiteral("【2】 計算"));
        QCOMPARE(child<QLabel>(w, "fullMarks")->text(), QStringLiteral("満点:3"));
        // The number and name columns leave the labels as they were.
        clickCell(child<QTableWidget>(w, "scoreGrid"), 0, 1);
        QCOMPARE(child<QLabel>(w, "testName")->text(), QStringLiteral("【2】 計算"));

        // Tally windows switch off the editing commands; this one prints nothing.
        QVERIFY(!toolbarButton(window, "scoreEntryButton")->isEnabled());
        QVERIFY(!toolbarButton(window, "printButton")->isEnabled());
        child<QPushButton>(w, "closeButton")->click();
        QTest::qWait(0);
        QVERIFY(toolbarButton(window, "scoreEntryButton")->isEnabled());
        QVERIFY(env.ui.messages.isEmpty());
    }

    void computesTheSelectedBlock()
    {
        TestEnv env;
        writeClass(env);
        MainWindow& window = env.startMainWindow();
        StatisticsWindow* w = open(window, false);
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), QStringLiteral("教科内自由集計-国語"));

        // One column, 40 and 30 of 50 and one absent: 70 on 100 points, 35 on 50.
        selectBlock(child<QTableWidget>(w, "scoreGrid"), 0, 2, 2, 2);
        child<QPushButton>(w, "calculateButton")->click();
        QCOMPARE(results(*w), (QStringList{" 70", " 35", " 40", " 30"}));

        // The same block selected from its lower corner.
        selectBlock(child<QTableWidget>(w, "scoreGrid"), 2, 2, 0, 2);
        child<QPushButton>(w, "calculateButton")->click();
        QCOMPARE(results(*w), (QStringList{" 70", " 35", " 40", " 30"}));

        // Two columns of different full marks: 80, 60, 50, 100, 60 percent = 70 on 100
        // points; no average on the columns' own marks.
        selectBlock(child<QTableWidget>(w, "scoreGrid"), 0, 3, 2, 2);
        child<QPushButton>(w, "calculateButton")->click();
        QCOMPARE(results(*w), (QStringList{" 70", "", " 40", " 5"}));

        // 2, 1, 2 of 3: 55.55.. and 1.66.. are rounded as every average of the
        // program is (half away from zero), not cut.
        selectBlock(child<QTableWidget>(w, "scoreGrid"), 0, 4, 2, 4);
        child<QPushButton>(w, "calculateButton")->click();
        QCOMPARE(results(*w), (QStringList{" 55.6", " 1.7", " 2", " 1"}));
        clickCell(child<QTableWidget>(w, "scoreGrid"), 0, 4);
        child<QPushButton>(w, "calculateButton")->click();
        QCOMPARE(results(*w), (QStringList{" 66.7", " 2", " 2", " 2"}));

        // Scores above 100 (out of 200): the lowest selected score is the minimum.
        selectBlock(child<QTableWidget>(w, "scoreGrid"), 0, 5, 1, 5);
        child<QPushButton>(w, "calculateButton")->click();
        QCOMPARE(results(*w), (QStringList{" 67.5", " 135", " 150", " 120"}));

        // A block that reaches into the number and name columns counts only the scores.
        selectBlock(child<QTableWidget>(w, "scoreGrid"), 0, 0, 1, 2);
        child<QPushButton>(w, "calculateButton")->click();
        QCOMPARE(results(*w), (QStringList{" 70", " 35", " 40", " 30"}));

        // A whole column chosen by its heading.
        QTest::mouseClick(child<QTableWidget>(w, "scoreGrid")->horizontalHeader()->viewport(), Qt::LeftButton, {},
                          QPoint(child<QTableWidget>(w, "scoreGrid")->horizontalHeader()->sectionViewportPosition(3) + 5, 5));
        child<QPushButton>(w, "calculateButton")->click();
        QCOMPARE(results(*w), (QStringList{" 70", " 7", " 10", " 5"}));
        QVERIFY(env.ui.messages.isEmpty());
        QCOMPARE(env.ui.busyDepth, 0);
    }

    void saysSoWhenNoScoreIsSelected()
    {
        TestEnv env;
        writeClass(env);
        MainWindow& window = env.startMainWindow();
        StatisticsWindow* w = open(window);
        QVERIFY(w);
        // 40 of 50 and 5 of 10: (80 + 50) / 2.
        selectBlock(child<QTableWidget>(w, "scoreGrid"), 0, 2, 0, 3);
        child<QPushButton>(w, "calculateButton")->click();
        QCOMPARE(results(*w), (QStringList{" 65", "", " 40", " 5"}));

        // Only an absent pupil's cell: message, the results are emptied.
        clickCell(child<QTableWidget>(w, "scoreGrid"), 2, 2);
        child<QPushButton>(w, "calculateButton")->click();
        QCOMPARE(env.ui.messageTexts(), QStringList{NoScores});
        QCOMPARE(env.ui.messages[0].buttons, Ui::Buttons::Ok);
        QCOMPARE(results(*w), (QStringList{"", "", "", ""}));

        // Only names.
        selectBlock(child<QTableWidget>(w, "scoreGrid"), 0, 0, 2, 1);
        child<QPushButton>(w, "calculateButton")->click();
        QCOMPARE(env.ui.messages.size(), 2);
        QCOMPARE(env.ui.lastMessage(), NoScores);
    }

    void withoutTestsOrWithOddColumns()
    {
        {
            // No tests: two empty data columns, " 0 " tests, nothing to compute.
            TestEnv env;
            env.makeClass({QStringLiteral("青木"), QStringLiteral("石田")});
            MainWindow& window = env.startMainWindow();
            StatisticsWindow* w = open(window);
            QVERIFY(w);
            QCOMPARE(child<QTableWidget>(w, "scoreGrid")->columnCount(), 4);
            QCOMPARE(gridRow(child<QTableWidget>(w, "scoreGrid"), 0), (QStringList{" 1", "青木", "", ""}));
            QCOMPARE(child<QLabel>(w, "testCount")->text(), QStringLiteral(" 0 "));
            // The current column holds no test: its labels stay empty.
            QCOMPARE(child<QLabel>(w, "testName")->text(), QString());
            QCOMPARE(child<QLabel>(w, "fullMarks")->text(), QString());
            selectBlock(child<QTableWidget>(w, "scoreGrid"), 0, 2, 1, 3);
            child<QPushButton>(w, "calculateButton")->click();
            QCOMPARE(env.ui.messageTexts(), QStringList{NoScores});
            QCOMPARE(results(*w), (QStringList{"", "", "", ""}));
        }
        {
            // A column out of 0 marks: its scores have no percentage; the raw figures stand.
            TestEnv env;
            env.makeClass({QStringLiteral("青木"), QStringLiteral("石田")});
            env.writeFile(QStringLiteral("国語.dat"),
                          scoreLines({{QStringLiteral("観察"), {{3, 0, {0, 0}}, {3, 10, {6, 9}}}}}));
            MainWindow& window = env.startMainWindow();
            StatisticsWindow* w = open(window);
            QVERIFY(w);
            QCOMPARE(child<QTableWidget>(w, "scoreGrid")->columnCount(), 4);
            selectBlock(child<QTableWidget>(w, "scoreGrid"), 0, 2, 1, 2);
            child<QPushButton>(w, "calculateButton")->click();
            QCOMPARE(results(*w), (QStringList{" -", " 0", " 0", " 0"}));
            selectBlock(child<QTableWidget>(w, "scoreGrid"), 0, 2, 1, 3);
            child<QPushButton>(w, "calculateButton")->click();
            QCOMPARE(results(*w), (QStringList{" 75", "", " 9", " 0"}));
            QVERIFY(env.ui.messages.isEmpty());
        }
    }

    // Twenty tests of four columns: eighty data columns.
    void manyColumns()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木"), QStringLiteral("石田")});
        QList<Test> tests;
        for (int t = 1; t <= 20; ++t)
            tests.append({QStringLiteral("小テスト%1").arg(t),
                          {{1, 10, {t % 10, 1}}, {2, 20, {t, 2}}, {3, 25, {5, 3}}, {4, 50, {t, 4}}}});
        env.writeFile(QStringLiteral("国語.dat"), scoreLines(tests));
        MainWindow& window = env.startMainWindow();
        StatisticsWindow* w = open(window);
        QVERIFY(w);
        QCOMPARE(child<QTableWidget>(w, "scoreGrid")->columnCount(), 82);
        // The last column: test 20's 観点Ⅳ out of 50, scores 20 and 4.
        selectBlock(child<QTableWidget>(w, "scoreGrid"), 0, 81, 1, 81);
        QCOMPARE(child<QLabel>(w, "testName")->text(), QStringLiteral("【20】 小テスト20"));
        QCOMPARE(child<QLabel>(w, "fullMarks")->text(), QStringLiteral("満点:50"));
        child<QPushButton>(w, "calculateButton")->click();
        QCOMPARE(results(*w), (QStringList{" 24", " 12", " 20", " 4"}));
    }

    // Every tally command refuses a class without pupils, from the menu and the toolbar.
    void tallyCommandsRefuseAClassWithoutPupils()
    {
        TestEnv env;
        env.makeClass({});
        MainWindow& window = env.startMainWindow();
        env.ui.clear();
        for (const char* entry : {"freeStatisticsAction", "viewpointTrendsAction", "overallTallyAction", "pupilResultsAction"})
            menuEntry(window, entry)->trigger();
        for (const char* key : {"overallTallyButton", "pupilResultsButton", "statisticsButton"})
            toolbarButton(window, key)->trigger();
        QCOMPARE(env.ui.messageTexts(),
                 QStringList(7, NewClass::noPupilsMessage()));
        QVERIFY(env.ui.modalDialogs.isEmpty());
        QVERIFY(window.mdiArea()->subWindowList().isEmpty());
    }
};

QTEST_MAIN(StatisticsTest)
#include "test_statistics.moc"
