#include "core/intervals.h"

#include "core/numbers.h"
#include "core/state.h"

#include <algorithm>
#include <cmath>

namespace core {

void evalinterval(State& state, int i) {
    if (i < 0 || i >= lineCount) return;
    auto& line = state.lines[i];
    const auto& r = state.ranges;
    const bool function = line.kind == kindFunction;
    line.intervalFrom = evalnum(state.engine, line.lowerText).value_or(function ? r.xMin : r.tMin);
    line.intervalTo = evalnum(state.engine, line.upperText).value_or(function ? r.xMax : r.tMax);
}

namespace {

bool isIntegralCurve(const State& state, int i) {
    const int partner = state.lines[i].kind;
    return partner >= 0 && partner < lineCount && !state.lines[i].name.isEmpty() &&
           !state.lineSlots[partner].integralSpec.isEmpty();
}

} // namespace

void evalintervals(State& state) {
    for (int i = 0; i <= std::min(state.lastLine, lineCount - 1); ++i) {
        evalinterval(state, i);
        if (!isIntegralCurve(state, i)) continue;
        const FuncLine& line = state.lines[i];
        const double lo = std::min(line.intervalFrom, line.intervalTo);
        const double hi = std::max(line.intervalFrom, line.intervalTo);
        // An empty or broken interval would leave the other curves nothing to draw.
        if (lo < hi && std::isfinite(lo) && std::isfinite(hi)) {
            state.ranges.tMin = lo;
            state.ranges.tMax = hi;
        }
    }
}

} // namespace core
