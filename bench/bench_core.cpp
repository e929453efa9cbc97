// Opening a full data folder, and loading and saving one full score file.

#include "Bench.h"
#include "DataFiles.h"
#include "TestEnv.h"
#include "model/AttendanceFile.h"
#include "model/ScoreFile.h"
#include "app/MainWindow.h"

namespace {

void fillFullUnit(ClassData& data)
{
    data.tests.count = 60;
    for (int t = 1; t <= 60; ++t) {
        data.tests.name[t] = QStringLiteral("第%1回 漢字テスト").arg(t);
        data.tests.columnCount[t] = 4;
        for (int c = 1; c <= 4; ++c) {
            data.tests.viewpoint[t][c] = c;
            data.tests.fullMarks[t][c] = 100;
            for (int p = 1; p <= 45; ++p)
                data.tests.score[t][c][p] = (p * 7 + t * 3 + c) % 101 - (p % 13 == 0 ? 101 : 0) < 0 ? -1 : (p * 7 + t * 3 + c) % 101;
        }
    }
}

}  // namespace

KAZANE_BENCH("core")
{
    TestEnv env;
    env.makeClass(DataFiles::pupilNames(45));
    fillFullUnit(env.data);
    for (int unit = 1; unit <= 9; ++unit) {
        env.data.subject = unit;
        ScoreFile::save(env.data);
    }
    env.data.subject = 1;
    for (int m = 1; m <= 12; ++m)
        for (int p = 1; p <= 45; ++p)
            env.data.attendance[m][p][3] = 20;
    AttendanceFile::save(env.data);

    MainWindow& window = env.startMainWindow();
    Bench::measure(QStringLiteral("open a full data folder (45 pupils, 9 full score files)"), 1.0,
                   [&] { window.openDataFolder(env.dataFolder()); });
    Bench::measure(QStringLiteral("load one score file (45 pupils x 60 tests x 4 columns)"), 1.0,
                   [&] { ScoreFile::load(env.data); });
    Bench::measure(QStringLiteral("build one score file's content (45 pupils x 60 tests x 4 columns)"), 1.0, [&] {
        QByteArray bytes;
        ScoreFile::build(env.data.tests, 45, bytes);
    });
    // Saving replaces the file atomically and flushes it to the disk; the flush alone
    // takes about 10 ms on this machine's disk.
    Bench::measure(QStringLiteral("save one score file (backup, atomic replace, flush to disk)"), 1.0,
                   [&] { ScoreFile::save(env.data); });
}
