#pragma once
// Turns all current input into engine definitions and parameters.

#include <QString>

namespace core {
struct State;
}

namespace engine {

// Rebuilds the engine's world from the shared state. False when the parameter slots ran out.
bool applydata(core::State& state);
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
// Makes the lower-bound and sample-count parameters of all lines.
void defintegralparams(core::State& state);

} // namespace engine
