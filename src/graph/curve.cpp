#include "graph/curve.h"

#include "core/intervals.h"
#include "core/rounding.h"
#include "core/state.h"
#include "graph/plotter.h"
#include "graph/scale.h"
#include "graph/sweep.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace graph {

void checkdef2(core::State& state, int i) {
    if (i < 0 || i >= core::lineCount) return;
    core::evalinterval(state, i);
    core::FuncLine& line = state.lines[i];
    const int n = std::max(line.sampleCount, 1);
    const double step = (line.intervalTo - line.intervalFrom) / n;
    state.lineSlots[i].stepWidth = step;
    if (state.handles.sw >= 0) state.engine.setVariable(state.handles.sw, step);
}

void drawk(core::State& state, Plotter& plotter, DrawSurface& surface, const QString& term, int i) {
    platform::MathEngine& engine = state.engine;
    const int running = state.handles.x;
    if (i < 0 || i >= core::lineCount || running < 0) return;
    const int partner = state.lines[i].kind;
    if (partner < 0 || partner >= core::lineCount) return;
    // Without its y term (a faulty partner line) there is no curve to draw.
    const QString& yTerm = state.lineSlots[partner].translated;
    if (yTerm.isEmpty()) return;

    const platform::Expression xExpr = engine.parse(makemx(term).toStdString());
    const platform::Expression yExpr = engine.parse(makemy(yTerm).toStdString());
    if (!xExpr.valid() || !yExpr.valid()) {
        engine.clearError();
        return;
    }

    const core::FuncLine& line = state.lines[i];
    const double plotW = state.scale.plotW, plotH = state.scale.plotH;
    const double clipX = 2 * plotW, clipY = 2 * plotH;
    const double tppX = std::max(state.tppX, 1), tppY = std::max(state.tppY, 1);
    const double tLo = line.intervalFrom;
    const double step = state.lineSlots[i].stepWidth;
    const std::int64_t n = std::max(line.sampleCount, 1);
    // A sample count beyond what a picture can show is thinned out. Unlike a function graph's,
    // the last sample stays: a curve must reach its end point (a closed curve must close), where
    // a graph misses less than a pixel column at the edge.
    const std::int64_t stride = sampleStride(n);
    const std::int64_t count = (n + stride - 1) / stride;
    const bool discs = plotter.currentLineType > 0;

    // Evaluates both terms at t; false (and no error left) when either is undefined there.
    const auto point = [&](double t, double& x, double& y) {
        engine.setVariable(running, t);
        // Each value is checked on its own: a later evaluation that succeeds clears the error.
        x = engine.evaluate(xExpr);
        bool defined = engine.error() == 0;
        if (defined) {
            y = engine.evaluate(yExpr);
            defined = engine.error() == 0;
        }
        engine.clearError();
        return defined;
    };

    // Both terms a chunk at a time; y only where x is defined, as the point above takes them.
    Sweep xs(engine, xExpr, running), ys(engine, yExpr, running);
    std::vector<double> ts;
    std::vector<int> yIndex; // of each sample in the y sweep, -1 where x is undefined
    Trace trace;
    for (std::int64_t j0 = 0; j0 <= count; j0 += Sweep::chunk) {
        const int chunk = int(std::min<std::int64_t>(Sweep::chunk, count - j0 + 1));
        xs.take(chunk, [&](int j) { return tLo + double(std::min((j0 + j) * stride, n)) * step; });
        ts.clear();
        yIndex.assign(std::size_t(chunk), -1);
        for (int j = 0; j < chunk; ++j) {
            if (!xs.defined(j)) continue;
            yIndex[std::size_t(j)] = int(ts.size());
            ts.push_back(xs.x(j));
        }
        ys.take(ts);
        for (int j = 0; j < chunk; ++j) {
            const int y = yIndex[std::size_t(j)];
            if (y < 0 || !ys.defined(y)) {
                // The line's work budget is spent: every further sample fails the same way.
                if (engine.workLimitReached() && (y < 0 ? xs.budgetSpent(j) : ys.budgetSpent(y)))
                    return;
                // Left out without lifting the pen: the neighbours on both sides are joined.
                trace.skipSample = true;
                continue;
            }
            const double t = xs.x(j);
            double tx = xs.value(j), ty = ys.value(y);
            const double xValue = tx, yValue = ty;
            trace.clip(tx, ty, clipX, clipY);
            const SamplePoint p{t, xValue, yValue, tx, ty};
            trace.liftAtPole(discs, p, plotW, plotH, point);
            trace.draw(surface, plotter, p, tx / tppX, (plotH - ty) / tppY);
        }
    }
}

} // namespace graph
