// Grading against goals at its thresholds: a viewpoint by its average as shown with
// one decimal (到達率で), the overall grade from the viewpoints' grades (観点から);
// the teacher's own grades over the computed ones; and the new settings keys, which
// a settings file of the older choices never gains.

#include "model/AppSettings.h"
#include "tally/Evaluation.h"
#include "tally/GradeOverrulings.h"
#include "tally/OverallTally.h"
#include "tally/OverallTallyText.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

GroupCriteria goals(int best, int lowest)
{
    GroupCriteria criteria;
    criteria.basis = GradeBasis::Goals;
    criteria.attainedFromPercent = best;
    criteria.lowestBelowPercent = lowest;
    return criteria;
}

}  // namespace

class GradingCriteriaTest : public QObject {
    Q_OBJECT

private slots:
    void viewpointByAttainment_data()
    {
        QTest::addColumn<float>("average");
        QTest::addColumn<int>("best");
        QTest::addColumn<int>("lowest");
        QTest::addColumn<QString>("grade");
        // The average as it is shown with one decimal decides: 49.95 is shown 50.0.
        QTest::newRow("80.0 is A") << 80.0f << 80 << 50 << "A";
        QTest::newRow("79.96 shown 80.0 is A") << 79.96f << 80 << 50 << "A";
        QTest::newRow("79.95 shown 79.9 is B") << 79.95f << 80 << 50 << "B";
        QTest::newRow("79.9 is B") << 79.9f << 80 << 50 << "B";
        QTest::newRow("50.0 is B") << 50.0f << 80 << 50 << "B";
        QTest::newRow("49.95 shown 50.0 is B") << 49.95f << 80 << 50 << "B";
        QTest::newRow("49.94 shown 49.9 is C") << 49.94f << 80 << 50 << "C";
        QTest::newRow("0 is C") << 0.0f << 80 << 50 << "C";
        QTest::newRow("100 is A") << 100.0f << 80 << 50 << "A";
        QTest::newRow("66.7 against 70/40 is B") << 66.7f << 70 << 40 << "B";
        QTest::newRow("39.9 against 70/40 is C") << 39.9f << 70 << 40 << "C";
        QTest::newRow("equal thresholds: 60 is A") << 60.0f << 60 << 60 << "A";
        QTest::newRow("equal thresholds: 59.9 is C") << 59.9f << 60 << 60 << "C";
    }
    void viewpointByAttainment()
    {
        QFETCH(float, average);
        QFETCH(int, best);
        QFETCH(int, lowest);
        QFETCH(QString, grade);
        // Rank and class size play no part.
        QCOMPARE(viewpointGrade(goals(best, lowest), 30, average, 30), grade);
        QCOMPARE(viewpointGrade(goals(best, lowest), 1, average, 1), grade);
    }

    void overallFromViewpoints_data()
    {
        QTest::addColumn<QString>("grades");   // viewpoints 1..4, "-" none
        QTest::addColumn<QString>("counted");  // sHyoteiKanten
        QTest::addColumn<QString>("best");     // sHyotei<s>7
        QTest::addColumn<QString>("lowest");   // sHyotei<s>8
        QTest::addColumn<QString>("expected");
        QTest::newRow("AAA- 3") << "AAA-" << "1111" << "2.5" << "1.5" << "3";
        QTest::newRow("AABB mean 2.5 is 3") << "AABB" << "1111" << "2.5" << "1.5" << "3";
        QTest::newRow("ABB mean 2.33 is 2") << "ABB-" << "1111" << "2.5" << "1.5" << "2";
        QTest::newRow("BCC mean 1.33 is 1") << "BCC-" << "1111" << "2.5" << "1.5" << "1";
        QTest::newRow("BBCC mean 1.5 is 1") << "BBCC" << "1111" << "2.5" << "1.5" << "1";
        QTest::newRow("ABC mean 2 is 2") << "ABC-" << "1111" << "2.5" << "1.5" << "2";
        QTest::newRow("A-C- mean 2 is 2") << "A-C-" << "1111" << "2.5" << "1.5" << "2";
        QTest::newRow("attitude left out: AAC → AA") << "AAC-" << "1101" << "2.5" << "1.5" << "3";
        QTest::newRow("attitude only counted left out: --A-") << "--A-" << "1101" << "2.5" << "1.5" << "";
        QTest::newRow("no grade at all") << "----" << "1111" << "2.5" << "1.5" << "";
        QTest::newRow("ABBB mean 2.25 against 2.25") << "ABBB" << "1111" << "2.25" << "1.5" << "3";
        QTest::newRow("BBBC mean 1.75 against 2.25/1.75") << "BBBC" << "1111" << "2.25" << "1.75" << "1";
        QTest::newRow("BB against 2/1 is 3") << "BB--" << "1111" << "2" << "1" << "3";
    }
    void overallFromViewpoints()
    {
        QFETCH(QString, grades);
        QFETCH(QString, counted);
        QFETCH(QString, best);
        QFETCH(QString, lowest);
        QFETCH(QString, expected);
        ViewpointPointsCriteria criteria;
        criteria.bestFromPoints = Points::parse(best).value();
        criteria.lowestUpToPoints = Points::parse(lowest).value();
        std::array<QString, 5> viewpointGrades;
        for (int v = 1; v <= 4; ++v) {
            criteria.counted[size_t(v)] = counted.at(v - 1) == QLatin1Char('1');
            const QChar grade = grades.at(v - 1);
            viewpointGrades[size_t(v)] = grade == QLatin1Char('-') ? QString() : QString(grade);
        }
        QCOMPARE(gradeFromViewpoints(criteria, viewpointGrades), expected);
    }

    void pointsReadAndWritten()
    {
        QCOMPARE(Points::parse(QStringLiteral("2.5")), std::optional<int>(250));
        QCOMPARE(Points::parse(QStringLiteral(" ２．２５ ")), std::optional<int>(225));
        QCOMPARE(Points::parse(QStringLiteral("2")), std::optional<int>(200));
        QVERIFY(!Points::parse(QStringLiteral("2.125")));
        QVERIFY(!Points::parse(QStringLiteral("-1")));
        QVERIFY(!Points::parse(QStringLiteral("abc")));
        QCOMPARE(Points::text(250), QStringLiteral("2.5"));
        QCOMPARE(Points::text(225), QStringLiteral("2.25"));
        QCOMPARE(Points::text(205), QStringLiteral("2.05"));
        QCOMPARE(Points::text(300), QStringLiteral("3"));
    }

    // The overall grade against goals is not the average's: overallGrade leaves it to
    // the viewpoints.
    void overallGradeLeavesGoalsToTheViewpoints()
    {
        GroupCriteria overall;
        overall.basis = GradeBasis::Goals;
        QCOMPARE(overallGrade(overall, 30, 95.0f, 1), QString());
        QCOMPARE(overallGrade(overall, 30, -1.0f, 0), QStringLiteral(" -"));
    }

    // The teacher's grades over the computed ones, for the tests they were given for.
    void overrulingsApplyToTheirTestsOnly()
    {
        QCOMPARE(GradeOverrulings::testsKey({3, 1, 2, 2}, 3), QList<int>{});
        QCOMPARE(GradeOverrulings::testsKey({3, 1}, 3), (QList<int>{1, 3}));
        QCOMPARE(GradeOverrulings::testsKey({}, 0), QList<int>{});

        ClassData data;
        data.pupilCount = 2;
        data.tests.count = 2;
        for (int t = 1; t <= 2; ++t) {
            data.tests.columnCount[t] = 1;
            data.tests.viewpoint[t][1] = t;  // test 1 観点Ⅰ, test 2 観点Ⅱ
            data.tests.fullMarks[t][1] = 100;
            data.tests.score[t][1][1] = 90;
            data.tests.score[t][1][2] = 60;
        }
        for (GroupCriteria& group : data.criteria[1].groups)
            group.basis = GradeBasis::Goals;
        const QDate day(2024, 7, 12);
        data.overrulings = {
            {2, 1, {}, QStringLiteral("B"), QStringLiteral("A"), QStringLiteral("ノートの記述"), day},
            {1, 0, {1}, QStringLiteral("3"), QStringLiteral("2"), QStringLiteral("提出物"), day},
        };
        // Every test: pupil 2's 観点Ⅰ is the teacher's A; the overall grade from the
        // viewpoints takes it: A, B → 2.5 → 3 (computed from the grades as shown).
        OverallTally every = computeOverallTally(data, 1, {1, 2});
        QCOMPARE(every.viewpoint[1][2].evaluation, QStringLiteral("A"));
        QCOMPARE(every.viewpoint[1][2].computed, QStringLiteral("B"));
        QVERIFY(every.viewpoint[1][2].overruled);
        QCOMPARE(every.overall[2].evaluation, QStringLiteral("3"));
        QVERIFY(!every.overall[2].overruled);
        // Pupil 1's overall grade was given for test 1 alone: not here.
        QCOMPARE(every.overall[1].evaluation, QStringLiteral("3"));
        QVERIFY(!every.overall[1].overruled);
        QCOMPARE(OverallTallyText::headings().size(), 17);
        QCOMPARE(overallGridRows(every, {}, {})[1][7], QStringLiteral("A＊"));

        OverallTally first = computeOverallTally(data, 1, {1});
        QCOMPARE(first.overall[1].evaluation, QStringLiteral("2"));
        QVERIFY(first.overall[1].overruled);
        QCOMPARE(overallGridRows(first, {}, {})[0][4], QStringLiteral("2＊"));
        // Pupil 2's 観点Ⅰ over test 1 alone was not overruled: B (60 %).
        QCOMPARE(first.viewpoint[1][2].evaluation, QStringLiteral("B"));

        // Cleared: the computed grades come back.
        applyOverrulings(every, {});
        QCOMPARE(every.viewpoint[1][2].evaluation, QStringLiteral("B"));
        QCOMPARE(every.overall[2].evaluation, QStringLiteral("2"));
        QCOMPARE(overallGridRows(every, {}, {})[1][7], QStringLiteral("B"));
    }

    // A settings file without the new keys reads as today and is written back without
    // them; keys that were set are read, and written back even when set to the default.
    void goalKeysAreStoredOnlyWhereSet()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Kazane.ini"));
        {
            QSettings store(path, QSettings::IniFormat);
            QVERIFY(AppSettings::writeDefaultCriteria(store).ok);
        }
        const QByteArray before = fileBytes(path);
        ClassData data;
        {
            QSettings store(path, QSettings::IniFormat);
            AppSettings::loadCriteria(data, store);
            QCOMPARE(data.criteria[3], SubjectCriteria());
            QVERIFY(AppSettings::saveCriteria(data, store).ok);
        }
        QCOMPARE(fileBytes(path), before);
        QVERIFY(!before.contains("Kanten"));

        // Against goals with a threshold of its own: the modes and that key are written.
        data.criteria[3].groups[0].basis = GradeBasis::Goals;
        data.criteria[3].groups[2].basis = GradeBasis::Goals;
        data.criteria[3].groups[2].attainedFromPercent = 75;
        data.criteria[3].fromViewpoints.lowestUpToPoints = 175;
        data.criteria[3].fromViewpoints.counted[3] = false;
        {
            QSettings store(path, QSettings::IniFormat);
            QVERIFY(AppSettings::saveCriteria(data, store).ok);
        }
        {
            QSettings store(path, QSettings::IniFormat);
            store.beginGroup(QStringLiteral("UseMode"));
            QCOMPARE(store.value(QStringLiteral("sHyoteiMode3")).toString(), QStringLiteral("3"));
            QCOMPARE(store.value(QStringLiteral("rHyoteiMode32")).toString(), QStringLiteral("3"));
            QCOMPARE(store.value(QStringLiteral("rHyotei327")).toString(), QStringLiteral("75"));
            QVERIFY(!store.contains(QStringLiteral("rHyotei328")));  // still the default 50
            QCOMPARE(store.value(QStringLiteral("sHyotei38")).toString(), QStringLiteral("1.75"));
            QVERIFY(!store.contains(QStringLiteral("sHyotei37")));
            QCOMPARE(store.value(QStringLiteral("sHyoteiKanten3")).toString(), QStringLiteral("1101"));
            store.endGroup();
            ClassData reread;
            AppSettings::loadCriteria(reread, store);
            QCOMPARE(reread.criteria, data.criteria);
        }
        // Back to the default: the key the file holds is written with it.
        data.criteria[3].groups[2].attainedFromPercent = 80;
        {
            QSettings store(path, QSettings::IniFormat);
            QVERIFY(AppSettings::saveCriteria(data, store).ok);
        }
        QSettings store(path, QSettings::IniFormat);
        QCOMPARE(store.value(QStringLiteral("UseMode/rHyotei327")).toString(), QStringLiteral("80"));
    }

    // Keys that hold no number of their kind keep their defaults.
    void damagedGoalKeysKeepTheirDefaults()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Kazane.ini"));
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("[UseMode]\nsHyoteiMode1=3\nsHyotei17=abc\nsHyotei18=1.25\nsHyoteiKanten1=11x1\n"
                       "rHyoteiMode11=3\nrHyotei117=70\nrHyotei118=\n");
        }
        ClassData data;
        QSettings store(path, QSettings::IniFormat);
        AppSettings::loadCriteria(data, store);
        const SubjectCriteria& s = data.criteria[1];
        QCOMPARE(s.overall().basis, GradeBasis::Goals);
        QCOMPARE(s.fromViewpoints.bestFromPoints, 250);
        QCOMPARE(s.fromViewpoints.lowestUpToPoints, 125);
        QCOMPARE(s.fromViewpoints.counted, SubjectCriteria().fromViewpoints.counted);
        QCOMPARE(s.viewpoint(1).basis, GradeBasis::Goals);
        QCOMPARE(s.viewpoint(1).attainedFromPercent, 70);
        QCOMPARE(s.viewpoint(1).lowestBelowPercent, 50);
    }
};

QTEST_MAIN(GradingCriteriaTest)
#include "test_grading_criteria.moc"
