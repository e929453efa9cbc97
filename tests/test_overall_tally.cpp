// A class of 30 pupils over 12 tests, tallied by the overall tally window in each
// of the three criteria modes and read in all three orders; every figure below was
// worked out by hand from the scores.
//
// The tests (国語), one column each:
//   tests 1-3   観点Ⅰ, full marks 100, 50, 100: pupil p scores a = 100 - 2(p - 1)
//               (a / 2 in test 2); pupil 12 is absent in test 1.
//   tests 4-6   観点Ⅱ, full marks 100, 50, 100: b = 42 + 2(p - 1) (b / 2 in test 5).
//   tests 7-9   観点Ⅲ, full marks 100: c = 90 for pupils 1-10, 70 for 11-20, 50 for 21-30.
//   tests 10-12 観点Ⅳ, full marks 100: d = 60, 70, 80, 90, 100 for p mod 5 = 0, 1, 2, 3, 4;
//               pupil 30 is absent in all three.
// As percentages every test of a viewpoint gives the same value, so the viewpoint
// averages are a, b, c, d. The overall average is the mean of the 12 columns:
// (a + b + c + d) / 4 = (142 + c + d) / 4, since a + b = 142; except
//   pupil 12: 11 columns, (2 x 78 + 3 x 64 + 3 x 70 + 3 x 80) / 11 = 798 / 11 = 72.545;
//   pupil 30: 9 columns, (42 + 100 + 50) / 3 = 64.0.
// Overall averages, descending, with the shared ranks:
//   83.0 (4, 9) rank 1; 80.5 (3, 8) 3; 78.0 (2, 7, 14, 19) 5; 75.5 (1, 6, 13, 18) 9;
//   73.0 (5, 10, 17, 24, 29) 13; 72.5 (12) 18; 70.5 (11, 16, 23, 28) 19;
//   68.0 (15, 20, 22, 27) 23; 65.5 (21, 26) 27; 64.0 (30) 29; 63.0 (25) 30.
// Viewpoint ranks: Ⅰ rank p; Ⅱ rank 31 - p; Ⅲ 1 (pupils 1-10), 11 (11-20), 21 (21-30);
//   Ⅳ 100: rank 1 (4, 9, 14, 19, 24, 29), 90: 7 (3, 8, 13, ...), 80: 13 (2, 7, 12, ...),
//   70: 19 (1, 6, 11, 16, 21, 26), 60: 25 (5, 10, 15, 20, 25); pupil 30 has none.
// Class averages: Ⅰ and Ⅱ (100 + 42) / 2 = 71.0; Ⅲ 70.0; Ⅳ 2340 / 29 = 80.7; each over
//   3 columns. Overall: 2190.55 / 30 = 73.0.

#include "DataFiles.h"
#include "TallyReadBack.h"
#include "Controls.h"
#include "TestEnv.h"
#include "model/AppSettings.h"
#include "reports/TestPickerDialog.h"
#include "reports/OverallTallyWindow.h"
#include "app/MainWindow.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTableWidget>
#include <QTest>

using namespace DataFiles;
using namespace TallyReadBack;

using Controls::child;

namespace {

// The figures of one checked pupil: averages and ranks of the overall group and
// viewpoints Ⅰ..Ⅳ ("" for none), and the positions in the orders.
struct Pupil {
    int number;
    QStringList averages;
    QStringList ranks;
    int overallPosition;  // in 総合成績順
    int secondPosition;   // in the order of 観点Ⅱ
    int fourthPosition;   // in the order of 観点Ⅳ
};

const QList<Pupil>& checkedPupils()
{
    static const QList<Pupil> pupils{
        // a = 100, b = 42, c = 90, d = 70
        {1, {"75.5", "100.0", "42.0", "90.0", "70.0"}, {"9", "1", "30", "1", "19"}, 9, 30, 19},
        // a = 94, b = 48, c = 90, d = 100
        {4, {"83.0", "94.0", "48.0", "90.0", "100.0"}, {"1", "4", "27", "1", "1"}, 1, 27, 1},
        // a = 78, b = 64, c = 70, d = 80; 11 columns overall
        {12, {"72.5", "78.0", "64.0", "70.0", "80.0"}, {"18", "12", "19", "11", "13"}, 18, 19, 15},
        // a = 60, b = 82, c = 50, d = 70
        {21, {"65.5", "60.0", "82.0", "50.0", "70.0"}, {"27", "21", "10", "21", "19"}, 27, 10, 23},
        // a = 52, b = 90, c = 50, d = 60
        {25, {"63.0", "52.0", "90.0", "50.0", "60.0"}, {"30", "25", "6", "21", "25"}, 30, 6, 29},
        // a = 42, b = 100, c = 50, no 観点Ⅳ
        {30, {"64.0", "42.0", "100.0", "50.0", ""}, {"29", "30", "1", "21", ""}, 29, 1, 30},
    };
    return pupils;
}

// Evaluations of the checked pupils (overall, Ⅰ, Ⅱ, Ⅲ, Ⅳ; "-" for none) per mode.
//
// Mode 0, by rank, thresholds 10 and 30: rank <= 10 gives 3 / A, rank 30 gives 1 / C.
// Mode 1, by score: overall 3 from 80, 1 up to 68; viewpoints A from 80, C up to 50.
// Mode 2, by share of 30 pupils, 31% and 7%: ranks 1-9 (31 x 30 / 100 = 9.3) give
//   3 / A, ranks 29 and 30 (30 - 2) give 1 / C.
const QStringList evaluations[3] = {
    {"3ACAB", "3ABAA", "2BBBB", "2BABB", "1BABB", "2CAB-"},
    {"2ACAB", "3ACAA", "2BBBA", "1BACB", "1BACB", "1CAC-"},
    {"3ACAB", "3ABAA", "2BBBB", "2BBBB", "1BABB", "1CAB-"},
};

// Every pupil in 総合成績順: by average, ties by attendance number.
const QStringList overallOrder{"4",  "9",  "3",  "8",  "2",  "7",  "14", "19", "1",  "6",
                               "13", "18", "5",  "10", "17", "24", "29", "12", "11", "16",
                               "23", "28", "15", "20", "22", "27", "21", "26", "30", "25"};

// The row of a checked pupil; groups without a value show the order's placeholder.
QStringList expectedRow(const Pupil& pupil, const QString& marks, bool byScore)
{
    QStringList row{QString::number(pupil.number), pupilNames(pupil.number).last()};
    for (int group = 0; group < 5; ++group) {
        if (pupil.averages[group].isEmpty()) {
            const QString dash = (group == 0) == byScore ? QStringLiteral(" -") : QStringLiteral("  -  ");
            row << dash << dash << dash;
        } else {
            row << pupil.averages[group] << pupil.ranks[group] << QString(marks[group]);
        }
    }
    return row;
}

QStringList numbers(const QTableWidget* grid)
{
    QStringList texts;
    for (int r = 0; r < grid->rowCount(); ++r)
        texts << grid->item(r, 0)->text();
    return texts;
}

QList<int> column(int kind, int fullMarks, int test)
{
    QList<int> scores;
    for (int p = 1; p <= 30; ++p) {
        const int a = 100 - 2 * (p - 1);
        const int b = 42 + 2 * (p - 1);
        const int c = p <= 10 ? 90 : p <= 20 ? 70 : 50;
        const int d = 60 + 10 * (p % 5);
        int score = kind == 1 ? a : kind == 2 ? b : kind == 3 ? c : d;
        if (fullMarks == 50)
            score /= 2;
        if ((p == 12 && test == 1) || (p == 30 && kind == 4))
            score = -1;
        scores << score;
    }
    return scores;
}

void writeCriteria(TestEnv& env, int mode)
{
    QSettings& store = *env.settings;
    store.beginGroup(QStringLiteral("UseMode"));
    store.setValue(AppSettings::sModeKey(1), QString::number(mode));
    if (mode == 1) {
        store.setValue(AppSettings::sKey(1, 3), QStringLiteral("80"));
        store.setValue(AppSettings::sKey(1, 4), QStringLiteral("68"));
    }
    for (int v = 1; v <= 4; ++v) {
        store.setValue(AppSettings::rModeKey(1, v), QString::number(mode));
        if (mode == 1) {
            store.setValue(AppSettings::rKey(1, v, 3), QStringLiteral("80"));
            store.setValue(AppSettings::rKey(1, v, 4), QStringLiteral("50"));
        }
    }
    store.endGroup();
    store.sync();
}

}  // namespace

class OverallTallyTest : public QObject {
    Q_OBJECT
private slots:
    void allOrdersInEveryMode_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("by rank") << 0;
        QTest::newRow("by score") << 1;
        QTest::newRow("by share") << 2;
    }

    void allOrdersInEveryMode()
    {
        QFETCH(int, mode);
        TestEnv env;
        env.makeClass(pupilNames(30));
        writeCriteria(env, mode);
        QList<Test> tests;
        for (int t = 1; t <= 12; ++t) {
            const int kind = (t - 1) / 3 + 1;
            const int full = (t == 2 || t == 5) ? 50 : 100;
            tests.append({QStringLiteral("単元%1").arg(t), {{kind, full, column(kind, full, t)}}});
        }
        env.writeFile(QStringLiteral("国語.dat"), scoreLines(tests));

        MainWindow& window = env.startMainWindow();
        env.ui.modalHandlers.push_back([](QDialog& d) { child<QPushButton>(&d, "allButton")->click(); });
        auto* w = qobject_cast<OverallTallyWindow*>(window.openOverallTallyWindow());
        QVERIFY(w);
        QCOMPARE(child<QTableWidget>(w, "pupilGrid")->rowCount(), 30);
        QCOMPARE(gridRow(child<QTableWidget>(w, "viewpointGrid"), 0), (QStringList{"1", "関心,意欲,態度", "71.0", "3"}));
        QCOMPARE(gridRow(child<QTableWidget>(w, "viewpointGrid"), 1), (QStringList{"2", "表現の能力", "71.0", "3"}));
        QCOMPARE(gridRow(child<QTableWidget>(w, "viewpointGrid"), 2), (QStringList{"3", "理解の能力", "70.0", "3"}));
        QCOMPARE(gridRow(child<QTableWidget>(w, "viewpointGrid"), 3), (QStringList{"4", "言語の知識", "80.7", "3"}));
        QCOMPARE(child<QLabel>(w, "overallAverage")->text(), QStringLiteral("73.0"));

        const QStringList& marks = evaluations[mode];
        const QList<Pupil>& pupils = checkedPupils();

        // 出席番号順: row p - 1 is pupil p.
        for (int i = 0; i < pupils.size(); ++i)
            QCOMPARE(gridRow(child<QTableWidget>(w, "pupilGrid"), pupils[i].number - 1), expectedRow(pupils[i], marks[i], false));

        // 総合成績順.
        child<QRadioButton>(w, "scoreOrder")->click();
        QCOMPARE(numbers(child<QTableWidget>(w, "pupilGrid")), overallOrder);
        for (int i = 0; i < pupils.size(); ++i)
            QCOMPARE(gridRow(child<QTableWidget>(w, "pupilGrid"), pupils[i].overallPosition - 1), expectedRow(pupils[i], marks[i], true));

        // The order of 観点Ⅱ: pupil 30 first down to pupil 1.
        child<QComboBox>(w, "orderChooser")->setCurrentIndex(2);
        QCOMPARE(child<QTableWidget>(w, "pupilGrid")->item(0, 0)->text(), QStringLiteral("30"));
        QCOMPARE(child<QTableWidget>(w, "pupilGrid")->item(29, 0)->text(), QStringLiteral("1"));
        for (int i = 0; i < pupils.size(); ++i)
            QCOMPARE(gridRow(child<QTableWidget>(w, "pupilGrid"), pupils[i].secondPosition - 1), expectedRow(pupils[i], marks[i], true));

        // The order of 観点Ⅳ: pupil 30, without a value, comes last.
        child<QComboBox>(w, "orderChooser")->setCurrentIndex(4);
        QCOMPARE(numbers(child<QTableWidget>(w, "pupilGrid")).mid(0, 6), (QStringList{"4", "9", "14", "19", "24", "29"}));
        QCOMPARE(numbers(child<QTableWidget>(w, "pupilGrid")).mid(24), (QStringList{"5", "10", "15", "20", "25", "30"}));
        for (int i = 0; i < pupils.size(); ++i)
            QCOMPARE(gridRow(child<QTableWidget>(w, "pupilGrid"), pupils[i].fourthPosition - 1), expectedRow(pupils[i], marks[i], true));

        // Back to number order: the same figures as at first.
        child<QRadioButton>(w, "numberOrder")->click();
        for (int i = 0; i < pupils.size(); ++i)
            QCOMPARE(gridRow(child<QTableWidget>(w, "pupilGrid"), pupils[i].number - 1), expectedRow(pupils[i], marks[i], false));
        QVERIFY(env.ui.messages.isEmpty());
    }
};

QTEST_MAIN(OverallTallyTest)
#include "test_overall_tally.moc"
