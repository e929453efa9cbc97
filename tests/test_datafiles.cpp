// The three data files byte for byte: score files, rosters and the attendance file,
// their backups, names found whatever their letter case, and malformed files that
// are reported without touching the model or the file.

#include "TestEnv.h"
#include "DataFiles.h"
#include "model/AttendanceFile.h"
#include "model/Cp932.h"
#include "model/DataFolder.h"
#include "model/RosterFile.h"
#include "model/ScoreFile.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace DataFiles;

namespace {

QString q(const QString& text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// Fills test t with `columns` columns of known kinds, full marks and scores; pupil p
// is absent in column c when (p + c + t) is a multiple of 7.
void fillTest(ClassData& data, int t, int columns)
{
    TestSet& set = data.tests;
    set.name[t] = QStringLiteral("テスト%1「①Ⅰ～」, 第%1回").arg(t);
    set.columnCount[t] = columns;
    for (int c = 1; c <= columns; ++c) {
        set.viewpoint[t][c] = (t + c) % 5;
        set.fullMarks[t][c] = 10 * (c + 1);
        for (int p = 1; p <= data.pupilCount; ++p)
            set.score[t][c][p] = (p + c + t) % 7 == 0 ? Absent : (p * 3 + t + c) % (10 * (c + 1) + 1);
    }
}

}  // namespace

class DataFilesTest : public QObject {
    Q_OBJECT
private slots:
    void scoreFileOfTheExampleIsElevenLines()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木"), QStringLiteral("石田")});
        ClassData& data = env.data;
        data.tests.count = 1;
        data.tests.name[1] = QStringLiteral("小テスト");
        data.tests.columnCount[1] = 2;
        data.tests.viewpoint[1][1] = 1;
        data.tests.fullMarks[1][1] = 10;
        data.tests.score[1][1][1] = 8;
        data.tests.score[1][1][2] = 10;
        data.tests.viewpoint[1][2] = 3;
        data.tests.fullMarks[1][2] = 20;
        data.tests.score[1][2][1] = 15;
        data.tests.score[1][2][2] = Absent;
        QVERIFY(ScoreFile::save(data).ok);
        const QByteArray expected = crlf({"1", q("小テスト"), "2", "1", "10", "8", "10", "3", "20", "15", "-1"});
        QCOMPARE(env.readBytes(QStringLiteral("国語.dat")), expected);
        // The old content ("0") went to the backup.
        QCOMPARE(env.readBytes(QStringLiteral("国語.Bak")), QByteArray("0\r\n"));

        // Read back: absent stays absent, currentTest is the last test.
        ClassData fresh;
        fresh.dataFolder = env.dataFolder();
        fresh.pupilCount = 2;
        QVERIFY(ScoreFile::load(fresh).ok);
        QCOMPARE(fresh.tests.count, 1);
        QCOMPARE(fresh.currentTest, 1);
        QCOMPARE(fresh.tests.name[1], QStringLiteral("小テスト"));
        QCOMPARE(fresh.tests.score[1][2][2], Absent);
        QCOMPARE(fresh.tests.score[1][2][1], 15);
    }

    // A cell never typed goes into the score file as 0, as the file always held it,
    // so an older copy of the program reads the same scores; absent stays -1.
    void notEnteredCellIsStoredAsZero()
    {
        TestSet set;
        set.count = 1;
        set.name[1] = QStringLiteral("計算");
        set.columnCount[1] = 1;
        set.viewpoint[1][1] = 2;
        set.fullMarks[1][1] = 10;
        set.score[1][1][1] = NotEntered;
        set.score[1][1][2] = Absent;
        set.score[1][1][3] = 0;
        QByteArray bytes;
        QVERIFY(ScoreFile::build(set, 3, bytes).ok);
        QCOMPARE(bytes, crlf({"1", q("計算"), "1", "2", "10", "0", "-1", "0"}));
        QCOMPARE(set.weight[1], 1.0);
        QCOMPARE(set.kind[1], TestKind::Scores);
    }

    void emptyFilesAreTheSingleLineZero()
    {
        QCOMPARE(ScoreFile::emptyFile(), QByteArray("0\r\n"));
        QCOMPARE(RosterFile::emptyFile(), QByteArray("0\r\n"));
        TestEnv env;
        env.makeClass({});
        env.data.tests.count = 5;  // stale content must be cleared by the load
        QVERIFY(ScoreFile::load(env.data).ok);
        QCOMPARE(env.data.tests.count, 0);
        QCOMPARE(env.data.currentTest, 0);
        env.data.pupilName[3] = QStringLiteral("残り");
        QVERIFY(RosterFile::load(env.data).ok);
        QCOMPARE(env.data.pupilCount, 0);
        QVERIFY(env.data.pupilName[3].isEmpty());
    }

    void fullClassAndFullTestSetRoundTrip()
    {
        TestEnv env;
        QStringList names;
        for (int p = 1; p <= 45; ++p)
            names.append(QStringLiteral("児童%1, ①Ⅳ～").arg(p));
        env.makeClass(names);
        for (int t = 1; t <= 60; ++t)
            fillTest(env.data, t, 4);
        env.data.tests.count = 60;
        QVERIFY(ScoreFile::save(env.data).ok);
        QVERIFY(RosterFile::save(env.data).ok);
        const QByteArray firstScores = env.readBytes(QStringLiteral("国語.dat"));
        // 1 + 60 tests × (2 + 4 × (2 + 45)) lines.
        QCOMPARE(firstScores.count("\r\n"), 1 + 60 * (2 + 4 * 47));

        ClassData loaded;
        loaded.dataFolder = env.dataFolder();
        QVERIFY(RosterFile::load(loaded).ok);
        QCOMPARE(loaded.pupilCount, 45);
        QCOMPARE(loaded.pupilName[45], names[44]);
        QVERIFY(ScoreFile::load(loaded).ok);
        QCOMPARE(loaded.tests.count, 60);
        for (int t = 1; t <= 60; ++t) {
            QCOMPARE(loaded.tests.name[t], env.data.tests.name[t]);
            for (int c = 1; c <= 4; ++c) {
                QCOMPARE(loaded.tests.viewpoint[t][c], env.data.tests.viewpoint[t][c]);
                QCOMPARE(loaded.tests.fullMarks[t][c], env.data.tests.fullMarks[t][c]);
                for (int p = 1; p <= 45; ++p)
                    QCOMPARE(loaded.tests.score[t][c][p], env.data.tests.score[t][c][p]);
            }
        }
        // Saving what was loaded gives the same bytes.
        QVERIFY(ScoreFile::save(loaded).ok);
        QCOMPARE(env.readBytes(QStringLiteral("国語.dat")), firstScores);
    }

    void scoreFileEdgeCases()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
        ClassData& data = env.data;
        fillTest(data, 1, 4);
        data.tests.name[1] = QStringLiteral("漢字, 計算");
        data.tests.count = 1;
        QVERIFY(ScoreFile::save(data).ok);
        const QStringList lines = env.readLines(QStringLiteral("国語.dat"));
        // A test of 4 columns for 3 pupils takes 2 + 4 × 5 lines after the count.
        QCOMPARE(lines.size(), 1 + 22);
        QCOMPARE(lines[1], q("漢字, 計算"));
        QVERIFY(lines.contains(QStringLiteral("-1")));

        // Saving twice leaves the state after the first save in ".Bak".
        const QByteArray afterFirst = env.readBytes(QStringLiteral("国語.dat"));
        data.tests.name[1] = QStringLiteral("二回目");
        QVERIFY(ScoreFile::save(data).ok);
        QCOMPARE(env.readBytes(QStringLiteral("国語.Bak")), afterFirst);

        ClassData loaded;
        loaded.dataFolder = env.dataFolder();
        loaded.pupilCount = 3;
        QVERIFY(ScoreFile::load(loaded).ok);
        QCOMPARE(loaded.tests.name[1], QStringLiteral("二回目"));
    }

    void unstorableTestNameWritesNothing()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("a")});
        env.data.tests.count = 1;
        env.data.tests.columnCount[1] = 1;
        env.data.tests.name[1] = QStringLiteral("引用\"符");
        const Status quote = ScoreFile::save(env.data);
        QVERIFY(!quote.ok);
        QVERIFY(quote.message.contains(QStringLiteral("二重引用符")));
        env.data.tests.name[1] = QStringLiteral("絵文字😀");
        QVERIFY(!ScoreFile::save(env.data).ok);
        env.data.tests.name[1] = QStringLiteral("改\n行");
        QVERIFY(!ScoreFile::save(env.data).ok);
        QCOMPARE(env.readBytes(QStringLiteral("国語.dat")), QByteArray("0\r\n"));
        QVERIFY(!env.exists(QStringLiteral("国語.Bak")));
    }

    void rosterFiles()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木 一郎"), QStringLiteral("石田, 花子")});
        ClassData& data = env.data;
        QVERIFY(RosterFile::load(data).ok);
        QCOMPARE(data.pupilCount, 2);
        QCOMPARE(data.pupilName[2], QStringLiteral("石田, 花子"));
        const QByteArray original = env.readBytes(QStringLiteral("Class.Nam"));
        data.pupilName[1] = QStringLiteral("青木 ①");
        QVERIFY(RosterFile::save(data).ok);
        QCOMPARE(env.readBytes(QStringLiteral("Class.Nam")), crlf({"2", q("青木 ①"), q("石田, 花子")}));
        QCOMPARE(env.readBytes(QStringLiteral("Class.bak")), original);
        const QByteArray afterFirst = env.readBytes(QStringLiteral("Class.Nam"));
        data.pupilName[2] = QStringLiteral("石田");
        QVERIFY(RosterFile::save(data).ok);
        QCOMPARE(env.readBytes(QStringLiteral("Class.bak")), afterFirst);

        // Missing roster: names cleared, count kept, the message names CLASS.NAM.
        QFile::remove(env.dataFolder() + QStringLiteral("Class.Nam"));
        const Status missing = RosterFile::load(data);
        QVERIFY(!missing.ok);
        QVERIFY(missing.message.startsWith(QStringLiteral("氏名ﾃﾞｰﾀﾌｧｲﾙ(CLASS.NAM)が見つかりません。")));
        QCOMPARE(data.pupilCount, 2);
        QVERIFY(data.pupilName[1].isEmpty());
    }

    void specialistRosterAndBackupNames()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("北")}, true);
        ClassData& data = env.data;
        data.classNumber = 4;
        QCOMPARE(RosterFile::fileName(data), QStringLiteral("５の１.nam"));
        const Status missing = RosterFile::load(data);
        QVERIFY(missing.ok);  // makeClass wrote an empty roster for every class
        QCOMPARE(data.pupilCount, 0);
        data.pupilCount = 1;
        data.pupilName[1] = QStringLiteral("南");
        QVERIFY(RosterFile::save(data).ok);
        QCOMPARE(env.readBytes(QStringLiteral("５の１.nam")), crlf({"1", q("南")}));
        QCOMPARE(env.readBytes(QStringLiteral("５の１.NBk")), QByteArray("0\r\n"));
        QFile::remove(env.dataFolder() + QStringLiteral("５の１.nam"));
        QVERIFY(RosterFile::load(data).message.startsWith(QStringLiteral("氏名ﾃﾞｰﾀﾌｧｲﾙ(５の１.NAM)が見つかりません。")));
    }

    void attendanceCreatedAndSaved()
    {
        TestEnv env;
        env.writeSettings();
        ClassData& data = env.data;
        data.pupilCount = 0;
        QVERIFY(AttendanceFile::create(data).ok);
        QCOMPARE(env.readBytes(QStringLiteral("shuketu.dat")), crlf(attendanceLines(attendanceYear(0), Quoting::Quoted)));

        data.pupilCount = 30;
        data.lessonDays[1] = 99;
        QVERIFY(AttendanceFile::create(data).ok);
        const QStringList created = attendanceLines(attendanceYear(30), Quoting::Quoted);
        QCOMPARE(env.readBytes(QStringLiteral("shuketu.dat")), crlf(created));
        QCOMPARE(data.lessonDays[1], 99);  // creating does not change the model
        QVERIFY(AttendanceFile::load(data).ok);
        QCOMPARE(data.lessonDays[1], 0);

        data.lessonDays[5] = 21;
        data.attendance[5][30][7] = 2;
        QVERIFY(AttendanceFile::save(data).ok);
        const QStringList saved = env.readLines(QStringLiteral("shuketu.dat"));
        QCOMPARE(saved.size(), 12 * 31);
        QCOMPARE(saved[0], QStringLiteral("0"));
        QCOMPARE(saved[1], QStringLiteral("0,0,0,0,0,0,0"));
        QCOMPARE(saved[4 * 31], QStringLiteral("21"));
        QCOMPARE(saved[4 * 31 + 30], QStringLiteral("0,0,0,0,0,0,2"));
        // The state before the save is kept in "shuketu.bak", as every data file keeps its backup.
        QCOMPARE(env.readBytes(QStringLiteral("shuketu.bak")), crlf(created));
    }

    void namesFoundWhateverTheirCase()
    {
        TestEnv env;
        env.writeSettings();
        env.writeFile(QStringLiteral("CLASS.NAM"), {"1", q("上田")});
        env.writeFile(QStringLiteral("国語.DAT"), {"0"});
        env.writeFile(QStringLiteral("国語.bak"), {"old"});
        env.writeFile(QStringLiteral("SHUKETU.DAT"), {"0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0"});
        ClassData& data = env.data;
        QVERIFY(RosterFile::load(data).ok);
        QCOMPARE(data.pupilName[1], QStringLiteral("上田"));
        QVERIFY(AttendanceFile::exists(data));
        data.pupilCount = 0;
        QVERIFY(AttendanceFile::load(data).ok);
        data.pupilCount = 1;
        QVERIFY(ScoreFile::load(data).ok);
        QVERIFY(ScoreFile::save(data).ok);
        // The backup replaced "国語.bak" instead of adding "国語.Bak"; the file kept its name.
        const QStringList files = QDir(env.dataFolder()).entryList(QDir::Files);
        QVERIFY(files.contains(QStringLiteral("国語.bak")));
        QVERIFY(!files.contains(QStringLiteral("国語.Bak")));
        QVERIFY(files.contains(QStringLiteral("国語.DAT")));
        QVERIFY(!files.contains(QStringLiteral("国語.dat")));
        QCOMPARE(env.readBytes(QStringLiteral("国語.bak")), QByteArray("0\r\n"));
        QCOMPARE(DataFolder::resolve(env.dataFolder(), QStringLiteral("class.Nam")), env.dataFolder() + QStringLiteral("CLASS.NAM"));
    }

    void malformedFilesAreReportedAndLeftAlone_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("line");
        QTest::newRow("roster count above 45") << "Class.Nam" << QStringList{"46"} << 1;
        QTest::newRow("roster short") << "Class.Nam" << QStringList{"3", q("a"), q("b")} << 4;  // the missing name
        QTest::newRow("roster count is text") << "Class.Nam" << QStringList{q("abc")} << 1;
        // Names the writer would refuse are a damaged file.
        QTest::newRow("quote inside an unquoted name") << "Class.Nam" << QStringList{"2", q("a"), "b\"c"} << 3;
        QTest::newRow("lone CR in a name") << "Class.Nam" << QStringList{"2", q("a\rb"), q("c")} << 2;
        QTest::newRow("quote inside a test name") << "国語.dat" << QStringList{"1", "t\"1", "0"} << 2;
        QTest::newRow("61 tests") << "国語.dat" << QStringList{"61"} << 1;
        QTest::newRow("five columns") << "国語.dat" << QStringList{"1", q("t"), "5"} << 3;
        QTest::newRow("text for a score") << "国語.dat" << QStringList{"1", q("t"), "1", "1", "10", "8", "x"} << 7;
        QTest::newRow("truncated scores") << "国語.dat" << QStringList{"1", q("t"), "1", "1", "10", "8"} << 7;
        QTest::newRow("extra lines") << "国語.dat" << QStringList{"0", "5"} << 2;
        QTest::newRow("attendance short") << "shuketu.dat" << QStringList{"0", "1,2,3"} << 3;
    }

    void malformedFilesAreReportedAndLeftAlone()
    {
        QFETCH(QString, file);
        QFETCH(QStringList, lines);
        QFETCH(int, line);
        TestEnv env;
        env.makeClass({QStringLiteral("a"), QStringLiteral("b")});
        ClassData& data = env.data;
        data.tests.count = 7;
        data.lessonDays[1] = 5;
        data.pupilName[1] = QStringLiteral("前の名前");
        env.writeFile(file, lines);
        const QByteArray before = env.readBytes(file);
        Status status;
        if (file == QLatin1String("Class.Nam"))
            status = RosterFile::load(data);
        else if (file == QLatin1String("shuketu.dat"))
            status = AttendanceFile::load(data);
        else
            status = ScoreFile::load(data);
        QVERIFY(!status.ok);
        QVERIFY2(status.message.contains(file), qPrintable(status.message));
        QVERIFY2(status.message.contains(QStringLiteral("%1行目").arg(line)), qPrintable(status.message));
        QCOMPARE(data.pupilCount, 2);
        QCOMPARE(data.pupilName[1], QStringLiteral("前の名前"));
        QCOMPARE(data.tests.count, 7);
        QCOMPARE(data.lessonDays[1], 5);
        QCOMPARE(env.readBytes(file), before);
    }

    void notCp932IsReported()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("a")});
        env.writeBytes(QStringLiteral("Class.Nam"), QByteArray("1\r\n\"\x81\xff\"\r\n"));
        const Status status = RosterFile::load(env.data);
        QVERIFY(!status.ok);
        QVERIFY(status.message.contains(QStringLiteral("2行目")));
        QCOMPARE(env.data.pupilName[1], QStringLiteral("a"));
    }

    void vendorCharactersRoundTrip()
    {
        const QString text = QStringLiteral("Ⅰ①～髙﨑\\~");
        const auto bytes = Cp932::encode(text);
        QVERIFY(bytes.has_value());
        QCOMPARE(Cp932::decode(*bytes).value_or(QString()), text);
        QVERIFY(StorableText::problem(text).isEmpty());
        QVERIFY(!StorableText::problem(QStringLiteral("한국어")).isEmpty());
    }
};

QTEST_MAIN(DataFilesTest)
#include "test_datafiles.moc"
