// Transfers and test-list changes on the largest class the files hold: 44 pupils
// (so that one more can come in), nine score files of 60 tests of 4 columns each.

#include "Bench.h"

#include "DataFiles.h"
#include "TestEnv.h"
#include "model/ScoreFile.h"
#include "model/TestList.h"
#include "model/Transfer.h"

#include <QStringList>
#include <memory>
#include <vector>

namespace {

constexpr int Pupils = 44;

using namespace DataFiles;

QStringList fullScoreFile(int unit, int tests)
{
    Tests set;
    for (int t = 1; t <= tests; ++t) {
        Test test{QStringLiteral("第%1回 単元テスト").arg(t), {}};
        for (int c = 1; c <= 4; ++c) {
            Column column{c, 100, {}};
            for (int p = 1; p <= Pupils; ++p)
                column.scores << (unit * 31 + t * 7 + c * 5 + p * 3) % 101;
            test.columns << column;
        }
        set << test;
    }
    return scoreLines(set);
}

// A homeroom class with its nine full score files and a filled attendance file.
std::unique_ptr<TestEnv> fullClass(int tests)
{
    auto env = std::make_unique<TestEnv>();
    env->makeClass(pupilNames(Pupils));
    for (int unit = 1; unit <= Limits::Units; ++unit)
        env->writeFile(env->data.fileStem[unit] + QStringLiteral(".dat"), fullScoreFile(unit, tests));
    const Attendance year = attendanceYear(
        Pupils, [](int) { return 20; }, [](int, int) { return QList<int>{0, 0, 20, 1, 0, 2, 1}; });
    env->writeFile(QStringLiteral("shuketu.dat"), attendanceLines(year));
    return env;
}

// One prepared class per run, so that every timed run does exactly one change.
std::vector<std::unique_ptr<TestEnv>> classes(int count, int tests)
{
    std::vector<std::unique_ptr<TestEnv>> all;
    for (int i = 0; i < count; ++i)
        all.push_back(fullClass(tests));
    return all;
}

}  // namespace

KAZANE_BENCH("maintenance")
{
    const int runs = 21;
    {
        auto envs = classes(runs + 1, Limits::Tests);
        size_t next = 0;
        Bench::measure(QStringLiteral("transfer in: 44 pupils, 9 files of 60 tests x 4 columns"), 50, [&] {
            TestEnv& env = *envs[next++];
            if (!Transfer::transferIn(env.data, 20, QStringLiteral("転入生"), QDate(2026, 10, 1)).ok)
                qFatal("transfer in failed");
        }, runs);
    }
    {
        auto envs = classes(runs + 1, Limits::Tests);
        size_t next = 0;
        Bench::measure(QStringLiteral("transfer out: 44 pupils, 9 files of 60 tests x 4 columns"), 50, [&] {
            TestEnv& env = *envs[next++];
            if (!Transfer::transferOut(env.data, 20).ok)
                qFatal("transfer out failed");
        }, runs);
    }
    {
        auto env = fullClass(Limits::Tests - 1);
        int tests = Limits::Tests - 1;
        Bench::measure(QStringLiteral("test insert and delete: 59 tests x 4 columns, 44 pupils"), 20, [&] {
            if (!TestList::insertBefore(env->data, 1).ok || !TestList::remove(env->data, 1).ok)
                qFatal("test insert failed");
            tests = env->data.tests.count;
        }, runs);
        if (tests != Limits::Tests - 1)
            qFatal("test count changed");
    }
}
