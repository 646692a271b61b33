#pragma once
// Turns all current input into engine definitions and parameters.

namespace core {
struct State;
}

namespace session {

// Rebuilds the engine's world from the shared state. False when the parameter slots ran out.
bool applydata(core::State& state);
// Makes the lower-bound and sample-count parameters of all lines.
void defintegralparams(core::State& state);

} // namespace session
