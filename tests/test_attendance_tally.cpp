// Term and year tallies of the attendance window, their two views, the "Shuseki"
// sheet as the report store holds it, and a whole school year typed by hand.

#include "Controls.h"
#include "AttendanceDriver.h"
#include "model/AttendanceFile.h"
#include "output/ReportStore.h"
#include "tally/AttendanceTally.h"

#include <QFile>
#include <QRadioButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>

using namespace AttendanceDriver;
using namespace DataFiles;
using AttendanceTally::Category;
using AttendanceTally::View;

using Controls::child;

namespace {

// Columns 2..9 of every pupil row.
QList<QStringList> figures(AttendanceWindow* w)
{
    QList<QStringList> rows;
    for (int r = 1; r <= gridRows(w); ++r)
        rows << rowTexts(w, r).mid(2);
    return rows;
}

QStringList split(const char* figures)
{
    return QString::fromUtf8(figures).split(QLatin1Char(','));
}

void showView(AttendanceWindow* w, View view)
{
    (view == View::RecordBook ? recordBookViewOption(w) : detailedViewOption(w))->click();
}

// A whole year for three pupils as a teacher types it: lesson days, then the counts
// that differ from zero, one digit per key press; 出停 12 through the value prompt.
void typeTheYear(AttendanceWindow* w)
{
    struct Entry {
        int pupil;
        int column;
        const char* value;
    };
    const char* lessonDays[12] = {"20", "19", "21", "14", "3", "20", "21", "19", "16", "18", "19", "15"};
    const QList<QList<Entry>> entries{
        {{1, 5, "2"}},                  // April: 青木 病欠 2
        {{3, 6, "1"}, {3, 7, "2"}},     // May: 上田 事欠 1, 遅刻 2
        {{1, 2, "3"}, {1, 7, "1"}},     // June: 青木 忌引 3, 遅刻 1
        {{3, 2, "1"}, {3, 5, "3"}},     // July: 上田 忌引 1, 病欠 3
        {{1, 5, "1"}},                  // August: 青木 病欠 1 (term 2)
        {},                             // September
        {{1, 3, "2"}, {1, 6, "1"}},     // October: 青木 出停 2, 事欠 1
        {},                             // November
        {{3, 5, "5"}, {3, 8, "1"}},     // December: 上田 病欠 5, 早退 1
        {},                             // January: 上田 出停 12 by the prompt, below
        {{1, 8, "4"}},                  // February: 青木 早退 4
        {{3, 7, "9"}},                  // March: 上田 遅刻 9
    };
    for (int item = 0; item < 12; ++item) {
        if (item > 0)
            choose(w, item);
        typeLessonDays(w, QString::fromLatin1(lessonDays[item]));
        leaveLessonDays(w);
        for (const Entry& entry : entries[item])
            typeAt(w, entry.pupil, entry.column, QString::fromLatin1(entry.value));
        if (item == 9)
            promptAt(w, 3, 3, QStringLiteral("12"));
    }
}

// Four months of two pupils (April, July, August, March) in the file's column order
// 忌引, 出停, 必要日数, 病欠, 事欠, 遅刻, 早退. In August 石田 is absent one day of no
// required day, so that term leaves him -1 days attended.
DataFiles::Attendance fourMonths()
{
    const QMap<int, int> days{{1, 20}, {4, 10}, {5, 3}, {12, 15}};
    const QMap<int, QList<QList<int>>> counts{
        {1, {{1, 0, 19, 2, 1, 3, 0}, {0, 2, 18, 0, 0, 0, 1}}},
        {4, {{0, 0, 10, 0, 0, 0, 2}, {0, 0, 10, 1, 1, 0, 0}}},
        {5, {{0, 0, 3, 0, 0, 1, 0}, {0, 3, 0, 1, 0, 0, 0}}},
        {12, {{0, 0, 15, 5, 2, 0, 0}, {0, 0, 15, 0, 0, 0, 0}}},
    };
    return DataFiles::attendanceYear(
        2, [days](int m) { return days.value(m); },
        [counts](int m, int p) { return counts.contains(m) ? counts[m][p - 1] : QList<int>(7, 0); });
}

// A tally row's eight figures written out, "" for a figure the view does not have.
QString figuresOf(const AttendanceTally::Row& row)
{
    QStringList texts;
    for (const AttendanceTally::Figure& figure : row.figures)
        texts << (figure ? QString::number(*figure) : QString());
    return texts.join(QLatin1Char(','));
}

}  // namespace

class AttendanceTallyTest : public QObject {
    Q_OBJECT
private slots:
    void aWholeYearTypedAndTallied();
    void aTermWithAbsences();
    void enteringATallyStoresTheMonthShown();
    void tallyIsOnlyShownNeverTyped();
    void returningToMonthlyInput();
    void storeAndPreviewOfTheSheet();
    void sheetFromTheModelForExport();
    void closingFromATallyWritesTheModel();
    void figuresAreNumbersWorkedOutByHand_data();
    void figuresAreNumbersWorkedOutByHand();
    void namedSumsFollowTheFilesColumns();
};

void AttendanceTallyTest::aWholeYearTypedAndTallied()
{
    TestEnv env;
    startClass(env, QDate(2026, 4, 10));
    AttendanceWindow* w = open(env);
    typeTheYear(w);
    QCOMPARE(cellText(w, 3, 4), QStringLiteral("15"));  // March is still only on screen
    QCOMPARE(env.data.lessonDays[12], 0);

    // 年度末集計 from the menu stores March first.
    tallyAction(w, 3)->trigger();
    QVERIFY(w->showingTally());
    QCOMPARE(env.data.lessonDays[12], 15);
    QCOMPARE(periodSelector(w)->count(), 4);
    QCOMPARE(periodSelector(w)->currentText(), QStringLiteral("年度末集計"));
    QCOMPARE(w->tallyRange().first, 1);
    QCOMPARE(w->tallyRange().last, 12);
    QCOMPARE(rowTexts(w, 0), (QStringList{"番号", "氏名", "忌引", "出停", "必要日数", "病欠", "事欠", "遅刻", "早退", "出席日数"}));
    QVERIFY(!grid(w)->isColumnHidden(9));
    QCOMPARE(rowTexts(w, 1).mid(0, 2), (QStringList{"1", "青木"}));

    struct Expected {
        int index;
        const char* lessonDays;
        const char* detailed[3];
        const char* recordBook[3];
    };
    // Sums worked out by hand from the typed year (term 2 runs from August).
    const Expected tallies[] = {
        {0, "74", {"3,0,71,2,0,1,0,69", "0,0,74,0,0,0,0,74", "1,0,73,3,1,2,0,69"},
         {"74,3,71,2,69,1,0,", "74,0,74,0,74,0,0,", "74,1,73,4,69,2,0,"}},
        {1, "79", {"0,2,77,1,1,0,0,75", "0,0,79,0,0,0,0,79", "0,0,79,5,0,0,1,74"},
         {"79,2,77,2,75,0,0,", "79,0,79,0,79,0,0,", "79,0,79,5,74,0,1,"}},
        {2, "52", {"0,0,52,0,0,0,4,52", "0,0,52,0,0,0,0,52", "0,12,40,0,0,9,0,40"},
         {"52,0,52,0,52,0,4,", "52,0,52,0,52,0,0,", "52,12,40,0,40,9,0,"}},
        {3, "205", {"3,2,200,3,1,1,4,196", "0,0,205,0,0,0,0,205", "1,12,192,8,1,11,1,183"},
         {"205,5,200,4,196,1,4,", "205,0,205,0,205,0,0,", "205,13,192,9,183,11,1,"}},
    };
    for (const Expected& tally : tallies) {
        const QString name = AttendanceTally::tallyName(tally.index);
        // Through the selector, in the detailed view ...
        showView(w, View::Detailed);
        choose(w, tally.index);
        QCOMPARE(periodSelector(w)->currentText(), name);
        QCOMPARE(lessonDaysInput(w)->text(), QString::fromLatin1(tally.lessonDays));
        QCOMPARE(figures(w), (QList<QStringList>{split(tally.detailed[0]), split(tally.detailed[1]), split(tally.detailed[2])}));
        // ... and in the record-book view, whose last column is headed but empty.
        showView(w, View::RecordBook);
        QCOMPARE(rowTexts(w, 0), (QStringList{"番号", "氏名", "授業日数", "忌引出停", "必要日数", "欠席日数", "出席日数", "遅刻", "早退", "出席日数"}));
        QCOMPARE(figures(w), (QList<QStringList>{split(tally.recordBook[0]), split(tally.recordBook[1]), split(tally.recordBook[2])}));
        // The buttons show the same range in the view chosen.
        tallyButton(w, tally.index)->click();
        QCOMPARE(periodSelector(w)->currentText(), name);
        QCOMPARE(figures(w)[2], split(tally.recordBook[2]));
    }
    QCOMPARE(env.ui.busyDepth, 0);
    QVERIFY(env.ui.messages.isEmpty());

    // Closing writes the year as typed, byte for byte.
    closeButton(w)->click();
    QTRY_COMPARE(env.mainWindow()->mdiArea()->subWindowList().size(), 0);
    const QStringList expected{
        "20", "0,0,20,2,0,0,0", "0,0,20,0,0,0,0", "0,0,20,0,0,0,0",
        "19", "0,0,19,0,0,0,0", "0,0,19,0,0,0,0", "0,0,19,0,1,2,0",
        "21", "3,0,18,0,0,1,0", "0,0,21,0,0,0,0", "0,0,21,0,0,0,0",
        "14", "0,0,14,0,0,0,0", "0,0,14,0,0,0,0", "1,0,13,3,0,0,0",
        "3", "0,0,3,1,0,0,0", "0,0,3,0,0,0,0", "0,0,3,0,0,0,0",
        "20", "0,0,20,0,0,0,0", "0,0,20,0,0,0,0", "0,0,20,0,0,0,0",
        "21", "0,2,19,0,1,0,0", "0,0,21,0,0,0,0", "0,0,21,0,0,0,0",
        "19", "0,0,19,0,0,0,0", "0,0,19,0,0,0,0", "0,0,19,0,0,0,0",
        "16", "0,0,16,0,0,0,0", "0,0,16,0,0,0,0", "0,0,16,5,0,0,1",
        "18", "0,0,18,0,0,0,0", "0,0,18,0,0,0,0", "0,12,6,0,0,0,0",
        "19", "0,0,19,0,0,0,4", "0,0,19,0,0,0,0", "0,0,19,0,0,0,0",
        "15", "0,0,15,0,0,0,0", "0,0,15,0,0,0,0", "0,0,15,0,0,9,0",
    };
    QCOMPARE(env.readBytes(QStringLiteral("shuketu.dat")), crlf(expected));
}

void AttendanceTallyTest::aTermWithAbsences()
{
    TestEnv env;
    startClass(env, QDate(2026, 9, 1), 2);
    QStringList lines = attendanceLines(attendanceYear(2));
    // April to July 15 lesson days each; 青木 needs all 60, ill 3 days, away 1 day.
    for (int m = 0; m < 4; ++m) {
        lines[m * 3] = QStringLiteral("15");
        lines[m * 3 + 1] = QStringLiteral("0,0,15,%1,%2,0,0").arg(m == 1 ? 3 : 0).arg(m == 3 ? 1 : 0);
    }
    env.writeFile(QStringLiteral("shuketu.dat"), lines);
    AttendanceWindow* w = open(env);
    tallyButton(w, 0)->click();
    QCOMPARE(lessonDaysInput(w)->text(), QStringLiteral("60"));
    QCOMPARE(rowTexts(w, 1).mid(2), split("0,0,60,3,1,0,0,56"));
    // A pupil with no entries shows 0 in every count column.
    QCOMPARE(rowTexts(w, 2).mid(2), split("0,0,0,0,0,0,0,0"));
    showView(w, View::RecordBook);
    QCOMPARE(rowTexts(w, 1).mid(2), split("60,0,60,4,56,0,0,"));
    QCOMPARE(cellText(w, 0, 5), QStringLiteral("欠席日数"));
    showView(w, View::Detailed);
    QCOMPARE(rowTexts(w, 1).mid(2), split("0,0,60,3,1,0,0,56"));
    // Term 2 starts in August: nothing of April to July there.
    choose(w, 1);
    QCOMPARE(lessonDaysInput(w)->text(), QStringLiteral("0"));
    QCOMPARE(rowTexts(w, 1).mid(2), split("0,0,0,0,0,0,0,0"));
}

void AttendanceTallyTest::enteringATallyStoresTheMonthShown()
{
    TestEnv env;
    startClass(env, QDate(2026, 4, 20));
    AttendanceWindow* w = open(env);
    typeLessonDays(w, QStringLiteral("12"));
    leaveLessonDays(w);
    typeAt(w, 2, 6, QStringLiteral("2"));
    tallyButton(w, 0)->click();
    QCOMPARE(rowTexts(w, 2).mid(2), split("0,0,12,0,2,0,0,10"));
    QCOMPARE(lessonDaysInput(w)->text(), QStringLiteral("12"));

    // Back in April with the lesson-days box emptied, every tally button and menu
    // entry refuses as a month change does; nothing is stored, no 必要日数 changes.
    monthlyInputButton(w)->click();
    QCOMPARE(periodSelector(w)->currentText(), QStringLiteral("４月"));
    typeAt(w, 1, 8, QStringLiteral("1"));
    typeLessonDays(w, QString());
    QTest::mouseClick(tallyButton(w, 3), Qt::LeftButton);  // leaves the box as well
    tallyAction(w, 0)->trigger();
    const QString noLessonDays = QStringLiteral("授業数を指定してください。未定の場合０を入力してください.");
    QCOMPARE(env.ui.messageTexts(), (QStringList{noLessonDays, noLessonDays}));
    QCOMPARE(env.ui.messages[0].buttons, Ui::Buttons::Ok);
    QVERIFY(!w->showingTally());
    QCOMPARE(periodSelector(w)->currentText(), QStringLiteral("４月"));
    QCOMPARE(w->monthShown(), 1);
    QCOMPARE(env.data.lessonDays[1], 12);
    QCOMPARE(env.data.attendance[1][1][7], 0);
    QCOMPARE(rowTexts(w, 1).mid(2, 7), (QStringList{"", "", "12", "", "", "", "1"}));
    QCOMPARE(rowTexts(w, 2).mid(2, 7), (QStringList{"", "", "12", "", "2", "", ""}));

    // With a number in the box the tally counts what was typed.
    typeLessonDays(w, QStringLiteral("12"));
    tallyButton(w, 3)->click();
    QVERIFY(w->showingTally());
    QCOMPARE(rowTexts(w, 1).mid(2), split("0,0,12,0,0,0,1,12"));
}

void AttendanceTallyTest::tallyIsOnlyShownNeverTyped()
{
    TestEnv env;
    startClass(env, QDate(2026, 6, 15));
    AttendanceWindow* w = open(env);
    typeLessonDays(w, QStringLiteral("20"));
    leaveLessonDays(w);
    tallyButton(w, 0)->click();
    showView(w, View::RecordBook);
    const QList<QStringList> shown = figures(w);

    setGridCell(w, 1, 3);
    QTest::keyClick(grid(w), Qt::Key_5);
    QTest::keyClick(grid(w), Qt::Key_Return, Qt::ShiftModifier);
    const QRect cell = cellRect(w, 1, 4);
    QTest::mouseClick(grid(w)->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(grid(w)->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(env.ui.beeps, 3);  // the digit, Shift+Return and the double-click
    QVERIFY(!valuePrompt(w));
    QCOMPARE(figures(w), shown);
    QVERIFY(!lessonDaysInput(w)->isEnabled());
    QVERIFY(!fillRequiredDaysButton(w)->isEnabled());
    QVERIFY(!fillRequiredDaysAction(w)->isEnabled());
    fillRequiredDaysButton(w)->click();
    QCOMPARE(figures(w), shown);
}

void AttendanceTallyTest::returningToMonthlyInput()
{
    TestEnv env;
    startClass(env, QDate(2026, 7, 1));
    AttendanceWindow* w = open(env);
    typeLessonDays(w, QStringLiteral("14"));
    leaveLessonDays(w);
    typeAt(w, 3, 5, QStringLiteral("4"));
    choose(w, 0);  // April, then the tally, then back
    tallyButton(w, 1)->click();
    QVERIFY(printButton(w)->isEnabled());
    QVERIFY(recordBookViewOption(w)->isEnabled());
    monthlyInputAction(w)->trigger();

    QVERIFY(!w->showingTally());
    QCOMPARE(periodSelector(w)->count(), 12);
    QCOMPARE(periodSelector(w)->currentText(), QStringLiteral("７月"));  // today's month
    QCOMPARE(w->monthShown(), 4);
    QCOMPARE(lessonDaysInput(w)->text(), QStringLiteral("14"));
    QCOMPARE(rowTexts(w, 0), (QStringList{"番号", "氏名", "忌引", "出停", "必要日数", "病欠", "事欠", "遅刻", "早退", ""}));
    QCOMPARE(rowTexts(w, 3), (QStringList{"3", "上田", "", "", "14", "4", "", "", "", ""}));
    QVERIFY(grid(w)->isColumnHidden(9));
    QCOMPARE(gridRow(w), 1);
    QCOMPARE(gridColumn(w), 2);
    QVERIFY(lessonDaysInput(w)->isEnabled());
    QVERIFY(fillRequiredDaysButton(w)->isEnabled());
    QVERIFY(fillRequiredDaysAction(w)->isEnabled());
    for (QWidget* off : {static_cast<QWidget*>(printButton(w)), static_cast<QWidget*>(previewButton(w)),
                         static_cast<QWidget*>(detailedViewOption(w)), static_cast<QWidget*>(recordBookViewOption(w))})
        QVERIFY(!off->isEnabled());
    QVERIFY(!printAction(w)->isEnabled());
    QVERIFY(!previewAction(w)->isEnabled());

    // 各月入力 while on another month keeps that month before going to today's.
    choose(w, 1);
    typeAt(w, 2, 8, QStringLiteral("3"));
    monthlyInputButton(w)->click();
    QCOMPARE(env.data.attendance[2][2][7], 3);
    QCOMPARE(periodSelector(w)->currentText(), QStringLiteral("７月"));
}

void AttendanceTallyTest::storeAndPreviewOfTheSheet()
{
    TestEnv env;
    startClass(env, QDate(2026, 6, 15));
    AttendanceWindow* w = open(env);
    typeLessonDays(w, QStringLiteral("20"));
    leaveLessonDays(w);
    typeAt(w, 1, 2, QStringLiteral("1"));
    typeAt(w, 2, 5, QStringLiteral("2"));
    const QString copy = env.dir.path() + QStringLiteral("/stored.mdb");
    env.reports->setStoreObserver([&copy](const QString& path) {
        QFile::remove(copy);
        QFile::copy(path, copy);
    });
    env.ui.previewFolder = env.dir.path();

    tallyButton(w, 3)->click();
    showView(w, View::RecordBook);
    previewButton(w)->click();
    QCOMPARE(env.ui.previews.size(), 1);
    QCOMPARE(env.ui.previews.first().title, QStringLiteral("出欠集計-年度末集計"));
    QVERIFY(QFile::exists(env.ui.previews.first().pdfPath));
    QVERIFY(!QFile::exists(env.programFolder() + QStringLiteral("/Shuseki.mdb")));
    QVERIFY(env.ui.messages.isEmpty());

    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("check"));
        db.setDatabaseName(copy);
        QVERIFY(db.open());
        QSqlQuery query(db);
        QVERIFY(query.exec(QStringLiteral("SELECT * FROM Titles")));
        QVERIFY(query.next());
        const QSqlRecord titles = query.record();
        QCOMPARE(titles.count(), 3);
        QCOMPARE(titles.fieldName(0), QStringLiteral("Title"));
        QCOMPARE(titles.fieldName(1), QStringLiteral("Mode"));
        QCOMPARE(titles.fieldName(2), QStringLiteral("JugyoSu"));
        QCOMPARE(query.value(0).toString(), QStringLiteral("【出欠集計一覧表】"));
        QCOMPARE(query.value(1).toString(), QStringLiteral("年度末集計"));
        QCOMPARE(query.value(2).toString(), QStringLiteral("20"));
        QVERIFY(!query.next());

        // Field names do not distinguish case: the rows read under "datas1".."datas8".
        QVERIFY(query.exec(QStringLiteral("SELECT Number, Name, datas1, datas2, datas3, datas4, datas5, datas6, datas7, "
                                          "datas8 FROM Datas ORDER BY rowid")));
        QList<QStringList> rows;
        while (query.next()) {
            QStringList row;
            for (int c = 0; c < 10; ++c)
                row << query.value(c).toString();
            rows << row;
        }
        QCOMPARE(rows.size(), 4);
        QCOMPARE(rows[0], (QStringList{"番号", "氏名", "授業日数", "忌引出停", "必要日数", "欠席日数", "出席日数", "遅刻", "早退", "出席日数"}));
        QCOMPARE(rows[1], (QStringList{"1", "青木", "20", "1", "19", "0", "19", "0", "0", " "}));
        QCOMPARE(rows[2], (QStringList{"2", "石田", "20", "0", "20", "2", "18", "0", "0", " "}));
        QCOMPARE(rows[3], (QStringList{"3", "上田", "20", "0", "20", "0", "20", "0", "0", " "}));
        QVERIFY(query.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index' ORDER BY name")));
        QStringList indexes;
        while (query.next())
            indexes << query.value(0).toString();
        QCOMPARE(indexes, (QStringList{"Number", "Title"}));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("check"));

    // The detailed view of term 1 through the menu: the other heading row.
    choose(w, 0);
    showView(w, View::Detailed);
    previewAction(w)->trigger();
    QCOMPARE(env.ui.previews.size(), 2);
    QCOMPARE(env.ui.previews.last().title, QStringLiteral("出欠集計-１学期集計"));
    ReportSheet stored;
    QVERIFY(ReportStore::read(copy, stored).ok);
    QCOMPARE(stored.titleValues, (QStringList{"【出欠集計一覧表】", "１学期集計", "20"}));
    QCOMPARE(stored.rows.size(), 4);
    QCOMPARE(stored.rows[0], (QStringList{"番号", "氏名", "忌引", "出停", "必要日数", "病欠", "事欠", "遅刻", "早退", "出席日数"}));
    QCOMPARE(stored.rows[1], (QStringList{"1", "青木", "1", "0", "19", "0", "0", "0", "0", "19"}));
}

void AttendanceTallyTest::sheetFromTheModelForExport()
{
    TestEnv env;
    startClass(env, QDate(2026, 6, 15));
    AttendanceWindow* w = open(env);
    typeTheYear(w);
    const QString copy = env.dir.path() + QStringLiteral("/stored.mdb");
    env.reports->setStoreObserver([&copy](const QString& path) { QFile::copy(path, copy); });
    tallyButton(w, 1)->click();
    showView(w, View::RecordBook);
    previewButton(w)->click();
    ReportSheet printed;
    QVERIFY(ReportStore::read(copy, printed).ok);

    // The sheet built straight from the model is the one the window prints.
    const ReportSheet fromModel = AttendanceTally::sheet(env.data, 1, View::RecordBook);
    QCOMPARE(fromModel.stem, QStringLiteral("Shuseki"));
    QCOMPARE(fromModel.titleFields, printed.titleFields);
    QCOMPARE(fromModel.dataFields, (QStringList{"Number", "Name", "Datas1", "Datas2", "Datas3", "Datas4", "Datas5",
                                                "Datas6", "Datas7", "Datas8"}));
    QCOMPARE(fromModel.titleValues, printed.titleValues);
    QCOMPARE(fromModel.rows, printed.rows);
    QCOMPARE(fromModel.rows[3], (QStringList{"3", "上田", "79", "0", "79", "5", "74", "0", "1", " "}));
}

void AttendanceTallyTest::closingFromATallyWritesTheModel()
{
    TestEnv env;
    startClass(env, QDate(2026, 6, 15), 1);
    AttendanceWindow* w = open(env);
    typeLessonDays(w, QStringLiteral("21"));
    leaveLessonDays(w);
    typeAt(w, 1, 7, QStringLiteral("3"));
    tallyButton(w, 0)->click();
    w->subWindow()->close();
    QVERIFY(env.ui.messages.isEmpty());
    QStringList expected = attendanceLines(attendanceYear(1));
    expected[4] = QStringLiteral("21");
    expected[5] = QStringLiteral("0,0,21,0,0,3,0");
    QCOMPARE(env.readBytes(QStringLiteral("shuketu.dat")), crlf(expected));
}

void AttendanceTallyTest::figuresAreNumbersWorkedOutByHand_data()
{
    QTest::addColumn<int>("tally");
    QTest::addColumn<bool>("recordBook");
    QTest::addColumn<int>("lessonDays");
    QTest::addColumn<QString>("aoki");
    QTest::addColumn<QString>("ishida");
    // Detailed: 忌引, 出停, 必要日数, 病欠, 事欠, 遅刻, 早退, 出席日数. Record book:
    // 授業日数, 忌引出停, 必要日数, 欠席日数, 出席日数, 遅刻, 早退, and no figure.
    QTest::newRow("term 1 detailed") << 0 << false << 30 << "1,0,29,2,1,3,2,26" << "0,2,28,1,1,0,1,26";
    QTest::newRow("term 1 record book") << 0 << true << 30 << "30,1,29,3,26,3,2," << "30,2,28,2,26,0,1,";
    QTest::newRow("term 2 detailed") << 1 << false << 3 << "0,0,3,0,0,1,0,3" << "0,3,0,1,0,0,0,-1";
    QTest::newRow("term 2 record book") << 1 << true << 3 << "3,0,3,0,3,1,0," << "3,3,0,1,-1,0,0,";
    QTest::newRow("term 3 detailed") << 2 << false << 15 << "0,0,15,5,2,0,0,8" << "0,0,15,0,0,0,0,15";
    QTest::newRow("term 3 record book") << 2 << true << 15 << "15,0,15,7,8,0,0," << "15,0,15,0,15,0,0,";
    QTest::newRow("year detailed") << 3 << false << 48 << "1,0,47,7,3,4,2,37" << "0,5,43,2,1,0,1,40";
    QTest::newRow("year record book") << 3 << true << 48 << "48,1,47,10,37,4,2," << "48,5,43,3,40,0,1,";
}

// The tally's numbers, the grid that shows them and the sheet that prints them, all
// against figures worked out by hand from the file.
void AttendanceTallyTest::figuresAreNumbersWorkedOutByHand()
{
    QFETCH(int, tally);
    QFETCH(bool, recordBook);
    QFETCH(int, lessonDays);
    QFETCH(QString, aoki);
    QFETCH(QString, ishida);
    const View view = recordBook ? View::RecordBook : View::Detailed;
    const QByteArray file = crlf(attendanceLines(fourMonths()));

    // The tally of the class read from the file: numbers, none where the view has none.
    ClassData data;
    data.pupilCount = 2;
    data.pupilName[1] = QStringLiteral("青木");
    QVERIFY(AttendanceFile::parse(file, 2, data).ok);
    const AttendanceTally::Table table = AttendanceTally::table(data, tally, view);
    QCOMPARE(table.lessonDays, lessonDays);
    QCOMPARE(table.rows.size(), 2);
    QCOMPARE(figuresOf(table.rows[0]), aoki);
    QCOMPARE(figuresOf(table.rows[1]), ishida);

    // The sheet writes the same numbers; an empty text (a name, a figure) is stored as " ".
    const ReportSheet sheet = AttendanceTally::sheet(table);
    QCOMPARE(sheet.titleValues[2], QString::number(lessonDays));
    const auto stored = [](const QString& figures) {
        QStringList texts = figures.split(QLatin1Char(','));
        for (QString& text : texts)
            text = text.isEmpty() ? QStringLiteral(" ") : text;
        return texts;
    };
    QCOMPARE(sheet.rows[1], QStringList({"1", "青木"}) + stored(aoki));
    QCOMPARE(sheet.rows[2], QStringList({"2", " "}) + stored(ishida));

    // The window's tally holds the same numbers and shows them as the sheet has them.
    TestEnv env;
    startClass(env, QDate(2026, 9, 1), 2);
    env.writeFile(QStringLiteral("shuketu.dat"), attendanceLines(fourMonths()));
    AttendanceWindow* w = open(env);
    tallyButton(w, tally)->click();
    showView(w, view);
    QCOMPARE(lessonDaysInput(w)->text(), QString::number(lessonDays));
    const QAbstractItemModel* shown = grid(w)->model();
    for (int p = 1; p <= 2; ++p) {
        const QStringList figures = (p == 1 ? aoki : ishida).split(QLatin1Char(','));
        for (int c = 2; c < 10; ++c) {
            const QModelIndex cell = shown->index(p - 1, c);
            const QString figure = figures[c - 2];
            QCOMPARE(cell.data().toString(), figure);
            QCOMPARE(cell.data(Qt::EditRole), figure.isEmpty() ? QVariant() : QVariant(figure.toInt()));
        }
    }
}

// The named categories are the file's columns: each column of one pupil's line holds
// its own number, and each named sum finds it.
void AttendanceTallyTest::namedSumsFollowTheFilesColumns()
{
    const DataFiles::Attendance year = DataFiles::attendanceYear(
        1, [](int m) { return m == 2 ? 30 : 0; },
        [](int m, int) { return m == 2 ? QList<int>{1, 2, 30, 4, 5, 6, 7} : QList<int>(7, 0); });
    ClassData data;
    data.pupilCount = 1;
    QVERIFY(AttendanceFile::parse(crlf(attendanceLines(year)), 1, data).ok);
    const AttendanceTally::Sums sums = AttendanceTally::sum(data, AttendanceTally::range(0));
    const AttendanceTally::PupilSums& pupil = sums.pupils[1];
    QCOMPARE(sums.lessonDays, 30);
    QCOMPARE(pupil[Category::Mourning], 1);
    QCOMPARE(pupil[Category::Suspension], 2);
    QCOMPARE(pupil[Category::RequiredDays], 30);
    QCOMPARE(pupil[Category::AbsentIll], 4);
    QCOMPARE(pupil[Category::AbsentOther], 5);
    QCOMPARE(pupil[Category::Late], 6);
    QCOMPARE(pupil[Category::LeftEarly], 7);
    QCOMPARE(pupil.leaveDays(), 3);        // 1 + 2
    QCOMPARE(pupil.absenceDays(), 9);      // 4 + 5
    QCOMPARE(pupil.attendanceDays(), 21);  // 30 - 9
    // A tally of no months sums nothing.
    QCOMPARE(AttendanceTally::sum(data, AttendanceTally::range(4)).lessonDays, 0);
    QVERIFY(AttendanceTally::range(4).isEmpty());
}

QTEST_MAIN(AttendanceTallyTest)
#include "test_attendance_tally.moc"
