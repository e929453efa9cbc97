#pragma once
// The benchmark program: each bench_*.cpp registers cases; main() runs them (or
// those whose name contains the first argument) and prints median timings.

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace Bench {
using Case = std::function<void()>;
int add(const char* name, Case run);
// Runs `body` `runs` times after one warm-up and prints the median, smallest and
// largest time in ms, with the median's limit (none when `limitMs` is 0).
double measure(const QString& label, double limitMs, const std::function<void()>& body, int runs = 21);

// The median, smallest and largest of several measurements.
struct Spread {
    double median = 0, min = 0, max = 0;
};
Spread spread(std::vector<double> values);
// Prints "label  median m  (min a, max b) unit".
void print(const QString& label, const Spread& figures, const char* unit);
// Prints "label  actual (limit l)" and OVER when actual exceeds the limit; with
// no limit (0), "label (for reference)  actual".
void printRatio(const QString& label, double actual, double limit);

// The Qt platform the start-up benchmark starts its windows on: the one set in
// QT_QPA_PLATFORM, else the X display when DISPLAY is set, else off screen.
QString startPlatform();
// The folder of the built program (kazane-export and the layouts), checked at start.
QString buildFolder();
// Prints the reason on stderr and ends the benchmark with exit status 1: a
// benchmark that cannot run must not print times that look like passes.
[[noreturn]] void fail(const QString& why);
// The start-up benchmark's child processes (kazane-bench --start-empty,
// --start-text or --start-program ...): show a window, paint it and end.
int startChild(const QStringList& arguments);
}

#define KAZANE_BENCH_CONCAT2(a, b) a##b
#define KAZANE_BENCH_CONCAT(a, b) KAZANE_BENCH_CONCAT2(a, b)
#define KAZANE_BENCH(name)                                                                  \
    static void KAZANE_BENCH_CONCAT(bench_, __LINE__)();                                    \
    static const int KAZANE_BENCH_CONCAT(bench_reg_, __LINE__) =                             \
        Bench::add(name, &KAZANE_BENCH_CONCAT(bench_, __LINE__));                            \
    static void KAZANE_BENCH_CONCAT(bench_, __LINE__)()
