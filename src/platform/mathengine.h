#pragma once
// The math engine: parses texts into expressions and evaluates them in double precision.
// Standard C++ only (no Qt). Names are matched without regard to case. Failures never throw:
// they set an error code (see error()) and the error data (see errorData()), which stay until
// the next call that clears them.

#include "platform/errorcodes.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace platform {

namespace detail {
struct World;
struct Program;
struct Machine;
struct SweepMachine;
} // namespace detail

// A parsed expression. Cheap to copy; it keeps alive what it refers to, so an expression
// stays safe to evaluate even after the engine was reset (it then sees the old definitions).
class Expression {
public:
    Expression() = default;
    bool valid() const { return program_ != nullptr; }

private:
    friend class MathEngine;
    std::shared_ptr<const detail::Program> program_;
    // A term of one product (x, x^2, a*x, 3*x, a constant) is *factorP_ * *factorQ_ * factorC_,
    // computed inline by evaluate(); the pointers stay valid as long as program_ lives.
    const double* factorP_ = nullptr; // null: any other term
    const double* factorQ_ = nullptr;
    double factorC_ = 0;
};

class MathEngine {
public:
    // Error data of code 1 when calls nest too deep (a function that calls itself).
    static constexpr const char* recursionText = "Zu tief verschachtelte Funktionsaufrufe";
    // Error data of code 1 when the work passes the limit (see setWorkLimit).
    static constexpr const char* workLimitText = "Rechenaufwand zu groß";

    MathEngine();
    ~MathEngine();
    MathEngine(const MathEngine&) = delete;
    MathEngine& operator=(const MathEngine&) = delete;

    // Drops all variables, functions and aliases. The text may set capacities: comma-separated
    // numbers, of which the second and third, when given, limit the number of variables and of
    // functions (code 10 beyond). It is optional.
    void reset(std::string_view text = {});

    // "qq" or "pi=2*asin(1)". Returns the variable's handle (0, 1, 2, ...), valid until the next
    // reset, or -1 on failure (error code set). Defining an existing name returns its handle
    // and, with "=expr", assigns the new value. The expression is computed once, in radians
    // whatever the angle mode, so that "pi=2*asin(1)" stays pi after a reset in degrees.
    int defineVariable(std::string_view text);
    // Inline: a graph sets its variable once per sample.
    void setVariable(int handle, double value) {
        if (handle >= 0 && handle < slotCount_) *slots_[handle] = value;
    }
    double variable(int handle) const;

    // "log(m, n)=ln(m)/ln(n)". Parameters shadow global names. A later definition with the same
    // name and number of parameters replaces the body, and every expression already parsed that
    // calls it sees the new body. An empty body is accepted; calling it gives code 9.
    // Returns false on failure (error code set).
    bool defineFunction(std::string_view text);

    // The new word is accepted wherever the existing one is (functions and operator words).
    void alias(std::string_view newWord, std::string_view existingWord);

    // True for the engine's own functions (sin, sqrt, iif, ...) whatever the definitions and
    // aliases, without regard to case.
    static bool isBuiltinFunction(std::string_view name);

    // Parses the text; on failure the result is not valid() and the error code is set.
    Expression parse(std::string_view text);
    // Evaluates; on failure returns 0 and sets the error code. Allocates nothing.
    double evaluate(const Expression& expr) {
        if (expr.factorP_ != nullptr && errorCode_ == 0) {
            const double value = *expr.factorP_ * *expr.factorQ_ * expr.factorC_;
            if (value == value) return value; // not NaN: that is an error
        }
        return evaluateFully(expr);
    }
    // Evaluates the expression at every value of the variable `handle` in xs with the meaning of
    // setVariable(handle, xs[k]), clearError() and evaluate(expr) for each k in turn: the same
    // values, errors, work and limits. A block of samples at a time runs through each
    // instruction, so that a graph's sweep costs little more than its arithmetic. ys[k] is the
    // value (0 where undefined) and errors[k] the error code (0 where defined); samples beyond
    // the shortest span are not taken. Afterwards the variable holds the last value taken and
    // no error is pending.
    void evaluateSweep(const Expression& expr, int handle, std::span<const double> xs,
                       std::span<double> ys, std::span<std::uint8_t> errors);
    // The sweep computes sin, cos, tan, exp, ln, pow and their kin several samples at once,
    // each value within an ulp or two of the scalar machine's (ulps: see the tests), with the
    // same errors, infinities and not-a-numbers; exact, it gives the scalar machine's values to
    // the bit, more slowly. Not exact at first.
    void setExactSweep(bool exact);
    bool exactSweep() const;
    // Parse and evaluate at once. The empty text returns 0 and clears the pending error.
    double eval(std::string_view text);

    // Clears the pending error without evaluating anything.
    void clearError();

    // 1 radians, 2 degrees (full turn 360), 3 grads (full turn 400).
    void setTrigMode(int mode);
    int trigMode() const;

    // The work of all evaluations so far: each evaluation counts the instructions of its term,
    // each call those of the function's body, weighted by what they cost (roughly nanoseconds
    // of an ordinary machine; the products that evaluate() computes inline count nothing). A
    // measure of time that is the same on every machine and in every run.
    std::int64_t work() const;
    // Evaluations fail with code 1 once the work passes the limit (noWorkLimit at first),
    // including the evaluation that passes it: a term that runs too long stops within one call.
    static constexpr std::int64_t noWorkLimit = INT64_MAX;
    void setWorkLimit(std::int64_t limit);
    std::int64_t workLimit() const;
    bool workLimitReached() const { return work() > workLimit(); }

    int error() const { return errorCode_; }
    // True when the pending error is calls nested too deep (a function that calls itself).
    bool recursionError() const { return errorCode_ == other && errorData_ == recursionText; }
    const std::string& errorData() const { return errorData_; }

private:
    void fail(int code, std::string_view data = {});
    double evaluateFully(const Expression& expr);
    std::shared_ptr<detail::World> world_;
    std::unique_ptr<detail::Machine> machine_;
    std::unique_ptr<detail::SweepMachine> sweep_; // made by the first sweep
    void refreshSlots();
    double* const* slots_ = nullptr; // the current world's variable addresses, by handle
    int slotCount_ = 0;
    int errorCode_ = 0;
    std::string errorData_;
    int trigMode_ = 1;
};

} // namespace platform
