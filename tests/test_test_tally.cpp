// The per-test tally's figures and states, checked against hand-computed values,
// and the texts the window shows and the "testdisp" sheet prints, both made from them.

#include "model/ClassData.h"
#include "tally/TestTallyText.h"
#include "tally/TestTotals.h"

#include <QTest>

namespace {

struct ColumnDef {
    int kind;
    int fullMarks;
    QList<int> scores;
};

// A class of `names.size()` pupils with one test holding the given columns.
ClassData classWithTest(const QStringList& names, const QList<ColumnDef>& columns, int subject = 1)
{
    ClassData data;
    data.setDefaultViewpointNames();
    data.subject = subject;
    data.pupilCount = int(names.size());
    for (int p = 1; p <= names.size(); ++p)
        data.pupilName[p] = names[p - 1];
    data.tests.count = 1;
    data.tests.name[1] = QStringLiteral("単元テスト");
    data.tests.columnCount[1] = int(columns.size());
    for (int c = 1; c <= columns.size(); ++c) {
        data.tests.viewpoint[1][c] = columns[c - 1].kind;
        data.tests.fullMarks[1][c] = columns[c - 1].fullMarks;
        for (int p = 1; p <= names.size(); ++p)
            data.tests.score[1][c][p] = columns[c - 1].scores[p - 1];
    }
    return data;
}

// Column c of the grid as the window shows it.
QStringList column(const TestTally& tally, int c)
{
    QStringList texts;
    for (const QStringList& row : TestTallyText::gridRows(tally))
        texts.append(row[c]);
    return texts;
}

QStringList row(const TestTally& tally, int r)
{
    return TestTallyText::gridRows(tally)[r];
}

const QStringList Three{QStringLiteral("青木"), QStringLiteral("石田"), QStringLiteral("上野")};

}  // namespace

class TestTallyTest : public QObject {
    Q_OBJECT
private slots:
    void aPupilWithNothingEnteredHasNoTotalAndComesLast()
    {
        ClassData data = classWithTest(Three, {{1, 50, {-1, 30, 20}}, {2, 50, {-1, 40, 0}}});
        TestTally tally = computeTestTally(data, data.subject, 1, TallyOrder::AttendanceNumber);
        const TestTallyRow& aoki = tally.rows[0];
        QCOMPARE(aoki.total, TallyNumber::absent());
        QCOMPARE(aoki.scores, (std::array<TallyNumber, 4>{TallyNumber::absent(), TallyNumber::absent(),
                                                          TallyNumber::notInTest(), TallyNumber::notInTest()}));
        QCOMPARE(aoki.rank, TallyNumber::none());
        QCOMPARE(row(tally, 0), (QStringList{QStringLiteral("1"), QStringLiteral("青木"), QStringLiteral("欠"), QStringLiteral("欠"),
                                             QStringLiteral("欠"), QString(), QString(), QStringLiteral("- ")}));
        QCOMPARE(computeTestTotals(data, 1).percent[1], -1.0f);
        // Left out of the class average: (70 + 20) / 2.
        QCOMPARE(tally.classAverage, TallyNumber::of(45.0));
        QCOMPARE(TestTallyText::classAverage(tally), QStringLiteral("45.0"));
        tally = computeTestTally(data, data.subject, 1, TallyOrder::Score);
        QCOMPARE(column(tally, 1), (QStringList{QStringLiteral("石田"), QStringLiteral("上野"), QStringLiteral("青木")}));
        QCOMPARE(tally.rows[2].pupil, 1);
        QCOMPARE(row(tally, 2)[0], QStringLiteral("  -  "));
        QCOMPARE(row(tally, 2)[7], QStringLiteral("1"));
    }

    void aTotalOfZeroRanksAndCounts()
    {
        ClassData data = classWithTest(Three, {{1, 20, {0, 10, 20}}});
        const TestTally tally = computeTestTally(data, data.subject, 1, TallyOrder::AttendanceNumber);
        QCOMPARE(column(tally, 2), (QStringList{QStringLiteral("0"), QStringLiteral("10"), QStringLiteral("20")}));
        QCOMPARE(column(tally, 3), (QStringList{QStringLiteral("0"), QStringLiteral("10"), QStringLiteral("20")}));
        QCOMPARE(column(tally, 7), (QStringList{QStringLiteral("3"), QStringLiteral("2"), QStringLiteral("1")}));
        QCOMPARE(tally.rows[0].total, TallyNumber::of(0));
        QCOMPARE(tally.rows[0].rank, TallyNumber::of(3));
        QCOMPARE(tally.classAverage, TallyNumber::of(50.0));  // (0 + 50 + 100) / 3
        QCOMPARE(TestTallyText::classAverage(tally), QStringLiteral("50.0"));
        QCOMPARE(tally.columnAverages[0], TallyNumber::of(10.0));
        QCOMPARE(TestTallyText::columnAverage(tally, 0), QStringLiteral("10.0"));
    }

    void aPartlyEnteredPupilTotalsTheEnteredColumns()
    {
        // Column 1 absent, columns 2 and 3 entered: 7 + 5, not one less, out of the 20
        // marks of the columns sat, which the pupil is ranked on.
        ClassData data = classWithTest({QStringLiteral("青木")}, {{1, 10, {-1}}, {2, 10, {7}}, {3, 10, {5}}});
        const TestTally tally = computeTestTally(data, data.subject, 1, TallyOrder::AttendanceNumber);
        QCOMPARE(tally.rows[0].total, TallyNumber::of(12));
        QCOMPARE(tally.rows[0].partialFullMarks, 20);
        QCOMPARE(row(tally, 0)[2], QStringLiteral("12/20"));
        QCOMPARE(row(tally, 0)[3], QStringLiteral("欠"));
        QCOMPARE(computeTestTotals(data, 1).percent[1], 60.0f);  // 12 of the 20 sat
        QCOMPARE(row(tally, 0)[7], QStringLiteral("1"));
    }

    void twoColumnsLeaveTheOtherTwoEmpty()
    {
        ClassData data = classWithTest(Three, {{1, 50, {45, 40, 45}}, {3, 50, {40, 30, 45}}});
        const TestTally tally = computeTestTally(data, data.subject, 1, TallyOrder::AttendanceNumber);
        QCOMPARE(tally.viewpointNames[0], QStringLiteral("関心,意欲,態度"));
        QCOMPARE(tally.viewpointNames[1], QStringLiteral("理解の能力"));
        QCOMPARE(tally.viewpointNames[2], QString());
        QCOMPARE(tally.viewpointNames[3], QString());
        QCOMPARE(column(tally, 5), (QStringList{QString(), QString(), QString()}));
        QCOMPARE(column(tally, 6), (QStringList{QString(), QString(), QString()}));
        // Columns beyond the test's own: no average (a dash, as every missing value)
        // and no full marks.
        QCOMPARE(tally.columnAverages[2], TallyNumber::notInTest());
        QCOMPARE(TestTallyText::columnAverage(tally, 2), QStringLiteral("-"));
        QCOMPARE(TestTallyText::columnAverage(tally, 3), QStringLiteral("-"));
        QCOMPARE(TestTallyText::columnFullMarks(tally, 2), QString());
        QCOMPARE(tally.fullMarks, 100);
        QCOMPARE(TestTallyText::fullMarks(tally), QStringLiteral("100"));

        const ReportSheet sheet = testdispSheet(tally, QStringLiteral("テスト別成績集計-国語"));
        auto title = [&](const char* field) { return sheet.titleValues[sheet.titleFields.indexOf(QLatin1String(field))]; };
        QCOMPARE(title("Kanten3"), QStringLiteral(" -"));
        QCOMPARE(title("Manten3"), QStringLiteral(" -"));
        QCOMPARE(title("Kanten4"), QStringLiteral(" -"));
        QCOMPARE(title("Manten4"), QStringLiteral(" -"));
        QCOMPARE(title("Manten2"), QStringLiteral("50"));
        QCOMPARE(title("Heikin3"), QStringLiteral(" -"));
        QCOMPARE(title("Heikin4"), QStringLiteral(" -"));
        QCOMPARE(title("Heikin2"), QStringLiteral("38.3"));  // (40 + 30 + 45) / 3
        QCOMPARE(title("Title"), QStringLiteral("【テスト別成績集計-国語】"));
        // Columns beyond the test go to the sheet as "-".
        QCOMPARE(sheet.rows[0].mid(5), (QStringList{QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("2")}));
        QCOMPARE(sheet.rows[0].mid(0, 5), row(tally, 0).mid(0, 5));
    }

    void columnAveragesCountOnlyEnteredScores()
    {
        ClassData data = classWithTest(Three, {{1, 100, {80, -1, 60}}, {2, 10, {-1, -1, -1}}});
        const TestTally tally = computeTestTally(data, data.subject, 1, TallyOrder::AttendanceNumber);
        QCOMPARE(tally.columnAverages[0], TallyNumber::of(70.0));
        QCOMPARE(TestTallyText::columnAverage(tally, 0), QStringLiteral("70.0"));
        // A column of the test that nobody wrote: a dash, never a division by zero.
        QCOMPARE(tally.columnAverages[1], TallyNumber::none());
        QCOMPARE(TestTallyText::columnAverage(tally, 1), QStringLiteral("-"));
        QCOMPARE(TestTallyText::columnFullMarks(tally, 1), QStringLiteral("10"));
        // One decimal, halves away from zero: 28.75 shows 28.8.
        data = classWithTest({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")},
                             {{1, 50, {40, 45, 0, 30}}});
        QCOMPARE(TestTallyText::columnAverage(computeTestTally(data, data.subject, 1, TallyOrder::AttendanceNumber), 0),
                 QStringLiteral("28.8"));
    }

    void percentagesRankTheTotals()
    {
        ClassData data = classWithTest(Three, {{1, 50, {45, 40, 45}}});
        TestTally tally = computeTestTally(data, data.subject, 1, TallyOrder::AttendanceNumber);
        const TestTotals totals = computeTestTotals(data, 1);
        QCOMPARE(totals.percent[1], 90.0f);
        QCOMPARE(totals.percent[2], 80.0f);
        QCOMPARE(totals.percents(), (std::vector<float>{90.0f, 80.0f, 90.0f}));
        QCOMPARE(column(tally, 7), (QStringList{QStringLiteral("1"), QStringLiteral("3"), QStringLiteral("1")}));
        QCOMPARE(data.currentTest, 0);  // the window, not the tally, moves the current test
        tally = computeTestTally(data, data.subject, 1, TallyOrder::Score);
        QCOMPARE(column(tally, 0), (QStringList{QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("3")}));
        QCOMPARE(column(tally, 7), (QStringList{QStringLiteral("1"), QStringLiteral("3"), QStringLiteral("2")}));
        QCOMPARE(TestTallyText::headings(tally).first(), QStringLiteral("順位"));
        QCOMPARE(TestTallyText::headings(tally).last(), QStringLiteral("番号"));

        // 53 of 60: 88.333... percent, class average of one pupil.
        data = classWithTest({QStringLiteral("青木")}, {{1, 50, {45}}, {2, 10, {8}}});
        tally = computeTestTally(data, data.subject, 1, TallyOrder::AttendanceNumber);
        QCOMPARE(row(tally, 0)[2], QStringLiteral("53"));
        QCOMPARE(TestTallyText::classAverage(tally), QStringLiteral("88.3"));
    }

    void fullMarksOfZeroGiveNoPercentage()
    {
        ClassData data = classWithTest(Three, {{1, 0, {0, 0, -1}}});
        const TestTally tally = computeTestTally(data, data.subject, 1, TallyOrder::AttendanceNumber);
        QCOMPARE(column(tally, 2), (QStringList{QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("欠")}));
        QCOMPARE(column(tally, 7), (QStringList(3, QStringLiteral("- "))));
        // Nobody ranked: the score order lists the class backwards.
        QCOMPARE(column(computeTestTally(data, data.subject, 1, TallyOrder::Score), 7),
                 (QStringList{QStringLiteral("3"), QStringLiteral("2"), QStringLiteral("1")}));
        QCOMPARE(tally.rows[0].rank, TallyNumber::none());
        QCOMPARE(tally.classAverage, TallyNumber::none());
        QCOMPARE(TestTallyText::classAverage(tally), QStringLiteral("-"));
        QCOMPARE(tally.columnAverages[0], TallyNumber::of(0));
        QCOMPARE(TestTallyText::columnAverage(tally, 0), QStringLiteral(".0"));  // two zeros entered
        QCOMPARE(TestTallyText::fullMarks(tally), QString());
    }

    void viewpointNamesFollowTheColumnsKinds()
    {
        // 生活 has no fourth viewpoint; a column without a viewpoint has no name.
        ClassData data = classWithTest(Three, {{4, 10, {1, 2, 3}}, {0, 10, {1, 2, 3}}, {2, 10, {1, 2, 3}}}, 5);
        const TestTally tally = computeTestTally(data, data.subject, 1, TallyOrder::AttendanceNumber);
        QCOMPARE(tally.viewpointNames[0], QString());
        QCOMPARE(tally.viewpointNames[1], QString());
        QCOMPARE(tally.viewpointNames[2], QStringLiteral("思考・表現"));
        const ReportSheet sheet = testdispSheet(tally, QStringLiteral("テスト別成績集計-生活"));
        QCOMPARE(sheet.titleValues.mid(5, 4),
                 (QStringList{QStringLiteral(" -"), QStringLiteral(" -"), QStringLiteral("思考・表現"), QStringLiteral(" -")}));
        QCOMPARE(sheet.titleValues.mid(13, 4),
                 (QStringList{QStringLiteral(" -"), QStringLiteral(" -"), QStringLiteral("10"), QStringLiteral(" -")}));
    }

    void sheetFieldsAndOrderWords()
    {
        ClassData data = classWithTest({QStringLiteral("青木"), QString()}, {{1, 10, {5, -1}}});
        TestTally tally = computeTestTally(data, data.subject, 1, TallyOrder::AttendanceNumber);
        ReportSheet sheet = testdispSheet(tally, QStringLiteral("テスト別成績集計-国語"));
        QCOMPARE(sheet.stem, QStringLiteral("testdisp"));
        QCOMPARE(sheet.dataIndexName, QStringLiteral("Number"));
        QCOMPARE(sheet.titleFields.size(), 19);
        QCOMPARE(sheet.titleValues.size(), 19);
        QCOMPARE(sheet.titleValues[1], QStringLiteral("番号順"));
        QCOMPARE(sheet.titleValues.mid(17), (QStringList{QStringLiteral("番号"), QStringLiteral("順位")}));
        // An empty name stays empty; the figures get "-".
        QCOMPARE(sheet.rows[1], (QStringList{QStringLiteral("2"), QString(), QStringLiteral("欠"), QStringLiteral("欠"),
                                             QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("- ")}));
        tally = computeTestTally(data, data.subject, 1, TallyOrder::Score);
        sheet = testdispSheet(tally, QStringLiteral("テスト別成績集計-国語"));
        QCOMPARE(sheet.titleValues[1], QStringLiteral("成績順"));
        QCOMPARE(sheet.titleValues.mid(17), (QStringList{QStringLiteral("順位"), QStringLiteral("番号")}));
        QCOMPARE(testdispPreviewTitle(tally), QStringLiteral("テスト別集計-単元テスト"));
    }

    void noSuchTestGivesNothing()
    {
        ClassData data = classWithTest(Three, {{1, 10, {1, 2, 3}}});
        data.currentTest = 1;
        QVERIFY(computeTestTally(data, data.subject, 2, TallyOrder::AttendanceNumber).rows.isEmpty());
        QVERIFY(computeTestTally(data, data.subject, 0, TallyOrder::AttendanceNumber).rows.isEmpty());
        QCOMPARE(data.currentTest, 1);
        // A test without columns: nobody has a total.
        data.tests.columnCount[1] = 0;
        const TestTally tally = computeTestTally(data, data.subject, 1, TallyOrder::AttendanceNumber);
        QCOMPARE(column(tally, 2), (QStringList(3, QStringLiteral("欠"))));
        QCOMPARE(TestTallyText::classAverage(tally), QStringLiteral("-"));
    }

    void totalsOfAFullClass()
    {
        // 45 pupils, 4 columns: totals and column sums by hand.
        ClassData data;
        data.pupilCount = 45;
        data.tests.count = 1;
        data.tests.columnCount[1] = 4;
        for (int c = 1; c <= 4; ++c) {
            data.tests.fullMarks[1][c] = 25;
            for (int p = 1; p <= 45; ++p)
                data.tests.score[1][c][p] = p % 5 == 0 && c == 2 ? -1 : (p + c) % 26;
        }
        const TestTotals totals = computeTestTotals(data, 1);
        QCOMPARE(totals.fullMarks, 100);
        QCOMPARE(totals.columnMissing[2], 9);
        QCOMPARE(totals.columnMissing[1], 0);
        int sum1 = 0;
        for (int p = 1; p <= 45; ++p)
            sum1 += (p + 1) % 26;
        QCOMPARE(totals.columnSum[1], sum1);
        QCOMPARE(totals.pupilTotal[1], 2 + 3 + 4 + 5);
        QCOMPARE(totals.pupilTotal[5], 6 + 8 + 9);  // column 2 absent
        QCOMPARE(totals.satFullMarks[5], 75);        // of the three columns sat
        QCOMPARE(totals.percent[5], float(23 * (100.0 / 75)));
        QCOMPARE(totals.percent[1], 14.0f);          // every column sat: of the test's 100
        QCOMPARE(totals.columnAverage(2, 45), double(totals.columnSum[2]) / 36);
    }

    // Seven pupils, one test of 40 + 10 points. By hand, as percentages of the columns
    // sat: 1 absent; 2: 45 = 90 %; 3: 44 = 88 %; 4: 5 = 10 %; 5: 4 = 8 %; 6: 50 = 100 %;
    // 7 missed column 1 and wrote 10 of column 2's 10: 100 %.
    void distributionBinsTheEnteredPupilsAndCountsTheAbsent()
    {
        const QStringList seven{QStringLiteral("青木"), QStringLiteral("石田"), QStringLiteral("上野"), QStringLiteral("江口"),
                                QStringLiteral("大野"), QStringLiteral("加藤"), QStringLiteral("木村")};
        ClassData data = classWithTest(seven, {{1, 40, {-1, 40, 40, 5, 4, 40, -1}}, {2, 10, {-1, 5, 4, 0, 0, 10, 10}}});
        const TestTally tally = computeTestTally(data, data.subject, 1, TallyOrder::AttendanceNumber);
        const ScoreDistribution& d = tally.distribution;
        QCOMPARE(d.counts, (std::array<int, 10>{1, 1, 0, 0, 0, 0, 0, 0, 1, 3}));
        QCOMPARE(d.counted, 6);
        QCOMPARE(d.absent, 1);
        QCOMPARE(d.largest(), 3);
        // (90 + 88 + 10 + 8 + 100 + 100) / 6 = 66.0, the class average the window shows.
        QVERIFY(d.average.hasValue() && qAbs(d.average.value - 396.0 / 6) < 1e-4);
        QCOMPARE(TestTallyText::classAverage(tally), QStringLiteral("66.0"));
        QVERIFY(!d.bestFirst);
        QCOMPARE(DistributionText::binLabel(0), QStringLiteral("0～9"));
        QCOMPARE(DistributionText::binLabel(9), QStringLiteral("90～100"));
        QCOMPARE(DistributionText::average(d), QStringLiteral("平均 66.0"));
        QCOMPARE(DistributionText::counts(d), QStringLiteral("人数 6人　欠席 1人"));

        // In score order the same counts, drawn best first; the sheet carries them.
        const TestTally byScore = computeTestTally(data, data.subject, 1, TallyOrder::Score);
        QCOMPARE(byScore.distribution.counts, d.counts);
        QVERIFY(byScore.distribution.bestFirst);
        const ReportSheet sheet = testdispSheet(byScore, QStringLiteral("テスト別成績集計-国語"));
        QVERIFY(sheet.scoreChart.has_value());
        QCOMPARE(sheet.scoreChart->counts, d.counts);
    }

    // Bin edges in whole numbers: 27 of 30 is exactly 90 % (bin 90～100), 26 of 30
    // (86.7 %) is in 80～89, 3 of 30 is exactly 10 %; nobody entered: no average.
    void distributionEdgesAndAnEmptyTest()
    {
        ClassData data = classWithTest(Three, {{1, 30, {27, 26, 3}}});
        const ScoreDistribution d = computeTestTally(data, data.subject, 1, TallyOrder::AttendanceNumber).distribution;
        QCOMPARE(d.counts, (std::array<int, 10>{0, 1, 0, 0, 0, 0, 0, 0, 1, 1}));
        QCOMPARE(d.absent, 0);

        ClassData empty = classWithTest(Three, {{1, 30, {-1, -1, -1}}});
        const TestTally none = computeTestTally(empty, empty.subject, 1, TallyOrder::AttendanceNumber);
        QCOMPARE(none.distribution.counted, 0);
        QCOMPARE(none.distribution.absent, 3);
        QCOMPARE(none.distribution.largest(), 0);
        QCOMPARE(none.distribution.average, TallyNumber::none());
        QCOMPARE(DistributionText::average(none.distribution), QString());
        QCOMPARE(none.classAverage, TallyNumber::none());
        QCOMPARE(TestTallyText::classAverage(none), TestTallyText::NoAverage);
    }
};

QTEST_MAIN(TestTallyTest)
#include "test_test_tally.moc"
