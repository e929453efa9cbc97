#include "Bench.h"
#include "FullClass.h"

#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
std::vector<std::pair<const char*, Bench::Case>>& cases()
{
    static std::vector<std::pair<const char*, Bench::Case>> all;
    return all;
}
}  // namespace

int Bench::add(const char* name, Case run)
{
    cases().emplace_back(name, std::move(run));
    return int(cases().size());
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
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2];
    std::printf("%-70s median %9.3f ms  (limit %g ms)%s\n", label.toUtf8().constData(), median, limitMs,
                median <= limitMs ? "" : "  OVER");
    std::fflush(stdout);
    return median;
}

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    // kazane-bench --make-class FOLDER: writes the benchmarks' full class there, for
    // timing kazane-export by hand.
    if (arguments.size() == 3 && arguments[1] == QLatin1String("--make-class")) {
        std::printf("%s\n", FullClass::write(arguments[2]).toLocal8Bit().constData());
        return 0;
    }
    const QString filter = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    for (auto& [name, run] : cases())
        if (filter.isEmpty() || QString::fromUtf8(name).contains(filter))
            run();
    return 0;
}
