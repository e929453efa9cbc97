// The lesson-days box of the attendance window: leaving it fills in every 必要日数
// again only when its number changed, so that values typed through the value prompt
// survive a click into the box and out again, and an emptied box changes nothing.

#include "AttendanceDriver.h"

using namespace AttendanceDriver;

class AttendanceLessonDaysTest : public QObject {
    Q_OBJECT
private slots:
    void onlyANewNumberRefillsTheRequiredDays()
    {
        TestEnv env;
        startClass(env, QDate(2026, 6, 15));
        const DataFiles::Attendance year = DataFiles::attendanceYear(
            3, [](int m) { return m == 3 ? 20 : 0; },
            [](int m, int p) { return m == 3 ? QList<int>{p - 1, 0, 21 - p, 0, 0, 0, 0} : QList<int>(7, 0); });
        env.writeFile(QStringLiteral("shuketu.dat"), DataFiles::attendanceLines(year));
        AttendanceWindow* w = open(env);
        QCOMPARE(lessonDaysInput(w)->text(), QStringLiteral("20"));

        // A school trip: the teacher gives pupil 2 fifteen required days by the prompt.
        promptAt(w, 2, 4, QStringLiteral("15"));
        QCOMPARE(cellText(w, 2, 4), QStringLiteral("15"));

        // Into the box and out again, then the same number typed again: kept.
        lessonDaysInput(w)->setFocus(Qt::MouseFocusReason);
        leaveLessonDays(w);
        typeLessonDays(w, QStringLiteral("20"));
        leaveLessonDays(w);
        QCOMPARE(cellText(w, 2, 4), QStringLiteral("15"));
        // An emptied box gives nothing to count from: no "-1" appears.
        typeLessonDays(w, QString());
        leaveLessonDays(w);
        QCOMPARE(cellText(w, 1, 4), QStringLiteral("20"));
        QCOMPARE(cellText(w, 2, 4), QStringLiteral("15"));
        QCOMPARE(cellText(w, 3, 4), QStringLiteral("18"));

        // What the prompt gave reaches the file.
        typeLessonDays(w, QStringLiteral("20"));
        leaveLessonDays(w);
        closeButton(w)->click();
        QVERIFY(env.ui.messages.isEmpty());
        QCOMPARE(env.readLines(QStringLiteral("shuketu.dat")).mid(8, 4),
                 (QStringList{"20", "0,0,20,0,0,0,0", "1,0,15,0,0,0,0", "2,0,18,0,0,0,0"}));
    }
};

QTEST_MAIN(AttendanceLessonDaysTest)
#include "test_attendance_lessondays.moc"
