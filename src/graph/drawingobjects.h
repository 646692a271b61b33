#pragma once
// The pens and fonts of the graph: one pen per line slot and the pens and fonts of the
// coordinate system. They live beside the shared state, on the graph's side.

#include "graph/drawsurface.h"

#include <array>

namespace core {
struct State;
}

namespace graph {

struct DrawingObjects {
    std::array<Pen, core::lineCount> linePens{};
    Pen gridPen;       // width 1, the grid colour
    Pen axisPen;       // the axis width, black
    Font numberFont;   // the numbers along the axes
    Font axisNameFont; // "x" and "y"
    Font thirdFont;    // names of the additional points
    Pen arrowPen;      // width 1, black; frames the arrow heads
};

inline constexpr int renewLinePens = 1;
inline constexpr int renewAxisObjects = 2;

// renewLinePens: renews each line pen of these objects whose width (the override when it is 0
// or more, else the line width) or colour differs from the one it was made with.
// renewAxisObjects: renews the pens and fonts of the coordinate system from the current
// settings.
void makepens(core::State& state, DrawingObjects& objects, int mask);

} // namespace graph
