// Timings of the environment settings and the backup on a full year: 45 pupils,
// 60 tests of four columns in each of the nine subjects.

#include "Bench.h"
#include "DataFiles.h"
#include "TestEnv.h"
#include "model/BackupCopy.h"
#include "model/NewClass.h"
#include "model/ScoreFile.h"
#include "app/SettingsWindow.h"

#include <QDir>

namespace {

void writeFullYear(TestEnv& env)
{
    env.makeClass(DataFiles::pupilNames(Limits::Pupils));
    TestSet set;
    set.count = Limits::Tests;
    for (int t = 1; t <= Limits::Tests; ++t) {
        set.name[t] = QStringLiteral("テスト%1").arg(t);
        set.columnCount[t] = Limits::Columns;
        for (int c = 1; c <= Limits::Columns; ++c) {
            set.viewpoint[t][c] = c;
            set.fullMarks[t][c] = 100;
            for (int p = 1; p <= Limits::Pupils; ++p)
                set.score[t][c][p] = (t * 7 + c * 13 + p * 3) % 101;
        }
    }
    QByteArray bytes;
    ScoreFile::build(set, Limits::Pupils, bytes);
    for (int s = 1; s <= Limits::Units; ++s)
        env.writeBytes(Names::subjects()[s] + QStringLiteral(".dat"), bytes);
}

}  // namespace

KAZANE_BENCH("settings")
{
    TestEnv env;
    writeFullYear(env);
    Bench::measure(QStringLiteral("settings window: build and load"), 150, [&] {
        SettingsWindow dialog(*env.ctx);
        dialog.prepare();
    });

    const QString target = env.dir.path() + QStringLiteral("/backup");
    QDir().mkpath(target);
    Bench::measure(QStringLiteral("backup: copy a full year (11 files)"), 200, [&] {
        BackupCopy::copyFiles(env.dataFolder(),
                              BackupCopy::matching(env.dataFolder(), QStringLiteral("nam"))
                                  + BackupCopy::matching(env.dataFolder(), QStringLiteral("dat")),
                              target);
    });

    Bench::measure(QStringLiteral("new class: back up and empty a full year"), 200, [&] {
        writeFullYear(env);
        NewClass::clearFiles(env.data);
    }, 7);
}
