#pragma once
// The additional lines and points, drawn over the graphs.

namespace core {
struct State;
}

namespace graph {

class DrawSurface;
struct Plotter;

// The additional lines when they are shown, then the additional points (discs, rings and names)
// when either is shown. The names are written in the third font of the plotter's objects. What
// cannot be evaluated is skipped silently: the windows say it when the user applies.
void drawExtraObjects(core::State& state, Plotter& plotter, DrawSurface& surface);

} // namespace graph
