#include "graph/background.h"

#include "core/rounding.h"
#include "core/state.h"
#include "graph/drawsurface.h"
#include "graph/plotter.h"
#include "graph/scale.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace graph {

namespace {

constexpr core::Colour black = 0;
// More grid positions than any setting of the line counts asks for; a walk that no longer
// advances (bounds far beyond the step's precision) stops here instead of running on.
constexpr int maxGridPositions = 100000;

// The window font in which the x axis name is measured before it is scaled to the axis-name
// font size: 13 pixels high, so that the scale factor is the font size over 13.
const Font& windowFont() {
    static const Font font{QStringLiteral("Arial"), 13, 400};
    return font;
}

// Calls draw(v) for the grid positions v = start + k * step, from the one nearest to lo up to
// and including the first one at or beyond hi. With a start so far from the range that the
// doubles cannot resolve the step there, the positions stand still or land anywhere: the walk
// then stops, and positions that cannot be near the plot are not drawn.
template <typename F> void walkGrid(double lo, double hi, double start, double step, F draw) {
    if (!(step > 0) || !std::isfinite(step) || !std::isfinite(lo) || !std::isfinite(hi) ||
        !std::isfinite(start))
        return;
    double k = core::roundEven((lo - start) / step);
    if (!std::isfinite(k)) return;
    double previous = -std::numeric_limits<double>::infinity();
    for (int n = 0; n < maxGridPositions; ++n) {
        const double v = step * k + start;
        if (!(v > previous)) break;
        if (lo - 2 * step <= v && v <= hi + 2 * step) draw(v);
        if (!(v < hi)) break;
        previous = v;
        k += 1;
    }
}

QPoint pixel(double x, double y) {
    return QPoint(core::round32(x), core::round32(y));
}

} // namespace

void fosize(const core::State& state, Plotter& plotter, DrawSurface& surface) {
    const int tppX = std::max(state.tppX, 1);
    const int tppY = std::max(state.tppY, 1);
    const QString zero = QStringLiteral("0");
    surface.setFont(plotter.objects.numberFont);
    QSize size = surface.measureText(zero);
    plotter.digitHeight[1] = size.height() * tppY;
    plotter.digitWidth[1] = size.width() * tppX;
    surface.setFont(plotter.objects.axisNameFont);
    size = surface.measureText(zero);
    plotter.digitHeight[0] = size.height() * tppY;
    plotter.digitWidth[0] = size.width() * tppX;
}

namespace {

// What every part of the background works with: the mapping in twips and pixels and where the
// axes run.
struct Frame {
    const core::State& state;
    Plotter& plotter;
    DrawSurface& surface;
    double tppX, tppY, plotW, plotH;
    double x0, y0; // twips of x = 0 from the left and of y = 0 from the bottom
    bool yAxisInside, xAxisInside;
};

Frame makeFrame(const core::State& state, Plotter& plotter, DrawSurface& surface) {
    const core::Scale& s = state.scale;
    const double x0 = -state.ranges.xMin * s.xmu;
    const double y0 = -state.ranges.yMin * s.ymu;
    return Frame{state,
                 plotter,
                 surface,
                 double(std::max(state.tppX, 1)),
                 double(std::max(state.tppY, 1)),
                 s.plotW,
                 s.plotH,
                 x0,
                 y0,
                 0 <= x0 && x0 <= s.plotW,
                 0 <= y0 && y0 <= s.plotH};
}

void drawGrid(const Frame& f) {
    const core::Scale& s = f.state.scale;
    const core::Ranges& r = f.state.ranges;
    f.surface.setPen(f.plotter.objects.gridPen);
    const int bottom = core::round32(f.plotH / f.tppY);
    walkGrid(r.xMin, r.xMax, s.xGridStart, s.xTickStep, [&](double x) {
        const int column = core::round16((x - r.xMin) * s.xmu / f.tppX);
        f.surface.moveTo(QPoint(column, 0));
        f.surface.lineTo(QPoint(column, bottom));
    });
    const int right = core::round32(f.plotW / f.tppX);
    walkGrid(r.yMin, r.yMax, s.yGridStart, s.yTickStep, [&](double y) {
        const int row = core::round16((f.plotH - (y - r.yMin) * s.ymu) / f.tppY);
        f.surface.moveTo(QPoint(0, row));
        f.surface.lineTo(QPoint(right, row));
    });
}

void drawYAxis(const Frame& f) {
    const core::GraphOptions& o = f.state.graphOptions;
    const DrawingObjects& obj = f.plotter.objects;
    const double x0p = f.x0 / f.tppX;
    f.surface.setPen(obj.axisPen);
    f.surface.moveTo(pixel(x0p, 64 / f.tppY));
    f.surface.lineTo(pixel(x0p, f.plotH / f.tppY));
    if (o.axisNamesShown) {
        f.surface.setFont(obj.axisNameFont);
        f.surface.text(QPoint(core::round32((f.x0 + 120) / f.tppX), -2), o.yAxisName);
    }
    const std::array<QPoint, 4> arrow{pixel(x0p, 1 / f.tppY), pixel(x0p + 4, 65 / f.tppY),
                                      pixel(x0p - 4, 65 / f.tppY), pixel(x0p, 1 / f.tppY)};
    f.surface.setPen(obj.arrowPen);
    f.surface.polygon(arrow, black);
}

void drawXAxis(const Frame& f) {
    const core::GraphOptions& o = f.state.graphOptions;
    const DrawingObjects& obj = f.plotter.objects;
    const double y0p = (f.plotH - f.y0) / f.tppY;
    f.surface.setPen(obj.axisPen);
    f.surface.moveTo(pixel(0, y0p));
    f.surface.lineTo(pixel((f.plotW - 64) / f.tppX, y0p));
    if (o.axisNamesShown) {
        f.surface.setFont(windowFont());
        const double w =
            f.surface.measureText(o.xAxisName).width() * f.tppX * o.axisNameFontSize / 13.0;
        f.surface.setFont(obj.axisNameFont);
        f.surface.text(pixel((f.plotW - f.plotter.digitWidth[0] - w) / f.tppX,
                             (f.plotH - f.y0 - f.plotter.digitHeight[0] - 60) / f.tppY),
                       o.xAxisName);
    }
    const std::array<QPoint, 4> arrow{
        pixel((f.plotW - 21) / f.tppX, y0p), pixel((f.plotW - 82) / f.tppX, y0p - 4),
        pixel((f.plotW - 82) / f.tppX, y0p + 4), pixel((f.plotW - 21) / f.tppX, y0p)};
    f.surface.setPen(obj.arrowPen);
    f.surface.polygon(arrow, black);
}

// Height of the x labels in twips from the bottom: just below the x axis, above it when the
// axis runs too close to the bottom, at the bottom when the axis is outside.
double xLabelHeight(const Frame& f) {
    const int digitHeight = f.plotter.digitHeight[1];
    double height = f.xAxisInside ? f.y0 - 30 : digitHeight;
    if (height < digitHeight) height = core::round32(digitHeight * 1.2 + f.y0);
    return height;
}

// Twips values are rounded to 32 bits: a plot area wider than 32767 twips (about 2200 pixels)
// is ordinary today.
void drawXLabels(const Frame& f, double labelHeight) {
    const core::Scale& s = f.state.scale;
    const core::Ranges& r = f.state.ranges;
    double last = 0;
    walkGrid(r.xMin, r.xMax, s.xGridStart, s.xTickStep, [&](double x) {
        const double middle = (x - r.xMin) * s.xmu;
        // The label's left edge lies at or left of its middle: too close to the previous one
        // whatever its text; saves the text of labels that are left out anyway.
        if (!(core::round32(middle) > last + 80)) return;
        const QString text = numberText(x, s.xNumberFormat);
        const double w = f.surface.measureText(text).width() * f.tppX;
        const double left = core::round32(middle - w / 2);
        if (left > last + 80 && left + w < f.plotW) {
            f.surface.text(pixel(left / f.tppX, (f.plotH - labelHeight) / f.tppY), text);
            last = left + w;
        }
    });
}

void drawYLabels(const Frame& f, double labelHeight) {
    const core::Scale& s = f.state.scale;
    const core::Ranges& r = f.state.ranges;
    const int digitHeight = f.plotter.digitHeight[1];
    double last = 0;
    walkGrid(r.yMin, r.yMax, s.yGridStart, s.yTickStep, [&](double y) {
        const double top = core::round32((y - r.yMin) * s.ymu + digitHeight / 2.0);
        if (!(std::abs(top - labelHeight) > digitHeight && top > last + 15)) return;
        const QString text = numberText(y, s.yNumberFormat);
        const double w = f.surface.measureText(text).width() * f.tppX;
        double left = f.yAxisInside ? f.x0 - w - 75 : f.plotW - w - 70;
        // Too wide for the left of the axis: right of it. Without an axis inside, a plot
        // narrower than the label gets it at the left edge.
        if (left < 0) left = f.yAxisInside ? core::round32(f.x0 + 70) : 0;
        f.surface.text(pixel(left / f.tppX, (f.plotH - top) / f.tppY), text);
        last = digitHeight + top;
    });
}

} // namespace

void helpline(const core::State& state, Plotter& plotter, DrawSurface& surface) {
    const core::GraphOptions& o = state.graphOptions;
    const Frame f = makeFrame(state, plotter, surface);
    surface.setTextColour(black);
    surface.setPen(plotter.objects.gridPen);
    if (o.gridShown) drawGrid(f);
    if (o.axesShown && f.yAxisInside) drawYAxis(f);
    if (o.axesShown && f.xAxisInside) drawXAxis(f);
    if (o.labelsShown) {
        surface.setFont(plotter.objects.numberFont);
        const double labelHeight = xLabelHeight(f);
        drawXLabels(f, labelHeight);
        drawYLabels(f, labelHeight);
    }
    surface.flush();
}

} // namespace graph
