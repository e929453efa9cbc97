// Data files saved as UTF-8 by a text editor or a spreadsheet: recognised (with or
// without a byte-order mark, and when the bytes are valid CP932 as well, by which
// reading gives characters of names and test names), refused by every reader with
// the file's name instead of being read as mojibake, and stored back in CP932 with
// CR LF line ends (the conversion through the real windows, a character CP932
// cannot hold and the backup kept: test_encoding_windows).

#include "model/AttendanceFile.h"
#include "model/Cp932.h"
#include "model/RosterFile.h"
#include "model/ScoreFile.h"
#include "model/TextFile.h"

#include <QTest>

using Encoding = TextFile::Encoding;
Q_DECLARE_METATYPE(TextFile::Encoding)

namespace {

const QByteArray Bom("\xEF\xBB\xBF");

// A roster of the names as a text editor saves it: the count, then each name
// quoted, lines ended by `lineEnd`.
QString rosterText(const QStringList& names, const QString& lineEnd = QStringLiteral("\r\n"))
{
    QString text = QString::number(names.size()) + lineEnd;
    for (const QString& name : names)
        text += QLatin1Char('"') + name + QLatin1Char('"') + lineEnd;
    return text;
}

QByteArray cp932Bytes(const QString& text)
{
    const auto bytes = Cp932::encode(text);
    return bytes ? *bytes : QByteArray();
}

// Family and given names as a class has them: kanji of everyday use and rarer ones,
// hiragana and katakana, with a full-width space, a half-width space or none
// between them.
QStringList typicalNames()
{
    const QStringList families = QStringLiteral(
        "佐藤 鈴木 高橋 田中 伊藤 渡辺 山本 中村 小林 加藤 吉田 山田 佐々木 山口 松本 井上 木村 林 斎藤 清水 "
        "山崎 森 池田 橋本 阿部 石川 山下 中島 石井 小川 前田 岡田 長谷川 藤田 後藤 近藤 村上 遠藤 青木 坂本")
                                     .split(QLatin1Char(' '));
    const QStringList given = QStringLiteral(
        "蓮 陽翔 結菜 さくら 湊 陽葵 樹 芽依 大和 凛 悠真 結衣 颯太 美桜 蒼 葵 陽向 莉子 奏太 心春 ゆうと はるか ひなた "
        "ミオ")
                                  .split(QLatin1Char(' '));
    QStringList names;
    for (const QString& between : {QStringLiteral("　"), QStringLiteral(" "), QString()})
        for (int i = 0; i < 80; ++i)
            names << families[i % families.size()] + between + given[i % given.size()];
    return names;
}

}  // namespace

class EncodingTest : public QObject {
    Q_OBJECT
private slots:
    // Every typical name saved alone in a roster (the least text to judge by) is
    // recognised as UTF-8, with a byte-order mark and without; the same roster in
    // CP932 stays CP932. Many of them are valid CP932 as well: those are told apart
    // by their readings, never by the decoder failing.
    void everyTypicalNameIsRecognised()
    {
        int validBothWays = 0;
        for (const QString& name : typicalNames()) {
            const QByteArray utf8 = rosterText({name}).toUtf8();
            if (Cp932::decode(utf8))
                ++validBothWays;
            QVERIFY2(TextFile::encodingOf(utf8) == Encoding::Utf8, qPrintable(name));
            QVERIFY2(TextFile::encodingOf(Bom + utf8) == Encoding::Utf8, qPrintable(name));
            QVERIFY2(TextFile::encodingOf(cp932Bytes(rosterText({name}))) == Encoding::Cp932, qPrintable(name));
        }
        QVERIFY2(validBothWays >= 40, qPrintable(QString::number(validBothWays)));
    }

    void fileContentsAreJudged_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Encoding>("expected");
        const QString kanjiTest = QStringLiteral("1\r\n\"漢字テスト①\"\r\n0\r\n");
        // The mojibake the CP932 reading of its UTF-8 bytes would give.
        QCOMPARE(*Cp932::decode(kanjiTest.toUtf8()), QStringLiteral("1\r\n\"貍｢蟄励ユ繧ｹ繝遺蔵\"\r\n0\r\n"));
        QTest::newRow("test name saved as UTF-8, valid CP932 too") << kanjiTest.toUtf8() << Encoding::Utf8;
        QTest::newRow("the same in CP932") << cp932Bytes(kanjiTest) << Encoding::Cp932;
        QTest::newRow("plain ASCII") << QByteArray("2\r\n\"Aoki\"\r\n\"Ito\"\r\n") << Encoding::Ascii;
        QTest::newRow("byte-order mark before ASCII") << Bom + "0\r\n" << Encoding::Utf8;
        QTest::newRow("UTF-8 that is no CP932 (full-width space)")
            << rosterText({QStringLiteral("高橋　結菜")}).toUtf8() << Encoding::Utf8;
        // Half-width katakana in CP932 whose bytes happen to be UTF-8 (Ŷ, з): the
        // UTF-8 reading is no likelier, so the file stays CP932.
        QTest::newRow("half-width katakana, valid UTF-8 too")
            << cp932Bytes(rosterText({QStringLiteral("ﾅｶ ﾐｷ"), QStringLiteral("ﾃｽ")})) << Encoding::Cp932;
        QTest::newRow("neither") << QByteArray("1\r\n\"\x80\xFF\"\r\n") << Encoding::Cp932;
    }

    void fileContentsAreJudged()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(Encoding, expected);
        QCOMPARE(TextFile::encodingOf(bytes), expected);
    }

    // Each reader refuses a file saved as UTF-8 with its name, and its model is
    // left as it was.
    void everyReaderRefusesUtf8()
    {
        const QString message = TextFile::utf8Message(QStringLiteral("Class.Nam"));
        QVERIFY(message.startsWith(QStringLiteral("データファイル「Class.Nam」は UTF-8 で保存されています。")));

        int count = 7;
        std::array<QString, Limits::Pupils + 1> names;
        names[1] = QStringLiteral("前の名前");
        const Status roster = RosterFile::parse(rosterText({QStringLiteral("佐藤蓮"), QStringLiteral("山田結衣")}).toUtf8(),
                                                QStringLiteral("Class.Nam"), count, names);
        QCOMPARE(roster.message, message);
        QCOMPARE(count, 7);
        QCOMPARE(names[1], QStringLiteral("前の名前"));

        auto set = std::make_unique<TestSet>();
        set->count = 3;
        const QByteArray scores = QStringLiteral("1\r\n\"漢字テスト①\"\r\n1\r\n1\r\n100\r\n80\r\n").toUtf8();
        QCOMPARE(ScoreFile::parse(scores, QStringLiteral("国語.dat"), 1, *set).message,
                 TextFile::utf8Message(QStringLiteral("国語.dat")));
        QCOMPARE(set->count, 3);

        auto data = std::make_unique<ClassData>();
        data->lessonDays[1] = 20;
        QByteArray attendance = Bom;
        for (int m = 1; m <= Limits::Months; ++m)
            attendance += "0\r\n";
        QCOMPARE(AttendanceFile::parse(attendance, 0, *data).message, TextFile::utf8Message(QStringLiteral("shuketu.dat")));
        QCOMPARE(data->lessonDays[1], 20);
    }

    // As a text editor leaves it (a byte-order mark, LF line ends, no last line end):
    // stored back as the data files are written, and read with the names it holds.
    void convertedToCp932WithCrLf()
    {
        const QStringList names{QStringLiteral("佐藤蓮"), QStringLiteral("山田　結衣"), QStringLiteral("ﾃｽﾄ①Ⅰ～")};
        QString text = rosterText(names, QStringLiteral("\n"));
        text.chop(1);
        QByteArray converted;
        QVERIFY(TextFile::utf8ToCp932(Bom + text.toUtf8(), QStringLiteral("Class.Nam"), converted).ok);
        QCOMPARE(converted, cp932Bytes(rosterText(names)));
        int count = 0;
        std::array<QString, Limits::Pupils + 1> read;
        QVERIFY(RosterFile::parse(converted, QStringLiteral("Class.Nam"), count, read).ok);
        QCOMPARE(count, 3);
        QCOMPARE(read[3], names[2]);

        // A CR LF file stays as it was but for the encoding.
        QVERIFY(TextFile::utf8ToCp932(rosterText(names).toUtf8(), QStringLiteral("Class.Nam"), converted).ok);
        QCOMPARE(converted, cp932Bytes(rosterText(names)));
    }

    void likenessOfCharacters_data()
    {
        QTest::addColumn<QString>("character");
        QTest::addColumn<int>("likeness");
        const QList<std::pair<const char*, int>> table{
            {"あ", 2}, {"ア", 2}, {"ー", 2}, {"佐", 2}, {"蓮", 2}, {"①", 2}, {"Ⅰ", 2}, {"Ａ", 2}, {"「", 2}, {"　", 2},
            {"貍", 1}, {"蟄", 1}, {"凛", 1}, {"ｱ", 0}, {"｢", 0}, {"ý", -1}, {"з", -1}, {"∩", -1}, {"─", -1}};
        for (const auto& [character, likeness] : table)
            QTest::newRow(character) << QString::fromUtf8(character) << likeness;
    }

    void likenessOfCharacters()
    {
        QFETCH(QString, character);
        QFETCH(int, likeness);
        QCOMPARE(Cp932::nameLikeness(character.toUcs4().first()), likeness);
    }
};

QTEST_GUILESS_MAIN(EncodingTest)
#include "test_encoding.moc"
