// The test behind score entry: its definition and its scores shown and stored
// back as numbers, absent pupils and blank cells, the row totals, and every change
// announced to the view that shows it.

#include "entry/EditedTest.h"
#include "entry/ScoreTableModel.h"
#include "model/ClassData.h"
#include "model/TestDefinition.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>
#include <memory>

namespace {

QStringList threePupils() { return {QStringLiteral("甲"), QStringLiteral("乙"), QStringLiteral("丙")}; }

QString shown(const ScoreTableModel& model, int pupil, int gridColumn)
{
    return model.index(pupil - 1, gridColumn).data().toString();
}

// What the grid shows of a row: the total and the score columns Ⅰ..Ⅳ.
QStringList row(const ScoreTableModel& model, int pupil)
{
    QStringList cells;
    for (int c = ScoreKeys::TotalColumn; c <= ScoreKeys::LastScoreColumn; ++c)
        cells << shown(model, pupil, c);
    return cells;
}

// Test 2 of a set: two columns, pupil 2 absent in column 1, pupil 3 absent in
// column 2; the unused columns 3 and 4 hold leftovers that must not be shown.
std::unique_ptr<TestSet> twoColumnTest()
{
    auto set = std::make_unique<TestSet>();
    set->count = 2;
    set->columnCount[2] = 2;
    const int scores[3][3] = {{0, 0, 0}, {48, -1, 37}, {25, 19, -1}};
    for (int c = 1; c <= 2; ++c)
        for (int p = 1; p <= 3; ++p)
            set->score[2][c][p] = scores[c][p - 1];
    for (int p = 1; p <= 3; ++p)
        set->score[2][3][p] = set->score[2][4][p] = 77;
    return set;
}

}  // namespace

class EntryScoresTest : public QObject {
    Q_OBJECT
private slots:
    void aTestIsShownAndStoredBackAsNumbers()
    {
        ScoreTableModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setPupils(threePupils());
        auto set = twoColumnTest();
        model.showTest(*set, 2);
        // Totals by hand: 48 + 25 = 73; pupil 2 absent in column 1 shows 欠席 as the
        // total; pupil 3 absent in column 2 adds nothing: 37.
        QCOMPARE(row(model, 1), (QStringList{"73", "48", "25", "", ""}));
        QCOMPARE(row(model, 2), (QStringList{"欠席", "欠席", "19", "", ""}));
        QCOMPARE(row(model, 3), (QStringList{"37", "37", "欠席", "", ""}));
        QCOMPARE(shown(model, 2, ScoreKeys::NumberColumn), QStringLiteral("2"));
        QCOMPARE(shown(model, 3, ScoreKeys::NameColumn), QStringLiteral("丙"));
        QVERIFY(model.score(2, 1).isAbsent());
        QCOMPARE(model.score(1, 2).value(), 25);
        QVERIFY(model.score(1, 3).isBlank());

        // Stored into another set: the absent pupils as -1, the columns beyond the
        // count left alone.
        auto copy = std::make_unique<TestSet>();
        copy->score[2][3][1] = 5;
        model.storeScores(*copy, 2, 2);
        for (int c = 1; c <= 2; ++c)
            for (int p = 1; p <= 3; ++p)
                QCOMPARE(copy->score[2][c][p], set->score[2][c][p]);
        QCOMPARE(copy->score[2][3][1], 5);
        QCOMPARE(copy->score[2][4][2], 0);
    }

    // The definition comes from the set and goes back into it, its weight, kind and
    // term with it (the set carries them for the class file; the score file has
    // no room for them).
    void aDefinitionGoesBetweenTheSetAndTheValue()
    {
        auto set = twoColumnTest();
        set->name[2] = QStringLiteral("漢字");
        const int viewpoints[] = {0, 3, 1, 2, 0};
        const int fullMarks[] = {0, 50, 30, 20, 0};
        for (int c = 1; c <= 4; ++c) {
            set->viewpoint[2][c] = viewpoints[c];
            set->fullMarks[2][c] = fullMarks[c];
        }
        TestDefinition test = TestDefinition::of(*set, 2);
        QCOMPARE(test.name, QStringLiteral("漢字"));
        QCOMPARE(test.columnCount, 2);
        const std::array<TestColumn, 4> columns{{{3, 50}, {1, 30}, {2, 20}, {0, 0}}};
        QCOMPARE(test.columns, columns);
        QCOMPARE(test.column(2).fullMarks, 30);
        QCOMPARE(test.weight, 1.0);
        QVERIFY(test.kind == TestKind::Scores);
        QCOMPARE(test.term, 0);
        // Column 3 lies beyond the count but still has a viewpoint until it is let go.
        QCOMPARE(test.chosenViewpoints(), 3);
        test.keepViewpointsOf(2);
        QCOMPARE(test.chosenViewpoints(), 2);
        QCOMPARE(test.column(3), (TestColumn{0, 20}));

        test.name = QStringLiteral("漢字２");
        test.weight = 2.5;
        test.kind = TestKind::Observation;
        test.term = 2;
        auto copy = std::make_unique<TestSet>(*set);
        test.storeInto(*copy, 2);
        QCOMPARE(copy->name[2], QStringLiteral("漢字２"));
        QCOMPARE(copy->viewpoint[2][1], 3);
        QCOMPARE(copy->viewpoint[2][3], 0);
        QCOMPARE(copy->fullMarks[2][3], 20);
        QCOMPARE(copy->score[2][1][1], 48);  // the scores stay
        QCOMPARE(copy->weight[2], 2.5);
        QVERIFY(copy->kind[2] == TestKind::Observation);
        QCOMPARE(copy->term[2], 2);
        QCOMPARE(copy->weight[1], 1.0);  // the other test keeps its own
        QVERIFY(TestDefinition::of(*copy, 2) == test);
    }

    // The test being edited comes from the class's tests and goes back into them
    // when it is left: a test shown lets go of the viewpoints beyond its count, a new
    // test starts in an emptied slot, and the tests differ from what was saved
    // exactly while an edit stands.
    void theEditedTestGoesBackIntoTheClass()
    {
        auto data = std::make_unique<ClassData>();
        data->pupilCount = 3;
        data->tests = *twoColumnTest();
        data->tests.name[1] = QStringLiteral("一");
        data->tests.columnCount[1] = 1;
        data->tests.name[2] = QStringLiteral("二");
        const int viewpoints[] = {0, 2, 3, 4};
        const int fullMarks[] = {0, 50, 30, 20};
        for (int c = 1; c <= 3; ++c) {
            data->tests.viewpoint[2][c] = viewpoints[c];
            data->tests.fullMarks[2][c] = fullMarks[c];
        }
        QObject owner;
        EditedTest edited(*data, &owner);
        edited.scores().setPupils(threePupils());
        edited.show(2);
        QCOMPARE(edited.number(), 2);
        QCOMPARE(edited.definition().name, QStringLiteral("二"));
        QCOMPARE(edited.definition().column(2), (TestColumn{3, 30}));
        QCOMPARE(edited.definition().column(3), (TestColumn{0, 20}));  // beyond the count
        QCOMPARE(row(edited.scores(), 1), (QStringList{"73", "48", "25", "", ""}));

        edited.markSaved();
        QVERIFY(!edited.holdsUnsavedChanges());
        edited.scores().setScore(1, 2, ScoreCell::points(26));
        QVERIFY(edited.holdsUnsavedChanges());
        edited.scores().setScore(1, 2, ScoreCell::points(25));
        QVERIFY(!edited.holdsUnsavedChanges());
        TestDefinition renamed = edited.definition();
        renamed.name = QStringLiteral("二の二");
        edited.setDefinition(renamed);
        QVERIFY(edited.holdsUnsavedChanges());
        QCOMPARE(data->tests.name[2], QStringLiteral("二"));  // not stored before it is left

        // A new test after the last, whatever an earlier use left in its slot.
        data->tests.name[3] = QStringLiteral("残り");
        data->tests.columnCount[3] = 2;
        data->tests.viewpoint[3][2] = 4;
        data->tests.score[3][1][1] = 9;
        edited.append();
        QCOMPARE(data->tests.name[2], QStringLiteral("二の二"));
        QCOMPARE(data->tests.count, 3);
        QCOMPARE(edited.number(), 3);
        QCOMPARE(edited.definition().name, QStringLiteral("新規テスト"));
        QCOMPARE(edited.definition().columnCount, 1);
        const std::array<TestColumn, 4> newColumns{{{0, 100}, {0, 0}, {0, 0}, {0, 0}}};
        QCOMPARE(edited.definition().columns, newColumns);
        QCOMPARE(data->tests.score[3][1][1], NotEntered);
        QCOMPARE(data->tests.viewpoint[3][2], 0);
        QCOMPARE(row(edited.scores(), 1), (QStringList{"", "", "", "", ""}));

        // Taken away again: two tests, the renamed one kept.
        edited.removeLast();
        QCOMPARE(data->tests.count, 2);
        QVERIFY(data->tests.name[3].isEmpty());
        edited.show(2);
        QCOMPARE(edited.definition().name, QStringLiteral("二の二"));
        QVERIFY(edited.holdsUnsavedChanges());
    }

    void blankAndAbsentCellsAndTheTotalThatWaits()
    {
        ScoreTableModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setPupils(threePupils());
        QCOMPARE(row(model, 1), (QStringList{"", "", "", "", ""}));
        model.setScore(1, 1, ScoreCell::points(6));
        model.setScore(1, 3, ScoreCell::points(100));
        model.setScore(1, 4, ScoreCell::absent());
        // The total keeps what it showed until it is brought up to date.
        QCOMPARE(row(model, 1), (QStringList{"", "6", "", "100", "欠席"}));
        model.updateTotal(1);
        QCOMPARE(shown(model, 1, ScoreKeys::TotalColumn), QStringLiteral("106"));
        model.setScore(1, 1, ScoreCell::absent());
        model.updateTotal(1);
        QCOMPARE(shown(model, 1, ScoreKeys::TotalColumn), QStringLiteral("100"));

        // A blank cell is stored as never typed (未入力), an absent one as -1; pupils 2
        // and 3 typed nothing.
        auto set = std::make_unique<TestSet>();
        for (int c = 1; c <= 4; ++c)
            for (int p = 1; p <= 3; ++p)
                set->score[1][c][p] = 9;
        model.storeScores(*set, 1, 4);
        QCOMPARE((QList<int>{set->score[1][1][1], set->score[1][2][1], set->score[1][3][1], set->score[1][4][1]}),
                 (QList<int>{-1, NotEntered, 100, -1}));
        QCOMPARE(set->score[1][2][3], NotEntered);

        // Cleared, every score and total is blank again.
        model.clearScores();
        QCOMPARE(row(model, 1), (QStringList{"", "", "", "", ""}));
        QVERIFY(model.score(1, 4).isBlank());
    }

    // A change the view is not told of would leave the old score on the screen.
    void everyChangeIsAnnouncedForItsCells()
    {
        ScoreTableModel model;
        model.setPupils(threePupils());
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        const auto covers = [&](int pupil, int gridColumn) {
            for (const QList<QVariant>& signal : changed) {
                const auto from = signal[0].value<QModelIndex>();
                const auto to = signal[1].value<QModelIndex>();
                if (from.row() <= pupil - 1 && pupil - 1 <= to.row() && from.column() <= gridColumn
                    && gridColumn <= to.column())
                    return true;
            }
            return false;
        };
        model.setScore(3, 4, ScoreCell::points(12));
        QVERIFY(covers(3, ScoreKeys::LastScoreColumn));
        QVERIFY(!covers(3, ScoreKeys::TotalColumn));
        changed.clear();
        model.updateTotal(3);
        QVERIFY(covers(3, ScoreKeys::TotalColumn));
        changed.clear();
        auto set = twoColumnTest();
        model.showTest(*set, 2);
        QVERIFY(covers(1, ScoreKeys::TotalColumn));
        QVERIFY(covers(3, ScoreKeys::LastScoreColumn));  // the 12 is gone
        changed.clear();
        model.clearScores();
        QVERIFY(covers(2, ScoreKeys::FirstScoreColumn));
        QVERIFY(covers(3, ScoreKeys::TotalColumn));
    }
};

QTEST_MAIN(EntryScoresTest)
#include "test_entry_scores.moc"
