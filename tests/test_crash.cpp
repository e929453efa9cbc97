// Every change of several files, stopped before each of its calls to the file
// system in turn, and cut by a power failure at each of them: the next start of
// the program leaves the class either as it was or as the change made it, whole,
// every pupil's scores with that pupil, and says which when it had to do something.
//
// The change runs in a process of its own (tests/crash/crash_driver.cpp) with the
// crash library preloaded (tests/crash/crash_shim.c), which ends it with _exit()
// right before call N of open, write, fsync, fdatasync, rename, link, unlink,
// mkdir ... in the data folder, or logs every such call for the power-cut model
// (tests/support/PowerCut.h). The next start is the real main window opening the
// folder. The same runs on a FAT file system: a loop-mounted vfat image as root,
// and everywhere with the library behaving as FAT does (no hard links, no order).

#include "DataFiles.h"
#include "PowerCut.h"
#include "TestEnv.h"
#include "app/MainWindow.h"
#include "model/SafeFileJournal.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace DataFiles;
using Files = QMap<QString, QByteArray>;

namespace {

const QStringList Pupils{QStringLiteral("青木　陽菜"), QStringLiteral("石井　大翔"), QStringLiteral("上田　結衣"),
                         QStringLiteral("江藤　蓮"), QStringLiteral("大野　葵")};

QList<int> scores(int seed, int pupils)
{
    QList<int> list;
    for (int p = 1; p <= pupils; ++p)
        list << (p == 4 && seed % 2 ? -1 : (seed * 13 + p * 7) % 101);
    return list;
}

// The class every change starts from: five pupils, 算数 with three tests (one
// of two columns), 国語 with two, the other subjects without tests, a year of
// attendance, the class file and backups of an older state; every file dated in
// the spring.
void writeClass(const QString& folder)
{
    const auto put = [&folder](const QString& name, const QStringList& lines) {
        QFile file(folder + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(crlf(lines));
    };
    const int n = int(Pupils.size());
    put(QStringLiteral("Class.Nam"), rosterLines(Pupils));
    put(QStringLiteral("Class.bak"), rosterLines(Pupils.mid(0, 4)));
    for (const QString& stem : subjectStems())
        put(stem + QStringLiteral(".dat"), scoreLines({}));
    put(QStringLiteral("算数.dat"), scoreLines({{QStringLiteral("たし算"), {{1, 100, scores(1, n)}, {2, 50, scores(2, n)}}},
                                               {QStringLiteral("ひき算"), {{1, 100, scores(3, n)}}},
                                               {QStringLiteral("図形"), {{3, 20, scores(4, n)}}}}));
    put(QStringLiteral("算数.Bak"), scoreLines({{QStringLiteral("たし算"), {{1, 100, scores(1, n)}}}}));
    put(QStringLiteral("国語.dat"), scoreLines({{QStringLiteral("漢字"), {{1, 100, scores(5, n)}}},
                                               {QStringLiteral("音読"), {{2, 10, scores(6, n)}}}}));
    // The class file: weights, terms, a cell never typed and an overruling, which
    // move with their pupils and tests.
    QFile classFile(folder + QStringLiteral("assessment.json"));
    QVERIFY(classFile.open(QIODevice::WriteOnly));
    classFile.write(R"({"version": 1, "subjects": {
        "算数": {"tests": [{}, {"weight": 2, "notEntered": {"1": [3, 5]}}, {"term": 2}],
                 "overrulings": [{"pupil": 4, "group": 0, "tests": [1, 2], "computed": "2", "given": "3",
                                  "reason": "ノートの記述", "date": "2026-11-02"}]},
        "国語": {"tests": [{"term": 1}, {"weight": 1.5}]}}})");
    classFile.close();
    put(QStringLiteral("shuketu.dat"),
        attendanceLines(attendanceYear(n, [](int m) { return 18 + m % 3; },
                                       [](int m, int p) { return QList<int>{0, 0, (m + p) % 3, 0, p % 2, 0, 0}; })));
    const QDateTime spring(QDate(2026, 4, 10), QTime(8, 0));
    for (const QString& name : QDir(folder).entryList(QDir::Files)) {
        QFile file(folder + name);
        QVERIFY(file.open(QIODevice::ReadWrite) && file.setFileTime(spring, QFileDevice::FileModificationTime));
    }
}

// The class's data files as they lie in a folder (missing ones left out).
Files classFiles(const QString& folder)
{
    Files files;
    QStringList names{QStringLiteral("Class.Nam"), QStringLiteral("shuketu.dat"), QStringLiteral("assessment.json")};
    for (const QString& stem : subjectStems())
        names << stem + QStringLiteral(".dat");
    for (const QString& name : names)
        if (QFile::exists(folder + name))
            files.insert(name, fileBytes(folder + name));
    return files;
}

void copyTree(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    QDirIterator it(from, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString target = to + QDir(from).relativeFilePath(path);
        if (it.fileInfo().isDir())
            QDir().mkpath(target);
        else
            QFile::copy(path, target);
    }
}

struct Run {
    QString change;
    QString folder;  // with a final '/'
    int stopAt = 0;
    QString log;
    bool fat = false;
    bool journal = true;
};

// The driver's exit status: 0 done, 77 stopped by the crash library.
int runDriver(const Run& run)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(CRASH_SHIM));
    env.insert(QStringLiteral("KAZANE_CRASH_ROOT"), QDir::cleanPath(run.folder));
    env.insert(QStringLiteral("KAZANE_CRASH_AT"), QString::number(run.stopAt));
    env.insert(QStringLiteral("KAZANE_CRASH_LOG"), run.log);
    env.insert(QStringLiteral("KAZANE_CRASH_FAT"), run.fat ? QStringLiteral("1") : QStringLiteral("0"));
    if (!run.journal)
        env.insert(QStringLiteral("KAZANE_CRASH_NO_JOURNAL"), QStringLiteral("1"));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(CRASH_DRIVER), {run.change, run.folder});
    if (!process.waitForFinished(30000))
        return -1;
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

QString describe(const Files& files, const Files& old, const Files& made)
{
    QStringList notes;
    for (auto it = files.begin(); it != files.end(); ++it)
        notes << it.key() + (it.value() == old.value(it.key()) ? QStringLiteral(" old") : QString())
                + (it.value() == made.value(it.key()) ? QStringLiteral(" new") : QString());
    return notes.join(QStringLiteral(", "));
}

// A change of the class and the two states a stop may leave.
struct Scene {
    QString change;
    QString start;  // the folder the change starts from
    Files old;   // after a start of the program on the class before the change
    Files made;  // after a start on the class the whole change made
    Files oldAsLeft;   // before those starts
    Files madeAsLeft;
    int oldPupils = 0;
    int newPupils = 0;
    int calls = 0;  // the calls the whole change makes in the folder
};

}  // namespace

class CrashTest : public QObject {
    Q_OBJECT

    // The many runs sync hundreds of files each: in memory where the system has a
    // file system there for it (a stop of a process keeps what it wrote either way,
    // and the power cuts are rebuilt from the log).
    QTemporaryDir scratch{QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm/kazane-crash-XXXXXX")
                                                                             : QDir::tempPath() + QStringLiteral("/kazane-crash-XXXXXX")};
    std::unique_ptr<TestEnv> env;
    MainWindow* window = nullptr;
    int serial = 0;
    QString checked;  // the folder checked last: removed once the window has left it

    QString freshFolder(const QString& under = {})
    {
        const QString folder = (under.isEmpty() ? scratch.path() : under) + QStringLiteral("/run%1/").arg(++serial);
        QDir().mkpath(folder);
        return folder;
    }

    // The class's files after a start of the program on `folder` (which makes the
    // files a class lacks, as the attendance after 新規ｸﾗｽ), the folder left again.
    Files afterStart(const QString& folder)
    {
        env->data.dataFolder = folder;
        window->openDataFolder(folder);
        const Files files = classFiles(folder);
        env->data.dataFolder = env->dataFolder();
        window->openDataFolder(env->dataFolder());
        return files;
    }

    // The change made once whole from a copy of its start, with the calls counted.
    Scene prepare(const QString& change, const QString& under = {}, bool fat = false, bool journal = true)
    {
        Scene scene;
        scene.change = change;
        scene.start = freshFolder(under);
        writeClass(scene.start);
        if (change == QLatin1String("end-entry")) {
            if (runDriver({QStringLiteral("new-class"), scene.start, 0, {}, fat}) != 0)
                qWarning("new class failed");
            QDir(scene.start + QStringLiteral("以前のクラス")).removeRecursively();
        }
        // The start makes what the class lacks in the folder the runs copy.
        scene.old = afterStart(scene.start);
        scene.oldAsLeft = scene.old;
        const QString whole = freshFolder(under);
        copyTree(scene.start, whole);
        const QString log = scratch.path() + QStringLiteral("/count%1.log").arg(serial);
        if (runDriver({change, whole, 0, log, fat, journal}) != 0)
            qWarning("the change failed");
        scene.madeAsLeft = classFiles(whole);
        scene.made = afterStart(whole);
        PowerCut counted;
        counted.load(log, QDir::cleanPath(whole), {});
        scene.calls = counted.calls();
        scene.oldPupils = fileBytes(scene.start + QStringLiteral("Class.Nam")).left(2).trimmed().toInt();
        scene.newPupils = fileBytes(whole + QStringLiteral("Class.Nam")).left(2).trimmed().toInt();
        return scene;
    }

    // Opens the folder as the next start does; empty when the class is the old or
    // the new one, whole, and the teacher was told which where anything was done.
    QString nextStart(const Scene& scene, const QString& folder)
    {
        const Files left = classFiles(folder);
        const bool recorded = SafeFile::Journal::exists(folder);
        env->ui.clear();
        env->data.dataFolder = folder;
        window->openDataFolder(folder);
        if (!checked.isEmpty())
            QDir(checked).removeRecursively();
        checked = folder;
        const Files files = classFiles(folder);
        const QString told = env->ui.messageTexts().join(QLatin1Char('\n'));
        const bool isOld = files == scene.old;
        const bool isNew = files == scene.made;
        if (!isOld && !isNew)
            return QStringLiteral("neither old nor new: %1 | %2").arg(describe(files, scene.old, scene.made), told);
        if (window->dataFolderReadOnly())
            return QStringLiteral("opened read-only: ") + told;
        if (env->data.pupilCount != (isNew ? scene.newPupils : scene.oldPupils))
            return QStringLiteral("%1 pupils read").arg(env->data.pupilCount);
        const QStringList ours = QDir(folder).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral("kazane"));
        if (ours != QStringList{QStringLiteral("kazane.lock")})
            return QStringLiteral("left behind: %1 | %2").arg(ours.join(QLatin1Char(' ')), told);
        if ((left != scene.oldAsLeft && left != scene.madeAsLeft) || recorded) {
            const bool saysNew = told.contains(QStringLiteral("最後まで済ませました")) || told.contains(QStringLiteral("新しい内容が残っています"));
            const bool saysOld = told.contains(QStringLiteral("取り消しました")) || told.contains(QStringLiteral("元のまま"));
            if (isNew ? !saysNew || saysOld : !saysOld || saysNew)
                return QStringLiteral("%1 but told: %2").arg(isNew ? QStringLiteral("new") : QStringLiteral("old"), told);
        }
        if (isNew && scene.change == QLatin1String("new-class")) {
            const QString copy = folder + QStringLiteral("以前のクラス/2026-12-07_0930/");
            for (auto it = scene.old.begin(); it != scene.old.end(); ++it)
                if (fileBytes(copy + it.key()) != it.value())
                    return QStringLiteral("the copy of %1 is not whole").arg(it.key());
        }
        return {};
    }

    void stopAtEveryCall(const QString& change, bool fat, const QString& under = {})
    {
        const Scene scene = prepare(change, under, fat);
        QVERIFY2(scene.calls > 10, qPrintable(QStringLiteral("%1 calls").arg(scene.calls)));
        QVERIFY(scene.old != scene.made);
        for (int stop = 1; stop <= scene.calls; ++stop) {
            const QString folder = freshFolder(under);
            copyTree(scene.start, folder);
            QCOMPARE(runDriver({change, folder, stop, {}, fat}), 77);
            const QString problem = nextStart(scene, folder);
            QVERIFY2(problem.isEmpty(), qPrintable(QStringLiteral("stopped before call %1: %2").arg(stop).arg(problem)));
        }
    }

private slots:
    void initTestCase()
    {
        env = std::make_unique<TestEnv>();
        env->makeClass(Pupils);
        window = &env->startMainWindow();
    }

    void cleanupTestCase()
    {
        window = nullptr;
        env.reset();
    }

    void everyStopOfTheProgramLeavesTheClassOldOrNew_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("fat");
        for (const char* change : {"transfer-in", "transfer-out", "test-insert", "test-delete", "new-class", "end-entry"})
            QTest::newRow(change) << QString::fromLatin1(change) << false;
        QTest::newRow("transfer-in, as on FAT") << QStringLiteral("transfer-in") << true;
        QTest::newRow("new-class, as on FAT") << QStringLiteral("new-class") << true;
    }
    void everyStopOfTheProgramLeavesTheClassOldOrNew()
    {
        QFETCH(QString, change);
        QFETCH(bool, fat);
        stopAtEveryCall(change, fat);
    }

    void everyPowerCutLeavesTheClassOldOrNew_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("fat");
        for (const char* change : {"transfer-in", "transfer-out", "test-insert", "test-delete", "new-class", "end-entry"})
            QTest::newRow(change) << QString::fromLatin1(change) << false;
        QTest::newRow("transfer-out, as on FAT") << QStringLiteral("transfer-out") << true;
    }
    void everyPowerCutLeavesTheClassOldOrNew()
    {
        QFETCH(QString, change);
        QFETCH(bool, fat);
        const Scene scene = prepare(change, {}, fat);
        const QString run = freshFolder();
        copyTree(scene.start, run);
        const PowerCut::Tree before = PowerCut::capture(run);
        const QString log = scratch.path() + QStringLiteral("/power%1.log").arg(serial);
        QCOMPARE(runDriver({change, run, 0, log, fat}), 0);
        PowerCut cut;
        QVERIFY(cut.load(log, QDir::cleanPath(run), before));
        QSet<QByteArray> seen;
        int states = 0;
        // The changes not yet synced reach the disk in order, the first few of them;
        // as on FAT, also all but any one.
        QList<std::pair<int, int>> variants;
        for (int call = 1; call <= cut.calls() + 1; ++call) {
            variants.clear();
            for (int pending = 0; pending <= cut.pendingAt(call); ++pending)
                variants.append({pending, -1});
            for (int missing = 0; fat && missing < cut.pendingAt(call); ++missing)
                variants.append({cut.pendingAt(call), missing});
            for (const auto& [pending, missing] : std::as_const(variants)) {
                const PowerCut::Tree tree = cut.treeAt(call, pending, missing);
                if (seen.contains(PowerCut::key(tree)))
                    continue;
                seen.insert(PowerCut::key(tree));
                ++states;
                const QString folder = freshFolder();
                QVERIFY(PowerCut::write(tree, folder));
                const QString problem = nextStart(scene, folder);
                QVERIFY2(problem.isEmpty(), qPrintable(QStringLiteral("power cut before call %1 with %2 of %3 unsynced changes"
                                                                      " (without number %4): %5")
                                                           .arg(call).arg(pending).arg(cut.pendingAt(call)).arg(missing).arg(problem)));
                }
        }
        qInfo("%d distinct states after %d calls", states, cut.calls());
        QVERIFY(states > 3);
    }

    // The start's own finishing or undoing, stopped before each of its calls in
    // turn, is finished or undone at the start after: a transfer stopped halfway
    // through its moves (finished), and the same with one new content lost (undone).
    void aStopWhileFinishingOrUndoingIsDealtWithAtTheNextStart_data()
    {
        QTest::addColumn<bool>("lose");
        QTest::newRow("finishing") << false;
        QTest::newRow("undoing") << true;
    }
    void aStopWhileFinishingOrUndoingIsDealtWithAtTheNextStart()
    {
        QFETCH(bool, lose);
        const Scene scene = prepare(QStringLiteral("transfer-in"));
        // The first stop after the record and some of the moves.
        QString halfway;
        for (int stop = 1; stop <= scene.calls && halfway.isEmpty(); ++stop) {
            const QString folder = freshFolder();
            copyTree(scene.start, folder);
            QCOMPARE(runDriver({scene.change, folder, stop, {}}), 77);
            const Files files = classFiles(folder);
            if (SafeFile::Journal::exists(folder) && files != scene.oldAsLeft
                && files.value(QStringLiteral("Class.Nam")) == scene.oldAsLeft.value(QStringLiteral("Class.Nam")))
                halfway = folder;
        }
        QVERIFY(!halfway.isEmpty());
        if (lose) {
            const QStringList waiting = QDir(halfway).entryList(QDir::Hidden | QDir::Files).filter(QStringLiteral(".Class.Nam.kazane-"));
            QVERIFY(!waiting.isEmpty());
            for (const QString& name : waiting)
                QVERIFY(QFile::remove(halfway + name));
        }
        const QString counted = freshFolder();
        copyTree(halfway, counted);
        const QString log = scratch.path() + QStringLiteral("/recover%1.log").arg(serial);
        QCOMPARE(runDriver({QStringLiteral("recover"), counted, 0, log}), 0);
        QCOMPARE(classFiles(counted), lose ? scene.oldAsLeft : scene.madeAsLeft);
        PowerCut recovery;
        recovery.load(log, QDir::cleanPath(counted), {});
        QVERIFY(recovery.calls() > 10);
        for (int stop = 1; stop <= recovery.calls(); ++stop) {
            const QString folder = freshFolder();
            copyTree(halfway, folder);
            QCOMPARE(runDriver({QStringLiteral("recover"), folder, stop, {}}), 77);
            const QString problem = nextStart(scene, folder);
            QVERIFY2(problem.isEmpty(), qPrintable(QStringLiteral("recovery stopped before call %1: %2").arg(stop).arg(problem)));
            QCOMPARE(classFiles(folder), lose ? scene.old : scene.made);
        }
    }

    // Without the journal the same stops leave a class whose files disagree: the
    // test finds it, and the start-up check opens it read-only and says which.
    void withoutTheJournalAStopLeavesFilesThatDisagree()
    {
        const Scene scene = prepare(QStringLiteral("transfer-in"), {}, false, false);
        int mixed = 0;
        for (int stop = 1; stop <= scene.calls; ++stop) {
            const QString folder = freshFolder();
            copyTree(scene.start, folder);
            QCOMPARE(runDriver({scene.change, folder, stop, {}, false, false}), 77);
            if (nextStart(scene, folder).startsWith(QStringLiteral("neither old nor new"))) {
                ++mixed;
                QVERIFY(window->dataFolderReadOnly());
                const QString told = env->ui.messageTexts().join(QLatin1Char('\n'));
                QVERIFY2(told.contains(QStringLiteral("人数またはテストの数が合っていません")), qPrintable(told));
                QVERIFY2(told.contains(QStringLiteral("「Class.Nam」：5人")) || told.contains(QStringLiteral("「Class.Nam」：6人")),
                         qPrintable(told));
            }
        }
        QVERIFY(mixed > 5);
    }

    // The recovery on a real FAT file system: a loop-mounted vfat image (root only).
    void everyStopOnARealFatFileSystem()
    {
        if (::geteuid() != 0)
            QSKIP("mounting a FAT image needs root");
        const QString image = scratch.path() + QStringLiteral("/fat.img");
        const QString mountPoint = scratch.path() + QStringLiteral("/fat");
        QDir().mkpath(mountPoint);
        const auto quiet = [](const QString& program, const QStringList& arguments) {
            QProcess process;
            process.start(program, arguments);
            return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
        };
        QFile file(image);
        if (!file.open(QIODevice::WriteOnly) || !file.resize(32 * 1024 * 1024))
            QSKIP("no room for the FAT image");
        file.close();
        if (!quiet(QStringLiteral("mkfs.vfat"), {image}))
            QSKIP("mkfs.vfat (dosfstools) is not installed");
        if (!quiet(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("vfat"), QStringLiteral("-o"),
                                              QStringLiteral("loop,utf8"), image, mountPoint}))
            QSKIP("this system cannot mount a vfat image (no loop device or no vfat in the kernel)");
        // Unmounted however the test ends, after the window has left the image.
        struct Unmount {
            CrashTest* test;
            QString point;
            ~Unmount()
            {
                test->window->openDataFolder(test->env->dataFolder());
                QProcess::execute(QStringLiteral("umount"), {point});
            }
        } unmount{this, mountPoint};
        stopAtEveryCall(QStringLiteral("transfer-in"), false, mountPoint);
        stopAtEveryCall(QStringLiteral("new-class"), false, mountPoint);
    }
};

QTEST_MAIN(CrashTest)
#include "test_crash.moc"
