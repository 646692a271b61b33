// Numbers as the program shows them and reads them back.

#include "core/numbers.h"

#include "platform/mathengine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>

namespace {

TEST(Numbers, DecimalSumGivesTheDecimalTheUserExpects) {
    struct Case {
        double a, b, sum;
        const char* shown;
    };
    const Case cases[] = {
        {0.1, 0.2, 0.3, "0,3"},
        {-0.1, 0.1, 0, "0"},
        {0.7, 0.1, 0.8, "0,8"},
        {5.9, 0.1, 6, "6"},
        {-1, 0.1, -0.9, "-0,9"},
        {1e15, 1, 1e15 + 1, "1e+15"}, // whole numbers beyond 15 digits are not rounded away
        {1e15, -1e15, 0, "0"},
        {1e-7, 2e-7, 3e-7, "3e-07"},
        {123456.789, 0.001, 123456.79, "123456,79"},
        {1.0 / 3, 0.1, 0.433333333333333, "0,433333333333333"},
        {2.5, 0, 2.5, "2,5"},
        {1e300, 1e300, 2e300, "2e+300"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.a << " + " << c.b);
        const double sum = core::decimalSum(c.a, c.b);
        EXPECT_EQ(sum, c.sum);
        EXPECT_EQ(core::germanNumber(sum), QString::fromUtf8(c.shown));
    }
    constexpr double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(core::decimalSum(1.7e308, 1.7e308), inf);
    EXPECT_TRUE(std::isnan(core::decimalSum(inf, -inf)));
}

// Numbers in the program's own files: either decimal form, nothing around them but blanks.
TEST(Numbers, FileNumbersAreReadStrictly) {
    struct Case {
        const char* text;
        std::optional<double> number;
        std::optional<int> wholeUpToTen; // filewhole(text, 0, 10)
    };
    const Case cases[] = {
        {"0,5", 0.5, 0},    {"0.5", 0.5, 0},    {" 7 ", 7, 7},     {"1,5", 1.5, 2},
        {"10,4", 10.4, 10}, {"10,6", 10.6, {}}, {"-0,4", -0.4, 0}, {"-1", -1, {}},
        {"", {}, {}},       {"abc", {}, {}},    {"5x", {}, {}},    {"pi", {}, {}},
        {"inf", {}, {}},    {"nan", {}, {}},    {"1e400", {}, {}}, {"1,2,3", {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(core::filenumber(QString::fromUtf8(c.text)), c.number);
        EXPECT_EQ(core::filewhole(QString::fromUtf8(c.text), 0, 10), c.wholeUpToTen);
    }
}

TEST(Numbers, UntouchedFieldReadsBackExactly) {
    platform::MathEngine engine;
    struct Case {
        double shown;
        const char* text;
        double read;
    };
    const Case cases[] = {
        {1.0 / 3, "0,333333333333333", 1.0 / 3},           // the digits the field cannot show stay
        {1.0 / 3, "0.333333333333333", 0.333333333333333}, // typed anew: read as typed
        {1.0 / 3, "1/3", 1.0 / 3},
        {0.30000000000000004, "0,3", 0.30000000000000004},
        {1e-7, "1e-07", 1e-7},
        {1e15, "1e+15", 1e15},
        {-0.1, "-0,1", -0.1},
        {2, "3", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(core::rereadnum(engine, QString::fromUtf8(c.text), c.shown), c.read);
    }
    EXPECT_FALSE(core::rereadnum(engine, QStringLiteral("x+"), 2));
    EXPECT_FALSE(
        core::rereadnum(engine, QStringLiteral("nan"), std::numeric_limits<double>::quiet_NaN()));
}

} // namespace
