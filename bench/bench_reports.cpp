// Timings of the per-test tally and of the report path.

#include "Bench.h"
#include "platform/SheetPdf.h"
#include "TestEnv.h"
#include "core/RosterFile.h"
#include "core/ScoreFile.h"
#include "platform/ReportEngine.h"
#include "reports/TestDisplay.h"
#include "reports/TestTally.h"

#include <QApplication>
#include <QPrinter>
#include <QTemporaryDir>

namespace {

// A class of 45 with 60 tests of four columns each in 国語.
void fillClass(TestEnv& env)
{
    QStringList names;
    for (int p = 1; p <= 45; ++p)
        names.append(QStringLiteral("児童%1").arg(p));
    env.makeClass(names);
    TestSetRecord set;
    set.StoredTestCount = 60;
    for (int t = 1; t <= 60; ++t) {
        set.TestName[t] = QStringLiteral("第%1回 まとめのテスト").arg(t);
        set.ViewpointCount[t] = 4;
        for (int c = 1; c <= 4; ++c) {
            set.ViewpointKind[t][c] = c;
            set.FullMarks[t][c] = 25;
            for (int p = 1; p <= 45; ++p)
                set.Score[t][c][p] = (p * 7 + t * 3 + c) % 30 - 4;  // some absent (below 0)
        }
    }
    QByteArray bytes;
    ScoreFile::build(set, 45, bytes);
    env.writeBytes(QStringLiteral("国語.dat"), bytes);
    LoadRoster(env.data);
    LoadScores(env.data);
}

}  // namespace

KAZANE_BENCH("reports")
{
    TestEnv env;
    fillClass(env);

    Bench::measure(QStringLiteral("per-test tally window opens (45 pupils, 60 tests)"), 30, [&] {
        TestDisplay window(*env.ctx);
        window.Form_Load();
        window.show();
        QApplication::processEvents();
    });
    Bench::measure(QStringLiteral("per-test tally figures of one test (45 pupils)"), 5, [&] {
        computeTestTally(env.data, 30, TallyOrder::Score);
    });

    const TestTally tally = computeTestTally(env.data, 1, TallyOrder::Score);
    const ReportSheet sheet = testdispSheet(tally, testDisplayCaption(env.data));
    ReportEngine engine;
    engine.loadLayout(env.reports->layoutPath(QStringLiteral("testdisp")));
    engine.setSheet(sheet);
    QTemporaryDir dir;
    Bench::measure(QStringLiteral("testdisp sheet of 45 rows rendered to PDF"), 200, [&] {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(QStringLiteral("sheet.pdf")));
        engine.preparePrinter(printer);
        engine.paint(printer);
    });
    Bench::measure(QStringLiteral("testdisp sheet: layout read and PDF written (45 rows)"), 250, [&] {
        SheetPdf::write(sheet, env.reports->layoutPath(sheet.stem), dir.filePath(QStringLiteral("whole.pdf")));
    });
}
