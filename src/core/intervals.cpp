#include "core/intervals.h"

#include "core/numbers.h"
#include "core/state.h"

#include <algorithm>

namespace core {

void evalinterval(State& state, int i) {
    if (i < 0 || i >= lineCount) return;
    auto& line = state.lines[i];
    const auto& r = state.ranges;
    const bool function = line.kind == kindFunction;
    line.intervalFrom = evalnum(state.engine, line.lowerText).value_or(function ? r.xMin : r.tMin);
    line.intervalTo = evalnum(state.engine, line.upperText).value_or(function ? r.xMax : r.tMax);
}

void evalintervals(State& state) {
    for (int i = 0; i <= std::min(state.lastLine, lineCount - 1); ++i)
        evalinterval(state, i);
}

} // namespace core
