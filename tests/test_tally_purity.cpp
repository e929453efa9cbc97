// Every tally only reads the model: computed twice on the same class it gives the
// same figures and leaves every member of ClassData as it was, also when another
// tally window reloads the files in between; a tally value a window holds stays
// as it was when the files change under it.

#include "DataFiles.h"
#include "TallyReadBack.h"
#include "TestEnv.h"
#include "app/MainWindow.h"
#include "model/AppSettings.h"
#include "reports/PupilResultsWindow.h"
#include "tally/OverallTallyText.h"
#include "tally/PupilTallyText.h"
#include "tally/Sheets.h"
#include "tally/StatisticsText.h"
#include "tally/TestTallyText.h"

#include <QTest>
#include <cstring>
#include <functional>

using namespace DataFiles;
using namespace TallyReadBack;

namespace {

template <typename T, size_t N>
bool sameBytes(const T (&a)[N], const T (&b)[N])
{
    return std::memcmp(a, b, sizeof a) == 0;
}

QStringList testSetDifferences(const QString& name, const TestSet& a, const TestSet& b)
{
    QStringList differences;
    const auto differ = [&](bool same, const char* member) {
        if (!same)
            differences << name + QLatin1Char('.') + QLatin1String(member);
    };
    differ(a.count == b.count, "count");
    differ(a.name == b.name, "name");
    differ(a.columnCount == b.columnCount, "columnCount");
    differ(sameBytes(a.viewpoint, b.viewpoint), "viewpoint");
    differ(sameBytes(a.fullMarks, b.fullMarks), "fullMarks");
    differ(sameBytes(a.score, b.score), "score");
    return differences;
}

// The members of the model that differ between a and b, by name (every member a
// tally could read).
QStringList modelDifferences(const ClassData& a, const ClassData& b)
{
    QStringList differences;
    const auto differ = [&](bool same, const char* member) {
        if (!same)
            differences << QLatin1String(member);
    };
    differ(a.specialistMode == b.specialistMode, "specialistMode");
    differ(a.subject == b.subject, "subject");
    differ(a.classNumber == b.classNumber, "classNumber");
    differ(a.subjectInUse == b.subjectInUse, "subjectInUse");
    differ(a.fileStem == b.fileStem, "fileStem");
    differ(a.dataFolder == b.dataFolder, "dataFolder");
    differ(a.backupFolder == b.backupFolder, "backupFolder");
    differ(a.fixedValues == b.fixedValues, "fixedValues");
    differ(a.pupilCount == b.pupilCount, "pupilCount");
    differ(a.pupilName == b.pupilName, "pupilName");
    differences << testSetDifferences(QStringLiteral("tests"), a.tests, b.tests);
    differ(a.currentTest == b.currentTest, "currentTest");
    bool sameNames = true;
    for (int s = 0; s <= Limits::Units; ++s)
        for (int v = 0; v <= Limits::Viewpoints; ++v)
            sameNames = sameNames && a.viewpointName[s][v] == b.viewpointName[s][v];
    differ(sameNames, "viewpointName");
    differ(sameBytes(a.attendance, b.attendance), "attendance");
    differ(sameBytes(a.lessonDays, b.lessonDays), "lessonDays");
    differ(a.criteria == b.criteria, "criteria");
    return differences;
}

QStringList flat(const ReportSheet& sheet)
{
    QStringList texts{sheet.stem, sheet.dataIndexName};
    texts << sheet.titleFields << sheet.dataFields << sheet.titleValues;
    for (const QStringList& row : sheet.rows)
        texts << row.join(QLatin1Char('|'));
    return texts;
}

QStringList pupilSheets(const PupilTally& tally)
{
    QStringList texts;
    for (int p = 1; p <= tally.pupils; ++p)
        texts << flat(kojinSheet(tally, p, QStringLiteral("個人別成績集計-国語")));
    return texts;
}

// Every tally of the class, each giving its figures as the texts of its sheets.
struct TallyRun {
    const char* name;
    std::function<QStringList(const ClassData&)> figures;
};

QList<TallyRun> everyTally()
{
    QList<TallyRun> tallies;
    for (int t = 1; t <= 3; ++t)
        for (TallyOrder order : {TallyOrder::AttendanceNumber, TallyOrder::Score})
            tallies.append({"per test", [t, order](const ClassData& data) {
                                return flat(testdispSheet(computeTestTally(data, data.subject, t, order), QStringLiteral("テスト別")));
                            }});
    tallies.append({"individual results", [](const ClassData& data) { return pupilSheets(computePupilTally(data, data.subject)); }});
    tallies.append({"overall", [](const ClassData& data) {
                        const OverallTally overall = computeOverallTally(data, data.subject, {1, 3});
                        QStringList texts;
                        for (int group = 0; group <= Limits::Viewpoints; ++group)
                            texts << flat(aryoikiSheet(overall, QStringLiteral("総合"), OverallOrder{group > 0, qMax(0, group - 1)},
                                                       ShownFigures{}));
                        return texts;
                    }});
    tallies.append({"statistics", [](const ClassData& data) {
                        const StatisticsTable table = buildStatisticsTable(data, data.subject);
                        const StatisticsText::Texts all =
                            StatisticsText::results(computeStatistics(table, {1, 1, table.pupils, int(table.columns.size())}));
                        return QStringList{all.converted, all.raw, all.maximum, all.minimum};
                    }});
    for (auto kind : {SheetRequest::Kind::TestDisp, SheetRequest::Kind::Kojin, SheetRequest::Kind::Aryoiki,
                      SheetRequest::Kind::Names, SheetRequest::Kind::Tests, SheetRequest::Kind::Shuseki})
        tallies.append({"sheet", [kind](const ClassData& data) {
                            SheetRequest request;
                            request.kind = kind;
                            request.test = 2;
                            ReportSheet sheet;
                            return buildSheet(data, request, sheet) ? flat(sheet) : QStringList{QStringLiteral("failed")};
                        }});
    return tallies;
}

QStringList everyFigure(const ClassData& data)
{
    QStringList texts;
    for (const TallyRun& tally : everyTally())
        texts << tally.figures(data);
    return texts;
}

const QStringList ClassNames{QStringLiteral("青木"), QStringLiteral("石田"), QStringLiteral("上田"), QStringLiteral("江藤")};

QStringList firstScores()
{
    return scoreLines({
        {QStringLiteral("漢字１"), {{1, 50, {40, 30, -1, 50}}, {3, 50, {45, 20, 10, 25}}}},
        {QStringLiteral("計算"), {{2, 20, {10, 20, 15, -1}}}},
        {QStringLiteral("漢字２"), {{1, 100, {70, 90, 80, 60}}, {0, 10, {5, 10, -1, 8}}}},
    });
}

// Overall grades of 国語 by share of the class; 観点Ⅰ by score, "A" from 78.
void writeCriteria(TestEnv& env)
{
    QSettings& store = *env.settings;
    store.beginGroup(QStringLiteral("UseMode"));
    store.setValue(AppSettings::sModeKey(1), QStringLiteral("2"));
    store.setValue(AppSettings::rModeKey(1, 1), QStringLiteral("1"));
    store.setValue(AppSettings::rKey(1, 1, 3), QStringLiteral("78"));
    store.setValue(AppSettings::rKey(1, 1, 4), QStringLiteral("40"));
    store.endGroup();
    store.sync();
}

}  // namespace

class TallyPurityTest : public QObject {
    Q_OBJECT
private slots:
    void talliesOnlyReadTheModel()
    {
        TestEnv env;
        env.makeClass(ClassNames);
        env.writeFile(QStringLiteral("国語.dat"), firstScores());
        writeCriteria(env);
        MainWindow& window = env.startMainWindow();
        QVERIFY(window.openTestTallyWindow());  // reads the scores into the model
        const ClassData& model = env.data;
        QCOMPARE(model.tests.count, 3);
        QCOMPARE(model.criteria[1].overall().basis, GradeBasis::Share);

        // Over tests 1 and 3, 青木 has 40/50, 45/50, 70/100 and 5/10: 80, 90, 70
        // and 50 percent, 72.5 on average; 観点Ⅰ (80 + 70) / 2 = 75.0, below 78: "B".
        // 上田 has 10/50 and 80/100: 50.0, the fourth of four; by share of the class
        // (31 % of 4 is one pupil, 7 % none) that is a "2".
        const OverallTally overall = computeOverallTally(model, model.subject, {3, 1, 7});
        QCOMPARE(overall.chosenTests, (QList<int>{1, 3}));
        QCOMPARE(overall.overall[1].average, TallyNumber::of(72.5));
        QCOMPARE(overall.viewpoint[1][1].average, TallyNumber::of(75.0));
        QCOMPARE(overall.viewpoint[1][1].evaluation, QStringLiteral("B"));
        QCOMPARE(overall.overall[3].average, TallyNumber::of(50.0));
        QCOMPARE(overall.overall[3].rank, TallyNumber::of(4));
        QCOMPARE(overall.overall[3].evaluation, QStringLiteral("2"));

        // Each tally, twice: the same figures, and not one member of the model moved.
        const ClassData before = model;
        for (const TallyRun& tally : everyTally()) {
            const QStringList first = tally.figures(model);
            const QString changed = modelDifferences(model, before).join(QStringLiteral(", "));
            QVERIFY2(changed.isEmpty(), qPrintable(QLatin1String(tally.name) + QStringLiteral(" changed ") + changed));
            QVERIFY2(tally.figures(model) == first, tally.name);
        }
        const QStringList figures = everyFigure(model);

        // Other tally windows reload the same files: the same figures again.
        auto* results = qobject_cast<PupilResultsWindow*>(window.openPupilResultsWindow());
        QVERIFY(results && results->tally());
        QCOMPARE(everyFigure(model), figures);
        QVERIFY(window.openOverallTallyWindow());
        QCOMPARE(everyFigure(model), figures);

        // The individual results window holds its tally as a value: when the scores
        // change on disk and the per-test tally reloads them, it still has the
        // figures it shows.
        const QStringList shown = pupilSheets(*results->tally());
        QCOMPARE(shown, pupilSheets(computePupilTally(before, before.subject)));
        env.writeFile(QStringLiteral("国語.dat"),
                      scoreLines({{QStringLiteral("漢字１"), {{1, 50, {10, 20, 30, 40}}}}}));
        QVERIFY(window.openTestTallyWindow());
        QCOMPARE(env.data.tests.count, 1);
        QVERIFY(everyFigure(env.data) != figures);
        QCOMPARE(pupilSheets(*results->tally()), shown);
    }
};

QTEST_MAIN(TallyPurityTest)
#include "test_tally_purity.moc"
