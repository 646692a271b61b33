#include "graph/functiongraph.h"

#include "core/numbers.h"
#include "core/rounding.h"
#include "core/state.h"
#include "graph/drawsurface.h"
#include "graph/plotter.h"
#include "graph/scale.h"
#include "graph/sweep.h"
#include "graph/trace.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <optional>
#include <utility>
#include <vector>

namespace graph {

namespace {

// The sample index of an interval bound, or `absent` when the text is empty or does not
// evaluate.
double boundSample(core::State& state, const QString& text, double absent, double sw, int n) {
    const std::optional<double> v = core::evalnum(state.engine, text);
    if (!v) return absent;
    return std::clamp((*v - state.ranges.xMin) / sw, 0.0, double(n));
}

// Pole- and jump-aware drawing of a line of function values (the option "Polstellen und Sprünge
// genau zeichnen"). Where the segment between two neighbouring points is suspicious (one end
// undefined, or the ends more than jumpPixels apart while the segment can be seen) a point is
// added halfway, all points of one level in one sweep of the engine, up to maxDepth halvings.
// A segment that is still suspicious at the finest level does not converge: a pole or a jump,
// across which the pen lifts. An undefined point lifts the pen. The refinement adds points to the
// line only, never samples: a line needing more than its share of points is drawn as before
// where the share ends.
// A steep but smooth stretch is no jump: where a segment at most a pixel column wide rises or
// falls like both its neighbours (same direction, at most twice as far as the steeper one),
// halving it could only add points inside its own column, so it is drawn as it is.
class SharpLine {
public:
    static constexpr int maxDepth = 18;
    static constexpr double jumpPixels = 2;

    struct Point {
        double k;     // sample index, fractional for added points
        double value; // twips above the bottom of the plot, clipped to the band
        bool defined;
        double y; // pixel row of the value, in line coordinates
    };

    SharpLine(platform::MathEngine& engine, const platform::Expression& e, int running, double xMin,
              double sw, double plotH, double tppY, double stride, double columnsPerSample,
              std::int64_t share)
        : sweep_(engine, e, running), engine_(engine), xMin_(xMin), sw_(sw), plotH_(plotH),
          tppY_(tppY), height_(plotH / tppY), finest_(stride / double(1 << maxDepth) * 1.5),
          narrow_(columnsPerSample * stride <= 1.0), share_(share) {}

    // The point at sample index k of a value clipped to the band of ±clipY twips.
    Point point(double k, double value, bool defined, double clipY) const {
        const double clipped = std::clamp(value, -clipY, clipY);
        return {k, clipped, defined, (plotH_ - clipped) / tppY_};
    }

    bool suspicious(const Point& a, const Point& b) const {
        if (a.defined != b.defined) return true;
        if (!a.defined) return false;
        const double ya = a.y, yb = b.y, height = height_;
        if ((ya < 0 && yb < 0) || (ya > height && yb > height)) return false; // out of sight
        return std::abs(ya - yb) > jumpPixels;
    }

    // Segment i of the sampled points, seen with its neighbours.
    bool suspiciousAt(const std::vector<Point>& points, std::size_t i) const {
        const Point &a = points[i], &b = points[i + 1];
        if (!suspicious(a, b)) return false;
        if (!narrow_ || !a.defined || !b.defined || i == 0 || i + 2 >= points.size()) return true;
        const Point &before = points[i - 1], &after = points[i + 2];
        if (!before.defined || !after.defined) return true;
        const double rise = b.value - a.value;
        const double left = a.value - before.value, right = after.value - b.value;
        if ((left > 0) != (rise > 0) || (right > 0) != (rise > 0)) return true;
        return std::abs(rise) > 2 * std::max(std::abs(left), std::abs(right));
    }

    // Not converged at the finest level: the pen lifts between a and b.
    bool broken(const Point& a, const Point& b) const {
        return b.k - a.k <= finest_ && suspicious(a, b);
    }

    // Refines the points in place, level by level. Only the halves of a segment halved on one
    // level can be suspicious on the next: the others were found sound and have not changed,
    // so each level looks at the halves alone and the added points join the line at the end.
    void refine(std::vector<Point>& points, double clipY) {
        halves_.clear();
        for (std::size_t i = 0; i + 1 < points.size(); ++i)
            if (suspiciousAt(points, i)) halves_.push_back({points[i], points[i + 1]});
        added_.clear();
        for (int level = 0; level < maxDepth; ++level) {
            split_.clear();
            mids_.clear();
            for (const Segment& s : halves_)
                if (suspicious(s.a, s.b)) {
                    split_.push_back(s);
                    mids_.push_back((s.a.k + s.b.k) / 2);
                }
            if (mids_.empty() || std::int64_t(mids_.size()) > share_) break;
            share_ -= std::int64_t(mids_.size());
            sweep_.take(int(mids_.size()),
                        [&](int j) { return xMin_ + mids_[std::size_t(j)] * sw_; });
            // The budget ran out within the level: its points are not to be trusted.
            if (engine_.workLimitReached()) break;
            halves_.clear();
            for (std::size_t j = 0; j < split_.size(); ++j) {
                const Point mid =
                    point(mids_[j], sweep_.value(int(j)), sweep_.defined(int(j)), clipY);
                added_.push_back(mid);
                halves_.push_back({split_[j].a, mid});
                halves_.push_back({mid, split_[j].b});
            }
        }
        if (added_.empty()) return;
        const auto byK = [](const Point& a, const Point& b) { return a.k < b.k; };
        std::sort(added_.begin(), added_.end(), byK);
        merged_.clear();
        std::merge(points.begin(), points.end(), added_.begin(), added_.end(),
                   std::back_inserter(merged_), byK);
        points.swap(merged_);
    }

private:
    Sweep sweep_;
    platform::MathEngine& engine_;
    double xMin_, sw_, plotH_, tppY_;
    double height_; // of the plot in line coordinates
    double finest_; // the span of a segment halved maxDepth times, with room for rounding
    bool narrow_;   // neighbouring samples lie at most a pixel column apart
    std::int64_t share_;
    struct Segment {
        Point a, b;
    };
    std::vector<Segment> halves_; // the segments of the level, in the order of the line
    std::vector<Segment> split_;  // those of them halved
    std::vector<double> mids_;    // where they are halved
    std::vector<Point> added_, merged_;
};

} // namespace

void checkdef(core::State& state, Plotter& plotter, int i) {
    if (i < 0 || i >= core::lineCount) return;
    const core::FuncLine& line = state.lines[i];
    const int n = std::max(line.sampleCount, 1);
    const double sw = state.lineSlots[i].stepWidth;
    plotter.sampleToPixel = state.scale.plotW / n / std::max(state.tppX, 1);
    plotter.sampleStride[i] = int(sampleStride(n));
    if (!(sw > 0) || !std::isfinite(sw)) { // no step width yet: nothing to sample
        plotter.firstSample[i] = 0;
        plotter.lastSample[i] = -1;
        return;
    }
    double k0 = boundSample(state, line.lowerText, 0, sw, n);
    double k1 = boundSample(state, line.upperText, n, sw, n);
    if (k0 > k1) std::swap(k0, k1);
    plotter.firstSample[i] = core::round32(k0);
    plotter.lastSample[i] = core::round32(k1);
}

void marker(DrawSurface& surface, double px, double py, int radius, core::Colour colour) {
    surface.disc(QPoint(core::round32(px), core::round32(py)), radius, colour);
}

namespace {

// drawf with the option "Polstellen und Sprünge genau zeichnen", for a line drawn as a line.
void drawSharp(core::State& state, Plotter& plotter, DrawSurface& surface,
               const platform::Expression& e, int i) {
    platform::MathEngine& engine = state.engine;
    const int running = state.handles.x;
    const double plotH = state.scale.plotH;
    const double clipY = 2 * plotH;
    const double tppY = std::max(state.tppY, 1);
    const double xMin = state.ranges.xMin;
    const double sw = state.lineSlots[i].stepWidth;
    const double toPixel = plotter.sampleToPixel;
    const double scale = plotter.lineScale;
    const std::int64_t stride = std::max(plotter.sampleStride[i], 1);
    const std::int64_t firstSample = plotter.firstSample[i], lastSample = plotter.lastSample[i];
    if (lastSample < firstSample) return;
    // Refinement may add up to sixteen points per sample on the whole line.
    const std::int64_t share = 16 * ((lastSample - firstSample) / stride + 1) + 1024;
    SharpLine line(engine, e, running, xMin, sw, plotH, tppY / scale, double(stride),
                   toPixel * scale, share);

    Sweep sweep(engine, e, running);
    std::vector<SharpLine::Point> points;
    bool penUp = true;
    QPoint last;
    for (std::int64_t k0 = firstSample; k0 <= lastSample; k0 += Sweep::chunk * stride) {
        const std::int64_t count =
            std::min<std::int64_t>(Sweep::chunk, (lastSample - k0) / stride + 1);
        sweep.take(int(count), [&](int j) { return xMin + double(k0 + j * stride) * sw; });
        // The last point of the chunk before opens this one, so that their segment is refined.
        const bool continued = !points.empty();
        if (continued) points.erase(points.begin(), points.end() - 1);
        bool spent = false;
        for (int j = 0; j < int(count); ++j) {
            if (!sweep.defined(j) && sweep.budgetSpent(j)) {
                spent = true;
                break;
            }
            points.push_back(
                line.point(double(k0 + j * stride), sweep.value(j), sweep.defined(j), clipY));
        }
        line.refine(points, clipY);
        for (std::size_t n = continued ? 1 : 0; n < points.size(); ++n) {
            const SharpLine::Point& p = points[n];
            if (!p.defined) {
                penUp = true;
                continue;
            }
            if (n > 0 && line.broken(points[n - 1], p)) penUp = true;
            const QPoint at(core::round32(toPixel * p.k * scale), core::round32(p.y));
            if (penUp) {
                surface.moveTo(at);
            } else if (at != last) {
                surface.lineTo(at);
            }
            last = at;
            penUp = false;
        }
        if (spent) return;
    }
}

} // namespace

void drawf(core::State& state, Plotter& plotter, DrawSurface& surface, const QString& term, int i) {
    platform::MathEngine& engine = state.engine;
    const int running = state.handles.x;
    if (i < 0 || i >= core::lineCount || running < 0) return;

    const platform::Expression e = engine.parse(makemy(term).toStdString());
    if (!e.valid()) {
        engine.clearError();
        return;
    }

    const double plotW = state.scale.plotW, plotH = state.scale.plotH;
    const double clipY = 2 * plotH;
    const double tppY = std::max(state.tppY, 1);
    const double xMin = state.ranges.xMin;
    const double sw = state.lineSlots[i].stepWidth;
    const double toPixel = plotter.sampleToPixel;
    const bool discs = plotter.currentLineType > 0;
    const std::int64_t stride = std::max(plotter.sampleStride[i], 1);

    Trace trace;
    // The value halfway between two samples, for the pole test.
    const auto middle = [&](double k, double&, double& value) {
        engine.setVariable(running, xMin + k * sw);
        value = engine.evaluate(e);
        const bool defined = engine.error() == 0;
        engine.clearError();
        return defined;
    };

    if (state.graphOptions.refineSampling && !discs) {
        drawSharp(state, plotter, surface, e, i);
        return;
    }
    // The samples a chunk at a time, each chunk in one sweep of the engine.
    Sweep sweep(engine, e, running);
    const std::int64_t firstSample = plotter.firstSample[i], lastSample = plotter.lastSample[i];
    for (std::int64_t k0 = firstSample; k0 <= lastSample; k0 += Sweep::chunk * stride) {
        const std::int64_t count =
            std::min<std::int64_t>(Sweep::chunk, (lastSample - k0) / stride + 1);
        sweep.take(int(count), [&](int j) { return xMin + double(k0 + j * stride) * sw; });
        for (int j = 0; j < int(count); ++j) {
            const std::int64_t k = k0 + j * stride;
            if (!sweep.defined(j)) {
                // The line's work budget is spent: every further sample fails the same way.
                if (sweep.budgetSpent(j)) return;
                // Left out without lifting the pen: the neighbours on both sides are joined.
                trace.skipSample = true;
                continue;
            }
            const double value = sweep.value(j);
            double ty = value;
            double tx = 0; // the sample's column always lies inside the plot
            trace.clip(tx, ty, 1, clipY);
            const SamplePoint p{double(k), 0, value, tx, ty};
            trace.liftAtPole(discs, p, plotW, plotH, middle);
            trace.draw(surface, plotter, p, toPixel * double(k), (plotH - ty) / tppY);
        }
    }
}

} // namespace graph
