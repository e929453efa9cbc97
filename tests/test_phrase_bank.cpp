// The bank of phrases (文例): the starter bank that ships is read while the teacher
// has none, the teacher's own is written byte for byte with a backup, a file that
// is not a bank is refused with its name, a write the system refuses leaves the
// file as it was; {名前} and the search.

#include "RefusedWrites.h"
#include "TestEnv.h"
#include "model/PhraseBank.h"

#include <QDir>
#include <QTest>

using PhraseBank::Bank;

class PhraseBankTest : public QObject {
    Q_OBJECT
private slots:
    void theShippedStarterBankIsReadUntilTheTeacherHasOne()
    {
        QTemporaryDir dir;
        const QString own = dir.path() + QStringLiteral("/Mevra/Kazane/phrases.json");
        const QString starter = TestEnv::buildFolder() + QStringLiteral("/phrases.json");
        Bank bank;
        QVERIFY(PhraseBank::load(own, starter, bank).ok);
        QStringList headings;
        for (const PhraseBank::Group& group : bank) {
            headings << group.heading;
            QVERIFY2(group.phrases.size() >= 3, qPrintable(group.heading));
        }
        QCOMPARE(headings, (QStringList{QStringLiteral("学習"), QStringLiteral("生活"), QStringLiteral("行事"),
                                        QStringLiteral("しめくくり")}));
        QVERIFY(bank[0].phrases[0].startsWith(QStringLiteral("{名前}さんは、")));

        // The teacher adds a phrase: the bank goes to the teacher's folder (made),
        // the starter stays as shipped, and from then on the teacher's is read.
        const QByteArray shipped = fileBytes(starter);
        QVERIFY(PhraseBank::add(bank, QStringLiteral("行事"), QStringLiteral("  音楽会で堂々と歌いました。 ")));
        QVERIFY(!PhraseBank::add(bank, QStringLiteral("行事"), QStringLiteral("音楽会で堂々と歌いました。")));
        QVERIFY(!PhraseBank::add(bank, QStringLiteral("行事"), QStringLiteral(" \n")));
        QVERIFY(PhraseBank::save(own, bank).ok);
        QCOMPARE(fileBytes(starter), shipped);
        Bank again;
        QVERIFY(PhraseBank::load(own, starter, again).ok);
        QCOMPARE(again, bank);
        QCOMPARE(again[2].phrases.last(), QStringLiteral("音楽会で堂々と歌いました。"));
    }

    void theBankIsWrittenByteForByteAfterABackup()
    {
        QTemporaryDir dir;
        const QString path = dir.path() + QStringLiteral("/phrases.json");
        Bank bank;
        PhraseBank::add(bank, QStringLiteral("学習"), QStringLiteral("{名前}さんは\"よく\"考えました。"));
        QVERIFY(PhraseBank::save(path, bank).ok);
        const QByteArray first = QStringLiteral(
            "{\n"
            "    \"groups\": [\n"
            "        {\n"
            "            \"heading\": \"学習\",\n"
            "            \"phrases\": [\n"
            "                \"{名前}さんは\\\"よく\\\"考えました。\"\n"
            "            ]\n"
            "        }\n"
            "    ],\n"
            "    \"version\": 1\n"
            "}\n").toUtf8();
        QCOMPARE(fileBytes(path), first);
        PhraseBank::add(bank, QStringLiteral("生活"), QStringLiteral("元気です。"));
        QVERIFY(PhraseBank::save(path, bank).ok);
        QCOMPARE(fileBytes(dir.path() + QStringLiteral("/phrases.bak")), first);
        QCOMPARE(bank.size(), 2);
    }

    void aFileThatIsNoBankIsRefusedWithItsName_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("why");
        QTest::newRow("not JSON") << QByteArray("[学習]\n文例") << QStringLiteral("読めない書き方");
        QTest::newRow("no version") << QByteArray(R"({"groups": []})") << QStringLiteral("版");
        QTest::newRow("no heading") << QByteArray(R"({"version":1,"groups":[{"phrases":[]}]})") << QStringLiteral("見出し");
        QTest::newRow("a number") << QByteArray(R"({"version":1,"groups":[{"heading":"学習","phrases":[1]}]})")
                                  << QStringLiteral("「学習」に文字列でない文例");
    }
    void aFileThatIsNoBankIsRefusedWithItsName()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, why);
        QTemporaryDir dir;
        const QString path = dir.path() + QStringLiteral("/phrases.json");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        Bank bank{{QStringLiteral("前"), {QStringLiteral("そのまま")}}};
        const Status loaded = PhraseBank::load(path, QString(), bank);
        QVERIFY(!loaded.ok);
        QVERIFY2(loaded.message.contains(QStringLiteral("「phrases.json」")) && loaded.message.contains(why),
                 qPrintable(loaded.message));
        QCOMPARE(bank.size(), 1);
    }

    void aRefusedWriteLeavesTheBankAsItWas_data() { RefusedWrites::addRows(); }
    void aRefusedWriteLeavesTheBankAsItWas()
    {
        QFETCH(Refusal, refusal);
        TestEnv env;
        RefusedWrites refused(refusal, env);
        SKIP_UNLESS_AVAILABLE(refused);
        const QString path = env.dataFolder() + QStringLiteral("phrases.json");
        Bank bank{{QStringLiteral("学習"), {QStringLiteral("一つ目")}}};
        QVERIFY(PhraseBank::save(path, bank).ok);
        const QByteArray before = fileBytes(path);
        PhraseBank::add(bank, QStringLiteral("学習"), QString(300, QChar(u'文')));
        refused.start(before.size() + 10, 0);
        const Status saved = PhraseBank::save(path, bank);
        refused.stop();
        QVERIFY(!saved.ok);
        QVERIFY2(isJapaneseMessage(saved.message) && saved.message.contains(QStringLiteral("phrases.json")),
                 qPrintable(saved.message));
        QCOMPARE(fileBytes(path), before);
    }

    void theNameAndTheSearch()
    {
        QCOMPARE(PhraseBank::filled(QStringLiteral("{名前}さんは{名前}さんらしく"), QStringLiteral("青木　一郎")),
                 QStringLiteral("一郎さんは一郎さんらしく"));
        QCOMPARE(PhraseBank::filled(QStringLiteral("{名前}さん"), QStringLiteral("ケン")), QStringLiteral("ケンさん"));
        QVERIFY(PhraseBank::matches(QStringLiteral("学習"), QStringLiteral("漢字の練習"), QString()));
        QVERIFY(PhraseBank::matches(QStringLiteral("学習"), QStringLiteral("漢字の練習"), QStringLiteral("漢字　学習")));
        QVERIFY(!PhraseBank::matches(QStringLiteral("学習"), QStringLiteral("漢字の練習"), QStringLiteral("漢字 計算")));
    }
};

QTEST_MAIN(PhraseBankTest)
#include "test_phrase_bank.moc"
