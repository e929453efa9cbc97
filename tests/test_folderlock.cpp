// One copy of the program per data folder: the lock file and who holds it, a crashed
// copy's lock taken over, a second copy that opens the class read-only or ends, the
// lock moving with the data folder of the settings window, and kazane-export
// reading a folder while the program holds it. The other copy is a real second
// process: this test program started again with --hold-lock.

#include "SettingsControls.h"
#include "MainWindowControls.h"
#include "TestEnv.h"
#include "model/DataFolderLock.h"
#include "model/TextFile.h"
#include "app/SettingsWindow.h"
#include "app/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QDirIterator>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QCheckBox>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QSysInfo>
#include <QTest>
#include <cstdio>

using namespace MainControls;
using namespace SettingsControls;

namespace {

const QString ReadOnlyTitle = QStringLiteral("小学校成績処理 「かざね」 [読み取り専用]");

// The other copy: takes the lock of a folder, says so, and keeps it until its input
// is closed.
int holdLock(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    DataFolderLock lock;
    if (lock.take(QString::fromLocal8Bit(argv[2])) != DataFolderLock::Outcome::Taken) {
        std::fputs("refused\n", stdout);
        return 1;
    }
    std::fputs("locked\n", stdout);
    std::fflush(stdout);
    char c;
    while (std::fread(&c, 1, 1, stdin) == 1) {
    }
    return 0;
}

class OtherCopy {
public:
    explicit OtherCopy(const QString& folder)
    {
        process.setProgram(QCoreApplication::applicationFilePath());
        process.setArguments({QStringLiteral("--hold-lock"), folder});
        process.start();
        holding = process.waitForReadyRead(20000) && process.readAllStandardOutput().startsWith("locked");
    }
    ~OtherCopy() { end(); }

    bool holds() const { return holding; }
    qint64 pid() const { return process.processId(); }
    // Ends as a program ends: the lock is given back.
    void end()
    {
        if (process.state() == QProcess::NotRunning)
            return;
        process.closeWriteChannel();
        process.waitForFinished(20000);
    }
    // Ends as a crash ends it: the lock file stays behind.
    void crash()
    {
        process.kill();
        process.waitForFinished(20000);
    }

private:
    QProcess process;
    bool holding = false;
};

QString lockPath(const QString& folder)
{
    return QDir(folder).filePath(QStringLiteral("kazane.lock"));
}

// A copy of the class's files in another folder.
void copyClass(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    for (const QString& name : QDir(from).entryList(QDir::Files))
        if (name != QLatin1String("kazane.lock"))
            QFile::copy(QDir(from).filePath(name), QDir(to).filePath(name));
}

SettingsWindow* openSettings(MainWindow& window)
{
    menuEntry(window, "settingsAction")->trigger();
    QMdiSubWindow* frame = window.mdiArea()->activeSubWindow();
    return frame ? qobject_cast<SettingsWindow*>(frame->widget()) : nullptr;
}

void expectWritingCommands(MainWindow& window, bool enabled)
{
    for (const char* entry : {"scoreEntryAction", "attendanceAction", "rosterAction", "testListAction"})
        QCOMPARE(menuEntry(window, entry)->isEnabled(), enabled);
    for (const char* key : {"scoreEntryButton", "attendanceButton", "rosterButton", "testListButton"})
        QCOMPARE(toolbarButton(window, key)->isEnabled(), enabled);
}

}  // namespace

class FolderLockTest : public QObject {
    Q_OBJECT
private slots:
    void anotherCopyHoldsTheFolderUntilItEnds()
    {
        QTemporaryDir dir;
        const QDateTime before = QDateTime::currentDateTime().addSecs(-2);
        OtherCopy other(dir.path());
        QVERIFY(other.holds());
        DataFolderLock lock;
        QCOMPARE(lock.take(dir.path()), DataFolderLock::Outcome::HeldByOther);
        QVERIFY(!lock.holds(dir.path()));
        QCOMPARE(lock.holder().pid, other.pid());
        QCOMPARE(lock.holder().computer, QSysInfo::machineHostName());
        QVERIFY(lock.holder().thisComputer);
        QVERIFY(lock.holder().since >= before && lock.holder().since <= QDateTime::currentDateTime().addSecs(2));

        other.end();
        QVERIFY(!QFile::exists(lockPath(dir.path())));
        QCOMPARE(lock.take(dir.path() + QStringLiteral("/./")), DataFolderLock::Outcome::Taken);
        QVERIFY(lock.holds(dir.path()));
        OtherCopy late(dir.path());
        QVERIFY(!late.holds());
    }

    // A copy on another computer that shares the folder cannot be asked whether it
    // still runs: its lock stays, however long ago it was taken.
    void anotherComputersLockIsKeptHoweverOld()
    {
        QTemporaryDir dir;
        const QString path = lockPath(dir.path());
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("4242\nkazane\nSHOKUIN-PC2\n");
        }
        const QDateTime yesterday = QDateTime::currentDateTime().addDays(-1);
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(yesterday, QFileDevice::FileModificationTime));
        }
        DataFolderLock lock;
        QCOMPARE(lock.take(dir.path()), DataFolderLock::Outcome::HeldByOther);
        QCOMPARE(lock.holder().computer, QStringLiteral("SHOKUIN-PC2"));
        QVERIFY(!lock.holder().thisComputer);
        QVERIFY(qAbs(lock.holder().since.secsTo(yesterday)) <= 1);
        QCOMPARE(fileBytes(path), QByteArray("4242\nkazane\nSHOKUIN-PC2\n"));
    }

    void theLockMovesAndEndsWithItsHolder()
    {
        QTemporaryDir dir;
        const QString first = dir.path() + QStringLiteral("/first");
        const QString second = dir.path() + QStringLiteral("/second");
        QDir().mkpath(first);
        QDir().mkpath(second);
        {
            DataFolderLock lock;
            QCOMPARE(lock.take(first), DataFolderLock::Outcome::Taken);
            QCOMPARE(lock.take(second), DataFolderLock::Outcome::Taken);
            QVERIFY(!QFile::exists(lockPath(first)));
            QVERIFY(QFile::exists(lockPath(second)));
            QVERIFY(lock.holds(second) && !lock.holds(first));
            // A folder that cannot be written, or does not exist: no lock at all.
            QCOMPARE(lock.take(QStringLiteral("/proc")), DataFolderLock::Outcome::NotWritable);
            QVERIFY(!QFile::exists(lockPath(second)));
            QCOMPARE(lock.take(dir.path() + QStringLiteral("/missing")), DataFolderLock::Outcome::NoFolder);
            QCOMPARE(lock.take(second), DataFolderLock::Outcome::Taken);
        }
        QVERIFY(!QFile::exists(lockPath(second)));
    }

    void aSecondCopyOpensTheClassReadOnly()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木"), QStringLiteral("石田")});
        QFile::remove(env.dataFolder() + QStringLiteral("体育.dat"));  // would be created by a writing copy
        OtherCopy other(env.dataFolder());
        QVERIFY(other.holds());
        const auto before = folderFiles(env.dataFolder());
        const QString since = QFileInfo(lockPath(env.dataFolder())).lastModified().toString(QStringLiteral("yyyy年M月d日 H:mm"));
        env.ui.answers = {Ui::Answer::Yes};
        MainWindow& window = env.startMainWindow();

        QCOMPARE(env.ui.messages.size(), 1);
        const ScriptedUi::Message question = env.ui.messages.first();
        QCOMPARE(question.buttons, Ui::Buttons::YesNo);
        QVERIFY2(question.text.contains(QSysInfo::machineHostName()) && question.text.contains(since)
                     && question.text.contains(QStringLiteral("使用中")) && question.text.contains(QStringLiteral("読み取り専用で開きますか")),
                 qPrintable(question.text));
        QCOMPARE(window.windowTitle(), ReadOnlyTitle);
        QCOMPARE(env.data.pupilCount, 2);
        expectWritingCommands(window, false);
        for (const char* key : {"testTallyButton", "overallTallyButton", "pupilResultsButton", "statisticsButton", "settingsButton"})
            QVERIFY(toolbarButton(window, key)->isEnabled());
        QVERIFY(menuEntry(window, "backupAction")->isEnabled());

        // A tally window and the settings window come and go: the writing commands stay off.
        ChildWindow* tally = window.openTestTallyWindow();
        QVERIFY(tally);
        tally->closeWindow();
        // The overall tally opens, but a grade of the teacher's own is not written.
        env.ui.modalHandlers.push_back([](QDialog& d) { Controls::child<QPushButton>(&d, "allButton")->click(); });
        ChildWindow* overall = window.openOverallTallyWindow();
        QVERIFY(overall);
        env.ui.clear();
        Controls::child<QPushButton>(overall, "overruleButton")->click();
        QCOMPARE(env.ui.messageTexts(),
                 QStringList{QStringLiteral("データフォルダを読み取り専用で開いているため、評定は変えられません。\n"
                                            "ほかのかざねを終了してから、環境設定の「終了」でデータフォルダを開き直してください。")});
        QVERIFY(!env.ui.modalDialogs.contains(QStringLiteral("overrulingDialog")));
        overall->closeWindow();
        SettingsWindow* settings = openSettings(window);
        QVERIFY(settings);
        QVERIFY(!newClassButton(settings)->isEnabled());
        env.ui.clear();
        env.ui.answers = {Ui::Answer::Yes};
        closeButton(settings)->click();
        QCOMPARE(env.ui.messages.size(), 1);  // asked again: the other copy still runs
        QTRY_VERIFY(window.mdiArea()->subWindowList().isEmpty());
        expectWritingCommands(window, false);

        // Called directly, the writing windows refuse as well.
        env.ui.clear();
        QVERIFY(!window.openScoreEntryWindow());
        QVERIFY(!window.openAttendanceWindow());
        QVERIFY(!window.openRosterWindow());
        QVERIFY(!window.openTestListWindow());
        QCOMPARE(env.ui.messages.size(), 4);
        QVERIFY(env.ui.lastMessage().contains(QStringLiteral("読み取り専用")));
        QVERIFY(window.mdiArea()->subWindowList().isEmpty());
        window.endProgram();
        QCOMPARE(folderFiles(env.dataFolder()), before);
        QVERIFY(fileBytes(lockPath(env.dataFolder())).startsWith(QByteArray::number(other.pid()) + '\n'));
    }

    // The read-only copy writes nothing at all. Every window that could write is
    // walked: the settings closed as they were and changed, the windows that save
    // (attendance, score entry, roster and test maintenance) from their menu
    // entries and called directly, the backup, a tally; a score file saved as UTF-8
    // is refused, not converted. The data folder and the settings file are the
    // same byte for byte, and the Ui was told not to store the folder last saved in.
    void aReadOnlyCopyWritesNothing()
    {
        TestEnv env;
        env.loadSample(QStringLiteral("homeroom"));
        env.writeBytes(QStringLiteral("音楽.dat"), QStringLiteral("1\n\"漢字テスト①\"\n0\n").toUtf8());
        OtherCopy other(env.dataFolder());
        QVERIFY(other.holds());
        const auto folder = folderFiles(env.dataFolder());
        const QByteArray settingsFile = fileBytes(env.settingsFile());
        QVERIFY(!settingsFile.isEmpty());
        env.ui.answers = {Ui::Answer::Yes};
        MainWindow& window = env.startMainWindow();
        QVERIFY(window.dataFolderReadOnly());
        QCOMPARE(env.ui.messages.size(), 1);  // the question alone: no conversion is offered
        QVERIFY(!env.ui.settingsWritable);

        // 環境設定 closed as it was: asked again, nothing stored.
        env.ui.clear();
        env.ui.answers = {Ui::Answer::Yes};
        closeButton(openSettings(window))->click();
        QCOMPARE(env.ui.messages.size(), 1);
        QTRY_VERIFY(window.mdiArea()->subWindowList().isEmpty());
        // Changed: the change holds for this copy, and is not stored.
        SettingsWindow* settings = openSettings(window);
        subjectInUseBox(settings, 9)->setChecked(false);
        env.ui.clear();
        env.ui.answers = {Ui::Answer::Ok, Ui::Answer::Yes};
        closeButton(settings)->click();
        QCOMPARE(env.ui.messages.size(), 2);
        QVERIFY2(env.ui.messages[0].text.contains(QStringLiteral("設定の変更は保存しません")), qPrintable(env.ui.messages[0].text));
        QTRY_VERIFY(window.mdiArea()->subWindowList().isEmpty());
        QVERIFY(!subjectEntry(window, 9)->isEnabled());
        QCOMPARE(fileBytes(env.settingsFile()), settingsFile);
        // プリンタの設定 changed: the choice holds for this copy, and is not stored.
        env.ui.modalHandlers.push_back([](QDialog& dialog) {
            Controls::child<QSpinBox>(&dialog, "copiesBox")->setValue(2);
            Controls::child<QPushButton>(&dialog, "okButton")->click();
        });
        menuEntry(window, "printerSetupAction")->trigger();
        int copiesShown = 0;
        env.ui.modalHandlers.push_back([&](QDialog& dialog) {
            copiesShown = Controls::child<QSpinBox>(&dialog, "copiesBox")->value();
            dialog.reject();
        });
        menuEntry(window, "printerSetupAction")->trigger();
        QCOMPARE(copiesShown, 2);
        QCOMPARE(fileBytes(env.settingsFile()), settingsFile);

        // The windows that save stay shut, from the menu and called directly.
        for (const char* entry : {"scoreEntryAction", "attendanceAction", "rosterAction", "testListAction"})
            menuEntry(window, entry)->trigger();
        QVERIFY(!window.openScoreEntryWindow());
        QVERIFY(!window.openAttendanceWindow());
        QVERIFY(!window.openRosterWindow());
        QVERIFY(!window.openTestListWindow());
        QVERIFY(window.mdiArea()->subWindowList().isEmpty());

        // The backup copies out of the folder; the backup folder is not stored.
        const QString target = env.dir.path() + QStringLiteral("/stick");
        QVERIFY(QDir().mkpath(target));
        menuEntry(window, "backupAction")->trigger();
        QMdiSubWindow* backupFrame = window.mdiArea()->activeSubWindow();
        QVERIFY(backupFrame);
        Controls::child<QLineEdit>(backupFrame->widget(), "backupFolderInput")->setText(target);
        env.ui.clear();
        Controls::child<QPushButton>(backupFrame->widget(), "backupButton")->click();
        QVERIFY(QFile::exists(target + QStringLiteral("/Class.Nam")));
        QTRY_VERIFY(window.mdiArea()->subWindowList().isEmpty());

        // A tally of 国語 opens; the UTF-8 score file of 音楽 is refused by name.
        ChildWindow* tally = window.openTestTallyWindow();
        QVERIFY(tally);
        tally->closeWindow();
        chooseSubject(window, 6);
        env.ui.clear();
        QVERIFY(!window.openTestTallyWindow());
        QCOMPARE(env.ui.messageTexts(), QStringList{TextFile::utf8Message(QStringLiteral("音楽.dat"))});

        window.endProgram();
        QCOMPARE(folderFiles(env.dataFolder()), folder);
        QCOMPARE(fileBytes(env.settingsFile()), settingsFile);
    }

    void aSecondCopyMayEndInstead()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木")});
        QFile::remove(env.dataFolder() + QStringLiteral("shuketu.dat"));
        QFile::remove(env.dataFolder() + QStringLiteral("体育.dat"));
        OtherCopy other(env.dataFolder());
        QVERIFY(other.holds());
        const auto before = folderFiles(env.dataFolder());
        env.ui.answers = {Ui::Answer::No};
        MainWindow window(*env.ctx);
        QVERIFY(!window.startUp());
        QCOMPARE(env.ui.messages.size(), 1);
        QCOMPARE(folderFiles(env.dataFolder()), before);
    }

    void anotherComputersCopyIsNamedAndLeftAlone()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木")});
        const QString path = lockPath(env.dataFolder());
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("4242\nkazane\nSHOKUIN-PC2\n");
            QVERIFY(file.flush());
            QVERIFY(file.setFileTime(QDateTime::currentDateTime().addDays(-3), QFileDevice::FileModificationTime));
        }
        QVERIFY(QFileInfo(path).lastModified() < QDateTime::currentDateTime().addDays(-2));
        env.ui.answers = {Ui::Answer::No};
        MainWindow window(*env.ctx);
        QVERIFY(!window.startUp());
        QCOMPARE(env.ui.messages.size(), 1);
        QVERIFY(env.ui.lastMessage().contains(QStringLiteral("コンピュータ：SHOKUIN-PC2\n")));
        QVERIFY(env.ui.lastMessage().contains(QStringLiteral("「kazane.lock」を削除")));
        QCOMPARE(fileBytes(path), QByteArray("4242\nkazane\nSHOKUIN-PC2\n"));
    }

    void aCrashedCopyDoesNotStandInTheWay()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木")});
        OtherCopy other(env.dataFolder());
        QVERIFY(other.holds());
        const qint64 deadPid = other.pid();
        other.crash();
        QVERIFY(fileBytes(lockPath(env.dataFolder())).startsWith(QByteArray::number(deadPid) + '\n'));
        MainWindow& window = env.startMainWindow();
        QVERIFY(env.ui.messages.isEmpty());
        QCOMPARE(window.windowTitle(), QStringLiteral("小学校成績処理 「かざね」"));
        expectWritingCommands(window, true);
        QVERIFY(fileBytes(lockPath(env.dataFolder())).startsWith(QByteArray::number(QCoreApplication::applicationPid()) + '\n'));
    }

    void theSettingsWindowMovesTheLock()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木")});
        const QString second = env.dir.path() + QStringLiteral("/second/");
        copyClass(env.dataFolder(), second);
        MainWindow& window = env.startMainWindow();
        QVERIFY(QFile::exists(lockPath(env.dataFolder())));

        // To a folder another copy holds: the old lock is given back, the new folder is read only.
        auto other = std::make_unique<OtherCopy>(second);
        QVERIFY(other->holds());
        SettingsWindow* settings = openSettings(window);
        dataFolderInput(settings)->setText(second);
        env.ui.clear();
        env.ui.answers = {Ui::Answer::Yes};
        closeButton(settings)->click();
        QCOMPARE(env.ui.messages.size(), 1);
        QVERIFY(env.ui.lastMessage().contains(QDir::cleanPath(second)));
        QVERIFY(!QFile::exists(lockPath(env.dataFolder())));
        QCOMPARE(window.windowTitle(), ReadOnlyTitle);
        QTRY_VERIFY(window.mdiArea()->subWindowList().isEmpty());
        expectWritingCommands(window, false);

        // The other copy ends: opening the folder again takes it.
        other.reset();
        settings = openSettings(window);
        env.ui.clear();
        closeButton(settings)->click();
        QVERIFY(env.ui.messages.isEmpty());
        QCOMPARE(window.windowTitle(), QStringLiteral("小学校成績処理 「かざね」"));
        QTRY_VERIFY(window.mdiArea()->subWindowList().isEmpty());
        expectWritingCommands(window, true);
        QVERIFY(fileBytes(lockPath(second)).startsWith(QByteArray::number(QCoreApplication::applicationPid()) + '\n'));

        // Back to the first folder.
        settings = openSettings(window);
        dataFolderInput(settings)->setText(env.dataFolder());
        closeButton(settings)->click();
        QVERIFY(QFile::exists(lockPath(env.dataFolder())));
        QVERIFY(!QFile::exists(lockPath(second)));
    }

    void endingFromTheSettingsWindowWritesNothing()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木")});
        const QString second = env.dir.path() + QStringLiteral("/second/");
        copyClass(env.dataFolder(), second);
        QFile::remove(second + QStringLiteral("体育.dat"));
        MainWindow& window = env.startMainWindow();
        OtherCopy other(second);
        QVERIFY(other.holds());
        const auto before = folderFiles(second);
        SettingsWindow* settings = openSettings(window);
        dataFolderInput(settings)->setText(second);
        env.ui.clear();
        env.ui.answers = {Ui::Answer::No};
        closeButton(settings)->click();
        QCOMPARE(env.ui.messages.size(), 1);
        QTRY_VERIFY(!window.isVisible());
        QCOMPARE(folderFiles(second), before);
    }

    void exportReadsWhileTheProgramHoldsTheFolder()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木"), QStringLiteral("石田")});
        env.startMainWindow();
        const QByteArray lock = fileBytes(lockPath(env.dataFolder()));
        QVERIFY(!lock.isEmpty());
        const QString csv = env.dir.path() + QStringLiteral("/names.csv");
        QProcess process;
        process.setProgram(TestEnv::buildFolder() + QStringLiteral("/kazane-export"));
        process.setArguments({QStringLiteral("--settings"), env.settingsFile(), QStringLiteral("names"), QStringLiteral("--csv"), csv});
        process.start();
        QVERIFY(process.waitForFinished(30000));
        QVERIFY2(process.exitCode() == 0, process.readAllStandardError().constData());
        QVERIFY(fileBytes(csv).contains("石田"));
        QCOMPARE(fileBytes(lockPath(env.dataFolder())), lock);
        DataFolderLock probe;
        QCOMPARE(probe.take(env.dataFolder()), DataFolderLock::Outcome::HeldByOther);
    }
};

int main(int argc, char* argv[])
{
    if (argc == 3 && qstrcmp(argv[1], "--hold-lock") == 0)
        return holdLock(argc, argv);
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    FolderLockTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_folderlock.moc"
