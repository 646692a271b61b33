#pragma once
// The common refresh of the graph: the background, then every drawn line.

namespace core {
struct State;
}

namespace graph {

class DrawSurface;
struct Plotter;

// Renews the pens and fonts of the coordinate system from the current settings, measures the
// digits and draws the background.
void drawBackground(core::State& state, Plotter& plotter, DrawSurface& surface);

// Everything that is drawn over the background: the graph of every drawn line with a
// translated term, in its line slot's pen and colour. The state's drawing report is renewed: it
// holds the notices of the drawing, for the windows to show once the picture is painted.
void drawLines(core::State& state, Plotter& plotter, DrawSurface& surface);

} // namespace graph
