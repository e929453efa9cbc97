// The class file "assessment.json" with the score file it belongs to: loaded into
// the tests (weights, kinds, terms, 未入力 cells where the score file holds 0,
// overrulings), saved back with every field it does not know, byte for byte when
// nothing changed; a file that cannot be read is refused with its name and place,
// never written over, and the scores open all the same; a write the operating
// system refuses leaves the score file and the class file both as they were.

#include "RefusedWrites.h"
#include "TestEnv.h"
#include "DataFiles.h"
#include "model/ClassFile.h"
#include "model/ScoreFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using namespace DataFiles;

namespace {

// Three tests of three pupils: 一 (one column), 二 (two columns, pupil 3 absent),
// 三 (an observation out of 3).
QStringList threeTests()
{
    return scoreLines({{QStringLiteral("一"), {{1, 100, {80, 0, 0}}}},
                       {QStringLiteral("二"), {{1, 50, {0, 40, -1}}, {2, 50, {30, 0, -1}}}},
                       {QStringLiteral("三"), {{3, 3, {3, 2, 0}}}}});
}

// The class file of the class, with fields the program does not know at every
// level: the root, a unit, a test entry and an overruling.
const char* const ClassFileText = R"({
    "comment": "学年会で決めた重み",
    "subjects": {
        "国語": {
            "note": {
                "by": "担任"
            },
            "overrulings": [
                {
                    "computed": "2",
                    "date": "2026-12-07",
                    "given": "3",
                    "group": 0,
                    "meeting": "面談",
                    "pupil": 2,
                    "reason": "作品で十分に到達している",
                    "tests": [
                        1,
                        2
                    ]
                }
            ],
            "tests": [
                {
                    "notEntered": {
                        "1": [
                            2,
                            3
                        ]
                    }
                },
                {
                    "notEntered": {
                        "1": [
                            1
                        ],
                        "2": [
                            2
                        ]
                    },
                    "source": "単元テスト",
                    "weight": 2
                },
                {
                    "kind": "observation",
                    "term": 1,
                    "weight": 0.5
                }
            ]
        },
        "算数": {
            "tests": [
                {
                    "weight": 3
                }
            ]
        }
    },
    "version": 1
}
)";

QJsonObject json(const QByteArray& bytes)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError)
        qFatal("not JSON: %s", bytes.constData());
    return document.object();
}

void makeClass(TestEnv& env, const QByteArray& classFile)
{
    env.makeClass(pupilNames(3));
    env.writeFile(QStringLiteral("国語.dat"), threeTests());
    if (!classFile.isNull())
        env.writeBytes(QStringLiteral("assessment.json"), classFile);
}

// A class file the OS must refuse: forty overrulings with long reasons.
QByteArray bulkyClassFile()
{
    QJsonObject root = json(ClassFileText);
    QJsonObject subjects = root.value("subjects").toObject();
    QJsonObject unit = subjects.value(QStringLiteral("国語")).toObject();
    QJsonArray overrulings;
    for (int i = 0; i < 40; ++i)
        overrulings.append(QJsonObject{{"pupil", 1 + i % 3}, {"group", i % 5}, {"tests", QJsonArray{i + 1}},
                                       {"given", "A"}, {"reason", QString(60, QChar(u'理'))}});
    unit.insert("overrulings", overrulings);
    subjects.insert(QStringLiteral("国語"), unit);
    root.insert("subjects", subjects);
    return QJsonDocument(root).toJson();
}

}  // namespace

class ClassFileTest : public QObject {
    Q_OBJECT
private slots:
    void loadingFillsTheTestsAndOverrulings()
    {
        TestEnv env;
        makeClass(env, ClassFileText);
        const Status loaded = ScoreFile::load(env.data);
        QVERIFY(loaded.ok);
        QCOMPARE(loaded.message, QString());
        const TestSet& set = env.data.tests;
        QCOMPARE(set.count, 3);
        QCOMPARE((QList<double>{set.weight[1], set.weight[2], set.weight[3]}), (QList<double>{1, 2, 0.5}));
        QCOMPARE(set.kind[1], TestKind::Scores);
        QCOMPARE(set.kind[3], TestKind::Observation);
        QCOMPARE((QList<int>{set.term[1], set.term[2], set.term[3]}), (QList<int>{0, 0, 1}));
        // 未入力 where the file lists a cell and the score file holds 0; absent stays absent.
        QCOMPARE((QList<int>{set.score[1][1][1], set.score[1][1][2], set.score[1][1][3]}), (QList<int>{80, NotEntered, NotEntered}));
        QCOMPARE((QList<int>{set.score[2][1][1], set.score[2][1][2], set.score[2][1][3]}), (QList<int>{NotEntered, 40, Absent}));
        QCOMPARE((QList<int>{set.score[2][2][1], set.score[2][2][2], set.score[2][2][3]}), (QList<int>{30, NotEntered, Absent}));
        QCOMPARE((QList<int>{set.score[3][1][1], set.score[3][1][2], set.score[3][1][3]}), (QList<int>{3, 2, 0}));
        QCOMPARE(env.data.overrulings.size(), 1);
        const Overruling& overruling = env.data.overrulings.first();
        QCOMPARE(overruling.pupil, 2);
        QCOMPARE(overruling.group, Overruling::OverallGroup);
        QCOMPARE(overruling.tests, (QList<int>{1, 2}));
        QCOMPARE(overruling.computed, QStringLiteral("2"));
        QCOMPARE(overruling.given, QStringLiteral("3"));
        QCOMPARE(overruling.reason, QStringLiteral("作品で十分に到達している"));
        QCOMPARE(overruling.date, QDate(2026, 12, 7));

        // A cell listed where the score file holds a score typed since (by an older
        // copy of the program) is that score.
        env.writeBytes(QStringLiteral("assessment.json"),
                       R"({"version": 1, "subjects": {"国語": {"tests": [{"notEntered": {"1": [1, 2]}}]}}})");
        QVERIFY(ScoreFile::load(env.data).ok);
        QCOMPARE((QList<int>{env.data.tests.score[1][1][1], env.data.tests.score[1][1][2]}), (QList<int>{80, NotEntered}));
        QCOMPARE(env.data.tests.weight[2], 1.0);
        QVERIFY(env.data.overrulings.isEmpty());
        env.writeBytes(QStringLiteral("assessment.json"), ClassFileText);
        QVERIFY(ScoreFile::load(env.data).ok);

        // Loading again changes nothing; another unit gets its own entries.
        QVERIFY(ClassFile::load(env.data).ok);
        QCOMPARE(env.data.tests.score[1][1][2], NotEntered);
        QCOMPARE(env.data.tests.score[2][2][1], 30);
        env.data.subject = 3;
        env.writeFile(QStringLiteral("算数.dat"), scoreLines({{QStringLiteral("計算"), {{1, 100, {0, 0, 0}}}},
                                                            {QStringLiteral("図形"), {{1, 100, {1, 2, 3}}}}}));
        QVERIFY(ScoreFile::load(env.data).ok);
        QCOMPARE(env.data.tests.weight[1], 3.0);
        QCOMPARE(env.data.tests.weight[2], 1.0);
        QCOMPARE(env.data.tests.score[1][1][1], 0);
        QVERIFY(env.data.overrulings.isEmpty());
    }

    // Saved unchanged, the class file stays byte for byte (and is not even
    // rewritten); a change rewrites it with every unknown field kept, and once
    // more unchanged it is the same bytes again.
    void savingKeepsWhatItDoesNotKnow()
    {
        TestEnv env;
        makeClass(env, ClassFileText);
        QVERIFY(ScoreFile::load(env.data).ok);
        QVERIFY(ScoreFile::save(env.data).ok);
        QCOMPARE(env.readBytes(QStringLiteral("assessment.json")), QByteArray(ClassFileText));
        QVERIFY(!env.exists(QStringLiteral("assessment.bak")));

        env.data.tests.weight[1] = 1.5;
        env.data.tests.score[2][2][2] = 25;  // typed: no longer 未入力
        env.data.tests.score[1][1][1] = NotEntered;  // cleared
        QVERIFY(ScoreFile::save(env.data).ok);
        QCOMPARE(env.readBytes(QStringLiteral("assessment.bak")), QByteArray(ClassFileText));
        QJsonObject expected = json(ClassFileText);
        QJsonObject subjects = expected["subjects"].toObject();
        QJsonObject unit = subjects[QStringLiteral("国語")].toObject();
        QJsonArray tests = unit["tests"].toArray();
        tests[0] = QJsonObject{{"notEntered", QJsonObject{{"1", QJsonArray{1, 2, 3}}}}, {"weight", 1.5}};
        tests[1] = QJsonObject{{"notEntered", QJsonObject{{"1", QJsonArray{1}}}}, {"source", QStringLiteral("単元テスト")}, {"weight", 2}};
        unit["tests"] = tests;
        subjects[QStringLiteral("国語")] = unit;
        expected["subjects"] = subjects;
        const QByteArray written = env.readBytes(QStringLiteral("assessment.json"));
        QCOMPARE(json(written), expected);
        // The score file holds 0 for the cells never typed, as it always did.
        QCOMPARE(env.readLines(QStringLiteral("国語.dat")).mid(0, 6), (QStringList{"3", "\"一\"", "1", "1", "100", "0"}));

        ClassData again;
        again.dataFolder = env.dataFolder();
        again.pupilCount = 3;
        QVERIFY(ScoreFile::load(again).ok);
        QCOMPARE(again.tests.score[1][1][1], NotEntered);
        QVERIFY(ScoreFile::save(again).ok);
        QCOMPARE(env.readBytes(QStringLiteral("assessment.json")), written);
        QCOMPARE(env.readBytes(QStringLiteral("assessment.bak")), QByteArray(ClassFileText));
    }

    // A class without a class file gets none until there is something to keep; the
    // score file is the same bytes as ever.
    void aClassWithoutTheFileGetsNoneUntilNeeded()
    {
        TestEnv env;
        makeClass(env, QByteArray());
        QVERIFY(ScoreFile::load(env.data).ok);
        QVERIFY(ScoreFile::save(env.data).ok);
        QVERIFY(!env.exists(QStringLiteral("assessment.json")));
        QCOMPARE(env.readBytes(QStringLiteral("国語.dat")), crlf(threeTests()));

        env.data.tests.weight[2] = 2.5;
        env.data.tests.kind[3] = TestKind::Observation;
        QVERIFY(ScoreFile::save(env.data).ok);
        QCOMPARE(json(env.readBytes(QStringLiteral("assessment.json"))),
                 json(R"({"version": 1, "subjects": {"国語": {"tests": [{}, {"weight": 2.5}, {"kind": "observation"}]}}})"));
        QVERIFY(!env.exists(QStringLiteral("assessment.bak")));

        // Back to the usual values, the unit's entry goes; the file stays.
        env.data.tests.weight[2] = 1;
        env.data.tests.kind[3] = TestKind::Scores;
        QVERIFY(ScoreFile::save(env.data).ok);
        QCOMPARE(json(env.readBytes(QStringLiteral("assessment.json"))), json(R"({"version": 1, "subjects": {}})"));
    }

    void refusedFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("place");
        QTest::newRow("two commas") << QByteArray("{\n    \"version\": 1,\n    \"subjects\": {\"国語\": [1,,2]}\n}\n")
                                    << QStringLiteral("3行目・27文字目");
        QTest::newRow("cut short") << QByteArray("{\n    \"version\": 1,\n    \"subjects\": {\n") << QStringLiteral("4行目・1文字目");
        QTest::newRow("empty") << QByteArray("") << QStringLiteral("1行目：ファイルが空です");
        QTest::newRow("not UTF-8") << cp932(QStringLiteral("{\"version\": 1, \"subjects\": {\"国語\": {}}}"))
                                   << QStringLiteral("1行目・30文字目：文字が正しくありません");
        QTest::newRow("no version") << QByteArray("{\"subjects\": {}}") << QStringLiteral("項目「version」：版の番号がありません");
        QTest::newRow("version 2") << QByteArray("{\"version\": 2}") << QStringLiteral("項目「version」：このかざねが読める版（1）ではありません");
        QTest::newRow("subjects a list") << QByteArray("{\"version\": 1, \"subjects\": []}")
                                         << QStringLiteral("項目「subjects」：「{ }」ではありません");
        QTest::newRow("weight as text")
            << QByteArray("{\"version\": 1, \"subjects\": {\"国語\": {\"tests\": [{}, {\"weight\": \"2\"}]}}}")
            << QStringLiteral("項目「subjects」の「国語」の「tests」の2番目の「weight」：重みは0.5から5までの0.5刻みの数です");
        QTest::newRow("weight 1.25")
            << QByteArray("{\"version\": 1, \"subjects\": {\"国語\": {\"tests\": [{\"weight\": 1.25}]}}}")
            << QStringLiteral("項目「subjects」の「国語」の「tests」の1番目の「weight」");
        QTest::newRow("unknown kind")
            << QByteArray("{\"version\": 1, \"subjects\": {\"国語\": {\"tests\": [{\"kind\": \"ABC\"}]}}}")
            << QStringLiteral("「tests」の1番目の「kind」：「scores」か「observation」のどちらかです");
        QTest::newRow("column 5")
            << QByteArray("{\"version\": 1, \"subjects\": {\"国語\": {\"tests\": [{\"notEntered\": {\"5\": [1]}}]}}}")
            << QStringLiteral("「notEntered」の「5」：列は\"1\"から\"4\"までです");
        QTest::newRow("pupil 46")
            << QByteArray("{\"version\": 1, \"subjects\": {\"国語\": {\"tests\": [{\"notEntered\": {\"1\": [2, 46]}}]}}}")
            << QStringLiteral("「notEntered」の「1」の2番目：1から45までの整数ではありません");
        QTest::newRow("overruling without pupil")
            << QByteArray("{\"version\": 1, \"subjects\": {\"国語\": {\"overrulings\": [{\"group\": 0}]}}}")
            << QStringLiteral("「overrulings」の1番目の「pupil」：出席番号（1から45までの整数）がありません");
        QTest::newRow("bad date")
            << QByteArray("{\"version\": 1, \"subjects\": {\"国語\": {\"overrulings\": [{\"pupil\": 1, \"group\": 2, \"date\": \"12/7\"}]}}}")
            << QStringLiteral("「overrulings」の1番目の「date」：日付（2026-12-07の形）ではありません");
    }

    // Refused with the name and the place; the scores open without it, and nothing
    // writes over it while the class is open, however often the scores are saved.
    void refusedFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, place);
        TestEnv env;
        makeClass(env, QByteArray());
        env.writeBytes(QStringLiteral("assessment.json"), bytes);
        const Status loaded = ScoreFile::load(env.data);
        QVERIFY(loaded.ok);
        QVERIFY2(loaded.message.startsWith(QStringLiteral("クラスファイル「assessment.json」を読み込めません。\n")),
                 qPrintable(loaded.message));
        QVERIFY2(loaded.message.contains(place), qPrintable(loaded.message));
        QVERIFY(loaded.message.contains(QStringLiteral("このファイルは書き換えません")));
        QVERIFY2(isJapaneseMessage(loaded.message), qPrintable(loaded.message));
        QVERIFY(!env.data.classFileProblem.isEmpty());
        QCOMPARE(env.data.tests.count, 3);
        QCOMPARE(env.data.tests.score[1][1][2], 0);
        QCOMPARE(env.data.tests.weight[2], 1.0);

        // Told once: the next window opens quietly, still without the file.
        const Status again = ScoreFile::load(env.data);
        QVERIFY(again.ok);
        QCOMPARE(again.message, QString());
        QCOMPARE(env.data.tests.score[1][1][2], 0);

        env.data.tests.score[1][1][2] = 55;
        env.data.tests.weight[1] = 2;
        env.data.tests.score[1][1][3] = NotEntered;
        QVERIFY(ScoreFile::save(env.data).ok);
        QCOMPARE(env.readBytes(QStringLiteral("assessment.json")), bytes);
        QVERIFY(!env.exists(QStringLiteral("assessment.bak")));
        QCOMPARE(env.readLines(QStringLiteral("国語.dat")).mid(5, 3), (QStringList{"80", "55", "0"}));
        QVERIFY(!ClassFile::saveTests(env.data).ok);
        QCOMPARE(env.readBytes(QStringLiteral("assessment.json")), bytes);
    }

    // A class file that went bad after the class was opened: the scores are saved,
    // the file is left as it is and the teacher told why.
    void aFileGoneBadSinceOpeningIsLeftAlone()
    {
        TestEnv env;
        makeClass(env, ClassFileText);
        QVERIFY(ScoreFile::load(env.data).ok);
        const QByteArray bad("{\"version\": 1,");
        env.writeBytes(QStringLiteral("assessment.json"), bad);
        env.data.tests.score[1][1][1] = 90;
        const Status saved = ScoreFile::save(env.data);
        QVERIFY(saved.ok);
        QVERIFY2(saved.message.contains(QStringLiteral("「assessment.json」を読み込めません")), qPrintable(saved.message));
        QVERIFY(saved.message.contains(QStringLiteral("点数は保存しました")));
        QCOMPARE(env.readBytes(QStringLiteral("assessment.json")), bad);
        QCOMPARE(env.readLines(QStringLiteral("国語.dat")).at(5), QStringLiteral("90"));
    }

    // The operating system refuses the class file's new content (its file-size
    // limit, or a full disk): neither the score file nor the class file changes,
    // nor any backup, and the message names the class file.
    void aRefusedWriteLosesNothing_data() { RefusedWrites::addRows(); }
    void aRefusedWriteLosesNothing()
    {
        QFETCH(Refusal, refusal);
        TestEnv env;
        RefusedWrites refused(refusal, env);
        SKIP_UNLESS_AVAILABLE(refused);
        const QByteArray bulky = bulkyClassFile();
        makeClass(env, bulky);
        QVERIFY(ScoreFile::load(env.data).ok);
        QCOMPARE(env.data.overrulings.size(), 40);
        const auto before = folderFiles(env.dataFolder());
        env.data.tests.score[1][1][1] = 70;
        env.data.tests.weight[3] = 4;

        refused.start(4096, 4096);
        const Status saved = ScoreFile::save(env.data);
        refused.stop();
        QVERIFY(!saved.ok);
        QVERIFY2(saved.message.contains(QStringLiteral("ファイル「assessment.json」に書き込めませんでした。")), qPrintable(saved.message));
        QVERIFY2(isJapaneseMessage(saved.message), qPrintable(saved.message));
        QCOMPARE(folderFiles(env.dataFolder()), before);

        // With room again the same save writes both.
        QVERIFY(ScoreFile::save(env.data).ok);
        QCOMPARE(env.readLines(QStringLiteral("国語.dat")).at(5), QStringLiteral("70"));
        QCOMPARE(json(env.readBytes(QStringLiteral("assessment.json")))["subjects"].toObject()[QStringLiteral("国語")]
                     .toObject()["tests"].toArray()[2].toObject()["weight"].toDouble(),
                 4.0);
        QCOMPARE(env.readBytes(QStringLiteral("assessment.bak")), bulky);
    }

    // The tally side stores the unit's overrulings; one whose pupil, group and tests
    // stay keeps the fields the program does not know.
    void overrulingsAreSavedWithTheirOtherFields()
    {
        TestEnv env;
        makeClass(env, ClassFileText);
        QVERIFY(ScoreFile::load(env.data).ok);
        env.data.overrulings.first().given = QStringLiteral("1");
        Overruling added;
        added.pupil = 3;
        added.group = 2;
        added.computed = QStringLiteral("B");
        added.given = QStringLiteral("A");
        added.reason = QStringLiteral("観察で十分");
        added.date = QDate(2027, 1, 20);
        env.data.overrulings.append(added);
        QVERIFY(ClassFile::saveOverrulings(env.data).ok);
        const QJsonArray stored = json(env.readBytes(QStringLiteral("assessment.json")))["subjects"]
                                      .toObject()[QStringLiteral("国語")].toObject()["overrulings"].toArray();
        QCOMPARE(stored.size(), 2);
        QCOMPARE(stored[0].toObject(), (QJsonObject{{"computed", "2"}, {"date", "2026-12-07"}, {"given", "1"}, {"group", 0},
                                                    {"meeting", QStringLiteral("面談")}, {"pupil", 2},
                                                    {"reason", QStringLiteral("作品で十分に到達している")},
                                                    {"tests", QJsonArray{1, 2}}}));
        QCOMPARE(stored[1].toObject(), (QJsonObject{{"computed", "B"}, {"date", "2027-01-20"}, {"given", "A"}, {"group", 2},
                                                    {"pupil", 3}, {"reason", QStringLiteral("観察で十分")}}));
        ClassData again;
        again.dataFolder = env.dataFolder();
        again.pupilCount = 3;
        QVERIFY(ScoreFile::load(again).ok);
        QCOMPARE(again.overrulings, env.data.overrulings);
    }
};

QTEST_MAIN(ClassFileTest)
#include "test_class_file.moc"
