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
#include <optional>
#include <utility>

namespace graph {

namespace {

// The sample index of an interval bound, or `absent` when the text is empty or does not
// evaluate.
double boundSample(core::State& state, const QString& text, double absent, double sw, int n) {
    const std::optional<double> v = core::evalnum(state.engine, text);
    if (!v) return absent;
    return std::clamp((*v - state.ranges.xMin) / sw, 0.0, double(n));
}

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
