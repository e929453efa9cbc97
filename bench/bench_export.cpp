// kazane-export as a whole process: one sheet to PDF, and the year's term pack of a
// full homeroom class (9 subjects x 45 pupils: 416 PDFs), measured against its
// floor: the same pages painted by a bare QPdfWriter loop (PackFloor.h).

#include "Bench.h"
#include "DataFiles.h"
#include "PackFloor.h"
#include "TestEnv.h"
#include "model/AttendanceFile.h"
#include "model/ScoreFile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <sys/resource.h>

namespace {

struct Usage {
    double cpuMs = 0;    // user + system
    double maxRssMb = 0;
};

double cpuMs(const rusage& usage)
{
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

Usage usageOf(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    return {cpuMs(usage), usage.ru_maxrss / 1024.0};
}

// Runs kazane-export to its end; a run that fails ends the benchmark.
void runExport(const QStringList& arguments)
{
    QProcess process;
    process.start(Bench::buildFolder() + QStringLiteral("/kazane-export"), arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        Bench::fail(QStringLiteral("kazane-export %1 failed: %2").arg(arguments.join(QLatin1Char(' ')),
                                                                       QString::fromUtf8(process.readAllStandardError())));
}

struct Runs {
    std::vector<double> wall, cpu;
    double maxRssMb = 0;
};

// Times `body` `count` times after a warm-up: wall time and the CPU time of this
// process (`who` RUSAGE_SELF) or of the child processes it waited for.
Runs timeRuns(int count, int who, const std::function<void()>& body)
{
    body();
    Runs runs;
    for (int i = 0; i < count; ++i) {
        const Usage before = usageOf(who);
        QElapsedTimer timer;
        timer.start();
        body();
        runs.wall.push_back(double(timer.nsecsElapsed()) / 1e6);
        const Usage after = usageOf(who);
        runs.cpu.push_back(after.cpuMs - before.cpuMs);
        runs.maxRssMb = std::max(runs.maxRssMb, after.maxRssMb);
    }
    return runs;
}

void fillFullClass(TestEnv& env)
{
    env.makeClass(DataFiles::pupilNames(45));
    ClassData& data = env.data;
    data.tests.count = 60;
    for (int t = 1; t <= 60; ++t) {
        data.tests.name[t] = QStringLiteral("第%1回 まとめのテスト").arg(t);
        data.tests.columnCount[t] = 4;
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
}

}  // namespace

KAZANE_BENCH("export")
{
    TestEnv env;
    fillFullClass(env);
    const QString settings = env.settingsFile();
    const QString out = env.dir.path() + QStringLiteral("/out");
    QDir().mkpath(out);
    Bench::measure(QStringLiteral("kazane-export: one overall sheet to PDF (whole process)"), 300, [&] {
        runExport({QStringLiteral("--settings"), settings, QStringLiteral("aryoiki"), QStringLiteral("--pdf"),
                   out + QStringLiteral("/a.pdf")});
    }, 7);

    const int count = qEnvironmentVariableIntValue("KAZANE_BENCH_RUNS") > 0 ? qEnvironmentVariableIntValue("KAZANE_BENCH_RUNS") : 5;
    const QString pack = out + QStringLiteral("/pack");
    const QStringList packArguments{QStringLiteral("--settings"), settings, QStringLiteral("--term-pack"), pack,
                                    QStringLiteral("--term"), QStringLiteral("year")};
    const Runs packRuns = timeRuns(count, RUSAGE_CHILDREN, [&] { runExport(packArguments); });
    const int packFiles = int(QDir(pack).entryList({QStringLiteral("*.pdf")}, QDir::Files).size());

    const Runs onePerSubject = timeRuns(count, RUSAGE_CHILDREN, [&] {
        runExport(packArguments + QStringList{QStringLiteral("--one-file-per-subject")});
    });

    PackFloor floor(env.data, Bench::buildFolder());
    const QString floorFolder = out + QStringLiteral("/floor");
    QDir().mkpath(floorFolder);
    const Runs floorRuns = timeRuns(count, RUSAGE_SELF, [&] { floor.paint(floorFolder); });
    if (floor.files() != packFiles)
        Bench::fail(QStringLiteral("the floor painted %1 files, the pack %2").arg(floor.files()).arg(packFiles));

    std::printf("term pack: %d PDFs, %d pages; %d runs each\n", packFiles, floor.pages(), count);
    const Bench::Spread packWall = Bench::spread(packRuns.wall), packCpu = Bench::spread(packRuns.cpu);
    const Bench::Spread floorWall = Bench::spread(floorRuns.wall), floorCpu = Bench::spread(floorRuns.cpu);
    Bench::print(QStringLiteral("term pack: wall"), packWall, "ms");
    Bench::print(QStringLiteral("term pack: CPU"), packCpu, "ms");
    Bench::print(QStringLiteral("term pack, --one-file-per-subject: wall"), Bench::spread(onePerSubject.wall), "ms");
    Bench::print(QStringLiteral("term pack, --one-file-per-subject: CPU"), Bench::spread(onePerSubject.cpu), "ms");
    Bench::print(QStringLiteral("floor (bare QPdfWriter loop, one thread): wall"), floorWall, "ms");
    Bench::print(QStringLiteral("floor (bare QPdfWriter loop, one thread): CPU"), floorCpu, "ms");
    Bench::printRatio(QStringLiteral("term pack CPU / floor CPU (medians)"), packCpu.median / floorCpu.median, 1.2);
    Bench::printRatio(QStringLiteral("term pack wall / floor wall (medians)"), packWall.median / floorWall.median, 1.5);
    std::printf("%-70s %9.1f MB  (limit 64 MB)%s\n", "term pack: largest resident memory of a run", packRuns.maxRssMb,
                packRuns.maxRssMb <= 64 ? "" : "  OVER");
    std::fflush(stdout);
}
