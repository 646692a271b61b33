#pragma once
// Turns an expression text into bytecode for the engine's machine, in one pass: constant parts
// are folded, and common shapes (x^2, a*x+b, comparisons with a constant ...) become single
// instructions.

#include "platform/enginecore.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform::detail {

struct CompileResult {
    std::unique_ptr<Program> program; // null on failure
    int error = 0;
    std::string data;
};

// params: the lower-case parameter names of a function body (they shadow global variables).
// self: the function whose body this is, so that a new function may call itself (the call then
// fails at evaluation, as any too deep nesting does). selfKey is its lower-case name.
// The machine is used to fold constant parts exactly as the evaluation would compute them.
CompileResult compile(World& world, Machine& machine, std::string_view text,
                      const std::vector<std::string>& params = {}, Function* self = nullptr,
                      const std::string& selfKey = {});

// A name: a letter or "_", then letters, digits and "_".
bool isName(std::string_view text);
std::string lowerCase(std::string_view text);
// One of the engine's own functions (sin, sqrt, iif, ...); key in lower case.
bool isBuiltinFunction(const std::string& key);

} // namespace platform::detail
