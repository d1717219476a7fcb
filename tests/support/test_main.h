// One test binary per area: every tst_*.cpp registers its class with MARVODA_TEST and the
// shared main runs them all in turn.
#pragma once

#include <QObject>

#include <functional>
#include <memory>
#include <vector>

namespace marvoda_test {
using Factory = std::function<std::unique_ptr<QObject>()>;
int registerTest(const char *name, Factory f);
} // namespace marvoda_test

#define MARVODA_TEST(Class)                                                                        \
    static const int marvoda_test_reg_##Class =                                                    \
        marvoda_test::registerTest(#Class, [] { return std::unique_ptr<QObject>(new Class); });
