#pragma once
// The engine's own functions as both machines compute them, one value at a time: the scalar
// machine per evaluation, the sweep per sample of a block.

#include "platform/enginecore.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace platform::detail {

constexpr std::array<double, 171> makeFactorials() {
    std::array<double, 171> table{};
    table[0] = 1;
    for (std::size_t i = 1; i < table.size(); ++i)
        table[i] = table[i - 1] * double(i);
    return table;
}

constexpr std::array<double, 171> factorials = makeFactorials();
constexpr double twoPi = 2 * std::numbers::pi;

// Index 0 to 3 of a whole number of quarter turns, or -1. Degrees and grads are reduced in their
// own unit first, so that sin 180° is exactly 0 and sec 90° an error, as on paper.
inline int quarterTurns(double x, double fullTurn, double& reduced) {
    reduced = std::fmod(x, fullTurn);
    const double q = reduced / (fullTurn / 4);
    if (q != std::floor(q)) return -1;
    return (int(q) % 4 + 4) % 4;
}

// The work of the slow paths of the library's functions, beyond the weights of the
// instructions (see MathEngine::work). A remainder takes about two to three nanoseconds for
// each bit by which the dividend's exponent exceeds the divisor's.
inline std::int64_t remainderWork(double a, double b) {
    const long bits = long(std::ilogb(a)) - long(std::ilogb(b));
    return bits > 64 ? std::int64_t(std::min(bits, 4096L)) * 3 : 0;
}

// An angle far beyond a few turns needs an exact reduction to one turn first.
inline std::int64_t angleWork(double x, const Machine& m) {
    if (std::abs(x) < 1e8) return 0;
    return m.trigMode == 1 ? 100 : remainderWork(x, m.fullTurn);
}

inline double sine(double x, const Machine& m) {
    if (m.trigMode == 1) return std::sin(x);
    double r = 0;
    switch (quarterTurns(x, m.fullTurn, r)) {
    case 0:
    case 2:
        return 0.0;
    case 1:
        return 1.0;
    case 3:
        return -1.0;
    default:
        return std::sin(r * (twoPi / m.fullTurn));
    }
}

inline double cosine(double x, const Machine& m) {
    if (m.trigMode == 1) return std::cos(x);
    double r = 0;
    switch (quarterTurns(x, m.fullTurn, r)) {
    case 0:
        return 1.0;
    case 2:
        return -1.0;
    case 1:
    case 3:
        return 0.0;
    default:
        return std::cos(r * (twoPi / m.fullTurn));
    }
}

inline double tangent(double x, const Machine& m) {
    if (m.trigMode == 1) return std::tan(x);
    double r = 0;
    if (quarterTurns(x, m.fullTurn, r) >= 0) return sine(x, m) / cosine(x, m);
    return std::tan(r * (twoPi / m.fullTurn));
}

inline double fromRadians(double r, const Machine& m) {
    return m.trigMode == 1 ? r : r / twoPi * m.fullTurn;
}

inline bool whole(double x) {
    return x == std::floor(x);
}

// 16 for a negative base with a broken exponent and for 0 to a negative power.
inline bool badPower(double base, double exponent) {
    return (base < 0 && !whole(exponent)) || (base == 0 && exponent < 0);
}

inline double truth(bool b) {
    return b ? 1.0 : 0.0;
}

} // namespace platform::detail
