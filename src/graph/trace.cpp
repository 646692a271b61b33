#include "graph/trace.h"

#include "core/rounding.h"
#include "graph/functiongraph.h"
#include "graph/plotter.h"

#include <algorithm>
#include <cmath>

namespace graph {

std::int64_t sampleStride(std::int64_t n) {
    return std::max<std::int64_t>(1, (n + maxSamplesPerLine - 1) / maxSamplesPerLine);
}

bool crossesPlot(double from, double to, double size) {
    return (from < 0 && to > size) || (from > size && to < 0);
}

bool Trace::between(double value, double a, double b) {
    return std::min(a, b) <= value && value <= std::max(a, b);
}

void Trace::clip(double& tx, double& ty, double clipX, double clipY) {
    bool inside = true;
    if (std::abs(ty) > clipY) {
        if (outY == 0) {
            skipSample = false;
            outY = ty;
        } else {
            penUp = true;
        }
        ty = std::copysign(clipY, ty);
        inside = false;
    }
    if (std::abs(tx) > clipX) {
        if (outX == 0) {
            skipSample = false;
            outX = tx;
        } else {
            penUp = true;
        }
        tx = std::copysign(clipX, tx);
        inside = false;
    }
    if (inside) {
        skipSample = false;
        outY = 0;
        outX = 0;
    }
}

void Trace::draw(DrawSurface& surface, const Plotter& plotter, const SamplePoint& p, double px,
                 double py) {
    if (skipSample) return;
    const int radius = std::min(plotter.currentLineType, maxMarkerRadius);
    const double scale = plotter.lineScale;
    if (radius > 0)
        marker(surface, px + 1, py + 1, radius, plotter.currentColour);
    else if (penUp)
        surface.moveTo(QPoint(core::round32(px * scale), core::round32(py * scale)));
    else
        surface.lineTo(QPoint(core::round32(px * scale), core::round32(py * scale)));
    penUp = false;
    last = p;
}

} // namespace graph
