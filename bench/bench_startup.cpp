// Start-up as a whole process: from exec to a usable, painted main window on a full
// class once the title window is dismissed, against a process that shows an empty
// Qt main window of the same size. All are this program started again (the same
// libraries to load), in a mode that ends as soon as its window is painted, on the
// display when there is one. Target: at most 1.5 times the empty window. For
// reference, a third process shows the same empty window with one line of
// Japanese text in the program's font: any window with text pays for Qt's font
// list and the font file once.

#include "Bench.h"
#include "DataFiles.h"
#include "ScriptedUi.h"
#include "TestEnv.h"
#include "app/MainWindow.h"
#include "app/ProgramStart.h"
#include "frame/AppContext.h"
#include "model/ScoreFile.h"
#include "output/ReportOutput.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFont>
#include <QLabel>
#include <QMainWindow>
#include <QProcess>
#include <QScreen>
#include <QSettings>

#include <cstdio>

namespace {

void paintNow(QWidget& window)
{
    window.repaint();
    QApplication::processEvents();
}

double runChild(const QStringList& arguments)
{
    QElapsedTimer timer;
    timer.start();
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), Bench::startPlatform());
    process.setProcessEnvironment(environment);
    process.start(QCoreApplication::applicationFilePath(), arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        Bench::fail(QStringLiteral("start-up run %1 failed: %2")
                        .arg(arguments.join(QLatin1Char(' ')), QString::fromUtf8(process.readAllStandardError())));
    return double(timer.nsecsElapsed()) / 1e6;
}

}  // namespace

int Bench::startChild(const QStringList& arguments)
{
    if (arguments.value(1) == QLatin1String("--start-empty") || arguments.value(1) == QLatin1String("--start-text")) {
        QMainWindow window;
        if (arguments.value(1) == QLatin1String("--start-text")) {
            QApplication::setFont(QFont(QStringLiteral("IPAexGothic"), 10));
            window.setCentralWidget(new QLabel(QStringLiteral("小学校成績処理かざね"), &window));
        }
        window.setGeometry(QApplication::primaryScreen()->availableGeometry());
        window.show();
        paintNow(window);
        return 0;
    }
    // --start-program SETTINGS PROGRAM_FOLDER: the program's own start (see
    // app/main.cpp), the title window answered at once.
    ProgramStart::prepare(*qApp);
    QSettings settings(arguments.value(2), QSettings::IniFormat);
    ClassData data;
    ScriptedUi ui;
    ReportOutput reports(ui, arguments.value(3), Bench::buildFolder());
    AppContext ctx{data, ui, settings, reports, nullptr, arguments.value(3)};
    MainWindow window(ctx);
    if (!window.startUp() || !window.isVisible())
        return 1;
    paintNow(window);
    return 0;
}

KAZANE_BENCH("startup")
{
    TestEnv env;
    env.makeClass(DataFiles::pupilNames(45));
    env.data.tests.count = 60;
    for (int t = 1; t <= 60; ++t) {
        env.data.tests.name[t] = QStringLiteral("第%1回 漢字テスト").arg(t);
        env.data.tests.columnCount[t] = 4;
        for (int c = 1; c <= 4; ++c) {
            env.data.tests.viewpoint[t][c] = c;
            env.data.tests.fullMarks[t][c] = 100;
            for (int p = 1; p <= 45; ++p)
                env.data.tests.score[t][c][p] = (p * 7 + t * 3 + c) % 101;
        }
    }
    for (int unit = 1; unit <= 9; ++unit) {
        env.data.subject = unit;
        if (!ScoreFile::save(env.data))
            Bench::fail(QStringLiteral("cannot write the benchmark class"));
    }
    env.settings->sync();

    const int runs = 21;
    std::vector<double> program, empty, text;
    for (int i = 0; i <= runs; ++i) {
        const double emptyMs = runChild({QStringLiteral("--start-empty")});
        const double programMs = runChild({QStringLiteral("--start-program"), env.settingsFile(), env.programFolder()});
        const double textMs = runChild({QStringLiteral("--start-text")});
        if (i == 0)
            continue;  // warm-up
        empty.push_back(emptyMs);
        program.push_back(programMs);
        text.push_back(textMs);
    }
    const Bench::Spread programFigures = Bench::spread(program), emptyFigures = Bench::spread(empty),
                        textFigures = Bench::spread(text);
    std::printf("start-up windows shown on the %s platform\n", qPrintable(Bench::startPlatform()));
    Bench::print(QStringLiteral("start-up: main window on a full class, title window dismissed"), programFigures, "ms");
    Bench::print(QStringLiteral("start-up: an empty Qt main window"), emptyFigures, "ms");
    Bench::print(QStringLiteral("start-up: the empty window with one line of text"), textFigures, "ms");
    Bench::printRatio(QStringLiteral("start-up / empty window (medians, whole processes)"), programFigures.median / emptyFigures.median, 1.5);
    Bench::printRatio(QStringLiteral("start-up / empty window with one line of text"), programFigures.median / textFigures.median, 0);
}
