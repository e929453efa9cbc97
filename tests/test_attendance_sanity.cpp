// Attendance that cannot be, and a pupil who transfers in. A month's counts that
// exceed its lesson days or its 必要日数 are refused with the month, the pupil and
// the figures, when typed and at close. A pupil transferred in has the month's
// lesson days as 必要日数 from the month of the transfer on, and no 必要日数 before
// it; the tallies and the 指導要録 sum only the months the pupil was in the class.
// Every figure is worked out by hand.

#include "AttendanceDriver.h"
#include "MainWindowControls.h"
#include "SampleClass.h"
#include "maintenance/RosterWindow.h"
#include "model/AttendanceFile.h"
#include "model/Transfer.h"
#include "tally/AttendanceTally.h"

#include <QListWidget>
#include <QMdiArea>

using namespace AttendanceDriver;
using namespace DataFiles;
using AttendanceTally::View;

namespace {

// Lesson days of the year, April .. March (203 in all; August has none).
const QList<int> YearDays{20, 18, 22, 15, 0, 20, 21, 19, 16, 18, 19, 15};

// Columns of the month grid.
enum Column { Ill = 5, Other };

QString figuresOf(const AttendanceTally::Row& row)
{
    QStringList texts;
    for (const AttendanceTally::Figure& figure : row.figures)
        texts << (figure ? QString::number(*figure) : QString());
    return texts.join(QLatin1Char(','));
}

// Two pupils of the class from April with every 必要日数 filled in: 青木 ill two
// days in June, 石田 late once in December.
Attendance twoPupilsFromApril()
{
    return attendanceYear(
        2, [](int m) { return YearDays[m - 1]; },
        [](int m, int p) {
            QList<int> counts{0, 0, YearDays[m - 1], 0, 0, 0, 0};
            if (p == 1 && m == 3)
                counts[3] = 2;
            if (p == 2 && m == 9)
                counts[5] = 1;
            return counts;
        });
}

ClassData classOf(const Attendance& year, const QStringList& names)
{
    ClassData data;
    data.pupilCount = int(names.size());
    for (int p = 1; p <= data.pupilCount; ++p)
        data.pupilName[p] = names[p - 1];
    const bool parsed = AttendanceFile::parse(crlf(attendanceLines(year)), data.pupilCount, data).ok;
    if (!parsed)
        qFatal("attendance fixture does not parse");
    return data;
}

}  // namespace

class AttendanceSanityTest : public QObject {
    Q_OBJECT
private slots:
    void impossibleCountsAreNamed_data()
    {
        QTest::addColumn<int>("lessonDays");
        QTest::addColumn<QList<int>>("counts");  // 忌引, 出停, 必要日数, 病欠, 事欠, 遅刻, 早退
        QTest::addColumn<QString>("problem");
        QTest::newRow("25 ill in 20") << 20 << QList<int>{0, 0, 20, 25, 0, 0, 0}
                                      << "病欠 25日と事欠 0日で計 25日となり、必要日数 20日を超えます";
        QTest::newRow("absent all required days") << 20 << QList<int>{2, 0, 18, 10, 8, 3, 0} << "";
        QTest::newRow("one absence too many") << 20 << QList<int>{2, 0, 18, 10, 9, 0, 0}
                                              << "病欠 10日と事欠 9日で計 19日となり、必要日数 18日を超えます";
        QTest::newRow("required days too many") << 20 << QList<int>{1, 2, 18, 0, 0, 0, 0}
                                                << "忌引 1日、出停 2日、必要日数 18日で計 21日となり、授業日数 20日を超えます";
        QTest::newRow("leave beyond the month") << 20 << QList<int>{5, 16, -1, 0, 0, 0, 0}
                                                << "忌引 5日と出停 16日で計 21日となり、授業日数 20日を超えます";
        QTest::newRow("absent with no required days") << 20 << QList<int>{0, 0, 0, 1, 0, 0, 0}
            << "病欠 1日と事欠 0日で計 1日となり、必要日数 0日を超えます（必要日揃えで必要日数を入れてから入力してください）";
        QTest::newRow("below zero") << 20 << QList<int>{0, 0, 20, 0, 0, -1, 0} << "遅刻が -1日です";
        QTest::newRow("before joining") << 20 << QList<int>{0, 20, 0, 0, 0, 0, 0} << "";
        QTest::newRow("lesson days not known yet") << 0 << QList<int>{0, 0, 0, 25, 0, 0, 0} << "";
    }

    void impossibleCountsAreNamed()
    {
        QFETCH(int, lessonDays);
        QFETCH(QList<int>, counts);
        QFETCH(QString, problem);
        AttendanceTally::Counts values{};
        for (int k = 1; k <= 7; ++k)
            values[size_t(k)] = counts[k - 1];
        QCOMPARE(AttendanceTally::countsProblem(lessonDays, values), problem);
    }

    // The first impossible month and pupil of the class, named as the window names it.
    void firstProblemOfTheClass()
    {
        Attendance year = twoPupilsFromApril();
        QVERIFY(!AttendanceTally::firstProblem(classOf(year, {"青木", "石田"})));
        year.counts[8][1][3] = 17;  // 石田 ill 17 days of December's 16
        year.counts[10][0][4] = 20; // 青木 absent 20 days of February's 19
        const auto problem = AttendanceTally::firstProblem(classOf(year, {"青木", "石田"}));
        QVERIFY(problem);
        QCOMPARE(problem->month, 9);
        QCOMPARE(problem->pupil, 2);
        QCOMPARE(problem->text, QStringLiteral("12月　2番 石田：病欠 17日と事欠 0日で計 17日となり、必要日数 16日を超えます。"));
    }

    // 上田 transfers in after 青木 in December: before December 出停 is each month's
    // lesson days with no 必要日数 (August has none at all); from December on 必要日数
    // is the lesson days. The months before are not the pupil's.
    void transferredPupilHasRequiredDaysFromTheTransferOn()
    {
        ClassData data = classOf(twoPupilsFromApril(), {"青木", "石田"});
        Transfer::insertIntoAttendance(data.attendance, data.lessonDays, 2, 1, Transfer::schoolMonth(QDate(2026, 12, 3)));
        const QList<QList<int>> expected{{0, 20, 0}, {0, 18, 0}, {0, 22, 0}, {0, 15, 0}, {0, 0, 0}, {0, 20, 0},
                                         {0, 21, 0}, {0, 19, 0}, {0, 0, 16}, {0, 0, 18}, {0, 0, 19}, {0, 0, 15}};
        for (int m = 1; m <= 12; ++m) {
            QCOMPARE((QList<int>{data.attendance[m][2][1], data.attendance[m][2][2], data.attendance[m][2][3]}), expected[m - 1]);
            QCOMPARE(AttendanceTally::beforeJoining(data, m, 2), m < 9 && m != 5);
            QVERIFY(!AttendanceTally::beforeJoining(data, m, 1));
            QVERIFY(!AttendanceTally::beforeJoining(data, m, 3));
        }
        QCOMPARE(data.attendance[3][1][4], 2);  // 青木's row stayed his
        QCOMPARE(data.attendance[9][3][6], 1);  // 石田's moved down one
        // A pupil of the class who missed only October by 出停 is in the class.
        data.attendance[7][3][2] = 21;
        data.attendance[7][3][3] = 0;
        QVERIFY(!AttendanceTally::beforeJoining(data, 7, 3));
    }

    // The tallies of that class, by hand. Year: 203 lesson days for the class.
    // 青木: 203 required, 2 ill → 201 attended. 上田: December .. March only:
    // 16 + 18 + 19 + 15 = 68 lesson and required days, 2 ill in December → 66.
    // Term 1 has no month of 上田: every figure 0. Term 2: December alone.
    void tallyAndRecordBookSumTheMonthsInTheClass_data()
    {
        QTest::addColumn<int>("tally");
        QTest::addColumn<bool>("recordBook");
        QTest::addColumn<int>("lessonDays");
        QTest::addColumn<QString>("aoki");
        QTest::addColumn<QString>("ueda");
        QTest::newRow("year record book") << 3 << true << 203 << "203,0,203,2,201,0,0," << "68,0,68,2,66,0,0,";
        QTest::newRow("year detailed") << 3 << false << 203 << "0,0,203,2,0,0,0,201" << "0,0,68,2,0,0,0,66";
        QTest::newRow("term 1 record book") << 0 << true << 75 << "75,0,75,2,73,0,0," << "0,0,0,0,0,0,0,";
        QTest::newRow("term 1 detailed") << 0 << false << 75 << "0,0,75,2,0,0,0,73" << "0,0,0,0,0,0,0,0";
        QTest::newRow("term 2 record book") << 1 << true << 76 << "76,0,76,0,76,0,0," << "16,0,16,2,14,0,0,";
        QTest::newRow("term 3 record book") << 2 << true << 52 << "52,0,52,0,52,0,0," << "52,0,52,0,52,0,0,";
    }

    void tallyAndRecordBookSumTheMonthsInTheClass()
    {
        QFETCH(int, tally);
        QFETCH(bool, recordBook);
        QFETCH(int, lessonDays);
        QFETCH(QString, aoki);
        QFETCH(QString, ueda);
        ClassData data = classOf(twoPupilsFromApril(), {"青木", "石田"});
        Transfer::insertIntoAttendance(data.attendance, data.lessonDays, 2, 1, 9);
        data.pupilCount = 3;
        data.pupilName[2] = QStringLiteral("上田");
        data.pupilName[3] = QStringLiteral("石田");
        data.attendance[9][2][4] = 2;  // 上田 ill two days in December
        const AttendanceTally::Table table =
            AttendanceTally::table(data, tally, recordBook ? View::RecordBook : View::Detailed);
        QCOMPARE(table.lessonDays, lessonDays);
        QCOMPARE(figuresOf(table.rows[0]), aoki);
        QCOMPARE(figuresOf(table.rows[1]), ueda);
        // The sheet prints the same: the class's lesson days in its title.
        const ReportSheet sheet = AttendanceTally::sheet(table);
        QCOMPARE(sheet.titleValues[2], QString::number(lessonDays));
        QStringList stored = ueda.split(QLatin1Char(','));
        for (QString& text : stored)
            text = text.isEmpty() ? QStringLiteral(" ") : text;
        QCOMPARE(sheet.rows[2], QStringList({"2", "上田"}) + stored);
    }

    // Typed in the grid (more cases: test_attendance_model): a digit that makes the
    // absences more than 必要日数 is refused and the cell keeps what it had; so are
    // 25 ill days of a 20-day month through the prompt.
    void refusedWhenTyped()
    {
        TestEnv env;
        startClass(env, QDate(2026, 4, 10));
        AttendanceWindow* w = open(env);
        QVERIFY(w);
        typeLessonDays(w, QStringLiteral("5"));
        leaveLessonDays(w);
        typeAt(w, 1, Ill, QStringLiteral("3"));
        typeAt(w, 1, Other, QStringLiteral("2"));
        QVERIFY(env.ui.messages.isEmpty());
        typeAt(w, 1, Other, QStringLiteral("3"));
        QCOMPARE(env.ui.messageTexts(),
                 QStringList{"４月　1番 青木：病欠 3日と事欠 3日で計 6日となり、必要日数 5日を超えます。\nこの数は入力できません。"});
        QCOMPARE(env.ui.messages[0].icon, Ui::Icon::Warning);
        QCOMPARE(cellText(w, 1, Other), QStringLiteral("2"));

        typeLessonDays(w, QStringLiteral("20"));
        leaveLessonDays(w);
        env.ui.clear();
        promptAt(w, 3, Ill, QStringLiteral("25"));
        QCOMPARE(env.ui.messageTexts(),
                 QStringList{"４月　3番 上田：病欠 25日と事欠 0日で計 25日となり、必要日数 20日を超えます。\nこの数は入力できません。"});
        QCOMPARE(cellText(w, 3, Ill), QString());
        promptAt(w, 3, Ill, QStringLiteral("20"));
        QCOMPARE(cellText(w, 3, Ill), QStringLiteral("20"));
        QCOMPARE(env.ui.messages.size(), 1);
    }

    // Counts that became impossible when the lesson days were lowered are refused at
    // close: the month and the pupil are shown and the file is not written; once
    // mended, the window closes and writes them.
    void refusedAtClose()
    {
        TestEnv env;
        startClass(env, QDate(2026, 6, 10));
        const QByteArray before = env.readBytes(QStringLiteral("shuketu.dat"));
        AttendanceWindow* w = open(env);
        typeLessonDays(w, QStringLiteral("20"));
        leaveLessonDays(w);
        typeAt(w, 2, Ill, QStringLiteral("9"));
        choose(w, 3);  // July
        typeLessonDays(w, QStringLiteral("15"));
        leaveLessonDays(w);
        choose(w, 2);  // June again: 4 lesson days, the 必要日数 filled again
        typeLessonDays(w, QStringLiteral("4"));
        leaveLessonDays(w);
        choose(w, 3);
        env.ui.clear();

        closeButton(w)->click();
        QCOMPARE(env.ui.messageTexts(),
                 QStringList{"６月　2番 石田：病欠 9日と事欠 0日で計 9日となり、必要日数 4日を超えます。\n\n数を直してから閉じてください。"});
        QCOMPARE(env.mainWindow()->mdiArea()->subWindowList().size(), 1);
        QCOMPARE(env.readBytes(QStringLiteral("shuketu.dat")), before);
        QCOMPARE(periodSelector(w)->currentIndex(), 2);
        QCOMPARE(gridRow(w), 2);

        typeAt(w, 2, Ill, QStringLiteral("4"));
        env.ui.clear();
        closeButton(w)->click();
        QVERIFY(env.ui.messages.isEmpty());
        QTRY_VERIFY(env.mainWindow()->mdiArea()->subWindowList().isEmpty());
        const QStringList lines = env.readLines(QStringLiteral("shuketu.dat"));
        QCOMPARE(lines.mid(8, 4), (QStringList{"4", "0,0,4,0,0,0,0", "0,0,4,4,0,0,0", "0,0,4,0,0,0,0"}));
    }

    // A file that already holds 25 ill days in a 20-day June: the window opens on it,
    // and a tally shown when it closes turns to that month. Ending the program asks:
    // はい returns to the window, いいえ keeps the file as it is and ends.
    void impossibleFileAtCloseAndAtProgramEnd()
    {
        TestEnv env;
        startClass(env, QDate(2026, 4, 10), 2);
        const Attendance year = attendanceYear(
            2, [](int m) { return m == 3 ? 20 : 0; },
            [](int m, int p) { return m == 3 ? QList<int>{0, 0, 20, p == 2 ? 25 : 0, 0, 0, 0} : QList<int>(7, 0); });
        env.writeFile(QStringLiteral("shuketu.dat"), attendanceLines(year));
        AttendanceWindow* w = open(env);
        tallyButton(w, 3)->click();
        env.ui.clear();
        closeButton(w)->click();
        QCOMPARE(env.ui.messages.size(), 1);
        QVERIFY(env.ui.lastMessage().startsWith(QStringLiteral("６月　2番 石田：病欠 25日")));
        QVERIFY(!w->showingTally());
        QCOMPARE(w->monthShown(), 3);
        QCOMPARE(gridRow(w), 2);

        env.ui.clear();
        env.ui.answers = {Ui::Answer::Yes};
        env.mainWindow()->close();
        QCOMPARE(env.ui.messages.size(), 1);
        QCOMPARE(env.ui.messages[0].buttons, Ui::Buttons::YesNo);
        QVERIFY(env.ui.messages[0].text.contains(QStringLiteral("出席状況入力の画面に戻って直しますか")));
        QVERIFY(env.mainWindow()->isVisible());
        QCOMPARE(env.mainWindow()->mdiArea()->subWindowList().size(), 1);

        env.ui.clear();
        env.ui.answers = {Ui::Answer::No};
        env.mainWindow()->close();
        QCOMPARE(env.readBytes(QStringLiteral("shuketu.dat")), crlf(attendanceLines(year)));
    }

    // Through the real windows: 上田 transfers in after 青木 on 3 December. November
    // shows his 出停 as the lesson days and no 必要日数, and they follow November's
    // lesson days when those are corrected; December shows the lesson days as his
    // 必要日数. The year's 指導要録 is his months alone, and the file holds it all.
    void transferInThroughTheWindows()
    {
        TestEnv env;
        startClass(env, QDate(2026, 12, 3), 2);
        env.writeFile(QStringLiteral("shuketu.dat"), attendanceLines(twoPupilsFromApril()));
        MainWindow& window = env.startMainWindow();
        MainControls::menuEntry(window, "rosterAction")->trigger();
        auto* roster = window.findChild<RosterWindow*>();
        QVERIFY(roster);
        Controls::child<QListWidget>(roster, "nameList")->setCurrentRow(0);
        env.ui.inputs.push_back(QStringLiteral("上田"));
        Controls::child<QPushButton>(roster, "insertButton")->click();
        QCOMPARE(env.data.pupilName[2], QStringLiteral("上田"));
        roster->closeWindow();
        QTRY_VERIFY(window.mdiArea()->subWindowList().isEmpty());

        AttendanceWindow* w = open(env);
        QCOMPARE(w->monthShown(), 9);
        QCOMPARE(rowTexts(w, 2).mid(2, 3), (QStringList{"", "", "16"}));
        choose(w, 7);  // November, 19 lesson days
        QCOMPARE(rowTexts(w, 2).mid(2, 3), (QStringList{"", "19", ""}));
        typeLessonDays(w, QStringLiteral("18"));
        leaveLessonDays(w);
        QCOMPARE(rowTexts(w, 2).mid(2, 3), (QStringList{"", "18", ""}));
        QCOMPARE(rowTexts(w, 1).mid(2, 3), (QStringList{"", "", "18"}));
        choose(w, 8);
        typeAt(w, 2, Ill, QStringLiteral("2"));

        tallyButton(w, 3)->click();
        recordBookViewOption(w)->click();
        // 上田: December .. March, 16 + 18 + 19 + 15 = 68 days, 2 ill.
        QCOMPARE(rowTexts(w, 2).mid(2), (QStringList{"68", "0", "68", "2", "66", "0", "0", ""}));
        // 青木: 203 less November's corrected day.
        QCOMPARE(rowTexts(w, 1).mid(2), (QStringList{"202", "0", "202", "2", "200", "0", "0", ""}));
        // The columns shown: 出席日数 once, among the record book's figures; the
        // detailed view has it as its last column.
        const auto shownHeadings = [w] {
            QStringList texts;
            for (int c = 0; c < grid(w)->model()->columnCount(); ++c)
                if (!grid(w)->isColumnHidden(c))
                    texts << grid(w)->model()->headerData(c, Qt::Horizontal).toString();
            return texts;
        };
        QCOMPARE(shownHeadings(), (QStringList{"番号", "氏名", "授業日数", "忌引出停", "必要日数", "欠席日数", "出席日数", "遅刻", "早退"}));
        detailedViewOption(w)->click();
        QCOMPARE(shownHeadings(), (QStringList{"番号", "氏名", "忌引", "出停", "必要日数", "病欠", "事欠", "遅刻", "早退", "出席日数"}));
        recordBookViewOption(w)->click();
        QCOMPARE(shownHeadings().count(QStringLiteral("出席日数")), 1);
        closeButton(w)->click();
        QTRY_VERIFY(window.mdiArea()->subWindowList().isEmpty());
        const QStringList lines = env.readLines(QStringLiteral("shuketu.dat"));
        // Month m starts at line 4 (m - 1); 上田 is its third line.
        QCOMPARE(lines[4 * 7 + 2], QStringLiteral("0,18,0,0,0,0,0"));   // November
        QCOMPARE(lines[4 * 8 + 2], QStringLiteral("0,0,16,2,0,0,0"));   // December
        QCOMPARE(lines[4 * 11 + 2], QStringLiteral("0,0,15,0,0,0,0"));  // March
    }
};

QTEST_MAIN(AttendanceSanityTest)
#include "test_attendance_sanity.moc"
