// A disk that refuses every write while the teacher saves, driven through the
// real main window: score entry, the attendance window (closed, or the program
// ended while it is open), the test list and the roster, and the empty files of
// a data folder at start-up (where not even the lock can be written, so the folder
// opens read-only). Each time the message is Japanese and names the
// file, the window stays open with what was typed, and every file of the data
// folder is byte for byte as before; with room again the same command saves.
// Files that are no data files (a named pipe, 9 MB) are refused at once.

#include "MainWindowControls.h"
#include "AttendanceDriver.h"
#include "EntryTestSupport.h"
#include "ListControls.h"
#include "RefusedWrites.h"
#include "maintenance/RosterWindow.h"
#include "maintenance/TestListWindow.h"
#include "SampleClass.h"

#include <QElapsedTimer>
#include <QInputMethodEvent>
#include <QListWidget>
#include <QThread>

#include <atomic>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using Sample::snapshot;

using namespace MainControls;

namespace {

// The one message of a refused save: Japanese, naming the file, saying why.
void checkRefusal(const ScriptedUi& ui, const QString& file)
{
    QCOMPARE(ui.messages.size(), 1);
    const QString& text = ui.messages.first().text;
    QVERIFY2(text.contains(QStringLiteral("ファイル「%1」に書き込めませんでした。ディスクの空き容量が足りません。").arg(file)),
             qPrintable(text));
    QVERIFY2(isJapaneseMessage(text), qPrintable(text));
}

QStringList listLines(const QListWidget* list)
{
    QStringList lines;
    for (int i = 0; i < list->count(); ++i)
        lines << list->item(i)->text();
    return lines;
}

// The roster list shows each name after its attendance number.
QStringList namesWithNumbers(const QStringList& names)
{
    QStringList lines;
    for (int i = 0; i < names.size(); ++i)
        lines << Names::pupilListLine(i + 1, names[i]);
    return lines;
}

}  // namespace

class DiskFullTest : public QObject {
    Q_OBJECT
private slots:
    // 保存終了 in score entry.
    void scoreSave_data() { RefusedWrites::addRows(); }
    void scoreSave()
    {
        QFETCH(Refusal, refusal);
        TestEnv env;
        RefusedWrites refused(refusal, env);
        SKIP_UNLESS_AVAILABLE(refused);
        env.makeClass(DataFiles::pupilNames(3));
        env.writeFile(QStringLiteral("国語.dat"), EntryTest::simpleTests(2, 3));
        env.writeFile(QStringLiteral("国語.Bak"), EntryTest::simpleTests(1, 3));
        EntryTest::EntryScreen entry = EntryTest::openEntry(env);
        QVERIFY(entry);
        const auto before = snapshot(env);
        entry.type(QStringLiteral("77"));

        refused.start();
        QTest::mouseClick(entry.saveAndCloseButton, Qt::LeftButton);
        refused.stop();
        checkRefusal(env.ui, QStringLiteral("国語.dat"));
        QCOMPARE(snapshot(env), before);
        QCOMPARE(env.mainWindow()->mdiArea()->subWindowList().size(), 1);
        QCOMPARE(entry.rowCells(1), (QStringList{"77", "77", "", "", ""}));

        QTest::mouseClick(entry.saveAndCloseButton, Qt::LeftButton);
        QCOMPARE(env.ui.messages.size(), 1);
        QCOMPARE(env.readBytes(QStringLiteral("国語.dat")),
                 crlf({"2", "\"テスト1\"", "1", "1", "100", "1", "1", "1", "\"テスト2\"", "1", "1", "100", "77", "2", "2"}));
        QCOMPARE(env.readBytes(QStringLiteral("国語.Bak")), before[QStringLiteral("国語.dat")]);
    }

    // The attendance window closed by its button, and the program ended while it
    // is open: the teacher may stay, then end without saving.
    void attendanceSave_data()
    {
        QTest::addColumn<Refusal>("refusal");
        QTest::addColumn<QString>("means");
        for (const auto& [name, refusal] : {std::pair{"file size limit", Refusal::FileSizeLimit},
                                            std::pair{"full disk", Refusal::FullDisk}}) {
            QTest::addRow("%s, 閉じる", name) << refusal << QStringLiteral("closeButton");
            QTest::addRow("%s, かざねの終了", name) << refusal << QStringLiteral("endAction");
            QTest::addRow("%s, main window closed", name) << refusal << QStringLiteral("mainClose");
        }
    }
    void attendanceSave()
    {
        QFETCH(Refusal, refusal);
        QFETCH(QString, means);
        TestEnv env;
        RefusedWrites refused(refusal, env);
        SKIP_UNLESS_AVAILABLE(refused);
        AttendanceDriver::startClass(env, QDate(2026, 6, 15));
        env.writeFile(QStringLiteral("shuketu.bak"), {QStringLiteral("古い控え")});
        AttendanceWindow* w = AttendanceDriver::open(env);
        QVERIFY(w);
        const auto before = snapshot(env);
        AttendanceDriver::typeLessonDays(w, QStringLiteral("20"));
        AttendanceDriver::leaveLessonDays(w);
        AttendanceDriver::typeAt(w, 3, 7, QStringLiteral("5"));
        MainWindow& window = *env.mainWindow();
        const auto end = [&] {
            if (means == QLatin1String("closeButton"))
                AttendanceDriver::closeButton(w)->click();
            else if (means == QLatin1String("endAction"))
                menuEntry(window, "endAction")->trigger();
            else
                window.close();
        };

        refused.start();
        end();
        refused.stop();
        QCOMPARE(snapshot(env), before);
        checkRefusal(env.ui, QStringLiteral("shuketu.dat"));
        QVERIFY(env.ui.lastMessage().startsWith(QStringLiteral("出席データを保存できませんでした。")));
        QVERIFY(window.isVisible());
        QVERIFY(!w->isUnloaded());
        QCOMPARE(window.mdiArea()->subWindowList().size(), 1);
        QCOMPARE(AttendanceDriver::cellText(w, 3, 7), QStringLiteral("5"));
        QCOMPARE(AttendanceDriver::lessonDaysInput(w)->text(), QStringLiteral("20"));

        if (means == QLatin1String("closeButton"))
            return;
        QCOMPARE(env.ui.messages.first().buttons, Ui::Buttons::YesNo);
        // いいえ: the program ends without the counts; the file stays as it was.
        refused.start();
        env.ui.answers = {Ui::Answer::No};
        end();
        refused.stop();
        QCOMPARE(env.ui.messages.size(), 2);
        QVERIFY(!window.isVisible());
        QCOMPARE(snapshot(env), before);
    }

    // Test insert, rename and delete in テストのメンテナンス, and a pupil renamed in
    // 氏名メンテナンス.
    void listEdits_data() { RefusedWrites::addRows(); }
    void listEdits()
    {
        QFETCH(Refusal, refusal);
        TestEnv env;
        RefusedWrites refused(refusal, env);
        SKIP_UNLESS_AVAILABLE(refused);
        Sample::homeroomClass(env, 5);
        MainWindow& window = env.startMainWindow();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        menuEntry(window, "testListAction")->trigger();
        auto* tests = window.findChild<TestListWindow*>();
        QVERIFY(tests);
        const ListControls testControls(tests, "testList");
        const auto before = snapshot(env);
        const QStringList shown = listLines(testControls.list);

        for (int command = 0; command < 3; ++command) {
            env.ui.clear();
            testControls.list->setCurrentRow(0);
            refused.start();
            QTest::mouseClick(testControls.editButtons()[command], Qt::LeftButton);  // 変更, 挿入 (OK), 削除 (OK)
            if (command == 0) {
                QInputMethodEvent typed;
                typed.setCommitString(QStringLiteral("新しい名前"));
                QApplication::sendEvent(testControls.nameInput, &typed);
                QTest::keyClick(testControls.nameInput, Qt::Key_Return);
            }
            refused.stop();
            QCOMPARE(env.ui.messages.size(), command == 0 ? 1 : 2);  // the confirmation, then the refusal
            const QString text = env.ui.lastMessage();
            QVERIFY2(text.contains(QStringLiteral("に書き込めませんでした。ディスクの空き容量が足りません。")), qPrintable(text));
            QVERIFY(isJapaneseMessage(text));
            QCOMPARE(snapshot(env), before);
            QCOMPARE(listLines(testControls.list), shown);
            QVERIFY(window.findChild<TestListWindow*>());
        }
        testControls.closeAction->trigger();
        QTRY_VERIFY(!window.findChild<TestListWindow*>());

        menuEntry(window, "rosterAction")->trigger();
        auto* names = window.findChild<RosterWindow*>();
        QVERIFY(names);
        const ListControls nameControls(names, "nameList");
        env.ui.clear();
        nameControls.list->setCurrentRow(1);
        refused.start();
        QTest::mouseClick(nameControls.renameButton, Qt::LeftButton);
        QInputMethodEvent typed;
        typed.setCommitString(QStringLiteral("改名"));
        QApplication::sendEvent(nameControls.nameInput, &typed);
        QTest::keyClick(nameControls.nameInput, Qt::Key_Return);
        refused.stop();
        checkRefusal(env.ui, QStringLiteral("Class.Nam"));
        QCOMPARE(snapshot(env), before);
        QCOMPARE(listLines(nameControls.list), namesWithNumbers(Sample::classNames(5)));
        QCOMPARE(env.data.pupilName[2], Sample::classNames(5)[1]);
    }

    // The empty score files a data folder lacks are made at start-up: when the
    // disk refuses them, the teacher is told and no empty or half file is left.
    void emptyFilesAtStartUp_data() { RefusedWrites::addRows(); }
    void emptyFilesAtStartUp()
    {
        QFETCH(Refusal, refusal);
        TestEnv env;
        RefusedWrites refused(refusal, env);
        SKIP_UNLESS_AVAILABLE(refused);
        env.makeClass({QStringLiteral("青木")});
        QVERIFY(QFile::remove(env.dataFolder() + QStringLiteral("社会.dat")));
        const auto before = snapshot(env);
        refused.start(0);
        MainWindow& window = env.startMainWindow();
        refused.stop();
        // Not even the folder's lock can be written: the class opens read-only, says
        // why, and no file is made or changed.
        QCOMPARE(env.ui.messages.size(), 1);
        const QString text = env.ui.messages.first().text;
        QVERIFY2(text.startsWith(QStringLiteral("データフォルダ「%1」に書き込めないため").arg(env.dataFolder())), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("読み取り専用で開きます")), qPrintable(text));
        if (refusal == Refusal::FullDisk)
            QVERIFY2(text.contains(QStringLiteral("（ディスクの空き容量が足りません）")), qPrintable(text));
        QVERIFY2(isJapaneseMessage(text), qPrintable(text));
        QVERIFY(window.windowTitle().contains(QStringLiteral("読み取り専用")));
        QCOMPARE(snapshot(env), before);
    }

    // A score file that is a named pipe, or of 9 MB: score entry says so at once
    // and does not open; the files stay as they are.
    void pipeAndHugeScoreFileAreRefused()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木")});
        const QString pipe = env.dataFolder() + QStringLiteral("国語.dat");
        QFile::remove(pipe);
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);
        env.writeBytes(QStringLiteral("社会.dat"), QByteArray(9 * 1024 * 1024, '1'));
        MainWindow& window = env.startMainWindow();
        env.ui.clear();
        // Should opening wait for a writer, one comes after two seconds.
        std::atomic<bool> done{false};
        std::thread writer([&] {
            for (int i = 0; i < 200 && !done; ++i)
                QThread::msleep(10);
            const int fd = ::open(QFile::encodeName(pipe).constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0)
                ::close(fd);
        });
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!window.openScoreEntryWindow());
        const qint64 waited = clock.elapsed();
        done = true;
        writer.join();
        QVERIFY2(waited < 1000, qPrintable(QString::number(waited)));
        QCOMPARE(env.ui.messageTexts(), QStringList{QStringLiteral("「国語.dat」は普通のファイルではない（フォルダや特殊なファイルです）ので、"
                                                                   "読み込みませんでした。このファイルは書き換えていません。")});

        env.ui.clear();
        chooseSubject(window, 2);
        QVERIFY(!window.openScoreEntryWindow());
        QCOMPARE(env.ui.messages.size(), 1);
        QVERIFY(env.ui.lastMessage().startsWith(QStringLiteral("データファイル「社会.dat」は大きすぎます")));
        QVERIFY(window.mdiArea()->subWindowList().isEmpty());
        QCOMPARE(QFileInfo(env.dataFolder() + QStringLiteral("社会.dat")).size(), 9 * 1024 * 1024);
        QVERIFY(!QFileInfo(pipe).isFile());
    }
};

QTEST_MAIN(DiskFullTest)
#include "test_disk_full.moc"
