#pragma once

namespace core {

struct State;

// Factory defaults of the settings (angle unit, colours, widths, sample counts, grid options).
// The plot area stays as the window has it.
void defaults(State& state);

} // namespace core
