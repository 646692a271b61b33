#pragma once
// The math engine: parses texts into expressions and evaluates them in double precision.
// Standard C++ only (no Qt). Names are matched without regard to case. Failures never throw:
// they set an error code (see error()) and the error data (see errorData()), which stay until
// the next call that clears them.

#include <memory>
#include <string>
#include <string_view>

namespace platform {

namespace detail {
struct World;
struct Program;
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
};

class MathEngine {
public:
    MathEngine();
    ~MathEngine();
    MathEngine(const MathEngine&) = delete;
    MathEngine& operator=(const MathEngine&) = delete;

    // Drops all variables, functions and aliases. The text may set capacities; it is optional.
    void reset(std::string_view text = {});

    // "qq" or "pi=2*asin(1)". Returns the variable's handle (0, 1, 2, ...), valid until the next
    // reset, or -1 on failure (error code set). Defining an existing name returns its handle
    // and, with "=expr", assigns the new value.
    int defineVariable(std::string_view text);
    void setVariable(int handle, double value);
    double variable(int handle) const;

    // "log(m, n)=ln(m)/ln(n)". Parameters shadow global names. A later definition with the same
    // name and number of parameters replaces the body, and every expression already parsed that
    // calls it sees the new body. An empty body is accepted; calling it gives code 9.
    // Returns false on failure (error code set).
    bool defineFunction(std::string_view text);

    // The new word is accepted wherever the existing one is (functions and operator words).
    void alias(std::string_view newWord, std::string_view existingWord);

    // Parses the text; on failure the result is not valid() and the error code is set.
    Expression parse(std::string_view text);
    // Evaluates; on failure returns 0 and sets the error code. Allocates nothing.
    double evaluate(const Expression& expr);
    // Parse and evaluate at once. The empty text returns 0 and clears the pending error.
    double eval(std::string_view text);

    // Clears the pending error without evaluating anything.
    void clearError();

    // 1 radians, 2 degrees (full turn 360), 3 grads (full turn 400).
    void setTrigMode(int mode);
    int trigMode() const;

    int error() const { return errorCode_; }
    const std::string& errorData() const { return errorData_; }

private:
    void fail(int code, std::string data = {});
    std::shared_ptr<detail::World> world_;
    int errorCode_ = 0;
    std::string errorData_;
    int trigMode_ = 1;
};

} // namespace platform
