// The worked example of the manual's page on grading (resources/help/grading.html):
// the class, its scores and its criteria are read from the page's tables, tallied by
// the program's own overall tally, and every figure the page shows must be the one
// the program computes. A change of the tally or of the page that makes them
// disagree fails here.

#include "tally/OverallTallyText.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>

namespace {

QString manualPage()
{
    QFile file(QStringLiteral(TESTS_SOURCE_DIR "/../resources/help/grading.html"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

QString plain(QString cell)
{
    static const QRegularExpression tags(QStringLiteral("<[^>]*>"));
    return cell.remove(tags).trimmed();
}

// The rows of the page's table with that id, without the heading row, as cell texts.
QList<QStringList> tableRows(const QString& html, const QString& id)
{
    const QRegularExpression table(QStringLiteral("<table id=\"%1\"[^>]*>(.*?)</table>").arg(id),
                                   QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression row(QStringLiteral("<tr>(.*?)</tr>"), QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression cell(QStringLiteral("<td>(.*?)</td>"), QRegularExpression::DotMatchesEverythingOption);
    QList<QStringList> rows;
    auto rowIt = row.globalMatch(table.match(html).captured(1));
    while (rowIt.hasNext()) {
        QStringList cells;
        auto cellIt = cell.globalMatch(rowIt.next().captured(1));
        while (cellIt.hasNext())
            cells << plain(cellIt.next().captured(1));
        if (!cells.isEmpty())
            rows << cells;
    }
    return rows;
}

int number(const QString& text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? value : -1000;
}

}  // namespace

class ManualExampleTest : public QObject {
    Q_OBJECT

    QString html;
    ClassData data;
    static constexpr int Subject = 3;  // 算数

private slots:
    void initTestCase()
    {
        html = manualPage();
        QVERIFY2(!html.isEmpty(), "grading.html is missing");

        // The class: number, name and the three columns' scores ("欠" = absent).
        const QList<QStringList> scores = tableRows(html, QStringLiteral("example-scores"));
        QCOMPARE(scores.size(), 5);
        data.subject = Subject;
        data.pupilCount = scores.size();
        // The two tests as the page describes them: かけ算 with 観点Ⅰ and 観点Ⅱ of 50
        // marks each, わり算 with 観点Ⅰ of 100 marks.
        TestSet& tests = data.tests;
        tests.count = 2;
        tests.name[1] = QStringLiteral("かけ算");
        tests.columnCount[1] = 2;
        tests.viewpoint[1][1] = 1;
        tests.fullMarks[1][1] = 50;
        tests.viewpoint[1][2] = 2;
        tests.fullMarks[1][2] = 50;
        tests.name[2] = QStringLiteral("わり算");
        tests.columnCount[2] = 1;
        tests.viewpoint[2][1] = 1;
        tests.fullMarks[2][1] = 100;
        for (const QStringList& row : scores) {
            QCOMPARE(row.size(), 5);
            const int p = number(row[0]);
            QVERIFY(p >= 1 && p <= data.pupilCount);
            data.pupilName[p] = row[1];
            const auto score = [](const QString& text) { return text == QStringLiteral("欠") ? Absent : number(text); };
            tests.score[1][1][p] = score(row[2]);
            tests.score[1][2][p] = score(row[3]);
            tests.score[2][1][p] = score(row[4]);
        }

        // The criteria the page states, in its own words.
        const QList<QStringList> criteria = tableRows(html, QStringLiteral("example-criteria"));
        QCOMPARE(criteria.size(), 3);
        QCOMPARE(criteria[0][1], QStringLiteral("点数で"));
        QCOMPARE(criteria[0][2], QStringLiteral("80点以上が３、50点以下が１"));
        QCOMPARE(criteria[1][1], QStringLiteral("順位で"));
        QCOMPARE(criteria[1][2], QStringLiteral("1位以内がＡ、5位以下がＣ"));
        QCOMPARE(criteria[2][1], QStringLiteral("％で"));
        QCOMPARE(criteria[2][2], QStringLiteral("40％がＡ、20％がＣ"));
        SubjectCriteria& subject = data.criteria[Subject];
        subject.groups[SubjectCriteria::Overall].basis = GradeBasis::Score;
        subject.groups[SubjectCriteria::Overall].bestFromScore = 80;
        subject.groups[SubjectCriteria::Overall].lowestUpToScore = 50;
        subject.groups[1].basis = GradeBasis::Rank;
        subject.groups[1].bestUpToRank = 1;
        subject.groups[1].lowestFromRank = 5;
        subject.groups[2].basis = GradeBasis::Share;
        subject.groups[2].bestSharePercent = 40;
        subject.groups[2].lowestSharePercent = 20;
    }

    // Every cell of the page's result table is what the overall tally shows for the
    // same pupil, in attendance-number order with every figure shown.
    void thePupilTableIsWhatTheProgramShows()
    {
        const OverallTally tally = computeOverallTally(data, Subject, {1, 2});
        const QList<QStringList> shown = overallGridRows(tally, OverallOrder{}, ShownFigures{});
        const QList<QStringList> manual = tableRows(html, QStringLiteral("example-table"));
        QCOMPARE(manual.size(), data.pupilCount);
        QCOMPARE(shown.size(), data.pupilCount);
        for (int row = 0; row < manual.size(); ++row) {
            QCOMPARE(manual[row].size(), 11);
            for (int column = 0; column < manual[row].size(); ++column)
                QVERIFY2(shown[row][column].trimmed() == manual[row][column],
                         qPrintable(QStringLiteral("pupil %1, %2: the program shows \"%3\", the manual \"%4\"")
                                        .arg(row + 1)
                                        .arg(OverallTallyText::headings()[column], shown[row][column], manual[row][column])));
            // Viewpoints Ⅲ and Ⅳ measure no column: the manual says they show "-".
            for (int column = 11; column < OverallTallyText::Columns; ++column)
                QCOMPARE(shown[row][column].trimmed(), QStringLiteral("-"));
        }
    }

    // The viewpoint summary and the class's overall average of the page.
    void theClassFiguresAreWhatTheProgramShows()
    {
        const OverallTally tally = computeOverallTally(data, Subject, {1, 2});
        const QList<QStringList> manual = tableRows(html, QStringLiteral("example-class"));
        QCOMPARE(manual.size(), 3);
        for (int v = 1; v <= 2; ++v) {
            const QStringList row = OverallTallyText::viewpointRow(tally, v);
            QCOMPARE(row[2].trimmed(), manual[v - 1][1]);
            QCOMPARE(row[3].trimmed(), manual[v - 1][2]);
        }
        QCOMPARE(OverallTallyText::overallAverage(tally).trimmed(), manual[2][1]);
    }

    // The example of grading against goals: weights, a test not entered yet and an
    // observation test, tallied as the page says, give the page's table.
    void theGoalsExampleIsWhatTheProgramShows()
    {
        const QList<QStringList> scores = tableRows(html, QStringLiteral("goals-scores"));
        QCOMPARE(scores.size(), 4);
        ClassData goals;
        goals.subject = Subject;
        goals.pupilCount = int(scores.size());
        TestSet& tests = goals.tests;
        tests.count = 3;
        tests.columnCount[1] = 1;
        tests.viewpoint[1][1] = 1;
        tests.fullMarks[1][1] = 10;
        tests.columnCount[2] = 2;
        tests.viewpoint[2][1] = 1;
        tests.fullMarks[2][1] = 50;
        tests.viewpoint[2][2] = 2;
        tests.fullMarks[2][2] = 50;
        tests.weight[2] = 2;
        tests.columnCount[3] = 1;
        tests.viewpoint[3][1] = 3;
        tests.fullMarks[3][1] = 3;
        tests.kind[3] = TestKind::Observation;
        for (const QStringList& row : scores) {
            QCOMPARE(row.size(), 6);
            const int p = number(row[0]);
            goals.pupilName[p] = row[1];
            const auto score = [](const QString& text) {
                static const QStringList letters{QStringLiteral("C"), QStringLiteral("B"), QStringLiteral("A")};
                if (letters.contains(text))
                    return int(letters.indexOf(text)) + 1;
                return text == QStringLiteral("未") ? NotEntered : number(text);
            };
            tests.score[1][1][p] = score(row[2]);
            tests.score[2][1][p] = score(row[3]);
            tests.score[2][2][p] = score(row[4]);
            tests.score[3][1][p] = score(row[5]);
        }
        const QList<QStringList> criteria = tableRows(html, QStringLiteral("goals-criteria"));
        QCOMPARE(criteria.size(), 2);
        QCOMPARE(criteria[0].mid(1), (QStringList{"観点から", "2.5以上が３、1.5以下が１"}));
        QCOMPARE(criteria[1].mid(1), (QStringList{"到達率で", "80％以上がＡ、50％未満がＣ"}));
        for (GroupCriteria& group : goals.criteria[Subject].groups)
            group.basis = GradeBasis::Goals;  // the thresholds are the defaults

        const OverallTally tally = computeOverallTally(goals, Subject, {1, 2, 3});
        const QList<QStringList> shown = overallGridRows(tally, OverallOrder{}, ShownFigures{});
        const QList<QStringList> manual = tableRows(html, QStringLiteral("goals-table"));
        QCOMPARE(manual.size(), goals.pupilCount);
        for (int row = 0; row < manual.size(); ++row) {
            QCOMPARE(manual[row].size(), 14);
            for (int column = 0; column < manual[row].size(); ++column)
                QVERIFY2(shown[row][column].trimmed() == manual[row][column],
                         qPrintable(QStringLiteral("pupil %1, %2: the program shows \"%3\", the manual \"%4\"")
                                        .arg(row + 1)
                                        .arg(OverallTallyText::headings()[column], shown[row][column], manual[row][column])));
        }
        // Without 観点Ⅲ in 評定, as the page says: 上野 stays 1, 遠藤 becomes 3.
        goals.criteria[Subject].fromViewpoints.counted[3] = false;
        const OverallTally without = computeOverallTally(goals, Subject, {1, 2, 3});
        QCOMPARE(without.overall[3].evaluation, QStringLiteral("1"));
        QCOMPARE(without.overall[4].evaluation, QStringLiteral("3"));
    }
};

QTEST_GUILESS_MAIN(ManualExampleTest)
#include "test_manual_example.moc"
