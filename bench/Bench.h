#pragma once
// The benchmark program: each bench_*.cpp registers cases; main() runs them (or
// those whose name contains the first argument) and prints median timings.

#include <QString>
#include <functional>

namespace Bench {
using Case = std::function<void()>;
int add(const char* name, Case run);
// Runs `body` `runs` times after one warm-up and prints the median in ms with its limit.
double measure(const QString& label, double limitMs, const std::function<void()>& body, int runs = 21);
}

#define KAZANE_BENCH_CONCAT2(a, b) a##b
#define KAZANE_BENCH_CONCAT(a, b) KAZANE_BENCH_CONCAT2(a, b)
#define KAZANE_BENCH(name)                                                                  \
    static void KAZANE_BENCH_CONCAT(bench_, __LINE__)();                                    \
    static const int KAZANE_BENCH_CONCAT(bench_reg_, __LINE__) =                             \
        Bench::add(name, &KAZANE_BENCH_CONCAT(bench_, __LINE__));                            \
    static void KAZANE_BENCH_CONCAT(bench_, __LINE__)()
