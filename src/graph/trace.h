#pragma once
// What every sampled line shares (function graphs, curves, integral functions): how densely it is
// sampled, the pen state while it is drawn, clipping at the band around the plot, the pole test
// and drawing as a connected line or as discs.

#include "graph/drawsurface.h"

#include <cstdint>

namespace graph {

struct Plotter;

// Discs larger than this are not drawn larger.
inline constexpr int maxMarkerRadius = 10;

// Most samples taken from one line; beyond it the samples are spread over the line's range.
inline constexpr int maxSamplesPerLine = 1 << 16;

// A line of n sample intervals is sampled at every stride-th index: 1 unless n is beyond what a
// picture can show, so that a huge sample count cannot keep the redraw busy.
std::int64_t sampleStride(std::int64_t n);

// True when a segment from `from` to `to` (twips) runs from below 0 to above size or back: across
// the whole plot in that direction.
bool crossesPlot(double from, double to, double size);

// A drawn sample: its parameter (sample index, t, or position of an integral function), its
// values before clipping and where it was drawn (twips from the left and from the bottom).
struct SamplePoint {
    double t = 0;
    double x = 0, y = 0;
    double tx = 0, ty = 0;
};

// The state of one sampled line while it is drawn.
struct Trace {
    bool penUp = true;
    bool skipSample = true; // the current sample is not drawn
    double outX = 0;        // the first value beyond the clipping band, 0 while inside
    double outY = 0;
    SamplePoint last; // the sample the line was last drawn to

    // Holds tx (twips from the left) and ty (twips from the bottom) at the clipping band
    // |tx| <= clipX, |ty| <= clipY. The first sample beyond the band is drawn at its edge;
    // further ones only move along it, so that the line is not joined across a pole. A sample
    // inside the band in both directions makes the next exit count as the first again.
    void clip(double& tx, double& ty, double clipX, double clipY);

    // The pole test. A segment from the last drawn sample to p that would cross the whole plot
    // (bottom to top, left to right, or back) is drawn only when the line runs between its two
    // ends; at a pole the point halfway is undefined or lies outside them. middle(t, x, y)
    // computes the point at parameter t and returns false where it is undefined; it is asked only
    // for such a segment, so that ordinary samples cost nothing. Lifts the pen at a pole. Discs
    // have no segments, and a sample that is left out or a lifted pen none to test.
    template <typename Middle>
    void liftAtPole(bool discs, const SamplePoint& p, double plotW, double plotH, Middle&& middle) {
        if (discs || penUp || skipSample) return;
        const bool acrossX = crossesPlot(last.tx, p.tx, plotW);
        const bool acrossY = crossesPlot(last.ty, p.ty, plotH);
        if (!acrossX && !acrossY) return;
        double x = 0, y = 0;
        if (!middle((last.t + p.t) / 2, x, y) || (acrossX && !between(x, last.x, p.x)) ||
            (acrossY && !between(y, last.y, p.y)))
            penUp = true;
    }

    // Unless the sample is left out: moves to or draws a line to pixel (px, py), rounded, or
    // with a line type above 0 puts a disc one pixel right of and below it; p becomes the last
    // drawn sample.
    void draw(DrawSurface& surface, const Plotter& plotter, const SamplePoint& p, double px,
              double py);

private:
    static bool between(double value, double a, double b);
};

} // namespace graph
