// The machine that runs the bytecode: one switch per instruction, acc in a register, values and
// call frames in preallocated arrays, no allocation and no recursion.

#include "platform/enginecore.h"
#include "platform/enginefunctions.h"
#include "platform/mathengine.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace platform::detail {

namespace {

// Inlined into evaluate(), so that a short term costs little more than its own arithmetic.
// Returns the value, or 0 with `error` set (and m.message for the error data).
inline double execute(const Program& program, Machine& m, int& error) {
    if (std::size_t(program.maxStack) + 2 > m.capacity) {
        error = ErrorCode::other;
        m.message = MathEngine::recursionText;
        return 0.0;
    }
    const Instr* ip = program.code.data();
    double* sp = m.base;
    double* const stackEnd = sp + m.capacity;
    double* fp = nullptr;
    int depth = 0;
    long calls = 0;
    double acc = 0.0;
    // Kept in a register while the program runs and stored back on every way out.
    std::int64_t workLeft = m.workLeft - program.work;

#define KURVATUR_NEXT                                                                              \
    ++ip;                                                                                          \
    continue
#define KURVATUR_FAIL(code)                                                                        \
    do {                                                                                           \
        m.workLeft = workLeft;                                                                     \
        error = (code);                                                                            \
        m.message = "";                                                                            \
        return 0.0;                                                                                \
    } while (false)
#define KURVATUR_FAIL_TEXT(code, text)                                                             \
    do {                                                                                           \
        m.workLeft = workLeft;                                                                     \
        error = (code);                                                                            \
        m.message = (text);                                                                        \
        return 0.0;                                                                                \
    } while (false)

    if (workLeft < 0) KURVATUR_FAIL_TEXT(ErrorCode::other, MathEngine::workLimitText);

    for (;;) {
        const Instr& in = *ip;
        switch (in.op) {
        case Op::LoadC:
            *sp++ = acc;
            acc = in.a.c;
            KURVATUR_NEXT;
        case Op::LoadV:
            *sp++ = acc;
            acc = *in.a.p;
            KURVATUR_NEXT;
        case Op::LoadA:
            *sp++ = acc;
            acc = fp[in.n];
            KURVATUR_NEXT;
        case Op::LoadVSqr: {
            *sp++ = acc;
            const double v = *in.a.p;
            acc = v * v;
            KURVATUR_NEXT;
        }
        case Op::LoadASqr: {
            *sp++ = acc;
            const double v = fp[in.n];
            acc = v * v;
            KURVATUR_NEXT;
        }
        case Op::LoadVMulV:
            *sp++ = acc;
            acc = *in.a.p * *in.b.p;
            KURVATUR_NEXT;
        case Op::LoadVMulC:
            *sp++ = acc;
            acc = *in.a.p * in.b.c;
            KURVATUR_NEXT;
        case Op::LoadAMulC:
            *sp++ = acc;
            acc = fp[in.n] * in.a.c;
            KURVATUR_NEXT;
        case Op::LoadAMulV:
            *sp++ = acc;
            acc = fp[in.n] * *in.a.p;
            KURVATUR_NEXT;
        case Op::LoadVAddC:
            *sp++ = acc;
            acc = *in.a.p + in.b.c;
            KURVATUR_NEXT;
        case Op::LoadAAddC:
            *sp++ = acc;
            acc = fp[in.n] + in.a.c;
            KURVATUR_NEXT;

        case Op::Add:
            acc = *--sp + acc;
            KURVATUR_NEXT;
        case Op::Sub:
            acc = *--sp - acc;
            KURVATUR_NEXT;
        case Op::Mul:
            acc = *--sp * acc;
            KURVATUR_NEXT;
        case Op::Div:
            if (acc == 0) KURVATUR_FAIL(ErrorCode::divisionByZero);
            acc = *--sp / acc;
            KURVATUR_NEXT;
        case Op::Pow: {
            const double base = *--sp;
            if (badPower(base, acc)) KURVATUR_FAIL(ErrorCode::power);
            acc = std::pow(base, acc);
            KURVATUR_NEXT;
        }
        case Op::Mod: {
            const double a = *--sp;
            if (acc == 0) KURVATUR_FAIL(ErrorCode::integerDivisionByZero);
            workLeft -= remainderWork(a, acc);
            acc = std::fmod(a, acc);
            KURVATUR_NEXT;
        }
        case Op::IntDiv: {
            const double a = std::nearbyint(*--sp);
            const double b = std::nearbyint(acc);
            if (b == 0) KURVATUR_FAIL(ErrorCode::integerDivisionByZero);
            acc = std::trunc(a / b);
            KURVATUR_NEXT;
        }
        case Op::Eq:
            acc = truth(*--sp == acc);
            KURVATUR_NEXT;
        case Op::Ne:
            acc = truth(*--sp != acc);
            KURVATUR_NEXT;
        case Op::Lt:
            acc = truth(*--sp < acc);
            KURVATUR_NEXT;
        case Op::Gt:
            acc = truth(*--sp > acc);
            KURVATUR_NEXT;
        case Op::Le:
            acc = truth(*--sp <= acc);
            KURVATUR_NEXT;
        case Op::Ge:
            acc = truth(*--sp >= acc);
            KURVATUR_NEXT;
        case Op::And:
            acc = truth((*--sp != 0) && (acc != 0));
            KURVATUR_NEXT;
        case Op::Or:
            acc = truth((*--sp != 0) || (acc != 0));
            KURVATUR_NEXT;
        case Op::Xor:
            acc = truth((*--sp != 0) != (acc != 0));
            KURVATUR_NEXT;
        case Op::Eqv:
            acc = truth((*--sp != 0) == (acc != 0));
            KURVATUR_NEXT;
        case Op::Imp:
            acc = truth((*--sp == 0) || (acc != 0));
            KURVATUR_NEXT;
        case Op::Min2: {
            const double a = *--sp;
            acc = a < acc ? a : acc;
            KURVATUR_NEXT;
        }
        case Op::Max2: {
            const double a = *--sp;
            acc = a > acc ? a : acc;
            KURVATUR_NEXT;
        }
        case Op::Atan2: {
            const double y = *--sp;
            acc = fromRadians(std::atan2(y, acc), m);
            KURVATUR_NEXT;
        }

        case Op::AddC:
            acc += in.a.c;
            KURVATUR_NEXT;
        case Op::SubC:
            acc -= in.a.c;
            KURVATUR_NEXT;
        case Op::MulC:
            acc *= in.a.c;
            KURVATUR_NEXT;
        case Op::DivC:
            acc /= in.a.c; // never 0: a division by the constant 0 stays a Div
            KURVATUR_NEXT;
        case Op::RSubC:
            acc = in.a.c - acc;
            KURVATUR_NEXT;
        case Op::RDivC:
            if (acc == 0) KURVATUR_FAIL(ErrorCode::divisionByZero);
            acc = in.a.c / acc;
            KURVATUR_NEXT;
        case Op::PowC:
            if (badPower(acc, in.a.c)) KURVATUR_FAIL(ErrorCode::power);
            acc = std::pow(acc, in.a.c);
            KURVATUR_NEXT;
        case Op::EqC:
            acc = truth(acc == in.a.c);
            KURVATUR_NEXT;
        case Op::NeC:
            acc = truth(acc != in.a.c);
            KURVATUR_NEXT;
        case Op::LtC:
            acc = truth(acc < in.a.c);
            KURVATUR_NEXT;
        case Op::GtC:
            acc = truth(acc > in.a.c);
            KURVATUR_NEXT;
        case Op::LeC:
            acc = truth(acc <= in.a.c);
            KURVATUR_NEXT;
        case Op::GeC:
            acc = truth(acc >= in.a.c);
            KURVATUR_NEXT;
        case Op::AddV:
            acc += *in.a.p;
            KURVATUR_NEXT;
        case Op::SubV:
            acc -= *in.a.p;
            KURVATUR_NEXT;
        case Op::MulV:
            acc *= *in.a.p;
            KURVATUR_NEXT;
        case Op::DivV:
            if (*in.a.p == 0) KURVATUR_FAIL(ErrorCode::divisionByZero);
            acc /= *in.a.p;
            KURVATUR_NEXT;
        case Op::RSubV:
            acc = *in.a.p - acc;
            KURVATUR_NEXT;
        case Op::RDivV:
            if (acc == 0) KURVATUR_FAIL(ErrorCode::divisionByZero);
            acc = *in.a.p / acc;
            KURVATUR_NEXT;
        case Op::AddA:
            acc += fp[in.n];
            KURVATUR_NEXT;
        case Op::SubA:
            acc -= fp[in.n];
            KURVATUR_NEXT;
        case Op::MulA:
            acc *= fp[in.n];
            KURVATUR_NEXT;
        case Op::DivA:
            if (fp[in.n] == 0) KURVATUR_FAIL(ErrorCode::divisionByZero);
            acc /= fp[in.n];
            KURVATUR_NEXT;
        case Op::RSubA:
            acc = fp[in.n] - acc;
            KURVATUR_NEXT;
        case Op::RDivA:
            if (acc == 0) KURVATUR_FAIL(ErrorCode::divisionByZero);
            acc = fp[in.n] / acc;
            KURVATUR_NEXT;

        case Op::MulAddC:
            acc = acc * in.a.c + in.b.c;
            KURVATUR_NEXT;
        case Op::AddVMulV:
            acc += *in.a.p * *in.b.p;
            KURVATUR_NEXT;
        case Op::AddVMulC:
            acc += *in.a.p * in.b.c;
            KURVATUR_NEXT;
        case Op::SubVMulV:
            acc -= *in.a.p * *in.b.p;
            KURVATUR_NEXT;
        case Op::SubVMulC:
            acc -= *in.a.p * in.b.c;
            KURVATUR_NEXT;
        case Op::AddMulV:
            acc = *--sp + acc * *in.a.p;
            KURVATUR_NEXT;
        case Op::SubMulV:
            acc = *--sp - acc * *in.a.p;
            KURVATUR_NEXT;
        case Op::AddMulC:
            acc = *--sp + acc * in.a.c;
            KURVATUR_NEXT;
        case Op::SubMulC:
            acc = *--sp - acc * in.a.c;
            KURVATUR_NEXT;
        case Op::Sqr:
            acc *= acc;
            KURVATUR_NEXT;
        case Op::Cube:
            acc = acc * acc * acc;
            KURVATUR_NEXT;
        case Op::PowI: {
            int n = in.n;
            if (n < 0 && acc == 0) KURVATUR_FAIL(ErrorCode::power);
            unsigned k = unsigned(n < 0 ? -n : n);
            double x = acc, r = 1.0;
            while (k != 0) {
                if (k & 1u) r *= x;
                x *= x;
                k >>= 1;
            }
            acc = n < 0 ? 1.0 / r : r;
            KURVATUR_NEXT;
        }

        case Op::Neg:
            acc = -acc;
            KURVATUR_NEXT;
        case Op::Not:
            acc = truth(acc == 0);
            KURVATUR_NEXT;
        case Op::Fact:
            if (!(acc >= 0) || !whole(acc)) KURVATUR_FAIL_TEXT(ErrorCode::factorialArgument, "!");
            if (acc > 170) KURVATUR_FAIL(ErrorCode::factorialTooLarge);
            acc = factorials[std::size_t(acc)];
            KURVATUR_NEXT;
        case Op::Sin:
            workLeft -= angleWork(acc, m);
            acc = sine(acc, m);
            KURVATUR_NEXT;
        case Op::Cos:
            workLeft -= angleWork(acc, m);
            acc = cosine(acc, m);
            KURVATUR_NEXT;
        case Op::Tan:
            workLeft -= angleWork(acc, m);
            acc = tangent(acc, m);
            KURVATUR_NEXT;
        case Op::Sec: {
            workLeft -= angleWork(acc, m);
            const double c = cosine(acc, m);
            if (c == 0) KURVATUR_FAIL(ErrorCode::secDomain);
            acc = 1.0 / c;
            KURVATUR_NEXT;
        }
        case Op::Csc: {
            workLeft -= angleWork(acc, m);
            const double s = sine(acc, m);
            if (s == 0) KURVATUR_FAIL(ErrorCode::cscDomain);
            acc = 1.0 / s;
            KURVATUR_NEXT;
        }
        case Op::Cot: {
            workLeft -= angleWork(acc, m);
            const double s = sine(acc, m);
            if (s == 0) KURVATUR_FAIL(ErrorCode::cotDomain);
            acc = cosine(acc, m) / s;
            KURVATUR_NEXT;
        }
        case Op::Asin:
            if (acc < -1 || acc > 1) KURVATUR_FAIL(ErrorCode::asinDomain);
            acc = fromRadians(std::asin(acc), m);
            KURVATUR_NEXT;
        case Op::Acos:
            if (acc < -1 || acc > 1) KURVATUR_FAIL(ErrorCode::acosDomain);
            acc = fromRadians(std::acos(acc), m);
            KURVATUR_NEXT;
        case Op::Atan:
            acc = fromRadians(std::atan(acc), m);
            KURVATUR_NEXT;
        case Op::Acot:
            acc = fromRadians(std::numbers::pi / 2 - std::atan(acc), m);
            KURVATUR_NEXT;
        case Op::Sinh:
            acc = std::sinh(acc);
            KURVATUR_NEXT;
        case Op::Cosh:
            acc = std::cosh(acc);
            KURVATUR_NEXT;
        case Op::Tanh:
            acc = std::tanh(acc);
            KURVATUR_NEXT;
        case Op::Coth:
            if (acc == 0) KURVATUR_FAIL(ErrorCode::cothDomain);
            acc = 1.0 / std::tanh(acc);
            KURVATUR_NEXT;
        case Op::Sech:
            acc = 1.0 / std::cosh(acc);
            KURVATUR_NEXT;
        case Op::Csch:
            if (acc == 0) KURVATUR_FAIL(ErrorCode::cschDomain);
            acc = 1.0 / std::sinh(acc);
            KURVATUR_NEXT;
        case Op::Asinh:
            acc = std::asinh(acc);
            KURVATUR_NEXT;
        case Op::Acosh:
            if (acc < 1) KURVATUR_FAIL(ErrorCode::acoshDomain);
            acc = std::acosh(acc);
            KURVATUR_NEXT;
        case Op::Atanh:
            if (std::fabs(acc) >= 1) KURVATUR_FAIL(ErrorCode::atanhDomain);
            acc = std::atanh(acc);
            KURVATUR_NEXT;
        case Op::Acoth:
            if (std::fabs(acc) <= 1) KURVATUR_FAIL(ErrorCode::acothDomain);
            acc = std::atanh(1.0 / acc);
            KURVATUR_NEXT;
        case Op::Asech:
            if (acc <= 0 || acc > 1) KURVATUR_FAIL(ErrorCode::asechDomain);
            acc = std::acosh(1.0 / acc);
            KURVATUR_NEXT;
        case Op::Acsch:
            if (acc == 0) KURVATUR_FAIL(ErrorCode::acschDomain);
            acc = std::asinh(1.0 / acc);
            KURVATUR_NEXT;
        case Op::Sqrt:
            if (acc < 0) KURVATUR_FAIL(ErrorCode::sqrtDomain);
            acc = std::sqrt(acc);
            KURVATUR_NEXT;
        case Op::Abs:
            acc = std::fabs(acc);
            KURVATUR_NEXT;
        case Op::Sgn:
            acc = acc > 0 ? 1.0 : acc < 0 ? -1.0 : acc;
            KURVATUR_NEXT;
        case Op::Int:
            acc = std::floor(acc);
            KURVATUR_NEXT;
        case Op::Fix:
            acc = std::trunc(acc);
            KURVATUR_NEXT;
        case Op::Frac:
            acc -= std::trunc(acc);
            KURVATUR_NEXT;
        case Op::Round:
            acc = std::nearbyint(acc); // halves to the even neighbour
            KURVATUR_NEXT;
        case Op::Ceil:
            acc = std::ceil(acc);
            KURVATUR_NEXT;
        case Op::Floor:
            acc = std::floor(acc);
            KURVATUR_NEXT;
        case Op::Ln:
            if (acc <= 0) KURVATUR_FAIL(ErrorCode::lnDomain);
            acc = std::log(acc);
            KURVATUR_NEXT;
        case Op::Log2:
            if (acc <= 0) KURVATUR_FAIL(ErrorCode::log2Domain);
            acc = std::log2(acc);
            KURVATUR_NEXT;
        case Op::Log10:
            if (acc <= 0) KURVATUR_FAIL(ErrorCode::log10Domain);
            acc = std::log10(acc);
            KURVATUR_NEXT;
        case Op::Exp:
            acc = std::exp(acc);
            KURVATUR_NEXT;
        case Op::Exp2:
            acc = std::exp2(acc);
            KURVATUR_NEXT;

        case Op::MinN:
            for (int k = 1; k < in.n; ++k) {
                const double a = *--sp;
                acc = a < acc ? a : acc;
            }
            KURVATUR_NEXT;
        case Op::MaxN:
            for (int k = 1; k < in.n; ++k) {
                const double a = *--sp;
                acc = a > acc ? a : acc;
            }
            KURVATUR_NEXT;

        case Op::Jz: {
            const double condition = acc;
            acc = *--sp;
            if (condition == 0) {
                ip += in.n;
                continue;
            }
            KURVATUR_NEXT;
        }
#define KURVATUR_JUMP_UNLESS(op, test)                                                             \
    case op: {                                                                                     \
        const bool holds = acc test in.a.c;                                                        \
        acc = *--sp;                                                                               \
        if (!holds) {                                                                              \
            ip += in.n;                                                                            \
            continue;                                                                              \
        }                                                                                          \
        KURVATUR_NEXT;                                                                             \
    }
            KURVATUR_JUMP_UNLESS(Op::JzEqC, ==)
            KURVATUR_JUMP_UNLESS(Op::JzNeC, !=)
            KURVATUR_JUMP_UNLESS(Op::JzLtC, <)
            KURVATUR_JUMP_UNLESS(Op::JzGtC, >)
            KURVATUR_JUMP_UNLESS(Op::JzLeC, <=)
            KURVATUR_JUMP_UNLESS(Op::JzGeC, >=)
#undef KURVATUR_JUMP_UNLESS
        case Op::Jmp:
            ip += in.n;
            continue;
        case Op::Call: {
            const Program* body = in.a.fn->body.get();
            if (body == nullptr) KURVATUR_FAIL(ErrorCode::syntax);
            if (depth == maxCallDepth)
                KURVATUR_FAIL_TEXT(ErrorCode::other, MathEngine::recursionText);
            if (++calls > maxCallsPerEvaluation)
                KURVATUR_FAIL_TEXT(ErrorCode::other, textTooManyCalls);
            workLeft -= body->work;
            if (workLeft < 0) KURVATUR_FAIL_TEXT(ErrorCode::other, MathEngine::workLimitText);
            *sp++ = acc;
            if (stackEnd - sp < body->maxStack + 2)
                KURVATUR_FAIL_TEXT(ErrorCode::other, MathEngine::recursionText);
            m.frames[std::size_t(depth++)] = Frame{ip + 1, fp};
            fp = sp - in.n;
            ip = body->code.data();
            continue;
        }
        case Op::Ret:
            if (depth == 0) {
                m.workLeft = workLeft;
                return acc;
            }
            --depth;
            sp = fp;
            ip = m.frames[std::size_t(depth)].ret;
            fp = m.frames[std::size_t(depth)].fp;
            continue;
        case Op::Work: // only in the sweep's plans
        case Op::Drop:
            break;
        }
        KURVATUR_FAIL(ErrorCode::syntax); // not reached: every instruction is handled above
    }
#undef KURVATUR_NEXT
#undef KURVATUR_FAIL
#undef KURVATUR_FAIL_TEXT
}

} // namespace

double run(const Program& program, Machine& machine) {
    int error = 0;
    const double value = execute(program, machine, error);
    machine.error = error;
    return value;
}

} // namespace platform::detail

namespace platform {

// Everything but the products that evaluate() computes inline.
double MathEngine::evaluateFully(const Expression& expr) {
    const detail::Program* program = expr.program_.get();
    if (program == nullptr) {
        fail(ErrorCode::syntax);
        return 0.0;
    }
    int error = 0;
    const double value = detail::execute(*program, *machine_, error);
    if (error != 0) {
        fail(error, machine_->message);
        return 0.0;
    }
    if (std::isnan(value)) {
        fail(ErrorCode::other, detail::textNotANumber);
        return 0.0;
    }
    if (errorCode_ != 0) clearError(); // cheaper than clearing every time
    return value;
}

} // namespace platform
