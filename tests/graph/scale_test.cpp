#include "graph/scale.h"

#include "core/rounding.h"
#include "core/state.h"

#include "support/qtapp.h"

#include <gtest/gtest.h>

#include <ostream>

#include <cmath>
#include <cstdint>
#include <limits>

namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
    struct Case {
        double v, rounded;
    };
    const Case cases[] = {{0.5, 0},    {1.5, 2},   {2.5, 2},        {3.5, 4},
                          {-0.5, 0},   {-1.5, -2}, {-2.5, -2},      {2.4999, 2},
                          {2.5001, 3}, {-2.7, -3}, {1e6 + 0.5, 1e6}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.v);
        EXPECT_EQ(core::roundEven(c.v), c.rounded);
        EXPECT_EQ(core::round32(c.v), std::int32_t(c.rounded));
    }
    EXPECT_EQ(core::roundEven(4503599627370497.0), 4503599627370497.0); // 2^52 + 1
    EXPECT_TRUE(std::isnan(core::roundEven(nan)));
    EXPECT_EQ(core::roundEven(-inf), -inf);
}

TEST(Rounding, IntegersAreLimitedInsteadOfOverflowing) {
    EXPECT_EQ(core::round16(32767.4), 32767);
    EXPECT_EQ(core::round16(40000), 32767);
    EXPECT_EQ(core::round16(-40000), -32768);
    EXPECT_EQ(core::round16(nan), 0);
    EXPECT_EQ(core::round16(inf), 32767);
    EXPECT_EQ(core::round32(3e9), 2147483647);
    EXPECT_EQ(core::round32(-3e9), -2147483647 - 1);
}

TEST(TickStep, ChangesOnlyByPowersOfTwo) {
    struct Case {
        double gridStep, range;
        int linesMin, linesMax;
        double step;
    };
    const Case cases[] = {
        {1, 100, 5, 20, 4},      // 100 lines are too many: 1 / 2^round(log2(0.2))
        {0.5, 20, 10, 40, 0.5},  // the default range shows 40 lines
        {0.5, 2, 10, 40, 0.25},  // 4 lines are too few
        {0.5, 200, 10, 40, 4},   // 400 lines: divided by 2^-3
        {0.5, 25, 10, 40, 0.5},  // 50 lines are within half a power of two of 40
        {1, 1e6, 10, 40, 32768}, // 1 / 2^round(log2(4e-5))
        {0, 20, 10, 40, 0.5},    // a step of 0 would stop the grid walk
        {-0.5, 20, 10, 40, 0.5}, // the direction of the step does not matter
        {nan, 20, 10, 40, 0.5},  {0.5, 20, 10, 0, 16}, // a maximum of no lines still gives one step
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.range);
        EXPECT_DOUBLE_EQ(graph::tickStep(c.gridStep, c.range, c.linesMin, c.linesMax), c.step);
    }
}

TEST(TickStep, ExtremeRatiosStayFiniteAndNearTheBound) {
    for (double gridStep : {1e300, 1e-300, 0.5}) {
        for (double range : {1e-200, 1e-12, 1.0, 1e300}) {
            SCOPED_TRACE(gridStep / range);
            const double step = graph::tickStep(gridStep, range, 10, 40);
            ASSERT_TRUE(std::isfinite(step) && step > 0);
            const double lines = range / step;
            EXPECT_GE(lines, 10 / 1.5);
            EXPECT_LE(lines, 40 * 1.5);
        }
    }
}

TEST(TickStep, DigitsAndFormat) {
    struct Case {
        double step;
        int digitsMin, digits;
    };
    const Case cases[] = {
        {0.5, 2, 2},   {0.5, 0, 1},  {1, 0, 0},    {1, 2, 2},        {4, 0, 1},
        {0.125, 0, 1}, {0.01, 0, 2}, {4096, 0, 4}, {1e-300, 0, 300}, {0, 3, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.step);
        EXPECT_EQ(graph::tickDigits(c.step, c.digitsMin), c.digits);
    }
    EXPECT_EQ(graph::numberFormat(0), QStringLiteral("0."));
    EXPECT_EQ(graph::numberFormat(2), QStringLiteral("0.##"));
}

TEST(NumberText, GermanLabelsWithoutTrailingZeros) {
    struct Case {
        double v;
        const char* format;
        const char* text;
    };
    const Case cases[] = {
        {2, "0.##", "2"},
        {2.5, "0.#", "2,5"},
        {-0.25, "0.##", "-0,25"},
        {3, "0.", "3"},
        {-10, "0.##", "-10"},
        {0.1 + 0.2, "0.##", "0,3"},
        {-0.001, "0.##", "0"}, // never "-0"
        {-0.0, "0.##", "0"},
        {0.125, "0.##", "0,13"},
        {2.5, "0.", "3"},
        {1234567.25, "0.#", "1234567,3"},
        {1e20, "0.##", "100000000000000000000"},
        {0.5, "0.##########", "0,5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.v);
        EXPECT_EQ(graph::numberText(c.v, QString::fromLatin1(c.format)), QString::fromUtf8(c.text));
    }
}

class ScaleTest : public ::testing::Test {
protected:
    void SetUp() override {
        s.handles.xmu = s.engine.defineVariable("xmu");
        s.handles.xmi = s.engine.defineVariable("xmi");
        s.handles.ymu = s.engine.defineVariable("ymu");
        s.handles.ymi = s.engine.defineVariable("ymi");
        s.hooks.rangeWindowUpdate = [this] { ++rangeUpdates; };
    }
    core::State s;
    int rangeUpdates = 0;
};

TEST_F(ScaleTest, MappingAndEngineVariables) {
    struct Case {
        double xMin, xMax, yMin, yMax, plotW, plotH;
        double xmu, ymu, xTick, yTick;
        const char *xFormat, *yFormat;
    };
    const Case cases[] = {
        {-10, 10, -10, 10, 12000, 9000, 600, 450, 0.5, 0.5, "0.##", "0.##"},
        {0, 100, -1, 1, 10000, 5000, 100, 2500, 2, 0.25, "0.##", "0.##"},
        {-0.001, 0.001, 1000, 5000, 8000, 4000, 4e6, 1, 0.5 / 2048, 128, "0.####", "0.###"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.xMax);
        s.ranges = {c.xMin, c.xMax, c.yMin, c.yMax, 0, 10};
        s.scale.plotW = c.plotW;
        s.scale.plotH = c.plotH;
        s.scale.backgroundValid = true;
        graph::setscale(s);
        EXPECT_DOUBLE_EQ(s.scale.xRange, c.xMax - c.xMin);
        EXPECT_DOUBLE_EQ(s.scale.xmu, c.xmu);
        EXPECT_DOUBLE_EQ(s.scale.ymu, c.ymu);
        EXPECT_DOUBLE_EQ(s.scale.xTickStep, c.xTick);
        EXPECT_DOUBLE_EQ(s.scale.yTickStep, c.yTick);
        EXPECT_EQ(s.scale.xNumberFormat, QString::fromLatin1(c.xFormat));
        EXPECT_EQ(s.scale.yNumberFormat, QString::fromLatin1(c.yFormat));
        EXPECT_FALSE(s.scale.backgroundValid);
        EXPECT_DOUBLE_EQ(s.engine.variable(s.handles.xmu), c.xmu);
        EXPECT_DOUBLE_EQ(s.engine.variable(s.handles.xmi), c.xMin);
        EXPECT_DOUBLE_EQ(s.engine.variable(s.handles.ymu), c.ymu);
        EXPECT_DOUBLE_EQ(s.engine.variable(s.handles.ymi), c.yMin);
        // A value in twips, as the graphs evaluate it.
        EXPECT_DOUBLE_EQ(s.engine.eval(graph::makemx(QStringLiteral("xmi")).toStdString()), 0);
    }
    EXPECT_EQ(rangeUpdates, 0);
}

TEST_F(ScaleTest, SampleStepsFollowTheSpan) {
    s.lines[0].sampleCount = 499;
    s.lines[1].kind = 2; // a curve keeps the step of its own interval
    s.lineSlots[1].stepWidth = 0.7;
    s.lines[2].shownTerm = QStringLiteral("fill(sin(x))");
    s.lines[3].sampleCount = 0;
    s.scale.plotW = 12000;
    s.tppX = 15;
    graph::setscale(s);
    EXPECT_DOUBLE_EQ(s.lineSlots[0].stepWidth, 20.0 / 499);
    EXPECT_EQ(s.lineSlots[1].stepWidth, 0.7);
    EXPECT_EQ(s.lines[2].sampleCount, 3200); // four samples per pixel column
    EXPECT_DOUBLE_EQ(s.lineSlots[2].stepWidth, 20.0 / 3200);
    EXPECT_TRUE(std::isfinite(s.lineSlots[3].stepWidth));
}

TEST_F(ScaleTest, BrokenRangesAreRepairedBeforeAnyDivision) {
    struct Case {
        double lo, hi, repairedLo, repairedHi;
    };
    const Case cases[] = {
        {5, 5, 5, 6},
        {3, -3, -3, 3},
        {nan, 1, -10, 10},
        {0, inf, -10, 10},
        {-1.7e308, 1.7e308, -10, 10},
        {1e300, 1e300, 1e300 - 5e287, 1e300 + 5e287},
        {1e10, 1e10 + 1e-6, 1e10 - 0.005, 1e10 + 0.005},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lo);
        for (int axis = 0; axis < 2; ++axis) {
            s.ranges = core::Ranges{};
            double& lo = axis == 0 ? s.ranges.xMin : s.ranges.yMin;
            double& hi = axis == 0 ? s.ranges.xMax : s.ranges.yMax;
            lo = c.lo;
            hi = c.hi;
            rangeUpdates = 0;
            graph::setscale(s);
            EXPECT_EQ(rangeUpdates, 1);
            EXPECT_NEAR(lo, c.repairedLo, std::abs(c.repairedLo) * 1e-12);
            EXPECT_NEAR(hi, c.repairedHi, std::abs(c.repairedHi) * 1e-12);
            const double range = axis == 0 ? s.scale.xRange : s.scale.yRange;
            const double mu = axis == 0 ? s.scale.xmu : s.scale.ymu;
            const double tick = axis == 0 ? s.scale.xTickStep : s.scale.yTickStep;
            ASSERT_TRUE(range > 0 && std::isfinite(mu) && mu > 0);
            ASSERT_TRUE(std::isfinite(tick) && tick > 0);
            // The grid walk from the lower to the upper bound must end in a few dozen steps.
            double k = core::roundEven(lo / tick);
            int steps = 0;
            for (double x = tick * k; x < hi && steps < 1000; x = tick * ++k)
                ++steps;
            EXPECT_LT(steps, 100);
        }
    }
}

} // namespace
