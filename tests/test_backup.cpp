// The backup window driven through the main window: what lands in the backup
// folder byte for byte, what is stored as "BackupPath", and the folders that are
// refused before anything is copied.

#include "Controls.h"
#include "DataFiles.h"
#include "MainWindowControls.h"
#include "TestEnv.h"
#include "app/BackupWindow.h"
#include "app/MainWindow.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSettings>
#include <QTest>

using Controls::child;
using namespace MainControls;

namespace {

const QString Interrupted = QStringLiteral("データのバックアップは中断されました");

QString storedBackupPath(TestEnv& env)
{
    env.settings->sync();
    QSettings store(env.settingsFile(), QSettings::IniFormat);
    return store.value(QStringLiteral("UseMode/BackupPath")).toString();
}

BackupWindow* openBackup(MainWindow& window)
{
    menuEntry(window, "backupAction")->trigger();
    for (QMdiSubWindow* frame : window.mdiArea()->subWindowList())
        if (auto* backup = qobject_cast<BackupWindow*>(frame->widget()))
            return backup;
    return nullptr;
}

bool backupOpen(MainWindow& window)
{
    for (QMdiSubWindow* frame : window.mdiArea()->subWindowList())
        if (qobject_cast<BackupWindow*>(frame->widget()))
            return true;
    return false;
}

}  // namespace

class BackupTest : public QObject {
    Q_OBJECT
private slots:
    // The rosters and data files are copied whatever the case of their names; the
    // backups of the data folder are not; an older copy of another case is replaced.
    void copiesRostersAndDataFiles()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木"), QStringLiteral("石田")});
        env.writeFile(QStringLiteral("算数.dat"), DataFiles::scoreLines({{QStringLiteral("小テスト"), {{1, 10, {8, -1}}}}}));
        env.writeFile(QStringLiteral("４の１.NAM"), {QStringLiteral("0")});
        env.writeFile(QStringLiteral("EXTRA.DAT"), {QStringLiteral("0")});
        for (const char* backup : {"Class.bak", "Class.NBk", "算数.Bak", "shuketu.bak", "notes.txt"})
            env.writeFile(QString::fromUtf8(backup), {QStringLiteral("old")});
        QDir().mkpath(env.dataFolder() + QStringLiteral("folder.dat"));
        const QString target = env.dir.path() + QStringLiteral("/backup");
        QDir().mkpath(target);
        QFile old(target + QStringLiteral("/class.nam"));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("0\r\n");
        old.close();

        MainWindow& window = env.startMainWindow();
        BackupWindow* backup = openBackup(window);
        QVERIFY(backup);
        QCOMPARE(backup->windowTitle(), QStringLiteral("データのバックアップ"));
        QCOMPARE(child<QLabel>(backup, "dataFolderLabel")->text(), env.dataFolder());
        QCOMPARE(child<QLineEdit>(backup, "backupFolderInput")->text(), env.dir.path());
        QVERIFY(!toolbarButton(window, "scoreEntryButton")->isEnabled());
        QVERIFY(!toolbarButton(window, "printButton")->isEnabled());

        child<QLineEdit>(backup, "backupFolderInput")->setText(target);
        env.ui.clear();
        QTest::mouseClick(child<QPushButton>(backup, "backupButton"), Qt::LeftButton);
        QVERIFY(!backupOpen(window));
        QCOMPARE(storedBackupPath(env), target);
        QCOMPARE(env.data.backupFolder, target);
        QCOMPARE(env.ui.messages.size(), 1);
        QCOMPARE(env.ui.messages.first().icon, Ui::Icon::Information);
        QVERIFY(env.ui.messages.first().text.contains(QStringLiteral("13 個のファイル")));

        QStringList expected{QStringLiteral("class.nam"), QStringLiteral("４の１.NAM"), QStringLiteral("EXTRA.DAT"),
                             QStringLiteral("shuketu.dat")};
        for (const QString& subject : DataFiles::subjectStems())
            expected.append(subject + QStringLiteral(".dat"));
        expected.sort();
        QCOMPARE(filesIn(target), expected);
        QCOMPARE(fileBytes(target + QStringLiteral("/class.nam")), env.readBytes(QStringLiteral("Class.Nam")));
        QCOMPARE(fileBytes(target + QStringLiteral("/算数.dat")), env.readBytes(QStringLiteral("算数.dat")));
        QCOMPARE(fileBytes(target + QStringLiteral("/shuketu.dat")), env.readBytes(QStringLiteral("shuketu.dat")));
        QCOMPARE(QFileInfo(target + QStringLiteral("/算数.dat")).lastModified(),
                 QFileInfo(env.dataFolder() + QStringLiteral("算数.dat")).lastModified());
        QVERIFY(toolbarButton(window, "scoreEntryButton")->isEnabled());
        QVERIFY(!toolbarButton(window, "printButton")->isEnabled());
    }

    // The class file (weights, 未入力 cells, overrulings) goes with the data files;
    // its own backup does not.
    void copiesTheClassFile()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木")});
        const QByteArray classFile("{\n    \"version\": 1\n}\n");
        env.writeBytes(QStringLiteral("Assessment.JSON"), classFile);
        env.writeBytes(QStringLiteral("assessment.bak"), "{}");
        const QString target = env.dir.path() + QStringLiteral("/backup");
        QDir().mkpath(target);
        MainWindow& window = env.startMainWindow();
        BackupWindow* backup = openBackup(window);
        QVERIFY(backup);
        child<QLineEdit>(backup, "backupFolderInput")->setText(target);
        env.ui.clear();
        QTest::mouseClick(child<QPushButton>(backup, "backupButton"), Qt::LeftButton);
        QCOMPARE(env.ui.messages.size(), 1);
        QVERIFY2(env.ui.messages.first().text.contains(QStringLiteral("12 個のファイル")), qPrintable(env.ui.messages.first().text));
        QVERIFY(filesIn(target).contains(QStringLiteral("Assessment.JSON")));
        QVERIFY(!filesIn(target).contains(QStringLiteral("assessment.bak")));
        QCOMPARE(fileBytes(target + QStringLiteral("/Assessment.JSON")), classFile);
    }

    // Without a roster nothing is copied: the message, no score file copied, the
    // folder stored all the same, the window left open.
    void withoutRosterNothingIsCopied()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木")});
        MainWindow& window = env.startMainWindow();
        QVERIFY(QFile::remove(env.dataFolder() + QStringLiteral("Class.Nam")));
        const QString target = env.dir.path() + QStringLiteral("/backup");
        QDir().mkpath(target);
        BackupWindow* backup = openBackup(window);
        child<QLineEdit>(backup, "backupFolderInput")->setText(target);
        env.ui.clear();
        child<QPushButton>(backup, "backupButton")->click();
        QCOMPARE(env.ui.messages.size(), 1);
        QCOMPARE(env.ui.messages.first().text, Interrupted + QStringLiteral("\n氏名データファイル（*.nam）が見つかりません。"));
        QVERIFY(filesIn(target).isEmpty());
        QCOMPARE(storedBackupPath(env), target);
        QVERIFY(backupOpen(window));
    }

    // A copy that fails half-way copies nothing, leaves no temporary file, stores
    // the folder, reports the interruption and leaves the window open.
    void failedCopyIsReported()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木")});
        MainWindow& window = env.startMainWindow();
        const QString target = env.dir.path() + QStringLiteral("/backup");
        QDir().mkpath(target + QStringLiteral("/shuketu.dat"));  // a folder where the first data file should go
        BackupWindow* backup = openBackup(window);
        child<QLineEdit>(backup, "backupFolderInput")->setText(target);
        env.ui.clear();
        child<QPushButton>(backup, "backupButton")->click();
        QCOMPARE(env.ui.messages.size(), 1);
        QVERIFY(env.ui.messages.first().text.startsWith(Interrupted + QLatin1Char('\n')));
        QVERIFY(env.ui.messages.first().text.contains(QStringLiteral("shuketu.dat")));
        QVERIFY(filesIn(target).isEmpty());
        QCOMPARE(storedBackupPath(env), target);
        QVERIFY(backupOpen(window));
    }

    // Folders that cannot take the backup are refused before anything is stored or
    // copied, and the window stays for another choice; cancel and the picker.
    void refusedFoldersAndCancel()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木")});
        MainWindow& window = env.startMainWindow();
        BackupWindow* backup = openBackup(window);
        const QString before = storedBackupPath(env);
        const QString aFile = env.dataFolder() + QStringLiteral("Class.Nam");
        struct Case {
            QString folder;
            QString message;
        };
        const QList<Case> cases{
            {QString(), QStringLiteral("バックアップ先フォルダを指定してください。")},
            {env.dataFolder(), QStringLiteral("バックアップ先に、かざねデータフォルダと同じフォルダは指定できません。別のフォルダを指定してください。")},
            {env.dir.path() + QStringLiteral("/data/../data"),
             QStringLiteral("バックアップ先に、かざねデータフォルダと同じフォルダは指定できません。別のフォルダを指定してください。")},
            {aFile, QStringLiteral("「%1」はフォルダではありません。バックアップ先フォルダを指定し直してください。").arg(aFile)},
            {QStringLiteral("/proc"), QStringLiteral("バックアップ先フォルダ「/proc」に書き込めません。書き込みのできるフォルダを指定してください。")},
        };
        for (const Case& c : cases) {
            child<QLineEdit>(backup, "backupFolderInput")->setText(c.folder);
            env.ui.clear();
            child<QPushButton>(backup, "backupButton")->click();
            QCOMPARE(env.ui.messageTexts(), QStringList{c.message});
            QVERIFY(backupOpen(window));
            QCOMPARE(storedBackupPath(env), before);
        }
        // The data files and the program's lock file, nothing copied in.
        QCOMPARE(filesIn(env.dataFolder()).size(), 12);
        QVERIFY(filesIn(env.dataFolder()).contains(QStringLiteral("kazane.lock")));

        // A missing folder is created on request; No leaves it alone.
        const QString fresh = env.dir.path() + QStringLiteral("/新しいバックアップ");
        env.ui.folders = {fresh};
        child<QPushButton>(backup, "browseButton")->click();
        QCOMPARE(env.ui.folderTitles, QStringList{QStringLiteral("成績データを格納するフォルダを指定して下さい。")});
        QCOMPARE(child<QLineEdit>(backup, "backupFolderInput")->text(), fresh);
        env.ui.clear();
        env.ui.answers = {Ui::Answer::No};
        child<QPushButton>(backup, "backupButton")->click();
        QCOMPARE(env.ui.messageTexts(), QStringList{QStringLiteral("指定されたホルダ－は存在しません。作成しますか？")});
        QVERIFY(!QFileInfo::exists(fresh));
        QVERIFY(backupOpen(window));

        QTest::mouseClick(child<QPushButton>(backup, "cancelButton"), Qt::LeftButton);
        QVERIFY(!backupOpen(window));
        QCOMPARE(storedBackupPath(env), before);

        backup = openBackup(window);
        child<QLineEdit>(backup, "backupFolderInput")->setText(fresh);
        child<QPushButton>(backup, "backupButton")->click();  // Yes
        QCOMPARE(filesIn(fresh).size(), 11);
        QCOMPARE(storedBackupPath(env), fresh);
    }

    // No removable drive: the floppy command does nothing.
    void floppyFormatFindsNoDrive()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木")});
        MainWindow& window = env.startMainWindow();
        env.ui.clear();
        menuEntry(window, "formatFloppyAction")->trigger();
        QVERIFY(env.ui.messages.isEmpty());
        QVERIFY(window.mdiArea()->subWindowList().isEmpty());
    }
};

QTEST_MAIN(BackupTest)
#include "test_backup.moc"
