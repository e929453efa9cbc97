#include "Bench.h"
#include "FullClass.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {
std::vector<std::pair<const char*, Bench::Case>>& cases()
{
    static std::vector<std::pair<const char*, Bench::Case>> all;
    return all;
}

QString& startPlatformName()
{
    static QString platform;
    return platform;
}

QString& builtProgram()
{
    static QString folder;
    return folder;
}

// The build folder: KAZANE_BUILD_DIR when set, otherwise the folder above the one
// this program lies in (build/bench/kazane-bench), whatever the working folder.
// It must hold kazane-export and every layout the benchmarks print with.
QString findBuildFolder()
{
    const QString fromEnv = qEnvironmentVariable("KAZANE_BUILD_DIR");
    const QString folder = QDir::cleanPath(!fromEnv.isEmpty() ? QDir(fromEnv).absolutePath()
                                                              : QCoreApplication::applicationDirPath() + QStringLiteral("/.."));
    const QFileInfo exporter(folder + QStringLiteral("/kazane-export"));
    if (!exporter.isFile() || !exporter.isExecutable())
        Bench::fail(QStringLiteral("kazane-export not found in %1 (build it, or set KAZANE_BUILD_DIR to the build folder)").arg(folder));
    for (const char* layout : {"testdisp.rpt", "kojin.rpt", "aryoiki.rpt", "Shuseki.rpt", "Mente.rpt"})
        if (!QFileInfo(folder + QLatin1Char('/') + QLatin1String(layout)).isFile())
            Bench::fail(QStringLiteral("layout %1 not found in %2 (build the program first)").arg(QLatin1String(layout), folder));
    return folder;
}
}  // namespace

int Bench::add(const char* name, Case run)
{
    cases().emplace_back(name, std::move(run));
    return int(cases().size());
}

QString Bench::startPlatform()
{
    return startPlatformName();
}

QString Bench::buildFolder()
{
    return builtProgram();
}

void Bench::fail(const QString& why)
{
    std::fflush(stdout);
    std::fprintf(stderr, "kazane-bench: FAILED: %s\n", why.toLocal8Bit().constData());
    std::exit(1);
}

Bench::Spread Bench::spread(std::vector<double> values)
{
    if (values.empty())
        return {};
    std::sort(values.begin(), values.end());
    return {values[values.size() / 2], values.front(), values.back()};
}

void Bench::print(const QString& label, const Spread& figures, const char* unit)
{
    std::printf("%-70s median %9.3f %s  (min %.3f, max %.3f)\n", label.toUtf8().constData(), figures.median, unit,
                figures.min, figures.max);
    std::fflush(stdout);
}

void Bench::printRatio(const QString& label, double actual, double limit)
{
    if (limit > 0)
        std::printf("%-70s %9.2fx  (limit %.2fx)%s\n", label.toUtf8().constData(), actual, limit, actual <= limit ? "" : "  OVER");
    else
        std::printf("%-70s %9.2fx\n", (label + QStringLiteral(" (for reference)")).toUtf8().constData(), actual);
    std::fflush(stdout);
}

double Bench::measure(const QString& label, double limitMs, const std::function<void()>& body, int runs)
{
    body();
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        body();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    const Spread figures = spread(times);
    const double median = figures.median;
    std::printf("%-70s median %9.3f ms  (min %.3f, max %.3f", label.toUtf8().constData(), median, figures.min, figures.max);
    if (limitMs > 0)
        std::printf("; limit %g ms)%s\n", limitMs, median <= limitMs ? "" : "  OVER");
    else
        std::printf(")\n");
    std::fflush(stdout);
    return median;
}

int main(int argc, char* argv[])
{
    // The start-up benchmark starts its windows on the display when there is one
    // (the platform a teacher starts on); everything else runs off screen.
    const QByteArray chosen = qgetenv("QT_QPA_PLATFORM");
    startPlatformName() = !chosen.isEmpty()                ? QString::fromLocal8Bit(chosen)
                        : qEnvironmentVariableIsSet("DISPLAY") ? QStringLiteral("xcb")
                                                               : QStringLiteral("offscreen");
    qputenv("QT_QPA_PLATFORM", chosen.isEmpty() ? QByteArray("offscreen") : chosen);
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    // kazane-bench --make-class FOLDER: writes the benchmarks' full class there, for
    // timing kazane-export by hand.
    if (arguments.size() == 3 && arguments[1] == QLatin1String("--make-class")) {
        std::printf("%s\n", FullClass::write(arguments[2]).toLocal8Bit().constData());
        return 0;
    }
    builtProgram() = findBuildFolder();
    // The test support finds the layouts through the same variable.
    qputenv("KAZANE_BUILD_DIR", builtProgram().toLocal8Bit());
    if (arguments.size() >= 2 && arguments[1].startsWith(QLatin1String("--start-")))
        return Bench::startChild(arguments);
    const QString filter = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    int ran = 0;
    for (auto& [name, run] : cases())
        if (filter.isEmpty() || QString::fromUtf8(name).contains(filter)) {
            run();
            ++ran;
        }
    if (ran == 0)
        Bench::fail(QStringLiteral("no benchmark is called %1").arg(filter));
    return 0;
}
