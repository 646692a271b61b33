#pragma once
// The engine side of the term lines: the engine reset with the program's fixed variables, the
// check and translation of one line, and the definition of all line functions.

#include <QString>

namespace core {
struct State;
}

namespace engine {

// Engine reset and the fixed variables _x, qq, sw, xmu, xmi, ymu, ymi.
void resetengine(core::State& state);
// Syntax check of line i; empty when acceptable. Also stores line i's translated term.
QString checkterm(core::State& state, int i);
// Defines name(_x)=1 for every named line, so that lines using each other parse.
void defplaceholders(core::State& state);
// Defines all line functions in dependency order; the messages of those that failed.
QString defineall(core::State& state);
// Sets line i's integrand text (empty when the line is no integral function).
void integralspec(core::State& state, int i);

} // namespace engine
