#include "platform/enginevector.h"

#include <atomic>
#include <cmath>

#if defined(__x86_64__) && defined(__GNUC__)
#define KURVATUR_X86 1
#include "platform/enginevectorloops.h"

#include <sleef.h>
#endif

namespace platform::detail {

namespace {

VectorMath scalarFunctions() {
    VectorMath f{};
#define KURVATUR_SCALAR(name)                                                                      \
    f.name = [](double* a, int n) {                                                                \
        for (int i = 0; i < n; ++i)                                                                \
            a[i] = std::name(a[i]);                                                                \
    };
    KURVATUR_SCALAR(sin)
    KURVATUR_SCALAR(cos)
    KURVATUR_SCALAR(tan)
    KURVATUR_SCALAR(asin)
    KURVATUR_SCALAR(acos)
    KURVATUR_SCALAR(atan)
    KURVATUR_SCALAR(sinh)
    KURVATUR_SCALAR(cosh)
    KURVATUR_SCALAR(tanh)
    KURVATUR_SCALAR(exp)
    KURVATUR_SCALAR(exp2)
    KURVATUR_SCALAR(log)
    KURVATUR_SCALAR(log2)
    KURVATUR_SCALAR(log10)
#undef KURVATUR_SCALAR
    f.pow = [](double* s, const double* e, int n) {
        for (int i = 0; i < n; ++i)
            s[i] = std::pow(s[i], e[i]);
    };
    f.powc = [](double* a, double c, int n) {
        for (int i = 0; i < n; ++i)
            a[i] = std::pow(a[i], c);
    };
    return f;
}

#ifdef KURVATUR_X86
// Two lanes at a time, which every x86-64 processor has.
struct Sse2 {
    using Reg = __m128d;
    static constexpr int width = 2;
    static constexpr int all = 3;
    static Reg load(const double* p) { return _mm_loadu_pd(p); }
    static void store(double* p, Reg x) { _mm_storeu_pd(p, x); }
    static Reg set1(double c) { return _mm_set1_pd(c); }
    static Reg abs(Reg x) { return _mm_andnot_pd(_mm_set1_pd(-0.0), x); }
    static Reg add(Reg a, Reg b) { return _mm_add_pd(a, b); }
    static Reg sub(Reg a, Reg b) { return _mm_sub_pd(a, b); }
    static Reg andr(Reg a, Reg b) { return _mm_and_pd(a, b); }
    static Reg ge(Reg a, Reg b) { return _mm_cmpge_pd(a, b); } // false where not a number
    static Reg lt(Reg a, Reg b) { return _mm_cmplt_pd(a, b); }
    static Reg ne(Reg a, Reg b) { return _mm_cmpneq_pd(a, b); }
    static int mask(Reg m) { return _mm_movemask_pd(m); }
    static constexpr auto sin = Sleef_sind2_u10sse2;
    static constexpr auto cos = Sleef_cosd2_u10sse2;
    static constexpr auto tan = Sleef_tand2_u10sse2;
    static constexpr auto asin = Sleef_asind2_u10sse2;
    static constexpr auto acos = Sleef_acosd2_u10sse2;
    static constexpr auto atan = Sleef_atand2_u10sse2;
    static constexpr auto sinh = Sleef_sinhd2_u10sse2;
    static constexpr auto cosh = Sleef_coshd2_u10sse2;
    static constexpr auto tanh = Sleef_tanhd2_u10sse2;
    static constexpr auto exp = Sleef_expd2_u10sse2;
    static constexpr auto exp2 = Sleef_exp2d2_u10sse2;
    static constexpr auto log = Sleef_logd2_u10sse2;
    static constexpr auto log2 = Sleef_log2d2_u10sse2;
    static constexpr auto log10 = Sleef_log10d2_u10sse2;
    static constexpr auto pow = Sleef_powd2_u10sse2;
};
#endif

// chosen by the first sweep, or by tests
std::atomic<const VectorMath*> current{nullptr};

} // namespace

#ifdef KURVATUR_X86
const VectorMath& avx2VectorMath(); // enginevector_avx2.cpp
#endif

const VectorMath* vectorMathOf(VectorLevel level) {
    static const VectorMath scalar = scalarFunctions();
    switch (level) {
    case VectorLevel::scalar:
        return &scalar;
#ifdef KURVATUR_X86
    case VectorLevel::sse2: {
        static const VectorMath sse2 = vectorFunctions<Sse2>();
        return &sse2;
    }
    case VectorLevel::avx2: {
        static const bool has = [] {
            __builtin_cpu_init();
            return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
        }();
        return has ? &avx2VectorMath() : nullptr;
    }
#endif
    default:
        return nullptr;
    }
}

const VectorMath& vectorMath() {
    const VectorMath* functions = current.load(std::memory_order_relaxed);
    if (functions == nullptr) {
        for (VectorLevel level : {VectorLevel::avx2, VectorLevel::sse2, VectorLevel::scalar}) {
            functions = vectorMathOf(level);
            if (functions != nullptr) break;
        }
        current.store(functions, std::memory_order_relaxed);
    }
    return *functions;
}

bool useVectorLevel(VectorLevel level) {
    const VectorMath* functions = vectorMathOf(level);
    if (functions == nullptr) return false;
    current.store(functions, std::memory_order_relaxed);
    return true;
}

} // namespace platform::detail
