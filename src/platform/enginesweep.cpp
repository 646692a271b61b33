// The sweep machine. The top of the stack is a block of lanes like every other value (no separate
// accumulator), so that a push needs no copy and an operation writes its result where its left
// operand was. Every lane of a block is computed in plain loops the compiler can vectorise;
// lanes that have failed or lie outside the current branch compute along and are ignored. What
// must not happen for such a lane happens per lane: an error is marked only for a live lane of
// the branch, work and calls are counted only for those, and a branch or a call runs only when
// at least one live lane takes it, so a function that calls itself ends exactly when it does in
// the scalar machine.

#include "platform/enginesweep.h"

#include "platform/enginefunctions.h"
#include "platform/enginevector.h"
#include "platform/mathengine.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace platform::detail {

namespace {

constexpr int B = sweepLanes;

} // namespace

// The block loops run on four doubles at once where the processor can (AVX2), on two elsewhere;
// both compute every lane with the same operations in the same order (no fused multiply-add:
// the file is compiled without contraction), so the values are the same to the bit. The library's
// functions (sin, exp, ln, pow, ...) come from VectorMath: several lanes at once and within an
// ulp or two of the C library, or the C library's own with MathEngine::setExactSweep. The choice
// is made once at load time (which needs ELF's indirect functions); the helpers are inlined into
// each variant ("flatten"), since a call would run them in the narrow one.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && defined(__ELF__) &&         \
    defined(__OPTIMIZE__)
#define KURVATUR_WIDE __attribute__((flatten, target_clones("avx2", "default")))
#else
#define KURVATUR_WIDE
#endif

namespace {

// Branches and calls the sweep follows nested; deeper (a term of hundreds of nested conditions
// inside a deep recursion) the block is left to the scalar machine, which needs no native stack.
constexpr int maxNesting = 640;

// Code 1 for every kind of it (not a number, calls too deep or too many); a sweep gives codes
// only, the kind is the scalar machine's error data.
constexpr std::uint8_t codeOther = std::uint8_t(ErrorCode::other);

} // namespace

struct SweepLevel {
    alignas(64) double scratch[B];
    alignas(64) double temp[B];
    std::uint8_t then[B];
    std::uint8_t otherwise[B];
    std::uint8_t live[B];
};

SweepMachine::SweepMachine() = default;
SweepMachine::~SweepMachine() = default;

namespace {

#define KURVATUR_LANES for (int l = 0; l < B; ++l)

// A block copied in vector moves (a copy of constant size may become a slow string move).
inline void copyBlock(double* to, const double* from) {
    KURVATUR_LANES to[l] = from[l];
}

class BlockRun {
public:
    BlockRun(const Machine& m, SweepMachine& sm, const double* xslot, const double* xs, int count)
        : m_(m), vm_(m.exactSweep ? *vectorMathOf(VectorLevel::scalar) : vectorMath()), sm_(sm),
          xslot_(xslot), count_(count) {
        if (count == B) {
            xv_ = xs;
        } else {
            std::memcpy(x_, xs, sizeof(double) * std::size_t(count));
            // Lanes beyond the samples repeat the last one, so that they take the same paths.
            for (int l = count; l < B; ++l)
                x_[l] = xs[count - 1];
        }
        std::memset(top_, 1, std::size_t(count));
        std::memset(top_ + count, 0, std::size_t(B - count));
        std::memset(err_, 0, sizeof err_);
    }

    std::uint8_t err_[B];
    bool anyError_ = false; // some lane has an error code
    std::int64_t work_ = 0;
    bool aborted_ = false;

    // Runs the code from ip up to `end` (a branch's end) or its Ret (a whole program) for the
    // live lanes of mask. sp is the block index of the top of the stack, fp that of the first
    // argument of the function being run.
    KURVATUR_WIDE void run(const Instr* ip, const Instr* end, int& sp, int fp, int depth,
                           const std::uint8_t* mask) {
        if (++nesting_ > maxNesting) {
            aborted_ = true;
            return;
        }
        SweepLevel& level = levelAt(nesting_);
        for (; ip != end; ++ip) {
            const Instr& in = *ip;
            switch (in.op) {
            case Op::LoadC: {
                double* a = push(sp);
                const double c = in.a.c;
                KURVATUR_LANES a[l] = c;
                break;
            }
            case Op::LoadV: {
                double* a = push(sp);
                var(in.a.p, [&](auto v) { KURVATUR_LANES a[l] = v(l); });
                break;
            }
            case Op::LoadA: {
                double* a = push(sp);
                copyBlock(a, blk(fp + in.n));
                break;
            }
            case Op::LoadVSqr: {
                double* a = push(sp);
                // x^2 times a factor in one pass (a*x^2 is compiled to x^2*a)
                if (ip + 1 != end && (ip[1].op == Op::MulV || ip[1].op == Op::MulC)) {
                    const double* q = ip[1].op == Op::MulV ? ip[1].a.p : &ip[1].a.c;
                    // the whole of a*x^2 + b*x + c
                    if (ip + 2 != end && (ip[2].op == Op::AddVMulV || ip[2].op == Op::AddVMulC) &&
                        ip + 3 != end && (ip[3].op == Op::AddV || ip[3].op == Op::AddC)) {
                        const double* u = ip[2].a.p;
                        const double* v = ip[2].op == Op::AddVMulV ? ip[2].b.p : &ip[2].b.c;
                        const double* w = ip[3].op == Op::AddV ? ip[3].a.p : &ip[3].a.c;
                        var(in.a.p, [&](auto x) {
                            var(q, [&](auto f) {
                                var(u, [&](auto g) {
                                    var(v, [&](auto h) {
                                        var(w, [&](auto k) {
                                            KURVATUR_LANES a[l] =
                                                x(l) * x(l) * f(l) + g(l) * h(l) + k(l);
                                        });
                                    });
                                });
                            });
                        });
                        ip += 3;
                        break;
                    }
                    var(in.a.p, [&](auto v) {
                        var(q, [&](auto w) { KURVATUR_LANES a[l] = v(l) * v(l) * w(l); });
                    });
                    ++ip;
                    break;
                }
                if (ip + 1 != end && ip[1].op == Op::AddC) { // x^2 + c
                    const double c = ip[1].a.c;
                    var(in.a.p, [&](auto v) { KURVATUR_LANES a[l] = v(l) * v(l) + c; });
                    ++ip;
                    break;
                }
                var(in.a.p, [&](auto v) { KURVATUR_LANES a[l] = v(l) * v(l); });
                break;
            }
            case Op::LoadASqr: {
                double* a = push(sp);
                const double* v = blk(fp + in.n);
                if (ip + 1 != end && ip[1].op == Op::AddC) { // t^2 + c in a function
                    const double c = ip[1].a.c;
                    KURVATUR_LANES a[l] = v[l] * v[l] + c;
                    ++ip;
                    break;
                }
                KURVATUR_LANES a[l] = v[l] * v[l];
                break;
            }
            case Op::LoadVMulV: {
                double* a = push(sp);
                var(in.a.p, [&](auto u) {
                    var(in.b.p, [&](auto v) { KURVATUR_LANES a[l] = u(l) * v(l); });
                });
                break;
            }
            case Op::LoadVMulC: {
                double* a = push(sp);
                const double c = in.b.c;
                var(in.a.p, [&](auto v) { KURVATUR_LANES a[l] = v(l) * c; });
                break;
            }
            case Op::LoadAMulC: {
                double* a = push(sp);
                const double* v = blk(fp + in.n);
                const double c = in.a.c;
                KURVATUR_LANES a[l] = v[l] * c;
                break;
            }
            case Op::LoadAMulV: {
                double* a = push(sp);
                const double* u = blk(fp + in.n);
                var(in.a.p, [&](auto v) { KURVATUR_LANES a[l] = u[l] * v(l); });
                break;
            }
            case Op::LoadVAddC: {
                double* a = push(sp);
                const double c = in.b.c;
                if (ip + 2 != end && ip[1].op == Op::Sqr && ip[2].op == Op::AddC) {
                    // (t + c)^2 + d: a body written in over its argument
                    const double d = ip[2].a.c;
                    // and its product with the value below it
                    if (ip + 3 != end && ip[3].op == Op::Mul) {
                        double* s = blk(sp - 1);
                        var(in.a.p, [&](auto v) {
                            KURVATUR_LANES {
                                const double t = v(l) + c;
                                s[l] = s[l] * (t * t + d);
                            }
                        });
                        --sp;
                        ip += 3;
                        break;
                    }
                    var(in.a.p, [&](auto v) {
                        KURVATUR_LANES {
                            const double t = v(l) + c;
                            a[l] = t * t + d;
                        }
                    });
                    ip += 2;
                    break;
                }
                var(in.a.p, [&](auto v) { KURVATUR_LANES a[l] = v(l) + c; });
                break;
            }
            case Op::LoadAAddC: {
                double* a = push(sp);
                const double* v = blk(fp + in.n);
                const double c = in.a.c;
                KURVATUR_LANES a[l] = v[l] + c;
                break;
            }

#define KURVATUR_BINARY(op, expr)                                                                  \
    case op: {                                                                                     \
        double* s = blk(sp - 1);                                                                   \
        const double* a = blk(sp);                                                                 \
        KURVATUR_LANES s[l] = (expr);                                                              \
        --sp;                                                                                      \
        break;                                                                                     \
    }
                KURVATUR_BINARY(Op::Add, s[l] + a[l])
                KURVATUR_BINARY(Op::Sub, s[l] - a[l])
                KURVATUR_BINARY(Op::Mul, s[l] * a[l])
                KURVATUR_BINARY(Op::Eq, truth(s[l] == a[l]))
                KURVATUR_BINARY(Op::Ne, truth(s[l] != a[l]))
                KURVATUR_BINARY(Op::Lt, truth(s[l] < a[l]))
                KURVATUR_BINARY(Op::Gt, truth(s[l] > a[l]))
                KURVATUR_BINARY(Op::Le, truth(s[l] <= a[l]))
                KURVATUR_BINARY(Op::Ge, truth(s[l] >= a[l]))
                KURVATUR_BINARY(Op::And, truth((s[l] != 0) & (a[l] != 0)))
                KURVATUR_BINARY(Op::Or, truth((s[l] != 0) | (a[l] != 0)))
                KURVATUR_BINARY(Op::Xor, truth((s[l] != 0) != (a[l] != 0)))
                KURVATUR_BINARY(Op::Eqv, truth((s[l] != 0) == (a[l] != 0)))
                KURVATUR_BINARY(Op::Imp, truth((s[l] == 0) | (a[l] != 0)))
                KURVATUR_BINARY(Op::Min2, s[l] < a[l] ? s[l] : a[l])
                KURVATUR_BINARY(Op::Max2, s[l] > a[l] ? s[l] : a[l])
#undef KURVATUR_BINARY
            case Op::AddMulV:
            case Op::SubMulV: {
                double* s = blk(sp - 1);
                const double* a = blk(sp);
                const bool add = in.op == Op::AddMulV;
                var(in.a.p, [&](auto v) {
                    if (add) {
                        KURVATUR_LANES s[l] = s[l] + a[l] * v(l);
                    } else {
                        KURVATUR_LANES s[l] = s[l] - a[l] * v(l);
                    }
                });
                --sp;
                break;
            }
            case Op::AddMulC: {
                double* s = blk(sp - 1);
                const double* a = blk(sp);
                const double c = in.a.c;
                KURVATUR_LANES s[l] = s[l] + a[l] * c;
                --sp;
                break;
            }
            case Op::SubMulC: {
                double* s = blk(sp - 1);
                const double* a = blk(sp);
                const double c = in.a.c;
                KURVATUR_LANES s[l] = s[l] - a[l] * c;
                --sp;
                break;
            }
            case Op::Div: {
                double* s = blk(sp - 1);
                const double* a = blk(sp);
                check(mask, ErrorCode::divisionByZero, [&](int l) { return a[l] == 0; });
                KURVATUR_LANES s[l] = s[l] / a[l];
                --sp;
                break;
            }
            case Op::Pow: {
                double* s = blk(sp - 1);
                const double* a = blk(sp);
                check(mask, ErrorCode::power, [&](int l) { return badPower(s[l], a[l]); });
                vm_.pow(s, a, B);
                --sp;
                break;
            }
            case Op::Mod: {
                double* s = blk(sp - 1);
                const double* a = blk(sp);
                check(mask, ErrorCode::integerDivisionByZero, [&](int l) { return a[l] == 0; });
                for (int l = 0; l < B; ++l)
                    if (live(mask, l)) work_ -= remainderWork(s[l], a[l]);
                KURVATUR_LANES s[l] = std::fmod(s[l], a[l]);
                --sp;
                break;
            }
            case Op::IntDiv: {
                double* s = blk(sp - 1);
                const double* a = blk(sp);
                check(mask, ErrorCode::integerDivisionByZero,
                      [&](int l) { return std::nearbyint(a[l]) == 0; });
                KURVATUR_LANES s[l] = std::trunc(std::nearbyint(s[l]) / std::nearbyint(a[l]));
                --sp;
                break;
            }
            case Op::Atan2: {
                double* s = blk(sp - 1);
                const double* a = blk(sp);
                KURVATUR_LANES s[l] = fromRadians(std::atan2(s[l], a[l]), m_);
                --sp;
                break;
            }

#define KURVATUR_WITH_CONSTANT(op, expr)                                                           \
    case op: {                                                                                     \
        double* a = blk(sp);                                                                       \
        const double c = in.a.c;                                                                   \
        KURVATUR_LANES a[l] = (expr);                                                              \
        break;                                                                                     \
    }
                KURVATUR_WITH_CONSTANT(Op::AddC, a[l] + c)
                KURVATUR_WITH_CONSTANT(Op::SubC, a[l] - c)
                KURVATUR_WITH_CONSTANT(Op::MulC, a[l] * c)
                KURVATUR_WITH_CONSTANT(Op::DivC, a[l] / c)
                KURVATUR_WITH_CONSTANT(Op::RSubC, c - a[l])
                KURVATUR_WITH_CONSTANT(Op::EqC, truth(a[l] == c))
                KURVATUR_WITH_CONSTANT(Op::NeC, truth(a[l] != c))
                KURVATUR_WITH_CONSTANT(Op::LtC, truth(a[l] < c))
                KURVATUR_WITH_CONSTANT(Op::GtC, truth(a[l] > c))
                KURVATUR_WITH_CONSTANT(Op::LeC, truth(a[l] <= c))
                KURVATUR_WITH_CONSTANT(Op::GeC, truth(a[l] >= c))
#undef KURVATUR_WITH_CONSTANT
            case Op::RDivC: {
                double* a = blk(sp);
                const double c = in.a.c;
                check(mask, ErrorCode::divisionByZero, [&](int l) { return a[l] == 0; });
                KURVATUR_LANES a[l] = c / a[l];
                break;
            }
            case Op::PowC: {
                double* a = blk(sp);
                const double c = in.a.c;
                check(mask, ErrorCode::power, [&](int l) { return badPower(a[l], c); });
                vm_.powc(a, c, B);
                break;
            }

#define KURVATUR_WITH_VARIABLE(op, expr)                                                           \
    case op: {                                                                                     \
        double* a = blk(sp);                                                                       \
        var(in.a.p, [&](auto v) { KURVATUR_LANES a[l] = (expr); });                                \
        break;                                                                                     \
    }
                KURVATUR_WITH_VARIABLE(Op::AddV, a[l] + v(l))
                KURVATUR_WITH_VARIABLE(Op::SubV, a[l] - v(l))
                KURVATUR_WITH_VARIABLE(Op::MulV, a[l] * v(l))
                KURVATUR_WITH_VARIABLE(Op::RSubV, v(l) - a[l])
#undef KURVATUR_WITH_VARIABLE
            case Op::DivV: {
                double* a = blk(sp);
                var(in.a.p, [&](auto v) {
                    check(mask, ErrorCode::divisionByZero, [&](int l) { return v(l) == 0; });
                    KURVATUR_LANES a[l] = a[l] / v(l);
                });
                break;
            }
            case Op::RDivV: {
                double* a = blk(sp);
                check(mask, ErrorCode::divisionByZero, [&](int l) { return a[l] == 0; });
                var(in.a.p, [&](auto v) { KURVATUR_LANES a[l] = v(l) / a[l]; });
                break;
            }

#define KURVATUR_WITH_ARGUMENT(op, expr)                                                           \
    case op: {                                                                                     \
        double* a = blk(sp);                                                                       \
        const double* v = blk(fp + in.n);                                                          \
        KURVATUR_LANES a[l] = (expr);                                                              \
        break;                                                                                     \
    }
                KURVATUR_WITH_ARGUMENT(Op::AddA, a[l] + v[l])
                KURVATUR_WITH_ARGUMENT(Op::SubA, a[l] - v[l])
                KURVATUR_WITH_ARGUMENT(Op::MulA, a[l] * v[l])
                KURVATUR_WITH_ARGUMENT(Op::RSubA, v[l] - a[l])
#undef KURVATUR_WITH_ARGUMENT
            case Op::DivA: {
                double* a = blk(sp);
                const double* v = blk(fp + in.n);
                check(mask, ErrorCode::divisionByZero, [&](int l) { return v[l] == 0; });
                KURVATUR_LANES a[l] = a[l] / v[l];
                break;
            }
            case Op::RDivA: {
                double* a = blk(sp);
                const double* v = blk(fp + in.n);
                check(mask, ErrorCode::divisionByZero, [&](int l) { return a[l] == 0; });
                KURVATUR_LANES a[l] = v[l] / a[l];
                break;
            }

            case Op::MulAddC: {
                double* a = blk(sp);
                const double c = in.a.c, d = in.b.c;
                KURVATUR_LANES a[l] = a[l] * c + d;
                break;
            }
            case Op::AddVMulV:
            case Op::SubVMulV: {
                double* a = blk(sp);
                const bool add = in.op == Op::AddVMulV;
                // a following addition of a variable or constant in the same pass
                if (add && ip + 1 != end && (ip[1].op == Op::AddV || ip[1].op == Op::AddC)) {
                    const double* r = ip[1].op == Op::AddV ? ip[1].a.p : &ip[1].a.c;
                    var(in.a.p, [&](auto u) {
                        var(in.b.p, [&](auto v) {
                            var(r,
                                [&](auto w) { KURVATUR_LANES a[l] = a[l] + u(l) * v(l) + w(l); });
                        });
                    });
                    ++ip;
                    break;
                }
                var(in.a.p, [&](auto u) {
                    var(in.b.p, [&](auto v) {
                        if (add) {
                            KURVATUR_LANES a[l] += u(l) * v(l);
                        } else {
                            KURVATUR_LANES a[l] -= u(l) * v(l);
                        }
                    });
                });
                break;
            }
            case Op::AddVMulC:
            case Op::SubVMulC: {
                double* a = blk(sp);
                const double c = in.b.c;
                const bool add = in.op == Op::AddVMulC;
                var(in.a.p, [&](auto v) {
                    if (add) {
                        KURVATUR_LANES a[l] += v(l) * c;
                    } else {
                        KURVATUR_LANES a[l] -= v(l) * c;
                    }
                });
                break;
            }
            case Op::Sqr: {
                double* a = blk(sp);
                if (ip + 1 != end && ip[1].op == Op::AddC) { // t^2 + c of a body written in
                    const double c = ip[1].a.c;
                    KURVATUR_LANES a[l] = a[l] * a[l] + c;
                    ++ip;
                    break;
                }
                KURVATUR_LANES a[l] *= a[l];
                break;
            }
            case Op::Cube: {
                double* a = blk(sp);
                KURVATUR_LANES a[l] = a[l] * a[l] * a[l];
                break;
            }
            case Op::PowI: {
                double* a = blk(sp);
                const int n = in.n;
                if (n < 0) check(mask, ErrorCode::power, [&](int l) { return a[l] == 0; });
                double* x = level.scratch;
                copyBlock(x, a);
                KURVATUR_LANES a[l] = 1.0;
                for (unsigned k = unsigned(n < 0 ? -n : n); k != 0; k >>= 1) {
                    if (k & 1u) KURVATUR_LANES a[l] *= x[l];
                    KURVATUR_LANES x[l] *= x[l];
                }
                if (n < 0) KURVATUR_LANES a[l] = 1.0 / a[l];
                break;
            }

            case Op::Neg: {
                double* a = blk(sp);
                KURVATUR_LANES a[l] = -a[l];
                break;
            }
            case Op::Not: {
                double* a = blk(sp);
                KURVATUR_LANES a[l] = truth(a[l] == 0);
                break;
            }
            case Op::Fact: {
                double* a = blk(sp);
                check(mask, ErrorCode::factorialArgument,
                      [&](int l) { return !(a[l] >= 0) || !whole(a[l]); });
                check(mask, ErrorCode::factorialTooLarge, [&](int l) { return a[l] > 170; });
                for (int l = 0; l < B; ++l)
                    a[l] = a[l] >= 0 && a[l] <= 170 && whole(a[l]) ? factorials[std::size_t(a[l])]
                                                                   : 0.0;
                break;
            }
            case Op::Sin:
            case Op::Cos:
            case Op::Tan:
                angleWork(mask, blk(sp));
                circular(blk(sp), blk(sp), in.op, level.temp);
                break;
            case Op::Sec:
            case Op::Csc:
            case Op::Cot: {
                double* a = blk(sp);
                angleWork(mask, a);
                double* s = level.scratch;
                const bool sec = in.op == Op::Sec;
                circular(a, s, sec ? Op::Cos : Op::Sin, level.temp);
                const int code = sec                ? ErrorCode::secDomain
                                 : in.op == Op::Csc ? ErrorCode::cscDomain
                                                    : ErrorCode::cotDomain;
                check(mask, code, [&](int l) { return s[l] == 0; });
                if (in.op == Op::Cot) {
                    circular(a, a, Op::Cos, level.temp);
                    KURVATUR_LANES a[l] = a[l] / s[l];
                } else {
                    KURVATUR_LANES a[l] = 1.0 / s[l];
                }
                break;
            }
            case Op::Asin: {
                double* a = blk(sp);
                check(mask, ErrorCode::asinDomain, [&](int l) { return a[l] < -1 || a[l] > 1; });
                vm_.asin(a, B);
                KURVATUR_LANES a[l] = fromRadians(a[l], m_);
                break;
            }
            case Op::Acos: {
                double* a = blk(sp);
                check(mask, ErrorCode::acosDomain, [&](int l) { return a[l] < -1 || a[l] > 1; });
                vm_.acos(a, B);
                KURVATUR_LANES a[l] = fromRadians(a[l], m_);
                break;
            }
            case Op::Atan: {
                double* a = blk(sp);
                vm_.atan(a, B);
                KURVATUR_LANES a[l] = fromRadians(a[l], m_);
                break;
            }
            case Op::Acot: {
                double* a = blk(sp);
                vm_.atan(a, B);
                KURVATUR_LANES a[l] = fromRadians(std::numbers::pi / 2 - a[l], m_);
                break;
            }

#define KURVATUR_FUNCTION(op, bad, code, expr)                                                     \
    case op: {                                                                                     \
        double* a = blk(sp);                                                                       \
        if (code != 0) check(mask, code, [&]([[maybe_unused]] int l) { return bad; });             \
        KURVATUR_LANES a[l] = (expr);                                                              \
        break;                                                                                     \
    }
#define KURVATUR_VECTOR(op, bad, code, fn, expr)                                                   \
    case op: {                                                                                     \
        double* a = blk(sp);                                                                       \
        if (code != 0) check(mask, code, [&]([[maybe_unused]] int l) { return bad; });             \
        vm_.fn(a, B);                                                                              \
        KURVATUR_LANES a[l] = (expr);                                                              \
        break;                                                                                     \
    }
                KURVATUR_VECTOR(Op::Sinh, false, 0, sinh, a[l])
                KURVATUR_VECTOR(Op::Cosh, false, 0, cosh, a[l])
                KURVATUR_VECTOR(Op::Tanh, false, 0, tanh, a[l])
                KURVATUR_VECTOR(Op::Coth, a[l] == 0, ErrorCode::cothDomain, tanh, 1.0 / a[l])
                KURVATUR_VECTOR(Op::Sech, false, 0, cosh, 1.0 / a[l])
                KURVATUR_VECTOR(Op::Csch, a[l] == 0, ErrorCode::cschDomain, sinh, 1.0 / a[l])
                KURVATUR_VECTOR(Op::Ln, a[l] <= 0, ErrorCode::lnDomain, log, a[l])
                KURVATUR_VECTOR(Op::Log2, a[l] <= 0, ErrorCode::log2Domain, log2, a[l])
                KURVATUR_VECTOR(Op::Log10, a[l] <= 0, ErrorCode::log10Domain, log10, a[l])
                KURVATUR_VECTOR(Op::Exp, false, 0, exp, a[l])
                KURVATUR_VECTOR(Op::Exp2, false, 0, exp2, a[l])
#undef KURVATUR_VECTOR
                KURVATUR_FUNCTION(Op::Asinh, false, 0, std::asinh(a[l]))
                KURVATUR_FUNCTION(Op::Acosh, a[l] < 1, ErrorCode::acoshDomain, std::acosh(a[l]))
                KURVATUR_FUNCTION(Op::Atanh, std::fabs(a[l]) >= 1, ErrorCode::atanhDomain,
                                  std::atanh(a[l]))
                KURVATUR_FUNCTION(Op::Acoth, std::fabs(a[l]) <= 1, ErrorCode::acothDomain,
                                  std::atanh(1.0 / a[l]))
                KURVATUR_FUNCTION(Op::Asech, a[l] <= 0 || a[l] > 1, ErrorCode::asechDomain,
                                  std::acosh(1.0 / a[l]))
                KURVATUR_FUNCTION(Op::Acsch, a[l] == 0, ErrorCode::acschDomain,
                                  std::asinh(1.0 / a[l]))
                KURVATUR_FUNCTION(Op::Sqrt, a[l] < 0, ErrorCode::sqrtDomain, std::sqrt(a[l]))
                KURVATUR_FUNCTION(Op::Abs, false, 0, std::fabs(a[l]))
                KURVATUR_FUNCTION(Op::Sgn, false, 0, a[l] > 0 ? 1.0 : a[l] < 0 ? -1.0 : a[l])
                KURVATUR_FUNCTION(Op::Int, false, 0, std::floor(a[l]))
                KURVATUR_FUNCTION(Op::Fix, false, 0, std::trunc(a[l]))
                KURVATUR_FUNCTION(Op::Frac, false, 0, a[l] - std::trunc(a[l]))
                KURVATUR_FUNCTION(Op::Round, false, 0, std::nearbyint(a[l]))
                KURVATUR_FUNCTION(Op::Ceil, false, 0, std::ceil(a[l]))
                KURVATUR_FUNCTION(Op::Floor, false, 0, std::floor(a[l]))
#undef KURVATUR_FUNCTION

            case Op::MinN:
            case Op::MaxN: {
                double* a = blk(sp);
                const bool min = in.op == Op::MinN;
                for (int k = 1; k < in.n; ++k) {
                    const double* s = blk(sp - k);
                    if (min) {
                        KURVATUR_LANES a[l] = s[l] < a[l] ? s[l] : a[l];
                    } else {
                        KURVATUR_LANES a[l] = s[l] > a[l] ? s[l] : a[l];
                    }
                }
                sp -= in.n - 1;
                if (in.n > 1) copyBlock(blk(sp), a);
                break;
            }

            case Op::Jz:
            case Op::JzEqC:
            case Op::JzNeC:
            case Op::JzLtC:
            case Op::JzGtC:
            case Op::JzLeC:
            case Op::JzGeC:
                ip = branch(level, ip, sp, fp, depth, mask);
                if (aborted_) return;
                --ip; // the loop steps to the end of the conditional
                break;
            case Op::Jmp: // not reached: a branch ends before its jump
                ip += in.n - 1;
                break;
            case Op::Call:
                call(level, in, sp, depth, mask);
                if (aborted_) return;
                break;
            case Op::Ret:
                --nesting_;
                return;
            case Op::Work: {
                // the lanes the call written in here is made for: live ones without an error
                int lanes = count_;
                if (anyError_ || mask != top_) {
                    lanes = 0;
                    for (int l = 0; l < B; ++l)
                        lanes += live(mask, l) ? 1 : 0;
                }
                work_ -= std::int64_t(in.a.c) * lanes;
                if (work_ < 0) {
                    aborted_ = true;
                    return;
                }
                break;
            }
            case Op::Drop:
                copyBlock(blk(sp - in.n), blk(sp));
                sp -= in.n;
                break;
            }
        }
        --nesting_;
    }

private:
    const Machine& m_;
    const VectorMath& vm_; // the library's functions over a block
    SweepMachine& sm_;
    const double* xslot_;
    int count_;
    alignas(64) double x_[B];
    const double* xv_ = x_; // the samples: the caller's when they fill the block
    std::uint8_t top_[B];
    std::int32_t calls_[B]; // zeroed by the first call
    bool calling_ = false;
    int nesting_ = 0;

public:
    const std::uint8_t* top() const {
        return top_;
    }

    double* blk(int index) {
        return sm_.blocks.data() + std::size_t(index) * B;
    }

    void reserve(int values) {
        const std::size_t wanted = std::size_t(values) * B;
        if (sm_.blocks.size() < wanted) sm_.blocks.resize(std::max(wanted, 2 * sm_.blocks.size()));
    }

private:
    SweepLevel& levelAt(int index) {
        while (int(sm_.levels.size()) <= index)
            sm_.levels.push_back(std::make_unique<SweepLevel>());
        return *sm_.levels[std::size_t(index)];
    }

    double* push(int& sp) {
        return blk(++sp);
    }

    bool live(const std::uint8_t* mask, int l) const {
        return mask[l] != 0 && err_[l] == 0;
    }

    // Hands f the lanes of a variable: the running variable's samples, or the one value of any
    // other variable (no evaluation changes a variable).
    template <typename F> void var(const double* p, F&& f) {
        if (p == xslot_) {
            const double* v = xv_;
            f([v](int l) { return v[l]; });
        } else {
            const double c = *p;
            f([c](int) { return c; });
        }
    }

    // Marks the live lanes of mask where bad holds with the error code. Errors are rare: one
    // pass that only asks whether any lane is bad, a second one only then.
    template <typename Bad> void check(const std::uint8_t* mask, int code, Bad&& bad) {
        if (!anyLane(B, bad)) return;
        for (int l = 0; l < B; ++l)
            if (live(mask, l) && bad(l)) fail(l, code);
    }

    void fail(int l, int code) {
        err_[l] = std::uint8_t(code);
        anyError_ = true;
    }

    void angleWork(const std::uint8_t* mask, const double* a) {
        // not a number too: the scalar machine counts its reduction
        if (!anyLane(B, [a](int l) { return !(std::fabs(a[l]) < 1e8); })) return;
        for (int l = 0; l < B; ++l)
            if (live(mask, l)) work_ -= detail::angleWork(a[l], m_);
    }

    // out = sin, cos or tan (op) of the angles a as sine(), cosine() and tangent() compute
    // them: in degrees and grads each angle is reduced to one turn in its own unit first, whole
    // quarter turns take their exact values, the others the function of their radians. out may
    // be a; quarters is scratch.
    void circular(const double* a, double* out, Op op, double* quarters) {
        const VectorMath::Unary f = op == Op::Sin ? vm_.sin : op == Op::Cos ? vm_.cos : vm_.tan;
        if (m_.trigMode == 1) {
            if (out != a) copyBlock(out, a);
            f(out, B);
            return;
        }
        const double fullTurn = m_.fullTurn, toRadians = twoPi / fullTurn;
        bool anyQuarter = false;
        for (int l = 0; l < B; ++l) {
            double r = 0;
            const int q = quarterTurns(a[l], fullTurn, r);
            quarters[l] = q;
            anyQuarter = anyQuarter || q >= 0;
            out[l] = r * toRadians;
        }
        f(out, B);
        if (!anyQuarter) return;
        static constexpr double sines[] = {0.0, 1.0, 0.0, -1.0}, cosines[] = {1.0, 0.0, -1.0, 0.0};
        for (int l = 0; l < B; ++l) {
            if (quarters[l] < 0) continue;
            const auto q = std::size_t(quarters[l]);
            out[l] = op == Op::Sin ? sines[q] : op == Op::Cos ? cosines[q] : sines[q] / cosines[q];
        }
    }

    // iif: the condition's block is on top. Each branch runs for the live lanes that take it,
    // and not at all when none does. Returns the instruction after the conditional.
    KURVATUR_WIDE const Instr* branch(SweepLevel& level, const Instr* ip, int& sp, int fp,
                                      int depth, const std::uint8_t* mask) {
        const Instr& in = *ip;
        const Instr* elseStart = ip + in.n;
        const Instr* jump = elseStart - 1;
        const Instr* after = jump + jump->n;
        const double* c = blk(sp);
        const double k = in.a.c;
        bool anyThen = false, anyElse = false;
        // One loop per kind of test, so that the test is not decided again in every lane.
        const auto split = [&](auto holds) {
            int thenCount = 0, elseCount = 0;
            std::uint8_t* then = level.then;
            std::uint8_t* otherwise = level.otherwise;
            KURVATUR_LANES then[l] = holds(l) ? 1 : 0;
            KURVATUR_LANES {
                const auto on = std::uint8_t(mask[l] & (err_[l] == 0 ? 1 : 0));
                const std::uint8_t h = then[l];
                then[l] = std::uint8_t(on & h);
                otherwise[l] = std::uint8_t(on & (h ^ 1));
            }
            KURVATUR_LANES thenCount += then[l];
            KURVATUR_LANES elseCount += otherwise[l];
            anyThen = thenCount != 0;
            anyElse = elseCount != 0;
        };
        switch (in.op) {
        case Op::JzEqC:
            split([&](int l) { return c[l] == k; });
            break;
        case Op::JzNeC:
            split([&](int l) { return c[l] != k; });
            break;
        case Op::JzLtC:
            split([&](int l) { return c[l] < k; });
            break;
        case Op::JzGtC:
            split([&](int l) { return c[l] > k; });
            break;
        case Op::JzLeC:
            split([&](int l) { return c[l] <= k; });
            break;
        case Op::JzGeC:
            split([&](int l) { return c[l] >= k; });
            break;
        default:
            split([&](int l) { return c[l] != 0; });
            break;
        }
        --sp;
        const int start = sp;
        if (anyThen) {
            run(ip + 1, jump, sp, fp, depth, level.then);
            if (aborted_) return after;
        }
        if (anyThen && anyElse) {
            copyBlock(level.temp, blk(start + 1));
            sp = start;
        }
        if (anyElse) {
            run(jump + 1, after, sp, fp, depth, level.otherwise);
            if (aborted_) return after;
        }
        if (anyThen && anyElse) {
            double* r = blk(start + 1);
            const double* t = level.temp;
            const std::uint8_t* then = level.then;
            KURVATUR_LANES r[l] = then[l] ? t[l] : r[l];
        }
        sp = start + 1;
        return after;
    }

    // A call of a user function with in.n arguments, the last on top. The arguments become the
    // function's frame; its value takes the place of the first.
    KURVATUR_WIDE void call(SweepLevel& level, const Instr& in, int& sp, int depth,
                            const std::uint8_t* mask) {
        const int fp = sp + 1 - in.n;
        const Program* body = in.a.fn->body.get();
        std::uint8_t* live = level.live;
        int count = 0;
        KURVATUR_LANES live[l] = std::uint8_t(mask[l] & (err_[l] == 0 ? 1 : 0));
        KURVATUR_LANES count += live[l];
        const auto failAll = [&](int code) {
            for (int l = 0; l < B; ++l)
                if (live[l]) fail(l, code);
        };
        if (count == 0) {
        } else if (body == nullptr) {
            failAll(ErrorCode::syntax);
        } else if (depth == maxCallDepth) {
            failAll(codeOther);
        } else {
            if (!calling_) {
                std::memset(calls_, 0, sizeof calls_);
                calling_ = true;
            }
            std::int32_t most = 0;
            KURVATUR_LANES {
                calls_[l] += live[l];
                most = std::max(most, calls_[l]);
            }
            if (most > maxCallsPerEvaluation) {
                for (int l = 0; l < B; ++l) {
                    if (live[l] && calls_[l] > maxCallsPerEvaluation) {
                        fail(l, codeOther);
                        live[l] = 0;
                        --count;
                    }
                }
            }
            work_ -= body->work * count;
            if (work_ < 0) {
                aborted_ = true; // the scalar machine finds the sample that passes the limit
                return;
            }
            if (count > 0 && std::int64_t(m_.capacity) - (sp + 1) < body->maxStack + 2) {
                failAll(codeOther);
            } else if (count > 0) {
                reserve(sp + body->maxStack + 4);
                int bodySp = sp + 1;
                run(body->code.data(), nullptr, bodySp, fp, depth + 1, live);
                if (aborted_) return;
                if (bodySp != fp) copyBlock(blk(fp), blk(bodySp));
            }
        }
        sp = fp;
    }
};

} // namespace

KURVATUR_WIDE bool runSweepBlock(const Program& program, const Program* plan, Machine& machine,
                                 SweepMachine& sweep, const double* xslot, const double* xs,
                                 int count, double* ys, std::uint8_t* errors) {
    if (std::size_t(program.maxStack) + 2 > machine.capacity) {
        for (int l = 0; l < count; ++l) {
            ys[l] = 0;
            errors[l] = codeOther;
        }
        return true;
    }
    BlockRun r(machine, sweep, xslot, xs, count);
    r.work_ = machine.workLeft - program.work * count;
    if (r.work_ < 0) return false;
    const Program& code = plan != nullptr ? *plan : program;
    r.reserve(std::max(program.maxStack, code.maxStack) + 3);
    int sp = 0;
    r.run(code.code.data(), nullptr, sp, 0, 0, r.top());
    if (r.aborted_ || r.work_ < 0) return false;
    machine.workLeft = r.work_;
    const double* a = r.blk(sp);
    if (!r.anyError_) {
        // the values and the not-a-number check in one pass
        // Flags joined by "or", which unlike a sum does not hold each step up for the one
        // before.
        std::uint64_t part[4] = {0, 0, 0, 0};
        int l = 0;
        for (; l + 4 <= count; l += 4)
            for (int k = 0; k < 4; ++k) {
                ys[l + k] = a[l + k];
                part[k] |= a[l + k] != a[l + k] ? ~std::uint64_t(0) : 0;
            }
        for (; l < count; ++l) {
            ys[l] = a[l];
            part[0] |= a[l] != a[l] ? ~std::uint64_t(0) : 0;
        }
        if ((part[0] | part[1] | part[2] | part[3]) == 0) {
            std::memset(errors, 0, std::size_t(count));
            return true;
        }
    }
    for (int l = 0; l < count; ++l) {
        std::uint8_t e = r.err_[l];
        if (e == 0 && std::isnan(a[l])) e = codeOther;
        errors[l] = e;
        ys[l] = e == 0 ? a[l] : 0.0;
    }
    return true;
}

#undef KURVATUR_LANES

namespace {

// Beyond these the calls stay calls. Far below the scalar machine's limits of depth and of
// calls per evaluation, which a call written into a plan thus never reaches.
constexpr int maxInlineDepth = 8;
constexpr int maxInlineCalls = 256;
constexpr std::size_t maxPlanCode = 4096;

// Whether the instruction names an argument of the function being run (by its index n).
bool takesArgument(Op op) {
    switch (op) {
    case Op::LoadA:
    case Op::LoadASqr:
    case Op::LoadAMulC:
    case Op::LoadAMulV:
    case Op::LoadAAddC:
    case Op::AddA:
    case Op::SubA:
    case Op::MulA:
    case Op::DivA:
    case Op::RSubA:
    case Op::RDivA:
        return true;
    default:
        return false;
    }
}

bool pushes(Op op) {
    return op >= Op::LoadC && op <= Op::LoadAAddC;
}

// Whether the instruction never marks a lane with an error.
bool cannotFail(Op op) {
    if (pushes(op)) return true;
    switch (op) {
    case Op::Add:
    case Op::Sub:
    case Op::Mul:
    case Op::AddC:
    case Op::SubC:
    case Op::MulC:
    case Op::RSubC:
    case Op::AddV:
    case Op::SubV:
    case Op::MulV:
    case Op::RSubV:
    case Op::AddA:
    case Op::SubA:
    case Op::MulA:
    case Op::RSubA:
    case Op::MulAddC:
    case Op::Sqr:
    case Op::Cube:
    case Op::Neg:
    case Op::Drop:
        return true;
    default:
        return false;
    }
}

// The change of the sweep's stack index the instruction makes.
int stackEffect(const Instr& in) {
    if (pushes(in.op)) return 1;
    if (in.op >= Op::Add && in.op <= Op::Atan2) return -1;
    switch (in.op) {
    case Op::AddMulV:
    case Op::SubMulV:
    case Op::AddMulC:
    case Op::SubMulC:
        return -1;
    case Op::MinN:
    case Op::MaxN:
        return 1 - in.n;
    default:
        return 0;
    }
}

// Where an argument of a body being written in is: in a variable, or in a block of the sweep's
// stack (a plan runs with its frame at block 0, so the block's index names it).
struct Argument {
    const double* p = nullptr;
    int block = 0;
};

// The instruction with the argument it names taken from where it is.
Instr substituted(const Instr& in, const Argument& arg) {
    Instr out = in;
    if (arg.p == nullptr) {
        out.n = arg.block;
        return out;
    }
    switch (in.op) {
    case Op::LoadA:
        out.op = Op::LoadV;
        out.a.p = arg.p;
        break;
    case Op::LoadASqr:
        out.op = Op::LoadVSqr;
        out.a.p = arg.p;
        break;
    case Op::LoadAMulC: // argument * c
        out.op = Op::LoadVMulC;
        out.a.p = arg.p;
        out.b.c = in.a.c;
        break;
    case Op::LoadAMulV: // argument * variable, in this order
        out.op = Op::LoadVMulV;
        out.a.p = arg.p;
        out.b.p = in.a.p;
        break;
    case Op::LoadAAddC:
        out.op = Op::LoadVAddC;
        out.a.p = arg.p;
        out.b.c = in.a.c;
        break;
    default: // the operations with an argument as their right operand
        out.op = in.op == Op::AddA    ? Op::AddV
                 : in.op == Op::SubA  ? Op::SubV
                 : in.op == Op::MulA  ? Op::MulV
                 : in.op == Op::DivA  ? Op::DivV
                 : in.op == Op::RSubA ? Op::RSubV
                                      : Op::RDivV;
        out.a.p = arg.p;
        break;
    }
    out.n = 0;
    return out;
}

class Planner {
public:
    explicit Planner(std::size_t capacity) : capacity_(capacity) {}

    std::vector<Instr> code;
    int maxSp = 0;

    // Writes the code of a program (its arguments where args says) up to its Ret, the stack
    // index sp going along. need: the scalar machine's stack the calls so far take at most.
    bool emit(const Program& program, const std::vector<Argument>& args, int& sp, std::size_t need,
              std::size_t from = 0) {
        for (std::size_t i = from; i < program.code.size(); ++i) {
            const Instr& in = program.code[i];
            if (code.size() > maxPlanCode) return false;
            if (in.op == Op::Ret) return true;
            if (in.op >= Op::Jz && in.op <= Op::Jmp) return false; // branches stay calls
            if (in.op == Op::Call) {
                if (!call(in, sp, need)) return false;
                continue;
            }
            if (takesArgument(in.op)) {
                if (std::size_t(in.n) >= args.size()) return false;
                code.push_back(substituted(in, args[std::size_t(in.n)]));
            } else {
                code.push_back(in);
            }
            sp += stackEffect(in);
            maxSp = std::max(maxSp, sp);
        }
        return false; // not reached: every program ends in Ret
    }

private:
    std::size_t capacity_;
    std::vector<const Function*> active_;
    int calls_ = 0;

    bool call(const Instr& in, int& sp, std::size_t need) {
        const Function* fn = in.a.fn;
        const Program* body = fn->body.get();
        const int n = in.n;
        // An empty body fails, a recursive one may fail: both stay calls.
        if (body == nullptr || body->code.empty() || !pushes(body->code.front().op) ||
            int(active_.size()) >= maxInlineDepth || ++calls_ > maxInlineCalls || n < 0 ||
            int(code.size()) < n || std::find(active_.begin(), active_.end(), fn) != active_.end())
            return false;
        // The scalar machine spills a value and wants the body's stack and two more free.
        need += std::size_t(body->maxStack) + 3;
        if (need > capacity_) return false;
        // Arguments that are each a variable or an argument of the caller are read where they
        // are; otherwise their values form the frame, at blocks fp ... sp.
        bool plain = true;
        for (int k = 0; k < n; ++k) {
            const Op op = code[code.size() - std::size_t(n - k)].op;
            plain = plain && (op == Op::LoadV || op == Op::LoadA);
        }
        std::vector<Argument> args(static_cast<std::size_t>(n));
        const int fp = sp + 1 - n;
        for (int k = 0; k < n; ++k) {
            if (plain) {
                const Instr& load = code[code.size() - std::size_t(n - k)];
                args[std::size_t(k)] =
                    load.op == Op::LoadV ? Argument{load.a.p, 0} : Argument{nullptr, load.n};
            } else {
                args[std::size_t(k)] = Argument{nullptr, fp + k};
            }
        }
        if (plain) {
            code.resize(code.size() - std::size_t(n));
            sp -= n;
        }
        // The body's first value may take the place of its last argument, on top.
        const bool over = !plain && overwritesLast(*body, n);
        if (!code.empty() && code.back().op == Op::Work) { // for the same lanes
            code.back().a.c += double(body->work);
        } else {
            Instr work;
            work.op = Op::Work;
            work.a.c = double(body->work);
            code.push_back(work);
        }
        active_.push_back(fn);
        if (over) code.push_back(overwriting(body->code.front()));
        const bool ok = emit(*body, args, sp, need, over ? 1 : 0);
        active_.pop_back();
        if (!ok) return false;
        if (!plain && sp != fp) {
            Instr drop; // the value over the frame
            drop.op = Op::Drop;
            drop.n = sp - fp;
            code.push_back(drop);
            sp = fp;
        }
        return true;
    }

    // The first instruction of a body, which reads its last argument, as an operation on the
    // top of the stack where that argument is.
    static Instr overwriting(const Instr& first) {
        Instr out = first;
        out.n = 0;
        switch (first.op) {
        case Op::LoadASqr:
            out.op = Op::Sqr;
            break;
        case Op::LoadAMulC:
            out.op = Op::MulC;
            break;
        case Op::LoadAMulV: // argument * variable, in this order
            out.op = Op::MulV;
            break;
        default:
            out.op = Op::AddC;
            break;
        }
        return out;
    }

    // Whether the body's first instruction is the only one to read its last argument and
    // computes from it lane by lane, so that its value may be written over that argument.
    static bool overwritesLast(const Program& body, int n) {
        if (n < 1 || body.code.empty()) return false;
        const Instr& first = body.code.front();
        const bool computes = first.op == Op::LoadASqr || first.op == Op::LoadAMulC ||
                              first.op == Op::LoadAMulV || first.op == Op::LoadAAddC;
        if (!computes || first.n != n - 1) return false;
        return std::none_of(body.code.begin() + 1, body.code.end(),
                            [n](const Instr& in) { return takesArgument(in.op) && in.n == n - 1; });
    }
};

} // namespace

std::unique_ptr<const Program> inlinedPlan(const Program& program, std::size_t capacity) {
    if (std::none_of(program.code.begin(), program.code.end(),
                     [](const Instr& in) { return in.op == Op::Call; }))
        return nullptr;
    Planner planner(capacity);
    int sp = 0;
    if (!planner.emit(program, {}, sp, std::size_t(program.maxStack) + 2)) return nullptr;
    // Each call's work counted as early as the same lanes are live, so that the instructions
    // around it can be taken together.
    std::vector<Instr> code;
    code.reserve(planner.code.size() + 1);
    for (const Instr& in : planner.code) {
        if (in.op != Op::Work) {
            code.push_back(in);
            continue;
        }
        std::size_t at = code.size();
        while (at > 0 && cannotFail(code[at - 1].op))
            --at;
        if (at > 0 && code[at - 1].op == Op::Work) {
            code[at - 1].a.c += in.a.c;
        } else {
            code.insert(code.begin() + std::ptrdiff_t(at), in);
        }
    }
    Instr ret;
    ret.op = Op::Ret;
    code.push_back(ret);
    auto plan = std::make_unique<Program>();
    plan->code = std::move(code);
    plan->maxStack = planner.maxSp + 1;
    plan->work = program.work;
    return plan;
}

KURVATUR_WIDE bool sweepProduct(const double* p, const double* q, double c, const double* xslot,
                                const double* xs, int count, double* ys) {
    const bool px = p == xslot, qx = q == xslot;
    const double pv = *p, qv = *q;
    // One pass that computes and counts the values that are not numbers, in independent
    // partial counts the compiler can vectorise.
    const auto each = [&](auto value) {
        double part[4] = {0, 0, 0, 0};
        int l = 0;
        for (; l + 4 <= count; l += 4)
            for (int k = 0; k < 4; ++k) {
                const double y = value(xs[l + k]);
                ys[l + k] = y;
                part[k] += y != y ? 1.0 : 0.0;
            }
        for (; l < count; ++l) {
            const double y = value(xs[l]);
            ys[l] = y;
            part[0] += y != y ? 1.0 : 0.0;
        }
        return part[0] + part[1] + part[2] + part[3] != 0;
    };
    if (px && qx && c == 1) return each([](double x) { return x * x; }); // times 1: the same bits
    if (px && qx) return each([c](double x) { return x * x * c; });
    if (px) return each([qv, c](double x) { return x * qv * c; });
    if (qx) return each([pv, c](double x) { return pv * x * c; });
    return each([pv, qv, c](double) { return pv * qv * c; });
}

} // namespace platform::detail
