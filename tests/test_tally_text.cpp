// The one place where the tallies' numbers become text: every state of a figure is
// written as its place asks, a tenth is rounded as the sheets have always printed
// it, and a sheet prints what the tally holds, never a text read back as a number
// (a pupil or test named like a number keeps its name).

#include "model/ClassData.h"
#include "model/Format.h"
#include "tally/OverallTallyText.h"
#include "tally/PupilTallyText.h"
#include "tally/TallyText.h"
#include "tally/TestTallyText.h"

#include <QTest>

Q_DECLARE_METATYPE(TallyNumber)

namespace {

// A grid cell and a sheet cell of the same kind of figure.
const CellText Screen{QStringLiteral("###"), QStringLiteral("0"), QStringLiteral("欠"), QStringLiteral("- "), QString()};
const CellText Sheet{QStringLiteral(" ###"), QStringLiteral(" 0"), QStringLiteral("欠"), QStringLiteral("- "), QStringLiteral("-")};

// Two pupils, one test of two columns; the pupils and the test are named as given.
ClassData namedClass(const QString& first, const QString& second, const QString& test)
{
    ClassData data;
    data.setDefaultViewpointNames();
    data.subject = 1;
    data.pupilCount = 2;
    data.pupilName[1] = first;
    data.pupilName[2] = second;
    data.tests.count = 1;
    data.tests.name[1] = test;
    data.tests.columnCount[1] = 2;
    data.tests.viewpoint[1][1] = 1;
    data.tests.viewpoint[1][2] = 2;
    data.tests.fullMarks[1][1] = 50;
    data.tests.fullMarks[1][2] = 50;
    data.tests.score[1][1][1] = 40;
    data.tests.score[1][2][1] = 30;
    data.tests.score[1][1][2] = -1;
    data.tests.score[1][2][2] = -1;
    return data;
}

}  // namespace

class TallyTextTest : public QObject {
    Q_OBJECT
private slots:
    void eachStateIsWrittenAsItsPlaceAsks_data()
    {
        QTest::addColumn<TallyNumber>("number");
        QTest::addColumn<QString>("onScreen");
        QTest::addColumn<QString>("onSheet");
        QTest::newRow("a score") << TallyNumber::of(85) << "85" << " 85";
        QTest::newRow("zero, which the pattern alone leaves empty") << TallyNumber::of(0) << "0" << " 0";
        QTest::newRow("a large total") << TallyNumber::of(1234) << "1234" << " 1234";
        QTest::newRow("absent") << TallyNumber::absent() << "欠" << "欠";
        QTest::newRow("no value") << TallyNumber::none() << "- " << "- ";
        QTest::newRow("not in the test") << TallyNumber::notInTest() << "" << "-";
        QTest::newRow("a negative stored figure means none") << TallyNumber::orNone(-1) << "- " << "- ";
    }
    void eachStateIsWrittenAsItsPlaceAsks()
    {
        QFETCH(TallyNumber, number);
        QFETCH(QString, onScreen);
        QFETCH(QString, onSheet);
        QCOMPARE(TallyText::cell(number, Screen), onScreen);
        QCOMPARE(TallyText::cell(number, Sheet), onSheet);
    }

    // A value and a state are never equal; two values are equal by their number.
    void numbersCompareByStateAndValue()
    {
        QVERIFY(TallyNumber::of(0) != TallyNumber::none());
        QVERIFY(TallyNumber::of(0) != TallyNumber::absent());
        QVERIFY(TallyNumber::absent() != TallyNumber::notInTest());
        QVERIFY(TallyNumber::of(72.5) == TallyNumber::orNone(72.5));
        QVERIFY(!TallyNumber::absent().hasValue());
    }

    // The viewpoint averages of the individual sheet: rounded to a tenth half away
    // from zero, then printed in their shortest form, as the sheet has always shown
    // the one-decimal average read back (the reference below).
    void shortestTenthRoundsAsTheSheetsDo()
    {
        QCOMPARE(TallyText::shortestTenth(90.04), QStringLiteral("90"));
        QCOMPARE(TallyText::shortestTenth(66.666667), QStringLiteral("66.7"));
        QCOMPARE(TallyText::shortestTenth(85.25), QStringLiteral("85.3"));
        QCOMPARE(TallyText::shortestTenth(72.5), QStringLiteral("72.5"));
        QCOMPARE(TallyText::shortestTenth(0.04), QStringLiteral("0"));
        QCOMPARE(TallyText::shortestTenth(0.05), QStringLiteral("0.1"));
        QCOMPARE(TallyText::shortestTenth(100), QStringLiteral("100"));
        for (int n = 0; n <= 100000; ++n) {
            const float value = float(n) / 1000.0f;
            const QString before = Format::shortest(float(Format::oneDecimal(value).toDouble()));
            QVERIFY2(TallyText::shortestTenth(value) == before, qPrintable(QString::number(double(value), 'g', 9)));
        }
    }

    // A pupil named "-1" and a test named "-2" print their names: a sheet writes the
    // tally's numbers and states, it does not read its own texts back as numbers.
    void namesThatLookLikeNumbersArePrintedAsNames()
    {
        const ClassData data = namedClass(QStringLiteral("-1"), QStringLiteral("0"), QStringLiteral("-2"));
        const OverallTally overall = computeOverallTally(data, 1, {1});
        const ReportSheet aryoiki = aryoikiSheet(overall, QStringLiteral("総合集計一覧表-国語"), OverallOrder{}, ShownFigures{});
        QCOMPARE(aryoiki.rows[1].mid(0, 4), (QStringList{"1", "-1", "70.0", "1"}));
        QCOMPARE(aryoiki.rows[2].mid(0, 5), (QStringList{"2", "0", "  -  ", "  -  ", "  -  "}));
        QCOMPARE(overallGridRows(overall, OverallOrder{}, ShownFigures{})[0][1], QStringLiteral("-1"));

        const ReportSheet testdisp =
            testdispSheet(computeTestTally(data, 1, 1, TallyOrder::AttendanceNumber), QStringLiteral("テスト別成績集計-国語"));
        QCOMPARE(testdisp.titleValues[2], QStringLiteral("-2"));
        QCOMPARE(testdisp.rows[0], (QStringList{"1", "-1", "70", "40", "30", "-", "-", "1"}));
        QCOMPARE(testdisp.rows[1], (QStringList{"2", "0", "欠", "欠", "欠", "-", "-", "- "}));

        const ReportSheet kojin = kojinSheet(computePupilTally(data, 1), 1, QStringLiteral("個人別成績集計-国語"));
        QCOMPARE(kojin.titleValues[1], QStringLiteral(" 1 -1"));
        QCOMPARE(kojin.rows, (QList<QStringList>{{"1", "-2", " 70", " 40", " 30", "-", "-", " 1"}}));
    }

    // The per-test tally's figures for a pupil who sat nothing: its states, and the
    // texts the window shows for them beside those the sheet prints.
    void absentPupilInGridAndSheet()
    {
        const ClassData data = namedClass(QStringLiteral("青木"), QStringLiteral("石田"), QStringLiteral("漢字"));
        const TestTally tally = computeTestTally(data, 1, 1, TallyOrder::Score);
        const TestTallyRow& ishida = tally.rows[1];
        QCOMPARE(ishida.pupil, 2);
        QCOMPARE(ishida.total, TallyNumber::absent());
        QCOMPARE(ishida.rank, TallyNumber::none());
        QCOMPARE(ishida.scores[3], TallyNumber::notInTest());
        QCOMPARE(TestTallyText::gridRows(tally)[1], (QStringList{"  -  ", "石田", "欠", "欠", "欠", "", "", "2"}));
        QCOMPARE(testdispSheet(tally, QString()).rows[1], (QStringList{"  -  ", "石田", "欠", "欠", "欠", "-", "-", "2"}));
    }
};

QTEST_GUILESS_MAIN(TallyTextTest)
#include "test_tally_text.moc"
