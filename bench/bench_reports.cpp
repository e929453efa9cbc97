// Timings of the per-test tally and of the report path.

#include "Bench.h"
#include "output/PdfWriter.h"
#include "DataFiles.h"
#include "TestEnv.h"
#include "model/RosterFile.h"
#include "model/ScoreFile.h"
#include "output/ReportRenderer.h"
#include "reports/TestTallyWindow.h"
#include "tally/TestTallyText.h"

#include <QApplication>
#include <QPrinter>
#include <QTemporaryDir>

namespace {

// A class of 45 with 60 tests of four columns each in 国語.
void fillClass(TestEnv& env)
{
    env.makeClass(DataFiles::pupilNames(45));
    TestSet set;
    set.count = 60;
    for (int t = 1; t <= 60; ++t) {
        set.name[t] = QStringLiteral("第%1回 まとめのテスト").arg(t);
        set.columnCount[t] = 4;
        for (int c = 1; c <= 4; ++c) {
            set.viewpoint[t][c] = c;
            set.fullMarks[t][c] = 25;
            for (int p = 1; p <= 45; ++p)
                set.score[t][c][p] = (p * 7 + t * 3 + c) % 30 - 4;  // some absent (below 0)
        }
    }
    QByteArray bytes;
    ScoreFile::build(set, 45, bytes);
    env.writeBytes(QStringLiteral("国語.dat"), bytes);
    RosterFile::load(env.data);
    ScoreFile::load(env.data);
}

}  // namespace

KAZANE_BENCH("reports")
{
    TestEnv env;
    fillClass(env);

    Bench::measure(QStringLiteral("per-test tally window opens (45 pupils, 60 tests)"), 30, [&] {
        TestTallyWindow window(*env.ctx);
        window.prepare();
        window.show();
        QApplication::processEvents();
    });
    Bench::measure(QStringLiteral("per-test tally figures of one test (45 pupils)"), 5, [&] {
        computeTestTally(env.data, env.data.subject, 30, TallyOrder::Score);
    });

    const TestTally tally = computeTestTally(env.data, env.data.subject, 1, TallyOrder::Score);
    const ReportSheet sheet = testdispSheet(tally, testDisplayCaption(env.data));
    ReportRenderer engine;
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
        PdfWriter::write(sheet, env.reports->layoutPath(sheet.stem), dir.filePath(QStringLiteral("whole.pdf")));
    });
}
