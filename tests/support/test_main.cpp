#include "test_main.h"

#ifdef MARVODA_GUI_TESTS
#include "app/ui/application.h"
// Window tests run under the program's own application object: a database error in a command
// behaves as it does for the operator.
using TestApp = Application;
#else
#include <QCoreApplication>
using TestApp = QCoreApplication;
#endif
#include <QTest>

#include <cstdio>
#include <cstring>

namespace marvoda_test {

namespace {
struct Entry {
    const char *name;
    Factory make;
};
std::vector<Entry> &entries()
{
    static std::vector<Entry> e;
    return e;
}
} // namespace

int registerTest(const char *name, Factory f)
{
    entries().push_back({name, std::move(f)});
    return int(entries().size());
}

} // namespace marvoda_test

// Usage: tst_area [ClassName] [QtTest options...]: a first argument naming a registered class
// runs that class alone.
int main(int argc, char **argv)
{
    TestApp app(argc, argv);
    const char *only = nullptr;
    std::vector<char *> args(argv, argv + argc);
    if (argc > 1) {
        for (const auto &e : marvoda_test::entries())
            if (std::strcmp(e.name, argv[1]) == 0) only = argv[1];
        if (only) args.erase(args.begin() + 1);
    }
    int failed = 0, ran = 0;
    for (const auto &e : marvoda_test::entries()) {
        if (only && std::strcmp(e.name, only) != 0) continue;
        auto obj = e.make();
        failed += QTest::qExec(obj.get(), int(args.size()), args.data()) ? 1 : 0;
        ++ran;
    }
    std::printf("%d test classes run, %d with failures\n", ran, failed);
    return failed ? 1 : 0;
}
