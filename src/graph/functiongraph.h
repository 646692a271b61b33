#pragma once
// Function graphs y = f(x): the sample range of a line and the sampling, clipping and drawing of
// its graph as a connected line or as discs.

#include "graph/drawsurface.h"

#include <QString>

namespace graph {

struct Plotter;

// Sets the sample range of function line i from its interval texts (held at the edges of the
// displayed range; a bound that does not evaluate counts as absent) and the pixels per sample.
// The engine variable sw must hold the line's step width.
void checkdef(core::State& state, Plotter& plotter, int i);

// Draws function line i from its translated term with the plotter's current line type and
// colour and the surface's current pen. Run checkdef(i) first. A sample the engine cannot
// evaluate is left out; values far outside the plot are held at twice the plot height above or
// below it, so that a pole is not joined across.
void drawf(core::State& state, Plotter& plotter, DrawSurface& surface, const QString& term, int i);

// One disc of radius r pixels around (px, py), filled with colour.
void marker(DrawSurface& surface, double px, double py, int radius, core::Colour colour);

} // namespace graph
