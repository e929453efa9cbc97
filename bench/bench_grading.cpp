// Timings of grading on the largest unit: the class file read and written with a
// weight, a kind, 未入力 cells and an overruling for every test, the overall tally
// weighted and graded against goals, and the list of overrulings as a sheet.

#include "Bench.h"
#include "DataFiles.h"
#include "TestEnv.h"
#include "model/ClassFile.h"
#include "model/RosterFile.h"
#include "model/ScoreFile.h"
#include "output/PdfWriter.h"
#include "tally/OverallTally.h"
#include "tally/OverrulingSheet.h"

#include <QDate>
#include <QTemporaryDir>

namespace {

// 45 pupils, 60 tests of four columns in 国語; every test weighted, every fifth an
// observation, each test with three cells not entered yet and one overruling.
void writeGradedUnit(TestEnv& env)
{
    env.makeClass(DataFiles::pupilNames(45));
    TestSet set;
    set.count = 60;
    for (int t = 1; t <= 60; ++t) {
        set.name[t] = QStringLiteral("第%1回 まとめのテスト").arg(t);
        set.columnCount[t] = 4;
        const bool observed = t % 5 == 0;
        set.kind[t] = observed ? TestKind::Observation : TestKind::Scores;
        set.weight[t] = 0.5 * (1 + t % 10);
        for (int c = 1; c <= 4; ++c) {
            set.viewpoint[t][c] = c;
            set.fullMarks[t][c] = observed ? 3 : 25;
            for (int p = 1; p <= 45; ++p)
                set.score[t][c][p] = observed ? 1 + (p + t + c) % 3 : (p * 7 + t * 3 + c) % 30 - 4;
        }
        for (int p = 1; p <= 3; ++p)
            set.score[t][1][(t + p * 11) % 45 + 1] = NotEntered;
    }
    QByteArray bytes;
    ScoreFile::build(set, 45, bytes);
    env.writeBytes(QStringLiteral("国語.dat"), bytes);

    QList<Overruling> overrulings;
    for (int p = 1; p <= 45; ++p)
        overrulings << Overruling{p, p % 5, {}, QStringLiteral("B"), QStringLiteral("A"),
                                  QStringLiteral("授業中の発言と提出物から判断した"), QDate(2026, 12, 7)};
    QJsonObject root{{QStringLiteral("version"), 1}};
    ClassFile::storeTests(root, QStringLiteral("国語"), set, 45);
    ClassFile::storeOverrulings(root, QStringLiteral("国語"), overrulings);
    env.writeBytes(ClassFile::fileName(), ClassFile::build(root));

    RosterFile::load(env.data);
    ScoreFile::load(env.data);
}

QList<int> everyTest()
{
    QList<int> tests;
    for (int t = 1; t <= 60; ++t)
        tests << t;
    return tests;
}

}  // namespace

KAZANE_BENCH("grading")
{
    TestEnv env;
    writeGradedUnit(env);

    Bench::measure(QStringLiteral("class file: read into the unit (60 tests, 45 overrulings)"), 10, [&] {
        ClassFile::Content content;
        ClassFile::read(env.data, content);
        ClassFile::apply(content.root, QStringLiteral("国語"), 45, env.data.tests, env.data.overrulings);
    });
    Bench::measure(QStringLiteral("class file: the unit's tests saved (one batch)"), 50, [&] {
        env.data.tests.weight[1] = env.data.tests.weight[1] == 1.0 ? 2.0 : 1.0;  // a real change each time
        if (!ClassFile::saveTests(env.data).ok)
            Bench::fail(QStringLiteral("the class file could not be saved"));
    });

    const QList<int> chosen = everyTest();
    const OverallTally check = computeOverallTally(env.data, env.data.subject, chosen);
    if (check.pupils != 45 || !check.weighted || check.chosenTests.size() != 60)
        Bench::fail(QStringLiteral("the weighted unit was not read as written"));
    Bench::measure(QStringLiteral("overall tally by rank, weighted (45 pupils, 60 tests)"), 30, [&] {
        computeOverallTally(env.data, env.data.subject, chosen);
    });
    SubjectCriteria& criteria = env.data.criteria[env.data.subject];
    for (auto& group : criteria.groups)
        group.basis = GradeBasis::Goals;
    Bench::measure(QStringLiteral("overall tally against goals, weighted (45 pupils, 60 tests)"), 30, [&] {
        computeOverallTally(env.data, env.data.subject, chosen);
    });

    const QList<OverrulingLine> lines = OverrulingSheet::lines(env.data);
    if (lines.size() != 45)
        Bench::fail(QStringLiteral("expected 45 overrulings, read %1").arg(lines.size()));
    QTemporaryDir dir;
    const ReportSheet sheet = OverrulingSheet::sheet(lines, QStringLiteral("４年１組"));
    Bench::measure(QStringLiteral("overrulings list sheet: 45 lines to PDF"), 250, [&] {
        PdfWriter::write(sheet, env.reports->layoutPath(sheet.stem), dir.filePath(QStringLiteral("hyotei.pdf")));
    });
}
