// The start-up check of a class's counts (model/ClassCheck.h) and what the start
// finds beside the files (model/ClassRepair.h): the quick count of a file's items
// agrees with its reader for every layout a reader takes; a class whose files hold
// other pupil or test counts is named file by file, a malformed file is left to its
// reader; a missing file is offered back from its newest copy that fits the class,
// never from the copy of another class; leftovers of the program's own writes are
// offered back when they hold a new content of their file and removed otherwise,
// and nothing of the teacher's own is touched.

#include "DataFiles.h"
#include "TestEnv.h"
#include "model/ClassCheck.h"
#include "model/ClassFile.h"
#include "model/ClassRepair.h"
#include "model/ScoreFile.h"
#include "model/AttendanceFile.h"

#include <QFile>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QTest>

#include <memory>

using namespace DataFiles;

namespace {

Tests someTests(int tests, int pupils)
{
    Tests set;
    for (int t = 1; t <= tests; ++t) {
        Test test{QStringLiteral("テスト%1").arg(t), {}};
        for (int c = 1; c <= 1 + t % 4; ++c) {
            Column column{c, 10 * c, {}};
            for (int p = 1; p <= pupils; ++p)
                column.scores << (t * 7 + c * 3 + p) % (10 * c + 1);
            test.columns << column;
        }
        set << test;
    }
    return set;
}

// The same items in the layouts a reader takes: one to a line, several on a line
// separated by commas, with blank lines and blanks around them; and one it
// refuses: a comma at the end of each line (an empty item).
QByteArray layout(const QStringList& lines, int style)
{
    if (style == 0)
        return crlf(lines);
    if (style == 3)
        return crlf(lines).replace("\r\n", ",\r\n");
    QStringList changed;
    for (int i = 0; i < lines.size(); ++i) {
        if (style == 1 && i % 3 != 0 && !changed.isEmpty())
            changed.last() += QStringLiteral(",") + lines[i];
        else
            changed << (style == 2 ? QStringLiteral("  ") + lines[i] + QStringLiteral(" ") : lines[i]);
        if (style == 2 && i % 5 == 0)
            changed << QString();
    }
    return crlf(changed);
}

QDateTime minutesAgo(int minutes)
{
    return QDateTime::currentDateTime().addSecs(-60 * minutes);
}

void touch(const QString& path, const QDateTime& when)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(when, QFileDevice::FileModificationTime));
}

const QStringList FivePupils{QStringLiteral("青木"), QStringLiteral("石井"), QStringLiteral("上田"), QStringLiteral("江藤"),
                             QStringLiteral("大野")};

}  // namespace

class ClassCheckTest : public QObject {
    Q_OBJECT
private slots:
    // For every class size around the file's own and every layout, the quick count
    // says "fits" exactly when the score or attendance reader reads the file.
    void theQuickCountAgreesWithTheReader_data()
    {
        QTest::addColumn<int>("pupils");
        QTest::addColumn<int>("tests");
        QTest::addColumn<int>("style");
        for (int pupils : {0, 1, 5, 45})
            for (int tests : {0, 1, 3, 60})
                for (int style = 0; style < 4; ++style)
                    QTest::addRow("%d pupils, %d tests, layout %d", pupils, tests, style) << pupils << tests << style;
    }
    void theQuickCountAgreesWithTheReader()
    {
        QFETCH(int, pupils);
        QFETCH(int, tests);
        QFETCH(int, style);
        const QByteArray scoreFile = layout(scoreLines(someTests(tests, pupils)), style);
        const QByteArray attendance = layout(attendanceLines(attendanceYear(pupils, [](int m) { return m; })), style);
        for (int read = qMax(0, pupils - 2); read <= qMin(Limits::Pupils, pupils + 2); ++read) {
            auto set = std::make_unique<TestSet>();
            QCOMPARE(ClassCheck::scoreFileFits(scoreFile, read), ScoreFile::parse(scoreFile, QStringLiteral("x"), read, *set).ok);
            auto data = std::make_unique<ClassData>();
            QCOMPARE(ClassCheck::attendanceFits(attendance, read), AttendanceFile::parse(attendance, read, *data).ok);
        }
        const bool refused = style == 3;
        QCOMPARE(ClassCheck::scoreFilePupils(scoreFile), refused ? ClassCheck::NoCount : tests == 0 ? ClassCheck::AnyCount : pupils);
        QCOMPARE(ClassCheck::attendancePupils(attendance), refused ? ClassCheck::NoCount : pupils);
    }

    // Spaces, tabs, carriage returns, blank lines and empty items put beside any
    // separator of a score file: the quick count still says "fits" exactly when the reader reads it.
    void theQuickCountAgreesWithTheReaderOnEveryDisorder()
    {
        const QByteArray whole = crlf(scoreLines(someTests(3, 4)));
        const QList<QByteArray> disorders{" ", "\t", "\r", "\r\n", "\n\n", " \r\n", ",", "\n,"};
        QRandomGenerator random(20261207);
        for (int round = 0; round < 400; ++round) {
            QByteArray bytes = whole;
            for (int n = 1 + round % 3; n > 0;) {
                // beside a separator: a space inside a number is a bad value, the
                // reader's to name, not a count
                const int at = random.bounded(int(bytes.size()) + 1);
                const auto separator = [&bytes](int i) { return i < 0 || i >= bytes.size() || bytes[i] == ',' || bytes[i] == '\n' || bytes[i] == '\r'; };
                if (!separator(at - 1) && !separator(at))
                    continue;
                bytes.insert(at, disorders[random.bounded(int(disorders.size()))]);
                --n;
            }
            for (int read = 3; read <= 5; ++read) {
                auto set = std::make_unique<TestSet>();
                QCOMPARE(ClassCheck::scoreFileFits(bytes, read), ScoreFile::parse(bytes, QStringLiteral("x"), read, *set).ok);
            }
        }
    }

    // A file cut short, or with an open quote, fits no class size.
    void aDamagedFileFitsNoClassSize()
    {
        const QByteArray whole = crlf(scoreLines(someTests(3, 5)));
        QCOMPARE(ClassCheck::scoreFilePupils(whole.left(whole.size() - 7)), ClassCheck::NoCount);
        QCOMPARE(ClassCheck::scoreFilePupils(crlf({QStringLiteral("1"), QStringLiteral("\"漢字"), QStringLiteral("1")})),
                 ClassCheck::NoCount);
        QCOMPARE(ClassCheck::attendancePupils(crlf({QStringLiteral("1"), QStringLiteral("2")})), ClassCheck::NoCount);
    }

    // A transfer half done: the roster at five, 算数 and the attendance at six, the
    // class file listing more tests of 国語 than its score file holds. Each file is
    // named with its count; a class whose files agree gives no message.
    void aClassThatDisagreesIsNamedFileByFile()
    {
        TestEnv env;
        env.makeClass(FivePupils);
        env.data.dataFolder = env.dataFolder();
        env.writeFile(QStringLiteral("国語.dat"), scoreLines(someTests(2, 5)));
        QCOMPARE(ClassCheck::disagreement(env.data), QString());

        env.writeFile(QStringLiteral("算数.dat"), scoreLines(someTests(3, 6)));
        env.writeFile(QStringLiteral("shuketu.dat"), attendanceLines(attendanceYear(6)));
        env.writeBytes(QStringLiteral("assessment.json"),
                       R"({"version": 1, "subjects": {"国語": {"tests": [{"weight": 2}, {}, {}]}, "算数": {"tests": []}}})");
        const QString message = ClassCheck::disagreement(env.data);
        QVERIFY2(message.contains(QStringLiteral("「Class.Nam」：5人\n「算数.dat」：6人分\n「shuketu.dat」：6人分\n"
                                                 "「assessment.json」の国語：テスト3件（国語.dat は2件）")),
                 qPrintable(message));
        QVERIFY(message.contains(QStringLiteral("読み取り専用で開きます")));
        QVERIFY(!message.contains(QStringLiteral("国語.dat」：")));
    }

    // The class file names tests and pupils of each subject: its test entries and
    // the tests an overruling was computed over may not pass the score file's
    // tests, the pupils of its 未入力 cells and overrulings not the roster's. A
    // class file that cannot be read is its loader's to report. A leftover class
    // file is offered back only when it agrees.
    void theClassFileIsCheckedAgainstTheScoreFilesAndTheRoster_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("note");
        const QByteArray head = R"({"version": 1, "subjects": {"国語": )";
        QTest::newRow("agrees") << head + R"({"tests": [{"weight": 2}, {"notEntered": {"1": [1, 5]}}],
            "overrulings": [{"pupil": 5, "group": 0, "tests": [2], "given": "3"}]}, "算数": {"tests": []}}})"
                                << QString();
        QTest::newRow("a test entry too many") << head + R"({"tests": [{}, {}, {"term": 1}]}}})"
                                               << QStringLiteral("「assessment.json」の国語：テスト3件（国語.dat は2件）");
        QTest::newRow("an overruling over a test not there")
            << head + R"({"overrulings": [{"pupil": 1, "group": 0, "tests": [1, 4], "given": "3"}]}}})"
            << QStringLiteral("「assessment.json」の国語：テスト4件（国語.dat は2件）");
        QTest::newRow("a cell of a pupil not there") << head + R"({"tests": [{}, {"notEntered": {"2": [2, 6]}}]}}})"
                                                     << QStringLiteral("「assessment.json」の国語：出席番号6の記録（国語の人数は5人）");
        QTest::newRow("an overruling of a pupil not there")
            << head + R"({"overrulings": [{"pupil": 7, "group": 1, "given": "A"}]}}})"
            << QStringLiteral("「assessment.json」の国語：出席番号7の記録（国語の人数は5人）");
        QTest::newRow("another version, for its loader") << QByteArray(R"({"version": 2, "subjects": {"国語": {"tests": [{}, {}, {}]}}})")
                                                         << QString();
        QTest::newRow("not JSON, for its loader") << QByteArray("{\"version\": 1,") << QString();
    }
    void theClassFileIsCheckedAgainstTheScoreFilesAndTheRoster()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, note);
        TestEnv env;
        env.makeClass(FivePupils);
        env.data.dataFolder = env.dataFolder();
        env.writeFile(QStringLiteral("国語.dat"), scoreLines(someTests(2, 5)));
        env.writeBytes(QStringLiteral("assessment.json"), json);
        const QString message = ClassCheck::disagreement(env.data);
        if (note.isEmpty())
            QCOMPARE(message, QString());
        else
            QVERIFY2(message.contains(note), qPrintable(message));
        QJsonObject root;
        const bool readable = ClassFile::parse(json, QStringLiteral("x"), root).ok;
        QCOMPARE(ClassCheck::fitsClass(env.data, QStringLiteral("assessment.json"), json), readable && note.isEmpty());

        // The same content as a leftover of an interrupted save of a class file
        // that is gone.
        QVERIFY(QFile::remove(env.dataFolder() + QStringLiteral("assessment.json")));
        const QString leftover = QStringLiteral(".assessment.json.kazane-2147483646-3.tmp");
        env.writeBytes(leftover, json);
        const ClassRepair::Survey survey = ClassRepair::survey(env.data);
        QCOMPARE(survey.offers.size(), readable && note.isEmpty() ? 1 : 0);
        QCOMPARE(survey.stale.contains(env.dataFolder() + leftover), !(readable && note.isEmpty()));
        QVERIFY(survey.lost.isEmpty());
    }

    // A malformed file is its reader's to report (with the line); a specialist's
    // classes are checked each against its own roster.
    void aMalformedFileIsLeftToItsReaderAndEachClassToItsRoster()
    {
        TestEnv env;
        env.makeClass(FivePupils);
        env.data.dataFolder = env.dataFolder();
        env.writeFile(QStringLiteral("算数.dat"), {QStringLiteral("1"), QStringLiteral("\"漢字\""), QStringLiteral("1")});
        QCOMPARE(ClassCheck::disagreement(env.data), QString());

        TestEnv specialist;
        specialist.makeClass(FivePupils, true);
        specialist.data.specialistMode = true;
        specialist.data.setFileStems();
        specialist.data.dataFolder = specialist.dataFolder();
        specialist.writeFile(QStringLiteral("４の２.nam"), rosterLines(FivePupils.mid(0, 3)));
        specialist.writeFile(QStringLiteral("４の２.dat"), scoreLines(someTests(2, 4)));
        specialist.writeFile(QStringLiteral("４の１.dat"), scoreLines(someTests(2, 5)));
        const QString message = ClassCheck::disagreement(specialist.data);
        QVERIFY2(message.contains(QStringLiteral("「４の２.nam」：3人\n「４の２.dat」：4人分")), qPrintable(message));
        QVERIFY(!message.contains(QStringLiteral("４の１")));
    }

    // A missing score file: its backup is offered when it fits the roster; when
    // only a backup of another class size is there, the file is lost (the class
    // opens read-only) and nothing is offered.
    void aMissingFileIsOfferedFromACopyThatFitsTheClass_data()
    {
        QTest::addColumn<int>("backupPupils");
        QTest::addColumn<bool>("offered");
        QTest::newRow("backup of the class") << 5 << true;
        QTest::newRow("backup of another class size") << 6 << false;
    }
    void aMissingFileIsOfferedFromACopyThatFitsTheClass()
    {
        QFETCH(int, backupPupils);
        QFETCH(bool, offered);
        TestEnv env;
        env.makeClass(FivePupils);
        env.data.dataFolder = env.dataFolder();
        env.writeFile(QStringLiteral("算数.Bak"), scoreLines(someTests(4, backupPupils)));
        QVERIFY(QFile::remove(env.dataFolder() + QStringLiteral("算数.dat")));
        const ClassRepair::Survey survey = ClassRepair::survey(env.data);
        QCOMPARE(survey.offers.size(), offered ? 1 : 0);
        QCOMPARE(survey.lost, offered ? QStringList() : QStringList{QStringLiteral("算数.dat")});
        if (!offered)
            return;
        const ClassRepair::Copy& copy = survey.offers.first();
        QVERIFY(copy.missing && !copy.leftover);
        QCOMPARE(copy.copy, env.dataFolder() + QStringLiteral("算数.Bak"));
        QVERIFY(ClassRepair::bringBack(env.data, copy).ok);
        QCOMPARE(env.readBytes(QStringLiteral("算数.dat")), env.readBytes(QStringLiteral("算数.Bak")));
    }

    // After 新規ｸﾗｽ the attendance file is gone and its backup holds the class
    // before: a class without pupils shows nothing was lost, so nothing is offered
    // and the start makes the file anew.
    void theBackupOfTheClassBeforeANewClassIsNotOffered()
    {
        TestEnv env;
        env.makeClass({});
        env.data.dataFolder = env.dataFolder();
        env.writeFile(QStringLiteral("shuketu.bak"), attendanceLines(attendanceYear(30)));
        QVERIFY(QFile::remove(env.dataFolder() + QStringLiteral("shuketu.dat")));
        const ClassRepair::Survey survey = ClassRepair::survey(env.data);
        QVERIFY(survey.offers.isEmpty());
        QVERIFY(survey.lost.isEmpty());
    }

    // Leftovers of writes by programs that have ended, beside files of the class
    // and the teacher's own files with similar names.
    void leftoversAreOfferedOrRemovedAndNothingElseIsTouched()
    {
        TestEnv env;
        env.makeClass(FivePupils);
        env.data.dataFolder = env.dataFolder();
        const QString folder = env.dataFolder();
        env.writeFile(QStringLiteral("算数.dat"), scoreLines(someTests(2, 5)));
        touch(folder + QStringLiteral("算数.dat"), minutesAgo(30));
        const QString dead = QStringLiteral("2147483646");
        const QString newer = QStringLiteral(".算数.dat.kazane-%1-7.tmp").arg(dead);
        env.writeFile(newer, scoreLines(someTests(3, 5)));
        const QString older = QStringLiteral(".国語.dat.kazane-2147483645-3.tmp");
        env.writeFile(older, scoreLines(someTests(1, 5)));
        touch(folder + older, minutesAgo(90));
        const QString same = QStringLiteral(".Class.Nam.kazane-2147483644-2.tmp");
        env.writeBytes(same, env.readBytes(QStringLiteral("Class.Nam")));
        const QString otherSize = QStringLiteral(".理科.dat.kazane-2147483643-9.tmp");
        env.writeFile(otherSize, scoreLines(someTests(2, 6)));
        const QString backup = QStringLiteral(".算数.Bak.kazane-%1-6.tmp").arg(dead);
        env.writeFile(backup, scoreLines({}));
        const QString running = QStringLiteral(".音楽.dat.kazane-%1-1.tmp").arg(QCoreApplication::applicationPid());
        env.writeFile(running, scoreLines(someTests(1, 5)));
        const QStringList teachers{QStringLiteral("算数.dat.tmp"), QStringLiteral(".算数.dat.mine"), QStringLiteral("算数 のコピー.dat"),
                                   QStringLiteral(".kazane-notes.tmp")};
        for (const QString& name : teachers)
            env.writeBytes(name, "mine");

        const ClassRepair::Survey survey = ClassRepair::survey(env.data);
        QCOMPARE(survey.offers.size(), 1);
        const ClassRepair::Copy& offer = survey.offers.first();
        QCOMPARE(offer.copy, folder + newer);
        QVERIFY(offer.leftover && !offer.missing);
        QCOMPARE(offer.fileName, QStringLiteral("算数.dat"));
        QStringList stale = survey.stale;
        stale.sort();
        QStringList expected{folder + older, folder + same, folder + otherSize, folder + backup};
        expected.sort();
        QCOMPARE(stale, expected);

        const QByteArray before = env.readBytes(QStringLiteral("算数.dat"));
        QVERIFY(ClassRepair::bringBack(env.data, offer).ok);
        ClassRepair::removeStale(survey);
        QCOMPARE(env.readBytes(QStringLiteral("算数.dat")), crlf(scoreLines(someTests(3, 5))));
        QCOMPARE(env.readBytes(QStringLiteral("算数.Bak")), before);
        QStringList left = filesIn(folder).filter(QStringLiteral("kazane"));
        QCOMPARE(left, QStringList({QStringLiteral(".kazane-notes.tmp"), running}));
        for (const QString& name : teachers)
            QCOMPARE(env.readBytes(name), QByteArray("mine"));
    }

    // Several leftovers of one program with new contents are a change of several
    // files that never took place: none is offered, all go.
    void leftoversOfAChangeOfSeveralFilesAreRemoved()
    {
        TestEnv env;
        env.makeClass(FivePupils);
        env.data.dataFolder = env.dataFolder();
        const QString first = QStringLiteral(".国語.dat.kazane-2147483646-2.tmp");
        const QString second = QStringLiteral(".算数.dat.kazane-2147483646-4.tmp");
        env.writeFile(first, scoreLines(someTests(1, 5)));
        env.writeFile(second, scoreLines(someTests(2, 5)));
        const ClassRepair::Survey survey = ClassRepair::survey(env.data);
        QVERIFY(survey.offers.isEmpty());
        QCOMPARE(survey.stale.size(), 2);
    }

    // A save of 算数 with the class file stopped before the class file's new
    // content was written: the new scores alone are not offered back.
    void aNewContentIsNotOfferedWhileItsWriterLeftAnotherFileUnfinished()
    {
        TestEnv env;
        env.makeClass(FivePupils);
        env.data.dataFolder = env.dataFolder();
        env.writeFile(QStringLiteral("算数.dat"), scoreLines(someTests(2, 5)));
        touch(env.dataFolder() + QStringLiteral("算数.dat"), minutesAgo(30));
        env.writeFile(QStringLiteral(".算数.dat.kazane-2147483646-2.tmp"), scoreLines(someTests(3, 5)));
        env.writeBytes(QStringLiteral(".算数.Bak.kazane-2147483646-1.tmp"), "old");
        // The class file's backup made, its new content still empty, or not even that.
        for (const QString& name : {QStringLiteral(".assessment.json.kazane-2147483646-4.tmp"),
                                    QStringLiteral(".assessment.bak.kazane-2147483646-3.tmp")}) {
            env.writeBytes(name, {});
            const ClassRepair::Survey survey = ClassRepair::survey(env.data);
            QVERIFY(survey.offers.isEmpty());
            QCOMPARE(survey.stale.size(), 3);
            QVERIFY(QFile::remove(env.dataFolder() + name));
        }
        // With its own backup only, the same new scores are offered, unless the
        // class file keeps something of 算数 (the stop may have come before the
        // class file's new content was begun).
        ClassRepair::Survey survey = ClassRepair::survey(env.data);
        QCOMPARE(survey.offers.size(), 1);
        QCOMPARE(survey.stale.size(), 1);
        env.writeBytes(QStringLiteral("assessment.json"), R"({"version": 1, "subjects": {"算数": {"tests": [{"weight": 2}]}}})");
        survey = ClassRepair::survey(env.data);
        QVERIFY(survey.offers.isEmpty());
        QCOMPARE(survey.stale.size(), 2);
    }
};

QTEST_MAIN(ClassCheckTest)
#include "test_class_check.moc"
