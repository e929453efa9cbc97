// The figures beside a pupil's 所見, computed by hand for a class of three: the
// viewpoint A/B/C and 評定 of a term over that term's tests alone (a test of weight
// 2, an overruling over exactly the term's tests applied, one over another term's
// not), and the term's attendance under two terms (前期 April to September).

#include "model/ClassData.h"
#include "tally/TermFigures.h"

#include <QTest>

namespace {

// Three pupils; 国語 graded by score: 90 and above 3 / A, 30 and below 1 / C.
ClassData smallClass()
{
    ClassData data;
    data.pupilCount = 3;
    for (int p = 1; p <= 3; ++p)
        data.pupilName[size_t(p)] = QStringLiteral("児童%1").arg(p);
    for (GroupCriteria& group : data.criteria[1].groups) {
        group.basis = GradeBasis::Score;
        group.bestFromScore = 90;
        group.lowestUpToScore = 30;
    }
    TestSet& set = data.tests;
    set.count = 3;
    const auto test = [&set](int t, int viewpoint, int full, std::array<int, 3> scores, int term, double weight) {
        set.name[size_t(t)] = QStringLiteral("テスト%1").arg(t);
        set.columnCount[size_t(t)] = 1;
        set.viewpoint[t][1] = viewpoint;
        set.fullMarks[t][1] = full;
        for (int p = 1; p <= 3; ++p)
            set.score[t][1][p] = scores[size_t(p - 1)];
        set.term[size_t(t)] = term;
        set.weight[size_t(t)] = weight;
    };
    test(1, 1, 100, {90, 60, 20}, 1, 1.0);
    test(2, 1, 50, {50, 30, 10}, 1, 2.0);
    test(3, 2, 100, {10, 100, 50}, 2, 1.0);
    // Pupil 2's 評定 over tests 1 and 2 (the first term's) is the teacher's 3; pupil
    // 3's over test 3 alone is 3, which the first term never sees.
    Overruling first;
    first.pupil = 2;
    first.group = Overruling::OverallGroup;
    first.tests = {1, 2};
    first.computed = QStringLiteral("2");
    first.given = QStringLiteral("3");
    first.reason = QStringLiteral("作品");
    Overruling other = first;
    other.pupil = 3;
    other.tests = {3};
    data.overrulings = {first, other};
    // Twenty lesson days a month; pupil 1: 忌引 1 in June, 病欠 2 in May, 事欠 1 in November.
    data.termPlan.count = 2;
    for (int m = 1; m <= 12; ++m) {
        data.lessonDays[m] = 20;
        for (int p = 1; p <= 3; ++p)
            data.attendance[m][p][3] = 20;
    }
    data.attendance[3][1][1] = 1;
    data.attendance[3][1][3] = 19;
    data.attendance[2][1][4] = 2;
    data.attendance[8][1][5] = 1;
    return data;
}

QStringList grades(const TermFigures& figures)
{
    QStringList list;
    for (const TermFigures::Viewpoint& viewpoint : figures.viewpoints)
        list << viewpoint.name + QLatin1Char('=') + viewpoint.grade;
    return list << figures.grade;
}

}  // namespace

class TermFiguresTest : public QObject {
    Q_OBJECT
private slots:
    void aTermsFiguresOverItsOwnTests()
    {
        const ClassData data = smallClass();
        const QString first = data.viewpointName[1][1];
        const QString second = data.viewpointName[1][2];
        QCOMPARE(TermFiguresTally::testsOf(data.tests, 1), (QList<int>{1, 2}));
        QCOMPARE(TermFiguresTally::testsOf(data.tests, 3), QList<int>());
        // 前期: (90 + 2 × 100) / 3 = 96.7 → A, 3; (60 + 2 × 60) / 3 = 60 → B, 2 but
        // the teacher's 3; (20 + 2 × 20) / 3 = 20 → C, 1.
        const TermFigures one = TermFiguresTally::of(data, 1, 1);
        QCOMPARE(one.subjectName, QStringLiteral("国語"));
        QCOMPARE(one.testCount, 2);
        QCOMPARE(grades(one), (QStringList{first + "=A", "3"}));
        QCOMPARE(grades(TermFiguresTally::of(data, 1, 2)), (QStringList{first + "=B", "3"}));
        QCOMPARE(grades(TermFiguresTally::of(data, 1, 3)), (QStringList{first + "=C", "1"}));
        // 後期: test 3 alone, of 観点Ⅱ: 10 → C, 1; 100 → A, 3; 50 → B, 2 but the teacher's 3.
        QCOMPARE(grades(TermFiguresTally::of(data, 2, 1)), (QStringList{second + "=C", "1"}));
        QCOMPARE(grades(TermFiguresTally::of(data, 2, 2)), (QStringList{second + "=A", "3"}));
        QCOMPARE(grades(TermFiguresTally::of(data, 2, 3)), (QStringList{second + "=B", "3"}));
    }

    void aTermsAttendance()
    {
        const ClassData data = smallClass();
        // 前期 (April to September): 120 lesson days, 忌引 1, required 119, absent 2, present 117.
        const auto first = TermFiguresTally::of(data, 1, 1).attendance;
        QVERIFY(first.has_value());
        QCOMPARE((QList<int>{first->lessonDays, first->leaveDays, first->requiredDays, first->absentDays, first->presentDays}),
                 (QList<int>{120, 1, 119, 2, 117}));
        // 後期 (October to March): the 事欠 of November.
        const auto second = TermFiguresTally::of(data, 2, 1).attendance;
        QCOMPARE((QList<int>{second->lessonDays, second->leaveDays, second->requiredDays, second->absentDays, second->presentDays}),
                 (QList<int>{120, 0, 120, 1, 119}));
        // A specialist keeps no attendance of the class; a pupil outside the class has no figures.
        ClassData specialist = smallClass();
        specialist.specialistMode = true;
        QVERIFY(!TermFiguresTally::of(specialist, 1, 1).attendance.has_value());
        QVERIFY(TermFiguresTally::of(data, 1, 4).viewpoints.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TermFiguresTest)
#include "test_term_figures.moc"
