// Attendance with a full class of 45 pupils: a month change in the window and each
// of the four tallies, filled into the grid and painted.

#include "Bench.h"
#include "TestEnv.h"
#include "attendance/AttendanceWindow.h"

#include <QComboBox>
#include <QTableWidget>
#include <QRadioButton>

KAZANE_BENCH("attendance")
{
    TestEnv env;
    QStringList names;
    for (int p = 1; p <= 45; ++p)
        names << QStringLiteral("児童%1").arg(p);
    env.makeClass(names);
    for (int m = 1; m <= 12; ++m) {
        env.data.lessonDays[m] = 18 + m % 4;
        for (int p = 1; p <= 45; ++p)
            for (int k = 1; k <= 7; ++k)
                env.data.attendance[m][p][k] = (m + p + k) % 4;
    }
    AttendanceWindow window(*env.ctx);
    window.prepare();
    window.show();

    int item = 0;
    Bench::measure(QStringLiteral("attendance: month change, 45 pupils"), 20, [&] {
        item = (item + 1) % 12;
        window.CbMonth->setCurrentIndex(item);
        window.CbMonth_Click();
        window.Grid1->grab();
    });
    for (int index = 0; index < 4; ++index) {
        window.cmdShukei_Click(index);
        for (int view = 0; view < 2; ++view) {
            window.OpMode[view]->setChecked(true);
            Bench::measure(QStringLiteral("attendance: %1 %2, 45 pupils")
                               .arg(AttendanceTally::tallyName(index), view == 0 ? QStringLiteral("詳細表示") : QStringLiteral("指導要録用")),
                           20, [&] {
                               window.SetShukei(index);
                               window.Grid1->grab();
                           });
        }
    }
    window.cmdInput_Click();
    window.hide();
}
