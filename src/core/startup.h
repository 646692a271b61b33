#pragma once

namespace core {

struct State;

// The logic side of the program's start: fresh records, factory defaults, the engine with its
// definitions and fixed variables, and the scale. Leaves busyFlag at 1; the caller clears it
// once its windows are ready.
void startupState(State& state);

// Factory defaults of the settings (angle unit, colours, widths, sample counts, grid options).
void defaults(State& state);

} // namespace core
