#pragma once
// What applying the lines or points window runs.

namespace core {
struct State;
}

namespace objects {

// The data-set assembly (it finds the parameters that the lines and points use), the parameter
// windows arranged when that option is on, the collection's current data, the settings file and
// one redraw.
void applyObjects(core::State& state);

} // namespace objects
