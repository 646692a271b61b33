#pragma once
// Rounding to whole numbers the way every pixel and count of the program is rounded: to the
// nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2). This does
// not depend on the floating-point environment's rounding mode.

#include <cmath>
#include <cstdint>
#include <limits>

namespace core {

// Stays a double; NaN and infinities come back unchanged.
inline double roundEven(double v) {
    if (!std::isfinite(v)) return v;
    const double lower = std::floor(v);
    const double diff = v - lower;
    if (diff < 0.5) return lower;
    if (diff > 0.5) return lower + 1;
    return std::floor(lower * 0.5) * 2 == lower ? lower : lower + 1; // even: exact, no division
}

namespace detail {
// Rounded and limited to the integer type, so that a huge or broken coordinate gives the
// nearest representable value instead of undefined behaviour; NaN gives 0.
template <typename Int> Int roundTo(double v) {
    if (std::isnan(v)) return 0;
    const double r = roundEven(v);
    if (r <= double(std::numeric_limits<Int>::min())) return std::numeric_limits<Int>::min();
    if (r >= double(std::numeric_limits<Int>::max())) return std::numeric_limits<Int>::max();
    return Int(r);
}
} // namespace detail

inline std::int16_t round16(double v) {
    return detail::roundTo<std::int16_t>(v);
}
inline std::int32_t round32(double v) {
    return detail::roundTo<std::int32_t>(v);
}

} // namespace core
