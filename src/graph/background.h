#pragma once
// The background of the graph: grid lines, the two axes with arrow heads, the axis names and
// the numbers along the axes.

namespace core {
struct State;
}

namespace graph {

class DrawSurface;
struct Plotter;

// Measures the text "0" in the number font and in the axis-name font (Plotter::digitHeight,
// digitWidth). Run after the fonts were made.
void fosize(const core::State& state, Plotter& plotter, DrawSurface& surface);

// Draws the background onto a surface that holds nothing yet. Needs the mapping of setscale,
// the coordinate-system objects of makepens and the digit sizes of fosize.
void helpline(const core::State& state, Plotter& plotter, DrawSurface& surface);

} // namespace graph
