// Ranking and the two evaluation rules: shared ranks, the display order, the keys
// in tenths, and the three modes with their thresholds.

#include "model/ClassData.h"
#include "tally/Evaluation.h"

#include <QTest>
#include <cmath>
#include <limits>

namespace {

ClassData classWith(const QList<float>& values)
{
    ClassData data;
    data.pupilCount = int(values.size());
    for (int p = 1; p <= values.size(); ++p)
        data.RankValue[p] = values[p - 1];
    return data;
}

QList<int> ranks(const ClassData& data)
{
    QList<int> result;
    for (int p = 1; p <= data.pupilCount; ++p)
        result.append(data.RankOf[p]);
    return result;
}

QList<int> order(const ClassData& data)
{
    QList<int> result;
    for (int position = 1; position <= data.pupilCount; ++position)
        result.append(data.RankOrder[position]);
    return result;
}

}  // namespace

class EvaluationTest : public QObject {
    Q_OBJECT
private slots:
    void keysAreTenthsWithHalvesToEven()
    {
        QCOMPARE(rankKey(85.24f), 852);
        QCOMPARE(rankKey(85.16f), 852);
        QCOMPARE(rankKey(85.25f), 852);  // exactly half: to the even neighbour
        QCOMPARE(rankKey(85.35f), 853);  // 85.35 is a little below the half in single precision
        QCOMPARE(rankKey(85.75f), 858);  // exactly half, up to the even neighbour
        QCOMPARE(rankKey(0.0f), 0);
        QCOMPARE(rankKey(100.0f), 1000);
        QCOMPARE(rankKey(float(53 * 100.0 / 60)), 883);  // 88.333...
        // Values above 100 stay inside the table; negative ones have no key.
        QCOMPARE(rankKey(100.04f), 1000);
        QCOMPARE(rankKey(250.0f), 1000);
        QCOMPARE(rankKey(-1.0f), -1);
        QCOMPARE(rankKey(-0.01f), -1);
        QCOMPARE(rankKey(std::numeric_limits<float>::quiet_NaN()), -1);
    }

    void equalValuesShareARankAndTheNextIsSkipped()
    {
        ClassData data = classWith({90, 80, 80, 70});
        computeRanks(data);
        QCOMPARE(ranks(data), (QList<int>{1, 2, 2, 4}));
        QCOMPARE(order(data), (QList<int>{1, 2, 3, 4}));

        // Values that come to the same tenth tie; ties list in attendance order.
        data = classWith({85.16f, 99.0f, 85.24f, 85.35f});
        computeRanks(data);
        QCOMPARE(ranks(data), (QList<int>{3, 1, 3, 2}));
        QCOMPARE(order(data), (QList<int>{2, 4, 1, 3}));

        // A whole class on one value: all first, in attendance order.
        data = classWith(QList<float>(45, 50.0f));
        computeRanks(data);
        QCOMPARE(ranks(data), QList<int>(45, 1));
        for (int position = 1; position <= 45; ++position)
            QCOMPARE(data.RankOrder[position], position);
    }

    void pupilsWithoutAValueComeLastInDescendingNumber()
    {
        ClassData data = classWith({70, -1, 90, 80, -1, 90});
        data.RankOf[2] = 7;  // left over from an earlier ranking
        computeRanks(data);
        QCOMPARE(ranks(data), (QList<int>{4, 0, 1, 3, 0, 1}));
        QCOMPARE(order(data), (QList<int>{3, 6, 4, 1, 5, 2}));

        data = classWith({-1, -1, -1});
        computeRanks(data);
        QCOMPARE(ranks(data), (QList<int>{0, 0, 0}));
        QCOMPARE(order(data), (QList<int>{3, 2, 1}));

        data = classWith({});
        computeRanks(data);
        QCOMPARE(data.RankOrder[1], 0);
    }

    void valuesAboveAHundredRankAsAHundred()
    {
        ClassData data = classWith({120, 100, 99.9f, 1000});
        computeRanks(data);
        QCOMPARE(ranks(data), (QList<int>{1, 1, 4, 1}));
        QCOMPARE(order(data), (QList<int>{1, 2, 4, 3}));
        // The work table ends at key 1000: nothing was counted beyond it.
        QCOMPARE(data.RankCount[1001], 1);
    }

    void rankCountHoldsOnePlusThePupilsAtOrAboveEachKey()
    {
        ClassData data = classWith({90, 80, 80, 70});
        computeRanks(data);
        QCOMPARE(data.RankCount[901], 1);
        QCOMPARE(data.RankCount[900], 2);
        QCOMPARE(data.RankCount[800], 4);
        QCOMPARE(data.RankCount[700], 5);
        QCOMPARE(data.RankCount[1], 5);
    }

    void overallByRank()
    {
        ClassData data;
        data.pupilCount = 45;
        data.subject = 2;
        QCOMPARE(overallGrade(data, 95, 1), QStringLiteral("3"));
        QCOMPARE(overallGrade(data, 80, 10), QStringLiteral("3"));
        QCOMPARE(overallGrade(data, 80, 11), QStringLiteral("2"));
        QCOMPARE(overallGrade(data, 40, 29), QStringLiteral("2"));
        QCOMPARE(overallGrade(data, 40, 30), QStringLiteral("1"));
        QCOMPARE(overallGrade(data, 0, 45), QStringLiteral("1"));
        // A class of 25 never gets "1" with the defaults.
        data.pupilCount = 25;
        for (int rank = 1; rank <= 25; ++rank)
            QVERIFY(overallGrade(data, 50, rank) != QStringLiteral("1"));
        // No value: " -", whatever the mode.
        QCOMPARE(overallGrade(data, -1, 0), QStringLiteral(" -"));
        data.sHyoteiMode[2] = 1;
        QCOMPARE(overallGrade(data, -1, 0), QStringLiteral(" -"));
    }

    void overallByScore()
    {
        ClassData data;
        data.pupilCount = 30;
        data.subject = 3;
        data.sHyoteiMode[3] = 1;
        QCOMPARE(overallGrade(data, 90.0f, 30), QStringLiteral("3"));
        QCOMPARE(overallGrade(data, 89.9f, 1), QStringLiteral("2"));
        QCOMPARE(overallGrade(data, 30.1f, 1), QStringLiteral("2"));
        QCOMPARE(overallGrade(data, 30.0f, 1), QStringLiteral("1"));
        QCOMPARE(overallGrade(data, 0.0f, 1), QStringLiteral("1"));
        // The thresholds of another subject do not apply.
        data.sHyotei[3][3] = 80;
        QCOMPARE(overallGrade(data, 85.0f, 1), QStringLiteral("3"));
        data.subject = 4;
        QCOMPARE(overallGrade(data, 85.0f, 1), QStringLiteral("3"));  // subject 4 is still by rank
        data.sHyoteiMode[4] = 1;
        QCOMPARE(overallGrade(data, 85.0f, 1), QStringLiteral("2"));
    }

    void overallByShareOfTheClass()
    {
        ClassData data;
        data.subject = 1;
        data.sHyoteiMode[1] = 2;
        data.pupilCount = 30;  // 31 % of 30 is 9.3: nine get "3"; 7 % is 2.1: two get "1"
        QStringList marks;
        for (int rank = 1; rank <= 30; ++rank)
            marks.append(overallGrade(data, 50, rank));
        QCOMPARE(marks.count(QStringLiteral("3")), 9);
        QCOMPARE(marks.indexOf(QStringLiteral("2")), 9);
        QCOMPARE(marks.count(QStringLiteral("1")), 2);
        QCOMPARE(marks[27], QStringLiteral("2"));
        QCOMPARE(marks[28], QStringLiteral("1"));

        data.pupilCount = 45;  // 13.95 -> 13; 3.15 -> 3, so ranks 43 to 45 get "1"
        QCOMPARE(overallGrade(data, 50, 13), QStringLiteral("3"));
        QCOMPARE(overallGrade(data, 50, 14), QStringLiteral("2"));
        QCOMPARE(overallGrade(data, 50, 42), QStringLiteral("2"));
        QCOMPARE(overallGrade(data, 50, 43), QStringLiteral("1"));

        // Shares above 100 % cannot overflow: everybody is in the top share.
        data.sHyotei[1][5] = 800;
        QCOMPARE(overallGrade(data, 50, 45), QStringLiteral("3"));
        data.sHyotei[1][5] = 0;
        data.sHyotei[1][6] = 0;
        QCOMPARE(overallGrade(data, 50, 1), QStringLiteral("2"));
        QCOMPARE(overallGrade(data, 50, 45), QStringLiteral("2"));
    }

    void unknownModeGivesNothing()
    {
        ClassData data;
        data.pupilCount = 10;
        data.sHyoteiMode[1] = 3;
        data.rHyoteiMode[1][2] = -1;
        QCOMPARE(overallGrade(data, 50, 1), QString());
        QCOMPARE(viewpointGrade(data, 2, 50, 1), QString());
    }

    void viewpointsUseTheirOwnModeAndThresholds()
    {
        ClassData data;
        data.pupilCount = 30;
        data.subject = 5;
        // 観点Ⅱ of subject 5 by score with its own thresholds; 観点Ⅰ stays by rank.
        data.rHyoteiMode[5][2] = 1;
        data.rHyotei[5][2][3] = 80;
        data.rHyotei[5][2][4] = 40;
        QCOMPARE(viewpointGrade(data, 2, 80.0f, 30), QStringLiteral("A"));
        QCOMPARE(viewpointGrade(data, 2, 79.9f, 1), QStringLiteral("B"));
        QCOMPARE(viewpointGrade(data, 2, 40.0f, 1), QStringLiteral("C"));
        QCOMPARE(viewpointGrade(data, 1, 40.0f, 1), QStringLiteral("A"));
        QCOMPARE(viewpointGrade(data, 1, 40.0f, 29), QStringLiteral("B"));
        QCOMPARE(viewpointGrade(data, 1, 40.0f, 30), QStringLiteral("C"));
        // By share of the class: the same counts as the overall rule.
        data.rHyoteiMode[5][4] = 2;
        QCOMPARE(viewpointGrade(data, 4, 50, 9), QStringLiteral("A"));
        QCOMPARE(viewpointGrade(data, 4, 50, 10), QStringLiteral("B"));
        QCOMPARE(viewpointGrade(data, 4, 50, 29), QStringLiteral("C"));
    }

    void rankThenEvaluateAsATallyDoes()
    {
        // Totals 45 of 50 and 40 of 50 and an equal 45: 90, 80, 90 percent.
        ClassData data = classWith({90, 80, 90, -1});
        computeRanks(data);
        QCOMPARE(ranks(data), (QList<int>{1, 3, 1, 0}));
        QStringList marks;
        for (int p = 1; p <= 4; ++p)
            marks.append(overallGrade(data, data.RankValue[p], data.RankOf[p]));
        QCOMPARE(marks, (QStringList{QStringLiteral("3"), QStringLiteral("3"), QStringLiteral("3"), QStringLiteral(" -")}));
    }
};

QTEST_MAIN(EvaluationTest)
#include "test_evaluation.moc"
