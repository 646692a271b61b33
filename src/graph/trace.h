#pragma once
// The pen state that every sampled line shares (function graphs, curves, integral functions):
// clipping at the band around the plot and drawing as a connected line or as discs.

#include "graph/drawsurface.h"

namespace graph {

struct Plotter;

// Discs larger than this are not drawn larger.
inline constexpr int maxMarkerRadius = 10;

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

} // namespace graph
