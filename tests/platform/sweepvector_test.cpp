// The sweep's library functions several lanes at once against the C library's, which the exact
// sweep (and every scalar evaluation) computes: over each function's domain and its edges, the
// same errors, infinities and not-a-numbers, and values within the ulps given.

#include "platform/enginevector.h"
#include "platform/mathengine.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <numbers>
#include <random>
#include <string>
#include <vector>

namespace {

using platform::MathEngine;
using platform::detail::VectorLevel;

// The distance in representable numbers (0 for two not-a-numbers).
std::int64_t ulps(double a, double b) {
    if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b) ? 0 : INT64_MAX;
    const auto key = [](double d) {
        std::int64_t i = 0;
        std::memcpy(&i, &d, sizeof i);
        return i < 0 ? INT64_MIN - i : i; // ordered like the numbers, -0 next to +0
    };
    const std::int64_t ka = key(a), kb = key(b);
    return ka > kb ? ka - kb : kb - ka;
}

// Arguments of every kind a graph meets, and the edges where the vector functions hand over to
// the C library's: both signs of small, subnormal and large numbers, multiples of pi/2 and of
// quarter turns in degrees and grads, the overflow and underflow limits of exp, sinh and cosh,
// and 1.
std::vector<double> arguments(std::size_t count) {
    std::mt19937_64 rng(7);
    const auto uniform = [&](double lo, double hi) {
        return std::uniform_real_distribution<double>(lo, hi)(rng);
    };
    const auto sign = [&](double v) { return rng() & 1 ? v : -v; };
    const auto near = [&](double v) { // a few representable numbers away
        const int steps = int(rng() % 9) - 4;
        for (int k = 0; k < std::abs(steps); ++k)
            v = std::nextafter(v, steps < 0 ? -INFINITY : INFINITY);
        return v;
    };
    std::vector<double> xs = {0.0,      -0.0,      DBL_TRUE_MIN, -DBL_TRUE_MIN, DBL_MIN,
                              -DBL_MIN, DBL_MAX,   -DBL_MAX,     1.0,           -1.0,
                              INFINITY, -INFINITY, NAN,          1e8,           -1e8};
    const double limits[] = {709.782712893384,
                             710.4758600739439,
                             745.1332191019411,
                             708.0,
                             709.0,
                             1022.0,
                             1023.0,
                             1024.0,
                             1074.0};
    while (xs.size() < count) {
        switch (rng() % 9) {
        case 0:
            xs.push_back(uniform(-8, 8));
            break;
        case 1: // near 0 down to subnormals, up to large angles
            xs.push_back(sign(std::pow(10.0, uniform(-323, 8))));
            break;
        case 2: // anything up to the largest numbers
            xs.push_back(sign(std::pow(10.0, uniform(-323, 308))));
            break;
        case 3: // multiples of pi/2, near and far
            xs.push_back(
                near(double(std::int64_t(rng() % 2000001) - 1000000) * (std::numbers::pi / 2)));
            break;
        case 4:
            xs.push_back(sign(near(limits[rng() % std::size(limits)])));
            break;
        case 5:
            xs.push_back(sign(uniform(700, 760)));
            break;
        case 6: // around 1, the edge of asin and acos and the zero of ln
            xs.push_back(sign(1 + uniform(-1e-9, 1e-9)));
            break;
        case 7: // just below the angles that take the exact reduction
            xs.push_back(sign(uniform(9e7, 1e8)));
            break;
        default: // quarter turns in degrees and grads, and their neighbours
            xs.push_back(sign(double(rng() % 1000000) * (rng() & 1 ? 90 : 100)));
            if (rng() & 1) xs.back() = near(xs.back());
            break;
        }
    }
    return xs;
}

// maxUlps: the most measured here and over millions of arguments more. SLEEF and the C library
// are each within an ulp of the true value, so that they may differ by two; 1/f rounds once
// more, the conversion to degrees or grads twice. acot's pi/2 - atan(x) keeps atan's absolute
// error but not its relative one (in both ways of computing it): its distance is counted in
// ulps of pi/2 (absolute).
struct FunctionCase {
    const char* term;
    int maxUlps;
    int trigMode = 1;
    bool absolute = false;
};

const FunctionCase functions[] = {
    {"sin(_x)", 1},    {"cos(_x)", 1},           {"tan(_x)", 1},     {"sec(_x)", 2},
    {"csc(_x)", 2},    {"cot(_x)", 3},           {"asin(_x)", 1},    {"acos(_x)", 1},
    {"atan(_x)", 1},   {"acot(_x)", 2, 1, true}, {"sinh(_x)", 2},    {"cosh(_x)", 1},
    {"tanh(_x)", 2},   {"coth(_x)", 2},          {"sech(_x)", 2},    {"csch(_x)", 2},
    {"exp(_x)", 1},    {"exp2(_x)", 1},          {"ln(_x)", 1},      {"log2(_x)", 1},
    {"log10(_x)", 2},  {"_x^0.37", 1},           {"2.5^_x", 1},      {"_x^_x", 1},
    {"_x^-1.5", 1},    {"asin(_x)", 4, 2},       {"atan(_x)", 4, 3}, {"sin(_x)", 1, 2},
    {"cos(_x)", 1, 3}, {"tan(_x)", 1, 2},        {"sec(_x)", 2, 3},  {"cot(_x)", 3, 2},
    {"csc(_x)", 2, 3},
};

TEST(SweepVector, FunctionsStayWithinAnUlpOrTwoOfTheLibrary) {
    const std::vector<double> xs = arguments(200000);
    std::vector<double> exact(xs.size()), fast(xs.size());
    std::vector<std::uint8_t> exactCodes(xs.size()), fastCodes(xs.size());
    MathEngine engine;
    const int x = engine.defineVariable("_x");
    for (VectorLevel level : {VectorLevel::avx2, VectorLevel::sse2}) {
        if (!platform::detail::useVectorLevel(level)) continue;
        std::string measured = level == VectorLevel::avx2 ? "AVX2:" : "SSE2:";
        for (const FunctionCase& f : functions) {
            SCOPED_TRACE(f.term);
            engine.setTrigMode(f.trigMode);
            const platform::Expression expr = engine.parse(f.term);
            ASSERT_TRUE(expr.valid());
            engine.setExactSweep(true);
            engine.evaluateSweep(expr, x, xs, exact, exactCodes);
            engine.setExactSweep(false);
            engine.evaluateSweep(expr, x, xs, fast, fastCodes);
            std::int64_t most = 0;
            double at = 0;
            for (std::size_t k = 0; k < xs.size(); ++k) {
                ASSERT_EQ(exactCodes[k], fastCodes[k]) << "at " << xs[k];
                ASSERT_EQ(std::isinf(exact[k]), std::isinf(fast[k])) << "at " << xs[k];
                const std::int64_t d =
                    f.absolute ? std::int64_t(std::ceil(std::fabs(exact[k] - fast[k]) / 0x1p-52))
                               : ulps(exact[k], fast[k]);
                if (d > most) {
                    most = d;
                    at = xs[k];
                }
            }
            EXPECT_LE(most, f.maxUlps) << "at " << at;
            measured += std::string(" ") + f.term + " " + std::to_string(most);
        }
        std::printf("%s\n", measured.c_str());
    }
    if (!platform::detail::useVectorLevel(VectorLevel::avx2))
        platform::detail::useVectorLevel(VectorLevel::sse2);
}

} // namespace

namespace {

// What school arithmetic expects to come out whole stays whole in the vector functions.
TEST(SweepVector, WholeResultsStayExact) {
    MathEngine engine;
    const int x = engine.defineVariable("_x");
    std::vector<double> whole, powersOfTen, powersOfTwo;
    for (int k = -30; k <= 30; ++k) {
        whole.push_back(k);
        powersOfTen.push_back(std::pow(10.0, k));
        powersOfTwo.push_back(std::ldexp(1.0, k));
    }
    struct Case {
        const char* term;
        const std::vector<double>& xs;
        double (*expected)(double);
    };
    const Case cases[] = {
        {"10^_x", whole, [](double v) { return std::pow(10.0, v); }},
        {"3^_x", whole, [](double v) { return std::pow(3.0, v); }},
        {"exp2(_x)", whole, [](double v) { return std::exp2(v); }},
        {"log10(_x)", powersOfTen, [](double v) { return std::round(std::log10(v)); }},
        {"log2(_x)", powersOfTwo, [](double v) { return std::round(std::log2(v)); }},
        {"ln(_x)*0+exp(_x-_x)+sin(_x-_x)+cos(_x-_x)", powersOfTwo, [](double) { return 2.0; }},
    };
    for (const Case& c : cases) {
        std::vector<double> ys(c.xs.size());
        std::vector<std::uint8_t> codes(c.xs.size());
        engine.evaluateSweep(engine.parse(c.term), x, c.xs, ys, codes);
        for (std::size_t k = 0; k < c.xs.size(); ++k) {
            EXPECT_EQ(codes[k], 0) << c.term << " at " << c.xs[k];
            EXPECT_EQ(ys[k], c.expected(c.xs[k])) << c.term << " at " << c.xs[k];
        }
    } // quarter turns in degrees: exact, tan 90 degrees infinite as in one evaluation
    engine.setTrigMode(2);
    std::vector<double> quarters;
    for (int k = -8; k <= 8; ++k)
        quarters.push_back(90.0 * k);
    std::vector<double> sines(quarters.size()), tangents(quarters.size());
    std::vector<std::uint8_t> codes(quarters.size());
    engine.evaluateSweep(engine.parse("sin(_x)"), x, quarters, sines, codes);
    engine.evaluateSweep(engine.parse("tan(_x)"), x, quarters, tangents, codes);
    const double expectedSines[] = {0, 1, 0, -1};
    for (std::size_t k = 0; k < quarters.size(); ++k) {
        const std::size_t q = std::size_t(k % 4);
        EXPECT_EQ(sines[k], expectedSines[q]) << quarters[k];
        EXPECT_EQ(std::isinf(tangents[k]), q % 2 == 1) << quarters[k];
    }
}

} // namespace
