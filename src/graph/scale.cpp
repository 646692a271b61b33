#include "graph/scale.h"

#include "core/numbers.h"
#include "core/rounding.h"
#include "core/state.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace graph {

namespace {

constexpr double defaultRangeLo = -10, defaultRangeHi = 10;
constexpr double defaultGridStep = 0.5;
// More places than a double can show; keeps the label format of an absurd step bounded.
constexpr int maxDigits = 340;

// Makes lo ... hi a range that the mapping can divide by and the grid can walk through in a
// bounded number of steps. Returns true when it had to change something.
bool repairRange(double& lo, double& hi) {
    if (!std::isfinite(lo) || !std::isfinite(hi) || !std::isfinite(hi - lo)) {
        lo = defaultRangeLo;
        hi = defaultRangeHi;
        return true;
    }
    bool changed = false;
    if (hi < lo) {
        std::swap(lo, hi);
        changed = true;
    }
    if (hi == lo) {
        hi = lo + 1;
        changed = true;
    }
    // Below about twelve significant digits of the bounds, neighbouring grid lines and samples
    // can no longer be told apart, and the grid walk from a large bound would stand still.
    const double magnitude = std::max(std::abs(lo), std::abs(hi));
    const double minSpan = std::max(magnitude * 1e-12, 1e-200);
    if (hi - lo < minSpan) {
        const double middle = lo / 2 + hi / 2;
        lo = middle - minSpan / 2;
        hi = middle + minSpan / 2;
        changed = true;
    }
    return changed;
}

void setEngineVariable(core::State& state, int handle, double value) {
    if (handle != -1) state.engine.setVariable(handle, value);
}

} // namespace

void setsteps(core::State& state) {
    const double perPixel = std::max(state.tppX, 1);
    for (int i = 0; i < core::lineCount; ++i) {
        core::FuncLine& line = state.lines[i];
        // The stripes of a fill pattern need four samples per pixel column.
        if (line.shownTerm.contains(QStringLiteral("fill"), Qt::CaseInsensitive))
            line.sampleCount = core::round16(state.scale.plotW * 4 / perPixel);
        if (line.kind == core::kindFunction)
            state.lineSlots[i].stepWidth = state.scale.xRange / std::max(line.sampleCount, 1);
    }
}

void setscale(core::State& state) {
    core::Ranges& r = state.ranges;
    const bool xRepaired = repairRange(r.xMin, r.xMax);
    const bool yRepaired = repairRange(r.yMin, r.yMax);

    core::Scale& s = state.scale;
    s.yRange = r.yMax - r.yMin;
    s.xRange = r.xMax - r.xMin;
    s.ymu = s.plotH / s.yRange;
    s.xmu = s.plotW / s.xRange;

    setsteps(state);

    setEngineVariable(state, state.handles.xmu, s.xmu);
    setEngineVariable(state, state.handles.xmi, r.xMin);
    setEngineVariable(state, state.handles.ymu, s.ymu);
    setEngineVariable(state, state.handles.ymi, r.yMin);

    s.xTickStep = tickStep(s.xGridStep, s.xRange, s.xLinesMin, s.xLinesMax);
    s.yTickStep = tickStep(s.yGridStep, s.yRange, s.yLinesMin, s.yLinesMax);
    s.xNumberFormat = numberFormat(tickDigits(s.xTickStep, s.xDigitsMin));
    s.yNumberFormat = numberFormat(tickDigits(s.yTickStep, s.yDigitsMin));

    s.backgroundValid = false;

    if (xRepaired || yRepaired) state.hooks.call(state.hooks.rangeWindowUpdate);
}

QString makemx(const QString& term) {
    return QStringLiteral("xmu*(") + term + QStringLiteral("-xmi)");
}

QString makemy(const QString& term) {
    return QStringLiteral("ymu*(") + term + QStringLiteral("-ymi)");
}

double tickStep(double gridStep, double range, int linesMin, int linesMax) {
    // A step of 0 or a broken one from the settings file would stop the grid walk.
    double set = std::abs(gridStep);
    if (!(set > 0) || !std::isfinite(set)) set = defaultGridStep;
    if (!(range > 0) || !std::isfinite(range)) return set;

    const double ratio = set / range;
    // Divides step by 2 to the power of the nearest whole number to log2(n * ratio), so that
    // the span shows about n lines; the step only ever changes by a power of two.
    auto scaled = [&](double step, int n) {
        n = std::max(n, 1);
        double l = std::log2(n * ratio);
        if (!std::isfinite(l)) // n * ratio beyond the doubles: the same logarithm, by parts
            l = std::log2(double(n)) + std::log2(set) - std::log2(range);
        return std::ldexp(step, -int(core::roundEven(l)));
    };

    double step = set;
    if (range / step < linesMin) step = scaled(step, linesMin);
    if (range / step > linesMax) step = scaled(step, linesMax);
    return step;
}

int tickDigits(double tickStep, int digitsMin) {
    double d = core::roundEven(std::abs(std::log(tickStep) / std::log(10.0)) + 0.5);
    if (!std::isfinite(d)) d = 0;
    d = std::min(d, double(maxDigits));
    if (d < digitsMin) d = std::min(digitsMin, maxDigits);
    return int(d);
}

QString numberFormat(int digits) {
    return QStringLiteral("0.") + QString(std::max(digits, 0), QLatin1Char('#'));
}

QString numberText(double v, const QString& format) {
    if (!std::isfinite(v)) return core::germanNumber(v);
    const qsizetype point = format.indexOf(QLatin1Char('.'));
    const int digits =
        point < 0 ? 0 : std::min(int(format.mid(point + 1).count(QLatin1Char('#'))), maxDigits);

    QString text = QString::number(v, 'f', digits);
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.'))) text.chop(1);
    }
    if (text == QStringLiteral("-0")) text = QStringLiteral("0");
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
}

} // namespace graph
