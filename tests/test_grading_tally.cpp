// The tallies of a small class with weights, cells not entered yet and an
// observation test, every figure worked out by hand (国語, four pupils):
//
//   T1 漢字テスト  weight 2, two columns of 観点Ⅰ, 50 + 50
//        P1 40, 45   P2 30, 欠   P3 50, 未   P4 欠, 欠
//   T2 計算        weight 1, one column of 観点Ⅱ, 20
//        P1 10       P2 20       P3 未       P4 15
//   T3 発表の様子  weight 0.5, observation (A/B/C = 3/2/1 of 3), 観点Ⅲ
//        P1 A        P2 B        P3 C        P4 B
//
// Percentages: T1 P1 80, 90; P2 60; P3 100. T2 P1 50, P2 100, P4 75. T3 100, 66.67, 33.33, 66.67.
// Overall = Σ weight × percent ÷ Σ weight:
//   P1 (2·80 + 2·90 + 50 + 0.5·100) / 5.5 = 440 / 5.5 = 80.0         rank 2
//   P2 (2·60 + 100 + 0.5·66.67) / 3.5 = 253.33 / 3.5 = 72.38 → 72.4   rank 3
//   P3 (2·100 + 0.5·33.33) / 2.5 = 216.67 / 2.5 = 86.67 → 86.7        rank 1
//   P4 (75 + 0.5·66.67) / 1.5 = 108.33 / 1.5 = 72.22 → 72.2           rank 4
// 観点Ⅰ P1 85.0 (2), P2 60.0 (3), P3 100.0 (1), P4 none. 観点Ⅱ P1 50.0 (3), P2 100.0 (1),
// P4 75.0 (2), P3 none. 観点Ⅲ 100.0 (1), 66.7 (2), 33.3 (4), 66.7 (2).
// Against goals (80 / 50): Ⅰ A B A -; Ⅱ B A - B; Ⅲ A B C B. From the viewpoints
// (2.5 / 1.5): P1 (3+2+3)/3 = 2.67 → 3; P2 6/3 = 2 → 2; P3 (3+1)/2 = 2 → 2; P4 4/2 → 2.
//
// テスト別 T1 (100): P1 85, P2 30 of 50 sat = 60 %, P3 50 of 50 = 100 %, P4 欠; ranks
// P3 1, P1 2, P2 3; class average (85 + 60 + 100) / 3 = 81.7; column averages
// 40.0 and 45.0; 人数 3, 欠席 1 (P4), 未入力 1 (P3).

#include "model/AppSettings.h"
#include "model/ClassData.h"
#include "tally/Evaluation.h"
#include "tally/GradeOverrulings.h"
#include "tally/OverallTallyText.h"
#include "tally/PupilTallyText.h"
#include "tally/Statistics.h"
#include "tally/StatisticsText.h"
#include "tally/TestTallyText.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {

void setColumn(TestSet& set, int t, int c, int viewpoint, int full, const QList<int>& scores)
{
    set.viewpoint[t][c] = viewpoint;
    set.fullMarks[t][c] = full;
    for (int p = 1; p <= scores.size(); ++p)
        set.score[t][c][p] = scores[p - 1];
}

ClassData smallClass()
{
    ClassData data;
    data.pupilCount = 4;
    data.pupilName[1] = QStringLiteral("青木");
    data.pupilName[2] = QStringLiteral("石田");
    data.pupilName[3] = QStringLiteral("上田");
    data.pupilName[4] = QStringLiteral("江藤");
    TestSet& set = data.tests;
    set.count = 3;
    set.name[1] = QStringLiteral("漢字テスト");
    set.columnCount[1] = 2;
    setColumn(set, 1, 1, 1, 50, {40, 30, 50, Absent});
    setColumn(set, 1, 2, 1, 50, {45, Absent, NotEntered, Absent});
    set.weight[1] = 2;
    set.name[2] = QStringLiteral("計算");
    set.columnCount[2] = 1;
    setColumn(set, 2, 1, 2, 20, {10, 20, NotEntered, 15});
    set.name[3] = QStringLiteral("発表の様子");
    set.columnCount[3] = 1;
    setColumn(set, 3, 1, 3, 3, {3, 2, 1, 2});
    set.kind[3] = TestKind::Observation;
    set.weight[3] = 0.5;
    return data;
}

void gradeAgainstGoals(ClassData& data, const QString& counted = QStringLiteral("1111"))
{
    SubjectCriteria& criteria = data.criteria[1];
    for (GroupCriteria& group : criteria.groups)
        group.basis = GradeBasis::Goals;
    for (int v = 1; v <= 4; ++v)
        criteria.fromViewpoints.counted[size_t(v)] = counted.at(v - 1) == QLatin1Char('1');
}

// Average, rank and grade of every pupil of a group, as the texts write them.
QStringList groupTexts(const TallyFigure* figures, int pupils)
{
    QStringList texts;
    for (int p = 1; p <= pupils; ++p) {
        const TallyFigure& figure = figures[p];
        texts << (figure.hasValue() ? QStringLiteral("%1/%2/%3")
                                          .arg(QString::number(figure.average.value, 'f', 1))
                                          .arg(int(figure.rank.value))
                                          .arg(figure.evaluation)
                                    : QStringLiteral("-"));
    }
    return texts;
}

}  // namespace

class GradingTallyTest : public QObject {
    Q_OBJECT

private slots:
    // 総合集計 over every test, against goals: every average, rank and grade.
    void overallTallyWeighsTestsAndGradesAgainstGoals()
    {
        ClassData data = smallClass();
        gradeAgainstGoals(data);
        const OverallTally tally = computeOverallTally(data, 1, {1, 2, 3});
        QCOMPARE(groupTexts(tally.overall, 4), (QStringList{"80.0/2/3", "72.4/3/2", "86.7/1/2", "72.2/4/2"}));
        QCOMPARE(groupTexts(tally.viewpoint[1], 4), (QStringList{"85.0/2/A", "60.0/3/B", "100.0/1/A", "-"}));
        QCOMPARE(groupTexts(tally.viewpoint[2], 4), (QStringList{"50.0/3/B", "100.0/1/A", "-", "75.0/2/B"}));
        QCOMPARE(groupTexts(tally.viewpoint[3], 4), (QStringList{"100.0/1/A", "66.7/2/B", "33.3/4/C", "66.7/2/B"}));
        QCOMPARE(groupTexts(tally.viewpoint[4], 4), (QStringList{"-", "-", "-", "-"}));
        // Class averages: overall (80 + 72.38 + 86.67 + 72.22) / 4 = 77.8; Ⅰ 245 / 3 = 81.7.
        QCOMPARE(OverallTallyText::overallAverage(tally), QStringLiteral("77.8"));
        QCOMPARE(OverallTallyText::viewpointRow(tally, 1), (QStringList{"1", data.viewpointName[1][1], "81.7", "2"}));
        QVERIFY(tally.weighted);
        QCOMPARE(OverallTallyText::countedTests(tally),
                 QStringLiteral("集計したテスト（3）・重み付きの平均：漢字テスト（重み2）、計算、発表の様子（重み0.5）"));
        // Every test chosen: the teacher's grades are kept for "every test".
        QVERIFY(tally.overrulingTests.isEmpty());
    }

    // Viewpoint Ⅲ left out of the overall grade ("1101"): P1 A B → 2.5 → 3; P2 B A → 3;
    // P3 A → 3; P4 B → 2. A pupil without any viewpoint grade has no 評定.
    void overallGradeCountsOnlyTheTickedViewpoints()
    {
        ClassData data = smallClass();
        gradeAgainstGoals(data, QStringLiteral("1101"));
        const OverallTally tally = computeOverallTally(data, 1, {1, 2, 3});
        QCOMPARE(groupTexts(tally.overall, 4), (QStringList{"80.0/2/3", "72.4/3/3", "86.7/1/3", "72.2/4/2"}));
        // Only test 3 chosen, with Ⅲ not counted: every pupil has an average and no 評定.
        const OverallTally third = computeOverallTally(data, 1, {3});
        QCOMPARE(third.overall[1].evaluation, QString());
        QCOMPARE(OverallTallyText::countedTests(third), QStringLiteral("集計したテスト（1）・重み付きの平均：発表の様子（重み0.5）"));
        QCOMPARE(third.overrulingTests, QList<int>{3});
    }

    // Every weight 1: the plain mean, to the last bit (P2 (60 + 100 + 66.67) / 3).
    void weightsOfOneGiveThePlainMean()
    {
        ClassData data = smallClass();
        data.tests.weight.fill(1.0);
        const OverallTally tally = computeOverallTally(data, 1, {1, 2, 3});
        const float plain = float((100.0 / 50 * 30 + 100.0 / 20 * 20 + 100.0 / 3 * 2) / 3);
        QCOMPARE(tally.overall[2].average.value, double(plain));
        QVERIFY(!tally.weighted);
        QCOMPARE(OverallTallyText::countedTests(tally), QStringLiteral("集計したテスト（3）：漢字テスト、計算、発表の様子"));
    }

    // 個人集計: the rows of each pupil and the notes.
    void pupilTallyShowsEveryColumnAndWhatWasSat()
    {
        ClassData data = smallClass();
        gradeAgainstGoals(data);
        const PupilTally tally = computePupilTally(data, 1);
        const auto rows = [&tally](int pupil) { return PupilTallyText::gridRows(tally, pupil); };
        // P1: both 観点Ⅰ columns summed under 観点Ⅰ (40 + 45 = 85), never one of them.
        QCOMPARE(rows(1)[0], (QStringList{"1", "漢字テスト（重み2）", "85", "85", "", "", "", "2"}));
        QCOMPARE(rows(1)[2], (QStringList{"3", "発表の様子（重み0.5）", "A", "", "", "A", "", "1"}));
        // P2 missed a column: 30 of the 50 sat, ranked on them (60 %).
        QCOMPARE(rows(2)[0], (QStringList{"1", "漢字テスト（重み2）", "30/50", "30/50", "", "", "", "3"}));
        QCOMPARE(rows(2)[1], (QStringList{"2", "計算", "20", "", "20", "", "", "1"}));
        QCOMPARE(rows(2)[2], (QStringList{"3", "発表の様子（重み0.5）", "B", "", "", "B", "", "2"}));
        // P3: 未 where nothing was typed yet; ranked first in T1 on the column sat.
        QCOMPARE(rows(3)[0], (QStringList{"1", "漢字テスト（重み2）", "50/50", "50/50", "", "", "", "1"}));
        QCOMPARE(rows(3)[1], (QStringList{"2", "計算", "未", "", "未", "", "", "- "}));
        QCOMPARE(rows(3)[2], (QStringList{"3", "発表の様子（重み0.5）", "C", "", "", "C", "", "4"}));
        // P4 absent throughout T1.
        QCOMPARE(rows(4)[0], (QStringList{"1", "漢字テスト（重み2）", "欠", "欠", "", "", "", "- "}));
        const PupilSummary summary = PupilTallyText::summary(tally, 3);
        QCOMPARE(QStringList({summary.average[0], summary.rank[0], summary.evaluation[0]}), (QStringList{"86.7", "1", "2"}));
        QCOMPARE(QStringList({summary.average[2], summary.rank[2], summary.evaluation[2]}), (QStringList{"  -  ", "-", "-"}));
        QCOMPARE(PupilTallyText::notEnteredNote(tally), QStringLiteral("未入力のある児童：1人"));
        QVERIFY(PupilTallyText::averageNote(tally).startsWith(QStringLiteral("平均は重み付きの平均")));
        // The sheet: the same cells with a blank before each number, the note printed only.
        const ReportSheet sheet = kojinSheet(tally, 2, QStringLiteral("個人別成績集計-国語"));
        QCOMPARE(sheet.rows[0], (QStringList{"1", "漢字テスト（重み2）", " 30/50", " 30/50", "-", "-", "-", " 3"}));
        QCOMPARE(sheet.fieldValue(QStringLiteral("AverageNote")), PupilTallyText::averageNote(tally));
        QCOMPARE(sheet.titleValues.mid(2, 3), (QStringList{"72.4", "3", "2"}));
    }

    // テスト別 of each test: totals, ranks, averages and the counts under the chart.
    void testTallyRanksOnTheColumnsSat()
    {
        ClassData data = smallClass();
        const TestTally first = computeTestTally(data, 1, 1, TallyOrder::AttendanceNumber);
        QCOMPARE(TestTallyText::gridRows(first),
                 (QList<QStringList>{{"1", "青木", "85", "40", "45", "", "", "2"},
                                     {"2", "石田", "30/50", "30", "欠", "", "", "3"},
                                     {"3", "上田", "50/50", "50", "未", "", "", "1"},
                                     {"4", "江藤", "欠", "欠", "欠", "", "", "- "}}));
        QCOMPARE(TestTallyText::classAverage(first), QStringLiteral("81.7"));
        QCOMPARE(TestTallyText::columnAverage(first, 0), QStringLiteral("40.0"));
        QCOMPARE(TestTallyText::columnAverage(first, 1), QStringLiteral("45.0"));
        QCOMPARE(DistributionText::counts(first.distribution), QStringLiteral("人数 3人　欠席 1人　未入力 1人"));
        // Bins of the columns sat: 85 → 80～89, 30 of 50 → 60～69, 50 of 50 → 90～100.
        QCOMPARE(first.distribution.counts[8], 1);
        QCOMPARE(first.distribution.counts[6], 1);
        QCOMPARE(first.distribution.counts[9], 1);

        const TestTally second = computeTestTally(data, 1, 2, TallyOrder::Score);
        QCOMPARE(TestTallyText::gridRows(second),
                 (QList<QStringList>{{"1", "石田", "20", "20", "", "", "", "2"},
                                     {"2", "江藤", "15", "15", "", "", "", "4"},
                                     {"3", "青木", "10", "10", "", "", "", "1"},
                                     {"  -  ", "上田", "未", "未", "", "", "", "3"}}));
        QCOMPARE(TestTallyText::classAverage(second), QStringLiteral("75.0"));
        QCOMPARE(DistributionText::counts(second.distribution), QStringLiteral("人数 3人　欠席 0人　未入力 1人"));

        // The observation test: letters; percentages 100, 66.7, 33.3, 66.7.
        const TestTally third = computeTestTally(data, 1, 3, TallyOrder::AttendanceNumber);
        QCOMPARE(TestTallyText::gridRows(third),
                 (QList<QStringList>{{"1", "青木", "A", "A", "", "", "", "1"},
                                     {"2", "石田", "B", "B", "", "", "", "2"},
                                     {"3", "上田", "C", "C", "", "", "", "4"},
                                     {"4", "江藤", "B", "B", "", "", "", "2"}}));
        QCOMPARE(TestTallyText::classAverage(third), QStringLiteral("66.7"));
        QCOMPARE(DistributionText::counts(third.distribution), QStringLiteral("人数 4人　欠席 0人"));
        // The sheet shows the same letters.
        QCOMPARE(testdispSheet(third, QStringLiteral("テスト別成績集計-国語")).rows[0],
                 (QStringList{"1", "青木", "A", "A", "-", "-", "-", "1"}));
    }

    // A pupil absent in every column has no rank; one who sat a column of full marks 0
    // only has no percentage either.
    void aPupilWithoutAnyColumnSatHasNoRank()
    {
        ClassData data = smallClass();
        const TestTotals totals = computeTestTotals(data, 1);
        QCOMPARE(totals.percent[4], -1.0f);
        QCOMPARE(totals.total(4), TallyNumber::absent());
        QCOMPARE(totals.percent[2], 60.0f);
        QVERIFY(totals.partial(2));
        QVERIFY(!totals.partial(1));
        QCOMPARE(totals.notEnteredPupils(), 1);
        // Every cell of T2 for P3 not entered: 未, not 欠.
        QCOMPARE(computeTestTotals(data, 2).total(3), TallyNumber::notEntered());
    }

    // The statistics' converted average weighs each score by its test.
    void statisticsWeighTheConvertedAverage()
    {
        ClassData data = smallClass();
        const StatisticsTable table = buildStatisticsTable(data, 1);
        // P1's row: 80, 90 (weight 2), 50 (1), 100 (0.5): 440 / 5.5 = 80.0.
        const StatisticsResult row = computeStatistics(table, {1, 1, 1, 4});
        QCOMPARE(row.convertedAverage, TallyNumber::of(80.0));
        QCOMPARE(StatisticsText::results(row).note, QStringLiteral("重み付きの平均"));
        // The column of T2: not weighted against anything else but still weight 1.
        const StatisticsResult second = computeStatistics(table, {1, 3, 4, 3});
        QCOMPARE(second.count, 3);  // P3 not entered is left out
        QCOMPARE(second.convertedAverage, TallyNumber::of(75.0));
        QCOMPARE(StatisticsText::results(second).note, QString());
        QCOMPARE(StatisticsText::cell(table.columns[1], 3), QStringLiteral("未"));
        QCOMPARE(StatisticsText::cell(table.columns[1], 2), QStringLiteral("欠"));
        QCOMPARE(StatisticsText::cell(table.columns[3], 1), QStringLiteral("A"));
        QCOMPARE(StatisticsText::testTitle(table, 1), QStringLiteral("【1】 漢字テスト（重み2）"));
    }
};

QTEST_MAIN(GradingTallyTest)
#include "test_grading_tally.moc"
