// The report cards of a full homeroom class (45 pupils, nine subjects of 60 tests in
// three terms) made by kazane-export as a whole process, one PDF per pupil and all
// in one file, against the term pack of the same class: the time per page of each,
// median (smallest to largest). A report card page holds every subject; it may take
// no longer per page than a page of the pack.

#include "Bench.h"
#include "DataFiles.h"
#include "PackFloor.h"
#include "TestEnv.h"
#include "model/AttendanceFile.h"
#include "model/ScoreFile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>

namespace {

void runExport(const QStringList& arguments)
{
    QProcess process;
    process.start(Bench::buildFolder() + QStringLiteral("/kazane-export"), arguments);
    if (!process.waitForFinished(300000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        Bench::fail(QStringLiteral("kazane-export %1 failed: %2").arg(arguments.join(QLatin1Char(' ')),
                                                                       QString::fromUtf8(process.readAllStandardError())));
}

// Wall times of `count` runs after a warm-up, in ms.
std::vector<double> wallTimes(int count, const std::function<void()>& body)
{
    body();
    std::vector<double> times;
    for (int i = 0; i < count; ++i) {
        QElapsedTimer timer;
        timer.start();
        body();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    return times;
}

std::vector<double> perPage(std::vector<double> times, int pages)
{
    for (double& time : times)
        time /= pages;
    return times;
}

// 45 pupils, nine subjects of 60 tests (20 in each term), a year of attendance.
void fillTermClass(TestEnv& env)
{
    env.makeClass(DataFiles::pupilNames(45, DataFiles::NameStyle::Full));
    ClassData& data = env.data;
    data.tests.count = 60;
    for (int t = 1; t <= 60; ++t) {
        data.tests.name[t] = QStringLiteral("第%1回 まとめのテスト").arg(t);
        data.tests.columnCount[t] = 4;
        data.tests.term[t] = 1 + (t - 1) / 20;
        for (int c = 1; c <= 4; ++c) {
            data.tests.viewpoint[t][c] = c;
            data.tests.fullMarks[t][c] = 25;
            for (int p = 1; p <= 45; ++p)
                data.tests.score[t][c][p] = (p * 7 + t * 3 + c) % 26;
        }
    }
    for (int unit = 1; unit <= 9; ++unit) {
        data.subject = unit;
        if (!ScoreFile::save(data))
            Bench::fail(QStringLiteral("cannot write the benchmark class"));
    }
    for (int m = 1; m <= 12; ++m) {
        data.lessonDays[m] = 20;
        for (int p = 1; p <= 45; ++p)
            data.attendance[m][p][3] = 20;
    }
    if (!AttendanceFile::save(data))
        Bench::fail(QStringLiteral("cannot write the benchmark class"));
    data.subject = 1;
}

}  // namespace

KAZANE_BENCH("reportcard")
{
    TestEnv env;
    fillTermClass(env);
    const QString settings = env.settingsFile();
    const QString out = env.dir.path() + QStringLiteral("/out");
    const int count = qEnvironmentVariableIntValue("KAZANE_BENCH_RUNS") > 0 ? qEnvironmentVariableIntValue("KAZANE_BENCH_RUNS") : 5;
    const QStringList common{QStringLiteral("--settings"), settings, QStringLiteral("--term"), QStringLiteral("1")};

    const QString cards = out + QStringLiteral("/cards");
    const std::vector<double> each = wallTimes(count, [&] { runExport(common + QStringList{QStringLiteral("--report-card"), cards}); });
    const int cardFiles = int(QDir(cards).entryList({QStringLiteral("*.pdf")}, QDir::Files).size());
    if (cardFiles != 45)
        Bench::fail(QStringLiteral("the report cards made %1 files, not 45").arg(cardFiles));
    const QString oneFile = out + QStringLiteral("/one");
    const std::vector<double> all = wallTimes(count, [&] {
        runExport(common + QStringList{QStringLiteral("--report-card"), oneFile, QStringLiteral("--one-file")});
    });
    const QString pack = out + QStringLiteral("/pack");
    const std::vector<double> packTimes = wallTimes(count, [&] { runExport(common + QStringList{QStringLiteral("--term-pack"), pack}); });
    const int packPages = PackFloor(env.data, Bench::buildFolder()).pages();

    std::printf("report cards: 45 pupils, one page each; term pack: %d pages; %d runs each\n", packPages, count);
    const Bench::Spread eachPage = Bench::spread(perPage(each, 45));
    const Bench::Spread allPage = Bench::spread(perPage(all, 45));
    const Bench::Spread packPage = Bench::spread(perPage(packTimes, packPages));
    Bench::print(QStringLiteral("report cards, a PDF each: wall"), Bench::spread(each), "ms");
    Bench::print(QStringLiteral("report cards, --one-file: wall"), Bench::spread(all), "ms");
    Bench::print(QStringLiteral("term pack: wall"), Bench::spread(packTimes), "ms");
    Bench::print(QStringLiteral("report cards, a PDF each: per page"), eachPage, "ms");
    Bench::print(QStringLiteral("report cards, --one-file: per page"), allPage, "ms");
    Bench::print(QStringLiteral("term pack: per page"), packPage, "ms");
    Bench::printRatio(QStringLiteral("report card per page / term pack per page (medians)"), eachPage.median / packPage.median, 1.0);
    std::fflush(stdout);
}
