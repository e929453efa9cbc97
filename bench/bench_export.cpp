// kazane-export as a whole process: one sheet to PDF, and the year's term pack of a
// full homeroom class.

#include "Bench.h"
#include "DataFiles.h"
#include "TestEnv.h"
#include "model/AttendanceFile.h"
#include "model/ScoreFile.h"

#include <QDir>
#include <QProcess>

namespace {

void runExport(const QStringList& arguments)
{
    QProcess process;
    process.start(TestEnv::buildFolder() + QStringLiteral("/kazane-export"), arguments);
    process.waitForFinished(60000);
}

}  // namespace

KAZANE_BENCH("export")
{
    TestEnv env;
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
        ScoreFile::save(data);
    }
    for (int m = 1; m <= 12; ++m) {
        data.lessonDays[m] = 20;
        for (int p = 1; p <= 45; ++p)
            data.attendance[m][p][3] = 20;
    }
    AttendanceFile::save(data);
    const QString settings = env.settingsFile();
    const QString out = env.dir.path() + QStringLiteral("/out");
    QDir().mkpath(out);
    Bench::measure(QStringLiteral("kazane-export: one overall sheet to PDF (whole process)"), 300, [&] {
        runExport({QStringLiteral("--settings"), settings, QStringLiteral("aryoiki"), QStringLiteral("--pdf"),
                   out + QStringLiteral("/a.pdf")});
    }, 7);
    Bench::measure(QStringLiteral("kazane-export: year term pack, 9 subjects x 45 pupils (whole process)"), 10000, [&] {
        runExport({QStringLiteral("--settings"), settings, QStringLiteral("--term-pack"), out + QStringLiteral("/pack"),
                   QStringLiteral("--term"), QStringLiteral("year")});
    }, 3);
}
