// Timings of the tallies on the largest unit: 45 pupils, 60 tests of 4 columns.

#include "Bench.h"
#include "DataFiles.h"
#include "TestEnv.h"
#include "reports/TestPickerDialog.h"
#include "reports/PupilResultsWindow.h"
#include "tally/OverallTallyText.h"
#include "reports/OverallTallyWindow.h"
#include "reports/StatisticsWindow.h"
#include "reports/TallyGrid.h"
#include "app/MainWindow.h"

#include <QComboBox>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

using namespace DataFiles;

namespace {

void writeLargestUnit(TestEnv& env)
{
    env.makeClass(pupilNames(45));
    QList<Test> tests;
    for (int t = 1; t <= 60; ++t) {
        Test test{QStringLiteral("単元テスト%1").arg(t), {}};
        for (int c = 1; c <= 4; ++c) {
            Column column{c, 10 * (c + 1), {}};
            for (int p = 1; p <= 45; ++p)
                column.scores << ((p * 7 + t * 3 + c) % 9 == 0 ? -1 : (p * 13 + t * 5 + c * 3) % (column.fullMarks + 1));
            test.columns << column;
        }
        tests << test;
    }
    env.writeFile(QStringLiteral("国語.dat"), scoreLines(tests));
}

}  // namespace

KAZANE_BENCH("tallies")
{
    TestEnv env;
    writeLargestUnit(env);
    MainWindow& window = env.startMainWindow();

    env.ui.modalHandlers.push_back([](QDialog& d) { d.findChild<QPushButton*>(QStringLiteral("allButton"))->click(); });
    auto* overall = qobject_cast<OverallTallyWindow*>(window.openOverallTallyWindow());
    const QList<int> chosen = overall->tally()->chosenTests;
    Bench::measure(QStringLiteral("overall tally: compute and fill the grid (45 x 240 columns)"), 30, [&] {
        const OverallTally tally = computeOverallTally(env.data, env.data.subject, chosen);
        TallyGrid::setRows(overall->findChild<QTableWidget*>(QStringLiteral("pupilGrid")), overallGridRows(tally, OverallOrder{}, ShownFigures{}));
    });
    Bench::measure(QStringLiteral("overall tally: change of order"), 30, [&] {
        auto* byNumber = overall->findChild<QRadioButton*>(QStringLiteral("numberOrder"));
        overall->findChild<QRadioButton*>(byNumber->isChecked() ? QStringLiteral("scoreOrder") : QStringLiteral("numberOrder"))->click();
    });
    overall->findChild<QPushButton*>(QStringLiteral("closeButton"))->click();

    auto* kojin = qobject_cast<PupilResultsWindow*>(window.openPupilResultsWindow());
    int pupil = 0;
    Bench::measure(QStringLiteral("individual results: switch pupil (60 tests)"), 30, [&] {
        pupil = (pupil + 1) % 45;
        kojin->findChild<QComboBox*>(QStringLiteral("pupilChooser"))->setCurrentIndex(pupil);
    });
    Bench::measure(QStringLiteral("individual results: open (load and tally the class)"), 100, [&] {
        auto* w = window.openPupilResultsWindow();
        w->closeWindow();
    });
    kojin->findChild<QPushButton*>(QStringLiteral("closeButton"))->click();

    Bench::measure(QStringLiteral("statistics window: open (45 x 240 cells)"), 50, [&] {
        auto* w = window.openStatisticsWindow(true);
        w->closeWindow();
    });
}
