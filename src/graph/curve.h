#pragma once
// Parametric curves x(t), y(t): the line holding x(t) carries the index of its partner line,
// which holds y(t).

#include "graph/drawsurface.h"
#include "graph/trace.h"

#include <QString>

namespace graph {

struct Plotter;

// Fills curve line i's parameter interval (intervalFrom, intervalTo) from its bound texts,
// falling back to the default curve parameter range for a bound that is empty or does not
// evaluate, and its step width (intervalTo - intervalFrom) / N. The step is negative when the
// lower bound lies above the upper one: the curve is then sampled downwards. The engine
// variable sw takes the step, so that derivatives and integrals of the curve step in t.
void checkdef2(core::State& state, int i);

// Draws curve line i: term is its translated x(t) term, the y(t) term is the translated term of
// the line of index kind. N + 1 samples from the lower to the upper parameter bound (run
// checkdef2 first). A sample the engine cannot evaluate is left out without lifting the pen.
void drawk(core::State& state, Plotter& plotter, DrawSurface& surface, const QString& term, int i);

} // namespace graph
