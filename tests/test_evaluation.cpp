// Ranking and the two evaluation rules: shared ranks, the display order, the keys
// in tenths, and the three modes with their thresholds.

#include "model/ClassData.h"
#include "tally/Evaluation.h"

#include <QTest>
#include <cmath>
#include <limits>
#include <vector>

namespace {

std::vector<float> valuesOf(const QList<float>& values)
{
    return std::vector<float>(values.begin(), values.end());
}

QList<int> ranks(const Ranking& ranking)
{
    QList<int> result;
    for (int p = 1; p <= ranking.pupils(); ++p)
        result.append(ranking.rankOf(p));
    return result;
}

QList<int> order(const Ranking& ranking)
{
    QList<int> result;
    for (int position = 1; position <= ranking.pupils(); ++position)
        result.append(ranking.pupilAt(position));
    return result;
}

Ranking rankOf(const QList<float>& values)
{
    return rank(valuesOf(values));
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
        Ranking ranking = rankOf({90, 80, 80, 70});
        QCOMPARE(ranks(ranking), (QList<int>{1, 2, 2, 4}));
        QCOMPARE(order(ranking), (QList<int>{1, 2, 3, 4}));

        // Values that come to the same tenth tie; ties list in attendance order.
        ranking = rankOf({85.16f, 99.0f, 85.24f, 85.35f});
        QCOMPARE(ranks(ranking), (QList<int>{3, 1, 3, 2}));
        QCOMPARE(order(ranking), (QList<int>{2, 4, 1, 3}));

        // A whole class on one value: all first, in attendance order.
        ranking = rankOf(QList<float>(45, 50.0f));
        QCOMPARE(ranks(ranking), QList<int>(45, 1));
        for (int position = 1; position <= 45; ++position)
            QCOMPARE(ranking.pupilAt(position), position);
    }

    void pupilsWithoutAValueComeLastInDescendingNumber()
    {
        Ranking ranking = rankOf({70, -1, 90, 80, -1, 90});
        QCOMPARE(ranks(ranking), (QList<int>{4, 0, 1, 3, 0, 1}));
        QCOMPARE(order(ranking), (QList<int>{3, 6, 4, 1, 5, 2}));

        ranking = rankOf({-1, -1, -1});
        QCOMPARE(ranks(ranking), (QList<int>{0, 0, 0}));
        QCOMPARE(order(ranking), (QList<int>{3, 2, 1}));

        ranking = rankOf({});
        QCOMPARE(ranking.pupils(), 0);
        QCOMPARE(ranking.pupilAt(1), 0);
    }

    void valuesAboveAHundredRankAsAHundred()
    {
        const Ranking ranking = rankOf({120, 100, 99.9f, 1000});
        QCOMPARE(ranks(ranking), (QList<int>{1, 1, 4, 1}));
        QCOMPARE(order(ranking), (QList<int>{1, 2, 4, 3}));
        // The work table ends at key 1000: nothing was counted beyond it.
        QCOMPARE(rankTable(valuesOf({120, 100, 99.9f, 1000}))[1001], 1);
    }

    void rankCountHoldsOnePlusThePupilsAtOrAboveEachKey()
    {
        const RankTable table = rankTable(valuesOf({90, 80, 80, 70}));
        QCOMPARE(table[901], 1);
        QCOMPARE(table[900], 2);
        QCOMPARE(table[800], 4);
        QCOMPARE(table[700], 5);
        QCOMPARE(table[1], 5);
    }

    void overallByRank()
    {
        // The defaults: ranks 1..10 get "3", ranks from 30 on get "1".
        const GroupCriteria criteria;
        QCOMPARE(overallGrade(criteria, 45, 95, 1), QStringLiteral("3"));
        QCOMPARE(overallGrade(criteria, 45, 80, 10), QStringLiteral("3"));
        QCOMPARE(overallGrade(criteria, 45, 80, 11), QStringLiteral("2"));
        QCOMPARE(overallGrade(criteria, 45, 40, 29), QStringLiteral("2"));
        QCOMPARE(overallGrade(criteria, 45, 40, 30), QStringLiteral("1"));
        QCOMPARE(overallGrade(criteria, 45, 0, 45), QStringLiteral("1"));
        // A class of 25 never gets "1" with the defaults.
        for (int rank = 1; rank <= 25; ++rank)
            QVERIFY(overallGrade(criteria, 25, 50, rank) != QStringLiteral("1"));
        // No value: " -", whatever the basis.
        QCOMPARE(overallGrade(criteria, 25, -1, 0), QStringLiteral(" -"));
        GroupCriteria byScore;
        byScore.basis = GradeBasis::Score;
        QCOMPARE(overallGrade(byScore, 25, -1, 0), QStringLiteral(" -"));
    }

    void overallByScore()
    {
        ClassData data;
        data.criteria[3].groups[SubjectCriteria::Overall].basis = GradeBasis::Score;
        const auto grade = [&data](int subject, float average, int rank) {
            return overallGrade(criteriaOf(data, subject).overall(), 30, average, rank);
        };
        QCOMPARE(grade(3, 90.0f, 30), QStringLiteral("3"));
        QCOMPARE(grade(3, 89.9f, 1), QStringLiteral("2"));
        QCOMPARE(grade(3, 30.1f, 1), QStringLiteral("2"));
        QCOMPARE(grade(3, 30.0f, 1), QStringLiteral("1"));
        QCOMPARE(grade(3, 0.0f, 1), QStringLiteral("1"));
        // The thresholds of another subject do not apply.
        data.criteria[3].groups[SubjectCriteria::Overall].bestFromScore = 80;
        QCOMPARE(grade(3, 85.0f, 1), QStringLiteral("3"));
        QCOMPARE(grade(4, 85.0f, 1), QStringLiteral("3"));  // subject 4 is still by rank
        data.criteria[4].groups[SubjectCriteria::Overall].basis = GradeBasis::Score;
        QCOMPARE(grade(4, 85.0f, 1), QStringLiteral("2"));
    }

    void overallByShareOfTheClass()
    {
        GroupCriteria criteria;
        criteria.basis = GradeBasis::Share;
        // 31 % of 30 is 9.3: nine get "3"; 7 % is 2.1: two get "1".
        QStringList marks;
        for (int rank = 1; rank <= 30; ++rank)
            marks.append(overallGrade(criteria, 30, 50, rank));
        QCOMPARE(marks.count(QStringLiteral("3")), 9);
        QCOMPARE(marks.indexOf(QStringLiteral("2")), 9);
        QCOMPARE(marks.count(QStringLiteral("1")), 2);
        QCOMPARE(marks[27], QStringLiteral("2"));
        QCOMPARE(marks[28], QStringLiteral("1"));

        // 45 pupils: 13.95 -> 13; 3.15 -> 3, so ranks 43 to 45 get "1".
        QCOMPARE(overallGrade(criteria, 45, 50, 13), QStringLiteral("3"));
        QCOMPARE(overallGrade(criteria, 45, 50, 14), QStringLiteral("2"));
        QCOMPARE(overallGrade(criteria, 45, 50, 42), QStringLiteral("2"));
        QCOMPARE(overallGrade(criteria, 45, 50, 43), QStringLiteral("1"));

        // Shares above 100 % cannot overflow: everybody is in the top share.
        criteria.bestSharePercent = 800;
        QCOMPARE(overallGrade(criteria, 45, 50, 45), QStringLiteral("3"));
        criteria.bestSharePercent = 0;
        criteria.lowestSharePercent = 0;
        QCOMPARE(overallGrade(criteria, 45, 50, 1), QStringLiteral("2"));
        QCOMPARE(overallGrade(criteria, 45, 50, 45), QStringLiteral("2"));
    }

    void unknownBasisGivesNothing()
    {
        GroupCriteria overall;
        overall.basis = GradeBasis(3);
        GroupCriteria viewpoint;
        viewpoint.basis = GradeBasis(-1);
        QCOMPARE(overallGrade(overall, 10, 50, 1), QString());
        QCOMPARE(viewpointGrade(viewpoint, 10, 50, 1), QString());
    }

    void viewpointsUseTheirOwnBasisAndThresholds()
    {
        ClassData data;
        // 観点Ⅱ of subject 5 by score with its own thresholds; 観点Ⅰ stays by rank.
        GroupCriteria& second = data.criteria[5].groups[2];
        second.basis = GradeBasis::Score;
        second.bestFromScore = 80;
        second.lowestUpToScore = 40;
        const auto grade = [&data](int v, float average, int rank) {
            return viewpointGrade(criteriaOf(data, 5).viewpoint(v), 30, average, rank);
        };
        QCOMPARE(grade(2, 80.0f, 30), QStringLiteral("A"));
        QCOMPARE(grade(2, 79.9f, 1), QStringLiteral("B"));
        QCOMPARE(grade(2, 40.0f, 1), QStringLiteral("C"));
        QCOMPARE(grade(1, 40.0f, 1), QStringLiteral("A"));
        QCOMPARE(grade(1, 40.0f, 29), QStringLiteral("B"));
        QCOMPARE(grade(1, 40.0f, 30), QStringLiteral("C"));
        // By share of the class: the same counts as the overall rule.
        data.criteria[5].groups[4].basis = GradeBasis::Share;
        QCOMPARE(grade(4, 50, 9), QStringLiteral("A"));
        QCOMPARE(grade(4, 50, 10), QStringLiteral("B"));
        QCOMPARE(grade(4, 50, 29), QStringLiteral("C"));
    }

    void rankThenEvaluateAsATallyDoes()
    {
        // Totals 45 of 50 and 40 of 50 and an equal 45: 90, 80, 90 percent.
        const QList<float> values{90, 80, 90, -1};
        const Ranking ranking = rankOf(values);
        QCOMPARE(ranks(ranking), (QList<int>{1, 3, 1, 0}));
        const GroupCriteria criteria;
        QStringList marks;
        for (int p = 1; p <= 4; ++p)
            marks.append(overallGrade(criteria, 4, values[p - 1], ranking.rankOf(p)));
        QCOMPARE(marks, (QStringList{QStringLiteral("3"), QStringLiteral("3"), QStringLiteral("3"), QStringLiteral(" -")}));
    }
};

QTEST_MAIN(EvaluationTest)
#include "test_evaluation.moc"
