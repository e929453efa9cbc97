// A disk that refuses every write in the windows of the ﾌｧｲﾙ menu: 新規ｸﾗｽ and the
// names of a new class (入力終了, and the program ended during them), バックアップ,
// the settings window's 終了, the fixed-input values' 決定 and the first start.
// Each time the message is Japanese and says what failed, the window stays open
// with what was typed, and the data files, the backup folder and the settings
// file are byte for byte as before.

#include "SettingsControls.h"
#include "Controls.h"
#include "MainWindowControls.h"
#include "EntryTestSupport.h"
#include "RefusedWrites.h"
#include "SampleClass.h"
#include "app/SettingsWindow.h"
#include "app/BackupWindow.h"
#include "entry/FixedValuesDialog.h"

#include <QCheckBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

using Sample::snapshot;

using Controls::child;
using namespace MainControls;
using namespace SettingsControls;

namespace {

template <typename Window>
Window* openChild(MainWindow& window, QAction* command)
{
    command->trigger();
    for (QMdiSubWindow* frame : window.mdiArea()->subWindowList())
        if (auto* child = qobject_cast<Window*>(frame->widget()); child && !child->isUnloaded())
            return child;
    return nullptr;
}

void typeName(SettingsWindow* dialog, const QString& name)
{
    QInputMethodEvent event;
    event.setCommitString(name);
    QApplication::sendEvent(nameInput(dialog), &event);
    QTest::keyClick(nameInput(dialog), Qt::Key_Return);
}

void checkMessages(const ScriptedUi& ui, const QString& expected)
{
    QVERIFY(!ui.messages.isEmpty());
    QVERIFY2(ui.lastMessage().contains(expected), qPrintable(ui.lastMessage()));
    for (const auto& message : ui.messages)
        QVERIFY2(isJapaneseMessage(message.text), qPrintable(message.text));
}

const QString Refused = QStringLiteral("に書き込めませんでした。ディスクの空き容量が足りません。");

}  // namespace

class DiskFullSettingsTest : public QObject {
    Q_OBJECT
private slots:
    // 新規ｸﾗｽ changes nothing; the names typed after it are kept in the list until
    // they can be written, also when the program is ended meanwhile.
    void newClass_data() { RefusedWrites::addRows(); }
    void newClass()
    {
        QFETCH(Refusal, refusal);
        TestEnv env;
        RefusedWrites refused(refusal, env);
        SKIP_UNLESS_AVAILABLE(refused);
        Sample::homeroomClass(env, 4);
        MainWindow& window = env.startMainWindow();
        auto* dialog = openChild<SettingsWindow>(window, menuEntry(window, "settingsAction"));
        QVERIFY(dialog);
        const auto before = snapshot(env);
        env.ui.clear();
        refused.start(0);  // the emptied files are three bytes each
        QTest::mouseClick(newClassButton(dialog), Qt::LeftButton);
        refused.stop();
        checkMessages(env.ui, Refused);
        QCOMPARE(snapshot(env), before);
        QVERIFY(!dialog->enteringNames());
        QCOMPARE(nameList(dialog)->count(), 4);
        QCOMPARE(env.data.pupilCount, 4);

        // With room the class is made; the names cannot be written at first.
        QTest::mouseClick(newClassButton(dialog), Qt::LeftButton);
        QVERIFY(dialog->enteringNames());
        for (const QString& name : {QStringLiteral("上田"), QStringLiteral("江藤")})
            typeName(dialog, name);
        const auto emptied = snapshot(env);
        env.ui.clear();
        refused.start();
        QTest::mouseClick(endNameEntryButton(dialog), Qt::LeftButton);
        menuEntry(window, "endAction")->trigger();  // はい: back to the window
        refused.stop();
        QCOMPARE(env.ui.messages.size(), 2);
        checkMessages(env.ui, QStringLiteral("「はい」で画面に戻ります"));
        QVERIFY(env.ui.messages.first().text.contains(Refused));
        QVERIFY(env.ui.messages.last().text.contains(Refused));
        QCOMPARE(env.ui.messages.last().buttons, Ui::Buttons::YesNo);
        QCOMPARE(snapshot(env), emptied);
        QVERIFY(window.isVisible());
        QVERIFY(dialog->enteringNames());
        QCOMPARE(nameList(dialog)->count(), 2);
        QCOMPARE(env.data.pupilCount, 0);

        QTest::mouseClick(endNameEntryButton(dialog), Qt::LeftButton);
        QVERIFY(!dialog->enteringNames());
        QCOMPARE(env.readLines(QStringLiteral("Class.Nam")), (QStringList{"2", "\"上田\"", "\"江藤\""}));
        QCOMPARE(env.readLines(QStringLiteral("shuketu.dat")).size(), 12 * 3);
    }

    // バックアップ into a folder on a full disk: the earlier backup there stays,
    // complete, nothing is counted as copied, and the window stays open.
    void backup_data() { RefusedWrites::addRows(); }
    void backup()
    {
        QFETCH(Refusal, refusal);
        TestEnv env;
        std::unique_ptr<SmallDisk> disk;
        QString target = env.dir.path() + QStringLiteral("/backup");
        if (refusal == Refusal::FullDisk) {
            disk = std::make_unique<SmallDisk>(512 * 1024, env.dir.path());
            if (!disk->available())
                QSKIP("a small tmpfs cannot be mounted here (the tests do not run as root)");
            target = disk->path() + QStringLiteral("backup");
        }
        Sample::homeroomClass(env, 4);
        QDir().mkpath(target);
        QFile::copy(env.dataFolder() + QStringLiteral("Class.Nam"), target + QStringLiteral("/Class.Nam"));
        QFile::copy(env.dataFolder() + QStringLiteral("算数.dat"), target + QStringLiteral("/算数.dat"));
        env.writeFile(QStringLiteral("算数.dat"), {QStringLiteral("0")});
        MainWindow& window = env.startMainWindow();
        auto* backup = openChild<BackupWindow>(window, menuEntry(window, "backupAction"));
        QVERIFY(backup);
        child<QLineEdit>(backup, "backupFolderInput")->setText(target);
        const auto earlier = folderFiles(target);
        const QByteArray settings = fileBytes(env.settingsFile());
        env.ui.clear();

        std::unique_ptr<FileSizeLimit> limit;
        if (disk)
            QVERIFY(disk->fill());
        else
            limit = std::make_unique<FileSizeLimit>(8);
        QTest::mouseClick(child<QPushButton>(backup, "backupButton"), Qt::LeftButton);
        limit.reset();
        if (disk)
            disk->release();

        checkMessages(env.ui, QStringLiteral("データのバックアップは中断されました\n"));
        QVERIFY(env.ui.lastMessage().contains(Refused));
        for (const QString& text : env.ui.messageTexts())
            QVERIFY(!text.contains(QStringLiteral("コピーしました")));
        QCOMPARE(folderFiles(target), earlier);
        QVERIFY(!backup->isUnloaded());
        if (!disk) {
            // The settings file is on the same limit: refused as well, and kept.
            QCOMPARE(env.ui.messages.size(), 2);
            QVERIFY(env.ui.messages.first().text.startsWith(QStringLiteral("設定を保存できませんでした。ファイル「Kazane.ini」")));
            QCOMPARE(fileBytes(env.settingsFile()), settings);
        }

        QTest::mouseClick(child<QPushButton>(backup, "backupButton"), Qt::LeftButton);
        QVERIFY(env.ui.lastMessage().contains(QStringLiteral("11 個のファイルをコピーしました")));
        QCOMPARE(fileBytes(target + QStringLiteral("/算数.dat")), QByteArray("0\r\n"));
    }

    // 終了 of the settings window and 決定 of the fixed-input values: the settings
    // file as before (QSettings alone would have cut it short and said nothing),
    // the window open with the choices, the program still on the old settings.
    void settingsStore_data() { RefusedWrites::addRows(); }
    void settingsStore()
    {
        QFETCH(Refusal, refusal);
        TestEnv env;
        RefusedWrites refused(refusal, env, true);
        SKIP_UNLESS_AVAILABLE(refused);
        env.makeClass(DataFiles::pupilNames(2));
        MainWindow& window = env.startMainWindow();
        const QByteArray settings = fileBytes(env.settingsFile());
        QVERIFY(!settings.isEmpty());

        auto* dialog = openChild<SettingsWindow>(window, menuEntry(window, "settingsAction"));
        QVERIFY(dialog);
        subjectInUseBox(dialog, 8)->setChecked(false);
        env.ui.clear();
        refused.start(200);
        QTest::mouseClick(closeButton(dialog), Qt::LeftButton);
        refused.stop();
        QCOMPARE(env.ui.messages.size(), 1);
        checkMessages(env.ui, QStringLiteral("設定を保存できませんでした。ファイル「Kazane.ini」") + Refused);
        QCOMPARE(fileBytes(env.settingsFile()), settings);
        QVERIFY(!dialog->isUnloaded());
        QVERIFY(!subjectInUseBox(dialog, 8)->isChecked());
        QCOMPARE(env.data.subjectInUse[8], 1);
        dialog->closeWindow();

        EntryTest::EntryScreen entry(qobject_cast<ScoreEntryWindow*>(window.openScoreEntryWindow()));
        QVERIFY(entry);
        QTest::mouseClick(entry.fixedValuesButton, Qt::LeftButton);
        FixedValuesDialog* fixedValues = entry.window->fixedValuesDialog();
        QVERIFY(fixedValues);
        EntryTest::fixedValueBox(fixedValues, 3)->setText(QStringLiteral("95"));
        env.ui.clear();
        refused.start(200);
        QTest::mouseClick(EntryTest::button(fixedValues, "okButton"), Qt::LeftButton);
        refused.stop();
        QCOMPARE(env.ui.messages.size(), 1);
        checkMessages(env.ui, QStringLiteral("設定を保存できませんでした。ファイル「Kazane.ini」") + Refused);
        QCOMPARE(fileBytes(env.settingsFile()), settings);
        QCOMPARE(entry.window->fixedValuesDialog(), fixedValues);
        QVERIFY(fixedValues->isVisible());
        QCOMPARE(EntryTest::fixedValueBox(fixedValues, 3)->text(), QStringLiteral("95"));
        QCOMPARE(env.data.fixedValues[3], 100);

        // With room again 決定 stores the values.
        QTest::mouseClick(EntryTest::button(fixedValues, "okButton"), Qt::LeftButton);
        QTRY_VERIFY(!entry.window->fixedValuesDialog());
        QCOMPARE(env.data.fixedValues[3], 95);
        QSettings reread(env.settingsFile(), QSettings::IniFormat);
        QCOMPARE(reread.value(QStringLiteral("UseMode/Kotei3")).toString(), QStringLiteral("95"));
    }

    // The first start writes the defaults to an empty store: when that is refused,
    // the teacher is told, the program runs on the defaults and no cut file is left.
    void firstStart_data() { RefusedWrites::addRows(); }
    void firstStart()
    {
        QFETCH(Refusal, refusal);
        TestEnv env;
        RefusedWrites refused(refusal, env, true);
        SKIP_UNLESS_AVAILABLE(refused);
        refused.start(200);
        MainWindow& window = env.startMainWindow();
        refused.stop();
        QVERIFY(!env.ui.messages.isEmpty());
        QVERIFY2(env.ui.messages.first().text.startsWith(QStringLiteral("設定を保存できませんでした。ファイル「Kazane.ini」") + Refused),
                 qPrintable(env.ui.messages.first().text));
        for (const QString& text : env.ui.messageTexts())
            QVERIFY2(isJapaneseMessage(text), qPrintable(text));
        QVERIFY(fileBytes(env.settingsFile()).isEmpty());
        QVERIFY(window.isVisible());
        QCOMPARE(env.data.fixedValues[3], 100);
    }
};

QTEST_MAIN(DiskFullSettingsTest)
#include "test_disk_full_settings.moc"
