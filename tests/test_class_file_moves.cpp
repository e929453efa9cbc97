// The class file follows the pupils and tests of the score files: a transfer in and
// out, a test inserted and deleted, each in the same all-or-nothing change as the
// score files, keep every weight, kind, 未入力 cell and overruling with its pupil and
// test (compared as JSON, with fields the program does not know carried along); a
// class file that cannot be read stops them with nothing written. 新規ｸﾗｽ copies it
// with the class and starts the class without one.

#include "RefusedWrites.h"
#include "SampleClass.h"
#include "TestEnv.h"
#include "model/ClassFile.h"
#include "model/NewClass.h"
#include "model/NewClassCopy.h"
#include "model/ScoreFile.h"
#include "model/TestList.h"
#include "model/Transfer.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using namespace Sample;

namespace {

const QDate June15(2026, 6, 15);

QJsonObject json(const QByteArray& bytes)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError)
        qFatal("not JSON: %s", bytes.constData());
    return document.object();
}

QJsonObject overruling(int pupil, int group, const QJsonArray& tests, const QString& given)
{
    QJsonObject o{{"pupil", pupil}, {"group", group}, {"computed", "B"}, {"given", given}, {"reason", QStringLiteral("理由")}};
    if (!tests.isEmpty())
        o.insert("tests", tests);
    return o;
}

// 国語: test 1 of weight 2 with pupils 2 and 4 not entered and a field of its own,
// test 2 an observation with pupils 1 and 3 not entered; three overrulings.
// 算数: one test whose second column lacks pupil 3; an overruling of pupil 1.
QJsonObject classFile(const QList<int>& japaneseMissing1, const QList<int>& japaneseMissing2,
                      const QList<QJsonObject>& japaneseOverrulings, const QList<int>& mathsMissing,
                      const QList<QJsonObject>& mathsOverrulings)
{
    const auto list = [](const QList<int>& pupils) {
        QJsonArray a;
        for (int p : pupils)
            a.append(p);
        return a;
    };
    QJsonArray japanese;
    for (const QJsonObject& o : japaneseOverrulings)
        japanese.append(o);
    QJsonArray maths;
    for (const QJsonObject& o : mathsOverrulings)
        maths.append(o);
    QJsonObject first{{"weight", 2}, {"source", QStringLiteral("教科書準拠")}};
    if (!japaneseMissing1.isEmpty())
        first.insert("notEntered", QJsonObject{{"1", list(japaneseMissing1)}});
    QJsonObject second{{"kind", "observation"}};
    if (!japaneseMissing2.isEmpty())
        second.insert("notEntered", QJsonObject{{"1", list(japaneseMissing2)}});
    QJsonObject mathsTest;
    if (!mathsMissing.isEmpty())
        mathsTest.insert("notEntered", QJsonObject{{"2", list(mathsMissing)}});
    QJsonObject japaneseUnit{{"tests", QJsonArray{first, second}}, {"overrulings", japanese}};
    QJsonObject mathsUnit{{"tests", QJsonArray{mathsTest}}};
    if (!maths.isEmpty())
        mathsUnit.insert("overrulings", maths);
    return QJsonObject{{"version", 1}, {"subjects", QJsonObject{{QStringLiteral("国語"), japaneseUnit}, {QStringLiteral("算数"), mathsUnit}}}};
}

QJsonObject startingFile()
{
    return classFile({2, 4}, {1, 3},
                     {overruling(2, 0, {1}, "3"), overruling(3, 1, {}, "A"), overruling(4, 3, {1, 2}, "C")}, {3},
                     {overruling(1, 0, {}, "1")});
}

// A homeroom class of four pupils with the class file above.
void makeClass(TestEnv& env)
{
    env.makeClass(classNames(4));
    env.writeFile(QStringLiteral("国語.dat"), scoreLines({{QStringLiteral("音読"), {{1, 100, {10, 0, 20, 0}}}},
                                                         {QStringLiteral("態度"), {{3, 3, {0, 2, 0, 1}}}}}));
    env.writeFile(QStringLiteral("算数.dat"), scoreLines({{QStringLiteral("計算"), {{1, 10, {5, 6, 7, 8}}, {2, 10, {1, 2, 0, 4}}}}}));
    env.writeBytes(QStringLiteral("assessment.json"), QJsonDocument(startingFile()).toJson());
    env.data.subject = 1;
    QVERIFY(ScoreFile::load(env.data).ok);
}

QJsonObject classFileOf(const TestEnv& env)
{
    return json(env.readBytes(QStringLiteral("assessment.json")));
}

}  // namespace

class ClassFileMovesTest : public QObject {
    Q_OBJECT
private slots:
    void transfersMoveEveryEntryWithItsPupil()
    {
        TestEnv env;
        makeClass(env);
        const QByteArray before = env.readBytes(QStringLiteral("assessment.json"));

        // In after pupil 2: pupils 3 and 4 become 4 and 5.
        QVERIFY(Transfer::transferIn(env.data, 2, QStringLiteral("転入生"), June15).ok);
        QCOMPARE(classFileOf(env),
                 classFile({2, 5}, {1, 4},
                           {overruling(2, 0, {1}, "3"), overruling(4, 1, {}, "A"), overruling(5, 3, {1, 2}, "C")}, {4},
                           {overruling(1, 0, {}, "1")}));
        QCOMPARE(env.readBytes(QStringLiteral("assessment.bak")), before);
        QCOMPARE(env.readLines(QStringLiteral("国語.dat")).mid(5, 5), (QStringList{"10", "0", "-1", "20", "0"}));
        // The model holds the unit as the files do: the new pupil absent, the others
        // 未入力 where they were.
        const TestSet& set = env.data.tests;
        QCOMPARE((QList<int>{set.score[1][1][1], set.score[1][1][2], set.score[1][1][3], set.score[1][1][4], set.score[1][1][5]}),
                 (QList<int>{10, NotEntered, Absent, 20, NotEntered}));
        QCOMPARE(set.weight[1], 2.0);
        QCOMPARE(set.kind[2], TestKind::Observation);
        QCOMPARE(env.data.overrulings.size(), 3);
        QCOMPARE(env.data.overrulings[2].pupil, 5);

        // Out with the first pupil 2: their cells and overruling go, the rest move down.
        const QByteArray middle = env.readBytes(QStringLiteral("assessment.json"));
        QVERIFY(Transfer::transferOut(env.data, 2).ok);
        QCOMPARE(classFileOf(env),
                 classFile({4}, {1, 3}, {overruling(3, 1, {}, "A"), overruling(4, 3, {1, 2}, "C")}, {3},
                           {overruling(1, 0, {}, "1")}));
        QCOMPARE(env.readBytes(QStringLiteral("assessment.bak")), middle);
        QCOMPARE(env.data.pupilCount, 4);
        QCOMPARE(env.data.tests.score[1][1][4], NotEntered);
        QCOMPARE(env.data.tests.score[1][1][2], Absent);
        QCOMPARE(env.data.overrulings.size(), 2);
    }

    // A specialist's transfer moves its own class's entry only.
    void aSpecialistTransferMovesItsClassOnly()
    {
        TestEnv env;
        env.makeClass(classNames(3), true);
        env.writeFile(QStringLiteral("４の１.dat"), scoreLines({{QStringLiteral("一"), {{1, 100, {0, 0, 0}}}}}));
        const QJsonObject other{{"tests", QJsonArray{QJsonObject{{"notEntered", QJsonObject{{"1", QJsonArray{1, 3}}}}}}}};
        const QJsonObject start{{"version", 1},
                                {"subjects", QJsonObject{{QStringLiteral("４の１"), other}, {QStringLiteral("４の２"), other}}}};
        env.writeBytes(QStringLiteral("assessment.json"), QJsonDocument(start).toJson());
        QVERIFY(ScoreFile::load(env.data).ok);
        QVERIFY(Transfer::transferIn(env.data, 1, QStringLiteral("転入生"), June15).ok);
        const QJsonObject moved{{"tests", QJsonArray{QJsonObject{{"notEntered", QJsonObject{{"1", QJsonArray{1, 4}}}}}}}};
        QCOMPARE(classFileOf(env),
                 (QJsonObject{{"version", 1},
                              {"subjects", QJsonObject{{QStringLiteral("４の１"), moved}, {QStringLiteral("４の２"), other}}}}));
    }

    void testsInsertedAndDeletedKeepTheirEntries()
    {
        TestEnv env;
        makeClass(env);
        const QByteArray before = env.readBytes(QStringLiteral("assessment.json"));

        // Before test 2: the new test is 未入力 for everyone, test 2 becomes test 3.
        QVERIFY(TestList::insertBefore(env.data, 2).ok);
        QJsonObject expected = startingFile();
        QJsonObject subjects = expected["subjects"].toObject();
        QJsonObject unit = subjects[QStringLiteral("国語")].toObject();
        QJsonArray tests = unit["tests"].toArray();
        tests.insert(1, QJsonObject{{"notEntered", QJsonObject{{"1", QJsonArray{1, 2, 3, 4}}}}});
        unit["tests"] = tests;
        unit["overrulings"] =
            QJsonArray{overruling(2, 0, {1}, "3"), overruling(3, 1, {}, "A"), overruling(4, 3, {1, 3}, "C")};
        subjects[QStringLiteral("国語")] = unit;
        expected["subjects"] = subjects;
        QCOMPARE(classFileOf(env), expected);
        QCOMPARE(env.readBytes(QStringLiteral("assessment.bak")), before);
        const TestSet& set = env.data.tests;
        QCOMPARE(set.count, 3);
        QCOMPARE((QList<int>{set.score[2][1][1], set.score[2][1][4]}), (QList<int>{NotEntered, NotEntered}));
        QCOMPARE(set.weight[1], 2.0);
        QCOMPARE(set.kind[3], TestKind::Observation);
        QCOMPARE(set.score[3][1][1], NotEntered);
        QCOMPARE(set.score[3][1][2], 2);

        // Test 1 deleted: its entry goes, the overruling over test 1 alone goes, the
        // one over tests 1 and 3 keeps test 3 (now 2), the one over every test stays.
        QVERIFY(TestList::remove(env.data, 1).ok);
        tests.removeAt(0);
        unit["tests"] = tests;
        unit["overrulings"] = QJsonArray{overruling(3, 1, {}, "A"), overruling(4, 3, {2}, "C")};
        subjects[QStringLiteral("国語")] = unit;
        expected["subjects"] = subjects;
        QCOMPARE(classFileOf(env), expected);
        QCOMPARE(env.data.tests.count, 2);
        QCOMPARE(env.data.tests.weight[1], 1.0);
        QCOMPARE(env.data.tests.kind[2], TestKind::Observation);
        QCOMPARE(env.data.overrulings.size(), 2);

        // A rename leaves the class file as it is.
        const QByteArray kept = env.readBytes(QStringLiteral("assessment.json"));
        QVERIFY(TestList::rename(env.data, 2, QStringLiteral("学習態度")).ok);
        QCOMPARE(env.readBytes(QStringLiteral("assessment.json")), kept);
        QCOMPARE(env.data.tests.score[1][1][3], NotEntered);
    }

    // A class file that cannot be read stops a transfer and a test change: every
    // file stays as it was.
    void anUnreadableClassFileStopsTheChange()
    {
        TestEnv env;
        makeClass(env);
        env.writeBytes(QStringLiteral("assessment.json"), QByteArray("{\"version\": 1, \"subjects\": 3}"));
        const auto before = snapshot(env);
        const QList<std::pair<const char*, std::function<Status()>>> changes{
            {"transfer in", [&env] { return Transfer::transferIn(env.data, 1, QStringLiteral("転入生"), June15); }},
            {"transfer out", [&env] { return Transfer::transferOut(env.data, 1); }},
            {"insert", [&env] { return TestList::insertBefore(env.data, 1); }},
            {"delete", [&env] { return TestList::remove(env.data, 1); }},
            {"weight", [&env] { return TestList::setWeight(env.data, 1, 3); }},
        };
        for (const auto& [name, change] : changes) {
            const Status status = change();
            QVERIFY2(!status.ok, name);
            QVERIFY2(status.message.contains(QStringLiteral("クラスファイル「assessment.json」を読み込めません。\n項目「subjects」")),
                     qPrintable(status.message));
            QVERIFY2(isJapaneseMessage(status.message), qPrintable(status.message));
            QCOMPARE(snapshot(env), before);
        }
        QCOMPARE(env.data.pupilCount, 4);
    }

    // The operating system refuses the class file's part of a transfer: the score
    // files, the roster and the attendance stay as they were too.
    void aRefusedClassFileStopsTheTransfer_data() { RefusedWrites::addRows(); }
    void aRefusedClassFileStopsTheTransfer()
    {
        QFETCH(Refusal, refusal);
        TestEnv env;
        RefusedWrites refused(refusal, env);
        SKIP_UNLESS_AVAILABLE(refused);
        makeClass(env);
        // A class file larger than any other file of the class.
        QJsonObject big = startingFile();
        big.insert("notes", QString(3000, QChar(u'記')));
        env.writeBytes(QStringLiteral("assessment.json"), QJsonDocument(big).toJson());
        const auto before = snapshot(env);
        // Room for every other file of the transfer (nine score files, each with its
        // backup, and so on) but not for the class file and its backup.
        refused.start(before["shuketu.dat"].size() + 200, 22 * 4096);
        const Status status = Transfer::transferOut(env.data, 3);
        refused.stop();
        QVERIFY(!status.ok);
        QVERIFY2(status.message.contains(QStringLiteral("ファイル「assessment.")), qPrintable(status.message));
        QVERIFY(status.message.contains(QStringLiteral("ファイルはすべて元のままです")));
        QCOMPARE(snapshot(env), before);
        QCOMPARE(env.data.pupilCount, 4);
    }

    void aNewClassCopiesTheClassFileAndStartsWithout()
    {
        TestEnv env;
        makeClass(env);
        const QByteArray before = env.readBytes(QStringLiteral("assessment.json"));
        const QStringList files = NewClass::classFiles(env.data);
        QVERIFY(files.contains(env.dataFolder() + QStringLiteral("assessment.json")));
        const QString copy = NewClass::copyFolder(env.data, QDateTime(QDate(2027, 4, 1), QTime(9, 30)));
        QVERIFY(NewClass::copyFiles(files, copy).ok);
        QVERIFY(NewClass::clearFiles(env.data).ok);
        QVERIFY(!env.exists(QStringLiteral("assessment.json")));
        QCOMPARE(env.readBytes(QStringLiteral("assessment.bak")), before);
        QCOMPARE(fileBytes(copy + QStringLiteral("assessment.json")), before);
    }

    void aSpecialistsNewClassEmptiesItsClassOnly()
    {
        TestEnv env;
        env.makeClass(classNames(2), true);
        const QJsonObject unit{{"tests", QJsonArray{QJsonObject{{"weight", 2}}}}};
        env.writeBytes(QStringLiteral("assessment.json"),
                       QJsonDocument(QJsonObject{{"version", 1},
                                                 {"subjects", QJsonObject{{QStringLiteral("４の１"), unit}, {QStringLiteral("５の２"), unit}}}})
                           .toJson());
        QVERIFY(NewClass::clearFiles(env.data).ok);
        QCOMPARE(classFileOf(env), (QJsonObject{{"version", 1}, {"subjects", QJsonObject{{QStringLiteral("５の２"), unit}}}}));

        // One that cannot be read cannot lose one class alone: nothing is emptied.
        env.writeBytes(QStringLiteral("assessment.json"), QByteArray("{"));
        const auto before = snapshot(env);
        const Status refused = NewClass::clearFiles(env.data);
        QVERIFY(!refused.ok);
        QVERIFY(refused.message.contains(QStringLiteral("新規クラスは作成されていません")));
        QCOMPARE(snapshot(env), before);
    }
};

QTEST_MAIN(ClassFileMovesTest)
#include "test_class_file_moves.moc"
