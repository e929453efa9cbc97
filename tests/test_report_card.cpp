// The report card's figures against the class worked out by hand in
// support/ReportCardClass.h: every viewpoint, 評定, overruling and attendance figure
// of every pupil in both terms and the year; the sheet's fields; the class's
// record as a table; a transfer keeping each grade with its pupil; the loader
// refusing what it cannot read.

#include "ReportCardClass.h"
#include "TestEnv.h"
#include "model/ClassFile.h"
#include "model/ReportCardSettings.h"
#include "model/RosterFile.h"
#include "model/Transfer.h"
#include "model/UnitSets.h"
#include "output/CsvWriter.h"
#include "tally/ReportCard.h"
#include "tally/ReportCardSheet.h"

#include <QTest>

namespace {

using ReportCard::Card;

QList<Card> cardsOf(TestEnv& env, int term, bool hideGrades = false)
{
    QList<UnitSets::Unit> units;
    const Status loaded = UnitSets::load(env.data, units);
    if (!loaded.ok)
        qWarning() << loaded.message;
    ReportCard::Texts texts;
    texts.hideGrades = hideGrades;
    return ReportCard::compute(env.data, units, term, texts);
}

// A subject of a card as one line: "国語 A A - 3*" (viewpoints 1..3 then 評定; "-"
// none, "*" overruled).
QString line(const ReportCard::Subject& subject)
{
    QString text = subject.name;
    for (const ReportCard::Viewpoint& v : subject.viewpoints)
        text += QLatin1Char(' ') + (v.grade.isEmpty() ? QStringLiteral("-") : v.grade) + (v.overruled ? QStringLiteral("*") : QString());
    text += QLatin1Char(' ') + (subject.grade.isEmpty() ? QStringLiteral("-") : subject.grade)
        + (subject.overruled ? QStringLiteral("*") : QString());
    return text;
}

QStringList lines(const Card& card)
{
    QStringList result;
    for (const ReportCard::Subject& subject : card.subjects)
        result << line(subject);
    return result;
}

QList<int> attendance(const Card& card)
{
    const ReportCard::Attendance& a = card.attendance;
    return {a.lessonDays, a.leaveDays, a.requiredDays, a.absenceDays, a.attendanceDays};
}

}  // namespace

class TestReportCard : public QObject {
    Q_OBJECT

private slots:
    void gradesOfEveryPupil_data();
    void gradesOfEveryPupil();
    void attendanceOfEveryPupil_data();
    void attendanceOfEveryPupil();
    void viewpointNamesAndCountedTests();
    void hiddenGradesLeaveOutEveryGrade();
    void sheetHoldsEveryField();
    void classRecordIsOneRowPerPupil();
    void transferOutKeepsGradesWithTheirPupils();
    void transferInKeepsGradesWithTheirPupils();
    void loaderRefusesWhatItCannotRead();
    void fileNames();
    void settingsKeepTheirKeys();
};

void TestReportCard::gradesOfEveryPupil_data()
{
    QTest::addColumn<int>("term");
    QTest::addColumn<int>("pupil");
    QTest::addColumn<QStringList>("expected");
    const auto row = [](const char* name, int term, int pupil, const QStringList& expected) {
        QTest::newRow(name) << term << pupil << expected;
    };
    row("1学期 P1", 1, 1, {"国語 A A - 3", "算数 A - - 3"});
    row("1学期 P2 overruled 評定", 1, 2, {"国語 B C - 2*", "算数 B - - 2"});
    row("1学期 P3 not entered and absent", 1, 3, {"国語 C - - 1", "算数 A - - 3"});
    row("2学期 P1", 2, 1, {"国語 B - A 3", "算数 - - - -"});
    row("2学期 P2", 2, 2, {"国語 A - B 3", "算数 - - - -"});
    row("2学期 P3 overruled 観点Ⅲ", 2, 3, {"国語 B - B* 2", "算数 - - - -"});
    row("年間 P1", ReportCard::Year, 1, {"国語 B A A 3", "算数 A - - 3"});
    row("年間 P2", ReportCard::Year, 2, {"国語 B C B 2", "算数 B - - 2"});
    row("年間 P3", ReportCard::Year, 3, {"国語 C - C 1", "算数 A - - 3"});
}

void TestReportCard::gradesOfEveryPupil()
{
    QFETCH(int, term);
    QFETCH(int, pupil);
    QFETCH(QStringList, expected);
    TestEnv env;
    ReportCardClass::write(env);
    const QList<Card> cards = cardsOf(env, term);
    QCOMPARE(cards.size(), 3);
    QCOMPARE(cards[pupil - 1].pupil, pupil);
    QCOMPARE(cards[pupil - 1].name, ReportCardClass::names()[pupil - 1]);
    QCOMPARE(cards[pupil - 1].term, term);
    QCOMPARE(lines(cards[pupil - 1]), expected);
}

void TestReportCard::attendanceOfEveryPupil_data()
{
    QTest::addColumn<int>("term");
    QTest::addColumn<QList<QList<int>>>("expected");
    QTest::newRow("1学期") << 1 << QList<QList<int>>{{30, 1, 29, 3, 26}, {30, 0, 30, 0, 30}, {30, 0, 30, 0, 30}};
    QTest::newRow("2学期") << 2 << QList<QList<int>>{{20, 0, 20, 0, 20}, {20, 0, 20, 0, 20}, {20, 2, 18, 3, 15}};
    QTest::newRow("3学期") << 3 << QList<QList<int>>{{0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}};
    QTest::newRow("年間") << int(ReportCard::Year)
                        << QList<QList<int>>{{50, 1, 49, 3, 46}, {50, 0, 50, 0, 50}, {50, 2, 48, 3, 45}};
}

void TestReportCard::attendanceOfEveryPupil()
{
    QFETCH(int, term);
    QFETCH(QList<QList<int>>, expected);
    TestEnv env;
    ReportCardClass::write(env);
    const QList<Card> cards = cardsOf(env, term);
    QCOMPARE(cards.size(), 3);
    for (int p = 0; p < 3; ++p)
        QCOMPARE(attendance(cards[p]), expected[p]);
}

void TestReportCard::viewpointNamesAndCountedTests()
{
    TestEnv env;
    ReportCardClass::write(env);
    const Card card = cardsOf(env, 1).first();
    QCOMPARE(card.subjects.size(), 2);
    QCOMPARE(card.subjects[0].number, 1);
    QCOMPARE(card.subjects[1].number, 3);
    QStringList names;
    for (const ReportCard::Viewpoint& v : card.subjects[0].viewpoints)
        names << QString::number(v.number) + v.name;
    QCOMPARE(names, (QStringList{QStringLiteral("1知識・技能"), QStringLiteral("2思考・判断・表現"),
                                 QStringLiteral("3主体的に学習に取り組む態度")}));
    QCOMPARE(card.subjects[0].tests, 2);
    QCOMPARE(card.subjects[1].tests, 1);
    QCOMPARE(cardsOf(env, 2).first().subjects[1].tests, 0);
    QCOMPARE(cardsOf(env, ReportCard::Year).first().subjects[0].tests, 4);
    // The test of one test's overruling (P1 観点Ⅰ over test 1 alone) is no term's.
    TestSet set;
    set.count = 3;
    set.term = {0, 2, 0, 2};
    QCOMPARE(ReportCard::testsOf(set, 2), (QList<int>{1, 3}));
    QCOMPARE(ReportCard::testsOf(set, 1), QList<int>{});
    QCOMPARE(ReportCard::testsOf(set, ReportCard::Year), (QList<int>{1, 2, 3}));
}

void TestReportCard::hiddenGradesLeaveOutEveryGrade()
{
    TestEnv env;
    ReportCardClass::write(env);
    const QList<Card> cards = cardsOf(env, 1, true);
    QCOMPARE(lines(cards[1]), (QStringList{QStringLiteral("国語 B C - -"), QStringLiteral("算数 B - - -")}));
    ReportCardSheet::Heading heading;
    heading.texts.hideGrades = true;
    const ReportSheet sheet = ReportCardSheet::sheet(cards[1], heading);
    QCOMPARE(*sheet.fieldValue(QStringLiteral("GradeHeading")), QString());
    const ReportSheet record = ReportCardSheet::classRecord(cardsOf(env, ReportCard::Year, true), heading);
    QVERIFY(!record.dataFields.join(QLatin1Char(',')).contains(QStringLiteral("評定")));
}

void TestReportCard::sheetHoldsEveryField()
{
    TestEnv env;
    ReportCardClass::write(env);
    Card card = cardsOf(env, 1)[0];
    card.comment = QStringLiteral("漢字の学習にこつこつと取り組みました。\n係の仕事も進んで行いました。");
    ReportCardSheet::Heading heading;
    heading.texts = {QStringLiteral("かざね市立さくら小学校"), QStringLiteral("第４学年２組"), QStringLiteral("山田　太郎"), false};
    heading.schoolYear = ReportCardSheet::schoolYear(QDate(2027, 3, 20));
    heading.paper = ReportCardSheet::Paper::A3Folded;
    const ReportSheet sheet = ReportCardSheet::sheet(card, heading);
    QCOMPARE(sheet.stem, QStringLiteral("tsuchihyo_a3"));
    const QStringList fields{"Title", "SchoolYear", "Term", "School", "ClassName", "Teacher", "Number", "Name",
                             "GradeHeading", "LessonDays", "LeaveDays", "RequiredDays", "AbsenceDays", "AttendanceDays",
                             "Comment"};
    const QStringList values{"通　知　表", "2026年度", "１学期", "かざね市立さくら小学校", "第４学年２組", "山田　太郎",
                             "1", "青木　一郎", "評定", "30", "1", "29", "3", "26", card.comment};
    for (int i = 0; i < fields.size(); ++i)
        QCOMPARE(*sheet.fieldValue(fields[i]), values[i]);
    QCOMPARE(sheet.dataFields, (QStringList{"Subject", "Viewpoint", "Grade", "Hyotei"}));
    const QList<QStringList> rows{{"国語", "知識・技能", "A", "3"},
                                  {"", "思考・判断・表現", "A", ""},
                                  {"", "主体的に学習に取り組む態度", "", ""},
                                  {"算数", "知識・技能", "A", "3"},
                                  {"", "思考・判断・表現", "", ""},
                                  {"", "主体的に学習に取り組む態度", "", ""}};
    QCOMPARE(sheet.rows, rows);
    QCOMPARE(ReportCardSheet::stem(2, ReportCardSheet::Paper::A4), QStringLiteral("tsuchihyo"));
    QCOMPARE(ReportCardSheet::stem(ReportCard::Year, ReportCardSheet::Paper::A3Folded), QStringLiteral("yoroku"));
    QCOMPARE(ReportCardSheet::schoolYear(QDate(2026, 4, 1)), QStringLiteral("2026年度"));
    QCOMPARE(*ReportCardSheet::sheet(cardsOf(env, ReportCard::Year)[0], heading).fieldValue(QStringLiteral("Title")),
             QStringLiteral("指導要録（様式２）用　年間の記録"));
}

void TestReportCard::classRecordIsOneRowPerPupil()
{
    TestEnv env;
    ReportCardClass::write(env);
    QList<Card> cards = cardsOf(env, ReportCard::Year);
    cards[2].comment = QStringLiteral("1学期の所見\n2学期の所見");
    ReportCardSheet::Heading heading;
    heading.texts = {QStringLiteral("さくら小"), QStringLiteral("４年２組"), QStringLiteral("山田"), false};
    heading.schoolYear = QStringLiteral("2026年度");
    const QByteArray csv = CsvWriter::build(ReportCardSheet::classRecord(cards, heading));
    const QByteArray expected = QByteArray("\xEF\xBB\xBF") + QStringLiteral(
        "指導要録（様式２）用　年間の記録,年度,2026年度,学校名,さくら小,学級,４年２組,担任,山田\r\n"
        "番号,氏名,国語：知識・技能,国語：思考・判断・表現,国語：主体的に学習に取り組む態度,国語：評定,"
        "算数：知識・技能,算数：思考・判断・表現,算数：主体的に学習に取り組む態度,算数：評定,"
        "授業日数,出席停止・忌引等の日数,出席しなければならない日数,欠席日数,出席日数,総合所見\r\n"
        "1,青木　一郎,B,A,A,3,A,,,3,50,1,49,3,46,\r\n"
        "2,石田　花子,B,C,B,2,B,,,2,50,0,50,0,50,\r\n"
        "3,上野　蓮,C,,C,1,A,,,3,50,2,48,3,45,\"1学期の所見\n2学期の所見\"\r\n").toUtf8();
    QCOMPARE(csv, expected);
}

void TestReportCard::transferOutKeepsGradesWithTheirPupils()
{
    TestEnv env;
    ReportCardClass::write(env);
    QList<QList<Card>> before;
    for (int term : {1, 2, int(ReportCard::Year)})
        before.append(cardsOf(env, term));
    Transfer::Plan plan;
    QVERIFY(Transfer::planTransferOut(env.data, 1, plan).ok);
    QVERIFY(Transfer::apply(plan).ok);
    Transfer::adopt(env.data, plan);
    QCOMPARE(env.data.pupilCount, 2);
    int i = 0;
    for (int term : {1, 2, int(ReportCard::Year)}) {
        const QList<Card> after = cardsOf(env, term);
        QCOMPARE(after.size(), 2);
        for (int p = 0; p < 2; ++p) {
            QCOMPARE(after[p].name, before[i][p + 1].name);
            QCOMPARE(lines(after[p]), lines(before[i][p + 1]));
            QCOMPARE(attendance(after[p]), attendance(before[i][p + 1]));
        }
        ++i;
    }
}

void TestReportCard::transferInKeepsGradesWithTheirPupils()
{
    TestEnv env;
    ReportCardClass::write(env);
    const QList<Card> before = cardsOf(env, 1);
    Transfer::Plan plan;
    QVERIFY(Transfer::planTransferIn(env.data, 1, QStringLiteral("江藤　新"), QDate(2026, 9, 1), plan).ok);
    QVERIFY(Transfer::apply(plan).ok);
    Transfer::adopt(env.data, plan);
    const QList<Card> after = cardsOf(env, 1);
    QCOMPARE(after.size(), 4);
    QCOMPARE(lines(after[0]), lines(before[0]));
    QCOMPARE(lines(after[2]), lines(before[1]));  // 石田 keeps the teacher's 評定 "2"
    QCOMPARE(lines(after[3]), lines(before[2]));
    QCOMPARE(attendance(after[2]), attendance(before[1]));
    // The pupil who joined in September sat no test of term 1 and was not yet in the class.
    QCOMPARE(lines(after[1]), (QStringList{QStringLiteral("国語 - - - -"), QStringLiteral("算数 - - - -")}));
    QCOMPARE(attendance(after[1]), (QList<int>{0, 0, 0, 0, 0}));
}

void TestReportCard::loaderRefusesWhatItCannotRead()
{
    TestEnv env;
    ReportCardClass::write(env);
    QList<UnitSets::Unit> units;
    QVERIFY(UnitSets::load(env.data, units).ok);
    QCOMPARE(units.size(), 2);
    QCOMPARE(units[0].stem, QStringLiteral("国語"));
    QCOMPARE(units[0].tests.count, 4);
    QCOMPARE(units[0].overrulings.size(), 3);
    QCOMPARE(units[0].tests.score[2][2][3], NotEntered);
    QCOMPARE(units[1].tests.term[1], 1);

    // A missing score file: the subject has no tests.
    QVERIFY(QFile::remove(env.dataFolder() + QStringLiteral("算数.dat")));
    QVERIFY(UnitSets::load(env.data, units).ok);
    QVERIFY(!units[1].found);
    QCOMPARE(units[1].tests.count, 0);

    // A damaged score file is named, and the units are left as they were.
    env.writeFile(QStringLiteral("国語.dat"), {QStringLiteral("2"), QStringLiteral("\"漢字\"")});
    Status status = UnitSets::load(env.data, units);
    QVERIFY(!status.ok);
    QVERIFY2(status.message.contains(QStringLiteral("国語.dat")), qPrintable(status.message));
    QCOMPARE(units[0].tests.count, 4);

    // A class file that cannot be read refuses the whole, naming it.
    env.writeBytes(QStringLiteral("assessment.json"), QByteArrayLiteral("{\"version\": 1, \"subjects\": {\"国語\": {\"tests\": 3}}}"));
    status = UnitSets::load(env.data, units);
    QVERIFY(!status.ok);
    QVERIFY2(status.message.contains(ClassFile::fileName()), qPrintable(status.message));
}

void TestReportCard::fileNames()
{
    Card card;
    card.pupil = 7;
    card.name = QStringLiteral("佐藤/蓮");
    card.term = 2;
    card.termName = QStringLiteral("２学期");
    QCOMPARE(ReportCardSheet::pupilFileName(card), QStringLiteral("通知表_２学期_07_佐藤_蓮.pdf"));
    card.term = ReportCard::Year;
    QCOMPARE(ReportCardSheet::pupilFileName(card), QStringLiteral("指導要録_07_佐藤_蓮.pdf"));
    QCOMPARE(ReportCardSheet::classFileName(card, QStringLiteral("csv")), QStringLiteral("指導要録.csv"));
    card.term = 1;
    card.termName = QStringLiteral("前期");
    QCOMPARE(ReportCardSheet::classFileName(card, QStringLiteral("pdf")), QStringLiteral("通知表_前期.pdf"));
    QCOMPARE(ReportCardSheet::pupilFileName(card), QStringLiteral("通知表_前期_07_佐藤_蓮.pdf"));
}

void TestReportCard::settingsKeepTheirKeys()
{
    TestEnv env;
    env.writeSettings();
    // Nothing stored: empty texts, 評定 shown, A4.
    QVERIFY(ReportCardSettings::read(*env.settings) == ReportCardSettings());
    ReportCardSettings chosen;
    chosen.school = QStringLiteral("さくら小学校");
    chosen.className = QStringLiteral("第１学年２組");
    chosen.teacher = QStringLiteral("山田　太郎");
    chosen.hideGrades = true;
    chosen.a3Folded = true;
    QVERIFY(chosen.write(*env.settings).ok);
    QSettings store(env.settingsFile(), QSettings::IniFormat);
    QCOMPARE(store.value(QStringLiteral("ReportCard/SchoolName")).toString(), chosen.school);
    QCOMPARE(store.value(QStringLiteral("ReportCard/ClassName")).toString(), chosen.className);
    QCOMPARE(store.value(QStringLiteral("ReportCard/TeacherName")).toString(), chosen.teacher);
    QCOMPARE(store.value(QStringLiteral("ReportCard/HideHyotei")).toString(), QStringLiteral("1"));
    QCOMPARE(store.value(QStringLiteral("ReportCard/Paper")).toString(), QStringLiteral("A3"));
    // The keys of the mode stay as they were.
    QCOMPARE(store.value(QStringLiteral("UseMode/SenkaMode")).toString(), QStringLiteral("0"));
    QVERIFY(ReportCardSettings::read(store) == chosen);

    QCOMPARE(ReportCardSettings::problem(QStringLiteral("担任"), QString(40, QChar(u'長'))), QString());
    QCOMPARE(ReportCardSettings::problem(QStringLiteral("担任"), QString(41, QChar(u'長'))),
             QStringLiteral("「担任」は40文字以内で入力してください。"));
    QCOMPARE(ReportCardSettings::problem(QStringLiteral("学校名"), QStringLiteral("さくら\n小学校")),
             QStringLiteral("「学校名」に改行は入れられません。"));
}

QTEST_MAIN(TestReportCard)
#include "test_report_card.moc"
