// What the teacher sees at the start when the class's files are not as the last
// session left them, through the real main window: a missing score file is offered
// back from its backup with the backup's date (or, declined, the class opens
// read-only and no empty file takes its place); the new scores an interrupted save
// left are offered back; a change left halfway is finished and said so in one
// sentence; files that disagree on the class size open read-only, with what
// disagrees, and nothing is written.

#include "DataFiles.h"
#include "TestEnv.h"
#include "app/MainWindow.h"
#include "model/SafeFile.h"
#include "model/SafeFileJournal.h"

#include <QFile>
#include <QLabel>
#include <QTest>

#include <cstdio>

using namespace DataFiles;

namespace {

const QStringList Pupils{QStringLiteral("青木"), QStringLiteral("石井"), QStringLiteral("上田")};

Tests twoTests(int pupils)
{
    Tests tests;
    for (int t = 1; t <= 2; ++t) {
        Column column{1, 100, {}};
        for (int p = 1; p <= pupils; ++p)
            column.scores << 50 + t * 10 + p;
        tests << Test{QStringLiteral("漢字%1").arg(t), {column}};
    }
    return tests;
}

void date(const QString& path, const QDateTime& when)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite) && file.setFileTime(when, QFileDevice::FileModificationTime));
}

QString folderNote(MainWindow& window)
{
    auto* note = window.findChild<QLabel*>(QStringLiteral("folderState"));
    return note ? note->text() : QString();
}

const QDateTime Yesterday(QDate(2026, 12, 6), QTime(16, 45));

}  // namespace

class StartupRepairTest : public QObject {
    Q_OBJECT
private slots:
    // 国語.dat is gone (a move cut short on a memory stick); its backup holds the
    // class's two tests. The start offers it with its date, 戻す as the default;
    // taken back, score entry shows the two tests.
    void aMissingScoreFileIsOfferedBackFromItsBackup()
    {
        TestEnv env;
        env.makeClass(Pupils);
        env.writeFile(QStringLiteral("国語.Bak"), scoreLines(twoTests(3)));
        date(env.dataFolder() + QStringLiteral("国語.Bak"), Yesterday);
        QVERIFY(QFile::remove(env.dataFolder() + QStringLiteral("国語.dat")));
        MainWindow& window = env.startMainWindow();
        QCOMPARE(env.ui.messages.size(), 1);
        const ScriptedUi::Message& asked = env.ui.messages.first();
        QCOMPARE(asked.text, QStringLiteral("データファイル「国語.dat」が見つかりません。\n"
                                            "2026年12月6日 16:45 に保存されたバックアップ「国語.Bak」があります。\nこれを戻しますか？\n\n"
                                            "戻す：バックアップ「国語.Bak」を「国語.dat」として戻して開きます。\n"
                                            "戻さない：何も書き換えずに、読み取り専用で開きます。"));
        QCOMPARE(asked.choices, QStringList({QStringLiteral("戻す"), QStringLiteral("戻さない")}));
        QCOMPARE(asked.defaultChoice, 0);
        QCOMPARE(asked.escapeChoice, 1);
        QCOMPARE(env.readBytes(QStringLiteral("国語.dat")), crlf(scoreLines(twoTests(3))));
        QVERIFY(!window.dataFolderReadOnly());
        QVERIFY(window.openScoreEntryWindow());
        QCOMPARE(env.data.tests.count, 2);
        QCOMPARE(env.data.tests.name[2], QStringLiteral("漢字2"));
    }

    // Declined: no file is made in its place; the class opens read-only and says
    // why, and no window that writes opens.
    void aMissingScoreFileDeclinedOpensTheClassReadOnly()
    {
        TestEnv env;
        env.makeClass(Pupils);
        env.writeFile(QStringLiteral("国語.Bak"), scoreLines(twoTests(3)));
        QVERIFY(QFile::remove(env.dataFolder() + QStringLiteral("国語.dat")));
        const auto before = folderFiles(env.dataFolder());
        env.ui.choices = {1};
        MainWindow& window = env.startMainWindow();
        QVERIFY(window.dataFolderReadOnly());
        QVERIFY(window.windowTitle().contains(QStringLiteral("読み取り専用")));
        QCOMPARE(folderNote(window), QStringLiteral("データファイル「国語.dat」がないため、読み取り専用で開いています（保存はできません）。"));
        env.ui.clear();
        QVERIFY(!window.openScoreEntryWindow());
        QVERIFY(env.ui.lastMessage().contains(QStringLiteral("読み取り専用")));
        window.endProgram();
        QCOMPARE(folderFiles(env.dataFolder()), before);
    }

    // A save of 算数 stopped before its move: the new scores wait under the
    // program's temporary name, newer than the file. The start offers them; taken
    // back, the old content becomes the backup and the leftover goes. Declined,
    // the leftover goes and the file stays.
    void theNewScoresOfAnInterruptedSaveAreOfferedBack_data()
    {
        QTest::addColumn<int>("choice");
        QTest::newRow("戻す") << 0;
        QTest::newRow("戻さない") << 1;
    }
    void theNewScoresOfAnInterruptedSaveAreOfferedBack()
    {
        QFETCH(int, choice);
        TestEnv env;
        env.makeClass(Pupils);
        env.writeFile(QStringLiteral("算数.dat"), scoreLines(twoTests(3).mid(0, 1)));
        date(env.dataFolder() + QStringLiteral("算数.dat"), Yesterday);
        const QByteArray old = env.readBytes(QStringLiteral("算数.dat"));
        const QString leftover = QStringLiteral(".算数.dat.kazane-2147483646-12.tmp");
        env.writeFile(leftover, scoreLines(twoTests(3)));
        date(env.dataFolder() + leftover, Yesterday.addSecs(300));
        env.ui.choices = {choice};
        MainWindow& window = env.startMainWindow();
        QCOMPARE(env.ui.messages.size(), 1);
        QVERIFY(env.ui.messages.first().text.startsWith(
            QStringLiteral("データファイル「算数.dat」の保存が途中で止まっていました。\n"
                           "2026年12月6日 16:50 に保存された、今の「算数.dat」より新しい内容が残っています。")));
        QVERIFY(!window.dataFolderReadOnly());
        QVERIFY(!env.exists(leftover));
        QCOMPARE(env.readBytes(QStringLiteral("算数.dat")), choice == 0 ? crlf(scoreLines(twoTests(3))) : old);
        if (choice == 0)
            QCOMPARE(env.readBytes(QStringLiteral("算数.Bak")), old);
    }

    // A transfer stopped after its record and its first move: the start finishes
    // it and says so in one sentence; the class opens with its new pupil.
    void aChangeLeftHalfwayIsFinishedAndSaidSo()
    {
        TestEnv env;
        env.makeClass(Pupils);
        const QString folder = env.dataFolder();
        const QStringList newNames = Pupils + QStringList{QStringLiteral("江藤")};
        SafeFile::Journal::Record record;
        record.title = QStringLiteral("転入処理");
        const QList<std::pair<QString, QByteArray>> files{
            {QStringLiteral("Class.Nam"), crlf(rosterLines(newNames))},
            {QStringLiteral("shuketu.dat"), crlf(attendanceLines(attendanceYear(4)))}};
        for (int i = 0; i < files.size(); ++i) {
            SafeFile::Journal::Step step;
            step.file = files[i].first;
            step.temporary = QStringLiteral(".%1.kazane-2147483646-%2.tmp").arg(files[i].first).arg(i + 1);
            step.existed = true;
            step.size = files[i].second.size();
            step.crc = SafeFile::Journal::crc32(files[i].second);
            env.writeBytes(step.temporary, files[i].second);
            record.steps << step;
        }
        QVERIFY(SafeFile::Journal::write(folder, record).ok);
        QCOMPARE(::rename(QFile::encodeName(folder + record.steps[0].temporary).constData(),
                          QFile::encodeName(folder + QStringLiteral("Class.Nam")).constData()),
                 0);
        MainWindow& window = env.startMainWindow();
        QCOMPARE(env.ui.messageTexts(),
                 QStringList{QStringLiteral("前回途中で止まった転入処理を、かざねが最後まで済ませました（2個のファイルはすべて転入処理のあとの内容です）。")});
        QCOMPARE(env.ui.messages.first().icon, Ui::Icon::Information);
        QVERIFY(!window.dataFolderReadOnly());
        QCOMPARE(env.data.pupilCount, 4);
        QCOMPARE(env.readBytes(QStringLiteral("shuketu.dat")), files[1].second);
        QVERIFY(!env.exists(SafeFile::Journal::fileName()));
    }

    // The roster says three pupils while 国語 and the attendance hold four, or
    // the class file keeps an overruling of a fourth pupil (a transfer out whose
    // class file was left behind): the teacher is told each count, the class opens
    // read-only, and a session writes nothing.
    void aClassWhoseFilesDisagreeOpensReadOnly_data()
    {
        QTest::addColumn<bool>("classFileOnly");
        QTest::addColumn<QString>("told");
        QTest::newRow("score and attendance files")
            << false << QStringLiteral("「Class.Nam」：3人\n「国語.dat」：4人分\n「shuketu.dat」：4人分");
        QTest::newRow("the class file") << true << QStringLiteral("「assessment.json」の国語：出席番号4の記録（国語の人数は3人）");
    }
    void aClassWhoseFilesDisagreeOpensReadOnly()
    {
        QFETCH(bool, classFileOnly);
        QFETCH(QString, told);
        TestEnv env;
        env.makeClass(Pupils);
        if (classFileOnly) {
            env.writeFile(QStringLiteral("国語.dat"), scoreLines(twoTests(3)));
            env.writeBytes(QStringLiteral("assessment.json"),
                           R"({"version": 1, "subjects": {"国語": {"overrulings": [{"pupil": 4, "group": 0, "given": "3"}]}}})");
        } else {
            env.writeFile(QStringLiteral("国語.dat"), scoreLines(twoTests(4)));
            env.writeFile(QStringLiteral("shuketu.dat"), attendanceLines(attendanceYear(4)));
        }
        const auto before = folderFiles(env.dataFolder());
        MainWindow& window = env.startMainWindow();
        QVERIFY(!env.ui.messages.isEmpty());
        const QString message = env.ui.messages.first().text;
        QVERIFY2(message.contains(told), qPrintable(message));
        QCOMPARE(env.ui.messages.first().icon, Ui::Icon::Warning);
        QVERIFY(window.dataFolderReadOnly());
        QVERIFY(folderNote(window).contains(QStringLiteral("人数またはテストの数が合わない")));
        env.ui.clear();
        QVERIFY(!window.openAttendanceWindow());
        QVERIFY(!window.openScoreEntryWindow());
        window.endProgram();
        QCOMPARE(folderFiles(env.dataFolder()), before);
    }
};

QTEST_MAIN(StartupRepairTest)
#include "test_startup_repair.moc"
