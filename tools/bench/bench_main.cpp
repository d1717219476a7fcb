#include "bench.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace bench {

namespace {
struct Entry {
    const char *name;
    Scenario run;
};
std::vector<Entry> &entries()
{
    static std::vector<Entry> e;
    return e;
}
} // namespace

int add(const char *name, Scenario s)
{
    entries().push_back({name, std::move(s)});
    return int(entries().size());
}

double medianMs(int n, const std::function<void()> &f)
{
    std::vector<double> t;
    t.reserve(size_t(n));
    for (int i = 0; i < n; ++i) {
        QElapsedTimer clock;
        clock.start();
        f();
        t.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

void report(const QString &name, double oursMs, double boundMs, const QString &target)
{
    std::printf("%-44s ours %10.4f ms   bound %10.4f ms   ratio %6.2f   (target %s)\n",
                qPrintable(name), oursMs, boundMs, boundMs > 0 ? oursMs / boundMs : 0.0,
                qPrintable(target));
    std::fflush(stdout);
}

} // namespace bench

// marvoda-bench [--scale F] [NAME...]: runs the named scenarios (all by default).
int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    if (const int rc = bench::runWorker(argc, argv); rc >= 0) return rc;
    bench::Options opt;
    QStringList only;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--scale") == 0 && i + 1 < argc) opt.scale = std::atof(argv[++i]);
        else only << QString::fromLocal8Bit(argv[i]);
    }
    for (const auto &e : bench::entries()) {
        if (!only.isEmpty() && !only.contains(QString::fromLatin1(e.name))) continue;
        QTemporaryDir dir;
        opt.workDir = dir.path();
        e.run(opt);
    }
    return 0;
}
