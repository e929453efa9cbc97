// The month of the attendance grid is a model of numbers: what the teacher types
// lands in it as numbers, shows in the grid as text and reaches the file as
// numbers; a month read back shows what was saved and is saved again unchanged.

#include "AttendanceDriver.h"
#include "attendance/AttendanceMonthModel.h"

using namespace AttendanceDriver;
using namespace DataFiles;
using AttendanceTally::Category;

namespace {

AttendanceMonthModel* monthOf(AttendanceWindow* w)
{
    return qobject_cast<AttendanceMonthModel*>(grid(w)->model());
}

// A cell's count as the test data writes it: "" for an empty cell, else its number.
QString countOf(const AttendanceMonthModel* model, int pupil, Category category)
{
    const std::optional<int> count = model->count(pupil, category);
    return count ? QString::number(*count) : QString();
}

}  // namespace

class AttendanceModelTest : public QObject {
    Q_OBJECT
private slots:
    void whatIsTypedLandsAsNumbers_data();
    void whatIsTypedLandsAsNumbers();
    void requiredDaysFilledAreNumbers();
    void aSavedMonthReadsBackUnchanged();
    void aTallyLeavesTheMonthAlone();
};

void AttendanceModelTest::whatIsTypedLandsAsNumbers_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("means");  // "keys" one digit a key, "prompt" one value a prompt
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<QString>("shown");          // the cell typed into
    QTest::addColumn<QString>("requiredShown");  // 必要日数 of the row
    QTest::addColumn<QString>("line");           // the pupil's line in the file
    QTest::addColumn<QString>("refusal");        // the message of counts that cannot be
    // June with 5 lesson days, which every 必要日数 takes; the cell starts empty.
    QTest::newRow("病欠 by a key") << 5 << "keys" << QStringList{"3"} << "3" << "5" << "0,0,5,3,0,0,0" << "";
    QTest::newRow("the digit 0 empties") << 5 << "keys" << QStringList{"30"} << "" << "5" << "0,0,5,0,0,0,0" << "";
    QTest::newRow("full-width digit") << 8 << "keys" << QStringList{"７"} << "7" << "5" << "0,0,5,0,0,0,7" << "";
    QTest::newRow("a zero by the prompt") << 5 << "prompt" << QStringList{"0"} << "0" << "5" << "0,0,5,0,0,0,0" << "";
    QTest::newRow("an empty prompt empties") << 6 << "prompt" << QStringList{"4", ""} << "" << "5" << "0,0,5,0,0,0,0" << "";
    QTest::newRow("遅刻 999") << 7 << "prompt" << QStringList{"999"} << "999" << "5" << "0,0,5,0,0,999,0" << "";
    QTest::newRow("忌引 leaves 3") << 2 << "keys" << QStringList{"2"} << "2" << "3" << "2,0,3,0,0,0,0" << "";
    QTest::newRow("忌引 leaves none") << 2 << "keys" << QStringList{"5"} << "5" << "" << "5,0,0,0,0,0,0" << "";
    QTest::newRow("忌引 by the prompt writes 0") << 2 << "prompt" << QStringList{"5"} << "5" << "0" << "5,0,0,0,0,0,0" << "";
    // Counts that cannot be are refused: the row stays as it was.
    const QString refused = QStringLiteral("６月　1番 青木：%1。\nこの数は入力できません。");
    QTest::newRow("出停 over the lesson days") << 3 << "keys" << QStringList{"9"} << "" << "5" << "0,0,5,0,0,0,0"
        << refused.arg(QStringLiteral("忌引 0日と出停 9日で計 9日となり、授業日数 5日を超えます"));
    QTest::newRow("出停 12 by the prompt") << 3 << "prompt" << QStringList{"１２"} << "" << "5" << "0,0,5,0,0,0,0"
        << refused.arg(QStringLiteral("忌引 0日と出停 12日で計 12日となり、授業日数 5日を超えます"));
    QTest::newRow("必要日数 by the prompt") << 4 << "prompt" << QStringList{"4"} << "4" << "4" << "0,0,4,0,0,0,0" << "";
    QTest::newRow("必要日数 over the lesson days") << 4 << "prompt" << QStringList{"18"} << "5" << "5" << "0,0,5,0,0,0,0"
        << refused.arg(QStringLiteral("忌引 0日、出停 0日、必要日数 18日で計 18日となり、授業日数 5日を超えます"));
    QTest::newRow("病欠 over 必要日数") << 5 << "keys" << QStringList{"6"} << "" << "5" << "0,0,5,0,0,0,0"
        << refused.arg(QStringLiteral("病欠 6日と事欠 0日で計 6日となり、必要日数 5日を超えます"));
}

void AttendanceModelTest::whatIsTypedLandsAsNumbers()
{
    QFETCH(int, column);
    QFETCH(QString, means);
    QFETCH(QStringList, inputs);
    QFETCH(QString, shown);
    QFETCH(QString, requiredShown);
    QFETCH(QString, line);
    QFETCH(QString, refusal);
    TestEnv env;
    startClass(env, QDate(2026, 6, 15));
    AttendanceWindow* w = open(env);
    typeLessonDays(w, QStringLiteral("5"));
    leaveLessonDays(w);
    for (const QString& input : inputs) {
        if (means == QLatin1String("keys"))
            typeAt(w, 1, column, input);
        else
            promptAt(w, 1, column, input);
    }

    // The grid shows the text; the model holds the number, or nothing for an empty cell.
    const AttendanceMonthModel* model = monthOf(w);
    QVERIFY(model);
    const Category category = *AttendanceMonthModel::categoryAt(column);
    QCOMPARE(cellText(w, 1, column), shown);
    QCOMPARE(cellText(w, 1, 4), requiredShown);
    QCOMPARE(countOf(model, 1, category), shown);
    QCOMPARE(countOf(model, 1, Category::RequiredDays), requiredShown);
    const QVariant number = grid(w)->model()->index(0, column).data(Qt::EditRole);
    QCOMPARE(number, shown.isEmpty() ? QVariant() : QVariant(shown.toInt()));
    QCOMPARE(model->lessonDays(), std::optional<int>(5));
    // The other pupils keep the lesson days as 必要日数 and nothing else.
    for (Category other : AttendanceTally::categories)
        QCOMPARE(countOf(model, 2, other), other == Category::RequiredDays ? QStringLiteral("5") : QString());

    QCOMPARE(env.ui.messageTexts(), refusal.isEmpty() ? QStringList() : QStringList{refusal});

    // Closing writes the numbers; an empty cell is a 0.
    env.ui.clear();
    closeButton(w)->click();
    QVERIFY(env.ui.messages.isEmpty());
    QStringList expected = attendanceLines(attendanceYear(3));
    expected[8] = QStringLiteral("5");
    expected[9] = line;
    expected[10] = expected[11] = QStringLiteral("0,0,5,0,0,0,0");
    QCOMPARE(env.readBytes(QStringLiteral("shuketu.dat")), crlf(expected));
}

void AttendanceModelTest::requiredDaysFilledAreNumbers()
{
    TestEnv env;
    startClass(env, QDate(2026, 6, 15));
    AttendanceWindow* w = open(env);
    typeAt(w, 1, 2, QStringLiteral("2"));
    promptAt(w, 2, 3, QStringLiteral("12"));
    promptAt(w, 3, 2, QStringLiteral("7"));
    typeLessonDays(w, QStringLiteral("19"));
    fillRequiredDaysButton(w)->click();

    // 19 - 2, 19 - 12 and 19 - 7: numbers in the model, from the lesson days typed.
    const AttendanceMonthModel* model = monthOf(w);
    QCOMPARE(model->lessonDays(), std::optional<int>(19));
    QCOMPARE(model->requiredDaysBasis(), 19);
    QCOMPARE(model->count(1, Category::RequiredDays), std::optional<int>(17));
    QCOMPARE(model->count(2, Category::RequiredDays), std::optional<int>(7));
    QCOMPARE(model->count(3, Category::RequiredDays), std::optional<int>(12));
    // Seven lesson days leave pupil 3 none: an empty cell, a 0 in the file.
    typeLessonDays(w, QStringLiteral("7"));
    leaveLessonDays(w);
    QCOMPARE(model->count(3, Category::RequiredDays), std::nullopt);
    QCOMPARE(cellText(w, 3, 4), QString());
    QCOMPARE(model->count(2, Category::RequiredDays), std::optional<int>(-5));
    QCOMPARE(cellText(w, 2, 4), QStringLiteral("-5"));

    // 出停 12 of 7 lesson days cannot be saved: the window names it and stays;
    // once 出停 is 7, it closes.
    const QByteArray before = env.readBytes(QStringLiteral("shuketu.dat"));
    closeButton(w)->click();
    QCOMPARE(env.ui.messageTexts(), QStringList{"６月　2番 石田：忌引 0日と出停 12日で計 12日となり、授業日数 7日を超えます。"
                                                "\n\n数を直してから閉じてください。"});
    QCOMPARE(env.readBytes(QStringLiteral("shuketu.dat")), before);
    promptAt(w, 2, 3, QStringLiteral("7"));
    closeButton(w)->click();
    QCOMPARE(env.readLines(QStringLiteral("shuketu.dat")).mid(8, 4),
             (QStringList{"7", "2,0,5,0,0,0,0", "0,7,0,0,0,0,0", "7,0,0,0,0,0,0"}));
}

// The grid shows a month as the file holds it: required days below zero (more leave
// than lesson days, from a file saved before such counts were refused) included.
// Such a month is not saved until it is mended; then a save writes the rest
// unchanged.
void AttendanceModelTest::aSavedMonthReadsBackUnchanged()
{
    TestEnv env;
    startClass(env, QDate(2026, 6, 15));
    QStringList lines = attendanceLines(attendanceYear(3));
    lines[8] = QStringLiteral("5");
    lines[9] = QStringLiteral("0,9,-4,0,0,0,0");
    lines[10] = QStringLiteral("\"1\",\"0\",\"4\",\"0\",\"2\",\"0\",\"0\"");  // quoted, as a new class has it
    env.writeFile(QStringLiteral("shuketu.dat"), lines);
    AttendanceWindow* w = open(env);
    QCOMPARE(rowTexts(w, 1).mid(2, 7), (QStringList{"", "9", "-4", "", "", "", ""}));
    QCOMPARE(monthOf(w)->count(1, Category::RequiredDays), std::optional<int>(-4));
    QCOMPARE(rowTexts(w, 2).mid(2, 7), (QStringList{"1", "", "4", "", "2", "", ""}));

    choose(w, 1);  // May, and back to June
    choose(w, 2);
    QCOMPARE(rowTexts(w, 1).mid(2, 7), (QStringList{"", "9", "-4", "", "", "", ""}));
    closeButton(w)->click();
    QCOMPARE(env.ui.messageTexts(), QStringList{"６月　1番 青木：忌引 0日と出停 9日で計 9日となり、授業日数 5日を超えます。"
                                                "\n\n数を直してから閉じてください。"});
    QCOMPARE(env.readBytes(QStringLiteral("shuketu.dat")), crlf(lines));
    env.ui.clear();
    promptAt(w, 1, 3, QStringLiteral("5"));
    closeButton(w)->click();
    QVERIFY(env.ui.messages.isEmpty());
    lines[9] = QStringLiteral("0,5,0,0,0,0,0");
    lines[10] = QStringLiteral("1,0,4,0,2,0,0");
    QCOMPARE(env.readBytes(QStringLiteral("shuketu.dat")), crlf(lines));
}

// The box shows a tally's lesson days while a tally is shown: they are no month's,
// and returning to monthly input shows the month as stored.
void AttendanceModelTest::aTallyLeavesTheMonthAlone()
{
    TestEnv env;
    startClass(env, QDate(2026, 6, 15));
    AttendanceWindow* w = open(env);
    typeLessonDays(w, QStringLiteral("21"));
    leaveLessonDays(w);
    typeAt(w, 2, 6, QStringLiteral("3"));
    choose(w, 0);
    typeLessonDays(w, QStringLiteral("18"));
    leaveLessonDays(w);
    tallyButton(w, 0)->click();
    QCOMPARE(lessonDaysInput(w)->text(), QStringLiteral("39"));
    QCOMPARE(env.data.lessonDays[1], 18);
    QCOMPARE(env.data.lessonDays[3], 21);

    monthlyInputButton(w)->click();
    QCOMPARE(w->monthShown(), 3);
    QCOMPARE(monthOf(w)->lessonDays(), std::optional<int>(21));
    QCOMPARE(monthOf(w)->count(2, Category::AbsentOther), std::optional<int>(3));
    closeButton(w)->click();
    const QStringList saved = env.readLines(QStringLiteral("shuketu.dat"));
    QCOMPARE(saved[0], QStringLiteral("18"));
    QCOMPARE(saved[8], QStringLiteral("21"));
    QCOMPARE(saved[10], QStringLiteral("0,0,21,0,3,0,0"));
}

QTEST_MAIN(AttendanceModelTest)
#include "test_attendance_model.moc"
