// The pupils' comments (所見) in the class file: saved byte for byte beside the
// tests' entries, read back, moved with their pupils by transfers (homeroom at the
// root, a specialist's in the class's unit), refused while the class file cannot be
// read, and nothing lost when the system refuses the write. Their length in 全角
// characters and the checks on request.

#include "RefusedWrites.h"
#include "SampleClass.h"
#include "TestEnv.h"
#include "model/ClassFile.h"
#include "model/Comments.h"
#include "model/ScoreFile.h"
#include "model/Transfer.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using namespace Sample;

namespace {

const QDate June15(2026, 6, 15);
const QString Assessment = QStringLiteral("assessment.json");

// A homeroom class of four with one 国語 test of weight 2 in term 1.
void makeClass(TestEnv& env, bool specialist = false)
{
    env.makeClass(classNames(4), specialist);
    const QString file = specialist ? QStringLiteral("４の１.dat") : QStringLiteral("国語.dat");
    env.writeFile(file, scoreLines({{QStringLiteral("音読"), {{1, 100, {10, 20, 30, 40}}}}}));
    const QString stem = specialist ? QStringLiteral("４の１") : QStringLiteral("国語");
    const QJsonObject unit{{"tests", QJsonArray{QJsonObject{{"weight", 2}, {"term", 1}}}}};
    env.writeBytes(Assessment, QJsonDocument(QJsonObject{{"version", 1}, {"subjects", QJsonObject{{stem, unit}}}}).toJson());
    QVERIFY(ScoreFile::load(env.data).ok);
}

QJsonObject classFileOf(const TestEnv& env)
{
    return QJsonDocument::fromJson(env.readBytes(Assessment)).object();
}

QJsonArray texts(const QStringList& list)
{
    QJsonArray array;
    for (const QString& text : list)
        array.append(text);
    return array;
}

}  // namespace

class CommentsTest : public QObject {
    Q_OBJECT
private slots:
    void savedBesideTheTestsByteForByteAndReadBack()
    {
        TestEnv env;
        makeClass(env);
        const QByteArray before = env.readBytes(Assessment);
        env.data.comments[1][1] = QStringLiteral("音読が上手です。");
        env.data.comments[1][3] = QStringLiteral("「ごんぎつね」を\n深く読みました。");
        env.data.comments[2][2] = QStringLiteral("係の仕事");
        QVERIFY(Comments::unsaved(env.data));
        QVERIFY(Comments::save(env.data).ok);
        QVERIFY(!Comments::unsaved(env.data));
        // Indented, keys in order, LF; pupil 4's empty comment at the end left out,
        // pupil 2's in term 1 kept as "" to hold pupil 3's place; term 3 absent.
        const QByteArray expected = QStringLiteral(
            "{\n"
            "    \"comments\": {\n"
            "        \"1\": [\n"
            "            \"音読が上手です。\",\n"
            "            \"\",\n"
            "            \"「ごんぎつね」を\\n深く読みました。\"\n"
            "        ],\n"
            "        \"2\": [\n"
            "            \"\",\n"
            "            \"係の仕事\"\n"
            "        ]\n"
            "    },\n"
            "    \"subjects\": {\n"
            "        \"国語\": {\n"
            "            \"tests\": [\n"
            "                {\n"
            "                    \"term\": 1,\n"
            "                    \"weight\": 2\n"
            "                }\n"
            "            ]\n"
            "        }\n"
            "    },\n"
            "    \"version\": 1\n"
            "}\n").toUtf8();
        QCOMPARE(env.readBytes(Assessment), expected);
        QCOMPARE(env.readBytes(QStringLiteral("assessment.bak")), before);

        // Loading the class again gives every comment back, through Comments::of.
        ClassData again = env.data;
        again.comments = {};
        QVERIFY(ScoreFile::load(again).ok);
        QCOMPARE(Comments::of(again, 1, 3), QStringLiteral("「ごんぎつね」を\n深く読みました。"));
        QCOMPARE(Comments::of(again, 2, 2), QStringLiteral("係の仕事"));
        QCOMPARE(Comments::of(again, 1, 2), QString());
        QCOMPARE(Comments::of(again, 4, 1), QString());
        QCOMPARE(Comments::of(again, 1, 46), QString());

        // Emptied again: the key goes, the tests stay, the file is as before.
        env.data.comments = {};
        QVERIFY(Comments::save(env.data).ok);
        QCOMPARE(env.readBytes(Assessment), QJsonDocument(QJsonDocument::fromJson(before).object()).toJson());
    }

    void aTransferKeepsEachCommentWithItsPupil_data()
    {
        QTest::addColumn<bool>("specialist");
        QTest::newRow("homeroom: at the root") << false;
        QTest::newRow("specialist: in the class") << true;
    }
    void aTransferKeepsEachCommentWithItsPupil()
    {
        QFETCH(bool, specialist);
        TestEnv env;
        makeClass(env, specialist);
        for (int p = 1; p <= 4; ++p) {
            env.data.comments[1][p] = QStringLiteral("一学期%1").arg(p);
            env.data.comments[3][p] = p == 4 ? QStringLiteral("三学期4") : QString();
        }
        QVERIFY(Comments::save(env.data).ok);
        const auto holder = [&env, specialist]() {
            const QJsonObject root = classFileOf(env);
            return specialist ? root["subjects"].toObject()[QStringLiteral("４の１")].toObject()["comments"].toObject()
                              : root["comments"].toObject();
        };

        QVERIFY(Transfer::transferIn(env.data, 2, QStringLiteral("転入　太郎"), June15).ok);
        QCOMPARE(holder(), (QJsonObject{{"1", texts({"一学期1", "一学期2", "", "一学期3", "一学期4"})},
                                         {"3", texts({"", "", "", "", "三学期4"})}}));
        QCOMPARE(Comments::of(env.data, 1, 4), QStringLiteral("一学期3"));
        QCOMPARE(Comments::of(env.data, 1, 3), QString());
        QCOMPARE(Comments::of(env.data, 3, 5), QStringLiteral("三学期4"));
        // The tests' entries stay as they were.
        const QString stem = specialist ? QStringLiteral("４の１") : QStringLiteral("国語");
        QCOMPARE(classFileOf(env)["subjects"].toObject()[stem].toObject()["tests"].toArray()[0].toObject()["weight"].toInt(), 2);

        // Out with the first pupil 2: their comment goes, the rest move down.
        QVERIFY(Transfer::transferOut(env.data, 2).ok);
        QCOMPARE(holder(), (QJsonObject{{"1", texts({"一学期1", "", "一学期3", "一学期4"})},
                                         {"3", texts({"", "", "", "三学期4"})}}));
        QCOMPARE(Comments::of(env.data, 1, 3), QStringLiteral("一学期3"));
        QCOMPARE(Comments::of(env.data, 3, 4), QStringLiteral("三学期4"));
        QCOMPARE(Comments::of(env.data, 3, 5), QString());
    }

    void aClassFileThatCannotBeReadIsNeverWrittenOver()
    {
        TestEnv env;
        makeClass(env);
        const QByteArray broken = R"({"version": 1, "comments": {"1": ["a", 3]}})";
        env.writeBytes(Assessment, broken);
        QVERIFY(ScoreFile::load(env.data).ok);
        QVERIFY2(env.data.classFileProblem.contains(QStringLiteral("「comments」の「1」の2番目")),
                 qPrintable(env.data.classFileProblem));
        env.data.comments[1][1] = QStringLiteral("書いた所見");
        const Status saved = Comments::save(env.data);
        QVERIFY(!saved.ok);
        QVERIFY(saved.message.contains(QStringLiteral("assessment.json")));
        QCOMPARE(env.readBytes(Assessment), broken);
        QVERIFY(!env.exists(QStringLiteral("assessment.bak")));
    }

    void wrongCommentsAreRefusedWithTheirPlace_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("place");
        QTest::newRow("not an object") << QByteArray(R"({"version":1,"comments":[]})") << QStringLiteral("項目「comments」");
        QTest::newRow("term 4") << QByteArray(R"({"version":1,"comments":{"4":[]}})") << QStringLiteral("「comments」の「4」");
        QTest::newRow("not a list") << QByteArray(R"({"version":1,"comments":{"1":"a"}})") << QStringLiteral("「comments」の「1」");
        QTest::newRow("in a unit") << QByteArray(R"({"version":1,"subjects":{"４の１":{"comments":{"2":[null]}}}})")
                                   << QStringLiteral("「４の１」の「comments」の「2」の1番目");
    }
    void wrongCommentsAreRefusedWithTheirPlace()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, place);
        QJsonObject root;
        const Status parsed = ClassFile::parse(json, Assessment, root);
        QVERIFY(!parsed.ok);
        QVERIFY2(parsed.message.contains(place), qPrintable(parsed.message));
        QVERIFY(root.isEmpty());
    }

    void aRefusedWriteLosesNothing_data() { RefusedWrites::addRows(); }
    void aRefusedWriteLosesNothing()
    {
        QFETCH(Refusal, refusal);
        TestEnv env;
        RefusedWrites refused(refusal, env);
        SKIP_UNLESS_AVAILABLE(refused);
        makeClass(env);
        env.data.comments[1][1] = QStringLiteral("最初の所見");
        QVERIFY(Comments::save(env.data).ok);
        const QByteArray before = env.readBytes(Assessment);
        env.data.comments[1][2] = QString(200, QChar(u'長'));
        refused.start(before.size() + 10, 0);
        const Status saved = Comments::save(env.data);
        refused.stop();
        QVERIFY(!saved.ok);
        QVERIFY2(isJapaneseMessage(saved.message), qPrintable(saved.message));
        QCOMPARE(env.readBytes(Assessment), before);
        // The comment is still in the model, and saves once the disk takes it.
        QVERIFY(Comments::unsaved(env.data));
        QVERIFY(Comments::save(env.data).ok);
        QCOMPARE(classFileOf(env)["comments"].toObject()["1"].toArray()[1].toString(), QString(200, QChar(u'長')));
    }

    void lengthCountsFullWidthCharacters_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("length");
        QTest::newRow("empty") << QString() << 0;
        QTest::newRow("full width") << QStringLiteral("よくできました。") << 8;
        QTest::newRow("half width counts a half") << QStringLiteral("abc") << 2;
        QTest::newRow("half-width kana") << QStringLiteral("ｶﾀｶﾅ") << 2;
        QTest::newRow("mixed") << QStringLiteral("100点を3回") << 5;
        QTest::newRow("line breaks do not count") << QStringLiteral("一行目\n二行目\r\n") << 6;
        QTest::newRow("outside the BMP is one") << QStringLiteral("𠮷田さん") << 4;
    }
    void lengthCountsFullWidthCharacters()
    {
        QFETCH(QString, text);
        QFETCH(int, length);
        QCOMPARE(Comments::length(text), length);
    }

    void checksFindEmptyLongAndOtherNames()
    {
        ClassData data;
        data.pupilCount = 5;
        const QStringList names{QStringLiteral("青木　一郎"), QStringLiteral("石田　花子"), QStringLiteral("髙橋　一郎"),
                                QStringLiteral("江藤　さくら"), QStringLiteral("大川　翔")};
        for (int p = 1; p <= 5; ++p)
            data.pupilName[size_t(p)] = names[p - 1];
        data.comments[2][1] = QStringLiteral("一郎さんは計算が得意です。");            // own given name: fine
        data.comments[2][2] = QStringLiteral("江藤さんと協力して、さくらさんと発表しました。");
        data.comments[2][3] = QString(201, QChar(u'字'));
        data.comments[2][4] = QStringLiteral("　\n");
        data.comments[2][5] = QStringLiteral("石田　花子さんの隣で") + QString(195, QChar(u'字'));
        data.comments[1][4] = QStringLiteral("一学期は書いてある");
        const QList<Comments::Finding> found = Comments::check(data, 2, 200);
        QStringList lines;
        for (const Comments::Finding& finding : found)
            lines << finding.text;
        QCOMPARE(lines, (QStringList{
                            QStringLiteral("2番 石田　花子：ほかの児童の名前「さくら」（4番 江藤　さくら）が入っています。"),
                            QStringLiteral("3番 髙橋　一郎：201字で、200字を1字超えています。"),
                            QStringLiteral("4番 江藤　さくら：所見がまだ空です。"),
                            QStringLiteral("5番 大川　翔：205字で、200字を5字超えています。"),
                            QStringLiteral("5番 大川　翔：ほかの児童の名前「石田花子」（2番 石田　花子）が入っています。"),
                        }));
        QCOMPARE(found[0].otherPupil, 4);
        QCOMPARE(found[2].kind, Comments::Finding::Kind::Empty);
        // In term 1 only pupil 4 has written anything.
        QCOMPARE(Comments::check(data, 1, 200).size(), 4);
    }
};

QTEST_GUILESS_MAIN(CommentsTest)
#include "test_comments.moc"
