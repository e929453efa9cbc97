// Opening a full data folder, and loading and saving one full score file.

#include "Bench.h"
#include "DataFiles.h"
#include "TestEnv.h"
#include "model/AttendanceFile.h"
#include "model/ScoreFile.h"
#include "app/MainWindow.h"

#include <QFile>
#include <fcntl.h>
#include <unistd.h>

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
    // Saving replaces the file atomically (after a backup) and flushes it to the
    // disk. Its limit is a ratio: 1.2 times a plain write and fdatasync of the same
    // bytes into the same folder, measured now, since the disk's flush dominates.
    // A plain write is not safe (a crash halfway leaves half a file), so the least
    // any safe replace costs is measured too, for reference: the bytes written
    // beside the file and flushed, renamed over it, and the folder flushed so that
    // the new name survives a power cut.
    QByteArray bytes;
    ScoreFile::build(env.data.tests, 45, bytes);
    const QByteArray plainPath = QFile::encodeName(env.dataFolder() + QStringLiteral("plain-write.bin"));
    const QByteArray besidePath = plainPath + ".new";
    const QByteArray folderPath = QFile::encodeName(env.dataFolder());
    const auto writeFlushed = [&](const QByteArray& path) {
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0 || ::write(fd, bytes.constData(), size_t(bytes.size())) != bytes.size() || ::fdatasync(fd) != 0)
            Bench::fail(QStringLiteral("cannot write %1").arg(QFile::decodeName(path)));
        ::close(fd);
    };
    const double plain = Bench::measure(QStringLiteral("plain write + fdatasync of the same bytes (the save's floor)"), 0,
                                        [&] { writeFlushed(plainPath); });
    const double safeFloor = Bench::measure(QStringLiteral("least safe replace: beside + fdatasync + rename + folder fsync"), 0, [&] {
        writeFlushed(besidePath);
        const int folder = ::open(folderPath.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (::rename(besidePath.constData(), plainPath.constData()) != 0 || folder < 0 || ::fsync(folder) != 0)
            Bench::fail(QStringLiteral("cannot replace %1").arg(QFile::decodeName(plainPath)));
        ::close(folder);
    });
    ::unlink(plainPath.constData());
    const double save = Bench::measure(QStringLiteral("save one score file (backup, atomic replace, flush to disk)"), 1.2 * plain,
                                       [&] {
                                           if (!ScoreFile::save(env.data))
                                               Bench::fail(QStringLiteral("the score file could not be saved"));
                                       });
    Bench::printRatio(QStringLiteral("save / plain write + fdatasync"), save / plain, 1.2);
    Bench::printRatio(QStringLiteral("least safe replace / plain write + fdatasync"), safeFloor / plain, 0);
    Bench::printRatio(QStringLiteral("save / least safe replace"), save / safeFloor, 0);
}
