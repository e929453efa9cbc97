// Transfers in and out on the files of a class, byte for byte: the nine score files
// (homeroom) or the class's one file (specialist), their ".bak" copies, the
// attendance file, the roster and its backup; refusals that leave every file as it
// was; a write that fails part-way puts everything back.

#include "TestEnv.h"
#include "RefusedWrites.h"
#include "model/ScoreFile.h"
#include "model/Transfer.h"
#include "SampleClass.h"

#include <QFile>
#include <QTest>

using namespace Sample;

namespace {
const QDate June15(2026, 6, 15);  // school month 3: April and May come before
}  // namespace

class TransferTest : public QObject {
    Q_OBJECT
private slots:
    void schoolMonths()
    {
        QCOMPARE(Transfer::schoolMonth(QDate(2026, 4, 1)), 1);
        QCOMPARE(Transfer::schoolMonth(QDate(2026, 6, 15)), 3);
        QCOMPARE(Transfer::schoolMonth(QDate(2026, 12, 31)), 9);
        QCOMPARE(Transfer::schoolMonth(QDate(2027, 1, 8)), 10);
        QCOMPARE(Transfer::schoolMonth(QDate(2027, 3, 20)), 12);
    }

    void transferInAfterSecondOfThirty()
    {
        TestEnv env;
        homeroomClass(env, 30);
        env.data.subject = 3;
        const auto before = snapshot(env);

        QVERIFY(Transfer::transferIn(env.data, 2, QStringLiteral("転入　花子"), June15).ok);

        for (int unit = 1; unit <= 9; ++unit) {
            const QString stem = subjectStems()[unit - 1];
            QCOMPARE(env.readBytes(stem + ".dat"), crlf(scoreLines(insertAbsent(tests(unit, 30), 2))));
            QCOMPARE(env.readBytes(stem + ".bak"), before[stem + ".dat"]);
        }
        QCOMPARE(env.readBytes("shuketu.dat"), crlf(attendanceLines(insertPupil(attendance(30), 2, 3))));
        QCOMPARE(env.readBytes("shuketu.bak"), before["shuketu.dat"]);
        QStringList names = classNames(30);
        names.insert(2, QStringLiteral("転入　花子"));
        QCOMPARE(env.readBytes("Class.Nam"), crlf(rosterLines(names)));
        QCOMPARE(env.readBytes("Class.bak"), before["Class.Nam"]);

        // The model agrees with the files; the subject is still 算数, its tests loaded.
        QCOMPARE(env.data.subject, 3);
        QCOMPARE(env.data.pupilCount, 31);
        QCOMPARE(env.data.pupilName[3], QStringLiteral("転入　花子"));
        QCOMPARE(env.data.pupilName[4], QStringLiteral("髙橋　一郎"));
        QCOMPARE(env.data.pupilName[31], QStringLiteral("児童30"));
        QCOMPARE(env.data.tests.count, tests(3, 30).size());
        QCOMPARE(env.data.tests.score[1][1][3], Absent);
        QCOMPARE(env.data.tests.score[1][1][4], tests(3, 30)[0].columns[0].scores[2]);
        QCOMPARE(env.data.currentTest, env.data.tests.count);
        // 出停 of the new pupil: lesson days of April (16) and May (17), then 0;
        // 必要日数: none before June, then the lesson days of June (18) on.
        QCOMPARE(env.data.attendance[1][3][2], 16);
        QCOMPARE(env.data.attendance[2][3][2], 17);
        QCOMPARE(env.data.attendance[3][3][2], 0);
        QCOMPARE(env.data.attendance[1][3][3], 0);
        QCOMPARE(env.data.attendance[2][3][3], 0);
        QCOMPARE(env.data.attendance[3][3][3], 18);
        QCOMPARE(env.data.attendance[12][3][3], 27);
        QCOMPARE(env.data.attendance[1][3][1], 0);
        QCOMPARE(env.data.attendance[5][4][6], attendance(30).counts[4][2][5]);
        QCOMPARE(env.data.attendance[12][31][7], attendance(30).counts[11][29][6]);
    }

    void transferInAfterLastPupilMovesNoRow()
    {
        TestEnv env;
        homeroomClass(env, 30);
        QVERIFY(Transfer::transferIn(env.data, 30, QStringLiteral("転入生"), QDate(2027, 3, 1)).ok);
        for (int unit = 1; unit <= 9; ++unit)
            QCOMPARE(env.readBytes(subjectStems()[unit - 1] + ".dat"), crlf(scoreLines(insertAbsent(tests(unit, 30), 30))));
        // In March every month before has gone by: 出停 = lesson days of April..February.
        const Attendance expected = insertPupil(attendance(30), 30, 12);
        QCOMPARE(env.readBytes("shuketu.dat"), crlf(attendanceLines(expected)));
        QCOMPARE(expected.counts[10][30][1], 15 + 11);
        QCOMPARE(expected.counts[11][30][1], 0);
        QCOMPARE(expected.counts[11][30][2], 15 + 12);  // 必要日数 of March
        QCOMPARE(env.data.pupilCount, 31);
        QCOMPARE(env.data.pupilName[31], QStringLiteral("転入生"));
    }

    // In April no month has gone by: no 出停, and every month's 必要日数 is its
    // lesson days (16 in April .. 27 in March).
    void transferInInAprilPresetsOnlyRequiredDays()
    {
        TestEnv env;
        homeroomClass(env, 5);
        QVERIFY(Transfer::transferIn(env.data, 1, QStringLiteral("四月"), QDate(2026, 4, 20)).ok);
        QCOMPARE(env.readBytes("shuketu.dat"), crlf(attendanceLines(insertPupil(attendance(5), 1, 1))));
        for (int m = 1; m <= 12; ++m)
            for (int k = 1; k <= 7; ++k)
                QCOMPARE(env.data.attendance[m][2][k], k == 3 ? 15 + m : 0);
    }

    void transferOutOfFifthOfThirty()
    {
        TestEnv env;
        homeroomClass(env, 30);
        env.data.subject = 7;
        const auto before = snapshot(env);

        QVERIFY(Transfer::transferOut(env.data, 5).ok);

        for (int unit = 1; unit <= 9; ++unit) {
            const QString stem = subjectStems()[unit - 1];
            QCOMPARE(env.readBytes(stem + ".dat"), crlf(scoreLines(removePupil(tests(unit, 30), 5))));
            QCOMPARE(env.readBytes(stem + ".bak"), before[stem + ".dat"]);
            // Each column lost exactly one value.
            int columns = 0;
            for (const Test& test : tests(unit, 30))
                columns += int(test.columns.size());
            QCOMPARE(env.readLines(stem + ".dat").size(), scoreLines(tests(unit, 30)).size() - columns);
        }
        QCOMPARE(env.readBytes("shuketu.dat"), crlf(attendanceLines(removePupil(attendance(30), 5))));
        QStringList names = classNames(30);
        names.removeAt(4);
        QCOMPARE(env.readBytes("Class.Nam"), crlf(rosterLines(names)));
        QCOMPARE(env.readBytes("Class.bak"), before["Class.Nam"]);
        QCOMPARE(env.data.subject, 7);
        QCOMPARE(env.data.pupilCount, 29);
        QCOMPARE(env.data.pupilName[5], QStringLiteral("児童06"));
        QCOMPARE(env.data.pupilName[30], QString());
        QCOMPARE(env.data.attendance[4][5][3], attendance(30).counts[3][5][2]);
    }

    void transferOutOfOnlyPupilEmptiesTheClass()
    {
        TestEnv env;
        homeroomClass(env, 1);
        QVERIFY(Transfer::transferOut(env.data, 1).ok);
        QCOMPARE(env.readBytes("Class.Nam"), crlf({"0"}));
        QCOMPARE(env.readBytes("shuketu.dat"), crlf({"16", "17", "18", "19", "20", "21", "22", "23", "24", "25", "26", "27"}));
        QCOMPARE(env.readBytes("国語.dat"), crlf(scoreLines(removePupil(tests(1, 1), 1))));
        QCOMPARE(env.data.pupilCount, 0);
    }

    void inThenOutGivesBackTheFiles()
    {
        TestEnv env;
        homeroomClass(env, 30);
        const auto before = snapshot(env);
        QVERIFY(Transfer::transferIn(env.data, 12, QStringLiteral("一時"), June15).ok);
        QVERIFY(Transfer::transferOut(env.data, 13).ok);
        const auto after = snapshot(env);
        for (auto it = before.begin(); it != before.end(); ++it)
            QCOMPARE(after.value(it.key()), it.value());
        QCOMPARE(env.data.pupilCount, 30);
        QCOMPARE(env.data.pupilName[13], QStringLiteral("児童13"));
    }

    void specialistModeLeavesAttendanceAndOtherClassesAlone()
    {
        TestEnv env;
        env.makeClass({}, true);
        env.data.classNumber = 2;
        const QStringList names = classNames(20);
        env.writeFile("４の２.nam", rosterLines(names));
        env.data.pupilCount = 20;
        for (int p = 1; p <= 20; ++p)
            env.data.pupilName[p] = names[p - 1];
        for (int unit = 1; unit <= 9; ++unit)
            env.writeFile(classStems()[unit - 1] + ".dat", scoreLines(tests(unit, unit == 2 ? 20 : 0)));
        env.writeFile("shuketu.dat", attendanceLines(attendance(20)));
        env.data.attendance[1][1][1] = 9;  // the model's attendance is left as it is too
        const auto before = snapshot(env);

        QVERIFY(Transfer::transferIn(env.data, 4, QStringLiteral("専科転入"), June15).ok);

        QCOMPARE(env.readBytes("４の２.dat"), crlf(scoreLines(insertAbsent(tests(2, 20), 4))));
        QCOMPARE(env.readBytes("４の２.bak"), before["４の２.dat"]);
        QStringList expected = names;
        expected.insert(4, QStringLiteral("専科転入"));
        QCOMPARE(env.readBytes("４の２.nam"), crlf(rosterLines(expected)));
        QCOMPARE(env.readBytes("４の２.NBk"), before["４の２.nam"]);
        const auto after = snapshot(env);
        QCOMPARE(after.size(), before.size() + 2);
        for (auto it = before.begin(); it != before.end(); ++it)
            if (!it.key().startsWith(QStringLiteral("４の２.")))
                QCOMPARE(after.value(it.key()), it.value());
        QCOMPARE(env.data.attendance[1][1][1], 9);
        QCOMPARE(env.data.pupilCount, 21);

        QVERIFY(Transfer::transferOut(env.data, 5).ok);
        QCOMPARE(env.readBytes("４の２.dat"), before["４の２.dat"]);
        QCOMPARE(env.readBytes("４の２.nam"), before["４の２.nam"]);
        QCOMPARE(env.readBytes("shuketu.dat"), before["shuketu.dat"]);
    }

    void existingBackupOfAnotherCaseIsTheOneWritten()
    {
        TestEnv env;
        homeroomClass(env, 4);
        env.writeFile("国語.Bak", {"0"});
        QVERIFY(Transfer::transferOut(env.data, 2).ok);
        QCOMPARE(env.readBytes("国語.Bak"), crlf(scoreLines(tests(1, 4))));
        QVERIFY(!QDir(env.dataFolder()).entryList().contains("国語.bak"));
    }

    void attendanceInTheFormOfANewFileIsRead()
    {
        TestEnv env;
        homeroomClass(env, 2);
        env.writeFile("shuketu.dat", attendanceLines(attendanceYear(2), Quoting::Quoted));
        QVERIFY(Transfer::transferOut(env.data, 1).ok);
        QCOMPARE(env.readBytes("shuketu.dat"), crlf(attendanceLines(attendanceYear(1))));
    }

    // Refusals: each leaves every file and the model as they were.
    void refusals_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::addColumn<QString>("expectedMessage");
        QTest::newRow("missing score file") << "missing" << ScoreFile::missingMessage(QStringLiteral("理科"));
        QTest::newRow("short score file") << "short" << QStringLiteral("音楽.dat");
        QTest::newRow("short attendance file") << "attendance" << QStringLiteral("shuketu.dat");
        QTest::newRow("class of 45") << "full" << Transfer::classFullMessage();
        QTest::newRow("double quote in the name") << "quote" << QStringLiteral("二重引用符");
        QTest::newRow("name outside code page 932") << "emoji" << QStringLiteral("使えない文字");
        QTest::newRow("line break in the name") << "break" << QStringLiteral("改行");
    }
    void refusals()
    {
        QFETCH(QString, situation);
        QFETCH(QString, expectedMessage);
        TestEnv env;
        homeroomClass(env, situation == "full" ? 45 : 10);
        if (situation == "missing")
            QFile::remove(env.dataFolder() + "理科.dat");
        if (situation == "short") {
            QStringList lines = scoreLines(tests(6, 10));
            lines.removeLast();
            env.writeFile("音楽.dat", lines);
        }
        if (situation == "attendance") {
            QStringList lines = attendanceLines(attendance(10));
            lines.removeAt(5);
            env.writeFile("shuketu.dat", lines);
        }
        QString name = QStringLiteral("転入生");
        if (situation == "quote")
            name = QStringLiteral("転入\"生");
        if (situation == "emoji")
            name = QStringLiteral("転入生😀");
        if (situation == "break")
            name = QStringLiteral("転入\r\n生");
        const auto before = snapshot(env);
        const int count = env.data.pupilCount;

        const Status status = Transfer::transferIn(env.data, 3, name, June15);
        QVERIFY(!status.ok);
        QVERIFY2(status.message.contains(expectedMessage), qPrintable(status.message));
        QCOMPARE(snapshot(env), before);
        QCOMPARE(env.data.pupilCount, count);

        if (situation == "missing" || situation == "short" || situation == "attendance") {
            const Status out = Transfer::transferOut(env.data, 3);
            QVERIFY(!out.ok);
            QVERIFY(out.message.contains(expectedMessage));
            QCOMPARE(snapshot(env), before);
        }
    }

    // The system refuses a file part-way through the step: with a file-size limit
    // the attendance file (larger than every score file, written after them) is
    // refused; on a full disk with ten pages left the eleventh file is. Every
    // file, backups included, stays exactly as before, and the model too.
    void refusedWriteChangesNothing_data()
    {
        QTest::addColumn<bool>("in");
        QTest::addColumn<Refusal>("refusal");
        QTest::newRow("transfer in, file size limit") << true << Refusal::FileSizeLimit;
        QTest::newRow("transfer in, full disk") << true << Refusal::FullDisk;
        QTest::newRow("transfer out, file size limit") << false << Refusal::FileSizeLimit;
        QTest::newRow("transfer out, full disk") << false << Refusal::FullDisk;
    }
    void refusedWriteChangesNothing()
    {
        QFETCH(bool, in);
        QFETCH(Refusal, refusal);
        TestEnv env;
        RefusedWrites refused(refusal, env);
        SKIP_UNLESS_AVAILABLE(refused);
        homeroomClass(env, 12);
        env.writeFile("算数.bak", {"0"});  // an older backup to keep
        const auto before = snapshot(env);
        refused.start(before["shuketu.dat"].size() - 100, 10 * 4096);
        const Status status = in ? Transfer::transferIn(env.data, 4, QStringLiteral("転入生"), June15)
                                 : Transfer::transferOut(env.data, 4);
        refused.stop();
        QVERIFY(!status.ok);
        QVERIFY2(status.message.contains(QStringLiteral("ファイルはすべて元のままです")), qPrintable(status.message));
        QVERIFY(status.message.contains(QStringLiteral("ディスクの空き容量が足りません")));
        QVERIFY2(isJapaneseMessage(status.message), qPrintable(status.message));
        QCOMPARE(snapshot(env), before);
        QCOMPARE(env.data.pupilCount, 12);
        QCOMPARE(env.data.pupilName[5], QStringLiteral("児童05"));
        QCOMPARE(env.data.attendance[2][5][1], attendance(12).counts[1][4][0]);
    }
};

QTEST_MAIN(TransferTest)
#include "test_transfer.moc"
