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

void helpline(const core::State& state, Plotter& plotter, DrawSurface& surface) {
    const core::Scale& s = state.scale;
    const core::Ranges& r = state.ranges;
    const core::GraphOptions& o = state.graphOptions;
    const DrawingObjects& obj = plotter.objects;
    const double tppX = std::max(state.tppX, 1);
    const double tppY = std::max(state.tppY, 1);
    const double plotW = s.plotW, plotH = s.plotH;

    surface.setTextColour(black);
    surface.setPen(obj.gridPen);

    if (o.gridShown) {
        const int bottom = core::round32(plotH / tppY);
        walkGrid(r.xMin, r.xMax, s.xGridStart, s.xTickStep, [&](double x) {
            const int column = core::round16((x - r.xMin) * s.xmu / tppX);
            surface.moveTo(QPoint(column, 0));
            surface.lineTo(QPoint(column, bottom));
        });
        const int right = core::round32(plotW / tppX);
        walkGrid(r.yMin, r.yMax, s.yGridStart, s.yTickStep, [&](double y) {
            const int row = core::round16((plotH - (y - r.yMin) * s.ymu) / tppY);
            surface.moveTo(QPoint(0, row));
            surface.lineTo(QPoint(right, row));
        });
    }

    const double x0 = -r.xMin * s.xmu; // twips of x = 0 from the left
    const double y0 = -r.yMin * s.ymu; // twips of y = 0 from the bottom
    const bool yAxisInside = 0 <= x0 && x0 <= plotW;
    const bool xAxisInside = 0 <= y0 && y0 <= plotH;

    if (o.axesShown) {
        if (yAxisInside) {
            const double x0p = x0 / tppX;
            surface.setPen(obj.axisPen);
            surface.moveTo(pixel(x0p, 64 / tppY));
            surface.lineTo(pixel(x0p, plotH / tppY));
            if (o.axisNamesShown) {
                surface.setFont(obj.axisNameFont);
                surface.text(QPoint(core::round32((x0 + 120) / tppX), -2), o.yAxisName);
            }
            const std::array<QPoint, 4> arrow{pixel(x0p, 1 / tppY), pixel(x0p + 4, 65 / tppY),
                                              pixel(x0p - 4, 65 / tppY), pixel(x0p, 1 / tppY)};
            surface.setPen(obj.arrowPen);
            surface.polygon(arrow, black);
        }
        if (xAxisInside) {
            const double y0p = (plotH - y0) / tppY;
            surface.setPen(obj.axisPen);
            surface.moveTo(pixel(0, y0p));
            surface.lineTo(pixel((plotW - 64) / tppX, y0p));
            if (o.axisNamesShown) {
                surface.setFont(windowFont());
                const double w =
                    surface.measureText(o.xAxisName).width() * tppX * o.axisNameFontSize / 13.0;
                surface.setFont(obj.axisNameFont);
                surface.text(pixel((plotW - plotter.digitWidth[0] - w) / tppX,
                                   (plotH - y0 - plotter.digitHeight[0] - 60) / tppY),
                             o.xAxisName);
            }
            const std::array<QPoint, 4> arrow{
                pixel((plotW - 21) / tppX, y0p), pixel((plotW - 82) / tppX, y0p - 4),
                pixel((plotW - 82) / tppX, y0p + 4), pixel((plotW - 21) / tppX, y0p)};
            surface.setPen(obj.arrowPen);
            surface.polygon(arrow, black);
        }
    }

    if (o.labelsShown) {
        surface.setFont(obj.numberFont);
        const int digitHeight = plotter.digitHeight[1];

        // Height of the x labels in twips from the bottom: just below the x axis, above it when
        // the axis runs too close to the bottom, at the bottom when the axis is outside.
        double labelHeight = xAxisInside ? y0 - 30 : digitHeight;
        if (labelHeight < digitHeight) labelHeight = core::round32(digitHeight * 1.2 + y0);

        // Twips values are rounded to 32 bits: a plot area wider than 32767 twips (about 2200
        // pixels) is ordinary today.
        double last = 0;
        walkGrid(r.xMin, r.xMax, s.xGridStart, s.xTickStep, [&](double x) {
            const double middle = (x - r.xMin) * s.xmu;
            // The label's left edge lies at or left of its middle: too close to the previous
            // one whatever its text; saves the text of labels that are left out anyway.
            if (!(core::round32(middle) > last + 80)) return;
            const QString text = numberText(x, s.xNumberFormat);
            const double w = surface.measureText(text).width() * tppX;
            const double left = core::round32(middle - w / 2);
            if (left > last + 80 && left + w < plotW) {
                surface.text(pixel(left / tppX, (plotH - labelHeight) / tppY), text);
                last = left + w;
            }
        });

        last = 0;
        walkGrid(r.yMin, r.yMax, s.yGridStart, s.yTickStep, [&](double y) {
            const double top = core::round32((y - r.yMin) * s.ymu + digitHeight / 2.0);
            if (std::abs(top - labelHeight) > digitHeight && top > last + 15) {
                const QString text = numberText(y, s.yNumberFormat);
                const double w = surface.measureText(text).width() * tppX;
                double left = yAxisInside ? x0 - w - 75 : plotW - w - 70;
                // Too wide for the left of the axis: right of it. Without an axis inside,
                // a plot narrower than the label gets it at the left edge.
                if (left < 0) left = yAxisInside ? core::round32(x0 + 70) : 0;
                surface.text(pixel(left / tppX, (plotH - top) / tppY), text);
                last = digitHeight + top;
            }
        });
    }
    surface.flush();
}

} // namespace graph
