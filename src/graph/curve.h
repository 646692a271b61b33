#pragma once
// Parametric curves x(t), y(t): the line holding x(t) carries the index of its partner line,
// which holds y(t). Also the pen state that curves and integral functions share: clipping in
// both directions and drawing as a connected line or as discs.

#include "graph/drawsurface.h"

#include <QString>

namespace graph {

struct Plotter;

// The state of one sampled line while it is drawn.
struct Trace {
    bool penUp = true;
    bool skipSample = true; // the current sample is not drawn
    double outX = 0;        // the first value beyond the clipping band, 0 while inside
    double outY = 0;

    // Holds tx (twips from the left) and ty (twips from the bottom) at the clipping band
    // |tx| <= clipX, |ty| <= clipY. The first sample beyond the band is drawn at its edge;
    // further ones only move along it, so that the line is not joined across a pole. A sample
    // inside the band in both directions makes the next exit count as the first again.
    void clip(double& tx, double& ty, double clipX, double clipY);

    // Unless the sample is left out: moves to or draws a line to pixel (px, py), rounded, or
    // with a line type above 0 puts a disc one pixel right of and below it.
    void draw(DrawSurface& surface, const Plotter& plotter, double px, double py);
};

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
