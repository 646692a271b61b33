// The vector functions four lanes at a time. This file alone is compiled for AVX2 and FMA (which
// SLEEF's AVX2 functions use); it runs only where the processor has both (enginevector.cpp).

#include "platform/enginevectorloops.h"

#include <sleef.h>

namespace platform::detail {

namespace {

struct Avx2 {
    using Reg = __m256d;
    static constexpr int width = 4;
    static constexpr int all = 15;
    static Reg load(const double* p) { return _mm256_loadu_pd(p); }
    static void store(double* p, Reg x) { _mm256_storeu_pd(p, x); }
    static Reg set1(double c) { return _mm256_set1_pd(c); }
    static Reg abs(Reg x) { return _mm256_andnot_pd(_mm256_set1_pd(-0.0), x); }
    static Reg add(Reg a, Reg b) { return _mm256_add_pd(a, b); }
    static Reg sub(Reg a, Reg b) { return _mm256_sub_pd(a, b); }
    static Reg andr(Reg a, Reg b) { return _mm256_and_pd(a, b); }
    static Reg ge(Reg a, Reg b) { return _mm256_cmp_pd(a, b, _CMP_GE_OQ); }
    static Reg lt(Reg a, Reg b) { return _mm256_cmp_pd(a, b, _CMP_LT_OQ); }
    static Reg ne(Reg a, Reg b) { return _mm256_cmp_pd(a, b, _CMP_NEQ_OQ); }
    static int mask(Reg m) { return _mm256_movemask_pd(m); }
    static constexpr auto sin = Sleef_sind4_u10avx2;
    static constexpr auto cos = Sleef_cosd4_u10avx2;
    static constexpr auto tan = Sleef_tand4_u10avx2;
    static constexpr auto asin = Sleef_asind4_u10avx2;
    static constexpr auto acos = Sleef_acosd4_u10avx2;
    static constexpr auto atan = Sleef_atand4_u10avx2;
    static constexpr auto sinh = Sleef_sinhd4_u10avx2;
    static constexpr auto cosh = Sleef_coshd4_u10avx2;
    static constexpr auto tanh = Sleef_tanhd4_u10avx2;
    static constexpr auto exp = Sleef_expd4_u10avx2;
    static constexpr auto exp2 = Sleef_exp2d4_u10avx2;
    static constexpr auto log = Sleef_logd4_u10avx2;
    static constexpr auto log2 = Sleef_log2d4_u10avx2;
    static constexpr auto log10 = Sleef_log10d4_u10avx2;
    static constexpr auto pow = Sleef_powd4_u10avx2;
};

} // namespace

const VectorMath& avx2VectorMath() {
    static const VectorMath functions = vectorFunctions<Avx2>();
    return functions;
}

} // namespace platform::detail
