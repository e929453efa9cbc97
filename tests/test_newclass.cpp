// 新規ｸﾗｽ in the settings window, pressed once, twice and more: before anything is
// emptied every file of the class is copied into a dated folder under "以前のクラス",
// so no earlier class is ever lost; キャンセル is the default answer; a copy the
// system refuses leaves every file as it was.

#include "SettingsControls.h"
#include "MainWindowControls.h"
#include "FailingDisk.h"
#include "TestEnv.h"
#include "DataFiles.h"
#include "app/SettingsWindow.h"
#include "app/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>

using namespace MainControls;
using namespace SettingsControls;
using namespace DataFiles;

namespace {

using Files = QMap<QString, QByteArray>;

// Every data file of a folder (rosters, score, attendance and backup files) by
// name, byte for byte.
Files classFilesIn(const QString& folder)
{
    Files files;
    const QStringList names = QDir(folder).entryList({"*.nam", "*.nbk", "*.bak", "*.dat"}, QDir::Files);
    for (const QString& name : names) {
        QFile file(folder + QLatin1Char('/') + name);
        if (file.open(QIODevice::ReadOnly))
            files.insert(name, file.readAll());
    }
    return files;
}

SettingsWindow* openSettings(MainWindow& window)
{
    menuEntry(window, "settingsAction")->trigger();
    for (QMdiSubWindow* frame : window.mdiArea()->subWindowList())
        if (auto* dialog = qobject_cast<SettingsWindow*>(frame->widget()))
            return dialog;
    return nullptr;
}

void typeNames(SettingsWindow* dialog, const QStringList& names)
{
    for (const QString& name : names) {
        QInputMethodEvent event;
        event.setCommitString(name);
        QApplication::sendEvent(nameInput(dialog), &event);
        QTest::keyClick(nameInput(dialog), Qt::Key_Return);
    }
    endNameEntryButton(dialog)->click();
}

void setClock(TestEnv& env, int hour, int minute)
{
    env.ctx->now = [hour, minute] { return QDateTime(QDate(2026, 12, 7), QTime(hour, minute)); };
}

QString copyFolder(TestEnv& env, const QString& name)
{
    return env.dataFolder() + QStringLiteral("以前のクラス/") + name;
}

// A homeroom class of two with scores in 算数, attendance, and backups from earlier
// saves (an older roster and older 国語 scores).
void classWithHistory(TestEnv& env)
{
    env.makeClass({QStringLiteral("青木"), QStringLiteral("石田")});
    env.writeFile(QStringLiteral("算数.dat"), scoreLines({{QStringLiteral("小テスト"), {{1, 10, {8, -1}}}}}));
    const Attendance year = attendanceYear(
        2, [](int m) { return m + 10; },
        [](int m, int p) { return p == 1 ? QList<int>{1, 0, m + 9, 0, 0, 0, 0} : QList<int>{0, 0, 0, 2, 0, 0, 0}; });
    env.writeFile(QStringLiteral("shuketu.dat"), attendanceLines(year));
    env.writeFile(QStringLiteral("Class.NBk"), rosterLines({QStringLiteral("前の年の子")}));
    env.writeFile(QStringLiteral("Class.bak"), rosterLines({QStringLiteral("青木"), QStringLiteral("石原")}));
    env.writeFile(QStringLiteral("国語.Bak"), scoreLines({{QStringLiteral("前の漢字"), {{1, 10, {5, 6}}}}}));
}

}  // namespace

class NewClassTest : public QObject {
    Q_OBJECT
private slots:
    // Three presses, two of them in the same minute: three dated folders, and the
    // first class is still there byte for byte at the end.
    void everyPressKeepsTheClassItEmpties()
    {
        TestEnv env;
        classWithHistory(env);
        const Files firstClass = classFilesIn(env.dataFolder());
        QCOMPARE(firstClass.size(), 14);  // roster, 9 score files, attendance, 3 backups
        MainWindow& window = env.startMainWindow();
        SettingsWindow* dialog = openSettings(window);
        QVERIFY(dialog);
        setClock(env, 9, 30);
        env.ui.clear();

        newClassButton(dialog)->click();
        QCOMPARE(env.ui.messages.size(), 1);
        const ScriptedUi::Message asked = env.ui.messages[0];
        QCOMPARE(asked.text, QStringLiteral("新たなクラスを作ります.\n\n今のクラスの氏名（2人）、全教科の点数、出欠の記録をすべて空にします。"
                                            "\n\n空にする前に、今のファイルをすべて次のフォルダにコピーして残します。\n「")
                                 + QDir::toNativeSeparators(copyFolder(env, QStringLiteral("2026-12-07_0930"))) + QStringLiteral("」"));
        QCOMPARE(asked.choices, (QStringList{"OK", "キャンセル"}));
        QCOMPARE(asked.defaultChoice, 1);
        QCOMPARE(asked.escapeChoice, 1);
        QCOMPARE(asked.icon, Ui::Icon::Question);
        QVERIFY(dialog->enteringNames());
        QCOMPARE(classFilesIn(copyFolder(env, QStringLiteral("2026-12-07_0930"))), firstClass);
        // The given backups are made as before.
        QCOMPARE(env.readBytes(QStringLiteral("Class.NBk")), firstClass[QStringLiteral("Class.Nam")]);
        QCOMPARE(env.readBytes(QStringLiteral("算数.Bak")), firstClass[QStringLiteral("算数.dat")]);
        QCOMPARE(env.readBytes(QStringLiteral("shuketu.bak")), firstClass[QStringLiteral("shuketu.dat")]);
        typeNames(dialog, {QStringLiteral("上田"), QStringLiteral("江藤"), QStringLiteral("小野")});
        const Files secondClass = classFilesIn(env.dataFolder());

        // Pressed again in the same minute: a folder of its own.
        newClassButton(dialog)->click();
        QVERIFY(env.ui.messages.last().text.endsWith(QDir::toNativeSeparators(copyFolder(env, QStringLiteral("2026-12-07_0930_2"))) + QStringLiteral("」")));
        QVERIFY(env.ui.messages.last().text.contains(QStringLiteral("氏名（3人）")));
        QCOMPARE(classFilesIn(copyFolder(env, QStringLiteral("2026-12-07_0930_2"))), secondClass);
        typeNames(dialog, {});

        // And once more, later: the empty class is copied too, nothing is overwritten.
        setClock(env, 9, 45);
        newClassButton(dialog)->click();
        QVERIFY(dialog->enteringNames());
        QCOMPARE(QDir(env.dataFolder() + QStringLiteral("以前のクラス")).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
                 (QStringList{"2026-12-07_0930", "2026-12-07_0930_2", "2026-12-07_0945"}));
        QCOMPARE(classFilesIn(copyFolder(env, QStringLiteral("2026-12-07_0930"))), firstClass);
        QCOMPARE(classFilesIn(copyFolder(env, QStringLiteral("2026-12-07_0930_2"))), secondClass);
        QCOMPARE(classFilesIn(copyFolder(env, QStringLiteral("2026-12-07_0945")))[QStringLiteral("Class.NBk")],
                 secondClass[QStringLiteral("Class.Nam")]);
        QCOMPARE(env.ui.messages.size(), 3);
    }

    // Enter (the default) or Esc answer キャンセル: nothing is copied or emptied.
    void cancelChangesNothing()
    {
        TestEnv env;
        classWithHistory(env);
        const Files before = classFilesIn(env.dataFolder());
        SettingsWindow* dialog = openSettings(env.startMainWindow());
        env.ui.choices = {1};
        newClassButton(dialog)->click();
        QVERIFY(!dialog->enteringNames());
        QCOMPARE(nameList(dialog)->count(), 2);
        QCOMPARE(classFilesIn(env.dataFolder()), before);
        QVERIFY(!QFileInfo::exists(env.dataFolder() + QStringLiteral("以前のクラス")));
        // The same through a single Enter on the question.
        env.ui.pressEnter = true;
        newClassButton(dialog)->click();
        QVERIFY(!dialog->enteringNames());
        QCOMPARE(classFilesIn(env.dataFolder()), before);
    }

    // 入力終了 writes the names over the roster 新規ｸﾗｽ emptied. When a roster with
    // names has come back meanwhile (copied back by hand), the teacher is asked, and
    // a single Enter keeps it; OK replaces it, the roster kept as its backup.
    void endingNameEntryOverStoredNamesAsks()
    {
        TestEnv env;
        classWithHistory(env);
        MainWindow& window = env.startMainWindow();
        SettingsWindow* dialog = openSettings(window);
        env.ui.choices = {0};
        newClassButton(dialog)->click();
        QVERIFY(dialog->enteringNames());
        QCOMPARE(env.readBytes(QStringLiteral("Class.Nam")), crlf({"0"}));
        const QByteArray copiedBack = crlf(rosterLines({QStringLiteral("青木"), QStringLiteral("石田")}));
        env.writeBytes(QStringLiteral("Class.Nam"), copiedBack);
        const Files before = classFilesIn(env.dataFolder());
        const QStringList typed{QStringLiteral("上田"), QStringLiteral("大野"), QStringLiteral("加藤")};

        env.ui.clear();
        env.ui.pressEnter = true;
        typeNames(dialog, typed);
        QCOMPARE(env.ui.messages.size(), 1);
        const ScriptedUi::Message asked = env.ui.messages[0];
        QCOMPARE(asked.buttons, Ui::Buttons::OkCancel);
        QCOMPARE(asked.defaultButton, Ui::Default::Cancel);
        QCOMPARE(asked.text, QStringLiteral("氏名データ（Class.Nam）には、すでに2人の氏名が保存されています。\n"
                                            "入力した3人の氏名で置き換えますか？\n\n"
                                            "置き換える前の氏名データは「Class.bak」として残します。出欠の記録（shuketu.dat）は空になります。"));
        QCOMPARE(classFilesIn(env.dataFolder()), before);
        QVERIFY(dialog->enteringNames());
        QCOMPARE(nameList(dialog)->count(), 3);

        env.ui.clear();
        env.ui.pressEnter = false;
        endNameEntryButton(dialog)->click();
        QCOMPARE(env.ui.messages.size(), 1);
        QCOMPARE(env.readBytes(QStringLiteral("Class.Nam")), crlf(rosterLines(typed)));
        QCOMPARE(env.readBytes(QStringLiteral("Class.bak")), copiedBack);
        QVERIFY(!dialog->enteringNames());
        QCOMPARE(env.data.pupilCount, 3);
    }

    // The system refuses the copy: the teacher is told, and no file is emptied.
    void refusedCopyEmptiesNothing()
    {
        TestEnv env;
        classWithHistory(env);
        // A score file too large for the file-size limit in force below.
        QStringList big{"1", "\"大きいテスト\"", "1", "1", "100"};
        for (int p = 0; p < 2; ++p)
            big << QStringLiteral("%1").arg(50 + p);
        big[1] = QLatin1Char('"') + QString(3000, QChar(u'長')) + QLatin1Char('"');
        env.writeFile(QStringLiteral("体育.dat"), big);
        const Files before = classFilesIn(env.dataFolder());
        MainWindow& window = env.startMainWindow();
        SettingsWindow* dialog = openSettings(window);
        setClock(env, 9, 30);
        env.ui.clear();
        {
            FileSizeLimit limit(4096);
            newClassButton(dialog)->click();
        }
        QCOMPARE(env.ui.messages.size(), 2);
        const QString told = env.ui.messages[1].text;
        QVERIFY(told.startsWith(QStringLiteral("今のクラスのファイルをフォルダ「%1」にコピーできませんでした。新規クラスは作成されていません。")
                                    .arg(QDir::toNativeSeparators(copyFolder(env, QStringLiteral("2026-12-07_0930"))))));
        QVERIFY(told.contains(QStringLiteral("体育.dat")));
        QVERIFY(!dialog->enteringNames());
        QCOMPARE(nameList(dialog)->count(), 2);
        QCOMPARE(env.data.pupilCount, 2);
        QCOMPARE(classFilesIn(env.dataFolder()), before);
        QVERIFY(!QFileInfo::exists(env.dataFolder() + QStringLiteral("以前のクラス")));

        // A file in the way of the folder: refused the same way.
        env.writeFile(QStringLiteral("以前のクラス"), {"x"});
        env.ui.clear();
        newClassButton(dialog)->click();
        QCOMPARE(env.ui.messages.size(), 2);
        QVERIFY(env.ui.messages[1].text.contains(QStringLiteral("コピーできませんでした")));
        QCOMPARE(classFilesIn(env.dataFolder()), before);
        QCOMPARE(env.readBytes(QStringLiteral("以前のクラス")), crlf({"x"}));
        QVERIFY(!dialog->enteringNames());
    }

    // Specialist mode: the current class's roster and score file with their backups
    // are copied; other classes and the attendance file are not the class's.
    void specialistCopiesTheCurrentClass()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木"), QStringLiteral("石田")}, true);
        env.writeFile(QStringLiteral("４の１.dat"), scoreLines({{QStringLiteral("歌"), {{1, 10, {9, 7}}}}}));
        env.writeFile(QStringLiteral("４の１.Bak"), {"0"});
        env.writeFile(QStringLiteral("４の２.nam"), rosterLines({QStringLiteral("木村")}));
        env.writeFile(QStringLiteral("shuketu.dat"), {"0"});
        const Files before = classFilesIn(env.dataFolder());
        SettingsWindow* dialog = openSettings(env.startMainWindow());
        setClock(env, 14, 5);
        env.ui.clear();
        newClassButton(dialog)->click();
        QVERIFY(env.ui.messages[0].text.contains(QStringLiteral("クラス「４の１」の氏名（2人）と点数をすべて空にします。")));
        Files expected;
        for (const QString& name : {QStringLiteral("４の１.nam"), QStringLiteral("４の１.dat"), QStringLiteral("４の１.Bak")})
            expected.insert(name, before[name]);
        QCOMPARE(classFilesIn(copyFolder(env, QStringLiteral("2026-12-07_1405"))), expected);
        QCOMPARE(env.readBytes(QStringLiteral("４の２.nam")), before[QStringLiteral("４の２.nam")]);
    }
};

QTEST_MAIN(NewClassTest)
#include "test_newclass.moc"
