// Attendance with a full class of 45 pupils: a month change in the window and each
// of the four tallies, filled into the grid and painted.

#include "AttendanceDriver.h"
#include "Bench.h"
#include "DataFiles.h"
#include "TestEnv.h"
#include "attendance/AttendanceWindow.h"

using namespace AttendanceDriver;

KAZANE_BENCH("attendance")
{
    TestEnv env;
    env.makeClass(DataFiles::pupilNames(45));
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
        choose(&window, item);
        grid(&window)->grab();
    });
    for (int index = 0; index < 4; ++index) {
        tallyButton(&window, index)->click();
        for (int view = 0; view < 2; ++view) {
            (view == 0 ? detailedViewOption(&window) : recordBookViewOption(&window))->setChecked(true);
            Bench::measure(QStringLiteral("attendance: %1 %2, 45 pupils")
                               .arg(AttendanceTally::tallyName(index), view == 0 ? QStringLiteral("詳細表示") : QStringLiteral("指導要録用")),
                           20, [&] {
                               choose(&window, index);
                               grid(&window)->grab();
                           });
        }
    }
    monthlyInputButton(&window)->click();
    window.hide();
}
