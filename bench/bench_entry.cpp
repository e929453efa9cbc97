// Score entry: a key press in the grid of a full class, and opening the screen on
// a full set of tests.

#include "Bench.h"
#include "DataFiles.h"
#include "EntryTestSupport.h"

#include <QApplication>
#include <QTest>

namespace {

using namespace DataFiles;

// `tests` tests of four columns, every score filled in.
QStringList fullSet(int tests)
{
    Tests set;
    for (int t = 1; t <= tests; ++t) {
        Test test{QStringLiteral("テスト%1").arg(t), {}};
        for (int c = 1; c <= 4; ++c) {
            Column column{c, 100, {}};
            for (int p = 1; p <= 45; ++p)
                column.scores << (p * 7 + t + c) % 101;
            test.columns << column;
        }
        set << test;
    }
    return scoreLines(set);
}

}  // namespace

KAZANE_BENCH("entry")
{
    TestEnv env;
    env.makeClass(pupilNames(45));
    env.writeFile(QStringLiteral("国語.dat"), fullSet(60));
    MainWindow& window = env.startMainWindow();

    Bench::measure(QStringLiteral("entry: open the screen on 60 tests x 4 columns, 45 pupils, and close it"), 50, [&] {
        EntryTest::EntryScreen entry(qobject_cast<ScoreEntryWindow*>(window.openScoreEntryWindow()));
        QApplication::processEvents();
        entry.closeWithoutSavingButton->click();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    });

    EntryTest::EntryScreen entry(qobject_cast<ScoreEntryWindow*>(window.openScoreEntryWindow()));
    QApplication::processEvents();
    // The cursor is placed directly on the view, as the arrow keys would place it.
    const auto placeCursor = [&](int row, int col) { entry.grid->setCurrentIndex(entry.grid->model()->index(row - 1, col)); };
    int row = 0;
    Bench::measure(QStringLiteral("entry: a digit key in a 45-pupil grid, repaint included"), 16, [&] {
        placeCursor(row % 45 + 1, 3 + row % 4);
        ++row;
        QTest::keyClick(entry.grid, '7');
        QApplication::processEvents();
    }, 101);
    Bench::measure(QStringLiteral("entry: the second digit (check, total, advance, scroll), repaint included"), 16, [&] {
        placeCursor(row % 45 + 1, 3);
        ++row;
        QTest::keyClick(entry.grid, '4');
        QApplication::processEvents();
        QTest::keyClick(entry.grid, '2');
        QApplication::processEvents();
    }, 101);
    Bench::measure(QStringLiteral("entry: \"+\" fills a row of four columns, repaint included"), 16, [&] {
        placeCursor(row % 45 + 1, 3);
        ++row;
        QTest::keyClick(entry.grid, '+');
        QApplication::processEvents();
    }, 101);
    entry.closeWithoutSavingButton->click();
}
