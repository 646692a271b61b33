#pragma once
// The loops of the vector functions (enginevector.h) for one width of registers, V: included
// by the file of each width, which is compiled for its instruction set. Everything here has
// internal linkage and uses only the C library and the intrinsics, so that no code compiled for
// the wider instruction set can stand in for the narrow one elsewhere.

#include "platform/enginevector.h"

#include <math.h>

namespace platform::detail {
namespace {

constexpr double tiny = 0x1p-1022;           // the least normal number
constexpr double infinity = __builtin_inf(); // no <limits> here: see above
constexpr double turns = 1e8;                // from here on angles take the exact reduction

// Lanes whose argument t (or |t|) lies outside [lo, hi) take the C library's function S.
template <class V, auto F, double (*S)(double), bool Absolute>
void unaryLoop(double* a, int n, double lo, double hi) {
    const typename V::Reg vlo = V::set1(lo), vhi = V::set1(hi);
    for (int i = 0; i < n; i += V::width) {
        const typename V::Reg x = V::load(a + i);
        const typename V::Reg t = Absolute ? V::abs(x) : x;
        const int inside = V::mask(V::andr(V::ge(t, vlo), V::lt(t, vhi)));
        V::store(a + i, F(x));
        if (inside != V::all) {
            double xs[V::width];
            V::store(xs, x);
            for (int k = 0; k < V::width; ++k)
                if ((inside >> k & 1) == 0) a[i + k] = S(xs[k]);
        }
    }
}

// s = pow(s, e) for a positive normal base and a finite exponent that is not whole, and a
// result far from overflow and underflow; otherwise the C library's pow.
template <class V>
typename V::Reg powInside(typename V::Reg b, typename V::Reg y, typename V::Reg r) {
    const typename V::Reg t = V::abs(y);
    const typename V::Reg big = V::set1(0x1p52); // from here on every number is whole
    // t rounded to a whole number by the addition, in the default rounding
    const typename V::Reg rounded = V::sub(V::add(t, big), big);
    const typename V::Reg broken = V::andr(V::lt(t, big), V::ne(rounded, t));
    const typename V::Reg base = V::andr(V::ge(b, V::set1(tiny)), V::lt(b, V::set1(infinity)));
    const typename V::Reg result =
        V::andr(V::ge(r, V::set1(0x1p-1000)), V::lt(r, V::set1(0x1p1000)));
    return V::andr(V::andr(broken, base), result);
}

template <class V, auto F> void powLoop(double* s, const double* e, int n) {
    for (int i = 0; i < n; i += V::width) {
        const typename V::Reg b = V::load(s + i), y = V::load(e + i);
        const typename V::Reg r = F(b, y);
        const int inside = V::mask(powInside<V>(b, y, r));
        V::store(s + i, r);
        if (inside != V::all) {
            double bs[V::width];
            V::store(bs, b);
            for (int k = 0; k < V::width; ++k)
                if ((inside >> k & 1) == 0) s[i + k] = pow(bs[k], e[i + k]);
        }
    }
}

template <class V, auto F> void powcLoop(double* a, double c, int n) {
    if (!(fabs(c) < 0x1p52) || c == floor(c)) { // x^2.0 and the like: exact as ever
        for (int i = 0; i < n; ++i)
            a[i] = pow(a[i], c);
        return;
    }
    const typename V::Reg y = V::set1(c);
    for (int i = 0; i < n; i += V::width) {
        const typename V::Reg b = V::load(a + i);
        const typename V::Reg r = F(b, y);
        const int inside = V::mask(powInside<V>(b, y, r));
        V::store(a + i, r);
        if (inside != V::all) {
            double bs[V::width];
            V::store(bs, b);
            for (int k = 0; k < V::width; ++k)
                if ((inside >> k & 1) == 0) a[i + k] = pow(bs[k], c);
        }
    }
}

// The functions of width V, whose members name the SLEEF functions of 1 ulp for that width.
template <class V> VectorMath vectorFunctions() {
    VectorMath f{};
    f.sin = [](double* a, int n) { unaryLoop<V, V::sin, ::sin, true>(a, n, tiny, turns); };
    f.cos = [](double* a, int n) { unaryLoop<V, V::cos, ::cos, true>(a, n, 0, turns); };
    f.tan = [](double* a, int n) { unaryLoop<V, V::tan, ::tan, true>(a, n, tiny, turns); };
    f.asin = [](double* a, int n) { unaryLoop<V, V::asin, ::asin, true>(a, n, tiny, 1); };
    f.acos = [](double* a, int n) { unaryLoop<V, V::acos, ::acos, true>(a, n, 0, 1); };
    f.atan = [](double* a, int n) { unaryLoop<V, V::atan, ::atan, true>(a, n, tiny, infinity); };
    f.sinh = [](double* a, int n) { unaryLoop<V, V::sinh, ::sinh, true>(a, n, tiny, 709); };
    f.cosh = [](double* a, int n) { unaryLoop<V, V::cosh, ::cosh, true>(a, n, 0, 709); };
    f.tanh = [](double* a, int n) { unaryLoop<V, V::tanh, ::tanh, true>(a, n, tiny, infinity); };
    f.exp = [](double* a, int n) { unaryLoop<V, V::exp, ::exp, false>(a, n, -708, 709); };
    f.exp2 = [](double* a, int n) { unaryLoop<V, V::exp2, ::exp2, false>(a, n, -1022, 1023); };
    f.log = [](double* a, int n) { unaryLoop<V, V::log, ::log, false>(a, n, tiny, infinity); };
    f.log2 = [](double* a, int n) { unaryLoop<V, V::log2, ::log2, false>(a, n, tiny, infinity); };
    f.log10 = [](double* a, int n) {
        unaryLoop<V, V::log10, ::log10, false>(a, n, tiny, infinity);
    };
    f.pow = [](double* s, const double* e, int n) { powLoop<V, V::pow>(s, e, n); };
    f.powc = [](double* a, double c, int n) { powcLoop<V, V::pow>(a, c, n); };
    return f;
}

} // namespace
} // namespace platform::detail
