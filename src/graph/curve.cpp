#include "graph/curve.h"

#include "core/intervals.h"
#include "core/rounding.h"
#include "core/state.h"
#include "graph/functiongraph.h"
#include "graph/plotter.h"
#include "graph/scale.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace graph {

namespace {

// True when value lies between the two ends (either order).
bool between(double value, double a, double b) {
    return std::min(a, b) <= value && value <= std::max(a, b);
}

} // namespace

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
    // A sample count beyond what a picture can show is thinned out; the last sample stays.
    const std::int64_t stride =
        std::max<std::int64_t>(1, (n + maxSamplesPerLine - 1) / maxSamplesPerLine);
    const std::int64_t count = (n + stride - 1) / stride;
    const bool discs = plotter.currentLineType > 0;

    Trace trace;
    // The sample the line was last drawn to, for the pole test below.
    double lastT = 0, lastX = 0, lastY = 0, lastTx = 0, lastTy = 0;

    for (std::int64_t j = 0; j <= count; ++j) {
        const std::int64_t k = std::min(j * stride, n);
        const double t = tLo + double(k) * step;
        engine.setVariable(running, t);
        // Each value is checked on its own: a later evaluation that succeeds clears the error.
        double tx = engine.evaluate(xExpr);
        bool failed = engine.error() != 0;
        double ty = failed ? 0 : engine.evaluate(yExpr);
        if (failed || engine.error() != 0) {
            // Left out without lifting the pen: the neighbours on both sides are joined.
            trace.skipSample = true;
            engine.clearError();
            continue;
        }
        const double xValue = tx, yValue = ty;
        trace.clip(tx, ty, clipX, clipY);
        if (trace.skipSample) continue;

        // A segment that would cross the whole plot (bottom to top, or left to right) is drawn
        // only when the curve runs between the two samples: at a pole the point halfway between
        // them is undefined or lies outside the two.
        const bool acrossY = (lastTy < 0 && ty > plotH) || (lastTy > plotH && ty < 0);
        const bool acrossX = (lastTx < 0 && tx > plotW) || (lastTx > plotW && tx < 0);
        if (!discs && !trace.penUp && (acrossX || acrossY)) {
            engine.setVariable(running, (lastT + t) / 2);
            const double middleX = engine.evaluate(xExpr);
            failed = engine.error() != 0;
            const double middleY = failed ? 0 : engine.evaluate(yExpr);
            if (failed || engine.error() != 0) {
                engine.clearError();
                trace.penUp = true;
            } else if ((acrossX && !between(middleX, lastX, xValue)) ||
                       (acrossY && !between(middleY, lastY, yValue))) {
                trace.penUp = true;
            }
        }

        trace.draw(surface, plotter, tx / tppX, (plotH - ty) / tppY);
        lastT = t;
        lastX = xValue;
        lastY = yValue;
        lastTx = tx;
        lastTy = ty;
    }
}

} // namespace graph
