#pragma once
// The library functions the sweep computes four or two lanes at a time (with SLEEF), each to
// within an ulp or two of the C library's value that the scalar machine computes. Wherever the
// two could tell apart what a user sees, a lane takes the C library's function instead: arguments
// from which the results overflow, underflow into subnormals or leave the functions' domains,
// angles of 1e8 and beyond (whose reduction MathEngine::work counts), tiny tangents, and powers
// with whole exponents (2^3 is exactly 8). Not-a-number and infinity thus come where they come in
// the scalar machine, and so do the errors decided from them.

namespace platform::detail {

// Each function works in place on n values (a multiple of 4).
struct VectorMath {
    using Unary = void (*)(double* a, int n);
    Unary sin, cos, tan, asin, acos, atan, sinh, cosh, tanh, exp, exp2, log, log2, log10;
    void (*pow)(double* s, const double* a, int n); // s = pow(s, a)
    void (*powc)(double* a, double c, int n);       // a = pow(a, c)
};

// scalar: the C library's functions themselves; the others as the processor allows.
enum class VectorLevel { scalar, sse2, avx2 };

// The functions of the widest level the processor has, unless tests have chosen another.
const VectorMath& vectorMath();

// For tests: makes the sweep use the functions of that level; false (nothing changed) when the
// processor or the build does not have it.
bool useVectorLevel(VectorLevel level);

// The functions of one level; null when the processor or the build does not have it.
const VectorMath* vectorMathOf(VectorLevel level);

} // namespace platform::detail
