// marvoda-bench: each scenario file registers itself; the program runs them in turn and prints
// one line per scenario with its median time and its ratio to a lower bound measured in the
// same run.
#pragma once

#include <QString>

#include <functional>
#include <vector>

namespace bench {

struct Options {
    QString workDir;     // a fresh folder for the scenario's books and files
    double scale = 1.0;  // 1.0 = the sizes the targets are stated for
};

using Scenario = std::function<void(const Options &)>;
int add(const char *name, Scenario s);

// Median of n timed runs of f, in milliseconds.
double medianMs(int n, const std::function<void()> &f);

// One result line: "name: ours X ms, bound Y ms, ratio R (target ...)".
void report(const QString &name, double oursMs, double boundMs, const QString &target);

// The processes a scenario starts from this program (a hidden first argument): their exit code,
// or -1 when the command line is not such a process's.
int runWorker(int argc, char **argv);

} // namespace bench

#define MARVODA_BENCH(name, fn) static const int bench_reg_##fn = bench::add(name, fn);
